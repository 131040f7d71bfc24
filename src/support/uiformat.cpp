#include "support/uiformat.h"

#include <climits>

namespace {

// Longest width or precision taken from a text; anything longer is not a
// conversion we fill, so an edited text cannot ask for a huge padding.
constexpr int kMaxFieldDigits = 3;

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    int width = 0;
    int precision = -1;
    QChar type;
    qsizetype end = 0; // index just after the conversion
};

// Parses the conversion that starts at format[start] == '%'. False when it is
// not one we fill; the caller then copies the '%' as written.
bool ParseConversion(const QString& format, qsizetype start, Conversion* conv) {
    qsizetype i = start + 1;
    const qsizetype n = format.size();
    for (; i < n; ++i) {
        const QChar c = format.at(i);
        if (c == u'-')
            conv->leftAlign = true;
        else if (c == u'0')
            conv->zeroPad = true;
        else if (c == u'+')
            conv->plusSign = true;
        else if (c == u' ')
            conv->spaceSign = true;
        else
            break;
    }
    auto readNumber = [&](int* value) {
        int digits = 0;
        *value = 0;
        while (i < n && format.at(i).isDigit() && format.at(i).unicode() < 128) {
            if (++digits > kMaxFieldDigits)
                return false;
            *value = *value * 10 + (format.at(i).unicode() - '0');
            ++i;
        }
        return true;
    };
    if (!readNumber(&conv->width))
        return false;
    if (i < n && format.at(i) == u'.') {
        ++i;
        if (!readNumber(&conv->precision))
            return false;
    }
    // Length modifiers change nothing here: the values carry their own type.
    while (i < n && (format.at(i) == u'l' || format.at(i) == u'h'))
        ++i;
    if (i >= n)
        return false;
    const QChar type = format.at(i);
    if (type != u's' && type != u'S' && type != u'd' && type != u'i' && type != u'u')
        return false;
    conv->type = type;
    conv->end = i + 1;
    return true;
}

bool IsInteger(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

QString FormatNumberValue(const QVariant& value, const Conversion& conv) {
    // A text handed to a number conversion is shown as it is rather than
    // guessed at.
    if (!IsInteger(value))
        return value.toString();
    const int type = value.metaType().id();
    QString digits;
    QString sign;
    if (type == QMetaType::ULongLong || type == QMetaType::ULong) {
        digits = QString::number(value.toULongLong());
    } else {
        const qlonglong v = value.toLongLong();
        if (v >= 0) {
            digits = QString::number(v);
        } else if (conv.type == u'u') {
            // What an unsigned conversion makes of a negative int.
            digits =
                v >= INT_MIN ? QString::number(quint32(qint32(v))) : QString::number(qulonglong(v));
        } else {
            digits = QString::number(0ULL - qulonglong(v));
            sign = QStringLiteral("-");
        }
    }
    if (conv.type != u'u' && sign.isEmpty() && conv.plusSign)
        sign = QStringLiteral("+");
    else if (conv.type != u'u' && sign.isEmpty() && conv.spaceSign)
        sign = QStringLiteral(" ");
    if (conv.precision >= 0) {
        if (conv.precision == 0 && digits == u"0")
            digits.clear();
        else if (digits.size() < conv.precision)
            digits = QString(conv.precision - digits.size(), u'0') + digits;
    }
    QString text = sign + digits;
    const qsizetype pad = conv.width - text.size();
    if (pad > 0) {
        if (conv.leftAlign)
            text += QString(pad, u' ');
        else if (conv.zeroPad && conv.precision < 0)
            text = sign + QString(pad, u'0') + digits;
        else
            text = QString(pad, u' ') + text;
    }
    return text;
}

QString FormatStringValue(const QVariant& value, const Conversion& conv) {
    QString text = value.toString();
    if (conv.precision >= 0 && text.size() > conv.precision)
        text.truncate(conv.precision);
    const qsizetype pad = conv.width - text.size();
    if (pad > 0)
        text = conv.leftAlign ? text + QString(pad, u' ') : QString(pad, u' ') + text;
    return text;
}

} // namespace

QString FormatUiText(const QString& format, const QList<QVariant>& values) {
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    qsizetype i = 0;
    const qsizetype n = format.size();
    while (i < n) {
        const QChar c = format.at(i);
        if (c != u'%') {
            result += c;
            ++i;
            continue;
        }
        if (i + 1 < n && format.at(i + 1) == u'%') {
            result += u'%';
            i += 2;
            continue;
        }
        Conversion conv;
        if (!ParseConversion(format, i, &conv) || next >= values.size()) {
            // Not ours, or nothing to fill it with: leave it visible. A
            // missing value is never guessed.
            const qsizetype end = conv.end > i ? conv.end : i + 1;
            result += QStringView(format).mid(i, end - i);
            i = end;
            continue;
        }
        const QVariant& value = values.at(next++);
        if (conv.type == u's' || conv.type == u'S')
            result += FormatStringValue(value, conv);
        else
            result += FormatNumberValue(value, conv);
        i = conv.end;
    }
    return result;
}
