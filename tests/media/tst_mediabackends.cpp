#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "media/medialength.h"
#include "media/player.h"
#include "media/qtmediabackend.h"
#include "media/qtttsbackend.h"
#include "support/clock.h"
#include <QMediaPlayer>

// The real media player, voice and length measurement, with media files made
// here by sox and lame. Playing and speaking need a sound server; the test
// script starts PulseAudio with a null sink.

// QSKIP returns from the calling function, so this has to be a macro.
#define NEED_SOUND()                                                                               \
    if (QMediaDevices::audioOutputs().isEmpty())                                                   \
    QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh does "      \
          "so) to play and speak for real.")

class TestMediaBackends : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void measureMediaLength_data();
    void measureMediaLength();
    void measureDoesNotRunTheEventLoop();

    void playsToItsEndAndTurnsIdle();
    void pauseResumeAndStop();
    void undecodableFileTurnsIdle();
    void speechBackgroundMusicLoops();

    void engineChoice();
    void fliteSpeaksAndCompletes();
    void textsGivenWhileSpeakingFollow();

private:
    bool run(const QString& program, const QStringList& args);
    // A sine tone (or silence) of `seconds`, made by sox in the given format.
    QString makeWav(const QString& name, double seconds, const QStringList& format = {});
    QString makeMp3(const QString& name, double seconds);
    std::unique_ptr<Player> makePlayer();
    static std::unique_ptr<MediaBackend> realBackend() { return QtMediaBackend::create(); }

    QTemporaryDir folder;
    SystemClock clock;
    int nextMusicCalls = 0;
};

void TestMediaBackends::initTestCase() {
    QVERIFY(folder.isValid());
}

bool TestMediaBackends::run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << program << args << process.readAllStandardError();
        return false;
    }
    return true;
}

QString TestMediaBackends::makeWav(const QString& name, double seconds, const QStringList& format) {
    const QString path = folder.filePath(name);
    QStringList args{"-n"};
    args << (format.isEmpty() ? QStringList{"-r", "44100", "-c", "2"} : format) << path;
    if (format.isEmpty())
        args << "synth" << QString::number(seconds) << "sine"
             << "440";
    else
        args << "trim"
             << "0" << QString::number(seconds);
    return run("sox", args) ? path : QString();
}

QString TestMediaBackends::makeMp3(const QString& name, double seconds) {
    const QString wav = makeWav(name + ".wav", seconds, {"-r", "8000", "-c", "1"});
    const QString path = folder.filePath(name);
    if (wav.isEmpty() || !run("lame", {"--quiet", "-b", "8", wav, path}))
        return QString();
    return path;
}

std::unique_ptr<Player> TestMediaBackends::makePlayer() {
    auto player = std::make_unique<Player>(&TestMediaBackends::realBackend, nullptr, clock);
    nextMusicCalls = 0;
    QObject::connect(player.get(), &Player::nextMusicWanted, [this] { ++nextMusicCalls; });
    return player;
}

void TestMediaBackends::measureMediaLength_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("length");
    QTest::newRow("wav 2 s") << "wav" << 2.0 << 2;
    QTest::newRow("wav 2.6 s rounds up") << "wav" << 2.6 << 3;
    QTest::newRow("wav 1:02:03") << "long wav" << 3723.0 << 10203;
    QTest::newRow("mp3 2 s") << "mp3" << 2.0 << 2;
    QTest::newRow("mp3 3:25") << "mp3" << 205.0 << 325;
    QTest::newRow("text file") << "text" << 0.0 << 0;
    QTest::newRow("empty file") << "empty" << 0.0 << 0;
    QTest::newRow("missing file") << "missing" << 0.0 << 0;
    QTest::newRow("no path") << "none" << 0.0 << 0;
}

void TestMediaBackends::measureMediaLength() {
    QFETCH(QString, kind);
    QFETCH(double, seconds);
    QFETCH(int, length);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    QString path;
    if (kind == "wav") {
        path = makeWav(name + ".wav", seconds);
    } else if (kind == "long wav") {
        path = makeWav(name + ".wav", seconds, {"-r", "8000", "-c", "1", "-b", "8"});
    } else if (kind == "mp3") {
        path = makeMp3(name + ".mp3", seconds);
    } else if (kind == "text" || kind == "empty") {
        path = folder.filePath(name + ".mp3");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write(QByteArray(4000, 'a'));
    } else if (kind == "missing") {
        path = folder.filePath("missing.wav");
    }
    if (kind != "none" && kind != "missing")
        QVERIFY2(!path.isEmpty(), "the test media could not be made");
    QCOMPARE(MeasureMediaLength(path), length);
}

