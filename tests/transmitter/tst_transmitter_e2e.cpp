// The real serial transport and connection manager against the transmitter
// simulator on a pseudo-terminal.

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "simulatorprocess.h"
#include "support/apppaths.h"
#include "transmitter/serialport.h"
#include "transmitter/serialtransport.h"
#include "transmitter/transmitterlink.h"

namespace {

// Passes everything through to the real port and notes the size of every chunk.
class ChunkRecorder : public SerialPort {
public:
    explicit ChunkRecorder(std::unique_ptr<SerialPort> real) : port(std::move(real)) {}
    QList<qint64> chunks;

    qint64 writeChunk(const char* data, qint64 size, int timeoutMs) override {
        chunks << size;
        return port->writeChunk(data, size, timeoutMs);
    }
    qint64 readSome(char* buffer, qint64 capacity, int timeoutMs) override {
        return port->readSome(buffer, capacity, timeoutMs);
    }
    void clearErrors() override { port->clearErrors(); }
    void discardInput() override { port->discardInput(); }

private:
    std::unique_ptr<SerialPort> port;
};

// What the link told the windows: its last state and its warnings.
struct LinkEvents {
    explicit LinkEvents(TransmitterLink& link) {
        QObject::connect(&link, &TransmitterLink::stateChanged,
                         [this](TransmitterLink::LinkState s) { state = s; });
        QObject::connect(&link, &TransmitterLink::settingRefused,
                         [this](const QString& text) { warnings << text; });
    }
    TransmitterLink::LinkState state = TransmitterLink::LinkState::NotConnected;
    QStringList warnings;
};

} // namespace

class TestTransmitterEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void transport_data();
    void transport();
    void longCommandGoesOutInChunks();
    void missingPortFailsAtOnce();
    void scanFindsTheTransmitterThenTriesItsPortFirst();
    void switchOffWakeAndDisconnect();
    void applyFromUiReadsValuesBack();

private:
    // A port mapping to nothing, so that the test does not depend on the
    // serial adapters of the machine it runs on.
    void mapToNothing(int com);

    std::unique_ptr<QTemporaryDir> folder;
};

void TestTransmitterEndToEnd::init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("ports")));
    SetAppFolderForTests(folder->path());
}

void TestTransmitterEndToEnd::cleanup() {
    SetAppFolderForTests(QString());
    folder.reset();
}

void TestTransmitterEndToEnd::mapToNothing(int com) {
    QVERIFY(QFile::link(folder->path() + QStringLiteral("/no-such-device"),
                        folder->path() + QStringLiteral("/ports/COM%1").arg(com)));
}

void TestTransmitterEndToEnd::transport_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    QTest::newRow("reply split after the carriage return")
        << QStringList{"--volume", "12", "--split", "3"} << QByteArray("AT+VOLUME?\r\n") << 4
        << QByteArray("12\r\n") << 0 << 3000;
    QTest::newRow("lower-case ok")
        << QStringList{"--volume", "12", "--lowercase-ok"} << QByteArray("AT+VOLUME?\r\n") << 4
        << QByteArray("12\r\n") << 0 << 3000;
    QTest::newRow("slow but in time") << QStringList{"--slow", "1500"} << QByteArray("AT+FREQ?\r\n")
                                      << 5 << QByteArray("881\r\n") << 1400 << 4500;
    QTest::newRow("refused") << QStringList{} << QByteArray("AT+FREQ=2000\r\n") << -5
                             << QByteArray() << 0 << 3000;
    // The buffer fills up: the answer is known without waiting for silence.
    QTest::newRow("300 bytes without terminator")
        << QStringList{"--unterminated", "AT+PRODUCT",       "--manufacturer", QString(120, u'M'),
                       "--product",      QString(120, u'P'), "--firmware",     QString(120, u'F')}
        << QByteArray("AT+PRODUCT\r\n") << -5 << QByteArray() << 0 << 3000;
    QTest::newRow("silent port") << QStringList{"--silent"} << QByteArray("AT+STATUS\r\n") << -1
                                 << QByteArray() << 4500 << 8000;
}

void TestTransmitterEndToEnd::transport() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, command);
    QFETCH(int, result);
    QFETCH(QByteArray, payload);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    SimulatorProcess sim(folder->path(), 2, options);
    QVERIFY(sim.ready());
    std::unique_ptr<SerialPort> port = OpenSerialPort(2);
    QVERIFY(port);

    char reply[kReplyBufferSize];
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(SendCommand(port.get(), command, reply), result);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
    if (result >= 0)
        QCOMPARE(QByteArray(reply), payload);
    QCOMPARE(sim.commands(), QStringList{QString::fromLatin1(command.chopped(2))});

    port.reset();
    sim.stop();
    QVERIFY(sim.linkRemoved());
}

void TestTransmitterEndToEnd::longCommandGoesOutInChunks() {
    SimulatorProcess sim(folder->path(), 1, {});
    QVERIFY(sim.ready());
    ChunkRecorder port(OpenSerialPort(1));

    const QByteArray command = "AT+RDSID=" + QByteArray(589, 'a') + "\r\n";
    QCOMPARE(command.size(), 600);
    char reply[kReplyBufferSize];
    QCOMPARE(SendCommand(&port, command, reply), -5); // far too long for an identifier
    QCOMPARE(port.chunks, QList<qint64>({250, 250, 100}));
    QVERIFY(sim.logText().contains(QStringLiteral("<- [600 bytes] AT+RDSID=aaaa")));
}

