#pragma once

#include <QByteArray>
#include <QString>

// The system code page is the locale's character set; the C/POSIX locale
// counts as UTF-8 (on Windows: the ANSI code page).
enum class CodePage { System, Utf8 };

// The iconv name of the system code page, e.g. "UTF-8" or "GBK".
QByteArray SystemCodePageName();

// Whether an iconv character set name names UTF-8.
bool IsUtf8Name(const QByteArray& name);

// The most bytes one character of the system code page can take (4 for
// UTF-8, 1 for a single-byte character set).
int SystemCodePageMaxCharBytes();

// Strict decoding: false when the bytes are not complete, valid characters.
bool DecodeCodePage(CodePage cp, const char* bytes, qsizetype size, QString* out);

// Encoding; characters without a mapping become the character set's default
// replacement ('?').
QByteArray EncodeCodePage(CodePage cp, QStringView text);
