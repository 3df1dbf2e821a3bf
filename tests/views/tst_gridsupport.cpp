#include "../app/DataTable.h"
#include "FileBytes.h"
#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "views/GridExport.h"
#include "views/GridPrint.h"
#include "views/ItemGrid.h"
#include "views/ItemGridModel.h"
#include "views/MergeSpans.h"
#include "views/SelectionOrder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {
constexpr int abortRetryIgnore = MessageFlags::AbortRetryIgnore | MessageFlags::Critical;

// ";"-separated text as a spreadsheet reads it: quoted fields may hold ";", doubled quotes and line
// breaks.
QList<QStringList> readDelimited(QString text) {
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> lines{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            lines.last() << field;
            field.clear();
        } else if (!quoted && c == '\r' && text.mid(i, 2) == "\r\n") {
            lines.last() << field;
            field.clear();
            lines.append(QStringList());
            ++i;
        } else {
            field += c;
        }
    }
    lines.removeLast();
    return lines;
}

// The cells of the first table of an HTML document, as a browser's parser reads them.
QList<QStringList> readHtmlTable(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    QList<QStringList> rows;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr)
            continue;
        for (int row = 0; row < table->rows(); ++row) {
            rows.append(QStringList());
            for (int column = 0; column < table->columns(); ++column) {
                QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
                cursor.setPosition(table->cellAt(row, column).lastCursorPosition().position(),
                                   QTextCursor::KeepAnchor);
                rows.last() << cursor.selectedText().replace(QChar::LineSeparator, '\n');
            }
        }
        break;
    }
    return rows;
}

// The reference for SelectionOrder: the rows in a plain list, in the order they were selected.
struct PlainSelection {
    QList<int> rows;
    void select(int first, int last) {
        for (int row = first; row <= last; ++row) {
            if (!rows.contains(row))
                rows << row;
        }
    }
    void deselect(int first, int last) {
        rows.removeIf([&](int row) { return row >= first && row <= last; });
    }
};
} // namespace

// The grid's commands: export, clipboard, print and preview texts, and the two structures the grid
// keeps for the rows shown and selected.
class TstGridSupport : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    std::unique_ptr<ItemGrid> grid;

    // Three items whose texts hold what breaks naive files: separators, quotes, markup, line breaks.
    void fill() {
        using F = ListviewFixture;
        fixture->addRow("R1", "Room \"Blue\"; 2nd floor");
        fixture->addRow("R2", "Van <b>&</b> 'trailer'");
        fixture->addItem("A", "R1", F::at(2, 8), F::at(2, 9, 30), "Visit; Müller", "line 1\nline \"2\"");
        fixture->addItem("B", "R2", F::at(3, 14), F::at(4, 7), "<i>Trip</i> & back", "");
        fixture->addItem("C", "R1", F::at(5, 0), F::at(5, 23, 59), "Plain", "x");
        grid->ReOpen(0);
    }

    // `count` bookings of half an hour, an hour apart, on one room.
    void fillMany(int count) {
        fixture->addRow("R", "Room");
        for (int i = 0; i < count; ++i)
            fixture->addItem(QStringLiteral("K%1").arg(i), "R",
                             ListviewFixture::at(1, 0).addSeconds(i * 3600),
                             ListviewFixture::at(1, 0).addSeconds(i * 3600 + 1800));
        grid->ReOpen(0);
    }

    [[nodiscard]] QString exported(const QString& name) {
        fixture->prompts.answerFile(fixture->home.filePath(name));
        bsGridSupport::ExportGrid(*grid);
        return QString::fromUtf8(readBytes(fixture->home.filePath(name)));
    }

