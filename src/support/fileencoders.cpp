#include "support/fileencoders.h"

#include <QFile>

#include <algorithm>
#include <cstring>

#include "support/codepage.h"
#include "support/textfile.h"

#ifndef Q_OS_WIN
#include <cerrno>
#include <iconv.h>
#endif

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kNativeUtf16 = "UTF-16LE";
#else
constexpr const char* kNativeUtf16 = "UTF-16BE";
#endif

// One character of the Basic Multilingual Plane in strict UTF-8: no overlong
// forms, no surrogates, no four-byte sequences. Returns the bytes taken, or 0.
Q_ALWAYS_INLINE int decodeUtf8Bmp(const uchar* p, qsizetype size, char16_t* out) {
    if (size < 1)
        return 0;
    const uchar b0 = p[0];
    if (b0 < 0x80) {
        *out = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (size < 2 || (p[1] & 0xC0) != 0x80)
            return 0;
        *out = char16_t(((b0 & 0x1F) << 6) | (p[1] & 0x3F));
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const uchar low = b0 == 0xE0 ? 0xA0 : 0x80;
        const uchar high = b0 == 0xED ? 0x9F : 0xBF;
        if (size < 3 || p[1] < low || p[1] > high || (p[2] & 0xC0) != 0x80)
            return 0;
        *out = char16_t(((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
        return 3;
    }
    return 0;
}

// Encodes one 16-bit unit on its own; a surrogate, which has no meaning
// alone, becomes `replacement` (which must be a BMP character).
char* encodeUtf8Unit(char* out, char16_t unit, char16_t replacement) {
    if (QChar::isSurrogate(unit))
        unit = replacement;
    if (unit < 0x80) {
        *out++ = char(unit);
    } else if (unit < 0x800) {
        *out++ = char(0xC0 | (unit >> 6));
        *out++ = char(0x80 | (unit & 0x3F));
    } else {
        *out++ = char(0xE0 | (unit >> 12));
        *out++ = char(0x80 | ((unit >> 6) & 0x3F));
        *out++ = char(0x80 | (unit & 0x3F));
    }
    return out;
}

// Encodes text a unit at a time into a stack buffer and hands it to the file
// in pieces, so that a long string needs no large allocation.
template <class EncodeUnit>
qint32 writeUnits(CFileReadWriter& rw, QStringView text, EncodeUnit encodeUnit) {
    char chunk[16384];
    char* out = chunk;
    for (QChar c : text) {
        out = encodeUnit(out, c.unicode());
        if (out - chunk > qsizetype(sizeof chunk) - 4) {
            const qint32 rc = rw.WriteBytes(chunk, out - chunk);
            if (rc < 0)
                return rc;
            out = chunk;
        }
    }
    return rw.WriteBytes(chunk, out - chunk);
}

// Whether bytes that did not decode may only have been cut short by the end
// of what the caller holds, so that more bytes could still make them whole.
bool mayBeCut(const uchar* p, const uchar* end, bool atEnd) {
    return !atEnd && end - p < CCharEncoder::kMaxCharBytes;
}

// Characters of the system code page, each decoded on its own by `decodeOne`
// (which returns the bytes it took, or 0), as a single read decodes them.
template <class DecodeOne>
qint32 decodeByteChars(QByteArrayView bytes, bool atEnd, QChar* out, qsizetype capacity,
                       bool untilLineFeed, DecodeProgress* progress, DecodeOne decodeOne) {
    const uchar* const begin = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = begin + bytes.size();
    const uchar* p = begin;
    QChar* o = out;
    QChar* const oEnd = out + capacity;
    qint32 rc = kTextOk;
    while (p < end && o < oEnd) {
        char16_t unit = 0;
        const int used = decodeOne(p, end - p, &unit);
        if (used == 0) {
            if (!mayBeCut(p, end, atEnd))
                rc = kErrWriteFailed;
            break;
        }
        p += used;
        *o++ = QChar(unit);
        if (untilLineFeed && unit == u'\n')
            break;
    }
    progress->used = p - begin;
    progress->produced = o - out;
    return rc;
}

// Copies the ASCII bytes at the front of p (at most `limit`, at least one) to
// out as characters and returns how many. Text files are mostly ASCII, so
// whole blocks are tested and widened at once.
qsizetype copyAscii(const uchar* p, qsizetype limit, QChar* out) {
    qsizetype n = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; limit - n >= 16; n += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; n < limit && p[n] < 0x80; ++n)
        out[n] = QChar(char16_t(p[n]));
    return n;
}

// Strict UTF-8 of the Basic Multilingual Plane. A line feed byte is always a
// line feed character here (no byte of a longer sequence is below 0x80), so
// the end of the line is found with one search.
qint32 decodeUtf8Chars(QByteArrayView bytes, bool atEnd, QChar* out, qsizetype capacity,
                       bool untilLineFeed, DecodeProgress* progress) {
    const uchar* const begin = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = begin + bytes.size();
    const uchar* stop = end;
    if (untilLineFeed) {
        if (const void* lineFeed = std::memchr(begin, '\n', size_t(bytes.size())))
            stop = static_cast<const uchar*>(lineFeed) + 1;
    }
    const uchar* p = begin;
    QChar* o = out;
    QChar* const oEnd = out + capacity;
    qint32 rc = kTextOk;
    while (p < stop && o < oEnd) {
        if (*p < 0x80) {
            const qsizetype ascii = copyAscii(p, std::min(stop - p, oEnd - o), o);
            p += ascii;
            o += ascii;
            continue;
        }
        char16_t unit = 0;
        const int used = decodeUtf8Bmp(p, stop - p, &unit);
        if (used == 0) {
            if (!mayBeCut(p, end, atEnd))
                rc = kErrWriteFailed;
            break;
        }
        p += used;
        *o++ = QChar(unit);
    }
    progress->used = p - begin;
    progress->produced = o - out;
    return rc;
}

} // namespace

// ---------------------------------------------------------------------------

CodePageConverter::CodePageConverter() : name_(SystemCodePageName()) {
    utf8_ = IsUtf8Name(name_);
    // Only the Basic Multilingual Plane is supported, which UTF-8 covers in
    // three bytes; a four-byte sequence must fail instead of being taken.
    maxCharBytes_ = utf8_ ? 3 : SystemCodePageMaxCharBytes();
}

CodePageConverter::~CodePageConverter() {
#ifndef Q_OS_WIN
    if (decoder_)
        iconv_close(iconv_t(decoder_));
    if (encoder_)
        iconv_close(iconv_t(encoder_));
#endif
}

int CodePageConverter::decodeOne(const uchar* bytes, qsizetype size, char16_t* out) {
    if (utf8_)
        return decodeUtf8Bmp(bytes, size, out);
    const int limit = int(std::min<qsizetype>(size, maxCharBytes_));
#ifdef Q_OS_WIN
    // One byte first, then more, until the bytes form one character.
    for (int n = 1; n <= limit; ++n) {
        QString text;
        if (DecodeCodePage(CodePage::System, reinterpret_cast<const char*>(bytes), n, &text)) {
            if (text.size() != 1)
                return 0;
            *out = text.at(0).unicode();
            return n;
        }
    }
    return 0;
#else
    if (!decoder_) {
        iconv_t cd = iconv_open(kNativeUtf16, name_.constData());
        if (cd == iconv_t(-1))
            return 0;
        decoder_ = cd;
    }
    iconv_t cd = iconv_t(decoder_);
    // One byte first, then more, until the bytes form one character; an
    // illegal prefix cannot become legal with more bytes.
    for (int n = 1; n <= limit; ++n) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char16_t units[4];
        char* in = reinterpret_cast<char*>(const_cast<uchar*>(bytes));
        size_t inLeft = size_t(n);
        char* outPtr = reinterpret_cast<char*>(units);
        size_t outLeft = sizeof units;
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0) {
            const size_t produced = (sizeof units - outLeft) / 2;
            if (produced != 1)
                return 0; // beyond the plane, or no character at all
            *out = units[0];
            return n;
        }
        if (errno != EINVAL)
            return 0;
    }
    return 0;
