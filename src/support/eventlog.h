#pragma once

#include <QString>

class Clock;

// Appends one entry, "hh:mm:ss " plus the message (at most 1023 characters)
// and CR LF, to "<program folder>/log/<year>-<month>.txt". Entries are dropped
// silently when the log folder is missing or the file cannot be opened.
// Callers with values format the message with FormatText first.
void LogEvent(const QString& message);

// The clock whose time stamps the entries; null means the system clock.
void SetEventLogClock(const Clock* clock);
