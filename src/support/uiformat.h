#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Fills a "fmt_" UI text with the caller's values. These texts come from an
// editable file, so they never reach printf: only %s, %d, %i and %u (with
// optional flags "-+ 0", a width and a precision, e.g. %02d) and %% are
// understood. Values are used in order; a conversion without a value, and
// anything not understood, stays in the result as written. Values beyond the
// conversions are ignored.
QString FormatUiText(const QString& format, const QList<QVariant>& values);

// The same with the values as arguments: FormatUiText(text, name, 3).
template <typename... Values> QString FormatUiText(const QString& format, const Values&... values) {
    return FormatUiText(format, QList<QVariant>{QVariant(values)...});
}
