#include "dialogs/settings_dialog_win.h"

#include <string>
#include <utility>

#include "common/window_proc_win.h"
#include "common/dpi_win.h"
#include "common/fonts_win.h"
#include "common/module_path_win.h"
#include "common/wide_win.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/numberrule.h"
#include "dialogs/saving.h"
#include "store/settings_file.h"

namespace ts {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
constexpr int kClientWidthTwips = 4680;
constexpr int kClientHeightTwips = 7905;
constexpr int kComboDropHeightTwips = 2400;

enum class Kind { Check, Text, Label, Combo, Button };

// The controls in tab order, top to bottom; `number` is the N of CheckN, TextN, LabelN, CommandN.
struct ControlSpec {
    Kind kind;
    int number;
    int left, top, width, height;
    const wchar_t* text;  // labels and buttons; check box captions come from the action
    int maxLength;        // text fields; 0 for no limit
};

constexpr ControlSpec kControls[] = {
    {Kind::Check, 1, 240, 240, 1455, 375, nullptr, 0},
    {Kind::Text, 12, 480, 720, 1215, 375, nullptr, 4},
    {Kind::Label, 9, 1800, 840, 375, 255, L"年", 0},
    {Kind::Text, 13, 2280, 720, 615, 375, nullptr, 2},
    {Kind::Label, 12, 3000, 840, 375, 255, L"月", 0},
    {Kind::Text, 14, 3240, 720, 615, 375, nullptr, 2},
    {Kind::Label, 13, 4080, 840, 375, 255, L"日", 0},
    {Kind::Text, 10, 480, 1320, 1215, 375, nullptr, 2},
    {Kind::Label, 11, 2040, 1440, 375, 255, L"点", 0},
    {Kind::Text, 11, 2640, 1320, 1215, 375, nullptr, 2},
    {Kind::Label, 10, 4080, 1440, 375, 255, L"分", 0},
    {Kind::Check, 2, 240, 1920, 1455, 495, nullptr, 0},
    {Kind::Text, 2, 480, 2520, 1215, 375, nullptr, 2},
    {Kind::Label, 1, 2040, 2640, 375, 255, L"点", 0},
    {Kind::Text, 3, 2640, 2520, 1215, 375, nullptr, 2},
    {Kind::Label, 2, 4080, 2640, 375, 255, L"分", 0},
    {Kind::Check, 3, 240, 3000, 1455, 495, nullptr, 0},
    {Kind::Combo, 1, 480, 3600, 1215, 300, nullptr, 0},
    {Kind::Text, 4, 480, 4080, 1215, 375, nullptr, 2},
    {Kind::Label, 3, 2040, 4200, 375, 255, L"点", 0},
    {Kind::Text, 5, 2640, 4080, 1215, 375, nullptr, 2},
    {Kind::Label, 4, 4080, 4200, 375, 255, L"分", 0},
    {Kind::Check, 4, 240, 4560, 1455, 495, nullptr, 0},
    {Kind::Text, 6, 480, 5160, 1215, 375, nullptr, 2},
    {Kind::Label, 7, 2040, 5280, 375, 255, L"号", 0},
    {Kind::Text, 7, 480, 5640, 1215, 375, nullptr, 2},
    {Kind::Label, 5, 2040, 5760, 375, 255, L"点", 0},
    {Kind::Text, 8, 2640, 5640, 1215, 375, nullptr, 2},
    {Kind::Label, 6, 4080, 5760, 375, 255, L"分", 0},
    {Kind::Check, 5, 240, 6120, 3615, 495, nullptr, 0},
    {Kind::Text, 9, 480, 6720, 1215, 375, nullptr, 0},
    {Kind::Label, 8, 2040, 6840, 615, 255, L"分钟", 0},
    {Kind::Button, 2, 1440, 7320, 1215, 375, L"确定", 0},
    {Kind::Button, 3, 3120, 7320, 1215, 375, L"取消", 0},
};

// The controls each check box switches.
struct Row {
    int check;
    int texts[5];
    bool combo;
};
constexpr Row kRows[] = {
    {1, {10, 11, 12, 13, 14}, false}, {2, {2, 3}, false}, {3, {4, 5}, true}, {4, {6, 7, 8}, false}, {5, {9}, false},
};

constexpr const wchar_t* kWeekdays[] = {L"周日", L"周一", L"周二", L"周三", L"周四", L"周五", L"周六"};

int IdOf(const ControlSpec& c) {
    switch (c.kind) {
    case Kind::Check: return DialogCheckId(c.number);
    case Kind::Text: return DialogTextId(c.number);
    case Kind::Label: return DialogLabelId(c.number);
    case Kind::Combo: return kIdCombo1;
    case Kind::Button: return DialogCommandId(c.number);
    }
    return 0;
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

SettingsDialog::SettingsDialog(PowerAction action, SettingsDialogHost& host) : action_(action), host_(host) {}

SettingsDialog::~SettingsDialog() { Destroy(); }

void SettingsDialog::Show() {
    if (hwnd_) {
        // Already open: to the front, with what the user has typed so far.
        if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        return;
    }
    if (!Create()) return;
    FillFromSettingsFile();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void SettingsDialog::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool SettingsDialog::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProcFor<SettingsDialog>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSettingsDialogClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    const UINT dpi = DpiForWindow(host_.HostWindow());
    const RECT r = CenteredWindowRect(kClientWidthTwips, kClientHeightTwips, kStyle, kExStyle, dpi);
    // Not owned by the main window: it stays when the main window hides behind its icon.
    HWND hwnd = CreateWindowExW(kExStyle, kSettingsDialogClassName, Widen(Info(action_).dialogTitle).c_str(), kStyle,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
    if (!hwnd) return false;
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(host_.HostIcon(false)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(host_.HostIcon(true)));
    AddKeyboardNavigation(hwnd_);
    return true;
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        window_ = WindowState();
        CreateControls();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case DM_GETDEFID:
        return DialogKeyboard::DefaultButtonId(hwnd_, kIdDialogOk);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg));
    case WM_ACTIVATE:
        window_.keyboard.OnActivate(hwnd_, LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        Destroy();
        return 0;
    case WM_DESTROY:
        RemoveKeyboardNavigation(hwnd_);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void SettingsDialog::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const ActionInfo& info = Info(action_);
    for (const ControlSpec& c : kControls) {
        const wchar_t* cls = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        std::wstring text = c.text ? c.text : L"";
        switch (c.kind) {
        case Kind::Check:
            cls = L"BUTTON";
            style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
            text = Widen(info.checkCaptions[c.number - 1]);
            break;
        case Kind::Text:
            cls = L"EDIT";
            style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | WS_DISABLED;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case Kind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case Kind::Combo:
            cls = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP | WS_DISABLED;
            break;
        case Kind::Button:
            cls = L"BUTTON";
            style |= WS_TABSTOP | WS_GROUP | (c.number == 2 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        }
        HWND control = CreateWindowExW(exStyle, cls, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(c))), instance, nullptr);
        // 0 lifts the control's own default limit: Text9 takes any length.
        if (c.kind == Kind::Text) SendMessageW(control, EM_LIMITTEXT, c.maxLength, 0);
        if (c.kind == Kind::Combo) {
            for (const wchar_t* day : kWeekdays) SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(day));
        }
    }
    // Design values; the number rule runs on each as it is set.
    const DialogFields design = DesignFields();
    for (int n = 2; n <= 14; ++n) SetFieldText(n, design.text[n]);
    SetWindowTextW(GetDlgItem(hwnd_, kIdCombo1), Widen(design.weekday).c_str());
    ApplyDpi(DpiForWindow(hwnd_));
}

