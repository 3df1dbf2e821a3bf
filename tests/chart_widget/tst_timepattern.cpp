#include "chart/widget/TimePattern.h"

#include <QTest>

class TimePatternTest : public QObject {
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void problem_data();
    void problem();
};

void TimePatternTest::format_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<TimePoint>("time");
    QTest::addColumn<QString>("expected");

    const TimePoint morning = TimePoint::fromDateTime(QDate(2024, 3, 4), QTime(8, 5, 9));
    const TimePoint evening = TimePoint::fromDateTime(QDate(2023, 12, 31), QTime(23, 59, 1));
    QTest::newRow("time caption") << "hh:nn" << morning << "08:05";
    QTest::newRow("short hour and minute") << "h:n:s" << morning << "8:5:9";
    QTest::newRow("seconds") << "ss" << evening << "01";
    QTest::newRow("m is the month, n the minute") << "m/n" << morning << "3/5";
    QTest::newRow("day and month numbers") << "d.m. dd.mm." << morning << "4.3. 04.03.";
    QTest::newRow("weekday names") << "ddd dddd" << morning << "Mo. Montag";
    QTest::newRow("month names") << "mmm mmmm" << evening << "Dez. Dezember";
    QTest::newRow("years") << "yy yyyy" << evening << "23 2023";
    QTest::newRow("day of the year") << "y" << evening << "365";
    QTest::newRow("quarter") << "q/yyyy" << morning << "1/2024";
    QTest::newRow("last quarter") << "q" << evening << "4";
    QTest::newRow("default day caption") << "dddd dd mmmm yyyy" << morning << "Montag 04 März 2024";
    QTest::newRow("any letter case") << "DDD DD MMM YYYY HH:NN" << morning << "Mo. 04 März 2024 08:05";
    QTest::newRow("short date") << "ddddd" << morning << "04.03.24";
    QTest::newRow("runs longer than a token") << "mmmmm" << morning << "März3";
    QTest::newRow("week of the year and weekday") << "ww w" << morning << "10 2";
    QTest::newRow("quoted text") << "\"Week\" ww" << morning << "Week 10";
    QTest::newRow("escaped letter") << "\\d d" << morning << "d 4";
    QTest::newRow("other characters kept") << "[hh] - nn!" << morning << "[08] - 05!";
    QTest::newRow("unclosed quote") << "hh \"dd" << morning << "08 dd";
    QTest::newRow("empty") << "" << morning << "";
}

void TimePatternTest::format() {
    QFETCH(QString, pattern);
    QFETCH(TimePoint, time);
    QFETCH(QString, expected);
    QCOMPARE(TimePattern::format(pattern, time, QLocale(QLocale::German, QLocale::Germany)), expected);
}

void TimePatternTest::problem_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("problem");
    QTest::newRow("default day caption") << "dddd dd mmmm yyyy"
                                         << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("longest runs") << "dddddd mmmm yyyy hh nn ss ww q"
                                  << "";
    QTest::newRow("quoted letters are text") << "\"dddddddd\" hh"
                                             << "";
    QTest::newRow("escaped letter") << "\\dddddd"
                                    << "";
    QTest::newRow("other characters repeat freely") << "hh::::::::nn"
                                                    << "";
    QTest::newRow("as long as allowed") << QString(80, 'x') << "";
    QTest::newRow("too long") << QString(81, 'x') << "it is longer than 80 characters.";
    QTest::newRow("1,000 characters") << QString("dd.").repeated(333) + "d"
                                      << "it is longer than 80 characters.";
    QTest::newRow("letters only") << QString(20, 'd') << "20 letters d in a row are no pattern (at most 6).";
    QTest::newRow("run in any case") << "mmMmm"
                                     << "5 letters m in a row are no pattern (at most 4).";
    QTest::newRow("quarter twice") << "qq"
                                   << "2 letters q in a row are no pattern (at most 1).";
    QTest::newRow("unclosed quote") << "hh \"dd"
                                    << "a quotation mark is not closed.";
    QTest::newRow("backslash at the end") << "hh\\"
                                          << "it ends with a backslash.";
    QTest::newRow("tab") << "hh\tnn"
                         << "it holds a line break, tab or other control character.";
    QTest::newRow("line break inside quotes") << "\"a\nb\""
                                              << "it holds a line break, tab or other control character.";
}

void TimePatternTest::problem() {
    QFETCH(QString, pattern);
    QFETCH(QString, problem);
    QCOMPARE(TimePattern::problem(pattern), problem);
}

QTEST_APPLESS_MAIN(TimePatternTest)
#include "tst_timepattern.moc"
