#include "ardwelldlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>

#include "aboutdlg.h"
#include "appstate.h"
#include "ardwellapp.h"
#include "clock.h"
#include "clocktext.h"
#include "datastore.h"
#include "deviceinfodlg.h"
#include "devicesettingdlg.h"
#include "eventlog.h"
#include "fonts.h"
#include "languageresources.h"
#include "messagebox.h"
#include "musiclistdlg.h"
#include "musicschedule.h"
#include "mybutton.h"
#include "mymenubutton.h"
#include "mytabctrl.h"
#include "player.h"
#include "playerwnd.h"
#include "settingdlg.h"
#include "skin.h"
#include "speechjob.h"
#include "speechschedule.h"
#include "stringutils.h"
#include "systemtray.h"
#include "transmitterlink.h"
#include "ttsbackend.h"
#include "ttslistdlg.h"
#include "uitext.h"
#include "unlockdlg.h"
#include "userlogin.h"
#include "waitcursor.h"

namespace {

// The caption of the window; the title adds the link state to it.
const char kCaption[] = "Ardwell V1.1.2";
// After the enterprise name in the status line.
const char kStatusSuffix[] = "  |  Tolvane V1.1.2";

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

// RAII for the flag that drops ticks and commands while one is handled.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

void makeWhite(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
}

// The narrowest and the smallest the working-time label goes.
constexpr int kNarrowestStretch = 80;
constexpr int kSmallestPixels = 9;

// The working-time label has room for one line between the language box and
// the window's edge, and some languages need more than that. Rather than
// wrap onto a second line, the text is drawn narrower and, if need be,
// smaller, until it fits.
QFont fittingFont(const QFont& base, const QString& text, int width) {
    QFont font = base;
    int stretch = 100;
    int pixels = QFontInfo(base).pixelSize();
    while (QFontMetrics(font).horizontalAdvance(text) > width) {
        if (stretch > kNarrowestStretch)
            stretch -= 5;
        else if (pixels > kSmallestPixels)
            --pixels;
        else
            break;
        font.setStretch(stretch);
        font.setPixelSize(pixels);
    }
    return font;
}

} // namespace