#endif
}

QByteArray CodePageConverter::encode(QStringView text) {
    QByteArray result;
    if (text.isEmpty())
        return result;
    if (utf8_) {
        result.resize(text.size() * 3);
        char* end = result.data();
        for (QChar c : text)
            end = encodeUtf8Unit(end, c.unicode(), u'?');
        result.truncate(end - result.constData());
        return result;
    }
#ifdef Q_OS_WIN
    return EncodeCodePage(CodePage::System, text);
#else
    if (!encoder_) {
        iconv_t cd = iconv_open(name_.constData(), kNativeUtf16);
        if (cd == iconv_t(-1)) {
            // Without a converter only ASCII survives.
            for (QChar c : text)
                result.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
            return result;
        }
        encoder_ = cd;
    }
    iconv_t cd = iconv_t(encoder_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    result.reserve(text.size() * 2);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.utf16()));
    size_t inLeft = size_t(text.size()) * 2;
    char chunk[512];
    while (inLeft > 0) {
        char* out = chunk;
        size_t outLeft = sizeof chunk;
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        result.append(chunk, qsizetype(sizeof chunk - outLeft));
        if (rc == size_t(-1) && errno != E2BIG) {
            // A unit without a mapping (or a lone surrogate): the default
            // character stands in for it and the rest is converted on.
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            result.append('?');
            in += 2;
            inLeft -= 2;
        }
    }
    char* out = chunk;
    size_t outLeft = sizeof chunk;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    result.append(chunk, qsizetype(sizeof chunk - outLeft));
    return result;
