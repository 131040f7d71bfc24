#include "ui/music/musictaskeditdlg.h"

#include "ui_musictaskeditdlg.h"

#include <QPainter>

#include <algorithm>

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "schedule/musicschedule.h"
#include "station/todayspeechlistmodel.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/clock.h"
#include "support/stringutils.h"
#include "ui/media/playerwnd.h"
#include "ui/music/bkmusiceditdlg.h"
#include "ui/music/musiceditdlg.h"
#include "ui/schedule/taskform.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kMaxVolume = 100;
constexpr int kIconSize = 16;
// The file name column takes what the other columns leave of the list.
constexpr int kFixedColumnsWidth = 430;
constexpr int kListedOutOfRange = 10;

enum Column { NumberColumn, NameColumn, TypeColumn, RuleColumn, LengthColumn, VolumeColumn };

// The row pictures are drawn rather than shipped, so that they stay sharp
// and need no files beside the program: a note for the rotation, a clock
// for files due at set times.
QIcon drawRowIcon(bool background) {
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (background) {
        DrawMusicNote(p);
    } else {
        const QColor colour(30, 80, 175);
        p.setPen(QPen(colour, 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    }
    return QIcon(QPixmap::fromImage(image));
}

const QIcon& rowIcon(bool background) {
    static const QIcon icons[2] = {drawRowIcon(false), drawRowIcon(true)};
    return icons[background ? 1 : 0];
}

QString playRule(const PlayItem& item) {
    if (item.kind == PlayItem::Background) {
        if (item.playCount == kUnlimitedPlays)
            return GetUiText(QStringLiteral("unlimit_num"));
        return FormatUiText(GetUiText(QStringLiteral("fmt_num")), item.playCount);
    }
    QString rule;
    if (item.timeMode == PlayItem::TimePoints) {
        for (const HhmmTime point : item.timePoints) {
            if (point != 0)
                rule += FormatClock(point) + u',';
        }
        return rule;
    }
    if (item.rangeStart != 0 || item.rangeEnd != 0)
        rule = FormatClock(item.rangeStart) + u'~' + FormatClock(item.rangeEnd);
    const QString every = UiLanguage() != 0 ? QStringLiteral(" Int:") : QStringLiteral(" 间隔:");
    return rule + every + QString::number(item.interval) + u'\'';
}

// The time t later by `offset`, on the clock of today, to the minute.
HhmmTime shifted(HhmmTime t, HhmmssDuration offset, const Clock& clock) {
    return AddDuration(offset, t, false, clock) / 100;
}

} // namespace

CMusicTaskEditDlg::CMusicTaskEditDlg(const DataStore& store, const AppState& state,
                                     const Clock& clock, CPlayerWnd& player,
                                     const MusicTask* existing, QWidget* parent)
    : QDialog(parent), store_(store), state_(state), clock_(clock), player_(player),
      ui_(std::make_unique<Ui::CMusicTaskEditDlg>()),
      task_(existing ? *existing : TaskForm::NewTask<MusicTask>(store.settings, clock)) {
    ui_->setupUi(this);
    ui_->nameEdit->setMaxLength(kMaxNameLength);
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
            auto* box = new QCheckBox(tr("分区%1").arg(zone), this);
            box->setObjectName(QStringLiteral("zone%1Box").arg(zone));
            return box;
        });

    // A new task usually follows the last one: same dates, hours and volume.
    if (task_.name.isEmpty() && !store_.musicTasks.empty()) {
        const MusicTask& last = *store_.musicTasks.back();
        task_.startDate = last.startDate;
        task_.endDate = last.endDate;
        task_.startTime = last.startTime;
        task_.endTime = last.endTime;
        task_.volume = last.volume;
    }

    QTreeWidget* list = ui_->itemList;
    SetUpReportList(list);
    ShowGridLines(list);
    list->setHeaderLabels(
        {QString(), GetUiText(QStringLiteral("music_name")), GetUiText(QStringLiteral("type")),
         GetUiText(QStringLiteral("play_rule")), GetUiText(QStringLiteral("time_length")),
         GetUiText(QStringLiteral("volumn"))});
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(NumberColumn, 40);
    list->setColumnWidth(TypeColumn, 80);
    list->setColumnWidth(RuleColumn, 200);
    list->setColumnWidth(LengthColumn, 60);
    list->setColumnWidth(VolumeColumn, 50);
    for (int column : {TypeColumn, LengthColumn, VolumeColumn})
        list->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    SetUpReportList(ui_->todayList);
    ui_->todayList->setHeaderLabels({tr("时间"), GetUiText(QStringLiteral("music_name"))});

    connect(list, &QTreeWidget::itemSelectionChanged, this, &CMusicTaskEditDlg::updateButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &CMusicTaskEditDlg::editItem);
    connect(ui_->addBkButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::addBackground);
    connect(ui_->addInsertButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::addInsertPlay);
    connect(ui_->editButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::editItem);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::deleteItem);
    connect(ui_->upButton, &QPushButton::clicked, this, [this] { moveItem(-1); });
    connect(ui_->downButton, &QPushButton::clicked, this, [this] { moveItem(1); });
    connect(ui_->playButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::playItem);
    connect(ui_->startTimeEdit, &QLineEdit::textChanged, this, &CMusicTaskEditDlg::showPreview);
    connect(ui_->endTimeEdit, &QLineEdit::textChanged, this, &CMusicTaskEditDlg::showPreview);
    connect(ui_->okButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CMusicTaskEditDlg::reject);

    showTask();
}

