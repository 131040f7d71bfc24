// The serial transport and the command protocol against a scripted port.

#include <QtTest>

#include "fakeport.h"
#include "transmitter/handshakeconstants.h"
#include "transmitter/serialtransport.h"
#include "transmitter/transmitterprotocol.h"

Q_DECLARE_METATYPE(FakePort::Reply)

namespace {

QString n(qint64 v, int base = 10) {
    return QString::number(v, base);
}

QString describe(const TransmitterStatus& s) {
    return QStringList{"freq=" + n(s.frequency),
                       "power=" + n(s.power),
                       "fwd=" + n(s.forwardPower),
                       "ref=" + n(s.reflectedPower),
                       "vol=" + n(s.volume),
                       "pre=" + n(s.preemphasis),
                       "temp=" + n(s.temperature),
                       "rds=" + n(s.rdsId, 16),
                       "stereo=" + n(s.stereo),
                       "bt=" + n(s.bluetooth),
                       "zones=" + n(s.partitionA, 16) + '/' + n(s.partitionB, 16) + '/' +
                           n(s.partitionC, 16)}
        .join(' ');
}

QString describe(const TransmitterInfo& i) {
    QStringList levels;
    for (int k = 0; k < i.powerLevelCount; ++k)
        levels << n(i.powerLevels[size_t(k)]);
    return QStringList{"freq=" + n(i.freqMin) + '-' + n(i.freqMax),
                       "vol=" + n(i.volumeControl) + ':' + n(i.volumeMin) + '-' + n(i.volumeMax),
                       "power=" + n(i.powerMin) + '-' + n(i.powerMax),
                       "levels=[" + levels.join(u',') + ']',
                       "measure=" + n(i.powerMeasure),
                       "pre=" + n(i.preemphasisSupport),
                       "temp=" + n(i.tempSupport),
                       "bt=" + n(i.btSupport),
                       "zones=" + n(i.partitionSupport)}
        .join(' ');
}

// A transmitter that answers the challenge: right, or in one of the ways a
// wrong device would.
enum class Answer { Right, WrongValue, NineDigits, NoLineEnd, RefuseFirst, RefuseAlways, Silent };

FakePort::Reply answerChallenge(const QByteArray& command, Answer how, int* refusals) {
    if (!command.startsWith("AT+CONNECT"))
        return {"OK\r\n"};
    if (how == Answer::Silent)
        return {};
    if (how == Answer::RefuseAlways || (how == Answer::RefuseFirst && (*refusals)++ == 0))
        return {"err\r\n"};
    const quint32 d = handshake::ChallengeValue(command.mid(10, 8).toUInt(nullptr, 16));
    const quint32 proof = how == Answer::WrongValue ? d + 1 : d;
    QByteArray text = QByteArray::number(handshake::MakeAnswer(proof, d % 10), 16);
    text = text.rightJustified(8, '0');
    if (how == Answer::NineDigits)
        text.prepend('0');
    return {text + (how == Answer::NoLineEnd ? "" : "\r\n") + "OK\r\n"};
}

} // namespace

class TestTransmitter : public QObject {
    Q_OBJECT

private slots:
    void sendCommand_data();
    void sendCommand();
    void sendCommandRejectsBadArguments();
    void sendCommandReportsDeviceFailures();
    void lateReplyIsNotTakenForTheNext();
    void writeGoesOutInChunks_data();
    void writeGoesOutInChunks();
    void payloadLines_data();
    void payloadLines();
    void queryStatus_data();
    void queryStatus();
    void queryInfo_data();
    void queryInfo();
    void queryProduct_data();
    void queryProduct();
    void failedQueryLeavesRecordsCleared();
    void zoneMasks_data();
    void zoneMasks();
    void handshake_data();
    void handshake();
    void applySettings_data();
    void applySettings();
    void applySettingsSendsEveryFieldInOrder();
};

