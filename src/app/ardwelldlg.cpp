#include "app/ardwelldlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTimerEvent>

#include "app/ardwellapp.h"
#include "app/languageresources.h"
#include "app/version.h"
#include "controls/fonts.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "controls/mymenubutton.h"
#include "controls/mytabctrl.h"
#include "controls/skin.h"
#include "media/player.h"
#include "station/station.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/eventlog.h"
#include "ui/media/playerwnd.h"
#include "ui/music/musicstockdlg.h"
#include "ui/music/musictaskdlg.h"
#include "ui/schedule/musiclistdlg.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/shell/aboutdlg.h"
#include "ui/shell/settingdlg.h"
#include "ui/shell/systemtray.h"
#include "ui/shell/workingtimelabel.h"
#include "ui/speech/ttseffectdlg.h"
#include "ui/speech/ttsstockdlg.h"
#include "ui/speech/ttstaskdlg.h"
#include "ui/transmitter/deviceinfodlg.h"
#include "ui/transmitter/devicesettingdlg.h"
#include "ui/transmitter/linktitle.h"
#include "ui/users/unlockdlg.h"
#include "ui/users/userlogin.h"
#include "ui/users/usermanagedlg.h"

namespace {

// The caption of the window; the title adds the link state to it.
const char kCaption[] = "Ardwell V" TOLVANE_VERSION;
// After the enterprise name in the status line.
const char kStatusSuffix[] = "  |  Tolvane V" TOLVANE_VERSION;

// The layout of the window, in client pixels.
constexpr int kMargin = 6;
constexpr int kTopRow = 8;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kButtonStep = 104;
constexpr int kSeparatorY = 46;
constexpr int kStatusHeight = 22;
constexpr int kColumnTop = 54;
constexpr int kTabRowWidth = 460;
constexpr int kTabHeight = 30;
constexpr int kMusicLeft = 14;
constexpr int kSpeechLeft = 482;
constexpr int kRightLeft = 950;
constexpr int kPanelBottom = CArdwellDlg::kClientHeight - kStatusHeight - 8;
constexpr int kPlayerHeight = 226;
const QRect kStatusFrame(kRightLeft, kColumnTop, 250, 210);
const QRect kSettingFrame(kRightLeft, kColumnTop + 218, 260, 360);

} // namespace

