#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "fakeclock.h"
#include "media/player.h"
#include "media/qtmediabackend.h"
#include "media/ttschoice.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/eventlog.h"

namespace {

// What happened, with the milliseconds since the test began.
struct Timeline {
    QElapsedTimer clock;
    QStringList events;
    QList<qint64> times;

    void add(const QString& event) {
        events << event;
        times << clock.elapsed();
    }
    qint64 timeOf(const QString& event) const {
        const int i = events.indexOf(event);
        return i < 0 ? -1 : times[i];
    }
};

// The real media player, telling the timeline when the background music
// starts, starts again and stops.
class RecordingMedia : public MediaBackend {
public:
    RecordingMedia(std::unique_ptr<MediaBackend> real, Timeline& timeline)
        : real_(std::move(real)), timeline_(timeline) {}

    bool load(const QString& path) override {
        name_ = QFileInfo(path).fileName();
        return real_->load(path);
    }
    bool play() override {
        timeline_.add(QStringLiteral("play ") + name_);
        return real_->play();
    }
    bool pause() override { return real_->pause(); }
    bool stop() override {
        timeline_.add(QStringLiteral("stop ") + name_);
        return real_->stop();
    }
    bool setPosition(qint64 ms) override { return real_->setPosition(ms); }
    void setVolume(int volume) override { real_->setVolume(volume); }
    int volume() const override { return real_->volume(); }
    PlayState playState() const override { return real_->playState(); }
    qint64 duration() const override { return real_->duration(); }
    qint64 position() const override { return real_->position(); }

private:
    std::unique_ptr<MediaBackend> real_;
    Timeline& timeline_;
    QString name_;
};

// The real voice, telling the timeline when it is given a text and when it
// first reports that it has nothing left to say.
class RecordingVoice : public TtsBackend {
public:
    RecordingVoice(std::unique_ptr<TtsBackend> real, Timeline& timeline)
        : real_(std::move(real)), timeline_(timeline) {}

    bool voices(QList<TtsVoice>* out) override { return real_->voices(out); }
    void setVoice(const QString& token) override { real_->setVoice(token); }
    bool speak(const QString& text) override {
        timeline_.add(QStringLiteral("speech started"));
        waiting_ = true;
        return real_->speak(text);
    }
    void pause() override { real_->pause(); }
    void resume() override { real_->resume(); }
    bool isComplete() override {
        const bool complete = real_->isComplete();
        if (complete && waiting_) {
            waiting_ = false;
            timeline_.add(QStringLiteral("speech complete"));
        }
        return complete;
    }
    QString takeError() override { return real_->takeError(); }

private:
    std::unique_ptr<TtsBackend> real_;
    Timeline& timeline_;
    bool waiting_ = false;
};

} // namespace

// One scheduled speech spoken for real by the voice the station chooses,
// over a short WAV as background music, on whatever sound server answers (the
// test script starts PulseAudio with a null sink); in both languages, and
// with the broadcast paused while the voice speaks or just after it finished.
class TestSpeechLive : public QObject {
    Q_OBJECT

private slots:
    void scheduledSpeechOverBackgroundMusic_data();
    void scheduledSpeechOverBackgroundMusic();
};

// When the broadcast is paused, for three seconds.
enum class PauseAt { Never, WhileSpeaking, AfterTheVoiceFinished };
Q_DECLARE_METATYPE(PauseAt)

void TestSpeechLive::scheduledSpeechOverBackgroundMusic_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<PauseAt>("pauseAt");
    const QString english = "Attention please. The afternoon shift begins in ten minutes.";
    const QString chinese = u"请注意，现在时间是上午9时59分，下午班十分钟后开始。"_qs;
    QTest::newRow("English") << english << PauseAt::Never;
    QTest::newRow("Chinese") << chinese << PauseAt::Never;
    QTest::newRow("paused while speaking") << chinese << PauseAt::WhileSpeaking;
    QTest::newRow("paused after the voice finished") << english << PauseAt::AfterTheVoiceFinished;
}

