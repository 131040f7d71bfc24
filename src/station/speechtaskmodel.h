#pragma once

#include <QAbstractTableModel>

#include "store/records.h"

class Clock;
class DataStore;
class SpeechSchedule;

// The store's speech tasks as a table, in their stored order: a row number,
// the name with the voice and music pictures, the dates and times, the
// interval. Every change goes through here: it is saved at once, and today's
// speech list is built anew exactly when the change can move, add or drop
// one of today's entries. A speech already running is never stopped: it
// speaks from its own copy of the task.
class SpeechTaskModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn, DateTimeColumn, IntervalColumn };
    static constexpr int kColumnCount = 4;

    SpeechTaskModel(DataStore& store, const Clock& clock, SpeechSchedule& schedule,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Null outside the list.
    SpeechTask* taskAt(int row) const;

    // Inserts an enabled copy in sorted order; returns its row.
    int add(const SpeechTask& task);
    // Gives the task of `row` every value of `edited`; returns its row, which
    // changes when its dates or times do.
    int update(int row, const SpeechTask& edited);
    // Removes and frees the task of `row`.
    void remove(int row);
    // Disables an enabled task and enables a disabled one.
    void toggle(int row);
    // The first row from the top whose task covers `date` (any date when 0)
    // and whose text holds `text` (case-sensitive; any text when empty);
    // -1 when none.
    int find(YmdDate date, const QString& text) const;

private:
    void renumberFrom(int row);

    DataStore& store_;
    const Clock& clock_;
    SpeechSchedule& schedule_;
};
