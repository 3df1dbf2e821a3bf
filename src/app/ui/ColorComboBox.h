#pragma once

#include <QComboBox>

// A combo box whose entries, open or closed, are drawn by ColorItem: each entry shows its colour.
class ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorComboBox(QWidget* parent = nullptr);

    // Adds an entry whose name is shown and whose colour is the BGR value; `key` is kept as its data.
    void addColourEntry(const QString& key, const QString& name, quint32 bgrColour);
    // The key of the chosen entry; empty when none is chosen.
    [[nodiscard]] QString currentKey() const;
    // Chooses the entry with that key; false (and nothing chosen changed) when there is none.
    bool chooseKey(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;
};
