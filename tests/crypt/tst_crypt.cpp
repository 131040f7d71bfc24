#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <climits>
#include <thread>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

#include "support/apppaths.h"
#include "support/cryptfile.h"

namespace {

// The library's exports, resolved by name from the built library.
struct Exports {
    int (*count)();
    int (*index)(const char*);
    const char* (*name)(int);
    int (*blockSize)(int);
    int (*keySize)(int);
    int (*sizeAfter)(int, int);
    int (*byName)(int, const char*, const char*, const unsigned char*, int, unsigned char*, int);
    int (*byIndex)(int, int, const char*, const unsigned char*, int, unsigned char*, int);
    int (*md5)(const unsigned char*, int, char*, int);
};

Exports api;

const char* const kDataKey = "QUARTEL_7KM_402519";

QString builtLibraryPath() {
    return QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName();
}

const unsigned char* bytes(const QByteArray& a) {
    return reinterpret_cast<const unsigned char*>(a.constData());
}

unsigned char* bytes(QByteArray& a) {
    return reinterpret_cast<unsigned char*>(a.data());
}

// Runs the buffer routine with an output of exactly `capacity` bytes and
// returns the bytes it reported.
QByteArray crypt(int mode, int index, const QByteArray& key, const QByteArray& input,
                 int capacity = -1) {
    if (capacity < 0)
        capacity = api.sizeAfter(index, int(input.size()));
    QByteArray out(capacity, '\0');
    const int n = api.byIndex(mode, index, key.constData(), bytes(input), int(input.size()),
                              bytes(out), capacity);
    return n > 0 ? out.left(n) : QByteArray();
}

QByteArray pattern(int length, int factor, int offset) {
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char((i * factor + offset) & 0xFF);
    return data;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCrypt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void referenceVectors_data();
    void referenceVectors();
    void table();
    void nameLookup_data();
    void nameLookup();
    void sizeAfterEncrypt_data();
    void sizeAfterEncrypt();
    void refusals_data();
    void refusals();
    void blockPaddingRoundTrip();
    void streamRoundTrip_data();
    void streamRoundTrip();
    void keyPreparation_data();
    void keyPreparation();
    void md5Digest_data();
    void md5Digest();
    void md5Capacity();
    void concurrentCalls();

    void cryptFileRoundTrip();
    void cryptFileEmptySource();
    void cryptFileWithoutUsableLibrary_data();
    void cryptFileWithoutUsableLibrary();
    void cryptFileBadArguments();
    void failedWriteKeepsOldFile();
    void writeInLockedFolderFails();
    void writeWholeFileReplaces();

private:
    // A temporary program folder holding a copy of the built library.
    bool makeProgramFolder(QTemporaryDir& dir);

    QLibrary library_;
};

void TestCrypt::initTestCase() {
    library_.setFileName(builtLibraryPath());
    QVERIFY2(library_.load(), qPrintable(library_.errorString()));
    auto bind = [this](auto& slot, const char* symbol) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(library_.resolve(symbol));
        return slot != nullptr;
    };
    QVERIFY(bind(api.count, "get_algorithm_count"));
    QVERIFY(bind(api.index, "get_algorithm_index"));
    QVERIFY(bind(api.name, "get_algorithm_name"));
    QVERIFY(bind(api.blockSize, "get_encrypt_block_size"));
    QVERIFY(bind(api.keySize, "get_encrypt_key_size"));
    QVERIFY(bind(api.sizeAfter, "calc_size_after_encrypt"));
    QVERIFY(bind(api.byName, "encrypt_string"));
    QVERIFY(bind(api.byIndex, "encrypt_string2"));
    QVERIFY(bind(api.md5, "md5_encrypt"));
}

void TestCrypt::cleanup() {
    SetAppFolderForTests(QString());
}

