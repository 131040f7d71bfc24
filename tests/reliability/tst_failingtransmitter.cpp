// The connection manager on a real pseudo-terminal against a transmitter that
// fails: it falls silent halfway, answers noise or far too much, answers in
// pieces, or goes away altogether and comes back. Every call returns within
// the transport's own time-outs, the link shows what is true, and a
// connection afterwards works.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "simulatorprocess.h"
#include "support/apppaths.h"
#include "transmitter/serialtransport.h"
#include "transmitter/transmitterlink.h"

namespace {

constexpr int kCom = 1;
// Starting a call, the scan of the ports that lead nowhere and a busy
// machine, on top of the time-outs a call may wait out.
constexpr int kSlackMs = 2500;

QString statusText(const TransmitterStatus& s) {
    QStringList fields;
    for (qint64 v : {qint64(s.frequency), qint64(s.power), qint64(s.forwardPower),
                     qint64(s.reflectedPower), qint64(s.volume), qint64(s.preemphasis),
                     qint64(s.temperature), qint64(s.rdsId), qint64(s.stereo), qint64(s.bluetooth),
                     qint64(s.partitionA), qint64(s.partitionB), qint64(s.partitionC)})
        fields << QString::number(v);
    return fields.join(u',');
}

QString infoText(const TransmitterInfo& i) {
    QStringList fields;
    for (qint64 v : {qint64(i.freqMin), qint64(i.freqMax), qint64(i.volumeMin), qint64(i.volumeMax),
                     qint64(i.powerMin), qint64(i.powerMax), qint64(i.powerLevelCount),
                     qint64(i.volumeControl), qint64(i.powerMeasure), qint64(i.preemphasisSupport),
                     qint64(i.tempSupport), qint64(i.btSupport), qint64(i.partitionSupport)})
        fields << QString::number(v);
    for (qint32 level : i.powerLevels)
        fields << QString::number(level);
    return fields.join(u',');
}

QString productText(const TransmitterProduct& p) {
    return QStringList{p.manufacturerInfo, p.productInfo, p.firmwareVersion, p.softwareVersion}
        .join(u'|');
}

// What the link holds, each record as the transmitter told it or cleared.
struct Records {
    QString product, info, status;
    static Records of(const TransmitterLink& link) {
        return {productText(link.product()), infoText(link.info()), statusText(link.status())};
    }
};

} // namespace

class TestFailingTransmitter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void failuresAreSurvived_data();
    void failuresAreSurvived();
    void switchedOffTransmitterGoesAway();

private:
    // Runs one call and checks that it returned within `maxMs`.
    template <typename Call> auto timed(const char* what, int maxMs, Call call) {
        QElapsedTimer timer;
        timer.start();
        auto result = call();
        const qint64 took = timer.elapsed();
        if (fullRun)
            qInfo("%s: %lld ms of %d allowed", what, took, maxMs);
        [&] {
            QVERIFY2(took <= maxMs,
                     qPrintable(QString::fromLatin1(what) + QStringLiteral(" took ") +
                                QString::number(took) + QStringLiteral(" ms")));
        }();
        return result;
    }
    // ChangeDeviceState, timed; the windows must hear the state the link is
    // in after a change, and nothing after a failed connection.
    bool change(TransmitterLink& link, int action, const char* what, int maxMs);
    bool waitForLink(int ms) const;
    void expectTruthAfterConnecting(TransmitterLink& link);

    // Rows that wait out more than one time-out run only in the full run.
    const bool fullRun = qEnvironmentVariableIntValue("TOLVANE_RELIABILITY_FULL") != 0;
    std::unique_ptr<QTemporaryDir> folder;
    Records truth;
    Records cleared;
};

void TestFailingTransmitter::initTestCase() {
    // The records a well-behaved transmitter gives, to tell true from stale.
    init();
    {
        SimulatorProcess sim(folder->path(), kCom, {});
        QVERIFY(sim.ready());
        TransmitterLink link;
        QVERIFY(link.ChangeDeviceState(kDeviceConnect));
        truth = Records::of(link);
        link.Disconnect();
    }
    cleared = Records::of(TransmitterLink());
    QVERIFY(truth.product != cleared.product && truth.status != cleared.status);
    cleanup();
}

