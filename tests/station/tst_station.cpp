// The station's core without a widget, on the fake clock, the fake media
// player and voice and a simulated transmitter behind a scripted port: the
// working hours, the day change at midnight, the idle switch-off and the wake,
// the hand-back to music, the rebuild of today's music list for the editing
// panels, and the station's own timer.

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "fakeclock.h"
#include "fakemedia.h"
#include "fakeport.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "simtransmitter.h"
#include "station/station.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "transmitter/transmitterlink.h"

namespace {

const QDate kMonday(2026, 3, 2);

// A logged-in station in a temporary program folder, on a link to a
// simulated transmitter (not connected until a test asks) and on ticks that
// the test moves by hand.
struct Rig {
    explicit Rig(const QDateTime& start) : clock(start) {
        QDir(folder.path()).mkpath(QStringLiteral("log"));
        SetAppFolderForTests(folder.path());
        SetEventLogClock(&clock);
        state.currentUser = QStringLiteral("admin");
        store = std::make_unique<DataStore>(clock);
        store->loading = 1; // the lists are filled by hand; no data file is written
        store->settings.speakDelay = 0;
        auto tts = std::make_unique<FakeTtsBackend>();
        voice = tts.get();
        station = std::make_unique<Station>(*store, state, clock, link, media.factory(),
                                            std::move(tts), [this] { return ticks; });
    }
    ~Rig() {
        station.reset();
        SetEventLogClock(nullptr);
        SetAppFolderForTests(QString());
    }

    FakeMediaBackend& backend() const { return *media.last; }
    Player& player() const { return station->player(); }
    MusicSchedule& music() const { return station->musicSchedule(); }

    void connectTransmitter() {
        transmitter = std::make_shared<SimTransmitter>(SimProfile(), SimMisbehaviour());
        link.setPortOpener([this](int n) -> std::unique_ptr<SerialPort> {
            if (n != 1)
                return nullptr;
            auto port = std::make_unique<FakePort>();
            port->setResponder(
                [this](const QByteArray& command) { return transmitter->answer(command); });
            return port;
        });
        QVERIFY(link.ChangeDeviceState(kDeviceConnect));
    }

    // A music file that exists.
    QString file(const QString& name) {
        const QString path = folder.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        return path;
    }

    // A task of every day of 2026, appended in stored order.
    MusicTask* addMusicTask(const QString& name, HhmmTime start, HhmmTime end) {
        auto task = std::make_unique<MusicTask>();
        task->name = name;
        task->startDate = 20260101;
        task->endDate = 20261231;
        task->startTime = start;
        task->endTime = end;
        task->weekdays = 0xFE;
        store->musicTasks.push_back(std::move(task));
        return store->musicTasks.back().get();
    }
    PlayItem* addItem(MusicTask* task, PlayItem::Kind kind, const QString& name) {
        auto item = std::make_unique<PlayItem>();
        item->kind = kind;
        item->path = file(name);
        item->playCount = kUnlimitedPlays;
        item->volume = 70;
        task->items.push_back(std::move(item));
        return task->items.back().get();
    }
    SpeechTask* addSpeechTask(const QString& name, HhmmTime start, HhmmTime end, int interval) {
        auto task = std::make_unique<SpeechTask>();
        task->name = name;
        task->startDate = 20260101;
        task->endDate = 20261231;
        task->startTime = start;
        task->endTime = end;
        task->interval = interval;
        task->weekdays = 0xFE;
        task->text = name;
        store->speechTasks.push_back(std::move(task));
        return store->speechTasks.back().get();
    }

    void setWorkingHours(int weekday, HhmmTime from, HhmmTime to) {
        store->settings.dailyTime[size_t(2 * weekday)] = from;
        store->settings.dailyTime[size_t(2 * weekday + 1)] = to;
    }

    // One second: the station's tick, then the clock moves on. The medium
    // plays on until the test ends it.
    void second() {
        station->Tick();
        clock.advance(1);
    }
    void runUntil(const QDateTime& end) {
        while (clock.now() < end)
            second();
    }

