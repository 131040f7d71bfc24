#include "media/player.h"

#include <cerrno>

#include "media/medialength.h"
#include "support/eventlog.h"
#include "support/files.h"

namespace {

const char kUnexpectedError[] = "An unexpected error occurred!";

} // namespace

Player::Player(MediaBackendFactory factory, std::unique_ptr<TtsBackend> voice, const Clock& clock,
               const CommonSettings* settings, QObject* parent)
    : QObject(parent), factory_(std::move(factory)), speech_(std::move(voice), clock, settings) {
    EnsureMusicPlayer();
}

Player::~Player() {
    if (backend_ && state_ != Empty) {
        backend_->stop();
        state_ = Empty;
    }
}

bool Player::EnsureMusicPlayer() {
    if (backend_)
        return true;
    if (!factory_)
        return false;
    backend_ = factory_();
    return backend_ != nullptr;
}

void Player::PlayFile(const QString& path) {
    if (!EnsureMusicPlayer())
        return;
    if (state_ == Started)
        StopPlayback();
    state_ = Opening;

    if (!FileExists(path)) {
        QString reason;
        DescribeError(ENOENT, &reason);
        LogEvent(QLatin1Char('\'') + path + QLatin1String("'\r\n") + reason.left(256));
        state_ = Empty;
        return;
    }
    if (!backend_->load(path) || !backend_->play()) {
        state_ = Empty;
        LogEvent(QLatin1String(kUnexpectedError));
        return;
    }
    state_ = Started;
    loadedPath_ = path;
}

void Player::PlayMusicItem(const PlayItem* item, bool wake) {
    if (!item || paused_)
        return;
    if (wake)
        emit wakeRequested();
    if (item->volume > 0)
        musicVolume_ = item->volume;

    if (speech_.speaking()) {
        // A speech with its own background music keeps the player; without,
        // the music plays on at the speech's background volume, and the end
        // of the speech restores the music volume.
        if (!speechJob.backgroundPath.isEmpty())
            return;
        PlayFile(item->path);
        return;
    }
    EnsureMusicPlayer();
    SetPlayerVolume(musicVolume_);
    PlayFile(item->path);
}

void Player::PreviewFile(const QString& path, int volume) {
    PlayItem item;
    item.path = path;
    item.volume = volume == 0 ? 100 : volume;
    PlayMusicItem(&item, false);
}

void Player::StopPlayback() {
    if (backend_ && state_ != Empty) {
        backend_->stop();
        state_ = Empty;
    }
}

void Player::SetPaused(bool paused) {
    paused_ = paused;
    if (paused) {
        if (!IsPlayerIdle())
            backend_->pause();
        speech_.PauseSpeech();
    } else {
        if (!IsPlayerIdle())
            backend_->play();
        speech_.ResumeSpeech();
    }
}

void Player::SetPlayerVolume(int volume) {
    if (backend_)
        backend_->setVolume(volume);
}

bool Player::IsPlayerIdle() const {
    if (!backend_ || state_ == Empty)
        return true;
    return state_ == Started && backend_->playState() == MediaBackend::PlayState::Stopped;
}

bool Player::IsPlayerBusy() const {
    if (!backend_ || state_ == Empty)
        return false;
    if (state_ == Opening)
        return true;
    return backend_->playState() != MediaBackend::PlayState::Stopped;
}

int Player::GetMediaDuration() const {
    return IsPlayerIdle() ? 0 : int(backend_->duration() / 10);
}

int Player::GetPlayPosition() const {
    return IsPlayerIdle() ? 0 : int(backend_->position() / 10);
}

HhmmssDuration Player::MeasureMediaLength(const QString& path) const {
    return ::MeasureMediaLength(path);
}

void Player::HandlePlaybackIdle() {
    if (speech_.speaking() && !speechJob.backgroundPath.isEmpty()) {
        // The speech's background music loops until the speech ends. When it
        // never started (a missing file), the player holds an older medium
        // or none: restarting that would play the wrong file.
        if (backend_ && state_ == Started) {
            backend_->setPosition(0);
            backend_->play();
        }
        return;
    }
    emit nextMusicWanted();
}

void Player::Tick() {
    if (tickGuard_)
        return;
    tickGuard_ = true;
    emit speechStepsDue();
    if (IsPlayerIdle() && !paused_)
        HandlePlaybackIdle();
    tickGuard_ = false;
}
