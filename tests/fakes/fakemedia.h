#pragma once

#include <QStringList>

#include <functional>
#include <memory>

#include "media/mediabackend.h"
#include "media/ttsbackend.h"

// A media player that records every call ("load <path>", "play", "pause",
// "stop", "position <ms>", "volume <v>") and plays until the test ends the
// medium.
class FakeMediaBackend : public MediaBackend {
public:
    bool load(const QString& path) override;
    bool play() override;
    bool pause() override;
    bool stop() override;
    bool setPosition(qint64 ms) override;
    void setVolume(int volume) override;
    int volume() const override { return volume_; }
    PlayState playState() const override { return state; }
    qint64 duration() const override { return durationMs; }
    qint64 position() const override { return positionMs; }

    // The medium has played to its end.
    void finish() { state = PlayState::Stopped; }
    // The calls recorded since the last take, and forget them.
    QStringList takeCalls();

    QStringList calls;
    PlayState state = PlayState::Stopped;
    qint64 durationMs = 0;
    qint64 positionMs = 0;
    bool refuseLoad = false;
    bool refusePlay = false;
    // Runs inside load(), while the player is opening the file.
    std::function<void()> onLoad;

private:
    int volume_ = 100;
};

// Hands out one FakeMediaBackend per request and keeps a pointer to the last.
struct FakeMediaSource {
    MediaBackendFactory factory();
    FakeMediaBackend* last = nullptr;
    int created = 0;
    bool fail = false;
};

// A voice engine with a fixed list of installed voices. It records what it
// was told ("voice <token>", "speak <text>", "pause", "resume") and stays
// busy after a speak until the test calls finish(). Each speak takes the
// first of `failures`, if any: a non-empty reason is handed out by
// takeError() once the text is finished, as an engine that gave it up.
class FakeTtsBackend : public TtsBackend {
public:
    bool voices(QList<TtsVoice>* out) override;
    void setVoice(const QString& token) override;
    bool speak(const QString& text) override;
    void pause() override;
    void resume() override;
    bool isComplete() override { return complete; }
    QString takeError() override;

    void finish() { complete = true; }
    QStringList takeCalls();

    QList<TtsVoice> installed;
    bool enumerationFails = false;
    bool refuseSpeak = false;
    bool complete = true;
    QStringList calls;
    QStringList failures;

private:
    QString error_;
};
