// Saves a large station's five data files over and over, each round a new
// generation, until it is killed:
//   saveloop FOLDER FIRST-GENERATION [--once]
// FOLDER is the program folder (the cipher library beside data/ and log/).
// Before and after each file it writes "s G F" and "d G F" (generation, file)
// to its output unbuffered, so that whoever kills it can tell whether the
// kill fell inside a save. With --once it saves one generation and exits 0
// when every save succeeded, 1 when one failed.
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <unistd.h>

#include "stationgen.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"

namespace {

void say(char what, int generation, int file) {
    char line[40];
    const int n = std::snprintf(line, sizeof line, "%c %d %d\n", what, generation, file);
    if (::write(STDOUT_FILENO, line, size_t(n)) != n)
        std::perror("saveloop");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: saveloop FOLDER FIRST-GENERATION [--once]\n", stderr);
        return 2;
    }
    SetAppFolderForTests(args[1]);
    const bool once = args.size() > 3 && args[3] == QLatin1String("--once");
    const SystemClock clock;
    for (int generation = args[2].toInt();; ++generation) {
        DataStore store(clock);
        store.loading = 1;
        FillStation(store, generation);
        store.loading = 0;
        bool saved = true;
        for (int file = 0; file < StationFiles; ++file) {
            say('s', generation, file);
            saved = SaveStationFile(store, file) && saved;
            say('d', generation, file);
        }
        if (once)
            return saved ? 0 : 1;
    }
}
