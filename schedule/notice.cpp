#include "schedule/notice.h"

#include <cstdio>
#include <cstdlib>

namespace ts {

namespace {

constexpr std::int64_t kMinuteMs = 60000;

struct Candidate {
    Occurrence occurrence;
    std::int64_t dueSeconds = 0;
};

// The earlier request wins; at the same second the tick's order does, so shutdown before restart.
bool Earlier(const Candidate& a, const Candidate& b) {
    if (b.occurrence.test == 0) return a.occurrence.test != 0;
    if (a.occurrence.test == 0) return false;
    if (a.dueSeconds != b.dueSeconds) return a.dueSeconds < b.dueSeconds;
    return a.occurrence.test < b.occurrence.test;
}

// A minutes-after-start schedule that will reach its value within the next 60 seconds. Its local
// time is that of the first tick at or after the moment, which lies in this minute or the next.
Candidate BootCandidate(int test, std::int32_t bootMinutes, std::uint64_t millisecondsSinceStart,
                        const LocalDateTime& now, const LocalDateTime& next) {
    Candidate c;
    if (bootMinutes <= 0) return c;
    const std::int64_t dueMs =
        static_cast<std::int64_t>(bootMinutes) * kMinuteMs - static_cast<std::int64_t>(millisecondsSinceStart);
    if (dueMs > kMinuteMs) return c;
    c.dueSeconds = dueMs <= 0 ? 0 : (dueMs + 999) / 1000;
    const LocalDateTime& at = now.second + c.dueSeconds >= 60 ? next : now;
    c.occurrence.test = test;
    c.occurrence.minuteKey = kThisStart;
    c.occurrence.hour = at.hour;
    c.occurrence.minute = at.minute;
    return c;
}

// "将于 23:00 关机"
std::string WhenAndWhat(const Occurrence& o) {
    KeyText time;
    time.AppendDigits(o.hour, 2);
    time.Append(':');
    time.AppendDigits(o.minute, 2);
    return "将于 " + std::string(time.View()) + " " + Info(o.Action()).verb;
}

}  // namespace

LocalDateTime NextMinute(const LocalDateTime& now) {
    LocalDateTime t = now;
    t.second = 0;
    if (++t.minute < 60) return t;
    t.minute = 0;
    if (++t.hour < 24) return t;
    t.hour = 0;
    if (++t.day <= DaysInMonth(t.year, t.month)) return t;
    t.day = 1;
    if (++t.month <= 12) return t;
    t.month = 1;
    ++t.year;
    return t;
}

std::int64_t MinuteKey(const LocalDateTime& t) {
    return ((((static_cast<std::int64_t>(t.year) * 100 + t.month) * 100 + t.day) * 100 + t.hour) * 100) + t.minute;
}

bool IsAhead(const Occurrence& occurrence, const LocalDateTime& now) {
    if (occurrence.test == 0) return false;
    return occurrence.minuteKey == kThisStart || occurrence.minuteKey >= MinuteKey(now);
}

std::uint32_t ScheduleNotices::SkippedAt(const LocalDateTime& t) const {
    const std::int64_t key = MinuteKey(t);
    std::uint32_t bits = 0;
    for (int test = 1; test <= 10; ++test) {
        if (skipped_[test] != 0 && (skipped_[test] == key || skipped_[test] == kThisStart)) bits |= TestBit(test);
    }
    return bits;
}

Occurrence ScheduleNotices::Upcoming(const LocalDateTime& now, std::uint64_t millisecondsSinceStart,
                                     const ScheduleSet& shutdown, const ScheduleSet& restart) const {
    const LocalDateTime next = NextMinute(now);
    const std::uint32_t skipped = SkippedAt(next);

    // The ten tests on the next minute's labels; the two minutes-after-start tests are made below,
    // since they need not wait for a minute to begin.
    const ClockLabels labels = FormatClockLabels(next);
    const ScheduleMatch atMinute =
        CheckSchedules(labels.date.View(), labels.time.View(), WeekdayNumber(CalendarDate{next.year, next.month, next.day}),
                       0.0, shutdown, restart, skipped | kBootTests);
    Candidate best;
    if (atMinute.test != 0) {
        best.occurrence.test = atMinute.test;
        best.occurrence.minuteKey = MinuteKey(next);
        best.occurrence.hour = next.hour;
        best.occurrence.minute = next.minute;
        best.dueSeconds = now.second >= 60 ? 0 : 60 - now.second;
    }
    if ((skipped & TestBit(5)) == 0) {
        const Candidate boot = BootCandidate(5, shutdown.BootMinutes, millisecondsSinceStart, now, next);
        if (Earlier(boot, best)) best = boot;
    }
    if ((skipped & TestBit(10)) == 0) {
        const Candidate boot = BootCandidate(10, restart.BootMinutes, millisecondsSinceStart, now, next);
        if (Earlier(boot, best)) best = boot;
    }
    return best.occurrence;
}

TickDecision ScheduleNotices::Tick(const LocalDateTime& now, const ClockLabels& labels,
                                   std::uint64_t millisecondsSinceStart, const ScheduleSet& shutdown,
                                   const ScheduleSet& restart) {
    TickDecision decision;
    decision.fire = CheckTick(labels, millisecondsSinceStart, shutdown, restart, SkippedAt(now));
    if (decision.fire.test != 0) return decision;
    const Occurrence next = Upcoming(now, millisecondsSinceStart, shutdown, restart);
    // Each occurrence once, even when a request that comes earlier took the notice in between.
    if (next.test == 0 || noticed_[next.test] == next.minuteKey) return decision;
    noticed_[next.test] = next.minuteKey;
    announced_ = next;
    decision.notice = next;
    return decision;
}

void ScheduleNotices::Skip(const Occurrence& occurrence) {
    if (occurrence.test < 1 || occurrence.test > 10) return;
    skipped_[occurrence.test] = occurrence.minuteKey;
}

std::string BootSkipText(std::int32_t bootMinutes, std::int64_t systemStartMinute) {
    char text[48];
    std::snprintf(text, sizeof text, "%ld@%lld", static_cast<long>(bootMinutes),
                  static_cast<long long>(systemStartMinute));
    return text;
}

bool BootSkipCovers(const std::string& remembered, std::int32_t bootMinutes, std::int64_t systemStartMinute) {
    constexpr std::int64_t kClockSlackMinutes = 2;
    long minutes = 0;
    long long start = 0;
    int used = 0;
    if (std::sscanf(remembered.c_str(), "%ld@%lld%n", &minutes, &start, &used) != 2 ||
        used != static_cast<int>(remembered.size())) {
        return false;
    }
    return minutes == bootMinutes && bootMinutes > 0 && std::llabs(start - systemStartMinute) <= kClockSlackMinutes;
}

std::string NoticeText(const Occurrence& occurrence) {
    return WhenAndWhat(occurrence) + "。点击此处可取消本次。";
}

std::string SkipQuestionText(const Occurrence& occurrence) {
    return WhenAndWhat(occurrence) + "。\n是否取消本次定时" + Info(occurrence.Action()).verb + "？";
}

}  // namespace ts
