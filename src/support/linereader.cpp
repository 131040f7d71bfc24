#include <limits>
#include <new>

#include "support/textfile.h"
#include "support/textfileimpl.h"

CFileLineReader::~CFileLineReader() {
    if (m_archive)
        m_archive->Release();
}

qint32 CFileLineReader::BuildIndex() {
    qint64 start = 0;
    if (m_archive->GetPosition(&start) < 0)
        return kErrSeekFailed;
    m_entries.clear();
    m_current = -1;
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
            const qint32 rc = m_archive->ReadChars(piece, kPiece, true, &n);
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
            m_entries.push_back(entry);
            if (m_archive->GetPosition(&lineStart) < 0)
                return kErrSeekFailed;
            if (atEnd)
                break;
            count = 0;
            lastWasCr = false;
        }
    } catch (const std::bad_alloc&) {
        m_entries.clear();
        return kErrOutOfMemory;
    }
    if (m_archive->GetPosition(&m_endPosition) < 0)
        return kErrSeekFailed;
    return m_archive->Seek(start, kSeekBegin);
}

qint32 CFileLineReader::MoveFirst() {
    return MoveTo(0);
}

qint32 CFileLineReader::MoveNext() {
    return MoveTo(m_current + 1);
}

qint32 CFileLineReader::MovePrevious() {
    if (m_current < 0)
        return kErrNoCurrentLine;
    return MoveTo(m_current - 1);
}

qint32 CFileLineReader::MoveLast() {
    return MoveTo(qint64(m_entries.size()) - 1);
}

qint32 CFileLineReader::MoveTo(qint64 index) {
    if (index < 0)
        return kErrInvalidArg;
    if (m_entries.empty())
        return kErrNoLines;
    if (index == m_current)
        return kTextOk;
    if (index >= qint64(m_entries.size()))
        return kErrEndOfData;
    const qint32 rc = m_archive->Seek(m_entries[size_t(index)].start, kSeekBegin);
    if (rc < 0)
        return rc;
    m_current = index;
    return kTextOk;
}

qint32 CFileLineReader::GetCurrentIndex(qint64* index) {
    if (!index)
        return kErrInvalidArg;
    if (m_entries.empty())
        return kErrNoLines;
    *index = m_current;
    return kTextOk;
}

qint32 CFileLineReader::GetLineText(QChar* buffer, qint32 count) {
    if (m_current < 0)
        return kErrNoCurrentLine;
    const LineEntry& entry = m_entries[size_t(m_current)];
    // The length must leave room for the terminating NUL in a 32-bit count.
    if (entry.length > std::numeric_limits<qint32>::max() - 1)
        return kErrLineTooLong;
    if (!buffer)
        return qint32(entry.length);
    if (count < 1)
        return kErrInvalidArg;
    // Reading a line twice must give it twice: go to its start, which costs
    // nothing when the file is there already.
    qint32 rc = m_archive->Seek(entry.start, kSeekBegin);
    if (rc < 0)
        return rc;
    const qint32 wanted = qint32(qMin<qint64>(count - 1, entry.length));
    qsizetype n = 0;
    rc = m_archive->ReadChars(buffer, wanted, false, &n);
    // Fewer characters than indexed: the file was cut since.
    if (rc >= 0 && n < wanted)
        rc = kErrEndOfData;
    buffer[n] = QChar(u'\0');
    if (rc < 0)
        return rc;
    const size_t next = size_t(m_current) + 1;
    rc = m_archive->Seek(next < m_entries.size() ? m_entries[next].start : m_endPosition,
                         kSeekBegin);
    return rc < 0 ? rc : qint32(n);
}

qint64 CFileLineReader::GetLineCount() {
    return qint64(m_entries.size());
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
