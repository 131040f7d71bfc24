#pragma once

#include <QObject>
#include <QString>

struct AppState;
struct SpeechTask;
class DataStore;
class Player;

// What a speech job is started from. A scheduled task serves directly;
// instant speech and previews build one of their own.
struct SpeechRequest {
    int voiceIndex = -1;     // into the effect list; -1 its current selection
    QString backgroundMusic; // empty: the playing music goes on, turned down
    int preDelay = 0;        // seconds before speaking; 0 the station's speakDelay
    int postDelay = 0;       // seconds after the speech; 0 the station's speakDelay
    QString text;            // may hold the speech variables
    QString name;            // the task's, for the log; empty for instant speech

    static SpeechRequest FromTask(const SpeechTask& task);
};

// The speech job on the player: the music turned down or replaced by
// background music, the voice after the pre-delay, the post-delay once the
// voice is done, and the player handed back to music at the end. The job's
// countdowns live in the player's SpeechJobState; the player's one-second
// tick runs SpeechSteps before its idle step.
class SpeechJob : public QObject {
    Q_OBJECT

public:
    // Runs its steps in every tick of the player.
    SpeechJob(Player& player, DataStore& store, const AppState& state, QObject* parent = nullptr);
    SpeechJob(const SpeechJob&) = delete;
    SpeechJob& operator=(const SpeechJob&) = delete;

    // Starts a job; nothing without a request or while the broadcast is
    // paused. With `wake`, a switched-off transmitter is woken during working
    // hours. A job started while another runs takes over its delays, voice
    // and text, and its speech follows the one still being spoken.
    void StartSpeechJob(const SpeechRequest* request, bool wake);
    // Speaks `text` with the selected voice and no background music; nothing
    // when the text is empty, the broadcast is paused or a speech runs.
    void SpeakInstantText(const QString& text, bool wake);
    // One second of the job: the pre-delay, a second try at a text the voice
    // gave up, the post-delay, the end.
    void SpeechSteps();

    // A speech job is in progress (armed, speaking or finishing).
    bool speaking() const;

signals:
    // A job that may wake the transmitter starts during working hours.
    void wakeRequested();
    // The job's own background music took the player, while a user is logged
    // in: the music schedule has no current entry any more.
    void backgroundMusicStarted();
    // The job has ended, while a user is logged in: the speech schedule lets
    // go of its current entry.
    void speechEnded();

private:
    void endJob();
    void failedToSpeak();
    bool voiceGaveUp(const QString& reason);

    Player& player_;
    DataStore& store_;
    const AppState& state_;
    // The voice finished while the broadcast was paused: the end of the job
    // waits for the broadcast to resume.
    bool endPending_ = false;
};
