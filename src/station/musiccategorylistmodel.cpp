#include "station/musiccategorylistmodel.h"

#include "store/datastore.h"
#include "store/uitext.h"

#include <utility>

MusicCategoryListModel::MusicCategoryListModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

MusicCategory* MusicCategoryListModel::category(int row) const {
    return row >= 0 && row < rowCount() ? store_.categories[size_t(row)].get() : nullptr;
}

int MusicCategoryListModel::findName(const QString& name, int except) const {
    // Names differ by exact comparison: "Jazz" and "jazz" are two categories.
    for (int row = 0; row < rowCount(); ++row) {
        if (row != except && store_.categories[size_t(row)]->name == name)
            return row;
    }
    return -1;
}

int MusicCategoryListModel::addCategory(const QString& name) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    store_.AddCategory(name);
    endInsertRows();
    return row;
}

void MusicCategoryListModel::renameCategory(int row, const QString& name) {
    MusicCategory* renamed = category(row);
    if (!renamed)
        return;
    renamed->name = name;
    store_.SaveCategoryFile();
    emit dataChanged(index(row, NameColumn), index(row, NameColumn));
}

void MusicCategoryListModel::removeCategory(int row) {
    MusicCategory* removed = category(row);
    if (!removed)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    store_.RemoveCategory(removed);
    endRemoveRows();
}

bool MusicCategoryListModel::moveCategory(int row, int step) {
    const int other = row + step;
    if ((step != -1 && step != 1) || !category(row) || !category(other))
        return false;
    // Qt counts a move down as a move of the row below up.
    const int upper = qMin(row, other);
    beginMoveRows(QModelIndex(), upper + 1, upper + 1, QModelIndex(), upper);
    std::swap(store_.categories[size_t(row)], store_.categories[size_t(other)]);
    endMoveRows();
    store_.SaveCategoryFile();
    return true;
}

int MusicCategoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.categories.size());
}

int MusicCategoryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MusicCategoryListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    if (index.column() == NumberColumn)
        return QString::number(index.row() + 1);
    return store_.categories[size_t(index.row())]->name;
}

QVariant MusicCategoryListModel::headerData(int section, Qt::Orientation orientation,
                                            int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? GetUiText(QStringLiteral("name")) : QString();
}
