#include "ui/speech/ttsstockdlg.h"

#include "ui_ttsstockdlg.h"

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "schedule/speechjob.h"
#include "station/scriptmodel.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/speech/ttstextdlg.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kNumberWidth = 40;

} // namespace

CTTSStockDlg::CTTSStockDlg(DataStore& store, const AppState& state, const Player& player,
                           SpeechJob& job, QWidget* parent)
    : QWidget(parent), store_(store), state_(state), player_(player), job_(job),
      ui_(std::make_unique<Ui::CTTSStockDlg>()) {
    ui_->setupUi(this);

    model_ = new ScriptModel(store_, this);
    QTreeView* list = ui_->scriptList;
    ShowModelInList(list, model_);
    list->setColumnWidth(ScriptModel::NumberColumn, kNumberWidth);
    fitTitleColumn();

    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTTSStockDlg::showSelection);
    // An edit changes the selected row's text as well as its title.
    connect(model_, &QAbstractItemModel::dataChanged, this, &CTTSStockDlg::showSelection);
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(ui_->addButton, &QPushButton::clicked, this, &CTTSStockDlg::OnAdd);
    connect(ui_->editButton, &QPushButton::clicked, this, &CTTSStockDlg::OnEdit);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CTTSStockDlg::OnDelete);
    connect(ui_->listenButton, &QPushButton::clicked, this, &CTTSStockDlg::OnListen);
    showSelection();
}

CTTSStockDlg::~CTTSStockDlg() = default;

QTreeView* CTTSStockDlg::list() const {
    return ui_->scriptList;
}

QPlainTextEdit* CTTSStockDlg::textBox() const {
    return ui_->scriptText;
}

int CTTSStockDlg::selectedRow() const {
    return SelectedListRow(ui_->scriptList);
}

void CTTSStockDlg::selectRow(int row) {
    SelectListRow(ui_->scriptList, row);
}

void CTTSStockDlg::showSelection() {
    const SpeechScript* script = model_->scriptAt(selectedRow());
    ui_->editButton->setEnabled(script);
    ui_->deleteButton->setEnabled(script);
    ui_->listenButton->setEnabled(script);
    ui_->scriptText->setPlainText(script ? script->text : QString());
}

void CTTSStockDlg::OnAdd() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    CTTSTextDlg dlg(store_, state_, player_, job_, QString(), QString(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    selectRow(model_->add(SpeechScript{dlg.title(), dlg.text()}));
}

void CTTSStockDlg::OnEdit() {
    const int row = selectedRow();
    const SpeechScript* script = model_->scriptAt(row);
    if (!script)
        return;
    // Anybody may open a script and listen to it; the dialog's confirm asks
    // for an administrator.
    CTTSTextDlg dlg(store_, state_, player_, job_, script->title, script->text, this);
    if (dlg.exec() == QDialog::Accepted)
        model_->update(row, dlg.title(), dlg.text());
}

void CTTSStockDlg::OnDelete() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString key = QStringLiteral("ensure_del_tts");
    if (MessageBox::askDelete(this, key, GetUiText(key)) != QMessageBox::Yes)
        return;
    // Tasks and the instant speech box hold copies of the text: they keep it.
    model_->remove(row);
    selectRow(row > 0 ? row - 1 : 0);
    showSelection();
}

void CTTSStockDlg::OnListen() {
    const SpeechScript* script = model_->scriptAt(selectedRow());
    if (!script || RefuseWhileSpeaking(this, job_))
        return;
    // A preview is for the operator's ears: the transmitter stays as it is.
    job_.SpeakInstantText(script->text, false);
}

void CTTSStockDlg::fitTitleColumn() {
    FitColumnToList(ui_->scriptList, ScriptModel::TitleColumn, kFixedColumnsWidth);
}

void CTTSStockDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTitleColumn();
}
