#include "app/MessageFlags.h"
#include "app/ui/QtPrompts.h"

#include <QTest>

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
};

QTEST_MAIN(tst_qtprompts)
#include "tst_qtprompts.moc"
