#pragma once

#include <QString>

#include "store/records.h"

// The playing time of a media file read from its headers, rounded to whole
// seconds; 0 when the file cannot be read. Synchronous: it neither plays the
// file nor runs the event loop, so a scheduler may call it in mid-work.
HhmmssDuration MeasureMediaLength(const QString& path);

// Whole seconds as hours * 10000 + minutes * 100 + seconds.
HhmmssDuration SecondsToDuration(qint64 seconds);
