#pragma once

#include "DateItemStore.h"
#include "app/TimePoint.h"
#include "app/clsAddOnData.h"
#include "model/iMessenger.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <optional>

class ColorComboBox;
class DeferredRefresh;
class EditorHost;
class InputFieldFilter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The full editor of one date item. A modeless window of the board that follows the item selected
// anywhere: it registers with the item table and shows whatever item another view selects. Every
// new or changed item passes the conflict test and reaches all views through the item table.
class frmDateItem : public QDialog, public iMessenger {
    Q_OBJECT
public:
    // Indexes of the text fields `tx`; the text field is multi-line and kept apart in `txText`.
    enum Field {
        StartDateField = 0,
        StartTimeField = 1,
        EndDateField = 2,
        EndTimeField = 3,
        CaptionField = 4,
        TextField = 5,
        PictureField = 6
    };
    enum Command { OkCommand = 0, DeleteCommand = 1, NewCommand = 2, ReturnCommand = 3 };
    // Indexes of the search buttons: the picture chooser and the date pickers of start and end.
    enum Search { PictureSearch = 3, StartSearch = 4, EndSearch = 5 };
    static constexpr int fieldCount = 7;
    static inline const QString windowName = QStringLiteral("DateItem");

    // The one editor, created on first use as a window of the board and released when it closes.
    static frmDateItem* open(EditorHost& host);
    [[nodiscard]] static frmDateItem* instance();

    explicit frmDateItem(EditorHost& host, QWidget* parent = nullptr);
    ~frmDateItem() override;

    // Empties the window for a new item.
    void InitItem();
    // Prefills a new item: the start date, the start time when the time point has one, the resource
    // when a key is given.
    void StartDate(TimePoint start, const QString& resourceKey);
    // Shows the item whose key the editor holds; a new item when it holds none.
    void ShowItem();
    // True when nothing was left to store or the item was stored; false keeps the entry for
    // correction (or the user cancelled the question).
    bool Store(bool askFirst);
    void Delete();

    void cmd_Click(int index);
    void cmdSearch_Click(int index);
    void cmdSeries_Click();

    [[nodiscard]] const QString& itemKey() const { return m_itemKey; }
    [[nodiscard]] bool isChanged() const { return m_changed; }
    // The text of any field, the multi-line text included.
    [[nodiscard]] QString fieldText(int index) const;
    void setFieldText(int index, const QString& text);
    [[nodiscard]] QString resourceKey() const;
    [[nodiscard]] QString styleKey() const;

    // iMessenger
    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override;
    void ItemDeleteAfter(QString key, QString senderId) override;
    void ItemChanged(QString key, QString senderId) override;
    void ItemAdded(QString key, QString senderId) override;
    void ItemsChanged() override;
    [[nodiscard]] QString ID() const override { return m_id; }
    void ItemSelected(QString key, QString senderId) override;
    void RowsChanged() override;
    void RowStylesChanged() override;
    void ItemStylesChanged() override;

    // Esc and "&Return" close the window; the close request asks to store first.
    void reject() override;

    QComboBox* cmbRes = nullptr;
    std::array<QLineEdit*, fieldCount> tx{}; // no line field at TextField
    QPlainTextEdit* txText = nullptr;
    ColorComboBox* cmbStyleEx = nullptr;
    QLabel* picPicture = nullptr;
    QCheckBox* chkSeries = nullptr;
    QPushButton* cmdSeries = nullptr;
    QPushButton* cmdSearchPicture = nullptr;
    QPushButton* cmdSearchStart = nullptr;
    QPushButton* cmdSearchEnd = nullptr;
    std::array<QPushButton*, 4> cmd{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildWindow();
    void connectChanges();
    void LoadRows();
    void LoadStyles();
    void showItem();
    // What other views tell the editor waits while the chart does bulk work: one refresh at its end.
    void showItemWhenChartIsIdle();
    bool store(bool askFirst);
    void refuse(DateItemStore::Outcome outcome);
    [[nodiscard]] DateItemStore::Entry entry() const;
    // Remembers what the date and time fields show for the item's exact start and end.
    void rememberShownSpan(TimePoint start, TimePoint end);
    void fillEndFromGrid();
    void pickDate(int dateField);
    void showPicture(const QString& path);
    void updateCommands();
    bool selectResource(const QString& rowKey);
    bool selectStyle(const QString& styleKey);
    void restorePosition();
    void saveLayout() const;

    EditorHost& m_host;
    InputFieldFilter* m_filter = nullptr;
    DeferredRefresh* m_showLater = nullptr;
    QString m_id;
    QString m_itemKey;
    bool m_changed = false;
    bool m_storing = false;
    // While the window fills its own lists, their changes are no edits.
    bool m_filling = false;
    clsAddOnData m_addOnData;

    struct ShownSpan {
        TimePoint start;
        TimePoint end;
        QString startDate;
        QString startTime;
        QString endDate;
        QString endTime;
    };
    std::optional<ShownSpan> m_shown;

    static QPointer<frmDateItem> s_instance;
};
