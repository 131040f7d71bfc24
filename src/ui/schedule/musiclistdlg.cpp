#include "musiclistdlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fonts.h"
#include "listutils.h"
#include "skin.h"
#include "stringutils.h"
#include "uitext.h"

namespace {

// Control identifiers the main window and the skins know the parts by.
constexpr int kListId = 1017;
constexpr int kChooserId = 1113;
constexpr int kHintId = 1176;
constexpr int kLabelId = 1191;

const QColor kBackgroundRowColor(253, 238, 166);
const QColor kCurrentRowText(255, 0, 0);
// Finished rows: a grey that stays readable on the background rows' yellow.
const QColor kFinishedRowText(128, 128, 128);
const QColor kHintColor(210, 0, 0);
const QColor kGridColor(208, 208, 208);

constexpr int kCellMargin = 3;
// The picture of a background row is centred as if it were this wide.
constexpr int kImageSlotWidth = 24;

struct ColumnLayout {
    const char* titleKey; // null: no title
    int width;
    Qt::Alignment alignment;
};

const ColumnLayout kColumns[] = {
    {nullptr, 40, Qt::AlignLeft},     {"time", 50, Qt::AlignHCenter},
    {"music_name", 0, Qt::AlignLeft}, {"time_length", 60, Qt::AlignHCenter},
    {"volumn", 50, Qt::AlignHCenter}, {"play_num", 60, Qt::AlignHCenter},
};
constexpr int kColumnCount = int(sizeof kColumns / sizeof kColumns[0]);

// Column 0 of every row carries the index of its entry in today's list.
int EntryIndexOf(const QModelIndex& index) {
    const QVariant data = index.sibling(index.row(), 0).data(Qt::UserRole);
    return data.isValid() ? data.toInt() : -1;
}

QFont ItalicFont() {
    QFont font = NormalFont();
    font.setItalic(true);
    return font;
}

// Rows are a fixed height, enough for the font and the picture.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int height = qMax(QFontMetrics(BoldFont()).height() + 6, 20);
        size.setHeight(height);
        return size;
    }
};

// The list draws its rows itself: the row's colours tell the operator at a
// glance which file plays, which timed entries are over, and which rows are
// the background rotation.
class MusicListView : public QTreeWidget {
public:
    MusicListView(const MusicSchedule& schedule, QWidget* parent)
        : QTreeWidget(parent), schedule(schedule) {}

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
        const int entryIndex = EntryIndexOf(index);
        const auto& entries = schedule.TodayMusicList();
        const TodayMusicEntry* entry = entryIndex >= 0 && entryIndex < int(entries.size())
                                           ? &entries[size_t(entryIndex)]
                                           : nullptr;
        const bool background = entry && entry->item && entry->item->kind == PlayItem::Background;
        const bool current = entry && entryIndex == schedule.currentEntryIndex();
        const bool finished = entry && MusicSchedule::IsEntryFinished(*entry);
        const bool selected = selectionModel()->isSelected(index);
        const bool focused = hasFocus();

        QColor fill = palette().color(QPalette::Base);
        QColor text = palette().color(QPalette::Text);
        if (selected && focused) {
            fill = palette().color(QPalette::Active, QPalette::Highlight);
            text = palette().color(QPalette::Active, QPalette::HighlightedText);
        } else if (selected) {
            fill = palette().color(QPalette::Button);
            text = palette().color(QPalette::ButtonText);
        } else if (background) {
            fill = kBackgroundRowColor;
        }
        QFont font = NormalFont();
        if (current) {
            font = BoldFont();
            text = kCurrentRowText;
        } else if (finished) {
            font = ItalicFont();
            text = kFinishedRowText;
        }

        painter->save();
        painter->setFont(font);
        const QFontMetrics metrics(font);
        const int top = option.rect.top(), height = option.rect.height();
        for (int column = 0; column < kColumnCount; ++column) {
            if (header()->isSectionHidden(column))
                continue;
            const QRect cell(header()->sectionViewportPosition(column), top,
                             header()->sectionSize(column), height);
            painter->fillRect(cell, fill);
            if (column == CMusicListDlg::TimeColumn && background) {
                const QPixmap picture = MusicListBackgroundIcon();
                const int slotLeft = cell.left() + (cell.width() - kImageSlotWidth) / 2;
                const int x = slotLeft + (kImageSlotWidth - picture.width()) / 2;
                const int y = top + qMax(0, (height - picture.height()) / 2);
                painter->drawPixmap(x, y, picture);
            } else {
                const QRect inner = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
                const QString cellText = model()->index(index.row(), column).data().toString();
                painter->setPen(text);
                painter->drawText(
                    inner, int(kColumns[column].alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                    metrics.elidedText(cellText, Qt::ElideRight, inner.width()));
            }
            painter->setPen(kGridColor);
            painter->drawLine(cell.topRight(), cell.bottomRight());
            painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        }
        if (focused && currentIndex().row() == index.row()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = option.rect.adjusted(0, 0, -1, -1);
            focus.backgroundColor = fill;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
        }
        painter->restore();
    }

private:
    const MusicSchedule& schedule;
};

QString LengthText(HhmmssDuration duration) {
    const int hours = duration / 10000, minutes = duration / 100 % 100, seconds = duration % 100;
    if (hours > 0)
        return QString::asprintf("%02d:%02d:%02d", hours, minutes, seconds);
    return QString::asprintf("%02d:%02d", minutes, seconds);
}

} // namespace

QPixmap MusicListBackgroundIcon() {
    static const QPixmap icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
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
        return pixmap;
    }();
    return icon;
}