CArdwellDlg::CArdwellDlg(CArdwellApp& app, QWidget* parent)
    : QDialog(parent), app_(app), state_(app.state()), store_(app.store()), link_(app.link()),
      clock_(app.clock()) {
    setObjectName(QStringLiteral("CArdwellDlg"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(QIcon(OwnPicturePath(QStringLiteral("icon.png"))));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    statusPicture_ = LanguagePicture(QStringLiteral("statusbar.png"));

    idleTime_ = TextToInt(ReadConfig(QStringLiteral("IdleTime")));
    windowCaption_ = windowTitle();

    createControls();
    createMedia();
    createPanels();
    createTray();

    link_.setObserver(this);
    // A window reopened for another language finds the link as the last
    // one left it; its buttons and panels must say so, not the defaults.
    syncDeviceButtons();
    updateTitle();
    CheckWorkingTime();

    mainTimer_ = startTimer(kMainTimerMs);
    if (!state_.loggedIn())
        loginTimer_ = startTimer(kLoginDelayMs);
    else
        ShowCurrentUser();
}

CArdwellDlg::~CArdwellDlg() {
    if (mainTimer_)
        killTimer(mainTimer_);
    if (loginTimer_)
        killTimer(loginTimer_);
    link_.setObserver(nullptr);
    // The panels and the tray hold on to the schedules and the player;
    // they go first.
    delete tray_;
    delete musicList_;
    delete ttsList_;
    delete playerWnd_;
    speechSchedule_.reset();
    musicSchedule_.reset();
    speechJob_.reset();
    player_.reset();
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

    workingLabel_ = new QLabel(this);
    workingLabel_->setObjectName(QStringLiteral("workingTime"));
    SetControlId(workingLabel_, IdWorkingTime);
    const int labelLeft = x + 240;
    workingLabel_->setGeometry(labelLeft, 4, kClientWidth - labelLeft - 10, 38);
    workingLabel_->setFont(BoldFont());
    workingLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    makeWhite(workingLabel_);

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
    makeWhite(statusLine_);

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
    connect(musicTabs_, &QTabBar::currentChanged, this, &CArdwellDlg::OnMusicTab);
    connect(speechTabs_, &QTabBar::currentChanged, this, &CArdwellDlg::OnSpeechTab);
}

void CArdwellDlg::createMedia() {
    const StationBackends& backends = app_.backends();
    player_ = std::make_unique<Player>(backends.media, backends.voice ? backends.voice() : nullptr,
                                       clock_, &store_.settings);
    speechJob_ = std::make_unique<SpeechJob>(*player_, store_, state_);

    MusicScheduleContext context;
    context.workingNow = [this] { return state_.workingNow; };
    context.userLoggedIn = [this] { return state_.loggedIn(); };
    musicSchedule_ =
        std::make_unique<MusicSchedule>(store_, clock_, *player_, &link_, std::move(context));
    speechSchedule_ =
        std::make_unique<SpeechSchedule>(store_, clock_, state_, *player_, *speechJob_);

    player_->hooks.userLoggedIn = [this] { return state_.loggedIn(); };
    player_->hooks.playNextMusic = [this] { musicSchedule_->PlayNextMusic(); };
    player_->hooks.wakeTransmitter = [this] { wakeTransmitter(); };
    speechJob_->clearMusicEntry = [this] { musicSchedule_->PlayMusicEntry(-1, false); };
    speechJob_->jobEnded = [this] { speechSchedule_->EndCurrentEntry(); };
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

    // Pages that later work fills; until then they are empty.
    const auto emptyPage = [this](const char* name) {
        auto* page = new QWidget(this);
        page->setObjectName(QString::fromLatin1(name));
        return page;
    };

    musicList_ = new CMusicListDlg(*musicSchedule_, this);
    musicList_->setObjectName(QStringLiteral("CMusicListDlg"));
    musicPages_ = {musicList_, emptyPage("CMusicTaskDlg"), emptyPage("CMusicStockDlg")};
    for (size_t i = 0; i < musicPages_.size(); ++i)
        placePage(musicPages_[i], musicPlace, i == 0);

    ttsList_ = new CTTSListDlg(*speechSchedule_, *speechJob_, store_, this);
    ttsList_->setObjectName(QStringLiteral("CTTSListDlg"));
    speechPages_ = {ttsList_, emptyPage("CTTSTaskDlg"), emptyPage("CTTSStockDlg"),
                    emptyPage("CTTSEffectDlg")};
    for (size_t i = 0; i < speechPages_.size(); ++i)
        placePage(speechPages_[i], speechPlace, i == 0);

    deviceSetting_ = new CDeviceSettingDlg(link_, this);
    placePage(deviceSetting_, kSettingFrame, true);
    deviceInfo_ = new CDeviceInfoDlg(link_, this);
    placePage(deviceInfo_, kStatusFrame, true);

    // The visible player sits in the media area below the speech pages.
    auto* playerWnd = new CPlayerWnd(*player_, this);
    playerWnd->setObjectName(QStringLiteral("CPlayerWnd"));
    SetControlId(playerWnd, IdPlayerArea);
    playerWnd_ = playerWnd;
    placePage(playerWnd_, playerPlace, true);
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

// --- the clock ---------------------------------------------------------------

void CArdwellDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == mainTimer_)
        OnMainTimer();
    else if (event->timerId() == loginTimer_)
        OnLoginTimer();
    else
        QDialog::timerEvent(event);
}

void CArdwellDlg::OnMainTimer() {
    if (inTimer_)
        return;
    FlagScope ticking(inTimer_);

    if (state_.reopenRequested) {
        if (mainTimer_)
            killTimer(mainTimer_);
        mainTimer_ = 0;
        if (musicList_)
            musicList_->StopTimer();
        if (ttsList_) {
            if (auto* timer = ttsList_->findChild<QTimer*>(QStringLiteral("schedulerTimer")))
                timer->stop();
        }
        done(QDialog::Rejected);
        return;
    }

    CheckWorkingTime();

    if (idleTime_ <= 0 || !state_.workingNow)
        return;
    if (!link_.IsConnected() || player_->speaking() || player_->IsPlayerBusy()) {
        idleSince_ = 0;
        return;
    }
    const qint64 now = app_.tickCount();
    if (idleSince_ == 0) {
        idleSince_ = now;
        return;
    }
    if (quint64(now - idleSince_) > quint64(idleTime_)) {
        link_.ChangeDeviceState(kDeviceSwitchOffOrWake);
        idleSince_ = 0;
    }
}

void CArdwellDlg::OnLoginTimer() {
    if (inTimer_)
        return;
    FlagScope ticking(inTimer_);
    if (loginTimer_)
        killTimer(loginTimer_);
    loginTimer_ = 0;

    if (RunLogin(state_, store_, this)) {
        ShowCurrentUser();
        RefreshSchedules();
    } else {
        // Nobody may use the station without logging in.
        done(QDialog::Rejected);
    }
}

void CArdwellDlg::CheckWorkingTime() {
    const QDateTime now = clock_.now();
    const YmdDate today = DateToYmd(now.date());
    // The day's lists are built for one date; a station that works through
    // midnight never leaves working time, so a new date rebuilds them too.
    const bool newDay = state_.todayYmd != 0 && state_.todayYmd != today;
    state_.todayYmd = today;
    const int weekday = WeekdayOf(now.date());
    const HhmmTime hhmm = now.time().hour() * 100 + now.time().minute();

    HhmmTime from = 0;
    HhmmTime to = 2400;
    if (weekday >= 0 && weekday <= 6) {
        const auto& daily = store_.settings.dailyTime;
        if (daily[size_t(2 * weekday)] > 0)
            from = daily[size_t(2 * weekday)];
        if (daily[size_t(2 * weekday + 1)] > 0 && daily[size_t(2 * weekday + 1)] < 2400)
            to = daily[size_t(2 * weekday + 1)];
    }

    bool refreshed = false;
    if (hhmm < from || hhmm > to) {
        if (state_.workingNow) {
            state_.workingNow = false;
            player_->StopPlayback();
            if (state_.loggedIn()) {
                RefreshSchedules();
                refreshed = true;
            }
        }
    } else if (!state_.workingNow) {
        state_.workingNow = true;
        if (state_.loggedIn()) {
            RefreshSchedules();
            refreshed = true;
        }
    }
    if (newDay && !refreshed && state_.loggedIn())
        RefreshSchedules();

    const QString text =
        QStringLiteral("%1  %2 %3~%4")
            .arg(GetUiText(QLatin1String(state_.workingNow ? "working" : "gone_time")),
                 WeekdayName(weekday, state_.langId), FormatClock(from), FormatClock(to));
    if (text != workingLabel_->text()) {
        workingLabel_->setFont(
            fittingFont(BoldFont(), text, workingLabel_->contentsRect().width()));
        workingLabel_->setText(text);
        workingLabel_->repaint();
    }
}

void CArdwellDlg::RefreshSchedules() {
    if (!state_.loggedIn())
        return;
    musicSchedule_->ResetMusicSchedule();
    if (musicList_)
        musicList_->update();
    speechSchedule_->BuildTodaySpeechList();
    if (ttsList_)
        ttsList_->update();
}

// --- commands ----------------------------------------------------------------

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
    player_->SetPaused(!player_->paused());
    pauseButton_->setText(
        GetUiText(QLatin1String(player_->paused() ? "play_continue" : "play_pause")));
}

