#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "fakeclock.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"
#include "support/eventlog.h"

// The data files on disk: encrypted saves and loads in a temporary program
// folder that holds a copy of the built cipher library.
class TestDataFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void freshFolderGetsTheAdministrator();
    void fullRoundTrip();
    void adminAddedBesideLowerCaseAdmin();
    void savingWhileLoadingWritesNothing();
    void backgroundMusicRemovedKeepsOtherLines();
    void damagedFileIsKeptAside();
    void missingCipherLibraryLeavesFilesAlone();
    void storedTextsComeBackAsStored_data();
    void storedTextsComeBackAsStored();
    void failedSaveIsLoggedAndKeepsTheFile_data();
    void failedSaveIsLoggedAndKeepsTheFile();

private:
    QString dataFile(const char* name) const { return dir->filePath(QString("data/") + name); }
    QString plainText(const char* name) const;
    void writeEncrypted(const char* name, const QByteArray& plain);

    std::unique_ptr<QTemporaryDir> dir;
    FakeClock clock;
};

void TestDataFiles::initTestCase() {
    QVERIFY2(QFile::exists(QString(TOLVANE_BIN_DIR "/") + CryptLibraryFileName()),
             "the cipher library is not built");
}

void TestDataFiles::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(QString(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                        dir->filePath(CryptLibraryFileName())));
    SetAppFolderForTests(dir->path());
    QDir().mkpath(dir->filePath("data"));
    clock.set(2026, 3, 2, 8, 0);
}

void TestDataFiles::cleanup() {
    SetAppFolderForTests(QString());
}

QString TestDataFiles::plainText(const char* name) const {
    CryptLibraryBinding binding(DataStore::kDataKey);
    const QString out = dir->filePath("plain.txt");
    QFile::remove(out);
    if (!CryptFile(dataFile(name), false, binding, out))
        return QString();
    QFile f(out);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

void TestDataFiles::writeEncrypted(const char* name, const QByteArray& plain) {
    const QString in = dir->filePath("plain-in.txt");
    QFile f(in);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(plain);
    f.close();
    CryptLibraryBinding binding(DataStore::kDataKey);
    QVERIFY(CryptFile(in, true, binding, dataFile(name)));
}

void TestDataFiles::freshFolderGetsTheAdministrator() {
    DataStore store(clock);
    store.LoadAll();
    QCOMPARE(store.users.size(), size_t(1));
    QCOMPARE(store.users[0]->name, QStringLiteral("Admin"));
    QCOMPARE(store.users[0]->password, QStringLiteral("740286"));
    QCOMPARE(store.users[0]->role, 1);
    QCOMPARE(plainText("usrdata.sx"), QStringLiteral("User=1|Admin|740286\r\n"));
    QCOMPARE(QFileInfo(dataFile("usrdata.sx")).size(), 21);
    // At rest the temporary file is empty and private.
    QCOMPARE(QFileInfo(dataFile("inttemp.sx")).size(), 0);
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(dataFile("inttemp.sx")) & others, QFile::Permissions());
}

