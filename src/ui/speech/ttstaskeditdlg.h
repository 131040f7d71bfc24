#pragma once

#include <QDialog>

#include <array>
#include <memory>

#include "store/records.h"

class CPlayerWnd;
class Clock;
class DataStore;
class QCheckBox;
class QLineEdit;
class QPushButton;
class SpeechJob;
class TaskForm;
struct AppState;
struct SpeechRequest;

namespace Ui {
class CTTSTaskEditDlg;
}

// One speech task: when, how often and on which days it speaks, with which
// voice and background music, to which zones, and what. The caller hands in
// a copy of the task (none for a new one) and stores what comes back after
// confirm; the dialog itself changes nothing stored. Anybody may open it and
// listen; only an administrator may confirm. The clock gives a new task its
// dates and working hours.
class CTTSTaskEditDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 100;
    static constexpr int kMaxTextLength = 4096;
    static constexpr int kMaxInterval = 600;

    CTTSTaskEditDlg(const DataStore& store, const AppState& state, const Clock& clock,
                    CPlayerWnd& player, SpeechJob& job, const SpeechTask* existing = nullptr,
                    QWidget* parent = nullptr);
    ~CTTSTaskEditDlg() override;

    // The confirmed values; before confirm, what the dialog opened with.
    const SpeechTask& task() const { return task_; }

    // The text box's text with the variables expanded as a speech would.
    QString spokenText() const;
    // What "试听" starts a speech job from.
    SpeechRequest listenRequest() const;

public slots:
    void accept() override;

private:
    void showTask();
    void insertVariable(const QString& name);
    void importScript();
    void listen();
    void textChanged();
    bool refuse(const QString& key, QWidget* focus);

    const DataStore& store_;
    const AppState& state_;
    const Clock& clock_;
    CPlayerWnd& player_;
    SpeechJob& job_;
    std::unique_ptr<Ui::CTTSTaskEditDlg> ui_;
    std::unique_ptr<TaskForm> form_;
    SpeechTask task_;
};
