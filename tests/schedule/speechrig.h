#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/player.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/eventlog.h"

// A station's speech side without sound: a temporary program folder with a
// log, the data store, the player on the fake media player and the fake
// voice, the speech job and the speech schedule. What the station would do
// on their signals is recorded in `events` ("wake", "clear music entry",
// "next music"); the end of a job ends the schedule's entry. Working hours
// are on and a user is logged in.
struct SpeechRig {
    explicit SpeechRig(const QDateTime& start, bool withVoice = true) : clock(start) {
        QDir(folder.path()).mkpath(QStringLiteral("log"));
        SetAppFolderForTests(folder.path());
        SetEventLogClock(&clock);
        state.currentUser = QStringLiteral("admin");
        state.currentRole = 1;
        state.workingNow = true;
        store = std::make_unique<DataStore>(clock, folder.filePath(QStringLiteral("data")));
        store->settings.speakDelay = 3;
        store->settings.ttsBackgroundVolume = 10;

        std::unique_ptr<FakeTtsBackend> tts;
        if (withVoice) {
            tts = std::make_unique<FakeTtsBackend>();
            voice = tts.get();
        }
        player = std::make_unique<Player>(media.factory(), std::move(tts), clock, &store->settings);
        job = std::make_unique<SpeechJob>(*player, *store, state);
        schedule = std::make_unique<SpeechSchedule>(*store, clock, state, *player, *job);

        const auto wake = [this] { events << QStringLiteral("wake"); };
        QObject::connect(player.get(), &Player::wakeRequested, wake);
        QObject::connect(job.get(), &SpeechJob::wakeRequested, wake);
        QObject::connect(player.get(), &Player::nextMusicWanted, [this] {
            if (!state.loggedIn())
                return;
            events << QStringLiteral("next music");
            if (onNextMusic)
                onNextMusic();
        });
        QObject::connect(job.get(), &SpeechJob::backgroundMusicStarted,
                         [this] { events << QStringLiteral("clear music entry"); });
        QObject::connect(job.get(), &SpeechJob::speechEnded, schedule.get(),
                         &SpeechSchedule::EndCurrentEntry);
    }

    ~SpeechRig() {
        schedule.reset();
        job.reset();
        player.reset();
        SetEventLogClock(nullptr);
        SetAppFolderForTests(QString());
    }

    FakeMediaBackend* backend() const { return media.last; }

    // Appends a speech task active every day of 2026, in stored order.
    SpeechTask* addTask(const QString& name, HhmmTime start, HhmmTime end, int interval = 0) {
        auto task = std::make_unique<SpeechTask>();
        task->name = name;
        task->startDate = 20260101;
        task->endDate = 20261231;
        task->startTime = start;
        task->endTime = end;
        task->interval = interval;
        task->weekdays = 0xfe;
        task->text = name + QStringLiteral(" text");
        store->speechTasks.push_back(std::move(task));
        return store->speechTasks.back().get();
    }

    void addBackgroundMusic(const QString& path, int volume) {
        auto music = std::make_unique<SpeechBackgroundMusic>();
        music->path = path;
        music->volume = volume;
        store->backgroundMusic.push_back(std::move(music));
    }

    // Today's working hours; 0 means no bound.
    void setWorkingHours(HhmmTime from, HhmmTime to) {
        const int g = clock.now().date().dayOfWeek() - 1;
        store->settings.dailyTime[size_t(2 * g)] = from;
        store->settings.dailyTime[size_t(2 * g + 1)] = to;
    }

    // A file that exists in the program folder.
    QString file(const QString& name) {
        const QString path = folder.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }

    // Music playing at `volume`, as the music schedule would start it.
    void playMusic(const QString& path, int volume) {
        PlayItem item;
        item.path = path;
        item.volume = volume;
        player->PlayMusicItem(&item, false);
    }

    // One second of the station: the speech scheduler's tick, the player's
    // tick, then the clock moves on.
    void second() {
        schedule->Tick();
        player->Tick();
        clock.advance(1);
    }
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i)
            second();
    }

    // What the voice was told to speak since the last take.
    QStringList takeSpoken() {
        QStringList spoken;
        if (!voice)
            return spoken;
        for (const QString& call : voice->takeCalls()) {
            if (call.startsWith(QLatin1String("speak ")))
                spoken << call.mid(6);
        }
        return spoken;
    }

    QStringList logLines() const {
        QStringList lines;
        const QDir logs(folder.filePath(QStringLiteral("log")));
        for (const QString& name : logs.entryList(QDir::Files, QDir::Name)) {
            QFile f(logs.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                lines << QString::fromUtf8(f.readAll())
                             .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        }
        return lines;
    }

    QTemporaryDir folder;
    FakeClock clock;
    AppState state;
    std::unique_ptr<DataStore> store;
    FakeMediaSource media;
    FakeTtsBackend* voice = nullptr;
    std::unique_ptr<Player> player;
    std::unique_ptr<SpeechJob> job;
    std::unique_ptr<SpeechSchedule> schedule;
    QStringList events;
    std::function<void()> onNextMusic;
};
