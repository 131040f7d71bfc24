// The login window in its three uses, RunLogin and VerifyCurrentUser, the
// administrator rule, and the lock window, offscreen.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "stationrig.h"
#include "ui/users/unlockdlg.h"
#include "ui/users/userlogin.h"

namespace {

// A store with the built-in administrator and an operator.
void addOperator(DataStore& store) {
    UserAccount user;
    user.name = QStringLiteral("Operator");
    user.password = QStringLiteral("op-secret");
    user.role = 0;
    store.AddUser(user);
}

QLineEdit* nameBox(QWidget& dlg) {
    return dlg.findChild<QLineEdit*>(QStringLiteral("loginName"));
}
QLineEdit* passwordBox(QWidget& dlg) {
    return dlg.findChild<QLineEdit*>(QStringLiteral("password"));
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void attempts_data();
    void attempts();
    void picturePlacesActAsButtons();
    void offeredName_data();
    void offeredName();
    void verificationMode();
    void headingOfEachUse_data();
    void headingOfEachUse();
    void runLoginKeepsTheNameAsTyped();
    void cancelledLoginChangesNothing();
    void lockWindowIgnoresKeysAndClosing();
    void onlyTheCurrentUserUnlocks_data();
    void onlyTheCurrentUserUnlocks();

private:
    std::unique_ptr<StationRig> rig;
};

void TestLogin::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
    rig->app->store().LoadAll();
    addOperator(rig->app->store());
}

void TestLogin::cleanup() {
    rig.reset();
}

void TestLogin::attempts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("passwordKept");
    QTest::addColumn<int>("role");

    QTest::newRow("no name") << QString() << QStringLiteral("740286")
                             << QStringLiteral("entry_loginid") << QStringLiteral("loginName")
                             << false << 0;
    QTest::newRow("no password") << QStringLiteral("Admin") << QString()
                                 << QStringLiteral("entry_pwd") << QStringLiteral("password")
                                 << true << 0;
    QTest::newRow("unknown name") << QStringLiteral("Nobody") << QStringLiteral("740286")
                                  << QStringLiteral("no_loginid") << QStringLiteral("loginName")
                                  << false << 0;
    QTest::newRow("name with blank")
        << QStringLiteral("Admin ") << QStringLiteral("740286") << QStringLiteral("no_loginid")
        << QStringLiteral("loginName") << false << 0;
    QTest::newRow("wrong password")
        << QStringLiteral("Admin") << QStringLiteral("740287") << QStringLiteral("pwd_err")
        << QStringLiteral("password") << false << 0;
    QTest::newRow("password in other case")
        << QStringLiteral("Operator") << QStringLiteral("OP-SECRET") << QStringLiteral("pwd_err")
        << QStringLiteral("password") << false << 0;
    QTest::newRow("another account's password")
        << QStringLiteral("Operator") << QStringLiteral("740286") << QStringLiteral("pwd_err")
        << QStringLiteral("password") << false << 0;
    QTest::newRow("administrator") << QStringLiteral("Admin") << QStringLiteral("740286")
                                   << QString() << QString() << true << 1;
    QTest::newRow("name in other case") << QStringLiteral("oPERATOR") << QStringLiteral("op-secret")
                                        << QString() << QString() << true << 0;
}

void TestLogin::attempts() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, refusal);
    QFETCH(QString, focus);
    QFETCH(bool, passwordKept);
    QFETCH(int, role);

    CUserLoginDlg dlg(rig->app->store(), QString(), CUserLoginDlg::LoginAgain);
    nameBox(dlg)->setText(name);
    passwordBox(dlg)->setText(password);
    QElapsedTimer attempt;
    attempt.start();
    dlg.OnOK();
    QVERIFY2(attempt.elapsed() >= CUserLoginDlg::kAttemptMs - 5,
             qPrintable(QString::number(attempt.elapsed())));

    if (refusal.isEmpty()) {
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.loginName(), name);
        QCOMPARE(dlg.roleResult(), role);
        return;
    }
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().key, refusal);
    QCOMPARE(MessageBox::shown().first().icon, MessageBox::Icon::Exclamation);
    QCOMPARE(MessageBox::shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(dlg.result(), 0);
    QCOMPARE(dlg.focusWidget()->objectName(), focus);
    QCOMPARE(passwordBox(dlg)->text(), passwordKept ? password : QString());
    QCOMPARE(nameBox(dlg)->text(), name);
}