void TestMediaBackends::measureDoesNotRunTheEventLoop() {
    const QString path = makeMp3("loop.mp3", 3);
    QVERIFY(!path.isEmpty());
    bool delivered = false;
    QMetaObject::invokeMethod(
        this, [&] { delivered = true; }, Qt::QueuedConnection);
    QCOMPARE(MeasureMediaLength(path), 3);
    QVERIFY(!delivered);
    QCoreApplication::processEvents();
    QVERIFY(delivered);
}

void TestMediaBackends::playsToItsEndAndTurnsIdle() {
    NEED_SOUND();
    const QString path = makeWav("two.wav", 2);
    QVERIFY(!path.isEmpty());
    auto player = makePlayer();
    QVERIFY(player->EnsureMusicPlayer());
    QElapsedTimer timer;
    timer.start();
    player->PlayFile(path);
    QVERIFY(!player->IsPlayerIdle());
    QVERIFY(player->IsPlayerBusy());
    player->Tick();
    QCOMPARE(nextMusicCalls, 0);
    QTRY_COMPARE_WITH_TIMEOUT(player->GetMediaDuration(), 200, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayPosition() > 50, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(player->IsPlayerIdle(), 10000);
    QVERIFY2(timer.elapsed() >= 1800, "the file ended sooner than it lasts");
    QVERIFY(!player->IsPlayerBusy());
    QCOMPARE(player->GetMediaDuration(), 0);
    // The state stays "started": idle is seen through the player's state.
    QCOMPARE(player->playerState(), int(Player::Started));
    player->Tick();
    QCOMPARE(nextMusicCalls, 1);

    // A rotation of one item plays the same file again, for its whole length.
    // Its end is what counts: on a loaded machine the position may be
    // reported late, and a poll can miss the middle of a two-second file.
    timer.restart();
    player->PlayFile(path);
    QVERIFY(!player->IsPlayerIdle());
    QTRY_VERIFY_WITH_TIMEOUT(player->IsPlayerIdle(), 15000);
    QVERIFY2(timer.elapsed() >= 1800, "the second play ended sooner than the file lasts");
}

void TestMediaBackends::pauseResumeAndStop() {
    NEED_SOUND();
    const QString path = makeWav("five.wav", 5);
    QVERIFY(!path.isEmpty());
    auto player = makePlayer();
    player->PlayFile(path);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayPosition() > 30, 5000);

    player->SetPaused(true);
    QTRY_COMPARE_WITH_TIMEOUT(player->backend()->playState(), MediaBackend::PlayState::Paused,
                              3000);
    const int pausedAt = player->GetPlayPosition();
    QTest::qWait(700);
    QVERIFY(qAbs(player->GetPlayPosition() - pausedAt) <= 5);
    QVERIFY(!player->IsPlayerIdle());
    player->Tick();
    QCOMPARE(nextMusicCalls, 0);

    player->SetPaused(false);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayPosition() > pausedAt + 30, 5000);

    player->SetPlayerVolume(35);
    QCOMPARE(player->backend()->volume(), 35);

    player->StopPlayback();
    QVERIFY(player->IsPlayerIdle());
    QCOMPARE(player->backend()->playState(), MediaBackend::PlayState::Stopped);
    QTest::qWait(300);
    QVERIFY(player->IsPlayerIdle());
}

void TestMediaBackends::undecodableFileTurnsIdle() {
    NEED_SOUND();
    const QString bad = folder.filePath("bad.wav");
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(20000, '\x5a'));
    }
    const QString good = makeWav("good.wav", 3);
    QVERIFY(!good.isEmpty());
    auto player = makePlayer();
    player->PlayFile(bad);
    // The schedule must move on instead of waiting on a file that never plays.
    QTRY_VERIFY_WITH_TIMEOUT(player->IsPlayerIdle(), 5000);
    player->PlayFile(good);
    QVERIFY(!player->IsPlayerIdle());
    // A loaded machine may take a while to open the sound stream.
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayPosition() > 30, 15000);
    player->StopPlayback();
}

