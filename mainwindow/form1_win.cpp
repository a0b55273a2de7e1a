#include "mainwindow/form1_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "common/window_proc_win.h"
#include "common/dpi_win.h"
#include "common/fonts_win.h"
#include "common/module_path_win.h"
#include "common/wide_win.h"
#include "mainwindow/form1_ids.h"
#include "schedule/listlines.h"
#include "schedule/tick.h"
#include "registry/boot_skip_win.h"
#include "registry/logon_win.h"
#include "resources/resource.h"
#include "store/settings_file.h"
#include "tray/tray_win.h"

namespace ts {

namespace {

constexpr wchar_t kCaption[] = L"鹭岩定时关机 1.0  www.luyan-soft.cn";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kClientWidthTwips = 6480;
constexpr int kClientHeightTwips = 5655;
constexpr COLORREF kClockColor = RGB(0, 0, 255);
// The icon's tip, and the title of the notice and of its question.
constexpr char kProductName[] = "松汐定时关机";

// Places in twips within the client area. The buttons sit inside their frames but are children
// of the window, so their clicks reach the window procedure.
struct Placement {
    int id;
    int left, top, width, height;
};
constexpr Placement kLayout[] = {
    {kIdLabel1, 1200, 180, 2295, 495},          {kIdLabel2, 4200, 180, 1815, 495},
    {kIdFrame1, 360, 960, 5775, 1935},          {kIdCommand1, 360 + 4800, 960 + 170, 855, 375},
    {kIdList1, 480, 1560, 5535, 1230},          {kIdFrame2, 360, 3120, 5775, 1935},
    {kIdCommand2, 360 + 4800, 3120 + 170, 855, 375}, {kIdList2, 480, 3720, 5535, 1230},
    {kIdCheck1, 360, 5160, 1575, 255},
};

RECT ToPixels(const Placement& p, UINT dpi) {
    RECT r;
    r.left = TwipsToPixels(p.left, dpi);
    r.top = TwipsToPixels(p.top, dpi);
    r.right = r.left + TwipsToPixels(p.width, dpi);
    r.bottom = r.top + TwipsToPixels(p.height, dpi);
    return r;
}

void SetListLines(HWND list, const std::vector<std::string>& lines) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
    }
}

LocalDateTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// A question with 是 and 否 whatever the language of the system, like the rest of the interface; a
// Windows without Chinese resources refuses the language, and then it asks in its own.
int AskYesNo(HWND owner, const std::string& question) {
    const std::wstring text = Widen(question);
    const std::wstring caption = Widen(kProductName);
    constexpr UINT kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND;
    const int answer = MessageBoxExW(owner, text.c_str(), caption.c_str(), kQuestionStyle,
                                     MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    return answer != 0 ? answer : MessageBoxW(owner, text.c_str(), caption.c_str(), kQuestionStyle);
}

}  // namespace

Form1::Form1(HINSTANCE instance) : instance_(instance) {}

