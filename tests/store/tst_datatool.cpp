#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "fakeclock.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"

// The operators' data tool, run as a separate program.
class TestDataTool : public QObject {
    Q_OBJECT

private slots:
    void packDumpAndCheck();
    void errorsAreClearAndNonZero();
    void packRefusesTextsThatBreakRecords_data();
    void packRefusesTextsThatBreakRecords();
    void checkBesideASavingStation();

private:
    struct Result {
        int status;
        QString out;
        QString err;
    };
    Result run(const QStringList& args);
};

TestDataTool::Result TestDataTool::run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOLVANE_BIN_DIR "/tolvane-data"), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestDataTool::packDumpAndCheck() {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("data"));
    const QByteArray users = "User=0|值班|1\r\nUser=1|Admin|9\r\n";
    QFile text(dir.filePath("users.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(users);
    text.close();
    QCOMPARE(run({"pack", text.fileName(), dir.filePath("data/usrdata.sx")}).status, 0);
    QCOMPARE(QFileInfo(dir.filePath("data/usrdata.sx")).size(), users.size());

    const Result dumped = run({"dump", dir.filePath("data/usrdata.sx")});
    QCOMPARE(dumped.status, 0);
    QCOMPARE(dumped.out.toUtf8(), users);

    QFile tasks(dir.filePath("tasks.txt"));
    QVERIFY(tasks.open(QIODevice::WriteOnly));
    tasks.write("Task=早操|20260301|20260331|800|1200|248|80|0|0|0|0|0|0|0|0\r\nbogus\r\n");
    tasks.close();
    QCOMPARE(run({"pack", tasks.fileName(), dir.filePath("data/mtskdata.sx")}).status, 0);
    QFile badUsers(dir.filePath("users2.txt"));
    QVERIFY(badUsers.open(QIODevice::WriteOnly));
    badUsers.write("User=1|Admin|9\r\nUser:0|Op|s3cret\r\n");
    badUsers.close();
    QCOMPARE(run({"pack", badUsers.fileName(), dir.filePath("data/usrdata.sx")}).status, 0);

    const Result checked = run({"check", dir.path()});
    QCOMPARE(checked.status, 0);
    QVERIFY2(checked.out.contains("  Admin (administrator)\n"), qPrintable(checked.out));
    QVERIFY2(checked.out.contains("26/03/01/~03/31 08:00~12:00  早操"), qPrintable(checked.out));
    QVERIFY(checked.out.contains("unused line 2 in mtskdata.sx: no known record type\n"));
    // An unusable user line is named by its number: it may hold a password.
    QVERIFY(checked.out.contains("unused line 2 in usrdata.sx: no known record type\n"));
    QVERIFY(!checked.out.contains("9") && !checked.out.contains("s3cret"));
    QVERIFY(!checked.out.contains("bogus"));
    // Checking writes nothing, not even the station's temporary file.
    QCOMPARE(QDir(dir.filePath("data")).entryList(QDir::Files),
             QStringList({"mtskdata.sx", "usrdata.sx"}));
}

void TestDataTool::errorsAreClearAndNonZero() {
    QTemporaryDir dir;
    Result r = run({"dump", dir.filePath("missing.sx")});
    QVERIFY(r.status != 0);
    QVERIFY(r.err.contains("no such file"));
    r = run({"check", dir.path()});
    QVERIFY(r.status != 0);
    QVERIFY(r.err.contains("no data folder"));
    QCOMPARE(run({"frobnicate"}).status, 2);
}

// A '|' inside a field would shift every later field when the station reads
// the file: such a text is refused and no data file is written.
void TestDataTool::packRefusesTextsThatBreakRecords_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("speech task, plain")
        << "ttsdata.sx" << QByteArray("Task=a|1|2|3|4|5|6|7|/bk.mp3|0|0|0|0|0|0|text|0|0|0\r\n")
        << "";
    QTest::newRow("speech task, '|' in the music path")
        << "ttsdata.sx"
        << QByteArray("Task=a|1|2|3|4|5|6|7|/Artist | Title.mp3|0|0|0|0|0|0|text|0|0|0\r\n")
        << "line 1: a text or path holds '|'";
    QTest::newRow("background music, '|' in the path")
        << "ttsdata.sx" << QByteArray("PlayEffect=0\r\nBkMusic=60|/A | B.mp3\r\n")
        << "line 2: a text or path holds '|'";
    QTest::newRow("music item, '|' in the path")
        << "mtskdata.sx"
        << QByteArray("Task=t|1|2|3|4|5|6|7|0|0|0|0|0|0|0\n>0|/a|b.mp3|1|2|3|4|5|6||7|8|9\n")
        << "line 2: a text or path holds '|'";
    QTest::newRow("category file, '|' in the path")
        << "mcatdata.sx" << QByteArray("Stock=c\r\n>/a.mp3\r\n>/A | B.mp3\r\n")
        << "line 3: the path holds '|'";
    QTest::newRow("category file, carriage return in the path")
        << "mcatdata.sx" << QByteArray("Stock=c\r\n>/a\r.mp3\r\n") << "line 2: the path holds '|'";
    QTest::newRow("user, '|' in the password")
        << "usrdata.sx" << QByteArray("User=1|Admin|74|0286\r\n")
        << "line 1: a text or path holds '|'";
    QTest::newRow("category name holds '|'") << "mcatdata.sx" << QByteArray("Stock=a|b\r\n") << "";
}

void TestDataTool::packRefusesTextsThatBreakRecords() {
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write(text);
    plain.close();
    const Result r = run({"pack", plain.fileName(), dir.filePath(file)});
    QCOMPARE(r.status == 0, refusal.isEmpty());
    QVERIFY2(r.err.contains(refusal), qPrintable(r.err));
    QCOMPARE(QFileInfo::exists(dir.filePath(file)), refusal.isEmpty());
}

// The tool runs beside a station that saves: every save must load back as
// it was written, whatever the tool does at the same moment.
void TestDataTool::checkBesideASavingStation() {
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                        dir.filePath(CryptLibraryFileName())));
    SetAppFolderForTests(dir.path());
    FakeClock clock;
    DataStore station(clock, dir.filePath("data"));
    station.LoadAll();
    QProcess checker;
    int checks = 0;
    int damaged = 0;
    int save = 0;
    for (; checks < 40 && save < 20000; ++save) {
        if (checker.state() == QProcess::NotRunning || checker.waitForFinished(0)) {
            checker.start(QStringLiteral(TOLVANE_BIN_DIR "/tolvane-data"), {"check", dir.path()});
            ++checks;
        }
        station.scripts.clear();
        for (int i = 0; i <= save % 7; ++i)
            station.scripts.push_back(std::make_unique<SpeechScript>(
                SpeechScript{"稿 " + QString::number(save), QString(200 + i, u'字')}));
        const QString written = station.SpeechFileText();
        QVERIFY(station.SaveSpeechFile());
        DataStore reader(clock, dir.filePath("data"), dir.filePath("reader"));
        QDir().mkpath(dir.filePath("reader"));
        reader.loading = 1;
        if (!reader.LoadSpeechFile() || reader.SpeechFileText() != written)
            ++damaged;
    }
    checker.waitForFinished(30000);
    SetAppFolderForTests(QString());
    QVERIFY2(checks == 40, "the tool did not run beside the saves");
    QVERIFY2(damaged == 0, qPrintable(QString::number(damaged) + " of " + QString::number(save) +
                                      " saves came back changed"));
}

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"
