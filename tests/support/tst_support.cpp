#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include "support/apppaths.h"
#include "support/cryptfile.h"
#include "support/files.h"
#include "support/stringutils.h"

class TestSupport : public QObject {
    Q_OBJECT

private slots:
    void textToInt_data();
    void textToInt();
    void nextTokenKeepsEmptyFields();
    void parseNumberField_data();
    void parseNumberField();
    void pathsEqual_data();
    void pathsEqual();
    void fileNamePart();
    void appFolder();
    void truncateFile();
    void makeDirectoryPath();
    void describeError();
    void formatNumber();
    void toWide();
    void writeWholeFileEitherWay_data();
    void writeWholeFileEitherWay();
};

void TestSupport::textToInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("hex") << "0x1F" << 31;
    QTest::newRow("hex upper X") << "0X10" << 16;
    QTest::newRow("yes") << "yes" << 1;
    QTest::newRow("TRUE") << "TRUE" << 1;
    QTest::newRow("False") << "False" << 0;
    QTest::newRow("TRUE1 is no word") << "TRUE1" << 0;
    QTest::newRow("digits stop") << "12ab" << 12;
    QTest::newRow("minus one") << "-1" << -1;
    QTest::newRow("largest unsigned") << "4294967295" << -1;
    QTest::newRow("out of range saturates") << "99999999999" << -1;
    QTest::newRow("negative wraps") << "-5" << -5;
    QTest::newRow("leading blanks and plus") << "  +42" << 42;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("null") << QString() << 0;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("blank before 0x is decimal") << " 0x1F" << 0;
    QTest::newRow("0x without hex digit") << "0xZ" << 0;
    QTest::newRow("leading zero is not octal") << "010" << 10;
}

void TestSupport::textToInt() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(TextToInt(text), value);
}

void TestSupport::nextTokenKeepsEmptyFields() {
    QString text = QStringLiteral("A|B||");
    QChar* cursor = text.data();
    QStringList fields;
    while (QChar* field = NextToken(&cursor, u'|'))
        fields << TokenText(field);
    QCOMPARE(fields, QStringList({"A", "B", ""}));
    QVERIFY(NextToken(&cursor, u'|') == nullptr);

    QString single = QStringLiteral("only");
    cursor = single.data();
    QCOMPARE(TokenText(NextToken(&cursor, u'|')), QStringLiteral("only"));
    QVERIFY(NextToken(&cursor, u'|') == nullptr);
    QVERIFY(NextToken(nullptr, u'|') == nullptr);
}

void TestSupport::parseNumberField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separators");
    QTest::addColumn<QList<int>>("values");
    QTest::newRow("clock with blank") << " 08:30"
                                      << ":" << QList<int>{8, 30};
    QTest::newRow("daily time list") << "800,1700"
                                     << ",;:*~/\\|" << QList<int>{800, 1700};
    QTest::newRow("empty fields") << "5;;7;"
                                  << ";" << QList<int>{5, 0, 7};
    QTest::newRow("tab and word") << "\t12;TRUE"
                                  << ";" << QList<int>{12, 1};
}

void TestSupport::parseNumberField() {
    QFETCH(QString, text);
    QFETCH(QString, separators);
    QFETCH(QList<int>, values);
    QList<int> got;
    const QChar* p = text.constData();
    while (p && !p->isNull()) {
        int value = -99;
        p = ParseNumberField(p, separators, &value);
        got << value;
    }
    QCOMPARE(got, values);

    // The position returned for the clock case is that of the minutes.
    const QString clock = QStringLiteral(" 08:30");
    int hours = 0;
    const QChar* next = ParseNumberField(clock.constData(), u":", &hours);
    QCOMPARE(hours, 8);
    QCOMPARE(next - clock.constData(), 4);
    int none = 5;
    QVERIFY(ParseNumberField(nullptr, u":", &none) == nullptr);
    QCOMPARE(none, 0);
}

void TestSupport::pathsEqual_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("case and separators") << "C:/Music/a.mp3"
                                         << "c:\\music\\A.MP3" << true;
    QTest::newRow("trailing separator") << "C:\\a"
                                        << "C:\\a\\" << false;
    QTest::newRow("prefix") << "/x/ab"
                            << "/x/a" << false;
    QTest::newRow("chinese") << "/音乐/歌.mp3"
                             << "\\音乐\\歌.MP3" << true;
    QTest::newRow("null and empty") << QString() << "" << false;
    QTest::newRow("both null") << QString() << QString() << true;
}

void TestSupport::pathsEqual() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(PathsEqual(a, b), equal);
    QCOMPARE(PathsEqual(b, a), equal);
}

