#include "support/textfile.h"

#include <algorithm>
#include <limits>
#include <new>

#include "support/textfileimpl.h"

quint32 CUnknownRefImpl::AddRef() {
    return ++refCount_;
}

quint32 CUnknownRefImpl::Release() {
    const quint32 count = --refCount_;
    if (count == 0)
        delete this;
    return count;
}

// ---------------------------------------------------------------------------

CFileArchiveImpl::~CFileArchiveImpl() {
    close();
}

qint32 CFileArchiveImpl::Open(const QString& path, Direction direction, int encoding) {
    if (path.isEmpty() || file_ || (encoding != kEncodingAuto && !GetEncoder(encoding)))
        return kErrInvalidArg;
    try {
        direction_ = direction;
        file_ = std::make_unique<QFile>(path);
        // Our own buffer is the only one between the encoder and the file.
        const QIODevice::OpenMode mode =
            (direction == kReading ? QIODevice::ReadOnly : QIODevice::ReadWrite) |
            QIODevice::Unbuffered;
        if (!file_->open(mode)) {
            file_.reset();
            return kErrOpenFailed;
        }
        readWriter_ = std::make_unique<CFileReadWriter>(
            file_.get(), CFileReadWriter::kDefaultCapacity,
            direction == kReading ? quint32(CFileReadWriter::kFlagReading) : 0u);
        const qint32 rc = chooseEncoding(encoding);
        if (rc < 0) {
            readWriter_.reset();
            file_.reset();
        }
        return rc;
    } catch (const std::bad_alloc&) {
        readWriter_.reset();
        file_.reset();
        return kErrOutOfMemory;
    }
}

qint32 CFileArchiveImpl::chooseEncoding(int requested) {
    const qint64 size = file_->size();
    if (size < 0)
        return kErrOpenFailed;
    int chosen = requested;
    qint64 start = 0;
    if (size > 0) {
        // The longest mark is three bytes; the file may be shorter.
        char head[3];
        if (!file_->seek(0))
            return kErrSeekFailed;
        const qint64 n = file_->read(head, sizeof head);
        if (n < 0 || !file_->seek(0))
            return kErrOpenFailed;
        const QByteArrayView headBytes(head, n);
        auto hasMark = [&headBytes](int encoding) {
            const QByteArrayView mark = GetEncoder(encoding)->GetPreamble();
            return !mark.isEmpty() && headBytes.startsWith(mark);
        };
        if (chosen == kEncodingAuto) {
            chosen = kEncodingAnsi;
            for (int candidate : {kEncodingUtf8, kEncodingUtf16Big, kEncodingUtf16}) {
                if (hasMark(candidate)) {
                    chosen = candidate;
                    break;
                }
            }
        }
        // A writer rewrites the content and keeps the mark.
        if (hasMark(chosen))
            start = GetEncoder(chosen)->GetPreamble().size();
        readWriter_->setEncoder(chosen, GetEncoder(chosen));
        const qint32 rc = readWriter_->SeekTo(start);
        if (rc < 0)
            return rc;
    } else {
        if (chosen == kEncodingAuto)
            chosen = kEncodingAnsi;
        const CCharEncoder* encoder = GetEncoder(chosen);
        readWriter_->setEncoder(chosen, encoder);
        if (direction_ == kWriting) {
            const QByteArrayView mark = encoder->GetPreamble();
            const qint32 rc = readWriter_->WriteBytes(mark.data(), mark.size());
            if (rc < 0)
                return rc;
            start = mark.size();
        }
    }
    encoding_ = chosen;
    dataStart_ = start;
    return kTextOk;
}

void CFileArchiveImpl::close() {
    if (!file_)
        return;
    if (direction_ == kWriting && readWriter_) {
        // Whatever came after the new text is old content: cut it, unless
        // the last operation failed and the text may be incomplete.
        if (readWriter_->Flush() >= 0 && lastResult_ >= 0)
            file_->resize(readWriter_->Position());
    }
    readWriter_.reset();
    file_->close();
    file_.reset();
}

qint32 CFileArchiveImpl::Seek(qint64 offset, int origin) {
    if (!readWriter_)
        return remember(kErrSeekFailed);
    const qint64 current = readWriter_->Position();
    qint64 base = 0;
    switch (origin) {
    case kSeekBegin:
        break;
    case kSeekCurrent:
        base = current;
        break;
    case kSeekEnd:
        base = readWriter_->Size();
        break;
    default:
        return remember(kErrInvalidArg);
    }
    if ((offset > 0 && base > std::numeric_limits<qint64>::max() - offset))
        return remember(kErrSeekFailed);
    qint64 target = base + offset;
    // The platform is asked for the size only when the target lies beyond
    // what is known to exist.
    if (target < 0 || (target > readWriter_->KnownEnd() && target > readWriter_->Size()))
        return remember(kErrSeekFailed);
    target = std::max(target, dataStart_);
    if (target != current) {
        const qint32 rc = readWriter_->SeekTo(target);
        if (rc < 0)
            return remember(rc);
    }
    endOfData_ = false;
    return remember(kTextOk);
}

