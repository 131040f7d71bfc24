// The station program: the real clock, the real media player and voice, and
// the application object that runs everything else.

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

#include "app/ardwellapp.h"
#include "app/version.h"
#include "media/qtmediabackend.h"
#include "media/ttschoice.h"
#include "support/clock.h"

int main(int argc, char** argv) {
    // Without a display Qt would end the program with a terse message of its
    // own; say what to do instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        std::fprintf(stderr, "Tolvane needs a display, and none is set (DISPLAY is empty).\n"
                             "Run it on a desktop, or on a virtual display:\n"
                             "    xvfb-run -a -s \"-screen 0 1280x800x24\" ./Tolvane\n"
                             "or offscreen, where nothing is shown (only to check that it starts;\n"
                             "nobody can log in there):\n"
                             "    QT_QPA_PLATFORM=offscreen ./Tolvane\n");
        return 2;
#endif
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));

    SystemClock clock;
    StationBackends backends;
    backends.media = []() -> std::unique_ptr<MediaBackend> { return QtMediaBackend::create(); };
    backends.voice = []() -> std::unique_ptr<TtsBackend> { return CreateStationVoice(); };

    CArdwellApp station(clock, std::move(backends));
    return station.Run();
}
