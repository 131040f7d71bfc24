#include <QtTest>

#include "berlintime.h"
#include "speechrig.h"
#include "store/clocktext.h"

// Today's speech list and the one-second scheduler, against the fake clock,
// the fake media player and the fake voice.
class TestSpeechSchedule : public QObject {
    Q_OBJECT

private slots:
    void buildTodaySpeechList_data();
    void buildTodaySpeechList();
    void onlyTasksActiveTodayInStoredOrder();
    void twoTasksDueInTheSameMinute_data();
    void twoTasksDueInTheSameMinute();
    void heldSchedulerSkipsTheMinute_data();
    void heldSchedulerSkipsTheMinute();
    void rebuildForgetsTheRunningEntry();
    void acrossTheClockChange_data();
    void acrossTheClockChange();

private:
    // "0800 0820+ ...": due times in list order, "+" for done entries.
    static QString describe(const SpeechSchedule& schedule);
};

QString TestSpeechSchedule::describe(const SpeechSchedule& schedule) {
    QStringList parts;
    for (const TodaySpeechEntry& entry : schedule.TodaySpeechList())
        parts << QString::number(entry.dueTime).rightJustified(4, u'0') +
                     (entry.done ? QStringLiteral("+") : QString());
    return parts.join(QLatin1Char(' '));
}

void TestSpeechSchedule::buildTodaySpeechList_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("workFrom");
    QTest::addColumn<int>("workTo");
    QTest::addColumn<int>("now");
    QTest::addColumn<bool>("working");
    QTest::addColumn<QString>("expected");

    QTest::newRow("every 20 minutes")
        << 800 << 900 << 20 << 0 << 0 << 700 << true << "0800 0820 0840 0900";
    QTest::newRow("working hours from 08:30")
        << 800 << 900 << 20 << 830 << 1700 << 700 << true << "0840 0900";
    QTest::newRow("working hours end at 08:50")
        << 800 << 900 << 20 << 600 << 850 << 700 << true << "0800 0820 0840";
    QTest::newRow("series bound by the task's end")
        << 800 << 850 << 20 << 0 << 0 << 700 << true << "0800 0820 0840";
    QTest::newRow("stops at midnight")
        << 2300 << 2359 << 45 << 0 << 0 << 2200 << true << "2300 2345";
    QTest::newRow("interval 0") << 1000 << 1100 << 0 << 0 << 0 << 900 << true << "1000";
    QTest::newRow("interval 0 before working hours")
        << 700 << 800 << 0 << 830 << 1700 << 600 << true << "";
    QTest::newRow("interval longer than the window")
        << 1000 << 1100 << 90 << 0 << 0 << 900 << true << "1000";
    QTest::newRow("built at 10:15")
        << 1000 << 1030 << 15 << 0 << 0 << 1015 << true << "1000+ 1015 1030";
    QTest::newRow("built after the last entry")
        << 1000 << 1030 << 15 << 0 << 0 << 1100 << true << "1000+ 1015+ 1030+";
    QTest::newRow("outside working hours") << 800 << 900 << 20 << 0 << 0 << 700 << false << "";
}

void TestSpeechSchedule::buildTodaySpeechList() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, interval);
    QFETCH(int, workFrom);
    QFETCH(int, workTo);
    QFETCH(int, now);
    QFETCH(bool, working);
    QFETCH(QString, expected);

    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(now / 100, now % 100, 30)));
    rig.state.workingNow = working;
    rig.setWorkingHours(workFrom, workTo);
    SpeechTask* task = rig.addTask("news", start, end, interval);
    rig.schedule->BuildTodaySpeechList();
    QCOMPARE(describe(*rig.schedule), expected);
    for (const TodaySpeechEntry& entry : rig.schedule->TodaySpeechList())
        QCOMPARE(entry.task, task);
    QCOMPARE(rig.schedule->currentEntryIndex(), -1);
}

