#include "ui/music/musiceditdlg.h"

#include "ui_musiceditdlg.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include "controls/filedialog.h"
#include "controls/messagebox.h"
#include "controls/waitcursor.h"
#include "media/medialength.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/stringutils.h"
#include "ui/media/playerwnd.h"
#include "ui/music/musicseldlg.h"
#include "ui/schedule/taskform.h"

namespace {

const QChar kPathSeparator = u'|';
constexpr int kMaxVolume = 100;
// Up to this many files are measured under the busy cursor alone; more
// could keep the window frozen for long, so they get a progress dialog.
constexpr int kQuietMeasureCount = 4;
constexpr int kSecondsPerDay = 24 * 3600;

int toSeconds(HhmmssDuration d) {
    return d / 10000 * 3600 + d / 100 % 100 * 60 + d % 100;
}

// The masked "HH:MM" field as four digits, every blank read as 0.
// The spin box's text as a number inside [low, high]; false for anything
// else, an empty field included.
bool readSpin(const QSpinBox* spin, int low, int high, int* value) {
    bool ok = false;
    *value = spin->cleanText().trimmed().toInt(&ok);
    return ok && *value >= low && *value <= high;
}

} // namespace

bool CheckMusicFileField(QWidget* dialog, QLineEdit* field, bool newItem, QStringList* paths) {
    const QString file = field->text();
    const auto refuse = [&](const QString& key, const QString& text) {
        MessageBox::showWarning(dialog, key, text);
        field->setFocus();
        return false;
    };
    if (file.isEmpty())
        return refuse(QStringLiteral("entry_music_file"), GetUiText("entry_music_file"));
    *paths = newItem ? file.split(kPathSeparator, Qt::SkipEmptyParts) : QStringList{file};
    for (const QString& path : *paths) {
        if (!IsStorablePath(path)) {
            const QString key = QStringLiteral("fmt_path_bad_chars");
            return refuse(key, FormatUiText(GetUiText(key), path));
        }
    }
    if (!newItem && !QFileInfo::exists(file)) {
        refuse(QStringLiteral("music_dont_exist_reentry"), GetUiText("music_dont_exist_reentry"));
        field->selectAll();
        return false;
    }
    return true;
}

QStringList ChooseMusicFiles(QWidget* parent, const DataStore& store, bool several,
                             bool fromLibrary) {
    QStringList paths;
    if (fromLibrary) {
        CMusicSelDlg dlg(store, several, parent);
        if (dlg.exec() == QDialog::Accepted)
            paths = dlg.chosenPaths();
    } else if (several) {
        paths = FileDialog::getOpenFileNames(parent, QString(), QString(), MusicFileFilter());
    } else {
        const QString path =
            FileDialog::getOpenFileName(parent, QString(), QString(), MusicFileFilter());
        if (!path.isEmpty())
            paths << path;
    }
    QStringList usable;
    for (const QString& path : paths) {
        if (IsStorablePath(path)) {
            usable << path;
            continue;
        }
        const QString key = QStringLiteral("fmt_path_bad_chars");
        MessageBox::showNotice(parent, key, FormatUiText(GetUiText(key), path));
    }
    return usable;
}

