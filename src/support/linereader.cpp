#include <limits>
#include <new>

#include "support/textfile.h"
#include "support/textfileimpl.h"

CFileLineReader::~CFileLineReader() {
    if (archive_)
        archive_->Release();
}

qint32 CFileLineReader::BuildIndex() {
    qint64 start = 0;
    if (archive_->GetPosition(&start) < 0)
        return kErrSeekFailed;
    entries_.clear();
    current_ = -1;
    try {
        // A line is read in pieces of this many characters, each ending at
        // the line feed or before it; only the count and the last character
        // of each piece matter.
        constexpr qsizetype kPiece = 2048;
        QChar piece[kPiece];
        qint64 lineStart = start;
        qint64 count = 0; // characters read on this line, line feed excluded
        bool lastWasCr = false;
        for (;;) {
            qsizetype n = 0;
            const qint32 rc = archive_->ReadChars(piece, kPiece, true, &n);
            if (rc < 0 && rc != kErrEndOfData)
                return rc;
            const bool lineFeed = n > 0 && piece[n - 1] == u'\n';
            const qsizetype text = lineFeed ? n - 1 : n;
            if (text > 0) {
                count += text;
                lastWasCr = piece[text - 1] == u'\r';
            }
            const bool atEnd = !lineFeed && n < kPiece;
            if (!lineFeed && !atEnd)
                continue;
            // A carriage return counts as part of the terminator only right
            // before the line feed or the end of the file.
            LineEntry entry;
            entry.start = lineStart;
            entry.length = count - (lastWasCr ? 1 : 0);
            entry.flags =
                quint8((lastWasCr ? kLineEndsWithCr : 0) | (lineFeed ? kLineEndsWithLf : 0));
            entries_.push_back(entry);
            if (archive_->GetPosition(&lineStart) < 0)
                return kErrSeekFailed;
            if (atEnd)
                break;
            count = 0;
            lastWasCr = false;
        }
    } catch (const std::bad_alloc&) {
        entries_.clear();
        return kErrOutOfMemory;
    }
    if (archive_->GetPosition(&endPosition_) < 0)
        return kErrSeekFailed;
    return archive_->Seek(start, kSeekBegin);
}

qint32 CFileLineReader::MoveFirst() {
    return MoveTo(0);
}

qint32 CFileLineReader::MoveNext() {
    return MoveTo(current_ + 1);
}

qint32 CFileLineReader::MovePrevious() {
    if (current_ < 0)
        return kErrNoCurrentLine;
    return MoveTo(current_ - 1);
}

qint32 CFileLineReader::MoveLast() {
    return MoveTo(qint64(entries_.size()) - 1);
}

qint32 CFileLineReader::MoveTo(qint64 index) {
    if (index < 0)
        return kErrInvalidArg;
    if (entries_.empty())
        return kErrNoLines;
    if (index == current_)
        return kTextOk;
    if (index >= qint64(entries_.size()))
        return kErrEndOfData;
    const qint32 rc = archive_->Seek(entries_[size_t(index)].start, kSeekBegin);
    if (rc < 0)
        return rc;
    current_ = index;
    return kTextOk;
}

qint32 CFileLineReader::GetCurrentIndex(qint64* index) {
    if (!index)
        return kErrInvalidArg;
    if (entries_.empty())
        return kErrNoLines;
    *index = current_;
    return kTextOk;
}

qint32 CFileLineReader::GetLineText(QChar* buffer, qint32 count) {
    if (current_ < 0)
        return kErrNoCurrentLine;
    const LineEntry& entry = entries_[size_t(current_)];
    // The length must leave room for the terminating NUL in a 32-bit count.
    if (entry.length > std::numeric_limits<qint32>::max() - 1)
        return kErrLineTooLong;
    if (!buffer)
        return qint32(entry.length);
    if (count < 1)
        return kErrInvalidArg;
    // Reading a line twice must give it twice: go to its start, which costs
    // nothing when the file is there already.
    qint32 rc = archive_->Seek(entry.start, kSeekBegin);
    if (rc < 0)
        return rc;
    const qint32 wanted = qint32(qMin<qint64>(count - 1, entry.length));
    qsizetype n = 0;
    rc = archive_->ReadChars(buffer, wanted, false, &n);
    // Fewer characters than indexed: the file was cut since.
    if (rc >= 0 && n < wanted)
        rc = kErrEndOfData;
    buffer[n] = QChar(u'\0');
    if (rc < 0)
        return rc;
    const size_t next = size_t(current_) + 1;
    rc = archive_->Seek(next < entries_.size() ? entries_[next].start : endPosition_, kSeekBegin);
    return rc < 0 ? rc : qint32(n);
}

qint64 CFileLineReader::GetLineCount() {
    return qint64(entries_.size());
}

qint32 ILineReader::GetLineText(QString* text) {
    if (!text)
        return kErrInvalidArg;
    const qint32 length = GetLineText(nullptr, 0);
    if (length < 0)
        return length;
    try {
        text->resize(qsizetype(length) + 1);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
    const qint32 n = GetLineText(text->data(), length + 1);
    if (n < 0) {
        text->clear();
        return n;
    }
    text->truncate(n);
    return kTextOk;
}

qint32 OpenLineReader(const QString& path, ILineReader** reader) {
    if (!reader)
        return kErrInvalidArg;
    *reader = nullptr;
    if (path.isEmpty())
        return kErrInvalidArg;
    CFileArchiveImpl* archive = nullptr;
    qint32 rc = OpenFileArchive(path, CFileArchiveImpl::kReading, kEncodingAuto, &archive);
    if (rc < 0)
        return rc;
    auto* lines = new (std::nothrow) CFileLineReader(archive);
    if (!lines) {
        archive->Release();
        return kErrOutOfMemory;
    }
    rc = lines->BuildIndex();
    if (rc < 0) {
        lines->Release();
        return rc;
    }
    *reader = lines;
    return kTextOk;
}
