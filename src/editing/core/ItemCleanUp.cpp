#include "ItemCleanUp.h"

#include "app/ErrorHandler.h"
#include "chart/GanttData.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"

int DeleteItemsUpTo(clsItems& items, TimePoint limitDay, const std::function<bool()>& goOn,
                    const std::function<void(TimePoint)>& checking, const QString& identity) {
    GanttData& chart = items.chart();
    const TimePoint limit = limitDay.datePart();
    int deleted = 0;
    ChartBatch batch(chart);
    for (int position = chart.items().count(); position >= 1; --position) {
        if (goOn && !goOn())
            break;
        const bool handled = guardedStep(identity, [&] {
            // A view may have removed items while window messages ran.
            const ChartItem* item = chart.items().byPosition(position);
            if (item == nullptr)
                return;
            if (checking)
                checking(item->start());
            if (item->end().datePart() <= limit && items.Delete(item->key(), QString()))
                ++deleted;
        });
        if (!handled)
            break;
    }
    return deleted;
}
