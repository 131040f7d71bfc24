#include "ui/speech/ttstaskeditdlg.h"

#include "ui_ttstaskeditdlg.h"

#include <QMenu>

#include "controls/messagebox.h"
#include "media/player.h"
#include "media/speechengine.h"
#include "schedule/speechjob.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/stringutils.h"
#include "ui/media/playerwnd.h"
#include "ui/schedule/taskform.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/schedule/ttsstockseldlg.h"
#include "ui/speech/speechtextbox.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kDefaultInterval = 10;

SpeechTask newTask(const DataStore& store, const Clock& clock) {
    auto task = TaskForm::NewTask<SpeechTask>(store.settings, clock);
    task.interval = kDefaultInterval;
    return task;
}

} // namespace

CTTSTaskEditDlg::CTTSTaskEditDlg(const DataStore& store, const AppState& state, const Clock& clock,
                                 CPlayerWnd& player, SpeechJob& job, const SpeechTask* existing,
                                 QWidget* parent)
    : QDialog(parent), store_(store), state_(state), clock_(clock), player_(player), job_(job),
      ui_(std::make_unique<Ui::CTTSTaskEditDlg>()),
      task_(existing ? *existing : newTask(store, clock)) {
    ui_->setupUi(this);
    ui_->nameEdit->setMaxLength(kMaxNameLength);
    ui_->intervalSpin->setRange(0, kMaxInterval);
    form_ = std::make_unique<TaskForm>(
        TaskForm::Fields{ui_->nameEdit,
                         ui_->startDateEdit,
                         ui_->endDateEdit,
                         ui_->startTimeEdit,
                         ui_->endTimeEdit,
                         {ui_->mondayBox, ui_->tuesdayBox, ui_->wednesdayBox, ui_->thursdayBox,
                          ui_->fridayBox, ui_->saturdayBox, ui_->sundayBox}});
    form_->placeZones(
        ui_->zoneLayout,
        [this](int group) {
            auto* box = new QCheckBox(tr("组%1").arg(group), this);
            box->setObjectName(QStringLiteral("group%1Box").arg(group));
            return box;
        },
        [this](int zone) {
            auto* button = new QPushButton(tr("分区%1").arg(zone), this);
            button->setObjectName(QStringLiteral("zone%1Button").arg(zone));
            button->setAutoDefault(false);
            return button;
        });

    // A new task usually follows the last one: same days, hours and sound.
    if (task_.name.isEmpty() && !store_.speechTasks.empty()) {
        const SpeechTask& last = *store_.speechTasks.back();
        task_.startDate = last.startDate;
        task_.endDate = last.endDate;
        task_.startTime = last.startTime;
        task_.endTime = last.endTime;
        task_.interval = last.interval;
        task_.effect = last.effect;
        task_.bkMusic = last.bkMusic;
    }

    // Same indexes as the effect list, which stays the one speeches use.
    player_.FillVoiceList(ui_->effectCombo, false);

    auto* variables = new QMenu(ui_->variableButton);
    variables->setObjectName(QStringLiteral("VarList"));
    const char* const items[][2] = {{QT_TR_NOOP("企业名称(%Name%)"), "%Name%"},
                                    {QT_TR_NOOP("日期(%Date%)"), "%Date%"},
                                    {QT_TR_NOOP("时间(%Time%)"), "%Time%"},
                                    {QT_TR_NOOP("星期(%Week%)"), "%Week%"}};
    for (const auto& item : items) {
        const QString variable = QLatin1String(item[1]);
        variables->addAction(tr(item[0]), this, [this, variable] { insertVariable(variable); });
    }
    ui_->variableButton->setMenu(variables);

    QComboBox* music = ui_->bkMusicCombo;
    music->addItem(GetUiText(QStringLiteral("label_none")), QString());
    for (const auto& entry : store_.backgroundMusic)
        music->addItem(FileNamePart(entry->path), entry->path);

    connect(ui_->textEdit, &QPlainTextEdit::textChanged, this, &CTTSTaskEditDlg::textChanged);
    connect(ui_->importButton, &QPushButton::clicked, this, &CTTSTaskEditDlg::importScript);
    connect(ui_->listenButton, &QPushButton::clicked, this, &CTTSTaskEditDlg::listen);
    connect(ui_->okButton, &QPushButton::clicked, this, &CTTSTaskEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CTTSTaskEditDlg::reject);

    showTask();
}

