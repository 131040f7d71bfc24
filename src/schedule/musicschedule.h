#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <random>
#include <vector>

#include "store/records.h"

struct AppState;
class Clock;
class QDateTime;
struct TaskMoment;
class DataStore;
class Player;
class TransmitterLink;

// A task chosen in the drop-down while it was active: the next tick switches
// to it.
constexpr int kTaskSwitchRequested = 65535;

// One line of today's play list of the current task.
struct TodayMusicEntry {
    HhmmTime dueTime = 0; // 0 for background entries
    int done = 0;         // started, or already past when the list was built
    int startCount = 0;
    PlayItem* item = nullptr; // an item of the current task
    // Its minute passed without it starting; it is never due again today.
    bool missed = false;
};

// The entries one task's items give on the day of `moment`, in the order
// today's list keeps them: the background items first (they carry no time),
// then every due time of the insert-play items inside the task's window cut
// to that day's working hours, earlier first, equal times in the order they
// were made. An entry due before the moment's minute is done. It reads only
// its arguments, so an editor can show what a task not yet stored would
// play; the entries point into the task's items.
std::vector<TodayMusicEntry>
BuildMusicEntries(const MusicTask& task, const CommonSettings& settings, const QDateTime& moment);

// Today's music: which task is current, its play list for today, and what
// plays next. Run once a second by Tick (the station's tick) and, whenever the
// player is idle, by PlayNextMusic. It reads the working-hours flag and the
// login from the shared state when they matter. The views redraw from the
// list when its signals say what changed.
class MusicSchedule : public QObject {
    Q_OBJECT

public:
    MusicSchedule(DataStore& store, const Clock& clock, const AppState& state, Player& player,
                  TransmitterLink* link, QObject* parent = nullptr);

    // The first task in list order that is free of a switch request, active
    // now and, with exactStart, starts this very minute.
    MusicTask* FindDueTask(bool exactStart) const;
    // Serves a switch request or picks the due task. 1 when a task was
    // started or kept, 0 when none.
    int SelectTask(bool exactStart);
    // The one-second tick: only during working hours, with a user logged in
    // and the broadcast not paused.
    void Tick();

    // Makes the task current, builds its list, stops what plays, sends its
    // zones to the transmitter and logs the start. Playing starts later.
    void StartMusicTask(MusicTask* task);
    void ClearMusicTask();
    // No current task, a fresh drop-down and list, and every switch request
    // and play count cleared.
    void ResetMusicSchedule();
    // Every switch request and play count cleared; the current task stays.
    void ClearPlayCounts();
    void BuildTodayMusicList();
    // Starts an entry that is due this minute, or waits for a playing one. 1
    // when something was due (started or waiting), 0 when nothing was.
    int CheckDueEntry();
    // Starts entry `index`; an index outside the list only ends the current
    // entry. Without force the current entry is not started again.
    void PlayMusicEntry(int index, bool force);
    // The player is idle: a due entry, else the next background item.
    void PlayNextMusic();
    // The entry of `path` due at `dueTime`, or with dueTime <= 0 the one whose
    // due time is closest to now; -1 when there is none.
    int FindEntryByPathAndTime(const QString& path, HhmmTime dueTime) const;
    // Lists in the drop-down every task active now.
    void FillTaskChooser();
    // The operator chose a line of the drop-down.
    void ChooseTask(int line);

    MusicTask* currentTask() const { return currentTask_; }
    const std::vector<TodayMusicEntry>& TodayMusicList() const { return list_; }
    int currentEntryIndex() const { return currentEntry_; }
    // The task list sets it after it rebuilt the list of an edited task and
    // found the playing entry again.
    void setCurrentEntryIndex(int index);
    QString currentPath() const { return currentPath_; }
    HhmmTime currentDueTime() const { return currentDueTime_; }
    QString lastBackgroundPath() const { return lastBackgroundPath_; }
    int backgroundCount() const { return backgroundCount_; }
    // The tasks of the drop-down in line order, and the selected line (-1).
    const QList<MusicTask*>& chooserTasks() const { return chooser_; }
    int chooserSelection() const { return chooserSelection_; }

    // What a background row shows, e.g. "3/*" or "1/2"; what an insert-play
    // row shows, e.g. "2".
    static QString PlayCountText(const PlayItem& item);
    // Whether a row is shown as finished: a done insert-play entry, or a
    // background item played more often than it was meant to be.
    static bool IsEntryFinished(const TodayMusicEntry& entry);

signals:
    // TodayMusicList was emptied and filled again: every row anew, the label
    // and whether the task drop-down shows.
    void listRebuilt();
    // The entry changed (it stopped being current, or its due time moved).
    void entryChanged(int index);
    // The entry was started and is now the current one; its item's play
    // count changed on every row of that item.
    void entryStarted(int index);
    // The drop-down's lines or its selected line changed.
    void chooserChanged();

private:
    bool isActive(const MusicTask& task) const;
    bool isActiveAt(const MusicTask& task, const TaskMoment& moment) const;
    bool validIndex(int index) const { return index >= 0 && index < int(list_.size()); }
    void noteMissedEntries();
    void postponeBatch(int dueIndex, int seconds);
    void selectChooserLine();
    void syncChooser();
    void sendZones(const MusicTask& task);

    DataStore& store_;
    const Clock& clock_;
    const AppState& state_;
    Player& player_;
    TransmitterLink* link_;

    MusicTask* currentTask_ = nullptr;
    std::vector<TodayMusicEntry> list_;
    int currentEntry_ = -1;
    QString currentPath_;
    HhmmTime currentDueTime_ = 0;
    QString lastBackgroundPath_;
    int backgroundCount_ = 0;
    // The minute of the last look for missed entries; -1 before the first.
    HhmmTime lastMinute_ = -1;
    QList<MusicTask*> chooser_;
    int chooserSelection_ = -1;
    // The random rotation has a generator of its own, so that it neither
    // takes from nor disturbs any other user of random numbers.
    std::mt19937 random_;
};
