#include "harness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <clocale>
#include <memory>

#include "plaintextcheck.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"
#include "support/cryptfile.h"
#include "support/profile.h"
#include "support/textfile.h"
#include "transmitter/handshakeconstants.h"
#include "transmitter/serialport.h"
#include "transmitter/serialtransport.h"
#include "transmitter/transmitterlink.h"
#include "transmitter/transmitterprotocol.h"

namespace {

// Files for the bytes under test live in a folder of their own: the one the
// fuzz script names (in memory, since the targets write one per input), else
// a temporary one.
const QString& scratchFolder() {
    static const QString given = qEnvironmentVariable("TOLVANE_FUZZ_SCRATCH");
    if (!given.isEmpty())
        return given;
    static QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/tolvane-fuzz-XXXXXX"));
    static const QString path = temporary.path();
    return path;
}

QString scratchFile(const char* name) {
    return scratchFolder() + u'/' + QLatin1String(name);
}

QString writeScratch(const char* name, QByteArrayView bytes) {
    const QString path = scratchFile(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), bytes.size());
    return path;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString hexCode(qint32 code) {
    return QStringLiteral("0x") + QString::number(quint32(code), 16);
}

// The system code page follows the locale's character type: a multi-byte
// page, a single-byte page and UTF-8 are all tried. Restored afterwards, so
// that the regression test's own locale stays.
class LocaleChoice {
public:
    explicit LocaleChoice(int choice) : saved(std::setlocale(LC_CTYPE, nullptr)) {
        static const char* const kLocales[] = {"C.UTF-8", "zh_CN.gbk", "en_US.iso88591"};
        const char* name = kLocales[choice % 3];
        utf8 = choice % 3 == 0 || !std::setlocale(LC_CTYPE, name);
        if (utf8)
            std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    ~LocaleChoice() { std::setlocale(LC_CTYPE, saved.constData()); }
    LocaleChoice(const LocaleChoice&) = delete;
    LocaleChoice& operator=(const LocaleChoice&) = delete;
    bool isUtf8() const { return utf8; }

private:
    QByteArray saved;
    bool utf8 = true;
};

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 2), QTime(8, 0)); }
};

// ---------------------------------------------------------------------------
// Text files

constexpr int kEncodings[] = {kEncodingAnsi, kEncodingUtf16, kEncodingUtf16Big, kEncodingUtf8};

struct Characters {
    QString text;
    bool failed = false; // a character could not be decoded, or the file not opened
};

// Every character one ReadWideChar at a time, up to the end or the first
// that cannot be decoded.
Characters readOneByOne(const QString& path, int encoding) {
    Characters result;
    RefPtr<IFileArchive> reader;
    if (OpenTextReader(path, reader.put(), encoding) < 0) {
        result.failed = true;
        return result;
    }
    for (;;) {
        QChar c;
        const qint32 rc = reader->ReadWideChar(&c);
        if (rc == kErrEndOfData)
            break;
        if (rc < 0) {
            result.failed = true;
            break;
        }
        result.text.append(c);
    }
    return result;
}

// The same through ReadText, `chunk` characters at a time.
Characters readInChunks(const QString& path, int encoding, qint32 chunk) {
    Characters result;
    RefPtr<IFileArchive> reader;
    if (OpenTextReader(path, reader.put(), encoding) < 0) {
        result.failed = true;
        return result;
    }
    QList<QChar> buffer(chunk + 1);
    for (;;) {
        qint32 count = chunk + 1;
        const qint32 rc = reader->ReadText(buffer.data(), &count);
        if (rc == kErrEndOfData && count == 0)
            break;
        if (count < 0 || count > chunk)
            return {QStringLiteral("count out of range"), true};
        result.text.append(buffer.constData(), count);
        if (rc < 0) {
            result.failed = rc != kErrEndOfData;
            break;
        }
    }
    return result;
}

// The lines the index must hold: split at each line feed, less one carriage
// return right before it or before the end.
QStringList expectedLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