void TestDataFiles::fullRoundTrip() {
    {
        DataStore a(clock);
        a.LoadAll();
        SpeechTask s;
        s.name = "广播";
        s.startDate = 20260301;
        s.endDate = 20260331;
        s.text = "早上好=Good\n%time%";
        s.bkMusic = "/音乐/bk.wav";
        s.interval = 30;
        a.AddSpeechTask(s);
        a.AddScript({"脚本", "两行\n文本"});
        a.AddBackgroundMusic({"/音乐/bk.wav", 60});
        a.playEffect = 2;
        a.SaveSpeechFile();
        MusicCategory* c = a.AddCategory("古典");
        c->files << "/音乐/a.mp3";
        a.SaveCategoryFile();
        MusicTask m;
        m.name = "午间";
        auto item = std::make_unique<PlayItem>();
        item->kind = PlayItem::Background;
        item->path = "/音乐/a.mp3";
        item->playCount = kUnlimitedPlays;
        m.items.push_back(std::move(item));
        a.AddMusicTask(std::move(m));
        a.AddUser({"值班", "p|w", 0});
        a.settings.enterpriseName = "第一中学";
        a.settings.dailyTime[0] = 800;
        a.SaveCommonFile();
    }
    DataStore b(clock);
    b.LoadAll();
    QCOMPARE(b.speechTasks.size(), size_t(1));
    QCOMPARE(b.speechTasks[0]->text, QStringLiteral("早上好=Good\n%time%"));
    QCOMPARE(b.speechTasks[0]->interval, 30);
    QCOMPARE(b.scripts[0]->text, QStringLiteral("两行\n文本"));
    QCOMPARE(b.backgroundMusic[0]->volume, 60);
    QCOMPARE(b.playEffect, 2);
    QCOMPARE(b.categories[0]->files, QStringList({"/音乐/a.mp3"}));
    QCOMPARE(b.musicTasks[0]->items[0]->playCount, kUnlimitedPlays);
    QCOMPARE(b.users.size(), size_t(2));
    QCOMPARE(b.users[1]->name, QStringLiteral("值班"));
    // '|' inside a password would split the line: it is stored as a space.
    QCOMPARE(b.users[1]->password, QStringLiteral("p w"));
    QCOMPARE(b.settings.enterpriseName, QStringLiteral("第一中学"));
    QCOMPARE(b.settings.dailyTime[0], 800);
    // The saves re-read give the same plain text.
    QCOMPARE(plainText("ttsdata.sx"), b.SpeechFileText());
    QCOMPARE(plainText("mtskdata.sx"), b.MusicTaskFileText());
}

void TestDataFiles::adminAddedBesideLowerCaseAdmin() {
    writeEncrypted("usrdata.sx", "# users\r\n\r\nUser=1|admin|1234\r\nUser=0|Op|x\r\n");
    DataStore store(clock);
    store.LoadAll();
    QCOMPARE(store.users.size(), size_t(3));
    QCOMPARE(store.users[2]->name, QStringLiteral("Admin"));
    QCOMPARE(store.FindUser("ADMIN"), store.users[2].get());
    QCOMPARE(plainText("usrdata.sx"),
             QStringLiteral("User=1|admin|1234\r\nUser=0|Op|x\r\nUser=1|Admin|740286\r\n"));
}

void TestDataFiles::savingWhileLoadingWritesNothing() {
    DataStore store(clock);
    store.loading = 1;
    QVERIFY(store.SaveUserFile());
    QVERIFY(store.SaveCommonFile());
    QVERIFY(!QFile::exists(dataFile("usrdata.sx")));
    QVERIFY(!QFile::exists(dataFile("cmndata.sx")));
}

void TestDataFiles::backgroundMusicRemovedKeepsOtherLines() {
    DataStore store(clock);
    store.LoadAll();
    SpeechTask t;
    t.name = "t";
    store.AddSpeechTask(t);
    store.AddScript({"s", "x"});
    store.AddBackgroundMusic({"/a.wav", 10});
    store.backgroundMusic.clear();
    QVERIFY(store.SaveSpeechFile());
    const QString text = plainText("ttsdata.sx");
    QVERIFY(text.startsWith("Task=t|"));
    QVERIFY(text.contains("\r\nStock=s|x\r\nPlayEffect=0\r\n"));
    QVERIFY(!text.contains("BkMusic="));
}