void TestFailingTransmitter::init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QVERIFY(QDir(folder->path()).mkpath(QStringLiteral("ports")));
    // The other ports lead nowhere, whatever adapters this machine has.
    for (int n = 1; n <= 9; ++n) {
        if (n != kCom)
            QFile::link(folder->path() + QStringLiteral("/nothing"),
                        folder->path() + QStringLiteral("/ports/COM") + QString::number(n));
    }
    SetAppFolderForTests(folder->path());
}

void TestFailingTransmitter::cleanup() {
    SetAppFolderForTests(QString());
    folder.reset();
}

bool TestFailingTransmitter::change(TransmitterLink& link, int action, const char* what,
                                    int maxMs) {
    QSignalSpy told(&link, &TransmitterLink::stateChanged);
    const bool done = timed(what, maxMs, [&] { return link.ChangeDeviceState(action); });
    [&] {
        QCOMPARE(told.size(), done ? 1 : 0);
        if (done)
            QCOMPARE(told.at(0).at(0).value<TransmitterLink::LinkState>(), link.state());
    }();
    return done;
}

bool TestFailingTransmitter::waitForLink(int ms) const {
    const QString link = folder->path() + QStringLiteral("/ports/COM") + QString::number(kCom);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (QFileInfo::exists(link))
            return true;
        QThread::msleep(20);
    }
    return false;
}

void TestFailingTransmitter::expectTruthAfterConnecting(TransmitterLink& link) {
    QVERIFY(change(link, kDeviceConnect, "connecting again", 3000));
    QCOMPARE(link.state(), TransmitterLink::LinkState::Connected);
    QCOMPARE(Records::of(link).product, truth.product);
    QCOMPARE(Records::of(link).info, truth.info);
    QCOMPARE(Records::of(link).status, truth.status);
}

// Each row: how the transmitter fails; whether connecting succeeds and which
// records then hold the truth (the others must be cleared, never stale); the
// waits that connecting and a change of the volume may meet (whole transport
// time-outs, or the transmitter's own pauses); and whether the same
// transmitter answers again afterwards.
void TestFailingTransmitter::failuresAreSurvived_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("connects");
    QTest::addColumn<QString>("trueRecords");
    QTest::addColumn<int>("connectMs");
    QTest::addColumn<bool>("applies");
    QTest::addColumn<int>("applyMs");
    QTest::addColumn<bool>("comesBack");

    const int t = kSerialTimeoutMs;
    QTest::newRow("silent after the handshake")
        << QStringList{"--silent-after", "1"} << true << "" << 3 * t << false << t << false;
    QTest::newRow("half the status reply, then silence")
        << QStringList{"--cut-on", "AT+STATUS"} << true << "product info" << t << true << 0
        << false;
    QTest::newRow("noise for the capabilities") << QStringList{"--garbage-on", "AT+INFO"} << true
                                                << "product status" << t << true << 0 << false;
    QTest::newRow("1000 bytes for the product lines")
        << QStringList{"--garbage-on", "AT+PRODUCT", "--garbage-size", "1000", "--garbage-ok"}
        << true << "info status" << 0 << true << 0 << false;
    QTest::newRow("noise for the challenge")
        << QStringList{"--garbage-on", "AT+CONNECT"} << false << "" << 2 * t << false << 0 << false;
    QTest::newRow("pieces with pauses under the time-out")
        << QStringList{"--piece-size", "64", "--split-pause", "1500"} << true
        << "product info status" << 7500 << true << 1500 << false;
    QTest::newRow("a pause longer than the time-out")
        << QStringList{"--split", "4", "--split-pause", "6000"} << false << "" << 2 * t << false
        << 0 << false;
    QTest::newRow("line closed on the status query, back a second later")
        << QStringList{"--hang-up-on", "AT+STATUS", "--away", "1000"} << true << "product info" << t
        << false << t << true;
    QTest::newRow("line closed on the challenge, back a second later")
        << QStringList{"--hang-up-on", "AT+CONNECT", "--away", "1000"} << false << "" << t << false
        << 0 << true;
}

