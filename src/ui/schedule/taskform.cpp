#include "ui/schedule/taskform.h"

#include <QGridLayout>

#include "support/clock.h"

namespace {

constexpr HhmmTime kEndOfDay = 2400;

// Only the space itself: a name may well end in another kind of blank.
QString cutSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

QString MaskedClockDigits(const QLineEdit* edit) {
    QString digits = edit->displayText();
    digits.replace(u'_', u'0');
    digits.remove(u':');
    return digits;
}

TaskForm::TaskForm(const Fields& fields) : fields_(fields) {
    for (QCheckBox* weekend : {fields_.weekdays[5], fields_.weekdays[6]}) {
        QPalette palette = weekend->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        palette.setColor(QPalette::ButtonText, QColor(255, 0, 0));
        weekend->setPalette(palette);
    }
}

void TaskForm::placeZones(QGridLayout* grid, const std::function<QCheckBox*(int)>& makeGroup,
                          const std::function<QAbstractButton*(int)>& makeZone) {
    for (int g = 0; g < kGroups; ++g) {
        QCheckBox* group = makeGroup(g + 1);
        grid->addWidget(group, g, 0);
        groups_[size_t(g)] = group;
        for (int z = 0; z < kZonesPerGroup; ++z) {
            QAbstractButton* button = makeZone(g * kZonesPerGroup + z + 1);
            button->setCheckable(true);
            grid->addWidget(button, g, z + 1);
            zones_[size_t(g * kZonesPerGroup + z)] = button;
            QObject::connect(button, &QAbstractButton::clicked, group, [group](bool on) {
                if (!on)
                    group->setChecked(false);
            });
        }
        QObject::connect(group, &QCheckBox::clicked, group, [this, g](bool on) {
            for (int z = 0; z < kZonesPerGroup; ++z)
                zone(g, z)->setChecked(on);
        });
    }
}

void TaskForm::newWindow(const CommonSettings& settings, const Clock& clock, HhmmTime* start,
                         HhmmTime* end) {
    const int day = TodayWeekday(clock);
    const HhmmTime from = settings.dailyTime[size_t(2 * day)];
    const HhmmTime to = settings.dailyTime[size_t(2 * day + 1)];
    *start = from > 0 ? from : 0;
    *end = to > 0 && to < kEndOfDay ? to : kEndOfDay;
}

TaskForm::Refusal TaskForm::check() const {
    if (name().isEmpty())
        return {QStringLiteral("entry_task_name"), fields_.name};
    if (fields_.endDate->date() < fields_.startDate->date())
        return {QStringLiteral("end_date_smaller_err"), fields_.endDate};
    if (!IsValidClockText(MaskedClockDigits(fields_.startTime)))
        return {QStringLiteral("input_valid_start_time"), fields_.startTime};
    if (!IsValidClockText(MaskedClockDigits(fields_.endTime)))
        return {QStringLiteral("input_valid_end_time"), fields_.endTime};
    if (endTime() < startTime())
        return {QStringLiteral("end_time_smaller_err"), fields_.endTime};
    return {};
}

QString TaskForm::name() const {
    return cutSpaces(fields_.name->text());
}

HhmmTime TaskForm::startTime() const {
    return ParseClockText(MaskedClockDigits(fields_.startTime));
}

HhmmTime TaskForm::endTime() const {
    return ParseClockText(MaskedClockDigits(fields_.endTime));
}
