#pragma once

#include <memory>

#include "ui/schedule/taskpanel.h"

class CPlayerWnd;
class Clock;
class DataStore;
class SpeechJob;
class SpeechSchedule;
class SpeechTaskModel;
struct AppState;

namespace Ui {
class CTTSTaskDlg;
}

// The speech task page: every stored speech task with its dates, times and
// interval, drawn by how it stands today; the selected one's text below;
// search by date and text; adding, editing, deleting, enabling and disabling
// through the task editor. Every change is saved at once and today's speech
// list follows it.
class CTTSTaskDlg : public CTaskPanel {
    Q_OBJECT

public:
    CTTSTaskDlg(DataStore& store, const AppState& state, const Clock& clock, CPlayerWnd& player,
                SpeechJob& job, SpeechSchedule& schedule, QWidget* parent = nullptr);
    ~CTTSTaskDlg() override;

    // Where a task's name starts, after its voice and music pictures.
    static constexpr int kNameIndent = 37;

    SpeechTaskModel* model() const { return model_; }

    void OnAdd() override;
    void OnEdit() override;

protected:
    int disabledAt(int row) const override;
    int findTask(YmdDate date, const QString& text) const override;
    void removeTask(int row) override;
    void toggleTask(int row) override;
    void showTask(int row) override;

private:
    DataStore& store_;
    const AppState& state_;
    const Clock& clock_;
    CPlayerWnd& player_;
    SpeechJob& job_;
    std::unique_ptr<Ui::CTTSTaskDlg> ui_;
    SpeechTaskModel* model_ = nullptr;
};
