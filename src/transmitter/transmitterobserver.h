#pragma once

#include <QString>

// Icons of the switch-off button: switch off, and restart.
constexpr int kSwitchOffIcon = 218;
constexpr int kRestartIcon = 219;

// What the transmitter link does to the windows. The main window implements
// it; the link itself knows no widgets.
class TransmitterObserver {
public:
    virtual ~TransmitterObserver() = default;

    // The text of a UI text key in the current language.
    virtual QString uiText(const QString& key) = 0;
    // A warning message box with OK that shows `text`, made from the UI text `key`.
    virtual void showWarning(const QString& key, const QString& text) = 0;

    // Rewrites the status panel and the settings panel from the link. With
    // `reevaluateEnabled` the settings controls are enabled by capability;
    // without it they keep their enabled state.
    virtual void refreshPanels(bool reevaluateEnabled) = 0;

    // The switch-off button: its icon and text, and whether it is enabled.
    virtual void setSwitchOffButton(int icon, const QString& text) = 0;
    virtual void enableSwitchOffButton(bool enable) = 0;
    // The connect button's text.
    virtual void setConnectButtonText(const QString& text) = 0;

    // The main window's caption as it was when the window opened, and whether
    // the window is locked; the title is composed from both.
    virtual QString windowCaption() = 0;
    virtual bool windowLocked() = 0;
    virtual void setTitle(const QString& title) = 0;
    // Redraws the main window at once.
    virtual void redrawWindow() = 0;
};
