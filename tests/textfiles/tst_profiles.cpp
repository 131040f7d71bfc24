#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include "support/codepage.h"
#include "support/profile.h"
#include "testlocale.h"

class TestProfiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lookups_data();
    void lookups();
    void numbers();
    void missingFileReadsEmptyAndIsCreated();
    void writesKeepEveryOtherLine();
    void encodings_data();
    void encodings();
    void refusedWrites_data();
    void refusedWrites();
    void undecodableBytes();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString lookupFile_;
};

void TestProfiles::initTestCase() {
    QVERIFY(dir_.isValid());
    std::setlocale(LC_CTYPE, "C");
    QCOMPARE(SystemCodePageName(), QByteArray("UTF-8"));

    lookupFile_ = path(QStringLiteral("lookups.conf"));
    QVERIFY(writeFileBytes(lookupFile_, "; comment=ignored\r\n"
                                        "orphan=before any section\r\n"
                                        "[Global]\r\n"
                                        "LangId = 1 \r\n"
                                        "Name=\"  quoted  \"\r\n"
                                        "Single=\"\r\n"
                                        "Both=\"a\"b\"\r\n"
                                        "Url=http://host/?a=b\r\n"
                                        "Empty=\r\n"
                                        "  Indented\t=\t yes\r\n"
                                        "Space=\xE3\x80\x80text\r\n"
                                        ";Commented=hidden\r\n"
                                        "no equals sign\r\n"
                                        "LangId=2\r\n"
                                        "[global]\r\n"
                                        "Second=in a second section of that name\r\n"
                                        "[ Other ]\r\n"
                                        "Key=other"));
}

void TestProfiles::lookups_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString d = QStringLiteral("<default>");

    QTest::newRow("any case; first key wins; blanks trimmed") << "GLOBAL"
                                                              << "langid"
                                                              << "1";
    QTest::newRow("one pair of quotes removed") << "Global"
                                                << "Name"
                                                << "  quoted  ";
    QTest::newRow("a lone quote stays") << "Global"
                                        << "Single"
                                        << "\"";
    QTest::newRow("only the outer quotes go") << "Global"
                                              << "Both"
                                              << "a\"b";
    QTest::newRow("'=' inside the value") << "Global"
                                          << "Url"
                                          << "http://host/?a=b";
    QTest::newRow("empty value is no default") << "Global"
                                               << "Empty"
                                               << "";
    QTest::newRow("indented key, tabs") << "Global"
                                        << "indented"
                                        << "yes";
    QTest::newRow("ideographic space is text") << "Global"
                                               << "Space"
                                               << "\u3000text";
    QTest::newRow("commented key") << "Global"
                                   << "Commented" << d;
    QTest::newRow("key before any section") << "Global"
                                            << "orphan" << d;
    QTest::newRow("only the first section of a name") << "Global"
                                                      << "Second" << d;
    QTest::newRow("blanks around a section name") << "other"
                                                  << "KEY"
                                                  << "other";
    QTest::newRow("missing section") << "Nope"
                                     << "Key" << d;
    QTest::newRow("line without '='") << "Global"
                                      << "no equals sign" << d;
}

void TestProfiles::lookups() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ReadProfileString(lookupFile_, section, key, QStringLiteral("<default>")), expected);
}

void TestProfiles::numbers() {
    QCOMPARE(ReadProfileInt(lookupFile_, "Global", "LangId", 7), 1);
    QCOMPARE(ReadProfileInt(lookupFile_, "Global", "Indented", 7), 1); // "yes"
    QCOMPARE(ReadProfileInt(lookupFile_, "Global", "Url", 7), 0);
    QCOMPARE(ReadProfileInt(lookupFile_, "Global", "Empty", 7), 0);
    QCOMPARE(ReadProfileInt(lookupFile_, "Global", "Missing", 7), 7);
}

void TestProfiles::missingFileReadsEmptyAndIsCreated() {
    const QString file = path(QStringLiteral("app.conf"));
    QCOMPARE(ReadProfileString(file, "Global", "LoginUser", QString()), QString());
    QCOMPARE(ReadProfileInt(file, "Global", "IdleTime", 0), 0);
    QVERIFY(!QFile::exists(file));

    QVERIFY(WriteProfileString(file, "Global", "LangId", "1"));
    QVERIFY(WriteProfileString(file, "Global", "LoginUser", "张三"));
    QVERIFY(WriteProfileString(file, "Other", "Key", "v"));
    QVERIFY(WriteProfileString(file, "global", "LANGID", "0"));
    QCOMPARE(readFileBytes(file), QByteArray("[Global]\r\n"
                                             "LangId=0\r\n"
                                             "LoginUser=\xE5\xBC\xA0\xE4\xB8\x89\r\n"
                                             "[Other]\r\n"
                                             "Key=v\r\n"));
    QCOMPARE(ReadProfileString(file, "Global", "LoginUser", QString()), QStringLiteral("张三"));
    QCOMPARE(ReadProfileInt(file, "Global", "LangId", 9), 0);
    QCOMPARE(ReadProfileString(file, "Other", "Key", QString()), QStringLiteral("v"));
}

