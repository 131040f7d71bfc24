#pragma once

// Answers the modal dialogs a command opens, the way a person at the desk
// would: each dialog that comes up gets the next answer, which fills it in and
// presses its buttons. A dialog still open after its answer (a refused
// confirm) is cancelled; one without an answer left is cancelled at once.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

class ModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QDialog&)>;

    explicit ModalAnswerer(QList<Answer> answers = {}) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }

    void add(const Answer& answer) { answers_ << answer; }

    // Presses the dialog's button of that object name.
    static void press(QDialog& dialog, const char* button) {
        if (auto* b = dialog.findChild<QPushButton*>(QLatin1String(button)))
            b->click();
    }

    int opened = 0;

private:
    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || handled_.contains(dialog))
            return;
        handled_ << dialog;
        ++opened;
        if (!answers_.isEmpty())
            answers_.takeFirst()(*dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    }

    QList<Answer> answers_;
    QTimer timer_;
    QList<QPointer<QDialog>> handled_;
};
