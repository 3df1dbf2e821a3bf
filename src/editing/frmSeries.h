#pragma once

#include "editing/core/ItemSeries.h"

#include <QDialog>
#include <array>

class InputFieldFilter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The series dialog: turns the item given by ItemID into the master of a series of copies at
// regular dates. "&OK" generates the members and closes; "&Cancel" closes.
class frmSeries : public QDialog {
    Q_OBJECT
public:
    enum Field { IntervalField = 0, CountField = 1, LastDateField = 2 };
    enum Command { OkCommand = 0, CancelCommand = 1 };
    static constexpr int fieldCount = 3;

    explicit frmSeries(QWidget* parent = nullptr);

    // Shows a new dialog for the item modal over its owner and returns at once; it is deleted when it
    // closes.
    static frmSeries* showFor(const QString& itemKey, QWidget* owner);

    void ItemID(const QString& key) { m_itemId = key; }
    [[nodiscard]] const QString& itemId() const { return m_itemId; }

    // Checks the fields, generates the members and closes; a refused entry keeps the dialog open.
    void Update();
    void cmd_Click(int index);
    // The calendar button of the last date field.
    void cmdSearch_Click();

    QComboBox* cmbType = nullptr;
    std::array<QLineEdit*, fieldCount> tx{};
    QPushButton* cmdSearch = nullptr;
    QLabel* lblStatus = nullptr;
    std::array<QPushButton*, 2> cmd{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void update();
    void refuse(ItemSeries::Refusal refusal);
    [[nodiscard]] ItemSeries::Request request() const;
    // A valid whole number is shown without leading zeros or a fraction.
    void showWhole(QLineEdit* field, bool valid);

    InputFieldFilter* m_filter = nullptr;
    QString m_itemId;
};
