#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "media/mediabackend.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "transmitter/transmitterlink.h"

class CArdwellDlg;
class Clock;
class QLockFile;
class QWidget;
class Station;
class TtsBackend;

// What makes sound: main() plugs in the real Qt players, tests plug in
// fakes. Each pass's station makes its player from these.
struct StationBackends {
    MediaBackendFactory media;
    std::function<std::unique_ptr<TtsBackend>()> voice;
};

// The application object: one copy of the program at a time, the language,
// the data store loaded once behind the splash, and the station with its
// main window run again and again while a language change asks for it. It
// owns what lives for the whole run: the shared login and clock state, the
// data store and the one transmitter link; and for each pass the Station.
class CArdwellApp {
public:
    // The name of the single-instance guard, a lock file in the temporary
    // folder that a crashed copy does not leave behind as a block.
    static constexpr char kInstanceName[] = "ARDWELL APP";

    CArdwellApp(const Clock& clock, StationBackends backends);
    ~CArdwellApp();
    CArdwellApp(const CArdwellApp&) = delete;
    CArdwellApp& operator=(const CArdwellApp&) = delete;

    // Runs the whole program: refuses a second copy ("app_already_startup"),
    // then language, splash and data (first pass only, with one notice
    // "fmt_data_folder_unwritable" when the data cannot be saved), main
    // window, and again while a reopen was requested; finally remembers the
    // last user in "LoginUser" and frees the data. The exit code: 0, or 1 for
    // a refused second copy.
    int Run();

    // The language box chose `langId`. True when it stays or a reopen in the
    // new language is arranged ("LangId" written, the window closes at its
    // next tick); false when the user declined "ask_reopen_dlg".
    bool RequestReopen(int langId, QWidget* parent = nullptr);

    // A station for one pass: the player and the schedules on the backends,
    // the idle time from "IdleTime". It is not started yet.
    std::unique_ptr<Station> makeStation();

    AppState& state() { return state_; }
    DataStore& store() { return store_; }
    TransmitterLink& link() { return link_; }
    const Clock& clock() const { return clock_; }
    const StationBackends& backends() const { return backends_; }

    // Milliseconds of a clock that only goes forward, for the idle
    // switch-off of the transmitter. Tests may put in their own; empty: the
    // system's.
    std::function<qint64()> tickCount;

    // Told of every main window just before it runs; tests drive whole runs
    // through it.
    std::function<void(CArdwellDlg&)> onMainWindow;
    // Shows the splash, which loads the data store. Empty: the real splash.
    std::function<void(DataStore&)> showSplash;

    // The main window of the pass that runs now; null between passes.
    CArdwellDlg* mainWindow() const { return mainWindow_; }
    int passCount() const { return passes_; }

private:
    bool acquireInstance();
    // The UI texts and the window resources of `langId`.
    void useLanguage(int langId);
    void runSplash();
    void warnIfDataUnwritable();

    const Clock& clock_;
    StationBackends backends_;
    std::unique_ptr<QLockFile> instance_;
    AppState state_;
    DataStore store_;
    TransmitterLink link_;
    CArdwellDlg* mainWindow_ = nullptr;
    int passes_ = 0;
};
