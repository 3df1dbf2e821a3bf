#include "../app/DataTable.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/clsProgessbar.h"
#include "app/ui/ColorItem.h"
#include "app/ui/NameOnlyIconProvider.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/ctrOSC.h"
#include "app/ui/frmProgressbar.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/stat.h>

namespace {
// A dialog's side of the button bar: counts the store requests and refuses them on demand.
struct StoreHandler : QObject {
    explicit StoreHandler(ctrOSC& bar) {
        connect(&bar, &ctrOSC::Store, this, [this](bool always, int& cancel) {
            ++stores;
            QVERIFY(always);
            if (refuse)
                cancel = 1;
        });
    }
    int stores = 0;
    bool refuse = false;
};

struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

frmProgressbar& windowOf(clsProgessbar& progress) {
    return dynamic_cast<frmProgressbar&>(progress.view());
}

using Buttons = QList<QMessageBox::StandardButton>;
} // namespace

// The parts every dialog shares: the button bar, the progress window, message boxes and file dialogs,
// coloured list entries and the placement of windows on the screens.
class tst_dialogparts : public QObject {
    Q_OBJECT
    QtPrompts m_qtPrompts; // the progress window is the real one

private slots:
    void cleanup() { setPrompts(nullptr); }

    void buttonBarDirtyRules() {
        ScriptedPrompts prompts;
        ctrOSC bar;
        StoreHandler handler(bar);
        QSignalSpy done(&bar, &ctrOSC::Done);
        QPushButton* accept = bar.button(ctrOSC::AcceptButton);
        QVERIFY(bar.button(ctrOSC::OkButton)->isDefault());
        QVERIFY(!accept->isEnabled());
        bar.setDirty(true);
        QVERIFY(accept->isEnabled());
        // While the dialog fills its fields nothing counts as a change, and finishing clears the flag.
        bar.setParentUpdate(true);
        QVERIFY(!bar.Dirty());
        bar.setDirty(false);
        bar.setParentUpdate(false);
        QVERIFY(!bar.Dirty());
        QVERIFY(!accept->isEnabled());
        bar.setDirty(true);
        QVERIFY(bar.Dirty());
        // Read-only: nothing is ever changed or stored, OK just closes.
        bar.setReadOnly(true);
        QVERIFY(!bar.Dirty());
        bar.setDirty(true);
        QVERIFY(!accept->isEnabled());
        bar.click(ctrOSC::AcceptButton);
        bar.click(ctrOSC::OkButton);
        QCOMPARE(handler.stores, 0);
        QCOMPARE(done.size(), 1);
    }

    void buttonBarStore_data() {
        const auto row = columns<int, bool, bool, bool>("button", "dirty", "refuse", "closes");
        const int ok = ctrOSC::OkButton, accept = ctrOSC::AcceptButton;
        row("OK, unchanged closes without storing", ok, false, false, true);
        row("OK, changed stores and closes", ok, true, false, true);
        row("OK, refused store keeps the dialog open", ok, true, true, false);
        row("Accept stores and stays", accept, true, false, false);
        row("Accept, refused store keeps the changes", accept, true, true, false);
    }

    void buttonBarStore() {
        QFETCH(int, button);
        QFETCH(bool, dirty);
        QFETCH(bool, refuse);
        ctrOSC bar;
        StoreHandler handler(bar);
        handler.refuse = refuse;
        QSignalSpy done(&bar, &ctrOSC::Done);
        bar.setDirty(dirty);
        bar.click(button);
        QCOMPARE(handler.stores, dirty ? 1 : 0);
        QTEST(done.size() == 1, "closes");
        QCOMPARE(bar.Dirty(), refuse);
        QCOMPARE(bar.button(ctrOSC::AcceptButton)->isEnabled(), refuse);
    }

    void buttonBarCancel_data() {
        const auto row =
            columns<bool, int, bool>("verbose", "answer", "closes"); // answer 0: no question expected
        row("verbose, No keeps the changes", true, int(MessageResult::No), false);
        row("verbose, Yes drops them", true, int(MessageResult::Yes), true);
        row("quiet drops them", false, 0, true);
    }

    void buttonBarCancel() {
        QFETCH(bool, verbose);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        ScriptedPrompts prompts;
        if (answer)
            prompts.answerMessage(answer);
        ctrOSC bar;
        StoreHandler handler(bar);
        QSignalSpy done(&bar, &ctrOSC::Done);
        QSignalSpy cancelled(&bar, &ctrOSC::Cancel);
        bar.setVerbose(verbose);
        bar.setDirty(true);
        bar.click(ctrOSC::CancelButton);
        QCOMPARE(prompts.texts(), answer ? QStringList{"Discard changes?"} : QStringList());
        if (answer)
            QCOMPARE(prompts.prompts()[0].flags, 36);
        QCOMPARE(handler.stores, 0);
        QCOMPARE(done.size(), closes ? 1 : 0);
        QCOMPARE(cancelled.size(), closes ? 1 : 0);
        QCOMPARE(bar.Dirty(), !closes);
        // An unchanged dialog closes without a question and without dropping anything.
        bar.setDirty(false);
        bar.click(ctrOSC::CancelButton);
        QCOMPARE(done.size(), closes ? 2 : 1);
        QCOMPARE(cancelled.size(), closes ? 1 : 0);
    }

