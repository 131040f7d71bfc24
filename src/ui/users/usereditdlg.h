#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CUserEditDlg;
}

// One user account: a new one (role, name and password), an existing one
// (role and name; the password stays as it is) or a new password for an
// account. Confirm checks the account rules and stays open with a message
// while one is broken; the list decides whether the name is free.
class CUserEditDlg : public QDialog {
    Q_OBJECT

public:
    enum Mode { NewUser = 0, EditUser = 1, ChangePassword = 2 };

    // Shows the given values; changing the password starts with both
    // password fields empty.
    CUserEditDlg(int mode, const QString& name, const QString& password, int role,
                 QWidget* parent = nullptr);
    ~CUserEditDlg() override;

    int mode() const { return mode_; }
    // The working copy: as given, and after confirm as checked, with every
    // '|' a blank and the name without blanks at its ends.
    QString name() const { return name_; }
    QString password() const { return password_; }
    int role() const;

    static constexpr int kMinNameLength = 4;
    static constexpr int kMinPasswordLength = 6;

public slots:
    void accept() override;

private:
    bool checkName();
    bool checkPassword();
    bool refuse(const char* key, QWidget* field);

    int mode_;
    QString name_;
    QString password_;
    std::unique_ptr<Ui::CUserEditDlg> ui_;
};