// Known answers of every row: encryption gives the recorded bytes, and
// decryption gives back the plaintext with its zero padding.
void TestCrypt::referenceVectors_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    QFile file(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/crypt/vectors.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    file.readLine(); // header
    QMap<int, int> perRow;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().chopped(1);
        const QList<QByteArray> f = line.split('\t');
        QCOMPARE(f.size(), 5);
        const int index = f[0].toInt();
        const int n = ++perRow[index];
        QTest::addRow("%d %s #%d", index, f[1].constData(), n)
            << index << f[2] << QByteArray::fromHex(f[3]) << QByteArray::fromHex(f[4]);
    }
    QCOMPARE(perRow.size(), 22);
    for (auto it = perRow.cbegin(); it != perRow.cend(); ++it)
        QVERIFY(it.value() >= 9);
}

void TestCrypt::referenceVectors() {
    QFETCH(int, index);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);

    // Spare room behind the output must stay untouched.
    const QByteArray plainCopy = plain;
    QByteArray out(int(cipher.size()) + 8, char(0xA5));
    const int n = api.byIndex(1, index, key.constData(), bytes(plain), int(plain.size()),
                              bytes(out), int(out.size()));
    QCOMPARE(n, int(cipher.size()));
    QCOMPARE(out.left(n).toHex(), cipher.toHex());
    QCOMPARE(out.mid(n), QByteArray(8, char(0xA5)));
    QCOMPARE(plain, plainCopy);

    QByteArray padded = plain;
    padded.append(QByteArray(cipher.size() - plain.size(), '\0'));
    QCOMPARE(crypt(2, index, key, cipher).toHex(), padded.toHex());
}

void TestCrypt::table() {
    struct Row {
        const char* name;
        int keySize;
        int blockSize;
    };
    const Row rows[] = {{"xTEA", 16, 8},          {"WAKE", 32, 1},
                        {"Twofish", 32, 16},      {"3DES", 24, 8},
                        {"Serpent", 32, 16},      {"SAFER-SK64", 8, 8},
                        {"SAFER-SK128", 16, 8},   {"Rijndael-256", 32, 32},
                        {"Rijndael-192", 32, 24}, {"Rijndael-128", 32, 16},
                        {"RC2", 128, 8},          {"PANAMA", 32, 1},
                        {"LOKI97", 32, 16},       {"GOST", 32, 8},
                        {"enigma", 13, 1},        {"DES", 8, 8},
                        {"CAST-256", 32, 16},     {"CAST-128", 16, 8},
                        {"Blowfish", 56, 8},      {"Blowfish_Compat", 56, 8},
                        {"RC4", 256, 1},          {"3-WAY", 12, 12}};
    QCOMPARE(api.count(), 22);
    for (int i = 0; i < 22; ++i) {
        QCOMPARE(api.name(i), rows[i].name);
        QCOMPARE(api.keySize(i), rows[i].keySize);
        QCOMPARE(api.blockSize(i), rows[i].blockSize);
    }
    for (int outside : {-1, 22, INT_MIN, INT_MAX}) {
        QVERIFY(api.name(outside) == nullptr);
        QCOMPARE(api.keySize(outside), 0);
        QCOMPARE(api.blockSize(outside), 0);
    }
}

void TestCrypt::nameLookup_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("null");
    QTest::addColumn<int>("index");
    QTest::newRow("lower case") << QByteArray("wake") << false << 1;
    QTest::newRow("DES is not 3DES") << QByteArray("DES") << false << 15;
    QTest::newRow("blowfish finds the later row") << QByteArray("blowfish") << false << 19;
    QTest::newRow("one letter") << QByteArray("r") << false << 20;
    QTest::newRow("rijndael") << QByteArray("rijndael") << false << 9;
    QTest::newRow("digit prefix") << QByteArray("3") << false << 21;
    QTest::newRow("3DES") << QByteArray("3des") << false << 3;
    QTest::newRow("whole name mixed case") << QByteArray("safer-SK128") << false << 6;
    QTest::newRow("longer than every name") << QByteArray("WAKE2") << false << -1;
    QTest::newRow("begins no name") << QByteArray("AES") << false << -1;
    QTest::newRow("non-ASCII byte") << QByteArray("\xc3\xa9") << false << -1;
    QTest::newRow("empty") << QByteArray("") << false << -1;
    QTest::newRow("null") << QByteArray() << true << -1;
}

