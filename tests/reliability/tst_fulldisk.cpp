// Saves onto a disk that is full or cannot be written: every file keeps its
// previous content (or holds the whole new one, for a file that still fit),
// each failed save is logged with its reason, and once there is room again
// the next save works. The disk is a small tmpfs where the machine lets the
// test mount one, and everywhere a shim that fails writes as a full disk does.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <unistd.h>

#include "fakeclock.h"
#include "stationgen.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"

class TestFullDisk : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void failedSavesKeepTheFiles_data();
    void failedSavesKeepTheFiles();

private:
    QString dataFolder() const { return folder->filePath(QStringLiteral("data")); }
    int save(int generation, const QProcessEnvironment& environment = {});
    bool mountTmpfs(QString* why);
    // Fills the tmpfs up to all but `room` bytes.
    void fill(qint64 room);
    QString logged() const;

    std::unique_ptr<QTemporaryDir> folder;
    QTemporaryDir privateTemp;
    FakeClock clock;
    bool mounted = false;
};

void TestFullDisk::initTestCase() {
    QVERIFY(QFile::exists(QStringLiteral(SAVELOOP_PATH)));
    QVERIFY(QFile::exists(QStringLiteral(FAILWRITE_PATH)));
    QVERIFY(privateTemp.isValid());
}

void TestFullDisk::init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                        folder->filePath(CryptLibraryFileName())));
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("data")));
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("log")));
    SetAppFolderForTests(folder->path());
}

void TestFullDisk::cleanup() {
    QFile::setPermissions(dataFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (mounted)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dataFolder()});
    mounted = false;
    SetAppFolderForTests(QString());
    folder.reset();
}

int TestFullDisk::save(int generation, const QProcessEnvironment& environment) {
    QProcess saver;
    if (!environment.isEmpty())
        saver.setProcessEnvironment(environment);
    saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    saver.start(QStringLiteral(SAVELOOP_PATH),
                {folder->path(), QString::number(generation), QStringLiteral("--once")});
    if (!saver.waitForFinished(60000) || saver.exitStatus() != QProcess::NormalExit)
        return -1;
    return saver.exitCode();
}

bool TestFullDisk::mountTmpfs(QString* why) {
    if (geteuid() != 0) {
        *why = QStringLiteral("mounting needs root");
        return false;
    }
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {"-t", "tmpfs", "-o", "size=8m,mode=0700", "tmpfs", dataFolder()});
    mounted = mount.waitForFinished() && mount.exitStatus() == QProcess::NormalExit &&
              mount.exitCode() == 0;
    *why = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
    return mounted;
}