void TestTransmitter::sendCommand_data() {
    QTest::addColumn<FakePort::Reply>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("split after the carriage return")
        << FakePort::Reply{"12\r", "\nOK\r\n"} << 4 << QByteArray("12\r\n");
    QTest::newRow("lower-case ok") << FakePort::Reply{"12\r\nok\r\n"} << 4 << QByteArray("12\r\n");
    QTest::newRow("terminator split in the middle")
        << FakePort::Reply{"7\r\nO", "K\r", "\n"} << 3 << QByteArray("7\r\n");
    QTest::newRow("bare OK") << FakePort::Reply{"OK\r\n"} << 0 << QByteArray();
    QTest::newRow("refusal") << FakePort::Reply{"err\r\n"} << -5 << QByteArray();
    QTest::newRow("refusal in capitals after text")
        << FakePort::Reply{"FREQ\r\nERR\r\n"} << -5 << QByteArray();
    QTest::newRow("silence") << FakePort::Reply{} << -1 << QByteArray();
    QTest::newRow("text, then silence") << FakePort::Reply{"12\r\n"} << -5 << QByteArray();
    QTest::newRow("OK without line end") << FakePort::Reply{"12OK"} << -5 << QByteArray();
    QTest::newRow("OK followed by more") << FakePort::Reply{"OK\r\nxx"} << -5 << QByteArray();
    QTest::newRow("300 bytes without terminator")
        << FakePort::Reply{QByteArray(200, 'x'), QByteArray(200, 'y')} << -5 << QByteArray();
    QTest::newRow("full buffer ending in OK")
        << FakePort::Reply{QByteArray(296, 'x') + "OK\r\n"} << 296 << QByteArray(296, 'x');
}

void TestTransmitter::sendCommand() {
    QFETCH(FakePort::Reply, reply);
    QFETCH(int, result);
    QFETCH(QByteArray, payload);

    FakePort port;
    port.queueReply(reply);
    char buffer[kReplyBufferSize];
    std::memset(buffer, '#', sizeof buffer);
    QCOMPARE(SendCommand(&port, "AT+VOLUME?\r\n", -1, buffer), result);
    QCOMPARE(port.commands, QList<QByteArray>{"AT+VOLUME?\r\n"});
    QVERIFY(port.maxReadCapacity <= kReplyBufferSize);
    if (result >= 0) {
        QCOMPARE(QByteArray(buffer, result), payload);
        QCOMPARE(buffer[result], '\0');
    }
}

void TestTransmitter::sendCommandRejectsBadArguments() {
    FakePort port;
    char reply[kReplyBufferSize] = "stale";
    QCOMPARE(SendCommand(nullptr, "AT+OFF\r\n", -1, reply), -3);
    QCOMPARE(reply[0], '\0');
    QCOMPARE(SendCommand(&port, nullptr, -1, reply), -3);
    QCOMPARE(SendCommand(&port, "", -1, reply), -3);
    QCOMPARE(SendCommand(&port, "AT+OFF\r\n", 0, reply), -3);
    QCOMPARE(SendCommand(&port, QByteArray(), reply), -3);
    QVERIFY(port.chunks.isEmpty());

    // An explicit length sends just that much.
    port.queueReply("OK\r\n");
    QCOMPARE(SendCommand(&port, "AT+OFF\r\nAT+DISCONNECT\r\n", 8, reply), 0);
    QCOMPARE(port.chunks, QList<QByteArray>{"AT+OFF\r\n"});
}

void TestTransmitter::sendCommandReportsDeviceFailures() {
    char reply[kReplyBufferSize];
    {
        FakePort stuck;
        stuck.failWrites(3);
        QCOMPARE(SendCommand(&stuck, "AT+OFF\r\n", -1, reply), -1);
        QCOMPARE(SerialLastError(), SerialError::Timeout);
    }
    {
        FakePort broken;
        broken.failWrites(-1);
        QCOMPARE(SendCommand(&broken, "AT+OFF\r\n", -1, reply), -2);
    }
    {
        FakePort unreadable;
        unreadable.failReads();
        QCOMPARE(SendCommand(&unreadable, "AT+OFF\r\n", -1, reply), -2);
    }
}

