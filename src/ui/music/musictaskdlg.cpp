#include "ui/music/musictaskdlg.h"

#include "ui_musictaskdlg.h"

#include "controls/listutils.h"
#include "controls/waitcursor.h"
#include "station/musictaskmodel.h"
#include "station/station.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "ui/music/musictaskeditdlg.h"
#include "ui/users/userlogin.h"

CMusicTaskDlg::CMusicTaskDlg(DataStore& store, const AppState& state, Station& station,
                             CPlayerWnd& player, QWidget* parent)
    : CTaskPanel(state, QStringLiteral("without_matched_music_task"),
                 QStringLiteral("ensure_del_music_task"), parent),
      store_(store), state_(state), station_(station), player_(player),
      ui_(std::make_unique<Ui::CMusicTaskDlg>()) {
    ui_->setupUi(this);
    model_ = new MusicTaskModel(store_, station_, this);
    setUpPanel({ui_->taskList, ui_->anyDateBox, ui_->searchDate, ui_->searchName, ui_->searchButton,
                ui_->addButton, ui_->editButton, ui_->deleteButton, ui_->toggleButton},
               model_, MusicTaskModel::NameColumn,
               {{MusicTaskModel::NumberColumn, 40, QString()},
                {MusicTaskModel::DateTimeColumn, 190, WidestScheduleText()},
                {MusicTaskModel::VolumeColumn, 50, QStringLiteral("100")}},
               TodayYmd(station_.clock()));
    ShowDrawnRows(ui_->taskList, -1, 0);
}

CMusicTaskDlg::~CMusicTaskDlg() = default;

int CMusicTaskDlg::disabledAt(int row) const {
    const MusicTask* task = model_->taskAt(row);
    return task ? task->disabled : -1;
}

int CMusicTaskDlg::findTask(YmdDate date, const QString& text) const {
    return model_->find(date, text);
}

void CMusicTaskDlg::OnAdd() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    CMusicTaskEditDlg dlg(store_, state_, station_.clock(), player_, nullptr, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    WaitCursor busy;
    selectRow(model_->add(MusicTask(dlg.task())));
}

void CMusicTaskDlg::OnEdit() {
    const int row = selectedRow();
    const MusicTask* task = model_->taskAt(row);
    if (!task)
        return;
    // Anybody may open a task and listen to its files; the editor's confirm
    // asks for an administrator.
    CMusicTaskEditDlg dlg(store_, state_, station_.clock(), player_, task, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    WaitCursor busy;
    selectRow(model_->update(row, MusicTask(dlg.task())));
}

void CMusicTaskDlg::removeTask(int row) {
    model_->remove(row);
}

void CMusicTaskDlg::toggleTask(int row) {
    model_->toggle(row);
}
