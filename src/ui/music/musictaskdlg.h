#pragma once

#include <memory>

#include "ui/schedule/taskpanel.h"

class CPlayerWnd;
class DataStore;
class MusicTaskModel;
class Station;
struct AppState;

namespace Ui {
class CMusicTaskDlg;
}

// The music task page: every stored music task with its dates, times and
// volume, drawn by how it stands today; search by date and name; adding,
// editing, deleting, enabling and disabling through the task editor. Every
// change is saved at once and handed to the music schedule.
class CMusicTaskDlg : public CTaskPanel {
    Q_OBJECT

public:
    CMusicTaskDlg(DataStore& store, const AppState& state, Station& station, CPlayerWnd& player,
                  QWidget* parent = nullptr);
    ~CMusicTaskDlg() override;

    MusicTaskModel* model() const { return model_; }

    void OnAdd() override;
    void OnEdit() override;

protected:
    int disabledAt(int row) const override;
    int findTask(YmdDate date, const QString& text) const override;
    void removeTask(int row) override;
    void toggleTask(int row) override;

private:
    DataStore& store_;
    const AppState& state_;
    Station& station_;
    CPlayerWnd& player_;
    std::unique_ptr<Ui::CMusicTaskDlg> ui_;
    MusicTaskModel* model_ = nullptr;
};
