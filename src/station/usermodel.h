#pragma once

#include <QAbstractTableModel>

class DataStore;
struct UserAccount;

// The store's user accounts as a table: a row number, the name and the role
// ("administrator" or "operator"), one row per account in list order. Every
// change goes through here and saves the user file.
class UserListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn, RoleColumn };
    static constexpr int kColumnCount = 3;

    explicit UserListModel(DataStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Null outside the list.
    UserAccount* accountAt(int row) const;
    // The first row named exactly `name` (case-sensitive), other than
    // `exceptRow`; -1 when there is none.
    int findName(const QString& name, int exceptRow = -1) const;

    // Appends an account and saves; returns its row.
    int add(const UserAccount& account);
    // Gives the account of `row` a new name and role (the password stays).
    void update(int row, const QString& name, int role);
    void setPassword(int row, const QString& password);
    // Removes and frees the account of `row` and saves.
    void remove(int row);

private:
    DataStore& store_;
};
