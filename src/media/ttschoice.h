#pragma once

#include <QList>
#include <QString>

#include <memory>

#include "media/ttsbackend.h"

enum class VoiceEngine { Platform, Espeak };

// Which engine speaks for the station: the platform's own (Qt TextToSpeech)
// when it offers any of the station voices itself, as a Windows machine with
// them installed does; else espeak-ng when it is ready; else the platform's
// engine, whatever voices it has.
VoiceEngine ChooseVoiceEngine(const QList<TtsVoice>& platformVoices, bool espeakReady);

// The station's voice, chosen as above; null when no engine can be had. The
// choice and why go to the developer diagnostics (category "tolvane.media").
std::unique_ptr<TtsBackend> CreateStationVoice();
