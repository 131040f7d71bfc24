// Builds today's music list and runs the one-second tick of the music
// schedule over 2,000 music tasks of 20 items, at a moment when every task is
// active. Prints the median of several runs of each, and beside them what
// reading the clock once for every task costs: a tick that asks the clock
// about each task spends at least that.
//
//   bench_schedule [runs]        (5 when not given)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "media/player.h"
#include "schedule/musicschedule.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"

namespace {

constexpr int kTasks = 2000;

// Costs what the system clock costs (it reads it) but always answers the
// same Wednesday morning, so that the figures do not depend on when the
// benchmark runs.
class FixedMomentClock : public Clock {
public:
    QDateTime now() const override {
        (void)QDateTime::currentDateTime();
        return moment;
    }

private:
    const QDateTime moment{QDate(2026, 3, 4), QTime(9, 2, 30)};
};

// The music tasks of the large station; the insert items play every five
// minutes through the day, so that today's list has some 550 entries.
void fill(DataStore& store) {
    store.loading = 1;
    for (int t = 0; t < kTasks; ++t) {
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
            item->rangeStart = 800;
            item->rangeEnd = 1700;
            item->interval = 5;
            item->duration = 330;
            task.items.push_back(std::move(item));
        }
        store.AddMusicTask(std::move(task));
    }
    store.loading = 0;
}

template <typename Run> double medianMs(int runs, Run run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_schedule [runs]\n");
        return 2;
    }
    // Nothing of the run is kept: the data files and the log go to a
    // temporary program folder.
    QTemporaryDir dir;
    SetAppFolderForTests(dir.path());
    FixedMomentClock clock;
    DataStore store(clock);
    fill(store);
    Player player(MediaBackendFactory(), nullptr, clock, &store.settings);
    AppState state;
    state.currentUser = QStringLiteral("Admin");
    state.workingNow = true;
    MusicSchedule schedule(store, clock, state, player, nullptr);

    // The first tick picks the first task and builds its list.
    schedule.Tick();
    if (!schedule.currentTask()) {
        std::fprintf(stderr, "no task became current\n");
        return 1;
    }
    const double build = medianMs(runs, [&] { schedule.BuildTodayMusicList(); });
    const double tick = medianMs(runs, [&] { schedule.Tick(); });
    const double clockReads = medianMs(runs, [&] {
        for (int t = 0; t < kTasks; ++t)
            (void)clock.now();
    });
    std::printf("%d music tasks, today's list of %zu entries, medians of %d runs\n", kTasks,
                schedule.TodayMusicList().size(), runs);
    std::printf("%-22s %8.2f ms\n", "BuildTodayMusicList", build);
    std::printf("%-22s %8.2f ms\n", "one tick", tick);
    std::printf("%-22s %8.2f ms  (the clock read once for every task)\n", "clock reads",
                clockReads);
    return 0;
}
