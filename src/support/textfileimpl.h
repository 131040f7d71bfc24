#pragma once

#include <QFile>

#include <memory>
#include <vector>

#include "fileencoders.h"
#include "textfile.h"

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

    int encoding() const { return m_encoding; }

private:
    ~CFileArchiveImpl() override;
    qint32 chooseEncoding(int requested);
    void close();
    qint32 remember(qint32 result) { return m_lastResult = result; }

    std::unique_ptr<QFile> m_file;
    std::unique_ptr<CFileReadWriter> m_readWriter;
    int m_encoding = 0;
    int m_direction = kReading;
    bool m_endOfData = false;
    qint32 m_lastResult = kTextOk;
    qint64 m_dataStart = 0; // just after the byte-order mark
};

// Indexes every line of a text file once; afterwards a line is reached by
// one seek to its start.
class CFileLineReader final : public CUnknownRefImpl, public ILineReader {
public:
    // Takes over one reference to the archive.
    explicit CFileLineReader(IFileArchive* archive) : m_archive(archive) {}
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

    const std::vector<LineEntry>& entries() const { return m_entries; }

private:
    ~CFileLineReader() override;

    IFileArchive* m_archive;
    std::vector<LineEntry> m_entries;
    qint64 m_current = -1;
    qint64 m_endPosition = 0; // the end of the last line
};