void TestProfiles::writesKeepEveryOtherLine() {
    // Line feeds only, odd spacing, comments, no line break at the end.
    const QString file = path(QStringLiteral("keep.conf"));
    QVERIFY(writeFileBytes(file, "; settings\n"
                                 "[Global]\n"
                                 "  LangId = 1 \n"
                                 "\n"
                                 "[Other]\n"
                                 "Key=v"));
    QVERIFY(WriteProfileString(file, "Global", "IdleTime", "60000"));
    QVERIFY(WriteProfileString(file, "Other", "New", "x"));
    QVERIFY(WriteProfileString(file, "Global", "LangId", "2"));
    QCOMPARE(readFileBytes(file), QByteArray("; settings\n"
                                             "[Global]\n"
                                             "LangId=2\n"
                                             "IdleTime=60000\n"
                                             "\n"
                                             "[Other]\n"
                                             "Key=v\n"
                                             "New=x\n"));
    // Rewriting with fewer characters leaves no old tail behind.
    QVERIFY(WriteProfileString(file, "Global", "IdleTime", "0"));
    QVERIFY(readFileBytes(file).endsWith("Key=v\nNew=x\n"));
    QCOMPARE(ReadProfileInt(file, "Global", "IdleTime", 5), 0);
}

void TestProfiles::encodings_data() {
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<int>("encoder"); // QStringConverter::Encoding

    QTest::newRow("system code page") << QByteArray() << int(QStringConverter::Utf8);
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") << int(QStringConverter::Utf8);
    QTest::newRow("UTF-16 FF FE") << QByteArray("\xFF\xFE") << int(QStringConverter::Utf16LE);
    QTest::newRow("UTF-16 FE FF") << QByteArray("\xFE\xFF") << int(QStringConverter::Utf16BE);
}

void TestProfiles::encodings() {
    QFETCH(QByteArray, mark);
    QFETCH(int, encoder);
    auto encode = [encoder](const QString& text) {
        QStringEncoder e{QStringConverter::Encoding(encoder)};
        return QByteArray(e.encode(text));
    };

    const QString file = path(QStringLiteral("enc%1.conf").arg(QString::fromLatin1(mark.toHex())));
    QVERIFY(writeFileBytes(file, mark + encode("[Global]\r\nText=中文\r\n[Other]\r\nKey=1\r\n")));
    QCOMPARE(ReadProfileString(file, "global", "text", QString()), QStringLiteral("中文"));
    QCOMPARE(ReadProfileInt(file, "Other", "Key", 0), 1);

    QVERIFY(WriteProfileString(file, "Global", "New", "é"));
    QCOMPARE(readFileBytes(file),
             mark + encode("[Global]\r\nText=中文\r\nNew=é\r\n[Other]\r\nKey=1\r\n"));
}

void TestProfiles::refusedWrites_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("line break in a value adds no keys") << "Global"
                                                        << "LoginUser"
                                                        << "x\r\n[Global]\r\nLangId=9";
    QTest::newRow("line feed in a key") << "Global"
                                        << "a\nb"
                                        << "v";
    QTest::newRow("'=' in a key") << "Global"
                                  << "a=b"
                                  << "v";
    QTest::newRow("key that is a comment") << "Global"
                                           << ";a"
                                           << "v";
    QTest::newRow("blank key") << "Global"
                               << "  "
                               << "v";
    QTest::newRow("']' in a section") << "Glo]bal"
                                      << "a"
                                      << "v";
    QTest::newRow("empty section") << ""
                                   << "a"
                                   << "v";
}

void TestProfiles::refusedWrites() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QString file = path(QStringLiteral("refused.conf"));
    const QByteArray before("[Global]\r\nLangId=1\r\n");
    QVERIFY(writeFileBytes(file, before));
    QVERIFY(!WriteProfileString(file, section, key, value));
    QCOMPARE(readFileBytes(file), before);
}

void TestProfiles::undecodableBytes() {
    const QString file = path(QStringLiteral("bad.conf"));
    const QByteArray bytes("[Global]\r\nBad=\xFF\xFE\r\nGood=yes\r\n");
    QVERIFY(writeFileBytes(file, bytes));
    // A bad byte spoils only its own line for reading...
    QCOMPARE(ReadProfileString(file, "Global", "Good", QString()), QStringLiteral("yes"));
    QCOMPARE(ReadProfileString(file, "Global", "Bad", QString()), QStringLiteral("\uFFFD\uFFFD"));
    // ...but a rewrite would lose it, so the file is left as it is.
    QVERIFY(!WriteProfileString(file, "Global", "Good", "no"));
    QCOMPARE(readFileBytes(file), bytes);
}

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
