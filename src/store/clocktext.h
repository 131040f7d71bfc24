#pragma once

#include <QDate>
#include <QString>

#include "store/records.h"

class Clock;

// Weekday names fixed in the program, Monday 0 ... Sunday 6; English when
// langId is nonzero, else Chinese; empty outside 0..6.
QString WeekdayName(int index, int langId);

// Weekday index of a date, Monday 0 ... Sunday 6.
int WeekdayOf(const QDate& date);
int TodayWeekday(const Clock& clock);
YmdDate TodayYmd(const Clock& clock);
HhmmTime NowHhmm(const Clock& clock);
YmdDate DateToYmd(const QDate& date);
// An invalid date for a year below 1900, a month outside 1..12 or a day
// outside 1..31 (and for days the month does not have).
QDate YmdToDate(YmdDate ymd);

// "hh:mm" from the digits of an HhmmTime.
QString FormatClock(HhmmTime time);
// "09:30", "0930" and "09:3_" (placeholder read as 0) give 930; shorter texts 0.
HhmmTime ParseClockText(const QString& text);
bool IsValidClockText(const QString& fourDigits);

QString FormatDuration(HhmmssDuration duration);
HhmmssDuration ParseDuration(const QString& text);
int DurationToMinutes(HhmmssDuration duration);
// The time of day `duration` after `clockValue` (an HhmmssDuration when
// withSeconds, else an HhmmTime), wrapping past midnight.
HhmmssDuration AddDuration(HhmmssDuration duration, int clockValue, bool withSeconds,
                           const Clock& clock);

QString FormatSchedule(YmdDate endDate, YmdDate startDate, HhmmTime startTime, HhmmTime endTime);
// As wide as the widest text FormatSchedule gives, for sizing a column.
inline QString WidestScheduleText() {
    return QStringLiteral("00/00/00/~00/00 00:00~00:00");
}
