#pragma once

#include <QString>
#include <optional>

class clsIniFile;

// A window's placement as the profile keeps it in section "ScreenLayout": state, left, top, width
// and height joined by "|", positions and sizes in twips (15 per pixel at 96 dpi).
class WindowLayout {
public:
    enum State { Normal = 0, Minimised = 1, Maximised = 2 };
    static constexpr int twipsPerPixel = 15;

    int state = Normal;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    // Empty when the text has fewer than five fields. Numbers are read with "." as the only decimal
    // separator; the state is rounded to a whole number.
    [[nodiscard]] static std::optional<WindowLayout> parse(const QString& text);
    [[nodiscard]] QString toText() const;

    [[nodiscard]] static std::optional<WindowLayout> read(const clsIniFile& profile,
                                                          const QString& windowName);
    // Writes nothing for a minimised window, so the last normal or maximised placement stays.
    static void write(clsIniFile& profile, const QString& windowName, const WindowLayout& layout);
};
