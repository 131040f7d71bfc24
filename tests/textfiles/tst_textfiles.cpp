#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <iconv.h>

#include <functional>

#include "support/codepage.h"
#include "support/textfile.h"
#include "testlocale.h"

namespace {

// Bytes of a character set made with iconv, to check our encoder against.
QByteArray iconvEncode(const char* charset, const QString& text) {
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == iconv_t(-1))
        return QByteArray();
    QByteArray input = text.toUtf8();
    QByteArray output(input.size() * 4 + 4, '\0');
    char* in = input.data();
    size_t inLeft = size_t(input.size());
    char* out = output.data();
    size_t outLeft = size_t(output.size());
    const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return QByteArray();
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QStringEncoder encoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE);
    return encoder.encode(text);
}

// The data store's reading loop: length first, then the text, then the next line.
QStringList readAllLines(ILineReader* reader) {
    QStringList lines;
    if (reader->MoveFirst() != kTextOk)
        return lines;
    do {
        const qint32 length = reader->GetLineText(nullptr, 0);
        if (length < 0)
            return lines << QStringLiteral("<error>");
        QList<QChar> buffer(length + 1);
        const qint32 copied = reader->GetLineText(buffer.data(), length + 1);
        if (copied != length || buffer[length] != u'\0')
            return lines << QStringLiteral("<short>");
        lines << QString(buffer.constData(), length);
    } while (reader->MoveNext() == kTextOk);
    return lines;
}

} // namespace

class TestTextFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void writtenBytes_data();
    void writtenBytes();
    void lastReleaseCutsOnlyAfterSuccess();
    void appendAndSeek();
    void lineIndex_data();
    void lineIndex();
    void longLinesInEveryEncoding_data();
    void longLinesInEveryEncoding();
    void lineEndsAtPieceAndBufferEdges_data();
    void lineEndsAtPieceAndBufferEdges();
    void largeWritesKeepTheirPlace_data();
    void largeWritesKeepTheirPlace();
    void partialReadsAndRandomAccess();
    void navigation();
    void undecodableFileFailsToOpen_data();
    void undecodableFileFailsToOpen();
    void readTextAndStickyEnd();
    void refusals();
    void systemCodePages_data();
    void systemCodePages();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    int fileNumber_ = 0;
};

void TestTextFiles::initTestCase() {
    QVERIFY(dir_.isValid());
    // The C locale counts as UTF-8, which the expected bytes below assume.
    std::setlocale(LC_CTYPE, "C");
    QCOMPARE(SystemCodePageName(), QByteArray("UTF-8"));
}

