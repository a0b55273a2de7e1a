// The interval timer against the real SetTimer, and power control through its seam.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "power/shutdown_win.h"
#include "timer/timer_registry.h"
#include "timer/timer_win.h"

namespace ts {

class PowerTestAccess {
public:
    static bool Enable(clsShutdown& s, bool enable) { return s.EnableShutdownPrivilege(enable); }
};

namespace {

// Pumps this thread's messages until `done` or the deadline.
template <typename Done>
bool PumpUntil(DWORD timeoutMs, Done done) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

TEST(IntervalTimer, TicksWhileRunningAndStopsCleanly) {
    Timer timer;
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetInterval(50);
    EXPECT_FALSE(timer.Enabled()) << "setting the interval alone starts nothing";
    timer.SetEnabled(true);
    ASSERT_TRUE(timer.Enabled());
    EXPECT_NE(timer.SystemTimerId(), 0u);
    EXPECT_EQ(TimerRegistry::Instance().Find(timer.SystemTimerId()), &timer);
    ASSERT_TRUE(PumpUntil(5000, [&] { return ticks >= 3; }));

    const UINT_PTR id = timer.SystemTimerId();
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(TimerRegistry::Instance().Find(id), nullptr);
    const int stoppedAt = ticks;
    PumpUntil(300, [] { return false; });
    EXPECT_EQ(ticks, stoppedAt) << "a stopped timer ticked";
}

TEST(IntervalTimer, NonPositiveIntervalStartsNothing) {
    for (int interval : {0, -1, -1000}) {
        Timer timer;
        timer.SetInterval(interval);
        timer.SetEnabled(true);
        EXPECT_FALSE(timer.Enabled()) << interval;
        EXPECT_EQ(timer.SystemTimerId(), 0u) << interval;
    }
}

TEST(IntervalTimer, TwoTimersEachGetOnlyTheirOwnTicks) {
    Timer fast, slow;
    int fastTicks = 0, slowTicks = 0;
    fast.OnTimer = [&] { ++fastTicks; };
    slow.OnTimer = [&] { ++slowTicks; };
    fast.SetInterval(30);
    slow.SetInterval(100000);
    fast.SetEnabled(true);
    slow.SetEnabled(true);
    EXPECT_NE(fast.SystemTimerId(), slow.SystemTimerId());
    ASSERT_TRUE(PumpUntil(5000, [&] { return fastTicks >= 5; }));
    EXPECT_EQ(slowTicks, 0);
}

TEST(IntervalTimer, RestartWhileRunningKeepsOneSystemTimer) {
    const std::size_t before = TimerRegistry::Instance().Size();
    Timer timer;
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetInterval(100000);
    timer.SetEnabled(true);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(TimerRegistry::Instance().Size(), before + 1);
    timer.SetInterval(30);  // takes effect at once
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(TimerRegistry::Instance().Size(), before + 1);
    EXPECT_TRUE(PumpUntil(5000, [&] { return ticks >= 2; }));
}

TEST(IntervalTimer, DestroyedWhileRunningLeavesNoEntryAndNoTick) {
    const std::size_t before = TimerRegistry::Instance().Size();
    {
        Timer timer;
        timer.OnTimer = [] { FAIL() << "tick after destruction"; };
        timer.SetInterval(10);
        timer.SetEnabled(true);
        ASSERT_EQ(TimerRegistry::Instance().Size(), before + 1);
    }
    EXPECT_EQ(TimerRegistry::Instance().Size(), before);
    PumpUntil(200, [] { return false; });
}

// A scripted PowerApi: each call is logged; results come from the test.
struct FakePower {
    static std::vector<std::string> log;
    static BOOL open, lookup, adjust, exitResult;
    static int adjustCalls;
    static BOOL WINAPI Open(HANDLE, DWORD access, PHANDLE token) {
        log.push_back("open " + std::to_string(access));
        *token = open ? reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1234)) : nullptr;
        return open;
    }
    static BOOL WINAPI Lookup(LPCWSTR, LPCWSTR name, PLUID) {
        log.push_back(std::wstring(name) == L"SeShutdownPrivilege" ? "lookup" : "lookup ?");
        return lookup;
    }
    static BOOL WINAPI Adjust(HANDLE, BOOL, PTOKEN_PRIVILEGES p, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
        log.push_back(std::string("adjust ") + std::to_string(p->Privileges[0].Attributes));
        ++adjustCalls;
        return adjustCalls == 1 ? adjust : adjustSecond;
    }
    static BOOL adjustSecond;
    static BOOL WINAPI Exit(UINT flags, DWORD reserved) {
        log.push_back("exit " + std::to_string(flags) + "," + std::to_string(reserved));
        return exitResult;
    }
    static BOOL WINAPI Close(HANDLE) {
        log.push_back("close");
        return TRUE;
    }
    static int WINAPI Box(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
        std::wstring t(text);
        log.push_back("box " + std::to_string(type) + (std::wstring(caption) == L"定时关机" ? "" : " bad caption") + " " +
                      std::string(t.begin(), t.begin() + 12));
        return IDOK;
    }
    static PowerApi Api() {
        PowerApi api;
        api.openProcessToken = Open;
        api.lookupPrivilegeValue = Lookup;
        api.adjustTokenPrivileges = Adjust;
        api.exitWindowsEx = Exit;
        api.closeHandle = Close;
        api.messageBox = Box;
        return api;
    }
};
std::vector<std::string> FakePower::log;
BOOL FakePower::open, FakePower::lookup, FakePower::adjust, FakePower::adjustSecond, FakePower::exitResult;
int FakePower::adjustCalls;

