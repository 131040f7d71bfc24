#include "fakemedia.h"

bool FakeMediaBackend::load(const QString& path) {
    calls << QStringLiteral("load ") + path;
    if (onLoad)
        onLoad();
    if (refuseLoad)
        return false;
    state = PlayState::Stopped;
    positionMs = 0;
    return true;
}

bool FakeMediaBackend::play() {
    calls << QStringLiteral("play");
    if (refusePlay)
        return false;
    state = PlayState::Playing;
    return true;
}

bool FakeMediaBackend::pause() {
    calls << QStringLiteral("pause");
    if (state == PlayState::Playing)
        state = PlayState::Paused;
    return true;
}

bool FakeMediaBackend::stop() {
    calls << QStringLiteral("stop");
    state = PlayState::Stopped;
    return true;
}

bool FakeMediaBackend::setPosition(qint64 ms) {
    calls << QStringLiteral("position %1").arg(ms);
    positionMs = ms;
    return true;
}

void FakeMediaBackend::setVolume(int volume) {
    calls << QStringLiteral("volume %1").arg(volume);
    volume_ = volume;
}

QStringList FakeMediaBackend::takeCalls() {
    QStringList taken;
    taken.swap(calls);
    return taken;
}

MediaBackendFactory FakeMediaSource::factory() {
    return [this]() -> std::unique_ptr<MediaBackend> {
        if (fail)
            return nullptr;
        auto backend = std::make_unique<FakeMediaBackend>();
        last = backend.get();
        ++created;
        return backend;
    };
}

bool FakeTtsBackend::voices(QList<TtsVoice>* out) {
    if (enumerationFails)
        return false;
    *out = installed;
    return true;
}

void FakeTtsBackend::setVoice(const QString& token) {
    calls << QStringLiteral("voice ") + token;
}

bool FakeTtsBackend::speak(const QString& text) {
    calls << QStringLiteral("speak ") + text;
    if (refuseSpeak)
        return false;
    error_ = failures.isEmpty() ? QString() : failures.takeFirst();
    complete = false;
    return true;
}

QString FakeTtsBackend::takeError() {
    if (!complete)
        return QString();
    const QString reason = error_;
    error_.clear();
    return reason;
}

void FakeTtsBackend::pause() {
    calls << QStringLiteral("pause");
}

void FakeTtsBackend::resume() {
    calls << QStringLiteral("resume");
}

QStringList FakeTtsBackend::takeCalls() {
    QStringList taken;
    taken.swap(calls);
    return taken;
}
