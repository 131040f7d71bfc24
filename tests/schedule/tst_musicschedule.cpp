// The music schedule against the fake clock, the fake media player and a
// simulated transmitter: which task becomes current, what today's list holds,
// what plays when, what is logged and what is sent.

#include <QtTest>

#include "berlintime.h"
#include "musicbench.h"
#include "store/clocktext.h"

namespace {

const QDate kMonday(2026, 3, 2);

QDateTime at(int hour, int minute, int second = 0) {
    return QDateTime(kMonday, QTime(hour, minute, second));
}

QString baseName(const PlayItem* item) {
    return QFileInfo(item->path).completeBaseName();
}

// Today's list as "hh:mm name", "bg name" for background entries, with " done"
// for done timed entries.
QStringList listText(const MusicSchedule& schedule) {
    QStringList rows;
    for (const TodayMusicEntry& e : schedule.TodayMusicList()) {
        if (e.item->kind == PlayItem::Background)
            rows << QStringLiteral("bg ") + baseName(e.item);
        else
            rows << FormatClock(e.dueTime) + u' ' + baseName(e.item) +
                        (e.done ? QStringLiteral(" done") : QString());
    }
    return rows;
}

int entryOf(const MusicSchedule& schedule, const QString& name, HhmmTime due) {
    const auto& list = schedule.TodayMusicList();
    for (int i = 0; i < int(list.size()); ++i) {
        if (baseName(list[size_t(i)].item) == name && list[size_t(i)].dueTime == due)
            return i;
    }
    return -1;
}

// Items from a short description, one per text:
//   "bg a [count]"               background item a.mp3 (count: plays, default unlimited)
//   "at b 0900 1007 ..."         insert-play b.mp3 at time points
//   "every c 0800 0900 30"       insert-play c.mp3 from 08:00 to 09:00 every 30 minutes
void addItems(MusicBench& bench, MusicTask* task, const QStringList& items) {
    for (const QString& text : items) {
        const QStringList w = text.split(u' ');
        const QString path = bench.file(w[1] + QStringLiteral(".mp3"), 10);
        if (w[0] == QLatin1String("bg")) {
            bench.addBackground(task, path, w.size() > 2 ? w[2].toInt() : kUnlimitedPlays);
        } else if (w[0] == QLatin1String("at")) {
            QList<HhmmTime> points;
            for (const QString& p : w.mid(2))
                points << p.toInt();
            bench.addTimePoints(task, path, points);
        } else {
            bench.addInterval(task, path, w[2].toInt(), w[3].toInt(), w[4].toInt());
        }
    }
}

} // namespace

class TestMusicSchedule : public QObject {
    Q_OBJECT

private slots:
    void taskSelection_data();
    void taskSelection();
    void buildList_data();
    void buildList();
    void buildingMidMorningPlaysTheDueEntryAtOnce();
    void dueEntryBesidePlayingFile_data();
    void dueEntryBesidePlayingFile();
    void batchWaitsForItsLongFirstFile();
    void rotation_data();
    void rotation();
    void rotationContinuesAfterRebuild();
    void startingAnEntryByHand();
    void missingFileMovesOnWithinASecond();
    void taskLeavingItsWindowStopsPlaying();
    void switchRequestAndChooser();
    void nothingRunsWhenHeldBack_data();
    void nothingRunsWhenHeldBack();
    void zonesSentOnStart_data();
    void zonesSentOnStart();
    void acrossMidnightAndTheClockChange_data();
    void acrossMidnightAndTheClockChange();
};

