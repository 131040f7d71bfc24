#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <time.h>

// The local clock of Berlin while it lives, whose summer time begins on the
// last Sunday of March (02:00 becomes 03:00) and ends on the last Sunday of
// October (03:00 becomes 02:00 again).
struct BerlinTime {
    BerlinTime() : old(qgetenv("TZ")) {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~BerlinTime() {
        if (old.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", old);
        tzset();
    }
    BerlinTime(const BerlinTime&) = delete;
    BerlinTime& operator=(const BerlinTime&) = delete;

    const QByteArray old;
};
