#pragma once

#include "clsAddOnData.h"

#include <QString>
#include <QtGlobal>

class AddonStore;

// The settings that travel inside a timetable, kept as add-on data in the chart's style "Addon".
class clsSettings {
public:
    explicit clsSettings(AddonStore& store);

    // Loads the store from the chart (after every load); errors leave the store as it was.
    void ReadData();
    // Writes the store's text into the chart (before every save); errors leave the chart as it was.
    void WriteData();

    // Items older than this many days are deleted when a file is loaded; below 1 means never.
    [[nodiscard]] int DeleteAfterDays() const;
    void setDeleteAfterDays(int days);

    // BGR colour of a utilisation level: missing or 0 gives white, the stored text "-1" black.
    [[nodiscard]] quint32 UtilizationColor(int index) const;
    void setUtilizationColor(int index, quint32 colour);

    [[nodiscard]] clsAddOnData& data() { return m_data; }
    [[nodiscard]] const clsAddOnData& data() const { return m_data; }

    static constexpr quint32 white = 0xFFFFFF;

private:
    [[nodiscard]] static QString utilizationKey(int index);

    AddonStore& m_store;
    clsAddOnData m_data;
};
