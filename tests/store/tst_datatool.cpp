#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The operators' data tool, run as a separate program.
class TestDataTool : public QObject {
    Q_OBJECT

private slots:
    void packDumpAndCheck();
    void errorsAreClearAndNonZero();

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

    const Result checked = run({"check", dir.path()});
    QCOMPARE(checked.status, 0);
    QVERIFY2(checked.out.contains("  值班 (operator)\n  Admin (administrator)\n"),
             qPrintable(checked.out));
    QVERIFY(!checked.out.contains("9")); // no password is shown
    QVERIFY2(checked.out.contains("26/03/01/~03/31 08:00~12:00  早操"), qPrintable(checked.out));
    QVERIFY(checked.out.contains("unused line in mtskdata.sx: bogus"));
    // Checking writes nothing back.
    QCOMPARE(QFileInfo(dir.filePath("data/usrdata.sx")).size(), users.size());
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

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"
