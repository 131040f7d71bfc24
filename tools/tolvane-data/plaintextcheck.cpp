#include "plaintextcheck.h"

#include "store/datastore.h"
#include "support/textfile.h"

namespace {

// The number of '|'-separated fields each record of a data file holds. A line
// with more had a '|' inside one of its texts or paths.
int fieldCount(const QString& dataFile, const QString& line) {
    struct Format {
        const char* file;
        const char* prefix;
        int fields;
    };
    static const Format kFormats[] = {{"ttsdata.sx", "Task=", 19},   {"ttsdata.sx", "Stock=", 2},
                                      {"ttsdata.sx", "BkMusic=", 2}, {"mtskdata.sx", "Task=", 15},
                                      {"mtskdata.sx", ">", 12},      {"usrdata.sx", "User=", 3}};
    for (const Format& f : kFormats) {
        if (dataFile == QLatin1String(f.file) && line.startsWith(QLatin1String(f.prefix)))
            return f.fields;
    }
    return 0;
}

} // namespace

QStringList PlainTextProblems(const QString& textFile, const QString& dataFileName) {
    QStringList problems;
    RefPtr<ILineReader> reader;
    if (OpenLineReader(textFile, reader.put()) != kTextOk || reader->MoveFirst() != kTextOk)
        return problems; // nothing in it that could break a record
    int number = 0;
    do {
        ++number;
        QString line;
        if (reader->GetLineText(&line) < 0)
            break;
        const int fields = fieldCount(dataFileName, line);
        QString problem;
        if (fields > 0 && line.count(u'|') >= fields)
            problem = QStringLiteral("a text or path holds '|'");
        else if (dataFileName == QLatin1String("mcatdata.sx") && line.startsWith(u'>') &&
                 !IsStorablePath(line.mid(1)))
            problem = QStringLiteral("the path holds '|' or a line break");
        if (!problem.isEmpty())
            problems << QStringLiteral("line ") + QString::number(number) + QStringLiteral(": ") +
                            problem;
    } while (reader->MoveNext() == kTextOk);
    return problems;
}
