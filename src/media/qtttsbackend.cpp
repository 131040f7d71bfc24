#include "qtttsbackend.h"

#include <QTextToSpeech>

namespace {

// An engine that has not started a text this long after it was given will
// not start it; the text then counts as said, so a speech never hangs.
constexpr qint64 kStartTimeoutMs = 10000;

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
        // flite's own pick is its last voice, whose speech mostly comes out
        // as a whole number of the engine's audio chunks. The engine then
        // writes an empty last chunk, takes that for a streaming error and
        // cuts the speech off. The first voice of the language rarely meets
        // this.
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
    if (tts_->state() == QTextToSpeech::Error)
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
    awaitingStart_ = true;
    sinceSay_.start();
    tts_->say(text);
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
        if (!awaitingStart_ && !queue_.isEmpty())
            sayNow(queue_.takeFirst());
        break;
    case QTextToSpeech::Error:
        // The engine gave the text up. When it comes back to Ready the queue
        // goes on; an engine that stays broken is seen by isComplete().
        awaitingStart_ = false;
        lastError_ = tts_->errorString();
        break;
    }
}

bool QtTtsBackend::engineIdle() const {
    if (awaitingStart_ && sinceSay_.elapsed() < kStartTimeoutMs)
        return false;
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