void TestCrypt::nameLookup() {
    QFETCH(QByteArray, name);
    QFETCH(bool, null);
    QFETCH(int, index);
    QCOMPARE(api.index(null ? nullptr : name.constData()), index);

    // The by-name routine uses the same lookup.
    const QByteArray input("lookup");
    QByteArray viaName(64, '\0');
    const int n = api.byName(1, null ? nullptr : name.constData(), "k", bytes(input),
                             int(input.size()), bytes(viaName), int(viaName.size()));
    if (index < 0) {
        QCOMPARE(n, 0);
    } else {
        QCOMPARE(viaName.left(n), crypt(1, index, "k", input));
    }
}

void TestCrypt::sizeAfterEncrypt_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("result");
    QTest::newRow("rounds up") << 9 << 17 << 32;
    QTest::newRow("whole blocks stay") << 9 << 32 << 32;
    QTest::newRow("zero stays") << 15 << 0 << 0;
    QTest::newRow("twelve-byte blocks") << 21 << 13 << 24;
    QTest::newRow("stream") << 1 << 17 << 17;
    QTest::newRow("stream at the limit") << 20 << INT_MAX << INT_MAX;
    QTest::newRow("padding past the limit") << 7 << INT_MAX - 3 << 0;
    QTest::newRow("negative size") << 9 << -1 << 0;
    QTest::newRow("index past the end") << 22 << 5 << 0;
    QTest::newRow("negative index") << -1 << 5 << 0;
}

void TestCrypt::sizeAfterEncrypt() {
    QFETCH(int, index);
    QFETCH(int, size);
    QFETCH(int, result);
    QCOMPARE(api.sizeAfter(index, size), result);
}

// Refused calls give their result and leave the output as it was.
void TestCrypt::refusals_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("nullKey");
    QTest::addColumn<bool>("nullInput");
    QTest::addColumn<bool>("nullOutput");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("result");
    QTest::newRow("empty input") << 1 << false << false << false << 0 << 64 << -1;
    QTest::newRow("negative length") << 1 << false << false << false << -4 << 64 << -1;
    QTest::newRow("null key") << 1 << true << false << false << 8 << 64 << -1;
    QTest::newRow("null input") << 1 << false << true << false << 8 << 64 << -1;
    QTest::newRow("null output") << 1 << false << false << true << 8 << 64 << -1;
    QTest::newRow("null key before bad index") << 22 << true << false << false << 8 << 64 << -1;
    QTest::newRow("index past the end") << 22 << false << false << false << 8 << 64 << 0;
    QTest::newRow("negative index") << -1 << false << false << false << 8 << 64 << 0;
    QTest::newRow("block output one short") << 15 << false << false << false << 3 << 7 << 0;
    QTest::newRow("stream output one short") << 1 << false << false << false << 9 << 8 << 0;
    QTest::newRow("negative capacity") << 1 << false << false << false << 9 << -1 << 0;
}

void TestCrypt::refusals() {
    QFETCH(int, index);
    QFETCH(bool, nullKey);
    QFETCH(bool, nullInput);
    QFETCH(bool, nullOutput);
    QFETCH(int, length);
    QFETCH(int, capacity);
    QFETCH(int, result);
    const QByteArray input(16, 'x');
    QByteArray out(64, char(0x5A));
    const int n =
        api.byIndex(1, index, nullKey ? nullptr : "key", nullInput ? nullptr : bytes(input), length,
                    nullOutput ? nullptr : bytes(out), capacity);
    QCOMPARE(n, result);
    QCOMPARE(out, QByteArray(64, char(0x5A)));
}

// A short input to a block cipher comes back padded with zeros, and the
// output needs room for the whole block.
void TestCrypt::blockPaddingRoundTrip() {
    const QByteArray input("abc");
    const QByteArray encrypted = crypt(1, 15, "key", input, 8);
    QCOMPARE(encrypted.size(), 8);
    QCOMPARE(crypt(2, 15, "key", encrypted, 8), QByteArray("abc\0\0\0\0\0", 8));
}

void TestCrypt::streamRoundTrip_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("length");
    for (int index : {1, 11, 14, 20}) {
        for (int length : {1, 31, 33, 70001}) {
            QTest::addRow("%s %d", api.name(index), length) << index << length;
        }
    }
}