void TestMusicSchedule::taskSelection_data() {
    QTest::addColumn<QStringList>("tasks"); // "name start end", list order; "!name" disabled
    QTest::addColumn<int>("workFrom");
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("until");
    QTest::addColumn<QStringList>("started");

    QTest::newRow("before working hours: first active once work begins")
        << QStringList{"Early 0730 1000"} << 800 << at(7, 29, 50) << at(8, 0, 5)
        << QStringList{"08:00:00 Start play task: Early"};
    QTest::newRow("before working hours: never by the exact start")
        << QStringList{"Early 0730 1000", "Eight 0800 0900"} << 800 << at(7, 29, 50) << at(8, 0, 5)
        << QStringList{"08:00:00 Start play task: Eight"};
    QTest::newRow("same minute: the earlier in the list wins")
        << QStringList{"Base 0800 1200", "First 0900 1000", "Second 0900 1100"} << 0
        << at(8, 59, 50) << at(9, 1, 0)
        << QStringList{"08:59:50 Start play task: Base", "09:00:00 Start play task: First"};
    QTest::newRow("an ended task hands over to the next active one")
        << QStringList{"Base 0800 0900", "Long 0830 1200"} << 0 << at(8, 59, 55) << at(9, 1, 5)
        << QStringList{"08:59:55 Start play task: Base", "09:01:00 Start play task: Long"};
    QTest::newRow("a disabled task is never chosen")
        << QStringList{"!Off 0800 1200", "On 0900 1000"} << 0 << at(8, 59, 55) << at(9, 0, 5)
        << QStringList{"09:00:00 Start play task: On"};
}

void TestMusicSchedule::taskSelection() {
    QFETCH(QStringList, tasks);
    QFETCH(int, workFrom);
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, until);
    QFETCH(QStringList, started);

    MusicBench bench(from);
    bench.setWorkingHours(workFrom, 1800);
    for (const QString& text : tasks) {
        const QStringList w = text.split(u' ');
        MusicTask* task =
            bench.addTask(w[0].mid(w[0].startsWith(u'!') ? 1 : 0), w[1].toInt(), w[2].toInt());
        task->disabled = w[0].startsWith(u'!');
        bench.addBackground(task, bench.file(task->name + QStringLiteral(".mp3")));
    }
    bench.runUntil(until.time().hour(), until.time().minute(), until.time().second());
    QCOMPARE(bench.logLines(QStringLiteral("Start play task")), started);
}

void TestMusicSchedule::buildList_data() {
    QTest::addColumn<QString>("window"); // "0800 1200": the task's own times
    QTest::addColumn<int>("workFrom");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("interval 30 in the window")
        << "0800 1200" << 0 << QTime(7, 0) << QStringList{"every c 0800 0900 30"}
        << QStringList{"08:00 c", "08:30 c", "09:00 c"};
    QTest::newRow("working hours from 08:15 drop 08:00")
        << "0800 1200" << 815 << QTime(7, 0) << QStringList{"every c 0800 0900 30"}
        << QStringList{"08:30 c", "09:00 c"};
    QTest::newRow("stepping stops at the task's own end")
        << "0800 0840" << 0 << QTime(7, 0) << QStringList{"every c 0800 1000 15"}
        << QStringList{"08:00 c", "08:15 c", "08:30 c"};
    QTest::newRow("a range start outside the window still steps into it")
        << "0900 1200" << 0 << QTime(7, 0) << QStringList{"every c 0800 1000 30"}
        << QStringList{"09:00 c", "09:30 c", "10:00 c"};
    QTest::newRow("stepping stops at midnight")
        << "2300 2359" << 0 << QTime(22, 0) << QStringList{"every m 2300 2359 45"}
        << QStringList{"23:00 m", "23:45 m"};
    QTest::newRow("built at 10:07: earlier entries are done")
        << "0800 1200" << 0 << QTime(10, 7) << QStringList{"at b 0900 1007 1100"}
        << QStringList{"09:00 b done", "10:07 b", "11:00 b"};
    QTest::newRow("time points end at the first empty slot and keep to the window")
        << "0800 1200" << 0 << QTime(7, 0) << QStringList{"at b 1300 0930 0 1000"}
        << QStringList{"09:30 b"};
    QTest::newRow("background first, equal times in item order")
        << "0800 1200" << 0 << QTime(7, 0)
        << QStringList{"every x 0900 0900 0", "bg a", "at y 0900 0800", "bg b"}
        << QStringList{"bg a", "bg b", "08:00 y", "09:00 x", "09:00 y"};
}

