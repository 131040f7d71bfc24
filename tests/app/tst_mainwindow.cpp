// The application object and the main window on the fake clock, the fake
// media player and voice, offscreen: the single instance, the language
// change, the start-up login, the working hours the station tells, the
// link's state in the buttons and the title against the transmitter
// simulator, the keys, the exit question and the lock.

#include <QComboBox>

#include <QLabel>
#include <QLibraryInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <QTabBar>
#include <QtTest>
#include <algorithm>

#include "controls/mybutton.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "schedule/speechschedule.h"
#include "station/station.h"
#include "stationrig.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "ui/transmitter/linktitle.h"
#include "ui/users/unlockdlg.h"
#include "ui/users/userlogindlg.h"
#include "ui/users/usermanagedlg.h"

namespace {

SpeechTask hourlySpeechTask() {
    SpeechTask task;
    task.name = QStringLiteral("Hourly");
    task.startDate = 20260101;
    task.endDate = 20261231;
    task.startTime = 0;
    task.endTime = 2359;
    task.interval = 60;
    task.weekdays = 0xFE;
    task.text = QStringLiteral("Time check");
    return task;
}

QStringList shownKeys() {
    QStringList keys;
    for (const MessageBox::Shown& box : MessageBox::shown())
        keys << box.key;
    return keys;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void secondStartIsRefused();
    void refusedStartButtonSpeaksTheLanguage_data();
    void refusedStartButtonSpeaksTheLanguage();
    void qtDialogsSpeakTheLanguage();
    void unwritableDataFolderIsToldOnce_data();
    void unwritableDataFolderIsToldOnce();
    void languageChangeReopensWithoutSplashReloadOrLogin();
    void decliningTheLanguageChangeKeepsTheBox_data();
    void decliningTheLanguageChangeKeepsTheBox();
    void cancellingTheFirstLoginEndsTheProgram();
    void workingTimeLabel_data();
    void workingTimeLabel();
    void workingTimeLabelFollowsTheStation();
    void idleSwitchOffAndWakeInButtonsAndTitle();
    void title_data();
    void title();
    void enterDoesNothingEscapeCloses();
    void exitConfirmation_data();
    void exitConfirmation();
    void lockScreen();
    void reopenedWindowShowsTheConnectedTransmitter();
    void painting();
    void pictures();
};

void TestMainWindow::secondStartIsRefused() {
    StationRig rig;
    QVERIFY(rig.ready);
    int secondResult = -1;
    int secondSplashes = -1;
    rig.app->onMainWindow = [&](CArdwellDlg& window) {
        // The first copy runs; a second one starts now.
        StationBackends none;
        CArdwellApp second(rig.clock, none);
        int splashes = 0;
        second.showSplash = [&](DataStore&) { ++splashes; };
        secondResult = second.Run();
        secondSplashes = splashes;
        QTimer::singleShot(0, &window, [&window] { window.done(QDialog::Rejected); });
    };
    QCOMPARE(rig.app->Run(), 0);
    QCOMPARE(secondResult, 1);
    QCOMPARE(secondSplashes, 0);
    QVERIFY(shownKeys().contains(QStringLiteral("app_already_startup")));
    QCOMPARE(rig.app->passCount(), 1);

    // The guard is released at the end: the next start goes ahead.
    QLockFile next(
        QDir(QDir::tempPath()).filePath(QString::fromLatin1(CArdwellApp::kInstanceName)));
    QVERIFY(next.tryLock(0));
}

void TestMainWindow::refusedStartButtonSpeaksTheLanguage_data() {
    QTest::addColumn<int>("langId");
    QTest::addColumn<QString>("button");
    QTest::newRow("Chinese") << 0 << QStringLiteral(u"确定");
    QTest::newRow("English") << 1 << QStringLiteral("OK");
}

void TestMainWindow::refusedStartButtonSpeaksTheLanguage() {
    QFETCH(int, langId);
    QFETCH(QString, button);
    StationRig rig;
    QVERIFY(rig.ready);
    QVERIFY(WriteConfig(QStringLiteral("LangId"), QString::number(langId)));
    // A fresh process has nothing of this language installed yet.
    UseLanguageResources(1 - langId);
    QLockFile running(
        QDir(QDir::tempPath()).filePath(QString::fromLatin1(CArdwellApp::kInstanceName)));
    QVERIFY(running.tryLock(0));
    MessageBox::setDefaultAnswer(-1);
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // Without its shortcut mark: "确定(&O)" or "&OK".
            shown = box->buttons().first()->text().remove(QRegularExpression("\\(&.\\)|&"));
            box->buttons().first()->click();
        }
    });
    answer.start(20);
    QCOMPARE(rig.app->Run(), 1);
    QCOMPARE(shown, button);
}

