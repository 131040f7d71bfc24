#include <QtTest>

#include "speechrig.h"

// The speech job on the player: the volume under speech, background music,
// the delays, the hand-back to music, instant speech, and what happens when
// the voice refuses or finishes during a pause.
class TestSpeechJob : public QObject {
    Q_OBJECT

private slots:
    void delays_data();
    void delays();
    void backgroundMusicLoopsAndHandsBack_data();
    void backgroundMusicLoopsAndHandsBack();
    void backgroundMusicAlreadyPlaying_data();
    void backgroundMusicAlreadyPlaying();
    void wakesTheTransmitter_data();
    void wakesTheTransmitter();
    void instantSpeech_data();
    void instantSpeech();
    void pauseHoldsThePreDelay();
    void failedStartEndsTheJob_data();
    void failedStartEndsTheJob();
    void completionDuringPauseEndsOnResume_data();
    void completionDuringPauseEndsOnResume();
    void speechRightAfterResumeKeepsItsSetUp();
    void textTheVoiceGivesUp_data();
    void textTheVoiceGivesUp();

private:
    static QStringList volumes(const QStringList& calls);
};

QStringList TestSpeechJob::volumes(const QStringList& calls) {
    return calls.filter(QRegularExpression("^volume "));
}

void TestSpeechJob::delays_data() {
    QTest::addColumn<int>("speakDelay");
    QTest::addColumn<int>("preDelay");
    QTest::addColumn<int>("postDelay");
    QTest::addColumn<int>("speakTick");
    QTest::addColumn<int>("endTicks");
    QTest::newRow("speakDelay 3 both ways") << 3 << 0 << 0 << 3 << 3;
    QTest::newRow("own pre-delay 1") << 3 << 1 << 0 << 1 << 3;
    QTest::newRow("own post-delay 1") << 3 << 0 << 1 << 3 << 1;
    QTest::newRow("no delays at all") << 0 << 0 << 0 << 0 << 1;
    QTest::newRow("pre-delay without post-delay") << 0 << 2 << 0 << 2 << 1;
    QTest::newRow("post-delay 2 without pre-delay") << 0 << 0 << 2 << 0 << 2;
    QTest::newRow("negative delays count as none") << 3 << -4 << -1 << 0 << 1;
}

void TestSpeechJob::delays() {
    QFETCH(int, speakDelay);
    QFETCH(int, preDelay);
    QFETCH(int, postDelay);
    QFETCH(int, speakTick);
    QFETCH(int, endTicks);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    rig.store->settings.speakDelay = speakDelay;
    rig.playMusic(rig.file("music.wav"), 60);
    rig.backend()->takeCalls();

    SpeechRequest request;
    request.voiceIndex = 2;
    request.preDelay = preDelay;
    request.postDelay = postDelay;
    request.text = "hello";
    rig.job->StartSpeechJob(&request, false);
    QVERIFY(rig.job->speaking());
    // The music goes on, turned down under the voice.
    QCOMPARE(rig.backend()->takeCalls(), QStringList{"volume 10"});

    int tick = 0;
    while (rig.takeSpoken().isEmpty()) {
        QVERIFY2(tick < 10, "the voice never spoke");
        rig.second();
        ++tick;
    }
    QCOMPARE(tick, speakTick);
    rig.run(2);
    QVERIFY(rig.job->speaking());
    rig.voice->finish();
    int ticks = 0;
    while (rig.job->speaking()) {
        QVERIFY2(ticks < 10, "the job never ended");
        rig.second();
        ++ticks;
    }
    QCOMPARE(ticks, endTicks);
    QCOMPARE(rig.backend()->takeCalls(), QStringList{"volume 60"});
    QVERIFY(rig.events.isEmpty());
}

void TestSpeechJob::backgroundMusicLoopsAndHandsBack_data() {
    QTest::addColumn<QList<int>>("listed");
    QTest::addColumn<QStringList>("volumesAtStart");
    QTest::newRow("listed with volume 80")
        << QList<int>{80} << QStringList{"volume 10", "volume 80"};
    QTest::newRow("listed twice, the last counts")
        << QList<int>{50, 80} << QStringList{"volume 10", "volume 80"};
    QTest::newRow("listed with volume 0") << QList<int>{0} << QStringList{"volume 10"};
    QTest::newRow("not listed") << QList<int>{} << QStringList{"volume 10"};
}

