#include "app/MessageFlags.h"
#include "app/ui/NameOnlyIconProvider.h"
#include "app/ui/QtPrompts.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using Buttons = QList<QMessageBox::StandardButton>;

class tst_qtprompts : public QObject {
    Q_OBJECT
private slots:
    void messageBoxLayout_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
        QTest::addColumn<QMessageBox::StandardButton>("escapeButton");
        const auto row = [](const char* name, int flags, const Buttons& buttons, QMessageBox::Icon icon,
                            QMessageBox::StandardButton defaultButton,
                            QMessageBox::StandardButton escapeButton) {
            QTest::newRow(name) << flags << buttons << icon << defaultButton << escapeButton;
        };
        using B = QMessageBox;
        row("0+64: OK, information", 64, {B::Ok}, B::Information, B::Ok, B::Ok);
        row("1+16: OK/Cancel, error", 17, {B::Ok, B::Cancel}, B::Critical, B::Ok, B::Cancel);
        row("2+48: abort/retry/ignore, warning", 50, {B::Abort, B::Retry, B::Ignore}, B::Warning, B::Abort,
            B::Abort);
        row("3+32: yes/no/cancel, question", 35, {B::Yes, B::No, B::Cancel}, B::Question, B::Yes, B::Cancel);
        row("4+32+256: No is the default", 292, {B::Yes, B::No}, B::Question, B::No, B::No);
        row("3+512: Cancel is the default", 515, {B::Yes, B::No, B::Cancel}, B::NoIcon, B::Cancel, B::Cancel);
        row("4+512: beyond the buttons, the last", 516, {B::Yes, B::No}, B::NoIcon, B::No, B::No);
        row("5: retry/cancel", 5, {B::Retry, B::Cancel}, B::NoIcon, B::Retry, B::Cancel);
    }

    void messageBoxLayout() {
        QFETCH(int, flags);
        QFETCH(Buttons, buttons);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QMessageBox::StandardButton, defaultButton);
        QFETCH(QMessageBox::StandardButton, escapeButton);
        const QtPrompts::MessageBoxLayout layout = QtPrompts::messageBoxLayout(flags);
        QCOMPARE(layout.buttons, buttons);
        QCOMPARE(layout.icon, icon);
        QCOMPARE(layout.defaultButton, defaultButton);
        QCOMPARE(layout.escapeButton, escapeButton);
        // The silent default of the seam takes the same default button.
        QCOMPARE(QtPrompts::messageResult(layout.defaultButton), defaultResult(flags));
    }

    void dialogFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& filter, const QString& expected) {
            QTest::newRow(name) << filter << expected;
        };
        row("Qt form", "Timetable (*.qtf)", "Timetable (*.qtf)");
        row("pattern after a bar", "Timetable Files (*.qtf)|*.qtf", "Timetable Files (*.qtf)");
        row("several patterns", "Pictures (*.jpg;*.bmp)|*.jpg;*.bmp", "Pictures (*.jpg *.bmp)");
        row("several filters", "HTML|*.htm;*.html|Text|*.txt", "HTML (*.htm *.html);;Text (*.txt)");
    }

    void dialogFilter() {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(QtPrompts::dialogFilter(filter), expected);
    }

    // A folder with a pipe nobody writes to and a file whose name says nothing but whose first bytes
    // say PDF: the dialog lists both, and types the file by its name alone.
    void fileDialogReadsNoContent() {
        QTemporaryDir folder;
        QCOMPARE(mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);
        const QString notes = folder.filePath("notes");
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n");
        file.close();
        QVERIFY2(QFileIconProvider().type(QFileInfo(notes)).contains("PDF"),
                 "the standard way reads content");

        NameOnlyIconProvider icons;
        QFileDialog dialog(nullptr, "Save Timetable", folder.path());
        QtPrompts::prepareFileDialog(dialog, icons);
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        dialog.show();
        const auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QTRY_VERIFY(model->index(folder.filePath("pipe")).isValid() &&
                    !model->type(model->index(notes)).isEmpty());
        QVERIFY2(!model->type(model->index(notes)).contains("PDF"),
                 qPrintable(model->type(model->index(notes))));
        dialog.close();
    }

    // A Yes/No box is at least as wide as its title needs in the window frame.
    void messageBoxShowsItsTitle() {
        const QString title = QStringLiteral("VELKOR Timeplaner");
        QMessageBox box(QMessageBox::Question, title, "Save changes?", QMessageBox::Yes | QMessageBox::No);
        QFont bold = box.font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(title) + 140;
        box.show();
        QVERIFY2(box.width() < needed, "the box alone is narrower than its title");
        box.hide();
        QtPrompts::fitTitle(box);
        box.show();
        QVERIFY(box.width() >= needed);
        box.hide();
    }
};

QTEST_MAIN(tst_qtprompts)
#include "tst_qtprompts.moc"
