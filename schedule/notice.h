// The notice before a power request: which scheduled request is due within the next minute,
// announcing each one once, and leaving out the ones the user cancelled. Pure: no <windows.h>.
// Tick runs every second and allocates nothing; only the texts of a notice do, once per notice.
#pragma once

#include <cstdint>
#include <string>

#include "schedule/schedule.h"
#include "schedule/tick.h"

namespace ts {

// Second 0 of the minute after `now`, across day, month and year ends.
LocalDateTime NextMinute(const LocalDateTime& now);

// yyyymmddhhmm of the minute `t` lies in.
std::int64_t MinuteKey(const LocalDateTime& t);

// A minutes-after-start schedule fires once per start of the system, whatever the minute.
constexpr std::int64_t kThisStart = -1;

// One scheduled power request.
struct Occurrence {
    int test = 0;                // 1-10 as in ScheduleMatch; 0 for none
    std::int64_t minuteKey = 0;  // MinuteKey of the minute it is due in; kThisStart for tests 5 and 10
    int hour = 0;                // the local time of the request, as the notice shows it
    int minute = 0;

    PowerAction Action() const { return test <= 5 ? PowerAction::Shutdown : PowerAction::Restart; }
};

// Whether the request still lies ahead at `now`. A notice may be clicked long after it showed (the
// shell holds balloons while the user is away); a request whose minute has passed is not asked about.
bool IsAhead(const Occurrence& occurrence, const LocalDateTime& now);

struct TickDecision {
    ScheduleMatch fire;  // test 0: nothing fires on this tick
    Occurrence notice;   // test 0: nothing new to announce
};

class ScheduleNotices {
public:
    // One tick. `labels` are FormatClockLabels(now), the texts the clock shows. A test that holds
    // now fires (skipped ones left out), and then nothing is announced. Otherwise the request that
    // will come first within the next minute is announced, unless it was announced before.
    TickDecision Tick(const LocalDateTime& now, const ClockLabels& labels, std::uint64_t millisecondsSinceStart,
                      const ScheduleSet& shutdown, const ScheduleSet& restart);

    // The request last announced: the one a click on the notice refers to.
    const Occurrence& Announced() const { return announced_; }

    // That request does not happen: its test does not hold in its minute (a minutes-after-start
    // test not again for this start of the system). Later occurrences of its schedule are not touched.
    void Skip(const Occurrence& occurrence);

    // Bits (TestBit) of the tests skipped in the minute of `t`.
    std::uint32_t SkippedAt(const LocalDateTime& t) const;

private:
    Occurrence Upcoming(const LocalDateTime& now, std::uint64_t millisecondsSinceStart, const ScheduleSet& shutdown,
                        const ScheduleSet& restart) const;

    Occurrence announced_;
    // Per test number, the minuteKey of its occurrence last announced and last skipped; 0 for none.
    // One of each per test is enough: a test's next occurrence lies a minute or more later.
    std::int64_t noticed_[11] = {};
    std::int64_t skipped_[11] = {};
};

// A skipped minutes-after-start request stays skipped for the rest of this start of the system, also
// when the program is started again meanwhile (else its first tick would fire it unannounced). It is
// remembered outside the program as text: the schedule's minutes and the minute the system started.
std::string BootSkipText(std::int32_t bootMinutes, std::int64_t systemStartMinute);
// Whether a remembered skip covers the schedule: the same minutes and the same start of the system.
// The start, worked out again from the clock, may differ by a minute or two after a clock correction.
bool BootSkipCovers(const std::string& remembered, std::int32_t bootMinutes, std::int64_t systemStartMinute);

// The balloon: "将于 HH:MM 关机。点击此处可取消本次。" (重启 for a restart).
std::string NoticeText(const Occurrence& occurrence);
// The question after a click: the time, then "是否取消本次定时关机？".
std::string SkipQuestionText(const Occurrence& occurrence);

}  // namespace ts
