#include "frmDateItem.h"

#include "EditorCloseCheck.h"
#include "EditorHost.h"
#include "PictureChooser.h"
#include "StyleList.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/ui/ColorComboBox.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/bsInput.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "frmDatePicker.h"
#include "frmSeries.h"
#include "model/DeferredRefresh.h"
#include "model/ItemList.h"
#include "model/clsItems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>

QPointer<frmDateItem> frmDateItem::s_instance;

namespace {
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;
const QSize previewSize(160, 120);

GanttData* chart() {
    return globals().chart;
}

bool saveAutomatically() {
    const clsGeneralOptions* options = globals().options;
    return options == nullptr || options->SaveAuto();
}
} // namespace

frmDateItem* frmDateItem::open(EditorHost& host) {
    if (s_instance == nullptr) {
        s_instance = new frmDateItem(host, host.boardWindow());
        s_instance->setAttribute(Qt::WA_DeleteOnClose);
    }
    return s_instance;
}

frmDateItem* frmDateItem::instance() {
    return s_instance;
}

frmDateItem::frmDateItem(EditorHost& host, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_id(bsSupport::NewKey()) {
    setWindowTitle(tr("Date item"));
    buildWindow();
    m_filter = InputFieldFilter::install(this);
    m_filter->setKind(tx[StartDateField], InputKind::Date);
    m_filter->setKind(tx[StartTimeField], InputKind::Time);
    m_filter->setKind(tx[EndDateField], InputKind::Date);
    m_filter->setKind(tx[EndTimeField], InputKind::Time);
    connect(m_filter, &InputFieldFilter::fieldValidated, this, [this](QLineEdit* field, bool) {
        if (field == tx[StartTimeField])
            fillEndFromGrid();
    });
    // Installed after the common filter, so that Ctrl+K reaches the editor before the field.
    tx[StartDateField]->installEventFilter(this);
    tx[EndDateField]->installEventFilter(this);
    txText->installEventFilter(this);
    connectChanges();

    if (GanttData* data = chart())
        m_showLater = new DeferredRefresh(
            *data, [this] { ShowItem(); }, this);
    restorePosition();
    guardedStep(QStringLiteral("Sub:frmDateItem:Form_Load"), [&] {
        LoadRows();
        LoadStyles();
        if (clsItems* items = globals().items)
            items->AddMessenger(*this);
    });
    InitItem();
    if (s_instance == nullptr)
        s_instance = this;
}

frmDateItem::~frmDateItem() {
    // The host is not called from here: when the board goes, it is half destroyed already.
    if (clsItems* items = globals().items)
        items->RemoveMessenger(*this);
    if (s_instance == this)
        s_instance = nullptr;
}

void frmDateItem::buildWindow() {
    cmbRes = new QComboBox(this);
    cmbRes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbRes->setMinimumContentsLength(24);
    for (int index = 0; index < fieldCount; ++index) {
        if (index != TextField)
            tx[size_t(index)] = new QLineEdit(this);
    }
    txText = new QPlainTextEdit(this);
    txText->setTabChangesFocus(true);
    txText->setMinimumHeight(72);
    cmbStyleEx = new ColorComboBox(this);
    cmbStyleEx->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbStyleEx->setMinimumContentsLength(16);
    picPicture = new QLabel(this);
    picPicture->setFixedSize(previewSize);
    picPicture->setAlignment(Qt::AlignCenter);
    picPicture->setFrameShape(QFrame::StyledPanel);
    chkSeries = new QCheckBox(tr("is series"), this);
    chkSeries->hide();

    const QFontMetrics metrics(font());
    const int dateWidth = DialogLayout::dateTextWidth(metrics) + 16;
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16;
    for (const int index : {StartDateField, EndDateField})
        tx[size_t(index)]->setFixedWidth(dateWidth);
    for (const int index : {StartTimeField, EndTimeField})
        tx[size_t(index)]->setFixedWidth(timeWidth);

    const auto searchButton = [this](const QIcon& icon, const QString& text, const QString& tip) {
        auto* button = new QPushButton(icon, text, this);
        button->setToolTip(tip);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    cmdSearchStart = searchButton(frmDatePicker::buttonIcon(), {}, tr("Calendar (Ctrl+K)"));
    cmdSearchEnd = searchButton(frmDatePicker::buttonIcon(), {}, tr("Calendar (Ctrl+K)"));
    cmdSearchPicture = searchButton({}, QStringLiteral("..."), QString::fromLatin1(PictureChooser::title));
    cmdSearchPicture->setFocusPolicy(Qt::TabFocus);
    cmdSearchPicture->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("....")) + 20);

    const QStringList captions = {tr("&OK"), tr("&Delete"), tr("&New"), tr("&Return")};
    DialogLayout::makeCommandButtons(cmd, this, captions, [this](int index) { cmd_Click(index); });
    cmd[OkCommand]->setDefault(true);
    cmdSeries = new QPushButton(tr("Se&ries"), this);
    cmdSeries->setAutoDefault(false);
    connect(cmdSeries, &QPushButton::clicked, this, &frmDateItem::cmdSeries_Click);
    connect(cmdSearchStart, &QPushButton::clicked, this, [this] { cmdSearch_Click(StartSearch); });
    connect(cmdSearchEnd, &QPushButton::clicked, this, [this] { cmdSearch_Click(EndSearch); });
    connect(cmdSearchPicture, &QPushButton::clicked, this, [this] { cmdSearch_Click(PictureSearch); });

    using DialogLayout::buddyLabel;
    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(tr("&Resource"), cmbRes), 0, 0);
    grid->addWidget(cmbRes, 0, 1, 1, 4);
    grid->addWidget(buddyLabel(tr("&Start"), tx[StartDateField]), 1, 0);
    grid->addWidget(tx[StartDateField], 1, 1);
    grid->addWidget(tx[StartTimeField], 1, 2);
    grid->addWidget(cmdSearchStart, 1, 3);
    grid->addWidget(buddyLabel(tr("&End"), tx[EndDateField]), 2, 0);
    grid->addWidget(tx[EndDateField], 2, 1);
    grid->addWidget(tx[EndTimeField], 2, 2);
    grid->addWidget(cmdSearchEnd, 2, 3);
    grid->addWidget(buddyLabel(tr("&Caption"), tx[CaptionField]), 3, 0);
    grid->addWidget(tx[CaptionField], 3, 1, 1, 4);
    grid->addWidget(buddyLabel(tr("Te&xt"), txText), 4, 0, Qt::AlignTop);
    grid->addWidget(txText, 4, 1, 1, 4);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(tx[PictureField], 1);
    pictureRow->addWidget(cmdSearchPicture);
    grid->addWidget(buddyLabel(tr("&Picture"), tx[PictureField]), 5, 0);
    grid->addLayout(pictureRow, 5, 1, 1, 4);
    grid->addWidget(buddyLabel(tr("&Style"), cmbStyleEx), 6, 0);
    grid->addWidget(cmbStyleEx, 6, 1, 1, 2);
    grid->addWidget(chkSeries, 6, 3, 1, 2);
    grid->setColumnStretch(4, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(picPicture);
    side->addStretch();
    side->addWidget(cmdSeries);

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addLayout(side);

    auto* window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addLayout(DialogLayout::buttonRow(QList<QPushButton*>(cmd.cbegin(), cmd.cend())));

    DialogLayout::setTabChain({cmbRes, tx[StartDateField], tx[StartTimeField], tx[EndDateField],
                               tx[EndTimeField], tx[CaptionField], txText, tx[PictureField], cmdSearchPicture,
                               cmbStyleEx, chkSeries, cmd[OkCommand], cmd[DeleteCommand], cmd[NewCommand],
                               cmd[ReturnCommand], cmdSeries});
}

