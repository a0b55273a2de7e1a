// The settings dialog's controls against the real edit and button controls: the number rule on every
// change, the caret, the typing limit, row switching and colours, DPI changes.
#include "dialogs/settings_dialog_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

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

    // The colour the dialog gives a control, COLOR_WINDOW or COLOR_BTNFACE (-1 for neither). Enabled edit
    // fields ask with WM_CTLCOLOREDIT, disabled ones and labels with WM_CTLCOLORSTATIC.
    int Colour(HWND control, bool label = false) const {
        HDC dc = CreateCompatibleDC(nullptr);
        UINT msg = IsWindowEnabled(control) && !label ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        SetBkColor(dc, RGB(1, 2, 3));
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(dialog_->Hwnd(), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
        EXPECT_EQ(GetBkColor(dc), GetSysColor(brush == GetSysColorBrush(COLOR_WINDOW) ? COLOR_WINDOW : COLOR_BTNFACE));
        DeleteDC(dc);
        if (brush == GetSysColorBrush(COLOR_WINDOW)) return COLOR_WINDOW;
        if (brush == GetSysColorBrush(COLOR_BTNFACE)) return COLOR_BTNFACE;
        return -1;
    }

    struct Row {
        int check;
        std::vector<HWND> controls;
    };
    // Each check box's row, the combo box's own edit field with the weekday row.
    std::vector<Row> Rows() const {
        HWND comboEdit = FindWindowExW(Item(kIdCombo1), nullptr, L"Edit", nullptr);
        EXPECT_NE(comboEdit, nullptr);
        return {
            {1, {Field(10), Field(11), Field(12), Field(13), Field(14)}},
            {2, {Field(2), Field(3)}},
            {3, {Item(kIdCombo1), comboEdit, Field(4), Field(5)}},
            {4, {Field(6), Field(7), Field(8)}},
            {5, {Field(9)}},
        };
    }

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
    const std::vector<Row> rows = Rows();
    for (const Row& row : rows) {
        SCOPED_TRACE("Check" + std::to_string(row.check));
        for (HWND control : row.controls) {
            EXPECT_FALSE(IsWindowEnabled(control));
            EXPECT_EQ(Colour(control), COLOR_BTNFACE);
        }
        Tick(row.check);
        for (HWND control : row.controls) {
            EXPECT_TRUE(IsWindowEnabled(control));
            EXPECT_EQ(Colour(control), COLOR_WINDOW);
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
    EXPECT_EQ(Colour(Field(9)), COLOR_BTNFACE);
    Tick(5);
    EXPECT_EQ(FieldText(9), "77");
    // Labels keep the dialog's own colours.
    EXPECT_EQ(Colour(Item(DialogLabelId(8)), true), COLOR_BTNFACE);
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
    EXPECT_EQ(FieldText(9), "480");

    // Rows switched on in a dialog that was then cancelled: the new one draws every row as off.
    for (int check = 1; check <= 5; ++check) Tick(check);
    SendMessageW(Item(kIdDialogCancel), BM_CLICK, 0, 0);
    dialog_->Show();
    ASSERT_NE(dialog_->Hwnd(), nullptr);
    for (const Row& row : Rows()) {
        SCOPED_TRACE("Check" + std::to_string(row.check));
        EXPECT_EQ(SendMessageW(Item(DialogCheckId(row.check)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        for (HWND control : row.controls) {
            EXPECT_FALSE(IsWindowEnabled(control));
            EXPECT_EQ(Colour(control), COLOR_BTNFACE);
        }
    }
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

// Every WM_SETFONT a watched control receives: the font it held until then must still be a live object,
// or the control would have drawn with a deleted font in between.
struct FontWatch {
    int setFonts = 0;
    int deadFonts = 0;
};

LRESULT CALLBACK WatchSetFont(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    if (msg == WM_SETFONT) {
        auto* watch = reinterpret_cast<FontWatch*>(ref);
        ++watch->setFonts;
        auto held = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        if (held && GetObjectType(held) != OBJ_FONT) ++watch->deadFonts;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

BOOL CALLBACK Watch(HWND child, LPARAM watch) {
    SetWindowSubclass(child, WatchSetFont, 1, static_cast<DWORD_PTR>(watch));
    return TRUE;
}

BOOL CALLBACK Unwatch(HWND child, LPARAM) {
    RemoveWindowSubclass(child, WatchSetFont, 1);
    return TRUE;
}

BOOL CALLBACK ExpectLiveFont(HWND child, LPARAM) {
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (font) {
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "control " << GetDlgCtrlID(child);
    }
    return TRUE;
}

TEST_F(SettingsDialogTest, DpiChangeGivesTheNewFontsBeforeFreeingTheOldOnes) {
    for (HWND window : {dialog_->Hwnd(), form_->Hwnd()}) {
        SCOPED_TRACE(window == dialog_->Hwnd() ? "settings dialog" : "main window");
        FontWatch watch;
        EnumChildWindows(window, Watch, reinterpret_cast<LPARAM>(&watch));
        for (UINT dpi : {144u, 96u}) {
            RECT suggested;
            GetWindowRect(window, &suggested);
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        }
        EnumChildWindows(window, Unwatch, 0);
        EXPECT_GT(watch.setFonts, 0);
        EXPECT_EQ(watch.deadFonts, 0);
        EnumChildWindows(window, ExpectLiveFont, 0);
    }
}

}  // namespace
}  // namespace ts