void TestTransmitter::lateReplyIsNotTakenForTheNext() {
    FakePort port;
    port.queueSilence();
    port.queueReply("5\r\nOK\r\n");
    char reply[kReplyBufferSize];
    QCOMPARE(SendCommand(&port, "AT+VOLUME?\r\n", -1, reply), -1);
    port.arrive("3\r\nOK\r\n"); // the first reply, too late
    QCOMPARE(SendCommand(&port, "AT+POWER?\r\n", -1, reply), 3);
    QCOMPARE(QByteArray(reply), QByteArray("5\r\n"));
}

void TestTransmitter::writeGoesOutInChunks_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("chunks");
    QTest::newRow("600 bytes") << 600 << QList<int>{250, 250, 100};
    QTest::newRow("exactly one chunk") << 250 << QList<int>{250};
    QTest::newRow("one byte over") << 251 << QList<int>{250, 1};
    QTest::newRow("nothing") << 0 << QList<int>{};
}

void TestTransmitter::writeGoesOutInChunks() {
    QFETCH(int, length);
    QFETCH(QList<int>, chunks);
    FakePort port;
    QByteArray bytes(length, 'a');
    for (int i = 0; i < length; ++i)
        bytes[i] = char('a' + i % 26);
    QCOMPARE(SerialWrite(&port, bytes.constData(), length), length);
    QList<int> sizes;
    for (const QByteArray& chunk : port.chunks)
        sizes << int(chunk.size());
    QCOMPARE(sizes, chunks);
    QCOMPARE(port.chunks.join(), bytes);
}

void TestTransmitter::payloadLines_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("two lines") << QByteArray("A=1\r\nB=2\r\n") << QList<QByteArray>{"A=1", "B=2"};
    QTest::newRow("last line without end")
        << QByteArray("A=1\r\nB") << QList<QByteArray>{"A=1", "B"};
    QTest::newRow("empty line ends")
        << QByteArray("A=1\r\n\r\nB=2\r\n") << QList<QByteArray>{"A=1"};
    QTest::newRow("leading empty line") << QByteArray("\r\nA=1") << QList<QByteArray>{};
    QTest::newRow("lone CR and LF stay")
        << QByteArray("A\rB\nC\r\n") << QList<QByteArray>{"A\rB\nC"};
    QTest::newRow("CR at the very end") << QByteArray("A\r") << QList<QByteArray>{"A\r"};
}

void TestTransmitter::payloadLines() {
    QFETCH(QByteArray, payload);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(PayloadLines(payload), lines);
}

void TestTransmitter::queryStatus_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("expected");

    TransmitterStatus s;
    s.frequency = 881;
    s.power = 50;
    s.forwardPower = 48;
    s.temperature = 365;
    s.rdsId = 0x1A2B;
    s.partitionA = 0x81;
    QTest::newRow("typical reply")
        << QByteArray("FREQ=881\r\nPOWER=5\r\nFWDPOW=4.8\r\nTEMP=36.5\r\n"
                      "RDSID=1a2b\r\nPARTITIONA=10000001\r\n")
        << describe(s);

    s = TransmitterStatus();
    s.forwardPower = 23;
    s.reflectedPower = 2;
    s.temperature = -35;
    QTest::newRow("decimals truncate after rounding to double")
        << QByteArray("FWDPOW=2.3\r\nREFPOW=0.29\r\nTEMP=-3.5\r\n") << describe(s);

    s = TransmitterStatus();
    s.frequency = 881;
    QTest::newRow("empty line ends parsing")
        << QByteArray("FREQ=881\r\n\r\nPOWER=5\r\n") << describe(s);

    s = TransmitterStatus();
    s.volume = 7;
    s.bluetooth = 1;
    s.stereo = 12;
    QTest::newRow("keys are exact; unknown and valueless lines skipped")
        << QByteArray("freq=900\r\nFOO=1\r\nFREQ\r\nBT=1\r\nSTEREO=12abc\r\nVOLUME= 7")
        << describe(s);

    s = TransmitterStatus();
    s.rdsId = 0x2345;
    s.partitionB = 0xC0;
    s.partitionC = 0xA0;
    s.preemphasis = 0;
    QTest::newRow("short zone texts, long identifiers, no digits")
        << QByteArray("RDSID=12345\r\nPARTITIONB=11\r\nPARTITIONC=1x1\r\nPREEMPHASIS=abc\r\n")
        << describe(s);

    s = TransmitterStatus();
    s.rdsId = 0xBEEF;
    s.power = 300;
    QTest::newRow("hex prefix, watts stored in tenths")
        << QByteArray("RDSID=0XBEEF\r\nPOWER=30\r\n") << describe(s);
}

