#pragma once

#include <QFile>

#include <deque>
#include <memory>

#include "support/fileencoders.h"
#include "support/textfile.h"

// The text file behind IFileArchive. Obtain one through OpenTextWriter or
// OpenTextReader; it is destroyed by its last Release.
class CFileArchiveImpl final : public CUnknownRefImpl, public IFileArchive {
public:
    enum Direction { kReading = 0, kWriting = 1 };

    CFileArchiveImpl() = default;
    // Opens the file and chooses its encoding (0: from its mark). A failed
    // opening leaves no file open.
    qint32 Open(const QString& path, Direction direction, int encoding);

    qint32 Seek(qint64 offset, int origin) override;
    qint32 GetPosition(qint64* position) override;
    qint32 ReadWideChar(QChar* ch) override;
    qint32 ReadText(QChar* buffer, qint32* count) override;
    qint32 WriteText(QStringView text) override;
    qint32 FlushAndCut() override;

    // Reads characters as ReadWideChar does one by one, but decodes all that
    // the buffer holds in one go: up to `capacity` of them and, with
    // untilLineFeed, up to and including the first line feed. Fewer than
    // asked for (and no line feed) means the end of the data was reached;
    // none at all there is kErrEndOfData. *count receives the number read.
    qint32 ReadChars(QChar* out, qsizetype capacity, bool untilLineFeed, qsizetype* count);

    int encoding() const { return encoding_; }

private:
    ~CFileArchiveImpl() override;
    qint32 chooseEncoding(int requested);
    void close();
    qint32 remember(qint32 result) { return lastResult_ = result; }

    std::unique_ptr<QFile> file_;
    std::unique_ptr<CFileReadWriter> readWriter_;
    int encoding_ = 0;
    int direction_ = kReading;
    bool endOfData_ = false;
    qint32 lastResult_ = kTextOk;
    qint64 dataStart_ = 0; // just after the byte-order mark
};

// Opens a CFileArchiveImpl as OpenTextWriter and OpenTextReader do.
qint32 OpenFileArchive(const QString& path, CFileArchiveImpl::Direction direction, int encoding,
                       CFileArchiveImpl** archive);

// Indexes every line of a text file once; afterwards a line is reached by
// one seek to its start.
class CFileLineReader final : public CUnknownRefImpl, public ILineReader {
public:
    // Takes over one reference to the archive.
    explicit CFileLineReader(CFileArchiveImpl* archive) : archive_(archive) {}
    qint32 BuildIndex();

    qint32 MoveFirst() override;
    qint32 MoveNext() override;
    qint32 MovePrevious() override;
    qint32 MoveLast() override;
    qint32 MoveTo(qint64 index) override;
    qint32 GetCurrentIndex(qint64* index) override;
    using ILineReader::GetLineText;
    qint32 GetLineText(QChar* buffer, qint32 count) override;
    qint64 GetLineCount() override;

    const std::deque<LineEntry>& entries() const { return entries_; }

private:
    ~CFileLineReader() override;

    CFileArchiveImpl* archive_;
    // Grows block by block and never moves the entries it holds, so that the
    // index of a large file is not copied again each time it outgrows itself.
    std::deque<LineEntry> entries_;
    qint64 current_ = -1;
    qint64 endPosition_ = 0; // the end of the last line
};
