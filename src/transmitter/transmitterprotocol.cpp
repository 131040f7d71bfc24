#include "transmitter/transmitterprotocol.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <random>

#include "support/stringutils.h"
#include "transmitter/handshakeconstants.h"
#include "transmitter/serialtransport.h"

namespace {

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

// Number conversions in the manner of the C library (leading white space, a
// sign, then digits; text without digits gives 0), but bounded by the view:
// a line of a payload is not NUL-terminated.
class NumberReader {
public:
    explicit NumberReader(QByteArrayView text) : p(text.data()), end(text.data() + text.size()) {
        while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
            ++p;
    }

    qint32 whole() {
        bool negative = false;
        readSign(&negative);
        qint64 value = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            value = qMin<qint64>(value * 10 + (*p - '0'), qint64(1) << 40);
        return clamp(negative ? -value : value);
    }

    quint32 hex() {
        bool negative = false;
        readSign(&negative);
        if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0)
            p += 2;
        quint64 value = 0;
        for (int d; p < end && (d = hexDigit(*p)) >= 0; ++p)
            value = qMin<quint64>(value * 16 + quint64(d), 0xFFFFFFFFull);
        const quint32 result = quint32(value);
        return negative ? 0u - result : result;
    }

    // The decimal number times ten, the product rounded to a double and then
    // truncated toward zero: "2.3" gives 23, not 22.
    qint32 tenths() {
        // from_chars takes a '-' but no '+'.
        if (p < end && *p == '+' && !(end - p > 1 && p[1] == '-'))
            ++p;
        double value = 0;
        const auto result = std::from_chars(p, end, value, std::chars_format::general);
        if (result.ec != std::errc() || !std::isfinite(value))
            return 0;
        const double product = value * 10.0;
        return clamp(qint64(qBound(-1e12, std::trunc(product), 1e12)));
    }

private:
    void readSign(bool* negative) {
        if (p < end && (*p == '+' || *p == '-')) {
            *negative = *p == '-';
            ++p;
        }
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static qint32 clamp(qint64 v) { return qint32(qBound(kInt32Min, v, kInt32Max)); }

    const char* p;
    const char* end;
};

qint32 wholeNumber(QByteArrayView text) {
    return NumberReader(text).whole();
}
// Whole watts, kept in tenths.
qint32 wattsNumber(QByteArrayView text) {
    const qint64 watts = NumberReader(text).whole();
    return qint32(qBound(kInt32Min, watts * 10, kInt32Max));
}
qint32 tenthsNumber(QByteArrayView text) {
    return NumberReader(text).tenths();
}
quint32 hexNumber(QByteArrayView text) {
    return NumberReader(text).hex();
}

// Splits "key<sep>value" at the first separator; without one the whole line
// is the key.
void splitKeyValue(QByteArrayView line, char separator, QByteArrayView* key,
                   QByteArrayView* value) {
    const qsizetype at = line.indexOf(separator);
    if (at < 0) {
        *key = line;
        *value = QByteArrayView();
    } else {
        *key = line.first(at);
        *value = line.sliced(at + 1);
    }
}

// "a-b" split at the first '-' into two numbers read by `read`.
template <typename Read> void readPair(QByteArrayView value, Read read, qint32* a, qint32* b) {
    const qsizetype dash = value.indexOf('-');
    if (dash < 0) {
        *a = read(value);
        *b = 0;
        return;
    }
    *a = read(value.first(dash));
    *b = read(value.sliced(dash + 1));
}

// Capability flags: anything but a leading '0' is a yes. An empty value
// states nothing, so it is a no.
bool flagValue(QByteArrayView value) {
    return !value.isEmpty() && value.front() != '0';
}

// Runs one command and hands its payload to the caller; false unless the reply
// ended with "OK\r\n".
bool exchange(SerialPort* port, const QByteArray& command, QByteArrayView* payload, char* reply) {
    const int n = SendCommand(port, command, reply);
    if (n < 0)
        return false;
    *payload = QByteArrayView(reply, n);
    return true;
}

} // namespace

