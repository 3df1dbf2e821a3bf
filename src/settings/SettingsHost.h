#pragma once

class QWidget;

// What the settings dialogs need from the planning board. The board implements it; the dialogs never
// see the board itself.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // The board window: owner of the dialogs.
    [[nodiscard]] virtual QWidget* boardWindow() = 0;
    // A dialog has written settings of the open timetable: the board marks it changed and shows the
    // new settings with one redraw.
    virtual void settingsStored() = 0;
};
