#include "ui/speech/ttstaskdlg.h"

#include "ui_ttstaskdlg.h"

#include <QFontMetrics>
#include <QHeaderView>

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "controls/waitcursor.h"
#include "station/speechtaskmodel.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/speech/ttstaskeditdlg.h"
#include "ui/users/userlogin.h"

CTTSTaskDlg::CTTSTaskDlg(DataStore& store, const AppState& state, const Clock& clock,
                         CPlayerWnd& player, SpeechJob& job, SpeechSchedule& schedule,
                         QWidget* parent)
    : QWidget(parent), store_(store), state_(state), clock_(clock), player_(player), job_(job),
      ui_(std::make_unique<Ui::CTTSTaskDlg>()) {
    ui_->setupUi(this);

    model_ = new SpeechTaskModel(store_, clock_, schedule, this);
    QTreeView* list = ui_->taskList;
    ShowModelInList(list, model_);
    ShowDrawnRows(list, SpeechTaskModel::NameColumn, kNameIndent);
    // The fixed columns are as wide as planned, or as their longest text
    // and title need in the list's font, so that no date is cut short.
    const QFontMetrics metrics(list->font());
    const auto fit = [&](int column, int planned, const QString& longest) {
        const QString title = model_->headerData(column, Qt::Horizontal).toString();
        const int needed = qMax(metrics.horizontalAdvance(longest),
                                list->header()->fontMetrics().horizontalAdvance(title));
        list->setColumnWidth(column, qMax(planned, needed + 12));
    };
    list->setColumnWidth(SpeechTaskModel::NumberColumn, 40);
    fit(SpeechTaskModel::DateTimeColumn, 190, QStringLiteral("00/00/00/~00/00 00:00~00:00"));
    fit(SpeechTaskModel::IntervalColumn, 40, QStringLiteral("600'"));
    fitNameColumn();

    ui_->searchDate->setDate(YmdToDate(TodayYmd(clock_)));
    ui_->searchDate->setEnabled(!ui_->anyDateBox->isChecked());
    connect(ui_->anyDateBox, &QCheckBox::toggled, ui_->searchDate,
            [this](bool anyDate) { ui_->searchDate->setEnabled(!anyDate); });

    // A reset (a task added or moved) drops the selection; the command that
    // caused it selects the row again.
    connect(model_, &QAbstractItemModel::modelReset, this, &CTTSTaskDlg::showSelection);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CTTSTaskDlg::showSelection);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTTSTaskDlg::showSelection);
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(ui_->addButton, &QPushButton::clicked, this, &CTTSTaskDlg::OnAdd);
    connect(ui_->editButton, &QPushButton::clicked, this, &CTTSTaskDlg::OnEdit);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CTTSTaskDlg::OnDelete);
    connect(ui_->toggleButton, &QPushButton::clicked, this, &CTTSTaskDlg::OnToggle);
    connect(ui_->searchButton, &QPushButton::clicked, this, &CTTSTaskDlg::OnSearch);
    connect(ui_->searchText, &QLineEdit::returnPressed, this, &CTTSTaskDlg::OnSearch);
    showSelection();
}

CTTSTaskDlg::~CTTSTaskDlg() = default;

QTreeView* CTTSTaskDlg::list() const {
    return ui_->taskList;
}

int CTTSTaskDlg::selectedRow() const {
    return SelectedListRow(ui_->taskList);
}

void CTTSTaskDlg::selectRow(int row) {
    SelectListRow(ui_->taskList, row);
    showSelection();
}

void CTTSTaskDlg::showSelection() {
    const SpeechTask* task = model_->taskAt(selectedRow());
    ui_->editButton->setEnabled(task);
    ui_->deleteButton->setEnabled(task);
    ui_->toggleButton->setEnabled(task);
    ui_->toggleButton->setText(
        GetUiText(task && task->disabled ? QStringLiteral("enable") : QStringLiteral("disable")));
    ui_->taskText->setPlainText(task ? task->text : QString());
}

bool CTTSTaskDlg::refuseOperator() {
    if (IsAdministrator(state_))
        return false;
    const QString key = QStringLiteral("only_admin_role_to_exec");
    MessageBox::showNotice(this, key, GetUiText(key));
    return true;
}

void CTTSTaskDlg::OnAdd() {
    if (refuseOperator())
        return;
    CTTSTaskEditDlg dlg(store_, state_, clock_, player_, job_, nullptr, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    WaitCursor busy;
    selectRow(model_->add(dlg.task()));
}

void CTTSTaskDlg::OnEdit() {
    const int row = selectedRow();
    const SpeechTask* task = model_->taskAt(row);
    if (!task)
        return;
    // Anybody may open a task and listen to it; the editor's confirm asks
    // for an administrator.
    CTTSTaskEditDlg dlg(store_, state_, clock_, player_, job_, task, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    WaitCursor busy;
    selectRow(model_->update(row, dlg.task()));
}

void CTTSTaskDlg::OnDelete() {
    if (refuseOperator())
        return;
    const int row = selectedRow();
    if (!model_->taskAt(row))
        return;
    const QString key = QStringLiteral("ensure_del_speak_task");
    if (MessageBox::askDelete(this, key, GetUiText(key)) != QMessageBox::Yes)
        return;
    WaitCursor busy;
    model_->remove(row);
    selectRow(row > 0 ? row - 1 : 0);
}

void CTTSTaskDlg::OnToggle() {
    const int row = selectedRow();
    if (!model_->taskAt(row))
        return;
    WaitCursor busy;
    model_->toggle(row);
}

void CTTSTaskDlg::OnSearch() {
    const YmdDate date = ui_->anyDateBox->isChecked() ? 0 : DateToYmd(ui_->searchDate->date());
    const int row = model_->find(date, ui_->searchText->text());
    if (row >= 0) {
        selectRow(row);
    } else if (model_->rowCount() > 0) {
        const QString key = QStringLiteral("without_match_speak_task");
        MessageBox::showNotice(this, key, GetUiText(key));
    }
}

void CTTSTaskDlg::fitNameColumn() {
    const QTreeView* list = ui_->taskList;
    int fixed = kScrollBarWidth;
    for (int column : {SpeechTaskModel::NumberColumn, SpeechTaskModel::DateTimeColumn,
                       SpeechTaskModel::IntervalColumn})
        fixed += list->columnWidth(column);
    FitColumnToList(ui_->taskList, SpeechTaskModel::NameColumn, fixed);
}

void CTTSTaskDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNameColumn();
}