QList<QByteArray> PayloadLines(QByteArrayView payload) {
    QList<QByteArray> lines;
    while (!payload.isEmpty()) {
        const qsizetype at = payload.indexOf(QByteArrayView("\r\n"));
        const QByteArrayView line = at < 0 ? payload : payload.first(at);
        if (line.isEmpty())
            break;
        lines.append(line.toByteArray());
        payload = at < 0 ? QByteArrayView() : payload.sliced(at + 2);
    }
    return lines;
}

bool QueryStatus(SerialPort* port, TransmitterStatus* status) {
    *status = TransmitterStatus();
    if (!port)
        return false;
    char reply[kReplyBufferSize];
    QByteArrayView payload;
    if (!exchange(port, "AT+STATUS\r\n", &payload, reply))
        return false;
    for (const QByteArray& line : PayloadLines(payload)) {
        QByteArrayView key, value;
        splitKeyValue(line, '=', &key, &value);
        if (key == "FREQ")
            status->frequency = wholeNumber(value);
        else if (key == "POWER")
            status->power = wattsNumber(value);
        else if (key == "FWDPOW")
            status->forwardPower = tenthsNumber(value);
        else if (key == "REFPOW")
            status->reflectedPower = tenthsNumber(value);
        else if (key == "VOLUME")
            status->volume = wholeNumber(value);
        else if (key == "PREEMPHASIS")
            status->preemphasis = wholeNumber(value);
        else if (key == "TEMP")
            status->temperature = tenthsNumber(value);
        else if (key == "RDSID")
            status->rdsId = quint16(hexNumber(value));
        else if (key == "STEREO")
            status->stereo = wholeNumber(value);
        else if (key == "BT")
            status->bluetooth = wholeNumber(value);
        else if (key == "PARTITIONA")
            status->partitionA = ParseZoneMask(value);
        else if (key == "PARTITIONB")
            status->partitionB = ParseZoneMask(value);
        else if (key == "PARTITIONC")
            status->partitionC = ParseZoneMask(value);
    }
    return true;
}

bool QueryInfo(SerialPort* port, TransmitterInfo* info) {
    *info = TransmitterInfo();
    if (!port)
        return false;
    char reply[kReplyBufferSize];
    QByteArrayView payload;
    if (!exchange(port, "AT+INFO\r\n", &payload, reply))
        return false;
    for (const QByteArray& line : PayloadLines(payload)) {
        QByteArrayView key, value;
        splitKeyValue(line, ':', &key, &value);
        if (key == "FREQ_RANGE") {
            readPair(value, wholeNumber, &info->freqMin, &info->freqMax);
        } else if (key == "VOLUME_CONTROL") {
            // "1,0-15": the flag, a separator, then the range.
            info->volumeControl = flagValue(value);
            if (info->volumeControl)
                readPair(value.size() > 2 ? value.sliced(2) : QByteArrayView(), wholeNumber,
                         &info->volumeMin, &info->volumeMax);
        } else if (key == "POWER_RANGE") {
            if (value.contains(',')) {
                for (QByteArrayView level : QByteArray(value.toByteArray()).split(',')) {
                    if (level.isEmpty())
                        continue;
                    if (info->powerLevelCount == kMaxPowerLevels)
                        break;
                    info->powerLevels[info->powerLevelCount++] = tenthsNumber(level);
                }
            } else {
                readPair(value, tenthsNumber, &info->powerMin, &info->powerMax);
            }
        } else if (key == "POWER_MEASURE") {
            info->powerMeasure = flagValue(value);
        } else if (key == "PREEMPHASIS_SUPPORT") {
            info->preemphasisSupport = flagValue(value);
        } else if (key == "TEMP_SUPPORT") {
            info->tempSupport = flagValue(value);
        } else if (key == "BT_SUPPORT") {
            info->btSupport = flagValue(value);
        } else if (key == "PARTITION_SUPPORT") {
            info->partitionSupport = flagValue(value);
        }
    }
    return true;
}

