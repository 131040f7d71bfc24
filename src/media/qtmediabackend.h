#pragma once

#include <memory>

#include "media/mediabackend.h"

class QAudioOutput;
class QMediaPlayer;
class QUrl;

// The media player on Qt Multimedia: a QMediaPlayer with a QAudioOutput.
// The visible player attaches its video surface and its controls to the
// QMediaPlayer; whatever they do shows in playState().
class QtMediaBackend : public MediaBackend {
public:
    // Null when Qt Multimedia has no usable player on this machine.
    static std::unique_ptr<QtMediaBackend> create();
    ~QtMediaBackend() override;

    bool load(const QString& path) override;
    bool play() override;
    bool pause() override;
    bool stop() override;
    bool setPosition(qint64 ms) override;
    void setVolume(int volume) override;
    int volume() const override;
    PlayState playState() const override;
    qint64 duration() const override;
    qint64 position() const override;

    QMediaPlayer* mediaPlayer() const { return player_.get(); }
    QAudioOutput* audioOutput() const { return output_.get(); }

private:
    QtMediaBackend();
    void reload(const QUrl& url);
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};
