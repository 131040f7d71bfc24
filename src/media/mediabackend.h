#pragma once

#include <QString>

#include <functional>
#include <memory>

// What the player logic needs of a media player: load a file, the transport,
// the volume, duration and position, and the play state. Everything is
// asynchronous in a real player; the logic only polls.
class MediaBackend {
public:
    enum class PlayState {
        Stopped,       // nothing playing: stopped, ended, or the medium failed
        Transitioning, // opening or buffering after a play request
        Playing,
        Paused,
    };

    virtual ~MediaBackend() = default;

    // Each returns false when the player refused the call outright. Failures
    // that come later (a medium that cannot be decoded) show as Stopped.
    virtual bool load(const QString& path) = 0; // never starts by itself
    virtual bool play() = 0;
    virtual bool pause() = 0;
    virtual bool stop() = 0;
    virtual bool setPosition(qint64 ms) = 0;

    // 0..100, taking effect at once; values outside are clamped.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;

    virtual PlayState playState() const = 0;
    // Milliseconds; 0 while unknown.
    virtual qint64 duration() const = 0;
    virtual qint64 position() const = 0;
};

// Creates the player on first use; null when no player can be had.
using MediaBackendFactory = std::function<std::unique_ptr<MediaBackend>()>;
