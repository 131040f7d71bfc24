#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "media/mediabackend.h"
#include "media/speechengine.h"
#include "store/records.h"

class Clock;

// The state of the running speech job; the speech job keeps it, the player
// reads the background music path.
struct SpeechJobState {
    int preDelay = 0;  // seconds left before speaking
    int postDelay = 0; // seconds left after the speech finished
    int voiceIndex = -1;
    QString text;
    QString name; // of the task, for the log; empty for instant speech
    // The voice gave the text up once and was asked to say it again.
    bool retried = false;
    // Non-empty exactly while the job has put its own background music into
    // the player.
    QString backgroundPath;
};

// Everything that makes sound: the music player, the voice and the speech
// job's state, polled once a second by Tick. The operations keep the station's
// names; the visible player window forwards to them. The player knows nothing
// of the transmitter or the schedules: it asks for them through its signals.
class Player : public QObject {
    Q_OBJECT

public:
    enum State {
        Empty = 0,   // nothing loaded, or stopped by StopPlayback
        Started = 1, // a file was started; it may have ended since
        Opening = 2, // inside PlayFile
    };

    // The player is created at once (and again on first use if that failed).
    // `settings` (may be null) gives the enterprise name of speech texts.
    Player(MediaBackendFactory factory, std::unique_ptr<TtsBackend> voice, const Clock& clock,
           const CommonSettings* settings = nullptr, QObject* parent = nullptr);
    ~Player() override;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    bool EnsureMusicPlayer();
    // Stops what is playing and starts the file. A missing file or a refusing
    // player is logged and leaves the player empty.
    void PlayFile(const QString& path);
    // Plays the item's file at its volume (0: the previous music volume).
    // Nothing while paused; while a speech runs, either nothing (the speech
    // has its own background music) or the file at the speech's volume.
    void PlayMusicItem(const PlayItem* item, bool wake);
    // Plays a file for the operator to hear, without waking the transmitter.
    void PreviewFile(const QString& path, int volume);
    void StopPlayback();
    // Pauses or resumes the broadcast: the medium, the voice, the schedules.
    void SetPaused(bool paused);
    void SetPlayerVolume(int volume);
    bool IsPlayerIdle() const;
    bool IsPlayerBusy() const;
    // Hundredths of a second; 0 while idle.
    int GetMediaDuration() const;
    int GetPlayPosition() const;
    HhmmssDuration MeasureMediaLength(const QString& path) const;
    // The player has gone idle: loop a speech's background music, or ask for
    // the music schedule's next item (nextMusicWanted).
    void HandlePlaybackIdle();

    // The station's one-second tick of the player: the speech job's steps
    // (speechStepsDue), then the idle hand-back. A tick that starts while
    // another is still running does nothing.
    void Tick();

    int playerState() const { return state_; }
    QString loadedPath() const { return loadedPath_; }
    int musicVolume() const { return musicVolume_; }
    bool paused() const { return paused_; }
    bool speaking() const { return speech_.speaking(); }
    MediaBackend* backend() const { return backend_.get(); }
    SpeechEngine& speech() { return speech_; }
    const SpeechEngine& speech() const { return speech_; }

    SpeechJobState speechJob;

signals:
    // First in every tick: the running speech job counts down and ends.
    void speechStepsDue();
    // A music item is about to play with the wake flag: during working hours
    // a switched-off transmitter is to be woken first.
    void wakeRequested();
    // Idle, and no speech's background music to loop: the music schedule may
    // play its next item.
    void nextMusicWanted();

private:
    MediaBackendFactory factory_;
    std::unique_ptr<MediaBackend> backend_;
    SpeechEngine speech_;
    bool tickGuard_ = false;
    bool paused_ = false;
    QString loadedPath_;
    int state_ = Empty;
    int musicVolume_ = 100;
};
