#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <utility>

// Text files in four encodings, chosen by the file's byte-order mark, and a
// line reader that indexes a text file once and then hands out lines by
// number. The file objects are reference counted: an opening hands out one
// reference, and the last Release closes the file.

// Result codes: 0 is success, every failure is negative.
constexpr qint32 kTextOk = 0;
constexpr qint32 kErrSeekFailed = qint32(0xA0010518);
constexpr qint32 kErrEndOfData = qint32(0xA001051B);     // also: no line at that index
constexpr qint32 kErrNoCurrentLine = qint32(0xA001051C); // nothing to step back from
constexpr qint32 kErrWriteFailed = qint32(0xA001051F);   // also: a character cannot be coded
constexpr qint32 kErrOpenFailed = qint32(0xA0010520);    // also: the file cannot be read
constexpr qint32 kErrReadOnWriter = qint32(0xA0010524);
constexpr qint32 kErrWriteOnReader = qint32(0xA0010525);
constexpr qint32 kErrNoLines = qint32(0xA0010526);
constexpr qint32 kErrLineTooLong = qint32(0xA0010527);
constexpr qint32 kErrInvalidArg = qint32(0x80070057);
constexpr qint32 kErrOutOfMemory = qint32(0x8007000E);

// Encoding numbers. A file's mark is tested in the order 5, 3, 2; a file
// without one of them is in the system code page (1). There is no 4.
enum TextEncoding : int {
    kEncodingAuto = 0,
    kEncodingAnsi = 1,     // system code page, no mark
    kEncodingUtf16 = 2,    // FF FE, low byte first
    kEncodingUtf16Big = 3, // FE FF, high byte first
    kEncodingUtf8 = 5,     // EF BB BF
};

// Seek origins.
enum SeekOrigin : int { kSeekBegin = 0, kSeekCurrent = 1, kSeekEnd = 2 };

// Add-reference and release of every reference-counted object.
class IRefCounted {
public:
    virtual quint32 AddRef() = 0;
    virtual quint32 Release() = 0;

protected:
    virtual ~IRefCounted() = default;
};

// The count starts at 1 (the reference handed to whoever created the
// object); the object destroys itself when it drops to 0.
class CUnknownRefImpl : public virtual IRefCounted {
public:
    quint32 AddRef() override;
    quint32 Release() override;

protected:
    CUnknownRefImpl() = default;
    ~CUnknownRefImpl() override = default;

private:
    quint32 refCount_ = 1;
};

// A buffered text file. Positions are byte offsets from the start of the
// file; a position inside the byte-order mark is moved to just after it.
class IFileArchive : public virtual IRefCounted {
public:
    // Refuses a position before the start or beyond the end (kErrSeekFailed).
    // Writes out buffered output first. Success clears the end-of-data state.
    virtual qint32 Seek(qint64 offset, int origin) = 0;
    // The logical position, counting what is still buffered.
    virtual qint32 GetPosition(qint64* position) = 0;
    // Decodes one character. At the end: kErrEndOfData, and again at once on
    // every further read until a Seek succeeds. An undecodable character:
    // kErrWriteFailed.
    virtual qint32 ReadWideChar(QChar* ch) = 0;
    // Reads up to *count - 1 characters into buffer and NUL-terminates it;
    // *count receives the number read. Stops early at the end once at least
    // one character was read; with none read the result is kErrEndOfData.
    virtual qint32 ReadText(QChar* buffer, qint32* count) = 0;
    // Encodes the whole text; an empty text writes nothing and succeeds.
    virtual qint32 WriteText(QStringView text) = 0;
    // Writes out the buffer and ends the file at the current position.
    virtual qint32 FlushAndCut() = 0;
};

// One line of the index. Start is a byte offset from the start of the file;
// length counts the characters without the terminator.
struct LineEntry {
    qint64 start = 0;
    qint64 length = 0;
    quint8 flags = 0;
};
constexpr quint8 kLineEndsWithCr = 0x01; // a CR before the LF (or before the end)
constexpr quint8 kLineEndsWithLf = 0x02;

class ILineReader : public virtual IRefCounted {
public:
    virtual qint32 MoveFirst() = 0;
    virtual qint32 MoveNext() = 0;
    // Before any line was chosen: kErrNoCurrentLine.
    virtual qint32 MovePrevious() = 0;
    virtual qint32 MoveLast() = 0;
    // Below 0: kErrInvalidArg; at or past the count: kErrEndOfData.
    virtual qint32 MoveTo(qint64 index) = 0;
    // -1 until a line is chosen.
    virtual qint32 GetCurrentIndex(qint64* index) = 0;
    // With a null buffer: the current line's length in characters. With a
    // buffer of count characters: copies the first count - 1 characters and
    // a NUL, returns the number copied and leaves the file after the line's
    // terminator. No current line: kErrNoCurrentLine; a line longer than a
    // 32-bit count can hold: kErrLineTooLong.
    virtual qint32 GetLineText(QChar* buffer, qint32 count) = 0;
    virtual qint64 GetLineCount() = 0;

    // The whole current line.
    qint32 GetLineText(QString* text);
};

// Opens a file for writing with automatic encoding: an existing file keeps
// the encoding its mark announces and is rewritten from just after the mark;
// a missing or empty file is written in `encoding` (the system code page,
// without a mark, for kEncodingAuto). On success *archive holds one reference.
qint32 OpenTextWriter(const QString& path, IFileArchive** archive, int encoding = kEncodingAuto);

// Opens an existing file for reading, positioned just after its mark.
qint32 OpenTextReader(const QString& path, IFileArchive** archive, int encoding = kEncodingAuto);

// Opens an existing file for reading and indexes all its lines. A null or
// empty path: kErrInvalidArg. On success *reader holds one reference.
qint32 OpenLineReader(const QString& path, ILineReader** reader);

// Holds one reference and releases it when it goes.
template <class T> class RefPtr {
public:
    RefPtr() = default;
    explicit RefPtr(T* adopted) : ptr_(adopted) {}
    RefPtr(const RefPtr& other) : ptr_(other.ptr_) {
        if (ptr_)
            ptr_->AddRef();
    }
    RefPtr(RefPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    RefPtr& operator=(RefPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~RefPtr() { reset(); }

    void reset() {
        if (T* p = std::exchange(ptr_, nullptr))
            p->Release();
    }
    // For the out-parameter of an opening.
    T** put() {
        reset();
        return &ptr_;
    }
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

private:
    T* ptr_ = nullptr;
};