#endif
}

// ---------------------------------------------------------------------------

CFileReadWriter::CFileReadWriter(QFile* file, qint32 capacity, quint32 flags)
    : flags_(flags), capacity_(std::max(capacity, kMinimumCapacity)), file_(file) {
    buffer_.reset(new char[size_t(capacity_)]);
    filePosition_ = file_ ? file_->pos() : 0;
}

CFileReadWriter::~CFileReadWriter() = default;

void CFileReadWriter::setEncoder(int encoding, const CCharEncoder* encoder) {
    encoding_ = encoding;
    encoder_ = encoder;
    if (encoder && encoder->IsBigEndian())
        flags_ &= ~quint32(kFlagLittleEndian);
    else
        flags_ |= kFlagLittleEndian;
    // The code page is fixed when the file is opened.
    if (encoding == 1)
        codePage();
}

bool CFileReadWriter::moveFileTo(qint64 position) {
    if (filePosition_ == position)
        return true;
    if (!file_->seek(position)) {
        filePosition_ = -1;
        return false;
    }
    filePosition_ = position;
    return true;
}

qint32 CFileReadWriter::refill(qsizetype wanted, const uchar** bytes, qsizetype* available) {
    wanted = std::min<qsizetype>(wanted, capacity_);
    if (position_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + position_, size_t(fill_ - position_));
        bufferStart_ += position_;
        fill_ -= position_;
        position_ = 0;
    }
    while (fill_ < wanted) {
        if (!moveFileTo(bufferStart_ + fill_))
            return kErrSeekFailed;
        const qint64 n = file_->read(buffer_.get() + fill_, capacity_ - fill_);
        if (n < 0) {
            filePosition_ = -1;
            return kErrOpenFailed;
        }
        if (n == 0)
            break;
        fill_ += qint32(n);
        filePosition_ += n;
    }
    *bytes = reinterpret_cast<const uchar*>(buffer_.get());
    *available = std::min<qsizetype>(wanted, fill_);
    return kTextOk;
}

