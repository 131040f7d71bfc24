#include "simtransmitter.h"

#include <cmath>

#include "transmitter/handshakeconstants.h"

namespace {

bool startsWithAny(const QByteArray& command, const QList<QByteArray>& prefixes) {
    for (const QByteArray& prefix : prefixes) {
        if (!prefix.isEmpty() && command.startsWith(prefix))
            return true;
    }
    return false;
}

// A strict decimal number: an optional minus and at least one digit, nothing else.
bool strictNumber(const QByteArray& text, int* value) {
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && c == '-' && text.size() > 1))
            return false;
    }
    *value = text.toInt();
    return true;
}

QByteArray zoneText(int mask) {
    QByteArray text;
    for (int bit = 7; bit >= 0; --bit)
        text += (mask >> bit) & 1 ? '1' : '0';
    return text;
}

QByteArray hex8(quint32 value, int width) {
    return QByteArray::number(value, 16).rightJustified(width, '0');
}

} // namespace

bool SimTenths(const QByteArray& text, int* tenths) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e8)
        return false;
    *tenths = int(std::lround(value * 10));
    return true;
}

QByteArray SimTenthsText(int tenths) {
    return QByteArray::number(tenths / 10.0, 'f', 1);
}

SimTransmitter::SimTransmitter(const SimProfile& profile, const SimMisbehaviour& misbehaviour)
    : state(profile), faults(misbehaviour) {}

bool SimTransmitter::hangsUpOn(const QByteArray& line) {
    if (hungUp || !startsWithAny(line, faults.hangUpOn))
        return false;
    hungUp = true;
    session = false;
    return true;
}

QList<QByteArray> SimTransmitter::answer(const QByteArray& line) {
    const QByteArray command = line.endsWith("\r\n") ? line.chopped(2) : line;
    if (faults.silent || startsWithAny(command, faults.silentOn) ||
        (faults.silentAfter > 0 && answered >= faults.silentAfter))
        return {};
    ++answered;

    QByteArray reply;
    QByteArray payload;
    if (startsWithAny(command, faults.garbageOn))
        reply = noise(faults.garbageSize) + (faults.garbageOk ? "OK\r\n" : "");
    else if (startsWithAny(command, faults.refuse) || !handle(command, &payload))
        reply = "err\r\n";
    else if (startsWithAny(command, faults.unterminated))
        reply = payload;
    else
        reply = payload + (faults.lowercaseOk ? "ok\r\n" : "OK\r\n");
    if (startsWithAny(command, faults.cutOn))
        reply.truncate(reply.size() / 2);

    if (reply.isEmpty())
        return {};
    if (faults.pieceSize > 0) {
        QList<QByteArray> pieces;
        for (qsizetype at = 0; at < reply.size(); at += faults.pieceSize)
            pieces << reply.mid(at, faults.pieceSize);
        return pieces;
    }
    if (faults.splitAfter > 0 && reply.size() > faults.splitAfter)
        return {reply.left(faults.splitAfter), reply.mid(faults.splitAfter)};
    return {reply};
}

// Printable and control bytes alike, from a generator of our own so that a
// test sees the same noise every time; never a line that ends a reply.
QByteArray SimTransmitter::noise(int size) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i) {
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        bytes += char(noiseState & 0xFF);
    }
    if (bytes.endsWith("\r\n"))
        bytes.back() = '.';
    return bytes;
}

