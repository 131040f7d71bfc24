// The station left running for days, second by second on the fake clock, with
// the fake media player and voice: the files play for their lengths and the
// voice takes its time. The run crosses midnight and a change of summer time
// (TZ=Europe/Berlin): every timed music entry and speech plays in its minute
// or is logged as missed, none plays twice for one due moment, nothing plays
// outside working hours, and the memory stays put.
//
// TOLVANE_LONGRUN_START (yyyy-MM-ddTHH:mm) and TOLVANE_LONGRUN_HOURS choose
// the stretch; without them the evening and the night the clock is put
// forward.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <unistd.h>

#include <map>
#include <memory>
#include <set>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "schedule/speechschedule.h"
#include "station/station.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "support/stringutils.h"
#include "transmitter/transmitterlink.h"

namespace {

// Seconds each file plays and each speech is heard.
const std::map<QString, int> kLengths{{"bed1.mp3", 200}, {"bed2.mp3", 185},     {"bed3.mp3", 241},
                                      {"news.mp3", 90},  {"chime.mp3", 20},     {"ads.mp3", 45},
                                      {"n1.mp3", 200},   {"n2.mp3", 60},        {"jingle.mp3", 30},
                                      {"Time check", 6}, {"Safety notice", 25}, {"Night notice", 8},
                                      {"Gap notice", 5}, {"Promo A", 75},       {"Promo B", 20}};

HhmmTime MinuteOf(const QDateTime& t) {
    return t.time().hour() * 100 + t.time().minute();
}

// "yyyy-MM-dd hh:mm name": one due moment of one entry.
QString Key(const QDate& date, HhmmTime minute, const QString& name) {
    return date.toString(Qt::ISODate) + u' ' + FormatClock(minute) + u' ' + name;
}

// AddressSanitizer keeps freed memory in quarantine, so the resident set
// grows without a leak; it finds leaks itself.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

qint64 ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

// A logged-in station in a temporary program folder, its transmitter link
// without a port, and a station's usual day of tasks.
struct Run {
    Run(const QDateTime& start, HhmmTime from, HhmmTime to) : clock(start) {
        QDir(folder.path()).mkpath(QStringLiteral("log"));
        SetAppFolderForTests(folder.path());
        SetEventLogClock(&clock);
        state.currentUser = QStringLiteral("admin");
        store = std::make_unique<DataStore>(clock);
        store->loading = 1; // the lists are filled here; no data file is written
        store->settings.speakDelay = 2;
        for (int g = 0; g < 7; ++g) {
            store->settings.dailyTime[size_t(2 * g)] = from;
            store->settings.dailyTime[size_t(2 * g + 1)] = to;
        }
        addTasks();
        auto tts = std::make_unique<FakeTtsBackend>();
        voice = tts.get();
        station = std::make_unique<Station>(*store, state, clock, link, media.factory(),
                                            std::move(tts), [this] { return ++ticks; });
        QObject::connect(
            &station->speechSchedule(), &SpeechSchedule::entryStarted, [this](int index) {
                const TodaySpeechEntry& entry =
                    station->speechSchedule().TodaySpeechList()[size_t(index)];
                speechStarts << Key(clock.now().date(), MinuteOf(clock.now()), entry.task->name);
            });
        QObject::connect(&station->musicSchedule(), &MusicSchedule::listRebuilt,
                         [this] { noteMusic(true); });
        QObject::connect(&station->speechSchedule(), &SpeechSchedule::listRebuilt,
                         [this] { noteSpeech(true); });
    }
    ~Run() {
        station.reset();
        SetEventLogClock(nullptr);
        SetAppFolderForTests(QString());
    }