void SettingsDialog::ApplyDpi(UINT dpi) {
    UniqueFont fieldFont = CreateHeitiFont(1200, dpi);
    UniqueFont uiFont = CreateDefaultUiFont(dpi);
    for (const ControlSpec& c : kControls) {
        HWND control = GetDlgItem(hwnd_, IdOf(c));
        const int height = c.kind == Kind::Combo ? kComboDropHeightTwips : c.height;
        SetWindowPos(control, nullptr, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                     TwipsToPixels(c.width, dpi), TwipsToPixels(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        const UniqueFont& font = c.kind == Kind::Text ? fieldFont : uiFont;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // Only now that no control holds the old fonts may they go.
    window_.fieldFont = std::move(fieldFont);
    window_.uiFont = std::move(uiFont);
}

void SettingsDialog::FillFromSettingsFile() {
    const std::string path = SettingsFilePath(ExecutableDirectory());
    const SettingsSnapshot file(path);
    KeyReader read = [&file](const std::string& section, const std::string& key) { return file.Get(section, key); };
    SYSTEMTIME now;
    GetLocalTime(&now);
    const DialogFields fields = FieldsFromSettings(action_, read, CalendarDate{now.wYear, now.wMonth, now.wDay});
    for (int n = 2; n <= 14; ++n) SetFieldText(n, fields.text[n]);
    SetWindowTextW(GetDlgItem(hwnd_, kIdCombo1), Widen(fields.weekday).c_str());
    for (int n = 1; n <= 5; ++n) {
        if (fields.checked[n]) {
            SetChecked(n, true);
            SwitchRow(n);
        }
    }
}

void SettingsDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDOK || id == kIdDialogOk) {
        if (code == BN_CLICKED || control == nullptr) OnOk();
        return;
    }
    if (id == IDCANCEL || id == kIdDialogCancel) {
        if (code == BN_CLICKED || control == nullptr) Destroy();
        return;
    }
    if (id > kDialogCheckIdBase && id <= kDialogCheckIdBase + 5 && code == BN_CLICKED) {
        SwitchRow(id - kDialogCheckIdBase);
        return;
    }
    if (id > kDialogTextIdBase && id <= kDialogTextIdBase + 14 && code == EN_CHANGE) {
        OnFieldChange(id - kDialogTextIdBase);
    }
}

HBRUSH SettingsDialog::OnCtlColor(HDC dc, HWND control, UINT msg) {
    // A field's row decides its colour: window colour when on, button face when off. The state is the
    // control's own (the combo box's for its edit field), never a copy that could outlive the window.
    const int row = RowOfControl(control);
    if (row == 0) return reinterpret_cast<HBRUSH>(DefWindowProcW(hwnd_, msg, reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(control)));
    const HWND parent = GetParent(control);
    const bool on = IsWindowEnabled(parent != hwnd_ ? parent : control) != FALSE;
    const int color = on ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(color));
    SetTextColor(dc, GetSysColor(on ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return GetSysColorBrush(color);
}

void SettingsDialog::OnFieldChange(int textNumber) {
    if (window_.applyingRule) return;
    HWND field = GetDlgItem(hwnd_, DialogTextId(textNumber));
    const std::wstring text = WindowText(field);
    const std::string ruled = ApplyNumberRule(Narrow(text));
    if (Narrow(text) == ruled) return;
    DWORD selEnd = 0;
    SendMessageW(field, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
    const std::size_t caret = CaretAfterRule(Narrow(text.substr(0, selEnd < text.size() ? selEnd : text.size())), ruled);
    window_.applyingRule = true;
    SetWindowTextW(field, Widen(ruled).c_str());
    SendMessageW(field, EM_SETSEL, caret, caret);
    window_.applyingRule = false;
}

void SettingsDialog::SetFieldText(int textNumber, const std::string& text) {
    // The change notification that follows runs the number rule on the new text.
    SetWindowTextW(GetDlgItem(hwnd_, DialogTextId(textNumber)), Widen(text).c_str());
}

std::string SettingsDialog::FieldText(int textNumber) const { return ControlText(DialogTextId(textNumber)); }

std::string SettingsDialog::ControlText(int id) const { return Narrow(WindowText(GetDlgItem(hwnd_, id))); }

bool SettingsDialog::IsChecked(int checkNumber) const {
    return SendMessageW(GetDlgItem(hwnd_, DialogCheckId(checkNumber)), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void SettingsDialog::SetChecked(int checkNumber, bool on) {
    SendMessageW(GetDlgItem(hwnd_, DialogCheckId(checkNumber)), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SettingsDialog::SwitchRow(int checkNumber) {
    const bool on = IsChecked(checkNumber);
    for (const Row& row : kRows) {
        if (row.check != checkNumber) continue;
        for (int text : row.texts) {
            if (text == 0) break;
            HWND field = GetDlgItem(hwnd_, DialogTextId(text));
            EnableWindow(field, on);
            InvalidateRect(field, nullptr, TRUE);
        }
        if (row.combo) {
            HWND combo = GetDlgItem(hwnd_, kIdCombo1);
            EnableWindow(combo, on);
            InvalidateRect(combo, nullptr, TRUE);
        }
    }
}

int SettingsDialog::RowOfControl(HWND control) const {
    const int id = GetDlgCtrlID(control);
    const HWND parent = GetParent(control);
    // The combo box's own edit field belongs to the weekday row.
    const int ownId = (parent && parent != hwnd_) ? GetDlgCtrlID(parent) : id;
    for (const Row& row : kRows) {
        if (row.combo && ownId == kIdCombo1) return row.check;
        for (int text : row.texts) {
            if (text != 0 && ownId == DialogTextId(text)) return row.check;
        }
    }
    return 0;
}

void SettingsDialog::OnOk() {
    DialogFields fields;
    for (int n = 2; n <= 14; ++n) fields.text[n] = FieldText(n);
    for (int n = 1; n <= 5; ++n) fields.checked[n] = IsChecked(n);
    fields.weekday = ControlText(kIdCombo1);
    // Saved, it would be listed but never fire: nothing is changed or written, the user picks a day.
    if (HasUnknownWeekday(fields)) {
        ShowMessage(L"请选择星期几。");
        SetFocus(GetDlgItem(hwnd_, kIdCombo1));
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    ApplyRanges(fields, now.wYear);
    for (int n = 2; n <= 14; ++n) {
        if (FieldText(n) != fields.text[n]) SetFieldText(n, fields.text[n]);
    }

    const std::string path = SettingsFilePath(ExecutableDirectory());
    std::string reason;
    // One replacement of the whole file: a failure or a crash never leaves half a save behind.
    if (!WriteIniSection(path, Info(action_).section, SaveValues(action_, fields), &reason)) {
        ShowMessage(L"无法保存设置。\n\n文件：" + Widen(path) + L"\n原因：" + Widen(reason));
        return;
    }
    host_.ScheduleSaved(action_, SaveListLines(action_, fields));
    Destroy();
}

void SettingsDialog::ShowMessage(const std::wstring& text) const {
    MessageBoxW(hwnd_, text.c_str(), Widen(Info(action_).dialogTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace ts
