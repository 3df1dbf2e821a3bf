#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Draws a list entry as a small square in the entry's colour followed by its name: the style lists of
// the item editor and of the board's detail panel. The entry text, kept under EntryTextRole, is the
// name, a character 0 and the colour (BGR, 0x00BBGGRR) in decimal; an entry without a colour part
// gets a black square.
class ColorItem : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int EntryTextRole = Qt::UserRole + 40;

    struct Entry {
        QString name;
        quint32 colour = 0;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    [[nodiscard]] static QString entryText(const QString& name, quint32 bgrColour);
    [[nodiscard]] static Entry split(const QString& entryText);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The text height of the whole entry text plus 4.
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The drawing itself, also used for the closed combo box: `rect` is the entry's area.
    static void drawEntry(QPainter* painter, const QRect& rect, const QString& entryText, bool selected,
                          const QPalette& palette, const QFont& font);

private:
    [[nodiscard]] static QString entryTextOf(const QModelIndex& index);
};
