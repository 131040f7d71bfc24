#include "media/espeakttsbackend.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>

#include <espeak-ng/speak_lib.h>

namespace {

struct StationVoice {
    const char* description;
    const char* name;
    bool mandarin;
};

// The female and male variants give each station voice a sound of its own.
const StationVoice kVoices[] = {
    {"VW Hui", "cmn+f2", true},   {"VW Liang", "cmn+m3", true}, {"VW Lily", "cmn+f4", true},
    {"VW Julie", "en+f3", false}, {"VW Paul", "en+m3", false},
};

// The sound output says it is idle once it has taken the last sample, while
// its buffer is still to be heard, and stopping it then drops the buffer.
// Silence of a buffer's length and this much more after the speech is what
// is dropped instead, so a speech counts as said only once it has been heard,
// and the music comes back up after it, not over its end.
constexpr int kTailMarginMs = 100;

// The library is one instance per process and not reentrant: every call into
// it holds this lock, from any backend and any thread.
QMutex& LibraryLock() {
    static QMutex lock;
    return lock;
}

// Where the synthesis under way puts its sound; guarded by LibraryLock().
QByteArray* g_sound = nullptr;
const std::atomic_bool* g_cancel = nullptr;

int OnSound(short* samples, int count, espeak_EVENT*) {
    if (samples && count > 0 && g_sound)
        g_sound->append(reinterpret_cast<const char*>(samples), qsizetype(count) * 2);
    // A nonzero answer makes the library give the text up.
    return g_cancel && g_cancel->load() ? 1 : 0;
}

// Sets the library up on the first call; its sample rate, or -1 with the
// reason in `why`. Called with LibraryLock() held.
int SetUpLibrary(QString* why) {
    static int rate = 0;
    static QString failure;
    if (rate == 0) {
        // Without the flag the library ends the program when its data is
        // missing.
        rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        const char* dataPath = nullptr;
        espeak_Info(&dataPath);
        const QString folder = QString::fromLocal8Bit(dataPath);
        if (rate <= 0)
            failure = QStringLiteral("espeak-ng could not be set up.");
        // The library starts without its data as well; a voice is usable
        // when its description and its dictionary are both there.
        for (const char* language : {"cmn", "en"}) {
            if (!failure.isEmpty())
                break;
            const QString dictionary =
                folder + QLatin1Char('/') + QLatin1String(language) + QLatin1String("_dict");
            if (!QFileInfo::exists(dictionary) || espeak_SetVoiceByName(language) != EE_OK)
                failure = QStringLiteral("espeak-ng has no voice data for \"") +
                          QLatin1String(language) + QStringLiteral("\" in ") + folder +
                          QLatin1Char('.');
        }
        if (failure.isEmpty())
            espeak_SetSynthCallback(OnSound);
        else
            rate = -1;
    }
    if (rate < 0 && why)
        *why = failure;
    return rate;
}

bool HoldsChinese(const QString& text) {
    for (char32_t c : text.toUcs4()) {
        if (QChar::script(c) == QChar::Script_Han)
            return true;
    }
    return false;
}

QString SinkFailure(QAudio::Error error) {
    switch (error) {
    case QAudio::OpenError:
        return QStringLiteral("The sound output could not be opened.");
    case QAudio::IOError:
        return QStringLiteral("The sound output failed while speaking.");
    default:
        return QStringLiteral("The sound output stopped with an error.");
    }
}

} // namespace

std::unique_ptr<EspeakTtsBackend> EspeakTtsBackend::create(QString* why) {
    QMutexLocker lock(&LibraryLock());
    const int rate = SetUpLibrary(why);
    if (rate < 0)
        return nullptr;
    return std::unique_ptr<EspeakTtsBackend>(new EspeakTtsBackend(rate));
}

QList<TtsVoice> EspeakTtsBackend::stationVoices() {
    QList<TtsVoice> out;
    for (const StationVoice& v : kVoices)
        out.append({QLatin1String(v.name), QLatin1String(v.description)});
    return out;
}

EspeakTtsBackend::EspeakTtsBackend(int sampleRate) : sampleRate_(sampleRate) {
    connect(&synthesis_, &QFutureWatcher<Synthesis>::finished, this,
            &EspeakTtsBackend::onSynthesized);
}

EspeakTtsBackend::~EspeakTtsBackend() {
    cancel_ = true;
    synthesis_.disconnect(this);
    synthesis_.waitForFinished();
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        delete sink_;
    }
}

bool EspeakTtsBackend::voices(QList<TtsVoice>* out) {
    *out = stationVoices();
    return true;
}

void EspeakTtsBackend::setVoice(const QString& token) {
    voiceToken_ = token;
}