CTTSTaskEditDlg::~CTTSTaskEditDlg() = default;

void CTTSTaskEditDlg::showTask() {
    form_->show(task_, TodayYmd(clock_));
    ui_->intervalSpin->setValue(task_.interval);
    ui_->effectCombo->setCurrentIndex(task_.effect);

    // The last line naming the path wins, as in the list the tasks are
    // checked against; a path no longer listed shows none.
    QComboBox* music = ui_->bkMusicCombo;
    int musicLine = 0;
    for (int line = 1; line < music->count(); ++line) {
        if (!task_.bkMusic.isEmpty() && PathsEqual(music->itemData(line).toString(), task_.bkMusic))
            musicLine = line;
    }
    music->setCurrentIndex(musicLine);

    ui_->textEdit->setPlainText(task_.text);
    textChanged();
}

QString CTTSTaskEditDlg::spokenText() const {
    QString text = ui_->textEdit->toPlainText();
    player_.player().speech().ExpandSpeechVariables(text);
    return text;
}

SpeechRequest CTTSTaskEditDlg::listenRequest() const {
    SpeechRequest request;
    request.text = ui_->textEdit->toPlainText();
    request.voiceIndex = ui_->effectCombo->currentIndex();
    request.backgroundMusic = ui_->bkMusicCombo->currentData().toString();
    return request;
}

void CTTSTaskEditDlg::textChanged() {
    KeepSpeechTextInStep(ui_->textEdit, kMaxTextLength, ui_->listenButton,
                         [this] { return spokenText(); });
}

void CTTSTaskEditDlg::insertVariable(const QString& name) {
    // A task's text is mostly a sentence around the variables: the name
    // goes where the operator is writing.
    ui_->textEdit->insertPlainText(name);
    ui_->textEdit->setFocus();
}

void CTTSTaskEditDlg::importScript() {
    CTTSStockSelDlg dialog(store_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.selectedScript())
        ui_->textEdit->setPlainText(dialog.selectedScript()->text);
}

void CTTSTaskEditDlg::listen() {
    if (RefuseWhileSpeaking(this, job_))
        return;
    // A preview is for the operator's ears: the transmitter stays as it is.
    const SpeechRequest request = listenRequest();
    job_.StartSpeechJob(&request, false);
}

bool CTTSTaskEditDlg::refuse(const QString& key, QWidget* focus) {
    MessageBox::showNotice(this, key, GetUiText(key));
    if (focus)
        focus->setFocus();
    return false;
}

void CTTSTaskEditDlg::accept() {
    if (!IsAdministrator(state_)) {
        refuse(QStringLiteral("only_admin_role_to_exec"), nullptr);
        return;
    }
    bool ok = false;
    const int interval = ui_->intervalSpin->cleanText().trimmed().toInt(&ok);
    if (!ok || interval < 0 || interval > kMaxInterval) {
        MessageBox::showNotice(this, QString(),
                               tr("请输入一个 %1 至 %2 之间的整数。")
                                   .arg(QString::number(0), QString::number(kMaxInterval)));
        ui_->intervalSpin->setFocus();
        return;
    }
    if (const TaskForm::Refusal refusal = form_->check(); !refusal.key.isEmpty()) {
        refuse(refusal.key, refusal.field);
        return;
    }
    const QString text = ui_->textEdit->toPlainText();
    if (text.isEmpty()) {
        refuse(QStringLiteral("entry_speak_content"), ui_->textEdit);
        return;
    }

    // '|' would split the speech file's line; the text keeps its breaks.
    form_->store(task_);
    task_.text = StorableText(text, true);
    task_.interval = interval;
    if (ui_->effectCombo->currentIndex() >= 0)
        task_.effect = ui_->effectCombo->currentIndex();
    task_.bkMusic = ui_->bkMusicCombo->currentData().toString();
    task_.preDelay = 0;
    task_.postDelay = 0;
    QDialog::accept();
}
