#include "TimetableReport.h"

#include "chart/GanttData.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <functional>
#include <queue>
#include <vector>

namespace {
// Line breaks of any kind become the two characters \n, so that every item stays on one line.
QString oneLine(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    result.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    result.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return result;
}

bool collide(const ChartItem* a, const ChartItem* b) {
    return a->start() < b->end() && b->start() < a->end();
}

// Pairs among the items of one row, ordered by start.
qint64 pairsInRow(const std::vector<const ChartItem*>& items) {
    qint64 pairs = 0;
    std::vector<const ChartItem*> degenerate;
    std::priority_queue<TimePoint, std::vector<TimePoint>, std::greater<>> openEnds;
    for (const ChartItem* item : items) {
        if (item->end() <= item->start()) {
            degenerate.push_back(item);
            continue;
        }
        while (!openEnds.empty() && openEnds.top() <= item->start())
            openEnds.pop();
        pairs += qint64(openEnds.size());
        openEnds.push(item->end());
    }
    // Spans that end before they start are rare; they are checked against everything else.
    QSet<const ChartItem*> checked;
    for (const ChartItem* odd : degenerate) {
        checked.insert(odd);
        for (const ChartItem* other : items) {
            if (!checked.contains(other) && collide(odd, other))
                ++pairs;
        }
    }
    return pairs;
}
} // namespace

QByteArray TimetableReport::summary() const {
    QSet<QString> series;
    for (int position = 1; position <= m_chart.items().count(); ++position) {
        const QString& key = m_chart.items().byPosition(position)->seriesKey();
        if (!key.isEmpty())
            series.insert(key);
    }
    return QStringLiteral("resources: %1\nitems: %2\nstyles: %3\nseries: %4\nconflicts: %5\n")
        .arg(m_chart.rows().count())
        .arg(m_chart.items().count())
        .arg(m_chart.styles().count())
        .arg(series.size())
        .arg(conflictPairs())
        .toUtf8();
}

QByteArray TimetableReport::itemLines() const {
    QByteArray out;
    for (int position = 1; position <= m_chart.items().count(); ++position) {
        const ChartItem& item = *m_chart.items().byPosition(position);
        const ChartRow* row = m_chart.rows().byKey(item.rowKey());
        const QStringList fields{item.key(),           row ? row->caption : QString(),
                                 item.caption(),       item.start().isoText(),
                                 item.end().isoText(), item.styleKey(),
                                 item.seriesKey(),     item.text()};
        QStringList line;
        for (const QString& field : fields)
            line << oneLine(field);
        out += line.join(QLatin1Char(';')).toUtf8();
        out += '\n';
    }
    return out;
}

qint64 TimetableReport::conflictPairs() const {
    QHash<QString, std::vector<const ChartItem*>> byRow;
    for (int position = 1; position <= m_chart.items().count(); ++position) {
        const ChartItem* item = m_chart.items().byPosition(position);
        byRow[item->rowKey()].push_back(item);
    }
    qint64 pairs = 0;
    for (auto& items : byRow) {
        std::sort(items.begin(), items.end(),
                  [](const ChartItem* a, const ChartItem* b) { return a->start() < b->start(); });
        pairs += pairsInRow(items);
    }
    return pairs;
}
