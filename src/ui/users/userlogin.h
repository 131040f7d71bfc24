#pragma once

class DataStore;
class QWidget;
struct AppState;

// Who is at the station. A user is logged in while state.currentUser is not
// empty; there is no log-out, only a login as somebody else.

// Asks for a login: the current user's name (or, while nobody is logged in,
// the last one from "LoginUser") is offered. On success the name as typed
// and the account's role become the current login; false when cancelled,
// and nothing changes then.
bool RunLogin(AppState& state, DataStore& store, QWidget* parent = nullptr);

// Asks the current user for the password again, before an action that needs
// the person at the desk to be that user (leaving the program, unlocking).
// True when it was entered correctly, false when cancelled.
bool VerifyCurrentUser(const AppState& state, DataStore& store, QWidget* parent = nullptr);

// Actions that change the broadcast data are for administrators (role 1)
// only; callers show "only_admin_role_to_exec" when this is false.
bool IsAdministrator(const AppState& state);
// The guard of those actions: for anybody but an administrator it shows
// "only_admin_role_to_exec" and answers true, and the caller does nothing.
bool RefuseUnlessAdministrator(QWidget* parent, const AppState& state);
