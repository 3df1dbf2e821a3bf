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