CArdwellDlg::CArdwellDlg(CArdwellApp& app, Station& station, QWidget* parent)
    : QDialog(parent), app_(app), state_(app.state()), store_(app.store()), link_(station.link()),
      station_(station) {
    setObjectName(QStringLiteral("CArdwellDlg"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(QIcon(OwnPicturePath(QStringLiteral("icon.png"))));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    statusPicture_ = LanguagePicture(QStringLiteral("statusbar.png"));
    windowCaption_ = windowTitle();

    createControls();
    createPanels();
    createTray();

    connect(&link_, &TransmitterLink::stateChanged, this, &CArdwellDlg::showLinkState);
    connect(&link_, &TransmitterLink::settingRefused, this, [this](const QString& text) {
        MessageBox::showWarning(this, QStringLiteral("fmt_modify_err"), text);
    });
    // A window reopened for another language finds the link as the last
    // one left it; its buttons must say so, not the defaults.
    if (link_.hasPort())
        showLinkState(link_.state());
    updateTitle();

    connect(&station_, &Station::workingHoursChanged, this,
            [this] { workingLabel_->showHours(station_.workingHours(), state_.langId); });
    connect(&station_, &Station::linkBusy, this,
            [this](bool busy) { busy ? void(linkBusy_.emplace()) : linkBusy_.reset(); });
    workingLabel_->showHours(station_.workingHours(), state_.langId);

    mainTimer_ = startTimer(kMainTimerMs);
    if (!state_.loggedIn())
        loginTimer_ = startTimer(kLoginDelayMs);
    else
        ShowCurrentUser();
}

// The window's own timers die with it; the station's clock stops with it.
CArdwellDlg::~CArdwellDlg() {
    station_.stop();
}

void CArdwellDlg::createControls() {
    struct ButtonSpec {
        int id;
        const char* name;
        QString text;
        void (CArdwellDlg::*command)();
    };
    const ButtonSpec buttons[] = {
        {IdConnect, "connectButton", tr("连接设备"), &CArdwellDlg::OnConnectDevice},
        {IdSwitchOff, "switchOffButton", tr("关机"), &CArdwellDlg::OnSwitchOffDevice},
        {IdPause, "pauseButton", tr("暂停播音"), &CArdwellDlg::OnPauseBroadcast},
        {IdSettings, "settingsButton", tr("系统设置"), &CArdwellDlg::OnSystemSettings},
        {IdUsers, "usersButton", tr("用户管理"), &CArdwellDlg::OnUserManagement},
        {IdLock, "lockButton", tr("锁定"), &CArdwellDlg::OnLock},
        {IdAbout, "aboutButton", tr("关于"), &CArdwellDlg::OnAbout},
    };
    int x = 10;
    for (const ButtonSpec& entry : buttons) {
        auto* button = new CMyButton(entry.id, entry.text, this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setGeometry(x, kTopRow, kButtonWidth, kButtonHeight);
        // Enter does nothing in this window, not even on a focused button.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, entry.command);
        if (entry.id == IdConnect)
            connectButton_ = button;
        else if (entry.id == IdSwitchOff)
            switchOffButton_ = button;
        else if (entry.id == IdPause)
            pauseButton_ = button;
        x += kButtonStep;
    }
    switchOffButton_->setEnabled(false);
    switchOffButton_->setIcon(QIcon(OwnPicturePath(QStringLiteral("switchoff.png"))));
    switchOffButton_->setProperty("iconId", kSwitchOffIcon);

    loginButton_ = new CMyMenuButton(IdLogin, tr("未登陆"), this);
    loginButton_->setObjectName(QStringLiteral("loginButton"));
    loginButton_->setGeometry(x + 6, kTopRow, 120, kButtonHeight);
    loginButton_->setAutoDefault(false);
    loginMenu_ = new QMenu(loginButton_);
    loginMenu_->setObjectName(QStringLiteral("loginMenu"));
    QAction* again = loginMenu_->addAction(tr("重新登陆(&U)"), this, &CArdwellDlg::OnLoginAgain);
    again->setObjectName(QStringLiteral("loginAgainAction"));
    again->setData(int(CmdLoginAgain));
    QAction* quit = loginMenu_->addAction(tr("退出(&E)"), this, &CArdwellDlg::OnQuit);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setData(int(CmdQuit));
    loginButton_->setMenu(loginMenu_);

    languageBox_ = new QComboBox(this);
    languageBox_->setObjectName(QStringLiteral("languageBox"));
    languageBox_->setAccessibleName(tr("语言"));
    SetControlId(languageBox_, IdLanguage);
    // Each language is offered in its own words, so that whoever cannot
    // read the present one still finds theirs.
    languageBox_->addItem(QStringLiteral(u"中文"));
    languageBox_->addItem(QStringLiteral("English"));
    languageBox_->setProperty("nativeLanguageNames", true);
    languageBox_->setGeometry(x + 134, kTopRow + 3, 96, 24);
    languageBox_->setCurrentIndex(state_.langId >= 0 && state_.langId < 2 ? state_.langId : -1);
    connect(languageBox_, qOverload<int>(&QComboBox::activated), this,
            &CArdwellDlg::OnLanguageChosen);

    workingLabel_ = new CWorkingTimeLabel(this);
    SetControlId(workingLabel_, IdWorkingTime);
    const int labelLeft = x + 240;
    workingLabel_->setGeometry(labelLeft, 4, kClientWidth - labelLeft - 10, 38);

    separator_ = new QFrame(this);
    separator_->setObjectName(QStringLiteral("separator"));
    SetControlId(separator_, IdSeparator);
    separator_->setFrameShape(QFrame::NoFrame);
    separator_->setGeometry(0, kSeparatorY, kClientWidth, 2);

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    SetControlId(statusLine_, IdStatusLine);
    statusLine_->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    statusLine_->setFont(SmallFont());
    statusLine_->setIndent(10);
    statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLine_->setText(GetUiText(QStringLiteral("palvo_enterprise_name")) +
                         QString::fromLatin1(kStatusSuffix));
    PaintLabelWhite(statusLine_);

    musicTabs_ = new CMyTabCtrl(IdMusicTabs, QStringLiteral("tab1"), this);
    musicTabs_->setObjectName(QStringLiteral("musicTabs"));
    speechTabs_ = new CMyTabCtrl(IdSpeechTabs, QStringLiteral("tab2"), this);
    speechTabs_->setObjectName(QStringLiteral("speechTabs"));
    const char* musicKeys[] = {"today_task_list", "play_task_list", "music_stock_list"};
    const char* speechKeys[] = {"speak_list", "tts_task", "tts_list", "play_effect"};
    for (const char* key : musicKeys)
        musicTabs_->addTab(GetUiText(QString::fromLatin1(key)));
    for (const char* key : speechKeys)
        speechTabs_->addTab(GetUiText(QString::fromLatin1(key)));
    const int tabRowHeight = kTabHeight + CMyTabCtrl::kTopMargin;
    musicTabs_->setGeometry(kMusicLeft, kColumnTop, kTabRowWidth, tabRowHeight);
    speechTabs_->setGeometry(kSpeechLeft, kColumnTop, kTabRowWidth, tabRowHeight);
    musicTabs_->setItemSize(QSize(kTabRowWidth / musicTabs_->count() - 1, kTabHeight));
    speechTabs_->setItemSize(QSize(kTabRowWidth / speechTabs_->count() - 1, kTabHeight));
    connect(musicTabs_, &QTabBar::currentChanged, this,
            [this](int index) { showPage(musicPages_, index); });
    connect(speechTabs_, &QTabBar::currentChanged, this,
            [this](int index) { showPage(speechPages_, index); });
}

QWidget* CArdwellDlg::placePage(QWidget* page, const QRect& place, bool visible) {
    // Panels may be dialogs of their own; here they are pages of this window.
    if (page->isWindow())
        page->setWindowFlags(Qt::Widget);
    page->setParent(this);
    page->setGeometry(place);
    page->setVisible(visible);
    return page;
}

void CArdwellDlg::createPanels() {
    const int pagesTop = kColumnTop + kTabHeight + CMyTabCtrl::kTopMargin;
    const QRect musicPlace(kMusicLeft, pagesTop, kTabRowWidth, kPanelBottom - pagesTop);
    const QRect speechPlace(kSpeechLeft, pagesTop, kTabRowWidth,
                            kPanelBottom - kPlayerHeight - 8 - pagesTop);
    const QRect playerPlace(kSpeechLeft, kPanelBottom - kPlayerHeight, kTabRowWidth, kPlayerHeight);
    const auto named = [](QWidget* page, const char* name) {
        page->setObjectName(QString::fromLatin1(name));
        return page;
    };

    // The visible player sits in the media area below the speech pages; the
    // speech effect page fills its voice list through it.
    auto* playerWnd = new CPlayerWnd(station_.player(), this);
    SetControlId(named(playerWnd, "CPlayerWnd"), IdPlayerArea);
    playerWnd_ = placePage(playerWnd, playerPlace, true);

    // The speech effect page is built with the window, so every speech finds
    // its voice list.
    musicList_ = new CMusicListDlg(station_.musicSchedule(), this);
    musicPages_ = {
        named(musicList_, "CMusicListDlg"),
        named(new CMusicTaskDlg(store_, state_, station_, *playerWnd, this), "CMusicTaskDlg"),
        named(new CMusicStockDlg(store_, station_.player(), this), "CMusicStockDlg")};
    SpeechJob& job = station_.speechJob();
    ttsList_ = new CTTSListDlg(station_.speechSchedule(), job, store_, this);
    speechPages_ = {
        named(ttsList_, "CTTSListDlg"),
        named(new CTTSTaskDlg(store_, state_, station_.clock(), *playerWnd, job,
                              station_.speechSchedule(), this),
              "CTTSTaskDlg"),
        named(new CTTSStockDlg(store_, state_, station_.player(), job, this), "CTTSStockDlg"),
        named(new CTTSEffectDlg(store_, state_, *playerWnd, this), "CTTSEffectDlg")};
    for (size_t i = 0; i < musicPages_.size(); ++i)
        placePage(musicPages_[i], musicPlace, i == 0);
    for (size_t i = 0; i < speechPages_.size(); ++i)
        placePage(speechPages_[i], speechPlace, i == 0);

    placePage(new CDeviceSettingDlg(link_, this), kSettingFrame, true);
    placePage(new CDeviceInfoDlg(link_, this), kStatusFrame, true);
}

void CArdwellDlg::createTray() {
    tray_ = new CSystemTray(this, windowIcon());
    connect(tray_, &CSystemTray::connectDeviceRequested, this, &CArdwellDlg::OnConnectDevice);
    connect(tray_, &CSystemTray::reloginRequested, this, &CArdwellDlg::OnLoginAgain);
    connect(tray_, &CSystemTray::aboutRequested, this, &CArdwellDlg::OnAbout);
    connect(tray_, &CSystemTray::exitRequested, this, &CArdwellDlg::OnQuit);
}

int CArdwellDlg::RunModal() {
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    loop.exec(QEventLoop::DialogExec);
    return result();
}

void CArdwellDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == mainTimer_)
        OnMainTimer();
    else if (event->timerId() == loginTimer_)
        OnLoginTimer();
    else
        QDialog::timerEvent(event);
}

void CArdwellDlg::OnMainTimer() {
    if (inTimer_ || !state_.reopenRequested)
        return;
    if (mainTimer_)
        killTimer(mainTimer_);
    mainTimer_ = 0;
    station_.stop();
    done(QDialog::Rejected);
}

void CArdwellDlg::OnLoginTimer() {
    if (inTimer_)
        return;
    const QScopedValueRollback<bool> ticking(inTimer_, true);
    if (loginTimer_)
        killTimer(loginTimer_);
    loginTimer_ = 0;

    if (RunLogin(state_, store_, this)) {
        ShowCurrentUser();
        station_.RefreshSchedules();
    } else {
        // Nobody may use the station without logging in.
        done(QDialog::Rejected);
    }
}

bool CArdwellDlg::stationCommandAllowed() const {
    return state_.loggedIn() && !state_.screenLocked;
}

void CArdwellDlg::runTransmitterCommand(int action) {
    bool ok;
    {
        WaitCursor busy;
        ok = link_.ChangeDeviceState(action);
    }
    if (!ok)
        MessageBox::showWarning(this, QStringLiteral("failed_to_connect_device"),
                                GetUiText(QStringLiteral("failed_to_connect_device")));
}

void CArdwellDlg::OnConnectDevice() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    runTransmitterCommand(link_.IsConnected() ? kDeviceDisconnect : kDeviceConnect);
}

