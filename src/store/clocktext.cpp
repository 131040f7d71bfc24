#include "store/clocktext.h"

#include <QDateTime>

#include "support/clock.h"
#include "support/stringutils.h"

namespace {

const char16_t* const kChineseWeekdays[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                            u"星期五", u"星期六", u"星期天"};
const char* const kEnglishWeekdays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};

const QString kDurationSeparators = QStringLiteral(",;:*~/\\|");

} // namespace

QString WeekdayName(int index, int langId) {
    if (index < 0 || index > 6)
        return QString();
    if (langId != 0)
        return QString::fromLatin1(kEnglishWeekdays[index]);
    return QString::fromUtf16(kChineseWeekdays[index]);
}

int WeekdayOf(const QDate& date) {
    return date.dayOfWeek() - 1;
}

int TodayWeekday(const Clock& clock) {
    return WeekdayOf(clock.now().date());
}

YmdDate TodayYmd(const Clock& clock) {
    return DateToYmd(clock.now().date());
}

HhmmTime NowHhmm(const Clock& clock) {
    const QTime t = clock.now().time();
    return t.hour() * 100 + t.minute();
}

YmdDate DateToYmd(const QDate& date) {
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QDate YmdToDate(YmdDate ymd) {
    const int year = ymd / 10000, month = ymd / 100 % 100, day = ymd % 100;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31)
        return QDate();
    return QDate(year, month, day);
}

QString FormatClock(HhmmTime time) {
    const QString digits = QString::number(time).rightJustified(4, u'0').right(4);
    return digits.left(2) + u':' + digits.mid(2);
}

HhmmTime ParseClockText(const QString& text) {
    if (text.size() < 4)
        return 0;
    const qsizetype minutes = text[2] == u':' ? 3 : 2;
    if (text.size() < minutes + 2)
        return 0;
    QString digits = text.left(2) + text.mid(minutes, 2);
    digits.replace(u'_', u'0');
    return TextToInt(digits);
}

bool IsValidClockText(const QString& fourDigits) {
    if (fourDigits.size() < 4)
        return false;
    QString digits = fourDigits.left(4);
    digits.replace(u'_', u'0');
    return TextToInt(digits.left(2)) <= 23 && TextToInt(digits.mid(2)) < 60;
}

QString FormatDuration(HhmmssDuration duration) {
    const int hours = duration / 10000, minutes = duration / 100 % 100, seconds = duration % 100;
    if (hours > 0)
        return QString::asprintf("%02d:%02d:%02d", hours, minutes, seconds);
    return QString::asprintf("%02d:%02d", minutes, seconds);
}

HhmmssDuration ParseDuration(const QString& text) {
    QList<int> fields;
    const QChar* p = text.isEmpty() ? nullptr : text.constData();
    while (p && !p->isNull()) {
        int value = 0;
        p = ParseNumberField(p, kDurationSeparators, &value);
        fields << value;
    }
    if (fields.size() >= 3)
        return fields[0] * 10000 + fields[1] * 100 + fields[2];
    if (fields.size() == 2)
        return fields[0] * 100 + fields[1];
    // A bare number is taken as seconds.
    return fields.isEmpty() ? 0 : fields[0];
}

int DurationToMinutes(HhmmssDuration duration) {
    return duration / 10000 * 60 + duration / 100 % 100 + (duration % 100 > 0 ? 1 : 0);
}

HhmmssDuration AddDuration(HhmmssDuration duration, int clockValue, bool withSeconds,
                           const Clock& clock) {
    const QTime start = withSeconds
                            ? QTime(clockValue / 10000, clockValue / 100 % 100, clockValue % 100)
                            : QTime(clockValue / 100, clockValue % 100);
    QDateTime t(clock.now().date(), start.isValid() ? start : QTime(0, 0));
    if (duration > 0)
        t = t.addSecs(qint64(duration / 10000) * 3600 + duration / 100 % 100 * 60 + duration % 100);
    const QTime end = t.time();
    return end.hour() * 10000 + end.minute() * 100 + end.second();
}

QString FormatSchedule(YmdDate endDate, YmdDate startDate, HhmmTime startTime, HhmmTime endTime) {
    const bool hasDate = startDate > 0 || endDate > 0;
    const bool hasTime = startTime > 0 || endTime > 0;
    const QString dates = QString::asprintf("%02d/%02d/%02d/~%02d/%02d", startDate / 10000 % 100,
                                            startDate / 100 % 100, startDate % 100,
                                            endDate / 100 % 100, endDate % 100);
    const QString times = QString::asprintf("%02d:%02d~%02d:%02d", startTime / 100, startTime % 100,
                                            endTime / 100, endTime % 100);
    if (hasDate && hasTime)
        return dates + u' ' + times;
    if (hasDate)
        return dates;
    if (hasTime)
        return times;
    return QString();
}
