// Schedule sets with one kind switched on, for the tick and notice tests.
#pragma once

#include <cstdint>

#include "schedule/schedule.h"

namespace ts {
namespace fixtures {

inline ScheduleSet Once(const char* date, const char* time) {
    ScheduleSet s;
    s.OnceDate = date;
    s.OnceTime = time;
    return s;
}
inline ScheduleSet Daily(const char* time) {
    ScheduleSet s;
    s.DailyTime = time;
    return s;
}
inline ScheduleSet Weekly(const char* name, const char* time) {
    ScheduleSet s;
    s.WeeklyDayName = name;
    s.WeeklyDay = WeekdayFromName(name);
    s.WeeklyTime = time;
    return s;
}
inline ScheduleSet Monthly(std::int32_t day, const char* time) {
    ScheduleSet s;
    s.MonthlyDay = day;
    s.MonthlyTime = time;
    return s;
}
inline ScheduleSet Boot(std::int32_t minutes) {
    ScheduleSet s;
    s.BootMinutes = minutes;
    return s;
}

inline const ScheduleSet kOff{};

}  // namespace fixtures
}  // namespace ts
