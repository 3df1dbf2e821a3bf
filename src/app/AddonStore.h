#pragma once

#include <QString>

// Where a timetable keeps its own settings text: the chart implements it with the free text of its
// style "Addon". Both operations throw AppError when the style is missing.
class AddonStore {
public:
    virtual ~AddonStore() = default;
    [[nodiscard]] virtual QString addonText() const = 0;
    virtual void setAddonText(const QString& text) = 0;
};
