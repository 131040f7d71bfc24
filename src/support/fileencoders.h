#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

#include <memory>

class QFile;
class CCharEncoder;

// Converts between UTF-16 and the system code page for one open file. The
// character set is taken from the locale when the file is opened; converter
// handles are kept for the life of the file instead of being opened for
// every character.
class CodePageConverter {
public:
    CodePageConverter();
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    bool isUtf8() const { return utf8_; }

    // Decodes exactly one character from the start of the bytes. Returns the
    // number of bytes it took, or 0 when they hold no valid character of the
    // plane (a short sequence at the end of the file included).
    int decodeOne(const uchar* bytes, qsizetype size, char16_t* out);
    // Characters without a mapping become '?'.
    QByteArray encode(QStringView text);

private:
    QByteArray name_;
    bool utf8_ = true;
    int maxCharBytes_ = 3;
#ifndef Q_OS_WIN
    void* decoder_ = nullptr; // iconv_t
    void* encoder_ = nullptr;
#endif
};

// The byte buffer between a file and its encoder. Reading, it holds the
// bytes of the file from bufferStart on, of which those before the position
// mark are consumed; writing, it holds output still to be written at
// bufferStart.
class CFileReadWriter {
public:
    enum Flags : quint32 {
        kFlagReading = 0x01,
        kFlagRaw = 0x02,
        kFlagLittleEndian = 0x08, // 16-bit units low byte first
    };
    static constexpr qint32 kDefaultCapacity = 4096;
    static constexpr qint32 kMinimumCapacity = 128;

    CFileReadWriter(QFile* file, qint32 capacity, quint32 flags);
    ~CFileReadWriter();
    CFileReadWriter(const CFileReadWriter&) = delete;
    CFileReadWriter& operator=(const CFileReadWriter&) = delete;

    quint32 flags() const { return flags_; }
    bool isReading() const { return (flags_ & kFlagReading) != 0; }
    bool littleEndian() const { return (flags_ & kFlagLittleEndian) != 0; }
    int encoding() const { return encoding_; }
    const CCharEncoder* encoder() const { return encoder_; }
    // Also sets or clears the little-endian flag from the encoder.
    void setEncoder(int encoding, const CCharEncoder* encoder);
    CodePageConverter& codePage() {
        if (!codePage_)
            codePage_ = std::make_unique<CodePageConverter>();
        return *codePage_;
    }

    qint32 capacity() const { return capacity_; }

    // Makes up to `wanted` unread bytes available in one piece; fewer only at
    // the end of the file. *bytes and *available describe them.
    qint32 Peek(qsizetype wanted, const uchar** bytes, qsizetype* available) {
        if (fill_ - position_ >= wanted) {
            *bytes = reinterpret_cast<const uchar*>(buffer_.get()) + position_;
            *available = wanted;
            return 0;
        }
        return refill(wanted, bytes, available);
    }
    // The unread bytes that the buffer holds now, without reading more.
    QByteArrayView Buffered() const {
        return QByteArrayView(buffer_.get() + position_, fill_ - position_);
    }
    void Consume(qsizetype count) { position_ += count; }

    qint32 WriteBytes(const char* data, qsizetype size);
    qint32 Flush();

    // Logical position: what was read or written so far.
    qint64 Position() const;
    // The end of what the buffer holds; the file is at least this long.
    qint64 KnownEnd() const { return bufferStart_ + fill_; }
    // The file's size, counting output not yet written.
    qint64 Size() const;
    // Moves to a byte offset. Writing, the buffer is written out first.
    // Reading, a position inside the buffer costs no call to the platform.
    qint32 SeekTo(qint64 position);

private:
    qint32 refill(qsizetype wanted, const uchar** bytes, qsizetype* available);
    bool moveFileTo(qint64 position);

    quint32 flags_;
    std::unique_ptr<char[]> buffer_;
    qint32 capacity_;
    QFile* file_;
    qint32 fill_ = 0;
    qint32 position_ = 0;
    int encoding_ = 0;
    const CCharEncoder* encoder_ = nullptr;

    qint64 bufferStart_ = 0;  // file offset of buffer_[0]
    qint64 filePosition_ = 0; // where the platform's file pointer stands; -1 unknown
    std::unique_ptr<CodePageConverter> codePage_;
};

// How far one DecodeChars call got.
struct DecodeProgress {
    qsizetype used = 0;     // bytes taken
    qsizetype produced = 0; // characters written
};

// The encoders hold no state; each exists once and serves every file.
class CCharEncoder {
public:
    // No character of any encoding takes more bytes (the code page's own
    // limit is at most this).
    static constexpr int kMaxCharBytes = 4;

    virtual ~CCharEncoder() = default;
    // Nonzero for high byte first.
    virtual int IsBigEndian() const { return 0; }
    // The byte-order mark.
    virtual QByteArrayView GetPreamble() const { return {}; }
    // One character, given as the bytes of the system code page.
    virtual qint32 ReadAnsiChar(CFileReadWriter& rw, QByteArray* bytes) const;
    // One character from the buffer: a single DecodeChars.
    virtual qint32 ReadChar(CFileReadWriter& rw, QChar* ch) const;
    // One character given in the system code page (one or more bytes).
    virtual qint32 WriteAnsiChar(CFileReadWriter& rw, QByteArrayView bytes) const;
    virtual qint32 WriteChar(CFileReadWriter& rw, QChar ch) const;
    virtual qint32 WriteString(CFileReadWriter& rw, QStringView text) const = 0;

    // Decodes the characters at the front of `bytes` into `out`, exactly as
    // that many single reads would: at most `capacity` of them and, with
    // untilLineFeed, none after the first line feed. Every character is one
    // 16-bit unit. When fewer than kMaxCharBytes bytes are left and they do
    // not decode, they may be a character cut by the end of the bytes: they
    // are left for a call with more bytes, unless atEnd says that none follow.
    // An undecodable character gives kErrWriteFailed; `progress` then tells
    // how far the characters before it reached.
    virtual qint32 DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                               qsizetype capacity, bool untilLineFeed,
                               DecodeProgress* progress) const = 0;
};

class CAnsiEncoder : public CCharEncoder {
public:
    qint32 WriteString(CFileReadWriter& rw, QStringView text) const override;
    qint32 DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                       qsizetype capacity, bool untilLineFeed,
                       DecodeProgress* progress) const override;
};

class CUtf8Encoder : public CCharEncoder {
public:
    QByteArrayView GetPreamble() const override;
    qint32 WriteString(CFileReadWriter& rw, QStringView text) const override;
    qint32 DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                       qsizetype capacity, bool untilLineFeed,
                       DecodeProgress* progress) const override;
};

class CUtf16Encoder : public CCharEncoder {
public:
    QByteArrayView GetPreamble() const override;
    qint32 WriteString(CFileReadWriter& rw, QStringView text) const override;
    qint32 DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                       qsizetype capacity, bool untilLineFeed,
                       DecodeProgress* progress) const override;
};

class CUtf16BigEncoder : public CUtf16Encoder {
public:
    int IsBigEndian() const override { return 1; }
    QByteArrayView GetPreamble() const override;
};

// The shared encoder of an encoding number; null for an unknown number.
const CCharEncoder* GetEncoder(int encoding);