QList<HhmmssDuration> MeasureMusicLengths(QWidget* parent, const CPlayerWnd& player,
                                          const QStringList& paths) {
    QList<HhmmssDuration> lengths;
    if (paths.size() <= kQuietMeasureCount) {
        WaitCursor busy;
        for (const QString& path : paths)
            lengths << player.MeasureMediaLength(path);
        return lengths;
    }
    QProgressDialog progress(QCoreApplication::translate("CMusicEditDlg", "正在计算音乐时长..."),
                             QCoreApplication::translate("CMusicEditDlg", "取消"), 0,
                             int(paths.size()), parent);
    progress.setObjectName(QStringLiteral("measureProgress"));
    progress.setWindowTitle(QCoreApplication::translate("CMusicEditDlg", "计算音乐时长"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    for (const QString& path : paths) {
        // A modal progress dialog runs the events while its value changes.
        progress.setValue(int(lengths.size()));
        if (progress.wasCanceled())
            break;
        lengths << player.MeasureMediaLength(path);
    }
    progress.setValue(progress.maximum());
    return lengths;
}

HhmmssDuration AddDurations(HhmmssDuration a, HhmmssDuration b) {
    const int total = (toSeconds(a) + toSeconds(b)) % kSecondsPerDay;
    return SecondsToDuration(total);
}

CMusicEditDlg::CMusicEditDlg(const DataStore& store, const CPlayerWnd& player, HhmmTime windowStart,
                             HhmmTime windowEnd, const PlayItem* existing, QWidget* parent)
    : QDialog(parent), store_(store), player_(player), ui_(std::make_unique<Ui::CMusicEditDlg>()),
      windowStart_(qMin(windowStart, windowEnd)), windowEnd_(qMax(windowStart, windowEnd)),
      newItem_(existing == nullptr) {
    ui_->setupUi(this);
    ui_->intervalSpin->setRange(1, kMaxInterval);
    buildTimePoints();

    if (existing) {
        item_ = *existing;
    } else {
        item_.interval = kDefaultInterval;
        // New music usually goes with the loudness of the last task.
        item_.volume = store_.musicTasks.empty() ? kMaxVolume : store_.musicTasks.back()->volume;
    }

    QPalette red = ui_->windowLabel->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ui_->windowLabel->setPalette(red);
    const QString key = QStringLiteral("fmt_task_time_range");
    ui_->windowLabel->setText(
        FormatUiText(GetUiText(key), FormatClock(windowStart_), FormatClock(windowEnd_)));

    ui_->fileEdit->setText(item_.path);
    ui_->volumeSpin->setValue(item_.volume);
    ui_->rangeStartEdit->setText(FormatClock(item_.rangeStart));
    ui_->rangeEndEdit->setText(FormatClock(item_.rangeEnd));
    ui_->intervalSpin->setValue(item_.interval);
    for (int i = 0; i < item_.usedTimePoints(); ++i)
        pointEdits_[size_t(i)]->setText(FormatClock(item_.timePoints[size_t(i)]));
    (item_.timeMode == PlayItem::TimePoints ? ui_->pointsRadio : ui_->rangeRadio)->setChecked(true);

    connect(ui_->rangeRadio, &QRadioButton::clicked, this, [this] { applyMode(true); });
    connect(ui_->pointsRadio, &QRadioButton::clicked, this, [this] { applyMode(true); });
    connect(ui_->browseButton, &QPushButton::clicked, this,
            [this] { takeFiles(ChooseMusicFiles(this, store_, newItem_, false)); });
    connect(ui_->libraryButton, &QPushButton::clicked, this,
            [this] { takeFiles(ChooseMusicFiles(this, store_, newItem_, true)); });
    connect(ui_->lengthButton, &QPushButton::clicked, this, &CMusicEditDlg::computeLength);
    connect(ui_->okButton, &QPushButton::clicked, this, &CMusicEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CMusicEditDlg::reject);
    applyMode(true);
}

CMusicEditDlg::~CMusicEditDlg() = default;

void CMusicEditDlg::buildTimePoints() {
    constexpr int kColumns = 5;
    for (int i = 0; i < kTimePointSlots; ++i) {
        const QString number = QString::number(i + 1);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("timePoint%1Edit").arg(number));
        edit->setInputMask(QStringLiteral("99:99;_"));
        edit->setMaximumWidth(64);
        edit->setAccessibleName(tr("第%1个时间点").arg(number));
        auto* label = new QLabel(number + u':', this);
        label->setBuddy(edit);
        const int row = i / kColumns;
        const int column = i % kColumns * 2;
        ui_->pointLayout->addWidget(label, row, column, Qt::AlignRight);
        ui_->pointLayout->addWidget(edit, row, column + 1);
        pointEdits_[size_t(i)] = edit;
    }
}

void CMusicEditDlg::applyMode(bool focus) {
    const bool range = ui_->rangeRadio->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(ui_->rangeStartEdit), static_cast<QWidget*>(ui_->rangeEndEdit),
          static_cast<QWidget*>(ui_->intervalSpin)})
        w->setEnabled(range);
    for (QLineEdit* edit : pointEdits_)
        edit->setEnabled(!range);
    if (range && MaskedClockDigits(ui_->rangeStartEdit) == QLatin1String("0000") &&
        MaskedClockDigits(ui_->rangeEndEdit) == QLatin1String("0000")) {
        // A fresh range starts as the whole task window.
        ui_->rangeStartEdit->setText(FormatClock(windowStart_));
        ui_->rangeEndEdit->setText(FormatClock(windowEnd_));
    }
    if (focus)
        (range ? static_cast<QWidget*>(ui_->rangeStartEdit) : pointEdits_[0])->setFocus();
}

void CMusicEditDlg::takeFiles(const QStringList& paths) {
    if (!paths.isEmpty())
        ui_->fileEdit->setText(newItem_ ? paths.join(kPathSeparator) : paths.first());
}