void TestTextFiles::writtenBytes_data() {
    QTest::addColumn<QByteArray>("existing"); // null: no file yet
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray none;
    QTest::newRow("new file: code page, no mark") << none << 0 << "abc\r\n"
                                                  << QByteArray("abc\r\n");
    QTest::newRow("empty file counts as new") << QByteArray("") << 0 << "abc" << QByteArray("abc");
    QTest::newRow("new file: Chinese in the UTF-8 code page")
        << none << 0 << "中" << QByteArray("\xE4\xB8\xAD");
    QTest::newRow("empty text writes nothing") << none << 0 << "" << QByteArray();
    QTest::newRow("UTF-8 mark kept, old tail cut")
        << QByteArray("\xEF\xBB\xBFold content that is longer") << 0 << "xy中"
        << QByteArray("\xEF\xBB\xBFxy\xE4\xB8\xAD");
    QTest::newRow("FF FE mark kept, low byte first")
        << QByteArray("\xFF\xFE"
                      "a\0b\0c\0d\0",
                      10)
        << 0 << "x中" << QByteArray("\xFF\xFEx\0\x2D\x4E", 6);
    QTest::newRow("FE FF mark kept, high byte first")
        << QByteArray("\xFE\xFF\0a\0b\0c\0d", 10) << 0 << "x中"
        << QByteArray("\xFE\xFF\0x\x4E\x2D", 6);
    QTest::newRow("no mark: rewritten from the start")
        << QByteArray("hello world") << 0 << "xy" << QByteArray("xy");
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << 0 << "a"
                               << QByteArray("\xEF\xBB\xBF"
                                             "a");
    QTest::newRow("new UTF-16 file writes its mark")
        << none << int(kEncodingUtf16Big) << "a" << QByteArray("\xFE\xFF\0a", 4);
    // Beyond the plane: each half of the pair on its own, so that the file
    // stays readable.
    QTest::newRow("beyond the plane in the code page")
        << none << 0 << "a\U0001F600" << QByteArray("a??");
    QTest::newRow("beyond the plane in UTF-8")
        << none << int(kEncodingUtf8) << "\U0001F600"
        << QByteArray("\xEF\xBB\xBF\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("beyond the plane in UTF-16")
        << none << int(kEncodingUtf16) << "\U0001F600" << QByteArray("\xFF\xFE\x3D\xD8\x00\xDE", 6);
}

void TestTextFiles::writtenBytes() {
    QFETCH(QByteArray, existing);
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    const QString file = path(QStringLiteral("written%1.txt").arg(++fileNumber_));
    if (!existing.isNull())
        QVERIFY(writeFileBytes(file, existing));
    IFileArchive* writer = nullptr;
    QCOMPARE(OpenTextWriter(file, &writer, encoding), kTextOk);
    QCOMPARE(writer->WriteText(text), kTextOk);
    QCOMPARE(writer->Release(), 0u);
    QCOMPARE(readFileBytes(file), expected);

    // Whatever we write, we can read back.
    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
}

void TestTextFiles::lastReleaseCutsOnlyAfterSuccess() {
    const QString file = path(QStringLiteral("cut.txt"));
    QVERIFY(writeFileBytes(file, "0123456789"));

    IFileArchive* writer = nullptr;
    QCOMPARE(OpenTextWriter(file, &writer), kTextOk);
    QCOMPARE(writer->WriteText(u"ab"), kTextOk);
    QCOMPARE(writer->AddRef(), 2u);
    QCOMPARE(writer->Release(), 1u);
    QCOMPARE(readFileBytes(file), QByteArray("0123456789")); // still buffered, not cut
    QCOMPARE(writer->Release(), 0u);
    QCOMPARE(readFileBytes(file), QByteArray("ab"));

    // A failed last operation leaves the rest of the file alone.
    QVERIFY(writeFileBytes(file, "0123456789"));
    QCOMPARE(OpenTextWriter(file, &writer), kTextOk);
    QCOMPARE(writer->WriteText(u"ab"), kTextOk);
    QChar ch;
    QCOMPARE(writer->ReadWideChar(&ch), kErrReadOnWriter);
    writer->Release();
    QCOMPARE(readFileBytes(file), QByteArray("ab23456789"));

    // FlushAndCut cuts at once.
    QCOMPARE(OpenTextWriter(file, &writer), kTextOk);
    QCOMPARE(writer->WriteText(u"z"), kTextOk);
    QCOMPARE(writer->FlushAndCut(), kTextOk);
    QCOMPARE(readFileBytes(file), QByteArray("z"));
    writer->Release();
}

void TestTextFiles::appendAndSeek() {
    // The event log's way of appending to a file that already has a mark.
    const QString file = path(QStringLiteral("append.txt"));
    QVERIFY(writeFileBytes(file, "\xEF\xBB\xBFone\r\n"));
    RefPtr<IFileArchive> writer;
    QCOMPARE(OpenTextWriter(file, writer.put()), kTextOk);
    qint64 position = -1;
    QCOMPARE(writer->GetPosition(&position), kTextOk);
    QCOMPARE(position, 3);
    QCOMPARE(writer->Seek(0, kSeekEnd), kTextOk);
    QCOMPARE(writer->WriteText(u"two\r\n"), kTextOk);
    QCOMPARE(writer->GetPosition(&position), kTextOk);
    QCOMPARE(position, 13);
    // A position inside the mark lands just after it; beyond the buffered
    // end is refused.
    QCOMPARE(writer->Seek(1, kSeekBegin), kTextOk);
    QCOMPARE(writer->GetPosition(&position), kTextOk);
    QCOMPARE(position, 3);
    QCOMPARE(writer->Seek(11, kSeekCurrent), kErrSeekFailed);
    QCOMPARE(writer->Seek(10, kSeekCurrent), kTextOk);
    QCOMPARE(writer->Seek(-1, kSeekBegin), kErrSeekFailed);
    QCOMPARE(writer->Seek(0, 3), kErrInvalidArg);
    QCOMPARE(writer->Seek(0, kSeekEnd), kTextOk); // the last operation succeeds
    writer.reset();
    QCOMPARE(readFileBytes(file), QByteArray("\xEF\xBB\xBFone\r\ntwo\r\n"));
}

void TestTextFiles::lineIndex_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF lines end with an empty line")
        << QByteArray("a\r\nb\r\nc\r\n") << QStringList{"a", "b", "c", ""};
    QTest::newRow("empty file has one empty line") << QByteArray() << QStringList{""};
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << QStringList{""};
    QTest::newRow("CR inside a line stays") << QByteArray("x\ry\r\nz") << QStringList{"x\ry", "z"};
    QTest::newRow("CR before the end is no text") << QByteArray("ab\r") << QStringList{"ab"};
    QTest::newRow("only the CR before the LF is the terminator")
        << QByteArray("a\r\r\n") << QStringList{"a\r", ""};
    QTest::newRow("LF alone") << QByteArray("a\n\nb") << QStringList{"a", "", "b"};
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBF\xC3\xA9\xE4\xB8\xAD\r\nz") << QStringList{"é中", "z"};
    QTest::newRow("code page without mark")
        << QByteArray("\xE4\xB8\xAD\xE6\x96\x87\n") << QStringList{"中文", ""};
    QTest::newRow("FF FE") << QByteArray("\xFF\xFE") + utf16("A\r\n中", false)
                           << QStringList{"A", "中"};
    QTest::newRow("FE FF") << QByteArray("\xFE\xFF") + utf16("A\r\n中", true)
                           << QStringList{"A", "中"};
    // U+0A00 has a line feed as its low byte: read in the wrong byte order
    // it would split the line.
    QTest::newRow("FE FF is read high byte first")
        << QByteArray("\xFE\xFF\x0A\x00\x00\x41", 6) << QStringList{QString(QChar(0x0A00)) + "A"};
    QTest::newRow("mark later in the file is a character")
        << QByteArray("a\xEF\xBB\xBF") << QStringList{QString("a") + QChar(0xFEFF)};
}