void TestMusicSchedule::buildList() {
    QFETCH(QString, window);
    QFETCH(int, workFrom);
    QFETCH(QTime, now);
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);

    MusicBench bench(QDateTime(kMonday, now));
    bench.setWorkingHours(workFrom, 0);
    MusicTask* task =
        bench.addTask(QStringLiteral("T"), window.left(4).toInt(), window.mid(5).toInt());
    addItems(bench, task, items);
    bench.schedule->StartMusicTask(task);
    QCOMPARE(listText(*bench.schedule), expected);
    QCOMPARE(bench.schedule->backgroundCount(), int(expected.filter(QStringLiteral("bg ")).size()));
}

void TestMusicSchedule::buildingMidMorningPlaysTheDueEntryAtOnce() {
    MusicBench bench(at(10, 7, 0));
    MusicTask* task = bench.addTask(QStringLiteral("Morning"), 800, 1200);
    addItems(bench, task, {"bg a", "at b 0900 1007 1100"});
    bench.run(2);
    QCOMPARE(bench.takeLoads(), QStringList{"10:07:00 b.mp3"});
    QCOMPARE(listText(*bench.schedule),
             QStringList({"bg a", "09:00 b done", "10:07 b done", "11:00 b"}));
    const auto& list = bench.schedule->TodayMusicList();
    QCOMPARE(list[1].startCount, 0); // passed, not played
    QCOMPARE(list[2].startCount, 1);
    QCOMPARE(bench.schedule->currentEntryIndex(), 2);
}

void TestMusicSchedule::dueEntryBesidePlayingFile_data() {
    // A timed file P plays (or background music does); entry D falls due in
    // minute `dueAt` while P has `left` seconds to go at second `second`.
    QTest::addColumn<bool>("backgroundPlaying");
    QTest::addColumn<int>("dueAt");
    QTest::addColumn<int>("batchIndex"); // of D
    QTest::addColumn<bool>("sameBatch");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("outcome"); // "plays", "waits" or the new due time

    QTest::newRow("first of a batch, P ends before second 10: waits")
        << false << 901 << 0 << false << 2 << 5 << "waits";
    QTest::newRow("first of a batch, P runs past second 10: cuts in")
        << false << 901 << 0 << false << 55 << 5 << "plays";
    QTest::newRow("P ends exactly at second 10: cuts in")
        << false << 901 << 0 << false << 4 << 6 << "plays";
    QTest::newRow("follow-on, P ends before second 50: waits")
        << false << 901 << 1 << true << 10 << 30 << "waits";
    QTest::newRow("follow-on due with P's own minute: waits")
        << false << 900 << 1 << true << 30 << 300 << "waits";
    QTest::newRow("follow-on behind its own batch: moved back")
        << false << 901 << 1 << true << 0 << 130 << "09:03";
    QTest::newRow("follow-on of another batch: cuts in")
        << false << 901 << 1 << false << 0 << 130 << "plays";
    QTest::newRow("background music is cut at once")
        << true << 901 << 1 << true << 0 << 130 << "plays";
}

void TestMusicSchedule::dueEntryBesidePlayingFile() {
    QFETCH(bool, backgroundPlaying);
    QFETCH(int, dueAt);
    QFETCH(int, batchIndex);
    QFETCH(bool, sameBatch);
    QFETCH(int, second);
    QFETCH(int, left);
    QFETCH(QString, outcome);

    MusicBench bench(at(9, 0, 0));
    bench.state.workingNow = true;
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    bench.addBackground(task, bench.file(QStringLiteral("bg.mp3"), 600));
    PlayItem* p = bench.addTimePoints(task, bench.file(QStringLiteral("p.mp3"), 600),
                                      {backgroundPlaying ? 830 : 900});
    PlayItem* d = bench.addTimePoints(task, bench.file(QStringLiteral("d.mp3")), {dueAt});
    p->batchKey = 7;
    d->batchKey = sameBatch ? 7 : 8;
    d->batchIndex = batchIndex;

    bench.second(); // 09:00:00: the task starts, P (or the background) plays
    QCOMPARE(bench.takeLoads().size(), 1);
    bench.clock.set(QDateTime(kMonday, QTime(dueAt / 100, dueAt % 100, second)));
    bench.media.last->positionMs = bench.media.last->durationMs - qint64(left) * 1000;
    bench.schedule->Tick();

    const QStringList loads = bench.takeLoads();
    if (outcome == QLatin1String("plays")) {
        QCOMPARE(loads, QStringList{bench.timeStamp() + QStringLiteral(" d.mp3")});
        return;
    }
    QVERIFY(loads.isEmpty());
    const HhmmTime expectedDue =
        outcome == QLatin1String("waits") ? dueAt : ParseClockText(outcome);
    QVERIFY(entryOf(*bench.schedule, QStringLiteral("d"), expectedDue) >= 0);
}

