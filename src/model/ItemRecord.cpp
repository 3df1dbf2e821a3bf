#include "ItemRecord.h"

#include "chart/ChartItem.h"
#include "chart/ChartRow.h"

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

QVariant ItemRecord::valueOf(const ChartItem& item, int column) {
    switch (column) {
    case 0:
        return item.key();
    case 1:
        return item.row().caption;
    case 2:
        return item.caption();
    case 3:
        return item.start().date();
    case 4:
        return item.start().time();
    case 5:
        return item.end().date();
    case 6:
        return item.end().time();
    case 7:
        return item.addOnData();
    case 8:
        return item.text();
    default:
        return {};
    }
}