void TestTransmitter::queryStatus() {
    QFETCH(QByteArray, payload);
    QFETCH(QString, expected);
    FakePort port;
    port.queueReply(payload + "OK\r\n");
    TransmitterStatus status;
    status.volume = 99; // whatever it held is cleared first
    QVERIFY(QueryStatus(&port, &status));
    QCOMPARE(port.commands, QList<QByteArray>{"AT+STATUS\r\n"});
    QCOMPARE(describe(status), expected);
}

void TestTransmitter::queryInfo_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("expected");

    TransmitterInfo i;
    i.freqMin = 875;
    i.freqMax = 1080;
    i.volumeControl = true;
    i.volumeMax = 15;
    i.powerMin = 10;
    i.powerMax = 300;
    i.powerMeasure = true;
    i.tempSupport = true;
    i.partitionSupport = true;
    QTest::newRow("continuous power range")
        << QByteArray("FREQ_RANGE:875-1080\r\nVOLUME_CONTROL:1,0-15\r\nPOWER_RANGE:1-30\r\n"
                      "POWER_MEASURE:1\r\nPREEMPHASIS_SUPPORT:0\r\nTEMP_SUPPORT:1\r\n"
                      "BT_SUPPORT:0\r\nPARTITION_SUPPORT:1\r\n")
        << describe(i);

    i = TransmitterInfo();
    i.powerLevels = {5, 10, 20};
    i.powerLevelCount = 3;
    QTest::newRow("power levels") << QByteArray("POWER_RANGE:0.5,1,2\r\n") << describe(i);

    i = TransmitterInfo();
    for (int n = 0; n < kMaxPowerLevels; ++n)
        i.powerLevels[size_t(n)] = (n + 1) * 10;
    i.powerLevelCount = kMaxPowerLevels;
    QTest::newRow("at most ten levels")
        << QByteArray("POWER_RANGE:1,2,3,4,5,6,7,8,9,10,11,12\r\n") << describe(i);

    i = TransmitterInfo();
    QTest::newRow("volume not controllable, empty flag")
        << QByteArray("VOLUME_CONTROL:0,0-15\r\nBT_SUPPORT:\r\nFREQ_RANGE:x\r\n") << describe(i);

    i = TransmitterInfo();
    i.volumeControl = true;
    i.btSupport = true;
    QTest::newRow("flag without range, any non-zero flag")
        << QByteArray("VOLUME_CONTROL:1\r\nBT_SUPPORT:yes\r\n") << describe(i);

    i = TransmitterInfo();
    i.freqMin = 875;
    QTest::newRow("empty line ends parsing")
        << QByteArray("FREQ_RANGE:875\r\n\r\nBT_SUPPORT:1\r\n") << describe(i);
}

