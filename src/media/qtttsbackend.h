#pragma once

#include <QElapsedTimer>
#include <QLocale>
#include <QStringList>
#include <QVoice>

#include <memory>

#include "media/ttsbackend.h"

class QTextToSpeech;

// The voice on Qt TextToSpeech. A voice's description is its name in the
// engine. The engine says one text at a time; texts given meanwhile wait in
// a queue of our own and follow in order.
class QtTtsBackend : public TtsBackend {
public:
    // The platform's engine: on Linux "speechd" when the speech dispatcher
    // answers, else "flite"; elsewhere the default engine. Null when none
    // can be had.
    static std::unique_ptr<QtTtsBackend> create();
    // A named engine; null when it is not installed or reports an error.
    static std::unique_ptr<QtTtsBackend> createWithEngine(const QString& engine);
    ~QtTtsBackend() override;

    bool voices(QList<TtsVoice>* out) override;
    void setVoice(const QString& token) override;
    bool speak(const QString& text) override;
    void pause() override;
    void resume() override;
    bool isComplete() override;

    QString takeError() override;

    QString engineName() const { return engine_; }
    // Why the engine gave up a text since it last started from idle; empty
    // when all went well.
    QString lastError() const { return lastError_; }

private:
    explicit QtTtsBackend(std::unique_ptr<QTextToSpeech> tts, const QString& engine);
    void sayNow(const QString& text);
    void sayCurrent();
    bool engineIdle();
    void onStateChanged(int state);

    std::unique_ptr<QTextToSpeech> tts_;
    QString engine_;
    QLocale defaultLocale_;
    QVoice defaultVoice_;
    QStringList queue_;
    // The engine reports that it started speaking only later, through the
    // event loop; until then the text just given counts as not spoken yet.
    bool awaitingStart_ = false;
    QElapsedTimer sinceSay_;
    QString lastError_;
    // The text the engine is saying, how often it has tried it already, and
    // why the last try was given up while another try is still to come.
    QString current_;
    int tries_ = 0;
    QString retryReason_;
};
