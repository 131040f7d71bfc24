#include "schedule/musicschedule.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>

#include "media/player.h"
#include "schedule/dayclock.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/clock.h"
#include "support/eventlog.h"
#include "support/stringutils.h"
#include "transmitter/transmitterlink.h"

namespace {

// The list grows in whole blocks, so that a day's entries rarely move.
constexpr size_t kListBlock = 256;

// The task's daily window cut to today's working hours.
DailyWindow EffectiveWindow(const MusicTask& task, const CommonSettings& settings, int weekday) {
    return CutToWorkingHours(task.startTime, task.endTime, settings, weekday);
}

HhmmTime ToHhmm(const QTime& t) {
    return t.hour() * 100 + t.minute();
}

QTime FromHhmm(HhmmTime t) {
    return QTime(t / 100, t % 100);
}

// After every entry due at the same time or earlier: equal times keep the
// order in which they were made.
void InsertEntry(std::vector<TodayMusicEntry>& list, HhmmTime dueTime, PlayItem* item,
                 HhmmTime now) {
    TodayMusicEntry entry;
    entry.dueTime = dueTime;
    entry.done = dueTime < now ? 1 : 0;
    entry.item = item;
    if (list.size() == list.capacity())
        list.reserve(list.size() + kListBlock);
    const auto at = std::upper_bound(
        list.begin(), list.end(), dueTime,
        [](HhmmTime t, const TodayMusicEntry& other) { return t < other.dueTime; });
    list.insert(at, entry);
}

} // namespace

std::vector<TodayMusicEntry>
BuildMusicEntries(const MusicTask& task, const CommonSettings& settings, const QDateTime& moment) {
    std::vector<TodayMusicEntry> list;
    const QDate today = moment.date();
    const HhmmTime now = ToHhmm(moment.time());
    const DailyWindow window = EffectiveWindow(task, settings, WeekdayOf(today));

    for (const auto& item : task.items) {
        if (item->kind == PlayItem::Background)
            InsertEntry(list, 0, item.get(), now);
    }
    for (const auto& itemPtr : task.items) {
        PlayItem* item = itemPtr.get();
        if (item->kind != PlayItem::InsertPlay)
            continue;
        if (item->timeMode == PlayItem::TimePoints) {
            for (const HhmmTime point : item->timePoints) {
                if (point <= 0)
                    break;
                if (window.contains(point))
                    InsertEntry(list, point, item, now);
            }
            continue;
        }
        if (window.contains(item->rangeStart))
            InsertEntry(list, item->rangeStart, item, now);
        const QTime start = FromHhmm(item->rangeStart);
        if (item->interval < 1 || !start.isValid())
            continue;
        // Step on the calendar day, so that a range reaching midnight stops
        // there instead of wrapping to the small hours. The hour the clock
        // repeats when summer time ends is stepped through twice; each clock
        // time is due once.
        QDateTime t = MomentOnDay(today, start);
        HhmmTime last = item->rangeStart;
        for (;;) {
            t = t.addSecs(qint64(item->interval) * 60);
            const HhmmTime h = ToHhmm(t.time());
            if (h > item->rangeEnd || h > task.endTime || t.date() != today)
                break;
            if (h <= last)
                continue;
            last = h;
            if (window.contains(h))
                InsertEntry(list, h, item, now);
        }
    }
    return list;
}

MusicSchedule::MusicSchedule(DataStore& store, const Clock& clock, const AppState& state,
                             Player& player, TransmitterLink* link, QObject* parent)
    : QObject(parent), store_(store), clock_(clock), state_(state), player_(player), link_(link) {}

bool MusicSchedule::isActive(const MusicTask& task) const {
    return IsMusicTaskActiveNow(task, store_.settings, clock_);
}

// Reading the clock costs far more than checking a task: a look over every
// task takes the moment once.
bool MusicSchedule::isActiveAt(const MusicTask& task, const TaskMoment& moment) const {
    return IsMusicTaskActiveAt(task, store_.settings, moment);
}

MusicTask* MusicSchedule::FindDueTask(bool exactStart) const {
    const TaskMoment moment = TaskMomentOf(clock_.now());
    const HhmmTime now = moment.minute;
    for (const auto& task : store_.musicTasks) {
        if (task->runState != 0 || !isActiveAt(*task, moment))
            continue;
        // The exact start looks at the task's own start, not the one cut to
        // the working hours: a task that begins before work is picked up by
        // the first-active path instead.
        const bool due =
            exactStart ? task->startTime == now : task->startTime <= now && now <= task->endTime;
        if (due)
            return task.get();
    }
    return nullptr;
}

