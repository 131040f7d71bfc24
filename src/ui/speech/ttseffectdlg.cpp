#include "ui/speech/ttseffectdlg.h"

#include "ui_ttseffectdlg.h"

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "station/bkmusicmodel.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/media/playerwnd.h"
#include "ui/speech/speakbkmusiceditdlg.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kNumberWidth = 40;
constexpr int kVolumeWidth = 50;

} // namespace

CTTSEffectDlg::CTTSEffectDlg(DataStore& store, const AppState& state, CPlayerWnd& player,
                             QWidget* parent)
    : QWidget(parent), store_(store), state_(state), player_(player),
      ui_(std::make_unique<Ui::CTTSEffectDlg>()) {
    ui_->setupUi(this);

    // Every speech picks its voice from this list from now on.
    QComboBox* effects = ui_->effectCombo;
    player_.FillVoiceList(effects, true);
    const int last = effects->count() - 1;
    // A stored choice beyond the voices offered here falls back to the last
    // one; it is written with the next save of the speech file.
    if (store_.playEffect >= last)
        store_.playEffect = last;
    effects->setCurrentIndex(store_.playEffect);
    connect(effects, &QComboBox::currentIndexChanged, this, [this](int index) {
        store_.playEffect = index;
        store_.SaveSpeechFile();
    });

    model_ = new BackgroundMusicModel(store_, this);
    QTreeView* list = ui_->bkMusicList;
    ShowModelInList(list, model_);
    list->setColumnWidth(BackgroundMusicModel::NumberColumn, kNumberWidth);
    list->setColumnWidth(BackgroundMusicModel::VolumeColumn, kVolumeWidth);
    fitNameColumn();

    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTTSEffectDlg::showSelection);
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(ui_->addButton, &QPushButton::clicked, this, &CTTSEffectDlg::OnAdd);
    connect(ui_->editButton, &QPushButton::clicked, this, &CTTSEffectDlg::OnEdit);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CTTSEffectDlg::OnDelete);
    connect(ui_->previewButton, &QPushButton::clicked, this, &CTTSEffectDlg::OnPreview);
    showSelection();
}

CTTSEffectDlg::~CTTSEffectDlg() = default;

QComboBox* CTTSEffectDlg::effectList() const {
    return ui_->effectCombo;
}

QTreeView* CTTSEffectDlg::list() const {
    return ui_->bkMusicList;
}

int CTTSEffectDlg::selectedRow() const {
    return SelectedListRow(ui_->bkMusicList);
}

void CTTSEffectDlg::selectRow(int row) {
    SelectListRow(ui_->bkMusicList, row);
}

void CTTSEffectDlg::showSelection() {
    const bool selected = selectedRow() >= 0;
    ui_->editButton->setEnabled(selected);
    ui_->deleteButton->setEnabled(selected);
    ui_->previewButton->setEnabled(selected);
}

int CTTSEffectDlg::addPaths(const QStringList& paths, int volume, int* alreadyListed) {
    int first = -1;
    for (const QString& path : paths) {
        if (!IsStorablePath(path)) {
            const QString key = QStringLiteral("fmt_path_bad_chars");
            MessageBox::showNotice(this, key, FormatUiText(GetUiText(key), path));
            continue;
        }
        if (model_->findPath(path) >= 0) {
            ++*alreadyListed;
            continue;
        }
        const int row = model_->add(path, volume);
        if (first < 0)
            first = row;
    }
    return first;
}

void CTTSEffectDlg::OnAdd() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    CSpeakBkMusicEditDlg dlg(store_, state_, QString(), 0, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    int alreadyListed = 0;
    const int first = addPaths(dlg.chosenPaths(), dlg.volume(), &alreadyListed);
    if (first >= 0) {
        selectRow(first);
    } else if (alreadyListed > 0) {
        const QString key = QStringLiteral("bkmusic_exist_rechoice");
        MessageBox::showNotice(this, key, GetUiText(key));
    }
}

void CTTSEffectDlg::OnEdit() {
    const int row = selectedRow();
    const SpeechBackgroundMusic* entry = model_->entryAt(row);
    if (!entry)
        return;
    // Each attempt starts again from what is stored; only the dialog's
    // confirm asks for an administrator.
    for (;;) {
        CSpeakBkMusicEditDlg dlg(store_, state_, entry->path, entry->volume, this);
        if (dlg.exec() != QDialog::Accepted)
            return;
        if (model_->findPath(dlg.fileText(), row) < 0) {
            model_->update(row, dlg.fileText(), dlg.volume());
            return;
        }
        const QString key = QStringLiteral("the_bkmusic_exist_rechoice");
        MessageBox::showNotice(this, key, GetUiText(key));
    }
}

void CTTSEffectDlg::OnDelete() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString key = QStringLiteral("ensure_del_bkmusic");
    if (MessageBox::askDelete(this, key, GetUiText(key)) != QMessageBox::Yes)
        return;
    // Speech tasks that name the file keep it: they play nothing under
    // their text once the file is gone.
    model_->remove(row);
    selectRow(row > 0 ? row - 1 : 0);
    showSelection();
}

void CTTSEffectDlg::OnPreview() {
    if (const SpeechBackgroundMusic* entry = model_->entryAt(selectedRow()))
        player_.PreviewFile(entry->path, entry->volume);
}

void CTTSEffectDlg::fitNameColumn() {
    FitColumnToList(ui_->bkMusicList, BackgroundMusicModel::PathColumn, kFixedColumnsWidth);
}

void CTTSEffectDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNameColumn();
}
