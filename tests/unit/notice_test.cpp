#include "schedule/notice.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/unit/schedule_fixtures.h"

namespace ts {
namespace {

using namespace fixtures;

constexpr std::uint64_t kMinute = 60000;

LocalDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return LocalDateTime{year, month, day, hour, minute, second};
}

LocalDateTime Later(LocalDateTime t, int seconds) {
    for (int i = 0; i < seconds; ++i) {
        if (++t.second == 60) t = NextMinute(t);
    }
    return t;
}

TickDecision TickAt(ScheduleNotices& notices, const LocalDateTime& now, std::uint64_t uptimeMs,
                    const ScheduleSet& shutdown, const ScheduleSet& restart) {
    return notices.Tick(now, FormatClockLabels(now), uptimeMs, shutdown, restart);
}

TEST(NoticeClock, NextMinuteRollsOver) {
    struct Case {
        const char* name;
        LocalDateTime now;
        LocalDateTime next;
    };
    const Case cases[] = {
        {"within the hour", At(2024, 5, 22, 9, 6, 30), At(2024, 5, 22, 9, 7, 0)},
        {"hour", At(2024, 5, 22, 9, 59, 0), At(2024, 5, 22, 10, 0, 0)},
        {"day", At(2024, 5, 22, 23, 59, 59), At(2024, 5, 23, 0, 0, 0)},
        {"30-day month", At(2024, 4, 30, 23, 59, 1), At(2024, 5, 1, 0, 0, 0)},
        {"31-day month", At(2024, 5, 31, 23, 59, 1), At(2024, 6, 1, 0, 0, 0)},
        {"year", At(2024, 12, 31, 23, 59, 59), At(2025, 1, 1, 0, 0, 0)},
        {"28 Feb, common year", At(2023, 2, 28, 23, 59, 0), At(2023, 3, 1, 0, 0, 0)},
        {"28 Feb, leap year", At(2024, 2, 28, 23, 59, 0), At(2024, 2, 29, 0, 0, 0)},
        {"29 Feb", At(2024, 2, 29, 23, 59, 0), At(2024, 3, 1, 0, 0, 0)},
        {"1900 is not a leap year", At(1900, 2, 28, 23, 59, 0), At(1900, 3, 1, 0, 0, 0)},
        {"2000 is", At(2000, 2, 28, 23, 59, 0), At(2000, 2, 29, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MinuteKey(NextMinute(c.now)), MinuteKey(c.next));
        EXPECT_EQ(NextMinute(c.now).second, 0);
    }
    EXPECT_EQ(MinuteKey(At(2024, 12, 31, 23, 59, 59)), 202412312359);
}

// The request that a tick announces: the ten tests on the next minute, the minutes-after-start
// tests over the next 60 seconds, whichever comes first, shutdown before restart.
TEST(NoticeUpcoming, WhatATickAnnounces) {
    struct Case {
        const char* name;
        LocalDateTime now;
        std::uint64_t uptimeMs;
        ScheduleSet shutdown;
        ScheduleSet restart;
        int test;  // 0: nothing announced
        int hour;
        int minute;
    };
    const LocalDateTime wed0906 = At(2024, 5, 22, 9, 6, 30);  // a Wednesday
    const LocalDateTime wedNight = At(2024, 5, 22, 23, 59, 30);
    const LocalDateTime aprilEnd = At(2024, 4, 30, 23, 59, 0);
    const LocalDateTime yearEnd = At(2024, 12, 31, 23, 59, 59);
    const LocalDateTime feb28Common = At(2023, 2, 28, 23, 59, 30);
    const LocalDateTime feb28Leap = At(2024, 2, 28, 23, 59, 30);
    const LocalDateTime feb29 = At(2024, 2, 29, 23, 59, 30);
    const LocalDateTime saturdayNight = At(2024, 5, 11, 23, 59, 30);
    const LocalDateTime noonHalf = At(2024, 5, 22, 12, 0, 30);
    const std::uint64_t up = kMinute;
    const Case cases[] = {
        {"one-off", wed0906, up, Once("2024-05-22", "09:07"), kOff, 1, 9, 7},
        {"daily", wed0906, up, Daily("09:07"), kOff, 2, 9, 7},
        {"weekly", wed0906, up, Weekly("周三", "09:07"), kOff, 3, 9, 7},
        {"monthly", wed0906, up, Monthly(22, "09:07"), kOff, 4, 9, 7},
        {"minutes after start", wed0906, 29 * kMinute + 30000, Boot(30), kOff, 5, 9, 7},
        {"one-off restart", wed0906, up, kOff, Once("2024-05-22", "09:07"), 6, 9, 7},
        {"daily restart", wed0906, up, kOff, Daily("09:07"), 7, 9, 7},
        {"weekly restart", wed0906, up, kOff, Weekly("周三", "09:07"), 8, 9, 7},
        {"monthly restart", wed0906, up, kOff, Monthly(22, "09:07"), 9, 9, 7},
        {"minutes after start, restart", wed0906, 29 * kMinute + 30000, kOff, Boot(30), 10, 9, 7},
        {"two minutes ahead", wed0906, up, Daily("09:08"), Once("2024-05-22", "09:08"), 0, 0, 0},
        {"nothing on", wed0906, up, kOff, kOff, 0, 0, 0},

        {"23:59, one-off tomorrow", wedNight, up, Once("2024-05-23", "00:00"), kOff, 1, 0, 0},
        {"23:59, one-off of today at 00:00", wedNight, up, Once("2024-05-22", "00:00"), kOff, 0, 0, 0},
        {"23:59, daily", wedNight, up, kOff, Daily("00:00"), 7, 0, 0},
        {"23:59, weekly on the next weekday", wedNight, up, Weekly("周四", "00:00"), kOff, 3, 0, 0},
        {"23:59, weekly on today", wedNight, up, Weekly("周三", "00:00"), kOff, 0, 0, 0},
        {"23:59, monthly on the next day", wedNight, up, Monthly(23, "00:00"), kOff, 4, 0, 0},
        {"30 April, monthly 1", aprilEnd, up, Monthly(1, "00:00"), kOff, 4, 0, 0},
        {"30 April, monthly 31", aprilEnd, up, Monthly(31, "00:00"), kOff, 0, 0, 0},
        {"30 April, monthly 30", aprilEnd, up, kOff, Monthly(30, "00:00"), 0, 0, 0},
        {"31 December, one-off", yearEnd, up, kOff, Once("2025-01-01", "00:00"), 6, 0, 0},
        {"31 December, one-off a year late", yearEnd, up, Once("2024-01-01", "00:00"), kOff, 0, 0, 0},
        {"31 December, weekly on Wednesday", yearEnd, up, Weekly("周三", "00:00"), kOff, 3, 0, 0},
        {"31 December, monthly 1", yearEnd, up, kOff, Monthly(1, "00:00"), 9, 0, 0},
        {"28 February, common year, monthly 1", feb28Common, up, Monthly(1, "00:00"), kOff, 4, 0, 0},
        {"28 February, common year, monthly 29", feb28Common, up, Monthly(29, "00:00"), kOff, 0, 0, 0},
        {"28 February, common year, one-off 1 March", feb28Common, up, Once("2023-03-01", "00:00"), kOff, 1, 0, 0},
        {"28 February, leap year, monthly 29", feb28Leap, up, Monthly(29, "00:00"), kOff, 4, 0, 0},
        {"28 February, leap year, one-off 29th", feb28Leap, up, kOff, Once("2024-02-29", "00:00"), 6, 0, 0},
        {"28 February, leap year, monthly 1", feb28Leap, up, Monthly(1, "00:00"), kOff, 0, 0, 0},
        {"29 February, monthly 1", feb29, up, kOff, Monthly(1, "00:00"), 9, 0, 0},
        {"29 February, weekly on Friday", feb29, up, Weekly("周五", "00:00"), kOff, 3, 0, 0},
        {"Saturday night, weekly Sunday", saturdayNight, up, Weekly("周日", "00:00"), kOff, 3, 0, 0},
        {"Saturday night, weekly Sunday, restart", saturdayNight, up, kOff, Weekly("周日", "00:00"), 8, 0, 0},
        {"Saturday night, weekly Saturday", saturdayNight, up, Weekly("周六", "00:00"), kOff, 0, 0, 0},

        {"start value in exactly 60 s", noonHalf, 29 * kMinute, Boot(30), kOff, 5, 12, 1},
        {"start value 60.001 s away", noonHalf, 29 * kMinute - 1, Boot(30), kOff, 0, 0, 0},
        {"start value in 20 s, within this minute", noonHalf, 30 * kMinute - 20000, kOff, Boot(30), 10, 12, 0},
        {"start value in 29.5 s, the next minute", noonHalf, 30 * kMinute - 29500, Boot(30), kOff, 5, 12, 1},
        {"start value 0 is off", noonHalf, 0, Boot(0), kOff, 0, 0, 0},
        {"negative start value is off", noonHalf, 0, Boot(-5), kOff, 0, 0, 0},
        // A 32-bit millisecond count would have started again at 0 here.
        {"start value beyond 49.7 days", noonHalf, 71584ull * kMinute - 30000, Boot(71584), kOff, 5, 12, 1},

        {"both at the minute: shutdown", wed0906, up, Daily("09:07"), Daily("09:07"), 2, 9, 7},
        {"restart one-off against shutdown monthly", wed0906, up, Monthly(22, "09:07"),
         Once("2024-05-22", "09:07"), 4, 9, 7},
        {"restart due 10 s before the minute comes first", wed0906, 30 * kMinute - 10000, Daily("09:07"), Boot(30),
         10, 9, 6},
        {"restart due with the minute: shutdown", wed0906, 30 * kMinute - 30000, Daily("09:07"), Boot(30), 2, 9, 7},
        {"shutdown after start before a restart at the minute", wed0906, 30 * kMinute - 30000, Boot(30),
         Daily("09:07"), 5, 9, 7},
        {"restart at the minute before a later shutdown after start", wed0906, 30 * kMinute - 45000, Boot(30),
         Daily("09:07"), 7, 9, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleNotices notices;
        const TickDecision d = TickAt(notices, c.now, c.uptimeMs, c.shutdown, c.restart);
        EXPECT_EQ(d.fire.test, 0);
        EXPECT_EQ(d.notice.test, c.test);
        if (c.test == 0) continue;
        EXPECT_EQ(d.notice.hour, c.hour);
        EXPECT_EQ(d.notice.minute, c.minute);
        EXPECT_EQ(d.notice.Action(), c.test <= 5 ? PowerAction::Shutdown : PowerAction::Restart);
        EXPECT_EQ(notices.Announced().test, c.test);
    }
}

// Ticks of a whole minute before the request, some seconds twice: one notice, at the first tick,
// then the request at the minute.
TEST(NoticeOnce, OneNoticePerOccurrence) {
    struct Case {
        const char* name;
        ScheduleSet shutdown;
        ScheduleSet restart;
        std::uint64_t uptimeAtStart;
        int test;
    };
    const Case cases[] = {
        {"daily", Daily("23:00"), kOff, kMinute, 2},
        {"weekly restart", kOff, Weekly("周三", "23:00"), kMinute, 8},
        {"minutes after start", Boot(31), kOff, 30 * kMinute, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleNotices notices;
        LocalDateTime now = At(2024, 5, 22, 22, 59, 0);
        std::uint64_t uptime = c.uptimeAtStart;
        int notices_seen = 0;
        for (int second = 0; second < 60; ++second) {
            for (int repeat = 0; repeat < (second % 7 == 0 ? 2 : 1); ++repeat) {
                const TickDecision d = TickAt(notices, now, uptime, c.shutdown, c.restart);
                ASSERT_EQ(d.fire.test, 0) << "at second " << second;
                if (d.notice.test != 0) {
                    EXPECT_EQ(second, 0) << "announced late";
                    EXPECT_EQ(d.notice.test, c.test);
                    ++notices_seen;
                }
            }
            now = Later(now, 1);
            uptime += 1000;
        }
        EXPECT_EQ(notices_seen, 1);
        const TickDecision atMinute = TickAt(notices, now, uptime, c.shutdown, c.restart);
        EXPECT_EQ(atMinute.fire.test, c.test);
        EXPECT_EQ(atMinute.notice.test, 0);
    }
}

TEST(NoticeOnce, FirstTickThatHoldsFiresWithoutNotice) {
    ScheduleNotices notices;
    // Due now and another due at the next minute: the request now, no notice of the other.
    const TickDecision d =
        TickAt(notices, At(2024, 5, 22, 23, 0, 40), kMinute, Daily("23:00"), Once("2024-05-22", "23:01"));
    EXPECT_EQ(d.fire.test, 2);
    EXPECT_EQ(d.fire.shutDownMode, 8u);
    EXPECT_EQ(d.notice.test, 0);
    EXPECT_EQ(notices.Announced().test, 0);
}

TEST(NoticeOnce, StartedInTheLastSecondTheMinuteStays) {
    ScheduleNotices notices;
    const ScheduleSet daily = Daily("23:00");
    TickDecision d = TickAt(notices, At(2024, 5, 22, 22, 59, 59), kMinute, daily, kOff);
    EXPECT_EQ(d.notice.test, 2);
    EXPECT_EQ(d.notice.hour * 100 + d.notice.minute, 2300);
    d = TickAt(notices, At(2024, 5, 22, 23, 0, 0), kMinute + 1000, daily, kOff);
    EXPECT_EQ(d.fire.test, 2);
}

// A skipped occurrence: nothing in its minute, and the schedule's next occurrence is announced and
// fires as always.
TEST(NoticeSkip, SkippedOccurrenceOnlyThatOne) {
    struct Case {
        const char* name;
        ScheduleSet shutdown;
        ScheduleSet restart;
        LocalDateTime before;      // a tick in the minute before the skipped occurrence
        LocalDateTime nextBefore;  // a tick in the minute before the next occurrence
        int test;
    };
    const Case cases[] = {
        {"one-off", Once("2024-05-22", "23:00"), kOff, At(2024, 5, 22, 22, 59, 10), At(2024, 5, 23, 22, 59, 10), 0},
        {"daily", Daily("23:00"), kOff, At(2024, 5, 22, 22, 59, 10), At(2024, 5, 23, 22, 59, 10), 2},
        {"weekly", kOff, Weekly("周三", "23:00"), At(2024, 5, 22, 22, 59, 10), At(2024, 5, 29, 22, 59, 10), 8},
        {"monthly", Monthly(22, "23:00"), kOff, At(2024, 5, 22, 22, 59, 10), At(2024, 6, 22, 22, 59, 10), 4},
        {"monthly at the year end", kOff, Monthly(31, "00:00"), At(2024, 12, 30, 23, 59, 10),
         At(2025, 1, 30, 23, 59, 10), 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleNotices notices;
        const int test = c.test == 0 ? 1 : c.test;
        const TickDecision noticed = TickAt(notices, c.before, kMinute, c.shutdown, c.restart);
        ASSERT_EQ(noticed.notice.test, test);
        notices.Skip(noticed.notice);
        LocalDateTime now = Later(c.before, 1);
        for (int second = 0; second < 120; ++second, now = Later(now, 1)) {
            const TickDecision d = TickAt(notices, now, kMinute, c.shutdown, c.restart);
            ASSERT_EQ(d.fire.test, 0) << "fired at " << MinuteKey(now) << " second " << now.second;
            ASSERT_EQ(d.notice.test, 0);
        }
        const TickDecision next = TickAt(notices, c.nextBefore, kMinute, c.shutdown, c.restart);
        EXPECT_EQ(next.notice.test, c.test);
        if (c.test == 0) continue;
        EXPECT_EQ(TickAt(notices, NextMinute(c.nextBefore), kMinute, c.shutdown, c.restart).fire.test, c.test);
    }
}

TEST(NoticeSkip, MinutesAfterStartStaySkippedForThisStart) {
    ScheduleNotices notices;
    const ScheduleSet boot = Boot(30);
    const LocalDateTime start = At(2024, 5, 22, 9, 0, 0);
    const TickDecision noticed = TickAt(notices, start, 29 * kMinute + 30000, boot, kOff);
    ASSERT_EQ(noticed.notice.test, 5);
    notices.Skip(noticed.notice);
    for (int second = 1; second <= 2 * 3600; second += 7) {
        const TickDecision d = TickAt(notices, Later(start, second), 29 * kMinute + 30000 + second * 1000ull, boot, kOff);
        ASSERT_EQ(d.fire.test, 0) << second;
        ASSERT_EQ(d.notice.test, 0) << second;
    }
    // The restart's own schedule is not touched.
    const TickDecision other = TickAt(notices, start, 31 * kMinute, boot, Boot(31));
    EXPECT_EQ(other.fire.test, 10);
}

TEST(NoticeSkip, RememberedMinutesAfterStartSkipCoversOnlyThatScheduleAndStart) {
    const std::int64_t start = 27000000;  // the minute the system started
    const std::string remembered = BootSkipText(90, start);
    struct Case {
        const char* why;
        std::string text;
        std::int32_t minutes;
        std::int64_t start;
        bool covers;
    } cases[] = {
        {"the same schedule, the same start", remembered, 90, start, true},
        {"the start read again after the clock moved a little", remembered, 90, start + 2, true},
        {"the clock moved back a little", remembered, 90, start - 1, true},
        {"the system started again", remembered, 90, start + 95, false},
        {"the schedule changed meanwhile", remembered, 120, start, false},
        {"a schedule switched off", BootSkipText(0, start), 0, start, false},
        {"text of some other kind", "90", 90, start, false},
        {"trailing text", remembered + "x", 90, start, false},
        {"empty", "", 90, start, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(BootSkipCovers(c.text, c.minutes, c.start), c.covers);
    }
}

TEST(NoticeSkip, NextScheduleOfTheSameMinuteFollowsAtOnce) {
    ScheduleNotices notices;
    const ScheduleSet shutdown = Daily("23:00");
    const ScheduleSet restart = Daily("23:00");
    const LocalDateTime now = At(2024, 5, 22, 22, 59, 40);
    const TickDecision first = TickAt(notices, now, kMinute, shutdown, restart);
    ASSERT_EQ(first.notice.test, 2);
    notices.Skip(notices.Announced());
    // The same second again, as right after the answer.
    const TickDecision second = TickAt(notices, now, kMinute, shutdown, restart);
    EXPECT_EQ(second.notice.test, 7);
    EXPECT_EQ(notices.Announced().test, 7);
    EXPECT_EQ(TickAt(notices, Later(now, 5), kMinute, shutdown, restart).notice.test, 0);
    const TickDecision atMinute = TickAt(notices, At(2024, 5, 22, 23, 0, 0), kMinute, shutdown, restart);
    EXPECT_EQ(atMinute.fire.test, 7);
    EXPECT_EQ(atMinute.fire.shutDownMode, 2u);
}

// A schedule saved meanwhile whose request comes earlier takes the notice; skipping it does not
// announce the displaced one a second time.
TEST(NoticeSkip, EarlierRequestTakesTheNoticeOnce) {
    ScheduleNotices notices;
    const ScheduleSet shutdown = Daily("09:07");
    const LocalDateTime now = At(2024, 5, 22, 9, 6, 10);
    EXPECT_EQ(TickAt(notices, now, 29 * kMinute, shutdown, kOff).notice.test, 2);
    // Restart 30 minutes after start, saved now: due in 15 s, 5 s before the shutdown's minute.
    const ScheduleSet restart = Boot(30);
    const TickDecision earlier = TickAt(notices, Later(now, 30), 30 * kMinute - 15000, shutdown, restart);
    EXPECT_EQ(earlier.notice.test, 10);
    EXPECT_EQ(earlier.notice.hour * 100 + earlier.notice.minute, 906);
    notices.Skip(notices.Announced());
    EXPECT_EQ(TickAt(notices, Later(now, 31), 30 * kMinute - 14000, shutdown, restart).notice.test, 0);
    EXPECT_EQ(TickAt(notices, At(2024, 5, 22, 9, 7, 0), 30 * kMinute + 500, shutdown, restart).fire.test, 2);
}

// A notice clicked late asks nothing once its minute has passed.
TEST(NoticeSkip, OnlyRequestsAheadAreAskedAbout) {
    ScheduleNotices notices;
    const TickDecision d = TickAt(notices, At(2024, 12, 31, 23, 59, 30), kMinute, Daily("00:00"), kOff);
    ASSERT_EQ(d.notice.test, 2);
    EXPECT_TRUE(IsAhead(d.notice, At(2024, 12, 31, 23, 59, 59)));
    EXPECT_TRUE(IsAhead(d.notice, At(2025, 1, 1, 0, 0, 30)));
    EXPECT_FALSE(IsAhead(d.notice, At(2025, 1, 1, 0, 1, 0)));
    EXPECT_FALSE(IsAhead(d.notice, At(2025, 1, 2, 0, 0, 0)));
    Occurrence boot;
    boot.test = 10;
    boot.minuteKey = kThisStart;
    EXPECT_TRUE(IsAhead(boot, At(2030, 1, 1, 0, 0, 0)));
    EXPECT_FALSE(IsAhead(Occurrence{}, At(2024, 1, 1, 0, 0, 0)));
}

TEST(NoticeText, BalloonAndQuestion) {
    Occurrence shutdown;
    shutdown.test = 2;
    shutdown.hour = 23;
    shutdown.minute = 0;
    Occurrence restart;
    restart.test = 10;
    restart.hour = 7;
    restart.minute = 5;
    EXPECT_EQ(NoticeText(shutdown), "将于 23:00 关机。点击此处可取消本次。");
    EXPECT_EQ(NoticeText(restart), "将于 07:05 重启。点击此处可取消本次。");
    EXPECT_EQ(SkipQuestionText(shutdown), "将于 23:00 关机。\n是否取消本次定时关机？");
    EXPECT_EQ(SkipQuestionText(restart), "将于 07:05 重启。\n是否取消本次定时重启？");
}

}  // namespace
}  // namespace ts