void CArdwellDlg::OnSwitchOffDevice() {
    if (commandGuard_)
        return;
    WaitCursor busy;
    link_.ChangeDeviceState(link_.switchedOff() ? kDeviceConnect : kDeviceSwitchOffOrWake);
}

void CArdwellDlg::OnPauseBroadcast() {
    if (commandGuard_)
        return;
    Player& player = station_.player();
    player.SetPaused(!player.paused());
    pauseButton_->setText(
        GetUiText(QLatin1String(player.paused() ? "play_continue" : "play_pause")));
}

void CArdwellDlg::OnSystemSettings() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    CSettingDlg dlg(store_, quint32(qMax(0, station_.idleTime())), this);
    connect(&dlg, &CSettingDlg::idleTimeChanged, this,
            [this](quint32 milliseconds) { station_.setIdleTime(int(milliseconds)); });
    dlg.exec();
}

void CArdwellDlg::OnUserManagement() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    CUserManageDlg dlg(store_, state_, this);
    connect(&dlg, &CUserManageDlg::currentUserChanged, this, &CArdwellDlg::ShowCurrentUser);
    dlg.exec();
}

void CArdwellDlg::OnLock() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    state_.screenLocked = true;
    updateTitle();
    CUnlockDlg lock(
        state_, store_, [this] { updateTitle(); }, this);
    lock.exec();
    updateTitle();
}