void TestSpeechJob::backgroundMusicLoopsAndHandsBack() {
    QFETCH(QList<int>, listed);
    QFETCH(QStringList, volumesAtStart);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    const QString music = rig.file("music.wav");
    const QString bed = rig.file("bed.wav");
    for (int volume : listed)
        rig.addBackgroundMusic(bed, volume);
    rig.playMusic(music, 60);
    rig.backend()->takeCalls();
    rig.events.clear();
    rig.onNextMusic = [&] { rig.playMusic(music, 60); };

    SpeechTask* task = rig.addTask("news", 1000, 1000);
    task->bkMusic = bed;
    const SpeechRequest request = SpeechRequest::FromTask(*task);
    rig.job->StartSpeechJob(&request, true);
    QCOMPARE(rig.backend()->takeCalls(),
             (volumesAtStart + QStringList{"stop", "load " + bed, "play"}));
    QCOMPARE(rig.events, (QStringList{"wake", "clear music entry"}));
    rig.events.clear();

    // The background music starts again whenever it ends during the job.
    rig.second();
    rig.backend()->finish();
    rig.second();
    QCOMPARE(rig.backend()->takeCalls(), (QStringList{"position 0", "play"}));
    rig.second();
    QCOMPARE(rig.takeSpoken(), QStringList{"news text"});
    rig.backend()->finish();
    rig.second();
    rig.voice->finish();
    QCOMPARE(rig.backend()->takeCalls(), (QStringList{"position 0", "play"}));
    QVERIFY(rig.events.isEmpty());

    // After the post-delay the music schedule takes the player back, and its
    // next item plays at the item's own volume.
    rig.run(2);
    QVERIFY(rig.job->speaking());
    rig.second();
    QVERIFY(!rig.job->speaking());
    QVERIFY(rig.player->speechJob.backgroundPath.isEmpty());
    QCOMPARE(rig.backend()->takeCalls(),
             (QStringList{"stop", "volume 60", "load " + music, "play"}));
    QCOMPARE(rig.events, QStringList{"next music"});
}

void TestSpeechJob::backgroundMusicAlreadyPlaying_data() {
    QTest::addColumn<bool>("stillPlaying");
    QTest::newRow("that file plays as music") << true;
    QTest::newRow("that file was loaded and has ended") << false;
}

void TestSpeechJob::backgroundMusicAlreadyPlaying() {
    QFETCH(bool, stillPlaying);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    rig.store->settings.speakDelay = 1;
    const QString bed = rig.file("bed.wav");
    rig.addBackgroundMusic(bed, 80);
    rig.playMusic(bed, 60);
    if (!stillPlaying)
        rig.backend()->finish();
    rig.backend()->takeCalls();

    SpeechRequest request;
    request.backgroundMusic = bed;
    request.text = "hello";
    rig.job->StartSpeechJob(&request, false);
    const QStringList calls = rig.backend()->takeCalls();
    QCOMPARE(volumes(calls), (QStringList{"volume 10", "volume 80"}));
    QCOMPARE(calls.contains("load " + bed), !stillPlaying);
    QCOMPARE(rig.player->speechJob.backgroundPath.isEmpty(), stillPlaying);

    rig.run(2);
    rig.voice->finish();
    rig.run(2);
    QVERIFY(!rig.job->speaking());
    if (stillPlaying) {
        // The file was the music's: it plays on, at the music volume again.
        QCOMPARE(rig.backend()->takeCalls(), QStringList{"volume 60"});
        QVERIFY(rig.events.isEmpty());
    } else {
        QCOMPARE(rig.backend()->takeCalls().first(), QString("stop"));
        // Nothing else to play: the idle player keeps asking.
        QCOMPARE(rig.events.mid(0, 2), (QStringList{"clear music entry", "next music"}));
    }
}

void TestSpeechJob::wakesTheTransmitter_data() {
    QTest::addColumn<bool>("wake");
    QTest::addColumn<bool>("working");
    QTest::addColumn<bool>("woken");
    QTest::newRow("scheduled speech in working hours") << true << true << true;
    QTest::newRow("scheduled speech after hours") << true << false << false;
    QTest::newRow("preview") << false << true << false;
}

void TestSpeechJob::wakesTheTransmitter() {
    QFETCH(bool, wake);
    QFETCH(bool, working);
    QFETCH(bool, woken);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    rig.state.workingNow = working;
    SpeechRequest request;
    request.text = "hello";
    rig.job->StartSpeechJob(&request, wake);
    QCOMPARE(rig.events.contains("wake"), woken);
}

void TestSpeechJob::instantSpeech_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("started");
    QTest::newRow("text") << "hello" << false << false << true;
    QTest::newRow("empty text") << "" << false << false << false;
    QTest::newRow("paused") << "hello" << true << false << false;
    QTest::newRow("another speech runs") << "hello" << false << true << false;
}