void TestSupport::fileNamePart() {
    QCOMPARE(FileNamePart("D:\\Apps/music\\x.mp3"), QStringLiteral("x.mp3"));
    QCOMPARE(FileNamePart("plain.wav"), QStringLiteral("plain.wav"));
    QCOMPARE(FileNamePart("/dir/"), QString(""));
    QVERIFY(FileNamePart(QString()).isNull());
}

void TestSupport::appFolder() {
    QCOMPARE(GetAppFolder(), QCoreApplication::applicationDirPath());
    QVERIFY(!GetAppFolder().endsWith('/'));
    SetAppFolderForTests("/tmp/station");
    QCOMPARE(GetAppFolder(), QStringLiteral("/tmp/station"));
    SetAppFolderForTests(QString());
    QCOMPARE(GetAppFolder(), QCoreApplication::applicationDirPath());

    SetResourceModule(":/eng");
    SetResourceModule(QString());
    QCOMPARE(GetResourceModule(), QStringLiteral(":/eng"));
}

void TestSupport::truncateFile() {
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.txt");
    QVERIFY(!TruncateFile(missing));
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!TruncateFile(QString()));

    const QString existing = dir.filePath("data.txt");
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("some bytes");
    f.close();
    QVERIFY(TruncateFile(existing));
    QCOMPARE(QFileInfo(existing).size(), 0);
}

void TestSupport::makeDirectoryPath() {
    QTemporaryDir dir;
    const QString nested = dir.path() + "\\a\\b/c\\\\// ";
    QVERIFY(MakeDirectoryPath(nested));
    QVERIFY(QFileInfo(dir.filePath("a/b/c")).isDir());
    QVERIFY(MakeDirectoryPath(dir.filePath("a/b/c"))); // already there
    QVERIFY(!MakeDirectoryPath("  "));
    QVERIFY(!MakeDirectoryPath("///"));

    // A file standing where a folder should be.
    QFile f(dir.filePath("file"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(!MakeDirectoryPath(dir.filePath("file/sub")));
}

void TestSupport::describeError() {
    QString text;
    const int n = DescribeError(ENOENT, &text);
    QVERIFY(n > 0);
    QCOMPARE(n, text.size());
    QVERIFY(text.contains("No such file", Qt::CaseInsensitive));
    QCOMPARE(DescribeError(987654, &text), 0);
    QVERIFY(text.isEmpty());
    QCOMPARE(DescribeError(ENOENT, nullptr), 0);
}

void TestSupport::formatNumber() {
    QCOMPARE(FormatNumber(-12), QStringLiteral("-12"));
    QCOMPARE(FormatNumber(4000000000u), QStringLiteral("4000000000"));
    QCOMPARE(FormatNumber(7, "%03d"), QStringLiteral("007"));
    QCOMPARE(FormatNumber(5, "%0200d").size(), 127);
    QCOMPARE(FormatText("%s\\data", "/opt/x"), QStringLiteral("/opt/x\\data"));
}

void TestSupport::toWide() {
    QCOMPARE(ToWide("abc", CodePage::Utf8), QStringLiteral("abc"));
    QCOMPARE(ToWide("\xe4\xb8\xad", CodePage::Utf8), QStringLiteral("中"));
    QVERIFY(ToWide("\xe4\xb8", CodePage::Utf8).isEmpty()); // cut sequence
    QCOMPARE(ToWide("abc", CodePage::Utf8, 4), QStringLiteral("abc"));
    QVERIFY(ToWide("abc", CodePage::Utf8, 3).isEmpty()); // no room for the NUL
    QCOMPARE(ToWide("OK", CodePage::System), QStringLiteral("OK"));
}

void TestSupport::writeWholeFileEitherWay_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("durable") << int(WriteMode::Durable);
    QTest::newRow("scratch") << int(WriteMode::Scratch);
}

// Both ways give the same file: created when missing, longer content
// replaced, emptied, a file that may not be written replaced as a whole, and
// nothing written for a folder or into a missing one.
void TestSupport::writeWholeFileEitherWay() {
    QFETCH(int, mode);
    const auto how = WriteMode(mode);
    QTemporaryDir dir;
    const QString path = dir.filePath("file.bin");
    auto content = [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    };
    QVERIFY(WriteWholeFile(path, "first, longer content", how));
    QVERIFY(WriteWholeFile(path, QByteArray("\0second", 7), how));
    QCOMPARE(content(), QByteArray("\0second", 7));
    QVERIFY(WriteWholeFile(path, QByteArray(), how));
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QVERIFY(WriteWholeFile(path, "replaced", how));
    QCOMPARE(content(), QByteArray("replaced"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file.bin"});
    QVERIFY(!WriteWholeFile(dir.filePath("no/such/folder/file.bin"), "x", how));
    QVERIFY(!WriteWholeFile(dir.path(), "x", how));
}

QTEST_GUILESS_MAIN(TestSupport)
#include "tst_support.moc"
