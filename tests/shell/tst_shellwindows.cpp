// The system settings dialog, the splash and the tray icon.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "controls/messagebox.h"
#include "fakeclock.h"
#include "shelltestfolder.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/shell/settingdlg.h"
#include "ui/shell/startflashdlg.h"
#include "ui/shell/systemtray.h"

namespace {

template <typename T> T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

// The 14 clock texts of a week, Monday's start first.
using WeekTexts = QStringList;

} // namespace

class TestShellWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void settingsShowStoredValues();
    void workingHours_data();
    void workingHours();
    void idleMinutes_data();
    void idleMinutes();
    void confirmStoresEverything();
    void cancelStoresNothing();
    void startAtLogin();

    void splashLoadsAfterThreeSeconds();
    void splashWithoutPictureStillLoadsOnce();
    void splashPictureIsShipped();

    void trayMenu();
    void trayClickShowsMainWindow_data();
    void trayClickShowsMainWindow();

private:
    void fillWeek(CSettingDlg& dialog, const WeekTexts& texts);

    FakeClock clock;
    std::unique_ptr<ShellTestFolder> folder;
    std::unique_ptr<DataStore> store;
};

void TestShellWindows::init() {
    folder = std::make_unique<ShellTestFolder>();
    QVERIFY(folder->ok);
    SetUiLanguage(0);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    store = std::make_unique<DataStore>(clock);
}

void TestShellWindows::cleanup() {
    store.reset();
    folder.reset();
    MessageBox::clearShown();
}

void TestShellWindows::fillWeek(CSettingDlg& dialog, const WeekTexts& texts) {
    for (int d = 0; d < 7; ++d) {
        dialog.startEdit(d)->setText(texts.value(2 * d, QStringLiteral("00:00")));
        dialog.endEdit(d)->setText(texts.value(2 * d + 1, QStringLiteral("00:00")));
    }
}

void TestShellWindows::settingsShowStoredValues() {
    store->settings.enterpriseName = QStringLiteral("Harbour school");
    store->settings.dailyTime[0] = 830;
    store->settings.dailyTime[1] = 1730;
    store->settings.dailyTime[13] = 2359;
    store->settings.ttsBackgroundVolume = 35;
    store->settings.speakDelay = 4;
    CSettingDlg dialog(*store, 600000);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("系统设置"));
    QCOMPARE(child<QLineEdit>(&dialog, "enterpriseNameEdit")->text(),
             QStringLiteral("Harbour school"));
    QCOMPARE(dialog.startEdit(0)->displayText(), QStringLiteral("08:30"));
    QCOMPARE(dialog.endEdit(0)->displayText(), QStringLiteral("17:30"));
    QCOMPARE(dialog.startEdit(3)->displayText(), QStringLiteral("00:00"));
    QCOMPARE(dialog.endEdit(6)->displayText(), QStringLiteral("23:59"));
    QCOMPARE(child<QSpinBox>(&dialog, "ttsVolumeSpin")->value(), 35);
    QCOMPARE(child<QSpinBox>(&dialog, "speakDelaySpin")->value(), 4);
    QCOMPARE(child<QLineEdit>(&dialog, "idleMinutesEdit")->text(), QStringLiteral("10"));
    QCOMPARE(child<QLineEdit>(&dialog, "enterpriseNameEdit")->maxLength(), 100);
}

