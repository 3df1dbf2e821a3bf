#include "AccessibleChart.h"

#include "AccessibleChartPart.h"
#include "GanttChart.h"
#include "chart/ChartItem.h"
#include "chart/ChartRow.h"
#include "chart/GanttData.h"

#include <QLocale>
#include <QSet>

namespace {
QAccessibleInterface* createFor(const QString& className, QObject* object) {
    if (className == QLatin1String("GanttChart") && object && object->isWidgetType())
        return new AccessibleChart(static_cast<GanttChart*>(object));
    return nullptr;
}

// Charts that assistive technology has asked about; only they tell it of changes.
QSet<const QObject*>& observedCharts() {
    static QSet<const QObject*> charts;
    return charts;
}
} // namespace

AccessibleChart::AccessibleChart(GanttChart* chart)
    : QAccessibleWidget(chart, QAccessible::Tree) {
    observedCharts().insert(chart);
}

AccessibleChart::~AccessibleChart() {
    observedCharts().remove(object());
    for (const QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(m_bookings))
        QAccessible::deleteAccessibleInterface(id);
}

void AccessibleChart::install() {
    static const bool installed = [] {
        QAccessible::installFactory(createFor);
        return true;
    }();
    Q_UNUSED(installed)
}

void AccessibleChart::currentChanged(GanttChart& chart) {
    if (!observedCharts().contains(&chart))
        return;
    auto* self = dynamic_cast<AccessibleChart*>(QAccessible::queryAccessibleInterface(&chart));
    QAccessibleInterface* current = self ? self->focusChild() : nullptr;
    if (!current)
        return;
    QAccessibleEvent selection(current, QAccessible::Selection);
    QAccessible::updateAccessibility(&selection);
    if (chart.hasFocus()) {
        QAccessibleEvent focus(current, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

QString AccessibleChart::bookingName(const ChartItem& item, const QString& resource) {
    const QLocale locale;
    QString span =
        item.start().shortDate(locale) + ' ' + item.start().shortTime(locale) + QStringLiteral(" - ");
    if (item.end().datePart() != item.start().datePart())
        span += item.end().shortDate(locale) + ' ';
    span += item.end().shortTime(locale);
    QStringList parts;
    if (!item.caption().isEmpty())
        parts << item.caption();
    parts << resource << span;
    return parts.join(QStringLiteral(", "));
}

GanttChart* AccessibleChart::chart() const {
    return static_cast<GanttChart*>(widget());
}

QAccessibleInterface* AccessibleChart::rowPart(int index) const {
    const ChartRow* row = chart()->data().rows().byPosition(index + 1);
    return row ? part(true, row->key()) : nullptr;
}

QAccessibleInterface* AccessibleChart::bookingPart(const QString& key) const {
    return chart()->data().items().byKey(key) ? part(false, key) : nullptr;
}

QAccessibleInterface* AccessibleChart::part(bool row, const QString& key) const {
    QHash<QString, QAccessible::Id>& parts = row ? m_rows : m_bookings;
    if (const auto found = parts.constFind(key); found != parts.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* made = new AccessibleChartPart(
        chart(), row ? AccessibleChartPart::Kind::Row : AccessibleChartPart::Kind::Booking, key);
    parts.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

int AccessibleChart::childCount() const {
    return chart()->data().rows().count();
}

QAccessibleInterface* AccessibleChart::child(int index) const {
    return index >= 0 && index < childCount() ? rowPart(index) : nullptr;
}

int AccessibleChart::indexOfChild(const QAccessibleInterface* child) const {
    const auto* row = dynamic_cast<const AccessibleChartPart*>(child);
    if (!row || row->kind() != AccessibleChartPart::Kind::Row)
        return -1;
    const ChartRow* found = chart()->data().rows().byKey(row->key());
    return found ? found->position() - 1 : -1;
}

QAccessibleInterface* AccessibleChart::childAt(int x, int y) const {
    const int position = chart()->rowAt(chart()->viewport()->mapFromGlobal(QPoint(x, y)));
    QAccessibleInterface* row = position > 0 ? rowPart(position - 1) : nullptr;
    if (!row)
        return nullptr;
    QAccessibleInterface* booking = row->childAt(x, y);
    return booking ? booking : row;
}

QAccessibleInterface* AccessibleChart::focusChild() const {
    const ChartItem* current = chart()->currentItem();
    const int row = chart()->currentRow();
    const ChartRow* currentRow = chart()->data().rows().byPosition(row);
    if (current && currentRow && current->rowKey() == currentRow->key())
        return bookingPart(current->key());
    return row > 0 ? rowPart(row - 1) : nullptr;
}
