#include "ui/shell/systemtray.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "store/uitext.h"

CSystemTray::CSystemTray(QWidget* mainWindow, const QIcon& icon)
    : QObject(mainWindow), mainWindow_(mainWindow),
      toolTip_(GetUiText(QStringLiteral("app_name"))) {
    setObjectName(QStringLiteral("CSystemTray"));

    // The menu has no parent widget: it must work while the main window is
    // hidden. It is deleted with this object.
    menu_ = new QMenu();
    menu_->setObjectName(QStringLiteral("trayMenu"));
    connectAction_ =
        menu_->addAction(tr("连接设备(&L)"), this, &CSystemTray::connectDeviceRequested);
    connectAction_->setObjectName(QStringLiteral("trayConnectAction"));
    reloginAction_ = menu_->addAction(tr("重新登陆(&R)"), this, &CSystemTray::reloginRequested);
    reloginAction_->setObjectName(QStringLiteral("trayReloginAction"));
    aboutAction_ = menu_->addAction(tr("关于(&A)"), this, &CSystemTray::aboutRequested);
    aboutAction_->setObjectName(QStringLiteral("trayAboutAction"));
    menu_->addSeparator();
    exitAction_ = menu_->addAction(tr("退出程序(&E)"), this, &CSystemTray::exitRequested);
    exitAction_->setObjectName(QStringLiteral("trayExitAction"));

    // The first item is the default: drawn bold, like a double click's command.
    menu_->setDefaultAction(connectAction_);
    QFont bold = connectAction_->font();
    bold.setBold(true);
    connectAction_->setFont(bold);
    connect(menu_, &QMenu::aboutToShow, this, &CSystemTray::bringMainWindowForward);

    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    icon_ = new QSystemTrayIcon(icon, this);
    icon_->setToolTip(toolTip_);
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, &CSystemTray::activate);
    icon_->show();
    if (mainWindow_)
        mainWindow_->installEventFilter(this);
}

CSystemTray::~CSystemTray() {
    if (icon_) {
        icon_->hide();
        delete icon_;
        icon_ = nullptr;
    }
    delete menu_;
}

void CSystemTray::activate(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        showMainWindow();
        break;
    case QSystemTrayIcon::Context:
        // With a context menu set, the platform shows it itself.
        if (!icon_ || !icon_->contextMenu())
            menu_->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

bool CSystemTray::eventFilter(QObject* watched, QEvent* event) {
    // Only with an icon: without one a hidden window could not be reached
    // again, so it stays a plain minimised window.
    if (watched == mainWindow_ && event->type() == QEvent::WindowStateChange &&
        mainWindow_->isMinimized()) {
        QTimer::singleShot(0, mainWindow_, [window = mainWindow_] {
            if (!window)
                return;
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->hide();
        });
    }
    return QObject::eventFilter(watched, event);
}

void CSystemTray::showMainWindow() {
    if (!mainWindow_)
        return;
    if (mainWindow_->isMinimized())
        mainWindow_->showNormal();
    else
        mainWindow_->show();
    bringMainWindowForward();
}

void CSystemTray::bringMainWindowForward() {
    if (!mainWindow_ || !mainWindow_->isVisible())
        return;
    mainWindow_->raise();
    mainWindow_->activateWindow();
}
