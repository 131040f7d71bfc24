// The built program, end to end: a copy of the built program folder with a
// music task and a speech task in its data files, started as an operator
// starts it, on a virtual display (Xvfb) with a sound server whose only
// sink is a null sink. The test logs in the way a person does, by typing
// into the real login window (xdotool sends the keys through the X server),
// and then watches the station work: the event log must show the music task
// starting and its file playing, and the sound server must carry the
// station's music stream and then its voice.
//
// Why xdotool: the program has no way into the login other than its window,
// and it must not get one for tests. Driving the real window through the X
// server keeps the program exactly as shipped.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "sinkrecorder.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"

namespace {

const QString kMusicTask = QStringLiteral("E2E music");
const QString kSpeechTask = QStringLiteral("E2E speech");

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// Runs a short command and gives its standard output; empty on failure.
QString capture(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool copyFolder(const QString& from, const QString& to) {
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir()) {
            // The build's own data, log and ports stay out of the copy.
            if (entry.fileName() == QLatin1String("data") ||
                entry.fileName() == QLatin1String("log") ||
                entry.fileName() == QLatin1String("ports"))
                continue;
            if (!copyFolder(entry.filePath(), target))
                return false;
        } else if (!QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

class TestStationE2E : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void logsInPlaysAndSpeaks();

private:
    bool startDisplay();
    bool startSoundServer();
    bool writeData(const QString& musicFile);
    QString logText() const;
    QStringList sinkInputs(qint64 pid) const;

    QTemporaryDir work;
    QString station;
    QProcessEnvironment env;
    QProcess display;
    QProcess soundServer;
    QProcess program;
    QString displayName;
};

void TestStationE2E::initTestCase() {
    for (const char* needed : {"Xvfb", "xdotool", "pactl", "pulseaudio", "parec", "pacat", "sox"}) {
        if (tool(needed).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh)")
                                 .arg(QLatin1String(needed))));
    }
    QVERIFY(work.isValid());
    station = work.filePath(QStringLiteral("station"));
    QVERIFY(copyFolder(QStringLiteral(TOLVANE_BIN_DIR), station));
    // The shipped settings, not those a run from the build folder saved.
    QFile::remove(station + QStringLiteral("/app.conf"));
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/app.conf"),
                        station + QStringLiteral("/app.conf")));
    QFile::setPermissions(station + QStringLiteral("/app.conf"),
                          QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QDir(station).mkpath(QStringLiteral("data")));
    QVERIFY(QDir(station).mkpath(QStringLiteral("log")));
    QVERIFY(QFileInfo(station + QStringLiteral("/Tolvane")).isExecutable());

    env = QProcessEnvironment::systemEnvironment();
    // The program needs the real display, not the tests' offscreen one; its
    // single-instance guard goes into this test's own temporary folder.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("TMPDIR"), work.path());
    QVERIFY2(startDisplay(), "Xvfb did not start");
    env.insert(QStringLiteral("DISPLAY"), displayName);
    QVERIFY2(startSoundServer(), "no sound server answers and none could be started");
}

void TestStationE2E::cleanupTestCase() {
    stopProcess(program);
    stopProcess(soundServer);
    stopProcess(display);
}

bool TestStationE2E::startDisplay() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int number = 100 + int(QRandomGenerator::global()->bounded(800));
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        display.start(tool("Xvfb"), {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                                     QStringLiteral("0"), QStringLiteral("1280x800x24"),
                                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!display.waitForStarted(5000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000 && display.state() == QProcess::Running) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
                displayName = QStringLiteral(":%1").arg(number);
                return true;
            }
            QTest::qWait(50);
        }
        stopProcess(display);
    }
    return false;
}

bool TestStationE2E::startSoundServer() {
    if (!env.value(QStringLiteral("XDG_RUNTIME_DIR")).isEmpty() &&
        !capture(tool("pactl"), {QStringLiteral("info")}, env).isEmpty())
        return true;
    // A server of our own, in our own runtime folder, playing into nothing.
    const QString runtime = work.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    soundServer.setProcessEnvironment(env);
    soundServer.start(tool("pulseaudio"),
                      {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("-n"),
                       QStringLiteral("--load=module-null-sink sink_name=null"),
                       QStringLiteral("--load=module-native-protocol-unix")});
    if (!soundServer.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        if (!capture(tool("pactl"), {QStringLiteral("info")}, env).isEmpty())
            return true;
        QTest::qWait(100);
    }
    return false;
}

bool TestStationE2E::writeData(const QString& musicFile) {
    SystemClock clock;
    const QDateTime now = clock.now();
    const HhmmTime hhmm = now.time().hour() * 100 + now.time().minute();
    const YmdDate today = DateToYmd(now.date());
    // Minutes from now, kept inside today.
    const auto shifted = [&](int minutes) {
        const QTime t = now.time().addSecs(minutes * 60);
        if (minutes > 0 && t < now.time())
            return 2359;
        if (minutes < 0 && t > now.time())
            return 0;
        return t.hour() * 100 + t.minute();
    };

    SetAppFolderForTests(station);
    bool ok = false;
    {
        DataStore store(clock);
        store.LoadAll(); // the built-in Admin

        MusicTask music;
        music.name = kMusicTask;
        music.startDate = today;
        music.endDate = today;
        music.startTime = shifted(-1);
        music.endTime = shifted(30);
        music.weekdays = 0xFE;
        auto item = std::make_unique<PlayItem>();
        item->kind = PlayItem::Background;
        item->path = musicFile;
        item->playCount = kUnlimitedPlays;
        item->volume = 80;
        music.items.push_back(std::move(item));
        store.AddMusicTask(std::move(music));

        // Every minute from now on, so one falls due soon after the login.
        SpeechTask speech;
        speech.name = kSpeechTask;
        speech.startDate = today;
        speech.endDate = today;
        speech.startTime = hhmm;
        speech.endTime = shifted(15);
        speech.interval = 1;
        speech.weekdays = 0xFE;
        speech.text = QStringLiteral("This is the station test. The time is %Time%.");
        store.AddSpeechTask(speech);
        store.settings.speakDelay = 1;
        ok = store.SaveCommonFile() && store.SaveMusicTaskFile() && store.SaveSpeechFile();
    }
    SetAppFolderForTests(QString());
    return ok;
}