void TestTextFiles::lineIndex() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    const QString file = path(QStringLiteral("index%1.txt").arg(++fileNumber_));
    QVERIFY(writeFileBytes(file, bytes));
    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
    QCOMPARE(reader->GetLineCount(), lines.size());
    QCOMPARE(readAllLines(reader.get()), lines);
}

void TestTextFiles::longLinesInEveryEncoding_data() {
    QTest::addColumn<int>("encoding");
    QTest::newRow("code page") << int(kEncodingAnsi);
    QTest::newRow("UTF-8") << int(kEncodingUtf8);
    QTest::newRow("UTF-16") << int(kEncodingUtf16);
    QTest::newRow("UTF-16 big") << int(kEncodingUtf16Big);
}

void TestTextFiles::longLinesInEveryEncoding() {
    QFETCH(int, encoding);

    // Lines of many lengths with characters of one, two and three bytes, so
    // that characters and terminators fall across the 4096-byte buffer.
    QStringList lines;
    const QString pattern = QStringLiteral("a\u00E9\u4E2D\r");
    for (int i = 0; i < 60; ++i)
        lines << pattern.repeated(i * 37 % 1500).left(i * 131 % 5000);
    lines << QString();
    const QString text = lines.join(QStringLiteral("\r\n"));

    const QString file = path(QStringLiteral("long%1.txt").arg(encoding));
    IFileArchive* writer = nullptr;
    QCOMPARE(OpenTextWriter(file, &writer, encoding), kTextOk);
    // In pieces of varying size, as callers write field by field.
    for (qsizetype at = 0, step = 1; at < text.size(); at += step, step = step * 3 % 997 + 1)
        QCOMPARE(writer->WriteText(QStringView(text).mid(at, step)), kTextOk);
    writer->Release();

    QByteArray expected;
    switch (encoding) {
    case kEncodingAnsi:
        expected = text.toUtf8();
        break;
    case kEncodingUtf8:
        expected = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    default:
        expected = (encoding == kEncodingUtf16 ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) +
                   utf16(text, encoding == kEncodingUtf16Big);
    }
    QCOMPARE(readFileBytes(file), expected);

    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
    QCOMPARE(readAllLines(reader.get()), lines);
}