void frmDateItem::connectChanges() {
    const auto changed = [this] {
        if (!m_filling)
            m_changed = true;
    };
    for (QLineEdit* field : tx) {
        if (field != nullptr)
            connect(field, &QLineEdit::textChanged, this, changed);
    }
    connect(txText, &QPlainTextEdit::textChanged, this, changed);
    connect(cmbRes, &QComboBox::currentIndexChanged, this, changed);
    connect(cmbStyleEx, &QComboBox::currentIndexChanged, this, changed);
    connect(chkSeries, &QCheckBox::toggled, this, changed);
    connect(tx[PictureField], &QLineEdit::textChanged, this, &frmDateItem::showPicture);
}

QString frmDateItem::fieldText(int index) const {
    if (index == TextField)
        return txText->toPlainText();
    if (index < 0 || index >= fieldCount)
        return {};
    return tx[size_t(index)]->text();
}

void frmDateItem::setFieldText(int index, const QString& text) {
    if (index == TextField)
        txText->setPlainText(text);
    else if (index >= 0 && index < fieldCount)
        tx[size_t(index)]->setText(text);
}

QString frmDateItem::resourceKey() const {
    return cmbRes->currentData().toString();
}

QString frmDateItem::styleKey() const {
    return cmbStyleEx->currentData().toString();
}