    // "hh:mm:ss message" for every log line starting with `prefix`.
    QStringList logLines(const QString& prefix) const {
        QStringList found;
        const QDir logs(folder.filePath(QStringLiteral("log")));
        for (const QString& name : logs.entryList(QDir::Files, QDir::Name)) {
            QFile f(logs.filePath(name));
            f.open(QIODevice::ReadOnly);
            for (const QString& line :
                 QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
                if (line.mid(9).startsWith(prefix))
                    found << line;
            }
        }
        return found;
    }

    QTemporaryDir folder;
    FakeClock clock;
    AppState state;
    std::unique_ptr<DataStore> store;
    TransmitterLink link;
    std::shared_ptr<SimTransmitter> transmitter;
    FakeMediaSource media;
    FakeTtsBackend* voice = nullptr;
    qint64 ticks = 1;
    std::unique_ptr<Station> station;
};

} // namespace

class TestStation : public QObject {
    Q_OBJECT

private slots:
    void workingHours_data();
    void workingHours();
    void leavingWorkingTimeStopsAndRebuilds();
    void newDateRebuildsTheLists();
    void dayChange_data();
    void dayChange();
    void idleSwitchOff_data();
    void idleSwitchOff();
    void wake_data();
    void wake();
    void idleHandBackNeedsAUser_data();
    void idleHandBackNeedsAUser();
    void rebuildKeepsThePlayingEntry_data();
    void rebuildKeepsThePlayingEntry();
    void timerRunsTheStation();
};

void TestStation::workingHours_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<bool>("working");
    QTest::addColumn<int>("shownFrom");
    QTest::addColumn<int>("shownTo");
    QTest::newRow("inside") << 900 << 2100 << QTime(9, 0) << true << 900 << 2100;
    QTest::newRow("last minute") << 900 << 2100 << QTime(21, 0, 59) << true << 900 << 2100;
    QTest::newRow("after") << 900 << 2100 << QTime(21, 1) << false << 900 << 2100;
    QTest::newRow("before") << 900 << 2100 << QTime(8, 59) << false << 900 << 2100;
    QTest::newRow("no bounds") << 0 << 0 << QTime(0, 0) << true << 0 << 2400;
    QTest::newRow("end 2400 means none") << 800 << 2400 << QTime(23, 30) << true << 800 << 2400;
}

void TestStation::workingHours() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QTime, time);
    QFETCH(bool, working);
    QFETCH(int, shownFrom);
    QFETCH(int, shownTo);
    Rig rig(QDateTime(kMonday, time));
    rig.setWorkingHours(0, from, to);
    QSignalSpy changed(rig.station.get(), &Station::workingHoursChanged);
    rig.station->CheckWorkingTime();
    QCOMPARE(rig.state.workingNow, working);
    QCOMPARE(rig.state.todayYmd, 20260302);
    const WorkingHours& hours = rig.station->workingHours();
    QCOMPARE(hours.working, working);
    QCOMPARE(hours.weekday, 0);
    QCOMPARE(hours.from, shownFrom);
    QCOMPARE(hours.to, shownTo);
    // Told once, and not again while nothing changes.
    rig.station->CheckWorkingTime();
    QCOMPARE(changed.count(), 1);
}

void TestStation::leavingWorkingTimeStopsAndRebuilds() {
    Rig rig(QDateTime(kMonday, QTime(20, 59, 30)));
    rig.setWorkingHours(0, 900, 2100);
    rig.addItem(rig.addMusicTask(QStringLiteral("All day"), 0, 2359), PlayItem::Background,
                QStringLiteral("a.mp3"));
    rig.addSpeechTask(QStringLiteral("Hourly"), 0, 2359, 60);
    rig.station->start();
    rig.station->stop(); // the test drives the seconds
    QVERIFY(rig.state.workingNow);
    // The music task becomes current at the first tick, and the speech list
    // holds today's hours up to the end of working time.
    rig.second();
    QVERIFY(rig.music().currentTask());
    QCOMPARE(rig.player().playerState(), int(Player::Started));
    QVERIFY(!rig.station->speechSchedule().TodaySpeechList().empty());

    rig.clock.set(2026, 3, 2, 21, 0, 59);
    rig.station->Tick();
    QVERIFY(rig.state.workingNow);
    QVERIFY(rig.music().currentTask());

    rig.clock.set(2026, 3, 2, 21, 1, 0);
    rig.backend().takeCalls();
    rig.station->Tick();
    QVERIFY(!rig.state.workingNow);
    QVERIFY(!rig.station->workingHours().working);
    QVERIFY(rig.backend().takeCalls().contains(QStringLiteral("stop")));
    QCOMPARE(rig.player().playerState(), int(Player::Empty));
    QVERIFY(!rig.music().currentTask());
    QVERIFY(rig.station->speechSchedule().TodaySpeechList().empty());
}