CMusicTaskEditDlg::~CMusicTaskEditDlg() = default;

QTreeWidget* CMusicTaskEditDlg::itemList() const {
    return ui_->itemList;
}

void CMusicTaskEditDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FitColumnToList(ui_->itemList, NameColumn, kFixedColumnsWidth);
}

void CMusicTaskEditDlg::showTask() {
    form_->show(task_, TodayYmd(clock_));
    ui_->volumeSpin->setValue(task_.volume);
    ui_->orderCombo->setCurrentIndex(task_.playOrder == 1 ? 1 : 0);
    for (const auto& item : task_.items)
        ui_->itemList->addTopLevelItem(makeRow(std::make_unique<PlayItem>(*item)));
    NumberListRows(ui_->itemList);
    updateButtons();
    showPreview();
}

QTreeWidgetItem* CMusicTaskEditDlg::makeRow(std::unique_ptr<PlayItem> item) {
    auto* row = new QTreeWidgetItem;
    row->setData(NumberColumn, Qt::UserRole, QVariant::fromValue(quintptr(item.get())));
    for (int column : {TypeColumn, LengthColumn, VolumeColumn})
        row->setTextAlignment(column, Qt::AlignCenter);
    items_.push_back(std::move(item));
    writeRow(row);
    return row;
}

void CMusicTaskEditDlg::writeRow(QTreeWidgetItem* row) const {
    const PlayItem& item =
        *reinterpret_cast<const PlayItem*>(row->data(NumberColumn, Qt::UserRole).value<quintptr>());
    const bool background = item.kind == PlayItem::Background;
    row->setIcon(NameColumn, rowIcon(background));
    row->setText(NameColumn, FileNamePart(item.path));
    row->setToolTip(NameColumn, item.path);
    row->setText(TypeColumn, GetUiText(background ? QStringLiteral("background")
                                                  : QStringLiteral("insert_play")));
    row->setText(RuleColumn, playRule(item));
    row->setText(LengthColumn, FormatDuration(item.duration));
    row->setText(VolumeColumn, QString::number(item.volume));
}

PlayItem* CMusicTaskEditDlg::itemAt(int row) const {
    const QTreeWidgetItem* line = ui_->itemList->topLevelItem(row);
    return line ? reinterpret_cast<PlayItem*>(
                      line->data(NumberColumn, Qt::UserRole).value<quintptr>())
                : nullptr;
}

int CMusicTaskEditDlg::selectedRow() const {
    return SelectedListRow(ui_->itemList);
}

int CMusicTaskEditDlg::findPath(const QString& path, int except) const {
    for (int row = ui_->itemList->topLevelItemCount() - 1; row >= 0; --row) {
        if (row != except && PathsEqual(itemAt(row)->path, path))
            return row;
    }
    return -1;
}

void CMusicTaskEditDlg::selectRow(int row) {
    SelectListRow(ui_->itemList, row);
}

HhmmTime CMusicTaskEditDlg::timeField(bool end) const {
    return end ? form_->endTime() : form_->startTime();
}

void CMusicTaskEditDlg::updateButtons() {
    const bool selected = selectedRow() >= 0;
    for (QPushButton* button :
         {ui_->editButton, ui_->deleteButton, ui_->upButton, ui_->downButton, ui_->playButton})
        button->setEnabled(selected);
}