bool frmDateItem::selectResource(const QString& rowKey) {
    const int index = rowKey.isEmpty() ? -1 : cmbRes->findData(rowKey);
    cmbRes->setCurrentIndex(index);
    return index >= 0;
}

bool frmDateItem::selectStyle(const QString& styleKey) {
    const int index = styleKey.isEmpty() ? -1 : cmbStyleEx->findData(styleKey);
    if (index >= 0)
        cmbStyleEx->setCurrentIndex(index);
    return index >= 0;
}

void frmDateItem::LoadRows() {
    guardedStep(QStringLiteral("Sub:frmDateItem:LoadRows"), [&] {
        const QScopedValueRollback filling(m_filling, true);
        cmbRes->clear();
        if (const GanttData* data = chart()) {
            const RowCollection& rows = data->rows();
            for (int position = 1; position <= rows.count(); ++position) {
                if (const ChartRow* row = rows.byPosition(position))
                    cmbRes->addItem(row->caption, row->key());
            }
        }
        cmbRes->setCurrentIndex(-1);
    });
}

void frmDateItem::LoadStyles() {
    guardedStep(QStringLiteral("Sub:frmDateItem:LoadStyles"), [&] {
        const QScopedValueRollback filling(m_filling, true);
        cmbStyleEx->clear();
        if (const GanttData* data = chart())
            FillStyleList(*cmbStyleEx, *data, ChartStyle::ItemKind);
        cmbStyleEx->setCurrentIndex(-1);
    });
}

void frmDateItem::InitItem() {
    guardedStep(QStringLiteral("Sub:frmDateItem:InitItem"), [&] {
        // A new item has no key: storing it must never overwrite the item shown before.
        m_itemKey.clear();
        m_addOnData.Reset();
        m_shown.reset();
        for (int index = 0; index < fieldCount; ++index)
            setFieldText(index, {});
        {
            const QSignalBlocker blocker(chkSeries);
            chkSeries->setChecked(false);
        }
        chkSeries->hide();
        if (const GanttData* data = chart()) {
            const QString defaultStyle = data->settings().defaultItemStyle;
            if (!defaultStyle.isEmpty() && data->styles().byKey(defaultStyle) != nullptr)
                selectStyle(defaultStyle);
        }
        m_changed = false;
    });
}

void frmDateItem::StartDate(TimePoint start, const QString& resourceKey) {
    // A prefilled new item is no change of the user's: closing it asks nothing.
    const QScopedValueRollback filling(m_filling, true);
    setFieldText(StartDateField, start.shortDate());
    if (start.secondOfDay() != 0)
        setFieldText(StartTimeField, FieldTimeText(start.time()));
    if (!resourceKey.isEmpty())
        selectResource(resourceKey);
}

void frmDateItem::ShowItem() {
    if (m_storing)
        return;
    guardedStep(QStringLiteral("Sub:frmDateItem:ShowItem"), [&] { showItem(); });
}