void TestTransmitter::queryInfo() {
    QFETCH(QByteArray, payload);
    QFETCH(QString, expected);
    FakePort port;
    port.queueReply(payload + "OK\r\n");
    TransmitterInfo info;
    info.tempSupport = true;
    QVERIFY(QueryInfo(&port, &info));
    QCOMPARE(port.commands, QList<QByteArray>{"AT+INFO\r\n"});
    QCOMPARE(describe(info), expected);
}

void TestTransmitter::queryProduct_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("four lines") << QByteArray("Maker\r\nFM-30\r\n1.4\r\n2.0\r\nextra\r\n")
                                << QStringList{"Maker", "FM-30", "1.4", "2.0"};
    QTest::newRow("two lines") << QByteArray("Maker\r\nFM-30")
                               << QStringList{"Maker", "FM-30", "", ""};
    QTest::newRow("empty line ends")
        << QByteArray("Maker\r\n\r\n1.4\r\n2.0\r\n") << QStringList{"Maker", "", "", ""};
}

void TestTransmitter::queryProduct() {
    QFETCH(QByteArray, payload);
    QFETCH(QStringList, lines);
    FakePort port;
    port.queueReply(payload + "OK\r\n");
    TransmitterProduct product;
    QVERIFY(QueryProduct(&port, &product));
    QCOMPARE(QStringList({product.manufacturerInfo, product.productInfo, product.firmwareVersion,
                          product.softwareVersion}),
             lines);
}

void TestTransmitter::failedQueryLeavesRecordsCleared() {
    FakePort port;
    port.queueReply("FREQ=881\r\nerr\r\n");
    port.queueSilence();
    port.queueReply(QByteArray(300, 'M'));
    TransmitterStatus status;
    status.frequency = 1000;
    TransmitterInfo info;
    info.freqMax = 1080;
    TransmitterProduct product;
    product.productInfo = QStringLiteral("old");
    QVERIFY(!QueryStatus(&port, &status));
    QVERIFY(!QueryInfo(&port, &info));
    QVERIFY(!QueryProduct(&port, &product));
    QCOMPARE(describe(status), describe(TransmitterStatus()));
    QCOMPARE(describe(info), describe(TransmitterInfo()));
    QVERIFY(product.productInfo.isEmpty());

    QVERIFY(!QueryStatus(nullptr, &status));
}

void TestTransmitter::zoneMasks_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("first and last") << 0x81 << QByteArray("10000001");
    QTest::newRow("all") << 0xFF << QByteArray("11111111");
    QTest::newRow("none") << 0x00 << QByteArray("00000000");
    QTest::newRow("fourth off") << 0xEF << QByteArray("11101111");
}

void TestTransmitter::zoneMasks() {
    QFETCH(int, mask);
    QFETCH(QByteArray, text);
    QCOMPARE(FormatZoneMask(quint8(mask)), text);
    QCOMPARE(int(ParseZoneMask(text)), mask);
    QCOMPARE(int(ParseZoneMask(text + "1111")), mask); // only eight characters count
}

void TestTransmitter::handshake_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QList<QByteArray>>("commandNames");
    const QByteArray connect = "AT+CONNECT", bye = "AT+DISCONNECT\r\n";
    QTest::newRow("right answer") << int(Answer::Right) << true << QList<QByteArray>{connect};
    QTest::newRow("nine digits") << int(Answer::NineDigits) << false << QList<QByteArray>{connect};
    QTest::newRow("wrong value") << int(Answer::WrongValue) << false << QList<QByteArray>{connect};
    QTest::newRow("no line end") << int(Answer::NoLineEnd) << false << QList<QByteArray>{connect};
    QTest::newRow("silent, no second try")
        << int(Answer::Silent) << false << QList<QByteArray>{connect};
    QTest::newRow("refused once: goodbye and the same challenge again")
        << int(Answer::RefuseFirst) << true << QList<QByteArray>{connect, bye, connect};
    QTest::newRow("refused twice")
        << int(Answer::RefuseAlways) << false << QList<QByteArray>{connect, bye, connect};
}

