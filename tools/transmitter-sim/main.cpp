// A transmitter on a pseudo-terminal: it links the terminal as
// <program folder>/ports/COM<n>, where the station looks for its ports, and
// answers the command protocol like the real device, or misbehaves on request.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "simtransmitter.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) {
    stopRequested = 1;
}

void installSignals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

FILE* logFile = stderr;

QByteArray visible(const QByteArray& bytes) {
    QByteArray text;
    for (char c : bytes) {
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (uchar(c) < 0x20 || uchar(c) == 0x7F)
            text += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
        else
            text += c;
    }
    return text;
}

void logLine(const QByteArray& text) {
    const std::time_t now = std::time(nullptr);
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&now));
    std::fprintf(logFile, "%s %s\n", stamp, text.constData());
    std::fflush(logFile);
}

// Sleeps, but gives up at once when asked to stop.
void pause(int ms) {
    if (ms <= 0)
        return;
    struct timespec rest = {ms / 1000, long(ms % 1000) * 1000000L};
    while (!stopRequested && nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool parseRange(const QString& text, int* low, int* high, bool tenths) {
    const int dash = int(text.indexOf(u'-', 1));
    if (dash < 0)
        return false;
    const QByteArray a = text.left(dash).toLatin1(), b = text.mid(dash + 1).toLatin1();
    bool okA = false, okB = false;
    if (tenths) {
        okA = SimTenths(a, low);
        okB = SimTenths(b, high);
    } else {
        *low = a.toInt(&okA);
        *high = b.toInt(&okB);
    }
    return okA && okB && *low <= *high;
}

QList<QByteArray> latin1List(const QStringList& list) {
    QList<QByteArray> result;
    for (const QString& s : list)
        result << s.toLatin1();
    return result;
}

int fail(const QString& message) {
    std::fprintf(stderr, "transmitter-sim: %s\n", qPrintable(message));
    return 2;
}

// The pseudo-terminal pair, linked where the station looks for its port.
struct Terminal {
    int master = -1;
    int slave = -1;
    QByteArray slaveName;

    bool open(const QByteArray& link, const QByteArray& name) {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            fail(QStringLiteral("no pseudo-terminal: %1").arg(strerror(errno)));
            return false;
        }
        slaveName = ptsname(master);
        // Holding the slave open ourselves keeps the master readable while
        // the station has the port closed.
        slave = ::open(slaveName.constData(), O_RDWR | O_NOCTTY);
        if (slave < 0) {
            fail(QStringLiteral("cannot open %1").arg(QString::fromLocal8Bit(slaveName)));
            return false;
        }
        struct termios tio;
        if (tcgetattr(slave, &tio) == 0) {
            cfmakeraw(&tio);
            cfsetispeed(&tio, B9600);
            cfsetospeed(&tio, B9600);
            tcsetattr(slave, TCSANOW, &tio);
        }
        ::unlink(link.constData());
        if (::symlink(slaveName.constData(), link.constData()) != 0) {
            fail(QStringLiteral("cannot link %1: %2")
                     .arg(QFile::decodeName(link), QString::fromLocal8Bit(strerror(errno))));
            return false;
        }
        logLine(name + " is " + slaveName + " (" + link + ")");
        return true;
    }

    // Removes the link only while it is still ours.
    void close(const QByteArray& link) {
        char target[4096];
        const ssize_t length = ::readlink(link.constData(), target, sizeof target - 1);
        if (length > 0 && QByteArray(target, int(length)) == slaveName)
            ::unlink(link.constData());
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
        slave = master = -1;
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("transmitter-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated FM transmitter on a pseudo-terminal, linked as <folder>/ports/COM<n>."));
    parser.addHelpOption();
    const auto option = [&parser](const QString& name, const QString& help,
                                  const QString& value = QString(),
                                  const QString& fallback = QString()) {
        QCommandLineOption o(name, help, value, fallback);
        parser.addOption(o);
        return o;
    };
    const auto com =
        option("com", "COM port number to appear as; the station scans 1 to 9.", "n", "1");
    const auto folder = option("folder",
                               "Program folder whose ports/ gets the link "
                               "(default: this program's folder).",
                               "path");
    const auto logPath =
        option("log", "Write the exchange log to this file (default: stderr).", "file");
    const auto freqRange = option("freq-range", "Frequency range in 0.1 MHz.", "min-max");
    const auto powerRange = option("power-range", "Continuous power range in watts.", "min-max");
    const auto powerLevels = option("power-levels", "Discrete power levels in watts.", "a,b,...");
    const auto volumeRange = option("volume-range", "Volume range.", "min-max");
    const auto noVolume = option("no-volume", "No volume control.");
    const auto noPowerMeasure = option("no-power-measure", "No power measurement.");
    const auto noPreemphasis = option("no-preemphasis", "No pre-emphasis choice.");
    const auto noTemp = option("no-temp", "No temperature reading.");
    const auto noBluetooth = option("no-bluetooth", "No Bluetooth input.");
    const auto noPartitions = option("no-partitions", "No zone switches.");
    const auto manufacturer = option("manufacturer", "First product line.", "text");
    const auto product = option("product", "Second product line.", "text");
    const auto firmware = option("firmware", "Firmware version line.", "text");
    const auto software = option("software", "Software version line.", "text");
    const auto frequency = option("frequency", "Starting frequency in 0.1 MHz.", "n");
    const auto power = option("power", "Starting power in whole watts.", "n");
    const auto volume = option("volume", "Starting volume.", "n");
    const auto refuse =
        option("refuse", "Answer commands starting so with err (repeatable).", "prefix");
    const auto silent = option("silent", "Never answer.");
    const auto silentOn =
        option("silent-on", "Never answer commands starting so (repeatable).", "prefix");
    const auto unterminated =
        option("unterminated", "Answer commands starting so without OK (repeatable).", "prefix");
    const auto lowercaseOk = option("lowercase-ok", "End replies with ok instead of OK.");
    const auto split = option("split", "Send every reply in two pieces after n bytes.", "n");
    const auto splitPause = option("split-pause", "Pause between the pieces.", "ms", "100");
    const auto slow = option("slow", "Wait this long before every reply.", "ms", "0");
    const auto challenge = option(
        "challenge", "Handshake: right, wrong, nine-digits or refuse-first.", "mode", "right");
    const auto pieceSize =
        option("piece-size", "Send every reply in pieces of n bytes, --split-pause apart.", "n");
    const auto silentAfter =
        option("silent-after", "Answer the first n commands, then go silent.", "n");
    const auto cutOn = option(
        "cut-on", "Send only the first half of the reply to commands starting so (repeatable).",
        "prefix");
    const auto garbageOn =
        option("garbage-on", "Answer commands starting so with noise (repeatable).", "prefix");
    const auto garbageSize = option("garbage-size", "Bytes of noise.", "n", "64");
    const auto garbageOk = option("garbage-ok", "End the noise with OK.");
    const auto hangUpOn = option("hang-up-on",
                                 "Close the terminal unanswered on the first command starting so, "
                                 "then come back on a new one after --away.",
                                 "prefix");
    const auto away = option("away", "How long the terminal stays closed.", "ms", "1000");
    parser.process(app);

    SimProfile profile;
    SimMisbehaviour faults;
    bool ok = true;

    const int comNumber = parser.value(com).toInt(&ok);
    if (!ok || comNumber < 1 || comNumber > 99)
        return fail("bad --com");
    if (parser.isSet(freqRange) &&
        !parseRange(parser.value(freqRange), &profile.freqMin, &profile.freqMax, false))
        return fail("bad --freq-range");
    if (parser.isSet(powerRange) &&
        !parseRange(parser.value(powerRange), &profile.powerMin, &profile.powerMax, true))
        return fail("bad --power-range");
    if (parser.isSet(powerLevels)) {
        for (const QString& level : parser.value(powerLevels).split(u',', Qt::SkipEmptyParts)) {
            int tenths = 0;
            if (!SimTenths(level.toLatin1(), &tenths))
                return fail("bad --power-levels");
            profile.powerLevels << tenths;
        }
    }
    if (parser.isSet(volumeRange) &&
        !parseRange(parser.value(volumeRange), &profile.volumeMin, &profile.volumeMax, false))
        return fail("bad --volume-range");
    profile.volumeControl = !parser.isSet(noVolume);
    profile.powerMeasure = !parser.isSet(noPowerMeasure);
    profile.preemphasisSupport = !parser.isSet(noPreemphasis);
    profile.tempSupport = !parser.isSet(noTemp);
    profile.btSupport = !parser.isSet(noBluetooth);
    profile.partitionSupport = !parser.isSet(noPartitions);
    if (parser.isSet(manufacturer))
        profile.manufacturer = parser.value(manufacturer).toLocal8Bit();
    if (parser.isSet(product))
        profile.product = parser.value(product).toLocal8Bit();
    if (parser.isSet(firmware))
        profile.firmware = parser.value(firmware).toLocal8Bit();
    if (parser.isSet(software))
        profile.software = parser.value(software).toLocal8Bit();
    if (parser.isSet(frequency))
        profile.frequency = parser.value(frequency).toInt();
    if (parser.isSet(power))
        profile.powerWatts = parser.value(power).toInt();
    if (parser.isSet(volume))
        profile.volume = parser.value(volume).toInt();

    faults.refuse = latin1List(parser.values(refuse));
    faults.silent = parser.isSet(silent);
    faults.silentOn = latin1List(parser.values(silentOn));
    faults.unterminated = latin1List(parser.values(unterminated));
    faults.lowercaseOk = parser.isSet(lowercaseOk);
    faults.splitAfter = parser.value(split).toInt();
    faults.pieceSize = parser.value(pieceSize).toInt();
    faults.silentAfter = parser.value(silentAfter).toInt();
    faults.cutOn = latin1List(parser.values(cutOn));
    faults.garbageOn = latin1List(parser.values(garbageOn));
    faults.garbageSize = qBound(0, parser.value(garbageSize).toInt(), 1 << 20);
    faults.garbageOk = parser.isSet(garbageOk);
    faults.hangUpOn = latin1List(parser.values(hangUpOn));
    const int awayMs = parser.value(away).toInt();
    const int splitPauseMs = parser.value(splitPause).toInt();
    const int slowMs = parser.value(slow).toInt();
    const QString mode = parser.value(challenge);
    if (mode == "right")
        faults.challenge = SimMisbehaviour::Challenge::Right;
    else if (mode == "wrong")
        faults.challenge = SimMisbehaviour::Challenge::Wrong;
    else if (mode == "nine-digits")
        faults.challenge = SimMisbehaviour::Challenge::NineDigits;
    else if (mode == "refuse-first")
        faults.challenge = SimMisbehaviour::Challenge::RefuseFirst;
    else
        return fail("bad --challenge");

    if (parser.isSet(logPath)) {
        logFile = std::fopen(QFile::encodeName(parser.value(logPath)).constData(), "a");
        if (!logFile)
            return fail("cannot open the log file");
    }

    const QString programFolder =
        parser.isSet(folder) ? parser.value(folder) : QCoreApplication::applicationDirPath();
    const QString portsFolder = programFolder + QStringLiteral("/ports");
    QDir().mkpath(portsFolder);
    const QByteArray link =
        QFile::encodeName(portsFolder + QStringLiteral("/COM%1").arg(comNumber));
    installSignals();
    ::unlink(link.constData()); // a link left behind by a simulator that was killed
    const QByteArray name = "COM" + QByteArray::number(comNumber);
    Terminal terminal;
    if (!terminal.open(link, name))
        return 2;

    SimTransmitter transmitter(profile, faults);
    QByteArray input;
    while (!stopRequested) {
        struct pollfd pfd = {terminal.master, POLLIN, 0};
        const int ready = poll(&pfd, 1, 100);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0 || !(pfd.revents & POLLIN))
            continue;
        char buffer[1024];
        const ssize_t n = ::read(terminal.master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        input.append(buffer, n);

        for (qsizetype end; !stopRequested && (end = input.indexOf("\r\n")) >= 0;) {
            const QByteArray command = input.left(end + 2);
            input.remove(0, end + 2);
            logLine("<- [" + QByteArray::number(command.size()) + " bytes] " + visible(command));
            if (transmitter.hangsUpOn(command)) {
                // Unplugged: the station's end of the line goes dead, and a
                // new line appears when the transmitter is back.
                logLine("-- hung up");
                terminal.close(link);
                input.clear();
                pause(awayMs);
                if (stopRequested || !terminal.open(link, name))
                    break;
                continue;
            }
            const QList<QByteArray> pieces = transmitter.answer(command);
            if (pieces.isEmpty()) {
                logLine("-- (no answer)");
                continue;
            }
            pause(slowMs);
            for (int i = 0; i < pieces.size() && !stopRequested; ++i) {
                if (i > 0)
                    pause(splitPauseMs);
                writeAll(terminal.master, pieces[i]);
                logLine("-> " + visible(pieces[i]));
            }
        }
        // A line that never ends is noise; do not let it grow without bound.
        if (input.size() > 4096)
            input.clear();
    }

    terminal.close(link);
    logLine("stopped");
    return 0;
}
