#include "station/todaymusiclistmodel.h"

#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "schedule/musicschedule.h"
#include "store/clocktext.h"
#include "store/uitext.h"
#include "support/stringutils.h"

namespace {

const QColor kBackgroundRowColor(253, 238, 166);
const QColor kCurrentRowText(255, 0, 0);
// Finished rows: a grey that stays readable on the background rows' yellow.
const QColor kFinishedRowText(128, 128, 128);

struct ColumnText {
    const char* titleKey; // null: no title
    Qt::Alignment alignment;
};

const ColumnText kColumns[TodayMusicListModel::kColumnCount] = {
    {nullptr, Qt::AlignLeft},          {"time", Qt::AlignHCenter},   {"music_name", Qt::AlignLeft},
    {"time_length", Qt::AlignHCenter}, {"volumn", Qt::AlignHCenter}, {"play_num", Qt::AlignHCenter},
};

QImage DrawBackgroundPicture() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 80, 160);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // Two note heads, tilted like handwritten ones.
    for (const QPointF centre : {QPointF(4.2, 12.6), QPointF(11.7, 11.1)}) {
        p.save();
        p.translate(centre);
        p.rotate(-20);
        p.drawEllipse(QRectF(-2.9, -2.1, 5.8, 4.2));
        p.restore();
    }
    // Stems and the double beam.
    p.drawRect(QRectF(6.3, 3.2, 1.3, 9.2));
    p.drawRect(QRectF(13.8, 1.7, 1.3, 9.2));
    QPainterPath beam;
    beam.moveTo(6.3, 3.2);
    beam.lineTo(15.1, 1.2);
    beam.lineTo(15.1, 3.6);
    beam.lineTo(6.3, 5.6);
    beam.closeSubpath();
    p.drawPath(beam);
    return image;
}

} // namespace

TodayMusicListModel::TodayMusicListModel(const MusicSchedule& schedule, QObject* parent)
    : QAbstractTableModel(parent), schedule_(schedule) {
    // The schedule has already changed its list when it says so; the rows
    // are read afresh from it.
    connect(&schedule_, &MusicSchedule::listRebuilt, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&schedule_, &MusicSchedule::entryChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, kColumnCount - 1)); });
    // A timed item shares its play count among its rows, and the started row
    // turns red: every row may look different now.
    connect(&schedule_, &MusicSchedule::entryStarted, this, [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
    });
}

QImage TodayMusicListModel::BackgroundPicture() {
    static const QImage picture = DrawBackgroundPicture();
    return picture;
}

int TodayMusicListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(schedule_.TodayMusicList().size());
}

int TodayMusicListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TodayMusicListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const int column = index.column();
    const TodayMusicEntry& entry = schedule_.TodayMusicList()[size_t(row)];
    const PlayItem* item = entry.item;
    const bool background = item && item->kind == PlayItem::Background;

    switch (role) {
    case Qt::DisplayRole:
        if (column == NumberColumn)
            return QString::number(row + 1);
        if (!item)
            return {};
        switch (column) {
        case TimeColumn:
            return background
                       ? GetUiText(QStringLiteral("background"))
                       : QString::asprintf("%02d:%02d", entry.dueTime / 100, entry.dueTime % 100);
        case NameColumn:
            return QFileInfo(FileNamePart(item->path)).completeBaseName();
        case LengthColumn:
            return FormatDuration(item->duration);
        case VolumeColumn:
            return QString::number(item->volume);
        case CountColumn:
            return MusicSchedule::PlayCountText(*item);
        }
        return {};
    case Qt::ToolTipRole:
        return column == NameColumn && item ? QVariant(item->path) : QVariant();
    case Qt::TextAlignmentRole:
        return int(kColumns[column].alignment | Qt::AlignVCenter);
    case Qt::DecorationRole:
        return column == TimeColumn && background ? QVariant(BackgroundPicture()) : QVariant();
    case Qt::BackgroundRole:
        return background ? QVariant(kBackgroundRowColor) : QVariant();
    case Qt::ForegroundRole:
        if (row == schedule_.currentEntryIndex())
            return kCurrentRowText;
        if (MusicSchedule::IsEntryFinished(entry))
            return kFinishedRowText;
        return {};
    case Qt::FontRole: {
        // Only what differs from the list's own font.
        QFont font;
        if (row == schedule_.currentEntryIndex())
            font.setWeight(QFont::Bold);
        else if (MusicSchedule::IsEntryFinished(entry))
            font.setItalic(true);
        else
            return {};
        return font;
    }
    default:
        return {};
    }
}

QVariant TodayMusicListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return kColumns[section].titleKey
                   ? GetUiText(QString::fromLatin1(kColumns[section].titleKey))
                   : QString();
    if (role == Qt::TextAlignmentRole)
        return int(kColumns[section].alignment | Qt::AlignVCenter);
    return {};
}