private slots:
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        grid = std::make_unique<ItemGrid>(fixture->items);
        grid->resize(900, 400);
    }
    void cleanup() {
        grid.reset();
        fixture.reset();
    }

    void exportFormatFollowsTheName_data() {
        const auto row = columns<QString, bool>("written", "html"); // the row's name is the name typed
        row("list.HTM", "list.HTM", true);
        row("LIST.html", "LIST.html", true);
        row("a.ht.csv", "a.ht.csv", true); // ".ht" anywhere
        row("list.csv", "list.csv", false);
        row("list.txt", "list.txt", false);
        row("list", "list.html", true);
    }
    void exportFormatFollowsTheName() {
        const QString name = QTest::currentDataTag();
        QFETCH(QString, written);
        QFETCH(bool, html);
        fill();
        fixture->prompts.answerFile(fixture->home.filePath(name));
        bsGridSupport::ExportGrid(*grid);
        const QByteArray bytes = readBytes(fixture->home.filePath(written));
        QCOMPARE(bytes.startsWith("<!DOCTYPE html>"), html);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBFRessource;Titel;"), !html);
        QCOMPARE(
            fixture->prompts.prompts().first().text,
            QStringLiteral("internet files (*.HTML)|*.HTML|export files (*.CSV)|*.CSV|all files (*.*)|*.*"));
    }

    void exportedFieldsReadBackIntact() {
        fill();
        const QStringList header = {"Ressource",  "Titel",     "Beginn Datum", "Beginn Zeit",
                                    "Ende Datum", "Ende Zeit", "Text"};
        const QList<QStringList> all = {
            header,
            {"Room \"Blue\"; 2nd floor", "Visit; Müller", "02.03.2026", "08:00", "02.03.2026", "09:30",
             "line 1\nline \"2\""},
            {"Van <b>&</b> 'trailer'", "<i>Trip</i> & back", "03.03.2026", "14:00", "04.03.2026", "07:00",
             ""},
            {"Room \"Blue\"; 2nd floor", "Plain", "05.03.2026", "00:00", "05.03.2026", "23:59", "x"}};
        QCOMPARE(readDelimited(exported("all.csv")), all);
        QCOMPARE(readHtmlTable(exported("all.html")), all);
        const QString html = exported("all.html");
        QVERIFY(html.contains("<td>Van &lt;b&gt;&amp;&lt;/b&gt; &#39;trailer&#39;</td>"));
        QVERIFY(html.contains("<td>Room &quot;Blue&quot;; 2nd floor</td>"));
        // Two selected rows, in the order they were selected.
        grid->selectRows(2, 2);
        grid->selectRows(0, 0);
        QCOMPARE(readDelimited(exported("two.csv")), (QList<QStringList>{header, all[3], all[1]}));
        QCOMPARE(readHtmlTable(exported("two.htm")), (QList<QStringList>{header, all[3], all[1]}));
    }

    void exportToAnUnwritablePlaceLeavesNothing() {
        fill();
        fixture->prompts.answerMessage(MessageResult::Abort);
        const QString path = fixture->home.filePath("missing/list.csv");
        fixture->prompts.answerFile(path);
        bsGridSupport::ExportGrid(*grid);
        QCOMPARE(fixture->prompts.prompts().last().flags, abortRetryIgnore);
        QVERIFY(fixture->prompts.texts().last().contains("(Sub:bsGridSupport:ExportGrid)"));
        QVERIFY(!QFile::exists(path));
        // A cancelled dialog is no error.
        fixture->prompts.clear();
        fixture->prompts.answerFile(QString());
        bsGridSupport::ExportGrid(*grid);
        QCOMPARE(fixture->prompts.prompts().size(), 1);
    }

    void clipboardHoldsTabbedLines_data() {
        const auto row = columns<QList<int>, int, int, bool, QString>("selected", "firstColumn", "lastColumn",
                                                                      "startDateFirst", "expected");
        const QString header =
            "Ressource\tTitel\tBeginn Datum\tBeginn Zeit\tEnde Datum\tEnde Zeit\tText\t\r\n";
        const QString a =
            "Room \"Blue\"; 2nd floor\tVisit; Müller\t02.03.2026\t08:00:00\t02.03.2026\t09:30:00\t"
            "line 1\nline \"2\"\t\r\n";
        const QString b =
            "Van <b>&</b> 'trailer'\t<i>Trip</i> & back\t03.03.2026\t14:00:00\t04.03.2026\t07:00:00\t\t\r\n";
        const QString c =
            "Room \"Blue\"; 2nd floor\tPlain\t05.03.2026\t00:00:00\t05.03.2026\t23:59:00\tx\t\r\n";
        row("all rows", QList<int>{}, -1, -1, false, header + a + b + c);
        row("one row alone", QList<int>{1}, -1, -1, false, b);
        row("two rows with header", QList<int>{2, 0}, -1, -1, false, header + c + a);
        // The start date shown first; the key column 0 in the range is hidden.
        row("column range by display position", QList<int>{}, 0, 3, true,
            "Beginn Datum\tRessource\tTitel\t\r\n02.03.2026\tRoom \"Blue\"; 2nd floor\t"
            "Visit; Müller\t\r\n03.03.2026\tVan <b>&</b> 'trailer'\t<i>Trip</i> & back\t\r\n"
            "05.03.2026\tRoom \"Blue\"; 2nd floor\tPlain\t\r\n");
    }
    void clipboardHoldsTabbedLines() {
        QFETCH(QList<int>, selected);
        QFETCH(int, firstColumn);
        QFETCH(int, lastColumn);
        QFETCH(bool, startDateFirst);
        QFETCH(QString, expected);
        fill();
        if (startDateFirst) {
            GridLayout layout = grid->gridLayout();
            layout.columns[3].displayPosition = 0;
            grid->setGridLayout(layout);
        }
        for (const int row : selected)
            grid->selectRows(row, row);
        grid->setSelectedColumns(firstColumn, lastColumn);
        bsGridSupport::Copy2ClipBoard(*grid, fixture->items);
        QCOMPARE(fixture->prompts.progressCaptions, QStringList{"Copy to clipboard"});
        QCOMPARE(fixture->prompts.clipboard, QStringList{expected});
    }

    void cancelledCopyKeepsWhatWasCollected() {
        fillMany(25);
        fixture->prompts.cancelProgressAt(10);
        bsGridSupport::Copy2ClipBoard(*grid, fixture->items);
        QCOMPARE(fixture->prompts.clipboard.size(), 1);
        QCOMPARE(fixture->prompts.clipboard.first().count("\r\n"), 1 + 10);
        QCOMPARE(fixture->prompts.progressValues, (QList<int>{0, 0, 10}));
    }

    void previewSpeaksGermanInGermanLocales_data() {
        const auto row = columns<QLocale::Territory, bool>("territory", "german");
        row("Germany 49", QLocale::Germany, true);
        row("Austria 43", QLocale::Austria, true);
        row("Switzerland 41", QLocale::Switzerland, false);
    }
    void previewSpeaksGermanInGermanLocales() {
        QFETCH(QLocale::Territory, territory);
        QFETCH(bool, german);
        QLocale::setDefault(QLocale(QLocale::German, territory));
        bsGridSupport::SetPreviewCaptions(*grid);
        const std::unique_ptr<QPrintPreviewDialog> preview = bsGridSupport::PrintPreview(*grid, nullptr);
        QStringList tips;
        QStringList texts;
        for (const QAction* action : preview->findChildren<QAction*>()) {
            tips << action->toolTip();
            texts << action->text();
        }
        for (const char* tip : {"Vergrössern", "Verkleinern", "An Fenstergrösse anpassen", "Erste Seite",
                                "Vorherige Seite", "Nächste Seite", "Letzte Seite", "Ausdrucken"})
            QCOMPARE(tips.contains(QString::fromUtf8(tip)), german);
        QCOMPARE(texts.contains("Seite &weiter"), german);
        QCOMPARE(texts.contains("Next page"), !german);
    }

    void printShowsThePreviewWithThePageLine() {
        fill();
        QTimer::singleShot(0, [] {
            QWidget* preview = QApplication::activeModalWidget();
            QVERIFY(qobject_cast<QPrintPreviewDialog*>(preview));
            preview->close();
        });
        bsGridSupport::PrintGrid(*grid, "Tableview of Items");
        const QStringList parts = GridPrint::pageLineParts(grid->printSettings().pageLine, 7);
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("Tableview of Items"));
        QVERIFY(parts[1].contains(QDate::currentDate().toString("dd.MM.yyyy")));
        QCOMPARE(parts[2], QStringLiteral("page 7"));
    }

    void printingSpreadsTheRowsOverPages() {
        fillMany(130);
        QPdfWriter pdf(fixture->home.filePath("list.pdf"));
        const int perPage = GridPrint::rowsPerPage(pdf, *grid);
        QVERIFY(perPage > 10 && perPage < 130);
        QCOMPARE(GridPrint::render(pdf, *grid, GridExport::allRows(130)), (130 + perPage - 1) / perPage);
        QPdfWriter selected(fixture->home.filePath("selected.pdf"));
        QCOMPARE(GridPrint::render(selected, *grid, {4, 5}), 1);
    }

    void variableRowsFitOnlyTheRowsInSight() {
        fillMany(300);
        // As in a window not yet laid out: the grid has no room for a single row.
        QWidget window;
        auto* unshown = new ItemGrid(fixture->items, &window);
        GridLayout layout = unshown->gridLayout();
        layout.options.multipleLines = GridOptions::VariableLines;
        unshown->setGridLayout(layout);
        const int standard = unshown->verticalHeader()->defaultSectionSize();
        QCOMPARE(unshown->rowHeight(299), standard);
        unshown->resize(600, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(unshown->rowHeight(0) < standard);
        QCOMPARE(unshown->rowHeight(299), standard);
    }

    void selectionOrderMatchesAPlainList() {
        QRandomGenerator random(20260302);
        for (int run = 0; run < 200; ++run) {
            SelectionOrder order;
            PlainSelection plain;
            for (int step = 0; step < 60; ++step) {
                const int first = int(random.bounded(40));
                const int last = first + int(random.bounded(6));
                const quint32 operation = random.bounded(10);
                if (operation < 5) {
                    order.select(first, last);
                    plain.select(first, last);
                } else if (operation < 9) {
                    order.deselect(first, last);
                    plain.deselect(first, last);
                } else {
                    order.clear();
                    plain.rows.clear();
                }
                const std::vector<int> rows = order.rows();
                QCOMPARE(QList<int>(rows.begin(), rows.end()), plain.rows);
                QCOMPARE(order.count(), int(plain.rows.size()));
                const int probe = int(random.bounded(50));
                QCOMPARE(order.contains(probe), plain.rows.contains(probe));
            }
        }
    }

    void mergedRunsMatchAScanOfTheCells() {
        QRandomGenerator random(4711);
        for (int run = 0; run < 300; ++run) {
            std::vector<std::vector<int>> cells(3, std::vector<int>(30));
            for (auto& column : cells)
                std::generate(column.begin(), column.end(), [&] { return int(random.bounded(3)); });
            const int first = int(random.bounded(20));
            const int last = first + int(random.bounded(10));
            MergeSpans spans;
            spans.compute(first, last, {0, 2}, [&](int row, int column) {
                return cells[std::size_t(column)][std::size_t(row)] ==
                       cells[std::size_t(column)][std::size_t(row + 1)];
            });
            for (int row = 0; row < 30; ++row) {
                for (int column = 0; column < 3; ++column) {
                    std::pair<int, int> expected{row, row};
                    if (column != 1 && row >= first && row <= last) {
                        const auto& values = cells[std::size_t(column)];
                        while (expected.first > first &&
                               values[std::size_t(expected.first - 1)] == values[std::size_t(row)])
                            --expected.first;
                        while (expected.second < last &&
                               values[std::size_t(expected.second + 1)] == values[std::size_t(row)])
                            ++expected.second;
                    }
                    QCOMPARE(spans.run(row, column), expected);
                }
            }
        }
    }
};

QTEST_MAIN(TstGridSupport)
#include "tst_gridsupport.moc"
