#include "ui/speech/ttstaskdlg.h"

#include "ui_ttstaskdlg.h"

#include "controls/listutils.h"
#include "controls/waitcursor.h"
#include "station/speechtaskmodel.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "ui/speech/ttstaskeditdlg.h"
#include "ui/users/userlogin.h"

CTTSTaskDlg::CTTSTaskDlg(DataStore& store, const AppState& state, const Clock& clock,
                         CPlayerWnd& player, SpeechJob& job, SpeechSchedule& schedule,
                         QWidget* parent)
    : CTaskPanel(state, QStringLiteral("without_match_speak_task"),
                 QStringLiteral("ensure_del_speak_task"), parent),
      store_(store), state_(state), clock_(clock), player_(player), job_(job),
      ui_(std::make_unique<Ui::CTTSTaskDlg>()) {
    ui_->setupUi(this);
    model_ = new SpeechTaskModel(store_, clock_, schedule, this);
    setUpPanel({ui_->taskList, ui_->anyDateBox, ui_->searchDate, ui_->searchText, ui_->searchButton,
                ui_->addButton, ui_->editButton, ui_->deleteButton, ui_->toggleButton},
               model_, SpeechTaskModel::NameColumn,
               {{SpeechTaskModel::NumberColumn, 40, QString()},
                {SpeechTaskModel::DateTimeColumn, 190, WidestScheduleText()},
                {SpeechTaskModel::IntervalColumn, 40, QStringLiteral("600'")}},
               TodayYmd(clock_));
    ShowDrawnRows(ui_->taskList, SpeechTaskModel::NameColumn, kNameIndent);
}

CTTSTaskDlg::~CTTSTaskDlg() = default;

int CTTSTaskDlg::disabledAt(int row) const {
    const SpeechTask* task = model_->taskAt(row);
    return task ? task->disabled : -1;
}

int CTTSTaskDlg::findTask(YmdDate date, const QString& text) const {
    return model_->find(date, text);
}

void CTTSTaskDlg::showTask(int row) {
    const SpeechTask* task = model_->taskAt(row);
    ui_->taskText->setPlainText(task ? task->text : QString());
}

void CTTSTaskDlg::OnAdd() {
    if (RefuseUnlessAdministrator(this, state_))
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

void CTTSTaskDlg::removeTask(int row) {
    model_->remove(row);
}

void CTTSTaskDlg::toggleTask(int row) {
    model_->toggle(row);
}