void TestLogin::picturePlacesActAsButtons() {
    CUserLoginDlg dlg(rig->app->store(), QStringLiteral("Admin"), CUserLoginDlg::StartupLogin);
    QCOMPARE(dlg.size(), QSize(CUserLoginDlg::kWidth, CUserLoginDlg::kHeight));
    // The corners are cut off the window.
    QVERIFY(!dlg.mask().contains(QPoint(0, 0)));
    QVERIFY(dlg.mask().contains(QPoint(10, 10)));
    // The labels are in the picture, not on the screen; the buttons lie
    // over their pictures, where a screen reader finds them by name.
    for (const char* name : {"nameLabel", "passwordLabel"})
        QVERIFY(!dlg.findChild<QWidget*>(QLatin1String(name))->isVisibleTo(&dlg));
    auto* okButton = dlg.findChild<QPushButton*>(QStringLiteral("okButton"));
    QVERIFY(okButton->isVisibleTo(&dlg));
    QCOMPARE(okButton->geometry(), CUserLoginDlg::okButtonRect());
    QCOMPARE(dlg.findChild<QWidget*>(QStringLiteral("cancelButton"))->geometry(),
             CUserLoginDlg::cancelButtonRect());

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    passwordBox(dlg)->setText(QStringLiteral("740286"));
    // A click beside the OK place does nothing; on it, it logs in.
    QTest::mouseClick(&dlg, Qt::LeftButton, {},
                      CUserLoginDlg::okButtonRect().topLeft() - QPoint(3, 3));
    QVERIFY(dlg.isVisible());
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, CUserLoginDlg::okButtonRect().center());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));

    CUserLoginDlg other(rig->app->store(), QStringLiteral("Admin"), CUserLoginDlg::StartupLogin);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::mouseClick(&other, Qt::LeftButton, {}, CUserLoginDlg::cancelButtonRect().center());
    QVERIFY(!other.isVisible());
    QCOMPARE(other.result(), int(QDialog::Rejected));

    // A click that lands on the button itself logs in just the same.
    CUserLoginDlg third(rig->app->store(), QStringLiteral("Admin"), CUserLoginDlg::StartupLogin);
    third.show();
    QVERIFY(QTest::qWaitForWindowExposed(&third));
    passwordBox(third)->setText(QStringLiteral("740286"));
    QTest::mouseClick(third.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    QCOMPARE(third.result(), int(QDialog::Accepted));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestLogin::offeredName_data() {
    QTest::addColumn<QString>("loginUser");
    QTest::addColumn<QString>("currentUser");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("title");
    QTest::newRow("first start") << QString() << QString() << QStringLiteral("Admin")
                                 << QStringLiteral(u"用户登录");
    QTest::newRow("last user") << QStringLiteral("Operator") << QString()
                               << QStringLiteral("Operator") << QStringLiteral(u"用户登录");
    QTest::newRow("unknown last user") << QStringLiteral("gone") << QString()
                                       << QStringLiteral("gone") << QStringLiteral(u"用户登录");
    QTest::newRow("again") << QStringLiteral("Operator") << QStringLiteral("admin")
                           << QStringLiteral("admin") << QStringLiteral(u"用户登录");
}

void TestLogin::offeredName() {
    QFETCH(QString, loginUser);
    QFETCH(QString, currentUser);
    QFETCH(QString, offered);
    QFETCH(QString, title);
    QVERIFY(WriteConfig(QStringLiteral("LoginUser"), loginUser));
    AppState& state = rig->app->state();
    state.currentUser = currentUser;

    QString seenName;
    QString seenTitle;
    QString focus;
    LoginAnswerer answer([&](CUserLoginDlg& dlg) {
        seenName = nameBox(dlg)->text();
        seenTitle = dlg.windowTitle();
        focus = dlg.focusWidget() ? dlg.focusWidget()->objectName() : QString();
        QVERIFY(nameBox(dlg)->isEnabled());
    });
    QVERIFY(!RunLogin(state, rig->app->store()));
    QCOMPARE(answer.answered, 1);
    QCOMPARE(seenName, offered);
    QCOMPARE(seenTitle, title);
    QCOMPARE(focus, QStringLiteral("password"));
    QCOMPARE(state.currentUser, currentUser);
}

void TestLogin::verificationMode() {
    AppState& state = rig->app->state();
    state.currentUser = QStringLiteral("operator");
    state.currentRole = 0;

    QString prompt;
    bool nameEnabled = true;
    LoginAnswerer answer([&](CUserLoginDlg& dlg) {
        prompt = dlg.findChild<QLabel*>(QStringLiteral("prompt"))->text();
        nameEnabled = nameBox(dlg)->isEnabled();
        // Only the current user's password counts, whatever was typed before.
        passwordBox(dlg)->setText(QStringLiteral("740286"));
        QTest::keyClick(&dlg, Qt::Key_Return);
        passwordBox(dlg)->setText(QStringLiteral("op-secret"));
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    QVERIFY(VerifyCurrentUser(state, rig->app->store()));
    QCOMPARE(answer.titles, QStringList{GetUiText(QStringLiteral("pwd_verify"))});
    QCOMPARE(prompt, GetUiText(QStringLiteral("entry_pwd_to_verify_permissions")));
    QVERIFY(!nameEnabled);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().key, QStringLiteral("pwd_err"));
    // Verifying changes nobody's login.
    QCOMPARE(state.currentUser, QStringLiteral("operator"));
    QCOMPARE(state.currentRole, 0);
}

void TestLogin::headingOfEachUse_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("langId");
    QTest::addColumn<QString>("heading"); // empty: the picture's own
    QTest::newRow("login") << int(CUserLoginDlg::LoginAgain) << 0 << QString();
    QTest::newRow("check, Chinese") << int(CUserLoginDlg::VerifyPassword) << 0 << "密码验证";
    QTest::newRow("check, English") << int(CUserLoginDlg::VerifyPassword) << 1 << "Verify Password";
}

void TestLogin::headingOfEachUse() {
    QFETCH(int, mode);
    QFETCH(int, langId);
    QFETCH(QString, heading);
    SetUiLanguage(langId);
    CUserLoginDlg dlg(rig->app->store(), QStringLiteral("Admin"), mode);
    auto* label = dlg.findChild<QLabel*>(QStringLiteral("heading"));
    QCOMPARE(label ? label->text() : QString(), heading);
    if (!label)
        return;
    // Nothing of the picture's login heading shows beside the text.
    const QImage face = dlg.grab().toImage();
    const QRect place = CUserLoginDlg::headingRect();
    const int textEnd =
        place.left() + label->indent() + QFontMetrics(label->font()).horizontalAdvance(heading) + 3;
    for (int x = textEnd; x <= place.right(); ++x) {
        for (int y = place.top(); y <= place.bottom(); ++y)
            QCOMPARE(face.pixelColor(x, y), QColor(Qt::white));
    }
}

void TestLogin::runLoginKeepsTheNameAsTyped() {
    AppState& state = rig->app->state();
    LoginAnswerer answer([](CUserLoginDlg& dlg) {
        nameBox(dlg)->setText(QStringLiteral("aDMIN"));
        passwordBox(dlg)->setText(QStringLiteral("740286"));
        QTest::keyClick(&dlg, Qt::Key_Enter);
    });
    QVERIFY(RunLogin(state, rig->app->store()));
    QCOMPARE(state.currentUser, QStringLiteral("aDMIN"));
    QCOMPARE(state.currentRole, 1);
    QVERIFY(IsAdministrator(state));
}

void TestLogin::cancelledLoginChangesNothing() {
    AppState& state = rig->app->state();
    state.currentUser = QStringLiteral("Operator");
    state.currentRole = 0;
    LoginAnswerer answer([](CUserLoginDlg& dlg) {
        nameBox(dlg)->setText(QStringLiteral("Admin"));
        passwordBox(dlg)->setText(QStringLiteral("wrong!"));
        QTest::keyClick(&dlg, Qt::Key_Return);
        // refused; then the user gives up
    });
    QVERIFY(!RunLogin(state, rig->app->store()));
    QCOMPARE(state.currentUser, QStringLiteral("Operator"));
    QCOMPARE(state.currentRole, 0);
}

void TestLogin::lockWindowIgnoresKeysAndClosing() {
    AppState& state = rig->app->state();
    state.currentUser = QStringLiteral("Admin");
    state.screenLocked = true;
    int unlocked = 0;
    CUnlockDlg lock(state, rig->app->store(), [&] { ++unlocked; });
    QVERIFY(lock.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(
        lock.findChild<QLabel*>(QStringLiteral("lockText"))->palette().color(QPalette::WindowText),
        QColor(255, 0, 0));
    lock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lock));
    auto* button = lock.findChild<QPushButton*>(QStringLiteral("unlockButton"));
    button->setFocus();
    LoginAnswerer none([](CUserLoginDlg&) {});
    for (QWidget* target : {static_cast<QWidget*>(&lock), static_cast<QWidget*>(button)}) {
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
    }
    QVERIFY(!lock.close());
    QTest::qWait(100);
    QVERIFY(lock.isVisible());
    QCOMPARE(none.answered, 0);
    QVERIFY(state.screenLocked);
    QCOMPARE(unlocked, 0);
}

void TestLogin::onlyTheCurrentUserUnlocks_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("unlocks");
    QTest::newRow("current user's") << QStringLiteral("op-secret") << true;
    QTest::newRow("administrator's") << QStringLiteral("740286") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestLogin::onlyTheCurrentUserUnlocks() {
    QFETCH(QString, password);
    QFETCH(bool, unlocks);
    AppState& state = rig->app->state();
    state.currentUser = QStringLiteral("Operator");
    state.screenLocked = true;
    int unlocked = 0;
    CUnlockDlg lock(state, rig->app->store(), [&] { ++unlocked; });
    lock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lock));

    LoginAnswerer answer(password.isEmpty() ? LoginAnswerer::cancel()
                                            : LoginAnswerer::typePassword(password));
    QTest::mouseClick(lock.findChild<QPushButton*>(QStringLiteral("unlockButton")), Qt::LeftButton);
    QCOMPARE(answer.answered, 1);
    QCOMPARE(lock.isVisible(), !unlocks);
    QCOMPARE(state.screenLocked, !unlocks);
    QCOMPARE(unlocked, unlocks ? 1 : 0);
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
