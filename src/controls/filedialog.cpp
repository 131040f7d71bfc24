#include "controls/filedialog.h"

#include <QFileDialog>
#include <QQueue>

namespace {

struct Recorder {
    QList<FileDialog::Asked> asked;
    QQueue<QStringList> answers;
};

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

// Records the dialog; true with the queued answer when a test gave one.
bool takeQueued(const FileDialog::Asked& dialog, QStringList* names) {
    Recorder& r = recorder();
    r.asked.append(dialog);
    if (r.answers.isEmpty())
        return false;
    *names = r.answers.dequeue();
    return true;
}

} // namespace

namespace FileDialog {

QString ToQtFilter(const QString& filter) {
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty())
            break;
        // Qt takes the patterns from the parentheses of the description,
        // separated by blanks; rebuild them from the pattern field.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            if (!pattern.trimmed().isEmpty())
                patterns << pattern.trimmed();
        }
        // An empty pattern list would hide every file; offer all files so
        // the operator can still choose one.
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return filters.join(QLatin1String(";;"));
}

QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter) {
    QStringList names;
    if (takeQueued(Asked{caption, dir, filter, true}, &names))
        return names;
    return QFileDialog::getOpenFileNames(parent, caption, dir, ToQtFilter(filter));
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                        const QString& filter) {
    QStringList names;
    if (takeQueued(Asked{caption, dir, filter, false}, &names))
        return names.value(0);
    return QFileDialog::getOpenFileName(parent, caption, dir, ToQtFilter(filter));
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
    QStringList names;
    if (takeQueued(Asked{caption, dir, QString(), false}, &names))
        return names.value(0);
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

void setNextFileNames(const QStringList& names) {
    recorder().answers.enqueue(names);
}

const QList<Asked>& asked() {
    return recorder().asked;
}

void clearAsked() {
    recorder().asked.clear();
    recorder().answers.clear();
}

} // namespace FileDialog
