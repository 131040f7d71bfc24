#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include "apppaths.h"
#include "cryptfile.h"

// A temporary program folder for the window tests: the Chinese UI texts, the
// cipher library (so that saves really write), data/ and ports/. It is the
// program folder while it lives.
class ShellTestFolder {
public:
    ShellTestFolder() {
        ok = dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("data")) &&
             QDir(dir.path()).mkpath(QStringLiteral("ports")) &&
             QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/string_chs.conf"),
                         path(QStringLiteral("string_chs.conf"))) &&
             QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/string_eng.conf"),
                         path(QStringLiteral("string_eng.conf"))) &&
             QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                         path(CryptLibraryFileName()));
        SetAppFolderForTests(dir.path());
    }
    ~ShellTestFolder() { SetAppFolderForTests(QString()); }

    QString path(const QString& name = QString()) const {
        return name.isEmpty() ? dir.path() : dir.filePath(name);
    }

    bool ok = false;

private:
    QTemporaryDir dir;
};

// The transmitter simulator on a pseudo-terminal, linked as ports/COM<n> of
// the program folder; stopped when it goes out of scope.
class SimulatorProcess {
public:
    SimulatorProcess(const QString& folder, int com, const QStringList& options)
        : link(QStringLiteral("%1/ports/COM%2").arg(folder).arg(com)),
          logPath(QStringLiteral("%1/sim-COM%2.log").arg(folder).arg(com)) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(
            QStringLiteral(TOLVANE_BIN_DIR "/transmitter-sim"),
            QStringList{"--com", QString::number(com), "--folder", folder, "--log", logPath} +
                options);
    }
    ~SimulatorProcess() { stop(); }

    // Waits until the port is there.
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

    // The commands received so far, without their CR LF.
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

private:
    QProcess process;
    QString link;
    QString logPath;
};