    QString file(const QString& name) {
        const QString path = folder.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        return path;
    }
    MusicTask* musicTask(const QString& name, HhmmTime start, HhmmTime end) {
        auto task = std::make_unique<MusicTask>();
        task->name = name;
        task->startDate = 20270101;
        task->endDate = 20271231;
        task->startTime = start;
        task->endTime = end;
        task->weekdays = 0xFE;
        store->musicTasks.push_back(std::move(task));
        return store->musicTasks.back().get();
    }
    PlayItem* item(MusicTask* task, const QString& name, PlayItem::Kind kind) {
        auto item = std::make_unique<PlayItem>();
        item->kind = kind;
        item->path = file(name);
        item->playCount = kUnlimitedPlays;
        item->volume = 70;
        item->batchKey = int(task->items.size()) + 1;
        task->items.push_back(std::move(item));
        return task->items.back().get();
    }
    void every(MusicTask* task, const QString& name, HhmmTime from, HhmmTime to, int interval) {
        PlayItem* i = item(task, name, PlayItem::InsertPlay);
        i->rangeStart = from;
        i->rangeEnd = to;
        i->interval = interval;
    }
    PlayItem* at(MusicTask* task, const QString& name, const QList<HhmmTime>& points) {
        PlayItem* i = item(task, name, PlayItem::InsertPlay);
        i->timeMode = PlayItem::TimePoints;
        for (int k = 0; k < points.size(); ++k)
            i->timePoints[size_t(k)] = points[k];
        return i;
    }
    void speechTask(const QString& name, HhmmTime start, HhmmTime end, int interval) {
        auto task = std::make_unique<SpeechTask>();
        task->name = name;
        task->startDate = 20270101;
        task->endDate = 20271231;
        task->startTime = start;
        task->endTime = end;
        task->interval = interval;
        task->weekdays = 0xFE;
        task->text = name;
        store->speechTasks.push_back(std::move(task));
    }

    // Day tasks hand over at their starts; the overnight task, last in the
    // list, fills the rest and plays on through midnight. Chimes fall into
    // the hour that is skipped in spring and repeated in autumn.
    void addTasks() {
        MusicTask* morning = musicTask(QStringLiteral("Morning"), 600, 1159);
        item(morning, QStringLiteral("bed1.mp3"), PlayItem::Background);
        item(morning, QStringLiteral("bed2.mp3"), PlayItem::Background);
        every(morning, QStringLiteral("news.mp3"), 615, 1145, 30);
        at(morning, QStringLiteral("chime.mp3"), {730, 900, 1000});
        MusicTask* day = musicTask(QStringLiteral("Day"), 1200, 1759);
        day->playOrder = 1;
        item(day, QStringLiteral("bed2.mp3"), PlayItem::Background);
        item(day, QStringLiteral("bed3.mp3"), PlayItem::Background);
        every(day, QStringLiteral("ads.mp3"), 1210, 1750, 20);
        // A batch whose first file plays longer than the gap before the next.
        PlayItem* n1 = at(day, QStringLiteral("n1.mp3"), {1500});
        PlayItem* n2 = at(day, QStringLiteral("n2.mp3"), {1502});
        n2->batchKey = n1->batchKey;
        n2->batchIndex = 1;
        MusicTask* evening = musicTask(QStringLiteral("Evening"), 1800, 2159);
        item(evening, QStringLiteral("bed3.mp3"), PlayItem::Background);
        every(evening, QStringLiteral("jingle.mp3"), 1800, 2159, 60);
        MusicTask* night = musicTask(QStringLiteral("Overnight"), 0, 2359);
        item(night, QStringLiteral("bed1.mp3"), PlayItem::Background);
        item(night, QStringLiteral("bed3.mp3"), PlayItem::Background);
        every(night, QStringLiteral("jingle.mp3"), 0, 2359, 60);
        at(night, QStringLiteral("chime.mp3"), {130, 215, 245, 259, 330, 2359});

        speechTask(QStringLiteral("Time check"), 0, 2359, 60);
        speechTask(QStringLiteral("Safety notice"), 745, 1745, 120);
        speechTask(QStringLiteral("Night notice"), 130, 330, 30);
        speechTask(QStringLiteral("Gap notice"), 215, 215, 0);
        // Two promotions due together: the longer one, listed first, makes
        // the other miss its minute.
        speechTask(QStringLiteral("Promo B"), 1005, 1705, 180);
        speechTask(QStringLiteral("Promo A"), 1005, 1705, 180);
    }

    bool working(const QDateTime& t) const {
        const HhmmTime m = MinuteOf(t);
        const HhmmTime from = store->settings.dailyTime[0];
        const HhmmTime to = store->settings.dailyTime[1];
        return (from <= 0 || m >= from) && (to <= 0 || m <= to);
    }

