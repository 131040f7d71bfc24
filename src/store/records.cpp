#include "store/records.h"

int PlayItem::usedTimePoints() const {
    int n = 0;
    while (n < kTimePointSlots && timePoints[size_t(n)] > 0)
        ++n;
    return n;
}

MusicTask& MusicTask::operator=(const MusicTask& other) {
    if (this == &other)
        return *this;
    name = other.name;
    startDate = other.startDate;
    endDate = other.endDate;
    startTime = other.startTime;
    endTime = other.endTime;
    weekdays = other.weekdays;
    volume = other.volume;
    playOrder = other.playOrder;
    group1On = other.group1On;
    zones1 = other.zones1;
    group2On = other.group2On;
    zones2 = other.zones2;
    group3On = other.group3On;
    zones3 = other.zones3;
    items.clear();
    for (const auto& item : other.items)
        items.push_back(std::make_unique<PlayItem>(*item));
    disabled = other.disabled;
    runState = other.runState;
    return *this;
}
