#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

#include "media/mediabackend.h"
#include "store/records.h"

struct AppState;
class Clock;
class DataStore;
class MusicSchedule;
class Player;
class SpeechJob;
class SpeechSchedule;
class TransmitterLink;
class TtsBackend;

// Today's working hours as the station last found them.
struct WorkingHours {
    bool working = false;
    int weekday = 0; // Monday 0 ... Sunday 6
    HhmmTime from = 0;
    HhmmTime to = 2400;

    bool operator==(const WorkingHours& other) const {
        return working == other.working && weekday == other.weekday && from == other.from &&
               to == other.to;
    }
};

// The station's core for one pass of the main window: it owns the player, the
// speech job and both schedules, wires them to each other and to the
// transmitter link, and keeps the station's clock. Once a second it decides
// whether it is working time, builds the day's lists when working time begins
// or ends or a new day starts, runs the schedules and the player, and switches
// a silent transmitter off after the idle time. It knows no widget: the views
// connect to the signals of its parts and call its operations.
class Station : public QObject {
    Q_OBJECT

public:
    // Milliseconds of a clock that only goes forward, never 0.
    using TickCount = std::function<qint64()>;
    static constexpr int kTickMs = 1000;

    // `tickCount` times the idle switch-off; empty: the system's monotonic clock.
    Station(DataStore& store, AppState& state, const Clock& clock, TransmitterLink& link,
            MediaBackendFactory media, std::unique_ptr<TtsBackend> voice, TickCount tickCount = {},
            QObject* parent = nullptr);
    ~Station() override;

    // Checks the working hours at once and ticks every second from then on.
    void start();
    void stop();
    // One second of the station, in this order: the working hours and the day
    // change, the music schedule, the speech schedule, the player (the speech
    // job's steps, then the idle hand-back), the idle switch-off. A tick that
    // comes while another is handled (a message box of the link is open) is
    // dropped.
    void Tick();

    // Sets workingNow and todayYmd from the clock and today's working hours;
    // stops the player when working time ends; builds the day's lists anew
    // when working time begins or ends or the date changes.
    void CheckWorkingTime();
    const WorkingHours& workingHours() const { return hours_; }
    // While a user is logged in: no current music task, every play count and
    // switch request cleared, and today's music and speech lists built anew.
    void RefreshSchedules();

    // What the editing panels need. Today's music list built again for the
    // current task: the playing entry is found again and plays on, at its
    // item's volume (the task's when 0) unless a speech runs; without it the
    // player stops. A task no longer active now is dropped.
    void RebuildTodayMusicList();
    void RebuildTodaySpeechList();
    void StopPlayback();
    // Lists in the task drop-down every music task active now.
    void FillTaskChooser();

    // Milliseconds of silence after which a connected transmitter is switched
    // off during working time; 0 never.
    int idleTime() const { return idleTime_; }
    void setIdleTime(int milliseconds) { idleTime_ = milliseconds; }

    Player& player() const { return *player_; }
    SpeechJob& speechJob() const { return *speechJob_; }
    MusicSchedule& musicSchedule() const { return *musicSchedule_; }
    SpeechSchedule& speechSchedule() const { return *speechSchedule_; }
    TransmitterLink& link() const { return link_; }
    const AppState& state() const { return state_; }
    const Clock& clock() const { return clock_; }

signals:
    // The working state, the weekday or today's hours changed.
    void workingHoursChanged();
    // The transmitter is woken for something to be played, which blocks while
    // it is asked: true before, false after.
    void linkBusy(bool busy);

private:
    void buildListsForNewDay();
    void switchOffWhenIdle();
    void wakeTransmitter();

    DataStore& store_;
    AppState& state_;
    const Clock& clock_;
    TransmitterLink& link_;
    TickCount tickCount_;

    std::unique_ptr<Player> player_;
    std::unique_ptr<SpeechJob> speechJob_;
    std::unique_ptr<MusicSchedule> musicSchedule_;
    std::unique_ptr<SpeechSchedule> speechSchedule_;

    QTimer timer_;
    bool ticking_ = false;
    WorkingHours hours_;
    bool hoursKnown_ = false;
    int idleTime_ = 0;
    // When the present stretch of silence began (tickCount); 0 when none is
    // being timed.
    qint64 idleSince_ = 0;
};
