#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QWidget;

// The notification-area icon of the main window: the minimised window goes
// there, and a click or double click brings it back; the right-click menu offers
// connect, log in again, About and quit, which the main window carries out
// through the signals. Where the desktop has no notification area there is
// no icon, and nothing else changes. Destroying the object removes the icon.
class CSystemTray : public QObject {
    Q_OBJECT

public:
    // The tooltip is the UI text "app_name"; the icon is the main window's.
    CSystemTray(QWidget* mainWindow, const QIcon& icon);
    ~CSystemTray() override;

    // Whether the icon was put into the notification area.
    bool iconShown() const { return icon_ != nullptr; }
    QString toolTip() const { return toolTip_; }

    // The right-click menu; its first item is the default one, in bold.
    QMenu* menu() const { return menu_; }
    QAction* connectAction() const { return connectAction_; }
    QAction* reloginAction() const { return reloginAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    QAction* exitAction() const { return exitAction_; }

signals:
    // The menu's commands; the main window treats each as its own button or
    // menu command of the same meaning.
    void connectDeviceRequested();
    void reloginRequested();
    void aboutRequested();
    void exitRequested();

public slots:
    // What the icon does on a click: left click or double click shows the
    // main window in front; the context click shows the menu (where the
    // platform does not do it itself).
    void activate(QSystemTrayIcon::ActivationReason reason);

protected:
    // Minimised, the main window hides in the notification area.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMainWindow();
    void bringMainWindowForward();

    QPointer<QWidget> mainWindow_;
    QString toolTip_;
    QMenu* menu_ = nullptr;
    QAction* connectAction_ = nullptr;
    QAction* reloginAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
};