// Qt's own windows (the file dialogs) speak the language too, when Qt's
// Chinese texts are installed.
void TestMainWindow::qtDialogsSpeakTheLanguage() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
        QSKIP("Qt's Chinese texts are not installed");
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    UseLanguageResources(0);
    QVERIFY2(lookIn() != QStringLiteral("Look in:"), qPrintable(lookIn()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral(u"确定"));
    UseLanguageResources(1);
    QCOMPARE(lookIn(), QStringLiteral("Look in:"));
    UseLanguageResources(0);
}

void TestMainWindow::unwritableDataFolderIsToldOnce_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("writable") << false;
    QTest::newRow("read-only") << true;
}

void TestMainWindow::unwritableDataFolderIsToldOnce() {
    QFETCH(bool, readOnly);
    StationRig rig;
    QVERIFY(rig.ready);
    const QString data = rig.folder.filePath(QStringLiteral("data"));
    const auto restore = qScopeGuard([&] {
        if (readOnly)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), data});
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (readOnly) {
        QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
        // Permission bits do not stop root; the immutable flag does.
        if (QFileInfo(data).isWritable())
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), data});
        if (QFileInfo(data).isWritable())
            QSKIP("root, and chattr +i failed: nothing makes a folder unwritable here");
    }
    QStringList keysAtFirstWindow;
    rig.app->onMainWindow = [&](CArdwellDlg& window) {
        // Told before the window; not again on the next pass.
        if (rig.app->passCount() == 1) {
            keysAtFirstWindow = shownKeys();
            rig.app->state().reopenRequested = true;
        }
        QTimer::singleShot(0, &window, [&window] { window.done(QDialog::Rejected); });
    };
    QCOMPARE(rig.app->Run(), 0);
    QCOMPARE(rig.app->passCount(), 2);
    const QStringList told{QStringLiteral("fmt_data_folder_unwritable")};
    QCOMPARE(keysAtFirstWindow, readOnly ? told : QStringList());
    QCOMPARE(shownKeys(), keysAtFirstWindow);
    QCOMPARE(rig.logText().count(QStringLiteral("Data folder cannot be written: ") + data),
             readOnly ? 1 : 0);
    if (readOnly) {
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Icon::Exclamation);
        QVERIFY(MessageBox::shown().first().text.contains(data));
    }
}