void TestSpeechSchedule::onlyTasksActiveTodayInStoredOrder() {
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(7, 0))); // a Monday
    SpeechTask* a = rig.addTask("a", 900, 1000, 30);
    rig.addTask("disabled", 900, 1000)->disabled = 1;
    rig.addTask("not on Mondays", 900, 1000)->weekdays = 0x7e;
    rig.addTask("ended yesterday", 900, 1000)->endDate = 20260301;
    SpeechTask* b = rig.addTask("b", 930, 930);
    rig.schedule->BuildTodaySpeechList();
    QCOMPARE(describe(*rig.schedule), QString("0900 0930 0930 1000"));
    const auto& list = rig.schedule->TodaySpeechList();
    // A new entry goes before those due at the same time.
    QCOMPARE(list[0].task, a);
    QCOMPARE(list[1].task, b);
    QCOMPARE(list[2].task, a);
    QCOMPARE(list[3].task, a);
}

void TestSpeechSchedule::twoTasksDueInTheSameMinute_data() {
    QTest::addColumn<int>("speechSeconds");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QStringList>("missed"); // log lines
    QTest::newRow("first job ends within the minute")
        << 20 << QStringList{"later text", "earlier text"} << QStringList{};
    QTest::newRow("first job runs past the minute")
        << 70 << QStringList{"later text"} << QStringList{"10:01:00 Missed: earlier (10:00)"};
}

void TestSpeechSchedule::twoTasksDueInTheSameMinute() {
    QFETCH(int, speechSeconds);
    QFETCH(QStringList, spoken);
    QFETCH(QStringList, missed);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(9, 59, 58)));
    rig.addTask("earlier", 1000, 1100);
    rig.addTask("later", 1000, 1100);
    rig.schedule->BuildTodaySpeechList();
    QCOMPARE(rig.schedule->TodaySpeechList()[0].task->name, QString("later"));

    rig.run(2 + 3); // 10:00:00 starts the job, the voice follows after 3 s
    QCOMPARE(rig.takeSpoken(), QStringList{"later text"});
    QCOMPARE(rig.schedule->currentEntryIndex(), 0);
    rig.run(speechSeconds);
    rig.voice->finish();
    // 10:02: long past the minute either way.
    rig.run(120);
    QCOMPARE(QStringList{"later text"} + rig.takeSpoken(), spoken);
    QCOMPARE(rig.schedule->currentEntryIndex(), spoken.size() == 2 ? 1 : -1);
    QCOMPARE(rig.schedule->TodaySpeechList()[1].done, spoken.size() == 2 ? 1 : 0);
    QCOMPARE(rig.logLines().filter(QStringLiteral("Missed: ")), missed);
}

void TestSpeechSchedule::heldSchedulerSkipsTheMinute_data() {
    QTest::addColumn<QString>("hold");
    QTest::addColumn<int>("heldSeconds");
    QTest::addColumn<bool>("spoken");
    for (const char* hold : {"paused", "logged out", "outside working hours"}) {
        QTest::addRow("%s until 10:00:40", hold) << hold << 40 << true;
        QTest::addRow("%s until 10:01:00", hold) << hold << 60 << false;
    }
}

void TestSpeechSchedule::heldSchedulerSkipsTheMinute() {
    QFETCH(QString, hold);
    QFETCH(int, heldSeconds);
    QFETCH(bool, spoken);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(9, 59)));
    rig.store->settings.speakDelay = 0;
    rig.addTask("news", 1000, 1100);
    rig.schedule->BuildTodaySpeechList();
    rig.run(60);

    auto setHeld = [&](bool held) {
        if (hold == "paused")
            rig.player->SetPaused(held);
        else if (hold == "logged out")
            rig.state.currentUser = held ? QString() : QStringLiteral("admin");
        else
            rig.state.workingNow = !held;
    };
    setHeld(true);
    rig.run(heldSeconds);
    QVERIFY(rig.takeSpoken().isEmpty());
    setHeld(false);
    rig.run(120);
    QCOMPARE(rig.takeSpoken(), spoken ? QStringList{"news text"} : QStringList{});
    // Told once, in the first second after the minute.
    QCOMPARE(rig.logLines().filter(QStringLiteral("Missed: ")),
             spoken ? QStringList{} : QStringList{"10:01:00 Missed: news (10:00)"});
}

