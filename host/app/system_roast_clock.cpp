#include "system_roast_clock.h"

#include <QDateTime>

LocalDateTime SystemRoastClock::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    LocalDateTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.utc_offset_minutes = now.offsetFromUtc() / 60;
    return t;
}