bool SimTransmitter::handle(const QByteArray& command, QByteArray* payload) {
    if (command.startsWith("AT+CONNECT")) {
        const QByteArray word = command.mid(10);
        bool ok = false;
        const quint32 w = word.size() == 8 ? word.toUInt(&ok, 16) : 0;
        const quint32 d = ok ? handshake::ChallengeValue(w) : 0;
        if (d == 0)
            return false;
        if (faults.challenge == SimMisbehaviour::Challenge::RefuseFirst && !refusedChallenge) {
            refusedChallenge = true;
            return false;
        }
        const quint32 proof = faults.challenge == SimMisbehaviour::Challenge::Wrong ? d + 1 : d;
        QByteArray text = hex8(handshake::MakeAnswer(proof, answers++), 8);
        if (faults.challenge == SimMisbehaviour::Challenge::NineDigits)
            text.prepend('0');
        *payload = text + "\r\n";
        session = true;
        output = true;
        return true;
    }
    if (command == "AT+DISCONNECT") {
        session = false;
        return true;
    }
    if (command == "AT+OFF") {
        output = false;
        return true;
    }
    if (command == "AT+PRODUCT") {
        *payload = state.manufacturer + "\r\n" + state.product + "\r\n" + state.firmware + "\r\n" +
                   state.software + "\r\n";
        return true;
    }
    if (command == "AT+INFO") {
        *payload = infoPayload();
        return true;
    }
    if (command == "AT+STATUS") {
        *payload = statusPayload();
        return true;
    }
    if (!command.startsWith("AT+"))
        return false;
    const QByteArray rest = command.mid(3);
    const qsizetype equals = rest.indexOf('=');
    if (equals > 0)
        return handleSet(rest.left(equals), rest.mid(equals + 1));
    if (rest.endsWith('?'))
        return readBack(rest.chopped(1), payload);
    if (rest == "FWDPOW" || rest == "REFPOW" || rest == "TEMP")
        return readBack(rest, payload);
    return false;
}

bool SimTransmitter::powerAllowed(int watts) const {
    if (state.powerLevels.isEmpty())
        return watts * 10 >= state.powerMin && watts * 10 <= state.powerMax;
    for (int level : state.powerLevels) {
        if (level / 10 == watts)
            return true;
    }
    return false;
}

bool SimTransmitter::handleSet(const QByteArray& name, const QByteArray& value) {
    int n = 0;
    if (name == "RDSID") {
        bool ok = false;
        const uint id = value.toUInt(&ok, 16);
        if (value.isEmpty() || value.size() > 4 || !ok || value.startsWith('+') ||
            value.startsWith('-'))
            return false;
        state.rdsId = int(id);
        return true;
    }
    if (name.startsWith("PARTITION") && name.size() == 10) {
        const int group = name[9] - 'A';
        if (group < 0 || group > 2 || !state.partitionSupport || value.size() != 8)
            return false;
        int mask = 0;
        for (char c : value) {
            if (c != '0' && c != '1')
                return false;
            mask = mask << 1 | (c == '1');
        }
        state.partitions[group] = mask;
        return true;
    }
    if (!strictNumber(value, &n))
        return false;
    if (name == "FREQ" && n >= state.freqMin && n <= state.freqMax)
        state.frequency = n;
    else if (name == "POWER" && powerAllowed(n))
        state.powerWatts = n;
    else if (name == "VOLUME" && state.volumeControl && n >= state.volumeMin &&
             n <= state.volumeMax)
        state.volume = n;
    else if (name == "PREEMPHASIS" && state.preemphasisSupport && (n == 50 || n == 75))
        state.preemphasis = n;
    else if (name == "STEREO" && (n == 0 || n == 1))
        state.stereo = n;
    else if (name == "BT" && state.btSupport && (n == 0 || n == 1))
        state.bluetooth = n;
    else
        return false;
    return true;
}

