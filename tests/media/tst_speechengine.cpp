#include <QtTest>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/speechengine.h"
#include "store/records.h"
#include "store/uitext.h"

// The speech variables, the voice lists and the speak operation against a
// fake voice engine.
class TestSpeechEngine : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void expandVariables_data();
    void expandVariables();
    void speakExpandsWithClockSettingsAndLanguage();
    void fillVoiceList_data();
    void fillVoiceList();
    void effectListRegistration();
    void voiceChoice_data();
    void voiceChoice();
    void nullTextOnlyArms();
    void speakingFlag_data();
    void speakingFlag();
};

namespace {

// Installed voices with tokens "t0", "t1", ... in the given order.
std::unique_ptr<FakeTtsBackend> VoiceWith(const QStringList& descriptions) {
    auto voice = std::make_unique<FakeTtsBackend>();
    for (int i = 0; i < descriptions.size(); ++i)
        voice->installed.append({QStringLiteral("t%1").arg(i), descriptions[i]});
    return voice;
}

const QStringList kAllFive = {"VW Hui", "VW Liang", "VW Lily", "VW Julie", "VW Paul"};

// Records whether the speaking flag was already set when the text went out.
class FlagWatchingVoice : public FakeTtsBackend {
public:
    bool speak(const QString& text) override {
        flagAtSpeak = engine && engine->speaking();
        return FakeTtsBackend::speak(text);
    }
    const SpeechEngine* engine = nullptr;
    bool flagAtSpeak = false;
};

} // namespace

void TestSpeechEngine::cleanup() {
    SetUiLanguage(0);
}

void TestSpeechEngine::expandVariables_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("langId");
    QTest::addColumn<QString>("expected");
    const QDate may3(2016, 5, 3); // a Tuesday
    auto at = [&](int h, int m) { return QDateTime(may3, QTime(h, m)); };

    QTest::newRow("09:05 Chinese") << "%Time%" << at(9, 5) << 0 << u"上午9时5分"_qs;
    QTest::newRow("15:30 English") << "%Time%" << at(15, 30) << 1 << "afternoon15:30";
    QTest::newRow("08:00 English") << "%Time%" << at(8, 0) << 1 << "morning8:0";
    QTest::newRow("05:59 Chinese") << "%Time%" << at(5, 59) << 0 << u"凌晨5时59分"_qs;
    QTest::newRow("06:00 Chinese") << "%Time%" << at(6, 0) << 0 << u"早上6时0分"_qs;
    QTest::newRow("12:59 Chinese") << "%Time%" << at(12, 59) << 0 << u"上午12时59分"_qs;
    QTest::newRow("13:00 Chinese") << "%Time%" << at(13, 0) << 0 << u"下午13时0分"_qs;
    QTest::newRow("19:00 Chinese") << "%Time%" << at(19, 0) << 0 << u"晚上19时0分"_qs;
    QTest::newRow("00:10 English") << "%Time%" << at(0, 10) << 1 << "midnight0:10";
    QTest::newRow("23:59 English") << "%Time%" << at(23, 59) << 1 << "night23:59";
    QTest::newRow("date Chinese") << "%Date%" << at(10, 0) << 0 << u"2016年5月3日"_qs;
    QTest::newRow("date English") << "%Date%" << at(10, 0) << 1 << "2016/5/3";
    QTest::newRow("other case stays") << "%week% %WEEK%" << at(10, 0) << 1 << "%week% %WEEK%";
    QTest::newRow("weekday twice") << "%Week%%Week%" << at(10, 0) << 0 << u"星期二星期二"_qs;
    QTest::newRow("Sunday Chinese")
        << "%Week%" << QDateTime(QDate(2016, 5, 8), QTime(9, 0)) << 0 << u"星期天"_qs;
    QTest::newRow("Sunday English")
        << "%Week%" << QDateTime(QDate(2016, 5, 8), QTime(9, 0)) << 1 << "Sunday";
    QTest::newRow("language 2 is Chinese") << "%Week%" << at(10, 0) << 2 << u"星期二"_qs;
    QTest::newRow("all four, every occurrence")
        << "%Name%: %Date% %Time% %Week%, %Name%." << at(15, 30) << 1
        << "Acme Tuesday: 2016/5/3 afternoon15:30 Tuesday, Acme Tuesday.";
    QTest::newRow("no variables") << "50% off at 10%" << at(10, 0) << 0 << "50% off at 10%";
}

