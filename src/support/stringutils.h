#pragma once

#include <QString>

#include "support/codepage.h"

// printf-style formatting. Only for formats written in the program itself:
// stored or user text is never a format (UI "fmt_" texts have their own
// safe formatter).
QString FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A number formatted with a printf format of one conversion, or "%d" / "%u"
// when the format is null. Output is cut to 127 characters, as into the
// program's 128-character buffers; a formatting failure gives an empty text.
QString FormatNumber(int value, const char* format = nullptr);
QString FormatNumber(unsigned value, const char* format = nullptr);

// 8-bit text to UTF-16. Empty when the conversion fails or when the result
// and its terminator would not fit into `capacity` characters (-1: no limit).
QString ToWide(const QByteArray& text, CodePage cp, qsizetype capacity = -1);

// The lenient number rule of configuration and data files: "TRUE"/"YES" are 1,
// "FALSE" is 0, otherwise an unsigned 32-bit conversion (base 16 after a
// leading 0x, white space and a sign accepted, saturating at 4294967295)
// returned as a signed value. Reads up to the terminating NUL.
qint32 TextToInt(const QChar* text);
qint32 TextToInt(const QString& text);

// Reads one number field ending at any character of `separators`. Returns the
// position just after the separator (or of the terminating NUL), or null for
// null or empty text. `text` must be NUL-terminated (QString data is).
const QChar* ParseNumberField(const QChar* text, QStringView separators, int* value);

// In-place tokenizer over a writable, NUL-terminated string: returns the start
// of the next field and cuts it off with a NUL, or null at the end. Empty
// fields are returned; a final separator yields no further field.
QChar* NextToken(QChar** cursor, QChar separator);

// Converts a field returned by NextToken into a QString.
inline QString TokenText(const QChar* field) {
    return field ? QString::fromUtf16(reinterpret_cast<const char16_t*>(field)) : QString();
}

// Paths compared without regard to case, with "\" and "/" equal. A null path
// equals only another null path.
bool PathsEqual(const QString& a, const QString& b);

// The file name at the end of a path: what follows the last "\" or "/", or the
// whole path when it has none; null for null.
QString FileNamePart(const QString& path);