void TestMusicSchedule::batchWaitsForItsLongFirstFile() {
    // Three files added as a batch were spaced by their measured lengths
    // (2:00 and 1:30), but the first really plays 4:00.
    MusicBench bench(at(8, 59, 59));
    MusicTask* task = bench.addTask(QStringLiteral("News"), 800, 1200);
    bench.addBackground(task, bench.file(QStringLiteral("a.mp3"), 600));
    const QList<QPair<QString, int>> files{{"n1", 240}, {"n2", 90}, {"n3", 60}};
    const QList<QList<HhmmTime>> points{{900, 1000}, {902, 1002}, {903, 1003}};
    for (int i = 0; i < 3; ++i) {
        PlayItem* item = bench.addTimePoints(
            task, bench.file(files[i].first + QStringLiteral(".mp3"), files[i].second), points[i]);
        item->batchKey = 1;
        item->batchIndex = i;
    }

    QList<int> changed;
    connect(bench.schedule, &MusicSchedule::entryChanged, [&](int index) { changed << index; });

    bench.runUntil(9, 7);
    QCOMPARE(bench.takeLoads(), QStringList({"08:59:59 a.mp3", "09:00:00 n1.mp3", "09:04:00 n2.mp3",
                                             "09:05:30 n3.mp3", "09:06:30 a.mp3"}));
    // The rest of this round moved back by n1's remaining two minutes; the
    // next round keeps its times.
    QCOMPARE(listText(*bench.schedule),
             QStringList({"bg a", "09:00 n1 done", "09:04 n2 done", "09:05 n3 done", "10:00 n1",
                          "10:02 n2", "10:03 n3"}));
    QVERIFY(changed.contains(2) && changed.contains(3));
}

void TestMusicSchedule::rotation_data() {
    // Background items a, b, c, ... of 10 s each, run for `seconds`.
    QTest::addColumn<int>("playOrder");
    QTest::addColumn<QList<int>>("playCounts");
    QTest::addColumn<QList<int>>("playedBefore");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QStringList>("expected");

    const int unlimited = kUnlimitedPlays;
    QTest::newRow("in order, limited items drop out")
        << 0 << QList<int>{unlimited, 2, 1} << QList<int>{0, 0, 0} << 80
        << QStringList{"a", "b", "c", "a", "b", "a", "a", "a"};
    QTest::newRow("all used up: silence")
        << 0 << QList<int>{1, 2} << QList<int>{0, 0} << 120 << QStringList{"a", "b", "b"};
    QTest::newRow("a count of 0 never plays")
        << 0 << QList<int>{0, unlimited} << QList<int>{0, 0} << 30 << QStringList{"b", "b", "b"};
    QTest::newRow("random, one eligible item: always that one")
        << 1 << QList<int>{1, 1, unlimited, 2} << QList<int>{1, 1, 0, 2} << 50
        << QStringList{"c", "c", "c", "c", "c"};
    QTest::newRow("random, the eligible item first in the list")
        << 1 << QList<int>{unlimited, 1, 1} << QList<int>{0, 1, 1} << 40
        << QStringList{"a", "a", "a", "a"};
}

