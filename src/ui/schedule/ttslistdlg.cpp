#include "ui/schedule/ttslistdlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "station/todayspeechlistmodel.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/schedule/ttsstockseldlg.h"

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
    ShowDrawnRows(list_, TodaySpeechListModel::TitleColumn, kTitleIndent);
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
