// Opens a music category of 20,000 paths that are not on the disk, as the
// library shows a category on a drive that is not mounted. Prints the median
// of several runs beside the floor it is compared with, measured in the same
// run: 20,000 plain QFileInfo::exists calls on the same paths, which is what
// asking every row once would cost.
//   - model, every row: the model's rows read in full (number, path, colour,
//     tooltip), as a view that showed every row would read them;
//   - model, again: the same rows read a second time, from what is known;
//   - panel: the library page built, shown and painted offscreen;
// each for paths in a missing folder, and the model for paths in a folder
// that exists (every file is then looked for).
//
//   bench_library [runs]        (5 when not given)

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "media/player.h"
#include "station/musiccategorymodel.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"
#include "ui/music/musicstockdlg.h"

namespace {

constexpr int kFiles = 20000;

double ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QStringList paths(const QString& folder) {
    QStringList files;
    files.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i)
        files << QStringLiteral("%1/专辑 %2/歌曲 %3.mp3")
                     .arg(folder, QString::number(i / 100), QString::number(i));
    return files;
}

double existsFloor(const QStringList& files) {
    QElapsedTimer timer;
    timer.start();
    int found = 0;
    for (const QString& file : files)
        found += QFileInfo::exists(file) ? 1 : 0;
    const double time = ms(timer);
    if (found)
        std::printf("  (%d files unexpectedly found)\n", found);
    return time;
}

// Reads every role the view asks for, of every row; returns the grey rows.
int readAllRows(const MusicCategoryModel& model) {
    int grey = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < MusicCategoryModel::kColumnCount; ++column) {
            const QModelIndex index = model.index(row, column);
            index.data(Qt::DisplayRole);
            index.data(Qt::ToolTipRole);
            grey += index.data(Qt::ForegroundRole).isValid() && column == 0 ? 1 : 0;
        }
    }
    return grey;
}

void printRow(const char* name, double time, double floor) {
    std::printf("%-34s %8.1f ms   floor %7.1f ms (20,000 exists calls)   x%.3f\n", name, time,
                floor, time / floor);
}

void benchModel(const char* name, const QStringList& files, int runs) {
    MusicCategory category{QStringLiteral("Bench"), files};
    std::vector<double> first, second, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(existsFloor(files));
        MusicCategoryModel model;
        model.setMissingFileText(QStringLiteral("missing"));
        QElapsedTimer timer;
        timer.start();
        model.setCategory(&category);
        const int grey = readAllRows(model);
        first.push_back(ms(timer));
        timer.restart();
        readAllRows(model);
        second.push_back(ms(timer));
        if (grey != kFiles)
            std::printf("  (%d rows grey instead of %d)\n", grey, kFiles);
    }
    printRow((QByteArray(name) + ", every row").constData(), median(first), median(floors));
    printRow((QByteArray(name) + ", again").constData(), median(second), median(floors));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_library [runs]\n");
        return 2;
    }
    QTemporaryDir dir;
    SetAppFolderForTests(dir.path());
    std::printf("%d paths, medians of %d runs; ratios are times over the floor (lower is "
                "better)\n",
                kFiles, runs);

    const QStringList missing = paths(dir.filePath(QStringLiteral("unmounted")));
    const QStringList present = paths(dir.path());
    for (int album = 0; album < kFiles / 100; ++album)
        QDir(dir.path()).mkpath(QStringLiteral("专辑 %1").arg(album));
    benchModel("model, missing folder", missing, runs);
    benchModel("model, folder there", present, runs);

    SystemClock clock;
    DataStore store(clock);
    store.categories.push_back(
        std::make_unique<MusicCategory>(MusicCategory{QStringLiteral("Bench"), missing}));
    Player player([] { return std::unique_ptr<MediaBackend>(); }, nullptr, clock);
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(existsFloor(missing));
        QElapsedTimer timer;
        timer.start();
        {
            CMusicStockDlg panel(store, player);
            panel.resize(460, 580);
            panel.show();
            panel.repaint();
            QApplication::processEvents();
            times.push_back(ms(timer));
        }
        QApplication::processEvents();
    }
    printRow("panel, missing folder", median(times), median(floors));
    std::printf("(the panel must open in under 1000 ms)\n");
    return 0;
}