void TestSpeechJob::instantSpeech() {
    QFETCH(QString, text);
    QFETCH(bool, paused);
    QFETCH(bool, busy);
    QFETCH(bool, started);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    if (busy) {
        SpeechRequest other;
        other.voiceIndex = 4;
        other.preDelay = 9;
        other.text = "other";
        rig.job->StartSpeechJob(&other, false);
    }
    rig.player->SetPaused(paused);
    rig.backend()->takeCalls();

    rig.job->SpeakInstantText(text, true);
    const SpeechJobState& job = rig.player->speechJob;
    QCOMPARE(rig.events.contains("wake"), started);
    QCOMPARE(rig.backend()->takeCalls().isEmpty(), !started);
    if (started) {
        QCOMPARE(job.voiceIndex, -1);
        QCOMPARE(job.preDelay, 3);
        QCOMPARE(job.postDelay, 3);
        QCOMPARE(job.text, text);
    } else {
        QCOMPARE(rig.job->speaking(), busy);
        QCOMPARE(job.text, busy ? QString("other") : QString());
    }
}

void TestSpeechJob::pauseHoldsThePreDelay() {
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    SpeechRequest request;
    request.text = "hello";
    rig.job->StartSpeechJob(&request, false);
    rig.second();
    rig.player->SetPaused(true);
    rig.run(10);
    QVERIFY(rig.takeSpoken().isEmpty());
    QCOMPARE(rig.player->speechJob.preDelay, 2);

    // Nothing new starts during the pause either.
    SpeechRequest other;
    other.text = "other";
    rig.job->StartSpeechJob(&other, false);
    QCOMPARE(rig.player->speechJob.text, QString("hello"));

    rig.player->SetPaused(false);
    rig.second();
    QVERIFY(rig.takeSpoken().isEmpty());
    rig.second();
    QCOMPARE(rig.takeSpoken(), QStringList{"hello"});
}

void TestSpeechJob::failedStartEndsTheJob_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("withBackground");
    for (const char* failure : {"refused at once", "refused after the pre-delay", "no voice"}) {
        QTest::addRow("%s", failure) << failure << false;
        QTest::addRow("%s, background music", failure) << failure << true;
    }
}

void TestSpeechJob::failedStartEndsTheJob() {
    QFETCH(QString, failure);
    QFETCH(bool, withBackground);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(9, 59, 59)), failure != "no voice");
    if (failure == "refused at once")
        rig.store->settings.speakDelay = 0;
    if (rig.voice)
        rig.voice->refuseSpeak = true;
    const QString music = rig.file("music.wav");
    SpeechTask* first = rig.addTask("first", 1000, 1000);
    if (withBackground)
        first->bkMusic = rig.file("bed.wav");
    rig.addTask("second", 1005, 1005);
    rig.schedule->BuildTodaySpeechList();
    rig.playMusic(music, 60);
    rig.backend()->takeCalls();
    rig.events.clear();

    rig.run(10);
    QVERIFY(!rig.job->speaking());
    QCOMPARE(rig.schedule->currentEntryIndex(), -1);
    QCOMPARE(rig.logLines().filter("Speech could not be started: first text").size(), 1);
    const QStringList calls = rig.backend()->takeCalls();
    if (withBackground) {
        // The background music stops and the music schedule goes on.
        QVERIFY(calls.contains("stop"));
        QVERIFY(rig.events.contains("next music"));
        QVERIFY(rig.player->speechJob.backgroundPath.isEmpty());
    } else {
        QCOMPARE(volumes(calls).last(), QString("volume 60"));
    }

    // The day goes on as planned.
    if (rig.voice)
        rig.voice->refuseSpeak = false;
    rig.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 5)));
    rig.run(5);
    if (rig.voice) {
        QCOMPARE(rig.takeSpoken().last(), QString("second text"));
        QCOMPARE(rig.schedule->currentEntryIndex(), 1);
    } else {
        QCOMPARE(rig.logLines().filter("Speech could not be started: second text").size(), 1);
        QCOMPARE(rig.schedule->currentEntryIndex(), -1);
    }
}

void TestSpeechJob::completionDuringPauseEndsOnResume_data() {
    QTest::addColumn<bool>("withBackground");
    QTest::newRow("music turned down") << false;
    QTest::newRow("background music") << true;
}

void TestSpeechJob::completionDuringPauseEndsOnResume() {
    QFETCH(bool, withBackground);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    const QString music = rig.file("music.wav");
    SpeechTask* first = rig.addTask("first", 1000, 1000);
    if (withBackground)
        first->bkMusic = rig.file("bed.wav");
    rig.addTask("second", 1005, 1005);
    rig.schedule->BuildTodaySpeechList();
    rig.playMusic(music, 60);
    rig.onNextMusic = [&] { rig.playMusic(music, 60); };
    rig.run(5);
    QCOMPARE(rig.takeSpoken(), QStringList{"first text"});

    rig.player->SetPaused(true);
    rig.voice->finish();
    rig.run(10);
    // The post-delay ran out during the pause; the end waits for the resume.
    QVERIFY(!rig.job->speaking());
    QCOMPARE(rig.schedule->currentEntryIndex(), 0);
    rig.backend()->takeCalls();
    rig.events.clear();

    rig.player->SetPaused(false);
    rig.backend()->takeCalls();
    rig.second();
    QCOMPARE(rig.schedule->currentEntryIndex(), -1);
    const QStringList calls = rig.backend()->takeCalls();
    if (withBackground) {
        QCOMPARE(calls.first(), QString("stop"));
        QCOMPARE(rig.events, QStringList{"next music"});
    } else {
        QCOMPARE(calls, QStringList{"volume 60"});
    }
    rig.run(10);
    QVERIFY(rig.backend()->takeCalls().filter("volume").isEmpty());

    rig.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 5)));
    rig.run(5);
    QCOMPARE(rig.takeSpoken(), QStringList{"second text"});
}