void CArdwellDlg::OnSystemSettings() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    CSettingDlg dlg(store_, quint32(qMax(0, idleTime_)), this);
    connect(&dlg, &CSettingDlg::idleTimeChanged, this,
            [this](quint32 milliseconds) { idleTime_ = int(milliseconds); });
    dlg.exec();
}

void CArdwellDlg::OnUserManagement() {
    if (commandGuard_ || !stationCommandAllowed())
        return;
    // The user management dialog opens here once it is part of the station.
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
    FlagScope guard(commandGuard_);
    if (RunLogin(state_, store_, this))
        ShowCurrentUser();
}

void CArdwellDlg::OnQuit() {
    if (commandGuard_)
        return;
    bool confirmed;
    {
        FlagScope guard(commandGuard_);
        confirmed = ConfirmExit();
    }
    if (confirmed)
        done(QDialog::Rejected);
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

void CArdwellDlg::OnMusicTab(int index) {
    for (size_t i = 0; i < musicPages_.size(); ++i)
        musicPages_[i]->setVisible(int(i) == index);
}

void CArdwellDlg::OnSpeechTab(int index) {
    for (size_t i = 0; i < speechPages_.size(); ++i)
        speechPages_[i]->setVisible(int(i) == index);
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

void CArdwellDlg::wakeTransmitter() {
    if (!state_.workingNow || !link_.switchedOff())
        return;
    {
        WaitCursor busy;
        link_.ChangeDeviceState(kDeviceConnect);
    }
    idleSince_ = 0;
}

void CArdwellDlg::syncDeviceButtons() {
    if (!link_.hasPort())
        return;
    refreshPanels(true);
    setSwitchOffButton(link_.switchedOff() ? kRestartIcon : kSwitchOffIcon,
                       uiText(QLatin1String(link_.switchedOff() ? "reboot" : "shutdown")));
    enableSwitchOffButton(true);
    setConnectButtonText(uiText(QStringLiteral("disconnect")));
}

void CArdwellDlg::updateTitle() {
    link_.UpdateTitle(windowCaption_, state_.screenLocked);
}

// --- window events -----------------------------------------------------------

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
    bool confirmed = false;
    if (!commandGuard_) {
        FlagScope guard(commandGuard_);
        confirmed = ConfirmExit();
    }
    if (!confirmed) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

void CArdwellDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // Minimised, the window goes to the notification area, where the tray
    // icon brings it back; without a tray icon it stays a plain minimised
    // window, or nobody could reach it again.
    if (tray_ && tray_->iconShown()) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            hide();
        });
    }
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

