// The connection manager: scanning, switching off and waking, what the windows
// are told, the log entries and the About texts. The transmitters here are
// the simulator's protocol logic behind scripted ports.

#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>
#include <utility>

#include "fakeclock.h"
#include "fakeport.h"
#include "simtransmitter.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "transmitter/transmitterlink.h"

namespace {

// Records what the link told the windows. UI texts are their keys in
// brackets, unless a test gives a text.
class Recorder {
public:
    QStringList events;
    QMap<QString, QString> texts;

    QString uiText(const QString& key) const {
        return texts.value(key, QStringLiteral("[%1]").arg(key));
    }
    void listen(TransmitterLink& link) {
        QObject::connect(
            &link, &TransmitterLink::stateChanged, [this](TransmitterLink::LinkState state) {
                events << QStringLiteral("state ") +
                              QString::fromLatin1(
                                  QMetaEnum::fromType<TransmitterLink::LinkState>().valueToKey(
                                      int(state)));
            });
        QObject::connect(&link, &TransmitterLink::settingsApplied,
                         [this] { events << QStringLiteral("refresh"); });
        QObject::connect(&link, &TransmitterLink::settingRefused, [this](const QString& text) {
            events << QStringLiteral("warning ") + text;
        });
    }

    QStringList take() { return std::exchange(events, {}); }
};

// COM ports with simulated transmitters on some of them. Opening a port
// without one fails, as a missing device does.
class PortBench {
public:
    std::map<int, std::shared_ptr<SimTransmitter>> transmitters;
    QList<int> opened;
    QList<QByteArray> traffic; // "COMn <command>"

    SimTransmitter& put(int n, const SimProfile& profile = SimProfile(),
                        const SimMisbehaviour& faults = SimMisbehaviour()) {
        transmitters[n] = std::make_shared<SimTransmitter>(profile, faults);
        return *transmitters[n];
    }

    SerialPortOpener opener() {
        return [this](int n) -> std::unique_ptr<SerialPort> {
            opened << n;
            const auto found = transmitters.find(n);
            if (found == transmitters.end())
                return nullptr;
            auto port = std::make_unique<FakePort>();
            std::shared_ptr<SimTransmitter> transmitter = found->second;
            port->setResponder([this, n, transmitter](const QByteArray& command) {
                traffic << "COM" + QByteArray::number(n) + " " + command.chopped(2);
                return transmitter->answer(command);
            });
            return port;
        };
    }

    QList<QByteArray> takeTraffic() { return std::exchange(traffic, {}); }
};

SimMisbehaviour silentDevice() {
    SimMisbehaviour faults;
    faults.silent = true;
    return faults;
}

} // namespace

class TestTransmitterLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void connectScansThenRemembersThePort();
    void lostPortIsFoundAgainByScanning();
    void failedConnectionChangesNothing();
    void switchOffAndWakeWithoutScanning();
    void refusedSwitchOffStillCountsAsSwitchedOff();
    void refreshActionTouchesNothing();
    void applyFromUi_data();
    void applyFromUi();
    void aboutTexts();
    void formatTenths_data();
    void formatTenths();

private:
    QStringList logLines() const;

    std::unique_ptr<QTemporaryDir> folder;
    FakeClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    Recorder observer;
    PortBench bench;
    std::unique_ptr<TransmitterLink> link;
};

void TestTransmitterLink::init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("log")));
    SetAppFolderForTests(folder->path());
    SetEventLogClock(&clock);
    observer = Recorder();
    bench = PortBench();
    link = std::make_unique<TransmitterLink>(
        [this](const QString& key) { return observer.uiText(key); });
    observer.listen(*link);
    link->setPortOpener(bench.opener());
}

void TestTransmitterLink::cleanup() {
    link.reset();
    SetEventLogClock(nullptr);
    SetAppFolderForTests(QString());
    folder.reset();
}

