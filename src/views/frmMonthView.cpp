#include "frmMonthView.h"

#include "MonthViewHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "chart/widget/GanttChart.h"
#include "editing/SchedulePrint.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString windowCaption = QStringLiteral("Monthly Overview");
// Each further overview opens this far below and right of the one before, so that none hides another.
constexpr int cascadeStep = 28;

QString spanText(const ChartItem& booking) {
    const QLocale locale;
    const TimePoint start = booking.start();
    const TimePoint end = booking.end();
    const QString from = start.shortDate(locale) + ' ' + start.shortTime(locale);
    if (start.datePart() == end.datePart())
        return from + QStringLiteral(" - ") + end.shortTime(locale);
    return from + QStringLiteral(" - ") + end.shortDate(locale) + ' ' + end.shortTime(locale);
}

void cascadeOver(QWidget& window, const QWidget* owner) {
    if (!owner)
        return;
    const int earlier = int(owner->findChildren<frmMonthView*>(Qt::FindDirectChildrenOnly).size()) - 1;
    const int step = cascadeStep * (earlier % 10);
    QPoint place = owner->frameGeometry().topLeft() + QPoint(80 + step, 100 + step);
    if (const QScreen* screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - window.width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - window.height())));
    }
    window.move(place);
}
} // namespace

frmMonthView::frmMonthView(MonthViewHost& host, QWidget* owner)
    : QWidget(owner, Qt::Tool)
    , m_host(host)
    , m_id(bsSupport::NewKey()) {
    setObjectName(QStringLiteral("frmMonthView"));
    setWindowTitle(windowCaption);
    const int rowHeight = QFontMetrics(font()).height();
    buildWindow();
    MakeGantt(rowHeight);
    fitToChart(rowHeight);
    guardedStep(QStringLiteral("Sub:frmMonthView:Form_Load"), [&] {
        if (clsItems* items = globals().items)
            items->AddMessenger(*this);
    });
    // A new timetable without bookings sends the item table's views no word.
    connect(&m_host.data(), &GanttData::loaded, this, &QWidget::close);
}

frmMonthView::~frmMonthView() {
    unregister();
    // The chart goes before the data it shows.
    delete cntAC;
}

frmMonthView* frmMonthView::open(MonthViewHost& host, QWidget* owner, const QString& resourceKey,
                                 TimePoint month) {
    auto* view = new frmMonthView(host, owner);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setRessourceID(resourceKey);
    view->setThisMonth(month);
    cascadeOver(*view, owner);
    view->show();
    return view;
}

void frmMonthView::buildWindow() {
    cmdMove[PreviousMonth] = new QToolButton(this);
    cmdMove[PreviousMonth]->setArrowType(Qt::LeftArrow);
    cmdMove[NextMonth] = new QToolButton(this);
    cmdMove[NextMonth]->setArrowType(Qt::RightArrow);
    lblActMonth = new QLabel(this);
    lblActMonth->setAlignment(Qt::AlignCenter);
    QFont bold = lblActMonth->font();
    bold.setBold(true);
    lblActMonth->setFont(bold);
    // Wide enough for every month, so that the arrows stay where they are.
    lblActMonth->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("September, 0000")) +
                                 16);
    cmdPrint = new QPushButton(tr("&Print"), this);

    cntAC = new GanttChart(m_month.data(), this);
    cntAC->setObjectName(QStringLiteral("cntAC"));
    cntAC->setFittedSpan(TimePoint::secondsPerDay);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdMove[PreviousMonth]);
    bar->addWidget(lblActMonth);
    bar->addWidget(cmdMove[NextMonth]);
    bar->addStretch(1);
    bar->addWidget(cmdPrint);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(cntAC);

    for (int index : {PreviousMonth, NextMonth})
        connect(cmdMove[std::size_t(index)], &QToolButton::clicked, this,
                [this, index] { cmdMove_Click(index); });
    connect(cmdPrint, &QPushButton::clicked, this, &frmMonthView::cmdPrint_Click);
    connectChart();
}

void frmMonthView::fitToChart(int rowHeight) {
    // Every row shows at once; only the day grows and shrinks with the window's width.
    const int heading = m_month.headingColumnWidth();
    cntAC->setFixedHeight(MonthChart::rowCount * rowHeight);
    cntAC->setMinimumWidth(heading + MonthChart::dayWidth);
    adjustSize();
    cntAC->setMinimumWidth(heading + MonthChart::dayWidth / 2);
    setFixedHeight(sizeHint().height());
}

