#include "ui/users/usermanagedlg.h"

#include "ui_usermanagedlg.h"

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "station/usermodel.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/users/usereditdlg.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kNumberWidth = 40;
constexpr int kRoleWidth = 100;
// The built-in administrator, created again at every start when missing.
const QString kBuiltInAdmin = QStringLiteral("Admin");

void showNotice(QWidget* parent, const char* key) {
    const QString name = QString::fromLatin1(key);
    MessageBox::showNotice(parent, name, GetUiText(name));
}

} // namespace

CUserManageDlg::CUserManageDlg(DataStore& store, AppState& state, QWidget* parent)
    : QDialog(parent), store_(store), state_(state), ui_(std::make_unique<Ui::CUserManageDlg>()) {
    ui_->setupUi(this);

    model_ = new UserListModel(store_, this);
    QTreeView* list = ui_->userList;
    ShowModelInList(list, model_);
    list->setColumnWidth(UserListModel::NumberColumn, kNumberWidth);
    list->setColumnWidth(UserListModel::RoleColumn, kRoleWidth);
    fitNameColumn();

    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CUserManageDlg::showSelection);
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(ui_->addButton, &QPushButton::clicked, this, &CUserManageDlg::OnAdd);
    connect(ui_->editButton, &QPushButton::clicked, this, &CUserManageDlg::OnEdit);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CUserManageDlg::OnDelete);
    connect(ui_->passwordButton, &QPushButton::clicked, this, &CUserManageDlg::OnChangePassword);
    connect(ui_->closeButton, &QPushButton::clicked, this, &CUserManageDlg::reject);
    showSelection();
}

CUserManageDlg::~CUserManageDlg() = default;

QTreeView* CUserManageDlg::list() const {
    return ui_->userList;
}

int CUserManageDlg::selectedRow() const {
    return SelectedListRow(ui_->userList);
}

void CUserManageDlg::selectRow(int row) {
    SelectListRow(ui_->userList, row);
}

void CUserManageDlg::showSelection() {
    const bool selected = selectedRow() >= 0;
    ui_->editButton->setEnabled(selected);
    ui_->deleteButton->setEnabled(selected);
    ui_->passwordButton->setEnabled(selected);
}

bool CUserManageDlg::refuseOperator() {
    if (IsAdministrator(state_))
        return false;
    showNotice(this, "only_admin_role_to_exec");
    return true;
}

void CUserManageDlg::OnAdd() {
    if (refuseOperator())
        return;
    QString name, password;
    int role = 0;
    for (;;) {
        CUserEditDlg dlg(CUserEditDlg::NewUser, name, password, role, this);
        if (dlg.exec() != QDialog::Accepted)
            return;
        // Names are told apart exactly: "admin" is another user than "Admin".
        if (model_->findName(dlg.name()) < 0) {
            selectRow(model_->add(UserAccount{dlg.name(), dlg.password(), dlg.role()}));
            return;
        }
        showNotice(this, "reentry_because_uname_exist");
        // Again with what was typed, to be corrected.
        name = dlg.name();
        password = dlg.password();
        role = dlg.role();
    }
}

void CUserManageDlg::OnEdit() {
    if (refuseOperator())
        return;
    const int row = selectedRow();
    const UserAccount* account = model_->accountAt(row);
    if (!account)
        return;
    // Each attempt starts again from what is stored.
    for (;;) {
        CUserEditDlg dlg(CUserEditDlg::EditUser, account->name, account->password, account->role,
                         this);
        if (dlg.exec() != QDialog::Accepted)
            return;
        if (model_->findName(dlg.name(), row) >= 0) {
            showNotice(this, "reentry_because_uname_exist");
            continue;
        }
        const QString oldName = account->name;
        model_->update(row, dlg.name(), dlg.role());
        // The login follows its account: a demoted administrator is refused
        // from the next action on.
        if (oldName == state_.currentUser) {
            state_.currentRole = dlg.role();
            state_.currentUser = dlg.name();
            emit currentUserChanged();
        }
        return;
    }
}

void CUserManageDlg::OnChangePassword() {
    const int row = selectedRow();
    const UserAccount* account = model_->accountAt(row);
    if (!account)
        return;
    // The name typed at login must match the account exactly to count as
    // one's own.
    if (account->name != state_.currentUser && refuseOperator())
        return;
    CUserEditDlg dlg(CUserEditDlg::ChangePassword, account->name, QString(), account->role, this);
    if (dlg.exec() == QDialog::Accepted)
        model_->setPassword(row, dlg.password());
}

void CUserManageDlg::OnDelete() {
    if (refuseOperator())
        return;
    const int row = selectedRow();
    const UserAccount* account = model_->accountAt(row);
    if (!account)
        return;
    const QString key = QStringLiteral("ensure_del_user");
    if (MessageBox::askDelete(this, key, GetUiText(key)) != QMessageBox::Yes)
        return;
    if (account->name == kBuiltInAdmin) {
        showNotice(this, "cant_del_admin_user");
        return;
    }
    // The logged-in account may go too; the login stays until the next one.
    model_->remove(row);
    selectRow(row > 0 ? row - 1 : 0);
    showSelection();
}

void CUserManageDlg::fitNameColumn() {
    FitColumnToList(ui_->userList, UserListModel::NameColumn, kFixedColumnsWidth);
}

void CUserManageDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitNameColumn();
}
