#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/player.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "support/files.h"

// The player logic against a fake media player and a fake voice: what it asks
// of the player, what it logs, and when it hands the player back to music.
class TestPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void musicVolume_data();
    void musicVolume();
    void wakeRequest_data();
    void wakeRequest();
    void musicItemDuringSpeech_data();
    void musicItemDuringSpeech();
    void missingFileLogsOnceAndNextTickTriesAgain();
    void refusingPlayerLogsAndStaysEmpty_data();
    void refusingPlayerLogsAndStaysEmpty();
    void pollingByPhase_data();
    void pollingByPhase();
    void pauseWhileIdleHoldsTheSchedules();
    void pauseAndResume_data();
    void pauseAndResume();
    void idleHandBack_data();
    void idleHandBack();
    void tickRunsSpeechStepsFirstAndIsNotReentrant();

private:
    struct Rig {
        FakeMediaSource source;
        FakeTtsBackend* voice = nullptr;
        std::unique_ptr<Player> player;
        int nextMusicCalls = 0;
    };
    std::unique_ptr<Rig> makeRig();
    QString existingFile(const QString& name);
    QString logText() const;

    QTemporaryDir folder;
    FakeClock clock{QDateTime(QDate(2026, 3, 2), QTime(8, 0))};
    std::unique_ptr<Rig> rig;
};

void TestPlayer::initTestCase() {
    QVERIFY(folder.isValid());
    SetAppFolderForTests(folder.path());
    SetEventLogClock(&clock);
}

void TestPlayer::init() {
    QDir(folder.path()).removeRecursively();
    QVERIFY(QDir().mkpath(folder.filePath("log")));
    clock.set(2026, 3, 2, 8, 0);
    rig = makeRig();
}

void TestPlayer::cleanup() {
    rig.reset();
}

void TestPlayer::cleanupTestCase() {
    SetEventLogClock(nullptr);
    SetAppFolderForTests(QString());
}

std::unique_ptr<TestPlayer::Rig> TestPlayer::makeRig() {
    auto r = std::make_unique<Rig>();
    auto voice = std::make_unique<FakeTtsBackend>();
    r->voice = voice.get();
    r->player = std::make_unique<Player>(r->source.factory(), std::move(voice), clock);
    Rig* raw = r.get();
    connect(r->player.get(), &Player::nextMusicWanted, [raw] { ++raw->nextMusicCalls; });
    return r;
}

QString TestPlayer::existingFile(const QString& name) {
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("x");
    return path;
}

