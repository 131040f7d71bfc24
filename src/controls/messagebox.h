#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

// Some platform headers define MessageBox as a macro.
#ifdef MessageBox
#undef MessageBox
#endif

// Every message box of the program goes through here, so that tests can
// answer boxes in advance and check which UI text was shown and how. The
// caller passes the UI text key and the text already looked up for it.
// Return values are QMessageBox::StandardButton values.
namespace MessageBox {

enum class Icon { Information, Exclamation, Warning, Question };

// One box as it was shown (or answered in advance).
struct Shown {
    QString key;
    Icon icon;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// The general box; the others are the program's usual kinds.
int show(QWidget* parent, const QString& key, const QString& text, Icon icon,
         QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A refusal or notice: exclamation icon and OK.
int showNotice(QWidget* parent, const QString& key, const QString& text);
// A failure worth a warning: warning icon and OK.
int showWarning(QWidget* parent, const QString& key, const QString& text);
// A question before deleting (or anything else that only Yes may continue):
// warning icon with Yes, No and Cancel.
int askDelete(QWidget* parent, const QString& key, const QString& text);
// A question answered with OK or Cancel, such as the exit question.
int askOkCancel(QWidget* parent, const QString& key, const QString& text);

// For tests: the next box is not shown and returns `answer` instead. Several
// calls queue answers for the boxes that follow, in order.
void setNextAnswer(int answer);
// For tests: when no answer is queued, boxes return `answer` instead of
// being shown; -1 (the start value) shows them again.
void setDefaultAnswer(int answer);

// Every box since the last clearShown, oldest first.
const QList<Shown>& shown();
// Forgets the recorded boxes, the queued answers and the default answer.
void clearShown();

} // namespace MessageBox
