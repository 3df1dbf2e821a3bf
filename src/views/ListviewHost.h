#pragma once

class QWidget;

// What the item list asks of the planning board. The board implements it; the list never sees the
// board itself.
class ListviewHost {
public:
    virtual ~ListviewHost() = default;

    // The board window: owner of the list.
    [[nodiscard]] virtual QWidget* boardWindow() = 0;
    // The gate of every editing command: false in read-only mode, else marks the timetable changed.
    virtual bool SetDirty() = 0;
    // Opens the item editor for a new item at the board's current date, with no resource given.
    virtual void NewItemAtCurrentDate() = 0;
};