QString TestPlayer::logText() const {
    QFile file(folder.filePath("log/2026-3.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TestPlayer::musicVolume_data() {
    QTest::addColumn<QStringList>("steps"); // "item <volume>" or "preview <volume>"
    QTest::addColumn<QList<int>>("played");
    QTest::newRow("volume 0 first plays at 100") << QStringList{"item 0"} << QList<int>{100};
    QTest::newRow("volume 0 keeps the previous item's")
        << QStringList{"item 40", "item 0"} << QList<int>{40, 40};
    QTest::newRow("each item its own") << QStringList{"item 40", "item 70"} << QList<int>{40, 70};
    QTest::newRow("preview of volume 0 plays at 100")
        << QStringList{"item 40", "preview 0", "item 0"} << QList<int>{40, 100, 100};
    QTest::newRow("preview at 30") << QStringList{"preview 30"} << QList<int>{30};
}

void TestPlayer::musicVolume() {
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, played);
    const QString path = existingFile("song.mp3");
    for (int i = 0; i < steps.size(); ++i) {
        rig->source.last->takeCalls();
        const int volume = steps[i].section(' ', 1).toInt();
        if (steps[i].startsWith("preview")) {
            rig->player->PreviewFile(path, volume);
        } else {
            PlayItem item;
            item.path = path;
            item.volume = volume;
            rig->player->PlayMusicItem(&item, true);
        }
        const QStringList calls = rig->source.last->takeCalls();
        const int volumeCall = calls.indexOf(QStringLiteral("volume %1").arg(played[i]));
        QVERIFY2(volumeCall >= 0, qPrintable(calls.join(", ")));
        QVERIFY(volumeCall < calls.indexOf(QStringLiteral("load ") + path));
        QCOMPARE(rig->source.last->volume(), played[i]);
    }
}

void TestPlayer::wakeRequest_data() {
    QTest::addColumn<bool>("wake");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("scheduled item wakes first") << true << false << QStringList{"wake", "load"};
    QTest::newRow("without wake") << false << false << QStringList{"load"};
    QTest::newRow("paused: nothing at all") << true << true << QStringList{};
}

void TestPlayer::wakeRequest() {
    QFETCH(bool, wake);
    QFETCH(bool, paused);
    QFETCH(QStringList, order);
    Player& player = *rig->player;
    QStringList seen;
    connect(&player, &Player::wakeRequested, [&] { seen << "wake"; });
    rig->source.last->onLoad = [&] { seen << "load"; };
    player.SetPaused(paused);
    PlayItem item;
    item.path = existingFile("song.mp3");
    player.PlayMusicItem(&item, wake);
    QCOMPARE(seen, order);
}

void TestPlayer::musicItemDuringSpeech_data() {
    QTest::addColumn<bool>("ownBackground");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("speech with its own background music leaves the player alone")
        << true << QStringList{};
    // No volume call: the music goes on at the speech's background volume.
    QTest::newRow("speech without background music: music at the speech volume")
        << false << QStringList{"load SONG", "play"};
}

void TestPlayer::musicItemDuringSpeech() {
    QFETCH(bool, ownBackground);
    QFETCH(QStringList, calls);
    const QString song = existingFile("song.mp3");
    Player& player = *rig->player;
    player.SetPlayerVolume(10);
    QVERIFY(player.speech().SpeakText(0, QString()));
    if (ownBackground)
        player.speechJob.backgroundPath = existingFile("bed.mp3");
    rig->source.last->takeCalls();

    PlayItem item;
    item.path = song;
    item.volume = 60;
    player.PlayMusicItem(&item, false);

    calls.replaceInStrings("SONG", song);
    QCOMPARE(rig->source.last->takeCalls(), calls);
    QCOMPARE(rig->source.last->volume(), 10);
    // The end of the speech restores this item's volume.
    QCOMPARE(player.musicVolume(), 60);
}

void TestPlayer::missingFileLogsOnceAndNextTickTriesAgain() {
    const QString path = folder.filePath("deleted.mp3");
    Player& player = *rig->player;
    PlayItem item;
    item.path = path;
    connect(&player, &Player::nextMusicWanted, [&] { player.PlayMusicItem(&item, true); });
    // A song is playing when the deleted file is due: it stops, nothing loads.
    player.PlayFile(existingFile("song.mp3"));
    rig->source.last->finish();
    rig->source.last->takeCalls();

    player.Tick();
    QStringList calls = rig->source.last->takeCalls();
    QVERIFY2(!calls.join(' ').contains("load"), qPrintable(calls.join(", ")));
    QVERIFY(calls.contains("stop"));
    QVERIFY(player.IsPlayerIdle());
    QString reason;
    DescribeError(ENOENT, &reason);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(logText(), "08:00:00 '" + path + "'\r\n" + reason + "\r\n");

    clock.advance(1);
    player.Tick();
    QCOMPARE(rig->nextMusicCalls, 2);
    QCOMPARE(logText().count(path), 2);
}

void TestPlayer::refusingPlayerLogsAndStaysEmpty_data() {
    QTest::addColumn<bool>("refuseLoad");
    QTest::newRow("load refused") << true;
    QTest::newRow("play refused") << false;
}

void TestPlayer::refusingPlayerLogsAndStaysEmpty() {
    QFETCH(bool, refuseLoad);
    Player& player = *rig->player;
    const QString first = existingFile("first.mp3");
    player.PlayFile(first);
    rig->source.last->refuseLoad = refuseLoad;
    rig->source.last->refusePlay = !refuseLoad;
    player.PlayFile(existingFile("second.mp3"));
    QCOMPARE(player.playerState(), int(Player::Empty));
    QCOMPARE(player.loadedPath(), first);
    QVERIFY(player.IsPlayerIdle());
    QCOMPARE(logText(), QStringLiteral("08:00:00 An unexpected error occurred!\r\n"));
}

void TestPlayer::pollingByPhase_data() {
    QTest::addColumn<QString>("phase");
    QTest::addColumn<bool>("idle");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("duration"); // hundredths
    QTest::addColumn<int>("position");
    QTest::newRow("nothing loaded") << "empty" << true << false << 0 << 0;
    // Inside PlayFile the player is opening and already answers.
    QTest::newRow("opening") << "opening" << false << true << 18345 << 1050;
    QTest::newRow("playing") << "playing" << false << true << 18345 << 1050;
    QTest::newRow("paused by the operator") << "paused" << false << true << 18345 << 1050;
    QTest::newRow("ended") << "ended" << true << false << 0 << 0;
    QTest::newRow("stopped") << "stopped" << true << false << 0 << 0;
}

void TestPlayer::pollingByPhase() {
    QFETCH(QString, phase);
    QFETCH(bool, idle);
    QFETCH(bool, busy);
    QFETCH(int, duration);
    QFETCH(int, position);
    Player& player = *rig->player;
    FakeMediaBackend& media = *rig->source.last;
    media.durationMs = 183459;
    media.positionMs = 10509;

    bool seenIdle = true, seenBusy = false;
    int seenDuration = -1, seenPosition = -1;
    auto observe = [&] {
        seenIdle = player.IsPlayerIdle();
        seenBusy = player.IsPlayerBusy();
        seenDuration = player.GetMediaDuration();
        seenPosition = player.GetPlayPosition();
    };
    if (phase == "opening") {
        media.onLoad = [&] {
            media.positionMs = 10509;
            observe();
        };
        player.PlayFile(existingFile("song.mp3"));
    } else {
        if (phase != "empty") {
            player.PlayFile(existingFile("song.mp3"));
            media.positionMs = 10509;
        }
        if (phase == "paused")
            media.pause();
        else if (phase == "ended")
            media.finish();
        else if (phase == "stopped")
            player.StopPlayback();
        observe();
    }
    QCOMPARE(seenIdle, idle);
    QCOMPARE(seenBusy, busy);
    QCOMPARE(seenDuration, duration);
    QCOMPARE(seenPosition, position);
}

void TestPlayer::pauseWhileIdleHoldsTheSchedules() {
    Player& player = *rig->player;
    PlayItem item;
    item.path = existingFile("song.mp3");
    rig->source.last->takeCalls();

    player.SetPaused(true);
    player.Tick();
    player.PlayMusicItem(&item, true);
    QCOMPARE(rig->source.last->takeCalls(), QStringList());
    QCOMPARE(rig->nextMusicCalls, 0);

    player.SetPaused(false);
    QCOMPARE(rig->source.last->takeCalls(), QStringList());
    player.Tick();
    QCOMPARE(rig->nextMusicCalls, 1);
}

void TestPlayer::pauseAndResume_data() {
    QTest::addColumn<bool>("speaking");
    QTest::addColumn<QStringList>("voiceCalls");
    QTest::newRow("music only") << false << QStringList{};
    QTest::newRow("music under a speech") << true << QStringList{"pause", "resume"};
}

void TestPlayer::pauseAndResume() {
    QFETCH(bool, speaking);
    QFETCH(QStringList, voiceCalls);
    Player& player = *rig->player;
    player.PlayFile(existingFile("song.mp3"));
    if (speaking)
        QVERIFY(player.speech().SpeakText(0, QString()));
    rig->source.last->takeCalls();

    player.SetPaused(true);
    QCOMPARE(rig->source.last->takeCalls(), QStringList{"pause"});
    // A paused medium is not idle, and the paused broadcast asks for nothing.
    QVERIFY(!player.IsPlayerIdle());
    rig->source.last->finish();
    player.Tick();
    QCOMPARE(rig->nextMusicCalls, 0);
    rig->source.last->state = MediaBackend::PlayState::Paused;

    player.SetPaused(false);
    QCOMPARE(rig->source.last->takeCalls(), QStringList{"play"});
    QCOMPARE(rig->source.last->playState(), MediaBackend::PlayState::Playing);
    QCOMPARE(rig->voice->takeCalls(), voiceCalls);
}

void TestPlayer::idleHandBack_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("nextMusic");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("nothing loaded") << "empty" << 1 << QStringList{};
    QTest::newRow("playing") << "playing" << 0 << QStringList{};
    QTest::newRow("music ended") << "ended" << 1 << QStringList{};
    QTest::newRow("speech background music ended: loops")
        << "background ended" << 0 << QStringList{"position 0", "play"};
    QTest::newRow("speech background music missing: nothing else restarts")
        << "background missing" << 0 << QStringList{};
    QTest::newRow("speech without background music: music goes on")
        << "speech, music ended" << 1 << QStringList{};
}