void TestShellWindows::workingHours_data() {
    QTest::addColumn<WeekTexts>("week");
    QTest::addColumn<QString>("key");         // empty: accepted
    QTest::addColumn<QString>("weekdayName"); // in the message
    QTest::addColumn<QString>("focus");       // the field named

    QTest::newRow("Monday 08:00 to 08:00") << WeekTexts{"08:00", "08:00"} << "fmt_end_time_err"
                                           << QStringLiteral("星期一") << "monStartEdit";
    QTest::newRow("end before start")
        << WeekTexts{"00:00", "00:00", "00:00", "00:00", "18:00", "09:00"} << "fmt_end_time_err"
        << QStringLiteral("星期三") << "wedStartEdit";
    QTest::newRow("open end") << WeekTexts{"08:00", "00:00"} << ""
                              << ""
                              << "";
    QTest::newRow("open start") << WeekTexts{"00:00", "08:00"} << ""
                                << ""
                                << "";
    QTest::newRow("whole week bounded")
        << WeekTexts{"08:00", "17:00", "08:00", "17:00", "08:00", "17:00", "08:00",
                     "17:00", "08:00", "17:00", "09:00", "12:00", "00:00", "23:59"}
        << ""
        << ""
        << "";
    // The first failing day stops the check: Wednesday's end is never looked at.
    QTest::newRow("Tuesday 25:00")
        << WeekTexts{"08:00", "17:00", "25:00", "17:00", "08:00", "99:99"}
        << "fmt_set_valid_start_time" << QStringLiteral("星期二") << "tueStartEdit";
    QTest::newRow("start minutes 60") << WeekTexts{"07:60", "17:00"} << "fmt_set_valid_start_time"
                                      << QStringLiteral("星期一") << "monStartEdit";
    QTest::newRow("Sunday end 24:00")
        << WeekTexts{"", "", "", "", "", "", "", "", "", "", "", "", "08:00", "24:00"}
        << "fmt_set_valid_end_time" << QStringLiteral("星期天") << "sunEndEdit";
    // Blanks of the mask count as zeros: "1_:__" is 10:00.
    QTest::newRow("blanks read as zeros")
        << WeekTexts{"1", "10"} << "fmt_end_time_err" << QStringLiteral("星期一") << "monStartEdit";
}

