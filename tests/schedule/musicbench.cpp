#include "musicbench.h"

#include <QDir>
#include <QFile>

#include <utility>

#include "fakeport.h"
#include "simtransmitter.h"
#include "store/clocktext.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "support/stringutils.h"

MusicBench::MusicBench(const QDateTime& start) : clock(start) {
    QDir(folder.path()).mkpath(QStringLiteral("log"));
    QDir(folder.path()).mkpath(QStringLiteral("music"));
    SetAppFolderForTests(folder.path());
    SetEventLogClock(&clock);
    state.currentUser = QStringLiteral("admin");
    store = std::make_unique<DataStore>(clock);
    store->loading = 1; // the lists are filled by hand; no data file is written
    link = std::make_unique<TransmitterLink>();
    station = std::make_unique<Station>(*store, state, clock, *link, media.factory(),
                                        std::make_unique<FakeTtsBackend>());
    player = &station->player();
    schedule = &station->musicSchedule();
    FakeMediaBackend* backend = media.last;
    backend->onLoad = [this, backend] {
        const QString name = FileNamePart(backend->calls.last().mid(5));
        backend->durationMs = qint64(lengths.value(name, 180)) * 1000;
        loads << timeStamp() + QLatin1Char(' ') + name;
    };
}

MusicBench::~MusicBench() {
    station.reset();
    link.reset();
    store.reset();
    SetEventLogClock(nullptr);
    SetAppFolderForTests(QString());
}

QString MusicBench::file(const QString& name, int seconds) {
    const QString path = folder.path() + QStringLiteral("/music/") + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    lengths[name] = seconds;
    return path;
}

QString MusicBench::missingFile(const QString& name) {
    return folder.path() + QStringLiteral("/music/") + name;
}

MusicTask* MusicBench::addTask(const QString& name, HhmmTime start, HhmmTime end) {
    auto task = std::make_unique<MusicTask>();
    task->name = name;
    const YmdDate today = TodayYmd(clock);
    task->startDate = today;
    task->endDate = today;
    task->startTime = start;
    task->endTime = end;
    task->weekdays = 0xFE;
    store->musicTasks.push_back(std::move(task));
    return store->musicTasks.back().get();
}

PlayItem* MusicBench::addBackground(MusicTask* task, const QString& path, int playCount) {
    auto item = std::make_unique<PlayItem>();
    item->kind = PlayItem::Background;
    item->path = path;
    item->playCount = playCount;
    item->batchKey = int(task->items.size());
    task->items.push_back(std::move(item));
    return task->items.back().get();
}

PlayItem* MusicBench::addTimePoints(MusicTask* task, const QString& path,
                                    const QList<HhmmTime>& points) {
    auto item = std::make_unique<PlayItem>();
    item->kind = PlayItem::InsertPlay;
    item->timeMode = PlayItem::TimePoints;
    item->path = path;
    for (int i = 0; i < points.size() && i < kTimePointSlots; ++i)
        item->timePoints[size_t(i)] = points[i];
    item->batchKey = int(task->items.size());
    task->items.push_back(std::move(item));
    return task->items.back().get();
}

PlayItem* MusicBench::addInterval(MusicTask* task, const QString& path, HhmmTime from, HhmmTime to,
                                  int interval) {
    auto item = std::make_unique<PlayItem>();
    item->kind = PlayItem::InsertPlay;
    item->timeMode = PlayItem::Interval;
    item->path = path;
    item->rangeStart = from;
    item->rangeEnd = to;
    item->interval = interval;
    item->batchKey = int(task->items.size());
    task->items.push_back(std::move(item));
    return task->items.back().get();
}

void MusicBench::setWorkingHours(HhmmTime from, HhmmTime to) {
    const int g = TodayWeekday(clock);
    store->settings.dailyTime[size_t(2 * g)] = from;
    store->settings.dailyTime[size_t(2 * g + 1)] = to;
}

void MusicBench::connectTransmitter(bool partitionSupport) {
    SimProfile profile;
    profile.partitionSupport = partitionSupport;
    transmitter = std::make_shared<SimTransmitter>(profile, SimMisbehaviour());
    link->setPortOpener([this](int n) -> std::unique_ptr<SerialPort> {
        if (n != 1)
            return nullptr;
        auto port = std::make_unique<FakePort>();
        port->setResponder([this](const QByteArray& command) {
            commands << timeStamp() + QLatin1Char(' ') + QString::fromLatin1(command.chopped(2));
            return transmitter->answer(command);
        });
        return port;
    });
    link->Connect();
    link->QueryProduct();
    link->QueryInfo();
    link->QueryStatus();
    commands.clear();
}

QString MusicBench::timeStamp() const {
    return clock.now().toString(QStringLiteral("HH:mm:ss"));
}

void MusicBench::moveMedia() {
    FakeMediaBackend* backend = media.last;
    if (!backend || backend->state != MediaBackend::PlayState::Playing)
        return;
    backend->positionMs += 1000;
    if (backend->positionMs >= backend->durationMs)
        backend->finish();
}

void MusicBench::second() {
    station->Tick();
    if (media.last) {
        for (const QString& call : media.last->takeCalls())
            mediaCalls << timeStamp() + QLatin1Char(' ') + call;
    }
    moveMedia();
    clock.advance(1);
}

void MusicBench::run(int seconds) {
    for (int i = 0; i < seconds; ++i)
        second();
}

void MusicBench::runUntil(int hour, int minute, int second) {
    const QDateTime end(clock.now().date(), QTime(hour, minute, second));
    while (clock.now() < end)
        this->second();
}

QStringList MusicBench::logLines() const {
    const QDate day = clock.now().date();
    QFile f(folder.path() + QStringLiteral("/log/") + QString::number(day.year()) + u'-' +
            QString::number(day.month()) + QStringLiteral(".txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
    }
    return lines;
}

QStringList MusicBench::logLines(const QString& prefix) const {
    QStringList found;
    for (const QString& line : logLines()) {
        if (line.mid(9).startsWith(prefix))
            found << line;
    }
    return found;
}

QStringList MusicBench::takeCommands() {
    return std::exchange(commands, {});
}

QStringList MusicBench::takeLoads() {
    return std::exchange(loads, {});
}

QStringList MusicBench::takeMediaCalls() {
    return std::exchange(mediaCalls, {});
}
