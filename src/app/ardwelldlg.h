#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <optional>

#include "controls/waitcursor.h"
#include "transmitter/transmitterlink.h"

class CArdwellApp;
class CMusicListDlg;
class CMyButton;
class CMyMenuButton;
class CMyTabCtrl;
class CPlayerWnd;
class CSystemTray;
class CTTSListDlg;
class CWorkingTimeLabel;
class DataStore;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class Station;
struct AppState;

// The station's one main window, run once per pass of the application's
// main loop: a view of the pass's Station. It owns every panel, carries the
// command buttons and forwards them, and shows what the station and the
// transmitter link tell it: the working hours, the link's state in its
// buttons and title. Its one-second timer ends the window when a language
// change asks for a reopen. When nobody is logged in as it opens, it asks
// for a login 200 ms later; cancelling that login ends the program.
class CArdwellDlg : public QDialog {
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
    // Icons of the switch-off button: switch off, and restart.
    static constexpr int kSwitchOffIcon = 218;
    static constexpr int kRestartIcon = 219;

    static constexpr int kClientWidth = 1240;
    static constexpr int kClientHeight = 700;
    static constexpr int kMainTimerMs = 1000;
    static constexpr int kLoginDelayMs = 200;

    // Shows the station, which must outlive the window.
    CArdwellDlg(CArdwellApp& app, Station& station, QWidget* parent = nullptr);
    ~CArdwellDlg() override;

    // Shows the window and returns when it has ended. Unlike exec(), hiding
    // the window (minimised to the tray) does not end it.
    int RunModal();

    // The two timers' work; the window's timers call them, tests may too.
    // A tick that comes while another is still being handled (the login
    // dialog of timer 2 is open) is dropped.
    void OnMainTimer();
    void OnLoginTimer();
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
    // The login button shows who is logged in; user management calls this
    // after it renamed the current user's account.
    void ShowCurrentUser();

    bool commandGuarded() const { return commandGuard_; }
    QString windowCaptionText() const { return windowCaption_; }
    Station& station() const { return station_; }
    CSystemTray* tray() const { return tray_; }

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createPanels();
    void createTray();
    void showLinkState(TransmitterLink::LinkState state);
    void updateTitle();
    void runTransmitterCommand(int action);
    // Shows the page of the chosen tab and hides the others.
    template <size_t N> void showPage(const std::array<QWidget*, N>& pages, int index);
    // ConfirmExit, unless the quit or the re-login question is open already.
    bool confirmExitOnce();
    // The station's commands are refused while the screen is locked or
    // nobody is logged in.
    bool stationCommandAllowed() const;
    QWidget* placePage(QWidget* page, const QRect& place, bool visible);

    CArdwellApp& app_;
    AppState& state_;
    DataStore& store_;
    TransmitterLink& link_;
    Station& station_;

    QString windowCaption_;
    int mainTimer_ = 0;
    int loginTimer_ = 0;
    bool inTimer_ = false;
    // Set while the quit or the re-login question is open: every other
    // command is dropped meanwhile.
    bool commandGuard_ = false;
    // While the station wakes the transmitter for something to play.
    std::optional<WaitCursor> linkBusy_;

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
    QWidget* playerWnd_ = nullptr;
    CWorkingTimeLabel* workingLabel_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QFrame* separator_ = nullptr;
    CSystemTray* tray_ = nullptr;
    QImage statusPicture_;
};