QString compareLines(ILineReader* reader, const QStringList& expected) {
    if (reader->GetLineCount() != expected.size())
        return QStringLiteral("line count ") + QString::number(reader->GetLineCount()) +
               QStringLiteral(", expected ") + QString::number(expected.size());
    // Forward, as the data store reads: the length, then the text.
    if (reader->MoveFirst() != kTextOk)
        return QStringLiteral("MoveFirst failed");
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QString line;
        const qint32 rc = reader->GetLineText(&line);
        if (rc < 0)
            return QStringLiteral("line ") + QString::number(i) + QStringLiteral(": ") +
                   hexCode(rc);
        if (line != expected[i])
            return QStringLiteral("line ") + QString::number(i) + QStringLiteral(" differs");
        const qint32 next = reader->MoveNext();
        if (next != (i + 1 < expected.size() ? kTextOk : kErrEndOfData))
            return QStringLiteral("MoveNext after line ") + QString::number(i) +
                   QStringLiteral(": ") + hexCode(next);
    }
    // Backward, each line read twice, the second time into a short buffer.
    if (reader->MoveLast() != kTextOk)
        return QStringLiteral("MoveLast failed");
    for (qsizetype i = expected.size() - 1; i >= 0; --i) {
        QString line;
        if (reader->GetLineText(&line) < 0 || line != expected[i])
            return QStringLiteral("line ") + QString::number(i) +
                   QStringLiteral(" backward differs");
        QChar two[2] = {u'x', u'x'};
        const qint32 n = reader->GetLineText(two, 2);
        if (n != qMin<qsizetype>(1, expected[i].size()) || two[n] != u'\0' ||
            (n == 1 && two[0] != expected[i][0]))
            return QStringLiteral("line ") + QString::number(i) +
                   QStringLiteral(" into a short buffer differs");
        const qint32 previous = reader->MovePrevious();
        if (previous != (i > 0 ? kTextOk : kErrInvalidArg))
            return QStringLiteral("MovePrevious from line ") + QString::number(i) +
                   QStringLiteral(": ") + hexCode(previous);
    }
    return QString();
}

QString writeText(const QString& path, const QString& text, int encoding, bool cutExplicitly) {
    RefPtr<IFileArchive> writer;
    const qint32 rc = OpenTextWriter(path, writer.put(), encoding);
    if (rc < 0)
        return QStringLiteral("cannot open for writing: ") + hexCode(rc);
    if (writer->WriteText(text) < 0)
        return QStringLiteral("WriteText failed");
    if (cutExplicitly && writer->FlushAndCut() < 0)
        return QStringLiteral("FlushAndCut failed");
    return QString();
}

int encodingOfMark(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return kEncodingUtf8;
    if (bytes.startsWith("\xFE\xFF"))
        return kEncodingUtf16Big;
    if (bytes.startsWith("\xFF\xFE"))
        return kEncodingUtf16;
    return kEncodingAnsi;
}

// What reading back must give for text written in `encoding`; a null result
// when only the length can be known (a code page that maps some characters
// to '?').
QString expectedReadBack(const QString& text, int encoding, bool utf8CodePage) {
    QString expected = text;
    if (encoding == kEncodingUtf16 || encoding == kEncodingUtf16Big)
        return expected;
    if (encoding == kEncodingAnsi && !utf8CodePage)
        return QString();
    // UTF-8 encodes one unit at a time: a surrogate alone has no code.
    const QChar stand =
        encoding == kEncodingUtf8 ? QChar(QChar::ReplacementCharacter) : QChar(u'?');
    for (QChar& c : expected) {
        if (c.isSurrogate())
            c = stand;
    }
    return expected;
}

} // namespace

