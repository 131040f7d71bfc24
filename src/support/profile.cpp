#include "support/profile.h"

#include <QFileInfo>
#include <QList>

#include "support/stringutils.h"
#include "support/textfile.h"

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs: an ideographic space at the start of a UI text is
// part of the text.
QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

enum class LineKind { Other, Section, Key };

struct ProfileLine {
    LineKind kind = LineKind::Other;
    QStringView name; // the section or the key
    QStringView value;
};

ProfileLine parseLine(QStringView line) {
    ProfileLine parsed;
    if (line.endsWith(u'\r'))
        line.chop(1);
    const QStringView text = trimBlanks(line);
    if (text.isEmpty() || text.front() == u';')
        return parsed;
    if (text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        parsed.kind = LineKind::Section;
        parsed.name = trimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
        return parsed;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return parsed;
    parsed.name = trimBlanks(text.left(equals));
    if (parsed.name.isEmpty())
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.value = text.mid(equals + 1);
    return parsed;
}

QString cleanValue(QStringView raw) {
    QStringView value = trimBlanks(raw);
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        value = value.mid(1, value.size() - 2);
    return value.toString();
}

// The names in the file are read without the blanks around them; so are the
// names asked for, or a name written with blanks could never be read back.
bool sameName(QStringView a, const QString& b) {
    return a.compare(trimBlanks(b), Qt::CaseInsensitive) == 0;
}

// Streams through the file a line at a time and stops at the key, or at the
// end of the first section of that name.
bool findValue(const QString& file, const QString& section, const QString& key, QString* value) {
    if (file.isEmpty() || section.isEmpty() || key.isEmpty())
        return false;
    RefPtr<IFileArchive> archive;
    if (OpenTextReader(file, archive.put()) < 0)
        return false;
    QString line;
    line.reserve(256);
    bool inSection = false;
    for (;;) {
        QChar c;
        const qint32 rc = archive->ReadWideChar(&c);
        if (rc == kErrWriteFailed)
            c = QChar(QChar::ReplacementCharacter);
        const bool atEnd = rc < 0 && rc != kErrWriteFailed;
        if (!atEnd && c != u'\n') {
            line.append(c);
            continue;
        }
        const ProfileLine parsed = parseLine(line);
        if (parsed.kind == LineKind::Section) {
            if (inSection)
                return false;
            inSection = sameName(parsed.name, section);
        } else if (inSection && parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            *value = cleanValue(parsed.value);
            return true;
        }
        if (atEnd)
            return false;
        line.resize(0);
    }
}

struct TextLine {
    QString text;
    QString terminator; // "\r\n", "\n", or empty for a last line without one
};

// The whole file as lines, or false when it exists but cannot be read or
// decoded. A missing file gives no lines.
bool readLines(const QString& file, QList<TextLine>* lines) {
    lines->clear();
    if (!QFileInfo::exists(file))
        return true;
    RefPtr<IFileArchive> archive;
    if (OpenTextReader(file, archive.put()) < 0)
        return false;
    TextLine current;
    for (;;) {
        QChar c;
        const qint32 rc = archive->ReadWideChar(&c);
        if (rc == kErrEndOfData)
            break;
        if (rc < 0)
            return false;
        if (c != u'\n') {
            current.text.append(c);
            continue;
        }
        if (current.text.endsWith(u'\r')) {
            current.text.chop(1);
            current.terminator = QStringLiteral("\r\n");
        } else {
            current.terminator = QStringLiteral("\n");
        }
        lines->append(current);
        current = TextLine();
    }
    if (!current.text.isEmpty())
        lines->append(current);
    return true;
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace

QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
    QString value;
    return findValue(file, section, key, &value) ? value : defaultValue;
}

int ReadProfileInt(const QString& file, const QString& section, const QString& key,
                   int defaultValue) {
    QString value;
    return findValue(file, section, key, &value) ? TextToInt(value) : defaultValue;
}

bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    // A line break would let a value add lines of its own to the file.
    if (file.isEmpty() || section.isEmpty() || key.isEmpty() || hasLineBreak(section) ||
        hasLineBreak(key) || hasLineBreak(value) || section.contains(u']') || key.contains(u'=') ||
        trimBlanks(key).isEmpty() || trimBlanks(key).startsWith(u';') ||
        trimBlanks(key).startsWith(u'[') || trimBlanks(section).isEmpty())
        return false;

    QList<TextLine> lines;
    if (!readLines(file, &lines))
        return false;

    qsizetype sectionLine = -1;
    qsizetype keyLine = -1;
    qsizetype lastContentLine = -1;
    bool scanning = true; // until the key or the end of the first matching section
    QString newline = QStringLiteral("\r\n");
    bool newlineKnown = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!newlineKnown && !lines[i].terminator.isEmpty()) {
            newline = lines[i].terminator;
            newlineKnown = true;
        }
        if (!scanning)
            continue;
        const ProfileLine parsed = parseLine(lines[i].text);
        if (parsed.kind == LineKind::Section) {
            if (sectionLine >= 0)
                scanning = false;
            else if (sameName(parsed.name, section))
                sectionLine = lastContentLine = i;
        } else if (sectionLine >= 0) {
            if (parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
                // The file's own spelling of the key stays.
                lines[i].text = parsed.name.toString() + u'=' + value;
                keyLine = i;
                scanning = false;
            } else if (!trimBlanks(lines[i].text).isEmpty()) {
                lastContentLine = i;
            }
        }
    }

    const QString entry = trimBlanks(key).toString() + u'=' + value;
    if (keyLine < 0 && sectionLine >= 0) {
        // After the section's last line, before the blank lines that part it
        // from the next one.
        TextLine& previous = lines[lastContentLine];
        if (previous.terminator.isEmpty())
            previous.terminator = newline;
        lines.insert(lastContentLine + 1, TextLine{entry, newline});
    } else if (sectionLine < 0) {
        if (!lines.isEmpty() && lines.last().terminator.isEmpty())
            lines.last().terminator = newline;
        lines.append(TextLine{u'[' + trimBlanks(section).toString() + u']', newline});
        lines.append(TextLine{entry, newline});
    }

    QString text;
    for (const TextLine& line : std::as_const(lines))
        text += line.text + line.terminator;

    RefPtr<IFileArchive> writer;
    if (OpenTextWriter(file, writer.put()) < 0)
        return false;
    return writer->WriteText(text) >= 0 && writer->FlushAndCut() >= 0;
}