void TestMusicSchedule::rotation() {
    QFETCH(int, playOrder);
    QFETCH(QList<int>, playCounts);
    QFETCH(QList<int>, playedBefore);
    QFETCH(int, seconds);
    QFETCH(QStringList, expected);

    MusicBench bench(at(9, 0, 0));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    task->playOrder = playOrder;
    for (int i = 0; i < playCounts.size(); ++i) {
        const QString name = QString(QChar(u'a' + i));
        bench.addBackground(task, bench.file(name + QStringLiteral(".mp3"), 10), playCounts[i]);
        task->items.back()->playedCount = playedBefore[i];
    }
    bench.schedule->StartMusicTask(task);
    // Already working: the first second must not reset the counts.
    bench.state.workingNow = true;

    bench.run(seconds);
    QStringList played;
    for (const QString& load : bench.takeLoads())
        played << load.mid(9).chopped(4);
    QCOMPARE(played, expected);
}

void TestMusicSchedule::rotationContinuesAfterRebuild() {
    MusicBench bench(at(9, 0, 0));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    addItems(bench, task, {"bg a", "bg b", "bg c", "at x 0901"});
    bench.run(20); // a, b at 10 s each
    bench.schedule->BuildTodayMusicList();
    bench.runUntil(9, 1, 30);
    QCOMPARE(bench.takeLoads(),
             QStringList({"09:00:00 a.mp3", "09:00:10 b.mp3", "09:00:20 c.mp3", "09:00:30 a.mp3",
                          "09:00:40 b.mp3", "09:00:50 c.mp3", "09:01:00 x.mp3", "09:01:10 a.mp3",
                          "09:01:20 b.mp3"}));
    QCOMPARE(bench.logLines(QStringLiteral("Playing: ")).size(), 9);
    QCOMPARE(bench.logLines().last(), QStringLiteral("09:01:20 Playing: b.mp3"));
}

void TestMusicSchedule::startingAnEntryByHand() {
    MusicBench bench(at(9, 0, 0));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    addItems(bench, task, {"bg a", "at b 0830 0900"});
    bench.lengths[QStringLiteral("a.mp3")] = 600;
    bench.lengths[QStringLiteral("b.mp3")] = 600;
    bench.second(); // b at 09:00
    MusicSchedule& s = *bench.schedule;
    const int past = entryOf(s, QStringLiteral("b"), 830);
    const int nine = entryOf(s, QStringLiteral("b"), 900);
    QCOMPARE(s.currentEntryIndex(), nine);

    s.PlayMusicEntry(nine, false); // the current row: nothing
    s.PlayMusicEntry(past, false); // done at build, never started
    s.PlayMusicEntry(0, false);    // background a
    s.PlayMusicEntry(nine, false); // done and started once already
    QCOMPARE(bench.takeLoads(),
             QStringList({"09:00:00 b.mp3", "09:00:01 b.mp3", "09:00:01 a.mp3", "09:00:01 b.mp3"}));
    QCOMPARE(s.TodayMusicList()[size_t(past)].startCount, 1);
    QCOMPARE(s.TodayMusicList()[size_t(nine)].startCount, 2);
    QCOMPARE(task->items[1]->playedCount, 3);
    QCOMPARE(s.currentEntryIndex(), nine);
    QCOMPARE(s.currentDueTime(), 900);
}

void TestMusicSchedule::missingFileMovesOnWithinASecond() {
    MusicBench bench(at(9, 0, 0));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    bench.addBackground(task, bench.missingFile(QStringLiteral("gone.mp3")));
    bench.addBackground(task, bench.file(QStringLiteral("b.mp3")));
    bench.run(2);
    QCOMPARE(bench.takeLoads(), QStringList{"09:00:01 b.mp3"});
    const QStringList log = bench.logLines();
    QCOMPARE(log.filter(QStringLiteral("Playing: ")),
             QStringList({"09:00:00 Playing: gone.mp3", "09:00:01 Playing: b.mp3"}));
    QVERIFY(log.filter(QStringLiteral("'")).first().endsWith(QStringLiteral("/gone.mp3'")));
    QCOMPARE(task->items[0]->playedCount, 1); // counted as started
}

