#include "media/qtmediabackend.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

#include <cmath>

std::unique_ptr<QtMediaBackend> QtMediaBackend::create() {
    std::unique_ptr<QtMediaBackend> backend(new QtMediaBackend);
    if (!backend->player_->isAvailable())
        return nullptr;
    return backend;
}

QtMediaBackend::QtMediaBackend()
    : output_(std::make_unique<QAudioOutput>()), player_(std::make_unique<QMediaPlayer>()) {
    player_->setAudioOutput(output_.get());
}

QtMediaBackend::~QtMediaBackend() {
    // The player goes first: it still refers to the output.
    player_.reset();
    output_.reset();
}

bool QtMediaBackend::load(const QString& path) {
    if (!player_->isAvailable())
        return false;
    // QMediaPlayer never starts by itself after a new source.
    reload(QUrl::fromLocalFile(path));
    return true;
}

void QtMediaBackend::reload(const QUrl& url) {
    // A medium is not played twice on the same pipeline: once it has ended or
    // was stopped, playing or seeking it again often leaves it hanging a
    // moment after the start, still "playing". Dropping the source first
    // gives a fresh one, even for the same file (the same source again would
    // be ignored).
    if (player_->playbackState() != QMediaPlayer::StoppedState)
        player_->stop();
    player_->setSource(QUrl());
    player_->setSource(url);
}

bool QtMediaBackend::play() {
    if (!player_->isAvailable())
        return false;
    // Played again after its end or a stop: from its beginning, afresh.
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    if (player_->playbackState() == QMediaPlayer::StoppedState && !player_->source().isEmpty() &&
        (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::LoadedMedia ||
         status == QMediaPlayer::BufferedMedia))
        reload(player_->source());
    player_->play();
    return true;
}

bool QtMediaBackend::pause() {
    player_->pause();
    return true;
}

bool QtMediaBackend::stop() {
    player_->stop();
    return true;
}

bool QtMediaBackend::setPosition(qint64 ms) {
    // Seeking a stopped or ended medium is where the pipeline hangs; play()
    // starts such a medium from its beginning anyway.
    if (player_->playbackState() != QMediaPlayer::StoppedState &&
        player_->mediaStatus() != QMediaPlayer::EndOfMedia)
        player_->setPosition(ms);
    return true;
}

void QtMediaBackend::setVolume(int volume) {
    output_->setVolume(float(qBound(0, volume, 100)) / 100.0f);
}

int QtMediaBackend::volume() const {
    return int(std::lround(output_->volume() * 100.0f));
}

MediaBackend::PlayState QtMediaBackend::playState() const {
    // A medium that failed keeps the playing state in QMediaPlayer; it counts
    // as stopped, like one that has ended, so that the schedule moves on.
    if (player_->error() != QMediaPlayer::NoError)
        return PlayState::Stopped;
    switch (player_->mediaStatus()) {
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::EndOfMedia:
    case QMediaPlayer::InvalidMedia:
        return PlayState::Stopped;
    default:
        break;
    }
    switch (player_->playbackState()) {
    case QMediaPlayer::StoppedState:
        return PlayState::Stopped;
    case QMediaPlayer::PausedState:
        return PlayState::Paused;
    case QMediaPlayer::PlayingState:
        break;
    }
    switch (player_->mediaStatus()) {
    case QMediaPlayer::LoadingMedia:
    case QMediaPlayer::StalledMedia:
        return PlayState::Transitioning;
    default:
        return PlayState::Playing;
    }
}

qint64 QtMediaBackend::duration() const {
    return player_->duration();
}

qint64 QtMediaBackend::position() const {
    return player_->position();
}