int MusicSchedule::SelectTask(bool exactStart) {
    MusicTask* candidate = nullptr;
    for (const auto& task : store_.musicTasks) {
        if (task->runState == kTaskSwitchRequested) {
            task->runState = 0;
            candidate = task.get();
            break;
        }
    }
    if (!candidate)
        candidate = FindDueTask(exactStart);
    if (!candidate)
        return 0;
    if (exactStart) {
        if (candidate != currentTask_)
            StartMusicTask(candidate);
        return 1;
    }
    if (candidate == currentTask_)
        return 0;
    StartMusicTask(candidate);
    return 1;
}

void MusicSchedule::Tick() {
    noteMissedEntries();
    if (!state_.workingNow || !state_.loggedIn() || player_.paused())
        return;
    if (currentTask_) {
        // A task removed behind the schedule's back is forgotten unread.
        const bool stillStored =
            std::any_of(store_.musicTasks.begin(), store_.musicTasks.end(),
                        [this](const auto& task) { return task.get() == currentTask_; });
        if (!stillStored) {
            currentTask_ = nullptr;
            BuildTodayMusicList();
            player_.StopPlayback();
        }
    }
    if (currentTask_ && !isActive(*currentTask_))
        ClearMusicTask();
    const int r = SelectTask(true);
    if (r == 0 && !currentTask_)
        SelectTask(false);
    CheckDueEntry();
    syncChooser();
}

void MusicSchedule::sendZones(const MusicTask& task) {
    if (!link_ || !link_->info().partitionSupport)
        return;
    // The group check boxes only help the editor; the masks are what counts.
    // Without a port the link sends nothing; a refused field is reported by
    // the link itself.
    TransmitterStatus zones = link_->status();
    zones.partitionA = task.zones1;
    zones.partitionB = task.zones2;
    zones.partitionC = task.zones3;
    link_->ApplyFromUi(zones, kSetPartitions);
}

void MusicSchedule::StartMusicTask(MusicTask* task) {
    if (!task || task == currentTask_ || task->disabled)
        return;
    currentTask_ = task;
    BuildTodayMusicList();
    player_.StopPlayback();
    selectChooserLine();
    sendZones(*task);
    LogEvent(QStringLiteral("Start play task: ") + task->name);
}

void MusicSchedule::ClearMusicTask() {
    if (!currentTask_)
        return;
    currentTask_ = nullptr;
    BuildTodayMusicList();
    player_.StopPlayback();
}

void MusicSchedule::ResetMusicSchedule() {
    currentTask_ = nullptr;
    // Counts first, so that the rows are drawn with them.
    ClearPlayCounts();
    FillTaskChooser();
    BuildTodayMusicList();
}

void MusicSchedule::ClearPlayCounts() {
    for (const auto& task : store_.musicTasks) {
        task->runState = 0;
        for (const auto& item : task->items)
            item->playedCount = 0;
    }
}

// A timed entry that could not start in its minute (paused, logged out,
// waiting behind a file that played on, a minute the clock skipped) is never
// due again that day; the operator reads in the log which ones went unheard.
// The clock going back, at the end of summer time or at midnight, leaves the
// last minute too.
void MusicSchedule::noteMissedEntries() {
    const HhmmTime now = NowHhmm(clock_);
    if (now == lastMinute_)
        return; // nothing turns missed within a minute: this runs every tick
    for (TodayMusicEntry& entry : list_) {
        if (!entry.item || entry.item->kind == PlayItem::Background || entry.done || entry.missed)
            continue;
        if (entry.dueTime < now || (entry.dueTime == lastMinute_ && now != lastMinute_)) {
            entry.missed = true;
            LogEvent(QStringLiteral("Missed: ") + FileNamePart(entry.item->path) +
                     QStringLiteral(" (") + FormatClock(entry.dueTime) + QLatin1Char(')'));
        }
    }
    lastMinute_ = now;
}

void MusicSchedule::BuildTodayMusicList() {
    noteMissedEntries();
    backgroundCount_ = 0;
    // The entries the index pointed into are gone. The current path and due
    // time stay, so that the task list can find the playing entry again.
    currentEntry_ = -1;
    if (currentTask_) {
        list_ = BuildMusicEntries(*currentTask_, store_.settings, clock_.now());
        backgroundCount_ = int(std::count_if(list_.begin(), list_.end(), [](const auto& entry) {
            return entry.item->kind == PlayItem::Background;
        }));
    } else {
        list_.clear();
    }
    emit listRebuilt();
    emit chooserChanged();
}

