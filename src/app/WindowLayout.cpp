#include "WindowLayout.h"

#include "NumericText.h"
#include "clsIniFile.h"

#include <QStringList>

namespace {
const QString section = QStringLiteral("ScreenLayout");

QString generalNumber(double value) {
    return QString::number(value, 'g', 15);
}
} // namespace

std::optional<WindowLayout> WindowLayout::parse(const QString& text) {
    const QStringList fields = text.split('|');
    if (fields.size() < 5)
        return std::nullopt;
    WindowLayout layout;
    layout.state = roundToInt(leadingNumber(fields[0]));
    layout.left = leadingNumber(fields[1]);
    layout.top = leadingNumber(fields[2]);
    layout.width = leadingNumber(fields[3]);
    layout.height = leadingNumber(fields[4]);
    return layout;
}

QString WindowLayout::toText() const {
    return QStringList{QString::number(state), generalNumber(left), generalNumber(top), generalNumber(width),
                       generalNumber(height)}
        .join('|');
}

std::optional<WindowLayout> WindowLayout::read(const clsIniFile& profile, const QString& windowName) {
    return parse(profile.ReadProfileString(section, windowName, QString()));
}

void WindowLayout::write(clsIniFile& profile, const QString& windowName, const WindowLayout& layout) {
    if (layout.state == Minimised)
        return;
    profile.WriteProfileString(section, windowName, layout.toText());
}