void TestShellWindows::workingHours() {
    QFETCH(WeekTexts, week);
    QFETCH(QString, key);
    QFETCH(QString, weekdayName);
    QFETCH(QString, focus);

    CSettingDlg dialog(*store, 600000);
    dialog.show();
    fillWeek(dialog, week);
    child<QPushButton>(&dialog, "okButton")->click();

    if (key.isEmpty()) {
        QCOMPARE(MessageBox::shown().size(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        for (int d = 0; d < 7; ++d) {
            QCOMPARE(store->settings.dailyTime[size_t(2 * d)],
                     ParseClockText(week.value(2 * d, QStringLiteral("00:00"))));
            QCOMPARE(store->settings.dailyTime[size_t(2 * d + 1)],
                     ParseClockText(week.value(2 * d + 1, QStringLiteral("00:00"))));
        }
        return;
    }
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Shown& box = MessageBox::shown().first();
    QCOMPARE(box.key, key);
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QCOMPARE(box.text, FormatUiText(GetUiText(key), weekdayName));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
    // Nothing was stored.
    QCOMPARE(store->settings.dailyTime[0], 0);
    QVERIFY(!QFile::exists(folder->path(QStringLiteral("app.conf"))));
}

void TestShellWindows::idleMinutes_data() {
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<qint64>("stored"); // -1: refused
    QTest::newRow("0") << "0" << qint64(-1);
    QTest::newRow("1001") << "1001" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
    QTest::newRow("1") << "1" << qint64(60000);
    QTest::newRow("30") << "30" << qint64(1800000);
    QTest::newRow("1000") << "1000" << qint64(60000000);
}

// The box writes the user's autostart entry on confirm and removes it again;
// cancel leaves it as it was. The dialog shows what the entry says.
void TestShellWindows::startAtLogin() {
    const QString config = folder->path(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    const QString entry = config + QStringLiteral("/autostart/tolvane.desktop");
    for (const bool on : {true, false}) {
        for (const bool confirm : {false, true}) {
            CSettingDlg dialog(*store, 600000);
            auto* box = child<QCheckBox>(&dialog, "autoStartBox");
            QCOMPARE(box->isChecked(), !on);
            box->setChecked(on);
            child<QPushButton>(&dialog, confirm ? "okButton" : "cancelButton")->click();
            QCOMPARE(QFile::exists(entry), confirm == on);
        }
        if (on) {
            QFile file(entry);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
            QVERIFY(text.contains(QStringLiteral("\nExec=\"") +
                                  QCoreApplication::applicationFilePath() +
                                  QStringLiteral("\"\n")));
        }
    }
    QCOMPARE(MessageBox::shown().size(), 0);
    qunsetenv("XDG_CONFIG_HOME");
}

void TestShellWindows::idleMinutes() {
    QFETCH(QString, minutes);
    QFETCH(qint64, stored);

    CSettingDlg dialog(*store, 600000);
    QSignalSpy changed(&dialog, &CSettingDlg::idleTimeChanged);
    dialog.show();
    auto* edit = child<QLineEdit>(&dialog, "idleMinutesEdit");
    edit->setText(minutes);
    child<QPushButton>(&dialog, "okButton")->click();

    if (stored < 0) {
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text,
                 QStringLiteral("请输入一个 1 至 1000 之间的整数。"));
        QCOMPARE(dialog.focusWidget(), edit);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(dialog.idleTime(), quint32(600000));
        QVERIFY(ReadConfig(QStringLiteral("IdleTime")).isEmpty());
        return;
    }
    QCOMPARE(MessageBox::shown().size(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().value<quint32>(), quint32(stored));
    QCOMPARE(dialog.idleTime(), quint32(stored));
    QCOMPARE(ReadConfig(QStringLiteral("IdleTime")), QString::number(stored));
}

void TestShellWindows::confirmStoresEverything() {
    CSettingDlg dialog(*store, 60000);
    fillWeek(dialog, {"07:30", "18:00", "00:00", "12:00"});
    child<QLineEdit>(&dialog, "enterpriseNameEdit")->setText(QStringLiteral("North|South works"));
    child<QSpinBox>(&dialog, "ttsVolumeSpin")->setValue(25);
    child<QSpinBox>(&dialog, "speakDelaySpin")->setValue(0);
    child<QPushButton>(&dialog, "okButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // What the next start reads back from the data file.
    DataStore reloaded(clock);
    reloaded.LoadAll();
    QCOMPARE(reloaded.settings.enterpriseName, QStringLiteral("North South works"));
    QCOMPARE(reloaded.settings.dailyTime[0], 730);
    QCOMPARE(reloaded.settings.dailyTime[1], 1800);
    QCOMPARE(reloaded.settings.dailyTime[2], 0);
    QCOMPARE(reloaded.settings.dailyTime[3], 1200);
    QCOMPARE(reloaded.settings.ttsBackgroundVolume, 25);
    QCOMPARE(reloaded.settings.speakDelay, 0);
    QCOMPARE(ReadConfig(QStringLiteral("IdleTime")), QStringLiteral("60000"));
}

void TestShellWindows::cancelStoresNothing() {
    store->settings.enterpriseName = QStringLiteral("Kept");
    CSettingDlg dialog(*store, 60000);
    QSignalSpy changed(&dialog, &CSettingDlg::idleTimeChanged);
    child<QLineEdit>(&dialog, "enterpriseNameEdit")->setText(QStringLiteral("Changed"));
    child<QLineEdit>(&dialog, "idleMinutesEdit")->setText(QStringLiteral("5"));
    child<QPushButton>(&dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(store->settings.enterpriseName, QStringLiteral("Kept"));
    QCOMPARE(changed.size(), 0);
    QVERIFY(!QFile::exists(folder->path(QStringLiteral("data/cmndata.sx"))));
    QVERIFY(!QFile::exists(folder->path(QStringLiteral("app.conf"))));
}

void TestShellWindows::splashLoadsAfterThreeSeconds() {
    store->AddCategory(QStringLiteral("Morning"));
    DataStore fresh(clock);
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("imgs")));
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/imgs/splash.bmp"),
                        folder->path(QStringLiteral("imgs/splash.bmp"))));

    CStartFlashDlg splash(fresh);
    QVERIFY(splash.pictureLoaded());
    QCOMPARE(splash.size(), QSize(679, 421));
    // Neither Escape nor a close request ends it before the data is loaded.
    QTimer::singleShot(300, &splash, [&splash] {
        QTest::keyClick(&splash, Qt::Key_Escape);
        splash.close();
    });
    bool loadedEarly = true;
    QTimer::singleShot(2700, &splash, [&] { loadedEarly = splash.storeLoaded(); });
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(splash.exec(), 1);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= 2900 && elapsed < 4500, qPrintable(QString::number(elapsed)));
    QVERIFY(!loadedEarly);
    QVERIFY(splash.storeLoaded());
    QCOMPARE(fresh.categories.size(), size_t(1));
    QCOMPARE(fresh.categories.front()->name, QStringLiteral("Morning"));
}

