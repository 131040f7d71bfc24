#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "support/apppaths.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/eventlog.h"
#include "fakeclock.h"
#include "media/player.h"
#include "media/qtmediabackend.h"
#include "media/qtttsbackend.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"

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

// One scheduled speech spoken for real: flite's voice over a short WAV as
// background music, on whatever sound server answers (the test script starts
// PulseAudio with a null sink).
class TestSpeechLive : public QObject {
    Q_OBJECT

private slots:
    void scheduledSpeechOverBackgroundMusic();
};

void TestSpeechLive::scheduledSpeechOverBackgroundMusic() {
    if (QMediaDevices::audioOutputs().isEmpty())
        QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh "
              "does so) to speak for real.");
    auto flite = QtTtsBackend::createWithEngine(QStringLiteral("flite"));
    if (!flite)
        QSKIP("The flite speech engine is not installed.");
    QList<TtsVoice> installed;
    if (!flite->voices(&installed) || installed.isEmpty())
        QSKIP("The flite speech engine offers no voice.");

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
    task->text = "Attention please. The afternoon shift begins in ten minutes.";
    store.speechTasks.push_back(std::move(task));

    Player player(
        [&timeline]() -> std::unique_ptr<MediaBackend> {
            auto real = QtMediaBackend::create();
            if (!real)
                return nullptr;
            return std::make_unique<RecordingMedia>(std::move(real), timeline);
        },
        std::make_unique<RecordingVoice>(std::move(flite), timeline), clock, &store.settings);
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
    // first in each second, so the pre-delay lasts a whole second.
    QElapsedTimer waited;
    waited.start();
    while (reached() < milestones.size() && waited.elapsed() < 60000) {
        player.Tick();
        schedule.Tick();
        QTest::qWait(1000);
    }
    QStringList stamped;
    for (int i = 0; i < timeline.events.size(); ++i)
        stamped << QString::number(timeline.times[i]) + QStringLiteral(" ms ") + timeline.events[i];
    const QString story = stamped.join(", ");
    qInfo().noquote() << story;
    QVERIFY2(reached() == milestones.size(), qPrintable(story));

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