bool EspeakTtsBackend::speak(const QString& text) {
    // Nothing to say is said at once.
    if (text.trimmed().isEmpty())
        return true;
    // The voice is the one set when the text was given, not when its turn
    // comes.
    QString voice;
    for (const StationVoice& v : kVoices) {
        if (voiceToken_ == QLatin1String(v.name))
            voice = voiceToken_;
    }
    if (voice.isEmpty()) {
        const bool chinese = HoldsChinese(text);
        for (const StationVoice& v : kVoices) {
            if (v.mandarin == chinese) {
                voice = QLatin1String(v.name);
                break;
            }
        }
    }
    queue_.append({text, voice});
    startNext();
    return true;
}

EspeakTtsBackend::Synthesis EspeakTtsBackend::synthesise(const QString& text, const QString& voice,
                                                         const std::atomic_bool* cancel) {
    Synthesis out;
    QMutexLocker lock(&LibraryLock());
    if (cancel->load())
        return out;
    if (espeak_SetVoiceByName(voice.toLatin1().constData()) != EE_OK) {
        out.error = QStringLiteral("espeak-ng has no voice ") + voice + QLatin1Char('.');
        return out;
    }
    g_sound = &out.pcm;
    g_cancel = cancel;
    const QByteArray utf8 = text.toUtf8();
    const espeak_ERROR result = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0,
                                             POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    g_sound = nullptr;
    g_cancel = nullptr;
    if (result != EE_OK) {
        out.pcm.clear();
        out.error = QStringLiteral("espeak-ng could not say the text (error ") +
                    QString::number(int(result)) + QStringLiteral(").");
    }
    return out;
}

// One text at a time: the next is made only when the one before has been
// played, so the library's lock is never held for long.
void EspeakTtsBackend::startNext() {
    if (synthesising_ || sink_ || !held_.isEmpty() || queue_.isEmpty())
        return;
    const Text next = queue_.takeFirst();
    voiceUsed_ = next.voice;
    synthesising_ = true;
    synthesis_.setFuture(
        QtConcurrent::run(&EspeakTtsBackend::synthesise, next.text, next.voice, &cancel_));
}

void EspeakTtsBackend::onSynthesized() {
    synthesising_ = false;
    Synthesis done = synthesis_.result();
    if (!done.error.isEmpty())
        error_ = done.error;
    if (done.pcm.isEmpty()) {
        moveOn();
        return;
    }
    if (paused_)
        held_ = done.pcm;
    else
        play(done.pcm);
}

void EspeakTtsBackend::play(const QByteArray& pcm) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        error_ = QStringLiteral("There is no sound output to speak on.");
        moveOn();
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate_);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = new QAudioSink(device, format, this);
    // The sink owns the sound it plays.
    auto* sound = new QBuffer(sink_);
    sound->setData(pcm);
    sound->open(QIODevice::ReadOnly);
    connect(sink_, &QAudioSink::stateChanged, this, &EspeakTtsBackend::onSinkStateChanged);
    sink_->start(sound);
    // A sink that cannot start may have said so through its signal already,
    // which ended this playback.
    if (!sink_)
        return;
    if (sink_->state() == QAudio::StoppedState) {
        error_ = SinkFailure(sink_->error());
        endPlayback();
        moveOn();
        return;
    }
    // The buffer's length is known once the sink has started; it reads
    // nothing before the event loop runs again.
    const qsizetype margin = qsizetype(sampleRate_) * kTailMarginMs / 1000 * 2;
    sound->buffer().append(QByteArray(sink_->bufferSize() + margin, '\0'));
}

void EspeakTtsBackend::onSinkStateChanged() {
    if (!sink_)
        return;
    const QAudio::State state = sink_->state();
    // Idle with sound left is a hiccup of the output, not the end.
    const bool played =
        state == QAudio::IdleState && sink_->findChild<QBuffer*>()->bytesAvailable() == 0;
    const bool failed = state == QAudio::StoppedState && sink_->error() != QAudio::NoError;
    if (!played && !failed)
        return;
    if (failed)
        error_ = SinkFailure(sink_->error());
    endPlayback();
    moveOn();
}

void EspeakTtsBackend::endPlayback() {
    sink_->disconnect(this);
    sink_->stop();
    // This may run inside the sink's own signal.
    sink_->deleteLater();
    sink_ = nullptr;
}

void EspeakTtsBackend::moveOn() {
    startNext();
    if (isComplete())
        emit speechFinished();
}

void EspeakTtsBackend::pause() {
    paused_ = true;
    if (sink_)
        sink_->suspend();
}

void EspeakTtsBackend::resume() {
    if (!paused_)
        return;
    paused_ = false;
    if (sink_) {
        sink_->resume();
    } else if (!held_.isEmpty()) {
        const QByteArray pcm = held_;
        held_.clear();
        play(pcm);
    }
}

bool EspeakTtsBackend::isComplete() {
    return !synthesising_ && !sink_ && held_.isEmpty() && queue_.isEmpty();
}

QString EspeakTtsBackend::takeError() {
    const QString reason = error_;
    error_.clear();
    return reason;
}
