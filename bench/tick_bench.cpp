// One tick's pure work: the two label texts, the keys and all ten tests, with every schedule
// of both sets on and none matching, so no test stops the run early. BM_Tick is the check alone,
// as it was before the notice; BM_TickWithNotice the whole tick now: the check, then the ten tests
// again on the next minute for the notice.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "schedule/notice.h"
#include "schedule/tick.h"

// Counts heap allocations, so the report shows that a tick allocates nothing.
namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

ts::ScheduleSet AllOn(const char* weekday) {
    ts::ScheduleSet s;
    s.OnceDate = "2024-05-01";
    s.OnceTime = "23:00";
    s.DailyTime = "07:30";
    s.WeeklyDayName = weekday;
    s.WeeklyDay = ts::WeekdayFromName(weekday);
    s.WeeklyTime = "18:30";
    s.MonthlyDay = 15;
    s.MonthlyTime = "09:05";
    s.BootMinutes = 20000;
    return s;
}

// Runs `tick` once per iteration over a running clock, and reports the heap allocations per tick.
template <typename Tick>
void RunTicks(benchmark::State& state, Tick tick) {
    const ts::ScheduleSet shutdown = AllOn("周五");
    const ts::ScheduleSet restart = AllOn("周一");
    ts::LocalDateTime now{2018, 5, 22, 9, 7, 3};
    const std::uint64_t uptimeMs = 45ull * 60000;
    const long long before = g_allocations.load();
    for (auto _ : state) {
        tick(now, uptimeMs, shutdown, restart);
        now.second = (now.second + 1) % 60;
    }
    state.counters["allocs_per_tick"] = benchmark::Counter(
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}

void BM_Tick(benchmark::State& state) {
    RunTicks(state, [](const ts::LocalDateTime& now, std::uint64_t uptimeMs, const ts::ScheduleSet& shutdown,
                       const ts::ScheduleSet& restart) {
        ts::ClockLabels labels = ts::FormatClockLabels(now);
        ts::ScheduleMatch match = ts::CheckTick(labels, uptimeMs, shutdown, restart);
        benchmark::DoNotOptimize(labels);
        benchmark::DoNotOptimize(match);
    });
}
BENCHMARK(BM_Tick);

void BM_TickWithNotice(benchmark::State& state) {
    ts::ScheduleNotices notices;
    RunTicks(state, [&notices](const ts::LocalDateTime& now, std::uint64_t uptimeMs, const ts::ScheduleSet& shutdown,
                               const ts::ScheduleSet& restart) {
        ts::ClockLabels labels = ts::FormatClockLabels(now);
        ts::TickDecision decision = notices.Tick(now, labels, uptimeMs, shutdown, restart);
        benchmark::DoNotOptimize(labels);
        benchmark::DoNotOptimize(decision);
    });
}
BENCHMARK(BM_TickWithNotice);

}  // namespace