QString CheckTextFile(QByteArrayView input) {
    if (input.isEmpty())
        return QString();
    const uchar mode = uchar(input[0]);
    const LocaleChoice locale(mode % 3);
    const int encoding = kEncodings[(mode / 3) % 4];
    const QByteArrayView data = input.sliced(1);
    const QString path = writeScratch("text.txt", data);

    // The index against reading one character at a time.
    const Characters single = readOneByOne(path, kEncodingAuto);
    RefPtr<ILineReader> reader;
    const qint32 opened = OpenLineReader(path, reader.put());
    if (opened < 0 && !single.failed)
        return QStringLiteral("the line reader refused a readable text: ") + hexCode(opened);
    if (opened >= 0 && single.failed)
        return QStringLiteral("the line reader took a text that cannot be read");
    if (opened >= 0) {
        const QString problem = compareLines(reader.get(), expectedLines(single.text));
        if (!problem.isEmpty())
            return problem;
    }
    reader.reset();

    // Each encoder on the bytes as they are, whole pieces against single reads.
    const Characters forced = readOneByOne(path, encoding);
    const Characters chunked = readInChunks(path, encoding, 1 + mode % 7 * 300);
    if (forced.failed != chunked.failed || forced.text != chunked.text)
        return QStringLiteral("reading in pieces differs from single reads in encoding ") +
               QString::number(encoding);

    // The bytes as 16-bit units, written in the encoding and read back.
    QString text;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        text.append(QChar(char16_t(uchar(data[i]) | uchar(data[i + 1]) << 8)));
    const QString written = scratchFile("written.txt");
    QFile::remove(written);
    QString problem = writeText(written, text, encoding, true);
    if (!problem.isEmpty())
        return problem;
    const QByteArray bytes = readBytes(written);
    // Text in the code page that happens to begin like a mark is read as
    // that mark says: the format cannot tell them apart.
    if (encoding != kEncodingAnsi || encodingOfMark(bytes) == kEncodingAnsi) {
        const Characters back = readOneByOne(written, kEncodingAuto);
        const QString expected = expectedReadBack(text, encoding, locale.isUtf8());
        if (back.failed)
            return QStringLiteral("text written in encoding ") + QString::number(encoding) +
                   QStringLiteral(" does not read back");
        if (expected.isNull() ? back.text.size() != text.size() : back.text != expected)
            return QStringLiteral("text written in encoding ") + QString::number(encoding) +
                   QStringLiteral(" reads back differently");
    }

    // Rewriting the bytes keeps their mark, and the old rest is cut when the
    // file is closed: the same bytes as the text written afresh.
    const int kept = encodingOfMark(data);
    const QString rewritten = writeScratch("rewritten.txt", data);
    problem = writeText(rewritten, text, kEncodingAuto, false);
    if (!problem.isEmpty())
        return problem;
    const QString fresh = scratchFile("fresh.txt");
    QFile::remove(fresh);
    problem = writeText(fresh, text, kept, false);
    if (!problem.isEmpty())
        return problem;
    if (readBytes(rewritten) != readBytes(fresh))
        return QStringLiteral("a rewritten file differs from the same text written afresh");
    return QString();
}

// ---------------------------------------------------------------------------
// Data files

namespace {

enum DataFile { Speech, Category, MusicTask, User, Common, DataFileCount };

bool readLine(DataStore& store, int file, const QString& line) {
    switch (file) {
    case Speech:
        return store.ReadSpeechLine(line);
    case Category:
        return store.ReadCategoryLine(line);
    case MusicTask:
        return store.ReadMusicTaskLine(line);
    case User:
        return store.ReadUserLine(line);
    default:
        return store.ReadCommonLine(line);
    }
}

QString fileText(const DataStore& store, int file) {
    switch (file) {
    case Speech:
        return store.SpeechFileText();
    case Category:
        return store.CategoryFileText();
    case MusicTask:
        return store.MusicTaskFileText();
    case User:
        return store.UserFileText();
    default:
        return store.CommonFileText();
    }
}

// The store's loading loop over a plain text file. False when the file
// cannot be read at all, which loads nothing.
bool loadPlainText(DataStore& store, int file, const QString& path) {
    RefPtr<ILineReader> reader;
    if (OpenLineReader(path, reader.put()) != kTextOk)
        return false;
    if (reader->MoveFirst() != kTextOk)
        return true;
    do {
        QString line;
        if (reader->GetLineText(&line) < 0)
            break;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        readLine(store, file, line);
    } while (reader->MoveNext() == kTextOk);
    return true;
}

QString firstDifference(const QString& a, const QString& b) {
    const QStringList x = a.split(QStringLiteral("\r\n"));
    const QStringList y = b.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < qMin(x.size(), y.size()); ++i) {
        if (x[i] != y[i])
            return QStringLiteral("line ") + QString::number(i + 1);
    }
    return QStringLiteral("line count ") + QString::number(x.size()) + QStringLiteral(" against ") +
           QString::number(y.size());
}

} // namespace