void CArdwellDlg::OnAbout() {
    if (commandGuard_)
        return;
    CAboutDlg about(link_, this);
    about.exec();
}

void CArdwellDlg::OnLoginAgain() {
    if (commandGuard_ || state_.screenLocked)
        return;
    const QScopedValueRollback<bool> guard(commandGuard_, true);
    if (RunLogin(state_, store_, this))
        ShowCurrentUser();
}

void CArdwellDlg::OnQuit() {
    if (confirmExitOnce())
        done(QDialog::Rejected);
}

bool CArdwellDlg::confirmExitOnce() {
    if (commandGuard_)
        return false;
    const QScopedValueRollback<bool> guard(commandGuard_, true);
    return ConfirmExit();
}

void CArdwellDlg::OnLanguageChosen(int index) {
    if (commandGuard_)
        return;
    if (!app_.RequestReopen(index, this))
        languageBox_->setCurrentIndex(state_.langId >= 0 && state_.langId < 2 ? state_.langId : -1);
}

void CArdwellDlg::ShowCurrentUser() {
    loginButton_->setText(state_.loggedIn() ? state_.currentUser : tr("未登陆"));
}

template <size_t N> void CArdwellDlg::showPage(const std::array<QWidget*, N>& pages, int index) {
    for (size_t i = 0; i < N; ++i)
        pages[i]->setVisible(int(i) == index);
}

