#include "station/speechtaskmodel.h"

#include "schedule/speechschedule.h"
#include "station/tasklook.h"
#include "station/todayspeechlistmodel.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"

SpeechTaskModel::SpeechTaskModel(DataStore& store, const Clock& clock, SpeechSchedule& schedule,
                                 QObject* parent)
    : QAbstractTableModel(parent), store_(store), clock_(clock), schedule_(schedule) {}

int SpeechTaskModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.speechTasks.size());
}

int SpeechTaskModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SpeechTaskModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const SpeechTask& task = *store_.speechTasks[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(index.row() + 1);
        case NameColumn:
            return task.name;
        case DateTimeColumn:
            return FormatSchedule(task.endDate, task.startDate, task.startTime, task.endTime);
        case IntervalColumn:
            return QString::number(task.interval) + u'\'';
        }
        return {};
    case Qt::TextAlignmentRole: {
        const bool centred = index.column() == DateTimeColumn || index.column() == IntervalColumn;
        return int((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? VoiceDecoration(task) : QVariant();
    case Qt::ForegroundRole:
    case Qt::FontRole:
        return TaskRowLook(task.startDate, task.endDate, task.disabled, TodayYmd(clock_), role);
    default:
        return {};
    }
}

QVariant SpeechTaskModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const keys[kColumnCount] = {"", "task_name", "datetime", "interval"};
        return section == NumberColumn ? QString() : GetUiText(QString::fromLatin1(keys[section]));
    }
    if (role == Qt::TextAlignmentRole && section >= DateTimeColumn)
        return int(Qt::AlignCenter);
    return {};
}

SpeechTask* SpeechTaskModel::taskAt(int row) const {
    return row >= 0 && row < rowCount() ? store_.speechTasks[size_t(row)].get() : nullptr;
}

int SpeechTaskModel::add(const SpeechTask& task) {
    SpeechTask enabled = task;
    enabled.disabled = 0;
    // The row is known only once the store has placed the task.
    beginResetModel();
    SpeechTask* added = nullptr;
    const int row = store_.AddSpeechTask(enabled, &added);
    endResetModel();
    if (added && IsSpeechTaskActiveToday(*added, clock_))
        schedule_.BuildTodaySpeechList();
    return row;
}

int SpeechTaskModel::update(int row, const SpeechTask& edited) {
    SpeechTask* task = taskAt(row);
    if (!task)
        return -1;
    const bool resort = edited.startDate != task->startDate || edited.endDate != task->endDate ||
                        edited.startTime != task->startTime || edited.endTime != task->endTime;
    const bool rebuild =
        resort || edited.interval != task->interval || edited.weekdays != task->weekdays;
    const bool renamed = edited.name != task->name;
    const bool wasActive = IsSpeechTaskActiveToday(*task, clock_);
    // Enabling and disabling is the list's own command, not the editor's.
    const int disabled = task->disabled;
    *task = edited;
    task->disabled = disabled;
    const bool activityChanged = IsSpeechTaskActiveToday(*task, clock_) != wasActive;

    int newRow = row;
    if (resort) {
        beginResetModel();
        newRow = store_.UpdateSpeechTask(task, true);
        endResetModel();
    } else {
        store_.UpdateSpeechTask(task, false);
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }
    // Voice, music, zones and text alone leave today's entries as they are:
    // an entry reads its task when it starts.
    if (rebuild || activityChanged)
        schedule_.BuildTodaySpeechList();
    else if (renamed)
        schedule_.TaskRenamed(task);
    return newRow;
}

void SpeechTaskModel::remove(int row) {
    SpeechTask* task = taskAt(row);
    if (!task)
        return;
    // Today's list lets go of the task before it is freed.
    const bool wasActive = IsSpeechTaskActiveToday(*task, clock_);
    task->disabled = 1;
    if (wasActive)
        schedule_.BuildTodaySpeechList();
    beginRemoveRows(QModelIndex(), row, row);
    store_.RemoveSpeechTask(task, true);
    endRemoveRows();
    renumberFrom(row);
}

void SpeechTaskModel::toggle(int row) {
    SpeechTask* task = taskAt(row);
    if (!task)
        return;
    const bool wasActive = IsSpeechTaskActiveToday(*task, clock_);
    task->disabled = task->disabled ? 0 : 1;
    store_.SaveSpeechFile();
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    if (wasActive || IsSpeechTaskActiveToday(*task, clock_))
        schedule_.BuildTodaySpeechList();
}

int SpeechTaskModel::find(YmdDate date, const QString& text) const {
    for (int row = 0; row < rowCount(); ++row) {
        const SpeechTask& task = *store_.speechTasks[size_t(row)];
        if (date > 0 && (date < task.startDate || date > task.endDate))
            continue;
        if (task.text.contains(text, Qt::CaseSensitive))
            return row;
    }
    return -1;
}

void SpeechTaskModel::renumberFrom(int row) {
    if (row < rowCount())
        emit dataChanged(index(row, NumberColumn), index(rowCount() - 1, NumberColumn));
}