void TestStation::newDateRebuildsTheLists() {
    // Working hours cover the whole day, so working time never ends.
    Rig rig(QDateTime(kMonday, QTime(23, 30)));
    rig.addSpeechTask(QStringLiteral("Hourly"), 0, 2359, 60);
    rig.station->CheckWorkingTime();
    const SpeechSchedule& speech = rig.station->speechSchedule();
    const auto& list = speech.TodaySpeechList();
    QCOMPARE(int(list.size()), 24);
    QVERIFY(
        std::all_of(list.begin(), list.end(), [](const TodaySpeechEntry& e) { return e.done; }));

    rig.clock.set(2026, 3, 2, 23, 59, 59);
    rig.station->Tick();
    QVERIFY(list.back().done);

    // The first tick of Tuesday builds the lists for the new day, and the
    // 00:00 speech starts in that very tick.
    rig.clock.set(2026, 3, 3, 0, 0, 0);
    rig.station->Tick();
    QCOMPARE(rig.state.todayYmd, 20260303);
    QVERIFY(rig.state.workingNow);
    QCOMPARE(list.front().dueTime, 0);
    QCOMPARE(speech.currentEntryIndex(), 0);
    QCOMPARE(rig.voice->takeCalls().filter(QStringLiteral("speak ")),
             QStringList{QStringLiteral("speak Hourly")});

    // Later ticks of the same day leave the lists alone.
    rig.clock.set(2026, 3, 3, 0, 0, 30);
    rig.station->Tick();
    QCOMPARE(speech.currentEntryIndex(), 0);
}

void TestStation::dayChange_data() {
    QTest::addColumn<int>("start"); // the task's window, HHMM
    QTest::addColumn<int>("end");
    QTest::addColumn<QStringList>("started"); // "Start play task" log lines
    QTest::addColumn<QStringList>("loads");   // files the player loaded
    QTest::addColumn<bool>("stopped");        // the player was stopped in between
    // Nothing plays before midnight; the task is due at 00:00 and starts once.
    QTest::newRow("task due at midnight") << 0 << 100 << QStringList{"00:00:00 Start play task: T"}
                                          << QStringList{"00:00:00 bed.mp3"} << false;
    // Playing since 23:59 on the day before: the new day's list takes over
    // the playing entry, the music goes on.
    QTest::newRow("task running through midnight")
        << 0 << 2359 << QStringList{"23:59:58 Start play task: T"}
        << QStringList{"23:59:58 bed.mp3"} << false;
}

void TestStation::dayChange() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QStringList, started);
    QFETCH(QStringList, loads);
    QFETCH(bool, stopped);
    Rig rig(QDateTime(kMonday, QTime(23, 59, 58)));
    MusicTask* task = rig.addMusicTask(QStringLiteral("T"), start, end);
    if (end == 100)
        task->startDate = 20260303; // first due on Tuesday
    rig.addItem(task, PlayItem::Background, QStringLiteral("bed.mp3"));
    rig.station->CheckWorkingTime();
    QSignalSpy rebuilt(&rig.music(), &MusicSchedule::listRebuilt);

    QStringList loaded;
    QStringList calls;
    const QDateTime until(QDate(2026, 3, 3), QTime(0, 0, 3));
    while (rig.clock.now() < until) {
        const QString stamp = rig.clock.now().toString(QStringLiteral("HH:mm:ss "));
        rig.second();
        for (const QString& call : rig.backend().takeCalls()) {
            calls << call;
            if (call.startsWith(QLatin1String("load ")))
                loaded << stamp + QFileInfo(call.mid(5)).fileName();
        }
    }
    QCOMPARE(rig.logLines(QStringLiteral("Start play task")), started);
    QCOMPARE(loaded, loads);
    // Only the stop that makes way for the first file.
    QCOMPARE(calls.count(QStringLiteral("stop")) > 0, stopped);
    QVERIFY(rebuilt.count() > 0); // built for Tuesday
    QCOMPARE(rig.music().currentTask(), task);
    QCOMPARE(rig.music().currentPath(), task->items[0]->path);
    QCOMPARE(rig.player().playerState(), int(Player::Started));
}

