#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <memory>

#include "transmitterobserver.h"

class CArdwellApp;
class CDeviceInfoDlg;
class CDeviceSettingDlg;
class CMusicListDlg;
class CMyButton;
class CMyMenuButton;
class CMyTabCtrl;
class CPlayerWnd;
class CSystemTray;
class CTTSListDlg;
class Clock;
class DataStore;
class MusicSchedule;
class Player;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class SpeechJob;
class SpeechSchedule;
class TransmitterLink;
struct AppState;

// The station's one main window, run once per pass of the application's
// main loop. It owns every panel, the player and the schedules for that
// pass, carries the command buttons, and keeps the station's clock: a
// one-second timer that decides whether it is working time, rebuilds the
// day's lists when working time begins or ends or a new day starts,
// switches a silent transmitter off after the idle time, and ends the
// window when a language change asks for a reopen. When nobody is logged in
// as it opens, it asks for a login 200 ms later; cancelling that login ends
// the program.
class CArdwellDlg : public QDialog, public TransmitterObserver {
    Q_OBJECT

public:
    // Identifiers of the controls; the skins and the tests know them.
    enum ControlId {
        IdConnect = 1109,
        IdSwitchOff = 1107,
        IdPause = 1110,
        IdSettings = 1007,
        IdUsers = 1006,
        IdLock = 1106,
        IdAbout = 1108,
        IdLogin = 1103,
        IdLanguage = 1206,
        IdMusicTabs = 1014,
        IdSpeechTabs = 1015,
        IdWorkingTime = 1179,
        IdStatusLine = 1138,
        IdSeparator = 1146,
        IdPlayerArea = 1102,
        IdSettingFrame = 1104,
        IdStatusFrame = 1126,
    };
    // Commands of the login button's menu (and of the tray's).
    enum Command { CmdLoginAgain = 32776, CmdQuit = 32774 };

    static constexpr int kClientWidth = 1240;
    static constexpr int kClientHeight = 700;
    static constexpr int kMainTimerMs = 1000;
    static constexpr int kLoginDelayMs = 200;

    explicit CArdwellDlg(CArdwellApp& app, QWidget* parent = nullptr);
    ~CArdwellDlg() override;

    // Shows the window and returns when it has ended. Unlike exec(), hiding
    // the window (minimised to the tray) does not end it.
    int RunModal();

    // The two timers' work; the window's timers call them, tests may too.
    // A tick that comes while another is still being handled (the login
    // dialog of timer 2 is open) is dropped.
    void OnMainTimer();
    void OnLoginTimer();
    // Sets workingNow and todayYmd from the clock and today's working
    // hours, rebuilds the day's lists when working time begins or ends or
    // the date changes, and writes the working-time label.
    void CheckWorkingTime();
    // Rebuilds today's music and speech lists, while a user is logged in.
    void RefreshSchedules();
    // The exit question, the password, the goodbye to the transmitter and
    // the log line; true when the program may end.
    bool ConfirmExit();

    // The commands of the buttons, the login menu and the tray.
    void OnConnectDevice();
    void OnSwitchOffDevice();
    void OnPauseBroadcast();
    void OnSystemSettings();
    void OnUserManagement();
    void OnLock();
    void OnAbout();
    void OnLoginAgain();
    void OnQuit();
    void OnLanguageChosen(int index);
    void OnMusicTab(int index);
    void OnSpeechTab(int index);
    // The login button shows who is logged in; user management calls this
    // after it renamed the current user's account.
    void ShowCurrentUser();

    int idleTime() const { return idleTime_; }
    void setIdleTime(int milliseconds) { idleTime_ = milliseconds; }
    qint64 idleSince() const { return idleSince_; }
    bool commandGuarded() const { return commandGuard_; }
    QString windowCaptionText() const { return windowCaption_; }

    Player& player() const { return *player_; }
    MusicSchedule& musicSchedule() const { return *musicSchedule_; }
    SpeechSchedule& speechSchedule() const { return *speechSchedule_; }
    SpeechJob& speechJob() const { return *speechJob_; }
    CSystemTray* tray() const { return tray_; }

    // TransmitterObserver: what the link shows in this window.
    QString uiText(const QString& key) override;
    void showWarning(const QString& key, const QString& text) override;
    void refreshPanels(bool reevaluateEnabled) override;
    void setSwitchOffButton(int icon, const QString& text) override;
    void enableSwitchOffButton(bool enable) override;
    void setConnectButtonText(const QString& text) override;
    QString windowCaption() override;
    bool windowLocked() override;
    void setTitle(const QString& title) override;
    void redrawWindow() override;

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createMedia();
    void createPanels();
    void createTray();
    void syncDeviceButtons();
    void updateTitle();
    void wakeTransmitter();
    void runTransmitterCommand(int action);
    // The station's commands are refused while the screen is locked or
    // nobody is logged in.
    bool stationCommandAllowed() const;
    QWidget* placePage(QWidget* page, const QRect& place, bool visible);

    CArdwellApp& app_;
    AppState& state_;
    DataStore& store_;
    TransmitterLink& link_;
    const Clock& clock_;

    QString windowCaption_;
    int mainTimer_ = 0;
    int loginTimer_ = 0;
    qint64 idleSince_ = 0;
    bool inTimer_ = false;
    int idleTime_ = 0;
    // Set while the quit or the re-login question is open: every other
    // command is dropped meanwhile.
    bool commandGuard_ = false;

    std::unique_ptr<Player> player_;
    std::unique_ptr<SpeechJob> speechJob_;
    std::unique_ptr<MusicSchedule> musicSchedule_;
    std::unique_ptr<SpeechSchedule> speechSchedule_;

    CMyButton* connectButton_ = nullptr;
    CMyButton* switchOffButton_ = nullptr;
    CMyButton* pauseButton_ = nullptr;
    CMyMenuButton* loginButton_ = nullptr;
    QMenu* loginMenu_ = nullptr;
    QComboBox* languageBox_ = nullptr;
    CMyTabCtrl* musicTabs_ = nullptr;
    CMyTabCtrl* speechTabs_ = nullptr;
    std::array<QWidget*, 3> musicPages_{};
    std::array<QWidget*, 4> speechPages_{};
    CMusicListDlg* musicList_ = nullptr;
    CTTSListDlg* ttsList_ = nullptr;
    CDeviceSettingDlg* deviceSetting_ = nullptr;
    CDeviceInfoDlg* deviceInfo_ = nullptr;
    QWidget* playerWnd_ = nullptr;
    QLabel* workingLabel_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QFrame* separator_ = nullptr;
    CSystemTray* tray_ = nullptr;
    QImage statusPicture_;
};
