#pragma once

// Whether the station starts when its user logs in to the desktop. The
// setting belongs to the desktop, not to the station's files: it is the
// user's own autostart entry (an XDG autostart file on Linux, the user's Run
// key on Windows), which points at this program.
bool IsStartedAtLogin();
// Writes or removes the entry; false when that failed.
bool SetStartedAtLogin(bool on);
