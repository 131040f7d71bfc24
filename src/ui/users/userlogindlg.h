#pragma once

#include <QDialog>
#include <QRect>

class DataStore;
class QLabel;
class QLineEdit;
class QPushButton;

// The login window: a picture ("imgs/loginbk.bmp" of the program folder)
// with the name and password boxes on it. The labels exist but stay hidden,
// because the picture shows them; the buttons lie over their pictures and
// draw nothing. A click on a button's place in the picture acts as the
// button, whichever of the two receives it.
class CUserLoginDlg : public QDialog {
    Q_OBJECT

public:
    enum Mode {
        StartupLogin = 0,   // nobody is logged in yet
        VerifyPassword = 1, // the current user confirms it is still them
        LoginAgain = 2,     // somebody logs in in place of the current user
    };

    static constexpr int kWidth = 414;
    static constexpr int kHeight = 303;
    // Every attempt takes at least this long, to slow down guessing.
    static constexpr int kAttemptMs = 200;

    CUserLoginDlg(DataStore& store, const QString& name, int mode, QWidget* parent = nullptr);

    // The name as typed and the account's role, valid after OK.
    QString loginName() const { return loginName_; }
    int roleResult() const { return role_; }
    int mode() const { return mode_; }

    // Where the picture shows the two buttons (client coordinates).
    static QRect okButtonRect() { return QRect(201, 201, 75, 20); }
    static QRect cancelButtonRect() { return QRect(292, 201, 75, 20); }
    // Where the picture shows its heading, down to the rule below it; the
    // password check puts its own heading there.
    static QRect headingRect() { return QRect(130, 12, 272, 34); }

    // Checks the two boxes; closes with OK when the account and password
    // match, otherwise says why and stays open for another attempt.
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void addVerifyHeading();

    DataStore& store_;
    int mode_;
    QString loginName_;
    int role_ = 0;
    QLineEdit* nameEdit_;
    QLineEdit* passwordEdit_;
    QLabel* prompt_;
};