CMusicListDlg::CMusicListDlg(MusicSchedule& schedule, QWidget* parent)
    : QWidget(parent), schedule_(schedule) {
    setObjectName(QStringLiteral("musicListDlg"));

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("taskLabel"));
    label_->setFont(NormalFont());
    SetControlId(label_, kLabelId);

    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("taskChooser"));
    chooser_->setFont(NormalFont());
    chooser_->setMinimumWidth(180);
    chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    SetControlId(chooser_, kChooserId);
    // Only the operator's own choice is a switch request; refilling the
    // drop-down is not.
    connect(chooser_, &QComboBox::activated, this,
            [this](int line) { schedule_.ChooseTask(line); });

    hint_ = new QLabel(tr("(双击直接播放)"), this);
    hint_->setObjectName(QStringLiteral("playHint"));
    hint_->setFont(NormalFont());
    QPalette hintPalette = hint_->palette();
    hintPalette.setColor(QPalette::WindowText, kHintColor);
    hint_->setPalette(hintPalette);
    SetControlId(hint_, kHintId);

    list_ = new MusicListView(schedule_, this);
    list_->setObjectName(QStringLiteral("musicList"));
    SetControlId(list_, kListId);
    SetUpReportList(list_);
    list_->setItemDelegate(new FixedRowDelegate(list_));
    list_->setColumnCount(kColumnCount);
    QStringList titles;
    for (const ColumnLayout& column : kColumns)
        titles << (column.titleKey ? GetUiText(QString::fromLatin1(column.titleKey)) : QString());
    list_->setHeaderLabels(titles);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setFont(NormalFont());
    for (int column = 0; column < kColumnCount; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        list_->headerItem()->setTextAlignment(column,
                                              kColumns[column].alignment | Qt::AlignVCenter);
        if (kColumns[column].width > 0)
            list_->setColumnWidth(column, kColumns[column].width);
    }
    fitNameColumn();
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { playSelectedRow(); });

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(6);
    top->addWidget(label_);
    top->addWidget(chooser_);
    top->addStretch(1);
    top->addWidget(hint_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(list_, 1);

    schedule_.setView(this);
    musicListRebuilt();
    taskChooserChanged();

    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] { schedule_.Tick(); });
    timer_->start();
}

CMusicListDlg::~CMusicListDlg() {
    schedule_.setView(nullptr);
}

void CMusicListDlg::StopTimer() {
    timer_->stop();
}

void CMusicListDlg::fillRow(QTreeWidgetItem* row, int index) {
    const TodayMusicEntry& entry = schedule_.TodayMusicList()[size_t(index)];
    row->setData(NumberColumn, Qt::UserRole, index);
    const PlayItem* item = entry.item;
    if (!item)
        return;
    const bool background = item->kind == PlayItem::Background;
    row->setText(TimeColumn, background ? GetUiText(QStringLiteral("background"))
                                        : QString::asprintf("%02d:%02d", entry.dueTime / 100,
                                                            entry.dueTime % 100));
    row->setText(NameColumn, QFileInfo(FileNamePart(item->path)).completeBaseName());
    row->setToolTip(NameColumn, item->path);
    row->setText(LengthColumn, LengthText(item->duration));
    row->setText(VolumeColumn, QString::number(item->volume));
    row->setText(CountColumn, MusicSchedule::PlayCountText(*item));
}

void CMusicListDlg::musicListRebuilt() {
    list_->setUpdatesEnabled(false);
    list_->clear();
    const int count = int(schedule_.TodayMusicList().size());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto* row = new QTreeWidgetItem;
        fillRow(row, i);
        rows << row;
    }
    list_->addTopLevelItems(rows);
    NumberListRows(list_);
    list_->setUpdatesEnabled(true);

    const bool hasTask = schedule_.currentTask() != nullptr;
    label_->setText(
        GetUiText(hasTask ? QStringLiteral("music_task") : QStringLiteral("no_play_task")));
    chooser_->setVisible(hasTask);
}

void CMusicListDlg::musicEntryChanged(int index) {
    if (QTreeWidgetItem* row = list_->topLevelItem(index)) {
        fillRow(row, index);
        list_->viewport()->update();
    }
}

void CMusicListDlg::musicEntryStarted(int index) {
    QTreeWidgetItem* row = list_->topLevelItem(index);
    if (!row)
        return;
    // The count belongs to the item, which a timed item shares among its
    // rows: they all show the new count.
    const auto& entries = schedule_.TodayMusicList();
    const PlayItem* item = entries[size_t(index)].item;
    for (int i = 0; i < int(entries.size()); ++i) {
        QTreeWidgetItem* other = list_->topLevelItem(i);
        if (other && entries[size_t(i)].item == item)
            fillRow(other, i);
    }
    list_->scrollToItem(row);
    list_->viewport()->update();
}

void CMusicListDlg::taskChooserChanged() {
    const QSignalBlocker quiet(chooser_);
    chooser_->clear();
    for (MusicTask* task : schedule_.chooserTasks())
        chooser_->addItem(task->name);
    chooser_->setCurrentIndex(schedule_.chooserSelection());
    chooser_->setVisible(schedule_.currentTask() != nullptr);
}

void CMusicListDlg::playSelectedRow() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = selected.first()->data(NumberColumn, Qt::UserRole).toInt();
    const auto& entries = schedule_.TodayMusicList();
    if (index >= 0 && index < int(entries.size()) && entries[size_t(index)].item)
        schedule_.PlayMusicEntry(index, false);
}

void CMusicListDlg::fitNameColumn() {
    const int client = list_->width() - 2 * list_->frameWidth();
    list_->setColumnWidth(NameColumn, qMax(60, client - kFixedColumnsWidth));
}

void CMusicListDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNameColumn();
}