void TestMainWindow::languageChangeReopensWithoutSplashReloadOrLogin() {
    StationRig rig;
    QVERIFY(rig.ready);
    LoginAnswerer login(LoginAnswerer::typePassword(QString::fromLatin1(kAdminPassword)));

    QElapsedTimer sinceChoice;
    qint64 reopenMs = -1;
    QString secondLoginText;
    QString secondTab;
    QString secondLabel;
    bool usersOnDiskChanged = false;
    rig.app->onMainWindow = [&](CArdwellDlg& window) {
        if (rig.app->passCount() == 1) {
            // Once logged in, somebody else changes the user file behind the
            // station's back, and English is chosen and confirmed.
            QTimer::singleShot(600, &window, [&] {
                QVERIFY(rig.app->state().loggedIn());
                DataStore other(rig.clock);
                other.LoadAll();
                UserAccount extra;
                extra.name = QStringLiteral("added-later");
                extra.password = QStringLiteral("123456");
                other.AddUser(extra);
                usersOnDiskChanged = true;
                MessageBox::setNextAnswer(QMessageBox::Yes);
                auto* box = window.findChild<QComboBox*>(QStringLiteral("languageBox"));
                box->setCurrentIndex(1);
                sinceChoice.start();
                window.OnLanguageChosen(1);
            });
        } else {
            reopenMs = sinceChoice.elapsed();
            secondLoginText = window.findChild<QPushButton*>(QStringLiteral("loginButton"))->text();
            secondTab = window.findChild<QTabBar*>(QStringLiteral("musicTabs"))->tabText(0);
            secondLabel = window.findChild<QLabel*>(QStringLiteral("workingTime"))->text();
            QTimer::singleShot(500, &window, [&window] { window.done(QDialog::Rejected); });
        }
    };
    QCOMPARE(rig.app->Run(), 0);

    QVERIFY(usersOnDiskChanged);
    QCOMPARE(rig.app->passCount(), 2);
    QVERIFY2(reopenMs >= 0 && reopenMs < 1300, qPrintable(QString::number(reopenMs)));
    QCOMPARE(rig.splashes, 1);
    QCOMPARE(login.answered, 1);
    QCOMPARE(secondLoginText, QStringLiteral("Admin"));
    QCOMPARE(ReadConfig(QStringLiteral("LangId")), QStringLiteral("1"));
    // The UI texts of the new window come from the English file.
    QCOMPARE(secondTab, QStringLiteral("Today's Music"));
    QVERIFY2(secondLabel.startsWith(QStringLiteral("Working hours  Monday")),
             qPrintable(secondLabel));
    // No data reload: the account added on disk meanwhile is unknown.
    QVERIFY(!rig.app->store().FindUser(QStringLiteral("added-later")));
    QCOMPARE(ReadConfig(QStringLiteral("LoginUser")), QStringLiteral("Admin"));
}

void TestMainWindow::decliningTheLanguageChangeKeepsTheBox_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(QMessageBox::No);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel);
}

void TestMainWindow::decliningTheLanguageChangeKeepsTheBox() {
    QFETCH(int, answer);
    StationRig rig;
    QVERIFY(rig.ready);
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    auto* box = window.findChild<QComboBox*>(QStringLiteral("languageBox"));
    QCOMPARE(box->currentIndex(), 0);

    MessageBox::setNextAnswer(answer);
    box->setCurrentIndex(1);
    window.OnLanguageChosen(1);
    QCOMPARE(shownKeys(), QStringList{QStringLiteral("ask_reopen_dlg")});
    QCOMPARE(MessageBox::shown().first().icon, MessageBox::Icon::Warning);
    QCOMPARE(box->currentIndex(), 0);
    QVERIFY(!rig.app->state().reopenRequested);
    QCOMPARE(ReadConfig(QStringLiteral("LangId")), QStringLiteral("0"));
    window.OnMainTimer();
    QVERIFY(window.isVisible() || window.result() == 0);
    QCOMPARE(rig.app->state().langId, 0);
}

void TestMainWindow::cancellingTheFirstLoginEndsTheProgram() {
    StationRig rig;
    QVERIFY(rig.ready);
    QVERIFY(WriteConfig(QStringLiteral("LoginUser"), QStringLiteral("Admin")));
    LoginAnswerer login(LoginAnswerer::cancel());
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(rig.app->Run(), 0);
    QVERIFY(elapsed.elapsed() < 5000);
    QCOMPARE(login.answered, 1);
    QCOMPARE(rig.app->passCount(), 1);
    QVERIFY(!rig.app->state().loggedIn());
    const QString conf = QString::fromUtf8([&] {
        QFile file(rig.folder.filePath(QStringLiteral("app.conf")));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }());
    QVERIFY2(conf.contains(QRegularExpression(QStringLiteral("(?m)^LoginUser=\\s*$"))),
             qPrintable(conf));
}