void TestStation::idleSwitchOff_data() {
    QTest::addColumn<int>("idleTime");
    QTest::addColumn<int>("workFrom"); // today's working hours; 0 no bound
    QTest::addColumn<int>("workTo");
    QTest::addColumn<QString>("sound"); // what sounds while silence is timed
    QTest::addColumn<bool>("switchedOff");
    QTest::newRow("silence") << 600000 << 0 << 0 << "none" << true;
    QTest::newRow("music restarts the count") << 600000 << 0 << 0 << "music" << true;
    QTest::newRow("speech restarts the count") << 600000 << 0 << 0 << "speech" << true;
    QTest::newRow("outside working time") << 600000 << 800 << 1000 << "none" << false;
    QTest::newRow("no idle time") << 0 << 0 << 0 << "none" << false;
}

void TestStation::idleSwitchOff() {
    QFETCH(int, idleTime);
    QFETCH(int, workFrom);
    QFETCH(int, workTo);
    QFETCH(QString, sound);
    QFETCH(bool, switchedOff);
    Rig rig(QDateTime(kMonday, QTime(12, 0)));
    rig.setWorkingHours(0, workFrom, workTo);
    rig.connectTransmitter();
    rig.station->setIdleTime(idleTime);
    rig.station->CheckWorkingTime();

    // Silence is timed from the first tick; something sounds 5 minutes
    // later, and the count starts again at the first tick after it ended.
    rig.station->Tick();
    qint64 silentSince = rig.ticks;
    if (sound != QLatin1String("none")) {
        rig.ticks += 300000;
        if (sound == QLatin1String("music")) {
            rig.player().PlayFile(rig.file(QStringLiteral("a.mp3")));
            rig.backend().state = MediaBackend::PlayState::Playing;
        } else {
            rig.station->speechJob().SpeakInstantText(QStringLiteral("Hello"), false);
        }
        rig.station->Tick();
        rig.backend().finish();
        rig.voice->finish();
        rig.ticks += 1000;
        rig.station->Tick(); // a speech ends in this tick, before silence is looked at
        silentSince = rig.ticks;
    }

    rig.ticks = silentSince + 600000;
    rig.station->Tick();
    QCOMPARE(rig.link.IsConnected(), true);
    rig.ticks = silentSince + 601000;
    rig.station->Tick();
    QCOMPARE(rig.link.switchedOff(), switchedOff);
    QCOMPARE(rig.transmitter->outputOn(), !switchedOff);
    QCOMPARE(rig.logLines(QStringLiteral("Shutdown!")).size(), switchedOff ? 1 : 0);
}

void TestStation::wake_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("workTo"); // today's working hours end
    QTest::addColumn<bool>("woken");
    QTest::newRow("music during working time") << "music" << 0 << true;
    QTest::newRow("scheduled speech during working time") << "speech" << 0 << true;
    QTest::newRow("preview: never") << "preview" << 0 << false;
    QTest::newRow("outside working time") << "music" << 1100 << false;
}

void TestStation::wake() {
    QFETCH(QString, what);
    QFETCH(int, workTo);
    QFETCH(bool, woken);
    Rig rig(QDateTime(kMonday, QTime(12, 0)));
    rig.setWorkingHours(0, 0, workTo);
    rig.connectTransmitter();
    rig.station->setIdleTime(600000);
    rig.station->CheckWorkingTime();
    rig.station->Tick(); // silence is timed from here
    QVERIFY(rig.link.ChangeDeviceState(kDeviceSwitchOffOrWake));
    QVERIFY(rig.link.switchedOff());
    QSignalSpy busy(rig.station.get(), &Station::linkBusy);

    PlayItem item;
    item.path = rig.file(QStringLiteral("a.mp3"));
    if (what == QLatin1String("speech")) {
        SpeechRequest request;
        request.text = QStringLiteral("Attention");
        rig.station->speechJob().StartSpeechJob(&request, true);
    } else {
        rig.player().PlayMusicItem(&item, what == QLatin1String("music"));
    }
    QCOMPARE(rig.link.IsConnected(), woken);
    QCOMPARE(rig.transmitter->outputOn(), woken);
    // Whoever shows the busy cursor hears of the blocking exchange.
    QCOMPARE(busy.count(), woken ? 2 : 0);
    if (!woken)
        return;
    // The wake restarts the silence count: the silence timed before it does
    // not switch the transmitter off again.
    rig.backend().finish();
    rig.voice->finish();
    rig.ticks += 600001;
    rig.station->Tick();
    rig.station->Tick();
    QVERIFY(rig.link.IsConnected());
}