void MusicSchedule::postponeBatch(int dueIndex, int seconds) {
    const PlayItem* due = list_[size_t(dueIndex)].item;
    const QDate today = clock_.now().date();
    // The due file and the files after it in its batch, each at its next
    // entry; later rounds of the batch keep their own times.
    QList<const PlayItem*> moved;
    for (int i = dueIndex; i < int(list_.size()); ++i) {
        TodayMusicEntry& entry = list_[size_t(i)];
        if (!entry.item || entry.done || entry.item->batchKey != due->batchKey)
            continue;
        if (i != dueIndex &&
            (entry.item->batchIndex <= due->batchIndex || moved.contains(entry.item)))
            continue;
        moved << entry.item;
        const QDateTime later = MomentOnDay(today, FromHhmm(entry.dueTime)).addSecs(seconds);
        entry.dueTime = ToHhmm(later.time());
        emit entryChanged(i);
    }
}

int MusicSchedule::CheckDueEntry() {
    if (!currentTask_)
        return 0;

    const bool playing = validIndex(currentEntry_) && list_[size_t(currentEntry_)].item;
    bool playingInsert = false;
    HhmmTime playingDue = 0;
    int playingBatch = 0;
    if (playing) {
        const TodayMusicEntry& current = list_[size_t(currentEntry_)];
        playingInsert = current.item->kind != PlayItem::Background;
        if (playingInsert) {
            playingDue = current.dueTime;
            playingBatch = current.item->batchKey;
        }
    }

    const QDateTime moment = clock_.now();
    const HhmmTime now = ToHhmm(moment.time());
    int due = -1;
    for (int i = 0; i < int(list_.size()); ++i) {
        const TodayMusicEntry& entry = list_[size_t(i)];
        // Background entries carry no time: 0 is not midnight.
        if (entry.item && entry.item->kind != PlayItem::Background && !entry.done &&
            !entry.missed && entry.dueTime == now) {
            due = i;
            break;
        }
    }
    if (due < 0)
        return 0;
    if (due == currentEntry_)
        return 1;

    if (playingInsert) {
        const int remaining = (player_.GetMediaDuration() - player_.GetPlayPosition()) / 100;
        const int second = moment.time().second();
        const TodayMusicEntry& entry = list_[size_t(due)];
        if (entry.item->batchIndex == 0) {
            // The playing file ends before second 10 of this minute: let it.
            if (remaining + second < 10)
                return 1;
        } else {
            // A follow-on file of a batch never cuts its predecessor short.
            if (entry.dueTime == playingDue)
                return 1;
            if (remaining + second < 50)
                return 1;
            if (entry.item->batchKey == playingBatch && remaining > 0) {
                postponeBatch(due, remaining);
                return 1;
            }
        }
    }
    PlayMusicEntry(due, false);
    return 1;
}

void MusicSchedule::PlayMusicEntry(int index, bool force) {
    if (!force && index == currentEntry_)
        return;
    const int previous = currentEntry_;
    if (!validIndex(index)) {
        currentDueTime_ = 0;
        currentPath_.clear();
        currentEntry_ = -1;
        if (validIndex(previous))
            emit entryChanged(previous);
        return;
    }
    TodayMusicEntry& entry = list_[size_t(index)];
    PlayItem* item = entry.item;
    if (!item)
        return;
    ++entry.startCount;
    entry.done = 1;
    ++item->playedCount;
    currentDueTime_ = entry.dueTime;
    currentPath_ = item->path;
    if (item->kind == PlayItem::Background)
        lastBackgroundPath_ = item->path;

    player_.PlayMusicItem(item, true);

    currentEntry_ = index;
    if (validIndex(previous) && previous != index)
        emit entryChanged(previous);
    emit entryStarted(index);
    LogEvent(QStringLiteral("Playing: ") + FileNamePart(item->path));
}

