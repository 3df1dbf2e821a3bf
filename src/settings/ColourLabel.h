#pragma once

#include <QLabel>

// A caption that shows the colours being edited: its background and its text are drawn in them.
// Colours are BGR values.
class ColourLabel : public QLabel {
    Q_OBJECT
public:
    explicit ColourLabel(const QString& text, QWidget* parent = nullptr);

    [[nodiscard]] quint32 back() const { return m_back; }
    [[nodiscard]] quint32 fore() const { return m_fore; }
    void setBack(quint32 colour);
    void setFore(quint32 colour);

    // The colour dialog, preset with the current colour; true when the user chose one.
    bool chooseBack();
    bool chooseFore();

private:
    void showColours();

    quint32 m_back = 0xFFFFFF;
    quint32 m_fore = 0x000000;
};
