#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#include "fakeclock.h"
#include "store/datastore.h"
#include "support/apppaths.h"

namespace {

SpeechTask speechTask(const QString& name, int startDate, int startTime, int endTime) {
    SpeechTask t;
    t.name = name;
    t.startDate = startDate;
    t.endDate = startDate + 10;
    t.startTime = startTime;
    t.endTime = endTime;
    return t;
}

QStringList speechNames(const DataStore& store) {
    QStringList names;
    for (const auto& t : store.speechTasks)
        names << t->name;
    return names;
}

QStringList lines(const QString& text) {
    QStringList result = text.split(QStringLiteral("\r\n"));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace

// List operations and the plain-text forms of the data files, with saving
// held off by the loading flag so that no file is touched.
class TestStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tasksKeepInsertionOrderForEqualKeys();
    void musicTaskActiveNow_data();
    void musicTaskActiveNow();
    void speechTaskActiveToday();
    void findUserFromTheEndIgnoringCase();
    void pathComparisons();
    void textRoundTrip();
    void lenientReading();
    void commonFileLines();
    void numbersAsWritten_data();
    void numbersAsWritten();
    void widestLinesAreWhole();

private:
    QTemporaryDir dir;
    FakeClock clock;
};

void TestStore::init() {
    SetAppFolderForTests(dir.path());
}
void TestStore::cleanup() {
    SetAppFolderForTests(QString());
}

void TestStore::tasksKeepInsertionOrderForEqualKeys() {
    DataStore store(clock);
    store.loading = 1;
    QVERIFY(QFileInfo(dir.filePath("data")).isDir());
    QCOMPARE(store.AddSpeechTask(speechTask("a", 20260301, 800, 900)), 0);
    QCOMPARE(store.AddSpeechTask(speechTask("b", 20260301, 800, 900)), 1);
    QCOMPARE(store.AddSpeechTask(speechTask("c", 20260301, 800, 900)), 2);
    QCOMPARE(store.AddSpeechTask(speechTask("early", 20260301, 700, 900)), 0);
    QCOMPARE(store.AddSpeechTask(speechTask("short", 20260301, 800, 830)), 1);
    QCOMPARE(store.AddSpeechTask(speechTask("later date", 20260302, 0, 0)), 5);
    QCOMPARE(speechNames(store), QStringList({"early", "short", "a", "b", "c", "later date"}));

    // Re-sorting a changed task moves it behind the tasks of its new key.
    SpeechTask* a = store.speechTasks[2].get();
    a->startTime = 700;
    QCOMPARE(store.UpdateSpeechTask(a, true), 1);
    QCOMPARE(speechNames(store), QStringList({"early", "a", "short", "b", "c", "later date"}));

    MusicTask m;
    m.name = "m";
    m.items.push_back(std::make_unique<PlayItem>());
    m.runState = 7;
    MusicTask* added = nullptr;
    QCOMPARE(store.AddMusicTask(std::move(m), &added), 0);
    QCOMPARE(added->items.size(), size_t(1));
    QCOMPARE(added->runState, 0);
    std::unique_ptr<MusicTask> taken = store.RemoveMusicTask(added, false);
    QVERIFY(taken && store.musicTasks.empty());
    QCOMPARE(store.InsertMusicTask(std::move(taken)), 0);
    QVERIFY(!store.RemoveMusicTask(added, true));
    QVERIFY(store.musicTasks.empty());
}

void TestStore::musicTaskActiveNow_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("workStart");
    QTest::addColumn<int>("workEnd");
    QTest::addColumn<int>("startTime");
    QTest::addColumn<int>("endTime");
    QTest::addColumn<bool>("active");
    const QDate monday(2026, 3, 2), tuesday(2026, 3, 3);
    QTest::newRow("before working hours")
        << QDateTime(monday, QTime(9, 59)) << 1000 << 1600 << 800 << 1200 << false;
    QTest::newRow("working hours begin")
        << QDateTime(monday, QTime(10, 0)) << 1000 << 1600 << 800 << 1200 << true;
    QTest::newRow("end minute is open")
        << QDateTime(monday, QTime(12, 0, 59)) << 1000 << 1600 << 800 << 1200 << true;
    QTest::newRow("after the window")
        << QDateTime(monday, QTime(12, 1)) << 1000 << 1600 << 800 << 1200 << false;
    QTest::newRow("no working bounds")
        << QDateTime(monday, QTime(8, 0)) << 0 << 0 << 800 << 1200 << true;
    QTest::newRow("window outside hours")
        << QDateTime(monday, QTime(17, 30)) << 800 << 1600 << 1700 << 1800 << false;
    QTest::newRow("other weekday")
        << QDateTime(tuesday, QTime(10, 0)) << 0 << 0 << 800 << 1200 << false;
    QTest::newRow("after end date")
        << QDateTime(QDate(2026, 3, 9), QTime(10, 0)) << 0 << 0 << 800 << 1200 << false;
}

