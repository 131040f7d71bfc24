#include "ttslistdlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "clocktext.h"
#include "datastore.h"
#include "fonts.h"
#include "listutils.h"
#include "messagebox.h"
#include "speechjob.h"
#include "ttsstockseldlg.h"
#include "uitext.h"

namespace {

enum Column { SeqColumn = 0, TimeColumn = 1, TitleColumn = 2 };

constexpr int kIconSize = 16;
constexpr int kCellMargin = 3;

QPixmap NewIcon() {
    QPixmap icon(kIconSize, kIconSize);
    icon.fill(Qt::transparent);
    return icon;
}

// The small pictures of the title cell are drawn here rather than shipped,
// so that they stay sharp and need no files beside the program.
QPixmap DrawFigure(bool female) {
    QPixmap icon = NewIcon();
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
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
    return icon;
}

QPixmap DrawMusicNote() {
    QPixmap icon = NewIcon();
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
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
    return icon;
}

const QPixmap& MaleIcon() {
    static const QPixmap icon = DrawFigure(false);
    return icon;
}

const QPixmap& FemaleIcon() {
    static const QPixmap icon = DrawFigure(true);
    return icon;
}

const QPixmap& MusicNoteIcon() {
    static const QPixmap icon = DrawMusicNote();
    return icon;
}

// Draws the rows of today's speech list from the schedule's entries: the
// current entry red and bold, the done ones grey and italic.
class SpeechRowDelegate : public QStyledItemDelegate {
public:
    SpeechRowDelegate(const CTTSListDlg* panel, QObject* parent)
        : QStyledItemDelegate(parent), panel_(panel) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int height = QFontMetrics(BoldFont()).height() + 4;
        size.setHeight(std::max({size.height(), height, kIconSize + 2}));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto& entries = panel_->schedule().TodaySpeechList();
        const int row = index.row();
        const TodaySpeechEntry* entry =
            row >= 0 && row < int(entries.size()) ? &entries[size_t(row)] : nullptr;
        const bool current = entry && row == panel_->schedule().currentEntryIndex();
        const bool done = entry && entry->done && !current;
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = panel_->list()->hasFocus();
        const QPalette& palette = option.palette;

        painter->save();
        const QRect cell = option.rect;
        QColor background = palette.color(QPalette::Base);
        QColor foreground = palette.color(QPalette::Text);
        if (selected) {
            background = palette.color(focused ? QPalette::Highlight : QPalette::Button);
            foreground = palette.color(focused ? QPalette::HighlightedText : QPalette::ButtonText);
        }
        QFont font = NormalFont();
        if (current) {
            font = BoldFont();
            foreground = QColor(255, 0, 0);
        } else if (done) {
            font.setItalic(true);
            foreground = palette.color(QPalette::Disabled, QPalette::Text);
        }
        painter->fillRect(cell, background);

        QRect textRect = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
        Qt::Alignment align = Qt::AlignLeft;
        if (index.column() == TimeColumn) {
            align = Qt::AlignHCenter;
        } else if (index.column() == TitleColumn) {
            int x = cell.left() + 1;
            const int y = cell.top() + (cell.height() - kIconSize) / 2;
            if (entry && entry->task) {
                if (entry->task->effect == 0 || entry->task->effect == 1) {
                    painter->drawPixmap(x, y, entry->task->effect == 0 ? MaleIcon() : FemaleIcon());
                    x += kIconSize + 1;
                }
                if (!entry->task->bkMusic.isEmpty())
                    painter->drawPixmap(x, y, MusicNoteIcon());
            }
            textRect.setLeft(cell.left() + CTTSListDlg::kTitleIndent);
        }
        painter->setFont(font);
        painter->setPen(foreground);
        const QString text = QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight,
                                                           textRect.width());
        painter->drawText(textRect, int(align | Qt::AlignVCenter | Qt::TextSingleLine), text);

        painter->setPen(palette.color(QPalette::Midlight).darker(110));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }

private:
    const CTTSListDlg* panel_;
};

} // namespace

bool RefuseWhileSpeaking(QWidget* parent, const SpeechJob& job) {
    if (!job.speaking())
        return false;
    const QString key = QStringLiteral("wait_for_speaking");
    MessageBox::showNotice(parent, key, GetUiText(key));
    return true;
}

