#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "apppaths.h"
#include "cryptfile.h"
#include "datastore.h"
#include "fakeclock.h"

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
    // '|' inside a password would split the line: what is stored is what the
    // reader gets back up to it.
    QCOMPARE(b.users[1]->password, QStringLiteral("p"));
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

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