void TestSpeechJob::speechRightAfterResumeKeepsItsSetUp() {
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    rig.store->settings.speakDelay = 0;
    rig.playMusic(rig.file("music.wav"), 60);
    rig.job->SpeakInstantText("first", false);
    rig.player->SetPaused(true);
    rig.voice->finish();
    rig.second();
    QVERIFY(!rig.job->speaking());

    // The operator speaks again before the next tick: the old job's end runs
    // first and cannot turn the new speech's music back up.
    rig.player->SetPaused(false);
    rig.backend()->takeCalls();
    rig.job->SpeakInstantText("second", false);
    QCOMPARE(volumes(rig.backend()->takeCalls()), (QStringList{"volume 60", "volume 10"}));
    QVERIFY(rig.job->speaking());
    rig.second();
    QVERIFY(rig.backend()->takeCalls().isEmpty());
    QVERIFY(rig.job->speaking());
}

void TestSpeechJob::textTheVoiceGivesUp_data() {
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<bool>("instant");
    QTest::addColumn<bool>("withBackground");
    QTest::addColumn<int>("tries");
    QTest::addColumn<QString>("logged");
    const QString streaming = "Audio streaming error.";
    QTest::newRow("said at once") << QStringList{} << false << false << 1 << "";
    QTest::newRow("said on the second try") << QStringList{streaming} << false << false << 2 << "";
    QTest::newRow("given up twice") << QStringList{"first reason", "second reason"} << false
                                    << false << 2 << "Speech failed: second reason (station check)";
    QTest::newRow("given up twice, background music")
        << QStringList{streaming, streaming, streaming} << false << true << 2
        << "Speech failed: Audio streaming error. (station check)";
    QTest::newRow("instant speech given up twice")
        << QStringList{streaming, streaming} << true << false << 2
        << "Speech failed: Audio streaming error. (ACME|Works)";
}

void TestSpeechJob::textTheVoiceGivesUp() {
    QFETCH(QStringList, failures);
    QFETCH(bool, instant);
    QFETCH(bool, withBackground);
    QFETCH(int, tries);
    QFETCH(QString, logged);
    SpeechRig rig(QDateTime(QDate(2026, 3, 2), QTime(9, 59, 58)));
    const QString music = rig.file("music.wav");
    rig.playMusic(music, 60);
    rig.onNextMusic = [&] { rig.playMusic(music, 60); };
    rig.voice->failures = failures;
    if (instant) {
        rig.job->SpeakInstantText("ACME|Works", false);
    } else {
        SpeechTask* task = rig.addTask("station check", 1000, 1000);
        task->text = "This is the station check.";
        if (withBackground)
            task->bkMusic = rig.file("bed.wav");
        rig.schedule->BuildTodaySpeechList();
    }
    rig.backend()->takeCalls();

    // The voice gets through (or gives up) every text at once.
    QStringList spoken;
    for (int i = 0; i < 30 && (spoken.isEmpty() || rig.job->speaking()); ++i) {
        rig.second();
        spoken += rig.takeSpoken();
        rig.voice->finish();
    }
    QVERIFY(!rig.job->speaking());
    QCOMPARE(spoken.size(), tries);
    QCOMPARE(spoken.count(spoken.first()), tries);
    const QStringList failed = rig.logLines().filter("Speech failed: ");
    QCOMPARE(failed.size(), logged.isEmpty() ? 0 : 1);
    if (!logged.isEmpty())
        QVERIFY2(failed.first().endsWith(" " + logged), qPrintable(failed.first()));

    // Whatever the voice did, the entry lets go and the music comes back.
    QCOMPARE(rig.schedule->currentEntryIndex(), -1);
    const QStringList calls = rig.backend()->takeCalls();
    if (withBackground)
        QVERIFY(calls.contains("stop") && rig.events.contains("next music"));
    QCOMPARE(volumes(calls).last(), QString("volume 60"));
}

QTEST_GUILESS_MAIN(TestSpeechJob)
#include "tst_speechjob.moc"
