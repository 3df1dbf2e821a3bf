#include "ItemRecord.h"

QVariant ItemRecord::value(int column) const {
    switch (column) {
    case 0:
        return key;
    case 1:
        return resourceCaption;
    case 2:
        return caption;
    case 3:
        return startDate.date();
    case 4:
        return startTime.time();
    case 5:
        return endDate.date();
    case 6:
        return endTime.time();
    case 7:
        return addOnData;
    case 8:
        return text;
    default:
        return {};
    }
}

namespace {
int compareTimes(TimePoint a, TimePoint b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareTexts(const QString& a, const QString& b, ItemSortKey::Compare compare) {
    return QString::compare(
        a, b, compare == ItemSortKey::Compare::Caseless ? Qt::CaseInsensitive : Qt::CaseSensitive);
}
} // namespace

int ItemRecord::compare(const ItemRecord& a, const ItemRecord& b, const ItemSortKey& key) {
    switch (key.column) {
    case 0:
        return compareTexts(a.key, b.key, key.compare);
    case 1:
        return compareTexts(a.resourceCaption, b.resourceCaption, key.compare);
    case 2:
        return compareTexts(a.caption, b.caption, key.compare);
    case 3:
        return compareTimes(a.startDate, b.startDate);
    case 4:
        return compareTimes(a.startTime, b.startTime);
    case 5:
        return compareTimes(a.endDate, b.endDate);
    case 6:
        return compareTimes(a.endTime, b.endTime);
    case 7:
        return compareTexts(a.addOnData, b.addOnData, key.compare);
    case 8:
        return compareTexts(a.text, b.text, key.compare);
    default:
        return 0;
    }
}
