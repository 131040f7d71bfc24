#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every file dialog of the program goes through here, so that tests can
// choose files in advance. Filters may be given in Qt's form
// ("Music (*.mp3 *.wav);;All (*)") or in the classic form of pairs ending in
// "||" ("Music(*.mp3; *.wav)|*.mp3; *.wav||"), which is converted.
namespace FileDialog {

// The classic "description|patterns|...||" filter in Qt's form; a filter
// without "|" is returned unchanged. An empty pattern list becomes "*".
QString ToQtFilter(const QString& filter);

// Several existing files; empty when cancelled.
QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter);
// One existing file; empty when cancelled.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                        const QString& filter);
// One existing folder; empty when cancelled. A test's queued answer gives
// the folder as the first name.
QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

// For tests: the next dialog is not shown and returns `names` instead (the
// single-file dialog takes the first). Several calls queue answers in order;
// an empty list answers as a cancelled dialog.
void setNextFileNames(const QStringList& names);

// One dialog as it was asked for.
struct Asked {
    QString caption;
    QString dir;
    QString filter;
    bool multiple;
};
// Every dialog since the last clearAsked, oldest first.
const QList<Asked>& asked();
// Forgets the recorded dialogs and the queued answers.
void clearAsked();

} // namespace FileDialog
