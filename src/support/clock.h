#pragma once

#include <QDateTime>

// The local clock. Everything that asks for today, now or the weekday takes a
// Clock&, so that tests can run the schedules against a clock they set.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
