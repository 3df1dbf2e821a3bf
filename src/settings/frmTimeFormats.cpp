#include "frmTimeFormats.h"

#include "SettingsHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "app/ui/ChartFont.h"
#include "app/ui/InputFieldFilter.h"
#include "chart/GanttData.h"
#include "chart/widget/TimePattern.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const std::array<const char*, 4> kindHeadings = {"Days", "Months", "Quarters", "Years"};

// The zoom levels that carry a caption of the kind.
bool hasCaption(int zoom, int kind) {
    switch (kind) {
    case ChartSettings::DayCaption:
        return zoom <= 9;
    case ChartSettings::MonthCaption:
        return zoom <= 14;
    case ChartSettings::QuarterCaption:
        return zoom >= 10;
    case ChartSettings::YearCaption:
        return zoom == 15;
    default:
        return false;
    }
}

// A format in a message: a very long one is cut, so that the message stays readable.
QString quoted(const QString& format) {
    constexpr int shown = 40;
    return '"' + (format.size() > shown ? format.left(shown) + QStringLiteral("...") : format) + '"';
}
} // namespace

frmTimeFormats::frmTimeFormats(SettingsHost& host, QWidget* parent)
    : QDialog(parent)
    , m_host(host) {
    setWindowTitle(QStringLiteral("Time formats"));
    buildWindow();
    InputFieldFilter::install(this);
    guardedStep(QStringLiteral("Sub:frmTimeFormats:Form_Load"), [&] { Form_Load(); });
}

QLineEdit* frmTimeFormats::captionField(int zoom, int kind) const {
    if (zoom < 0 || zoom >= zoomLevels)
        return nullptr;
    const std::size_t level = std::size_t(zoom);
    switch (kind) {
    case ChartSettings::DayCaption:
        return txtDayStripe[level];
    case ChartSettings::MonthCaption:
        return txtMonthStripe[level];
    case ChartSettings::QuarterCaption:
        return txtQuarterStripe[level];
    case ChartSettings::YearCaption:
        return txtYearStripe[level];
    default:
        return nullptr;
    }
}

void frmTimeFormats::buildWindow() {
    auto* formats = new QGroupBox(this);
    auto* grid = new QGridLayout(formats);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Zoom mode:"), formats), 0, 0);
    for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind)
        grid->addWidget(new QLabel(QString::fromLatin1(kindHeadings[std::size_t(kind - 1)]), formats), 0,
                        kind);
    std::array<std::array<QLineEdit*, zoomLevels>*, 4> arrays = {&txtDayStripe, &txtMonthStripe,
                                                                 &txtQuarterStripe, &txtYearStripe};
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        lblZoomMode[std::size_t(zoom)] = new QLabel(QString::number(zoom), formats);
        grid->addWidget(lblZoomMode[std::size_t(zoom)], zoom + 1, 0, Qt::AlignRight);
        for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind) {
            if (!hasCaption(zoom, kind))
                continue;
            auto* field = new QLineEdit(formats);
            field->setMinimumWidth(kind == ChartSettings::DayCaption ? 170 : 130);
            (*arrays[std::size_t(kind - 1)])[std::size_t(zoom)] = field;
            grid->addWidget(field, zoom + 1, kind);
        }
    }

    txtTimeFormat = new QLineEdit(this);
    auto* timeLabel = new QLabel(QStringLiteral("Times"), this);
    timeLabel->setBuddy(txtTimeFormat);
    chkTrimTimeFormat = new QCheckBox(QStringLiteral("Truncate captions"), this);
    cmdFont = new QPushButton(QStringLiteral("Font"), this);
    cmdFont->setAutoDefault(false);
    lblFont = new QLabel(this);
    connect(cmdFont, &QPushButton::clicked, this, &frmTimeFormats::cmdFont_Click);
    auto* others = new QHBoxLayout;
    others->addWidget(timeLabel);
    others->addWidget(txtTimeFormat);
    others->addSpacing(12);
    others->addWidget(chkTrimTimeFormat);
    others->addSpacing(12);
    others->addWidget(cmdFont);
    others->addWidget(lblFont, 1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Return"), this);
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmTimeFormats::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->addWidget(formats);
    window->addLayout(others);
    window->addLayout(buttons);

    // Row by row, as the table reads.
    QWidget* previous = nullptr;
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind) {
            if (QLineEdit* field = captionField(zoom, kind)) {
                if (previous)
                    setTabOrder(previous, field);
                previous = field;
            }
        }
    }
    for (QWidget* next :
         {static_cast<QWidget*>(txtTimeFormat), static_cast<QWidget*>(chkTrimTimeFormat),
          static_cast<QWidget*>(cmdFont), static_cast<QWidget*>(cmdOK), static_cast<QWidget*>(cmdCancel)}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void frmTimeFormats::Form_Load() {
    const ChartSettings& settings = globals().chart->settings();
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind) {
            if (QLineEdit* field = captionField(zoom, kind))
                field->setText(settings.bandCaptionFormat(zoom, kind));
        }
    }
    txtTimeFormat->setText(settings.timeCaptionFormat);
    chkTrimTimeFormat->setChecked(settings.truncateCaptions);
    showFont(settings.upperBandFont);
}

void frmTimeFormats::showFont(const FontDescription& font) {
    lblFont->setText(QStringLiteral("%1, %2 pt").arg(font.name).arg(font.size));
    lblFont->setFont(ChartFont::toQFont(font));
}

void frmTimeFormats::cmdFont_Click() {
    const FontDescription current = m_font.value_or(globals().chart->settings().upperBandFont);
    if (const std::optional<FontDescription> chosen = prompts().chooseFont(current)) {
        m_font = chosen;
        showFont(*chosen);
    }
}

bool frmTimeFormats::checkFormats() {
    const auto refuse = [](QLineEdit* field, const QString& text) {
        ShowMessage(text, MessageFlags::Exclamation);
        field->setFocus();
        field->selectAll();
        return false;
    };
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind) {
            QLineEdit* field = captionField(zoom, kind);
            if (!field)
                continue;
            const QString problem = TimePattern::problem(field->text());
            if (!problem.isEmpty())
                return refuse(field, QStringLiteral("The format %1 for %2 at zoom mode %3 cannot be used: %4")
                                         .arg(quoted(field->text()),
                                              QString::fromLatin1(kindHeadings[std::size_t(kind - 1)]))
                                         .arg(zoom)
                                         .arg(problem));
        }
    }
    const QString problem = TimePattern::problem(txtTimeFormat->text());
    if (!problem.isEmpty())
        return refuse(txtTimeFormat, QStringLiteral("The format %1 for times cannot be used: %2")
                                         .arg(quoted(txtTimeFormat->text()), problem));
    return true;
}

bool frmTimeFormats::cmdOK_Click() {
    if (!checkFormats())
        return false;
    ChartSettings& settings = globals().chart->settings();
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        for (int kind = ChartSettings::DayCaption; kind <= ChartSettings::YearCaption; ++kind) {
            if (const QLineEdit* field = captionField(zoom, kind))
                settings.setBandCaptionFormat(zoom, kind, field->text());
        }
    }
    settings.timeCaptionFormat = txtTimeFormat->text();
    settings.truncateCaptions = chkTrimTimeFormat->isChecked();
    if (m_font) {
        settings.upperBandFont = *m_font;
        settings.lowerBandFont = *m_font;
    }
    m_host.settingsStored();
    accept();
    return true;
}
