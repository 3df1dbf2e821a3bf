#include "bsGridSupport.h"

#include "GridExport.h"
#include "GridLayoutFile.h"
#include "GridPrint.h"
#include "ItemGrid.h"
#include "ItemGridModel.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/TimePoint.h"
#include "app/UserPrompts.h"
#include "app/bsFileUtil.h"
#include "app/bsVelkorHelper.h"
#include "app/clsProgessbar.h"
#include "app/clsStringConcat.h"
#include "model/clsItems.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace bsGridSupport {
namespace {
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;
constexpr int progressStep = 10;

QString defaultFolder;

const QMap<int, QString>& germanPreviewTexts() {
    static const QMap<int, QString> texts = {
        {0, QStringLiteral("&Datei")},
        {1, QStringLiteral("&Ausdruck")},
        {2, QStringLiteral("&Ende")},
        {3, QStringLiteral("&Ansicht")},
        {4, QStringLiteral("Ver&grössern\tgrau +")},
        {5, QStringLiteral("Ver&kleinern\tgrau -")},
        {6, QStringLiteral("An Fenstergrösse anpassen\tEnter")},
        {7, QStringLiteral("&Anfang\tPos 1")},
        {8, QStringLiteral("Seite &zurück\tBild Hoch")},
        {9, QStringLiteral("Seite &weiter\tBild Tief")},
        {10, QStringLiteral("&Ende\tEnde")},
        {11, QStringLiteral("Einige Seite drucken\tCtrl+S")},
        {12, QStringLiteral("Aktuelle Seite drucken\tCtrl+C")},
        {13, QStringLiteral("Seitenbereich bestimmen")},
        {14, QStringLiteral("Seite Von-Bis")},
        {16, QStringLiteral("A&bbruch")},
        {17, QStringLiteral("Ausdrucken")},
        {18, QStringLiteral("Vergrössern")},
        {19, QStringLiteral("Verkleinern")},
        {20, QStringLiteral("An Fenstergrösse anpassen")},
        {21, QStringLiteral("Vergrösserung in %")},
        {22, QStringLiteral("Erste Seite")},
        {23, QStringLiteral("Vorherige Seite")},
        {24, QStringLiteral("Nächste Seite")},
        {25, QStringLiteral("Letzte Seite")},
        {26, QStringLiteral("Angezeigte Seite")},
        {27, QStringLiteral("Seitenumbruch abbrechen")},
    };
    return texts;
}

// The preview's action with Qt's own text, in whatever language Qt speaks.
QAction* previewAction(QPrintPreviewDialog& preview, const char* qtText) {
    const QString text = QCoreApplication::translate("QPrintPreviewDialog", qtText);
    const auto actions = preview.findChildren<QAction*>();
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// A menu entry's text is what stands before its key name.
QString menuText(const QString& entry) {
    return entry.section(QLatin1Char('\t'), 0, 0);
}

std::vector<int> rowsToUse(const ItemGrid& grid) {
    return grid.selectedCount() > 0 ? grid.selectedBookmarks()
                                    : GridExport::allRows(grid.dataModel().rowCount());
}

// The visible columns of the grid's selected column range, or of all columns, left to right.
std::vector<int> clipboardColumns(const ItemGrid& grid) {
    const GridLayout& layout = grid.gridLayout();
    int first = 0;
    int last = GridLayout::columnCount - 1;
    if (grid.SelStartCol() != -1) {
        first = grid.SelStartCol();
        last = grid.SelEndCol();
    }
    std::vector<int> byPosition(GridLayout::columnCount, -1);
    int lowest = 9999;
    int highest = -1;
    for (int column = first; column <= last; ++column) {
        const GridColumn& entry = layout.columns[std::size_t(column)];
        if (!entry.visible)
            continue;
        byPosition[std::size_t(entry.displayPosition)] = column;
        lowest = std::min(lowest, entry.displayPosition);
        highest = std::max(highest, entry.displayPosition);
    }
    std::vector<int> columns;
    for (int position = lowest; position <= highest; ++position) {
        if (byPosition[std::size_t(position)] != -1)
            columns.push_back(byPosition[std::size_t(position)]);
    }
    return columns;
}
} // namespace

QString UserLayoutFile() {
    return GetSpecialFolder(5) + layoutFileName;
}

QString DefaultLayoutFile() {
    const QString folder = defaultFolder.isEmpty() ? QCoreApplication::applicationDirPath() : defaultFolder;
    return folder + QLatin1Char('/') + layoutFileName;
}

void setDefaultLayoutFolder(const QString& folder) {
    defaultFolder = folder;
}

void ExportGrid(ItemGrid& grid) {
    QString name = prompts().saveFileName(
        QStringLiteral("Export"),
        QStringLiteral("internet files (*.HTML)|*.HTML|export files (*.CSV)|*.CSV|all files (*.*)|*.*"),
        QString());
    if (name.isEmpty())
        return;
    // The dialog's default extension, also where a dialog leaves the name as typed.
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".html");
    guardedStep(QStringLiteral("Sub:bsGridSupport:ExportGrid"), [&] {
        const BusyCursor busy;
        GridExport(grid.dataModel().items(), grid.gridLayout()).writeFile(name, rowsToUse(grid), AppTitle());
    });
}

void PrintGrid(ItemGrid& grid, const QString& title) {
    guardedStep(QStringLiteral("Sub:bsGridSupport:PrintGrid"), [&] {
        SetPreviewCaptions(grid);
        grid.printSettings().pageLine =
            title + QLatin1Char('\t') + TimePoint::now().generalDate() + QStringLiteral("\tpage \\p");
        const std::unique_ptr<QPrintPreviewDialog> preview = PrintPreview(grid, grid.window());
        preview->exec();
    });
}

