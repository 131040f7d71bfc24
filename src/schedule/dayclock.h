#pragma once

#include <QDateTime>

// The moment at which `day`'s clock shows `time`, the start of a series that
// steps on the clock of one day. On the day the clock is put forward, a time
// it skips is read with the offset of the start of that day, as a wall clock
// set by hand would be: 02:30 of a skipped hour is 03:30. Invalid only when
// `time` is.
QDateTime MomentOnDay(const QDate& day, const QTime& time);