void TestStore::musicTaskActiveNow() {
    QFETCH(QDateTime, now);
    QFETCH(int, workStart);
    QFETCH(int, workEnd);
    QFETCH(int, startTime);
    QFETCH(int, endTime);
    QFETCH(bool, active);
    CommonSettings settings;
    settings.dailyTime[0] = workStart;
    settings.dailyTime[1] = workEnd;
    MusicTask task;
    task.startDate = 20260302;
    task.endDate = 20260308;
    task.startTime = startTime;
    task.endTime = endTime;
    task.weekdays = WeekdayBit(0);
    clock.set(now);
    QCOMPARE(IsMusicTaskActiveNow(task, settings, clock), active);
    task.disabled = 1;
    QVERIFY(!IsMusicTaskActiveNow(task, settings, clock));
}

void TestStore::speechTaskActiveToday() {
    SpeechTask task = speechTask("t", 20260302, 0, 0);
    task.endDate = 20260302;
    task.weekdays = 0xF8;
    clock.set(2026, 3, 2, 23, 59);
    QVERIFY(IsSpeechTaskActiveToday(task, clock));
    clock.set(2026, 3, 3, 0, 0);
    QVERIFY(!IsSpeechTaskActiveToday(task, clock));
    task.endDate = 20260301; // ends before it starts
    clock.set(2026, 3, 2, 12, 0);
    QVERIFY(!IsSpeechTaskActiveToday(task, clock));
}

void TestStore::findUserFromTheEndIgnoringCase() {
    DataStore store(clock);
    store.loading = 1;
    store.AddUser({"Admin", "1", 1});
    QCOMPARE(store.FindUser("ADMIN")->password, QStringLiteral("1"));
    store.AddUser({"aDMIN", "2", 0});
    QCOMPARE(store.FindUser("admin")->password, QStringLiteral("2"));
    QVERIFY(!store.FindUser("nobody"));
}

void TestStore::pathComparisons() {
    DataStore store(clock);
    store.loading = 1;
    MusicCategory* c = store.AddCategory("pop");
    c->files << "c:\\music\\a.mp3"
             << "c:\\music\\b.mp3";
    QVERIFY(!store.RemoveCategoryFile(c, "C:/Music/c.mp3"));
    QVERIFY(store.RemoveCategoryFile(c, "C:/MUSIC/A.MP3"));
    QCOMPARE(c->files, QStringList({"c:\\music\\b.mp3"}));

    store.AddBackgroundMusic({"/m/x.wav", 10});
    store.AddBackgroundMusic({"/M/X.WAV", 20});
    QCOMPARE(store.FindBackgroundMusic("\\m\\x.wav")->volume, 20);
    QVERIFY(!store.FindBackgroundMusic(""));
}

