// User management and the account editor, offscreen, in a temporary program
// folder: the account rules, unique names, who may change which password,
// the built-in "Admin", and the login following an edit of its own account.
// Every change is checked in the store and in the user file as a second
// store reads it back.

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>

#include "modalanswerer.h"
#include "station/usermodel.h"
#include "stationrig.h"
#include "ui/users/usereditdlg.h"
#include "ui/users/usermanagedlg.h"

namespace {

using Account = QStringList; // name, password, role

QString keysOf(const QList<MessageBox::Shown>& shown) {
    QStringList keys;
    for (const MessageBox::Shown& box : shown)
        keys << box.key;
    return keys.join(QLatin1Char(','));
}

template <typename T> T* child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QLatin1String(name));
}

QList<Account> accountsOf(const DataStore& store) {
    QList<Account> list;
    for (const auto& user : store.users)
        list << Account{user->name, user->password, QString::number(user->role)};
    return list;
}

// Fills the editor as typed and confirms it; an empty role leaves the role.
ModalAnswerer::Answer fill(const QString& name, const QString& password, const QString& confirm,
                           int role = -1) {
    return [=](QDialog& dialog) {
        if (role >= 0)
            child<QComboBox>(dialog, "roleCombo")->setCurrentIndex(role);
        child<QLineEdit>(dialog, "nameEdit")->setText(name);
        child<QLineEdit>(dialog, "passwordEdit")->setText(password);
        child<QLineEdit>(dialog, "confirmEdit")->setText(confirm);
        ModalAnswerer::press(dialog, "okButton");
    };
}

} // namespace

class TestUserManage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newAccount_data();
    void newAccount();
    void editAccount_data();
    void editAccount();
    void changePassword_data();
    void changePassword();
    void deleteAccount_data();
    void deleteAccount();

private:
    // The store holds "Admin" and the accounts given; `user` is logged in.
    void openDialog(const QString& user, int role, const QList<Account>& more = {});
    QList<Account> reloaded() const {
        DataStore second(rig->clock);
        second.LoadUserFile();
        return accountsOf(second);
    }
    int selectedRow() const {
        const QModelIndexList rows = dialog->list()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    void selectRow(int row) { dialog->list()->setCurrentIndex(dialog->model()->index(row, 0)); }

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    AppState* state = nullptr;
    std::unique_ptr<CUserManageDlg> dialog;
};

void TestUserManage::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
}

void TestUserManage::cleanup() {
    dialog.reset();
    rig.reset();
}

void TestUserManage::openDialog(const QString& user, int role, const QList<Account>& more) {
    store = &rig->app->store();
    state = &rig->app->state();
    store->LoadAll();
    for (const Account& a : more)
        store->users.push_back(
            std::make_unique<UserAccount>(UserAccount{a[0], a[1], a[2].toInt()}));
    QVERIFY(store->SaveUserFile());
    state->currentUser = user;
    state->currentRole = role;
    dialog = std::make_unique<CUserManageDlg>(*store, *state);
    dialog->resize(460, 320);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

const Account kAdmin{"Admin", "740286", "1"};
const Account kClerk{"Clerk", "clerk1", "0"};

void TestUserManage::newAccount_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Account>("added"); // empty: none

    QTest::newRow("four characters after trimming")
        << "  abcd  "
        << "secret"
        << "secret" << 0 << "" << Account{"abcd", "secret", "0"};
    QTest::newRow("three characters after trimming")
        << "  abc  "
        << "secret"
        << "secret" << 0 << "loginid_len_err" << Account{};
    QTest::newRow("blank name") << "   "
                                << "secret"
                                << "secret" << 0 << "entry_user_name" << Account{};
    QTest::newRow("five-character password") << "abcd"
                                             << "12345"
                                             << "12345" << 0 << "pwd_len_err" << Account{};
    QTest::newRow("six-character password")
        << "abcd"
        << "123456"
        << "123456" << 1 << "" << Account{"abcd", "123456", "1"};
    QTest::newRow("no password") << "abcd"
                                 << ""
                                 << "" << 0 << "entry_user_pwd" << Account{};
    QTest::newRow("confirmation differs") << "abcd"
                                          << "123456"
                                          << "123457" << 0 << "pwd_not_consistent" << Account{};
    QTest::newRow("bars become blanks")
        << "ab|cd"
        << "pass|word"
        << "pass|word" << 0 << "" << Account{"ab cd", "pass word", "0"};
    QTest::newRow("a name differing in case")
        << "admin"
        << "123456"
        << "123456" << 1 << "" << Account{"admin", "123456", "1"};
    QTest::newRow("an existing name")
        << "Clerk"
        << "123456"
        << "123456" << 0 << "reentry_because_uname_exist" << Account{};
}

