#include "EditingFixture.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "editing/frmSeries.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(TimePoint)

namespace {
const QString room = QStringLiteral("{R-ROOM}");
const QString master = QStringLiteral("MASTER");
} // namespace

class TstSeries : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestTimetable> m_timetable;

    // Master from `start` for 90 minutes with its own caption, text, style and picture.
    ChartItem& addMaster(TimePoint start) {
        ChartItem& item = m_timetable->addItem(master, room, start, start.addSeconds(5400));
        item.setText(QStringLiteral("Weekly review"));
        item.setStyleKey(QStringLiteral("Date Fixed"));
        item.setPicture(QStringLiteral("/pictures/review.png"));
        item.setMovementLock(2);
        return item;
    }

    // Fills the dialog's fields as typed or pasted and presses "&OK"; true when the dialog closed.
    static bool run(int type, const QString& interval, const QString& count, const QString& lastDate,
                    const QString& itemKey = master) {
        frmSeries dialog;
        dialog.ItemID(itemKey);
        dialog.show();
        dialog.cmbType->setCurrentIndex(type);
        dialog.tx[frmSeries::IntervalField]->setText(interval);
        dialog.tx[frmSeries::CountField]->setText(count);
        dialog.tx[frmSeries::LastDateField]->setText(lastDate);
        QTest::mouseClick(dialog.cmd[frmSeries::OkCommand], Qt::LeftButton);
        return !dialog.isVisible();
    }

    // Starts of every item of the series but the master, in time order.
    QList<QDateTime> memberStarts() const {
        const ChartItem& first = *m_timetable->chart.items().byKey(master);
        QList<QDateTime> starts;
        for (const ChartItem* item : m_timetable->chart.itemsInRange(room, at(1900, 1, 1), at(2300, 1, 1))) {
            if (item->key() == master || item->seriesKey() != first.seriesKey())
                continue;
            starts << item->start().toDateTime();
            if (item->end() - item->start() != 5400 || item->text() != first.text() ||
                item->styleKey() != first.styleKey() || item->picture() != first.picture() ||
                item->movementLock() != 2 || m_timetable->items.GetItemIndex(item->key()) < 0)
                starts.last() = QDateTime();
        }
        return starts;
    }