// Lines are indexed in pieces of 2048 characters read through a buffer of
// 4096 bytes: a line end (or a carriage return) just before, at or after
// either edge must count as it does anywhere else.
void TestTextFiles::lineEndsAtPieceAndBufferEdges_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const struct {
        const char* name;
        QByteArray mark;
        std::function<QByteArray(const QString&)> encode;
    } encodings[] = {
        {"code page", QByteArray(), [](const QString& t) { return t.toUtf8(); }},
        {"FF FE", QByteArray("\xFF\xFE"), [](const QString& t) { return utf16(t, false); }},
        {"FE FF", QByteArray("\xFE\xFF"), [](const QString& t) { return utf16(t, true); }},
    };
    for (const auto& encoding : encodings) {
        for (const QString& filler : {QStringLiteral("a"), QStringLiteral("中")}) {
            for (int length : {2047, 2048, 2049, 4095, 4096}) {
                const QString body = filler.repeated(length);
                const struct {
                    const char* name;
                    QString text;
                    QStringList lines;
                } endings[] = {
                    {"CR LF", body + "\r\nz", {body, "z"}},
                    {"LF", body + "\nz", {body, "z"}},
                    {"CR at the end", body + "\r", {body}},
                    {"CR inside", body + "\rb\r\n", {body + "\rb", ""}},
                };
                for (const auto& ending : endings) {
                    QTest::addRow("%s, %d x %s, %s", encoding.name, length,
                                  filler == "a" ? "a" : "3-byte", ending.name)
                        << encoding.mark + encoding.encode(ending.text) << ending.lines;
                }
            }
        }
    }
}

void TestTextFiles::lineEndsAtPieceAndBufferEdges() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    const QString file = path(QStringLiteral("edges.txt"));
    QVERIFY(writeFileBytes(file, bytes));
    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
    QCOMPARE(reader->GetLineCount(), lines.size());
    QCOMPARE(readAllLines(reader.get()), lines);
}

// A text larger than the buffer goes to the file in one piece; what is
// written before and after it, and over it after a seek, lands where the
// positions say.
void TestTextFiles::largeWritesKeepTheirPlace_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("mark");
    QTest::newRow("code page") << int(kEncodingAnsi) << QByteArray();
    QTest::newRow("UTF-8") << int(kEncodingUtf8) << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("UTF-16") << int(kEncodingUtf16) << QByteArray("\xFF\xFE");
    QTest::newRow("UTF-16 big") << int(kEncodingUtf16Big) << QByteArray("\xFE\xFF");
}

void TestTextFiles::largeWritesKeepTheirPlace() {
    QFETCH(int, encoding);
    QFETCH(QByteArray, mark);

    auto encode = [encoding](const QString& text) {
        return encoding == kEncodingUtf16 || encoding == kEncodingUtf16Big
                   ? utf16(text, encoding == kEncodingUtf16Big)
                   : text.toUtf8();
    };
    const QString head = QStringLiteral("head\r\n");
    const QString large = QStringLiteral("a中\r\n").repeated(3000);
    const QString file = path(QStringLiteral("large%1.txt").arg(encoding));
    RefPtr<IFileArchive> writer;
    QCOMPARE(OpenTextWriter(file, writer.put(), encoding), kTextOk);
    QCOMPARE(writer->WriteText(head), kTextOk);
    QCOMPARE(writer->WriteText(large), kTextOk);
    QCOMPARE(writer->WriteText(u"tail"), kTextOk);
    qint64 position = -1;
    QCOMPARE(writer->GetPosition(&position), kTextOk);
    QCOMPARE(position, (mark + encode(head + large + "tail")).size());
    // Over the first letter of the large text, then after everything.
    QCOMPARE(writer->Seek((mark + encode(head)).size(), kSeekBegin), kTextOk);
    QCOMPARE(writer->WriteText(u"A"), kTextOk);
    QCOMPARE(writer->Seek(0, kSeekEnd), kTextOk);
    QCOMPARE(writer->WriteText(u"!"), kTextOk);
    writer.reset();
    QCOMPARE(readFileBytes(file), mark + encode(head + "A" + large.mid(1) + "tail!"));
}

void TestTextFiles::partialReadsAndRandomAccess() {
    const QString file = path(QStringLiteral("partial.txt"));
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines << QStringLiteral("line %1 ").arg(i).repeated(i % 30);
    QVERIFY(writeFileBytes(file, lines.join(QStringLiteral("\r\n")).toUtf8()));

    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
    QCOMPARE(reader->GetLineCount(), 500);
    // Backwards and jumping, each line read twice: the second read must not
    // start where the first one stopped.
    QString text;
    for (qint64 i = 499; i >= 0; i -= 7) {
        QCOMPARE(reader->MoveTo(i), kTextOk);
        QCOMPARE(reader->GetLineText(&text), kTextOk);
        QCOMPARE(text, lines[i]);
        QCOMPARE(reader->GetLineText(&text), kTextOk);
        QCOMPARE(text, lines[i]);
    }
    // A short buffer takes the start of the line; the next line is whole.
    QCOMPARE(reader->MoveTo(31), kTextOk);
    QChar buffer[6];
    QCOMPARE(reader->GetLineText(buffer, 6), 5);
    QCOMPARE(QString(buffer), lines[31].left(5));
    QCOMPARE(reader->GetLineText(buffer, 1), 0);
    QVERIFY(buffer[0].isNull());
    QCOMPARE(reader->GetLineText(buffer, 0), kErrInvalidArg);
    QCOMPARE(reader->MoveNext(), kTextOk);
    QCOMPARE(reader->GetLineText(&text), kTextOk);
    QCOMPARE(text, lines[32]);
}

