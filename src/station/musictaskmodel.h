#pragma once

#include <QAbstractTableModel>

#include "store/records.h"

class DataStore;
class Station;

// The store's music tasks as a table, in their stored order: a row number,
// the name, the dates and times, the volume. Every change goes through here:
// it is saved at once and handed to the music schedule, so that the task
// drop-down lists what is active, the playing file plays on through an edit
// that keeps it, and the schedule never holds a task that was removed.
class MusicTaskModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn, DateTimeColumn, VolumeColumn };
    static constexpr int kColumnCount = 4;

    MusicTaskModel(DataStore& store, Station& station, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Null outside the list.
    MusicTask* taskAt(int row) const;

    // Inserts an enabled task in sorted order, taking over its items;
    // returns its row.
    int add(MusicTask&& task);
    // Gives the task of `row` every value and the items of `edited`; returns
    // its row, which changes when its dates or times do.
    int update(int row, MusicTask&& edited);
    // Removes and frees the task of `row`; when it is playing, it stops first.
    void remove(int row);
    // Disables an enabled task and enables a disabled one.
    void toggle(int row);
    // The first row from the top whose task covers `date` (any date when 0)
    // and whose name holds `text` (case-sensitive; any name when empty);
    // -1 when none.
    int find(YmdDate date, const QString& text) const;

private:
    // The task is no longer the schedule's to play: nothing of it plays on.
    void letGo(const MusicTask* task);

    DataStore& store_;
    Station& station_;
};