private slots:
    void initTestCase() { pinGermanLocale(); }

    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_timetable = std::make_unique<TestTimetable>();
        m_timetable->addRow(room, QStringLiteral("Room"));
    }

    void cleanup() {
        m_timetable.reset();
        QCOMPARE(m_prompts->unansweredCount(), 0);
        m_prompts.reset();
    }

    void members_data() {
        QTest::addColumn<TimePoint>("start");
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("fields"); // interval, count, last date
        QTest::addColumn<QList<QDateTime>>("expected");
        const auto on = [](int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(9, 30)); };
        QTest::newRow("daily over a leap day")
            << at(2024, 2, 27, 9, 30) << int(ItemSeries::Daily) << QStringList{"1", "3", ""}
            << QList{on(2024, 2, 28), on(2024, 2, 29), on(2024, 3, 1)};
        QTest::newRow("daily over the year end, typed digits")
            << at(2024, 12, 30, 9, 30) << int(ItemSeries::Daily) << QStringList{"1", "", "020125"}
            << QList{on(2024, 12, 31), on(2025, 1, 1), on(2025, 1, 2)};
        QTest::newRow("Mo-Fr from a Friday")
            << at(2024, 3, 1, 9, 30) << int(ItemSeries::MondayToFriday) << QStringList{"1", "5", ""}
            << QList{on(2024, 3, 4), on(2024, 3, 5), on(2024, 3, 6), on(2024, 3, 7), on(2024, 3, 8)};
        QTest::newRow("Mo-Sa skips Sundays")
            << at(2024, 3, 1, 9, 30) << int(ItemSeries::MondayToSaturday) << QStringList{"1", "3", ""}
            << QList{on(2024, 3, 2), on(2024, 3, 4), on(2024, 3, 5)};
        QTest::newRow("Sa-Su up to 14 days after a Wednesday")
            << at(2024, 3, 6, 9, 30) << int(ItemSeries::Weekend) << QStringList{"1", "", "20.03.2024"}
            << QList{on(2024, 3, 9), on(2024, 3, 10), on(2024, 3, 16), on(2024, 3, 17)};
        QTest::newRow("filter that never matches")
            << at(2024, 3, 6, 9, 30) << int(ItemSeries::Weekend) << QStringList{"7", "3", "30.06.2024"}
            << QList<QDateTime>{};
        QTest::newRow("weekly every second week")
            << at(2024, 3, 6, 9, 30) << int(ItemSeries::Weekly) << QStringList{"2", "3", ""}
            << QList{on(2024, 3, 20), on(2024, 4, 3), on(2024, 4, 17)};
        QTest::newRow("monthly from the 31st stays clamped")
            << at(2024, 1, 31, 9, 30) << int(ItemSeries::Monthly) << QStringList{"1", "3", ""}
            << QList{on(2024, 2, 29), on(2024, 3, 29), on(2024, 4, 29)};
        QTest::newRow("quarterly into a leap February")
            << at(2023, 11, 30, 9, 30) << int(ItemSeries::Quarterly) << QStringList{"1", "2", ""}
            << QList{on(2024, 2, 29), on(2024, 5, 29)};
        QTest::newRow("yearly from a leap day")
            << at(2024, 2, 29, 9, 30) << int(ItemSeries::Yearly) << QStringList{"1", "2", ""}
            << QList{on(2025, 2, 28), on(2026, 2, 28)};
        QTest::newRow("count beyond the last date")
            << at(2024, 3, 6, 9, 30) << int(ItemSeries::Daily) << QStringList{"1", "3", "08.03.2024"}
            << QList{on(2024, 3, 7), on(2024, 3, 8)};
        QTest::newRow("no last date ends in 2199")
            << at(2199, 12, 28, 9, 30) << int(ItemSeries::Daily) << QStringList{"001", "5", ""}
            << QList{on(2199, 12, 29), on(2199, 12, 30), on(2199, 12, 31)};
    }

    void members() {
        QFETCH(TimePoint, start);
        QFETCH(int, type);
        QFETCH(QStringList, fields);
        addMaster(start);
        TestMessenger view(QStringLiteral("{VIEW}"));
        m_timetable->items.AddMessenger(view);
        QSignalSpy redraws(&m_timetable->chart, &GanttData::changed);
        QVERIFY(run(type, fields[0], fields[1], fields[2]));
        QTEST(memberStarts(), "expected");
        QCOMPARE(m_timetable->chart.items().byKey(master)->seriesKey().size(), 38);
        QCOMPARE(view.heard.first(), "changed " + master + ' ');
        QCOMPARE(view.heard.size(), 1 + memberStarts().size());
        QCOMPARE(redraws.size(), 1);
        QVERIFY(m_prompts->prompts().isEmpty());
        m_timetable->items.RemoveMessenger(view);
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("fields"); // interval, count, last date
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        const QString noAmount = QStringLiteral("Please enter amount or end date!");
        QTest::newRow("interval 0") << QStringList{"0", "3", ""} << "The interval must be 1 at minimum!"
                                    << int(frmSeries::IntervalField);
        QTest::newRow("pasted negative interval")
            << QStringList{"-5", "3", ""} << "The interval must be 1 at minimum!"
            << int(frmSeries::IntervalField);
        QTest::newRow("pasted endless digits")
            << QStringList{QString(100000, '7'), "3", ""} << "The interval must be 1 at minimum!"
            << int(frmSeries::IntervalField);
        QTest::newRow("interval too large")
            << QStringList{"10000", "3", ""} << "The interval must be 9999 at maximum!"
            << int(frmSeries::IntervalField);
        QTest::newRow("neither count nor date")
            << QStringList{"1", "", ""} << noAmount << int(frmSeries::CountField);
        QTest::newRow("pasted text as count")
            << QStringList{"1", "lots", ""} << noAmount << int(frmSeries::CountField);
        QTest::newRow("31 February") << QStringList{"1", "", "31.02.2026"} << noAmount
                                     << int(frmSeries::CountField);
        QTest::newRow("count too large")
            << QStringList{"1", "10000", ""} << "The count must be 9999 at maximum!"
            << int(frmSeries::CountField);
        QTest::newRow("after 2199") << QStringList{"1", "", "01.01.2200"}
                                    << "The last date must be 31.12.2199 at the latest!"
                                    << int(frmSeries::LastDateField);
        QTest::newRow("before the master")
            << QStringList{"1", "5", "01.03.2024"} << "The last date must be after the day of the item!"
            << int(frmSeries::LastDateField);
    }

    void refusals() {
        QFETCH(QStringList, fields);
        QFETCH(int, focus);
        addMaster(at(2024, 3, 6, 9, 30));
        frmSeries dialog;
        dialog.ItemID(master);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int field = 0; field < frmSeries::fieldCount; ++field)
            dialog.tx[size_t(field)]->setText(fields[field]);
        dialog.Update();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.tx[size_t(focus)]);
        QCOMPARE(m_prompts->texts().size(), 1);
        QTEST(m_prompts->texts().value(0), "message");
        QCOMPARE(m_prompts->prompts().constFirst().flags, int(MessageFlags::Critical));
        QCOMPARE(m_timetable->chart.items().count(), 1);
        QVERIFY(m_timetable->chart.items().byKey(master)->seriesKey().isEmpty());
    }

    void masterMissing() {
        QVERIFY(run(ItemSeries::Daily, "1", "3", "", QStringLiteral("GONE")));
        QCOMPARE(m_prompts->texts(), QStringList{"Master item not found!"});
    }

    // A refused candidate still counts; Cancel keeps the members made so far; a second run on the same
    // master collides with every member of the first.
    void conflicts() {
        addMaster(at(2024, 3, 6, 9, 30));
        m_timetable->addItem(QStringLiteral("BUSY"), room, at(2024, 3, 8, 10), at(2024, 3, 8, 11));
        m_prompts->answerMessage(MessageResult::Ok);
        QVERIFY(run(ItemSeries::Daily, "1", "3", ""));
        QCOMPARE(memberStarts(),
                 (QList{at(2024, 3, 7, 9, 30).toDateTime(), at(2024, 3, 9, 9, 30).toDateTime()}));
        QCOMPARE(m_prompts->texts(),
                 QStringList{"The item for 08.03.2024 09:30:00 cannot be stored because of "
                             "other items allready existing!"});
        QCOMPARE(m_prompts->prompts().constFirst().flags, MessageFlags::OkCancel | MessageFlags::Information);

        const QString seriesKey = m_timetable->chart.items().byKey(master)->seriesKey();
        m_prompts->clear();
        m_prompts->answerMessage(MessageResult::Ok);
        m_prompts->answerMessage(MessageResult::Cancel);
        QVERIFY(run(ItemSeries::Daily, "1", "5", ""));
        QCOMPARE(m_prompts->texts().size(), 2);
        QCOMPARE(memberStarts().size(), 2);

        m_prompts->clear();
        for (int answer = 0; answer < 3; ++answer)
            m_prompts->answerMessage(MessageResult::Ok);
        QVERIFY(run(ItemSeries::Daily, "1", "4", ""));
        QCOMPARE(m_prompts->texts().size(), 3);
        QCOMPARE(memberStarts().size(), 3);
        QCOMPARE(memberStarts().last(), at(2024, 3, 10, 9, 30).toDateTime());
        QCOMPARE(m_timetable->chart.items().byKey(master)->seriesKey(), seriesKey);
    }
};

QTEST_MAIN(TstSeries)
#include "tst_series.moc"