void TestMainWindow::workingTimeLabel_data() {
    QTest::addColumn<int>("langId");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("working");
    QTest::newRow("inside") << 0 << 900 << 2100 << QTime(9, 0)
                            << QStringLiteral(u"工作时间  星期一 09:00~21:00") << true;
    QTest::newRow("last minute") << 0 << 900 << 2100 << QTime(21, 0, 59)
                                 << QStringLiteral(u"工作时间  星期一 09:00~21:00") << true;
    QTest::newRow("after") << 0 << 900 << 2100 << QTime(21, 1)
                           << QStringLiteral(u"非工作时间  星期一 09:00~21:00") << false;
    QTest::newRow("before") << 0 << 900 << 2100 << QTime(8, 59)
                            << QStringLiteral(u"非工作时间  星期一 09:00~21:00") << false;
    QTest::newRow("no bounds") << 0 << 0 << 0 << QTime(0, 0)
                               << QStringLiteral(u"工作时间  星期一 00:00~24:00") << true;
    QTest::newRow("English") << 1 << 0 << 0 << QTime(23, 59)
                             << QStringLiteral("Working hours  Monday 00:00~24:00") << true;
    QTest::newRow("English, after")
        << 1 << 900 << 2100 << QTime(21, 1)
        << QStringLiteral("Outside working hours  Monday 09:00~21:00") << false;
    QTest::newRow("end 2400 means none") << 0 << 800 << 2400 << QTime(23, 30)
                                         << QStringLiteral(u"工作时间  星期一 08:00~24:00") << true;
}

void TestMainWindow::workingTimeLabel() {
    QFETCH(int, langId);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QTime, time);
    QFETCH(QString, label);
    QFETCH(bool, working);
    StationRig rig(QDateTime(QDate(2026, 3, 2), time));
    QVERIFY(rig.ready);
    rig.app->store().LoadAll();
    rig.loaded = true;
    rig.app->store().settings.dailyTime[0] = from;
    rig.app->store().settings.dailyTime[1] = to;
    rig.app->state().langId = langId;
    SetUiLanguage(langId);
    CArdwellDlg& window = rig.openWindow();
    auto* shown = window.findChild<QLabel*>(QStringLiteral("workingTime"));
    QCOMPARE(shown->text(), label);
    // On one line, in bold, whatever the language.
    QVERIFY(shown->font().bold());
    QVERIFY(QFontMetrics(shown->font()).horizontalAdvance(label) <= shown->contentsRect().width());
    QCOMPARE(rig.app->state().workingNow, working);
    QCOMPARE(rig.app->state().todayYmd, 20260302);
}

void TestMainWindow::workingTimeLabelFollowsTheStation() {
    StationRig rig(QDateTime(QDate(2026, 3, 2), QTime(21, 0, 59)));
    QVERIFY(rig.ready);
    rig.app->store().LoadAll();
    rig.loaded = true;
    rig.app->store().settings.dailyTime[0] = 900;
    rig.app->store().settings.dailyTime[1] = 2100;
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("workingTime"));
    QCOMPARE(label->text(), QStringLiteral(u"工作时间  星期一 09:00~21:00"));

    rig.clock.set(2026, 3, 2, 21, 1, 0);
    rig.station->Tick();
    QCOMPARE(label->text(), QStringLiteral(u"非工作时间  星期一 09:00~21:00"));
}

