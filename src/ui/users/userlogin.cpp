#include "ui/users/userlogin.h"

#include "controls/messagebox.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/users/userlogindlg.h"

bool RunLogin(AppState& state, DataStore& store, QWidget* parent) {
    QString name = state.currentUser;
    if (name.isEmpty())
        name = ReadConfig(QStringLiteral("LoginUser"));
    const int mode = state.loggedIn() ? CUserLoginDlg::LoginAgain : CUserLoginDlg::StartupLogin;

    CUserLoginDlg dlg(store, name, mode, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    // The name as typed: it may differ in case from the account's name.
    state.currentUser = dlg.loginName();
    state.currentRole = dlg.roleResult();
    return true;
}

bool VerifyCurrentUser(const AppState& state, DataStore& store, QWidget* parent) {
    CUserLoginDlg dlg(store, state.currentUser, CUserLoginDlg::VerifyPassword, parent);
    return dlg.exec() == QDialog::Accepted;
}

bool IsAdministrator(const AppState& state) {
    return state.currentRole == 1;
}

bool RefuseUnlessAdministrator(QWidget* parent, const AppState& state) {
    if (IsAdministrator(state))
        return false;
    const QString key = QStringLiteral("only_admin_role_to_exec");
    MessageBox::showNotice(parent, key, GetUiText(key));
    return true;
}
