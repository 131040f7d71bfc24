#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "fakeclock.h"
#include "support/apppaths.h"
#include "support/eventlog.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEventLog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void monthlyFileAndTimePrefix();
    void missingFolderDropsEntries();
    void longMessagesAreCut();
    void existingUtf8LogKeepsItsEncoding();
    void folderPathIsNotAFormat_data();
    void folderPathIsNotAFormat();
    void readOnlyProgramWritesToUserFolder();

private:
    QTemporaryDir dir;
    FakeClock clock;
};

void TestEventLog::init() {
    SetAppFolderForTests(dir.path());
    SetEventLogClock(&clock);
    QDir(dir.path()).mkpath("log");
}

void TestEventLog::cleanup() {
    SetEventLogClock(nullptr);
    SetAppFolderForTests(QString());
    QDir(dir.filePath("log")).removeRecursively();
}

void TestEventLog::monthlyFileAndTimePrefix() {
    clock.set(2026, 3, 2, 9, 5, 7);
    LogEvent("Start play task: 早操");
    clock.set(2026, 3, 31, 23, 59, 59);
    LogEvent("Playing: a.mp3");
    clock.set(2026, 4, 1, 0, 0, 0);
    LogEvent("Exit App!");
    QCOMPARE(QString::fromUtf8(readAll(dir.filePath("log/2026-3.txt"))),
             QStringLiteral("09:05:07 Start play task: 早操\r\n23:59:59 Playing: a.mp3\r\n"));
    QCOMPARE(readAll(dir.filePath("log/2026-4.txt")), QByteArray("00:00:00 Exit App!\r\n"));
}

void TestEventLog::missingFolderDropsEntries() {
    QDir(dir.filePath("log")).removeRecursively();
    LogEvent("Disconnect!");
    QVERIFY(!QFileInfo::exists(dir.filePath("log")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestEventLog::longMessagesAreCut() {
    clock.set(2026, 5, 1, 12, 0, 0);
    LogEvent(QString(2000, u'x'));
    const QByteArray text = readAll(dir.filePath("log/2026-5.txt"));
    QCOMPARE(text.size(), 9 + 1023 + 2);
    QVERIFY(text.endsWith("x\r\n"));
}

void TestEventLog::existingUtf8LogKeepsItsEncoding() {
    clock.set(2026, 6, 1, 8, 0, 0);
    const QString path = dir.filePath("log/2026-6.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF"
            "07:00:00 old\r\n");
    f.close();
    LogEvent("中文");
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF"
                                       "07:00:00 old\r\n08:00:00 ") +
                                QStringLiteral("中文").toUtf8() + "\r\n");
}

// The program folder is wherever the operator put it; '%' in its path must
// not be read as a place for the date.
void TestEventLog::folderPathIsNotAFormat_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("%2") << QStringLiteral("station %2");
    QTest::newRow("%1%2%3") << QStringLiteral("%1%2%3");
    QTest::newRow("%L3 and 100%") << QStringLiteral("%L3 100% %n");
}

void TestEventLog::folderPathIsNotAFormat() {
    QFETCH(QString, folder);
    const QString program = dir.filePath(folder);
    QVERIFY(QDir().mkpath(program + "/log"));
    SetAppFolderForTests(program);
    clock.set(2026, 7, 1, 8, 0, 0);
    LogEvent("Exit App!");
    QCOMPARE(readAll(program + "/log/2026-7.txt"), QByteArray("08:00:00 Exit App!\r\n"));
}

// An installed program folder cannot be written: the log, the data and the
// settings go to the user's folder, which starts with the shipped settings
// and keeps the user's own ever after. Root may write anywhere, so for root
// the program folder is a file system mounted read-only.
void TestEventLog::readOnlyProgramWritesToUserFolder() {
    const QString program = dir.filePath("installed");
    const QString user = dir.filePath("home/Tolvane");
    QVERIFY(QDir().mkpath(program));
    const bool root = geteuid() == 0;
    const auto setReadOnly = [&](bool readOnly) {
        if (root)
            return QProcess::execute("mount",
                                     {"-o", readOnly ? "remount,ro" : "remount,rw", program}) == 0;
        return QFile::setPermissions(program, readOnly ? QFile::ReadOwner | QFile::ExeOwner
                                                       : QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner);
    };
    if (root && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", program}) != 0)
        QSKIP("no tmpfs can be mounted here");
    QFile shipped(program + "/app.conf");
    QVERIFY(shipped.open(QIODevice::WriteOnly));
    shipped.write("[Global]\r\n");
    shipped.close();
    QVERIFY(setReadOnly(true));
    SetAppFolderForTests(program);
    SetUserFolderForTests(user);

    QCOMPARE(GetStationFolder(), user);
    QVERIFY(QFileInfo(user + "/data").isDir());
    QCOMPARE(readAll(user + "/app.conf"), QByteArray("[Global]\r\n"));
    clock.set(2026, 7, 1, 8, 0, 0);
    LogEvent("Exit App!");
    QCOMPARE(readAll(user + "/log/2026-7.txt"), QByteArray("08:00:00 Exit App!\r\n"));

    QFile own(user + "/app.conf");
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.write("[Global]\r\nIdleTime=0\r\n");
    own.close();
    QCOMPARE(GetStationFolder(), user);
    QCOMPARE(readAll(user + "/app.conf"), QByteArray("[Global]\r\nIdleTime=0\r\n"));

    // Once the folder may be written, it is the station's own again.
    QVERIFY(setReadOnly(false));
    QCOMPARE(GetStationFolder(), program);
    SetUserFolderForTests(QString());
    if (root)
        QProcess::execute("umount", {"-l", program});
}

QTEST_GUILESS_MAIN(TestEventLog)
#include "tst_eventlog.moc"