// Stream rows: same length out, the same bytes for the same input every
// time (the keystream starts afresh in every call), and any mode other than
// 1 decrypts.
void TestCrypt::streamRoundTrip() {
    QFETCH(int, index);
    QFETCH(int, length);
    QByteArray plain(length, '\0');
    QRandomGenerator rng(quint32(index * 1000 + length));
    for (char& c : plain)
        c = char(rng.bounded(256));

    const QByteArray once = crypt(1, index, kDataKey, plain, length);
    QCOMPARE(once.size(), length);
    QCOMPARE(crypt(1, index, kDataKey, plain, length), once);
    if (length > 16)
        QVERIFY(once != plain);
    for (int mode : {2, 0, -7})
        QCOMPARE(crypt(mode, index, kDataKey, once, length), plain);
}

// The key is cut or zero-filled to the row's key size, so bytes after the
// key size or after a NUL change nothing, while bytes within it do.
void TestCrypt::keyPreparation_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("effectiveSize");
    for (int index = 0; index < 22; ++index) {
        // WAKE is keyed with 32 bytes but its key schedule reads 16 of them.
        QTest::addRow("%s", api.name(index)) << index << (index == 1 ? 16 : api.keySize(index));
    }
}

void TestCrypt::keyPreparation() {
    QFETCH(int, index);
    QFETCH(int, effectiveSize);
    const int keySize = api.keySize(index);
    // Long enough for a stream cipher's output to depend on its whole state.
    const QByteArray input = pattern(1024, 37, 11);
    const QByteArray full = pattern(keySize, 7, 'A').replace('\0', 'z');

    const QByteArray reference = crypt(1, index, full, input);
    QVERIFY(!reference.isEmpty());
    QCOMPARE(crypt(1, index, full + "extra bytes", input), reference);

    // Both ends of the key reach the cipher (0x81 also changes DES keys,
    // which ignore the lowest bit of each byte).
    for (int position : {0, effectiveSize - 1}) {
        QByteArray changed = full;
        changed[position] = char(changed[position] ^ 0x81);
        QVERIFY2(crypt(1, index, changed, input) != reference,
                 qPrintable(QString::number(position)));
    }

    // A short key equals the same key with anything after a NUL.
    const QByteArray shortKey("secret");
    QByteArray withNul = shortKey;
    withNul.append('\0').append("ignored");
    QCOMPARE(crypt(1, index, withNul, input), crypt(1, index, shortKey, input));
}

void TestCrypt::md5Digest_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("message digest")
        << QByteArray("message digest") << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
    QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                              << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
    QTest::newRow("letters and digits")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
        << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
    QTest::newRow("eighty digits")
        << QByteArray("1234567890").repeated(8) << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
    // Lengths around the padding boundaries of the 64-byte blocks.
    for (int length : {55, 56, 63, 64, 65, 119, 120, 1000}) {
        const QByteArray data = pattern(length, 13, 7);
        QTest::addRow("%d bytes", length)
            << data << QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
    }
}

void TestCrypt::md5Digest() {
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, digest);
    QByteArray out(40, 'X');
    QCOMPARE(api.md5(bytes(data), int(data.size()), out.data(), int(out.size())), 32);
    QCOMPARE(out.left(32), digest);
    QCOMPARE(out.at(32), '\0');
}

