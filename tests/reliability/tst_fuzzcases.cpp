// The fuzz targets' checks on the inputs they start from and on every input
// that once made one of them fail, through the same code as the targets.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "harness.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"
#include "support/profile.h"

class TestFuzzCases : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void keptInputsPass_data();
    void keptInputsPass();
    void profileNamesWithBlanksAround_data();
    void profileNamesWithBlanksAround();

private:
    QTemporaryDir folder;
};

void TestFuzzCases::initTestCase() {
    // The pack check loads the cipher library from the program folder.
    QVERIFY(folder.isValid());
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                        folder.filePath(CryptLibraryFileName())));
    SetAppFolderForTests(folder.path());
}

void TestFuzzCases::cleanupTestCase() {
    SetAppFolderForTests(QString());
}

void TestFuzzCases::keptInputsPass_data() {
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("path");
    const QString root = QStringLiteral(TOLVANE_SOURCE_DIR);
    int rows = 0;
    for (const QString& check : FuzzCheckNames()) {
        for (const QString& kept :
             {root + QStringLiteral("/tools/fuzz/seeds/") + check,
              root + QStringLiteral("/tests/reliability/fuzzcases/") + check}) {
            const QDir dir(kept);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                QTest::addRow("%s/%s", qPrintable(check), qPrintable(name))
                    << check << dir.filePath(name);
                ++rows;
            }
        }
    }
    QVERIFY(rows > 0);
}

void TestFuzzCases::keptInputsPass() {
    QFETCH(QString, check);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    const FuzzCheck run = FuzzCheckNamed(check);
    QVERIFY(run);
    const QString problem = run(input);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Section and key names are matched with the blanks around them removed, as
// they are removed from the names in the file: a value written under a name
// with blanks around it must read back under that name.
void TestFuzzCases::profileNamesWithBlanksAround_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("key") << "Global"
                         << "  LangId ";
    QTest::newRow("section") << " Global"
                             << "LangId";
}

void TestFuzzCases::profileNamesWithBlanksAround() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    const QString conf = folder.filePath(QStringLiteral("app.conf"));
    QFile file(conf);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Global]\r\nLangId=0\r\n");
    file.close();
    QVERIFY(WriteProfileString(conf, section, key, QStringLiteral("1")));
    QCOMPARE(ReadProfileString(conf, section, key, QStringLiteral("missing")), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(TestFuzzCases)
#include "tst_fuzzcases.moc"