void frmDateItem::showItemWhenChartIsIdle() {
    if (m_showLater != nullptr)
        m_showLater->request();
    else
        ShowItem();
}

void frmDateItem::showItem() {
    const GanttData* data = chart();
    const ChartItem* item = m_itemKey.isEmpty() || data == nullptr ? nullptr : data->items().byKey(m_itemKey);
    // An item that is gone (its resource was removed, the timetable reloaded) leaves a new item.
    if (item == nullptr) {
        InitItem();
        return;
    }
    selectResource(item->rowKey());
    setFieldText(StartDateField, item->start().shortDate());
    setFieldText(StartTimeField, FieldTimeText(item->start().time()));
    setFieldText(EndDateField, item->end().shortDate());
    setFieldText(EndTimeField, FieldTimeText(item->end().time()));
    rememberShownSpan(item->start(), item->end());
    setFieldText(CaptionField, item->caption());
    setFieldText(TextField, item->text());
    setFieldText(PictureField, item->picture());
    const bool inSeries = !item->seriesKey().isEmpty();
    chkSeries->setChecked(inSeries);
    chkSeries->setVisible(inSeries);
    if (const ChartStyle* style = data->styles().byKey(item->styleKey()))
        selectStyle(style->key());
    m_addOnData.setAddOnData(item->addOnData());
    m_changed = false;
}

void frmDateItem::rememberShownSpan(TimePoint start, TimePoint end) {
    m_shown = ShownSpan{start,
                        end,
                        fieldText(StartDateField),
                        fieldText(StartTimeField),
                        fieldText(EndDateField),
                        fieldText(EndTimeField)};
}

DateItemStore::Entry frmDateItem::entry() const {
    DateItemStore::Entry values;
    values.rowKey = resourceKey();
    values.startDate = fieldText(StartDateField);
    values.startTime = fieldText(StartTimeField);
    values.endDate = fieldText(EndDateField);
    values.endTime = fieldText(EndTimeField);
    values.caption = fieldText(CaptionField);
    values.text = fieldText(TextField);
    values.picture = fieldText(PictureField);
    values.styleKey = styleKey();
    values.seriesTicked = chkSeries->isChecked();
    values.addOnData = m_addOnData.AddOnData();
    if (m_shown) {
        if (values.startDate == m_shown->startDate && values.startTime == m_shown->startTime)
            values.exactStart = m_shown->start;
        if (values.endDate == m_shown->endDate && values.endTime == m_shown->endTime)
            values.exactEnd = m_shown->end;
    }
    return values;
}

bool frmDateItem::Store(bool askFirst) {
    bool stored = false;
    guardedStep(QStringLiteral("Sub:frmDateItem:Store"), [&] { stored = store(askFirst); });
    return stored;
}

bool frmDateItem::store(bool askFirst) {
    if (IsReadOnly() || !m_changed)
        return true;
    if (askFirst) {
        const int answer = ShowMessage(QStringLiteral("Save changes?"),
                                       MessageFlags::YesNoCancel | MessageFlags::Question, windowTitle());
        if (answer == MessageResult::Cancel)
            return false;
        if (answer == MessageResult::No)
            return true;
    }
    clsItems* items = globals().items;
    if (items == nullptr)
        return false;
    const DateItemStore::Entry values = entry();
    DateItemStore::Span span;
    DateItemStore::Outcome outcome = DateItemStore::check(values, span);
    if (outcome != DateItemStore::Outcome::Stored) {
        refuse(outcome);
        return false;
    }

    ChartItem* item = nullptr;
    {
        // The views answer the change at once; the editor must not reload its own half-stored item.
        const QScopedValueRollback storing(m_storing, true);
        outcome = DateItemStore::write(*items, m_itemKey, values, span, m_id, &item);
    }
    if (outcome != DateItemStore::Outcome::Stored) {
        refuse(outcome);
        return false;
    }
    m_changed = false;
    if (item == nullptr) {
        // Another view deleted the item while it was told of the change.
        ShowItem();
        return true;
    }
    m_addOnData.setAddOnData(item->addOnData());
    rememberShownSpan(item->start(), item->end());
    if (m_host.isItemShown(*item))
        items->chart().redraw();
    m_changed = false;
    return true;
}