void TestCrypt::md5Capacity() {
    const QByteArray data("abc");
    QByteArray out(40, 'X');
    QCOMPARE(api.md5(bytes(data), 3, out.data(), 31), 0);
    QCOMPARE(out, QByteArray(40, 'X'));

    QCOMPARE(api.md5(bytes(data), 3, out.data(), 32), 32);
    QCOMPARE(out.left(32), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    QCOMPARE(out.mid(32), QByteArray(8, 'X')); // no terminator without room for it

    QCOMPARE(api.md5(bytes(data), 3, out.data(), 33), 32);
    QCOMPARE(out.at(32), '\0');

    // A length of zero or less digests the empty message.
    QCOMPARE(api.md5(bytes(data), -5, out.data(), 33), 32);
    QCOMPARE(out.left(32), QByteArray("d41d8cd98f00b204e9800998ecf8427e"));
    QCOMPARE(api.md5(nullptr, 10, out.data(), 33), 32);
    QCOMPARE(out.left(32), QByteArray("d41d8cd98f00b204e9800998ecf8427e"));
    QCOMPARE(api.md5(bytes(data), 3, nullptr, 33), 0);
}

// Calls from several threads at once give the same bytes as calls one after
// the other.
void TestCrypt::concurrentCalls() {
    const QList<int> rows = {1, 5, 11, 15, 2, 21, 20, 14};
    const QByteArray input = pattern(4096, 13, 7);
    QMap<int, QByteArray> expected;
    for (int index : rows)
        expected[index] = crypt(1, index, kDataKey, input);

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                const int index = rows[(t + round) % rows.size()];
                if (crypt(1, index, kDataKey, input) != expected[index])
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(mismatches.load(), 0);
}

bool TestCrypt::makeProgramFolder(QTemporaryDir& dir) {
    if (!dir.isValid())
        return false;
    if (!QFile::copy(builtLibraryPath(), dir.filePath(CryptLibraryFileName())))
        return false;
    SetAppFolderForTests(dir.path());
    return true;
}

void TestCrypt::cryptFileRoundTrip() {
    QTemporaryDir dir;
    QVERIFY(makeProgramFolder(dir));
    const QString plainPath = dir.filePath("plain.txt");
    const QString dataPath = dir.filePath("data.sx");
    const QString backPath = dir.filePath("back.txt");
    // The first bytes of a known WAKE answer: a stream cipher's output
    // prefix depends only on the input prefix.
    const QByteArray plain = pattern(10, 37, 11);
    QVERIFY(writeFile(plainPath, plain));
    QVERIFY(writeFile(dataPath, QByteArray(100, 'o'))); // an older, longer file

    CryptLibraryBinding binding(kDataKey);
    QVERIFY(!binding.isBound());
    QVERIFY(CryptFile(plainPath, true, binding, dataPath));
    QVERIFY(binding.isBound());
    QCOMPARE(readFile(dataPath).toHex(), QByteArray("3f00674f35c7a9281dbb"));

    QVERIFY(CryptFile(dataPath, false, binding, backPath));
    QCOMPARE(readFile(backPath), plain);

    binding.release();
    QVERIFY(!binding.isBound());
    QVERIFY(binding.encryptString2() == nullptr);
}

void TestCrypt::cryptFileEmptySource() {
    QTemporaryDir dir;
    QVERIFY(makeProgramFolder(dir));
    const QString empty = dir.filePath("empty.txt");
    QVERIFY(writeFile(empty, QByteArray()));
    const QString existing = dir.filePath("existing.sx");
    QVERIFY(writeFile(existing, "old content"));
    const QString fresh = dir.filePath("fresh.sx");

    CryptLibraryBinding binding(kDataKey);
    QVERIFY(!CryptFile(empty, true, binding, existing));
    QVERIFY(QFileInfo::exists(existing));
    QCOMPARE(QFileInfo(existing).size(), 0);
    QVERIFY(!CryptFile(empty, false, binding, fresh));
    QVERIFY(QFileInfo::exists(fresh));
    QCOMPARE(QFileInfo(fresh).size(), 0);
}

void TestCrypt::cryptFileWithoutUsableLibrary_data() {
    QTest::addColumn<QString>("library");
    QTest::newRow("no library") << QString();
    QTest::newRow("library without the routine") << QStringLiteral(KRYPTANE_STUB_PATH);
    QTest::newRow("damaged library") << QStringLiteral(TOLVANE_SOURCE_DIR "/tests/crypt/README.md");
}

void TestCrypt::cryptFileWithoutUsableLibrary() {
    QFETCH(QString, library);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!library.isEmpty())
        QVERIFY(QFile::copy(library, dir.filePath(CryptLibraryFileName())));
    SetAppFolderForTests(dir.path());
    const QString source = dir.filePath("plain.txt");
    const QString destination = dir.filePath("data.sx");
    QVERIFY(writeFile(source, "some plain text"));
    QVERIFY(writeFile(destination, "old content"));

    CryptLibraryBinding binding(kDataKey);
    QVERIFY(!CryptFile(source, true, binding, destination));
    QVERIFY(!binding.isBound());
    QCOMPARE(readFile(destination), QByteArray("old content"));
}