    // A timed entry still to come is pending; a pending entry whose minute
    // has come is due. Entries already past when a list was built, and those
    // a rebuild dropped before their minute, never were.
    void note(std::set<QString>& pending, HhmmTime dueTime, bool done, const QString& name) {
        const QDateTime now = clock.now();
        const HhmmTime minute = MinuteOf(now);
        const QString key = Key(now.date(), dueTime, name);
        if (!done && dueTime >= minute)
            pending.insert(key);
        if (dueTime <= minute && pending.count(key))
            due.insert(key);
    }
    void noteMusic(bool rebuilt) {
        if (rebuilt)
            musicPending.clear();
        for (const TodayMusicEntry& e : station->musicSchedule().TodayMusicList()) {
            if (e.item->kind != PlayItem::Background)
                note(musicPending, e.dueTime, e.done, FileNamePart(e.item->path));
        }
    }
    void noteSpeech(bool rebuilt) {
        if (rebuilt)
            speechPending.clear();
        for (const TodaySpeechEntry& e : station->speechSchedule().TodaySpeechList())
            note(speechPending, e.dueTime, e.done, e.task->name);
    }

    // New lines of this month's log, each with the date it was written on.
    void readLog() {
        const QDate date = clock.now().date();
        const QString name = folder.filePath(QStringLiteral("log/")) +
                             QString::number(date.year()) + u'-' + QString::number(date.month()) +
                             QStringLiteral(".txt");
        if (log.fileName() != name) {
            log.close();
            log.setFileName(name);
        }
        if (!log.isOpen() && !log.open(QIODevice::ReadOnly))
            return;
        const QString text = QString::fromUtf8(log.readAll());
        for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            if (line.mid(9).startsWith(QLatin1String("Start play task: ")))
                taskStarted = true;
            if (line.mid(9).startsWith(QLatin1String("Missed: "))) {
                // "Missed: name (hh:mm)"
                const QString rest = line.mid(17);
                const int open = int(rest.lastIndexOf(QLatin1String(" (")));
                const HhmmTime minute = ParseClockText(rest.mid(open + 2, 5));
                // Written at midnight, for the day that just ended.
                const bool yesterday = line.startsWith(QLatin1String("00:00:")) && minute > 0;
                missed << Key(yesterday ? date.addDays(-1) : date, minute, rest.left(open));
            }
        }
    }

    // One second: the station's tick, what it started, the media and the
    // voice moving on, then the clock.
    void second() {
        const QDateTime now = clock.now();
        FakeMediaBackend& backend = *media.last;
        const bool bedPlaying = backend.state == MediaBackend::PlayState::Playing &&
                                playing.startsWith(QLatin1String("bed"));
        taskStarted = false;
        station->Tick();
        noteMusic(false);
        noteSpeech(false);
        readLog();
        for (const QString& call : backend.takeCalls()) {
            if (call.startsWith(QLatin1String("load "))) {
                playing = FileNamePart(call.mid(5));
                // Only a new task takes the rotation over from the bed.
                if (bedPlaying && playing.startsWith(QLatin1String("bed")) && !taskStarted)
                    cutBeds << now.toString(Qt::ISODate) + u' ' + playing;
                const auto length = kLengths.find(playing);
                backend.durationMs = length == kLengths.end() ? 180000 : length->second * 1000;
                loads << Key(now.date(), MinuteOf(now), playing);
            }
            if ((call == QLatin1String("play") || call.startsWith(QLatin1String("load "))) &&
                !working(now))
                outsideHours << now.toString(Qt::ISODate) + u' ' + call;
        }
        for (const QString& call : voice->takeCalls()) {
            if (!call.startsWith(QLatin1String("speak ")))
                continue;
            speaks << call.mid(6);
            speechLeft = kLengths.at(call.mid(6));
            if (!working(now))
                outsideHours << now.toString(Qt::ISODate) + u' ' + call;
        }
        if (backend.state == MediaBackend::PlayState::Playing) {
            backend.positionMs += 1000;
            if (backend.positionMs >= backend.durationMs)
                backend.finish();
        }
        if (speechLeft > 0 && --speechLeft == 0)
            voice->finish();

        clock.advance(1);
        const QDateTime next = clock.now();
        if (next.toSecsSinceEpoch() != now.toSecsSinceEpoch() + 1 ||
            (now.time().msecsTo(next.time()) + 86400000) % 86400000 != 1000)
            clockJumps << now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")) + " -> " +
                              next.toString(QStringLiteral("HH:mm:ss t"));
    }

    QTemporaryDir folder;
    FakeClock clock;
    AppState state;
    std::unique_ptr<DataStore> store;
    TransmitterLink link;
    FakeMediaSource media;
    FakeTtsBackend* voice = nullptr;
    qint64 ticks = 1;
    std::unique_ptr<Station> station;

