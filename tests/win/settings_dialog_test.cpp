// The settings dialog's controls against the real edit and button controls: the number rule on every
// change, the caret, the typing limit, row switching and colours, DPI changes.
#include "dialogs/settings_dialog_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/wide_win.h"
#include "dialogs/dialog_ids.h"
#include "mainwindow/form1_win.h"

namespace ts {
namespace {

class SettingsDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        form_ = new Form1(GetModuleHandleW(nullptr));
        ASSERT_TRUE(form_->Create(/*startHidden=*/true));
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
        Pump();  // the main window's WM_QUIT
    }
    void SetUp() override {
        dialog_ = std::make_unique<SettingsDialog>(PowerAction::Shutdown, form_->DialogHost());
        dialog_->Show();
        ASSERT_NE(dialog_->Hwnd(), nullptr);
    }
    void TearDown() override {
        dialog_.reset();
        Pump();
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    HWND Item(int id) const { return GetDlgItem(dialog_->Hwnd(), id); }
    HWND Field(int n) const { return Item(DialogTextId(n)); }

    static std::string Text(HWND control) {
        wchar_t buffer[256] = {};
        GetWindowTextW(control, buffer, 256);
        return Narrow(buffer);
    }
    std::string FieldText(int n) const { return Text(Field(n)); }

    void Tick(int check) { SendMessageW(Item(DialogCheckId(check)), BM_CLICK, 0, 0); }

    // The user's keystrokes: characters at the caret, through the control's own handling.
    void Type(int n, const std::wstring& chars) {
        for (wchar_t c : chars) SendMessageW(Field(n), WM_CHAR, c, 1);
    }
    // A paste replaces the selection and, like typing, keeps to the length limit.
    void Paste(int n, const std::wstring& text) {
        SendMessageW(Field(n), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Select(int n, int from, int to) { SendMessageW(Field(n), EM_SETSEL, from, to); }
    std::pair<DWORD, DWORD> Selection(int n) {
        DWORD start = 0, end = 0;
        SendMessageW(Field(n), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static Form1* form_;
    std::unique_ptr<SettingsDialog> dialog_;
};

Form1* SettingsDialogTest::form_ = nullptr;

TEST_F(SettingsDialogTest, NumberRuleRunsOnEveryChangeAndKeepsTheCaretAfterTheKeptText) {
    Tick(1);
    Tick(2);
    Tick(5);
    struct Case {
        int field;
        const wchar_t* start;  // set by the program first
        int selFrom, selTo;
        const wchar_t* typed;   // typed at the selection
        const wchar_t* pasted;  // or pasted there
        const char* shows;
        DWORD caret;
    };
    const Case cases[] = {
        {11, L"0", 0, -1, L"7a", nullptr, "7", 1},
        {9, L"480", 1, 1, L"x", nullptr, "4", 1},
        {9, L"480", 3, 3, L"5", nullptr, "4805", 4},
        {10, L"23", 0, -1, L"\b", nullptr, "0", 1},
        {12, L"2010", 0, -1, nullptr, L"2024abc", "2024", 4},
        {12, L"2010", 0, -1, nullptr, L"&H7F", "127", 3},
        {13, L"1", 0, -1, nullptr, L" 12", "1", 1},
        {13, L"1", 0, -1, L"05", nullptr, "5", 1},
        {9, L"480", 0, -1, nullptr, L".5", "0.5", 3},
        {2, L"23", 0, -1, nullptr, L"-5", "-5", 2},
        {2, L"23", 0, -1, L"-", nullptr, "0", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.start) + " then " + Narrow(c.typed ? c.typed : c.pasted) + " in Text" +
                     std::to_string(c.field));
        SetWindowTextW(Field(c.field), c.start);
        Select(c.field, c.selFrom, c.selTo);
        if (c.typed) Type(c.field, c.typed);
        else Paste(c.field, c.pasted);
        EXPECT_EQ(FieldText(c.field), c.shows);
        EXPECT_EQ(Selection(c.field), std::make_pair(c.caret, c.caret));
    }
}

TEST_F(SettingsDialogTest, LengthLimitHoldsForTypingButNotForTheProgram) {
    Tick(1);
    Tick(5);
    SetWindowTextW(Field(13), L"12");
    Select(13, 2, 2);
    Type(13, L"3");
    EXPECT_EQ(FieldText(13), "12");
    // Text set by the program may be longer, and still passes the rule.
    SetWindowTextW(Field(13), L"12345");
    EXPECT_EQ(FieldText(13), "12345");
    SetWindowTextW(Field(12), L"0020301x");
    EXPECT_EQ(FieldText(12), "20301");
    // Text9 has no limit.
    SetWindowTextW(Field(9), L"1");
    Select(9, 1, 1);
    Type(9, L"234567890123");
    EXPECT_EQ(FieldText(9), "1234567890123");
}

TEST_F(SettingsDialogTest, CheckBoxesSwitchTheirRowsAndColours) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto colourOf = [&](HWND control, bool label = false) {
        // Enabled edit fields ask with WM_CTLCOLOREDIT, disabled ones and labels with WM_CTLCOLORSTATIC.
        UINT msg = IsWindowEnabled(control) && !label ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        SetBkColor(dc, RGB(1, 2, 3));
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(dialog_->Hwnd(), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
        EXPECT_EQ(GetBkColor(dc), GetSysColor(brush == GetSysColorBrush(COLOR_WINDOW) ? COLOR_WINDOW : COLOR_BTNFACE));
        if (brush == GetSysColorBrush(COLOR_WINDOW)) return COLOR_WINDOW;
        if (brush == GetSysColorBrush(COLOR_BTNFACE)) return COLOR_BTNFACE;
        return -1;
    };
    HWND comboEdit = FindWindowExW(Item(kIdCombo1), nullptr, L"Edit", nullptr);
    ASSERT_NE(comboEdit, nullptr);
    struct Row {
        int check;
        std::vector<HWND> controls;
    };
    const Row rows[] = {
        {1, {Field(10), Field(11), Field(12), Field(13), Field(14)}},
        {2, {Field(2), Field(3)}},
        {3, {Item(kIdCombo1), Field(4), Field(5)}},
        {4, {Field(6), Field(7), Field(8)}},
        {5, {Field(9)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("Check" + std::to_string(row.check));
        for (HWND control : row.controls) {
            EXPECT_FALSE(IsWindowEnabled(control));
            EXPECT_EQ(colourOf(control), COLOR_BTNFACE);
        }
        Tick(row.check);
        for (HWND control : row.controls) {
            EXPECT_TRUE(IsWindowEnabled(control));
            EXPECT_EQ(colourOf(control), COLOR_WINDOW);
        }
        if (row.check == 3) {
            EXPECT_EQ(colourOf(comboEdit), COLOR_WINDOW);
        }
        // Only its own row.
        for (const Row& other : rows) {
            if (other.check > row.check) {
                EXPECT_FALSE(IsWindowEnabled(other.controls[0]));
            }
        }
    }
    SetWindowTextW(Field(9), L"77");
    Tick(5);
    EXPECT_FALSE(IsWindowEnabled(Field(9)));
    EXPECT_EQ(colourOf(Field(9)), COLOR_BTNFACE);
    Tick(5);
    EXPECT_EQ(FieldText(9), "77");
    // Labels keep the dialog's own colours.
    EXPECT_EQ(colourOf(Item(DialogLabelId(8)), true), COLOR_BTNFACE);
    DeleteDC(dc);
}

TEST_F(SettingsDialogTest, ShowingAgainKeepsTheEditsAndClosingForgetsThem) {
    HWND first = dialog_->Hwnd();
    Tick(5);
    SetWindowTextW(Field(9), L"100");
    dialog_->Show();
    EXPECT_EQ(dialog_->Hwnd(), first);
    EXPECT_EQ(FieldText(9), "100");
    EXPECT_EQ(SendMessageW(Item(DialogCheckId(5)), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Cancel closes without a trace; the next opening starts anew.
    SendMessageW(Item(kIdDialogCancel), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog_->Hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    dialog_->Show();
    ASSERT_NE(dialog_->Hwnd(), nullptr);
    EXPECT_EQ(Text(Item(kIdCombo1)), "周日");
}

TEST_F(SettingsDialogTest, LayoutFollowsTheDpi) {
    auto clientRect = [&](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog_->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto fontHeight = [](HWND control) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        return lf.lfHeight;
    };
    const UINT dpis[] = {192, 144, 96};
    for (UINT dpi : dpis) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 1000, 1000};
        SendMessageW(dialog_->Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        // Text12 at 480, 720, 1215 x 375 twips; Command3 at 3120, 7320.
        RECT r = clientRect(Field(12));
        EXPECT_EQ(r.left, MulDiv(480, dpi, 1440));
        EXPECT_EQ(r.top, MulDiv(720, dpi, 1440));
        EXPECT_EQ(r.right - r.left, MulDiv(1215, dpi, 1440));
        EXPECT_EQ(r.bottom - r.top, MulDiv(375, dpi, 1440));
        r = clientRect(Item(kIdDialogCancel));
        EXPECT_EQ(r.left, MulDiv(3120, dpi, 1440));
        EXPECT_EQ(r.top, MulDiv(7320, dpi, 1440));
        // 12 pt text fields.
        EXPECT_EQ(fontHeight(Field(12)), -MulDiv(1200, dpi, 7200));
    }
}

}  // namespace
}  // namespace ts
