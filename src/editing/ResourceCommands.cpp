#include "ResourceCommands.h"

#include "EditorHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "frmResource.h"
#include "model/clsItems.h"

ResourceCommands::ResourceCommands(EditorHost& host)
    : m_host(host) {}

void ResourceCommands::mRowI_Click(int index) {
    const int position = m_host.GantRow();
    if (position < 0)
        return;
    guardedStep(QStringLiteral("Sub:Main:mRowI_Click"), [&] {
        switch (index) {
        case MonthlyOverview:
            monthlyOverview(position);
            break;
        case Settings:
            if (m_host.SetDirty())
                settings(position);
            break;
        case DeleteResource:
            if (m_host.SetDirty())
                deleteResource(position);
            break;
        case HeightForEverything:
            heightForEverything(position);
            break;
        default:
            break;
        }
    });
}

QString ResourceCommands::deleteQuestion(const QString& caption) {
    const QString name =
        caption.trimmed().isEmpty() ? QStringLiteral("[Caption missing]") : "'" + caption + "'";
    return FormatMsg(QStringLiteral("Delete resource %s?"), name);
}

void ResourceCommands::AddDefaultResource(GanttData& chart) {
    chart.rows().add(bsSupport::NewKey(), QStringLiteral("Resource"), QStringLiteral("Resources"), QString());
}

void ResourceCommands::monthlyOverview(int position) {
    const GanttData* chart = globals().chart;
    const ChartRow* row = chart == nullptr ? nullptr : chart->rows().byPosition(position);
    if (row == nullptr)
        return;
    if (!m_host.openMonthlyOverview(row->key(), m_host.firstShownTime()))
        ShowMessage(QStringLiteral("The monthly overview is not available yet."), MessageFlags::Information);
}

void ResourceCommands::settings(int position) {
    const GanttData* chart = globals().chart;
    const ChartRow* row = chart == nullptr ? nullptr : chart->rows().byPosition(position);
    if (row == nullptr)
        return;
    frmResource dialog(m_host.boardWindow());
    dialog.LetGantRow(*row);
    dialog.exec();
}

void ResourceCommands::deleteResource(int position) {
    GanttData* chart = globals().chart;
    const ChartRow* row = chart == nullptr ? nullptr : chart->rows().byPosition(position);
    if (row == nullptr)
        return;
    // By key after the question: while it is open, window messages run and rows may go.
    const QString key = row->key();
    const int answer =
        ShowMessage(deleteQuestion(row->caption),
                    MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2);
    if (answer != MessageResult::Yes || chart->rows().byKey(key) == nullptr)
        return;
    BusyCursor busy;
    // The chart takes the row's items with it; the item table is read afresh so that no view keeps
    // a booking whose resource is gone, and the views' resource lists are filled again.
    chart->rows().remove(key);
    // The position now names the next row, which nobody chose.
    m_host.setGantRow(-1);
    if (clsItems* items = globals().items) {
        items->ReadItems();
        items->RowsChanged();
    }
    chart->redraw();
}

void ResourceCommands::heightForEverything(int position) {
    GanttData* chart = globals().chart;
    const ChartRow* row = chart == nullptr ? nullptr : chart->rows().byPosition(position);
    if (row == nullptr)
        return;
    const int height = row->height;
    RowCollection& rows = chart->rows();
    for (int index = 1; index <= rows.count(); ++index) {
        if (ChartRow* each = rows.byPosition(index))
            each->height = height;
    }
    chart->redraw();
    // Heights are saved with the timetable; in read-only mode this changes nothing.
    m_host.setDirty(true);
}