// --- what the transmitter link shows -------------------------------------------

QString CArdwellDlg::uiText(const QString& key) {
    return GetUiText(key);
}

void CArdwellDlg::showWarning(const QString& key, const QString& text) {
    MessageBox::showWarning(this, key, text);
}

void CArdwellDlg::refreshPanels(bool reevaluateEnabled) {
    if (deviceInfo_)
        deviceInfo_->refresh();
    if (deviceSetting_)
        deviceSetting_->refresh(reevaluateEnabled);
}

void CArdwellDlg::setSwitchOffButton(int icon, const QString& text) {
    switchOffButton_->setIcon(QIcon(
        OwnPicturePath(QLatin1String(icon == kRestartIcon ? "restart.png" : "switchoff.png"))));
    switchOffButton_->setProperty("iconId", icon);
    switchOffButton_->setText(text);
}

void CArdwellDlg::enableSwitchOffButton(bool enable) {
    switchOffButton_->setEnabled(enable);
}

void CArdwellDlg::setConnectButtonText(const QString& text) {
    connectButton_->setText(text);
}

QString CArdwellDlg::windowCaption() {
    return windowCaption_;
}

bool CArdwellDlg::windowLocked() {
    return state_.screenLocked;
}

void CArdwellDlg::setTitle(const QString& title) {
    setWindowTitle(title);
}

void CArdwellDlg::redrawWindow() {
    repaint();
}
