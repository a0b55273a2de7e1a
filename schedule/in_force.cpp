#include "schedule/in_force.h"

namespace ts {

// The tick compares keys made by the same readers (AppendDateKey, AppendTimeKey): a side that does
// not read gives no key, and a weekday or day of the month outside the calendar never meets one.
SchedulesInForce ReadInForce(const ScheduleSet& set) {
    SchedulesInForce s;
    s.once = ReadDate(set.OnceDate, s.onceDate) && ReadTime(set.OnceTime, s.onceTime);
    s.daily = ReadTime(set.DailyTime, s.dailyTime);
    s.weekday = set.WeeklyDay;
    s.weekly = set.WeeklyDay >= 1 && set.WeeklyDay <= 7 && ReadTime(set.WeeklyTime, s.weeklyTime);
    s.monthDay = set.MonthlyDay;
    s.monthly = set.MonthlyDay >= 1 && set.MonthlyDay <= 31 && ReadTime(set.MonthlyTime, s.monthlyTime);
    s.bootMinutes = set.BootMinutes;
    s.boot = set.BootMinutes > 0;
    return s;
}

}  // namespace ts
