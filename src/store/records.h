#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

// Value encodings shared by the records, the data files and the schedules.
using YmdDate = int;        // year * 10000 + month * 100 + day
using HhmmTime = int;       // hour * 100 + minute
using HhmmssDuration = int; // hours * 10000 + minutes * 100 + seconds
using WeekdayMask = quint8; // Monday bit 7 ... Sunday bit 1
using ZoneMask = quint8;    // first zone of the group bit 7

// The bit of weekday index g (Monday 0 ... Sunday 6) in a WeekdayMask.
constexpr WeekdayMask WeekdayBit(int g) {
    return WeekdayMask(0x80u >> g);
}

constexpr int kUnlimitedPlays = 65535;
constexpr int kTimePointSlots = 10;

struct MusicCategory {
    QString name;
    QStringList files;
};

struct PlayItem {
    enum Kind { InsertPlay = 0, Background = 1 };
    enum TimeMode { Interval = 0, TimePoints = 1 };

    int kind = InsertPlay;
    QString path;
    int playCount = 0;
    int volume = 100;
    int timeMode = Interval;
    HhmmTime rangeStart = 0;
    HhmmTime rangeEnd = 0;
    int interval = 0;
    std::array<HhmmTime, kTimePointSlots> timePoints{};
    HhmmssDuration duration = 0;
    int batchIndex = 0;
    int batchKey = 0;
    int playedCount = 0; // kept by the music schedule, not stored

    // The used time points: the slots before the first one holding 0 or less.
    int usedTimePoints() const;
};

struct MusicTask {
    QString name;
    YmdDate startDate = 0;
    YmdDate endDate = 0;
    HhmmTime startTime = 0;
    HhmmTime endTime = 0;
    WeekdayMask weekdays = 0;
    int volume = 100;
    int playOrder = 0; // 0 in list order, 1 random
    int group1On = 0;
    ZoneMask zones1 = 0;
    int group2On = 0;
    ZoneMask zones2 = 0;
    int group3On = 0;
    ZoneMask zones3 = 0;
    std::vector<std::unique_ptr<PlayItem>> items; // owned
    int disabled = 0;
    int runState = 0; // belongs to the music schedule, not stored

    MusicTask() = default;
    MusicTask(const MusicTask& other) { *this = other; }
    MusicTask& operator=(const MusicTask& other); // copies the items too
    MusicTask(MusicTask&&) = default;
    MusicTask& operator=(MusicTask&&) = default;
};

struct SpeechScript {
    QString title;
    QString text;
};

struct SpeechTask {
    QString name;
    YmdDate startDate = 0;
    YmdDate endDate = 0;
    HhmmTime startTime = 0;
    HhmmTime endTime = 0;
    int interval = 0;
    WeekdayMask weekdays = 0;
    int effect = 0;
    QString bkMusic;
    int preDelay = 0;
    int postDelay = 0;
    int group1On = 0;
    ZoneMask zones1 = 0;
    int group2On = 0;
    ZoneMask zones2 = 0;
    int group3On = 0;
    ZoneMask zones3 = 0;
    QString text;
    int disabled = 0;
};

struct SpeechBackgroundMusic {
    QString path;
    int volume = 100;
};

struct UserAccount {
    QString name;
    QString password;
    int role = 0; // 1 administrator, 0 operator
};

struct CommonSettings {
    QString enterpriseName;
    int ttsBackgroundVolume = 10;
    std::array<HhmmTime, 14> dailyTime{}; // 2g start, 2g+1 end of weekday g; 0 no bound
    int speakDelay = 3;
};