    QFile log;
    QString playing;
    int speechLeft = 0;
    bool taskStarted = false;       // in this second
    std::set<QString> musicPending; // entries still to come
    std::set<QString> speechPending;
    std::set<QString> due;    // entries whose minute came
    QStringList loads;        // every file loaded, as a key
    QStringList speechStarts; // every speech entry started, as a key
    QStringList speaks;       // every text spoken
    QStringList missed;       // every "Missed:" line, as a key
    QStringList outsideHours; // anything that sounded outside working hours
    QStringList cutBeds;      // background files cut short by another one
    QStringList clockJumps;   // seconds the wall clock did not move by one
};

// The wall clock of Europe/Berlin on the days it changes.
const std::map<QDate, QString> kClockChanges{
    {QDate(2027, 3, 28), QStringLiteral("2027-03-28 01:59:59 CET -> 03:00:00 CEST")},
    {QDate(2027, 10, 31), QStringLiteral("2027-10-31 02:59:59 CEST -> 02:00:00 CET")}};

} // namespace

class TestLongRun : public QObject {
    Q_OBJECT

private slots:
    void days_data();
    void days();
};

void TestLongRun::days_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("working 07:30-18:00") << 730 << 1800;
    // Working through the night, so that the skipped or repeated hour counts.
    QTest::newRow("working all day") << 0 << 0;
}

void TestLongRun::days() {
    QFETCH(int, from);
    QFETCH(int, to);
    QVERIFY2(QTimeZone::systemTimeZoneId() == "Europe/Berlin", "run with TZ=Europe/Berlin");
    const QByteArray startText = qgetenv("TOLVANE_LONGRUN_START");
    const QDateTime start =
        startText.isEmpty() ? QDateTime(QDate(2027, 3, 27), QTime(17, 0))
                            : QDateTime::fromString(QString::fromLatin1(startText), Qt::ISODate);
    const int hours = qEnvironmentVariableIsSet("TOLVANE_LONGRUN_HOURS")
                          ? qEnvironmentVariableIntValue("TOLVANE_LONGRUN_HOURS")
                          : 11;
    QVERIFY(start.isValid() && hours >= 3);

    Run run(start, from, to);
    run.station->CheckWorkingTime();
    qint64 residentAtHour2 = 0;
    for (int hour = 0; hour < hours; ++hour) {
        for (int s = 0; s < 3600; ++s)
            run.second();
        if (hour == 1)
            residentAtHour2 = ResidentBytes();
    }
    const qint64 residentAtEnd = ResidentBytes();
    qInfo("%s: resident set after hour 2: %lld KiB, after hour %d: %lld KiB",
          QTest::currentDataTag(), residentAtHour2 / 1024, hours, residentAtEnd / 1024);
    qInfo("%d files loaded, %d speeches, %d due entries, %d missed", int(run.loads.size()),
          int(run.speaks.size()), int(run.due.size()), int(run.missed.size()));

    // The wall clock shows what Berlin's clocks show.
    QStringList changes;
    for (const auto& [day, change] : kClockChanges) {
        if (day >= start.date() && day <= run.clock.now().date())
            changes << change;
    }
    QCOMPARE(run.clockJumps, changes);

    QCOMPARE(run.outsideHours, QStringList());
    QCOMPARE(run.cutBeds, QStringList());
    // Each due moment once: played in its minute, or logged as missed.
    QStringList inserts = run.loads;
    inserts.erase(std::remove_if(inserts.begin(), inserts.end(),
                                 [](const QString& key) { return key.contains(" bed"); }),
                  inserts.end());
    QStringList outcomes = inserts + run.speechStarts + run.missed;
    outcomes.sort();
    const QStringList expected(run.due.begin(), run.due.end());
    QStringList unheard; // due, neither played nor logged
    std::set_difference(expected.begin(), expected.end(), outcomes.begin(), outcomes.end(),
                        std::back_inserter(unheard));
    QStringList extra; // played or logged again, or without being due
    std::set_difference(outcomes.begin(), outcomes.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    QVERIFY2(unheard.isEmpty() && extra.isEmpty(),
             qPrintable(QStringLiteral("unheard: ") + unheard.join(QStringLiteral(", ")) +
                        QStringLiteral("; again or never due: ") +
                        extra.join(QStringLiteral(", "))));
    QCOMPARE(run.speaks.size(), run.speechStarts.size());
    // The promotions collide every working day: the missed path is taken.
    if (hours >= 24)
        QVERIFY(!run.missed.isEmpty());
    if (!kAddressSanitizer)
        QVERIFY(residentAtEnd - residentAtHour2 <= 1024 * 1024);
}

QTEST_GUILESS_MAIN(TestLongRun)
#include "tst_longrun.moc"