void CMusicTaskEditDlg::addBackground() {
    CBkMusicEditDlg dlg(store_, player_, nullptr, this);
    if (dlg.exec() == QDialog::Accepted)
        addBatch(dlg.chosenPaths(), dlg.item());
}

void CMusicTaskEditDlg::addInsertPlay() {
    CMusicEditDlg dlg(store_, player_, timeField(false), timeField(true), nullptr, this);
    if (dlg.exec() == QDialog::Accepted)
        addBatch(dlg.chosenPaths(), dlg.item());
}

bool CMusicTaskEditDlg::addBatch(const QStringList& paths, const PlayItem& model) {
    QTreeWidget* list = ui_->itemList;
    QStringList fresh;
    for (const QString& path : paths) {
        const bool twice = std::any_of(fresh.begin(), fresh.end(),
                                       [&path](const QString& p) { return PathsEqual(p, path); });
        if (!twice && findPath(path) < 0)
            fresh << path;
    }
    if (fresh.isEmpty()) {
        if (!paths.isEmpty()) {
            const QString key = QStringLiteral("music_exist_rechoice");
            MessageBox::showNotice(this, key, GetUiText(key));
        }
        return false;
    }
    const QList<HhmmssDuration> lengths = MeasureMusicLengths(this, player_, fresh);

    const bool background = model.kind == PlayItem::Background;
    const int batchKey = list->topLevelItemCount();
    // Background rows stay together at the top, in the order they came.
    int at = 0;
    while (background && at < list->topLevelItemCount() && itemAt(at)->kind == PlayItem::Background)
        ++at;
    const int firstRow = background ? at : list->topLevelItemCount();
    HhmmssDuration offset = 0;
    for (int k = 0; k < lengths.size(); ++k) {
        auto item = std::make_unique<PlayItem>(model);
        item->path = fresh[k];
        item->duration = lengths[k];
        item->batchIndex = k;
        item->batchKey = batchKey;
        item->playedCount = 0;
        if (background) {
            list->insertTopLevelItem(at++, makeRow(std::move(item)));
            continue;
        }
        // The files of one batch follow each other: each starts when the
        // one before it would end.
        item->playCount = 0;
        item->rangeStart = shifted(model.rangeStart, offset, clock_);
        for (HhmmTime& point : item->timePoints) {
            if (point != 0)
                point = shifted(point, offset, clock_);
        }
        offset = AddDurations(offset, item->duration);
        list->addTopLevelItem(makeRow(std::move(item)));
    }
    NumberListRows(list);
    selectRow(firstRow);
    showPreview();
    return true;
}

void CMusicTaskEditDlg::editItem() {
    const int row = selectedRow();
    PlayItem* item = itemAt(row);
    if (!item)
        return;
    const bool background = item->kind == PlayItem::Background;
    for (;;) {
        PlayItem edited;
        if (background) {
            CBkMusicEditDlg dlg(store_, player_, item, this);
            if (dlg.exec() != QDialog::Accepted)
                return;
            edited = dlg.item();
        } else {
            CMusicEditDlg dlg(store_, player_, timeField(false), timeField(true), item, this);
            if (dlg.exec() != QDialog::Accepted)
                return;
            edited = dlg.item();
            edited.playCount = 0;
            edited.playedCount = 0;
        }
        if (findPath(edited.path, row) >= 0) {
            const QString key = QStringLiteral("the_music_exist_rechoice");
            MessageBox::showNotice(this, key, GetUiText(key));
            continue;
        }
        // The batch stays as it was: an edited file is not shifted again.
        *item = edited;
        break;
    }
    writeRow(ui_->itemList->topLevelItem(row));
    showPreview();
}

void CMusicTaskEditDlg::deleteItem() {
    QTreeWidget* list = ui_->itemList;
    const int row = selectedRow();
    PlayItem* item = itemAt(row);
    if (!item)
        return;
    // The files after it in its batch move up one place in the batch.
    for (int below = row + 1; below < list->topLevelItemCount(); ++below) {
        PlayItem* next = itemAt(below);
        if (next->batchIndex == 0)
            break;
        --next->batchIndex;
    }
    delete list->takeTopLevelItem(row);
    items_.erase(std::find_if(items_.begin(), items_.end(),
                              [item](const auto& owned) { return owned.get() == item; }));
    SelectAfterDelete(list, row);
    NumberListRows(list);
    updateButtons();
    showPreview();
}

