#pragma once

#include <QAbstractTableModel>
#include <QImage>

class MusicSchedule;

// Today's music list of the current task as a table: one row per entry, in
// list order. The row's colours and font tell which file plays (red, bold),
// which timed entries are over and which background items are played out
// (grey, italic), and which rows are the background rotation (a yellow
// ground and a picture in the time cell).
class TodayMusicListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, TimeColumn, NameColumn, LengthColumn, VolumeColumn, CountColumn };
    static constexpr int kColumnCount = 6;

    explicit TodayMusicListModel(const MusicSchedule& schedule, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The picture in the time cell of a background row: two beamed notes,
    // 16 x 16, on a transparent ground.
    static QImage BackgroundPicture();

private:
    const MusicSchedule& schedule_;
};
