#pragma once

#include <QWidget>

#include <memory>

class CPlayerWnd;
class Clock;
class DataStore;
class QTreeView;
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
class CTTSTaskDlg : public QWidget {
    Q_OBJECT

public:
    CTTSTaskDlg(DataStore& store, const AppState& state, const Clock& clock, CPlayerWnd& player,
                SpeechJob& job, SpeechSchedule& schedule, QWidget* parent = nullptr);
    ~CTTSTaskDlg() override;

    // Room kept beside the columns for the list's scroll bar.
    static constexpr int kScrollBarWidth = 20;
    // Where a task's name starts, after its voice and music pictures.
    static constexpr int kNameIndent = 37;

    QTreeView* list() const;
    SpeechTaskModel* model() const { return model_; }

    // The page's commands, as its buttons and a double-click give them.
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnToggle();
    void OnSearch();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void showSelection();
    void fitNameColumn();
    bool refuseOperator();

    DataStore& store_;
    const AppState& state_;
    const Clock& clock_;
    CPlayerWnd& player_;
    SpeechJob& job_;
    std::unique_ptr<Ui::CTTSTaskDlg> ui_;
    SpeechTaskModel* model_ = nullptr;
};
