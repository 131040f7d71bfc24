#include "media/ttschoice.h"

#include "media/qtttsbackend.h"
#include "support/diagnostics.h"
#ifdef TOLVANE_HAVE_ESPEAK
#include "media/espeakttsbackend.h"
#endif

namespace {

const char* const kStationVoices[] = {"VW Hui", "VW Liang", "VW Lily", "VW Julie", "VW Paul"};

QStringList StationVoicesAmong(const QList<TtsVoice>& voices) {
    QStringList found;
    for (const TtsVoice& v : voices) {
        for (const char* description : kStationVoices) {
            if (v.description.compare(QLatin1String(description), Qt::CaseInsensitive) == 0)
                found.append(v.description);
        }
    }
    return found;
}

} // namespace

VoiceEngine ChooseVoiceEngine(const QList<TtsVoice>& platformVoices, bool espeakReady) {
    if (!StationVoicesAmong(platformVoices).isEmpty() || !espeakReady)
        return VoiceEngine::Platform;
    return VoiceEngine::Espeak;
}

std::unique_ptr<TtsBackend> CreateStationVoice() {
    std::unique_ptr<QtTtsBackend> platform = QtTtsBackend::create();
    QList<TtsVoice> platformVoices;
    if (platform)
        platform->voices(&platformVoices);
    QString why = QStringLiteral("this build has no espeak-ng.");
    std::unique_ptr<TtsBackend> espeak;
#ifdef TOLVANE_HAVE_ESPEAK
    espeak = EspeakTtsBackend::create(&why);
#endif

    const QString platformName =
        platform ? QStringLiteral("platform engine \"") + platform->engineName() + QLatin1Char('"')
                 : QStringLiteral("no platform engine");
    const QStringList own = StationVoicesAmong(platformVoices);
    if (ChooseVoiceEngine(platformVoices, espeak != nullptr) == VoiceEngine::Espeak) {
        qCInfo(lcMedia).noquote() << "Voice: espeak-ng with the five station voices; the"
                                  << platformName << "offers none of them.";
        return espeak;
    }
    if (!own.isEmpty())
        qCInfo(lcMedia).noquote() << "Voice: the" << platformName << "offers station voices itself:"
                                  << own.join(QLatin1String(", "));
    else
        qCInfo(lcMedia).noquote() << "Voice: the" << platformName
                                  << "with none of the station voices; espeak-ng is not used:"
                                  << why;
    return platform;
}
