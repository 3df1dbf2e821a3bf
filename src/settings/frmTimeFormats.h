#pragma once

#include "app/FontDescription.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsHost;

// The caption formats of the time bands for every zoom level, the format of time captions, truncation
// and the band font. OK writes them all to the chart; "&Return" closes without writing.
class frmTimeFormats : public QDialog {
    Q_OBJECT
public:
    static constexpr int zoomLevels = 16;

    explicit frmTimeFormats(SettingsHost& host, QWidget* parent = nullptr);

    // The text box of a zoom level (0-15) and caption kind (1 day .. 4 year); none where the chart has
    // no such caption.
    [[nodiscard]] QLineEdit* captionField(int zoom, int kind) const;

    // The font dialog, preset with the band font; the choice is written on OK.
    void cmdFont_Click();
    // Writes everything and closes; a format the chart cannot draw is refused with a message, and
    // nothing is written.
    bool cmdOK_Click();
    [[nodiscard]] const std::optional<FontDescription>& chosenFont() const { return m_font; }

    std::array<QLineEdit*, zoomLevels> txtDayStripe{};
    std::array<QLineEdit*, zoomLevels> txtMonthStripe{};
    std::array<QLineEdit*, zoomLevels> txtQuarterStripe{};
    std::array<QLineEdit*, zoomLevels> txtYearStripe{};
    std::array<QLabel*, zoomLevels> lblZoomMode{};
    QLineEdit* txtTimeFormat = nullptr;
    QCheckBox* chkTrimTimeFormat = nullptr;
    QPushButton* cmdFont = nullptr;
    QLabel* lblFont = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void buildWindow();
    void Form_Load();
    void showFont(const FontDescription& font);
    // The first format that cannot be used, with its field focused and the reason told; true when all
    // can be used.
    bool checkFormats();

    SettingsHost& m_host;
    std::optional<FontDescription> m_font;
};