QString CheckDataFileText(QByteArrayView input) {
    if (input.isEmpty())
        return QString();
    const uchar mode = uchar(input[0]);
    const int file = mode % DataFileCount;
    const LocaleChoice locale(mode / DataFileCount);
    const QString path = writeScratch("plain.txt", input.sliced(1));
    const StillClock clock;
    const QString dataFolder = scratchFile("data");

    DataStore loaded(clock, dataFolder, scratchFolder());
    loaded.loading = 1; // nothing is saved while the lines come in
    if (!loadPlainText(loaded, file, path))
        return QString();
    const QString saved = fileText(loaded, file);

    // What a save writes (in UTF-8, where every character has a code) must
    // load back to the same records.
    if (!locale.isUtf8())
        return QString();
    const QString temp = scratchFile("saved.txt");
    QFile::remove(temp);
    QString problem = writeText(temp, saved, kEncodingAuto, true);
    if (!problem.isEmpty())
        return problem;
    DataStore reloaded(clock, dataFolder, scratchFolder());
    reloaded.loading = 1;
    if (!loadPlainText(reloaded, file, temp))
        return QStringLiteral("a saved text cannot be read");
    QString expected = saved;
    for (QChar& c : expected) {
        if (c.isSurrogate())
            c = u'?';
    }
    const QString again = fileText(reloaded, file);
    if (again != expected)
        return QStringLiteral("file ") + QString::number(file) +
               QStringLiteral(": a saved text loads back differently at ") +
               firstDifference(again, expected);
    return QString();
}

// ---------------------------------------------------------------------------
// Profiles

