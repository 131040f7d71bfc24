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

#include "fakeclock.h"
#include "media/player.h"
#include "media/qtttsbackend.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "sinkrecorder.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/apppaths.h"
#include "support/eventlog.h"

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
