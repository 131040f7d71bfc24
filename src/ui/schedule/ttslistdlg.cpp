#include "ui/schedule/ttslistdlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/fonts.h"
#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "station/todayspeechlistmodel.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/schedule/ttsstockseldlg.h"

namespace {

constexpr int kIconSize = TodaySpeechListModel::kIconSize;
constexpr int kCellMargin = 3;

// Draws the rows of today's speech list in the colours, fonts and pictures
// the model gives: the current entry red and bold, the done ones grey and
// italic, the voice and the background music in front of the title.
class SpeechRowDelegate : public QStyledItemDelegate {
public:
    SpeechRowDelegate(const QTreeView* list, QObject* parent)
        : QStyledItemDelegate(parent), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int height = QFontMetrics(BoldFont()).height() + 4;
        size.setHeight(std::max({size.height(), height, kIconSize + 2}));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = list_->hasFocus();
        const QPalette& palette = option.palette;

        painter->save();
        const QRect cell = option.rect;
        QColor background = palette.color(QPalette::Base);
        QColor foreground = palette.color(QPalette::Text);
        if (selected) {
            background = palette.color(focused ? QPalette::Highlight : QPalette::Button);
            foreground = palette.color(focused ? QPalette::HighlightedText : QPalette::ButtonText);
        }
        if (const QVariant ink = index.data(Qt::ForegroundRole); ink.isValid())
            foreground = ink.value<QColor>();
        QFont font = NormalFont();
        if (const QVariant face = index.data(Qt::FontRole); face.isValid())
            font = face.value<QFont>().resolve(NormalFont());
        painter->fillRect(cell, background);

        QRect textRect = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
        if (index.column() == TodaySpeechListModel::TitleColumn) {
            const QVariant picture = index.data(Qt::DecorationRole);
            if (picture.isValid())
                painter->drawImage(cell.left() + 1, cell.top() + (cell.height() - kIconSize) / 2,
                                   picture.value<QImage>());
            textRect.setLeft(cell.left() + CTTSListDlg::kTitleIndent);
        }
        painter->setFont(font);
        painter->setPen(foreground);
        const QString text = QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight,
                                                           textRect.width());
        painter->drawText(textRect, index.data(Qt::TextAlignmentRole).toInt() | Qt::TextSingleLine,
                          text);

        painter->setPen(palette.color(QPalette::Midlight).darker(110));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }

private:
    const QTreeView* list_;
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
    prompt->setBuddy(text_); // the labels name what they stand over
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

    model_ = new TodaySpeechListModel(schedule_, this);
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("todayList"));
    list_->setAccessibleName(listLabel->text()); // a list takes no name from a buddy
    SetUpReportList(list_);
    list_->setItemDelegate(new SpeechRowDelegate(list_, list_));
    list_->setModel(model_);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(TodaySpeechListModel::SeqColumn, 50);
    list_->setColumnWidth(TodaySpeechListModel::TimeColumn, 60);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 2);
    layout->addWidget(listLabel);
    layout->addWidget(list_, 5);

    connect(text_, &QPlainTextEdit::textChanged, this,
            [this] { playButton_->setEnabled(!text_->toPlainText().isEmpty()); });
    connect(importButton_, &QPushButton::clicked, this, [this] { importScript(); });
    connect(playButton_, &QPushButton::clicked, this, [this] { playNow(); });

    connect(model_, &QAbstractItemModel::modelReset, this, [this] { FitNumberColumn(list_); });
    connect(&schedule_, &SpeechSchedule::entryStarted, this,
            [this](int row) { list_->scrollTo(model_->index(row, 0)); });
    FitNumberColumn(list_);
}

CTTSListDlg::~CTTSListDlg() = default;

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

void CTTSListDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTitleColumn();
}

void CTTSListDlg::fitTitleColumn() {
    list_->setColumnWidth(TodaySpeechListModel::TitleColumn, std::max(100, width() - 125));
}
