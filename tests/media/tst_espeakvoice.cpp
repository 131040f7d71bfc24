#include <QAudioDevice>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "fakeclock.h"
#include "media/espeakttsbackend.h"
#include "media/player.h"
#include "media/speechengine.h"
#include "media/ttschoice.h"
#include "media/voicelist.h"
#include "sinkrecorder.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/media/playerwnd.h"
#include "ui/speech/ttseffectdlg.h"

// The espeak-ng voice, speaking for real on the sound server (the test script
// starts PulseAudio with a null sink) and listened to on the sink's monitor:
// on its own and as the station's voice behind the speech engine.

namespace {

const QString kChinese = QStringLiteral(u"现在时间是上午9时59分");
const QString kEnglish = QStringLiteral("The time is morning 9:59");

QString TokenOf(const QString& description) {
    for (const TtsVoice& v : EspeakTtsBackend::stationVoices()) {
        if (v.description == description)
            return v.token;
    }
    return QString();
}

bool WaitUntilComplete(TtsBackend& voice, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (!voice.isComplete()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

// QSKIP returns from the calling function, so these have to be macros.
#define NEED_ESPEAK(voice)                                                                         \
    QString why;                                                                                   \
    auto voice = EspeakTtsBackend::create(&why);                                                   \
    if (!voice)                                                                                    \
    QSKIP(qPrintable("espeak-ng cannot speak here (" + why +                                       \
                     "); install it with scripts/install-deps.sh"))

#define NEED_SOUND(recorder)                                                                       \
    if (QMediaDevices::audioOutputs().isEmpty())                                                   \
        QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh "       \
              "does so) to speak for real.");                                                      \
    if (QStandardPaths::findExecutable("parec").isEmpty() ||                                       \
        QStandardPaths::findExecutable("pacat").isEmpty())                                         \
        QSKIP("parec and pacat (PulseAudio's utilities) are needed to listen to the sound "        \
              "server.");                                                                          \
    SinkRecorder recorder;                                                                         \
    if (!recorder.start())                                                                         \
    QSKIP("The default sink's monitor cannot be recorded.")

class TestEspeakVoice : public QObject {
    Q_OBJECT

private slots:
    void chooseEngine_data();
    void chooseEngine();
    void stationSpeaksTheTask_data();
    void stationSpeaksTheTask();
    void voiceChoice_data();
    void voiceChoice();
    void spokenTextIsHeard_data();
    void spokenTextIsHeard();
    void pauseAndResume_data();
    void pauseAndResume();
};

void TestEspeakVoice::chooseEngine_data() {
    QTest::addColumn<QStringList>("platformVoices");
    QTest::addColumn<bool>("espeakReady");
    QTest::addColumn<bool>("espeakChosen");
    const QStringList flite{"kal", "awb", "rms", "slt"};
    QTest::newRow("flite's voices") << flite << true << true;
    QTest::newRow("no platform engine") << QStringList{} << true << true;
    QTest::newRow("platform has a station voice") << QStringList{"kal", "vw paul"} << true << false;
    QTest::newRow("no espeak-ng") << flite << false << false;
}

void TestEspeakVoice::chooseEngine() {
    QFETCH(QStringList, platformVoices);
    QFETCH(bool, espeakReady);
    QFETCH(bool, espeakChosen);
    QList<TtsVoice> voices;
    for (const QString& name : platformVoices)
        voices.append({"token " + name, name});
    QCOMPARE(ChooseVoiceEngine(voices, espeakReady) == VoiceEngine::Espeak, espeakChosen);
}

void TestEspeakVoice::voiceChoice_data() {
    QTest::addColumn<bool>("withEffectList");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("effect 1 is the male Mandarin voice")
        << true << 0 << 1 << kChinese << "VW Liang";
    QTest::newRow("effect 4 says Chinese too") << true << 0 << 4 << kChinese << "VW Paul";
    QTest::newRow("effect 2 is Lily") << true << 0 << 2 << kEnglish << "VW Lily";
    QTest::newRow("no effect list, Chinese") << false << 0 << -1 << u"测试 %Time%"_qs << "VW Hui";
    QTest::newRow("no effect list, English") << false << 0 << -1 << kEnglish << "VW Julie";
    QTest::newRow("nothing selected, Chinese") << true << -1 << -1 << kChinese << "VW Hui";
    QTest::newRow("nothing selected, digits") << true << -1 << 9 << "9:59"
                                              << "VW Julie";
    QTest::newRow("nothing selected, one character")
        << true << -1 << -1 << u"Test 好"_qs << "VW Hui";
}

void TestEspeakVoice::voiceChoice() {
    QFETCH(bool, withEffectList);
    QFETCH(int, selection);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    NEED_ESPEAK(voice);
    EspeakTtsBackend* espeak = voice.get();
    FakeClock clock(QDateTime(QDate(2026, 3, 2), QTime(9, 59)));
    SetUiLanguage(0);
    SpeechEngine engine(std::move(voice), clock);
    if (withEffectList) {
        auto list = std::make_shared<PlainVoiceList>();
        QVERIFY(engine.FillVoiceList(list, true));
        list->setCurrentIndex(selection);
    }
    QVERIFY(engine.SpeakText(index, text));
    QCOMPARE(espeak->voiceUsed(), TokenOf(expected));
}

void TestEspeakVoice::spokenTextIsHeard_data() {
    QTest::addColumn<QStringList>("voices");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("minLoudMs");
    for (const char* name : {"VW Hui", "VW Liang", "VW Lily"})
        QTest::newRow(name) << QStringList{name} << QStringList{kChinese} << 1500 << 1000;
    for (const char* name : {"VW Julie", "VW Paul"})
        QTest::newRow(name) << QStringList{name} << QStringList{kEnglish} << 1000 << 600;
    QTest::newRow("a text given while another is said follows it")
        << QStringList{"VW Liang", "VW Julie"} << QStringList{kChinese, kEnglish} << 2500 << 1600;
}

void TestEspeakVoice::spokenTextIsHeard() {
    QFETCH(QStringList, voices);
    QFETCH(QStringList, texts);
    QFETCH(int, minMs);
    QFETCH(int, minLoudMs);
    NEED_ESPEAK(voice);
    NEED_SOUND(recorder);
    QSignalSpy finished(voice.get(), &EspeakTtsBackend::speechFinished);
    QElapsedTimer took;
    took.start();
    for (int i = 0; i < texts.size(); ++i) {
        voice->setVoice(TokenOf(voices[i]));
        QVERIFY(voice->speak(texts[i]));
        QVERIFY(!voice->isComplete());
    }
    QVERIFY2(WaitUntilComplete(*voice, 30000), "the voice never finished");
    const qint64 ms = took.elapsed();
    QTest::qWait(300);
    const int loud = recorder.loudMs();
    QCOMPARE(voice->takeError(), QString());
    QCOMPARE(voice->voiceUsed(), TokenOf(voices.last()));
    QCOMPARE(finished.size(), 1);
    QVERIFY2(ms >= minMs && ms < 20000, qPrintable(QString::number(ms) + " ms to say"));
    QVERIFY2(loud >= minLoudMs, qPrintable(QString::number(loud) + " ms heard"));
}

void TestEspeakVoice::pauseAndResume_data() {
    QTest::addColumn<int>("pauseAfterMs");
    QTest::addColumn<bool>("completeWhilePaused");
    QTest::addColumn<int>("minLoudAfterResume");
    QTest::newRow("while speaking") << 1500 << false << 800;
    QTest::newRow("before a sound") << 0 << false << 1500;
    // As when the player pauses just after the voice finished: it stays
    // finished, and a later text is said as usual.
    QTest::newRow("after the end") << -1 << true << 1500;
}

void TestEspeakVoice::pauseAndResume() {
    QFETCH(int, pauseAfterMs);
    QFETCH(bool, completeWhilePaused);
    QFETCH(int, minLoudAfterResume);
    NEED_ESPEAK(voice);
    NEED_SOUND(untilPause);
    voice->setVoice(TokenOf("VW Hui"));
    QVERIFY(voice->speak(kChinese));
    if (pauseAfterMs < 0)
        QVERIFY(WaitUntilComplete(*voice, 30000));
    else
        QTest::qWait(pauseAfterMs);
    voice->pause();
    untilPause.loudMs();

    {
        NEED_SOUND(duringPause);
        QTest::qWait(2000);
        QCOMPARE(voice->isComplete(), completeWhilePaused);
        const int loud = duringPause.loudMs();
        QVERIFY2(loud <= 30, qPrintable(QString::number(loud) + " ms heard while paused"));
    }

    NEED_SOUND(afterResume);
    voice->resume();
    if (completeWhilePaused) {
        QVERIFY(voice->isComplete());
        QVERIFY(voice->speak(kChinese));
    }
    QVERIFY(WaitUntilComplete(*voice, 30000));
    QTest::qWait(300);
    const int loud = afterResume.loudMs();
    QCOMPARE(voice->takeError(), QString());
    QVERIFY2(loud >= minLoudAfterResume, qPrintable(QString::number(loud) + " ms heard"));
}

void TestEspeakVoice::stationSpeaksTheTask_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no effect list: the voice for Chinese") << -1 << "VW Hui";
    QTest::newRow("effect 1") << 1 << "VW Liang";
}

// A speech task's text and effect, as the speech job hands them to the speech
// engine, with the voice the program chooses for the station; the speech
// effect page, when there is one, offers that voice's five station voices.
void TestEspeakVoice::stationSpeaksTheTask() {
    QFETCH(int, effect);
    QFETCH(QString, expected);
    NEED_ESPEAK(probe);
    NEED_SOUND(recorder);
    std::unique_ptr<TtsBackend> station = CreateStationVoice();
    auto* voice = dynamic_cast<EspeakTtsBackend*>(station.get());
    QVERIFY2(voice, "espeak-ng can speak here, yet the station chose another engine");
    FakeClock clock(QDateTime(QDate(2026, 3, 2), QTime(9, 59)));
    SetUiLanguage(0);
    QTemporaryDir folder;
    DataStore store(clock, folder.path());
    store.loading = 1; // nothing is saved
    AppState state;
    Player player([] { return std::unique_ptr<MediaBackend>(); }, std::move(station), clock);
    CPlayerWnd playerWnd(player);
    std::unique_ptr<CTTSEffectDlg> page;
    if (effect >= 0) {
        page = std::make_unique<CTTSEffectDlg>(store, state, playerWnd);
        QStringList names;
        for (int i = 0; i < page->effectList()->count(); ++i)
            names << page->effectList()->itemText(i);
        QCOMPARE(names, (QStringList{u"中文女声Hui"_qs, u"中文男声Liang"_qs, u"中文女声Lily"_qs,
                                     "Female Voice (Julie)", "Male Voice (Paul)"}));
    }
    SpeechEngine& engine = player.speech();
    QVERIFY(engine.SpeakText(effect, u"测试 %Time%"_qs));
    QVERIFY(WaitUntilComplete(*voice, 30000));
    QTest::qWait(300);
    const int loud = recorder.loudMs();
    QCOMPARE(engine.TakeSpeechError(), QString());
    QCOMPARE(voice->voiceUsed(), TokenOf(expected));
    QVERIFY2(loud >= 800, qPrintable(QString::number(loud) + " ms heard"));
}

QTEST_MAIN(TestEspeakVoice)
#include "tst_espeakvoice.moc"
