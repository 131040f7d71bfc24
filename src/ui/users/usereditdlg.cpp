#include "ui/users/usereditdlg.h"

#include "ui_usereditdlg.h"

#include "controls/messagebox.h"
#include "store/datastore.h"
#include "store/uitext.h"

CUserEditDlg::CUserEditDlg(int mode, const QString& name, const QString& password, int role,
                           QWidget* parent)
    : QDialog(parent), mode_(mode), name_(name), password_(password),
      ui_(std::make_unique<Ui::CUserEditDlg>()) {
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &CUserEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CUserEditDlg::reject);

    ui_->roleCombo->setCurrentIndex(role != 0 ? 1 : 0);
    ui_->nameEdit->setText(name);
    ui_->passwordEdit->setText(password);
    ui_->confirmEdit->setText(password);

    switch (mode_) {
    case NewUser:
        setWindowTitle(GetUiText(QStringLiteral("user_edit_new")));
        break;
    case EditUser:
        setWindowTitle(GetUiText(QStringLiteral("user_edit_edit")));
        for (QWidget* w :
             {static_cast<QWidget*>(ui_->passwordLabel), static_cast<QWidget*>(ui_->passwordEdit),
              static_cast<QWidget*>(ui_->confirmLabel), static_cast<QWidget*>(ui_->confirmEdit)})
            w->hide();
        // Without the password rows the form is two lines high.
        resize(width(), minimumSizeHint().height());
        break;
    case ChangePassword:
        setWindowTitle(GetUiText(QStringLiteral("user_edit_modify_pwd")));
        ui_->nameEdit->setEnabled(false);
        ui_->roleCombo->setEnabled(false);
        // The old password is not shown, nor asked for.
        ui_->passwordEdit->clear();
        ui_->confirmEdit->clear();
        ui_->passwordEdit->setFocus();
        break;
    }
}

CUserEditDlg::~CUserEditDlg() = default;

int CUserEditDlg::role() const {
    return ui_->roleCombo->currentIndex() == 1 ? 1 : 0;
}

bool CUserEditDlg::refuse(const char* key, QWidget* field) {
    const QString name = QString::fromLatin1(key);
    MessageBox::showNotice(this, name, GetUiText(name));
    field->setFocus();
    return false;
}

bool CUserEditDlg::checkName() {
    const QString name = ui_->nameEdit->text().trimmed();
    if (name.isEmpty())
        return refuse("entry_user_name", ui_->nameEdit);
    if (name.size() < kMinNameLength)
        return refuse("loginid_len_err", ui_->nameEdit);
    // '|' separates the fields of the user file.
    name_ = StorableText(name);
    return true;
}

bool CUserEditDlg::checkPassword() {
    const QString password = ui_->passwordEdit->text();
    if (password.isEmpty())
        return refuse("entry_user_pwd", ui_->passwordEdit);
    if (password.size() < kMinPasswordLength)
        return refuse("pwd_len_err", ui_->passwordEdit);
    if (password != ui_->confirmEdit->text()) {
        ui_->passwordEdit->clear();
        ui_->confirmEdit->clear();
        return refuse("pwd_not_consistent", ui_->passwordEdit);
    }
    password_ = StorableText(password);
    return true;
}

void CUserEditDlg::accept() {
    if (mode_ != ChangePassword && !checkName())
        return;
    if (mode_ != EditUser && !checkPassword())
        return;
    QDialog::accept();
}