void TestTextFiles::navigation() {
    const QString file = path(QStringLiteral("nav.txt"));
    QVERIFY(writeFileBytes(file, "a\r\nb\r\nc"));
    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);

    qint64 index = 0;
    QCOMPARE(reader->GetCurrentIndex(&index), kTextOk);
    QCOMPARE(index, -1);
    QCOMPARE(reader->GetLineText(nullptr, 0), kErrNoCurrentLine);
    QCOMPARE(reader->MovePrevious(), kErrNoCurrentLine);
    QCOMPARE(reader->MoveTo(-1), kErrInvalidArg);
    QCOMPARE(reader->MoveTo(3), kErrEndOfData);

    QCOMPARE(reader->MoveLast(), kTextOk);
    QCOMPARE(reader->MoveNext(), kErrEndOfData);
    QCOMPARE(reader->GetCurrentIndex(&index), kTextOk);
    QCOMPARE(index, 2);
    QCOMPARE(reader->MovePrevious(), kTextOk);
    QString text;
    QCOMPARE(reader->GetLineText(&text), kTextOk);
    QCOMPARE(text, QStringLiteral("b"));
    QCOMPARE(reader->MoveFirst(), kTextOk);
    QCOMPARE(reader->MovePrevious(), kErrInvalidArg);
    QCOMPARE(reader->GetLineText(nullptr, 0), 1);
}

void TestTextFiles::undecodableFileFailsToOpen_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8 four-byte sequence") << QByteArray("\xEF\xBB\xBF"
                                                            "a\r\n\xF0\x9F\x98\x80\r\n");
    QTest::newRow("UTF-8 overlong") << QByteArray("\xEF\xBB\xBF\xC0\xAF");
    QTest::newRow("UTF-8 surrogate") << QByteArray("\xEF\xBB\xBF\xED\xA0\x80");
    QTest::newRow("UTF-8 cut at the end") << QByteArray("\xEF\xBB\xBF"
                                                        "a\xE4\xB8");
    QTest::newRow("UTF-16 half a unit at the end") << QByteArray("\xFF\xFE"
                                                                 "A\0B",
                                                                 5);
    QTest::newRow("code page: invalid byte") << QByteArray("a\xFF"
                                                           "b");
    QTest::newRow("code page: four-byte sequence") << QByteArray("\xF0\x9F\x98\x80");
}

void TestTextFiles::undecodableFileFailsToOpen() {
    QFETCH(QByteArray, bytes);
    const QString file = path(QStringLiteral("bad%1.txt").arg(++fileNumber_));
    QVERIFY(writeFileBytes(file, bytes));
    ILineReader* reader = reinterpret_cast<ILineReader*>(quintptr(1));
    QCOMPARE(OpenLineReader(file, &reader), kErrWriteFailed);
    QVERIFY(reader == nullptr);
    // The failed opening left no file open: it can be replaced at once.
    QVERIFY(QFile::remove(file));
}

