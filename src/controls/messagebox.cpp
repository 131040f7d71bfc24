#include "controls/messagebox.h"

#include <QApplication>
#include <QQueue>

namespace {

struct Recorder {
    QList<MessageBox::Shown> shown;
    QQueue<int> answers;
    int defaultAnswer = -1;
};

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

QMessageBox::Icon platformIcon(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Exclamation:
    case MessageBox::Icon::Warning:
        // Qt has one icon for both exclamation and warning.
        return QMessageBox::Warning;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

namespace MessageBox {

int show(QWidget* parent, const QString& key, const QString& text, Icon icon,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    Recorder& r = recorder();
    r.shown.append(Shown{key, icon, text, buttons});
    if (!r.answers.isEmpty())
        return r.answers.dequeue();
    if (r.defaultAnswer != -1)
        return r.defaultAnswer;

    QMessageBox box(platformIcon(icon), QGuiApplication::applicationDisplayName(), text, buttons,
                    parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return box.exec();
}

int showNotice(QWidget* parent, const QString& key, const QString& text) {
    return show(parent, key, text, Icon::Exclamation, QMessageBox::Ok);
}

int showWarning(QWidget* parent, const QString& key, const QString& text) {
    return show(parent, key, text, Icon::Warning, QMessageBox::Ok);
}

int askDelete(QWidget* parent, const QString& key, const QString& text) {
    return show(parent, key, text, Icon::Warning,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

int askOkCancel(QWidget* parent, const QString& key, const QString& text) {
    return show(parent, key, text, Icon::Question, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok);
}

void setNextAnswer(int answer) {
    recorder().answers.enqueue(answer);
}

void setDefaultAnswer(int answer) {
    recorder().defaultAnswer = answer;
}

const QList<Shown>& shown() {
    return recorder().shown;
}

void clearShown() {
    Recorder& r = recorder();
    r.shown.clear();
    r.answers.clear();
    r.defaultAnswer = -1;
}

} // namespace MessageBox