void TestMusicSchedule::taskLeavingItsWindowStopsPlaying() {
    MusicBench bench(at(8, 59, 50));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 900);
    bench.addBackground(task, bench.file(QStringLiteral("a.mp3"), 600));
    bench.runUntil(9, 0, 59);
    bench.takeMediaCalls();
    bench.runUntil(9, 5);
    QCOMPARE(bench.takeLoads(), QStringList{"08:59:50 a.mp3"});
    QCOMPARE(bench.takeMediaCalls(), QStringList{"09:01:00 stop"});
    QVERIFY(!bench.schedule->currentTask());
    QVERIFY(bench.schedule->TodayMusicList().empty());
    QVERIFY(bench.player->IsPlayerIdle());
}

void TestMusicSchedule::switchRequestAndChooser() {
    MusicBench bench(at(9, 29, 58));
    MusicTask* a = bench.addTask(QStringLiteral("A"), 800, 1200);
    MusicTask* b = bench.addTask(QStringLiteral("B"), 830, 1200);
    MusicTask* c = bench.addTask(QStringLiteral("C"), 930, 1000);
    for (MusicTask* t : {a, b, c})
        bench.addBackground(t, bench.file(t->name + QStringLiteral(".mp3"), 600));
    MusicSchedule& s = *bench.schedule;
    bench.second();
    QCOMPARE(s.chooserTasks(), (QList<MusicTask*>{a, b}));
    QCOMPARE(s.chooserSelection(), 0);

    s.ChooseTask(1);
    bench.second(); // 09:29:59
    QCOMPARE(s.currentTask(), b);
    QCOMPARE(s.chooserSelection(), 1);
    bench.second(); // 09:30: C starts and joins the drop-down
    QCOMPARE(s.currentTask(), c);
    QCOMPARE(s.chooserTasks(), (QList<MusicTask*>{a, b, c}));
    QCOMPARE(s.chooserSelection(), 2);

    // A line whose task was switched off after the drop-down was filled.
    a->disabled = 1;
    s.ChooseTask(0);
    bench.second();
    QCOMPARE(s.currentTask(), c);
    QCOMPARE(s.chooserTasks(), (QList<MusicTask*>{b, c}));

    bench.runUntil(10, 1, 1); // C has ended; B is the first active again
    QCOMPARE(s.currentTask(), b);
    QCOMPARE(s.chooserTasks(), QList<MusicTask*>{b});
    QCOMPARE(bench.logLines(QStringLiteral("Start play task")),
             QStringList({"09:29:58 Start play task: A", "09:29:59 Start play task: B",
                          "09:30:00 Start play task: C", "10:01:00 Start play task: B"}));
    QCOMPARE(bench.takeLoads(),
             QStringList({"09:29:58 A.mp3", "09:29:59 B.mp3", "09:30:00 C.mp3", "09:40:00 C.mp3",
                          "09:50:00 C.mp3", "10:00:00 C.mp3", "10:01:00 B.mp3"}));
}

void TestMusicSchedule::nothingRunsWhenHeldBack_data() {
    QTest::addColumn<QString>("hold");
    QTest::newRow("logged out") << "logged out";
    QTest::newRow("paused") << "paused";
    QTest::newRow("outside working hours") << "not working";
}

void TestMusicSchedule::nothingRunsWhenHeldBack() {
    QFETCH(QString, hold);
    MusicBench bench(at(9, 0, 0));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    addItems(bench, task, {"bg a", "at b 0900"});
    if (hold == QLatin1String("logged out"))
        bench.state.currentUser.clear();
    bench.player->SetPaused(hold == QLatin1String("paused"));
    if (hold == QLatin1String("not working"))
        bench.setWorkingHours(1000, 1800);
    bench.run(70);
    QVERIFY(!bench.schedule->currentTask());
    QVERIFY(bench.takeLoads().isEmpty());
    QVERIFY(bench.logLines().isEmpty());
}