void TestTransmitter::handshake() {
    QFETCH(int, how);
    QFETCH(bool, accepted);
    QFETCH(QList<QByteArray>, commandNames);

    FakePort port;
    int refusals = 0;
    port.setResponder([how, &refusals](const QByteArray& command) {
        return answerChallenge(command, Answer(how), &refusals);
    });
    QCOMPARE(Handshake(&port), accepted);
    QCOMPARE(port.commands.size(), commandNames.size());
    for (int i = 0; i < commandNames.size(); ++i)
        QVERIFY2(port.commands[i].startsWith(commandNames[i]), port.commands[i].constData());

    // The challenge: eight lower-case hex digits of a word made from a value
    // in the agreed range, and the same word when it is repeated.
    const QByteArray challenge = port.commands.first();
    QVERIFY(QRegularExpression("^AT\\+CONNECT[0-9a-f]{8}\r\n$").match(challenge).hasMatch());
    QVERIFY(handshake::ChallengeValue(challenge.mid(10, 8).toUInt(nullptr, 16)) != 0);
    QCOMPARE(port.commands.last(), challenge);

    QVERIFY(!Handshake(nullptr));
}

void TestTransmitter::applySettings_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QString>("after");

    // Every row starts from 88.1 MHz, 2 W and volume 5, and wants 1.5 W, volume 8 and stereo.
    TransmitterStatus s;
    s.frequency = 881;
    s.volume = 5;
    s.power = 20;
    QTest::newRow("power in whole watts")
        << int(kSetPower) << QList<QByteArray>{"OK\r\n", "1\r\nOK\r\n"} << int(kSetPower)
        << QList<QByteArray>{"AT+POWER=1\r\n", "AT+POWER?\r\n"} << [] {
               TransmitterStatus a;
               a.frequency = 881;
               a.volume = 5;
               a.power = 10;
               return describe(a);
           }();

    QTest::newRow("only changed fields are sent")
        << int(kSetFrequency | kSetVolume) << QList<QByteArray>{"OK\r\n", "8\r\nOK\r\n"}
        << int(kSetVolume) << QList<QByteArray>{"AT+VOLUME=8\r\n", "AT+VOLUME?\r\n"} << [] {
               TransmitterStatus a;
               a.frequency = 881;
               a.volume = 8;
               a.power = 20;
               return describe(a);
           }();

    QTest::newRow("unchanged field in the mask")
        << int(kSetBluetooth) << QList<QByteArray>{} << 0 << QList<QByteArray>{} << describe(s);

    QTest::newRow("refused volume stops before stereo")
        << int(kSetPower | kSetVolume | kSetStereo)
        << QList<QByteArray>{"OK\r\n", "1\r\nOK\r\n", "err\r\n"} << int(kSetFailed | kSetVolume)
        << QList<QByteArray>{"AT+POWER=1\r\n", "AT+POWER?\r\n", "AT+VOLUME=8\r\n"} << [] {
               TransmitterStatus a;
               a.frequency = 881;
               a.volume = 5;
               a.power = 10;
               return describe(a);
           }();

    QTest::newRow("failed read-back")
        << int(kSetPower) << QList<QByteArray>{"OK\r\n", ""} << int(kSetFailed | kSetPower)
        << QList<QByteArray>{"AT+POWER=1\r\n", "AT+POWER?\r\n"} << describe(s);
}

void TestTransmitter::applySettings() {
    QFETCH(int, mask);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(int, result);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QString, after);

    TransmitterStatus current;
    current.frequency = 881;
    current.volume = 5;
    current.power = 20;
    TransmitterStatus wanted = current;
    wanted.volume = 8;
    wanted.power = 15;
    wanted.stereo = 1;

    FakePort port;
    for (const QByteArray& reply : replies) {
        if (reply.isEmpty())
            port.queueSilence();
        else
            port.queueReply(reply);
    }
    QCOMPARE(ApplySettings(&port, &current, wanted, mask), result);
    QCOMPARE(port.commands, commands);
    QCOMPARE(describe(current), after);

    QCOMPARE(ApplySettings(nullptr, &current, wanted, mask), 0);
}