void TestTextFiles::readTextAndStickyEnd() {
    const QString file = path(QStringLiteral("readtext.txt"));
    QVERIFY(writeFileBytes(file, "\xEF\xBB\xBF"
                                 "abc"));
    RefPtr<IFileArchive> reader;
    QCOMPARE(OpenTextReader(file, reader.put()), kTextOk);

    QChar buffer[10];
    qint32 count = 3;
    QCOMPARE(reader->ReadText(buffer, &count), kTextOk);
    QCOMPARE(count, 2);
    QCOMPARE(QString(buffer), QStringLiteral("ab"));
    count = 10;
    QCOMPARE(reader->ReadText(buffer, &count), kTextOk); // stops early at the end
    QCOMPARE(count, 1);
    QCOMPARE(QString(buffer), QStringLiteral("c"));
    count = 10;
    QCOMPARE(reader->ReadText(buffer, &count), kErrEndOfData);
    QCOMPARE(count, 0);
    QChar ch;
    QCOMPARE(reader->ReadWideChar(&ch), kErrEndOfData);
    QCOMPARE(reader->Seek(4, kSeekBegin), kTextOk);
    QCOMPARE(reader->ReadWideChar(&ch), kTextOk);
    QCOMPARE(ch, QChar(u'b'));
    QCOMPARE(reader->Seek(0, kSeekBegin), kTextOk); // into the mark: just after it
    QCOMPARE(reader->ReadWideChar(&ch), kTextOk);
    QCOMPARE(ch, QChar(u'a'));
    QCOMPARE(reader->Seek(1, kSeekEnd), kErrSeekFailed);
}

void TestTextFiles::refusals() {
    ILineReader* lines = nullptr;
    QCOMPARE(OpenLineReader(QString(), &lines), kErrInvalidArg);
    QCOMPARE(OpenLineReader(path(QStringLiteral("missing.txt")), &lines), kErrOpenFailed);
    QCOMPARE(OpenLineReader(dir_.path(), &lines), kErrOpenFailed);
    IFileArchive* archive = nullptr;
    QCOMPARE(OpenTextWriter(path(QStringLiteral("no/such/folder.txt")), &archive), kErrOpenFailed);
    QCOMPARE(OpenTextWriter(path(QStringLiteral("four.txt")), &archive, 4), kErrInvalidArg);
    QVERIFY(!QFile::exists(path(QStringLiteral("four.txt"))));

    const QString file = path(QStringLiteral("direction.txt"));
    QVERIFY(writeFileBytes(file, "text"));
    RefPtr<IFileArchive> reader;
    QCOMPARE(OpenTextReader(file, reader.put()), kTextOk);
    QCOMPARE(reader->WriteText(u"x"), kErrWriteOnReader);
    QCOMPARE(reader->FlushAndCut(), kErrWriteOnReader);
    reader.reset();
    QCOMPARE(readFileBytes(file), QByteArray("text"));
}

void TestTextFiles::systemCodePages_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");

    const QString chinese = QStringLiteral("中文 abc 广播");
    QTest::newRow("GBK") << QByteArray("zh_CN.GBK") << chinese << iconvEncode("GBK", chinese)
                         << chinese;
    QTest::newRow("Latin-1") << QByteArray("en_US.ISO-8859-1") << QStringLiteral("café")
                             << QByteArray("caf\xE9") << QStringLiteral("café");
    // A single-byte code page has no Chinese: each character becomes '?'.
    QTest::newRow("Chinese under Latin-1")
        << QByteArray("en_US.ISO-8859-1") << QStringLiteral("a中文") << QByteArray("a??")
        << QStringLiteral("a??");
}

void TestTextFiles::systemCodePages() {
    QFETCH(QByteArray, locale);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);

    LocaleGuard guard(locale.constData());
    if (!guard.ok())
        QSKIP(qPrintable(QStringLiteral("locale %1 is not installed (scripts/install-deps.sh "
                                        "generates it)")
                             .arg(QString::fromLatin1(locale))));
    QVERIFY(!bytes.isEmpty());

    const QString file = path(QStringLiteral("cp%1.txt").arg(++fileNumber_));
    IFileArchive* writer = nullptr;
    QCOMPARE(OpenTextWriter(file, &writer), kTextOk);
    QCOMPARE(writer->WriteText(text), kTextOk);
    writer->Release();
    QCOMPARE(readFileBytes(file), bytes);

    // One byte ahead of the text, so that double-byte characters also fall
    // across the buffer's end.
    const QByteArray longLine = "x" + bytes.repeated(2000);
    QVERIFY(writeFileBytes(file, bytes + "\r\n" + longLine + "\r\n"));
    RefPtr<ILineReader> reader;
    QCOMPARE(OpenLineReader(file, reader.put()), kTextOk);
    QCOMPARE(readAllLines(reader.get()),
             (QStringList{readBack, "x" + readBack.repeated(2000), QString()}));

    if (locale == "zh_CN.GBK") {
        // A lead byte without its trail byte at the end of the file.
        QVERIFY(writeFileBytes(file, bytes + bytes.left(1)));
        ILineReader* broken = nullptr;
        QCOMPARE(OpenLineReader(file, &broken), kErrWriteFailed);
    }
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