void TestMainWindow::idleSwitchOffAndWakeInButtonsAndTitle() {
    StationRig rig;
    QVERIFY(rig.ready);
    SimulatorProcess simulator(rig.folder.path(), 1, {});
    QVERIFY(simulator.ready());
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    Station& station = *rig.station;
    station.setIdleTime(600000);
    window.OnConnectDevice();
    TransmitterLink& link = rig.app->link();
    QVERIFY(link.IsConnected());
    auto* switchOff = window.findChild<CMyButton*>(QStringLiteral("switchOffButton"));
    auto* connectButton = window.findChild<QPushButton*>(QStringLiteral("connectButton"));
    QVERIFY(switchOff->isEnabled());
    QCOMPARE(switchOff->text(), GetUiText(QStringLiteral("shutdown")));
    QCOMPARE(connectButton->text(), GetUiText(QStringLiteral("disconnect")));

    // Silence is timed from the first tick.
    station.Tick();
    rig.ticks += 601000;
    station.Tick();
    QVERIFY(link.switchedOff());
    QVERIFY(rig.logText().contains(QStringLiteral("Shutdown!")));
    QVERIFY(WaitFor([&] { return simulator.logText().contains(QStringLiteral("AT+OFF")); }, 2000));
    QCOMPARE(switchOff->text(), GetUiText(QStringLiteral("reboot")));
    QCOMPARE(switchOff->property("iconId").toInt(), CArdwellDlg::kRestartIcon);
    QVERIFY(switchOff->isEnabled());
    QCOMPARE(connectButton->text(), GetUiText(QStringLiteral("disconnect")));
    QVERIFY(window.windowTitle().contains(GetUiText(QStringLiteral("shutdown"))));

    // Playing music during working time wakes it again.
    PlayItem item;
    item.path = rig.folder.filePath(QStringLiteral("app.conf"));
    station.player().PlayMusicItem(&item, true);
    QVERIFY(link.IsConnected());
    QCOMPARE(switchOff->text(), GetUiText(QStringLiteral("shutdown")));
    QCOMPARE(switchOff->property("iconId").toInt(), CArdwellDlg::kSwitchOffIcon);

    window.OnConnectDevice();
    QVERIFY(!link.hasPort());
    QVERIFY(!switchOff->isEnabled());
    QCOMPARE(switchOff->text(), GetUiText(QStringLiteral("reboot")));
    QCOMPARE(connectButton->text(), GetUiText(QStringLiteral("connect_device")));
    QVERIFY(window.windowTitle().contains(GetUiText(QStringLiteral("unconnect"))));
}

void TestMainWindow::title_data() {
    // {key} stands for the UI text of the key.
    QTest::addColumn<int>("state"); // TransmitterLink::LinkState
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("title");
    using LinkState = TransmitterLink::LinkState;
    QTest::newRow("not connected")
        << int(LinkState::NotConnected) << false << "Station - [{unconnect}]";
    QTest::newRow("not connected, locked")
        << int(LinkState::NotConnected) << true << "Station - [{unconnect}] ({locked})";
    // The product text is shown, never used as a format.
    QTest::newRow("connected") << int(LinkState::Connected) << false
                               << "Station - [{connected}Port5 FM %d]";
    QTest::newRow("connected, locked")
        << int(LinkState::Connected) << true << "Station - [{connected}Port5 FM %d] ({locked})";
    QTest::newRow("switched off, locked")
        << int(LinkState::SwitchedOff) << true << "Station - [{shutdown}] ({locked})";
}

void TestMainWindow::title() {
    QFETCH(int, state);
    QFETCH(bool, locked);
    QFETCH(QString, title);
    StationRig rig;
    QVERIFY(rig.ready);
    for (const char* key : {"unconnect", "locked", "connected", "shutdown"}) {
        const QString name = QString::fromLatin1(key);
        title.replace(u'{' + name + u'}', GetUiText(name));
    }
    QVERIFY(!title.contains(u'{'));
    QCOMPARE(LinkTitle(QStringLiteral("Station"), TransmitterLink::LinkState(state), 5,
                       QStringLiteral("FM %d"), locked),
             title);
}

