#pragma once

#include <QAbstractTableModel>

class DataStore;
struct SpeechScript;

// The store's scripts as a table: a row number and the title, one row per
// script in list order. Every change goes through here, so the store, its
// speech file and the rows never disagree.
class ScriptModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, TitleColumn };
    static constexpr int kColumnCount = 2;

    explicit ScriptModel(DataStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Null outside the list.
    SpeechScript* scriptAt(int row) const;

    // Appends a copy and saves; returns its row.
    int add(const SpeechScript& script);
    // Changes the script of `row` and saves.
    void update(int row, const QString& title, const QString& text);
    // Removes and frees the script of `row` and saves.
    void remove(int row);

private:
    DataStore& store_;
};