void TestSpeechEngine::expandVariables() {
    QFETCH(QString, text);
    QFETCH(QDateTime, now);
    QFETCH(int, langId);
    QFETCH(QString, expected);
    // The name goes in first, so a variable inside it is expanded as well.
    ExpandSpeechVariables(text, QStringLiteral("Acme %Week%"), now, langId);
    QCOMPARE(text, expected);
}

void TestSpeechEngine::speakExpandsWithClockSettingsAndLanguage() {
    FakeClock clock(QDateTime(QDate(2016, 5, 3), QTime(8, 0)));
    CommonSettings settings;
    settings.enterpriseName = QStringLiteral("Acme");
    auto voice = std::make_unique<FakeTtsBackend>();
    FakeTtsBackend* fake = voice.get();
    SpeechEngine engine(std::move(voice), clock, &settings);
    SetUiLanguage(1);
    const QString stored = QStringLiteral("%Name% %Time%");
    QVERIFY(engine.SpeakText(0, stored));
    QCOMPARE(fake->takeCalls(), QStringList{"speak Acme morning8:0"});
    QCOMPARE(stored, QStringLiteral("%Name% %Time%"));
}

void TestSpeechEngine::fillVoiceList_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("tokens");
    QTest::newRow("VW Paul and another voice")
        << QStringList{"Other Voice", "VW Paul"} << QStringList{"Male Voice (Paul)"}
        << QStringList{"t1"};
    QTest::newRow("lower case") << QStringList{"vw hui"} << QStringList{u"中文女声Hui"_qs}
                                << QStringList{"t0"};
    QTest::newRow("all five keep the engine's order")
        << QStringList{"VW Paul", "x", "VW Julie", "VW Lily", "VW Liang", "VW Hui", "y"}
        << QStringList{"Male Voice (Paul)", "Female Voice (Julie)", u"中文女声Lily"_qs,
                       u"中文男声Liang"_qs, u"中文女声Hui"_qs}
        << QStringList{"t0", "t2", "t3", "t4", "t5"};
    QTest::newRow("near names are other voices")
        << QStringList{"VW Paul2", " VW Paul", "VWPaul"} << QStringList{} << QStringList{};
    QTest::newRow("nothing installed") << QStringList{} << QStringList{} << QStringList{};
}

void TestSpeechEngine::fillVoiceList() {
    QFETCH(QStringList, installed);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, tokens);
    FakeClock clock;
    SpeechEngine engine(VoiceWith(installed), clock);
    auto list = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(list, false));
    QStringList seenTexts, seenTokens;
    for (int i = 0; i < list->count(); ++i) {
        seenTexts << list->itemText(i);
        seenTokens << list->itemToken(i);
    }
    QCOMPARE(seenTexts, texts);
    QCOMPARE(seenTokens, tokens);
}

void TestSpeechEngine::effectListRegistration() {
    FakeClock clock;
    auto voice = VoiceWith(kAllFive);
    FakeTtsBackend* fake = voice.get();
    SpeechEngine engine(std::move(voice), clock);
    auto effectList = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(effectList, true));
    QVERIFY(engine.FillVoiceList(std::make_shared<PlainVoiceList>(), false));
    QCOMPARE(engine.effectList(), effectList.get());
    // The effect panel of a reopened main window takes over.
    auto reopened = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(reopened, true));
    QCOMPARE(engine.effectList(), reopened.get());

    // Voices that cannot be enumerated leave the list and the registration alone.
    fake->enumerationFails = true;
    auto kept = std::make_shared<PlainVoiceList>();
    kept->addItem("kept", "k");
    QVERIFY(!engine.FillVoiceList(kept, true));
    QCOMPARE(kept->count(), 1);
    QCOMPARE(engine.effectList(), reopened.get());
}