void TestStore::textRoundTrip() {
    DataStore a(clock);
    a.loading = 1;
    SpeechTask s = speechTask("早操|广播", 20260301, 800, 900);
    s.name.replace(u'|', u' ');
    s.interval = 20;
    s.weekdays = 0xF8;
    s.effect = 2;
    s.bkMusic = "/音乐/背景.mp3";
    s.zones2 = 0x81;
    s.group2On = 1;
    s.text = "第一行=1\n第二行 %date%";
    s.preDelay = 4;
    s.postDelay = 5;
    s.disabled = 1;
    a.AddSpeechTask(s);
    a.AddScript({"标题", "a\nb"});
    a.playEffect = 3;
    a.AddBackgroundMusic({"/bk.wav", 80});
    MusicCategory* c = a.AddCategory("流行");
    c->files << "/a.mp3"
             << "/b.mp3";
    a.AddCategory("empty");
    MusicTask m;
    m.name = "课间";
    m.startDate = 20260301;
    m.endDate = 20261231;
    m.startTime = 800;
    m.endTime = 1700;
    m.weekdays = 0xF8;
    m.volume = 70;
    m.playOrder = 1;
    m.group3On = 1;
    m.zones3 = 0x01;
    auto item = std::make_unique<PlayItem>();
    item->kind = PlayItem::InsertPlay;
    item->path = "/i.mp3";
    item->timeMode = PlayItem::TimePoints;
    item->timePoints[0] = 930;
    item->timePoints[1] = 1400;
    item->duration = 305;
    item->batchIndex = 1;
    item->batchKey = 4;
    m.items.push_back(std::move(item));
    a.AddMusicTask(std::move(m));
    a.AddUser({"Op", "p=w", 0});
    a.settings.enterpriseName = "工厂=A";
    a.settings.dailyTime[0] = 800;
    a.settings.dailyTime[13] = 1800;
    a.settings.speakDelay = 7;
    a.settings.ttsBackgroundVolume = 25;

    DataStore b(clock);
    b.loading = 1;
    for (const QString& l : lines(a.SpeechFileText()))
        QVERIFY(b.ReadSpeechLine(l));
    for (const QString& l : lines(a.CategoryFileText()))
        QVERIFY(b.ReadCategoryLine(l));
    for (const QString& l : lines(a.MusicTaskFileText()))
        QVERIFY(b.ReadMusicTaskLine(l));
    for (const QString& l : lines(a.UserFileText()))
        QVERIFY(b.ReadUserLine(l));
    for (const QString& l : lines(a.CommonFileText()))
        QVERIFY(b.ReadCommonLine(l));

    QCOMPARE(b.SpeechFileText(), a.SpeechFileText());
    QCOMPARE(b.CategoryFileText(), a.CategoryFileText());
    QCOMPARE(b.MusicTaskFileText(), a.MusicTaskFileText());
    QCOMPARE(b.UserFileText(), a.UserFileText());
    QCOMPARE(b.CommonFileText(), a.CommonFileText());
    QCOMPARE(b.speechTasks[0]->text, s.text);
    QCOMPARE(b.scripts[0]->text, QStringLiteral("a\nb"));
    QCOMPARE(b.settings.enterpriseName, QStringLiteral("工厂=A"));
    QCOMPARE(b.musicTasks[0]->items[0]->timePoints[1], 1400);
    QCOMPARE(b.categories[1]->files.size(), 0);
}