void frmDateItem::refuse(DateItemStore::Outcome outcome) {
    ShowMessage(DateItemStore::message(outcome), errorFlags);
    switch (outcome) {
    case DateItemStore::Outcome::NoEnd:
        tx[EndDateField]->setFocus();
        break;
    case DateItemStore::Outcome::StartNotBeforeEnd:
        tx[EndTimeField]->setFocus();
        break;
    case DateItemStore::Outcome::NoStyle:
        cmbStyleEx->setFocus();
        break;
    default:
        break;
    }
}

void frmDateItem::Delete() {
    guardedStep(QStringLiteral("Sub:frmDateItem:Delete"), [&] {
        clsItems* items = globals().items;
        const ChartItem* item = items == nullptr ? nullptr : items->chart().items().byKey(m_itemKey);
        if (item == nullptr)
            return;
        ItemList list;
        list.add(*item);
        items->DeleteItems(list, m_id, true);
    });
}

void frmDateItem::cmd_Click(int index) {
    switch (index) {
    case OkCommand:
        Store(false);
        break;
    case DeleteCommand:
        if (!m_itemKey.isEmpty())
            Delete();
        break;
    case NewCommand:
        if (Store(!saveAutomatically())) {
            InitItem();
            cmbRes->setFocus();
        }
        break;
    case ReturnCommand:
        close();
        break;
    default:
        break;
    }
}

void frmDateItem::cmdSeries_Click() {
    if (Store(false))
        frmSeries::showFor(m_itemKey, this);
}

void frmDateItem::cmdSearch_Click(int index) {
    switch (index) {
    case PictureSearch:
        ignoringErrors([&] {
            const QString chosen = ChoosePicture(fieldText(PictureField));
            if (!chosen.isEmpty())
                setFieldText(PictureField, chosen);
        });
        break;
    case StartSearch:
        pickDate(StartDateField);
        break;
    case EndSearch:
        pickDate(EndDateField);
        break;
    default:
        break;
    }
}

void frmDateItem::pickDate(int dateField) {
    QLineEdit* field = tx[size_t(dateField)];
    const std::optional<QDate> picked = frmDatePicker::pickFor(field);
    if (!picked)
        return;
    field->setText(TimePoint::fromDate(*picked).shortDate());
    tx[size_t(dateField + 1)]->setFocus();
}

void frmDateItem::fillEndFromGrid() {
    if (DateItemStore::fieldDate(fieldText(EndDateField)))
        return;
    const std::optional<QDate> date = DateItemStore::fieldDate(fieldText(StartDateField));
    const std::optional<QTime> time = DateItemStore::fieldTime(fieldText(StartTimeField));
    const GanttData* data = chart();
    if (!date || !time || data == nullptr)
        return;
    const std::optional<TimePoint> end =
        DateItemStore::oneGridStepLater(TimePoint::fromDateTime(*date, *time), data->settings().gridInterval);
    if (!end)
        return;
    setFieldText(EndDateField, end->shortDate());
    setFieldText(EndTimeField, FieldTimeText(end->time()));
}

