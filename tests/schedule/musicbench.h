#pragma once

#include <QList>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "station/station.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "transmitter/transmitterlink.h"

class SimTransmitter;
struct SimProfile;

// A station without hardware, driven second by second: a temporary program
// folder with a log/ folder and music files, the data store, and the station
// with its player on the fake media backend and its music schedule. The fake
// player plays each file for its length (lengths, in seconds; 180 by default)
// and then stops, as a real one would. A user is logged in; the station keeps
// the working-hours flag.
class MusicBench {
public:
    explicit MusicBench(const QDateTime& start);
    ~MusicBench();

    // A music file that exists, "<folder>/music/<name>"; playing it takes
    // `seconds`.
    QString file(const QString& name, int seconds = 180);
    // The path of a file that is not there.
    QString missingFile(const QString& name);

    // Appends a task (already in the order the test wants) and returns it.
    MusicTask* addTask(const QString& name, HhmmTime start, HhmmTime end);
    PlayItem* addBackground(MusicTask* task, const QString& path, int playCount = kUnlimitedPlays);
    PlayItem* addTimePoints(MusicTask* task, const QString& path, const QList<HhmmTime>& points);
    PlayItem* addInterval(MusicTask* task, const QString& path, HhmmTime from, HhmmTime to,
                          int interval);
    // Today's working hours; 0 means no bound.
    void setWorkingHours(HhmmTime from, HhmmTime to);

    // A transmitter on the link, connected; its commands are recorded.
    void connectTransmitter(bool partitionSupport);

    // One second of the station (the working-hours check, the schedules, the
    // player), then the media and the clock move on.
    void second();
    void run(int seconds);
    // Runs until the clock shows hh:mm:ss.
    void runUntil(int hour, int minute, int second = 0);

    // The log entries written so far, "hh:mm:ss message", without CR LF.
    QStringList logLines() const;
    // The log entries starting with `prefix` (time stamps kept).
    QStringList logLines(const QString& prefix) const;
    // The commands the transmitter received since the last take, each
    // "hh:mm:ss command".
    QStringList takeCommands();
    // The files the player loaded since the last take, "hh:mm:ss name".
    QStringList takeLoads();
    // Every call the media player received since the last take, "hh:mm:ss call".
    QStringList takeMediaCalls();

    QString timeStamp() const;

    QTemporaryDir folder;
    FakeClock clock;
    AppState state;
    std::unique_ptr<DataStore> store;
    FakeMediaSource media;
    std::unique_ptr<TransmitterLink> link;
    std::unique_ptr<Station> station;
    Player* player = nullptr;
    MusicSchedule* schedule = nullptr;
    QMap<QString, int> lengths; // file name -> seconds

private:
    void moveMedia();

    QStringList loads;
    QStringList mediaCalls;
    QStringList commands;
    std::shared_ptr<SimTransmitter> transmitter;
};
