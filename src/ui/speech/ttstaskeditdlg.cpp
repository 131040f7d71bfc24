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
#include "ui/schedule/ttslistdlg.h"
#include "ui/schedule/ttsstockseldlg.h"
#include "ui/speech/speechtextbox.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kZonesPerGroup = 8;
constexpr int kDefaultInterval = 10;
constexpr WeekdayMask kAllDays = 0xFF;
constexpr HhmmTime kEndOfDay = 2400;

// Monday is the mask's highest bit, Sunday its second lowest.
int weekdayBit(int weekday) {
    return 1 << (7 - weekday);
}

// The group's first zone is the mask's highest bit.
int zoneBit(int zone) {
    return 1 << (kZonesPerGroup - 1 - zone);
}

SpeechTask newTask(const DataStore& store, const Clock& clock) {
    SpeechTask task;
    task.startDate = task.endDate = TodayYmd(clock);
    // Today's working hours; a day without an end runs to midnight.
    const int day = TodayWeekday(clock);
    const HhmmTime start = store.settings.dailyTime[size_t(2 * day)];
    const HhmmTime end = store.settings.dailyTime[size_t(2 * day + 1)];
    task.startTime = start > 0 ? start : 0;
    task.endTime = end > 0 && end < kEndOfDay ? end : kEndOfDay;
    task.interval = kDefaultInterval;
    task.weekdays = kAllDays;
    return task;
}