void TestMediaBackends::speechBackgroundMusicLoops() {
    NEED_SOUND();
    const QString bed = makeWav("bed.wav", 1);
    QVERIFY(!bed.isEmpty());
    auto player = makePlayer();
    player->speech().setSpeaking(true);
    player->speechJob.backgroundPath = bed;
    player->PlayFile(bed);
    QTRY_VERIFY_WITH_TIMEOUT(player->IsPlayerIdle(), 5000);
    // Looping a file again and again is where a player likes to hang.
    for (int round = 0; round < 4; ++round) {
        player->Tick();
        QCOMPARE(nextMusicCalls, 0);
        QVERIFY(!player->IsPlayerIdle());
        // The null sink may hold the stream at its start and then flush it
        // at once, so the position is not watched here: the file must have
        // started again and come to its end, not hung.
        QTRY_VERIFY_WITH_TIMEOUT(player->IsPlayerIdle(), 5000);
        QCOMPARE(player->backend()->duration(), 1000);
    }
    // The speech has ended: the idle player goes back to the music schedule.
    player->speech().setSpeaking(false);
    player->speechJob.backgroundPath.clear();
    player->Tick();
    QCOMPARE(nextMusicCalls, 1);
}

void TestMediaBackends::engineChoice() {
    auto voice = QtTtsBackend::create();
    QVERIFY(voice);
    const bool dispatcherAnswers = QtTtsBackend::createWithEngine("speechd") != nullptr;
    QCOMPARE(voice->engineName(), dispatcherAnswers ? QString("speechd") : QString("flite"));
    QVERIFY(!QtTtsBackend::createWithEngine("no such engine"));
}

void TestMediaBackends::fliteSpeaksAndCompletes() {
    NEED_SOUND();
    auto backend = QtTtsBackend::createWithEngine("flite");
    QVERIFY2(backend, "the flite engine is not installed");
    QtTtsBackend* voice = backend.get();
    QList<TtsVoice> installed;
    QVERIFY(backend->voices(&installed));
    QVERIFY(!installed.isEmpty());
    SpeechEngine engine(std::move(backend), clock);
    auto list = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(list, true));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(engine.SpeakText(-1, "Good morning. This is a test of the station voice."));
    QVERIFY(engine.speaking());
    QVERIFY(!engine.IsSpeechComplete());
    QTRY_VERIFY_WITH_TIMEOUT(engine.IsSpeechComplete(), 30000);
    QVERIFY2(voice->lastError().isEmpty(), qPrintable(voice->lastError()));
    QVERIFY2(timer.elapsed() >= 1000, "the sentence was over before it could be heard");
}

void TestMediaBackends::textsGivenWhileSpeakingFollow() {
    NEED_SOUND();
    auto backend = QtTtsBackend::createWithEngine("flite");
    QVERIFY(backend);
    QtTtsBackend* voice = backend.get();
    const QString sentence = "Good morning. This is a test of the station voice.";
    QElapsedTimer timer;
    timer.start();
    QVERIFY(voice->speak(sentence));
    QTRY_VERIFY_WITH_TIMEOUT(voice->isComplete(), 30000);
    const qint64 once = timer.elapsed();
    QVERIFY2(voice->lastError().isEmpty(), qPrintable(voice->lastError()));

    timer.restart();
    QVERIFY(voice->speak(sentence));
    QTest::qWait(200);
    QVERIFY(voice->speak(sentence));
    QTRY_VERIFY_WITH_TIMEOUT(voice->isComplete(), 60000);
    const qint64 twice = timer.elapsed();
    QVERIFY2(voice->lastError().isEmpty(), qPrintable(voice->lastError()));
    QVERIFY2(
        twice > once * 3 / 2,
        qPrintable(
            QString("once %1 ms, twice %2 ms").arg(QString::number(once), QString::number(twice))));
}

QTEST_GUILESS_MAIN(TestMediaBackends)
#include "tst_mediabackends.moc"