namespace {

QString trimmedBlanks(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

QString cleanValue(const QString& value) {
    QString clean = trimmedBlanks(value);
    if (clean.size() >= 2 && clean.front() == u'"' && clean.back() == u'"')
        clean = clean.mid(1, clean.size() - 2);
    return clean;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString CheckProfile(QByteArrayView input) {
    QStringList query{QStringLiteral("Global"), QStringLiteral("LangId"), QStringLiteral("1"),
                      QStringLiteral("Global"), QStringLiteral("IdleTime")};
    QByteArrayView content = input;
    if (const qsizetype nul = input.indexOf('\0'); nul >= 0) {
        const QStringList given = QString::fromUtf8(input.first(nul)).split(u'\n');
        for (qsizetype i = 0; i < given.size() && i < query.size(); ++i)
            query[i] = given[i];
        // Names as the station passes them, its own words without blanks
        // around them; the value as it comes. Text files hold characters of
        // the Basic Multilingual Plane only.
        for (int i : {0, 1, 3, 4})
            query[i] = trimmedBlanks(query[i]);
        for (QString& text : query) {
            for (QChar& c : text) {
                if (c.isSurrogate())
                    c = QChar(QChar::ReplacementCharacter);
            }
        }
        content = input.sliced(nul + 1);
    }
    const QString& section = query[0];
    const QString& key = query[1];
    const QString& value = query[2];
    const QString& otherSection = query[3];
    const QString& otherKey = query[4];
    const LocaleChoice locale(content.isEmpty() ? 0 : uchar(content.back()));
    const QString path = writeScratch("profile.conf", content);
    const QString missing = QStringLiteral("\x01missing");

    ReadProfileInt(path, section, key, 7);
    const QString before = ReadProfileString(path, otherSection, otherKey, missing);
    if (!WriteProfileString(path, section, key, value))
        return QString();
    // A code page without a character for every one of the value's writes '?'.
    if (!locale.isUtf8() && encodingOfMark(content) == kEncodingAnsi)
        return QString();
    const QString got = ReadProfileString(path, section, key, missing);
    if (got != cleanValue(value))
        return QStringLiteral("a written value reads back as ") +
               (got == missing ? QStringLiteral("missing") : QStringLiteral("another value"));
    if (!(sameName(section, otherSection) && sameName(key, otherKey)) &&
        ReadProfileString(path, otherSection, otherKey, missing) != before)
        return QStringLiteral("writing one key changed another");
    return QString();
}

// ---------------------------------------------------------------------------
// Transmitter replies

namespace {

// Answers every command with the next reply of the input. A reply of pieces
// separated by 0x01 arrives one piece per read; one that starts with '!'
// begins with the right answer to the challenge.
class ReplyPort : public SerialPort {
public:
    explicit ReplyPort(QByteArrayView input) {
        for (QByteArrayView reply : QByteArray(input.toByteArray()).split('\0'))
            replies.append(reply.toByteArray());
    }

    qint64 writeChunk(const char* data, qint64 size, int) override {
        ++writes;
        pending.append(data, size);
        for (qsizetype end; (end = pending.indexOf("\r\n")) >= 0;) {
            const QByteArray command = pending.left(end);
            pending.remove(0, end + 2);
            answer(command);
        }
        return size;
    }

    qint64 readSome(char* buffer, qint64 capacity, int) override {
        if (incoming.isEmpty())
            return 0;
        QByteArray& piece = incoming.first();
        const qint64 n = qMin<qint64>(capacity, piece.size());
        memcpy(buffer, piece.constData(), size_t(n));
        piece.remove(0, n);
        if (piece.isEmpty())
            incoming.removeFirst();
        return n;
    }

    void clearErrors() override {}
    void discardInput() override { incoming.clear(); }

    int writes = 0;

private:
    void answer(const QByteArray& command) {
        if (replies.isEmpty())
            return;
        QByteArray reply = replies.takeFirst();
        if (reply.startsWith('!') && command.startsWith("AT+CONNECT")) {
            const quint32 d = handshake::ChallengeValue(command.mid(10).toUInt(nullptr, 16));
            reply = QByteArray::number(handshake::MakeAnswer(d, 0), 16).rightJustified(8, '0') +
                    "\r\nOK\r\n" + reply.mid(1);
        }
        for (const QByteArray& piece : reply.split('\x01')) {
            if (!piece.isEmpty())
                incoming.append(piece);
        }
    }

    QList<QByteArray> replies;
    QList<QByteArray> incoming;
    QByteArray pending;
};

// The link owns the port it opens: this one passes through to the test's.
class BorrowedPort : public SerialPort {
public:
    explicit BorrowedPort(SerialPort* port) : port(port) {}
    qint64 writeChunk(const char* d, qint64 n, int t) override { return port->writeChunk(d, n, t); }
    qint64 readSome(char* b, qint64 n, int t) override { return port->readSome(b, n, t); }
    void clearErrors() override { port->clearErrors(); }
    void discardInput() override { port->discardInput(); }

private:
    SerialPort* port;
};

constexpr int kAllSettings = kSetFrequency | kSetPower | kSetForwardPower | kSetReflectedPower |
                             kSetVolume | kSetStereo | kSetTemperature | kSetRdsId |
                             kSetPreemphasis | kSetBluetooth | kSetPartitionA | kSetPartitionB |
                             kSetPartitionC;

} // namespace

QString CheckTransmitterReply(QByteArrayView input) {
    ReplyPort port(input);
    TransmitterLink link;
    link.setPortOpener([&port](int n) -> std::unique_ptr<SerialPort> {
        if (n != 1)
            return nullptr;
        return std::make_unique<BorrowedPort>(&port);
    });

    const bool connected = link.ChangeDeviceState(kDeviceConnect);
    if (connected != link.IsConnected())
        return QStringLiteral("the connection result and the link state disagree");
    link.AboutProductText();
    link.AboutDeviceText();
    for (const QString* line : {&link.product().manufacturerInfo, &link.product().productInfo,
                                &link.product().firmwareVersion, &link.product().softwareVersion}) {
        if (line->size() > kReplyBufferSize)
            return QStringLiteral("a product line is longer than a reply");
    }

    // Every setting changed, from values that the replies themselves gave.
    TransmitterStatus wanted = link.status();
    wanted.frequency ^= 1;
    wanted.power ^= 10;
    wanted.volume ^= 1;
    wanted.stereo ^= 1;
    wanted.rdsId ^= 0x0101;
    wanted.preemphasis ^= 1;
    wanted.bluetooth ^= 1;
    wanted.partitionA ^= 0x81;
    wanted.partitionB ^= 0x42;
    wanted.partitionC ^= 0x24;
    const int applied = link.ApplyFromUi(wanted, kAllSettings);
    if (applied & ~(kAllSettings | kSetFailed))
        return QStringLiteral("applying named a field that was not asked for");
    if (!link.hasPort() && applied != 0)
        return QStringLiteral("applying without a port sent something");

    link.ChangeDeviceState(kDeviceSwitchOffOrWake);
    if (link.hasPort() && !link.switchedOff())
        return QStringLiteral("a switch-off left the link on");
    link.ChangeDeviceState(kDeviceSwitchOffOrWake);
    link.ChangeDeviceState(kDeviceDisconnect);
    if (link.hasPort() || link.IsConnected() ||
        link.state() != TransmitterLink::LinkState::NotConnected)
        return QStringLiteral("a disconnected link still holds its port");

    for (const QByteArray& line : PayloadLines(input)) {
        if (line.isEmpty() || line.contains("\r\n"))
            return QStringLiteral("a payload line is empty or holds a line end");
    }
    ParseZoneMask(input);
    return QString();
}

// ---------------------------------------------------------------------------
// The data tool's pack

QString CheckPackInput(QByteArrayView input) {
    const QString path = writeScratch("pack.txt", input);
    for (const char* name :
         {"ttsdata.sx", "mcatdata.sx", "mtskdata.sx", "usrdata.sx", "cmndata.sx"})
        PlainTextProblems(path, QLatin1String(name));
    if (input.isEmpty())
        return QString();
    // Loaded once: the library is the same for every input.
    static CryptLibraryBinding binding(DataStore::kDataKey);
    if (!binding.bind())
        return QStringLiteral("the cipher library cannot be loaded from ") + GetAppFolder();
    const QByteArray plain = input.toByteArray();
    QByteArray encrypted, decrypted;
    if (!CryptBuffer(plain, true, binding, &encrypted))
        return QStringLiteral("encrypting failed");
    if (encrypted.size() != plain.size())
        return QStringLiteral("the encrypted text is not as long as the plain text");
    if (!CryptBuffer(encrypted, false, binding, &decrypted) || decrypted != plain)
        return QStringLiteral("decrypting does not give the plain text back");
    return QString();
}

// ---------------------------------------------------------------------------

namespace {

struct NamedCheck {
    const char* name;
    FuzzCheck check;
};

const NamedCheck kChecks[] = {{"datafile", CheckDataFileText},
                              {"textfile", CheckTextFile},
                              {"profile", CheckProfile},
                              {"reply", CheckTransmitterReply},
                              {"pack", CheckPackInput}};

} // namespace

FuzzCheck FuzzCheckNamed(const QString& name) {
    for (const NamedCheck& c : kChecks) {
        if (name == QLatin1String(c.name))
            return c.check;
    }
    return nullptr;
}

QStringList FuzzCheckNames() {
    QStringList names;
    for (const NamedCheck& c : kChecks)
        names << QLatin1String(c.name);
    return names;
}