Form1::~Form1() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Form1::Create(bool startHidden) {
    iconLarge_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0,
                                               LR_DEFAULTSIZE | LR_SHARED));
    iconSmall_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProcFor<Form1>;
    wc.hInstance = instance_;
    wc.hIcon = iconLarge_;
    wc.hIconSm = iconSmall_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kForm1ClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // Created at the primary monitor's DPI; WM_DPICHANGED corrects it if it lands elsewhere.
    UINT dpi = DpiForWindow(nullptr);
    RECT r = CenteredWindowRect(kClientWidthTwips, kClientHeightTwips, kStyle, kExStyle, dpi);
    // A hidden start creates the window already minimized, so the icon restores it in its normal place.
    DWORD style = kStyle | (startHidden ? WS_MINIMIZE : 0);
    hwnd_ = CreateWindowExW(kExStyle, kForm1ClassName, kCaption, style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    // Tab, Shift+Tab, Space and Enter work here as in the dialogs.
    AddKeyboardNavigation(hwnd_);

    // Start-up sequence; the order matters (the logon entry is looked at before the schedules load).
    LoadRunAtLogonState();
    ShiJian();
    FillScheduleLists();
    RestoreBootSkips();
    Timer1.OnTimer = [this] { Timer1_Timer(); };
    Timer1.SetInterval(1000);
    Timer1.SetEnabled(true);
    AddTrayIcon(hwnd_, iconSmall_, &LastState);
    SetTrayTip(kProductName);

    if (!startHidden) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
    }
    return true;
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        keyboard_ = DialogKeyboard();
        CreateControls();
        return 0;
    case WM_ACTIVATE:
        keyboard_.OnActivate(hwnd_, LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case DM_GETDEFID:
        // Enter presses a focused 设置…; there is no default button otherwise.
        return DialogKeyboard::DefaultButtonId(hwnd_, 0);
    case WM_SIZE:
        OnSize(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case kTrayCallbackMessage:
        // Clicks that restore the window were answered by the tray's own procedure.
        OnTrayCallback(lParam);
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, backgroundBrush_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        RemoveKeyboardNavigation(hwnd_);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Form1::CreateControls() {
    auto make = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
        return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    label1_ = make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kIdLabel1);
    label2_ = make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kIdLabel2);
    frame1_ = make(L"BUTTON", L"定时关机", BS_GROUPBOX, kIdFrame1);
    command1_ = make(L"BUTTON", L"设置…", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, kIdCommand1);
    list1_ = make(L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, kIdList1,
                  WS_EX_CLIENTEDGE);
    frame2_ = make(L"BUTTON", L"定时重启", BS_GROUPBOX, kIdFrame2);
    command2_ = make(L"BUTTON", L"设置…", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, kIdCommand2);
    list2_ = make(L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, kIdList2,
                  WS_EX_CLIENTEDGE);
    check1_ = make(L"BUTTON", L"开机自动运行", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, kIdCheck1);
    // The frames lie under the lists and buttons they surround.
    SetWindowPos(frame1_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(frame2_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyDpi(DpiForWindow(hwnd_));
}

void Form1::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    UniqueFont clockFont = CreateHeitiFont(2175, dpi);
    UniqueFont buttonFont = CreateHeitiFont(1050, dpi);
    UniqueFont listFont = CreateListFont(1200, dpi);
    UniqueFont uiFont = CreateDefaultUiFont(dpi);
    for (const Placement& p : kLayout) {
        HWND control = GetDlgItem(hwnd_, p.id);
        RECT r = ToPixels(p, dpi);
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto setFont = [](HWND control, const UniqueFont& font) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    };
    setFont(label1_, clockFont);
    setFont(label2_, clockFont);
    setFont(command1_, buttonFont);
    setFont(command2_, buttonFont);
    setFont(list1_, listFont);
    setFont(list2_, listFont);
    setFont(frame1_, uiFont);
    setFont(frame2_, uiFont);
    setFont(check1_, uiFont);
    // Only now that no control holds the old fonts may they go.
    clockFont_ = std::move(clockFont);
    buttonFont_ = std::move(buttonFont);
    listFont_ = std::move(listFont);
    uiFont_ = std::move(uiFont);
    RebuildBackground();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::RebuildBackground() {
    if (!backgroundSource_) {
        backgroundSource_.reset(static_cast<HBITMAP>(
            LoadImageW(instance_, MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    const int width = TwipsToPixels(kClientWidthTwips, dpi_);
    const int height = TwipsToPixels(kClientHeightTwips, dpi_);
    HDC screen = GetDC(hwnd_);
    HDC target = CreateCompatibleDC(screen);
    background_.reset(CreateCompatibleBitmap(screen, width, height));
    HGDIOBJ oldTarget = SelectObject(target, background_.get());
    BITMAP info{};
    if (backgroundSource_ && GetObjectW(backgroundSource_.get(), sizeof(info), &info)) {
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ oldSource = SelectObject(source, backgroundSource_.get());
        // The picture is drawn at twice the 96-DPI size; halftone keeps it smooth at every scale.
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(source, oldSource);
        DeleteDC(source);
    } else {
        RECT all{0, 0, width, height};
        FillRect(target, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    SelectObject(target, oldTarget);
    DeleteDC(target);
    ReleaseDC(hwnd_, screen);
    backgroundBrush_.reset(CreatePatternBrush(background_.get()));
}

HBRUSH Form1::OnCtlColor(HDC dc, HWND control) {
    if (control == list1_ || control == list2_) return nullptr;
    // Labels, frames and the check box show the window's picture behind them: align the pattern
    // brush with the control's place in the client area.
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    if (control == label1_ || control == label2_) SetTextColor(dc, kClockColor);
    return backgroundBrush_.get();
}

void Form1::ShiJian() {
    const std::string path = SettingsFilePath(ExecutableDirectory());
    const SettingsSnapshot file(path);
    KeyReader read = [&file](const std::string& section, const std::string& key) { return file.Get(section, key); };
    LoadBothSets(read, ShutdownSchedule, RestartSchedule);
}

void Form1::ScheduleSaved(PowerAction action, const std::vector<std::string>& listLines) {
    SetListLines(ScheduleList(action), listLines);
    ShiJian();
}

void Form1::FillScheduleLists() {
    SetListLines(list1_, ScheduleListLines(ShutdownSchedule, PowerAction::Shutdown));
    SetListLines(list2_, ScheduleListLines(RestartSchedule, PowerAction::Restart));
}

void Form1::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) {
        // Minimized, the window leaves the taskbar; the notification icon brings it back.
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    LastState = kind == SIZE_MAXIMIZED ? 2 : 0;
}

void Form1::OnClose() {
    int answer = MessageBoxW(hwnd_, L"确定要退出本程序吗?", L"是否退出?", MB_OKCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return;
    Timer1.SetEnabled(false);
    RemoveTrayIcon();
    Form2.Destroy();
    Form3.Destroy();
    DestroyWindow(hwnd_);
}

void Form1::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case kIdCommand1:
        Form2.Show();
        break;
    case kIdCommand2:
        Form3.Show();
        break;
    case kIdCheck1:
        // A plain check box: the state changes here, and goes back if the registry refuses it.
        SendMessageW(check1_, BM_SETCHECK, SendMessageW(check1_, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED
                                                                                                    : BST_CHECKED, 0);
        Check1_Click();
        break;
    }
}

void Form1::OnTrayCallback(LPARAM event) {
    if (event == NIN_BALLOONUSERCLICK) AskToSkipNotice();
}

void Form1::AskToSkipNotice() {
    const Occurrence asked = notices_.Announced();
    if (skipQuestionOpen_ || powerRequested_ || !IsAhead(asked, LocalNow())) return;
    // The shell may have sent the click: let it go on before the question's own message loop.
    ReplyMessage(0);
    skipQuestionOpen_ = true;
    // Ticks go on inside the question's loop: at the minute the request is made and the program
    // ends, the question with it, whether or not it was answered.
    const int answer = AskYesNo(hwnd_, SkipQuestionText(asked));
    skipQuestionOpen_ = false;
    if (answer != IDYES) return;
    notices_.Skip(asked);
    if (asked.minuteKey == kThisStart) {
        const PowerAction action = asked.Action();
        RememberBootSkip(action, (action == PowerAction::Shutdown ? ShutdownSchedule : RestartSchedule).BootMinutes);
    }
    // Another request due in the same minute is announced now rather than at the next tick.
    Timer1_Timer();
}

void Form1::RestoreBootSkips() {
    // Tests 5 and 10: the minutes-after-start schedules of the two actions.
    if (BootSkipRemembered(PowerAction::Shutdown, ShutdownSchedule.BootMinutes)) notices_.Skip(Occurrence{5, kThisStart});
    if (BootSkipRemembered(PowerAction::Restart, RestartSchedule.BootMinutes)) notices_.Skip(Occurrence{10, kThisStart});
}

void Form1::LoadRunAtLogonState() {
    if (!LogonEntryMatchesThisProgram()) return;
    SendMessageW(check1_, BM_SETCHECK, BST_CHECKED, 0);
    // Rewritten at every start, in the quoted form; if that fails the matching entry is still there.
    WriteLogonEntry();
}

void Form1::Check1_Click() {
    const bool checked = SendMessageW(check1_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool stored = checked ? WriteLogonEntry() : DeleteLogonEntry();
    // The box shows what the registry holds: a refused change is undone.
    if (!stored) SendMessageW(check1_, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

void Form1::Timer1_Timer() {
    const LocalDateTime now = LocalNow();
    const ClockLabels labels = FormatClockLabels(now);
    // The labels hold ASCII only: widen in place, no allocation per tick.
    auto show = [](HWND label, std::string_view text) {
        wchar_t wide[32];
        std::size_t n = 0;
        for (; n < text.size() && n < 31; ++n) wide[n] = static_cast<wchar_t>(text[n]);
        wide[n] = L'\0';
        SetWindowTextW(label, wide);
    };
    show(label1_, labels.date.View());
    show(label2_, labels.time.View());

    // A failure message of power control keeps ticks coming; they must not ask a second time.
    if (powerRequested_) return;
    const TickDecision decision = notices_.Tick(now, labels, GetTickCount64(), ShutdownSchedule, RestartSchedule);
    // Only here, once per notice, does a tick allocate. Without a notification area nothing shows.
    if (decision.notice.test != 0) ShowTrayBalloon(kProductName, NoticeText(decision.notice));
    if (decision.fire.test == 0) return;
    powerRequested_ = true;
    if (!shutdown_) shutdown_ = std::make_unique<clsShutdown>();
    shutdown_->ShutDownNTbasedWindows(decision.fire.shutDownMode);
    Timer1.SetEnabled(false);
    RemoveTrayIcon();
    ExitProcess(0);
}

}  // namespace ts
