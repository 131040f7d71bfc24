#pragma once

#include <QString>
#include <QStringList>

// What in a plain text would make the station read a data file wrongly:
// records whose texts or paths hold '|' (every field after it would shift),
// and category file paths that no task could store. The text is read line by
// line as the station reads it. One entry per line at fault, "line N: why";
// none when the text can be packed as it stands.
QStringList PlainTextProblems(const QString& textFile, const QString& dataFileName);