std::unique_ptr<QPrintPreviewDialog> PrintPreview(ItemGrid& grid, QWidget* owner) {
    auto preview = std::make_unique<QPrintPreviewDialog>(owner);
    const std::vector<int> rows = rowsToUse(grid);
    QObject::connect(preview.get(), &QPrintPreviewDialog::paintRequested, preview.get(),
                     [&grid, rows](QPrinter* printer) {
                         // A long table makes many pages before the preview shows the first.
                         const BusyCursor busy;
                         GridPrint::render(*printer, grid, rows);
                     });
    ApplyPreviewTexts(*preview, grid.printSettings().previewTexts);
    return preview;
}

void SetPreviewCaptions(ItemGrid& grid) {
    ignoringErrors([&] {
        const int country = LocaleCountryCode();
        if (country == 43 || country == 49)
            grid.printSettings().previewTexts = germanPreviewTexts();
    });
}

void ApplyPreviewTexts(QPrintPreviewDialog& preview, const QMap<int, QString>& texts) {
    // Menu entries (texts) and tool tips of the preview's actions; the other identifiers name menus
    // and dialogs that Qt's preview does not have.
    static const struct {
        int menuEntry;
        int toolTip;
        const char* qtText;
    } actions[] = {{4, 18, "Zoom in"},    {5, 19, "Zoom out"},      {6, 20, "Fit page"},
                   {7, 22, "First page"}, {8, 23, "Previous page"}, {9, 24, "Next page"},
                   {10, 25, "Last page"}, {11, 17, "Print"}};
    for (const auto& entry : actions) {
        QAction* action = previewAction(preview, entry.qtText);
        if (action == nullptr)
            continue;
        if (texts.contains(entry.menuEntry))
            action->setText(menuText(texts[entry.menuEntry]));
        if (texts.contains(entry.toolTip))
            action->setToolTip(texts[entry.toolTip]);
    }
    if (texts.contains(21)) {
        for (QComboBox* zoom : preview.findChildren<QComboBox*>())
            zoom->setToolTip(texts[21]);
    }
    if (texts.contains(26)) {
        for (QLineEdit* page : preview.findChildren<QLineEdit*>()) {
            if (qobject_cast<QComboBox*>(page->parentWidget()) == nullptr)
                page->setToolTip(texts[26]);
        }
    }
}

void Copy2ClipBoard(ItemGrid& grid, const clsItems& items) {
    guardedStep(QStringLiteral("Sub:bsGridSupport:Copy2ClipBoard"), [&] {
        const QString tab = QStringLiteral("\t");
        const QString lineEnd = QStringLiteral("\r\n");
        const std::vector<int> columns = clipboardColumns(grid);
        const GridCellFormat& format = grid.dataModel().cellFormat();
        clsStringConcat text;
        for (const int column : columns)
            text.Concat(grid.gridLayout().columns[std::size_t(column)].caption + tab);
        text.Concat(lineEnd);
        const auto appendRow = [&](int row) {
            for (const int column : columns)
                text.Concat(format.defaultText(items.Value(row, column)) + tab);
            text.Concat(lineEnd);
        };
        const std::vector<int> selected = grid.selectedBookmarks();
        {
            clsProgessbar progress;
            progress.Caption(QStringLiteral("Copy to clipboard"));
            if (selected.empty()) {
                const int upper = items.Count() - 1;
                progress.Max(upper);
                for (int row = 0; row <= upper; ++row) {
                    if (row % progressStep == 0 && !progress.SetValue(row))
                        break;
                    appendRow(row);
                }
            } else {
                progress.Max(int(selected.size()));
                // One row goes on the clipboard alone, ready to be pasted into a line of text.
                if (selected.size() == 1)
                    text.Clear();
                for (std::size_t k = 1; k <= selected.size(); ++k) {
                    if (k % progressStep == 0 && !progress.SetValue(int(k)))
                        break;
                    appendRow(selected[k - 1]);
                }
            }
        }
        prompts().setClipboardText(text.Value());
    });
}

void SelectAllRows(ItemGrid& grid, const clsItems& items) {
    ignoringErrors([&] {
        grid.clearSelectedRows();
        grid.selectRows(0, items.Count() - 1);
    });
}

void LoadGridLayout(ItemGrid& grid, const QString& name) {
    const QString user = UserLayoutFile();
    if (FileExists(user)) {
        grid.setLayoutFileName(user);
        grid.setLayoutName(name);
        try {
            grid.LoadLayout();
        } catch (...) {
            LoadDefaultGridLayout(grid, name);
        }
    } else {
        LoadDefaultGridLayout(grid, name);
    }
    SetReservedCaptions(grid);
}

void LoadDefaultGridLayout(ItemGrid& grid, const QString& name) {
    const QString file = DefaultLayoutFile();
    if (!FileExists(file)) {
        ShowMessage(QStringLiteral("Layout file is missing! Please reinstall this software!"), errorFlags);
        return;
    }
    grid.setLayoutFileName(file);
    grid.setLayoutName(name);
    try {
        grid.LoadLayout();
        SetReservedCaptions(grid);
    } catch (...) {
        ShowMessage(QStringLiteral("Default layout failed loading. Please contact the help desk!"),
                    errorFlags);
    }
}

void SaveGridLayout(ItemGrid& grid, const QString& name) {
    ignoringErrors([&] {
        const QString user = UserLayoutFile();
        grid.setLayoutFileName(user);
        GridLayoutFile::write(user, name, grid.gridLayout());
    });
}

void SetReservedCaptions(ItemGrid& grid) {
    GridLayout layout = grid.gridLayout();
    layout.setReservedCaptions();
    grid.setGridLayout(layout);
}

} // namespace bsGridSupport