qint32 CFileReadWriter::WriteBytes(const char* data, qsizetype size) {
    if (size >= capacity_) {
        // A piece that would fill the buffer goes to the file in one call
        // instead of being copied through the buffer first.
        const qint32 rc = Flush();
        if (rc < 0)
            return rc;
        if (!moveFileTo(bufferStart_))
            return kErrWriteFailed;
        if (file_->write(data, size) != size) {
            filePosition_ = -1;
            return kErrWriteFailed;
        }
        bufferStart_ += size;
        filePosition_ += size;
        return kTextOk;
    }
    while (size > 0) {
        if (fill_ == capacity_) {
            const qint32 rc = Flush();
            if (rc < 0)
                return rc;
        }
        const qsizetype n = std::min<qsizetype>(size, capacity_ - fill_);
        std::memcpy(buffer_.get() + fill_, data, size_t(n));
        fill_ += qint32(n);
        data += n;
        size -= n;
    }
    return kTextOk;
}

qint32 CFileReadWriter::Flush() {
    if (isReading() || fill_ == 0)
        return kTextOk;
    if (!moveFileTo(bufferStart_))
        return kErrWriteFailed;
    const qint64 written = file_->write(buffer_.get(), fill_);
    if (written != fill_) {
        filePosition_ = -1;
        return kErrWriteFailed;
    }
    bufferStart_ += fill_;
    filePosition_ += fill_;
    fill_ = 0;
    return kTextOk;
}

qint64 CFileReadWriter::Position() const {
    return bufferStart_ + (isReading() ? position_ : fill_);
}

qint64 CFileReadWriter::Size() const {
    const qint64 onDisk = file_->size();
    return isReading() ? onDisk : std::max(onDisk, Position());
}

qint32 CFileReadWriter::SeekTo(qint64 position) {
    if (isReading()) {
        if (position >= bufferStart_ && position <= bufferStart_ + fill_) {
            position_ = qint32(position - bufferStart_);
        } else {
            bufferStart_ = position;
            fill_ = 0;
            position_ = 0;
        }
        return kTextOk;
    }
    const qint32 rc = Flush();
    if (rc < 0)
        return rc;
    bufferStart_ = position;
    return kTextOk;
}

// ---------------------------------------------------------------------------

qint32 CCharEncoder::ReadAnsiChar(CFileReadWriter& rw, QByteArray* bytes) const {
    QChar ch;
    const qint32 rc = ReadChar(rw, &ch);
    if (rc < 0)
        return rc;
    *bytes = rw.codePage().encode(QStringView(&ch, 1));
    return kTextOk;
}

qint32 CCharEncoder::WriteAnsiChar(CFileReadWriter& rw, QByteArrayView bytes) const {
    char16_t unit = 0;
    const int used =
        rw.codePage().decodeOne(reinterpret_cast<const uchar*>(bytes.data()), bytes.size(), &unit);
    if (used == 0 || used != bytes.size())
        return kErrWriteFailed;
    return WriteChar(rw, QChar(unit));
}

qint32 CCharEncoder::WriteChar(CFileReadWriter& rw, QChar ch) const {
    return WriteString(rw, QStringView(&ch, 1));
}

qint32 CCharEncoder::ReadChar(CFileReadWriter& rw, QChar* ch) const {
    const uchar* bytes = nullptr;
    qsizetype available = 0;
    const qint32 rc = rw.Peek(kMaxCharBytes, &bytes, &available);
    if (rc < 0)
        return rc;
    if (available == 0)
        return kErrEndOfData;
    // Fewer bytes than asked for come only at the end of the file.
    DecodeProgress progress;
    if (DecodeChars(rw, QByteArrayView(bytes, available), available < kMaxCharBytes, ch, 1, false,
                    &progress) < 0) {
        // Only the first byte is given up, so a caller that wants to go on
        // past a bad byte loses no valid character after it.
        rw.Consume(1);
        return kErrWriteFailed;
    }
    rw.Consume(progress.used);
    return kTextOk;
}

