// Loads and saves a large station: 2,000 music tasks of 20 items, 200
// categories of 100 files, 2,000 speech tasks, 500 scripts, 100 users.
// Prints the time of LoadAll, of each save, and the peak memory.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

#include "apppaths.h"
#include "clock.h"
#include "cryptfile.h"
#include "datastore.h"

namespace {

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

double ms(QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!QFile::copy(QString(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                     dir.filePath(CryptLibraryFileName()))) {
        std::fprintf(stderr, "build the cipher library first\n");
        return 1;
    }
    SetAppFolderForTests(dir.path());
    SystemClock clock;
    {
        DataStore store(clock);
        fill(store);
        struct {
            const char* name;
            bool (DataStore::*save)();
        } saves[] = {{"SaveSpeechFile", &DataStore::SaveSpeechFile},
                     {"SaveCategoryFile", &DataStore::SaveCategoryFile},
                     {"SaveMusicTaskFile", &DataStore::SaveMusicTaskFile},
                     {"SaveUserFile", &DataStore::SaveUserFile},
                     {"SaveCommonFile", &DataStore::SaveCommonFile}};
        for (const auto& s : saves) {
            QElapsedTimer timer;
            timer.start();
            const bool ok = (store.*s.save)();
            std::printf("%-18s %8.1f ms%s\n", s.name, ms(timer), ok ? "" : "  (failed)");
        }
    }
    DataStore store(clock);
    QElapsedTimer timer;
    timer.start();
    store.LoadAll();
    std::printf("%-18s %8.1f ms  (%zu music tasks, %zu speech tasks)\n", "LoadAll", ms(timer),
                store.musicTasks.size(), store.speechTasks.size());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-18s %8.1f MiB\n", "peak memory", usage.ru_maxrss / 1024.0);
    return 0;
}