void TestFailingTransmitter::failuresAreSurvived() {
    QFETCH(QStringList, options);
    QFETCH(bool, connects);
    QFETCH(QString, trueRecords);
    QFETCH(int, connectMs);
    QFETCH(bool, applies);
    QFETCH(int, applyMs);
    QFETCH(bool, comesBack);
    if (!fullRun && connectMs + applyMs > kSerialTimeoutMs)
        QSKIP("waits out several time-outs: in the full run only");

    auto sim = std::make_unique<SimulatorProcess>(folder->path(), kCom, options);
    QVERIFY(sim->ready());
    TransmitterLink link;
    QSignalSpy refused(&link, &TransmitterLink::settingRefused);

    QCOMPARE(change(link, kDeviceConnect, "connecting", connectMs + kSlackMs), connects);
    QCOMPARE(link.IsConnected(), connects);
    QCOMPARE(link.state(), connects ? TransmitterLink::LinkState::Connected
                                    : TransmitterLink::LinkState::NotConnected);
    const Records held = Records::of(link);
    QCOMPARE(held.product, trueRecords.contains("product") ? truth.product : cleared.product);
    QCOMPARE(held.info, trueRecords.contains("info") ? truth.info : cleared.info);
    QCOMPARE(held.status, trueRecords.contains("status") ? truth.status : cleared.status);

    if (connects) {
        TransmitterStatus wanted = link.status();
        wanted.volume = 3;
        const int result = timed("changing the volume", applyMs + kSlackMs,
                                 [&] { return link.ApplyFromUi(wanted, kSetVolume); });
        QCOMPARE(result, applies ? int(kSetVolume) : int(kSetFailed | kSetVolume));
        QCOMPARE(refused.size(), applies ? 0 : 1);
        if (applies)
            QCOMPARE(link.status().volume, 3);
    }

    // Saying goodbye to a transmitter that does not answer costs one time-out.
    QVERIFY(change(link, kDeviceDisconnect, "disconnecting", kSerialTimeoutMs + kSlackMs));
    QCOMPARE(link.state(), TransmitterLink::LinkState::NotConnected);
    QVERIFY(!link.hasPort());

    if (!comesBack) {
        sim.reset();
        sim = std::make_unique<SimulatorProcess>(folder->path(), kCom, QStringList{});
        QVERIFY(sim->ready());
    }
    QVERIFY2(waitForLink(5000), "the transmitter did not come back");
    expectTruthAfterConnecting(link);
    link.Disconnect();
}

// A transmitter that goes away as it is switched off: the link stays switched
// off, waking it fails without waiting long, and once it is back a new
// connection works.
void TestFailingTransmitter::switchedOffTransmitterGoesAway() {
    SimulatorProcess sim(folder->path(), kCom, {"--hang-up-on", "AT+OFF", "--away", "1500"});
    QVERIFY(sim.ready());
    TransmitterLink link;
    QVERIFY(link.ChangeDeviceState(kDeviceConnect));

    QVERIFY(change(link, kDeviceSwitchOffOrWake, "switching off", kSerialTimeoutMs + kSlackMs));
    QCOMPARE(link.state(), TransmitterLink::LinkState::SwitchedOff);
    QVERIFY(!change(link, kDeviceSwitchOffOrWake, "waking", kSerialTimeoutMs + kSlackMs));
    QCOMPARE(link.state(), TransmitterLink::LinkState::SwitchedOff);
    QCOMPARE(Records::of(link).status, truth.status);

    QVERIFY(change(link, kDeviceDisconnect, "disconnecting", kSerialTimeoutMs + kSlackMs));
    QCOMPARE(link.state(), TransmitterLink::LinkState::NotConnected);
    QVERIFY2(waitForLink(5000), "the transmitter did not come back");
    expectTruthAfterConnecting(link);
    link.Disconnect();
}

QTEST_GUILESS_MAIN(TestFailingTransmitter)
#include "tst_failingtransmitter.moc"