void TestMainWindow::enterDoesNothingEscapeCloses() {
    StationRig rig;
    QVERIFY(rig.ready);
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.findChild<QPushButton*>(QStringLiteral("connectButton"))->setFocus();
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    QCOMPARE(finished.count(), 0);
    QVERIFY(window.isVisible());
    QVERIFY(!rig.logText().contains(QStringLiteral("Connecting device")));

    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(finished.count(), 1);
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(!rig.logText().contains(QStringLiteral("Exit App!")));
}

void TestMainWindow::exitConfirmation_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("ends");
    QTest::newRow("wrong password") << int(QMessageBox::Ok) << QStringLiteral("000000") << false;
    QTest::newRow("question cancelled") << int(QMessageBox::Cancel) << QString() << false;
    QTest::newRow("confirmed") << int(QMessageBox::Ok) << QString::fromLatin1(kAdminPassword)
                               << true;
}

void TestMainWindow::exitConfirmation() {
    QFETCH(int, answer);
    QFETCH(QString, password);
    QFETCH(bool, ends);
    StationRig rig;
    QVERIFY(rig.ready);
    SimulatorProcess simulator(rig.folder.path(), 1, {});
    QVERIFY(simulator.ready());
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    window.OnConnectDevice();
    QVERIFY(rig.app->link().IsConnected());
    QSignalSpy finished(&window, &QDialog::finished);

    LoginAnswerer login(LoginAnswerer::typePassword(password));
    MessageBox::setNextAnswer(answer);
    window.OnQuit();
    QCOMPARE(MessageBox::shown().first().key, QStringLiteral("ask_exit_app"));
    QCOMPARE(login.answered, answer == QMessageBox::Ok ? 1 : 0);
    if (login.answered)
        QCOMPARE(login.titles.first(), GetUiText(QStringLiteral("pwd_verify")));
    QCOMPARE(finished.count(), ends ? 1 : 0);
    QCOMPARE(rig.app->link().IsConnected(), !ends);
    QCOMPARE(rig.logText().contains(QStringLiteral("Exit App!")), ends);
    QVERIFY(!window.commandGuarded());
    if (ends)
        QVERIFY(WaitFor(
            [&] { return simulator.logText().contains(QStringLiteral("AT+DISCONNECT")); }, 2000));
}

void TestMainWindow::lockScreen() {
    StationRig rig;
    QVERIFY(rig.ready);
    CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
    const QString locked = QStringLiteral(" (%1)").arg(GetUiText(QStringLiteral("locked")));

    QString titleWhileLocked;
    bool refusedWhileLocked = false;
    // While the lock window is up: the title says so, and the lock button
    // and the login menu do nothing (no second lock, no login window); then
    // the right password unlocks.
    QTimer::singleShot(100, &window, [&] {
        titleWhileLocked = window.windowTitle();
        window.OnLock();
        window.OnLoginAgain();
        refusedWhileLocked = true;
        auto* lock = qobject_cast<CUnlockDlg*>(QApplication::activeModalWidget());
        QVERIFY(lock);
        lock->OnUnlock();
    });
    LoginAnswerer login(LoginAnswerer::typePassword(QString::fromLatin1(kAdminPassword)));
    window.OnLock();
    QVERIFY(refusedWhileLocked);
    QVERIFY2(titleWhileLocked.endsWith(locked), qPrintable(titleWhileLocked));
    QVERIFY(!rig.app->state().screenLocked);
    QVERIFY(!window.windowTitle().endsWith(locked));
    QCOMPARE(login.answered, 1);
    QCOMPARE(login.titles.first(), GetUiText(QStringLiteral("pwd_verify")));
}