QStringList TestTransmitterLink::logLines() const {
    QFile file(folder->path() + QStringLiteral("/log/2026-3.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line.chopped(1).mid(9)); // time stamp and CR off
    }
    return lines;
}

void TestTransmitterLink::connectScansThenRemembersThePort() {
    SimProfile profile;
    profile.product = "FM-30";
    bench.put(2, SimProfile(), silentDevice());
    bench.put(4, profile);

    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    QCOMPARE(bench.opened, QList<int>({1, 2, 3, 4}));
    QCOMPARE(link->lastPort(), 4);
    QVERIFY(link->IsConnected());
    const QList<QByteArray> traffic = bench.takeTraffic();
    QCOMPARE(traffic.size(), 5);
    QVERIFY(traffic[0].startsWith("COM2 AT+CONNECT")); // silent: no second try
    QVERIFY(traffic[1].startsWith("COM4 AT+CONNECT"));
    QCOMPARE(traffic.mid(2),
             QList<QByteArray>({"COM4 AT+PRODUCT", "COM4 AT+INFO", "COM4 AT+STATUS"}));
    QCOMPARE(link->product().productInfo, QStringLiteral("FM-30"));
    QCOMPARE(link->info().freqMax, 1080);
    QCOMPARE(link->status().frequency, 881);
    QCOMPARE(observer.take(), QStringList{"state Connected"});

    QVERIFY(link->ChangeDeviceState(kDeviceDisconnect));
    QVERIFY(!link->hasPort());
    QCOMPARE(bench.takeTraffic(), QList<QByteArray>{"COM4 AT+DISCONNECT"});
    QCOMPARE(observer.take(), QStringList{"state NotConnected"});
    QCOMPARE(link->status().frequency, 881); // the records keep their last values

    bench.opened.clear();
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    QCOMPARE(bench.opened, QList<int>{4});
    QCOMPARE(logLines(), QStringList({"Connecting device...", "[ok_connect_device]", "Disconnect!",
                                      "Connecting device...", "[ok_connect_device]"}));
}

void TestTransmitterLink::lostPortIsFoundAgainByScanning() {
    bench.put(4);
    QVERIFY(link->Connect());
    link->Disconnect();
    bench.transmitters.erase(4);
    bench.put(6);
    bench.opened.clear();
    QVERIFY(link->Connect());
    QCOMPARE(bench.opened, QList<int>({4, 1, 2, 3, 4, 5, 6}));
    QCOMPARE(link->lastPort(), 6);
}

void TestTransmitterLink::failedConnectionChangesNothing() {
    SimMisbehaviour wrong;
    wrong.challenge = SimMisbehaviour::Challenge::Wrong;
    bench.put(3, SimProfile(), wrong);
    QVERIFY(!link->ChangeDeviceState(kDeviceConnect));
    QCOMPARE(bench.opened, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    QVERIFY(!link->hasPort());
    QCOMPARE(link->lastPort(), 0);
    QVERIFY(observer.events.isEmpty());
    QCOMPARE(logLines(), QStringList({"Connecting device...", "Failed to connect device!"}));
}

void TestTransmitterLink::switchOffAndWakeWithoutScanning() {
    SimTransmitter& transmitter = bench.put(1);
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    observer.take();
    bench.takeTraffic();

    QVERIFY(link->ChangeDeviceState(kDeviceSwitchOffOrWake));
    QVERIFY(link->switchedOff());
    QVERIFY(!link->IsConnected());
    QVERIFY(!transmitter.outputOn());
    QCOMPARE(bench.takeTraffic(), QList<QByteArray>{"COM1 AT+OFF"});
    QCOMPARE(observer.take(), QStringList{"state SwitchedOff"});

    // Pressing the button again wakes the transmitter on the open port.
    bench.opened.clear();
    QVERIFY(link->ChangeDeviceState(kDeviceSwitchOffOrWake));
    QVERIFY(bench.opened.isEmpty());
    QVERIFY(link->IsConnected());
    QVERIFY(transmitter.outputOn());
    const QList<QByteArray> traffic = bench.takeTraffic();
    QVERIFY(traffic.first().startsWith("COM1 AT+CONNECT"));
    QCOMPARE(observer.take(), QStringList{"state Connected"});
    QCOMPARE(logLines().mid(2),
             QStringList({"Shutdown!", "Connecting device...", "[ok_connect_device]"}));
}

void TestTransmitterLink::refusedSwitchOffStillCountsAsSwitchedOff() {
    SimMisbehaviour faults;
    faults.refuse = {"AT+OFF"};
    bench.put(1, SimProfile(), faults);
    QVERIFY(link->Connect());
    QVERIFY(!link->SwitchOff());
    QVERIFY(link->switchedOff());
    QVERIFY(link->SwitchOff()); // already off: no exchange
    QCOMPARE(bench.traffic.count("COM1 AT+OFF"), 1);
    QCOMPARE(logLines(), QStringList{"Failed to shutdown device!"});
    QVERIFY(link->Connect());
    QVERIFY(link->IsConnected());
}

void TestTransmitterLink::refreshActionTouchesNothing() {
    QVERIFY(link->ChangeDeviceState(kDeviceRefresh));
    QVERIFY(link->ChangeDeviceState(42));
    // The windows show the state again; the transmitter is not asked.
    QCOMPARE(observer.take(), QStringList({"state NotConnected", "state NotConnected"}));
    QVERIFY(bench.opened.isEmpty());
    QVERIFY(logLines().isEmpty());
}

void TestTransmitterLink::applyFromUi_data() {
    QTest::addColumn<QStringList>("refuse");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("refused frequency")
        << QStringList{"AT+FREQ="} << int(kSetFrequency | kSetVolume)
        << int(kSetFailed | kSetFrequency)
        << QStringList{"warning Could not change Frequency (%d (%d 100%)", "refresh"};
    QTest::newRow("refused volume after the frequency")
        << QStringList{"AT+VOLUME="} << int(kSetFrequency | kSetVolume)
        << int(kSetFailed | kSetVolume)
        << QStringList{"warning Could not change [volumn] (%d 100%)", "refresh"};
    QTest::newRow("applied") << QStringList{} << int(kSetFrequency | kSetVolume)
                             << int(kSetFrequency | kSetVolume) << QStringList{"refresh"};
    QTest::newRow("nothing changed") << QStringList{} << int(kSetStereo) << 0 << QStringList{};
}

void TestTransmitterLink::applyFromUi() {
    QFETCH(QStringList, refuse);
    QFETCH(int, mask);
    QFETCH(int, result);
    QFETCH(QStringList, events);

    SimMisbehaviour faults;
    for (const QString& prefix : refuse)
        faults.refuse << prefix.toLatin1();
    bench.put(1, SimProfile(), faults);
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    observer.take();
    // A translated text with a conversion it does not get, and one it must not touch.
    observer.texts["fmt_modify_err"] = QStringLiteral("Could not change %s (%d 100%%)");
    observer.texts["cur_freq"] = QStringLiteral("Frequency (%d");

    TransmitterStatus settings = link->status();
    settings.frequency = 1003;
    settings.volume = 12;
    QCOMPARE(link->ApplyFromUi(settings, mask), result);
    QCOMPARE(observer.take(), events);
    if (!(result & kSetFailed) && (mask & kSetFrequency))
        QCOMPARE(link->status().frequency, 1003);
}

void TestTransmitterLink::aboutTexts() {
    QCOMPARE(link->AboutProductText(), QStringLiteral("[none]"));
    QCOMPARE(link->AboutDeviceText(), QStringLiteral("[none]"));

    SimProfile profile;
    profile.manufacturer = "Maker";
    profile.product = "FM-30";
    profile.firmware = "1.4";
    profile.software = "2.0";
    profile.powerMin = 5;
    profile.powerMax = 300;
    profile.btSupport = false;
    bench.put(1, profile);
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    QCOMPARE(link->AboutProductText(),
             QStringLiteral("[man_info]: \tMaker\r\n[proc_info]: \tFM-30\r\n[fw_ver]: \t1.4\r\n"
                            "[sw_ver]: \t2.0\r\n"));
    QCOMPARE(link->AboutDeviceText(), QStringLiteral(u"[freq_range]: \t87.5 ~ 108.0 Mhz\r\n"
                                                     u"[power_range]: \t0.5 ~ 30.0 W\r\n"
                                                     u"[volumn_range]: \t0 ~ 15\r\n"
                                                     u"[power_measure]:\t[support]\r\n"
                                                     u"[preemphasis]: \t\t[support]\r\n"
                                                     u"[temp_support]: \t[support]\r\n"
                                                     u"[bluetooth]: \t\t[unsupport]\r\n"
                                                     u"分区: \t\t[support]\r\n"));

    link->Disconnect();
    profile.powerLevels = {5, 10, 20};
    profile.volumeControl = false;
    profile.partitionSupport = false;
    bench.put(1, profile);
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    const QStringList lines = link->AboutDeviceText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines[1], QStringLiteral("[power_range]: \t0.5W; 1.0W; 2.0W; "));
    QCOMPARE(lines[2], QStringLiteral("[volumn_range]: \t[unsupport]"));
    QCOMPARE(lines[7], QStringLiteral(u"分区: \t\t[unsupport]"));

    QVERIFY(link->ChangeDeviceState(kDeviceSwitchOffOrWake));
    QCOMPARE(link->AboutProductText(), QStringLiteral("[none]"));
}

void TestTransmitterLink::formatTenths_data() {
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("text");
    QTest::newRow("frequency") << 881 << "88.1";
    QTest::newRow("top of the band") << 1080 << "108.0";
    QTest::newRow("below one") << 5 << "0.5";
    QTest::newRow("zero") << 0 << "0.0";
    QTest::newRow("below zero") << -35 << "-3.5";
    QTest::newRow("just below zero") << -5 << "-0.5";
}

void TestTransmitterLink::formatTenths() {
    QFETCH(int, tenths);
    QFETCH(QString, text);
    QCOMPARE(FormatTenths(tenths), text);
}

QTEST_GUILESS_MAIN(TestTransmitterLink)
#include "tst_transmitterlink.moc"
