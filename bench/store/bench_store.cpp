// Loads and saves a large station: 2,000 music tasks of 20 items, 200
// categories of 100 files, 2,000 speech tasks, 500 scripts, 100 users.
// Prints the median of several runs of LoadAll and of each save, each beside
// the floor it is compared with, measured in the same run:
//   - LoadAll: decrypting the five data files in memory, with the cipher
//     library loaded for each file as the store does; no load can do less.
//   - a save: encrypting that file's plain text and writing it to the disk
//     the safe way (a new file, synced, renamed over the old).
// Then the peak memory of the whole run.
//
//   bench_store [runs]        (5 when not given)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"
#include "support/cryptfile.h"

namespace {

const char* const kDataFiles[] = {"ttsdata.sx", "mcatdata.sx", "mtskdata.sx", "usrdata.sx",
                                  "cmndata.sx"};

void fill(DataStore& store) {
    store.loading = 1;
    for (int c = 0; c < 200; ++c) {
        MusicCategory* category = store.AddCategory(QStringLiteral("分类 %1").arg(c));
        for (int f = 0; f < 100; ++f)
            category->files << QStringLiteral("/srv/音乐/分类%1/歌曲 %2.mp3")
                                   .arg(QString::number(c), QString::number(f));
    }
    for (int t = 0; t < 2000; ++t) {
        MusicTask task;
        task.name = QStringLiteral("音乐任务 %1").arg(t);
        task.startDate = 20260101 + t % 28;
        task.endDate = 20261231;
        task.startTime = 800 + t % 10;
        task.endTime = 1700;
        task.weekdays = 0xF8;
        for (int i = 0; i < 20; ++i) {
            auto item = std::make_unique<PlayItem>();
            item->kind = i % 4 == 0 ? PlayItem::InsertPlay : PlayItem::Background;
            item->path = QStringLiteral("/srv/音乐/分类%1/歌曲 %2.mp3")
                             .arg(QString::number(t % 200), QString::number(i));
            item->playCount = kUnlimitedPlays;
            item->timePoints[0] = 930;
            item->timePoints[1] = 1400;
            item->duration = 330;
            task.items.push_back(std::move(item));
        }
        store.AddMusicTask(std::move(task));
    }
    for (int t = 0; t < 2000; ++t) {
        SpeechTask task;
        task.name = QStringLiteral("播音任务 %1").arg(t);
        task.startDate = 20260101;
        task.endDate = 20261231;
        task.startTime = 700 + t % 60;
        task.endTime = 1800;
        task.interval = 30;
        task.weekdays = 0xF8;
        task.text = QStringLiteral("各位同事请注意，现在是 %time%，%date% %week%。").repeated(4);
        store.AddSpeechTask(task);
    }
    for (int s = 0; s < 500; ++s)
        store.AddScript(
            {QStringLiteral("文稿 %1").arg(s), QStringLiteral("通知内容。").repeated(40)});
    for (int u = 0; u < 100; ++u)
        store.AddUser({QStringLiteral("user%1").arg(u), QStringLiteral("pw%1").arg(u), u % 2});
    store.loading = 0;
}

double ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double decryptFloor(const QString& dataFolder) {
    QElapsedTimer timer;
    timer.start();
    for (const char* name : kDataFiles) {
        CryptLibraryBinding binding(DataStore::kDataKey);
        QByteArray cipher;
        QByteArray plain;
        if (!ReadWholeFile(dataFolder + u'/' + QLatin1String(name), &cipher) ||
            !CryptBuffer(cipher, false, binding, &plain)) {
            std::fprintf(stderr, "cannot decrypt %s\n", name);
            std::exit(1);
        }
    }
    return ms(timer);
}

double encryptAndWriteFloor(const QByteArray& plain, const QString& path) {
    QElapsedTimer timer;
    timer.start();
    CryptLibraryBinding binding(DataStore::kDataKey);
    QByteArray cipher;
    if (!CryptBuffer(plain, true, binding, &cipher) || !WriteWholeFile(path, cipher)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    return ms(timer);
}

void printRow(const char* name, double time, double floor, const char* floorName) {
    std::printf("%-18s %8.1f ms   floor %7.1f ms (%s)   x%.2f\n", name, time, floor, floorName,
                time / floor);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_store [runs]\n");
        return 2;
    }
    QTemporaryDir dir;
    if (!QFile::copy(QString(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                     dir.filePath(CryptLibraryFileName()))) {
        std::fprintf(stderr, "build the cipher library first\n");
        return 1;
    }
    SetAppFolderForTests(dir.path());
    SystemClock clock;
    std::printf("large station, medians of %d runs; ratios are times over the floor (lower is "
                "better)\n",
                runs);
    {
        DataStore store(clock);
        fill(store);
        struct {
            const char* name;
            bool (DataStore::*save)();
            QString (DataStore::*text)() const;
        } saves[] = {
            {"SaveSpeechFile", &DataStore::SaveSpeechFile, &DataStore::SpeechFileText},
            {"SaveCategoryFile", &DataStore::SaveCategoryFile, &DataStore::CategoryFileText},
            {"SaveMusicTaskFile", &DataStore::SaveMusicTaskFile, &DataStore::MusicTaskFileText},
            {"SaveUserFile", &DataStore::SaveUserFile, &DataStore::UserFileText},
            {"SaveCommonFile", &DataStore::SaveCommonFile, &DataStore::CommonFileText}};
        const QString scratch = dir.filePath(QStringLiteral("floor.sx"));
        for (const auto& s : saves) {
            // The plain text in UTF-8, the system code page of a UTF-8 or C
            // locale.
            const QByteArray plain = (store.*s.text)().toUtf8();
            std::vector<double> times, floors;
            bool ok = true;
            for (int run = 0; run < runs; ++run) {
                floors.push_back(encryptAndWriteFloor(plain, scratch));
                QElapsedTimer timer;
                timer.start();
                ok = (store.*s.save)() && ok;
                times.push_back(ms(timer));
            }
            printRow(s.name, median(times), median(floors), "encrypt + safe write");
            if (!ok)
                std::printf("  (the save failed)\n");
        }
    }
    const QString dataFolder = dir.filePath(QStringLiteral("data"));
    std::vector<double> times, floors;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(decryptFloor(dataFolder));
        DataStore store(clock);
        QElapsedTimer timer;
        timer.start();
        store.LoadAll();
        times.push_back(ms(timer));
        if (store.musicTasks.size() != 2000)
            std::printf("  (loaded %zu music tasks instead of 2000)\n", store.musicTasks.size());
    }
    printRow("LoadAll", median(times), median(floors), "decrypt the five files");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-18s %8.1f MiB\n", "peak memory", usage.ru_maxrss / 1024.0);
    return 0;
}