void TestSpeechEngine::voiceChoice_data() {
    QTest::addColumn<bool>("withEffectList");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("voiceIndex");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("-1: the selection") << true << 2 << -1 << QStringList{"voice t2", "speak hi"};
    QTest::newRow("7 of 5: the selection") << true << 2 << 7 << QStringList{"voice t2", "speak hi"};
    QTest::newRow("5 of 5: the selection") << true << 2 << 5 << QStringList{"voice t2", "speak hi"};
    QTest::newRow("3: item 3") << true << 2 << 3 << QStringList{"voice t3", "speak hi"};
    QTest::newRow("0: item 0") << true << 2 << 0 << QStringList{"voice t0", "speak hi"};
    QTest::newRow("no selection: default voice")
        << true << -1 << -1 << QStringList{"voice ", "speak hi"};
    QTest::newRow("no effect list: voice unchanged") << false << -1 << 3 << QStringList{"speak hi"};
}

void TestSpeechEngine::voiceChoice() {
    QFETCH(bool, withEffectList);
    QFETCH(int, selection);
    QFETCH(int, voiceIndex);
    QFETCH(QStringList, calls);
    FakeClock clock;
    auto voice = VoiceWith(kAllFive);
    FakeTtsBackend* fake = voice.get();
    SpeechEngine engine(std::move(voice), clock);
    auto list = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(list, withEffectList));
    list->setCurrentIndex(selection);

    QVERIFY(engine.SpeakText(voiceIndex, QStringLiteral("hi")));
    QCOMPARE(fake->takeCalls(), calls);
    QCOMPARE(list->currentIndex(), selection);
}

void TestSpeechEngine::nullTextOnlyArms() {
    FakeClock clock;
    auto voice = VoiceWith(kAllFive);
    FakeTtsBackend* fake = voice.get();
    SpeechEngine engine(std::move(voice), clock);
    auto list = std::make_shared<PlainVoiceList>();
    QVERIFY(engine.FillVoiceList(list, true));
    QVERIFY(engine.SpeakText(1, QString()));
    QVERIFY(engine.speaking());
    QCOMPARE(fake->takeCalls(), QStringList());
    // An empty text is a text: it is handed to the voice.
    QVERIFY(engine.SpeakText(1, QLatin1String("")));
    QCOMPARE(fake->takeCalls(), (QStringList{"voice t1", "speak "}));
}

void TestSpeechEngine::speakingFlag_data() {
    QTest::addColumn<bool>("withVoice");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::newRow("spoken") << true << false << "hello" << true;
    QTest::newRow("refused by the voice") << true << true << "hello" << false;
    QTest::newRow("no voice") << false << false << "hello" << false;
    QTest::newRow("no voice, arming") << false << false << QString() << false;
}

void TestSpeechEngine::speakingFlag() {
    QFETCH(bool, withVoice);
    QFETCH(bool, refuse);
    QFETCH(QString, text);
    QFETCH(bool, result);
    FakeClock clock;
    std::unique_ptr<FlagWatchingVoice> voice;
    FlagWatchingVoice* fake = nullptr;
    if (withVoice) {
        voice = std::make_unique<FlagWatchingVoice>();
        voice->refuseSpeak = refuse;
        fake = voice.get();
    }
    SpeechEngine engine(std::move(voice), clock);
    if (fake)
        fake->engine = &engine;
    QCOMPARE(engine.SpeakText(0, text), result);
    QCOMPARE(engine.speaking(), result);
    if (fake)
        QVERIFY(fake->flagAtSpeak);
}

QTEST_GUILESS_MAIN(TestSpeechEngine)
#include "tst_speechengine.moc"
