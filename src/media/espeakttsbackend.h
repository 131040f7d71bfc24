#pragma once

#include <QByteArray>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

#include "media/ttsbackend.h"

class QAudioSink;

// The voice on the espeak-ng library, for platforms whose own speech engine
// has no Mandarin voice. It offers the five station voices, made from
// espeak-ng's Mandarin and English voices and its variants. A text is
// synthesised into memory on a worker thread, one text at a time, and then
// played through Qt Multimedia on the default sound output; texts given
// meanwhile wait in a queue and follow in order.
class EspeakTtsBackend : public QObject, public TtsBackend {
    Q_OBJECT

public:
    // Null, with the reason in `why`, when the library cannot be set up or
    // lacks the Mandarin or English voice data.
    static std::unique_ptr<EspeakTtsBackend> create(QString* why = nullptr);
    // The voices this backend offers, in its order; tokens are espeak-ng
    // voice names with a variant ("cmn+f2").
    static QList<TtsVoice> stationVoices();
    ~EspeakTtsBackend() override;

    bool voices(QList<TtsVoice>* out) override;
    // A token of none of the station voices counts as the default voice: the
    // first Mandarin voice for a text holding Chinese characters, else the
    // first English voice.
    void setVoice(const QString& token) override;
    bool speak(const QString& text) override;
    // A text given while paused waits for the resume.
    void pause() override;
    void resume() override;
    bool isComplete() override;
    QString takeError() override;

    // The token of the voice that said, or says, the last text started.
    QString voiceUsed() const { return voiceUsed_; }

signals:
    // Everything given has been said (isComplete() turned true).
    void speechFinished();

private:
    struct Text {
        QString text;
        QString voice;
    };
    struct Synthesis {
        QByteArray pcm;
        QString error;
    };

    explicit EspeakTtsBackend(int sampleRate);
    // Runs on a worker thread.
    static Synthesis synthesise(const QString& text, const QString& voice,
                                const std::atomic_bool* cancel);
    void startNext();
    void onSynthesized();
    void play(const QByteArray& pcm);
    void onSinkStateChanged();
    void endPlayback();
    void moveOn();

    int sampleRate_;
    QString voiceToken_;
    QString voiceUsed_;
    QList<Text> queue_;
    QFutureWatcher<Synthesis> synthesis_;
    // Set when the backend goes: a synthesis under way gives up.
    std::atomic_bool cancel_{false};
    bool synthesising_ = false;
    bool paused_ = false;
    // Sound made while paused, played on the resume.
    QByteArray held_;
    QAudioSink* sink_ = nullptr;
    QString error_;
};
