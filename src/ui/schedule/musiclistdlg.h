#pragma once

#include <QWidget>

class MusicSchedule;
class QComboBox;
class QLabel;
class QTreeView;
class TodayMusicListModel;

// Today's music: the first page of the music side. It shows the current
// task's play list with the state of every row, offers the tasks active now
// in a drop-down so that the operator can switch, and starts a row at once on
// double-click. The station's tick runs the schedule; the page only shows it.
class CMusicListDlg : public QWidget {
    Q_OBJECT

public:
    explicit CMusicListDlg(MusicSchedule& schedule, QWidget* parent = nullptr);
    ~CMusicListDlg() override;

    // What the fixed columns take together, with room for a scroll bar; the
    // name column has the rest.
    static constexpr int kFixedColumnsWidth = 285;

    MusicSchedule& schedule() const { return schedule_; }
    QTreeView* list() const { return list_; }
    TodayMusicListModel* model() const { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTask();
    void showChooser();
    void fitNameColumn();
    void playRow(const QModelIndex& index);

    MusicSchedule& schedule_;
    TodayMusicListModel* model_ = nullptr;
    QLabel* label_ = nullptr;
    QComboBox* chooser_ = nullptr;
    QLabel* hint_ = nullptr;
    QTreeView* list_ = nullptr;
};
