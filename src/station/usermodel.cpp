#include "station/usermodel.h"

#include "store/datastore.h"
#include "store/uitext.h"

UserListModel::UserListModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

int UserListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.users.size());
}

int UserListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant UserListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const UserAccount& account = *store_.users[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(index.row() + 1);
        case NameColumn:
            return account.name;
        case RoleColumn:
            return GetUiText(QLatin1String(account.role != 0 ? "administrator" : "operator"));
        }
        return {};
    case Qt::TextAlignmentRole:
        return int((index.column() == RoleColumn ? Qt::AlignHCenter : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        if (section == NameColumn)
            return GetUiText(QStringLiteral("user_name"));
        if (section == RoleColumn)
            return GetUiText(QStringLiteral("user_group"));
        return QString();
    }
    if (role == Qt::TextAlignmentRole)
        return int((section == RoleColumn ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

UserAccount* UserListModel::accountAt(int row) const {
    return row >= 0 && row < rowCount() ? store_.users[size_t(row)].get() : nullptr;
}

int UserListModel::findName(const QString& name, int exceptRow) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (row != exceptRow && store_.users[size_t(row)]->name == name)
            return row;
    }
    return -1;
}

int UserListModel::add(const UserAccount& account) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    store_.AddUser(account);
    endInsertRows();
    return row;
}

void UserListModel::update(int row, const QString& name, int role) {
    UserAccount* account = accountAt(row);
    if (!account)
        return;
    account->name = name;
    account->role = role;
    store_.SaveUserFile();
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void UserListModel::setPassword(int row, const QString& password) {
    if (UserAccount* account = accountAt(row)) {
        account->password = password;
        store_.SaveUserFile();
    }
}

void UserListModel::remove(int row) {
    if (!accountAt(row))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    store_.users.erase(store_.users.begin() + row);
    store_.SaveUserFile();
    endRemoveRows();
    // The rows below moved up: their numbers changed.
    if (row < rowCount())
        emit dataChanged(index(row, NumberColumn), index(rowCount() - 1, NumberColumn));
}
