#include "ItemOrder.h"

#include "ItemRecord.h"
#include "chart/ChartItem.h"

#include <QString>
#include <algorithm>
#include <numeric>

namespace {
// The time of a date or time column (3 to 6); an empty record has the zero time point.
std::int64_t timeOf(const ChartItem* item, int column) {
    if (item == nullptr)
        return 0;
    switch (column) {
    case 3:
        return item->start().datePart().seconds();
    case 4:
        return item->start().timePart().seconds();
    case 5:
        return item->end().datePart().seconds();
    default:
        return item->end().timePart().seconds();
    }
}

QString textOf(const ChartItem* item, int column) {
    return item == nullptr ? QString() : ItemRecord::valueOf(*item, column).toString();
}

// Ranks that order the rows as their texts compare; equal texts share a rank.
std::vector<std::int64_t> textRanks(const std::vector<const ChartItem*>& rows, const ItemSortKey& key) {
    std::vector<QString> texts;
    texts.reserve(rows.size());
    for (const ChartItem* item : rows)
        texts.push_back(textOf(item, key.column));
    const Qt::CaseSensitivity sensitivity =
        key.compare == ItemSortKey::Compare::Caseless ? Qt::CaseInsensitive : Qt::CaseSensitive;
    std::vector<std::size_t> byText(rows.size());
    std::iota(byText.begin(), byText.end(), std::size_t(0));
    std::sort(byText.begin(), byText.end(), [&](std::size_t a, std::size_t b) {
        return QString::compare(texts[a], texts[b], sensitivity) < 0;
    });
    std::vector<std::int64_t> ranks(rows.size());
    std::int64_t rank = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0 && QString::compare(texts[byText[i - 1]], texts[byText[i]], sensitivity) != 0)
            ++rank;
        ranks[byText[i]] = rank;
    }
    return ranks;
}

std::vector<std::int64_t> ranksOf(const std::vector<const ChartItem*>& rows, const ItemSortKey& key) {
    if (key.column >= 3 && key.column <= 6) {
        std::vector<std::int64_t> times(rows.size());
        std::transform(rows.begin(), rows.end(), times.begin(),
                       [&](const ChartItem* item) { return timeOf(item, key.column); });
        return times;
    }
    return textRanks(rows, key);
}

bool isSortable(const ItemSortKey& key) {
    return key.column >= 0 && key.column <= 8;
}
} // namespace

std::vector<qsizetype> ItemOrder::of(const std::vector<const ChartItem*>& rows, const ItemSortKeys& keys,
                                     bool descending) {
    std::vector<std::vector<std::int64_t>> ranks;
    for (const ItemSortKey& key : keys) {
        // Columns 9 to 11 and any beyond the record are equal in every row.
        if (isSortable(key))
            ranks.push_back(ranksOf(rows, key));
    }
    std::vector<qsizetype> order(rows.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        for (const std::vector<std::int64_t>& rank : ranks) {
            const std::int64_t left = rank[std::size_t(a)];
            const std::int64_t right = rank[std::size_t(b)];
            if (left != right)
                return descending ? left > right : left < right;
        }
        return false;
    });
    return order;
}
