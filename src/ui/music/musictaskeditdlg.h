#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <vector>

#include "store/records.h"

class CPlayerWnd;
class Clock;
class DataStore;
class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;
class TaskForm;
struct AppState;

namespace Ui {
class CMusicTaskEditDlg;
}

// One music task: its dates, daily window, weekdays, volume, play order,
// zones and the ordered list of its files, background music that rotates and
// insert-play files due at set times. The caller hands in a copy of the task
// (none for a new one) and stores what comes back after confirm; the dialog
// itself changes nothing stored. Anybody may fill it in and listen; only an
// administrator may confirm. Below the files it shows when the insert-play
// files would play today with the times as they stand.
class CMusicTaskEditDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 100;

    CMusicTaskEditDlg(const DataStore& store, const AppState& state, const Clock& clock,
                      CPlayerWnd& player, const MusicTask* existing = nullptr,
                      QWidget* parent = nullptr);
    ~CMusicTaskEditDlg() override;

    // The confirmed values, the items in list order; before confirm, what
    // the dialog opened with.
    const MusicTask& task() const { return task_; }
    QTreeWidget* itemList() const;

public slots:
    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTask();
    void addBackground();
    void addInsertPlay();
    // Measures and adds the files of one batch; false when every file was
    // in the list already.
    bool addBatch(const QStringList& paths, const PlayItem& model);
    void editItem();
    void deleteItem();
    void moveItem(int step);
    void playItem();
    void updateButtons();
    void showPreview();

    QTreeWidgetItem* makeRow(std::unique_ptr<PlayItem> item);
    void writeRow(QTreeWidgetItem* row) const;
    PlayItem* itemAt(int row) const;
    int selectedRow() const;
    // The row other than `except` holding `path`, searching from the last
    // row up; -1 for none.
    int findPath(const QString& path, int except = -1) const;
    void selectRow(int row);
    HhmmTime timeField(bool end) const;

    const DataStore& store_;
    const AppState& state_;
    const Clock& clock_;
    CPlayerWnd& player_;
    std::unique_ptr<Ui::CMusicTaskEditDlg> ui_;
    std::unique_ptr<TaskForm> form_;
    // The rows' items; each row points at its own.
    std::vector<std::unique_ptr<PlayItem>> items_;
    MusicTask task_;
};
