#pragma once

#include "app/TimePoint.h"

#include <QFrame>
#include <array>
#include <optional>

class ChartItem;
class ColorComboBox;
class GanttData;
class InputFieldFilter;
class QLabel;
class QLineEdit;
class QPushButton;

// The small editor beside the chart for the current item: start and end (date and time), caption
// and style, and "O&K" to apply them. It only shows and reads its fields; the board applies them.
class DetailPanel : public QFrame {
    Q_OBJECT
public:
    enum Field { StartDate = 0, StartTime = 1, EndDate = 2, EndTime = 3, Caption = 4 };
    static constexpr int fieldCount = 5;

    explicit DetailPanel(QWidget* parent = nullptr);

    // Fills the fields and the resource from the item and chooses its style in the list when the chart
    // has it.
    void showItem(const ChartItem& item, const GanttData& chart);
    // Empties the fields, the resource and the chosen style, and disables the panel.
    void clear();

    // Fills the style list with the chart's date item styles, drawn with their background colours.
    void loadStyles(const GanttData& chart);
    [[nodiscard]] QString styleKey() const;
    bool chooseStyle(const QString& key);

    // The fields' texts as time points; empty when a date or a time is not valid.
    [[nodiscard]] std::optional<TimePoint> start() const;
    [[nodiscard]] std::optional<TimePoint> end() const;
    [[nodiscard]] QString caption() const;

    // Checks every field with an input kind as leaving it would.
    void validateFields();

    std::array<QLineEdit*, fieldCount> tx{};
    ColorComboBox* cmbStyle;
    // The resource the shown item belongs to.
    QLabel* lblResource;
    QLabel* lblSeries;
    QPushButton* cmdDOK;
    // Says what the empty panel is for.
    QLabel* lblHint;

signals:
    void applyClicked();

private:
    // Tab runs down the panel as the fields are shown.
    void orderTabs();
    [[nodiscard]] std::optional<TimePoint> timePoint(Field dateField, Field timeField) const;

    InputFieldFilter* m_fields;
};
