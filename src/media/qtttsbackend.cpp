#include "media/qtttsbackend.h"

#include <QTextToSpeech>

#include <iterator>

namespace {

// An engine that has not started a text this long after it was given will
// not start it; the text then counts as said, so a speech never hangs.
constexpr qint64 kStartTimeoutMs = 10000;

// flite hands its audio over in chunks of about 20 ms. A speech that comes out
// as a whole number of chunks ends with an empty one; the Qt 6.4 flite engine
// takes its write of zero bytes for a streaming error and stops the sink, and
// the speech, by then all in the sink's buffer, is never heard. The length
// depends only on the voice, the text and the rate, so the same text fails
// again every time. A text given up this way is said again a little faster,
// at each of these rates in turn: each shortens the speech by a different
// amount, and the last chunk soon has something in it. The fastest is 1.3%
// above the voice's own speed, too little to hear. flite makes its audio many
// times faster than it plays, so the failed try of a short announcement ends
// before a sound comes out; of a long one, its first words may be heard twice.
constexpr double kRetryRates[] = {0.004, 0.009, 0.015, 0.022};

QString VoiceToken(const QLocale& locale, const QString& name) {
    return locale.name() + QLatin1Char('\n') + name;
}

} // namespace

std::unique_ptr<QtTtsBackend> QtTtsBackend::create() {
#if defined(Q_OS_LINUX)
    if (auto backend = createWithEngine(QStringLiteral("speechd")))
        return backend;
    return createWithEngine(QStringLiteral("flite"));
#else
    return createWithEngine(QString());
#endif
}

std::unique_ptr<QtTtsBackend> QtTtsBackend::createWithEngine(const QString& engine) {
    if (!engine.isEmpty() && !QTextToSpeech::availableEngines().contains(engine))
        return nullptr;
    auto tts = engine.isEmpty() ? std::make_unique<QTextToSpeech>()
                                : std::make_unique<QTextToSpeech>(engine);
    if (tts->state() == QTextToSpeech::Error)
        return nullptr;
    if (engine == QLatin1String("flite")) {
        // The station has always spoken with the language's first voice
        // rather than flite's own pick, its last one. Either meets the empty
        // last chunk (see kRetryRates) about as often.
        const QList<QVoice> voices = tts->availableVoices();
        if (!voices.isEmpty())
            tts->setVoice(voices.first());
    }
    return std::unique_ptr<QtTtsBackend>(new QtTtsBackend(std::move(tts), engine));
}

QtTtsBackend::QtTtsBackend(std::unique_ptr<QTextToSpeech> tts, const QString& engine)
    : tts_(std::move(tts)), engine_(engine.isEmpty() ? tts_->engine() : engine),
      defaultLocale_(tts_->locale()), defaultVoice_(tts_->voice()) {
    QObject::connect(tts_.get(), &QTextToSpeech::stateChanged, tts_.get(),
                     [this](QTextToSpeech::State state) { onStateChanged(state); });
}

QtTtsBackend::~QtTtsBackend() {
    queue_.clear();
    tts_->disconnect();
    tts_->stop();
}

bool QtTtsBackend::voices(QList<TtsVoice>* out) {
    if (tts_->state() == QTextToSpeech::Error)
        return false;
    // Voices are listed per language; walk them all and put the engine's
    // language and voice back afterwards.
    const QLocale locale = tts_->locale();
    const QVoice voice = tts_->voice();
    out->clear();
    for (const QLocale& l : tts_->availableLocales()) {
        if (tts_->locale() != l)
            tts_->setLocale(l);
        for (const QVoice& v : tts_->availableVoices())
            out->append({VoiceToken(l, v.name()), v.name()});
    }
    if (tts_->locale() != locale)
        tts_->setLocale(locale);
    if (tts_->voice() != voice)
        tts_->setVoice(voice);
    return true;
}

void QtTtsBackend::setVoice(const QString& token) {
    if (token.isEmpty()) {
        if (tts_->locale() != defaultLocale_)
            tts_->setLocale(defaultLocale_);
        tts_->setVoice(defaultVoice_);
        return;
    }
    const QString localeName = token.section(QLatin1Char('\n'), 0, 0);
    const QString name = token.section(QLatin1Char('\n'), 1);
    const QLocale locale(localeName);
    if (tts_->locale() != locale)
        tts_->setLocale(locale);
    for (const QVoice& v : tts_->availableVoices()) {
        if (v.name() == name) {
            tts_->setVoice(v);
            return;
        }
    }
}

bool QtTtsBackend::speak(const QString& text) {
    if (tts_->state() == QTextToSpeech::Error && retryReason_.isEmpty())
        return false;
    // Nothing to say is said at once.
    if (text.trimmed().isEmpty())
        return true;
    if (queue_.isEmpty() && engineIdle()) {
        lastError_.clear();
        sayNow(text);
    } else {
        queue_.append(text);
    }
    return true;
}

void QtTtsBackend::sayNow(const QString& text) {
    current_ = text;
    tries_ = 0;
    sayCurrent();
}

void QtTtsBackend::sayCurrent() {
    // The first try leaves the rate alone: the voice speaks at its default.
    const double rate = tries_ == 0 ? 0.0 : kRetryRates[tries_ - 1];
    if (tts_->rate() != rate)
        tts_->setRate(rate);
    retryReason_.clear();
    awaitingStart_ = true;
    sinceSay_.start();
    tts_->say(current_);
}

void QtTtsBackend::pause() {
    tts_->pause();
}

void QtTtsBackend::resume() {
    tts_->resume();
}

void QtTtsBackend::onStateChanged(int state) {
    switch (state) {
    case QTextToSpeech::Speaking:
    case QTextToSpeech::Paused:
        awaitingStart_ = false;
        break;
    case QTextToSpeech::Ready:
        if (!retryReason_.isEmpty()) {
            ++tries_;
            sayCurrent();
        } else if (!awaitingStart_ && !queue_.isEmpty()) {
            sayNow(queue_.takeFirst());
        }
        break;
    case QTextToSpeech::Error: {
        // The engine gave the text up. When it comes back to Ready the text
        // is tried again (see kRetryRates) or the queue goes on; an engine
        // that stays broken is seen by isComplete().
        QString reason = tts_->errorString();
        if (reason.isEmpty())
            reason = QStringLiteral("The speech engine gave the text up.");
        if (engine_ == QLatin1String("flite") && tries_ < int(std::size(kRetryRates))) {
            retryReason_ = reason;
            awaitingStart_ = true;
            sinceSay_.start();
        } else {
            awaitingStart_ = false;
            lastError_ = reason;
        }
        break;
    }
    }
}

bool QtTtsBackend::engineIdle() {
    if (awaitingStart_ && sinceSay_.elapsed() < kStartTimeoutMs)
        return false;
    // The engine never came back from the error to try the text again.
    if (!retryReason_.isEmpty()) {
        lastError_ = retryReason_;
        retryReason_.clear();
    }
    const QTextToSpeech::State state = tts_->state();
    // An engine in error has nothing left that it could say.
    return state == QTextToSpeech::Ready || state == QTextToSpeech::Error;
}

bool QtTtsBackend::isComplete() {
    if (!engineIdle())
        return false;
    if (queue_.isEmpty())
        return true;
    // The engine went quiet without telling (see kStartTimeoutMs): go on
    // with the next text here.
    if (tts_->state() == QTextToSpeech::Error) {
        queue_.clear();
        return true;
    }
    sayNow(queue_.takeFirst());
    return false;
}

QString QtTtsBackend::takeError() {
    const QString reason = lastError_;
    lastError_.clear();
    return reason;
}