void TestCrypt::cryptFileBadArguments() {
    QTemporaryDir dir;
    QVERIFY(makeProgramFolder(dir));
    const QString destination = dir.filePath("data.sx");
    QVERIFY(writeFile(destination, "old content"));
    CryptLibraryBinding binding(kDataKey);

    errno = 0;
    QVERIFY(!CryptFile(QString(), true, binding, destination));
    QCOMPARE(errno, EINVAL);
    errno = 0;
    QVERIFY(!CryptFile(destination, true, binding, QString()));
    QCOMPARE(errno, EINVAL);
    QVERIFY(!CryptFile(dir.filePath("missing.txt"), true, binding, destination));
    QCOMPARE(readFile(destination), QByteArray("old content"));

    QByteArray data;
    errno = 0;
    QVERIFY(!ReadWholeFile(destination, nullptr));
    QCOMPARE(errno, EINVAL);
    QVERIFY(!ReadWholeFile(dir.filePath("missing.txt"), &data));
    QVERIFY(!ReadWholeFile(dir.path(), &data)); // a folder is no file
}

// A write that fails part way, as on a full disk, must leave the old data
// file whole.
void TestCrypt::failedWriteKeepsOldFile() {
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    QVERIFY(makeProgramFolder(dir));
    const QString source = dir.filePath("plain.txt");
    const QString destination = dir.filePath("data.sx");
    QVERIFY(writeFile(source, pattern(5000, 3, 1)));
    QVERIFY(writeFile(destination, "old content"));
    CryptLibraryBinding binding(kDataKey);
    QVERIFY(binding.bind());

    // The process may not grow any file beyond 100 bytes, so the write of
    // the 5000 encrypted bytes stops short.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = CryptFile(source, true, binding, destination);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readFile(destination), QByteArray("old content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3); // no leftovers
#else
    QSKIP("needs a per-process file size limit");
#endif
}

void TestCrypt::writeInLockedFolderFails() {
    QTemporaryDir dir;
    QVERIFY(makeProgramFolder(dir));
    const QString source = dir.filePath("plain.txt");
    QVERIFY(writeFile(source, "new content"));
    const QString locked = dir.filePath("locked");
    QVERIFY(QDir().mkdir(locked));
    const QString destination = locked + "/data.sx";
    QVERIFY(writeFile(destination, "old content"));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));

    QFile probe(locked + "/probe");
    const bool canStillWrite = probe.open(QIODevice::WriteOnly);
    bool written = false;
    if (canStillWrite) {
        probe.remove();
    } else {
        CryptLibraryBinding binding(kDataKey);
        written = CryptFile(source, true, binding, destination);
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite)
        QSKIP("running with rights that ignore folder permissions");
    QVERIFY(!written);
    QCOMPARE(readFile(destination), QByteArray("old content"));
}

void TestCrypt::writeWholeFileReplaces() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("file.bin");
    QVERIFY(WriteWholeFile(path, QByteArray("first, longer content")));
    QVERIFY(WriteWholeFile(path, QByteArray("\0second", 7)));
    QCOMPARE(readFile(path), QByteArray("\0second", 7));
    QVERIFY(WriteWholeFile(path, QByteArray()));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file.bin"});

    QByteArray back;
    QVERIFY(WriteWholeFile(path, pattern(70000, 31, 3)));
    QVERIFY(ReadWholeFile(path, &back));
    QCOMPARE(back, pattern(70000, 31, 3));

    QVERIFY(!WriteWholeFile(dir.filePath("no/such/folder/file.bin"), "x"));
    QVERIFY(!WriteWholeFile(dir.path(), "x")); // a folder is no file
    QVERIFY(!WriteWholeFile(QString(), "x"));
}

QTEST_GUILESS_MAIN(TestCrypt)
#include "tst_crypt.moc"
