#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

// One simulator process, linked as ports/COM<n> of the program folder. It is
// always stopped, and its link must be gone afterwards.
class SimulatorProcess {
public:
    SimulatorProcess(const QString& folder, int com, const QStringList& options)
        : link(folder + QStringLiteral("/ports/COM") + QString::number(com)),
          logPath(folder + QStringLiteral("/sim-COM") + QString::number(com) +
                  QStringLiteral(".log")) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(
            QStringLiteral(TOLVANE_BIN_DIR "/transmitter-sim"),
            QStringList{"--com", QString::number(com), "--folder", folder, "--log", logPath} +
                options);
    }
    ~SimulatorProcess() { stop(); }

    // Waits until the link is there.
    bool ready() {
        if (!process.waitForStarted(5000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            if (QFileInfo(link).isSymLink() && QFileInfo::exists(link))
                return true;
            if (process.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(20);
        }
        return false;
    }

    void stop() {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    bool linkRemoved() const { return !QFileInfo(link).isSymLink(); }

    // The commands the simulator received, as logged, without the CR LF.
    QStringList commands() const {
        QFile file(logPath);
        QStringList result;
        if (!file.open(QIODevice::ReadOnly))
            return result;
        static const QRegularExpression received(
            QStringLiteral("<- \\[(\\d+) bytes\\] (.*)\\\\r\\\\n$"));
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QRegularExpressionMatch m = received.match(QString::fromUtf8(line));
            if (m.hasMatch())
                result << m.captured(2);
        }
        return result;
    }

    QString logText() const {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QProcess process;
    QString link;
    QString logPath;
};
