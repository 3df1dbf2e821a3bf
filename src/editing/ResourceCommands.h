#pragma once

#include <QString>

class EditorHost;
class GanttData;
class QWidget;

// The resource context menu of the board: each entry acts on the row at the board's GantRow and
// does nothing while no row was clicked.
class ResourceCommands {
public:
    // Menu indexes; 1, 3 and 5 are separators.
    enum Entry { MonthlyOverview = 0, Settings = 2, DeleteResource = 4, HeightForEverything = 6 };

    explicit ResourceCommands(EditorHost& host);

    void mRowI_Click(int index);

    // The question before a resource goes; a caption of blanks only is named "[Caption missing]".
    [[nodiscard]] static QString deleteQuestion(const QString& caption);

    // The one resource of a new timetable.
    static void AddDefaultResource(GanttData& chart);

private:
    void monthlyOverview(int position);
    void settings(int position);
    void deleteResource(int position);
    void heightForEverything(int position);

    EditorHost& m_host;
};
