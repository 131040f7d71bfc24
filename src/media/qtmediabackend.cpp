#include "qtmediabackend.h"

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
    // The same source again would be ignored and leave the player at the end
    // of the medium, where it reads as stopped: load it afresh. QMediaPlayer
    // never starts by itself after a new source.
    const QUrl url = QUrl::fromLocalFile(path);
    if (player_->source() == url)
        player_->setSource(QUrl());
    player_->setSource(url);
    return true;
}

bool QtMediaBackend::play() {
    if (!player_->isAvailable())
        return false;
    // Playing a medium again once it has ended or was stopped often hangs the
    // pipeline a moment after the start, still "playing". A medium loaded
    // afresh plays reliably, from its beginning.
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    if (player_->playbackState() == QMediaPlayer::StoppedState && !player_->source().isEmpty() &&
        (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::LoadedMedia ||
         status == QMediaPlayer::BufferedMedia)) {
        const QUrl url = player_->source();
        player_->setSource(QUrl());
        player_->setSource(url);
    }
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
    // A seek at the end of the medium is where the pipeline hangs; play()
    // starts such a medium from its beginning anyway.
    if (player_->mediaStatus() != QMediaPlayer::EndOfMedia)
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