CTTSListDlg::CTTSListDlg(SpeechSchedule& schedule, SpeechJob& job, const DataStore& store,
                         QWidget* parent)
    : QWidget(parent), schedule_(schedule), job_(job), store_(store) {
    setObjectName(QStringLiteral("CTTSListDlg"));

    auto* group = new QGroupBox(tr("即时播放"), this);
    group->setObjectName(QStringLiteral("instantGroup"));
    auto* prompt = new QLabel(tr("请输入要播放的文字内容："), group);
    prompt->setObjectName(QStringLiteral("instantPrompt"));
    text_ = new QPlainTextEdit(group);
    text_->setObjectName(QStringLiteral("instantText"));
    text_->setTabChangesFocus(true);
    importButton_ = new QPushButton(tr("文稿导入..."), group);
    importButton_->setObjectName(QStringLiteral("importButton"));
    playButton_ = new QPushButton(tr("立即播放"), group);
    playButton_->setObjectName(QStringLiteral("playButton"));
    playButton_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(importButton_);
    buttons->addWidget(playButton_);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(prompt);
    groupLayout->addWidget(text_, 1);
    groupLayout->addLayout(buttons);

    auto* listLabel = new QLabel(tr("今日播音任务列表："), this);
    listLabel->setObjectName(QStringLiteral("todayListLabel"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("todayList"));
    SetUpReportList(list_);
    list_->setItemDelegate(new SpeechRowDelegate(this, list_));
    list_->setHeaderLabels({GetUiText(QStringLiteral("seq")), GetUiText(QStringLiteral("time")),
                            GetUiText(QStringLiteral("title"))});
    list_->headerItem()->setTextAlignment(TimeColumn, Qt::AlignCenter);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(SeqColumn, 50);
    list_->setColumnWidth(TimeColumn, 60);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 2);
    layout->addWidget(listLabel);
    layout->addWidget(list_, 5);

    connect(text_, &QPlainTextEdit::textChanged, this,
            [this] { playButton_->setEnabled(!text_->toPlainText().isEmpty()); });
    connect(importButton_, &QPushButton::clicked, this, [this] { importScript(); });
    connect(playButton_, &QPushButton::clicked, this, [this] { playNow(); });

    schedule_.setView(this);
    speechListRebuilt();

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("schedulerTimer"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] { schedule_.Tick(); });
    timer_->start();
}

CTTSListDlg::~CTTSListDlg() {
    schedule_.setView(nullptr);
}

void CTTSListDlg::importScript() {
    CTTSStockSelDlg dialog(store_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedScript())
        return;
    // The box takes its own copy; the play button follows the text.
    text_->setPlainText(dialog.selectedScript()->text);
}

void CTTSListDlg::playNow() {
    if (RefuseWhileSpeaking(this, job_))
        return;
    job_.SpeakInstantText(text_->toPlainText(), true);
}

void CTTSListDlg::speechListRebuilt() {
    list_->setUpdatesEnabled(false);
    list_->clear();
    const auto& entries = schedule_.TodaySpeechList();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(int(entries.size()));
    for (const TodaySpeechEntry& entry : entries) {
        auto* row = new QTreeWidgetItem;
        row->setText(TimeColumn, FormatClock(entry.dueTime));
        row->setText(TitleColumn, entry.task ? entry.task->name : QString());
        row->setData(SeqColumn, Qt::UserRole,
                     QVariant::fromValue<void*>(const_cast<TodaySpeechEntry*>(&entry)));
        rows << row;
    }
    list_->addTopLevelItems(rows);
    NumberListRows(list_);
    list_->setUpdatesEnabled(true);
}

void CTTSListDlg::speechEntryChanged(int /*index*/) {
    list_->viewport()->update();
}

void CTTSListDlg::speechEntryStarted(int index) {
    if (QTreeWidgetItem* row = list_->topLevelItem(index))
        list_->scrollToItem(row);
    list_->viewport()->update();
}

void CTTSListDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTitleColumn();
}

void CTTSListDlg::fitTitleColumn() {
    list_->setColumnWidth(TitleColumn, std::max(100, width() - 125));
}
