#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

// Records what the sound server plays on its default sink, as 16-bit mono,
// to tell whether a person beside the loudspeaker would have heard anything.
// A null sink renders far ahead of time, and audio that a new stream hands it
// faster than it plays (as a voice does) arrives by rewinds that its monitor
// does not record; a silent stream at a low latency keeps the sink rendering
// close to the clock, as a sound card would, so that the monitor hears it all.
class SinkRecorder {
public:
    static constexpr int kRate = 16000;
    // A sample at least this loud (about -30 dBFS) is sound, not the silence
    // of a sink with nothing to play.
    static constexpr int kLoudSample = 1000;

    explicit SinkRecorder(
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        pacer_.setProcessEnvironment(env);
        parec_.setProcessEnvironment(env);
    }
    ~SinkRecorder() {
        for (QProcess* p : {&pacer_, &parec_}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;

    // False when the sound server cannot be listened to.
    bool start() {
        const QStringList format{"--raw", "--format=s16le", "--channels=1",
                                 "--rate=" + QString::number(kRate)};
        pacer_.start("pacat", QStringList{"--playback", "--latency-msec=20"} + format +
                                  QStringList{"/dev/zero"});
        parec_.start("parec", QStringList{"-d", "@DEFAULT_MONITOR@", "--latency-msec=50"} + format);
        if (!pacer_.waitForStarted(5000) || !parec_.waitForStarted(5000))
            return false;
        // Either gives up at once when it cannot connect.
        return !parec_.waitForFinished(500) && pacer_.state() == QProcess::Running;
    }

    // Stops the recording; how many milliseconds of it held sound: 10 ms
    // windows with a sample at least kLoudSample loud.
    int loudMs() {
        parec_.terminate();
        parec_.waitForFinished(5000);
        const QByteArray raw = parec_.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
        const qsizetype count = raw.size() / 2;
        constexpr int kWindow = kRate / 100;
        int loud = 0;
        for (qsizetype w = 0; w + kWindow <= count; w += kWindow) {
            if (std::any_of(samples + w, samples + w + kWindow,
                            [](qint16 v) { return std::abs(int(v)) >= kLoudSample; }))
                loud += 10;
        }
        return loud;
    }

private:
    QProcess pacer_;
    QProcess parec_;
};
