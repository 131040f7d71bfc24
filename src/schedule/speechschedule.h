#pragma once

#include <QObject>

#include <vector>

#include "store/records.h"

struct AppState;
class Clock;
class DataStore;
class Player;
class SpeechJob;

// One due speech of today.
struct TodaySpeechEntry {
    HhmmTime dueTime = 0;
    int done = 0;               // started, or already past when the list was built
    SpeechTask* task = nullptr; // a task of the store; the list never owns it
    // Its minute passed without it starting; it is never due again today.
    bool missed = false;
};

// Today's scheduled speech: which speeches fall due today and when, and the
// one-second tick that starts each in its minute as a speech job. The views
// redraw from the list when its signals say what changed.
class SpeechSchedule : public QObject {
    Q_OBJECT

public:
    SpeechSchedule(DataStore& store, const Clock& clock, const AppState& state, Player& player,
                   SpeechJob& job, QObject* parent = nullptr);

    // Forgets the current entry and lists today's due speeches of every task
    // active today, in due-time order, inside today's working hours. Outside
    // working hours the list stays empty. Entries before this minute are done.
    void BuildTodaySpeechList();
    // The one-second tick: during working hours, with a user logged in, the
    // broadcast not paused and no entry's job running, starts the first entry
    // due this very minute.
    void Tick();
    // The running speech job has ended: its entry is no longer current.
    void EndCurrentEntry();
    // The task's name changed and nothing else that places its entries: its
    // rows are redrawn.
    void TaskRenamed(const SpeechTask* task);

    const std::vector<TodaySpeechEntry>& TodaySpeechList() const { return list_; }
    // The entry whose job runs, -1 when none.
    int currentEntryIndex() const { return currentEntry_; }

signals:
    // TodaySpeechList was emptied and filled again.
    void listRebuilt();
    // The entry's row is to be redrawn: it stopped being the current one, or
    // its task was renamed.
    void entryChanged(int index);
    // The entry was started and is the current one.
    void entryStarted(int index);

private:
    void insertEntry(HhmmTime dueTime, SpeechTask* task, HhmmTime now);
    void addTaskEntries(SpeechTask* task, HhmmTime now);
    void noteMissedEntries();

    DataStore& store_;
    const Clock& clock_;
    const AppState& state_;
    Player& player_;
    SpeechJob& job_;

    std::vector<TodaySpeechEntry> list_;
    int currentEntry_ = -1;
    // The minute of the last look for missed entries; -1 before the first.
    HhmmTime lastMinute_ = -1;
    // The task and the day and minute of the entry started last. A list
    // rebuilt in that minute (its task was edited while it speaks) counts
    // that entry as done, so the speech is not started a second time. The
    // name tells a task apart from a new one that took a deleted one's place.
    const SpeechTask* startedTask_ = nullptr;
    QString startedName_;
    YmdDate startedDay_ = 0;
    HhmmTime startedTime_ = -1;
};