void TestFullDisk::fill(qint64 room) {
    QFile filler(dataFolder() + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(64 * 1024, 'x');
    qint64 total = 0;
    for (qint64 n; (n = filler.write(block)) > 0;)
        total += n;
    QVERIFY2(total > room, "the tmpfs is smaller than the room to leave");
    QVERIFY(filler.resize(total - room));
}

QString TestFullDisk::logged() const {
    QString text;
    const QDir logs(folder->filePath(QStringLiteral("log")));
    for (const QString& name : logs.entryList({QStringLiteral("*.txt")})) {
        QFile log(logs.filePath(name));
        if (log.open(QIODevice::ReadOnly))
            text += QString::fromLocal8Bit(log.readAll());
    }
    return text;
}

// Each row: how the disk fails, how many bytes it still takes, and the
// reason the log must give. With no room at all, every save fails; with some,
// the small files may still fit.
void TestFullDisk::failedSavesKeepTheFiles_data() {
    QTest::addColumn<QString>("disk");
    QTest::addColumn<qint64>("room");
    QTest::addColumn<int>("reason"); // errno

    QTest::newRow("full tmpfs") << "tmpfs" << qint64(0) << ENOSPC;
    QTest::newRow("tmpfs with 64 KiB left") << "tmpfs" << qint64(64 * 1024) << ENOSPC;
    QTest::newRow("read-only folder") << "read-only" << qint64(0) << EROFS;
    QTest::newRow("writes fail at once") << "shim" << qint64(0) << ENOSPC;
    QTest::newRow("full within the plain text") << "shim" << qint64(3000) << ENOSPC;
    QTest::newRow("full within the encrypted copy") << "shim" << qint64(-1) << ENOSPC;
    QTest::newRow("full after the small files") << "shim" << qint64(200 * 1024) << ENOSPC;
}

void TestFullDisk::failedSavesKeepTheFiles() {
    QFETCH(QString, disk);
    QFETCH(qint64, room);
    QFETCH(int, reason);

    // Without root a folder's permission bits make it read-only instead.
    const bool readOnlyBits = disk == QLatin1String("read-only") && geteuid() != 0;
    if (readOnlyBits)
        reason = EACCES;
    if (disk != QLatin1String("shim") && !readOnlyBits) {
        QString why;
        if (!mountTmpfs(&why))
            QSKIP(qPrintable(QStringLiteral("no tmpfs here (") + why +
                             QStringLiteral("); the shim rows stand in for it")));
    }
    QCOMPARE(save(0), 0);
    DataStore generation1(clock, privateTemp.filePath(QStringLiteral("unused")));
    generation1.loading = 1;
    FillStation(generation1, 1);
    if (room < 0) {
        // The plain text of the first file goes through, half its copy does not.
        room = StationFileText(generation1, 0).toUtf8().size() * 3 / 2;
    }

    QProcessEnvironment environment;
    if (disk == QLatin1String("tmpfs")) {
        fill(room);
    } else if (readOnlyBits) {
        QVERIFY(QFile::setPermissions(dataFolder(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (disk == QLatin1String("read-only")) {
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", dataFolder()}), 0);
    } else {
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAILWRITE_PATH));
        environment.insert(QStringLiteral("FAILWRITE_DIR"), dataFolder());
        environment.insert(QStringLiteral("FAILWRITE_ROOM"), QString::number(room));
    }
    for (const QString& name : QDir(folder->filePath(QStringLiteral("log"))).entryList(QDir::Files))
        QFile::remove(folder->filePath(QStringLiteral("log/")) + name);

    const int status = save(1, environment);

    // Each file holds one whole save, and only a file that was not saved
    // has its failure in the log, with the reason.
    const QString log = logged();
    const QString because = QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(reason));
    int failed = 0;
    for (int file = 0; file < StationFiles; ++file) {
        DataStore store(clock, dataFolder(), privateTemp.path());
        store.loading = 1;
        const QString path = dataFolder() + u'/' + QLatin1String(StationFileName(file));
        QVERIFY2(LoadStationFile(store, file), qPrintable(path));
        const int generation = GenerationOf(store, file);
        QVERIFY2(generation == 0 || generation == 1, qPrintable(path));
        if (generation == 1)
            QCOMPARE(StationFileText(store, file), StationFileText(generation1, file));
        const QString failure = QStringLiteral(" Failed to save ") + path + QStringLiteral(": ");
        QCOMPARE(log.contains(failure), generation == 0);
        if (generation == 0) {
            ++failed;
            const QString line = log.mid(log.indexOf(failure)).section(u'\r', 0, 0);
            QVERIFY2(line.endsWith(because), qPrintable(line));
        }
    }
    QVERIFY(failed > 0);
    if (room == 0)
        QCOMPARE(failed, int(StationFiles));
    QCOMPARE(status, 1);

    // With room again the next save works.
    if (disk == QLatin1String("tmpfs"))
        QVERIFY(QFile::remove(dataFolder() + QStringLiteral("/filler")));
    else if (readOnlyBits)
        QVERIFY(QFile::setPermissions(dataFolder(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    else if (disk == QLatin1String("read-only"))
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,rw", dataFolder()}), 0);
    QCOMPARE(save(2), 0);
    for (int file = 0; file < StationFiles; ++file) {
        DataStore store(clock, dataFolder(), privateTemp.path());
        store.loading = 1;
        QVERIFY(LoadStationFile(store, file));
        QCOMPARE(GenerationOf(store, file), 2);
    }
}

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
