#include "media/medialength.h"

#include <QFile>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>

HhmmssDuration SecondsToDuration(qint64 seconds) {
    if (seconds <= 0)
        return 0;
    return HhmmssDuration(seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60);
}

HhmmssDuration MeasureMediaLength(const QString& path) {
    if (path.isEmpty())
        return 0;
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileRef file(name.constData(), true, TagLib::AudioProperties::Average);
    if (file.isNull() || !file.audioProperties())
        return 0;
    const qint64 ms = file.audioProperties()->lengthInMilliseconds();
    return SecondsToDuration((ms + 500) / 1000);
}