bool CArdwellDlg::ConfirmExit() {
    if (MessageBox::askOkCancel(this, QStringLiteral("ask_exit_app"),
                                GetUiText(QStringLiteral("ask_exit_app"))) != QMessageBox::Ok)
        return false;
    if (!VerifyCurrentUser(state_, store_, this))
        return false;
    {
        WaitCursor busy;
        link_.Disconnect();
    }
    LogEvent(QStringLiteral("Exit App!"));
    return true;
}

void CArdwellDlg::showLinkState(TransmitterLink::LinkState state) {
    using LinkState = TransmitterLink::LinkState;
    const bool switchedOff = state != LinkState::Connected;
    switchOffButton_->setIcon(
        QIcon(OwnPicturePath(QLatin1String(switchedOff ? "restart.png" : "switchoff.png"))));
    switchOffButton_->setProperty("iconId", switchedOff ? kRestartIcon : kSwitchOffIcon);
    switchOffButton_->setText(GetUiText(QLatin1String(switchedOff ? "reboot" : "shutdown")));
    switchOffButton_->setEnabled(state != LinkState::NotConnected);
    connectButton_->setText(GetUiText(
        QLatin1String(state == LinkState::NotConnected ? "connect_device" : "disconnect")));
    updateTitle();
    repaint();
}

void CArdwellDlg::updateTitle() {
    setWindowTitle(LinkTitle(windowCaption_, link_.state(), link_.lastPort(),
                             link_.product().productInfo, state_.screenLocked));
}

void CArdwellDlg::keyPressEvent(QKeyEvent* event) {
    // Enter does nothing; Escape (handled by the dialog) ends the window at
    // once, without the exit question.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CArdwellDlg::closeEvent(QCloseEvent* event) {
    if (!confirmExitOnce()) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

void CArdwellDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), SkinBackgroundColor());
    DrawBitmapInRect(painter, statusPicture_, statusLine_->geometry());
    // A slightly lighter line under the top row.
    painter.fillRect(separator_->geometry(), QColor(255, 255, 255, 70));

    const int top = separator_->geometry().bottom() + 1;
    const int bottom = statusLine_->geometry().top();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(238, 238, 238));
    painter.drawRoundedRect(QRectF(kMargin, top, width() - 2 * kMargin, bottom - top), 4.5, 4.5);
}