void CMusicTaskEditDlg::moveItem(int step) {
    const int row = selectedRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= ui_->itemList->topLevelItemCount())
        return;
    SwapListRows(ui_->itemList, row, other);
    showPreview();
}

void CMusicTaskEditDlg::playItem() {
    if (const PlayItem* item = itemAt(selectedRow()))
        player_.PreviewFile(item->path, item->volume);
}

void CMusicTaskEditDlg::showPreview() {
    // The task as it stands in the dialog, run through the schedule's own
    // list builder, so that what is shown is what today's list would hold.
    MusicTask probe;
    probe.startTime = timeField(false);
    probe.endTime = timeField(true);
    for (int row = 0; row < ui_->itemList->topLevelItemCount(); ++row)
        probe.items.push_back(std::make_unique<PlayItem>(*itemAt(row)));
    QTreeWidget* today = ui_->todayList;
    today->clear();
    const QColor past = palette().color(QPalette::Disabled, QPalette::Text);
    for (const TodayMusicEntry& entry : BuildMusicEntries(probe, store_.settings, clock_.now())) {
        if (entry.item->kind == PlayItem::Background)
            continue;
        auto* line = new QTreeWidgetItem(
            today, {FormatClock(entry.dueTime), FileNamePart(entry.item->path)});
        if (entry.done) {
            line->setForeground(0, past);
            line->setForeground(1, past);
        }
    }
}

void CMusicTaskEditDlg::accept() {
    const auto refuse = [this](const QString& key, QWidget* focus) {
        MessageBox::showWarning(this, key, GetUiText(key));
        if (focus)
            focus->setFocus();
    };
    if (!IsAdministrator(state_)) {
        refuse(QStringLiteral("only_admin_role_to_exec"), nullptr);
        return;
    }
    bool ok = false;
    const int volume = ui_->volumeSpin->cleanText().trimmed().toInt(&ok);
    if (!ok || volume < 0 || volume > kMaxVolume) {
        MessageBox::showWarning(this, QString(),
                                tr("请输入一个 %1 至 %2 之间的整数。")
                                    .arg(QString::number(0), QString::number(kMaxVolume)));
        ui_->volumeSpin->setFocus();
        return;
    }
    if (const TaskForm::Refusal refusal = form_->check(); !refusal.key.isEmpty()) {
        refuse(refusal.key, refusal.field);
        return;
    }
    const HhmmTime startTime = form_->startTime();
    const HhmmTime endTime = form_->endTime();

    // Insert-play files that could never play inside the new window.
    QTreeWidget* list = ui_->itemList;
    const int rows = list->topLevelItemCount();
    QString outside;
    int listed = 0;
    for (int row = 0; row < rows; ++row) {
        if (listed == kListedOutOfRange) {
            outside += QStringLiteral("...\r\n");
            break;
        }
        const PlayItem& item = *itemAt(row);
        if (item.kind != PlayItem::InsertPlay)
            continue;
        bool never = false;
        if (item.timeMode == PlayItem::TimePoints) {
            const auto inside = [&](HhmmTime t) { return t >= startTime && t <= endTime; };
            const auto& points = item.timePoints;
            never = std::any_of(points.begin(), points.end(), [](HhmmTime t) { return t != 0; }) &&
                    std::none_of(points.begin(), points.end(),
                                 [&](HhmmTime t) { return t != 0 && inside(t); });
        } else {
            never = item.rangeEnd < startTime || item.rangeStart > endTime;
        }
        if (never) {
            outside += FileNamePart(item.path) + QStringLiteral("\r\n");
            ++listed;
        }
    }
    if (listed > 0) {
        const QString key = QStringLiteral("fmt_music_time_range_exceed");
        const int answer = MessageBox::show(
            this, key, FormatUiText(GetUiText(key), outside), MessageBox::Icon::Question,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::Yes) {
            ui_->startTimeEdit->setFocus();
            return;
        }
    }

    form_->store(task_);
    task_.volume = volume;
    task_.playOrder = ui_->orderCombo->currentIndex() == 1 ? 1 : 0;
    task_.items.clear();
    for (int row = 0; row < rows; ++row)
        task_.items.push_back(std::make_unique<PlayItem>(*itemAt(row)));
    QDialog::accept();
}
