#include "frmStyles.h"

#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/bsInput.h"
#include "chart/DefaultStyles.h"
#include "chart/widget/GanttChart.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;
const QString newStyleName = QStringLiteral("new style");
// Half-hour cells: the sample bar from 01:00 to 03:00 is four cells long.
constexpr int sampleScale = 9;
// High enough to show the vertical alignment of a caption.
constexpr int sampleRowHeight = 36;

QPointer<frmStyles>& openDialog(int mode) {
    static QPointer<frmStyles> resources;
    static QPointer<frmStyles> dateItems;
    return mode == ChartStyle::RowKind ? resources : dateItems;
}

// Any style of any kind already has the name, in whatever letter case: keys are unique among all styles.
bool nameTaken(const GanttData& chart, const QString& name) {
    const StyleCollection& styles = chart.styles();
    for (int position = 1; position <= styles.count(); ++position) {
        const ChartStyle* style = styles.byPosition(position);
        if (style != nullptr && style->key().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool rowUsesStyle(const GanttData& chart, const QString& key) {
    const RowCollection& rows = chart.rows();
    for (int position = 1; position <= rows.count(); ++position) {
        const ChartRow* row = rows.byPosition(position);
        if (row != nullptr && row->styleKey == key)
            return true;
    }
    return false;
}

// The width of the border a shown border draws, on both axes; the focus frame keeps 2 pixels off it.
int borderWidth(const ChartStyle& style) {
    return style.borderShown ? 1 : 0;
}
} // namespace

frmStyles::frmStyles(QWidget* parent)
    : QDialog(parent) {
    buildWindow();
    InputFieldFilter::install(this);
    guardedStep(QStringLiteral("Sub:frmStyles:Form_Load"), [&] { setUpSample(); });
    if (GanttData* data = chart())
        connect(data, &GanttData::loaded, this, &frmStyles::ReadStyles);
}

frmStyles* frmStyles::open(QWidget* owner, int mode) {
    QPointer<frmStyles>& dialog = openDialog(mode);
    if (dialog == nullptr) {
        dialog = new frmStyles(owner);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->SetMode(mode);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

GanttData* frmStyles::chart() {
    return globals().chart;
}

QButtonGroup* frmStyles::optionGroup(const QString& title, const std::array<const char*, 3>& captions,
                                     std::array<QRadioButton*, 3>& options, QWidget*& box) {
    auto* frame = new QGroupBox(title, this);
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int index = 0; index < 3; ++index) {
        options[size_t(index)] = new QRadioButton(QString::fromLatin1(captions[size_t(index)]), frame);
        group->addButton(options[size_t(index)], index);
        column->addWidget(options[size_t(index)]);
    }
    box = frame;
    return group;
}

void frmStyles::buildWindow() {
    cmbStyles = new QComboBox(this);
    cmbStyles->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbStyles->setMinimumContentsLength(24);
    connect(cmbStyles, &QComboBox::currentIndexChanged, this, &frmStyles::cmbStyles_Click);

    const QStringList commands = {tr("&New"), tr("&Delete"), tr("&Return")};
    const QStringList looks = {tr("Font..."), tr("Background..."), tr("Foreground...")};
    DialogLayout::makeCommandButtons(cmdOK, this, commands, [this](int index) { cmdOK_Click(index); });
    DialogLayout::makeCommandButtons(cmd, this, looks, [this](int index) { cmd_Click(index); });
    for (QPushButton* button : cmd)
        button->setAutoDefault(false);
    cmdOK[NewCommand]->setAutoDefault(false);
    cmdOK[DeleteCommand]->setAutoDefault(false);
    cmdOK[ReturnCommand]->setDefault(true);

    const QStringList checks = {tr("Show focus"), tr("Default for new items"), tr("Fix date item")};
    for (int index = 0; index < 3; ++index) {
        chk[size_t(index)] = new QCheckBox(checks[index], this);
        connect(chk[size_t(index)], &QCheckBox::toggled, this, [this, index] { chk_Click(index); });
    }

    QWidget* borderBox = nullptr;
    QWidget* horizontalBox = nullptr;
    QWidget* verticalBox = nullptr;
    QButtonGroup* border = optionGroup(tr("Border"), {"No border", "Flat", "3D"}, optBS, borderBox);
    QButtonGroup* horizontal =
        optionGroup(tr("Alignment horizontal"), {"Left", "Center", "Right"}, optAH, horizontalBox);
    QButtonGroup* vertical =
        optionGroup(tr("Alignment vertical"), {"Top", "Center", "Bottom"}, optAV, verticalBox);
    const auto onChoice = [this](QButtonGroup* group, void (frmStyles::*click)(int)) {
        connect(group, &QButtonGroup::idToggled, this, [this, click](int id, bool checked) {
            if (checked)
                (this->*click)(id);
        });
    };
    onChoice(border, &frmStyles::optBS_Click);
    onChoice(horizontal, &frmStyles::optAH_Click);
    onChoice(vertical, &frmStyles::optAV_Click);

    gntSample = new GanttChart(m_sampleData, this);
    gntSample->setFocusPolicy(Qt::NoFocus);
    gntSample->setMinimumWidth(420);

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(cmbStyles, 1);
    listRow->addWidget(cmdOK[NewCommand]);
    listRow->addWidget(cmdOK[DeleteCommand]);

    auto* lookRow = new QHBoxLayout;
    for (QPushButton* button : cmd)
        lookRow->addWidget(button);
    lookRow->addStretch();

    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(borderBox);
    optionRow->addWidget(horizontalBox);
    optionRow->addWidget(verticalBox);

    auto* checkRow = new QHBoxLayout;
    for (QCheckBox* box : chk)
        checkRow->addWidget(box);
    checkRow->addStretch();

    auto* window = new QVBoxLayout(this);
    window->addLayout(listRow);
    window->addLayout(lookRow);
    window->addLayout(optionRow);
    window->addLayout(checkRow);
    window->addWidget(gntSample);
    window->addLayout(DialogLayout::buttonRow({cmdOK[ReturnCommand]}));

    QList<QWidget*> tabOrder{cmbStyles, cmdOK[NewCommand], cmdOK[DeleteCommand]};
    tabOrder.append(QList<QWidget*>(cmd.cbegin(), cmd.cend()));
    for (const auto* options : {&optBS, &optAH, &optAV})
        tabOrder.append(QList<QWidget*>(options->cbegin(), options->cend()));
    tabOrder.append(QList<QWidget*>(chk.cbegin(), chk.cend()));
    tabOrder.append(cmdOK[ReturnCommand]);
    DialogLayout::setTabChain(tabOrder);
}

void frmStyles::setUpSample() {
    ChartSettings& settings = m_sampleData.settings();
    settings.allowAdd = false;
    settings.allowEdit = false;
    settings.allowRowSize = false;
    settings.scale = sampleScale;
    settings.scrollBarsVisible = false;
    const TimePoint today = TimePoint::today();
    settings.firstShownTime = today;
    m_sampleData.styles().add(sampleKey);
    const QString rowKey = bsSupport::NewKey();
    m_sampleData.rows().add(rowKey, tr("Sample"), QString(), QString(), sampleRowHeight);
    ChartItem& item = m_sampleData.items().add(tr("Sample"), rowKey, today.addSeconds(3600),
                                               today.addSeconds(3 * 3600), sampleKey, sampleKey);
    item.setMovementLock(2);
    gntSample->setScale(sampleScale);
    gntSample->scrollTo(today);
    // The focus frame is part of a style's look; a highlighted heading would hide a row style.
    gntSample->setCurrentItem(sampleKey);
    gntSample->setCurrentRow(0);
}

void frmStyles::SetMode(int mode) {
    guardedStep(QStringLiteral("Sub:frmStyles:SetMode"), [&] {
        if (mode != ChartStyle::RowKind && mode != ChartStyle::ItemKind) {
            ShowMessage(QStringLiteral("Wrong invocation for 'SetMode'!"), errorFlags);
            return;
        }
        m_mode = mode;
        const bool items = mode == ChartStyle::ItemKind;
        setWindowTitle(items ? QStringLiteral("Styles (Date items)") : QStringLiteral("Styles (Resources)"));
        chk[DefaultCheck]->setVisible(items);
        chk[FixedCheck]->setVisible(items);
        // A resource style shows on the row heading, a date item style on the bar.
        if (ChartRow* row = m_sampleData.rows().byPosition(1))
            row->styleKey = items ? QString() : sampleKey;
    });
}

void frmStyles::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    ReadStyles();
    // The bands and the one row, with room around the bar for its focus frame; known once laid out.
    gntSample->setFixedHeight(gntSample->viewport()->y() + gntSample->rowBottom(1) + 1 +
                              gntSample->frameWidth() + 12);
    adjustSize();
}

void frmStyles::ReadStyles() {
    guardedStep(QStringLiteral("Sub:frmStyles:ReadStyles"), [&] { readStyles(); });
}

void frmStyles::readStyles() {
    {
        const QScopedValueRollback showing(m_showing, true);
        cmbStyles->clear();
    }
    const GanttData* data = chart();
    if (data == nullptr || m_mode == 0)
        return;
    const StyleCollection& styles = data->styles();
    QStringList keys;
    for (int position = 1; position <= styles.count(); ++position) {
        const ChartStyle* style = styles.byPosition(position);
        if (style != nullptr && IsDrawingStyle(*style, m_mode))
            keys << style->key();
    }
    {
        const QScopedValueRollback showing(m_showing, true);
        cmbStyles->addItems(keys);
        cmbStyles->setCurrentIndex(-1);
    }
    if (cmbStyles->count() == 0)
        ForceOneStyle();
    else
        cmbStyles->setCurrentIndex(0);
}

void frmStyles::ForceOneStyle() {
    guardedStep(QStringLiteral("Sub:frmStyles:ForceOneStyle"), [&] { forceOneStyle(); });
}

void frmStyles::forceOneStyle() {
    GanttData* data = chart();
    if (data == nullptr || m_mode == 0)
        return;
    // The name may be taken by a style of the other kind.
    QString name = newStyleName;
    for (int number = 2; nameTaken(*data, name); ++number)
        name = newStyleName + ' ' + QString::number(number);
    data->styles().add(name).kind = m_mode;
    addToList(name);
}

void frmStyles::addToList(const QString& key) {
    {
        const QScopedValueRollback showing(m_showing, true);
        cmbStyles->addItem(key);
    }
    cmbStyles->setCurrentIndex(cmbStyles->count() - 1);
    ShowDetail();
}

ChartStyle* frmStyles::shownStyle() const {
    const GanttData* data = chart();
    const QString key = cmbStyles->currentText();
    return data == nullptr || cmbStyles->currentIndex() < 0 ? nullptr : data->styles().byKey(key);
}

void frmStyles::cmbStyles_Click() {
    if (m_showing)
        return;
    guardedStep(QStringLiteral("Sub:frmStyles:cmbStyles_Click"), [&] { showDetail(); });
}

void frmStyles::ShowDetail() {
    guardedStep(QStringLiteral("Sub:frmStyles:ShowDetail"), [&] { showDetail(); });
}

void frmStyles::showDetail() {
    const ChartStyle* style = shownStyle();
    if (style == nullptr)
        return;
    {
        const QScopedValueRollback showing(m_showing, true);
        m_sampleData.styles().get(sampleKey).assignProperties(*style);
        showControls(*style);
    }
    m_sampleData.redraw();
}

void frmStyles::showControls(const ChartStyle& style) {
    int border = RaisedOption;
    if (style.borderShown == 0)
        border = NoBorderOption;
    else if (style.borderAppearance == ChartStyle::Flat)
        border = FlatOption;
    optBS[size_t(border)]->setChecked(true);
    const int horizontal = style.horizontalAlignment == ChartStyle::Left     ? FirstOption
                           : style.horizontalAlignment == ChartStyle::Centre ? CentreOption
                                                                             : LastOption;
    optAH[size_t(horizontal)]->setChecked(true);
    const int vertical = style.verticalAlignment == ChartStyle::Centre   ? CentreOption
                         : style.verticalAlignment == ChartStyle::Bottom ? LastOption
                                                                         : FirstOption;
    optAV[size_t(vertical)]->setChecked(true);
    chk[ShowFocusCheck]->setChecked(style.focusShown);
    if (m_mode == ChartStyle::ItemKind) {
        const GanttData* data = chart();
        chk[DefaultCheck]->setChecked(data != nullptr && data->settings().defaultItemStyle == style.key());
        chk[FixedCheck]->setChecked(style.fixedItem);
    }
}

bool frmStyles::AddNew() {
    bool added = false;
    guardedStep(QStringLiteral("Function:frmStyles:AddNew"), [&] { added = addNew(); });
    return added;
}

bool frmStyles::addNew() {
    GanttData* data = chart();
    if (data == nullptr || m_mode == 0)
        return false;
    // Blanks around a name would make two styles look alike.
    const QString name =
        prompts().inputBox(QStringLiteral("Name of style"), AppTitle(), {}).value_or(QString()).trimmed();
    if (name.isEmpty())
        return false;
    if (FieldNumber(name)) {
        ShowMessage(QStringLiteral("A style name must not be a number!"), errorFlags);
        return false;
    }
    if (nameTaken(*data, name)) {
        ShowMessage(FormatMsg(QStringLiteral("'%s' is allready in use!"), name), errorFlags);
        return false;
    }
    ChartStyle& style = data->styles().add(name);
    if (m_mode == ChartStyle::RowKind)
        SetResourceLook(style);
    else
        SetDateItemLook(style);
    addToList(name);
    return true;
}

bool frmStyles::Delete() {
    bool deleted = false;
    guardedStep(QStringLiteral("Function:frmStyles:Delete"), [&] { deleted = deleteShown(); });
    return deleted;
}

bool frmStyles::deleteShown() {
    GanttData* data = chart();
    const ChartStyle* style = shownStyle();
    if (data == nullptr || style == nullptr) {
        ShowMessage(QStringLiteral("No style selected!"), errorFlags);
        return false;
    }
    const QString key = style->key();
    if (rowUsesStyle(*data, key)) {
        ShowMessage(FormatMsg(QStringLiteral("Style '%s' is in use and can't be deleted!"), key), errorFlags);
        return false;
    }
    if (ShowMessage(FormatMsg(QStringLiteral("Delete style '%s'?"), key),
                    MessageFlags::YesNo | MessageFlags::Question) != MessageResult::Yes)
        return false;
    if (data->settings().defaultItemStyle == key)
        data->settings().defaultItemStyle.clear();
    data->styles().remove(key);
    {
        const QScopedValueRollback showing(m_showing, true);
        cmbStyles->removeItem(cmbStyles->findText(key, Qt::MatchExactly));
        cmbStyles->setCurrentIndex(-1);
    }
    if (cmbStyles->count() == 0)
        ForceOneStyle();
    else
        cmbStyles->setCurrentIndex(0);
    return true;
}

void frmStyles::cmdOK_Click(int index) {
    guardedStep(QStringLiteral("Sub:frmStyles:cmdOK_Click"), [&] {
        switch (index) {
        case NewCommand:
            AddNew();
            break;
        case DeleteCommand:
            Delete();
            break;
        case ReturnCommand:
            if (clsItems* items = globals().items) {
                if (m_mode == ChartStyle::ItemKind)
                    items->ItemStylesChanged();
                else if (m_mode == ChartStyle::RowKind)
                    items->RowStylesChanged();
            }
            close();
            break;
        default:
            break;
        }
    });
}

void frmStyles::cmd_Click(int index) {
    ChartStyle* style = shownStyle();
    if (style == nullptr)
        return;
    bool changed = false;
    if (index == FontButton) {
        if (const std::optional<FontDescription> font = prompts().chooseFont(style->font)) {
            style->font = *font;
            changed = true;
        }
    } else if (index == BackgroundButton || index == ForegroundButton) {
        quint32& colour = index == BackgroundButton ? style->backColor : style->foreColor;
        if (const std::optional<quint32> chosen = prompts().chooseColour(colour)) {
            colour = *chosen;
            changed = true;
        }
    }
    if (changed)
        ShowDetail();
}

void frmStyles::changeStyle(const QString& identity, const std::function<void(ChartStyle&)>& change) {
    if (m_showing)
        return;
    guardedStep(identity, [&] {
        if (ChartStyle* style = shownStyle())
            change(*style);
        showDetail();
    });
}

void frmStyles::chk_Click(int index) {
    const bool ticked = chk[size_t(index)]->isChecked();
    changeStyle(QStringLiteral("Sub:frmStyles:chk_Click"), [&](ChartStyle& style) {
        switch (index) {
        case ShowFocusCheck:
            style.focusShown = ticked;
            style.focusDistanceX = ticked ? borderWidth(style) + 2 : 0;
            style.focusDistanceY = ticked ? borderWidth(style) + 2 : 0;
            break;
        case DefaultCheck:
            if (GanttData* data = chart()) {
                QString& defaultStyle = data->settings().defaultItemStyle;
                if (ticked)
                    defaultStyle = style.key();
                else if (defaultStyle == style.key())
                    defaultStyle.clear();
            }
            break;
        case FixedCheck:
            style.fixedItem = ticked;
            break;
        default:
            break;
        }
    });
}

void frmStyles::optBS_Click(int index) {
    changeStyle(QStringLiteral("Sub:frmStyles:optBS_Click"), [&](ChartStyle& style) {
        style.borderShown = index == NoBorderOption ? 0 : 1;
        style.borderAppearance = index == RaisedOption ? ChartStyle::Raised : ChartStyle::Flat;
    });
}

void frmStyles::optAH_Click(int index) {
    changeStyle(QStringLiteral("Sub:frmStyles:optAH_Click"),
                [&](ChartStyle& style) { style.horizontalAlignment = index + 1; });
}

void frmStyles::optAV_Click(int index) {
    changeStyle(QStringLiteral("Sub:frmStyles:optAV_Click"),
                [&](ChartStyle& style) { style.verticalAlignment = index + 1; });
}

void frmStyles::reject() {
    close();
}

void frmStyles::closeEvent(QCloseEvent* event) {
    if (GanttData* data = chart())
        data->redraw();
    event->accept();
}
