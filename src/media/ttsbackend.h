#pragma once

#include <QList>
#include <QString>

// An installed voice: `token` selects it again, `description` is the name the
// voice list matches against the voices it offers.
struct TtsVoice {
    QString token;
    QString description;
};

// What the speech engine needs of a text-to-speech engine.
class TtsBackend {
public:
    virtual ~TtsBackend() = default;

    // The installed voices in the engine's order; false when they cannot be
    // enumerated.
    virtual bool voices(QList<TtsVoice>* out) = 0;
    // Selects the voice for the following speech; an empty token selects the
    // engine's default voice.
    virtual void setVoice(const QString& token) = 0;
    // Queues the text and returns at once; a text given while another is
    // being spoken is spoken after it. False when the engine refused it.
    virtual bool speak(const QString& text) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Nothing is left to say: the engine is idle and nothing is queued.
    // Polled once a second; an engine may use the call to move its queue on.
    virtual bool isComplete() = 0;
    // Why the engine gave up a text since the last call, and forgets it;
    // empty when everything given to it was said.
    virtual QString takeError() = 0;
};
