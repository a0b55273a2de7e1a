// The two schedule sets and what each power action selects. Pure logic: no <windows.h>.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ts {

enum class PowerAction { Shutdown, Restart };

// Everything that differs between the two actions, in one place. All texts UTF-8.
struct ActionInfo {
    PowerAction action;
    const char* section;      // settings file section
    const char* verb;         // 关机 / 重启, the word in list suffixes and captions
    const char* dialogTitle;  // settings dialog caption
    // Settings keys, in the order the dialog writes them.
    const char* keyOnceDate;
    const char* keyOnceTime;
    const char* keyDaily;
    const char* keyWeeklyDayName;
    const char* keyWeeklyTime;
    const char* keyMonthlyDay;
    const char* keyMonthlyTime;
    const char* keyBootMinutes;
    // Check box captions of the dialog, one-off to minutes-after-start.
    const char* checkCaptions[5];
    std::uint32_t shutDownMode;  // ExitWindowsEx flags: 8 power off, 2 reboot
};

const ActionInfo& Info(PowerAction action);

struct ScheduleSet {
    std::string OnceDate;
    std::string OnceTime;
    std::string DailyTime;
    std::string WeeklyDayName;
    std::int32_t WeeklyDay = 0;  // 1..7, Sunday = 1; 0 when the name is not recognised
    std::string WeeklyTime;
    std::int32_t MonthlyDay = 0;
    std::string MonthlyTime;
    std::int32_t BootMinutes = 0;

    bool operator==(const ScheduleSet& o) const;
};

// Reads one key of the action's section; returns "" for anything missing.
using KeyReader = std::function<std::string(const std::string& section, const std::string& key)>;

// Fills one set from the settings keys, reading each key once and in the fixed order.
ScheduleSet LoadScheduleSet(PowerAction action, const KeyReader& read);

// ShiJian's work: both sets back to the start-up state, then the shutdown set and the restart set
// loaded from their own sections, in that order.
void LoadBothSets(const KeyReader& read, ScheduleSet& shutdown, ScheduleSet& restart);

// Weekday number from the first two characters of a stored name; 0 if not one of the seven.
std::int32_t WeekdayFromName(const std::string& name);

// Decimal text (blanks around allowed) rounded half to even into a 32-bit signed value.
// False, leaving `out` alone, for text that is not a number or lies outside the range.
bool ParseWholeNumber(const std::string& text, std::int32_t& out);

}  // namespace ts