void TestUserManage::newAccount() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(int, role);
    QFETCH(QString, keys);
    QFETCH(Account, added);
    openDialog(QStringLiteral("Admin"), 1, {kClerk});

    QString title;
    QStringList leftInFields, reopenedWith;
    ModalAnswerer answerer({[&](QDialog& editor) {
                                title = editor.windowTitle();
                                fill(name, password, confirm, role)(editor);
                                leftInFields << child<QLineEdit>(editor, "passwordEdit")->text()
                                             << child<QLineEdit>(editor, "confirmEdit")->text();
                            },
                            [&](QDialog& editor) {
                                reopenedWith << child<QLineEdit>(editor, "nameEdit")->text()
                                             << child<QLineEdit>(editor, "passwordEdit")->text();
                            }});
    child<QPushButton>(*dialog, "addButton")->click();

    QCOMPARE(title, GetUiText(QStringLiteral("user_edit_new")));
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QList<Account> expected{kAdmin, kClerk};
    if (!added.isEmpty())
        expected << added;
    QCOMPARE(accountsOf(*store), expected);
    QCOMPARE(reloaded(), expected);
    QCOMPARE(dialog->model()->rowCount(), expected.size());
    if (!added.isEmpty()) {
        QCOMPARE(selectedRow(), 2);
        QCOMPARE(dialog->model()->index(2, UserListModel::RoleColumn).data().toString(),
                 GetUiText(QLatin1String(role ? "administrator" : "operator")));
    }
    // A refused name comes back as typed; mismatched passwords are cleared.
    if (keys == QLatin1String("reentry_because_uname_exist"))
        QCOMPARE(reopenedWith, (QStringList{name, password}));
    else
        QVERIFY(reopenedWith.isEmpty());
    if (keys == QLatin1String("pwd_not_consistent"))
        QCOMPARE(leftInFields, (QStringList{QString(), QString()}));
}

void TestUserManage::editAccount_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<Account>>("after");
    QTest::addColumn<QString>("loginAfter"); // "name role"
    QTest::addColumn<int>("opened");

    const QList<Account> before{kAdmin, kClerk};
    QTest::newRow("another account")
        << "Admin" << 1 << "Cashier" << 1 << ""
        << QList<Account>{kAdmin, {"Cashier", "clerk1", "1"}} << "Admin 1" << 1;
    QTest::newRow("another's name") << "Admin" << 1 << "Admin" << 0 << "reentry_because_uname_exist"
                                    << before << "Admin 1" << 2;
    QTest::newRow("another's name in other case")
        << "Admin" << 1 << "ADMIN" << 0 << "" << QList<Account>{kAdmin, {"ADMIN", "clerk1", "0"}}
        << "Admin 1" << 1;
    QTest::newRow("too short a name")
        << "Admin" << 1 << " abc " << 0 << "loginid_len_err" << before << "Admin 1" << 1;
    QTest::newRow("demoting oneself")
        << "Admin" << 0 << "Admin" << 0 << "" << QList<Account>{{"Admin", "740286", "0"}, kClerk}
        << "Admin 0" << 1;
    QTest::newRow("renaming oneself")
        << "Admin" << 0 << "Chief" << 1 << "" << QList<Account>{{"Chief", "740286", "1"}, kClerk}
        << "Chief 1" << 1;
    // The login typed in other case is not that account's login here.
    QTest::newRow("logged in in other case")
        << "admin" << 0 << "Chief" << 0 << "" << QList<Account>{{"Chief", "740286", "0"}, kClerk}
        << "admin 1" << 1;
}

void TestUserManage::editAccount() {
    QFETCH(QString, user);
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, keys);
    QFETCH(QList<Account>, after);
    QFETCH(QString, loginAfter);
    QFETCH(int, opened);
    openDialog(user, 1, {kClerk});
    QSignalSpy changed(dialog.get(), &CUserManageDlg::currentUserChanged);
    selectRow(row);

    const QString stored = store->users[size_t(row)]->name;
    QStringList shownNames;
    bool passwordShown = true;
    const auto look = [&](QDialog& editor) {
        shownNames << child<QLineEdit>(editor, "nameEdit")->text();
        passwordShown = !child<QLineEdit>(editor, "passwordEdit")->isHidden();
    };
    auto answerer = std::make_unique<ModalAnswerer>(QList<ModalAnswerer::Answer>{
        [&](QDialog& editor) {
            look(editor);
            // Only the name and the role are for editing.
            fill(name, QStringLiteral("ignored"), QString(), role)(editor);
        },
        look});
    emit dialog->list()->doubleClicked(dialog->model()->index(row, 1));

    QCOMPARE(answerer->opened, opened);
    QCOMPARE(shownNames, QStringList(opened, stored));
    QVERIFY(!passwordShown);
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QCOMPARE(accountsOf(*store), after);
    QCOMPARE(reloaded(), after);
    QCOMPARE(state->currentUser + QLatin1Char(' ') + QString::number(state->currentRole),
             loginAfter);
    QCOMPARE(changed.count(), loginAfter == user + QStringLiteral(" 1") ? 0 : 1);

    // The next action reserved to administrators follows the new role.
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    answerer.reset();
    ModalAnswerer cancel;
    dialog->OnAdd();
    QCOMPARE(cancel.opened, state->currentRole == 1 ? 1 : 0);
    QCOMPARE(keysOf(MessageBox::shown()),
             QLatin1String(state->currentRole == 1 ? "" : "only_admin_role_to_exec"));
}

