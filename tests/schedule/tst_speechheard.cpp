#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

#include "apppaths.h"
#include "appstate.h"
#include "datastore.h"
#include "eventlog.h"
#include "fakeclock.h"
#include "player.h"
#include "qtttsbackend.h"
#include "speechjob.h"
#include "speechschedule.h"
#include "uitext.h"

namespace {

constexpr int kRecordRate = 16000;
// A sample at least this loud (about -30 dBFS) is speech, not the silence of
// a sink with nothing to play.
constexpr int kLoudSample = 1000;

// Records what the sound server plays on its default sink, as 16-bit mono.
// A null sink renders far ahead of time, and audio that a new stream hands it
// faster than it plays (as the voice does) arrives by rewinds that its monitor
// does not record; a silent stream at a low latency keeps the sink rendering
// close to the clock, as a sound card would, so that the monitor hears it all.
class SinkRecorder {
public:
    ~SinkRecorder() {
        pacer_.kill();
        pacer_.waitForFinished(5000);
    }
    // False when the sound server cannot be listened to.
    bool start() {
        const QStringList format{"--raw", "--format=s16le", "--channels=1",
                                 "--rate=" + QString::number(kRecordRate)};
        pacer_.start("pacat", QStringList{"--playback", "--latency-msec=20"} + format +
                                  QStringList{"/dev/zero"});
        parec_.start("parec", QStringList{"-d", "@DEFAULT_MONITOR@", "--latency-msec=50"} + format);
        if (!pacer_.waitForStarted(5000) || !parec_.waitForStarted(5000))
            return false;
        // Either gives up at once when it cannot connect.
        return !parec_.waitForFinished(500) && pacer_.state() == QProcess::Running;
    }
    // Stops the recording; how many milliseconds of it held sound: 10 ms
    // windows with a sample at least kLoudSample loud.
    int loudMs() {
        parec_.terminate();
        parec_.waitForFinished(5000);
        const QByteArray raw = parec_.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
        const qsizetype count = raw.size() / 2;
        constexpr int kWindow = kRecordRate / 100;
        int loud = 0;
        for (qsizetype w = 0; w + kWindow <= count; w += kWindow) {
            const auto* end = samples + w + kWindow;
            loud += std::any_of(samples + w, end,
                                [](qint16 v) { return std::abs(int(v)) >= kLoudSample; })
                        ? 10
                        : 0;
        }
        return loud;
    }

private:
    QProcess pacer_;
    QProcess parec_;
};

} // namespace

// Texts that the flite voice once dropped without a sound, spoken for real on
// the sound server (the test script starts PulseAudio with a null sink) and
// listened to on the sink's monitor: each must be heard.
class TestSpeechHeard : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void spokenTextIsHeard_data();
    void spokenTextIsHeard();
};

void TestSpeechHeard::cleanup() {
    SetAppFolderForTests(QString());
    SetEventLogClock(nullptr);
    SetUiLanguage(0);
}

void TestSpeechHeard::spokenTextIsHeard_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("instant");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("minLoudMs");
    // In the Chinese UI, the station's own, 09:59 is spoken as 上午9时59分.
    QTest::newRow("station check at 09:59")
        << "This is the station check. The time is %Time%." << false << QTime(9, 59) << 700;
    QTest::newRow("instant ACME|Works") << "ACME|Works" << true << QTime(10, 0) << 250;
}

void TestSpeechHeard::spokenTextIsHeard() {
    QFETCH(QString, text);
    QFETCH(bool, instant);
    QFETCH(QTime, now);
    QFETCH(int, minLoudMs);
    if (QMediaDevices::audioOutputs().isEmpty())
        QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh "
              "does so) to speak for real.");
    if (QStandardPaths::findExecutable("parec").isEmpty() ||
        QStandardPaths::findExecutable("pacat").isEmpty())
        QSKIP("parec and pacat (PulseAudio's utilities) are needed to listen to the sound server.");
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
    FakeClock clock(QDateTime(QDate(2026, 3, 2), now));
    SetEventLogClock(&clock);
    SetUiLanguage(0);
    AppState state;
    state.currentUser = "admin";
    state.workingNow = true;
    DataStore store(clock, folder.filePath("data"));
    store.settings.speakDelay = 1;
    auto task = std::make_unique<SpeechTask>();
    task->name = "station check";
    task->startDate = 20260101;
    task->endDate = 20261231;
    task->startTime = now.hour() * 100 + now.minute();
    task->endTime = task->startTime;
    task->weekdays = 0xfe;
    task->text = text;
    if (!instant)
        store.speechTasks.push_back(std::move(task));

    // No music: whatever the sink plays is the voice.
    Player player(nullptr, std::move(flite), clock, &store.settings);
    SpeechJob job(player, store, state);
    SpeechSchedule schedule(store, clock, state, player, job);
    schedule.BuildTodaySpeechList();

    SinkRecorder recorder;
    if (!recorder.start())
        QSKIP("The default sink's monitor cannot be recorded.");
    if (instant)
        job.SpeakInstantText(text, false);
    // The station's one-second timers, with the voice's events in between;
    // the clock stands still, so the time spoken is the row's.
    bool started = false;
    QElapsedTimer waited;
    waited.start();
    while ((!started || job.speaking()) && waited.elapsed() < 60000) {
        schedule.Tick();
        player.Tick();
        started = started || job.speaking();
        QTest::qWait(1000);
    }
    QTest::qWait(300);
    const int loud = recorder.loudMs();
    QVERIFY2(started && !job.speaking(), "the speech never ran to its end");
    QVERIFY2(loud >= minLoudMs, qPrintable(QString::number(loud) + " ms heard"));
}

QTEST_GUILESS_MAIN(TestSpeechHeard)
#include "tst_speechheard.moc"
