#pragma once

#include <QPixmap>
#include <QWidget>

#include "musicschedule.h"

class QComboBox;
class QLabel;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The little picture that stands in the time cell of a background row: two
// beamed notes, 16 x 16, on a transparent ground.
QPixmap MusicListBackgroundIcon();

// Today's music: the first page of the music side. It shows the current
// task's play list with the state of every row, offers the tasks active now
// in a drop-down so that the operator can switch, and starts a row at once on
// double-click. Its one-second timer runs the music schedule.
class CMusicListDlg : public QWidget, public MusicScheduleView {
    Q_OBJECT

public:
    explicit CMusicListDlg(MusicSchedule& schedule, QWidget* parent = nullptr);
    ~CMusicListDlg() override;

    // Columns of the list.
    enum Column { NumberColumn, TimeColumn, NameColumn, LengthColumn, VolumeColumn, CountColumn };
    // What the fixed columns take together, with room for a scroll bar; the
    // name column has the rest.
    static constexpr int kFixedColumnsWidth = 285;

    // The main window stops the timer before it closes for a reopen.
    void StopTimer();

    MusicSchedule& schedule() const { return schedule_; }
    QTreeWidget* list() const { return list_; }

    void musicListRebuilt() override;
    void musicEntryChanged(int index) override;
    void musicEntryStarted(int index) override;
    void taskChooserChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillRow(QTreeWidgetItem* row, int index);
    void fitNameColumn();
    void playSelectedRow();

    MusicSchedule& schedule_;
    QLabel* label_ = nullptr;
    QComboBox* chooser_ = nullptr;
    QLabel* hint_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer* timer_ = nullptr;
};