void TestStore::lenientReading() {
    DataStore store(clock);
    store.loading = 1;
    QVERIFY(!store.ReadSpeechLine("Task="));
    QVERIFY(store.speechTasks.empty());
    QVERIFY(!store.ReadSpeechLine("task=x|1"));
    QVERIFY(store.ReadSpeechLine("Task=short|20260301"));
    QCOMPARE(store.speechTasks[0]->endDate, 0);
    QVERIFY(store.speechTasks[0]->text.isEmpty());

    // An item before any task is dropped.
    QVERIFY(store.ReadMusicTaskLine(">0|/lost.mp3"));
    QVERIFY(store.musicTasks.empty());
    QVERIFY(store.ReadMusicTaskLine("Task=t|1|2|3|4|5|6|7|8|9|10|11|12|13|14|extra"));
    QVERIFY(store.ReadMusicTaskLine(">0|/a.mp3|0|100|1|0|0|0|930;1400;|305|0|0"));
    QVERIFY(store.ReadMusicTaskLine(">0|/b.mp3|0|100|1|0|0|0|1;2;3;4;5;6;7;8;9;10;11;12|0|0|0"));
    const MusicTask& t = *store.musicTasks[0];
    QCOMPARE(t.disabled, 14);
    QCOMPARE(t.items.size(), size_t(2));
    QCOMPARE(t.items[0]->usedTimePoints(), 2);
    QCOMPARE(t.items[0]->timePoints[2], 0);
    QCOMPARE(t.items[0]->duration, 305);
    QCOMPARE(t.items[1]->timePoints[9], 10);

    // File lines before a category, and after one with an empty name.
    QVERIFY(store.ReadCategoryLine(">/nowhere.mp3"));
    QVERIFY(store.categories.empty());
    QVERIFY(store.ReadCategoryLine("Stock=pop"));
    QVERIFY(!store.ReadCategoryLine("Stock="));
    QVERIFY(store.ReadCategoryLine(">/x.mp3"));
    QCOMPARE(store.categories.size(), size_t(1));
    QCOMPARE(store.categories[0]->files, QStringList({"/x.mp3"}));
}

void TestStore::commonFileLines() {
    DataStore store(clock);
    store.loading = 1;
    store.settings.dailyTime.fill(5);
    QVERIFY(store.ReadCommonLine("DailyTime=800,1700"));
    QCOMPARE(store.settings.dailyTime[0], 800);
    QCOMPARE(store.settings.dailyTime[1], 1700);
    QCOMPARE(store.settings.dailyTime[2], 0);
    QCOMPARE(store.settings.dailyTime[13], 0);
    QVERIFY(store.ReadCommonLine("EnterpriseName=A=B"));
    QCOMPARE(store.settings.enterpriseName, QStringLiteral("A=B"));
    QVERIFY(store.ReadCommonLine("CurLanguage=1"));
    QVERIFY(!store.ReadCommonLine("Unknown=3"));
    QVERIFY(store.ReadCommonLine("SpeakDelay"));
    QCOMPARE(store.settings.speakDelay, 0);

    store.langIdForSave = 1;
    store.settings = CommonSettings();
    store.settings.dailyTime[0] = 800;
    store.settings.dailyTime[1] = 1800;
    QCOMPARE(lines(store.CommonFileText()),
             QStringList({"CurLanguage=1", "EnterpriseName=", "TTSBackgroundVolume=10",
                          "DailyTime=800;1800;0;0;0;0;0;0;0;0;0;0;0;0;", "SpeakDelay=3"}));
}

// Record numbers are written with "%u" (negative values wrap), the common
// settings with "%d"; either way the value read back is the one written.
void TestStore::numbersAsWritten_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("written");

    const int lowest = std::numeric_limits<int>::min();
    const int highest = std::numeric_limits<int>::max();
    QTest::newRow("play count 0") << "play count" << 0 << "|/a.mp3|0|";
    QTest::newRow("play count -1") << "play count" << -1 << "|/a.mp3|4294967295|";
    QTest::newRow("play count lowest") << "play count" << lowest << "|/a.mp3|2147483648|";
    QTest::newRow("play count highest") << "play count" << highest << "|/a.mp3|2147483647|";
    QTest::newRow("time point 2359") << "time point" << 2359 << "|2359;|";
    QTest::newRow("speech post delay -2") << "post delay" << -2 << "|4294967294\r\n";
    QTest::newRow("speak delay 0") << "speak delay" << 0 << "SpeakDelay=0\r\n";
    QTest::newRow("speak delay -7") << "speak delay" << -7 << "SpeakDelay=-7\r\n";
    QTest::newRow("speak delay lowest") << "speak delay" << lowest << "SpeakDelay=-2147483648\r\n";
    QTest::newRow("volume highest") << "volume" << highest << "Volume=2147483647\r\n";
}

