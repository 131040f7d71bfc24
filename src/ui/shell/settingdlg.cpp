#include "ui/shell/settingdlg.h"

#include "ui_settingdlg.h"

#include <QLabel>
#include <QRegularExpressionValidator>

#include "controls/messagebox.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/autostart.h"

namespace {

constexpr int kMinIdleMinutes = 1;
constexpr int kMaxIdleMinutes = 1000;
constexpr int kMinVolume = 0;
constexpr int kMaxVolume = 100;
constexpr quint32 kMsPerMinute = 60000;

const char* const kWeekdayKeys[7] = {"week_MON", "week_TUE", "week_WED", "week_THU",
                                     "week_FRI", "week_SAT", "week_SUN"};
const char* const kFieldPrefixes[7] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

} // namespace

CSettingDlg::CSettingDlg(DataStore& store, quint32 idleTimeMs, QWidget* parent)
    : QDialog(parent), store_(store), idleTimeMs_(idleTimeMs),
      ui_(std::make_unique<Ui::CSettingDlg>()) {
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &CSettingDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CSettingDlg::reject);

    for (int d = 0; d < 7; ++d) {
        const QString prefix = QString::fromLatin1(kFieldPrefixes[d]);
        startEdits_[size_t(d)] = findChild<QLineEdit*>(prefix + QStringLiteral("StartEdit"));
        endEdits_[size_t(d)] = findChild<QLineEdit*>(prefix + QStringLiteral("EndEdit"));
        Q_ASSERT(startEdits_[size_t(d)] && endEdits_[size_t(d)]);
        // A screen reader names each time field by its day.
        const QString day = findChild<QLabel*>(prefix + QStringLiteral("Label"))->text();
        startEdits_[size_t(d)]->setAccessibleName(day + u' ' + tr("开始"));
        endEdits_[size_t(d)]->setAccessibleName(day + u' ' + tr("结束"));
    }
    ui_->idleMinutesEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    const CommonSettings& settings = store_.settings;
    ui_->enterpriseNameEdit->setText(settings.enterpriseName);
    for (int d = 0; d < 7; ++d) {
        startEdits_[size_t(d)]->setText(FormatClock(settings.dailyTime[size_t(2 * d)]));
        endEdits_[size_t(d)]->setText(FormatClock(settings.dailyTime[size_t(2 * d + 1)]));
    }
    ui_->ttsVolumeSpin->setValue(settings.ttsBackgroundVolume);
    ui_->speakDelaySpin->setValue(settings.speakDelay);
    ui_->idleMinutesEdit->setText(QString::number(idleTimeMs_ / kMsPerMinute));
    ui_->autoStartBox->setChecked(IsStartedAtLogin());
}

CSettingDlg::~CSettingDlg() = default;

QLineEdit* CSettingDlg::startEdit(int weekday) const {
    return weekday >= 0 && weekday < 7 ? startEdits_[size_t(weekday)] : nullptr;
}

QLineEdit* CSettingDlg::endEdit(int weekday) const {
    return weekday >= 0 && weekday < 7 ? endEdits_[size_t(weekday)] : nullptr;
}

bool CSettingDlg::readBoundedInt(const QString& text, QWidget* field, int low, int high,
                                 int* value) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (ok && number >= low && number <= high) {
        *value = int(number);
        return true;
    }
    MessageBox::showNotice(
        this, QString(),
        tr("请输入一个 %1 至 %2 之间的整数。").arg(QString::number(low), QString::number(high)));
    field->setFocus();
    return false;
}

bool CSettingDlg::checkWorkingHours(std::array<int, 14>* hours) {
    for (int d = 0; d < 7; ++d) {
        QLineEdit* startField = startEdits_[size_t(d)];
        QLineEdit* endField = endEdits_[size_t(d)];
        // The masked "HH:MM" fields, every blank read as 0.
        const HhmmTime from = ParseClockText(startField->displayText());
        const HhmmTime to = ParseClockText(endField->displayText());
        const auto refuse = [this, d](const char* key, QLineEdit* focus) {
            const QString name = GetUiText(QString::fromLatin1(kWeekdayKeys[d]));
            MessageBox::showNotice(this, QString::fromLatin1(key),
                                   FormatUiText(GetUiText(QString::fromLatin1(key)), name));
            focus->setFocus();
            return false;
        };
        if (from / 100 > 23 || from % 100 > 59)
            return refuse("fmt_set_valid_start_time", startField);
        if (to / 100 > 23 || to % 100 > 59)
            return refuse("fmt_set_valid_end_time", endField);
        // 0 on either side means the day is not bounded there.
        if (to != 0 && from != 0 && from >= to)
            return refuse("fmt_end_time_err", startField);
        (*hours)[size_t(2 * d)] = from;
        (*hours)[size_t(2 * d + 1)] = to;
    }
    return true;
}

void CSettingDlg::accept() {
    int volume = 0;
    int idleMinutes = 0;
    if (!readBoundedInt(ui_->ttsVolumeSpin->cleanText(), ui_->ttsVolumeSpin, kMinVolume, kMaxVolume,
                        &volume))
        return;
    if (!readBoundedInt(ui_->idleMinutesEdit->text(), ui_->idleMinutesEdit, kMinIdleMinutes,
                        kMaxIdleMinutes, &idleMinutes))
        return;
    std::array<int, 14> hours{};
    if (!checkWorkingHours(&hours))
        return;

    // '|' separates the fields of the data files.
    QString name = ui_->enterpriseNameEdit->text().left(100);
    name.replace(u'|', u' ');

    idleTimeMs_ = quint32(idleMinutes) * kMsPerMinute;
    WriteConfig(QStringLiteral("IdleTime"), QString::number(idleTimeMs_));

    CommonSettings& settings = store_.settings;
    for (size_t i = 0; i < hours.size(); ++i)
        settings.dailyTime[i] = HhmmTime(hours[i]);
    settings.enterpriseName = name;
    settings.ttsBackgroundVolume = volume;
    settings.speakDelay = ui_->speakDelaySpin->value();
    store_.SaveCommonFile();

    // The desktop keeps this one, in the user's autostart entry.
    const bool atLogin = ui_->autoStartBox->isChecked();
    if (atLogin != IsStartedAtLogin() && !SetStartedAtLogin(atLogin))
        MessageBox::showWarning(this, QString(), tr("开机自动启动的设置无法保存。"));

    emit idleTimeChanged(idleTimeMs_);
    QDialog::accept();
}
