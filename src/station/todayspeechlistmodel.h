#pragma once

#include <QAbstractTableModel>
#include <QImage>

class QPainter;
class SpeechSchedule;
struct SpeechTask;

// A green music note in a 16-pixel square, for background music.
void DrawMusicNote(QPainter& p);

// The picture before a speech task's name: a male or a female figure for
// voices 0 and 1, then a note when the task has background music; none when
// neither applies.
QVariant VoiceDecoration(const SpeechTask& task);

// Today's speech list as a table: one row per due speech, in due-time order.
// The entry whose job runs is red and bold, the ones already spoken grey and
// italic. The title cell's decoration shows the voice (a male or a female
// figure for voices 0 and 1) and a note when the task has background music.
class TodaySpeechListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { SeqColumn, TimeColumn, TitleColumn };
    static constexpr int kColumnCount = 3;
    // The figure and the note side by side, each this size, one pixel apart.
    static constexpr int kIconSize = 16;

    explicit TodaySpeechListModel(const SpeechSchedule& schedule, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const SpeechSchedule& schedule_;
};
