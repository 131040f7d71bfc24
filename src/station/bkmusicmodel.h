#pragma once

#include <QAbstractTableModel>

class DataStore;
struct SpeechBackgroundMusic;

// The store's speech background music as a table: a row number, the file and
// its volume, one row per entry in list order. Every change goes through
// here, so the store, its speech file and the rows never disagree.
class BackgroundMusicModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, PathColumn, VolumeColumn };
    static constexpr int kColumnCount = 3;

    explicit BackgroundMusicModel(DataStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Null outside the list.
    SpeechBackgroundMusic* entryAt(int row) const;
    // The first row whose file is `path` (paths compared as the store does),
    // other than `exceptRow`; -1 when there is none.
    int findPath(const QString& path, int exceptRow = -1) const;

    // Appends an entry and saves; returns its row.
    int add(const QString& path, int volume);
    // Changes the entry of `row` and saves.
    void update(int row, const QString& path, int volume);
    // Removes and frees the entry of `row` and saves.
    void remove(int row);

private:
    DataStore& store_;
};
