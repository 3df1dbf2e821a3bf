#pragma once

#include <QApplication>

class frmMain;

// The application object of one measured start of the real board: it notes when the board first
// paints items of the opened timetable and when the timetable is loaded and editable, then closes the
// board and prints the moments (monotonic clock, nanoseconds), the items the chart then holds and the
// peak memory as "name value" lines.
class BoardProbe : public QApplication {
    Q_OBJECT
public:
    BoardProbe(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
    // Starts the board on the command line's timetable the way the program does; returns its exit code.
    int run();

private:
    // Whether the board's shown rows hold items in the shown time: a paint without them is no first screen.
    [[nodiscard]] bool showsItems() const;
    void watch(frmMain* board);
    void noteLoaded();
    void finishWhenDone();

    frmMain* m_board = nullptr;
    qint64 m_firstPaint = -1;
    qint64 m_loaded = -1;
    qint64 m_loadedCpu = -1; // processor time of the whole process until then
    qint64 m_loadedItems = -1;
};
