// A window-less interval timer: a thread timer whose ticks reach the object that owns it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace ts {

class Timer {
public:
    Timer() = default;
    ~Timer();  // stops the system timer, so no tick reaches a destroyed object
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::int32_t Interval() const { return interval_; }
    // Stores the interval; a running timer restarts with it.
    void SetInterval(std::int32_t value);
    bool Enabled() const { return enabled_; }
    // True starts (or restarts) the system timer; the flag reads false when it could not start.
    void SetEnabled(bool value);

    // Raised once per elapsed interval, on the thread that started the timer.
    std::function<void()> OnTimer;

    UINT_PTR SystemTimerId() const { return id_; }

private:
    friend void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    bool StartTimer();
    void StopTimer();
    void RaiseTimerEvent();

    UINT_PTR id_ = 0;
    std::int32_t interval_ = 0;
    bool enabled_ = false;
};

void CALLBACK TimerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);

}  // namespace ts