void CMusicEditDlg::computeLength() {
    const QStringList paths = ui_->fileEdit->text().split(kPathSeparator, Qt::SkipEmptyParts);
    HhmmssDuration total = 0;
    for (HhmmssDuration length : MeasureMusicLengths(this, player_, paths))
        total = AddDurations(total, length);
    const QString key = QStringLiteral("fmt_play_time_len");
    ui_->lengthLabel->setText(FormatUiText(GetUiText(key), FormatDuration(total)));
    // One round of the files fits into the interval.
    ui_->intervalSpin->setValue(total / 10000 * 60 + total / 100 % 100 + (total % 100 > 0));
}

bool CMusicEditDlg::refuse(const QString& key, const QString& text, QWidget* focus) {
    MessageBox::showWarning(this, key, text);
    if (focus)
        focus->setFocus();
    return false;
}

void CMusicEditDlg::accept() {
    const auto rangeText = [this](int low, int high) {
        return tr("请输入一个 %1 至 %2 之间的整数。")
            .arg(QString::number(low), QString::number(high));
    };
    int volume = 0;
    if (!readSpin(ui_->volumeSpin, 0, kMaxVolume, &volume)) {
        refuse(QString(), rangeText(0, kMaxVolume), ui_->volumeSpin);
        return;
    }
    int interval = 0;
    if (!readSpin(ui_->intervalSpin, 1, kMaxInterval, &interval)) {
        refuse(QString(), rangeText(1, kMaxInterval), ui_->intervalSpin);
        return;
    }
    const QString file = ui_->fileEdit->text();
    const auto refuseKey = [this](const char* key, QWidget* focus) {
        const QString k = QLatin1String(key);
        refuse(k, GetUiText(k), focus);
    };
    QStringList paths;
    if (!CheckMusicFileField(this, ui_->fileEdit, newItem_, &paths))
        return;

    PlayItem result = item_;
    result.volume = volume;
    result.timeMode = ui_->pointsRadio->isChecked() ? PlayItem::TimePoints : PlayItem::Interval;
    result.timePoints.fill(0);
    if (result.timeMode == PlayItem::TimePoints) {
        result.rangeStart = result.rangeEnd = result.interval = 0;
        // Empty fields are skipped: the schedule reads the points up to the
        // first empty slot, and a point after a gap would never play.
        size_t used = 0;
        for (int i = 0; i < kTimePointSlots; ++i) {
            QLineEdit* edit = pointEdits_[size_t(i)];
            const QString digits = MaskedClockDigits(edit);
            const HhmmTime point = ParseClockText(digits);
            if (point <= 0)
                continue;
            if (!IsValidClockText(digits)) {
                const QString key = QStringLiteral("fmt_time_set_err");
                refuse(key, FormatUiText(GetUiText(key), i + 1), edit);
                return;
            }
            if (point < windowStart_ || point > windowEnd_) {
                const QString key = QStringLiteral("fmt_time_set_range_err");
                refuse(key, FormatUiText(GetUiText(key), i + 1), edit);
                return;
            }
            result.timePoints[used++] = point;
        }
        if (used == 0) {
            refuseKey("set_play_time_for_music", pointEdits_[0]);
            return;
        }
    } else {
        const QString start = MaskedClockDigits(ui_->rangeStartEdit);
        const QString end = MaskedClockDigits(ui_->rangeEndEdit);
        // The schedule cannot place a time the clock never shows.
        if (!IsValidClockText(start)) {
            refuseKey("input_valid_start_time", ui_->rangeStartEdit);
            return;
        }
        if (!IsValidClockText(end)) {
            refuseKey("input_valid_end_time", ui_->rangeEndEdit);
            return;
        }
        result.rangeStart = ParseClockText(start);
        result.rangeEnd = ParseClockText(end);
        result.interval = interval;
        if (result.rangeEnd < result.rangeStart) {
            refuseKey("stime_cannt_greater_etime", ui_->rangeStartEdit);
            return;
        }
        if (result.rangeStart < windowStart_) {
            refuseKey("stime_cannt_lesser_task_stime", ui_->rangeStartEdit);
            return;
        }
        if (result.rangeEnd > windowEnd_) {
            refuseKey("etime_cannt_greater_tast_etime", ui_->rangeEndEdit);
            return;
        }
    }

    if (newItem_) {
        chosenPaths_ = paths;
    } else if (!PathsEqual(file, item_.path)) {
        WaitCursor busy;
        result.duration = player_.MeasureMediaLength(file);
    }
    result.path = newItem_ ? QString() : file;
    item_ = result;
    QDialog::accept();
}
