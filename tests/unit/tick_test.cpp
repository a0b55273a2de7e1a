#include "schedule/tick.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/schedule_fixtures.h"

namespace ts {
namespace {

TEST(TickClock, LabelTexts) {
    struct Case {
        LocalDateTime now;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {{2018, 5, 22, 9, 7, 3}, "2018-05-22", "09:07:03"},
        {{2024, 12, 31, 23, 59, 59}, "2024-12-31", "23:59:59"},
        {{2000, 1, 1, 0, 0, 0}, "2000-01-01", "00:00:00"},
        {{1601, 1, 1, 0, 0, 0}, "1601-01-01", "00:00:00"},
    };
    for (const Case& c : cases) {
        ClockLabels labels = FormatClockLabels(c.now);
        EXPECT_EQ(labels.date.View(), c.date);
        EXPECT_EQ(labels.time.View(), c.time);
    }
}

TEST(TickClock, WeekdayNumbers) {
    struct Case {
        const char* date;
        int weekday;
    };
    const Case cases[] = {
        {"2018-05-22", 3},  // Tuesday
        {"2024-05-05", 1},  // Sunday
        {"2024-05-06", 2},  // Monday
        {"2024-05-11", 7},  // Saturday
        {"2024-02-29", 5},  // Thursday, leap day
        {"2000-03-01", 4},  // Wednesday, after a leap day of a century year
        {"1900-03-01", 5},  // Thursday, 1900 not leap
        {"2024-01-01", 2},  // Monday, January uses the year before
        {"not a date", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(WeekdayOfDateText(c.date), c.weekday);
    }
}

TEST(TickClock, MinutesSinceStartDoNotWrapAt32Bits) {
    EXPECT_DOUBLE_EQ(MinutesSinceStart(0), 0.0);
    EXPECT_DOUBLE_EQ(MinutesSinceStart(90000), 1.5);
    // 2^32 ms is about 49.7 days; a 32-bit count would start again at 0 here.
    EXPECT_DOUBLE_EQ(MinutesSinceStart(4294967296ull), 4294967296.0 / 60000.0);
    EXPECT_GT(MinutesSinceStart(4294967296ull + 60000), 71582.0);
}

// Stored forms that a hand-edited file may hold, read for the comparison keys.
TEST(TickKeys, StoredTextsReadAsDatesAndTimes) {
    struct Case {
        const char* text;
        const char* dateKey;  // "" when not a date
        const char* timeKey;  // "" when not a time
        const char* dayKey;
    };
    const Case cases[] = {
        {"2024-05-01", "20240501", "", "1"},
        {"2024-5-1", "20240501", "", "1"},
        {"2024/05/01", "20240501", "", "1"},
        {"2024.12.31", "20241231", "", "31"},
        {"2024年5月1日", "20240501", "", "1"},
        {" 2024-05-01 ", "20240501", "", "1"},
        {"2024-05-01 23:00", "20240501", "2300", "1"},
        {"2024-02-29", "20240229", "", "29"},
        {"2023-02-29", "", "", ""},
        {"2024-04-31", "", "", ""},
        {"2024-13-01", "", "", ""},
        {"2024-00-10", "", "", ""},
        {"0000-01-01", "", "", ""},
        {"2024-05/01", "", "", ""},
        {"24-05-01", "", "", ""},
        {"20240501", "", "", ""},
        {"2024-005-01", "", "", ""},
        {"09:05", "", "0905", ""},
        {"9:5", "", "0905", ""},
        {"09:05:30", "", "0905", ""},
        {"\t23:59 ", "", "2359", ""},
        {"0:00", "", "0000", ""},
        {"9:05 PM", "", "2105", ""},
        {"12:30am", "", "0030", ""},
        {"12:00 PM", "", "1200", ""},
        {"13:00 PM", "", "", ""},
        {"24:00", "", "", ""},
        {"23:60", "", "", ""},
        {"23:59:60", "", "", ""},
        {"123:00", "", "", ""},
        {"9", "", "", ""},
        {"9:", "", "", ""},
        {"09-05", "", "", ""},
        {"09:05x", "", "", ""},
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"周五", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        KeyText date, time, day;
        EXPECT_EQ(AppendDateKey(c.text, date), *c.dateKey != '\0');
        EXPECT_EQ(AppendTimeKey(c.text, time), *c.timeKey != '\0');
        EXPECT_EQ(AppendDayKey(c.text, day), *c.dayKey != '\0');
        EXPECT_EQ(date.View(), c.dateKey);
        EXPECT_EQ(time.View(), c.timeKey);
        EXPECT_EQ(day.View(), c.dayKey);
    }
}

TEST(TickKeys, KeyTextNumbersAndCapacity) {
    KeyText k;
    k.AppendNumber(INT64_MIN);
    EXPECT_EQ(k.View(), "-9223372036854775808");
    k.Clear();
    k.AppendNumber(0);
    k.AppendNumber(-5);
    EXPECT_EQ(k.View(), "0-5");
    k.Clear();
    for (int i = 0; i < 40; ++i) k.Append('x');
    EXPECT_EQ(k.Size(), KeyText::kCapacity);
}

// One tick: the label texts of a moment, its weekday and uptime.
struct Moment {
    const char* date;
    const char* time;
    double minutes;
};

struct TickCase {
    const char* name;
    Moment now;
    ScheduleSet shutdown;
    ScheduleSet restart;
    int test;
};

using namespace fixtures;

ScheduleMatch CheckAt(const Moment& m, const ScheduleSet& shutdown, const ScheduleSet& restart,
                      std::uint32_t excluded = 0) {
    return CheckSchedules(m.date, m.time, WeekdayOfDateText(m.date), m.minutes, shutdown, restart, excluded);
}

TEST(TickCheck, EachKindForBothActions) {
    // 2018-05-22 is a Tuesday.
    const Moment at0907{"2018-05-22", "09:07:03", 1.0};
    const TickCase cases[] = {
        {"one-off", at0907, Once("2018-05-22", "09:07"), kOff, 1},
        {"daily", at0907, Daily("09:07"), kOff, 2},
        {"weekly", at0907, Weekly("周二", "09:07"), kOff, 3},
        {"monthly", at0907, Monthly(22, "09:07"), kOff, 4},
        {"boot", at0907, Boot(1), kOff, 5},
        {"one-off restart", at0907, kOff, Once("2018-05-22", "09:07"), 6},
        {"daily restart", {"2018-05-22", "23:30:00", 1.0}, kOff, Daily("23:30"), 7},
        {"weekly restart", at0907, kOff, Weekly("周二", "09:07"), 8},
        {"monthly restart", {"2024-03-05", "14:30:10", 1.0}, kOff, Monthly(5, "14:30"), 9},
        {"boot restart", {"2018-05-22", "09:07:03", 45.0}, kOff, Boot(30), 10},
        {"nothing on", at0907, kOff, kOff, 0},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleMatch m = CheckAt(c.now, c.shutdown, c.restart);
        EXPECT_EQ(m.test, c.test);
        EXPECT_EQ(m.shutDownMode, c.test == 0 ? 0u : c.test <= 5 ? 8u : 2u);
    }
}

TEST(TickCheck, NearMisses) {
    const TickCase cases[] = {
        {"one-off, other day", {"2018-05-23", "09:07:00", 1}, Once("2018-05-22", "09:07"), kOff, 0},
        {"one-off, minute before", {"2018-05-22", "09:06:59", 1}, Once("2018-05-22", "09:07"), kOff, 0},
        {"one-off, first second", {"2018-05-22", "09:07:00", 1}, Once("2018-05-22", "09:07"), kOff, 1},
        {"one-off, last second", {"2018-05-22", "09:07:59", 1}, Once("2018-05-22", "09:07"), kOff, 1},
        {"one-off, minute after", {"2018-05-22", "09:08:00", 1}, Once("2018-05-22", "09:07"), kOff, 0},
        {"daily, minute before", {"2018-05-22", "23:29:59", 1}, kOff, Daily("23:30"), 0},
        {"daily, 24-hour clock", {"2018-05-22", "11:30:00", 1}, kOff, Daily("23:30"), 0},
        {"weekly on a Monday only", {"2018-05-22", "08:00:00", 1}, Weekly("周一", "08:00"), kOff, 0},
        {"weekly on the Monday", {"2018-05-21", "08:00:00", 1}, Weekly("周一", "08:00"), kOff, 3},
        {"weekly, name not recognised", {"2018-05-20", "08:00:00", 1}, Weekly("星期日", "08:00"), kOff, 0},
        {"monthly 31 in a 30-day month", {"2024-04-30", "08:00:00", 1}, Monthly(31, "08:00"), kOff, 0},
        {"monthly 31 on the 1st after", {"2024-05-01", "08:00:00", 1}, Monthly(31, "08:00"), kOff, 0},
        {"monthly 31 on the 31st", {"2024-05-31", "08:00:00", 1}, Monthly(31, "08:00"), kOff, 4},
        {"monthly day 1 not 10 or 11", {"2024-05-10", "01:30:00", 1}, Monthly(1, "01:30"), kOff, 0},
        {"monthly day 0", {"2024-05-01", "08:00:00", 1}, Monthly(0, "08:00"), kOff, 0},
        {"boot just below", {"2018-05-22", "09:07:03", 29.9999}, Boot(30), kOff, 0},
        {"boot exactly reached", {"2018-05-22", "09:07:03", 30.0}, Boot(30), kOff, 5},
        {"boot 0 is off", {"2018-05-22", "09:07:03", 100000}, Boot(0), kOff, 0},
        {"boot negative is off", {"2018-05-22", "09:07:03", 100000}, Boot(-5), kOff, 0},
        {"boot 0 minutes up, 0 set", {"2018-05-22", "09:07:03", 0}, Boot(0), kOff, 0},
        // A 32-bit count would have wrapped to about 1 minute here and missed the schedule.
        {"boot beyond 49.7 days", {"2018-05-22", "09:07:03", MinutesSinceStart(4294967296ull + 60000)},
         Boot(71583), kOff, 5},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckAt(c.now, c.shutdown, c.restart).test, c.test);
    }
}

TEST(TickCheck, ShutdownWinsOverRestartAndOrderWithinASet) {
    const Moment now{"2018-05-22", "09:07:03", 500};
    ScheduleSet both = Once("2018-05-22", "09:07");
    both.DailyTime = "09:07";
    both.BootMinutes = 480;
    ScheduleMatch m = CheckAt(now, both, both);
    EXPECT_EQ(m.test, 1);
    EXPECT_EQ(m.shutDownMode, 8u);

    // Restart one-off against shutdown boot: the whole shutdown set goes first.
    m = CheckAt(now, Boot(480), Once("2018-05-22", "09:07"));
    EXPECT_EQ(m.test, 5);
    EXPECT_EQ(m.shutDownMode, 8u);
}

// A left-out test does not hold; the tests after it are made as usual, across both sets.
TEST(TickCheck, ExcludedTestsGiveWayToTheNextInOrder) {
    const Moment now{"2018-05-22", "09:07:03", 500};
    ScheduleSet shutdown = Once("2018-05-22", "09:07");
    shutdown.DailyTime = "09:07";
    const ScheduleSet restart = Daily("09:07");
    struct Case {
        std::uint32_t excluded;
        int test;
    };
    const Case cases[] = {
        {0, 1},
        {TestBit(1), 2},
        {TestBit(1) | TestBit(2), 7},
        {TestBit(1) | TestBit(2) | TestBit(7), 0},
        {TestBit(7), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.excluded);
        EXPECT_EQ(CheckAt(now, shutdown, restart, c.excluded).test, c.test);
    }
    EXPECT_EQ(CheckAt(now, Boot(480), kOff, TestBit(5)).test, 0);
    EXPECT_EQ(CheckAt(now, kOff, Boot(480), TestBit(10)).test, 0);
    EXPECT_EQ(CheckAt(now, kOff, Boot(480), TestBit(5)).test, 10);
}

TEST(TickCheck, EmptyAndUnreadableStoredTextsNeverMatch) {
    const TickCase cases[] = {
        {"one-off without time", {"2018-05-22", "00:00:00", 1}, Once("2018-05-22", ""), kOff, 0},
        {"one-off time without date", {"2018-05-22", "09:07:00", 1}, Once("", "09:07"), kOff, 0},
        {"one-off unreadable date", {"2018-05-22", "09:07:00", 1}, Once("明天", "09:07"), kOff, 0},
        {"one-off unreadable time", {"2018-05-22", "09:07:00", 1}, Once("2018-05-22", "9点7分"), kOff, 0},
        {"one-off impossible date", {"2023-03-01", "09:07:00", 1}, Once("2023-02-29", "09:07"), kOff, 0},
        {"daily empty", {"2018-05-22", "00:00:00", 1}, Daily(""), kOff, 0},
        {"daily unreadable", {"2018-05-22", "09:07:00", 1}, Daily("0907"), kOff, 0},
        {"weekly empty time", {"2018-05-22", "00:00:00", 1}, Weekly("周二", ""), kOff, 0},
        {"weekly unreadable time", {"2018-05-22", "09:07:00", 1}, Weekly("周二", "soon"), kOff, 0},
        {"monthly empty time", {"2018-05-22", "00:00:00", 1}, Monthly(22, ""), kOff, 0},
        // Joined texts alone would read 51430 on both sides on the 5th at 14:30.
        {"monthly long day without time", {"2024-03-05", "14:30:00", 1}, Monthly(51430, ""), kOff, 0},
        {"monthly long day, unreadable time", {"2024-03-05", "14:30:00", 1}, Monthly(51430, "x"), kOff, 0},
        {"hand-edited forms do match", {"2024-05-01", "21:05:00", 1}, Once("2024/5/1", "9:05 PM"), kOff, 1},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckAt(c.now, c.shutdown, c.restart).test, c.test);
    }
}

TEST(TickCheck, UnreadableLabelsOrWeekdayMatchNothingTimeBased) {
    ScheduleSet s = Once("2018-05-22", "09:07");
    EXPECT_EQ(CheckSchedules("", "09:07:00", 3, 0, s, kOff).test, 0);
    EXPECT_EQ(CheckSchedules("garbage", "09:07:00", 3, 0, Weekly("周二", "09:07"), kOff).test, 3);
    EXPECT_EQ(CheckSchedules("2018-05-22", "", 3, 0, Daily("09:07"), kOff).test, 0);
    // A weekday outside 1..7 never meets a weekday name that was not recognised (WeeklyDay 0).
    EXPECT_EQ(CheckSchedules("2018-05-22", "09:07:00", 0, 0, Weekly("星期二", "09:07"), kOff).test, 0);
    // The boot test needs no clock text.
    EXPECT_EQ(CheckSchedules("", "", 0, 31, Boot(30), kOff).test, 5);
}

TEST(TickCheck, WholeTickFromTheLabels) {
    ScheduleSet restart = Daily("23:30");
    ClockLabels labels = FormatClockLabels({2018, 5, 22, 23, 30, 0});
    ScheduleMatch m = CheckTick(labels, 1000, kOff, restart);
    EXPECT_EQ(m.test, 7);
    EXPECT_EQ(m.shutDownMode, 2u);
    EXPECT_EQ(CheckTick(labels, 30ull * 60000, Boot(30), kOff).test, 5);
    EXPECT_EQ(CheckTick(labels, 30ull * 60000 - 1, Boot(30), kOff).test, 0);
}

}  // namespace
}  // namespace ts
