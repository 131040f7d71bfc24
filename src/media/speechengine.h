#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

#include "media/ttsbackend.h"
#include "media/voicelist.h"

class Clock;
struct CommonSettings;

// Replaces, in this order and each time every occurrence, "%Name%" by the
// enterprise name, "%Date%", "%Time%" and "%Week%" by `now` in the words of
// the UI language (langId 1 English, anything else Chinese). The names are
// case-sensitive. The name goes in first, so variables inside it expand too.
void ExpandSpeechVariables(QString& text, const QString& enterpriseName, const QDateTime& now,
                           int langId);

// The voice, the voice lists and the speaking flag of the player. Without a
// voice (the engine could not be created) nothing is ever spoken.
class SpeechEngine {
public:
    // `settings` (may be null) gives the enterprise name; the clock gives the
    // date and time of the variables.
    SpeechEngine(std::unique_ptr<TtsBackend> voice, const Clock& clock,
                 const CommonSettings* settings = nullptr);
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    // Adds the installed voices to the list and keeps only the five voices
    // the station offers, under their display names (descriptions compared
    // without regard to case). The caller sets the selection afterwards. With
    // `asEffectList` the list becomes the effect list: the list every voice
    // index in the station points into. A later effect list replaces it. False
    // (the list unchanged) when the voices cannot be enumerated.
    bool FillVoiceList(const std::shared_ptr<VoiceChoiceList>& list, bool asEffectList);

    // Speaks `text` asynchronously with the voice of the effect list's item
    // `voiceIndex` (or of its selection when the index is out of range; the
    // default voice when nothing is selected), after expanding the variables.
    // A null text only arms: it sets the speaking flag without speaking, for a
    // speech that follows after a delay. False when nothing was started.
    bool SpeakText(int voiceIndex, const QString& text);

    // The variables with today's values, the settings' enterprise name and
    // the UI language.
    void ExpandSpeechVariables(QString& text) const;

    // Only while speaking.
    void PauseSpeech();
    void ResumeSpeech();

    // The voice has nothing left to say; false without a voice.
    bool IsSpeechComplete() const;
    // Why the voice gave up a text since the last call; empty when all was
    // said (and without a voice).
    QString TakeSpeechError();

    bool hasVoice() const { return voice_ != nullptr; }
    // Set while a speech job is in progress: by SpeakText, cleared by the end
    // of the job or a failed speak.
    bool speaking() const { return speaking_; }
    void setSpeaking(bool speaking) { speaking_ = speaking; }

    VoiceChoiceList* effectList() const { return effectList_.get(); }
    TtsBackend* voice() const { return voice_.get(); }

private:
    std::unique_ptr<TtsBackend> voice_;
    const Clock& clock_;
    const CommonSettings* settings_;
    std::shared_ptr<VoiceChoiceList> effectList_;
    bool speaking_ = false;
};
