#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The transmitter's live values; also the settings record that ApplySettings
// takes. Values with one decimal travel as whole numbers in tenths.
struct TransmitterStatus {
    qint32 frequency = 0;      // 0.1 MHz (881 = 88.1 MHz)
    qint32 power = 0;          // set transmit power, 0.1 W
    qint32 forwardPower = 0;   // measured, 0.1 W
    qint32 reflectedPower = 0; // measured, 0.1 W
    qint32 volume = 0;         // the transmitter's own steps
    qint32 preemphasis = 0;    // microseconds, 50 or 75
    qint32 temperature = 0;    // 0.1 degree Celsius
    quint16 rdsId = 0;
    qint32 stereo = 0;     // nonzero: stereo on
    qint32 bluetooth = 0;  // nonzero: Bluetooth input on
    quint8 partitionA = 0; // zones 1 to 8, zone 1 in bit 7
    quint8 partitionB = 0; // zones 9 to 16
    quint8 partitionC = 0; // zones 17 to 24
};

constexpr int kMaxPowerLevels = 10;

// What the transmitter can do.
struct TransmitterInfo {
    qint32 freqMin = 0, freqMax = 0;                   // 0.1 MHz
    qint32 volumeMin = 0, volumeMax = 0;               // volume steps
    qint32 powerMin = 0, powerMax = 0;                 // continuous range, 0.1 W
    std::array<qint32, kMaxPowerLevels> powerLevels{}; // discrete levels, 0.1 W
    qint32 powerLevelCount = 0;                        // 0: the continuous range applies
    bool volumeControl = false;
    bool powerMeasure = false;
    bool preemphasisSupport = false;
    bool tempSupport = false;
    bool btSupport = false;
    bool partitionSupport = false;
};

// The four lines of the product reply.
struct TransmitterProduct {
    QString manufacturerInfo;
    QString productInfo;
    QString firmwareVersion;
    QString softwareVersion;
};

// Bits naming TransmitterStatus fields in ApplySettings and its result.
enum SettingsMask : int {
    kSetFrequency = 0x0001,
    kSetPower = 0x0002,
    kSetForwardPower = 0x0004,
    kSetReflectedPower = 0x0008,
    kSetVolume = 0x0010,
    kSetPreemphasis = 0x0020,
    kSetTemperature = 0x0040,
    kSetRdsId = 0x0080,
    kSetStereo = 0x0100,
    kSetBluetooth = 0x0200,
    kSetPartitionA = 0x1000,
    kSetPartitionB = 0x2000,
    kSetPartitionC = 0x4000,
    kSetPartitions = kSetPartitionA | kSetPartitionB | kSetPartitionC,
    kSetFailed = 0x8000, // ApplySettings: the other bit names the field that failed
};

// The UI text key that names the field of one SettingsMask bit in messages;
// empty for anything but a single field bit.
QString SettingsFieldTextKey(int bit);
