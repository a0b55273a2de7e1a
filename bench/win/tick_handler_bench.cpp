// The main window's whole tick handler, called 10,000 times in a real window: time per tick and
// GDI/USER object counts before and after. Prints figures; run by scripts/bench.sh under Wine.
#include <windows.h>

#include <cstdio>

#include "mainwindow/form1_win.h"

int wmain() {
    ts::Form1 form(GetModuleHandleW(nullptr));
    if (!form.Create(true)) return 1;
    HANDLE self = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(self, GR_USEROBJECTS);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    constexpr int kTicks = 10000;
    for (int i = 0; i < kTicks; ++i) form.Timer1_Timer();
    QueryPerformanceCounter(&end);
    const double perTickUs = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                             static_cast<double>(frequency.QuadPart) / kTicks;
    std::printf("tick handler: %.1f us per tick over %d ticks\n", perTickUs, kTicks);
    std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu\n", gdiBefore, GetGuiResources(self, GR_GDIOBJECTS),
                userBefore, GetGuiResources(self, GR_USEROBJECTS));
    return 0;
}
