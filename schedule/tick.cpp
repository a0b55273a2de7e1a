#include "schedule/tick.h"

namespace ts {

namespace {

// The keys of this tick, built once from D and T and shared by all ten tests.
struct CurrentKeys {
    KeyText dateTime;   // yyyymmdd hhmm
    KeyText time;       // hhmm
    KeyText weekdayTime;  // weekday number, hhmm
    KeyText dayTime;    // d, hhmm
    double minutes = 0;
};

bool OnceHolds(const CurrentKeys& now, const ScheduleSet& s) {
    KeyText key;
    return AppendDateKey(s.OnceDate, key) && AppendTimeKey(s.OnceTime, key) &&
           !now.dateTime.Empty() && key.View() == now.dateTime.View();
}

bool DailyHolds(const CurrentKeys& now, const ScheduleSet& s) {
    KeyText key;
    return AppendTimeKey(s.DailyTime, key) && !now.time.Empty() && key.View() == now.time.View();
}

bool WeeklyHolds(const CurrentKeys& now, const ScheduleSet& s) {
    KeyText key;
    key.AppendNumber(s.WeeklyDay);
    return AppendTimeKey(s.WeeklyTime, key) && !now.weekdayTime.Empty() &&
           key.View() == now.weekdayTime.View();
}

// With the time key required on both sides it is always four digits, so the joined texts
// cannot line up a long day number against day and time (51430 against the 5th at 14:30).
bool MonthlyHolds(const CurrentKeys& now, const ScheduleSet& s) {
    KeyText key;
    key.AppendNumber(s.MonthlyDay);
    return AppendTimeKey(s.MonthlyTime, key) && !now.dayTime.Empty() &&
           key.View() == now.dayTime.View();
}

bool BootHolds(const CurrentKeys& now, const ScheduleSet& s) {
    return s.BootMinutes > 0 && now.minutes >= static_cast<double>(s.BootMinutes);
}

// `excluded` holds the bits of tests 1-5 of this set.
int FirstHolding(const CurrentKeys& now, const ScheduleSet& s, std::uint32_t excluded) {
    auto on = [excluded](int test) { return (excluded & TestBit(test)) == 0; };
    if (on(1) && OnceHolds(now, s)) return 1;
    if (on(2) && DailyHolds(now, s)) return 2;
    if (on(3) && WeeklyHolds(now, s)) return 3;
    if (on(4) && MonthlyHolds(now, s)) return 4;
    if (on(5) && BootHolds(now, s)) return 5;
    return 0;
}

}  // namespace

ClockLabels FormatClockLabels(const LocalDateTime& now) {
    ClockLabels labels;
    labels.date.AppendDigits(now.year, 4);
    labels.date.Append('-');
    labels.date.AppendDigits(now.month, 2);
    labels.date.Append('-');
    labels.date.AppendDigits(now.day, 2);
    labels.time.AppendDigits(now.hour, 2);
    labels.time.Append(':');
    labels.time.AppendDigits(now.minute, 2);
    labels.time.Append(':');
    labels.time.AppendDigits(now.second, 2);
    return labels;
}

int WeekdayNumber(const CalendarDate& date) {
    static const int kMonthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = date.month < 3 ? date.year - 1 : date.year;
    int sunday0 = (y + y / 4 - y / 100 + y / 400 + kMonthOffset[date.month - 1] + date.day) % 7;
    return sunday0 + 1;
}

int WeekdayOfDateText(std::string_view dateText) {
    CalendarDate d;
    return ReadDate(dateText, d) ? WeekdayNumber(d) : 0;
}

double MinutesSinceStart(std::uint64_t milliseconds) {
    return static_cast<double>(milliseconds) / 60000.0;
}

ScheduleMatch CheckSchedules(std::string_view dateText, std::string_view timeText, int weekday,
                             double minutesSinceStart, const ScheduleSet& shutdown,
                             const ScheduleSet& restart, std::uint32_t excluded) {
    CurrentKeys now;
    now.minutes = minutesSinceStart;
    KeyText date;
    KeyText time;
    KeyText day;
    bool haveTime = AppendTimeKey(timeText, time);
    if (haveTime) {
        now.time = time;
        if (AppendDateKey(dateText, date)) {
            now.dateTime = date;
            now.dateTime.Append(time.View());
        }
        if (weekday >= 1 && weekday <= 7) {
            now.weekdayTime.AppendNumber(weekday);
            now.weekdayTime.Append(time.View());
        }
        if (AppendDayKey(dateText, day)) {
            now.dayTime = day;
            now.dayTime.Append(time.View());
        }
    }

    ScheduleMatch match;
    if (int test = FirstHolding(now, shutdown, excluded)) {
        match.test = test;
        match.shutDownMode = Info(PowerAction::Shutdown).shutDownMode;
    } else if (int test2 = FirstHolding(now, restart, excluded >> 5)) {
        match.test = test2 + 5;
        match.shutDownMode = Info(PowerAction::Restart).shutDownMode;
    }
    return match;
}

ScheduleMatch CheckTick(const ClockLabels& labels, std::uint64_t millisecondsSinceStart,
                        const ScheduleSet& shutdown, const ScheduleSet& restart, std::uint32_t excluded) {
    return CheckSchedules(labels.date.View(), labels.time.View(), WeekdayOfDateText(labels.date.View()),
                          MinutesSinceStart(millisecondsSinceStart), shutdown, restart, excluded);
}

}  // namespace ts
