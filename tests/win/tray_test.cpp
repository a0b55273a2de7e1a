// The notification icon against the real shell: what the record sends, the balloon, and the
// balloon's click reaching the window behind the tray's own procedure.
#include "tray/tray_win.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cwchar>
#include <string>

namespace ts {
namespace {

LPARAM g_lastCallbackEvent = 0;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayCallbackMessage) g_lastCallbackEvent = lParam;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class TrayTest : public testing::Test {
protected:
    void SetUp() override {
        // Another test's main window may have left its icon behind.
        RemoveTrayIcon();
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrayTestWindow";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"tray test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        RemoveTrayIcon();
        DestroyWindow(window_);
    }
    void AddIcon() { AddTrayIcon(window_, LoadIconW(nullptr, IDI_APPLICATION), &lastState_); }

    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    HWND window_ = nullptr;
    std::int16_t lastState_ = 0;
};

// The shell reads cbSize bytes of the record: every text with its NUL must end inside them.
TEST_F(TrayTest, TextsEndInsideTheBytesSent) {
    AddIcon();
    const std::string emoji = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
    struct Case {
        const char* name;
        std::string text;
        std::size_t tipLength;
    };
    const Case cases[] = {
        {"short", "松汐定时关机", 6},
        {"100 characters, more than the first record carried", std::string(100, 'x'), 100},
        {"cut to the field", std::string(200, 'y'), 127},
        {"a pair at the cut stays whole", std::string(126, 'a') + emoji + "b", 126},
    };
    const NOTIFYICONDATAW& record = TrayIconRecord();
    auto endsInside = [&record](std::size_t offset, const wchar_t* field, std::size_t capacity) {
        const std::size_t length = wcsnlen(field, capacity);
        return length < capacity && offset + (length + 1) * sizeof(wchar_t) <= record.cbSize;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetTrayTip(c.text);
        EXPECT_EQ(wcsnlen(record.szTip, 128), c.tipLength);
        EXPECT_TRUE(endsInside(offsetof(NOTIFYICONDATAW, szTip), record.szTip, 128));
        ASSERT_TRUE(ShowTrayBalloon(c.text, c.text));
        EXPECT_TRUE(endsInside(offsetof(NOTIFYICONDATAW, szInfo), record.szInfo, 256));
        EXPECT_TRUE(endsInside(offsetof(NOTIFYICONDATAW, szInfoTitle), record.szInfoTitle, 64));
        EXPECT_LE(offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD), record.cbSize);
    }
}

TEST_F(TrayTest, BalloonOnlyWithAnIconAndItsClickReachesTheWindow) {
    EXPECT_FALSE(ShowTrayBalloon("松汐定时关机", "将于 23:00 关机。点击此处可取消本次。")) << "no icon, no balloon";
    AddIcon();
    EXPECT_TRUE(ShowTrayBalloon("松汐定时关机", "将于 23:00 关机。点击此处可取消本次。"));
    // As the shell delivers it: the callback message, the event in lParam.
    g_lastCallbackEvent = 0;
    PostMessageW(window_, kTrayCallbackMessage, 0, NIN_BALLOONUSERCLICK);
    Pump();
    EXPECT_EQ(g_lastCallbackEvent, static_cast<LPARAM>(NIN_BALLOONUSERCLICK));
    RemoveTrayIcon();
    EXPECT_FALSE(ShowTrayBalloon("松汐定时关机", "x")) << "balloon after the icon was removed";
}

}  // namespace
}  // namespace ts