void TestMainWindow::reopenedWindowShowsTheConnectedTransmitter() {
    StationRig rig;
    QVERIFY(rig.ready);
    SimulatorProcess simulator(rig.folder.path(), 1, {});
    QVERIFY(simulator.ready());
    CArdwellDlg& first = rig.openWindow(QStringLiteral("Admin"));
    first.OnConnectDevice();
    QVERIFY(rig.app->link().IsConnected());
    const QString connectedText =
        first.findChild<QPushButton*>(QStringLiteral("connectButton"))->text();

    CArdwellDlg& second = rig.openWindow(QStringLiteral("Admin"));
    QCOMPARE(second.findChild<QPushButton*>(QStringLiteral("connectButton"))->text(),
             connectedText);
    QVERIFY(second.findChild<QPushButton*>(QStringLiteral("switchOffButton"))->isEnabled());
    QVERIFY(second.windowTitle().contains(GetUiText(QStringLiteral("connected"))));
}

// The window's look: the station's colour around the grey panel, the status
// line's picture, and the panels in place. With TOLVANE_SCREENSHOTS set to a
// folder, the main window (Chinese and English), the login window, the
// password check (Chinese and English) and the lock window are saved there as
// PNG files.
void TestMainWindow::painting() {
    StationRig rig(QDateTime(QDate(2026, 3, 2), QTime(10, 15, 20)));
    QVERIFY(rig.ready);
    DataStore& store = rig.app->store();
    store.LoadAll();
    rig.loaded = true;
    store.settings.dailyTime[0] = 800;
    store.settings.dailyTime[1] = 1800;
    QDir(rig.folder.path()).mkpath(QStringLiteral("music"));
    MusicTask music;
    music.name = QStringLiteral("Morning");
    music.startDate = 20260101;
    music.endDate = 20261231;
    music.startTime = 800;
    music.endTime = 1200;
    music.weekdays = 0xFE;
    const char* songs[] = {"Sunrise Waltz", "River Song", "Factory Bell", "Break Time"};
    for (int i = 0; i < 4; ++i) {
        const QString path = rig.folder.filePath(QStringLiteral("music/%1.mp3").arg(songs[i]));
        QFile::copy(rig.folder.filePath(QStringLiteral("app.conf")), path);
        auto item = std::make_unique<PlayItem>();
        item->kind = i < 2 ? PlayItem::Background : PlayItem::InsertPlay;
        item->path = path;
        item->playCount = i < 2 ? kUnlimitedPlays : 1;
        item->volume = 80;
        const int lengths[] = {312, 349, 341, 423};
        item->duration = lengths[i];
        item->timeMode = PlayItem::TimePoints;
        item->timePoints[0] = i == 2 ? 1000 : 1130;
        music.items.push_back(std::move(item));
    }
    store.AddMusicTask(std::move(music));
    SpeechTask speech = hourlySpeechTask();
    speech.name = QStringLiteral("Safety notice");
    store.AddSpeechTask(speech);

    QApplication::setWindowIcon(QIcon(OwnPicturePath(QStringLiteral("icon.png"))));
    const QString shots = qEnvironmentVariable("TOLVANE_SCREENSHOTS");
    const auto save = [&](QWidget& widget, const char* name) {
        const QImage image = widget.grab().toImage();
        if (!shots.isEmpty())
            image.save(QDir(shots).filePath(QLatin1String(name)));
        return image;
    };

    for (int langId : {0, 1}) {
        rig.app->state().langId = langId;
        SetUiLanguage(langId);
        UseLanguageResources(langId);
        CArdwellDlg& window = rig.openWindow(QStringLiteral("Admin"));
        rig.station->musicSchedule().Tick();
        rig.station->player().Tick();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage image = save(window, langId ? "mainwindow-en.png" : "mainwindow-zh.png");
        QCOMPARE(image.size(), QSize(CArdwellDlg::kClientWidth, CArdwellDlg::kClientHeight));
        QCOMPARE(image.pixelColor(3, 3), QColor(0, 187, 199));
        // Between the music and the speech side: the grey panel.
        QCOMPARE(image.pixelColor(477, 400), QColor(238, 238, 238));
        // Its corners are rounded.
        QCOMPARE(image.pixelColor(6, 48), QColor(0, 187, 199));
        // The status line shows its picture, not the plain colour.
        QVERIFY(image.pixelColor(600, CArdwellDlg::kClientHeight - 5) != QColor(0, 187, 199));
        QVERIFY(rig.station->musicSchedule().currentTask());
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("CMusicListDlg"))->isVisible(), true);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("CMusicTaskDlg"))->isVisible(), false);
        auto* tabs = window.findChild<QTabBar*>(QStringLiteral("musicTabs"));
        tabs->setCurrentIndex(2);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("CMusicListDlg"))->isVisible(), false);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("CMusicStockDlg"))->isVisible(), true);
        tabs->setCurrentIndex(0);
        window.hide();
    }
    UseLanguageResources(0);
    SetUiLanguage(0);

    for (int langId : {0, 1}) {
        SetUiLanguage(langId);
        CUserLoginDlg verify(store, QStringLiteral("Admin"), CUserLoginDlg::VerifyPassword);
        verify.show();
        QVERIFY(QTest::qWaitForWindowExposed(&verify));
        save(verify, langId ? "verify-en.png" : "verify-zh.png");
    }
    SetUiLanguage(0);

    CUserLoginDlg login(store, QString(), CUserLoginDlg::StartupLogin);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    const QImage face = save(login, "login.png");
    // The OK place of the picture is the station's colour.
    const QColor ok = face.pixelColor(CUserLoginDlg::okButtonRect().topLeft() + QPoint(4, 4));
    QVERIFY2(ok.green() > 150 && ok.blue() > 150 && ok.red() < 80, qPrintable(ok.name()));

    rig.app->state().currentUser = QStringLiteral("Admin");
    CUnlockDlg lock(rig.app->state(), store, {});
    lock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lock));
    save(lock, "lock.png");
}

