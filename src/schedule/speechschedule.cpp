#include "schedule/speechschedule.h"

#include <QDateTime>

#include "media/player.h"
#include "schedule/dayclock.h"
#include "schedule/speechjob.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/clock.h"
#include "support/eventlog.h"

namespace {

// The list grows in whole blocks, so that a day's entries rarely move.
constexpr size_t kListBlock = 256;

// The task's daily window cut to today's working hours.
DailyWindow EffectiveWindow(const SpeechTask& task, const CommonSettings& settings, int weekday) {
    return CutToWorkingHours(task.startTime, task.endTime, settings, weekday);
}

} // namespace

SpeechSchedule::SpeechSchedule(DataStore& store, const Clock& clock, const AppState& state,
                               Player& player, SpeechJob& job, QObject* parent)
    : QObject(parent), store_(store), clock_(clock), state_(state), player_(player), job_(job) {}

void SpeechSchedule::insertEntry(HhmmTime dueTime, SpeechTask* task, HhmmTime now) {
    // Before the first entry that is due at the same time or later: of two
    // tasks due together, the later one in stored order stands first.
    size_t at = 0;
    while (at < list_.size() && list_[at].dueTime < dueTime)
        ++at;
    if (list_.size() == list_.capacity())
        list_.reserve(list_.capacity() + kListBlock);
    const bool started = task == startedTask_ && dueTime == startedTime_ &&
                         startedDay_ == TodayYmd(clock_) && task->name == startedName_;
    list_.insert(list_.begin() + std::ptrdiff_t(at),
                 TodaySpeechEntry{dueTime, dueTime < now || started ? 1 : 0, task, false});
}

void SpeechSchedule::addTaskEntries(SpeechTask* task, HhmmTime now) {
    const QDateTime today = clock_.now();
    const DailyWindow window = EffectiveWindow(*task, store_.settings, TodayWeekday(clock_));
    if (window.contains(task->startTime))
        insertEntry(task->startTime, task, now);
    if (task->interval <= 0)
        return;

    // The series steps on the clock of today and is bounded by the task's own
    // end, not by the working hours; a step into tomorrow ends it. The hour
    // the clock repeats when summer time ends is stepped through twice; each
    // clock time is due once.
    const QTime start(task->startTime / 100, task->startTime % 100);
    if (!start.isValid())
        return;
    QDateTime t = MomentOnDay(today.date(), start);
    HhmmTime last = task->startTime;
    const qint64 step = qint64(task->interval) * 60;
    for (;;) {
        t = t.addSecs(step);
        if (!t.isValid() || t.date() != today.date())
            break;
        const HhmmTime h = t.time().hour() * 100 + t.time().minute();
        if (h > task->endTime)
            break;
        if (h <= last)
            continue;
        last = h;
        if (window.contains(h))
            insertEntry(h, task, now);
    }
}

// An entry that could not start in its minute (another speech still running,
// paused, logged out, a minute the clock skipped) is never due again that
// day; the operator reads in the log which ones went unheard. The clock going
// back, at the end of summer time or at midnight, leaves the last minute too.
void SpeechSchedule::noteMissedEntries() {
    const HhmmTime now = NowHhmm(clock_);
    if (now == lastMinute_)
        return; // nothing turns missed within a minute: this runs every tick
    for (TodaySpeechEntry& entry : list_) {
        if (!entry.task || entry.done || entry.missed)
            continue;
        if (entry.dueTime < now || (entry.dueTime == lastMinute_ && now != lastMinute_)) {
            entry.missed = true;
            LogEvent(QStringLiteral("Missed: ") + entry.task->name + QStringLiteral(" (") +
                     FormatClock(entry.dueTime) + QLatin1Char(')'));
        }
    }
    lastMinute_ = now;
}

void SpeechSchedule::BuildTodaySpeechList() {
    noteMissedEntries();
    currentEntry_ = -1;
    list_.clear();
    if (state_.workingNow) {
        const HhmmTime now = NowHhmm(clock_);
        for (const auto& task : store_.speechTasks) {
            if (IsSpeechTaskActiveToday(*task, clock_))
                addTaskEntries(task.get(), now);
        }
    }
    emit listRebuilt();
}

void SpeechSchedule::Tick() {
    noteMissedEntries();
    if (!state_.workingNow || !state_.loggedIn() || player_.paused() || currentEntry_ != -1)
        return;
    const HhmmTime now = NowHhmm(clock_);
    for (size_t i = 0; i < list_.size(); ++i) {
        TodaySpeechEntry& entry = list_[i];
        if (entry.done || entry.missed || entry.dueTime != now)
            continue;
        currentEntry_ = int(i);
        entry.done = 1;
        startedTask_ = entry.task;
        startedName_ = entry.task->name;
        startedDay_ = TodayYmd(clock_);
        startedTime_ = now;
        emit entryStarted(currentEntry_);
        // The entry is current before the job starts: a job that cannot
        // speak ends at once and lets go of it again.
        const SpeechRequest request = SpeechRequest::FromTask(*entry.task);
        job_.StartSpeechJob(&request, true);
        return;
    }
}

void SpeechSchedule::TaskRenamed(const SpeechTask* task) {
    for (size_t i = 0; i < list_.size(); ++i) {
        if (list_[i].task == task)
            emit entryChanged(int(i));
    }
}

void SpeechSchedule::EndCurrentEntry() {
    if (currentEntry_ < 0 || currentEntry_ >= int(list_.size()))
        return;
    const int ended = currentEntry_;
    currentEntry_ = -1;
    emit entryChanged(ended);
}