void TestShellWindows::splashWithoutPictureStillLoadsOnce() {
    store->AddCategory(QStringLiteral("Evening"));
    DataStore fresh(clock);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(CStartFlashDlg::Run(fresh), 0);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    // Loaded, and only once: a second load would list the category twice.
    QCOMPARE(fresh.categories.size(), size_t(1));
    QVERIFY(fresh.FindUser(QStringLiteral("Admin")));
}

void TestShellWindows::splashPictureIsShipped() {
    const QImage source(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/imgs/splash.bmp"));
    QCOMPARE(source.size(), QSize(679, 421));
    const QImage built(QStringLiteral(TOLVANE_BIN_DIR "/imgs/splash.bmp"));
    QCOMPARE(built.size(), QSize(679, 421));
}

void TestShellWindows::trayMenu() {
    QWidget mainWindow;
    CSystemTray tray(&mainWindow, QIcon());
    QCOMPARE(tray.toolTip(), GetUiText(QStringLiteral("app_name")));
    // Where the desktop has no notification area there is no icon.
    QCOMPARE(tray.iconShown(), QSystemTrayIcon::isSystemTrayAvailable());

    QStringList texts;
    for (QAction* action : tray.menu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts, QStringList({QStringLiteral("连接设备(&L)"), QStringLiteral("重新登陆(&R)"),
                                 QStringLiteral("关于(&A)"), QStringLiteral("-"),
                                 QStringLiteral("退出程序(&E)")}));
    QCOMPARE(tray.menu()->defaultAction(), tray.connectAction());
    QVERIFY(tray.connectAction()->font().bold());
    QVERIFY(!tray.aboutAction()->font().bold());

    QSignalSpy connectSpy(&tray, &CSystemTray::connectDeviceRequested);
    QSignalSpy reloginSpy(&tray, &CSystemTray::reloginRequested);
    QSignalSpy aboutSpy(&tray, &CSystemTray::aboutRequested);
    QSignalSpy exitSpy(&tray, &CSystemTray::exitRequested);
    tray.aboutAction()->trigger();
    QCOMPARE(aboutSpy.size(), 1);
    tray.exitAction()->trigger();
    tray.reloginAction()->trigger();
    tray.connectAction()->trigger();
    QCOMPARE(connectSpy.size(), 1);
    QCOMPARE(reloginSpy.size(), 1);
    QCOMPARE(exitSpy.size(), 1);
    QCOMPARE(aboutSpy.size(), 1);
}

void TestShellWindows::trayClickShowsMainWindow_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("shown");
    QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << true;
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << true;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
}

void TestShellWindows::trayClickShowsMainWindow() {
    QFETCH(int, reason);
    QFETCH(bool, shown);
    QWidget mainWindow;
    mainWindow.show();
    mainWindow.hide();
    CSystemTray tray(&mainWindow, QIcon());
    tray.activate(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(mainWindow.isVisible(), shown);
}

QTEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
