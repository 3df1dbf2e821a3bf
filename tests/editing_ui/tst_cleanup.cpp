#include "EditingFixture.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "editing/frmClearUp.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
const QString room = QStringLiteral("{R-ROOM}");

// A view that may keep one item, and runs `onAsked` whenever it is asked about a deletion.
class KeepingView : public TestMessenger {
public:
    using TestMessenger::TestMessenger;
    QString keep;
    std::function<void()> onAsked;

    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override {
        TestMessenger::ItemDeleteBefore(key, cancel, senderId);
        cancel = key == keep;
        if (onAsked)
            onAsked();
    }
};
} // namespace

class TstCleanUp : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestTimetable> m_timetable;
    std::unique_ptr<KeepingView> m_view;
    std::unique_ptr<frmClearUp> m_dialog;

    QStringList keys() const {
        QStringList remaining;
        for (int position = 1; position <= m_timetable->chart.items().count(); ++position)
            remaining << m_timetable->chart.items().byPosition(position)->key();
        return remaining;
    }

    void enterLimit(const QString& text) {
        m_dialog->tx->setText(text);
        QTest::mouseClick(m_dialog->cmd[frmClearUp::OkCommand], Qt::LeftButton);
    }

private slots:
    void initTestCase() { pinGermanLocale(); }

    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_timetable = std::make_unique<TestTimetable>();
        m_timetable->addRow(room, QStringLiteral("Room"));
        for (const auto& [key, start, end] : {std::tuple{"OLD", at(2024, 3, 1, 8), at(2024, 3, 1, 9)},
                                              std::tuple{"LATE", at(2024, 3, 9, 22), at(2024, 3, 10, 23, 59)},
                                              std::tuple{"MIDNIGHT", at(2024, 3, 11, 0), at(2024, 3, 12, 0)},
                                              std::tuple{"SPANNING", at(2024, 3, 1, 10), at(2024, 3, 13, 0)},
                                              std::tuple{"NEW", at(2024, 3, 20, 8), at(2024, 3, 20, 9)}})
            m_timetable->addItem(key, room, start, end);
        m_view = std::make_unique<KeepingView>(QStringLiteral("{VIEW}"));
        m_timetable->items.AddMessenger(*m_view);
        m_dialog = std::make_unique<frmClearUp>();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    void cleanup() {
        m_dialog.reset();
        m_timetable->items.RemoveMessenger(*m_view);
        m_timetable.reset();
        QCOMPARE(m_prompts->unansweredCount(), 0);
        m_prompts.reset();
    }

    void limits_data() {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("keep"); // the item a view keeps
        QTest::addColumn<QStringList>("remaining");
        const QStringList afterLimitDay{"MIDNIGHT", "SPANNING", "NEW"};
        QTest::newRow("23:59 goes, next day's 00:00 stays") << "10.03.2024"
                                                            << "" << afterLimitDay;
        QTest::newRow("typed digits") << "100324"
                                      << "" << afterLimitDay;
        QTest::newRow("before every item") << "29.02.2024"
                                           << "" << QStringList{"OLD", "LATE", "MIDNIGHT", "SPANNING", "NEW"};
        QTest::newRow("after every item") << "31.12.2024"
                                          << "" << QStringList{};
        QTest::newRow("a view keeps one") << "10.03.2024"
                                          << "LATE" << QStringList{"LATE", "MIDNIGHT", "SPANNING", "NEW"};
    }

    void limits() {
        QFETCH(QString, limit);
        QFETCH(QStringList, remaining);
        QFETCH(QString, keep);
        m_view->keep = keep;
        QSignalSpy redraws(&m_timetable->chart, &GanttData::changed);
        m_prompts->answerMessage(MessageResult::Yes);
        enterLimit(limit);
        QTEST(keys(), "remaining");
        QCOMPARE(m_timetable->items.Count(), remaining.size());
        const QString shown = m_dialog->tx->text();
        QCOMPARE(m_prompts->texts(), QStringList{"Delete all items upto and uncluding " + shown + " ?"});
        QCOMPARE(m_prompts->prompts().constFirst().flags,
                 MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2);
        QCOMPARE(m_view->heard.filter("deleteAfter").size(), 5 - remaining.size());
        QCOMPARE(redraws.size(), 1);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(m_dialog->lblStatus->text().isEmpty());
    }

    void refusals_data() {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<int>("answer"); // 0: no question
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("31 February") << "31.02.2024" << 0;
        QTest::newRow("pasted text") << "next Monday" << 0;
        QTest::newRow("declined") << "31.12.2024" << MessageResult::No;
    }

    void refusals() {
        QFETCH(QString, limit);
        QFETCH(int, answer);
        if (answer != 0)
            m_prompts->answerMessage(answer);
        enterLimit(limit);
        QCOMPARE(keys().size(), 5);
        QVERIFY(m_dialog->isVisible());
        if (answer == 0) {
            QCOMPARE(m_prompts->texts(), QStringList{"You must input a date!"});
            QCOMPARE(m_dialog->focusWidget(), m_dialog->tx);
        }
    }

    // Closing the window during a long run stops it at the next message pause; the dialog then closes.
    void closeDuringRun() {
        for (int n = 0; n < 40; ++n)
            m_timetable->addItem(QStringLiteral("EARLY%1").arg(n), room, at(2023, 1, 1).addDays(n),
                                 at(2023, 1, 1, 1).addDays(n));
        int asked = 0;
        m_view->onAsked = [&] {
            QThread::msleep(25);
            if (++asked == 3)
                QTimer::singleShot(0, m_dialog.get(), &QWidget::close);
        };
        m_prompts->answerMessage(MessageResult::Yes);
        enterLimit("31.12.2023");
        QVERIFY(m_dialog->stopRequested());
        QVERIFY(asked >= 3 && asked <= 6);
        QCOMPARE(keys().size(), 45 - asked);
        QVERIFY(!m_dialog->isVisible());
    }
};

QTEST_MAIN(TstCleanUp)
#include "tst_cleanup.moc"
