// The main window: clock, both schedule lists, the two 设置… buttons and the logon check box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/message_loop_win.h"
#include "dialogs/settings_dialog_win.h"
#include "schedule/notice.h"
#include "schedule/schedule.h"
#include "power/shutdown_win.h"
#include "timer/timer_win.h"

namespace ts {

class Form1 final : private SettingsDialogHost {
public:
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window and runs the start-up sequence; shows it unless `startHidden`.
    bool Create(bool startHidden);

    HWND Hwnd() const { return hwnd_; }
    HWND ScheduleList(PowerAction action) const { return action == PowerAction::Shutdown ? list1_ : list2_; }
    // The host of both settings dialogs.
    SettingsDialogHost& DialogHost() { return *this; }

    // Reloads both schedule sets from the settings file.
    void ShiJian();

    // The clock display and the schedule check, once a second.
    void Timer1_Timer();

    // Last window state that was not minimized: 0 normal, 2 maximized.
    std::int16_t LastState = 0;

private:
    template <typename T>
    friend LRESULT CALLBACK WindowProcFor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void ApplyDpi(UINT dpi);
    void RebuildBackground();
    void FillScheduleLists();
    void OnSize(WPARAM kind);
    void OnClose();
    void OnCommand(int id, int code);
    void OnTrayCallback(LPARAM event);
    void AskToSkipNotice();
    // A minutes-after-start request skipped earlier in this start of the system stays skipped.
    void RestoreBootSkips();
    void LoadRunAtLogonState();
    void Check1_Click();
    HBRUSH OnCtlColor(HDC dc, HWND control);

    // SettingsDialogHost
    HWND HostWindow() const override { return hwnd_; }
    HICON HostIcon(bool small) const override { return small ? iconSmall_ : iconLarge_; }
    void ScheduleSaved(PowerAction action, const std::vector<std::string>& listLines) override;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND label1_ = nullptr;
    HWND label2_ = nullptr;
    HWND frame1_ = nullptr;
    HWND command1_ = nullptr;
    HWND list1_ = nullptr;
    HWND frame2_ = nullptr;
    HWND command2_ = nullptr;
    HWND list2_ = nullptr;
    HWND check1_ = nullptr;

    DialogKeyboard keyboard_;
    UINT dpi_ = 96;
    HICON iconLarge_ = nullptr;  // shared icons from LoadImage: not destroyed
    HICON iconSmall_ = nullptr;
    UniqueFont clockFont_;
    UniqueFont buttonFont_;
    UniqueFont listFont_;
    UniqueFont uiFont_;
    UniqueBitmap backgroundSource_;
    UniqueBitmap background_;  // the picture scaled to the client area at the current DPI
    UniqueBrush backgroundBrush_;

    ScheduleSet ShutdownSchedule;
    ScheduleSet RestartSchedule;
    std::unique_ptr<clsShutdown> shutdown_;  // made when a schedule first fires
    bool powerRequested_ = false;
    ScheduleNotices notices_;
    bool skipQuestionOpen_ = false;
    Timer Timer1;
    SettingsDialog Form2{PowerAction::Shutdown, *this};
    SettingsDialog Form3{PowerAction::Restart, *this};
};

}  // namespace ts
