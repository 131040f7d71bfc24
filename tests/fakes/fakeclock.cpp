#include "fakeclock.h"

void FakeClock::set(int year, int month, int day, int hour, int minute, int second) {
    current = QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
