#include "clsSettings.h"

#include "AddonStore.h"
#include "NumericText.h"

#include <cmath>
#include <cstdint>

namespace {
const QString deleteAfterDaysKey = QStringLiteral("$DeleteAfterDays");
const QString blackText = QStringLiteral("-1");
} // namespace

clsSettings::clsSettings(AddonStore& store)
    : m_store(store) {}

void clsSettings::ReadData() {
    try {
        const QString text = m_store.addonText();
        m_data.setAddOnData(text);
    } catch (...) {
        // The style may be missing: the store keeps its content.
    }
}

void clsSettings::WriteData() {
    try {
        m_store.setAddonText(m_data.AddOnData());
    } catch (...) {
    }
}

int clsSettings::DeleteAfterDays() const {
    return roundToInt(leadingNumber(m_data.Value(deleteAfterDaysKey)));
}

void clsSettings::setDeleteAfterDays(int days) {
    m_data.setValue(deleteAfterDaysKey, QString::number(days));
}

QString clsSettings::utilizationKey(int index) {
    return QStringLiteral("$UtilizationColor") + QString::number(index);
}

quint32 clsSettings::UtilizationColor(int index) const {
    const double number = roundHalfEven(leadingNumber(m_data.Value(utilizationKey(index))));
    if (number == 0 || std::isnan(number))
        return white;
    if (number == -1)
        return 0;
    // A colour is a 32-bit value: the stored text of any quint32 reads back as that value.
    if (number < double(INT32_MIN) || number > double(UINT32_MAX))
        return white;
    return quint32(qint64(number));
}

void clsSettings::setUtilizationColor(int index, quint32 colour) {
    m_data.setValue(utilizationKey(index), colour == 0 ? blackText : QString::number(colour));
}
