#include "schedule/dayclock.h"

QDateTime MomentOnDay(const QDate& day, const QTime& time) {
    const QDateTime moment(day, time);
    if (moment.isValid() || !time.isValid())
        return moment;
    // A series from the skipped hour must go on after it, not end there.
    const int offset = day.startOfDay().offsetFromUtc();
    return QDateTime(day, time, Qt::OffsetFromUTC, offset).toLocalTime();
}
