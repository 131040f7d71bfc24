#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QString>

#include <array>
#include <functional>

#include "store/clocktext.h"
#include "store/datastore.h"

class Clock;
class QGridLayout;

// A masked "HH:MM" field as four digits, every blank ('_') read as 0.
QString MaskedClockDigits(const QLineEdit* edit);

// What the music and the speech task editors share: the name, the dates,
// the daily window, the weekdays and three groups of eight zones. The form
// shows a task in those fields, checks them on confirm in the order both
// editors use, and writes them back into the task.
class TaskForm {
public:
    static constexpr int kGroups = 3;
    static constexpr int kZonesPerGroup = 8;

    struct Fields {
        QLineEdit* name;
        QDateEdit* startDate;
        QDateEdit* endDate;
        QLineEdit* startTime; // masked "HH:MM", '_' for a blank digit
        QLineEdit* endTime;
        std::array<QCheckBox*, 7> weekdays; // Monday first
    };
    // A refused confirm: the UI text key and the field that takes the focus;
    // no key when the fields are fine.
    struct Refusal {
        QString key;
        QWidget* field = nullptr;
    };

    // Saturday and Sunday are drawn in red.
    explicit TaskForm(const Fields& fields);

    // Puts each group's box (made by `makeGroup` with the group's number)
    // into column 0 of `grid` and its zones (made by `makeZone` with the
    // zone's number) beside it. A group box switched on or off switches its
    // eight zones; a zone switched off switches its group off.
    void placeZones(QGridLayout* grid, const std::function<QCheckBox*(int)>& makeGroup,
                    const std::function<QAbstractButton*(int)>& makeZone);
    QAbstractButton* zone(int group, int zone) const {
        return zones_[size_t(group * kZonesPerGroup + zone)];
    }

    // A new task: today to today, every day, today's working hours (a day
    // without an end runs to midnight).
    template <typename Task>
    static Task NewTask(const CommonSettings& settings, const Clock& clock);

    template <typename Task> void show(const Task& task, YmdDate today) const;
    // In order: a name (spaces trimmed), an end date not before the start,
    // valid times ('_' read as 0), an end time not before the start.
    Refusal check() const;
    // The name, trimmed of spaces and ready to store.
    QString name() const;
    HhmmTime startTime() const;
    HhmmTime endTime() const;
    // Everything the form shows, once check() found nothing to refuse.
    template <typename Task> void store(Task& task) const;

private:
    static int zoneBit(int zone) { return 1 << (kZonesPerGroup - 1 - zone); }
    static void newWindow(const CommonSettings& settings, const Clock& clock, HhmmTime* start,
                          HhmmTime* end);

    Fields fields_;
    std::array<QCheckBox*, kGroups> groups_{};
    std::array<QAbstractButton*, kGroups * kZonesPerGroup> zones_{};
};

template <typename Task>
Task TaskForm::NewTask(const CommonSettings& settings, const Clock& clock) {
    Task task;
    task.startDate = task.endDate = TodayYmd(clock);
    newWindow(settings, clock, &task.startTime, &task.endTime);
    task.weekdays = 0xFF;
    return task;
}

template <typename Task> void TaskForm::show(const Task& task, YmdDate today) const {
    fields_.name->setText(task.name);
    const QDate start = YmdToDate(task.startDate);
    const QDate end = YmdToDate(task.endDate);
    fields_.startDate->setDate(start.isValid() ? start : YmdToDate(today));
    fields_.endDate->setDate(end.isValid() ? end : YmdToDate(today));
    fields_.startTime->setText(FormatClock(task.startTime));
    fields_.endTime->setText(FormatClock(task.endTime));
    for (int d = 0; d < 7; ++d)
        fields_.weekdays[size_t(d)]->setChecked(task.weekdays & WeekdayBit(d));
    const std::array<ZoneMask, kGroups> zones{task.zones1, task.zones2, task.zones3};
    const std::array<int, kGroups> groups{task.group1On, task.group2On, task.group3On};
    for (int g = 0; g < kGroups; ++g) {
        for (int z = 0; z < kZonesPerGroup; ++z)
            zone(g, z)->setChecked(zones[size_t(g)] & zoneBit(z));
        groups_[size_t(g)]->setChecked(groups[size_t(g)] != 0);
    }
}

template <typename Task> void TaskForm::store(Task& task) const {
    task.name = StorableText(name());
    task.startDate = DateToYmd(fields_.startDate->date());
    task.endDate = DateToYmd(fields_.endDate->date());
    task.startTime = startTime();
    task.endTime = endTime();
    task.weekdays = 0;
    for (int d = 0; d < 7; ++d) {
        if (fields_.weekdays[size_t(d)]->isChecked())
            task.weekdays |= WeekdayBit(d);
    }
    std::array<ZoneMask, kGroups> zones{};
    for (int g = 0; g < kGroups; ++g) {
        for (int z = 0; z < kZonesPerGroup; ++z) {
            if (zone(g, z)->isChecked())
                zones[size_t(g)] |= zoneBit(z);
        }
    }
    task.zones1 = zones[0];
    task.zones2 = zones[1];
    task.zones3 = zones[2];
    task.group1On = groups_[0]->isChecked() ? 1 : 0;
    task.group2On = groups_[1]->isChecked() ? 1 : 0;
    task.group3On = groups_[2]->isChecked() ? 1 : 0;
}
