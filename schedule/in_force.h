// Which schedules of a loaded set can ever fire, and on what, read exactly as the tick reads
// them. The settings dialogs open from this, so a dialog shows only what is in force.
// Pure: no <windows.h>.
#pragma once

#include "schedule/datetime_text.h"
#include "schedule/schedule.h"

namespace ts {

struct SchedulesInForce {
    bool once = false;  // a date and a time that both read
    CalendarDate onceDate;
    TimeOfDay onceTime;
    bool daily = false;
    TimeOfDay dailyTime;
    bool weekly = false;  // one of the seven weekday names and a time that reads
    int weekday = 0;      // 1 Sunday .. 7 Saturday
    TimeOfDay weeklyTime;
    bool monthly = false;  // a day of 1 to 31 and a time that reads
    int monthDay = 0;
    TimeOfDay monthlyTime;
    bool boot = false;  // more than 0 minutes
    int bootMinutes = 0;
};

SchedulesInForce ReadInForce(const ScheduleSet& set);

}  // namespace ts
