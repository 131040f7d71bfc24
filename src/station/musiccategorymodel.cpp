#include "station/musiccategorymodel.h"

#include <QColor>
#include <QFileInfo>

#include "store/datastore.h"
#include "store/uitext.h"
#include "support/stringutils.h"

namespace {

// The grey of the lists' rows that are over or out of reach.
const QColor kMissingFileText(128, 128, 128);

// The folder part of a path, either separator; empty when there is none.
QString folderOf(const QString& path) {
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return cut > 0 ? path.left(cut) : QString();
}

} // namespace

MusicCategoryModel::MusicCategoryModel(QObject* parent) : QAbstractTableModel(parent) {}

void MusicCategoryModel::setCategory(const MusicCategory* category) {
    beginResetModel();
    category_ = category;
    presence_.assign(category_ ? size_t(category_->files.size()) : 0, Unknown);
    folders_.clear();
    endResetModel();
}

QString MusicCategoryModel::path(int row) const {
    return category_ ? category_->files.value(row) : QString();
}

int MusicCategoryModel::findPath(const QString& path) const {
    if (!category_)
        return -1;
    for (qsizetype i = 0; i < category_->files.size(); ++i) {
        if (PathsEqual(category_->files[i], path))
            return int(i);
    }
    return -1;
}

bool MusicCategoryModel::folderExists(const QString& path) const {
    const QString folder = folderOf(path);
    if (folder.isEmpty())
        return true;
    auto known = folders_.constFind(folder);
    if (known == folders_.cend())
        known = folders_.insert(folder, QFileInfo(folder).isDir());
    return known.value();
}

bool MusicCategoryModel::isFileMissing(int row) const {
    if (row < 0 || size_t(row) >= presence_.size())
        return false;
    Presence& known = presence_[size_t(row)];
    if (known == Unknown) {
        const QString& file = category_->files[row];
        known = folderExists(file) && QFileInfo::exists(file) ? Present : Missing;
    }
    return known == Missing;
}

void MusicCategoryModel::appendFiles(MusicCategory& category, const QStringList& paths) {
    Q_ASSERT(&category == category_);
    if (&category != category_ || paths.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(paths.size()) - 1);
    category.files += paths;
    presence_.resize(size_t(category.files.size()), Unknown);
    endInsertRows();
}

bool MusicCategoryModel::removeFile(DataStore& store, MusicCategory& category, int row) {
    if (&category != category_ || row < 0 || row >= rowCount())
        return false;
    // The store takes out the first equal path; paths are unique in a
    // category, but a hand-edited file may repeat one.
    const QString file = category.files[row];
    const int taken = findPath(file);
    beginRemoveRows(QModelIndex(), taken, taken);
    const bool removed = store.RemoveCategoryFile(&category, file);
    if (removed)
        presence_.erase(presence_.begin() + taken);
    endRemoveRows();
    return removed;
}

void MusicCategoryModel::recheckFiles() {
    presence_.assign(presence_.size(), Unknown);
    folders_.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1),
                         {Qt::ForegroundRole, Qt::ToolTipRole});
}

int MusicCategoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !category_ ? 0 : int(category_->files.size());
}

int MusicCategoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MusicCategoryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NumberColumn ? QString::number(row + 1) : path(row);
    case Qt::ToolTipRole:
        if (index.column() != PathColumn)
            return {};
        return isFileMissing(row) ? missingText_ + u'\n' + path(row) : path(row);
    case Qt::ForegroundRole:
        return isFileMissing(row) ? QVariant(kMissingFileText) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant MusicCategoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == PathColumn ? GetUiText(QStringLiteral("music_name")) : QString();
}
