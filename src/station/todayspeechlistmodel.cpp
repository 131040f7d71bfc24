#include "station/todayspeechlistmodel.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <map>
#include <utility>

#include "schedule/speechschedule.h"
#include "store/clocktext.h"
#include "store/uitext.h"

namespace {

const QColor kCurrentRowText(255, 0, 0);
constexpr int kIconSize = TodaySpeechListModel::kIconSize;

enum class Figure { None, Male, Female };

// The small pictures of the title cell are drawn here rather than shipped,
// so that they stay sharp and need no files beside the program.
void DrawFigure(QPainter& p, bool female) {
    const QColor colour = female ? QColor(205, 45, 125) : QColor(30, 80, 175);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(5.5, 0.5, 5, 5));
    if (female) {
        QPainterPath dress;
        dress.moveTo(8, 6);
        dress.lineTo(12.5, 12);
        dress.lineTo(3.5, 12);
        dress.closeSubpath();
        p.drawPath(dress);
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.5, 12), QPointF(6.5, 15.2));
        p.drawLine(QPointF(9.5, 12), QPointF(9.5, 15.2));
    } else {
        p.drawRoundedRect(QRectF(4.5, 6, 7, 6), 1.5, 1.5);
        p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.3, 11), QPointF(6.3, 15.2));
        p.drawLine(QPointF(9.7, 11), QPointF(9.7, 15.2));
    }
}

// The figure first, then the note after it (or in its place without one).
QImage DrawDecoration(Figure figure, bool note) {
    QImage image(2 * kIconSize + 1, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (figure != Figure::None) {
        p.save();
        DrawFigure(p, figure == Figure::Female);
        p.restore();
        p.translate(kIconSize + 1, 0);
    }
    if (note)
        DrawMusicNote(p);
    return image;
}

QImage Decoration(Figure figure, bool note) {
    static std::map<std::pair<Figure, bool>, QImage> drawn;
    auto found = drawn.find({figure, note});
    if (found == drawn.end())
        found = drawn.emplace(std::make_pair(figure, note), DrawDecoration(figure, note)).first;
    return found->second;
}

} // namespace

void DrawMusicNote(QPainter& p) {
    const QColor colour(20, 120, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(2.5, 10.5, 6, 4.5));
    p.setPen(QPen(colour, 1.5));
    p.drawLine(QPointF(8, 12.5), QPointF(8, 1.5));
    QPainterPath flag;
    flag.moveTo(8, 1.5);
    flag.cubicTo(QPointF(10, 4), QPointF(14, 5), QPointF(12.5, 9.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

QVariant VoiceDecoration(const SpeechTask& task) {
    const Figure figure = task.effect == 0   ? Figure::Male
                          : task.effect == 1 ? Figure::Female
                                             : Figure::None;
    const bool note = !task.bkMusic.isEmpty();
    if (figure == Figure::None && !note)
        return {};
    return Decoration(figure, note);
}

TodaySpeechListModel::TodaySpeechListModel(const SpeechSchedule& schedule, QObject* parent)
    : QAbstractTableModel(parent), schedule_(schedule) {
    // The schedule has already changed its list when it says so; the rows
    // are read afresh from it.
    connect(&schedule_, &SpeechSchedule::listRebuilt, this, [this] {
        beginResetModel();
        endResetModel();
    });
    const auto rowChanged = [this](int row) {
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    };
    connect(&schedule_, &SpeechSchedule::entryChanged, this, rowChanged);
    connect(&schedule_, &SpeechSchedule::entryStarted, this, rowChanged);
}

int TodaySpeechListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(schedule_.TodaySpeechList().size());
}

int TodaySpeechListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TodaySpeechListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const TodaySpeechEntry& entry = schedule_.TodaySpeechList()[size_t(row)];
    const bool current = row == schedule_.currentEntryIndex();
    const bool done = entry.done && !current;

    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case SeqColumn:
            return QString::number(row + 1);
        case TimeColumn:
            return FormatClock(entry.dueTime);
        case TitleColumn:
            return entry.task ? entry.task->name : QString();
        }
        return {};
    case Qt::TextAlignmentRole:
        return int((index.column() == TimeColumn ? Qt::AlignHCenter : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    case Qt::DecorationRole:
        if (index.column() != TitleColumn || !entry.task)
            return {};
        return VoiceDecoration(*entry.task);
    case Qt::ForegroundRole:
        if (current)
            return kCurrentRowText;
        if (done)
            return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::FontRole: {
        // Only what differs from the list's own font.
        QFont font;
        if (current)
            font.setWeight(QFont::Bold);
        else if (done)
            font.setItalic(true);
        else
            return {};
        return font;
    }
    default:
        return {};
    }
}

QVariant TodaySpeechListModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const keys[kColumnCount] = {"seq", "time", "title"};
        return GetUiText(QString::fromLatin1(keys[section]));
    }
    if (role == Qt::TextAlignmentRole && section == TimeColumn)
        return int(Qt::AlignCenter);
    return {};
}
