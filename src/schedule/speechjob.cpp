#include "schedule/speechjob.h"

#include <algorithm>

#include "media/player.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "support/eventlog.h"
#include "support/stringutils.h"

namespace {

// How much of a text that could not be spoken goes into the log line.
constexpr int kLoggedTextLength = 60;

// 0 stands for the station's delay; a negative value (a damaged data file)
// counts as no delay rather than one that never runs out.
int EffectiveDelay(int requested, int speakDelay) {
    return std::max(0, requested != 0 ? requested : speakDelay);
}

QString ShownText(const QString& text) {
    QString shown = text.simplified();
    if (shown.size() > kLoggedTextLength)
        shown = shown.left(kLoggedTextLength) + QStringLiteral("...");
    return shown;
}

} // namespace

SpeechRequest SpeechRequest::FromTask(const SpeechTask& task) {
    SpeechRequest request;
    request.voiceIndex = task.effect;
    request.backgroundMusic = task.bkMusic;
    request.preDelay = task.preDelay;
    request.postDelay = task.postDelay;
    request.text = task.text;
    request.name = task.name;
    return request;
}

SpeechJob::SpeechJob(Player& player, DataStore& store, const AppState& state, QObject* parent)
    : QObject(parent), player_(player), store_(store), state_(state) {
    connect(&player_, &Player::speechStepsDue, this, &SpeechJob::SpeechSteps);
}

bool SpeechJob::speaking() const {
    return player_.speaking();
}

void SpeechJob::StartSpeechJob(const SpeechRequest* request, bool wake) {
    if (!request || player_.paused())
        return;
    // A job that finished during a pause ends before the next one begins, so
    // that its end cannot undo what the new job sets up.
    if (endPending_) {
        endPending_ = false;
        endJob();
    }
    if (wake && state_.workingNow)
        emit wakeRequested();

    const CommonSettings& settings = store_.settings;
    player_.SetPlayerVolume(settings.ttsBackgroundVolume);

    SpeechJobState& job = player_.speechJob;
    if (!request->backgroundMusic.isEmpty()) {
        const QString& path = request->backgroundMusic;
        if (const SpeechBackgroundMusic* music = store_.FindBackgroundMusic(path)) {
            if (music->volume > 0)
                player_.SetPlayerVolume(music->volume);
        }
        // The very file already playing goes on as it is; the job then has
        // no background music of its own to stop at its end.
        if (!PathsEqual(path, player_.loadedPath()) || player_.IsPlayerIdle()) {
            player_.PlayFile(path);
            job.backgroundPath = path;
            if (state_.loggedIn())
                emit backgroundMusicStarted();
        }
    }

    job.preDelay = EffectiveDelay(request->preDelay, settings.speakDelay);
    job.postDelay = EffectiveDelay(request->postDelay, settings.speakDelay);
    job.voiceIndex = request->voiceIndex;
    job.text = request->text;
    job.name = request->name;
    job.retried = false;

    // With a pre-delay the voice is only armed now and speaks when the
    // countdown runs out.
    const bool started = job.preDelay > 0 ? player_.speech().SpeakText(job.voiceIndex, QString())
                                          : player_.speech().SpeakText(job.voiceIndex, job.text);
    if (!started)
        failedToSpeak();
}

void SpeechJob::SpeakInstantText(const QString& text, bool wake) {
    if (text.isEmpty() || player_.paused() || speaking())
        return;
    SpeechRequest request;
    request.text = text;
    StartSpeechJob(&request, wake);
}

void SpeechJob::SpeechSteps() {
    const bool paused = player_.paused();
    if (endPending_ && !paused) {
        endPending_ = false;
        endJob();
    }

    SpeechJobState& job = player_.speechJob;
    SpeechEngine& speech = player_.speech();
    if (!paused && job.preDelay > 0) {
        if (--job.preDelay == 0 && !speech.SpeakText(job.voiceIndex, job.text)) {
            failedToSpeak();
            return;
        }
    }
    if (job.preDelay == 0 && speech.speaking() && speech.IsSpeechComplete()) {
        const QString reason = speech.TakeSpeechError();
        if (!reason.isEmpty() && voiceGaveUp(reason))
            return;
    }
    // The post-delay counts on through a pause: the voice is done already.
    if (job.preDelay == 0 && job.postDelay > 0 && speech.IsSpeechComplete())
        --job.postDelay;
    // An armed job is silent too: only after the pre-delay does a quiet voice
    // mean that the speech is over.
    if (speech.speaking() && job.preDelay == 0 && job.postDelay == 0 && speech.IsSpeechComplete()) {
        speech.setSpeaking(false);
        if (paused)
            endPending_ = true;
        else
            endJob();
    }
}

void SpeechJob::endJob() {
    SpeechJobState& job = player_.speechJob;
    if (!job.backgroundPath.isEmpty()) {
        job.backgroundPath.clear();
        player_.StopPlayback();
        // The speaking flag is clear by now: the idle player goes back to the
        // music schedule.
        player_.HandlePlaybackIdle();
    } else {
        player_.SetPlayerVolume(player_.musicVolume());
    }
    if (state_.loggedIn())
        emit speechEnded();
}

// A voice that refuses to start must not hold the music down and the
// schedule blocked for the rest of the day: the job ends here.
void SpeechJob::failedToSpeak() {
    SpeechJobState& job = player_.speechJob;
    LogEvent(QStringLiteral("Speech could not be started: ") + ShownText(job.text));
    player_.speech().setSpeaking(false);
    job.preDelay = 0;
    job.postDelay = 0;
    endJob();
}

// The voice gave the text up, which leaves it as quiet as a finished speech.
// The text gets a second try after a second (through the pre-delay, so that
// a pause holds it back); true when it is to come. A second failure goes into
// the log, and the job then runs to its end as usual.
bool SpeechJob::voiceGaveUp(const QString& reason) {
    SpeechJobState& job = player_.speechJob;
    if (!job.retried) {
        job.retried = true;
        job.preDelay = 1;
        return true;
    }
    const QString name = job.name.isEmpty() ? ShownText(job.text) : job.name;
    LogEvent(QStringLiteral("Speech failed: ") + reason + QStringLiteral(" (") + name +
             QLatin1Char(')'));
    return false;
}
