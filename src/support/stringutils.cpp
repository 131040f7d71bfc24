#include "support/stringutils.h"

#include <cstdarg>

namespace {

constexpr qsizetype kNumberBufferChars = 128;

bool isSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 99;
}

bool wholeTextIs(QStringView text, QLatin1StringView word) {
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

// The C library's unsigned conversion on 32 bits, as wcstoul does it where
// unsigned long is 32 bits wide.
quint32 toUnsigned32(const QChar* p, int base) {
    while (isSpace(p->unicode()))
        ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-') {
        negative = *p == u'-';
        ++p;
    }
    if (base == 16 && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') &&
        digitValue(p[2].unicode()) < 16)
        p += 2;
    quint64 value = 0;
    bool overflow = false;
    for (int d; (d = digitValue(p->unicode())) < base; ++p) {
        value = value * quint64(base) + quint64(d);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    const quint32 result = quint32(value);
    return negative ? quint32(0u - result) : result;
}

QString formatOne(const char* format, const char* fallback, ...) {
    va_list args;
    va_start(args, fallback);
    QString text = QString::vasprintf(format ? format : fallback, args);
    va_end(args);
    return text.left(kNumberBufferChars - 1);
}

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

} // namespace

QString FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    QString text = QString::vasprintf(format, args);
    va_end(args);
    return text;
}

QString FormatNumber(int value, const char* format) {
    return formatOne(format, "%d", value);
}

QString FormatNumber(unsigned value, const char* format) {
    return formatOne(format, "%u", value);
}

QString ToWide(const QByteArray& text, CodePage cp, qsizetype capacity) {
    QString result;
    if (!DecodeCodePage(cp, text.constData(), text.size(), &result))
        return QString();
    if (capacity >= 0 && result.size() + 1 > capacity)
        return QString();
    return result;
}

qint32 TextToInt(const QChar* text) {
    if (!text || text->isNull())
        return 0;
    // The text up to its NUL, looked at without a copy.
    const QStringView whole(text);
    if (wholeTextIs(whole, QLatin1StringView("TRUE")) ||
        wholeTextIs(whole, QLatin1StringView("YES")))
        return 1;
    if (wholeTextIs(whole, QLatin1StringView("FALSE")))
        return 0;
    const int base = (text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) ? 16 : 10;
    return qint32(toUnsigned32(text, base));
}

qint32 TextToInt(const QString& text) {
    return TextToInt(text.isEmpty() ? nullptr : text.data());
}

const QChar* ParseNumberField(const QChar* text, QStringView separators, int* value) {
    *value = 0;
    if (!text || text->isNull())
        return nullptr;
    while (*text == u' ' || *text == u'\t')
        ++text;
    const QChar* end = text;
    while (!end->isNull() && !separators.contains(*end))
        ++end;
    if (end != text) {
        // Digits stop at the separator by themselves; a word like TRUE is
        // recognised only when it is the rest of the text.
        *value = TextToInt(text);
    }
    return end->isNull() ? end : end + 1;
}

QChar* NextToken(QChar** cursor, QChar separator) {
    if (!cursor || !*cursor || (*cursor)->isNull())
        return nullptr;
    QChar* start = *cursor;
    QChar* p = start;
    while (!p->isNull() && *p != separator)
        ++p;
    if (p->isNull()) {
        *cursor = p;
    } else {
        *p = QChar(u'\0');
        *cursor = p + 1;
    }
    return start;
}

bool PathsEqual(const QString& a, const QString& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar x = a[i], y = b[i];
        if (x == y || (isSeparator(x) && isSeparator(y)) || x.toUpper() == y.toUpper())
            continue;
        return false;
    }
    return true;
}

QString FileNamePart(const QString& path) {
    if (path.isNull())
        return QString();
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path[i]))
            return path.mid(i + 1);
    }
    return path;
}