    void escapeCancels() {
        QWidget window;
        auto* bar = new ctrOSC(&window);
        QSignalSpy done(bar, &ctrOSC::Done);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_COMPARE(done.size(), 1);
    }

    void progressScale_data() {
        // valueAtMax: what the bar shows after SetValue(max / 2), SetValue(max)
        const auto row = columns<int, int, int, int>("max", "barMax", "scale", "valueAtMax");
        row("below 1000", 999, 999, 1, 999);
        row("1000", 1000, 1000, 1, 1000);
        // 2500 \ 2 = 1250 lies beyond the bar, which keeps its last value 1250 \ 2.
        row("2500", 2500, 1000, 2, 625);
    }

    void progressScale() {
        QFETCH(int, max);
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isModal());
        progress.Max(max);
        QTEST(window.ProgressBar->maximum(), "barMax");
        QTEST(progress.scale(), "scale");
        QVERIFY(progress.SetValue(max / 2));
        QVERIFY(progress.SetValue(max));
        QTEST(window.ProgressBar->value(), "valueAtMax");
    }

    // A long loop sets every value; the screen follows at most every 50 ms, the last value shows.
    void progressThrottledToTheScreen() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        constexpr int steps = 200000;
        progress.Max(steps);
        QCoreApplication::processEvents();
        PaintCounter paints(window.ProgressBar);
        QElapsedTimer clock;
        clock.start();
        for (int value = 0; value <= steps; ++value)
            QVERIFY(progress.SetValue(value));
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(window.ProgressBar->value(), 1000);
        QVERIFY2(paints.count <= elapsed / frmProgressbar::updateIntervalMs + 2,
                 qPrintable(QString("%1 paints in %2 ms").arg(paints.count).arg(elapsed)));
    }

    // A click on Cancel waits for the next update of the screen, then ends the loop.
    void progressCancelSeenBetweenUpdates() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        progress.Max(1000000);
        QVERIFY(progress.SetValue(0));
        QTimer::singleShot(0, window.cmdCancel, &QPushButton::click);
        QElapsedTimer clock;
        clock.start();
        int value = 1;
        while (progress.SetValue(value) && clock.elapsed() < 10000)
            ++value;
        QVERIFY(window.cancelled());
        QVERIFY(value > 1);
        QVERIFY(!progress.SetValue(value + 1));
    }

    void progressWithoutCancel() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        const int before = window.ProgressBar->width();
        progress.NoCancel();
        QVERIFY(window.cmdCancel->isHidden());
        QVERIFY(window.ProgressBar->width() > before);
        const QRect inner = window.layout()->contentsRect();
        QCOMPARE(window.ProgressBar->geometry().left(), inner.left());
        QCOMPARE(window.ProgressBar->width(), inner.width());
        // With no Cancel offered, closing the window cancels nothing.
        window.close();
        QVERIFY(window.isVisible());
        QVERIFY(progress.SetValue(1));
    }

    void messageBoxLayout_data() {
        const auto row =
            columns<int, Buttons, QMessageBox::Icon, QMessageBox::StandardButton,
                    QMessageBox::StandardButton>("flags", "buttons", "icon", "defaultButton", "escapeButton");
        using B = QMessageBox;
        row("0+64: OK, information", 64, Buttons{B::Ok}, B::Information, B::Ok, B::Ok);
        row("1+16: OK/Cancel, error", 17, Buttons{B::Ok, B::Cancel}, B::Critical, B::Ok, B::Cancel);
        row("2+48: abort/retry/ignore, warning", 50, Buttons{B::Abort, B::Retry, B::Ignore}, B::Warning,
            B::Abort, B::Abort);
        row("3+32: yes/no/cancel, question", 35, Buttons{B::Yes, B::No, B::Cancel}, B::Question, B::Yes,
            B::Cancel);
        row("4+32+256: No is the default", 292, Buttons{B::Yes, B::No}, B::Question, B::No, B::No);
        row("3+512: Cancel is the default", 515, Buttons{B::Yes, B::No, B::Cancel}, B::NoIcon, B::Cancel,
            B::Cancel);
        row("4+512: beyond the buttons, the last", 516, Buttons{B::Yes, B::No}, B::NoIcon, B::No, B::No);
        row("5: retry/cancel", 5, Buttons{B::Retry, B::Cancel}, B::NoIcon, B::Retry, B::Cancel);
    }

    void messageBoxLayout() {
        QFETCH(int, flags);
        const QtPrompts::MessageBoxLayout layout = QtPrompts::messageBoxLayout(flags);
        QTEST(layout.buttons, "buttons");
        QTEST(layout.icon, "icon");
        QTEST(layout.defaultButton, "defaultButton");
        QTEST(layout.escapeButton, "escapeButton");
        // The silent default of the seam takes the same default button.
        QCOMPARE(QtPrompts::messageResult(layout.defaultButton), defaultResult(flags));
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
    }

    void dialogFilter_data() {
        const auto row = columns<QString, QString>("filter", "expected");
        row("Qt form", "Timetable (*.qtf)", "Timetable (*.qtf)");
        row("pattern after a bar", "Timetable Files (*.qtf)|*.qtf", "Timetable Files (*.qtf)");
        row("several patterns", "Pictures (*.jpg;*.bmp)|*.jpg;*.bmp", "Pictures (*.jpg *.bmp)");
        row("several filters", "HTML|*.htm;*.html|Text|*.txt", "HTML (*.htm *.html);;Text (*.txt)");
    }

    void dialogFilter() {
        QFETCH(QString, filter);
        QTEST(QtPrompts::dialogFilter(filter), "expected");
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
    }

    void colourEntries_data() {
        const auto row = columns<QString, QString, quint32>("text", "name", "colour");
        row("red", ColorItem::entryText("Date", 255), "Date", quint32(255));
        row("blue-green", ColorItem::entryText("Date Fixed", 0xFFFFC0), "Date Fixed", quint32(0xFFFFC0));
        row("no colour part", "Break", "Break", quint32(0));
        row("colour not a number", QString("X") + QChar(0) + "blue", "X", quint32(0));
    }

    void colourEntries() {
        QFETCH(QString, text);
        const ColorItem::Entry entry = ColorItem::split(text);
        QTEST(entry.name, "name");
        QTEST(entry.colour, "colour");
    }

    void colourEntryDrawing() {
        QStandardItemModel model;
        auto* date = new QStandardItem("Date");
        date->setData(ColorItem::entryText("Date", 255), ColorItem::EntryTextRole);
        model.appendRow(date);
        ColorItem delegate;
        QStyleOptionViewItem option;
        option.font = QFont("DejaVu Sans", 10);
        option.palette = QPalette(Qt::white);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.palette.setColor(QPalette::Button, QColor(200, 200, 200));
        const int h = delegate.sizeHint(option, model.index(0, 0)).height();
        QCOMPARE(h, QFontMetrics(option.font).height() + 4);
        const auto draw = [&](bool selected) {
            QImage image(160, h, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            option.rect = image.rect();
            option.state = selected ? QStyle::State_Selected : QStyle::State_None;
            delegate.paint(&painter, option, model.index(0, 0));
            return image;
        };
        const QImage plain = draw(false);
        // A red square three pixels in from the top left corner, the name after it.
        QCOMPARE(plain.pixelColor(4, 4), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(h - 5, h - 5), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(1, 1), QColor(Qt::white));
        QCOMPARE(plain.pixelColor(h + 1, 1), QColor(Qt::white));
        bool textDrawn = false;
        for (int x = h; x < plain.width(); ++x) {
            for (int y = 0; y < h; ++y)
                textDrawn = textDrawn || plain.pixelColor(x, y) == QColor(Qt::black);
        }
        QVERIFY(textDrawn);
        const QImage selected = draw(true);
        QCOMPARE(selected.pixelColor(plain.width() - 2, 1), QColor(200, 200, 200));
        QCOMPARE(selected.pixelColor(4, 4), QColor(Qt::red));
    }

    void windowOnScreen_data() {
        const auto row = columns<QRect, QRect>("rect", "placed");
        row("inside stays", QRect(100, 100, 400, 300), QRect(100, 100, 400, 300));
        row("beyond the right edge", QRect(3000, 100, 400, 300), QRect(2800, 100, 400, 300));
        row("above the top", QRect(100, -50, 400, 300), QRect(100, 0, 400, 300));
        row("on no screen goes to the first", QRect(-5000, -5000, 400, 300), QRect(0, 0, 400, 300));
        row("larger than its screen shrinks", QRect(1300, 10, 2500, 1500), QRect(1280, 0, 1920, 1080));
        row("across two screens: the one it overlaps most", QRect(1200, 100, 400, 300),
            QRect(1280, 100, 400, 300));
    }

    void windowOnScreen() {
        QFETCH(QRect, rect);
        QTEST(WindowPlacement::onScreen(rect, {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}),
              "placed");
    }
};

QTEST_MAIN(tst_dialogparts)
#include "tst_dialogparts.moc"