void TestDataFiles::damagedFileIsKeptAside() {
    QFile f(dataFile("mtskdata.sx"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray damaged = "\x01\x02 not a data file \xff\xfe\x00 junk";
    f.write(damaged);
    f.close();

    clock.set(2026, 3, 2, 9, 15, 30);
    DataStore store(clock);
    store.LoadAll();
    QVERIFY(store.musicTasks.empty());
    MusicTask m;
    m.name = "new";
    store.AddMusicTask(std::move(m));
    store.AddMusicTask(MusicTask());

    const QString copy = dataFile("mtskdata.sx.unreadable-20260302-091530");
    QFile kept(copy);
    QVERIFY2(kept.open(QIODevice::ReadOnly), "the damaged file was not kept");
    QCOMPARE(kept.readAll(), damaged);
    // Only one copy, made before the first save replaced the file.
    QCOMPARE(QDir(dir->filePath("data")).entryList({"*.unreadable-*"}).size(), 1);
    QVERIFY(plainText("mtskdata.sx").startsWith("Task=new|"));
}

void TestDataFiles::missingCipherLibraryLeavesFilesAlone() {
    {
        DataStore store(clock);
        store.LoadAll();
    }
    const QByteArray before = [&] {
        QFile f(dataFile("usrdata.sx"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QVERIFY(QFile::remove(dir->filePath(CryptLibraryFileName())));
    DataStore store(clock);
    store.LoadAll(); // loads nothing, adds Admin in memory, cannot save
    QCOMPARE(store.users.size(), size_t(1));
    QVERIFY(!store.SaveUserFile());
    QFile f(dataFile("usrdata.sx"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

// Every stored text is data: '%' sequences stay as typed, and what would
// break a record ('|', a line break in a one-line field) becomes a space.
void TestDataFiles::storedTextsComeBackAsStored_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("loaded");
    const QString percent = QStringLiteral("%1 %2 %L3 100% %n");
    for (const char* field :
         {"enterprise", "music task", "item path", "category", "category file", "speech task",
          "speech text", "bk music", "script title", "script text", "user", "password"})
        QTest::addRow("%s: %%", field) << QString(field) << percent << percent;
    QTest::newRow("enterprise: | and CRLF") << "enterprise"
                                            << "A|B\r\nC"
                                            << "A B C";
    QTest::newRow("music task: LF") << "music task"
                                    << "早\n操"
                                    << "早 操";
    QTest::newRow("category: CR") << "category"
                                  << "古\r典"
                                  << "古 典";
    QTest::newRow("user: |") << "user"
                             << "值|班"
                             << "值 班";
    QTest::newRow("password: |") << "password"
                                 << "p|w123"
                                 << "p w123";
    QTest::newRow("script title: LF") << "script title"
                                      << "a\nb"
                                      << "a b";
    QTest::newRow("script text: | and LF") << "script text"
                                           << "a|b\nc"
                                           << "a b\nc";
    QTest::newRow("speech text: | and CRLF") << "speech text"
                                             << "a|b\r\nc"
                                             << "a b\nc";
}

void TestDataFiles::storedTextsComeBackAsStored() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, loaded);
    const char* fields[] = {"enterprise",    "music task",  "item path",   "category",
                            "category file", "speech task", "speech text", "bk music",
                            "script title",  "script text", "user",        "password"};
    QStringList v{"E", "M", "/m.mp3", "C", "/c.mp3", "S", "T", "/bk.mp3", "ST", "SX", "U", "P"};
    QStringList expected = v;
    const qsizetype index = std::find_if(std::begin(fields), std::end(fields),
                                         [&](const char* f) { return field == f; }) -
                            std::begin(fields);
    QVERIFY(index < v.size());
    v[index] = typed;
    expected[index] = loaded;
    {
        DataStore a(clock);
        a.LoadAll();
        a.settings.enterpriseName = v[0];
        a.SaveCommonFile();
        MusicTask m;
        m.name = v[1];
        auto item = std::make_unique<PlayItem>();
        item->path = v[2];
        item->playCount = 3;
        m.items.push_back(std::move(item));
        a.AddMusicTask(std::move(m));
        a.AddCategory(v[3])->files << v[4];
        a.SaveCategoryFile();
        SpeechTask s;
        s.name = v[5];
        s.text = v[6];
        s.bkMusic = v[7];
        s.preDelay = 4;
        a.AddSpeechTask(s);
        a.AddScript({v[8], v[9]});
        a.AddUser({v[10], v[11], 1});
    }
    DataStore b(clock);
    b.LoadAll();
    QCOMPARE(b.musicTasks.size(), size_t(1));
    QCOMPARE(b.speechTasks.size(), size_t(1));
    QCOMPARE(b.users.size(), size_t(2));
    const QStringList got{b.settings.enterpriseName,
                          b.musicTasks[0]->name,
                          b.musicTasks[0]->items[0]->path,
                          b.categories[0]->name,
                          b.categories[0]->files.value(0),
                          b.speechTasks[0]->name,
                          b.speechTasks[0]->text,
                          b.speechTasks[0]->bkMusic,
                          b.scripts[0]->title,
                          b.scripts[0]->text,
                          b.users[1]->name,
                          b.users[1]->password};
    QCOMPARE(got, expected);
    // The fields after the text are where they were written.
    QCOMPARE(b.musicTasks[0]->items[0]->playCount, 3);
    QCOMPARE(b.speechTasks[0]->preDelay, 4);
    QCOMPARE(b.settings.dailyTime[0], 0);
}

// A save that cannot write says why in the event log and leaves the data
// file as it was; the start-up check finds what blocks it.
void TestDataFiles::failedSaveIsLoggedAndKeepsTheFile_data() {
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<bool>("startCheckSees");
    QTest::newRow("temporary file is a folder") << "data/inttemp.sx" << true;
    QTest::newRow("data file is a folder") << "data/usrdata.sx/x" << false;
    QTest::newRow("read-only data folder") << "" << true;
}

void TestDataFiles::failedSaveIsLoggedAndKeepsTheFile() {
    QFETCH(QString, blocker);
    QFETCH(bool, startCheckSees);
    QVERIFY(QDir().mkpath(dir->filePath("log")));
    DataStore store(clock);
    store.LoadAll();
    QVERIFY(store.CanWriteDataFiles());
    const QByteArray before =
        QFile(dataFile("usrdata.sx")).exists() ? plainText("usrdata.sx").toUtf8() : QByteArray();
    if (blocker.isEmpty()) {
        QFile::setPermissions(dir->filePath("data"), QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(dir->filePath("data")).isWritable() && geteuid() == 0) {
            QFile::setPermissions(dir->filePath("data"), QFile::permissions(dir->path()));
            QSKIP("running as root: permission bits do not stop writes");
        }
    } else {
        QFile::remove(dir->filePath("data/inttemp.sx"));
        QFile::remove(dataFile("usrdata.sx"));
        QVERIFY(QDir().mkpath(dir->filePath(blocker)));
    }
    QString reason;
    QCOMPARE(!store.CanWriteDataFiles(&reason), startCheckSees);
    if (startCheckSees)
        QVERIFY2(reason.endsWith(blocker.isEmpty() ? "data" : blocker), qPrintable(reason));
    store.AddUser({"值班", "123456", 0});
    // Developers see the failure too, in the store's diagnostics category.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^save of .*usrdata.sx failed: .+"));
    QVERIFY(!store.SaveUserFile());
    QVERIFY(!store.LastSaveError().isEmpty());
    QFile::setPermissions(dir->filePath("data"), QFile::permissions(dir->path()));
    const QStringList logs = QDir(dir->filePath("log")).entryList({"*.txt"});
    QCOMPARE(logs.size(), 1);
    QFile log(dir->filePath("log/" + logs[0]));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromLocal8Bit(log.readAll());
    QVERIFY2(
        logged.contains(" Failed to save " + dataFile("usrdata.sx") + ": " + store.LastSaveError()),
        qPrintable(logged));
    if (blocker.isEmpty())
        QCOMPARE(plainText("usrdata.sx").toUtf8(), before);
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
