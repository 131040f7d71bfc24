#include "station/tasklook.h"

#include <QColor>
#include <QFont>

QVariant TaskRowLook(YmdDate startDate, YmdDate endDate, bool disabled, YmdDate today, int role) {
    const bool ended = endDate < today;
    const bool notBegun = !ended && startDate > today;
    if (role == Qt::ForegroundRole) {
        if (notBegun)
            return QColor(224, 98, 13);
        if (ended || disabled)
            return QColor(180, 180, 180);
    } else if (role == Qt::FontRole && (ended || notBegun)) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    return {};
}
