// Entry point: one instance, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "common/handles_win.h"
#include "common/wide_win.h"
#include "mainwindow/form1_win.h"
#include "common/message_loop_win.h"
#include "mainwindow/startup.h"

namespace {

// Per session: another user's copy on the same machine does not stop this one.
constexpr wchar_t kInstanceMutexName[] = L"Local\\TimedShutdown.SingleInstance";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ts::UniqueKernelHandle instanceMutex(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!instanceMutex || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    ts::Form1 form(instance);
    if (!form.Create(ts::StartsHidden(ts::ArgumentText(ts::Narrow(GetCommandLineW()))))) return 1;
    return ts::RunMessageLoop();
}