bool QueryProduct(SerialPort* port, TransmitterProduct* product) {
    *product = TransmitterProduct();
    if (!port)
        return false;
    char reply[kReplyBufferSize];
    QByteArrayView payload;
    if (!exchange(port, "AT+PRODUCT\r\n", &payload, reply))
        return false;
    const QList<QByteArray> lines = PayloadLines(payload);
    QString* fields[] = {&product->manufacturerInfo, &product->productInfo,
                         &product->firmwareVersion, &product->softwareVersion};
    for (int i = 0; i < 4 && i < lines.size(); ++i)
        *fields[i] = ToWide(lines[i], CodePage::System);
    return true;
}

QByteArray FormatZoneMask(quint8 mask) {
    QByteArray text(8, '0');
    for (int i = 0; i < 8; ++i) {
        if (mask & (0x80 >> i))
            text[i] = '1';
    }
    return text;
}

quint8 ParseZoneMask(QByteArrayView text) {
    quint8 mask = 0;
    for (int i = 0; i < 8 && i < text.size(); ++i) {
        if (text[i] == '1')
            mask |= quint8(0x80 >> i);
    }
    return mask;
}

bool Handshake(SerialPort* port) {
    if (!port)
        return false;
    // A generator of our own, so that the challenge does not disturb anyone
    // else's use of the C library's generator.
    std::minstd_rand generator(std::uint_fast32_t(std::time(nullptr)));
    const quint32 d = quint32(generator() % handshake::kChallengeSpan) + handshake::kChallengeMin;
    const QByteArray command =
        "AT+CONNECT" + QByteArray::number(handshake::ChallengeWord(d), 16).rightJustified(8, '0') +
        "\r\n";

    char reply[kReplyBufferSize];
    int n = SendCommand(port, command, reply);
    if (n == -5) {
        // The transmitter may still hold an earlier session: end it and ask once more.
        SayGoodbye(port);
        n = SendCommand(port, command, reply);
    }
    if (n != 10 || reply[8] != '\r' || reply[9] != '\n')
        return false;
    return handshake::AnswerValue(hexNumber(QByteArrayView(reply, 8))) == d;
}

namespace {

enum class ValueKind { Whole, Watts, Tenths, Hex, Zones };

struct FieldRule {
    int bit;
    ValueKind kind;
    const char* setCommand; // null for a measured value
    const char* readCommand;
    qint32 (*get)(const TransmitterStatus&);
    void (*set)(TransmitterStatus&, qint32);
};

#define TRANSMITTER_FIELD(member)                                                                  \
    [](const TransmitterStatus& s) { return qint32(s.member); },                                   \
        [](TransmitterStatus& s, qint32 v) { s.member = decltype(s.member)(v); }

// The order in which the transmitter expects its fields to be changed.
const FieldRule kFieldRules[] = {
    {kSetFrequency, ValueKind::Whole, "AT+FREQ=", "AT+FREQ?\r\n", TRANSMITTER_FIELD(frequency)},
    {kSetPower, ValueKind::Watts, "AT+POWER=", "AT+POWER?\r\n", TRANSMITTER_FIELD(power)},
    {kSetForwardPower, ValueKind::Tenths, nullptr, "AT+FWDPOW\r\n",
     TRANSMITTER_FIELD(forwardPower)},
    {kSetReflectedPower, ValueKind::Tenths, nullptr, "AT+REFPOW\r\n",
     TRANSMITTER_FIELD(reflectedPower)},
    {kSetVolume, ValueKind::Whole, "AT+VOLUME=", "AT+VOLUME?\r\n", TRANSMITTER_FIELD(volume)},
    {kSetStereo, ValueKind::Whole, "AT+STEREO=", "AT+STEREO?\r\n", TRANSMITTER_FIELD(stereo)},
    {kSetTemperature, ValueKind::Tenths, nullptr, "AT+TEMP\r\n", TRANSMITTER_FIELD(temperature)},
    {kSetRdsId, ValueKind::Hex, "AT+RDSID=", "AT+RDSID?\r\n", TRANSMITTER_FIELD(rdsId)},
    {kSetPreemphasis, ValueKind::Whole, "AT+PREEMPHASIS=", "AT+PREEMPHASIS?\r\n",
     TRANSMITTER_FIELD(preemphasis)},
    {kSetBluetooth, ValueKind::Whole, "AT+BT=", "AT+BT?\r\n", TRANSMITTER_FIELD(bluetooth)},
    {kSetPartitionA, ValueKind::Zones, "AT+PARTITIONA=", "AT+PARTITIONA?\r\n",
     TRANSMITTER_FIELD(partitionA)},
    {kSetPartitionB, ValueKind::Zones, "AT+PARTITIONB=", "AT+PARTITIONB?\r\n",
     TRANSMITTER_FIELD(partitionB)},
    {kSetPartitionC, ValueKind::Zones, "AT+PARTITIONC=", "AT+PARTITIONC?\r\n",
     TRANSMITTER_FIELD(partitionC)},
};

#undef TRANSMITTER_FIELD

QByteArray formatValue(ValueKind kind, qint32 value) {
    switch (kind) {
    case ValueKind::Watts:
        return QByteArray::number(value / 10);
    case ValueKind::Hex:
        return QByteArray::number(quint16(value), 16).rightJustified(4, '0');
    case ValueKind::Zones:
        return FormatZoneMask(quint8(value));
    default:
        return QByteArray::number(value);
    }
}

qint32 parseValue(ValueKind kind, QByteArrayView payload) {
    switch (kind) {
    case ValueKind::Whole:
        return wholeNumber(payload);
    case ValueKind::Watts:
        return wattsNumber(payload);
    case ValueKind::Tenths:
        return tenthsNumber(payload);
    case ValueKind::Hex:
        return qint32(quint16(hexNumber(payload)));
    case ValueKind::Zones:
        return ParseZoneMask(payload);
    }
    return 0;
}

} // namespace

