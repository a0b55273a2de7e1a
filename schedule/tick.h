// The once-a-second work of the main window that needs no window: the clock texts and the
// ten schedule tests. Pure: no <windows.h>. Nothing here allocates; it runs every second.
#pragma once

#include <cstdint>
#include <string_view>

#include "schedule/datetime_text.h"
#include "schedule/schedule.h"

namespace ts {

// The local date and time as the system gives it (SYSTEMTIME's fields), 24-hour clock.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Texts of the date label ("YYYY-MM-DD") and the time label ("hh:mm:ss").
struct ClockLabels {
    KeyText date;
    KeyText time;
};

ClockLabels FormatClockLabels(const LocalDateTime& now);

// 1 Sunday, 2 Monday ... 7 Saturday.
int WeekdayNumber(const CalendarDate& date);
// Weekday number of a date text; 0 when the text does not read as a date.
int WeekdayOfDateText(std::string_view dateText);

// Minutes since system start from the 64-bit millisecond count, as a real number, not rounded.
double MinutesSinceStart(std::uint64_t milliseconds);

// Which test held first: 1-5 the shutdown set (one-off, daily, weekly, monthly, minutes after
// start), 6-10 the same for the restart set; 0 when none did.
struct ScheduleMatch {
    int test = 0;
    std::uint32_t shutDownMode = 0;  // 8 power off for 1-5, 2 reboot for 6-10, 0 for none
};

// Tests left out of a check, one bit per test number (bit 1 << 1 for test 1 ... 1 << 10).
constexpr std::uint32_t TestBit(int test) { return 1u << test; }
constexpr std::uint32_t kBootTests = TestBit(5) | TestBit(10);

// The ten tests of one tick against the date text D and time text T that the labels show.
// A side whose key is empty (empty or unreadable stored text) never matches; a test whose bit is in
// `excluded` does not hold, and the tests after it are made as usual.
ScheduleMatch CheckSchedules(std::string_view dateText, std::string_view timeText, int weekday,
                             double minutesSinceStart, const ScheduleSet& shutdown,
                             const ScheduleSet& restart, std::uint32_t excluded = 0);

// The same, taking D, T and the weekday from the labels just written.
ScheduleMatch CheckTick(const ClockLabels& labels, std::uint64_t millisecondsSinceStart,
                        const ScheduleSet& shutdown, const ScheduleSet& restart, std::uint32_t excluded = 0);

}  // namespace ts
