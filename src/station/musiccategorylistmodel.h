#pragma once

#include <QAbstractTableModel>

class DataStore;
struct MusicCategory;

// The store's music categories as a table: the row number and the name, in
// the store's order. Every change goes through here and is saved at once.
class MusicCategoryListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn };
    static constexpr int kColumnCount = 2;

    explicit MusicCategoryListModel(DataStore& store, QObject* parent = nullptr);

    MusicCategory* category(int row) const;
    // The row of a category named exactly `name`, other than `except`; -1.
    int findName(const QString& name, int except = -1) const;

    // Appends a category; returns its row.
    int addCategory(const QString& name);
    void renameCategory(int row, const QString& name);
    // Removes the category and frees it; its files stay on the disk.
    void removeCategory(int row);
    // Swaps the row with its neighbour above (-1) or below (+1); false at
    // the top or the bottom.
    bool moveCategory(int row, int step);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    DataStore& store_;
};