// Only the space itself: a name may well end in another kind of blank.
QString cutSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// The masked "HH:MM" field as four digits, every blank read as 0.
QString clockDigits(const QLineEdit* edit) {
    QString digits = edit->displayText();
    digits.replace(u'_', u'0');
    digits.remove(u':');
    return digits;
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
    weekdayBoxes_ = {ui_->mondayBox, ui_->tuesdayBox,  ui_->wednesdayBox, ui_->thursdayBox,
                     ui_->fridayBox, ui_->saturdayBox, ui_->sundayBox};
    for (QCheckBox* weekend : {ui_->saturdayBox, ui_->sundayBox}) {
        QPalette palette = weekend->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        palette.setColor(QPalette::ButtonText, QColor(255, 0, 0));
        weekend->setPalette(palette);
    }
    buildZones();

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

void CTTSTaskEditDlg::buildZones() {
    QGridLayout* grid = ui_->zoneLayout;
    for (int g = 0; g < 3; ++g) {
        const QString number = QString::number(g + 1);
        auto* groupBox = new QCheckBox(tr("组%1").arg(number), this);
        groupBox->setObjectName(QStringLiteral("group%1Box").arg(number));
        grid->addWidget(groupBox, g, 0);
        groupBoxes_[size_t(g)] = groupBox;
        for (int z = 0; z < kZonesPerGroup; ++z) {
            const QString zone = QString::number(g * kZonesPerGroup + z + 1);
            auto* button = new QPushButton(tr("分区%1").arg(zone), this);
            button->setObjectName(QStringLiteral("zone%1Button").arg(zone));
            button->setCheckable(true);
            button->setAutoDefault(false);
            grid->addWidget(button, g, z + 1);
            zoneButtons_[size_t(g * kZonesPerGroup + z)] = button;
            // Switching one zone off means the group as a whole is off.
            connect(button, &QPushButton::clicked, groupBox, [groupBox](bool on) {
                if (!on)
                    groupBox->setChecked(false);
            });
        }
        connect(groupBox, &QCheckBox::clicked, this, [this, g](bool on) {
            for (int z = 0; z < kZonesPerGroup; ++z)
                zoneButton(g, z)->setChecked(on);
        });
    }
}

QPushButton* CTTSTaskEditDlg::zoneButton(int group, int zone) const {
    return zoneButtons_[size_t(group * kZonesPerGroup + zone)];
}

void CTTSTaskEditDlg::showTask() {
    ui_->nameEdit->setText(task_.name);
    const QDate start = YmdToDate(task_.startDate);
    const QDate end = YmdToDate(task_.endDate);
    const QDate today = YmdToDate(TodayYmd(clock_));
    ui_->startDateEdit->setDate(start.isValid() ? start : today);
    ui_->endDateEdit->setDate(end.isValid() ? end : today);
    ui_->startTimeEdit->setText(FormatClock(task_.startTime));
    ui_->endTimeEdit->setText(FormatClock(task_.endTime));
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

    for (int d = 0; d < 7; ++d)
        weekdayBoxes_[size_t(d)]->setChecked(task_.weekdays & weekdayBit(d));
    const std::array<ZoneMask, 3> zones{task_.zones1, task_.zones2, task_.zones3};
    const std::array<int, 3> groups{task_.group1On, task_.group2On, task_.group3On};
    for (int g = 0; g < 3; ++g) {
        for (int z = 0; z < kZonesPerGroup; ++z)
            zoneButton(g, z)->setChecked(zones[size_t(g)] & zoneBit(z));
        groupBoxes_[size_t(g)]->setChecked(groups[size_t(g)] != 0);
    }
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
    const QString start = clockDigits(ui_->startTimeEdit);
    const QString end = clockDigits(ui_->endTimeEdit);
    const QString name = cutSpaces(ui_->nameEdit->text());
    if (name.isEmpty()) {
        refuse(QStringLiteral("entry_task_name"), ui_->nameEdit);
        return;
    }
    if (ui_->endDateEdit->date() < ui_->startDateEdit->date()) {
        refuse(QStringLiteral("end_date_smaller_err"), ui_->endDateEdit);
        return;
    }
    if (!IsValidClockText(start)) {
        refuse(QStringLiteral("input_valid_start_time"), ui_->startTimeEdit);
        return;
    }
    if (!IsValidClockText(end)) {
        refuse(QStringLiteral("input_valid_end_time"), ui_->endTimeEdit);
        return;
    }
    const HhmmTime startTime = ParseClockText(start);
    const HhmmTime endTime = ParseClockText(end);
    if (endTime < startTime) {
        refuse(QStringLiteral("end_time_smaller_err"), ui_->endTimeEdit);
        return;
    }
    const QString text = ui_->textEdit->toPlainText();
    if (text.isEmpty()) {
        refuse(QStringLiteral("entry_speak_content"), ui_->textEdit);
        return;
    }

    // '|' would split the speech file's line; the text keeps its breaks.
    task_.name = StorableText(name);
    task_.text = StorableText(text, true);
    task_.startDate = DateToYmd(ui_->startDateEdit->date());
    task_.endDate = DateToYmd(ui_->endDateEdit->date());
    task_.startTime = startTime;
    task_.endTime = endTime;
    task_.interval = interval;
    if (ui_->effectCombo->currentIndex() >= 0)
        task_.effect = ui_->effectCombo->currentIndex();
    task_.bkMusic = ui_->bkMusicCombo->currentData().toString();
    task_.preDelay = 0;
    task_.postDelay = 0;
    task_.weekdays = 0;
    for (int d = 0; d < 7; ++d) {
        if (weekdayBoxes_[size_t(d)]->isChecked())
            task_.weekdays |= weekdayBit(d);
    }
    std::array<ZoneMask, 3> zones{};
    for (int g = 0; g < 3; ++g) {
        for (int z = 0; z < kZonesPerGroup; ++z) {
            if (zoneButton(g, z)->isChecked())
                zones[size_t(g)] |= zoneBit(z);
        }
    }
    task_.zones1 = zones[0];
    task_.zones2 = zones[1];
    task_.zones3 = zones[2];
    task_.group1On = groupBoxes_[0]->isChecked() ? 1 : 0;
    task_.group2On = groupBoxes_[1]->isChecked() ? 1 : 0;
    task_.group3On = groupBoxes_[2]->isChecked() ? 1 : 0;
    QDialog::accept();
}
