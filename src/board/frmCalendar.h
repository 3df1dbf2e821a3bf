#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

// The calendar beside the board: a month view that is not modal; clicking a date tells the board to
// move its time line there. The board keeps one and reuses it after it is closed. Its position is
// kept in the profile under "Calendar".
class frmCalendar : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* layoutName = "Calendar";

    explicit frmCalendar(QWidget* board);

    // Makes the month view show the date.
    void setThisDate(const QDate& date);
    [[nodiscard]] QDate ThisDate() const;
    [[nodiscard]] QCalendarWidget* monthView() const { return m_monthView; }

signals:
    void ChangedTo(const QDate& date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QCalendarWidget* m_monthView;
};