void frmDateItem::showPicture(const QString& path) {
    // Only regular files are read: a device or a pipe named in the field must not stall the window.
    const QString file = path.trimmed();
    QImage picture;
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (size.isValid())
            reader.setScaledSize(size.scaled(previewSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        picture = reader.read();
    }
    if (picture.isNull())
        picPicture->clear();
    else
        picPicture->setPixmap(QPixmap::fromImage(picture));
}

void frmDateItem::updateCommands() {
    const bool editable = !IsReadOnly();
    for (const int index : {OkCommand, DeleteCommand, NewCommand})
        cmd[size_t(index)]->setEnabled(editable);
    // Storing is all the series dialog does; a read-only timetable gets no series either.
    cmdSeries->setEnabled(editable);
}

void frmDateItem::reject() {
    close();
}

void frmDateItem::closeEvent(QCloseEvent* event) {
    if (!Store(true)) {
        event->ignore();
        return;
    }
    event->accept();
    ignoringErrors([&] { saveLayout(); });
    ignoringErrors([&] { EditorCloseCheck(m_host, this); });
}

void frmDateItem::showEvent(QShowEvent* event) {
    updateCommands();
    QDialog::showEvent(event);
}

void frmDateItem::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        updateCommands();
    QDialog::changeEvent(event);
}

bool frmDateItem::eventFilter(QObject* watched, QEvent* event) {
    if (frmDatePicker::isPickerKey(event)) {
        if (watched == tx[StartDateField]) {
            cmdSearch_Click(StartSearch);
            return true;
        }
        if (watched == tx[EndDateField]) {
            cmdSearch_Click(EndSearch);
            return true;
        }
    } else if (watched == txText && event->type() == QEvent::FocusIn) {
        // Enter starts a new line in the text; elsewhere it stores.
        cmd[OkCommand]->setDefault(false);
    } else if (watched == txText && event->type() == QEvent::FocusOut) {
        cmd[OkCommand]->setDefault(true);
    }
    return QDialog::eventFilter(watched, event);
}

void frmDateItem::restorePosition() {
    if (const clsIniFile* profile = globals().profile)
        ignoringErrors([&] { WindowPlacement::restorePosition(*this, windowName, *profile); });
}

void frmDateItem::saveLayout() const {
    if (clsIniFile* profile = globals().profile)
        WindowPlacement::saveLayout(*this, windowName, *profile);
}

void frmDateItem::ItemDeleteBefore(QString, bool&, QString) {}

void frmDateItem::ItemDeleteAfter(QString key, QString) {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_ItemDeleteAfter"), [&] {
        if (key != m_itemKey)
            return;
        m_itemKey.clear();
        showItemWhenChartIsIdle();
    });
}

void frmDateItem::ItemChanged(QString key, QString senderId) {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_ItemChanged"), [&] {
        if (key == m_itemKey && senderId != m_id)
            showItemWhenChartIsIdle();
    });
}

void frmDateItem::ItemAdded(QString, QString) {}

void frmDateItem::ItemsChanged() {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_ItemsChanged"), [&] {
        // A full read follows the load of a timetable, whose resources and styles are others.
        const QString shownResource = resourceKey();
        const QString chosenStyle = styleKey();
        LoadRows();
        LoadStyles();
        {
            const QScopedValueRollback filling(m_filling, true);
            selectResource(shownResource);
            selectStyle(chosenStyle);
        }
        m_changed = false;
        ShowItem();
    });
}

void frmDateItem::ItemSelected(QString key, QString senderId) {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_ItemSelected"), [&] {
        // While storing, the board announces the series members that follow the stored item; the
        // editor stays on the item it stores, or its next store would write into another one.
        if (senderId == m_id || m_storing)
            return;
        m_itemKey = key;
        showItemWhenChartIsIdle();
    });
}

void frmDateItem::RowsChanged() {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_RowsChanged"), [&] {
        // By key, not by caption: two resources may have the same caption.
        const QString shown = resourceKey();
        LoadRows();
        const QScopedValueRollback filling(m_filling, true);
        selectResource(shown);
    });
}

void frmDateItem::RowStylesChanged() {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_RowStylesChanged"), [&] {
        const QString shown = resourceKey();
        LoadRows();
        const QScopedValueRollback filling(m_filling, true);
        selectResource(shown);
    });
}

void frmDateItem::ItemStylesChanged() {
    guardedStep(QStringLiteral("Sub:frmDateItem:iMessenger_ItemStylesChanged"), [&] {
        const QString chosen = styleKey();
        LoadStyles();
        const QScopedValueRollback filling(m_filling, true);
        selectStyle(chosen);
    });
}