qint32 CFileArchiveImpl::GetPosition(qint64* position) {
    if (!position)
        return kErrInvalidArg;
    if (!readWriter_)
        return kErrSeekFailed;
    *position = readWriter_->Position();
    return kTextOk;
}

qint32 CFileArchiveImpl::ReadWideChar(QChar* ch) {
    if (!ch)
        return remember(kErrInvalidArg);
    if (direction_ != kReading)
        return remember(kErrReadOnWriter);
    if (endOfData_)
        return remember(kErrEndOfData);
    const qint32 rc = readWriter_->encoder()->ReadChar(*readWriter_, ch);
    if (rc == kErrEndOfData)
        endOfData_ = true;
    return remember(rc);
}

qint32 CFileArchiveImpl::ReadText(QChar* buffer, qint32* count) {
    if (!buffer || !count || *count < 1)
        return remember(kErrInvalidArg);
    if (direction_ != kReading)
        return remember(kErrReadOnWriter);
    qsizetype n = 0;
    const qint32 rc = ReadChars(buffer, *count - 1, false, &n);
    buffer[n] = QChar(u'\0');
    *count = qint32(n);
    return rc;
}

qint32 CFileArchiveImpl::ReadChars(QChar* out, qsizetype capacity, bool untilLineFeed,
                                   qsizetype* count) {
    *count = 0;
    if (direction_ != kReading)
        return remember(kErrReadOnWriter);
    const CCharEncoder* encoder = readWriter_->encoder();
    qsizetype n = 0;
    // Whether the buffer holds the rest of the file; known after a refill.
    bool atEnd = false;
    while (n < capacity && !endOfData_) {
        DecodeProgress progress;
        const qint32 rc = encoder->DecodeChars(*readWriter_, readWriter_->Buffered(), atEnd,
                                               out + n, capacity - n, untilLineFeed, &progress);
        readWriter_->Consume(progress.used);
        n += progress.produced;
        *count = n;
        if (rc < 0) {
            // As a single read, give up only the first byte of the bad character.
            readWriter_->Consume(1);
            return remember(rc);
        }
        if (progress.produced > 0) {
            if (untilLineFeed && out[n - 1] == u'\n')
                break;
            continue;
        }
        // Nothing decoded: the buffer is empty or holds the start of a
        // character that the next bytes complete.
        if (atEnd) {
            endOfData_ = true;
            break;
        }
        const uchar* bytes = nullptr;
        qsizetype available = 0;
        const qint32 refilled = readWriter_->Peek(readWriter_->capacity(), &bytes, &available);
        if (refilled < 0)
            return remember(refilled);
        atEnd = available < readWriter_->capacity();
    }
    return remember(n == 0 && capacity > 0 ? kErrEndOfData : kTextOk);
}

qint32 CFileArchiveImpl::WriteText(QStringView text) {
    if (direction_ != kWriting)
        return remember(kErrWriteOnReader);
    if (text.isEmpty())
        return remember(kTextOk);
    return remember(readWriter_->encoder()->WriteString(*readWriter_, text));
}

qint32 CFileArchiveImpl::FlushAndCut() {
    if (direction_ != kWriting)
        return remember(kErrWriteOnReader);
    const qint32 rc = readWriter_->Flush();
    if (rc < 0)
        return remember(rc);
    if (!file_->resize(readWriter_->Position()))
        return remember(kErrWriteFailed);
    return remember(kTextOk);
}

// ---------------------------------------------------------------------------

qint32 OpenFileArchive(const QString& path, CFileArchiveImpl::Direction direction, int encoding,
                       CFileArchiveImpl** archive) {
    if (!archive)
        return kErrInvalidArg;
    *archive = nullptr;
    auto* impl = new (std::nothrow) CFileArchiveImpl;
    if (!impl)
        return kErrOutOfMemory;
    const qint32 rc = impl->Open(path, direction, encoding);
    if (rc < 0) {
        impl->Release();
        return rc;
    }
    *archive = impl;
    return kTextOk;
}

namespace {

qint32 openInterface(const QString& path, CFileArchiveImpl::Direction direction, int encoding,
                     IFileArchive** archive) {
    if (!archive)
        return kErrInvalidArg;
    CFileArchiveImpl* impl = nullptr;
    const qint32 rc = OpenFileArchive(path, direction, encoding, &impl);
    *archive = impl;
    return rc;
}

} // namespace

qint32 OpenTextWriter(const QString& path, IFileArchive** archive, int encoding) {
    return openInterface(path, CFileArchiveImpl::kWriting, encoding, archive);
}

qint32 OpenTextReader(const QString& path, IFileArchive** archive, int encoding) {
    return openInterface(path, CFileArchiveImpl::kReading, encoding, archive);
}