void TestTransmitterEndToEnd::missingPortFailsAtOnce() {
    mapToNothing(7);
    QCOMPARE(SerialPortDeviceName(7), folder->path() + QStringLiteral("/ports/COM7"));
    QCOMPARE(SerialPortDeviceName(8), QStringLiteral("/dev/ttyUSB7"));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!OpenSerialPort(7));
    if (!QFileInfo::exists(QStringLiteral("/dev/ttyUSB7")))
        QVERIFY(!OpenSerialPort(8));
    QVERIFY(!OpenSerialPort(0));
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
}

void TestTransmitterEndToEnd::scanFindsTheTransmitterThenTriesItsPortFirst() {
    mapToNothing(1);
    mapToNothing(3);
    SimulatorProcess silent(folder->path(), 2, {"--silent"});
    SimulatorProcess transmitter(folder->path(), 4, {"--product", "FM-30"});
    QVERIFY(silent.ready());
    QVERIFY(transmitter.ready());

    TransmitterLink link;
    LinkEvents observer(link);
    QList<int> tried;
    link.setPortOpener([&tried](int n) {
        tried << n;
        return OpenSerialPort(n);
    });

    QElapsedTimer timer;
    timer.start();
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));
    QVERIFY2(timer.elapsed() >= 4500, "the silent port costs its read time-out");
    QCOMPARE(tried, QList<int>({1, 2, 3, 4}));
    QCOMPARE(link.lastPort(), 4);
    QVERIFY(link.IsConnected());
    QCOMPARE(link.product().productInfo, QStringLiteral("FM-30"));
    QCOMPARE(link.info().freqMin, 875);
    QCOMPARE(link.status().frequency, 881);
    QCOMPARE(observer.state, TransmitterLink::LinkState::Connected);
    QCOMPARE(silent.commands().size(), 1);

    QVERIFY(link.ChangeDeviceState(kDeviceDisconnect));
    QCOMPARE(transmitter.commands().last(), QStringLiteral("AT+DISCONNECT"));

    tried.clear();
    timer.restart();
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));
    QCOMPARE(tried, QList<int>{4});
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    link.Disconnect();
}

void TestTransmitterEndToEnd::switchOffWakeAndDisconnect() {
    SimulatorProcess sim(folder->path(), 1, {});
    QVERIFY(sim.ready());
    TransmitterLink link;
    LinkEvents observer(link);
    QList<int> tried;
    link.setPortOpener([&tried](int n) {
        tried << n;
        return OpenSerialPort(n);
    });
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));
    QCOMPARE(link.status().forwardPower, 48);

    QVERIFY(link.ChangeDeviceState(kDeviceSwitchOffOrWake));
    QCOMPARE(sim.commands().last(), QStringLiteral("AT+OFF"));
    QCOMPARE(observer.state, TransmitterLink::LinkState::SwitchedOff);

    tried.clear();
    QVERIFY(link.ChangeDeviceState(kDeviceSwitchOffOrWake)); // wakes
    QVERIFY(tried.isEmpty());
    QVERIFY(link.IsConnected());
    QCOMPARE(sim.commands().filter(QStringLiteral("AT+CONNECT")).size(), 2);
    QCOMPARE(link.status().forwardPower, 48);

    QVERIFY(link.ChangeDeviceState(kDeviceSwitchOffOrWake));
    QVERIFY(link.ChangeDeviceState(kDeviceDisconnect));
    QVERIFY(!link.hasPort());
    QCOMPARE(sim.commands().last(), QStringLiteral("AT+DISCONNECT"));
    QCOMPARE(observer.state, TransmitterLink::LinkState::NotConnected);

    // The port was given back: it opens again.
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));
    QVERIFY(link.IsConnected());
    link.Disconnect();
}

void TestTransmitterEndToEnd::applyFromUiReadsValuesBack() {
    SimulatorProcess sim(folder->path(), 1, {"--volume-range", "0-15"});
    QVERIFY(sim.ready());
    TransmitterLink link;
    LinkEvents observer(link);
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));

    TransmitterStatus settings = link.status();
    settings.frequency = 1003;
    settings.volume = 20; // out of range
    settings.partitionB = 0xEF;
    const int result = link.ApplyFromUi(settings, kSetFrequency | kSetVolume | kSetPartitions);
    QCOMPARE(result, int(kSetFailed | kSetVolume));
    QCOMPARE(observer.warnings, QStringList{"fmt_modify_err"}); // the key stands for its text
    QCOMPARE(link.status().frequency, 1003);

    settings.volume = 15;
    QCOMPARE(link.ApplyFromUi(settings, kSetFrequency | kSetVolume | kSetPartitions),
             int(kSetVolume | kSetPartitionB));
    QCOMPARE(
        sim.commands().mid(sim.commands().size() - 4),
        QStringList({"AT+VOLUME=15", "AT+VOLUME?", "AT+PARTITIONB=11101111", "AT+PARTITIONB?"}));
    link.QueryStatus();
    QCOMPARE(link.status().volume, 15);
    QCOMPARE(int(link.status().partitionB), 0xEF);
    link.Disconnect();
}

QTEST_GUILESS_MAIN(TestTransmitterEndToEnd)
#include "tst_transmitter_e2e.moc"