void TestPlayer::idleHandBack() {
    QFETCH(QString, situation);
    QFETCH(int, nextMusic);
    QFETCH(QStringList, calls);
    Player& player = *rig->player;
    FakeMediaBackend& media = *rig->source.last;
    if (situation.startsWith("speech") || situation.startsWith("background"))
        QVERIFY(player.speech().SpeakText(0, QString()));
    if (situation == "background missing") {
        // The music that ran before the speech is still the loaded medium.
        player.PlayFile(existingFile("song.mp3"));
        player.speechJob.backgroundPath = folder.filePath("gone.mp3");
        player.PlayFile(player.speechJob.backgroundPath);
    } else if (situation == "background ended") {
        player.speechJob.backgroundPath = existingFile("bed.mp3");
        player.PlayFile(player.speechJob.backgroundPath);
        media.finish();
    } else if (situation != "empty") {
        player.PlayFile(existingFile("song.mp3"));
        if (situation != "playing")
            media.finish();
    }
    media.takeCalls();

    player.Tick();
    QCOMPARE(rig->nextMusicCalls, nextMusic);
    QCOMPARE(media.takeCalls(), calls);
}

void TestPlayer::tickRunsSpeechStepsFirstAndIsNotReentrant() {
    Player& player = *rig->player;
    QStringList order;
    int speechSteps = 0;
    connect(&player, &Player::speechStepsDue, [&] {
        ++speechSteps;
        order << "speech";
        // Something in the steps lets the timer fire again: that tick is skipped.
        player.Tick();
    });
    connect(&player, &Player::nextMusicWanted, [&] { order << "music"; });
    player.Tick();
    QCOMPARE(order, (QStringList{"speech", "music"}));
    QCOMPARE(speechSteps, 1);
    player.Tick();
    QCOMPARE(speechSteps, 2);
}

QTEST_GUILESS_MAIN(TestPlayer)
#include "tst_player.moc"