// Pictures of the main window, the login, the lock and the accounts in
// both languages, for the user guide and for a person to look at after a
// change: TOLVANE_SHOTS=<folder> test_app_mainwindow pictures
void TestMainWindow::pictures() {
    const QString folder = qEnvironmentVariable("TOLVANE_SHOTS");
    if (folder.isEmpty())
        QSKIP("TOLVANE_SHOTS names no folder");
    for (const int lang : {0, 1}) {
        StationRig rig;
        QVERIFY(rig.ready);
        QVERIFY(QFile::copy(TOLVANE_BIN_DIR "/libResENG.so", rig.folder.filePath("libResENG.so")));
        rig.app->store().LoadAll();
        rig.loaded = true;
        DataStore& store = rig.app->store();
        store.settings.enterpriseName = lang ? "Harbour Road School" : "海港路学校";
        store.settings.dailyTime = {800, 1730, 800, 1730, 800, 1730, 800, 1730, 800, 1630};
        UserAccount clerk;
        clerk.name = lang ? "Morning shift" : "早班";
        store.AddUser(clerk);
        rig.app->state().langId = lang;
        SetUiLanguage(lang);
        QVERIFY(UseLanguageResources(lang) || lang == 0); // Chinese is built in
        const QString suffix = lang ? "_en.png" : "_zh.png";
        const auto save = [&](QWidget& window, const char* name) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.grab().save(folder + u'/' + QLatin1String(name) + suffix));
        };
        CArdwellDlg& main = rig.openWindow("Admin", 1);
        save(main, "mainwindow");
        CUserLoginDlg login(store, "Admin", CUserLoginDlg::StartupLogin);
        save(login, "login");
        CUnlockDlg unlock(rig.app->state(), store, {});
        save(unlock, "unlock");
        CUserManageDlg users(store, rig.app->state());
        save(users, "usermanage");
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
