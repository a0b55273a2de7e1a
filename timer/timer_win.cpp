#include "timer/timer_win.h"

#include "timer/timer_registry.h"

namespace ts {

Timer::~Timer() { StopTimer(); }

void Timer::SetInterval(std::int32_t value) {
    interval_ = value;
    SetEnabled(enabled_);
}

void Timer::SetEnabled(bool value) {
    // Restarting keeps one system timer per object and takes the current interval.
    StopTimer();
    if (value) enabled_ = StartTimer();
}

bool Timer::StartTimer() {
    if (id_ != 0 || interval_ <= 0) return false;
    UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(interval_), &TimerProc);
    if (id == 0) return false;
    id_ = id;
    TimerRegistry::Instance().Add(id_, this);
    return true;
}

void Timer::StopTimer() {
    if (id_ == 0) return;
    KillTimer(nullptr, id_);
    TimerRegistry::Instance().Remove(id_);
    id_ = 0;
    enabled_ = false;
}

void Timer::RaiseTimerEvent() {
    if (OnTimer) OnTimer();
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    if (Timer* owner = TimerRegistry::Instance().Find(id)) owner->RaiseTimerEvent();
}

}  // namespace ts