QString TestStationE2E::logText() const {
    QString text;
    const QDir log(station + QStringLiteral("/log"));
    for (const QString& name : log.entryList(QDir::Files)) {
        QFile file(log.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(file.readAll());
    }
    return text;
}

// The streams the sound server plays for the process, by media name.
QStringList TestStationE2E::sinkInputs(qint64 pid) const {
    const QString listing =
        capture(tool("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")}, env);
    QStringList names;
    for (const QString& block : listing.split(QStringLiteral("Sink Input #"))) {
        if (!block.contains(QStringLiteral("application.process.id = \"%1\"").arg(pid)))
            continue;
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("media\\.name = \"([^\"]*)\"")).match(block);
        if (m.hasMatch())
            names << m.captured(1);
    }
    return names;
}

void TestStationE2E::logsInPlaysAndSpeaks() {
    if (QTime::currentTime() > QTime(23, 40))
        QSKIP("the test's tasks would run into tomorrow; run it before 23:40");
    const QString music = work.filePath(QStringLiteral("tone.wav"));
    QCOMPARE(
        // Silent music: what the sink then plays that can be heard is the voice.
        QProcess::execute(tool("sox"),
                          {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                           QStringLiteral("-c"), QStringLiteral("2"), music, QStringLiteral("trim"),
                           QStringLiteral("0"), QStringLiteral("120")}),
        0);
    QVERIFY(writeData(music));

    // Started from its program folder, as the run command does.
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(station);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(work.filePath(QStringLiteral("station.out")));
    program.start(station + QStringLiteral("/Tolvane"), {});
    QVERIFY(program.waitForStarted(10000));
    const qint64 pid = program.processId();

    // The login window comes up after the splash and the main window.
    QString loginWindow;
    QElapsedTimer timer;
    timer.start();
    while (loginWindow.isEmpty() && timer.elapsed() < 30000) {
        QVERIFY2(program.state() == QProcess::Running, "the station ended early");
        loginWindow = capture(tool("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--name"), QStringLiteral(u"^用户登录$")},
                              env)
                          .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                          .value(0);
        if (loginWindow.isEmpty())
            QTest::qWait(200);
    }
    QVERIFY2(!loginWindow.isEmpty(), "no login window");

    // The name is offered ("Admin", the only account) and the focus is in
    // the password box: type the password and press Enter.
    const auto xdotool = [&](const QStringList& arguments) {
        return QProcess::execute(tool("xdotool"), arguments) == 0;
    };
    qputenv("DISPLAY", displayName.toLocal8Bit());
    QVERIFY(xdotool({QStringLiteral("windowfocus"), loginWindow}));
    QTest::qWait(300);
    QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"),
                     QStringLiteral("740286")}));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));

    // The music task starts and its file plays, through the sound server.
    const QString started = QStringLiteral("Start play task: ") + kMusicTask;
    const QString playing = QStringLiteral("Playing: tone.wav");
    timer.restart();
    while (timer.elapsed() < 30000 && !(logText().contains(started) && logText().contains(playing)))
        QTest::qWait(250);
    QVERIFY2(logText().contains(started), qPrintable(logText()));
    QVERIFY2(logText().contains(playing), qPrintable(logText()));
    QVERIFY2(!logText().contains(QStringLiteral("An unexpected error occurred!")),
             qPrintable(logText()));
    timer.restart();
    bool musicStream = false;
    while (!musicStream && timer.elapsed() < 15000) {
        musicStream = !sinkInputs(pid).filter(QStringLiteral("Playback Stream")).isEmpty();
        QTest::qWait(250);
    }
    QVERIFY2(musicStream, qPrintable(sinkInputs(pid).join(QLatin1Char(','))));

    // The speech task's next minute comes; the voice gets a stream of its
    // own beside the music (Qt's audio output, which only the voice uses),
    // and it is heard on the sink.
    SinkRecorder recorder(env);
    QVERIFY2(recorder.start(), "the sound server's sink cannot be recorded");
    timer.restart();
    bool voiceStream = false;
    while (!voiceStream && timer.elapsed() < 90000) {
        QVERIFY2(program.state() == QProcess::Running, "the station ended early");
        voiceStream = !sinkInputs(pid).filter(QStringLiteral("QtmPulseStream")).isEmpty();
        if (!voiceStream)
            QTest::qWait(500);
    }
    QVERIFY2(voiceStream, qPrintable(sinkInputs(pid).join(QLatin1Char(',')) + logText()));
    QTest::qWait(8000); // the announcement lasts about four seconds
    const int heardMs = recorder.loudMs();
    qInfo() << "voice heard for" << heardMs << "ms";
    QVERIFY2(heardMs >= 1000,
             qPrintable(QStringLiteral("voice heard for ") + QString::number(heardMs) +
                        QStringLiteral(" ms\n") + logText()));
    QVERIFY2(!logText().contains(QStringLiteral("Speech failed")), qPrintable(logText()));
    QVERIFY(program.state() == QProcess::Running);
    qInfo().noquote() << "event log of the run:\n" << logText();
    stopProcess(program);
}

QTEST_GUILESS_MAIN(TestStationE2E)
#include "tst_station_e2e.moc"