struct PowerCase {
    const char* name;
    unsigned mode;
    BOOL open, lookup, adjust, adjustSecond, exitResult;
    bool result;
    std::vector<std::string> calls;
};

TEST(PowerControl, CallOrderMessagesAndResults) {
    const std::string box = "box 48 ";
    const PowerCase cases[] = {
        {"power off", 8, 1, 1, 1, 1, 1, true,
         {"open 32", "lookup", "adjust 2", "close", "exit 8,0", "open 32", "lookup", "adjust 0", "close"}},
        {"reboot", 2, 1, 1, 1, 1, 1, true,
         {"open 32", "lookup", "adjust 2", "close", "exit 2,0", "open 32", "lookup", "adjust 0", "close"}},
        {"log off needs no privilege", 0, 1, 1, 1, 1, 1, true, {"exit 0,0"}},
        {"force alone needs no privilege", 4, 1, 1, 1, 1, 1, true, {"exit 4,0"}},
        {"token refused", 8, 0, 1, 1, 1, 1, false, {"open 32", box + "Das Handle f", box + "Das Privileg"}},
        {"lookup fails", 8, 1, 0, 1, 1, 1, false, {"open 32", "lookup", box + "Der aktuelle", "close", box + "Das Privileg"}},
        {"adjust fails", 2, 1, 1, 0, 1, 1, false,
         {"open 32", "lookup", "adjust 2", box + "Das Privileg", "close", box + "Das Privileg"}},
        {"request refused", 8, 1, 1, 1, 1, 0, false,
         {"open 32", "lookup", "adjust 2", "close", "exit 8,0", box + "Das System k", "open 32", "lookup", "adjust 0",
          "close"}},
        {"disabling fails after success", 8, 1, 1, 1, 0, 1, true,
         {"open 32", "lookup", "adjust 2", "close", "exit 8,0", "open 32", "lookup", "adjust 0", box + "Das Privileg",
          "close"}},
    };
    for (const PowerCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakePower::log.clear();
        FakePower::open = c.open;
        FakePower::lookup = c.lookup;
        FakePower::adjust = c.adjust;
        FakePower::adjustSecond = c.adjustSecond;
        FakePower::exitResult = c.exitResult;
        FakePower::adjustCalls = 0;
        clsShutdown power(FakePower::Api());
        EXPECT_EQ(power.ShutDownNTbasedWindows(c.mode), c.result);
        EXPECT_EQ(FakePower::log, c.calls);
    }
}

int WINAPI UnexpectedMessage(HWND, LPCWSTR text, LPCWSTR, UINT) {
    ADD_FAILURE() << "unexpected message: " << std::wstring(text).size() << " characters";
    return IDOK;
}

TEST(PowerControl, PrivilegeStepWithTheRealApi) {
    // Only the privilege step: the real ExitWindowsEx would end the session.
    PowerApi api;
    api.messageBox = UnexpectedMessage;
    clsShutdown power(api);
    EXPECT_TRUE(PowerTestAccess::Enable(power, true));
    EXPECT_TRUE(PowerTestAccess::Enable(power, false));
}

}  // namespace
}  // namespace ts
