#pragma once

#include <QDialog>
#include <array>

class ChartRow;
class ColorComboBox;
class QLineEdit;
class QPushButton;

// The resources dialog: without a row it adds new resources, one after another, until the user
// returns; with a row (LetGantRow) it edits that row's caption, picture and style.
class frmResource : public QDialog {
    Q_OBJECT
public:
    enum Command { OkCommand = 0, ReturnCommand = 1 };

    explicit frmResource(QWidget* parent = nullptr);

    // The row to edit; without this call the dialog adds new resources.
    void LetGantRow(const ChartRow& row);
    [[nodiscard]] const QString& rowKey() const { return m_rowKey; }

    // "&OK" applies the fields and stays open, "&Return" applies them and closes.
    void cmd_Click(int index);
    void choosePicture();

    QLineEdit* txName = nullptr;
    QLineEdit* txPicture = nullptr;
    QPushButton* cmdPicture = nullptr;
    ColorComboBox* cmbStyle = nullptr;
    std::array<QPushButton*, 2> cmd{};

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void loadStyles();
    void firstActivation();
    void apply();

    QString m_rowKey;
    // The caption applied last: pressing "&OK" twice adds the resource once.
    QString m_lastCaption;
    bool m_activated = false;
};