void TestStation::idleHandBackNeedsAUser_data() {
    QTest::addColumn<bool>("loggedIn");
    QTest::newRow("logged in: the next item plays") << true;
    QTest::newRow("nobody logged in: nothing") << false;
}

void TestStation::idleHandBackNeedsAUser() {
    QFETCH(bool, loggedIn);
    Rig rig(QDateTime(kMonday, QTime(12, 0)));
    rig.addItem(rig.addMusicTask(QStringLiteral("T"), 800, 1800), PlayItem::Background,
                QStringLiteral("a.mp3"));
    rig.station->CheckWorkingTime();
    rig.station->Tick();
    QCOMPARE(rig.player().playerState(), int(Player::Started));
    if (!loggedIn)
        rig.state.currentUser.clear();
    rig.backend().finish();
    rig.backend().takeCalls();
    rig.station->Tick();
    QCOMPARE(rig.backend().takeCalls().filter(QStringLiteral("load ")).size(), loggedIn ? 1 : 0);
}

void TestStation::rebuildKeepsThePlayingEntry_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("playsOn");
    QTest::addColumn<int>("volume"); // the player's volume afterwards
    QTest::newRow("volume of the item changed") << "item volume" << true << 40;
    QTest::newRow("item volume 0: the task's") << "item volume 0" << true << 55;
    QTest::newRow("playing file taken out") << "item removed" << false << 70;
    QTest::newRow("task no longer active") << "window ended" << false << 70;
}

void TestStation::rebuildKeepsThePlayingEntry() {
    QFETCH(QString, edit);
    QFETCH(bool, playsOn);
    QFETCH(int, volume);
    Rig rig(QDateTime(kMonday, QTime(12, 0)));
    MusicTask* task = rig.addMusicTask(QStringLiteral("T"), 800, 1800);
    task->volume = 55;
    PlayItem* bed = rig.addItem(task, PlayItem::Background, QStringLiteral("bed.mp3"));
    rig.addItem(task, PlayItem::Background, QStringLiteral("other.mp3"));
    rig.station->CheckWorkingTime();
    rig.station->Tick();
    QCOMPARE(rig.music().currentEntryIndex(), 0);
    rig.backend().takeCalls();

    // What the task editor does to the current task, then the rebuild.
    if (edit == QLatin1String("item volume"))
        bed->volume = 40;
    else if (edit == QLatin1String("item volume 0"))
        bed->volume = 0;
    else if (edit == QLatin1String("item removed"))
        task->items.erase(task->items.begin());
    else
        task->endTime = 1159;
    rig.station->RebuildTodayMusicList();

    const QStringList calls = rig.backend().takeCalls();
    QCOMPARE(calls.contains(QStringLiteral("stop")), !playsOn);
    QVERIFY(calls.filter(QStringLiteral("load ")).isEmpty());
    QCOMPARE(rig.backend().volume(), volume);
    QCOMPARE(rig.music().currentEntryIndex(), playsOn ? 0 : -1);
    QCOMPARE(rig.music().currentTask() != nullptr, edit != QLatin1String("window ended"));
}

void TestStation::timerRunsTheStation() {
    Rig rig(QDateTime(kMonday, QTime(10, 0)));
    rig.addItem(rig.addMusicTask(QStringLiteral("T"), 800, 1800), PlayItem::Background,
                QStringLiteral("a.mp3"));
    rig.addSpeechTask(QStringLiteral("Safety notice"), 1000, 1000, 0);
    rig.station->start();
    QVERIFY(rig.state.workingNow);
    QTRY_VERIFY_WITH_TIMEOUT(rig.music().currentTask(), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.station->speechSchedule().currentEntryIndex(), 0, 3000);
    QVERIFY(rig.voice->calls.contains(QStringLiteral("speak Safety notice")));
    rig.station->stop();
}

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
