#include "ui/speech/speechtextbox.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

void KeepSpeechTextInStep(QPlainTextEdit* edit, int maxLength, QAbstractButton* listen,
                          const std::function<QString()>& spoken) {
    if (edit->toPlainText().size() > maxLength) {
        QTextCursor cursor(edit->document());
        cursor.setPosition(maxLength);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return;
    }
    const bool hasText = !edit->toPlainText().isEmpty();
    listen->setEnabled(hasText);
    // As plain text, so that a text holding markup shows it as typed.
    listen->setToolTip(hasText ? Qt::convertFromPlainText(spoken()) : QString());
}
