#include "station/station.h"

#include <QDateTime>
#include <QElapsedTimer>

#include "media/player.h"
#include "media/ttsbackend.h"
#include "schedule/musicschedule.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "store/appstate.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/clock.h"
#include "transmitter/transmitterlink.h"

namespace {

qint64 MonotonicMilliseconds() {
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    // Never 0: 0 stands for "not timing".
    return monotonic.elapsed() + 1;
}

} // namespace

Station::Station(DataStore& store, AppState& state, const Clock& clock, TransmitterLink& link,
                 MediaBackendFactory media, std::unique_ptr<TtsBackend> voice, TickCount tickCount,
                 QObject* parent)
    : QObject(parent), store_(store), state_(state), clock_(clock), link_(link),
      tickCount_(tickCount ? std::move(tickCount) : TickCount(MonotonicMilliseconds)) {
    player_ =
        std::make_unique<Player>(std::move(media), std::move(voice), clock_, &store_.settings);
    speechJob_ = std::make_unique<SpeechJob>(*player_, store_, state_);
    musicSchedule_ = std::make_unique<MusicSchedule>(store_, clock_, state_, *player_, &link_);
    speechSchedule_ =
        std::make_unique<SpeechSchedule>(store_, clock_, state_, *player_, *speechJob_);

    connect(player_.get(), &Player::wakeRequested, this, &Station::wakeTransmitter);
    connect(speechJob_.get(), &SpeechJob::wakeRequested, this, &Station::wakeTransmitter);
    connect(player_.get(), &Player::nextMusicWanted, this, [this] {
        // Without a user the idle player asks for nothing.
        if (state_.loggedIn())
            musicSchedule_->PlayNextMusic();
    });
    connect(speechJob_.get(), &SpeechJob::backgroundMusicStarted, this,
            [this] { musicSchedule_->PlayMusicEntry(-1, false); });
    connect(speechJob_.get(), &SpeechJob::speechEnded, speechSchedule_.get(),
            &SpeechSchedule::EndCurrentEntry);

    timer_.setObjectName(QStringLiteral("stationTimer"));
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &Station::Tick);
}

// The schedules and the job hold on to the player; they go first.
Station::~Station() {
    timer_.stop();
    speechSchedule_.reset();
    musicSchedule_.reset();
    speechJob_.reset();
    player_.reset();
}

void Station::start() {
    CheckWorkingTime();
    timer_.start();
}

void Station::stop() {
    timer_.stop();
}

void Station::Tick() {
    if (ticking_)
        return;
    ticking_ = true;
    // The day changes first, so that the schedules of this second already see
    // the new day's lists: a task due at midnight starts once, and one that
    // runs on through midnight is not started over.
    CheckWorkingTime();
    musicSchedule_->Tick();
    speechSchedule_->Tick();
    player_->Tick();
    switchOffWhenIdle();
    ticking_ = false;
}

void Station::CheckWorkingTime() {
    const QDateTime now = clock_.now();
    const YmdDate today = DateToYmd(now.date());
    const bool newDay = state_.todayYmd != 0 && state_.todayYmd != today;
    state_.todayYmd = today;
    const int weekday = WeekdayOf(now.date());
    const HhmmTime minute = now.time().hour() * 100 + now.time().minute();
    // The working day is a window like a task's: the whole day, cut to the
    // day's working hours.
    const DailyWindow hours = CutToWorkingHours(0, 2400, store_.settings, weekday);
    const bool working = hours.contains(minute);

    if (working != state_.workingNow) {
        state_.workingNow = working;
        if (!working)
            player_->StopPlayback();
        RefreshSchedules();
    } else if (newDay) {
        // A station that works through midnight never leaves working time;
        // the lists are built for the new date all the same.
        buildListsForNewDay();
    }

    const WorkingHours shown{working, weekday, hours.start, hours.end};
    if (!hoursKnown_ || !(shown == hours_)) {
        hoursKnown_ = true;
        hours_ = shown;
        emit workingHoursChanged();
    }
}

void Station::RefreshSchedules() {
    if (!state_.loggedIn())
        return;
    musicSchedule_->ResetMusicSchedule();
    speechSchedule_->BuildTodaySpeechList();
}

// A new day is a new working period for the play counts, but the task that
// plays on through midnight keeps playing: only its list is new.
void Station::buildListsForNewDay() {
    if (!state_.loggedIn())
        return;
    musicSchedule_->ClearPlayCounts();
    musicSchedule_->FillTaskChooser();
    RebuildTodayMusicList();
    speechSchedule_->BuildTodaySpeechList();
}

void Station::RebuildTodayMusicList() {
    MusicSchedule& music = *musicSchedule_;
    MusicTask* task = music.currentTask();
    if (task && !IsMusicTaskActiveNow(*task, store_.settings, clock_)) {
        music.ClearMusicTask();
        return;
    }
    const QString path = music.currentPath();
    const HhmmTime due = music.currentDueTime();
    music.BuildTodayMusicList();
    // Nothing of the schedule plays: nothing to find, and nothing to stop
    // (the player may hold a speech's background music).
    if (!task || path.isEmpty())
        return;
    int found = music.FindEntryByPathAndTime(path, due);
    if (found < 0 && due > 0)
        found = music.FindEntryByPathAndTime(path, 0);
    if (found < 0) {
        player_->StopPlayback();
        return;
    }
    music.setCurrentEntryIndex(found);
    if (!player_->speaking()) {
        const PlayItem* item = music.TodayMusicList()[size_t(found)].item;
        player_->SetPlayerVolume(item->volume > 0 ? item->volume : task->volume);
    }
}

void Station::RebuildTodaySpeechList() {
    speechSchedule_->BuildTodaySpeechList();
}

void Station::StopPlayback() {
    player_->StopPlayback();
}

void Station::FillTaskChooser() {
    musicSchedule_->FillTaskChooser();
}

void Station::switchOffWhenIdle() {
    // Outside working time, or without an idle time, a stretch being timed
    // keeps its start.
    if (idleTime_ <= 0 || !state_.workingNow)
        return;
    if (!link_.IsConnected() || player_->speaking() || player_->IsPlayerBusy()) {
        idleSince_ = 0;
        return;
    }
    const qint64 now = tickCount_();
    if (idleSince_ == 0) {
        idleSince_ = now;
        return;
    }
    if (quint64(now - idleSince_) > quint64(idleTime_)) {
        link_.ChangeDeviceState(kDeviceSwitchOffOrWake);
        idleSince_ = 0;
    }
}

void Station::wakeTransmitter() {
    if (!state_.workingNow || !link_.switchedOff())
        return;
    emit linkBusy(true);
    link_.ChangeDeviceState(kDeviceConnect);
    emit linkBusy(false);
    idleSince_ = 0;
}