void TestTransmitter::applySettingsSendsEveryFieldInOrder() {
    TransmitterStatus wanted;
    wanted.frequency = 1003;
    wanted.power = 25;
    wanted.forwardPower = 1;
    wanted.reflectedPower = 1;
    wanted.volume = 12;
    wanted.stereo = 1;
    wanted.temperature = 1;
    wanted.rdsId = 0xAB;
    wanted.preemphasis = 75;
    wanted.bluetooth = 1;
    wanted.partitionA = 0x81;
    wanted.partitionB = 0xEF;
    wanted.partitionC = 0x01;

    // Every set is accepted; each read-back reports a value of its own.
    const QMap<QByteArray, QByteArray> readBacks = {{"AT+FREQ?", "1003"},
                                                    {"AT+POWER?", "2"},
                                                    {"AT+FWDPOW", "1.9"},
                                                    {"AT+REFPOW", "0.1"},
                                                    {"AT+VOLUME?", "12"},
                                                    {"AT+STEREO?", "1"},
                                                    {"AT+TEMP", "41.2"},
                                                    {"AT+RDSID?", "00ab"},
                                                    {"AT+PREEMPHASIS?", "75"},
                                                    {"AT+BT?", "1"},
                                                    {"AT+PARTITIONA?", "10000001"},
                                                    {"AT+PARTITIONB?", "11101111"},
                                                    {"AT+PARTITIONC?", "00000001"}};
    FakePort port;
    port.setResponder([&readBacks](const QByteArray& command) -> FakePort::Reply {
        const QByteArray name = command.chopped(2);
        if (readBacks.contains(name))
            return {readBacks[name] + "\r\nOK\r\n"};
        return {"OK\r\n"};
    });

    TransmitterStatus current;
    const int all = kSetFrequency | kSetPower | kSetForwardPower | kSetReflectedPower | kSetVolume |
                    kSetPreemphasis | kSetTemperature | kSetRdsId | kSetStereo | kSetBluetooth |
                    kSetPartitions;
    QCOMPARE(ApplySettings(&port, &current, wanted, all), all);
    const QList<QByteArray> expected = {"AT+FREQ=1003\r\n",    "AT+FREQ?\r\n",
                                        "AT+POWER=2\r\n",      "AT+POWER?\r\n",
                                        "AT+FWDPOW\r\n",       "AT+REFPOW\r\n",
                                        "AT+VOLUME=12\r\n",    "AT+VOLUME?\r\n",
                                        "AT+STEREO=1\r\n",     "AT+STEREO?\r\n",
                                        "AT+TEMP\r\n",         "AT+RDSID=00ab\r\n",
                                        "AT+RDSID?\r\n",       "AT+PREEMPHASIS=75\r\n",
                                        "AT+PREEMPHASIS?\r\n", "AT+BT=1\r\n",
                                        "AT+BT?\r\n",          "AT+PARTITIONA=10000001\r\n",
                                        "AT+PARTITIONA?\r\n",  "AT+PARTITIONB=11101111\r\n",
                                        "AT+PARTITIONB?\r\n",  "AT+PARTITIONC=00000001\r\n",
                                        "AT+PARTITIONC?\r\n"};
    QCOMPARE(port.commands, expected);

    TransmitterStatus stored = wanted;
    stored.power = 20;
    stored.forwardPower = 19;
    stored.reflectedPower = 1;
    stored.temperature = 412;
    QCOMPARE(describe(current), describe(stored));
}

QTEST_GUILESS_MAIN(TestTransmitter)
#include "tst_transmitter.moc"
