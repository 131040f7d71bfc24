#include "station/musictaskmodel.h"

#include "schedule/musicschedule.h"
#include "station/station.h"
#include "station/tasklook.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"

MusicTaskModel::MusicTaskModel(DataStore& store, Station& station, QObject* parent)
    : QAbstractTableModel(parent), store_(store), station_(station) {}

int MusicTaskModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.musicTasks.size());
}

int MusicTaskModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MusicTaskModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const MusicTask& task = *store_.musicTasks[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(index.row() + 1);
        case NameColumn:
            return task.name;
        case DateTimeColumn:
            return FormatSchedule(task.endDate, task.startDate, task.startTime, task.endTime);
        case VolumeColumn:
            return QString::number(task.volume);
        }
        return {};
    case Qt::TextAlignmentRole:
        return int((index.column() == VolumeColumn ? Qt::AlignHCenter : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    case Qt::ForegroundRole:
    case Qt::FontRole:
        return TaskRowLook(task.startDate, task.endDate, task.disabled, TodayYmd(station_.clock()),
                           role);
    default:
        return {};
    }
}

QVariant MusicTaskModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const keys[kColumnCount] = {"", "task_name", "datetime", "volumn"};
        return section == NumberColumn ? QString() : GetUiText(QString::fromLatin1(keys[section]));
    }
    if (role == Qt::TextAlignmentRole && section == VolumeColumn)
        return int(Qt::AlignCenter);
    return {};
}

MusicTask* MusicTaskModel::taskAt(int row) const {
    return row >= 0 && row < rowCount() ? store_.musicTasks[size_t(row)].get() : nullptr;
}

int MusicTaskModel::add(MusicTask&& task) {
    task.disabled = 0;
    // The row is known only once the store has placed the task.
    beginResetModel();
    const int row = store_.AddMusicTask(std::move(task));
    endResetModel();
    station_.FillTaskChooser();
    return row;
}

int MusicTaskModel::update(int row, MusicTask&& edited) {
    MusicTask* task = taskAt(row);
    if (!task)
        return -1;
    const bool resort = edited.startDate != task->startDate || edited.endDate != task->endDate ||
                        edited.startTime != task->startTime || edited.endTime != task->endTime;
    // Enabling and disabling is the list's own command, not the editor's.
    edited.disabled = task->disabled;
    edited.runState = 0;
    // Today's list points into the old items: they stay until it has been
    // built anew (it looks at its old entries first, for missed ones).
    const auto oldItems = std::move(task->items);
    *task = std::move(edited);

    int newRow = row;
    if (resort) {
        beginResetModel();
        newRow = store_.InsertMusicTask(store_.RemoveMusicTask(task, false));
        endResetModel();
    } else {
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }
    store_.SaveMusicTaskFile();
    if (task == station_.musicSchedule().currentTask())
        station_.RebuildTodayMusicList();
    station_.FillTaskChooser();
    return newRow;
}

void MusicTaskModel::remove(int row) {
    MusicTask* task = taskAt(row);
    if (!task)
        return;
    // Disabled first, so that the drop-down leaves it out.
    task->disabled = 1;
    letGo(task);
    station_.FillTaskChooser();
    beginRemoveRows(QModelIndex(), row, row);
    store_.RemoveMusicTask(task, true);
    endRemoveRows();
    if (row < rowCount())
        emit dataChanged(index(row, NumberColumn), index(rowCount() - 1, NumberColumn));
}

void MusicTaskModel::toggle(int row) {
    MusicTask* task = taskAt(row);
    if (!task)
        return;
    task->disabled = task->disabled ? 0 : 1;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    store_.SaveMusicTaskFile();
    letGo(task);
    station_.FillTaskChooser();
}

int MusicTaskModel::find(YmdDate date, const QString& text) const {
    for (int row = 0; row < rowCount(); ++row) {
        const MusicTask& task = *store_.musicTasks[size_t(row)];
        if (date > 0 && (date < task.startDate || date > task.endDate))
            continue;
        if (task.name.contains(text, Qt::CaseSensitive))
            return row;
    }
    return -1;
}

void MusicTaskModel::letGo(const MusicTask* task) {
    MusicSchedule& music = station_.musicSchedule();
    if (task == music.currentTask())
        music.ClearMusicTask();
}