qint32 CAnsiEncoder::WriteString(CFileReadWriter& rw, QStringView text) const {
    CodePageConverter& cp = rw.codePage();
    if (cp.isUtf8())
        return writeUnits(rw, text,
                          [](char* out, char16_t unit) { return encodeUtf8Unit(out, unit, u'?'); });
    const QByteArray bytes = cp.encode(text);
    return rw.WriteBytes(bytes.constData(), bytes.size());
}

qint32 CAnsiEncoder::DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                                 qsizetype capacity, bool untilLineFeed,
                                 DecodeProgress* progress) const {
    CodePageConverter& cp = rw.codePage();
    if (cp.isUtf8())
        return decodeUtf8Chars(bytes, atEnd, out, capacity, untilLineFeed, progress);
    return decodeByteChars(bytes, atEnd, out, capacity, untilLineFeed, progress,
                           [&cp](const uchar* p, qsizetype size, char16_t* unit) {
                               return cp.decodeOne(p, size, unit);
                           });
}

QByteArrayView CUtf8Encoder::GetPreamble() const {
    return QByteArrayView("\xEF\xBB\xBF", 3);
}

qint32 CUtf8Encoder::WriteString(CFileReadWriter& rw, QStringView text) const {
    return writeUnits(rw, text, [](char* out, char16_t unit) {
        return encodeUtf8Unit(out, unit, QChar::ReplacementCharacter);
    });
}

qint32 CUtf8Encoder::DecodeChars(CFileReadWriter&, QByteArrayView bytes, bool atEnd, QChar* out,
                                 qsizetype capacity, bool untilLineFeed,
                                 DecodeProgress* progress) const {
    return decodeUtf8Chars(bytes, atEnd, out, capacity, untilLineFeed, progress);
}

QByteArrayView CUtf16Encoder::GetPreamble() const {
    return QByteArrayView("\xFF\xFE", 2);
}

qint32 CUtf16Encoder::DecodeChars(CFileReadWriter& rw, QByteArrayView bytes, bool atEnd, QChar* out,
                                  qsizetype capacity, bool untilLineFeed,
                                  DecodeProgress* progress) const {
    const uchar* const begin = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = begin + bytes.size();
    const uchar* p = begin;
    const bool little = rw.littleEndian();
    qsizetype n = 0;
    qint32 rc = kTextOk;
    while (n < capacity) {
        if (end - p < 2) {
            // Half a unit at the end of the file is no character.
            if (p != end && atEnd)
                rc = kErrWriteFailed;
            break;
        }
        const char16_t unit = little ? char16_t(p[0] | (p[1] << 8)) : char16_t((p[0] << 8) | p[1]);
        p += 2;
        out[n++] = QChar(unit);
        if (untilLineFeed && unit == u'\n')
            break;
    }
    progress->used = p - begin;
    progress->produced = n;
    return rc;
}

qint32 CUtf16Encoder::WriteString(CFileReadWriter& rw, QStringView text) const {
    if (rw.littleEndian()) {
        return writeUnits(rw, text, [](char* out, char16_t unit) {
            *out++ = char(unit & 0xFF);
            *out++ = char(unit >> 8);
            return out;
        });
    }
    return writeUnits(rw, text, [](char* out, char16_t unit) {
        *out++ = char(unit >> 8);
        *out++ = char(unit & 0xFF);
        return out;
    });
}

QByteArrayView CUtf16BigEncoder::GetPreamble() const {
    return QByteArrayView("\xFE\xFF", 2);
}

const CCharEncoder* GetEncoder(int encoding) {
    static const CAnsiEncoder ansi;
    static const CUtf16Encoder utf16;
    static const CUtf16BigEncoder utf16Big;
    static const CUtf8Encoder utf8;
    switch (encoding) {
    case 1:
        return &ansi;
    case 2:
        return &utf16;
    case 3:
        return &utf16Big;
    case 5:
        return &utf8;
    default:
        return nullptr;
    }
}
