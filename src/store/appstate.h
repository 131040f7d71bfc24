#pragma once

#include <QString>

#include "store/records.h"

// The login and clock state that the application object shares with the
// main window, the schedules and the panels. The application owns the one
// instance; everybody else holds a reference.
struct AppState {
    QString currentUser; // empty while nobody is logged in
    int currentRole = 0; // 1 administrator, 0 operator
    bool screenLocked = false;
    bool workingNow = false; // inside today's working hours
    YmdDate todayYmd = 0;    // the date the day's lists were built for
    int langId = 0;          // 0 Chinese, any other value English
    bool reopenRequested = false;

    bool loggedIn() const { return !currentUser.isEmpty(); }
};