int ApplySettings(SerialPort* port, TransmitterStatus* current, const TransmitterStatus& settings,
                  int mask) {
    if (!port)
        return 0;
    int result = 0;
    char reply[kReplyBufferSize];
    for (const FieldRule& rule : kFieldRules) {
        if (!(mask & rule.bit) || rule.get(settings) == rule.get(*current))
            continue;
        if (rule.setCommand) {
            const QByteArray command =
                rule.setCommand + formatValue(rule.kind, rule.get(settings)) + "\r\n";
            if (SendCommand(port, command, reply) < 0)
                return kSetFailed | rule.bit;
        }
        const int n = SendCommand(port, rule.readCommand, -1, reply);
        if (n < 0)
            return kSetFailed | rule.bit;
        rule.set(*current, parseValue(rule.kind, QByteArrayView(reply, n)));
        result |= rule.bit;
    }
    return result;
}

void SayGoodbye(SerialPort* port) {
    char reply[kReplyBufferSize];
    SendCommand(port, "AT+DISCONNECT\r\n", -1, reply);
}

bool SendSwitchOff(SerialPort* port) {
    char reply[kReplyBufferSize];
    return SendCommand(port, "AT+OFF\r\n", -1, reply) >= 0;
}

QString SettingsFieldTextKey(int bit) {
    switch (bit) {
    case kSetFrequency:
        return QStringLiteral("cur_freq");
    case kSetPower:
        return QStringLiteral("cur_power");
    case kSetForwardPower:
        return QStringLiteral("fwd_power");
    case kSetReflectedPower:
        return QStringLiteral("ref_power");
    case kSetVolume:
        return QStringLiteral("volumn");
    case kSetPreemphasis:
        return QStringLiteral("preemphasis");
    case kSetTemperature:
        return QStringLiteral("temp");
    case kSetRdsId:
        return QStringLiteral("rdsid");
    case kSetStereo:
        return QStringLiteral("stereo_state");
    case kSetBluetooth:
        return QStringLiteral("bluetooth_state");
    case kSetPartitionA:
        return QStringLiteral("part_a");
    case kSetPartitionB:
        return QStringLiteral("part_b");
    case kSetPartitionC:
        return QStringLiteral("part_c");
    default:
        return QString();
    }
}
