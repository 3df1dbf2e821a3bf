#include "ColourLabel.h"

#include "app/UserPrompts.h"
#include "app/ui/BgrColor.h"

ColourLabel::ColourLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setAutoFillBackground(true);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMargin(3);
    showColours();
}

void ColourLabel::setBack(quint32 colour) {
    m_back = colour;
    showColours();
}

void ColourLabel::setFore(quint32 colour) {
    m_fore = colour;
    showColours();
}

bool ColourLabel::chooseBack() {
    const std::optional<quint32> chosen = prompts().chooseColour(m_back);
    if (chosen)
        setBack(*chosen);
    return chosen.has_value();
}

bool ColourLabel::chooseFore() {
    const std::optional<quint32> chosen = prompts().chooseColour(m_fore);
    if (chosen)
        setFore(*chosen);
    return chosen.has_value();
}

void ColourLabel::showColours() {
    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Window, BgrColor::toQColor(m_back));
        colours.setColor(group, QPalette::WindowText, BgrColor::toQColor(m_fore));
    }
    setPalette(colours);
}
