#include "support/cryptfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QSaveFile>

#include <cerrno>
#include <limits>

#include "support/apppaths.h"
#include "support/diagnostics.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Data files always use the cipher library's row 1.
constexpr int kDataFileAlgorithm = 1;
constexpr int kEncryptMode = 1;
constexpr int kDecryptMode = 2;

#ifdef Q_OS_UNIX
// After a rename the folder entry itself must reach the disk, or a power cut
// may bring back the old name.
void syncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
#endif

} // namespace

QString CryptLibraryFileName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("Kryptane.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libKryptane.dylib");
#else
    return QStringLiteral("libKryptane.so");
#endif
}

CryptLibraryBinding::CryptLibraryBinding() = default;

CryptLibraryBinding::CryptLibraryBinding(const QByteArray& key) : key_(key) {}

CryptLibraryBinding::~CryptLibraryBinding() {
    release();
}

bool CryptLibraryBinding::bind() {
    if (isBound())
        return true;
    release();
    auto library =
        std::make_unique<QLibrary>(GetAppFolder() + QLatin1Char('/') + CryptLibraryFileName());
    if (!library->load()) {
        qCWarning(lcSupport).noquote() << "cipher library not loaded:" << library->errorString();
        return false;
    }
    auto entry = reinterpret_cast<EncryptString2Function>(library->resolve("encrypt_string2"));
    if (!entry) {
        qCWarning(lcSupport).noquote()
            << "cipher library lacks its entry:" << library->errorString();
        library->unload();
        return false;
    }
    library_ = std::move(library);
    encryptString2_ = entry;
    return true;
}

void CryptLibraryBinding::release() {
    encryptString2_ = nullptr;
    if (library_) {
        library_->unload();
        library_.reset();
    }
}

bool ReadWholeFile(const QString& path, QByteArray* data) {
    if (path.isEmpty() || !data) {
        errno = EINVAL;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size < 0 || size >= (qint64(1) << 32))
        return false;
    QByteArray bytes;
    bytes.resize(qsizetype(size));
    if (file.read(bytes.data(), size) != size)
        return false;
    *data = bytes;
    return true;
}

bool WriteWholeFile(const QString& path, const QByteArray& data, WriteMode mode) {
    if (path.isEmpty()) {
        errno = EINVAL;
        return false;
    }
    if (mode == WriteMode::Scratch) {
        // In place: a content that is thrown away once it has been read
        // gains nothing from a new file or from waiting for the disk. A file
        // that cannot be opened (say, one that another user left behind) may
        // still be replaced as a whole below.
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return data.isEmpty() || file.write(data) == data.size();
    }
    QSaveFile file(path);
    // Writing in place would bring back the cut file this routine avoids.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a short write (a full disk) shows in the count
    // here; a buffered write may lose the rest unnoticed when it is flushed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (!data.isEmpty() && file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
#ifdef Q_OS_UNIX
    // commit() syncs as well but ignores a failure; the new bytes must be on
    // the disk before they replace the old ones.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
#endif
    if (!file.commit())
        return false;
#ifdef Q_OS_UNIX
    syncFolderOf(path);
#endif
    return true;
}

bool CryptFile(const QString& source, bool encrypt, CryptLibraryBinding& binding,
               const QString& destination, WriteMode mode) {
    if (source.isEmpty() || destination.isEmpty()) {
        errno = EINVAL;
        return false;
    }
    if (!binding.bind())
        return false;

    QByteArray input;
    if (!ReadWholeFile(source, &input))
        return false;
    if (input.isEmpty()) {
        WriteWholeFile(destination, QByteArray(), mode);
        return false;
    }
    QByteArray output;
    return CryptBuffer(input, encrypt, binding, &output) &&
           WriteWholeFile(destination, output, mode);
}

bool CryptBuffer(const QByteArray& input, bool encrypt, CryptLibraryBinding& binding,
                 QByteArray* output) {
    // The library counts in int.
    constexpr qint64 kMaxLength = std::numeric_limits<int>::max();
    if (input.isEmpty() || input.size() > kMaxLength || !binding.bind())
        return false;
    // Twice the input leaves room for any padding the cipher could add. The
    // room is not cleared first: only what the cipher writes is kept.
    const int capacity = int(qMin(kMaxLength, qint64(input.size()) * 2));
    QByteArray bytes(capacity, Qt::Uninitialized);
    const int written = binding.encryptString2()(
        encrypt ? kEncryptMode : kDecryptMode, kDataFileAlgorithm, binding.key().constData(),
        reinterpret_cast<const unsigned char*>(input.constData()), int(input.size()),
        reinterpret_cast<unsigned char*>(bytes.data()), capacity);
    if (written <= 0)
        return false;
    bytes.truncate(written);
    *output = bytes;
    return true;
}