void MusicSchedule::PlayNextMusic() {
    PlayMusicEntry(-1, false);
    if (!state_.workingNow || !currentTask_ || list_.empty())
        return;
    if (CheckDueEntry() == 1)
        return;
    if (backgroundCount_ == 0)
        return;

    const auto eligible = [](const TodayMusicEntry& entry) {
        const PlayItem* item = entry.item;
        return item && item->kind == PlayItem::Background &&
               (item->playCount == kUnlimitedPlays || item->playCount > item->playedCount);
    };
    // Nothing left to play in the rotation: stay silent until a timed entry
    // falls due or the list is built again.
    if (std::none_of(list_.begin(), list_.end(), eligible))
        return;

    const int size = int(list_.size());
    int i = -1;
    if (!lastBackgroundPath_.isEmpty()) {
        for (int k = 0; k < size; ++k) {
            const PlayItem* item = list_[size_t(k)].item;
            if (item && item->kind == PlayItem::Background &&
                PathsEqual(item->path, lastBackgroundPath_)) {
                i = k;
                break;
            }
        }
    }
    int n = 1;
    if (currentTask_->playOrder != 0) {
        random_.seed(std::mt19937::result_type(clock_.now().toSecsSinceEpoch()));
        n = int(random_() % unsigned(backgroundCount_)) + 1;
    }
    for (;;) {
        i = (i + 1) % size;
        if (eligible(list_[size_t(i)]) && --n == 0)
            break;
    }
    PlayMusicEntry(i, true);
}

int MusicSchedule::FindEntryByPathAndTime(const QString& path, HhmmTime dueTime) const {
    if (!currentTask_ || path.isEmpty())
        return -1;
    const int size = int(list_.size());
    if (dueTime > 0) {
        for (int i = 0; i < size; ++i) {
            const TodayMusicEntry& entry = list_[size_t(i)];
            if (entry.dueTime == dueTime && entry.item && PathsEqual(entry.item->path, path))
                return i;
        }
        return -1;
    }
    const HhmmTime now = NowHhmm(clock_);
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < size; ++i) {
        const TodayMusicEntry& entry = list_[size_t(i)];
        if (!entry.item || !PathsEqual(entry.item->path, path))
            continue;
        const int distance = std::abs(entry.dueTime - now);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void MusicSchedule::setCurrentEntryIndex(int index) {
    const int previous = currentEntry_;
    currentEntry_ = validIndex(index) ? index : -1;
    if (validIndex(previous) && previous != currentEntry_)
        emit entryChanged(previous);
    if (validIndex(currentEntry_))
        emit entryChanged(currentEntry_);
}

void MusicSchedule::selectChooserLine() {
    chooserSelection_ = currentTask_ ? int(chooser_.indexOf(currentTask_)) : -1;
    emit chooserChanged();
}

void MusicSchedule::FillTaskChooser() {
    chooser_.clear();
    const TaskMoment moment = TaskMomentOf(clock_.now());
    for (const auto& task : store_.musicTasks) {
        if (isActiveAt(*task, moment))
            chooser_ << task.get();
    }
    selectChooserLine();
}

void MusicSchedule::syncChooser() {
    // Tasks that ended leave the drop-down, and tasks whose window has begun
    // join it, so that the task that plays can always be seen and chosen.
    QList<MusicTask*> active;
    const TaskMoment moment = TaskMomentOf(clock_.now());
    for (const auto& task : store_.musicTasks) {
        if (isActiveAt(*task, moment))
            active << task.get();
    }
    if (active == chooser_)
        return;
    chooser_ = active;
    selectChooserLine();
}

void MusicSchedule::ChooseTask(int line) {
    if (line < 0 || line >= chooser_.size())
        return;
    MusicTask* task = chooser_[line];
    const bool stillStored =
        std::any_of(store_.musicTasks.begin(), store_.musicTasks.end(),
                    [task](const auto& stored) { return stored.get() == task; });
    if (stillStored && isActive(*task))
        task->runState = kTaskSwitchRequested;
}

QString MusicSchedule::PlayCountText(const PlayItem& item) {
    if (item.kind != PlayItem::Background)
        return QString::number(item.playedCount);
    if (item.playCount == kUnlimitedPlays)
        return QStringLiteral("%1/*").arg(item.playedCount);
    return QString::number(item.playedCount) + u'/' + QString::number(item.playCount);
}

bool MusicSchedule::IsEntryFinished(const TodayMusicEntry& entry) {
    const PlayItem* item = entry.item;
    if (!item)
        return false;
    if (item->kind != PlayItem::Background)
        return entry.done != 0;
    return item->playCount != kUnlimitedPlays && item->playedCount > item->playCount;
}