void TestMusicSchedule::zonesSentOnStart_data() {
    QTest::addColumn<QString>("transmitter");
    QTest::addColumn<QStringList>("commands");
    // The simulated transmitter starts with zones FF, 81 and 00; only what
    // differs goes out.
    QTest::newRow("with zone support")
        << "zones"
        << QStringList{"09:00:00 AT+PARTITIONA=10000001", "09:00:00 AT+PARTITIONA?",
                       "09:00:00 AT+PARTITIONC=11110000", "09:00:00 AT+PARTITIONC?"};
    QTest::newRow("without zone support") << "plain" << QStringList{};
    QTest::newRow("no transmitter") << "none" << QStringList{};
}

void TestMusicSchedule::zonesSentOnStart() {
    QFETCH(QString, transmitter);
    QFETCH(QStringList, commands);
    MusicBench bench(at(9, 0, 0));
    if (transmitter != QLatin1String("none"))
        bench.connectTransmitter(transmitter == QLatin1String("zones"));
    MusicTask* task = bench.addTask(QStringLiteral("T"), 800, 1200);
    task->zones1 = 0x81;
    task->zones2 = 0x81;
    task->zones3 = 0xF0;
    task->group1On = 0; // the masks count, not the check boxes
    bench.addBackground(task, bench.file(QStringLiteral("a.mp3")));
    bench.run(3);
    QCOMPARE(bench.takeCommands(), commands);
    QCOMPARE(bench.takeLoads(), QStringList{"09:00:00 a.mp3"});
}

void TestMusicSchedule::acrossMidnightAndTheClockChange_data() {
    // A task of the whole day, every file 10 s but b.mp3 10 minutes, on the
    // clocks of Berlin.
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("until");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QStringList>("missed"); // log lines

    const QDate monday(2026, 3, 2);
    const QDate spring(2027, 3, 28);
    const QDate autumn(2027, 10, 31);
    // The background entries of the new day's list are no timed entries due
    // at 00:00: the playing file goes on.
    QTest::newRow("midnight: the background plays on")
        << QDateTime(monday, QTime(23, 59, 40)) << QDateTime(monday.addDays(1), QTime(0, 1))
        << QStringList{"bg a", "bg b"} << QStringList{"23:59:40 a.mp3", "23:59:50 b.mp3"}
        << QStringList{};
    QTest::newRow("spring: the skipped hour is logged, a series from it goes on")
        << QDateTime(spring, QTime(1, 29, 50)) << QDateTime(spring, QTime(4, 30))
        << QStringList{"at c 0130 0230 0330", "every e 0215 0500 60"}
        << QStringList{"01:30:00 c.mp3", "03:30:00 c.mp3", "04:15:00 e.mp3"}
        << QStringList{"03:00:00 Missed: e.mp3 (02:15)", "03:00:00 Missed: c.mp3 (02:30)"};
    QTest::newRow("autumn: the repeated hour plays once")
        << QDateTime(autumn, QTime(1, 59, 50)) << QDateTime(autumn, QTime(3, 10))
        << QStringList{"every d 0130 0400 30"}
        << QStringList{"02:00:00 d.mp3", "02:30:00 d.mp3", "03:00:00 d.mp3"} << QStringList{};
}

void TestMusicSchedule::acrossMidnightAndTheClockChange() {
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, until);
    QFETCH(QStringList, items);
    QFETCH(QStringList, loads);
    QFETCH(QStringList, missed);
    const BerlinTime berlin;
    MusicBench bench(start);
    MusicTask* task = bench.addTask(QStringLiteral("All day"), 0, 2359);
    task->endDate = 20271231;
    addItems(bench, task, items);
    bench.file(QStringLiteral("b.mp3"), 600);
    while (bench.clock.now() < until)
        bench.second();
    QCOMPARE(bench.takeLoads(), loads);
    QCOMPARE(bench.logLines(QStringLiteral("Missed: ")), missed);
}

QTEST_GUILESS_MAIN(TestMusicSchedule)
#include "tst_musicschedule.moc"
