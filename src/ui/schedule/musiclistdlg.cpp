#include "ui/schedule/musiclistdlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include "controls/fonts.h"
#include "controls/listutils.h"
#include "controls/skin.h"
#include "schedule/musicschedule.h"
#include "station/todaymusiclistmodel.h"
#include "store/uitext.h"

namespace {

// Control identifiers the main window and the skins know the parts by.
constexpr int kListId = 1017;
constexpr int kChooserId = 1113;
constexpr int kHintId = 1176;
constexpr int kLabelId = 1191;

const QColor kHintColor(210, 0, 0);
const QColor kGridColor(208, 208, 208);

constexpr int kCellMargin = 3;
// The picture of a background row is centred as if it were this wide.
constexpr int kImageSlotWidth = 24;

const int kColumnWidths[TodayMusicListModel::kColumnCount] = {40, 50, 0, 60, 50, 60};

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

// The list draws its rows itself, in the colours, fonts and pictures the
// model gives, so that the operator sees at a glance which file plays, which
// timed entries are over, and which rows are the background rotation.
class MusicListView : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
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
        } else if (const QVariant ground = index.data(Qt::BackgroundRole); ground.isValid()) {
            fill = ground.value<QColor>();
        }
        if (const QVariant ink = index.data(Qt::ForegroundRole); ink.isValid())
            text = ink.value<QColor>();
        QFont font = NormalFont();
        if (const QVariant face = index.data(Qt::FontRole); face.isValid())
            font = face.value<QFont>().resolve(NormalFont());

        painter->save();
        painter->setFont(font);
        const QFontMetrics metrics(font);
        const int top = option.rect.top(), height = option.rect.height();
        for (int column = 0; column < model()->columnCount(); ++column) {
            if (header()->isSectionHidden(column))
                continue;
            const QModelIndex cellIndex = index.sibling(index.row(), column);
            const QRect cell(header()->sectionViewportPosition(column), top,
                             header()->sectionSize(column), height);
            painter->fillRect(cell, fill);
            const QVariant picture = cellIndex.data(Qt::DecorationRole);
            if (picture.isValid()) {
                const QImage image = picture.value<QImage>();
                const int slotLeft = cell.left() + (cell.width() - kImageSlotWidth) / 2;
                const int x = slotLeft + (kImageSlotWidth - image.width()) / 2;
                const int y = top + qMax(0, (height - image.height()) / 2);
                painter->drawImage(x, y, image);
            } else {
                const QRect inner = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
                const int alignment = cellIndex.data(Qt::TextAlignmentRole).toInt();
                painter->setPen(text);
                painter->drawText(
                    inner, alignment | Qt::TextSingleLine,
                    metrics.elidedText(cellIndex.data().toString(), Qt::ElideRight, inner.width()));
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
};

} // namespace

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
    label_->setBuddy(chooser_); // names the drop-down for a screen reader
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

    model_ = new TodayMusicListModel(schedule_, this);
    list_ = new MusicListView(this);
    list_->setObjectName(QStringLiteral("musicList"));
    list_->setAccessibleName(GetUiText(QStringLiteral("today_task_list")));
    SetControlId(list_, kListId);
    SetUpReportList(list_);
    list_->setItemDelegate(new FixedRowDelegate(list_));
    list_->setModel(model_);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setFont(NormalFont());
    for (int column = 0; column < TodayMusicListModel::kColumnCount; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        if (kColumnWidths[column] > 0)
            list_->setColumnWidth(column, kColumnWidths[column]);
    }
    fitNameColumn();
    connect(list_, &QTreeView::doubleClicked, this, &CMusicListDlg::playRow);

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

    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        FitNumberColumn(list_);
        showTask();
    });
    connect(&schedule_, &MusicSchedule::entryStarted, this,
            [this](int row) { list_->scrollTo(model_->index(row, 0)); });
    connect(&schedule_, &MusicSchedule::chooserChanged, this, &CMusicListDlg::showChooser);
    FitNumberColumn(list_);
    showTask();
    showChooser();
}

CMusicListDlg::~CMusicListDlg() = default;

void CMusicListDlg::showTask() {
    const bool hasTask = schedule_.currentTask() != nullptr;
    label_->setText(
        GetUiText(hasTask ? QStringLiteral("music_task") : QStringLiteral("no_play_task")));
    chooser_->setVisible(hasTask);
}

void CMusicListDlg::showChooser() {
    const QSignalBlocker quiet(chooser_);
    chooser_->clear();
    for (MusicTask* task : schedule_.chooserTasks())
        chooser_->addItem(task->name);
    chooser_->setCurrentIndex(schedule_.chooserSelection());
    chooser_->setVisible(schedule_.currentTask() != nullptr);
}

void CMusicListDlg::playRow(const QModelIndex& index) {
    const auto& entries = schedule_.TodayMusicList();
    const int row = index.row();
    if (row >= 0 && row < int(entries.size()) && entries[size_t(row)].item)
        schedule_.PlayMusicEntry(row, false);
}

void CMusicListDlg::fitNameColumn() {
    const int client = list_->width() - 2 * list_->frameWidth();
    list_->setColumnWidth(TodayMusicListModel::NameColumn, qMax(60, client - kFixedColumnsWidth));
}

void CMusicListDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNameColumn();
}
