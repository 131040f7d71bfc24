#include "media/speechengine.h"

#include "store/clocktext.h"
#include "store/records.h"
#include "store/uitext.h"
#include "support/clock.h"
#include "support/diagnostics.h"

namespace {

struct OfferedVoice {
    const char* description;
    const char16_t* displayName;
};

// The voices the station offers; every other installed voice is left out.
// The display names are the same in both UI languages.
const OfferedVoice kOfferedVoices[] = {
    {"VW Hui", u"中文女声Hui"},        {"VW Liang", u"中文男声Liang"},
    {"VW Lily", u"中文女声Lily"},      {"VW Julie", u"Female Voice (Julie)"},
    {"VW Paul", u"Male Voice (Paul)"},
};

const char16_t* OfferedDisplayName(const QString& description) {
    for (const OfferedVoice& voice : kOfferedVoices) {
        if (description.compare(QLatin1String(voice.description), Qt::CaseInsensitive) == 0)
            return voice.displayName;
    }
    return nullptr;
}

QString TimeOfDayWord(int hour, bool english) {
    if (hour <= 5)
        return english ? QStringLiteral("midnight") : QStringLiteral(u"凌晨");
    if (hour <= 8)
        return english ? QStringLiteral("morning") : QStringLiteral(u"早上");
    if (hour <= 12)
        return english ? QStringLiteral("morning") : QStringLiteral(u"上午");
    if (hour <= 18)
        return english ? QStringLiteral("afternoon") : QStringLiteral(u"下午");
    return english ? QStringLiteral("night") : QStringLiteral(u"晚上");
}

} // namespace

void ExpandSpeechVariables(QString& text, const QString& enterpriseName, const QDateTime& now,
                           int langId) {
    const bool english = langId == 1;
    const QDate date = now.date();
    const QTime time = now.time();

    text.replace(QLatin1String("%Name%"), enterpriseName);
    if (text.contains(QLatin1String("%Date%"))) {
        const QString formatted =
            english ? QStringLiteral("%1/%2/%3") : QStringLiteral(u"%1年%2月%3日");
        text.replace(QLatin1String("%Date%"),
                     formatted.arg(QString::number(date.year()), QString::number(date.month()),
                                   QString::number(date.day())));
    }
    if (text.contains(QLatin1String("%Time%"))) {
        const QString formatted =
            english ? QStringLiteral("%1%2:%3") : QStringLiteral(u"%1%2时%3分");
        text.replace(QLatin1String("%Time%"),
                     formatted.arg(TimeOfDayWord(time.hour(), english),
                                   QString::number(time.hour()), QString::number(time.minute())));
    }
    text.replace(QLatin1String("%Week%"), WeekdayName(date.dayOfWeek() - 1, english ? 1 : 0));
}

SpeechEngine::SpeechEngine(std::unique_ptr<TtsBackend> voice, const Clock& clock,
                           const CommonSettings* settings)
    : voice_(std::move(voice)), clock_(clock), settings_(settings) {}

SpeechEngine::~SpeechEngine() = default;

bool SpeechEngine::FillVoiceList(const std::shared_ptr<VoiceChoiceList>& list, bool asEffectList) {
    if (!list || !voice_)
        return false;
    QList<TtsVoice> installed;
    if (!voice_->voices(&installed))
        return false;

    bool first = true;
    for (const TtsVoice& v : installed) {
        if (v.description.isEmpty())
            continue;
        list->addItem(v.description, v.token);
        if (first)
            list->setCurrentIndex(list->count() - 1);
        first = false;
    }
    // From the last item to the first, so that removals leave the indexes
    // still to be visited in place.
    for (int i = list->count() - 1; i >= 0; --i) {
        if (const char16_t* name = OfferedDisplayName(list->itemText(i)))
            list->setItemText(i, QString::fromUtf16(name));
        else
            list->removeItem(i);
    }
    if (asEffectList)
        effectList_ = list;
    return true;
}

bool SpeechEngine::SpeakText(int voiceIndex, const QString& text) {
    if (!voice_)
        return false;
    if (text.isNull()) {
        speaking_ = true;
        return true;
    }
    QString expanded = text;
    ExpandSpeechVariables(expanded);

    if (effectList_) {
        // The voice is read from the item without moving the list's selection,
        // so the visible choice never changes under the operator.
        const int count = effectList_->count();
        const int index =
            voiceIndex >= 0 && voiceIndex < count ? voiceIndex : effectList_->currentIndex();
        const QString token =
            index >= 0 && index < count ? effectList_->itemToken(index) : QString();
        voice_->setVoice(token);
    }

    speaking_ = true;
    if (!voice_->speak(expanded)) {
        speaking_ = false;
        return false;
    }
    return true;
}

void SpeechEngine::ExpandSpeechVariables(QString& text) const {
    ::ExpandSpeechVariables(text, settings_ ? settings_->enterpriseName : QString(), clock_.now(),
                            UiLanguage());
}

void SpeechEngine::PauseSpeech() {
    if (speaking_ && voice_)
        voice_->pause();
}

void SpeechEngine::ResumeSpeech() {
    if (speaking_ && voice_)
        voice_->resume();
}

bool SpeechEngine::IsSpeechComplete() const {
    return voice_ && voice_->isComplete();
}

QString SpeechEngine::TakeSpeechError() {
    const QString reason = voice_ ? voice_->takeError() : QString();
    if (!reason.isEmpty())
        qCWarning(lcMedia).noquote() << "speech engine error:" << reason;
    return reason;
}