void frmMonthView::connectChart() {
    connect(cntAC, &GanttChart::ClientAreaDblClick, this,
            [this](TimePoint, const QPoint& position) { cntAC_ClientAreaDblClick(position); });
    connect(cntAC, &GanttChart::GanttItemDblClick, this, [this](ChartItem* bar) {
        if (bar)
            cntAC_GanttItemDblClick(*bar);
    });
    connect(cntAC, &GanttChart::GanttItemTipText, this, [this](QString& text, ChartItem* bar) {
        if (bar)
            cntAC_GanttItemTipText(text, *bar);
    });
}

void frmMonthView::MakeGantt(int rowHeight) {
    guardedStep(QStringLiteral("Sub:frmMonthView:MakeGantt"), [&] {
        m_month.MakeGantt(m_host.data(), rowHeight);
        cntAC->scrollTo(MonthChart::shownDay);
    });
}

void frmMonthView::setThisMonth(TimePoint month) {
    m_thisMonth = month.date();
    lblActMonth->setText(MonthChart::monthCaption(m_thisMonth));
    // A row or bar chosen in the month before means nothing in this one.
    cntAC->setCurrentItem(QString());
    cntAC->setCurrentRow(0);
    ReadItems();
}

void frmMonthView::setRessourceID(const QString& key) {
    m_resource = key;
    updateTitle();
}

void frmMonthView::updateTitle() {
    const ChartRow* row = m_host.data().rows().byKey(m_resource);
    setWindowTitle(windowCaption + (row ? row->caption : QString()));
}

void frmMonthView::ReadItems() {
    guardedStep(QStringLiteral("Sub:frmMonthView:ReadItems"),
                [&] { m_month.ReadItems(m_host.data(), m_resource, m_thisMonth); });
}

QString frmMonthView::monthLabel() const {
    return lblActMonth->text();
}

void frmMonthView::cmdMove_Click(int index) {
    if (!m_thisMonth.isValid() || (index != PreviousMonth && index != NextMonth))
        return;
    const QDate first(m_thisMonth.year(), m_thisMonth.month(), 1);
    setThisMonth(TimePoint::fromDate(first.addMonths(index == NextMonth ? 1 : -1)));
}

void frmMonthView::cmdPrint_Click() {
    guardedStep(QStringLiteral("Sub:frmMonthView:cmdPrint_Click"),
                [&] { SchedulePrint::DoPrint(*cntAC, false); });
}

void frmMonthView::cntAC_ClientAreaDblClick(const QPoint& position) {
    guardedStep(QStringLiteral("Sub:frmMonthView:cntAC_ClientAreaDblClick"), [&] {
        const int row = cntAC->rowAt(position);
        if (row < 1 || !m_thisMonth.isValid())
            return;
        m_host.setActDate(TimePoint::fromDate(MonthChart::dayOfRow(m_thisMonth, row)));
    });
}

void frmMonthView::cntAC_GanttItemDblClick(const ChartItem& bar) {
    ignoringErrors([&] {
        if (clsItems* items = globals().items)
            items->ItemSeledctedById(bar.seriesKey(), m_id);
    });
}

void frmMonthView::cntAC_GanttItemTipText(QString& text, const ChartItem& bar) const {
    ignoringErrors([&] {
        // The bar alone spans a piece of one day; the booking tells when it really begins and ends.
        if (const ChartItem* booking = m_host.data().items().byKey(bar.seriesKey()))
            text = spanText(*booking);
        if (!bar.caption().isEmpty())
            text += QStringLiteral("\r\n") + bar.caption();
        if (!bar.text().isEmpty())
            text += QStringLiteral("\r\n") + bar.text();
    });
}

void frmMonthView::followBooking(const QString& key) {
    // A change elsewhere leaves every bar as it is, and a change here only the bars of its booking.
    bool concerned = false;
    ignoringErrors([&] { concerned = m_month.concerns(m_host.data(), key); });
    if (concerned)
        guardedStep(QStringLiteral("Sub:frmMonthView:ReadItems"),
                    [&] { m_month.updateBooking(m_host.data(), key); });
}

void frmMonthView::ItemDeleteBefore(QString, bool&, QString) {}

void frmMonthView::ItemDeleteAfter(QString key, QString) {
    followBooking(key);
}

void frmMonthView::ItemChanged(QString key, QString) {
    followBooking(key);
}

void frmMonthView::ItemAdded(QString key, QString) {
    followBooking(key);
}

void frmMonthView::ItemsChanged() {
    close();
}

void frmMonthView::ItemSelected(QString, QString) {}

void frmMonthView::RowsChanged() {
    ignoringErrors([&] { updateTitle(); });
}

void frmMonthView::RowStylesChanged() {}

void frmMonthView::ItemStylesChanged() {
    ignoringErrors([&] { m_month.copyStyles(m_host.data()); });
}

void frmMonthView::closeEvent(QCloseEvent* event) {
    unregister();
    QWidget::closeEvent(event);
}

void frmMonthView::unregister() {
    if (clsItems* items = globals().items)
        items->RemoveMessenger(*this);
}