void TestStore::numbersAsWritten() {
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(QString, written);

    DataStore a(clock);
    a.loading = 1;
    MusicTask task;
    auto item = std::make_unique<PlayItem>();
    item->path = "/a.mp3";
    item->timeMode = PlayItem::TimePoints;
    item->playCount = field == "play count" ? value : 1;
    item->timePoints[0] = field == "time point" ? value : 0;
    task.items.push_back(std::move(item));
    a.AddMusicTask(std::move(task));
    SpeechTask speech;
    speech.postDelay = field == "post delay" ? value : 0;
    a.AddSpeechTask(speech);
    if (field == "speak delay")
        a.settings.speakDelay = value;
    if (field == "volume")
        a.settings.ttsBackgroundVolume = value;
    const QString text = a.MusicTaskFileText() + a.SpeechFileText() + a.CommonFileText();
    QVERIFY2(text.contains(written), qPrintable(text));

    DataStore b(clock);
    b.loading = 1;
    for (const QString& l : lines(a.MusicTaskFileText()))
        QVERIFY(b.ReadMusicTaskLine(l));
    for (const QString& l : lines(a.SpeechFileText()))
        QVERIFY(b.ReadSpeechLine(l));
    for (const QString& l : lines(a.CommonFileText()))
        QVERIFY(b.ReadCommonLine(l));
    const PlayItem& readItem = *b.musicTasks[0]->items[0];
    const QMap<QString, int> got{{"play count", readItem.playCount},
                                 {"time point", readItem.timePoints[0]},
                                 {"post delay", b.speechTasks[0]->postDelay},
                                 {"speak delay", b.settings.speakDelay},
                                 {"volume", b.settings.ttsBackgroundVolume}};
    QCOMPARE(got.value(field), value);
}

// Lines far longer than the usual ones (every number at its widest, ten
// time points) come out whole, however the text was sized for them.
void TestStore::widestLinesAreWhole() {
    DataStore a(clock);
    a.loading = 1;
    const int widest = std::numeric_limits<int>::max();
    MusicTask task;
    task.startDate = task.endDate = task.startTime = task.endTime = widest;
    task.volume = task.playOrder = task.group1On = task.group2On = task.group3On = -1;
    task.disabled = widest;
    for (int i = 0; i < 3; ++i) {
        auto item = std::make_unique<PlayItem>();
        item->kind = item->playCount = item->volume = item->timeMode = -1;
        item->path = "/a.mp3";
        item->rangeStart = item->rangeEnd = item->interval = item->duration = widest;
        item->batchIndex = item->batchKey = -1;
        item->timePoints.fill(widest);
        task.items.push_back(std::move(item));
    }
    a.AddMusicTask(std::move(task));

    const QString big = QString::number(widest);
    const QString wrapped = QStringLiteral("4294967295");
    const QString taskLine = "Task=|" + QStringList(4, big).join(u'|') + "|0|" +
                             QStringList(3, wrapped).join(u'|') + "|0|" + wrapped + "|0|" +
                             wrapped + "|0|" + big;
    const QString itemLine = ">" + wrapped + "|/a.mp3|" + QStringList(3, wrapped).join(u'|') + "|" +
                             QStringList(3, big).join(u'|') + "|" + (big + ";").repeated(10) + "|" +
                             big + "|" + wrapped + "|" + wrapped;
    QCOMPARE(lines(a.MusicTaskFileText()), (QStringList{taskLine, itemLine, itemLine, itemLine}));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
