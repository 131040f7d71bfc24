#pragma once

#include <QByteArray>
#include <QList>

// What the simulated transmitter is: its capabilities, product lines and the
// values it starts with. Values with one decimal are kept in tenths.
struct SimProfile {
    int freqMin = 875, freqMax = 1080;
    bool volumeControl = true;
    int volumeMin = 0, volumeMax = 15;
    QList<int> powerLevels; // tenths of a watt; empty: the continuous range applies
    int powerMin = 10, powerMax = 300;
    bool powerMeasure = true;
    bool preemphasisSupport = true;
    bool tempSupport = true;
    bool btSupport = true;
    bool partitionSupport = true;
    QByteArray manufacturer = "Tolvane demo works";
    QByteArray product = "FM-30 demo transmitter";
    QByteArray firmware = "1.4.2";
    QByteArray software = "2.0.7";

    int frequency = 881;
    int powerWatts = 5;
    int volume = 8;
    int preemphasis = 50;
    int temperature = 365;
    int reflectedPower = 1;
    int rdsId = 0x1a2b;
    int stereo = 1;
    int bluetooth = 0;
    int partitions[3] = {0xFF, 0x81, 0x00};
};

// Ways to misbehave on purpose, for tests of the station's error handling.
struct SimMisbehaviour {
    enum class Challenge { Right, Wrong, NineDigits, RefuseFirst };

    QList<QByteArray> refuse;       // commands starting so are answered "err"
    QList<QByteArray> silentOn;     // commands starting so get no answer
    bool silent = false;            // no command gets an answer
    QList<QByteArray> unterminated; // commands starting so are answered without "OK"
    bool lowercaseOk = false;       // "ok\r\n" instead of "OK\r\n"
    int splitAfter = 0;             // every reply goes out in two pieces after this many bytes
    int pieceSize = 0;              // every reply goes out in pieces of at most this many bytes
    Challenge challenge = Challenge::Right;
    int silentAfter = 0;         // after answering this many commands, no more answers
    QList<QByteArray> cutOn;     // commands starting so get the first half of their reply only
    QList<QByteArray> garbageOn; // commands starting so are answered with noise
    int garbageSize = 64;        // bytes of noise
    bool garbageOk = false;      // the noise ends with "OK\r\n"
    QList<QByteArray> hangUpOn;  // the first command starting so closes the line unanswered
};

// The transmitter's side of the command protocol, without any I/O: one
// command line in, the reply pieces out.
class SimTransmitter {
public:
    SimTransmitter(const SimProfile& profile, const SimMisbehaviour& misbehaviour);

    // The reply to one command (its text with or without the final CR LF), in
    // the pieces it goes out in. Empty: the transmitter stays silent.
    QList<QByteArray> answer(const QByteArray& command);

    bool outputOn() const { return output; }
    bool inSession() const { return session; }

    // Whether the transmitter goes away (its line closed) on this command
    // instead of answering; only the first such command does it.
    bool hangsUpOn(const QByteArray& command);

private:
    // The payload of a command that succeeds; false refuses it.
    bool handle(const QByteArray& command, QByteArray* payload);
    bool handleSet(const QByteArray& name, const QByteArray& value);
    bool readBack(const QByteArray& name, QByteArray* payload) const;
    QByteArray statusPayload() const;
    QByteArray infoPayload() const;
    QByteArray forwardPower() const;
    QByteArray noise(int size);
    bool powerAllowed(int watts) const;

    SimProfile state;
    SimMisbehaviour faults;
    bool output = true;
    bool session = false;
    bool refusedChallenge = false;
    bool hungUp = false;
    unsigned answers = 0;
    int answered = 0;
    quint32 noiseState = 0x2545F491; // the noise is the same on every run
};

// Decimal text ("4.8") as tenths, rounded; false when it is no number.
bool SimTenths(const QByteArray& text, int* tenths);
// The same value back as text with one decimal.
QByteArray SimTenthsText(int tenths);
