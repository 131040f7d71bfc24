#pragma once

#include "support/clock.h"

// A clock that stands still until the test sets or advances it.
class FakeClock : public Clock {
public:
    explicit FakeClock(const QDateTime& start = QDateTime(QDate(2026, 3, 2), QTime(8, 0)))
        : current(start) {}
    QDateTime now() const override { return current; }
    void set(const QDateTime& t) { current = t; }
    void set(int year, int month, int day, int hour, int minute, int second = 0);
    void advance(qint64 seconds) { current = current.addSecs(seconds); }

private:
    QDateTime current;
};