void TestSpeechLive::scheduledSpeechOverBackgroundMusic() {
    QFETCH(QString, text);
    QFETCH(PauseAt, pauseAt);
    if (QMediaDevices::audioOutputs().isEmpty())
        QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh "
              "does so) to speak for real.");
    std::unique_ptr<TtsBackend> stationVoice = CreateStationVoice();
    QList<TtsVoice> installed;
    if (!stationVoice || !stationVoice->voices(&installed) || installed.isEmpty())
        QSKIP("No speech engine with a voice is installed.");

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkpath("log"));
    SetAppFolderForTests(folder.path());
    const QString bed = folder.filePath("bed.wav");
    QProcess sox;
    sox.start("sox", {"-n", "-r", "44100", "-c", "2", bed, "synth", "0.7", "sine", "440"});
    QVERIFY2(sox.waitForFinished(30000) && sox.exitCode() == 0, "sox could not make the WAV");

    Timeline timeline;
    timeline.clock.start();
    FakeClock clock(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    AppState state;
    state.currentUser = "admin";
    state.workingNow = true;
    DataStore store(clock, folder.filePath("data"));
    store.settings.speakDelay = 1;
    store.settings.ttsBackgroundVolume = 10;
    auto music = std::make_unique<SpeechBackgroundMusic>();
    music->path = bed;
    music->volume = 30;
    store.backgroundMusic.push_back(std::move(music));
    auto task = std::make_unique<SpeechTask>();
    task->name = "shift";
    task->startDate = 20260101;
    task->endDate = 20261231;
    task->startTime = 1000;
    task->endTime = 1000;
    task->weekdays = 0xfe;
    task->preDelay = 1;
    task->bkMusic = bed;
    task->text = text;
    store.speechTasks.push_back(std::move(task));

    Player player(
        [&timeline]() -> std::unique_ptr<MediaBackend> {
            auto real = QtMediaBackend::create();
            if (!real)
                return nullptr;
            return std::make_unique<RecordingMedia>(std::move(real), timeline);
        },
        std::make_unique<RecordingVoice>(std::move(stationVoice), timeline), clock,
        &store.settings);
    QVERIFY(player.EnsureMusicPlayer());
    // A user is logged in: the idle player's call for music counts.
    connect(&player, &Player::nextMusicWanted, [&timeline] { timeline.add("next music"); });
    SpeechJob job(player, store, state);
    SpeechSchedule schedule(store, clock, state, player, job);
    connect(&job, &SpeechJob::speechEnded, &schedule, &SpeechSchedule::EndCurrentEntry);
    schedule.BuildTodaySpeechList();
    QCOMPARE(schedule.TodaySpeechList().size(), size_t(1));

    // The milestones of the job, in this order; before the job the idle
    // player asks for music too.
    const QStringList milestones{"play bed.wav", "speech started", "speech complete",
                                 "stop bed.wav", "next music"};
    auto reached = [&] {
        int next = 0;
        for (const QString& event : timeline.events) {
            if (next < milestones.size() && event == milestones[next])
                ++next;
        }
        return next;
    };

    // The two one-second timers of the station, with the events of the
    // player and the voice delivered in between. The player's timer comes
    // first in each second, so the pre-delay lasts a whole second. The pause
    // starts between two ticks, when the voice has spoken for a second or
    // has just finished (asked of the speech engine, as the job asks).
    QElapsedTimer waited;
    waited.start();
    qint64 pausedAt = -1;
    while (reached() < milestones.size() && waited.elapsed() < 60000) {
        player.Tick();
        schedule.Tick();
        for (int step = 0; step < 20; ++step) {
            QTest::qWait(50);
            if (pausedAt >= 0 || !job.speaking())
                continue;
            const qint64 started = timeline.timeOf("speech started");
            const bool due = started >= 0 && (pauseAt == PauseAt::WhileSpeaking
                                                  ? timeline.clock.elapsed() - started >= 1000
                                                  : player.speech().IsSpeechComplete());
            if (due) {
                pausedAt = timeline.clock.elapsed();
                player.SetPaused(true);
                timeline.add("paused");
            }
        }
        if (pausedAt >= 0 && player.paused() && timeline.clock.elapsed() - pausedAt >= 3000) {
            timeline.add("resumed");
            player.SetPaused(false);
        }
    }
    QStringList stamped;
    for (int i = 0; i < timeline.events.size(); ++i)
        stamped << QString::number(timeline.times[i]) + QStringLiteral(" ms ") + timeline.events[i];
    const QString story = stamped.join(", ");
    qInfo().noquote() << story;
    QVERIFY2(reached() == milestones.size(), qPrintable(story));
    if (pauseAt != PauseAt::Never) {
        // Nothing of the job ends during the pause; a voice paused mid-way
        // finishes only after the resume.
        QVERIFY2(pausedAt >= 0, qPrintable(story));
        const auto after = [&](const char* event) {
            return timeline.events.indexOf(event) > timeline.events.indexOf("resumed");
        };
        QVERIFY2(after("stop bed.wav"), qPrintable(story));
        if (pauseAt == PauseAt::WhileSpeaking)
            QVERIFY2(after("speech complete"), qPrintable(story));
    }

    // While the job held the player, the music schedule was not asked.
    const int from = timeline.events.indexOf("play bed.wav");
    const int to = timeline.events.indexOf("stop bed.wav");
    QVERIFY2(!timeline.events.mid(from, to - from).contains("next music"), qPrintable(story));
    // The voice waited for the pre-delay, the short music started again
    // while the voice spoke, and nothing of the job is left.
    QVERIFY2(timeline.timeOf("speech started") - timeline.timeOf("play bed.wav") >= 900,
             qPrintable(story));
    QVERIFY2(timeline.events.count("play bed.wav") >= 2, qPrintable(story));
    QVERIFY(!job.speaking());
    QCOMPARE(schedule.currentEntryIndex(), -1);
    QVERIFY(player.speechJob.backgroundPath.isEmpty());
    SetAppFolderForTests(QString());
}

QTEST_GUILESS_MAIN(TestSpeechLive)
#include "tst_speechlive.moc"
