#include "support/eventlog.h"

#include <QDateTime>

#include "support/apppaths.h"
#include "support/clock.h"
#include "support/textfile.h"

namespace {

constexpr qsizetype kMaxMessageChars = 1023;

const Clock*& logClock() {
    static const Clock* clock = nullptr;
    return clock;
}

} // namespace

void SetEventLogClock(const Clock* clock) {
    logClock() = clock;
}

void LogEvent(const QString& message) {
    const QDateTime now = logClock() ? logClock()->now() : QDateTime::currentDateTime();
    const QString path = GetStationFolder() + QStringLiteral("/log/") +
                         QString::number(now.date().year()) + u'-' +
                         QString::number(now.date().month()) + QStringLiteral(".txt");
    // The writer never creates the log folder: without it the entry is dropped.
    RefPtr<IFileArchive> file;
    if (OpenTextWriter(path, file.put()) != kTextOk)
        return;
    if (file->Seek(0, kSeekEnd) != kTextOk)
        return;
    const QTime t = now.time();
    file->WriteText(QString::asprintf("%02d:%02d:%02d ", t.hour(), t.minute(), t.second()) +
                    message.left(kMaxMessageChars) + QStringLiteral("\r\n"));
}