bool SimTransmitter::readBack(const QByteArray& name, QByteArray* payload) const {
    QByteArray value;
    if (name == "FREQ")
        value = QByteArray::number(state.frequency);
    else if (name == "POWER")
        value = QByteArray::number(state.powerWatts);
    else if (name == "VOLUME" && state.volumeControl)
        value = QByteArray::number(state.volume);
    else if (name == "PREEMPHASIS" && state.preemphasisSupport)
        value = QByteArray::number(state.preemphasis);
    else if (name == "RDSID")
        value = hex8(quint32(state.rdsId), 4);
    else if (name == "STEREO")
        value = QByteArray::number(state.stereo);
    else if (name == "BT" && state.btSupport)
        value = QByteArray::number(state.bluetooth);
    else if (name.startsWith("PARTITION") && name.size() == 10 && state.partitionSupport &&
             name[9] >= 'A' && name[9] <= 'C')
        value = zoneText(state.partitions[name[9] - 'A']);
    else if (name == "FWDPOW" && state.powerMeasure)
        value = forwardPower();
    else if (name == "REFPOW" && state.powerMeasure)
        value = SimTenthsText(output ? state.reflectedPower : 0);
    else if (name == "TEMP" && state.tempSupport)
        value = SimTenthsText(state.temperature);
    else
        return false;
    *payload = value + "\r\n";
    return true;
}

// A real amplifier delivers a little less than it is set to.
QByteArray SimTransmitter::forwardPower() const {
    return SimTenthsText(output ? state.powerWatts * 96 / 10 : 0);
}

QByteArray SimTransmitter::statusPayload() const {
    QByteArray p;
    p += "FREQ=" + QByteArray::number(state.frequency) + "\r\n";
    p += "POWER=" + QByteArray::number(state.powerWatts) + "\r\n";
    if (state.powerMeasure) {
        p += "FWDPOW=" + forwardPower() + "\r\n";
        p += "REFPOW=" + SimTenthsText(output ? state.reflectedPower : 0) + "\r\n";
    }
    if (state.volumeControl)
        p += "VOLUME=" + QByteArray::number(state.volume) + "\r\n";
    if (state.preemphasisSupport)
        p += "PREEMPHASIS=" + QByteArray::number(state.preemphasis) + "\r\n";
    if (state.tempSupport)
        p += "TEMP=" + SimTenthsText(state.temperature) + "\r\n";
    p += "RDSID=" + hex8(quint32(state.rdsId), 4) + "\r\n";
    p += "STEREO=" + QByteArray::number(state.stereo) + "\r\n";
    if (state.btSupport)
        p += "BT=" + QByteArray::number(state.bluetooth) + "\r\n";
    if (state.partitionSupport) {
        p += "PARTITIONA=" + zoneText(state.partitions[0]) + "\r\n";
        p += "PARTITIONB=" + zoneText(state.partitions[1]) + "\r\n";
        p += "PARTITIONC=" + zoneText(state.partitions[2]) + "\r\n";
    }
    return p;
}

QByteArray SimTransmitter::infoPayload() const {
    QByteArray p;
    p += "FREQ_RANGE:" + QByteArray::number(state.freqMin) + "-" +
         QByteArray::number(state.freqMax) + "\r\n";
    p += "VOLUME_CONTROL:" +
         (state.volumeControl ? "1," + QByteArray::number(state.volumeMin) + "-" +
                                    QByteArray::number(state.volumeMax)
                              : QByteArray("0")) +
         "\r\n";
    p += "POWER_RANGE:";
    if (state.powerLevels.isEmpty()) {
        p += SimTenthsText(state.powerMin) + "-" + SimTenthsText(state.powerMax);
    } else {
        QList<QByteArray> levels;
        for (int level : state.powerLevels)
            levels << SimTenthsText(level);
        p += levels.join(',');
        // A single level still needs the comma that marks a list.
        if (levels.size() == 1)
            p += ',';
    }
    p += "\r\n";
    p += QByteArray("POWER_MEASURE:") + (state.powerMeasure ? "1" : "0") + "\r\n";
    p += QByteArray("PREEMPHASIS_SUPPORT:") + (state.preemphasisSupport ? "1" : "0") + "\r\n";
    p += QByteArray("TEMP_SUPPORT:") + (state.tempSupport ? "1" : "0") + "\r\n";
    p += QByteArray("BT_SUPPORT:") + (state.btSupport ? "1" : "0") + "\r\n";
    p += QByteArray("PARTITION_SUPPORT:") + (state.partitionSupport ? "1" : "0") + "\r\n";
    return p;
}
