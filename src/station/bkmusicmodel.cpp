#include "station/bkmusicmodel.h"

#include "store/datastore.h"
#include "store/uitext.h"
#include "support/stringutils.h"

BackgroundMusicModel::BackgroundMusicModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

int BackgroundMusicModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.backgroundMusic.size());
}

int BackgroundMusicModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant BackgroundMusicModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const SpeechBackgroundMusic& entry = *store_.backgroundMusic[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(index.row() + 1);
        case PathColumn:
            return entry.path;
        case VolumeColumn:
            return QString::number(entry.volume);
        }
        return {};
    case Qt::ToolTipRole:
        return index.column() == PathColumn ? QVariant(entry.path) : QVariant();
    case Qt::TextAlignmentRole:
        return int((index.column() == VolumeColumn ? Qt::AlignHCenter : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BackgroundMusicModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        if (section == PathColumn)
            return GetUiText(QStringLiteral("music_name"));
        if (section == VolumeColumn)
            return GetUiText(QStringLiteral("volumn"));
        return QString();
    }
    if (role == Qt::TextAlignmentRole)
        return int((section == VolumeColumn ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

SpeechBackgroundMusic* BackgroundMusicModel::entryAt(int row) const {
    return row >= 0 && row < rowCount() ? store_.backgroundMusic[size_t(row)].get() : nullptr;
}

int BackgroundMusicModel::findPath(const QString& path, int exceptRow) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (row != exceptRow && PathsEqual(store_.backgroundMusic[size_t(row)]->path, path))
            return row;
    }
    return -1;
}

int BackgroundMusicModel::add(const QString& path, int volume) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    store_.AddBackgroundMusic(SpeechBackgroundMusic{path, volume});
    endInsertRows();
    return row;
}

void BackgroundMusicModel::update(int row, const QString& path, int volume) {
    SpeechBackgroundMusic* entry = entryAt(row);
    if (!entry)
        return;
    entry->path = path;
    entry->volume = volume;
    store_.SaveSpeechFile();
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void BackgroundMusicModel::remove(int row) {
    if (!entryAt(row))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    store_.backgroundMusic.erase(store_.backgroundMusic.begin() + row);
    store_.SaveSpeechFile();
    endRemoveRows();
    // The rows below moved up: their numbers changed.
    if (row < rowCount())
        emit dataChanged(index(row, NumberColumn), index(rowCount() - 1, NumberColumn));
}