void TestSpeechSchedule::rebuildForgetsTheRunningEntry() {
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    rig.store->settings.speakDelay = 0;
    rig.addTask("first", 1000, 1000);
    rig.addTask("second", 1001, 1001);
    rig.schedule->BuildTodaySpeechList();
    rig.second();
    QCOMPARE(rig.takeSpoken(), QStringList{"first text"});
    QCOMPARE(rig.schedule->currentEntryIndex(), 0);

    // An edit of a task rebuilds the list in the next minute, while the
    // first speech still runs.
    rig.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 1)));
    rig.schedule->BuildTodaySpeechList();
    QCOMPARE(rig.schedule->currentEntryIndex(), -1);
    QCOMPARE(describe(*rig.schedule), QString("1000+ 1001"));

    // The scheduler looks at the current entry, not at the voice: the next
    // entry starts in its minute and its speech queues behind the first.
    rig.second();
    QCOMPARE(rig.takeSpoken(), QStringList{"second text"});
    QVERIFY(rig.job->speaking());
    QCOMPARE(rig.schedule->currentEntryIndex(), 1);
}

void TestSpeechSchedule::acrossTheClockChange_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("spoken"); // the clock when each speech started
    QTest::addColumn<QStringList>("missed"); // log lines

    const QDate spring(2027, 3, 28);
    const QDate autumn(2027, 10, 31);
    QTest::newRow("spring: hourly steps over the skipped hour")
        << spring << 30 << 60 << "0030 0130 0330 0430"
        << QStringList{"00:30 CET", "01:30 CET", "03:30 CEST", "04:30 CEST"} << QStringList{};
    QTest::newRow("spring: a series from the skipped hour goes on after it")
        << spring << 230 << 60 << "0230 0430" << QStringList{"04:30 CEST"}
        << QStringList{"03:00:00 Missed: news (02:30)"};
    QTest::newRow("autumn: the repeated hour once")
        << autumn << 100 << 30 << "0100 0130 0200 0230 0300 0330 0400 0430"
        << QStringList{"01:00 CEST", "01:30 CEST", "02:00 CEST", "02:30 CEST",
                       "03:00 CET",  "03:30 CET",  "04:00 CET",  "04:30 CET"}
        << QStringList{};
}

// The series steps on the real clock: the skipped hour holds no entry of
// it, the repeated hour is stepped through twice but each clock time is due
// once; a time the clock never shows is logged as missed.
void TestSpeechSchedule::acrossTheClockChange() {
    QFETCH(QDate, date);
    QFETCH(int, start);
    QFETCH(int, interval);
    QFETCH(QString, list);
    QFETCH(QStringList, spoken);
    QFETCH(QStringList, missed);
    const BerlinTime berlin;
    SpeechRig rig(QDateTime(date, QTime(0, 0)));
    rig.store->settings.speakDelay = 0;
    rig.addTask("news", start, 459, interval)->endDate = 20271231;
    rig.schedule->BuildTodaySpeechList();
    QCOMPARE(describe(*rig.schedule), list);

    QStringList started;
    while (rig.clock.now() < QDateTime(date, QTime(5, 0))) {
        const QString now = rig.clock.now().toString(QStringLiteral("HH:mm t"));
        rig.second();
        if (!rig.takeSpoken().isEmpty())
            started << now;
        rig.voice->finish();
    }
    QCOMPARE(started, spoken);
    QCOMPARE(rig.logLines().filter(QStringLiteral("Missed: ")), missed);
}

QTEST_GUILESS_MAIN(TestSpeechSchedule)
#include "tst_speechschedule.moc"