void TestUserManage::changePassword_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("an operator's own") << "Clerk" << 0 << 1 << true;
    QTest::newRow("an operator, another's") << "Clerk" << 0 << 0 << false;
    QTest::newRow("an operator logged in in other case") << "clerk" << 0 << 1 << false;
    QTest::newRow("an administrator, another's") << "Admin" << 1 << 1 << true;
}

void TestUserManage::changePassword() {
    QFETCH(QString, user);
    QFETCH(int, role);
    QFETCH(int, row);
    QFETCH(bool, allowed);
    openDialog(user, role, {kClerk});
    selectRow(row);

    QStringList seen;
    ModalAnswerer answerer({[&](QDialog& editor) {
        seen << editor.windowTitle() << child<QLineEdit>(editor, "passwordEdit")->text()
             << child<QLineEdit>(editor, "confirmEdit")->text()
             << QString::number(child<QLineEdit>(editor, "nameEdit")->isEnabled())
             << QString::number(child<QComboBox>(editor, "roleCombo")->isEnabled());
        child<QLineEdit>(editor, "passwordEdit")->setText(QStringLiteral("new|pass"));
        child<QLineEdit>(editor, "confirmEdit")->setText(QStringLiteral("new|pass"));
        ModalAnswerer::press(editor, "okButton");
    }});
    child<QPushButton>(*dialog, "passwordButton")->click();

    QList<Account> expected{kAdmin, kClerk};
    if (allowed) {
        QCOMPARE(seen, (QStringList{GetUiText(QStringLiteral("user_edit_modify_pwd")), "", "", "0",
                                    "0"}));
        QVERIFY(MessageBox::shown().isEmpty());
        expected[row][1] = QStringLiteral("new pass");
    } else {
        QCOMPARE(answerer.opened, 0);
        QCOMPARE(keysOf(MessageBox::shown()), QStringLiteral("only_admin_role_to_exec"));
    }
    QCOMPARE(accountsOf(*store), expected);
    QCOMPARE(reloaded(), expected);
}

void TestUserManage::deleteAccount_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selected");

    const int yes = QMessageBox::Yes;
    const QStringList all{"Admin", "Clerk", "admin"};
    QTest::newRow("the built-in Admin")
        << "Admin" << 1 << 0 << yes << "ensure_del_user,cant_del_admin_user" << all << 0;
    QTest::newRow("admin in lower case")
        << "Admin" << 1 << 2 << yes << "ensure_del_user" << QStringList{"Admin", "Clerk"} << 1;
    QTest::newRow("the first other row")
        << "Admin" << 1 << 1 << yes << "ensure_del_user" << QStringList{"Admin", "admin"} << 0;
    QTest::newRow("answered No") << "Admin" << 1 << 1 << int(QMessageBox::No) << "ensure_del_user"
                                 << all << 1;
    QTest::newRow("by an operator")
        << "Clerk" << 0 << 1 << yes << "only_admin_role_to_exec" << all << 1;
    // The login stays as it was until the next one.
    QTest::newRow("oneself") << "admin" << 1 << 2 << yes << "ensure_del_user"
                             << QStringList{"Admin", "Clerk"} << 1;
}

void TestUserManage::deleteAccount() {
    QFETCH(QString, user);
    QFETCH(int, role);
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QString, keys);
    QFETCH(QStringList, after);
    QFETCH(int, selected);
    openDialog(user, role, {kClerk, {"admin", "admin1", "1"}});
    auto* remove = child<QPushButton>(*dialog, "deleteButton");
    QVERIFY(!remove->isEnabled());
    selectRow(row);
    QVERIFY(remove->isEnabled());

    MessageBox::setNextAnswer(answer);
    remove->click();
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QStringList names, reloadedNames;
    for (const Account& a : accountsOf(*store))
        names << a[0];
    for (const Account& a : reloaded())
        reloadedNames << a[0];
    QCOMPARE(names, after);
    QCOMPARE(reloadedNames, after);
    QCOMPARE(selectedRow(), selected);
    QCOMPARE(dialog->model()->index(selected, 0).data().toString(), QString::number(selected + 1));
    QCOMPARE(state->currentUser, user);
    QCOMPARE(state->currentRole, role);
}

QTEST_MAIN(TestUserManage)
#include "tst_usermanage.moc"
