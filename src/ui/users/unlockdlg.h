#pragma once

#include <QDialog>

#include <functional>

class DataStore;
struct AppState;

// The lock window: covers the main window while the station keeps playing,
// until the user who locked it enters the password again. It has no title
// bar and ignores Enter, Escape and closing; "解锁" is the only way out.
class CUnlockDlg : public QDialog {
    Q_OBJECT

public:
    // `onUnlocked` runs after a successful unlock cleared the lock (the main
    // window refreshes its title there).
    CUnlockDlg(AppState& state, DataStore& store, std::function<void()> onUnlocked,
               QWidget* parent = nullptr);

    // Asks for the current user's password; closes the window when it was
    // right, stays up when the question was cancelled.
    void OnUnlock();

    // Nothing but OnUnlock ends the window.
    void reject() override {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    AppState& state_;
    DataStore& store_;
    std::function<void()> onUnlocked_;
    bool unlocked_ = false;
};
