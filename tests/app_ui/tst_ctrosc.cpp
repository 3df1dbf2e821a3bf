#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/ui/ctrOSC.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// A dialog's side of the bar: counts the store requests and refuses them on demand.
class StoreHandler : public QObject {
public:
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

class tst_ctrosc : public QObject {
    Q_OBJECT
private slots:
    void dirtyRules() {
        ctrOSC bar;
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
    }

    void readOnlyKeepsAcceptDisabled() {
        ScriptedPrompts prompts;
        ctrOSC bar;
        StoreHandler handler(bar);
        QSignalSpy done(&bar, &ctrOSC::Done);
        bar.setDirty(true);
        bar.setReadOnly(true);
        QVERIFY(!bar.Dirty());
        bar.setDirty(true);
        QVERIFY(!bar.button(ctrOSC::AcceptButton)->isEnabled());
        bar.click(ctrOSC::AcceptButton);
        bar.click(ctrOSC::OkButton);
        QCOMPARE(handler.stores, 0);
        QCOMPARE(done.size(), 1);
    }

    void store_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("closes");
        const int ok = ctrOSC::OkButton, accept = ctrOSC::AcceptButton;
        QTest::newRow("OK, unchanged closes without storing") << ok << false << false << true;
        QTest::newRow("OK, changed stores and closes") << ok << true << false << true;
        QTest::newRow("OK, refused store keeps the dialog open") << ok << true << true << false;
        QTest::newRow("Accept stores and stays") << accept << true << false << false;
        QTest::newRow("Accept, refused store keeps the changes") << accept << true << true << false;
    }

    void store() {
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

    void cancel_data() {
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("closes");
        QTest::newRow("verbose, No keeps the changes") << true << int(MessageResult::No) << false;
        QTest::newRow("verbose, Yes drops them") << true << int(MessageResult::Yes) << true;
        QTest::newRow("quiet drops them") << false << 0 << true;
    }

    void cancel() {
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
};

QTEST_MAIN(tst_ctrosc)
#include "tst_ctrosc.moc"
