#include "ui/music/musicfoldermanagedlg.h"

#include "ui_musicfoldermanagedlg.h"

#include <QHeaderView>

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "station/musiccategorylistmodel.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/music/musicfoldernamedlg.h"
#include "ui/music/musiclists.h"

namespace {

constexpr int kNumberWidth = 50;

// Runs the name dialog; true with the confirmed name.
bool askName(QWidget* parent, QString* name) {
    CMusicFolderNameDlg dialog(*name, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *name = dialog.name();
    return true;
}

void refuseTakenName(QWidget* parent) {
    const QString key = QStringLiteral("the_category_exist_reentry");
    MessageBox::showNotice(parent, key, GetUiText(key));
}

} // namespace

CMusicFolderManageDlg::CMusicFolderManageDlg(DataStore& store, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CMusicFolderManageDlg>()) {
    ui_->setupUi(this);
    setModal(true);

    model_ = new MusicCategoryListModel(store, this);
    QTreeView* list = ui_->categoryList;
    SetUpMusicList(list, kNumberWidth);
    list->setModel(model_);
    list->header()->setStretchLastSection(true);
    FitMusicNumberColumn(list, kNumberWidth);

    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMusicFolderManageDlg::updateButtons);
    connect(list, &QTreeView::doubleClicked, this, &CMusicFolderManageDlg::renameCategory);
    connect(ui_->addButton, &QPushButton::clicked, this, &CMusicFolderManageDlg::addCategory);
    connect(ui_->editButton, &QPushButton::clicked, this, &CMusicFolderManageDlg::renameCategory);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CMusicFolderManageDlg::removeCategory);
    connect(ui_->upButton, &QPushButton::clicked, this, [this] { moveCategory(-1); });
    connect(ui_->downButton, &QPushButton::clicked, this, [this] { moveCategory(1); });
    connect(ui_->closeButton, &QPushButton::clicked, this, &CMusicFolderManageDlg::accept);
    updateButtons();
}

CMusicFolderManageDlg::~CMusicFolderManageDlg() = default;

int CMusicFolderManageDlg::selectedRow() const {
    return SelectedListRow(ui_->categoryList);
}

void CMusicFolderManageDlg::selectRow(int row) {
    SelectListRow(ui_->categoryList, row);
    FitMusicNumberColumn(ui_->categoryList, kNumberWidth);
    updateButtons();
}

void CMusicFolderManageDlg::updateButtons() {
    const bool selected = selectedRow() >= 0;
    for (QPushButton* button : {ui_->editButton, ui_->deleteButton, ui_->upButton, ui_->downButton})
        button->setEnabled(selected);
}

void CMusicFolderManageDlg::addCategory() {
    QString name;
    while (askName(this, &name)) {
        if (model_->findName(name) < 0) {
            selectRow(model_->addCategory(name));
            return;
        }
        // Asked again with what was typed, to be corrected.
        refuseTakenName(this);
    }
}

void CMusicFolderManageDlg::renameCategory() {
    const int row = selectedRow();
    if (row < 0)
        return;
    QString name = model_->category(row)->name;
    while (askName(this, &name)) {
        if (model_->findName(name, row) < 0) {
            model_->renameCategory(row, name);
            return;
        }
        refuseTakenName(this);
        name = model_->category(row)->name;
    }
}

void CMusicFolderManageDlg::removeCategory() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString key = QStringLiteral("ensure_del_category");
    if (MessageBox::askDelete(this, key, GetUiText(key)) != QMessageBox::Yes)
        return;
    model_->removeCategory(row);
    selectRow(row > 0 ? row - 1 : 0);
}

void CMusicFolderManageDlg::moveCategory(int step) {
    const int row = selectedRow();
    // The selection moves with the row.
    if (row >= 0 && model_->moveCategory(row, step))
        ui_->categoryList->scrollTo(model_->index(row + step, 0));
}
