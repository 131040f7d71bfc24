#include <QtTest>

#include "fakeclock.h"
#include "store/clocktext.h"

class TestClockText : public QObject {
    Q_OBJECT

private slots:
    void parseClockText_data();
    void parseClockText();
    void durations();
    void addDurationWrapsPastMidnight();
    void formatSchedule_data();
    void formatSchedule();
    void datesAndWeekdays();
};

void TestClockText::parseClockText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("with colon") << "09:30" << 930 << true;
    QTest::newRow("four digits") << "0930" << 930 << true;
    QTest::newRow("placeholder") << "09:3_" << 930 << true;
    QTest::newRow("three characters") << "930" << 0 << false;
    QTest::newRow("hours too large") << "24:00" << 2400 << false;
    QTest::newRow("minutes too large") << "2360" << 2360 << false;
    QTest::newRow("last minute") << "23:59" << 2359 << true;
}

void TestClockText::parseClockText() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(bool, valid);
    QCOMPARE(ParseClockText(text), value);
    QString digits = text;
    digits.remove(u':');
    QCOMPARE(IsValidClockText(digits), valid);
    if (value > 0)
        QCOMPARE(ParseClockText(FormatClock(value)), value);
}

void TestClockText::durations() {
    QCOMPARE(FormatClock(930), QStringLiteral("09:30"));
    QCOMPARE(FormatClock(0), QStringLiteral("00:00"));
    QCOMPARE(FormatDuration(10305), QStringLiteral("01:03:05"));
    QCOMPARE(FormatDuration(305), QStringLiteral("03:05"));
    QCOMPARE(ParseDuration("01:03:05"), 10305);
    QCOMPARE(ParseDuration("03:05"), 305);
    QCOMPARE(ParseDuration("03:05:"), 305); // a final separator starts no field
    QCOMPARE(DurationToMinutes(305), 4);
    QCOMPARE(DurationToMinutes(10300), 63);
}

void TestClockText::addDurationWrapsPastMidnight() {
    FakeClock clock;
    clock.set(2026, 3, 2, 10, 0);
    QCOMPARE(AddDuration(1000, 2355, false, clock), 500);
    QCOMPARE(AddDuration(0, 2355, false, clock), 235500);
    QCOMPARE(AddDuration(130, 120050, true, clock), 120220);
    QCOMPARE(AddDuration(-5, 800, false, clock), 80000);
}

void TestClockText::formatSchedule_data() {
    QTest::addColumn<int>("endDate");
    QTest::addColumn<int>("startDate");
    QTest::addColumn<int>("startTime");
    QTest::addColumn<int>("endTime");
    QTest::addColumn<QString>("text");
    QTest::newRow("dates and times")
        << 20160331 << 20160301 << 800 << 1200 << "16/03/01/~03/31 08:00~12:00";
    QTest::newRow("dates only") << 20160331 << 20160301 << 0 << 0 << "16/03/01/~03/31";
    QTest::newRow("times only") << 0 << 0 << 800 << 1200 << "08:00~12:00";
    QTest::newRow("nothing") << 0 << 0 << 0 << 0 << "";
}

void TestClockText::formatSchedule() {
    QFETCH(int, endDate);
    QFETCH(int, startDate);
    QFETCH(int, startTime);
    QFETCH(int, endTime);
    QFETCH(QString, text);
    QCOMPARE(FormatSchedule(endDate, startDate, startTime, endTime), text);
}

void TestClockText::datesAndWeekdays() {
    FakeClock clock;
    clock.set(2026, 12, 6, 23, 59); // a Sunday
    QCOMPARE(TodayWeekday(clock), 6);
    QCOMPARE(TodayYmd(clock), 20261206);
    QCOMPARE(NowHhmm(clock), 2359);
    QCOMPARE(YmdToDate(20160301), QDate(2016, 3, 1));
    QVERIFY(!YmdToDate(18991231).isValid());
    QVERIFY(!YmdToDate(20161301).isValid());
    QVERIFY(!YmdToDate(20160230).isValid());
    QCOMPARE(WeekdayName(0, 0), QStringLiteral("星期一"));
    QCOMPARE(WeekdayName(6, 0), QStringLiteral("星期天"));
    QCOMPARE(WeekdayName(6, 2), QStringLiteral("Sunday"));
    QVERIFY(WeekdayName(7, 0).isEmpty());
    QVERIFY(WeekdayName(-1, 1).isEmpty());
}

QTEST_GUILESS_MAIN(TestClockText)
#include "tst_clocktext.moc"
