// End-to-end driver: runs inside the same Wine prefix as the program and drives it from outside,
// like a user or another program would. One command per call; results on stdout as UTF-8 lines.
//
//   driver wait WIN [ms]            a top-level window exists (prints its handle)
//   driver gone WIN [ms]            no such window any more
//   driver visible WIN [ms]         it is visible;  driver hidden WIN [ms]: it exists and is hidden
//   driver state WIN                visible/iconic/zoomed/enabled/foreground and the window rect
//   driver controls WIN             one line per child: id, class, visible, enabled, text
//   driver text WIN ID              the text of a child;  driver lines WIN ID: list box lines
//   driver items WIN ID             combo box list items;  driver checked WIN ID: 0/1/2
//   driver click WIN ID             a button click (BM_CLICK, posted)
//   driver press WIN ID             a button click (BM_CLICK, sent): returns once the program handled it
//   driver settext WIN ID TEXT      the program sets a text (WM_SETTEXT)
//   driver type WIN ID TEXT         typed characters (WM_CHAR) at the caret
//   driver select WIN ID FROM TO    select characters in an edit field (EM_SETSEL)
//   driver caret WIN ID             prints the selection start and end
//   driver paste WIN ID TEXT        TEXT through the clipboard (WM_PASTE)
//   driver key WIN ID KEY           RETURN, ESCAPE, TAB or a number: key down and up, posted
//   driver input WIN KEY...         real keyboard input (SendInput) to WIN brought to the front:
//                                   TAB, SPACE, RETURN, ESCAPE, each optionally after SHIFT+
//   driver fill WIN ID=TEXT ...     per field: select all, then replace with TEXT as a paste does (sent)
//   driver check WIN ID 0|1         clicks a check box (sent) unless it already has that state
//   driver focused WIN              id and class of the control with the keyboard focus
//   driver client WIN               client area width and height
//   driver pixel WIN ID             colour (RRGGBB) on screen just inside the control's right edge
//   driver syscolor N               GetSysColor(N) as RRGGBB
//   driver focus WIN ID             gives a control the keyboard focus
//   driver close WIN | minimize WIN | restore WIN | foreground WIN
//   driver msgbox [CAPTION] [ms]    waits for a message box: caption, text, then "button ID TEXT" lines
//   driver answer CAPTION BUTTONID [ms]  presses a message box button (1 OK, 2 Cancel, ...) once the box shows
//   driver rect WIN [ID]            screen rectangle: left top right bottom
//   driver windows                  every top-level window: handle, class, visible, caption
//   driver broadcast NAME           posts a registered window message to all top-level windows
//   driver traydelete WIN           deletes WIN's notification icon (id 0), as a restarted taskbar loses it
//   driver post WIN MSG WPARAM LPARAM  posts a message (numbers in decimal or 0x hex), as the shell does
//
// WIN is a caption (exact), "~TEXT" (caption contains), "class:NAME", or "0x..." (handle).
// ID is a control id in decimal, or "#N" for the Nth child in creation order.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& line) {
    std::wstring withNewline = line + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, withNewline.data(), static_cast<int>(withNewline.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, withNewline.data(), static_cast<int>(withNewline.size()), &bytes[0], n, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Fail(const std::wstring& why) {
    Print(L"error: " + why);
    return 1;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
    std::vector<wchar_t> buffer(length + 2);
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return std::wstring(buffer.data(), copied);
}

std::wstring Hex(HWND hwnd) {
    wchar_t text[32];
    swprintf(text, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return text;
}

// Visible text for control characters so list lines stay on one line.
std::wstring Escape(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s) {
        if (c == L'\n') out += L"\\n";
        else if (c == L'\r') out += L"\\r";
        else if (c == L'\t') out += L"\\t";
        else out += c;
    }
    return out;
}

struct Match {
    std::wstring pattern;
    HWND found = nullptr;
};

bool Matches(HWND hwnd, const std::wstring& pattern) {
    if (pattern.rfind(L"0x", 0) == 0) return hwnd == reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(pattern.c_str(), nullptr, 16)));
    if (pattern.rfind(L"class:", 0) == 0) return ClassOf(hwnd) == pattern.substr(6);
    std::wstring caption = TextOf(hwnd);
    if (pattern.rfind(L"~", 0) == 0) return caption.find(pattern.substr(1)) != std::wstring::npos;
    return caption == pattern;
}

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
    Match* m = reinterpret_cast<Match*>(param);
    if (Matches(hwnd, m->pattern)) {
        m->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowByPattern(const std::wstring& pattern) {
    Match m{pattern};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&m));
    return m.found;
}

template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(50);
    }
}

DWORD TimeoutArg(int argc, wchar_t** argv, int index, DWORD fallback) {
    return argc > index ? static_cast<DWORD>(_wtoi(argv[index])) : fallback;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<ChildList*>(param)->children.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    ChildList list;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&list));
    return list.children;
}

HWND Control(HWND parent, const std::wstring& id) {
    if (id.rfind(L"#", 0) == 0) {
        std::vector<HWND> all = Children(parent);
        std::size_t index = static_cast<std::size_t>(_wtoi(id.c_str() + 1));
        return index < all.size() ? all[index] : nullptr;
    }
    int wanted = _wtoi(id.c_str());
    for (HWND child : Children(parent)) {
        if (GetDlgCtrlID(child) == wanted) return child;
    }
    return nullptr;
}

// The edit field inside a combo box takes typed text and selection messages.
HWND EditOf(HWND control) {
    std::wstring cls = ClassOf(control);
    if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
        if (edit) return edit;
    }
    return control;
}

std::wstring Flags(HWND hwnd) {
    return L"visible=" + std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0) +
           L" enabled=" + std::to_wstring(IsWindowEnabled(hwnd) ? 1 : 0);
}

bool GiveFocus(HWND control) {
    DWORD target = GetWindowThreadProcessId(control, nullptr);
    DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, target, TRUE);
    SetFocus(control);
    bool ok = GetFocus() == control;
    AttachThreadInput(self, target, FALSE);
    return ok;
}

bool PutOnClipboard(const std::wstring& text) {
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt) Sleep(50);
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!memory) {
        CloseClipboard();
        return false;
    }
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

UINT KeyCode(const std::wstring& name) {
    if (name == L"RETURN") return VK_RETURN;
    if (name == L"ESCAPE") return VK_ESCAPE;
    if (name == L"TAB") return VK_TAB;
    if (name == L"SPACE") return VK_SPACE;
    return static_cast<UINT>(_wtoi(name.c_str()));
}

// Presses and releases a key as the keyboard does, Shift held around it for "SHIFT+KEY".
bool SendKeyInput(const std::wstring& name) {
    const bool shift = name.rfind(L"SHIFT+", 0) == 0;
    const UINT vk = KeyCode(shift ? name.substr(6) : name);
    if (vk == 0) return false;
    std::vector<INPUT> inputs;
    auto add = [&inputs](UINT key, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = static_cast<WORD>(key);
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (shift) add(VK_SHIFT, false);
    add(vk, false);
    add(vk, true);
    if (shift) add(VK_SHIFT, true);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

HWND FindMessageBox(const std::wstring& caption) {
    struct Finder {
        static BOOL CALLBACK Each(HWND hwnd, LPARAM param) {
            auto* pair = reinterpret_cast<std::pair<std::wstring, HWND>*>(param);
            if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd) && (pair->first.empty() || TextOf(hwnd) == pair->first)) {
                pair->second = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    std::pair<std::wstring, HWND> query{caption, nullptr};
    EnumWindows(Finder::Each, reinterpret_cast<LPARAM>(&query));
    return query.second;
}

std::wstring ColorText(COLORREF c) {
    wchar_t text[16];
    swprintf(text, 16, L"%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

BOOL CALLBACK ListTopLevel(HWND hwnd, LPARAM) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    Print(Hex(hwnd) + L"\t" + ClassOf(hwnd) + L"\t" + Flags(hwnd) + L"\t" + std::to_wstring(r.left) + L"," +
          std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom) + L"\t" +
          Escape(TextOf(hwnd)));
    return TRUE;
}

void PrintRect(const RECT& r) {
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) + L" " +
          std::to_wstring(r.bottom));
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) return Fail(L"usage: driver COMMAND ...");
    const std::wstring cmd = argv[1];

    if (cmd == L"windows") {
        EnumWindows(ListTopLevel, 0);
        return 0;
    }
    if (cmd == L"syscolor" && argc >= 3) {
        Print(ColorText(GetSysColor(_wtoi(argv[2]))));
        return 0;
    }
    if (cmd == L"broadcast" && argc >= 3) {
        UINT message = RegisterWindowMessageW(argv[2]);
        return PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : Fail(L"broadcast failed");
    }
    if (cmd == L"msgbox") {
        std::wstring caption = argc >= 3 ? argv[2] : L"";
        HWND box = nullptr;
        if (!WaitFor(TimeoutArg(argc, argv, 3, 5000), [&] { return (box = FindMessageBox(caption)) != nullptr; }))
            return Fail(L"no message box");
        Print(L"caption\t" + TextOf(box));
        for (HWND child : Children(box)) {
            std::wstring cls = ClassOf(child);
            int id = GetDlgCtrlID(child);
            if (_wcsicmp(cls.c_str(), L"Button") == 0) Print(L"button\t" + std::to_wstring(id) + L"\t" + TextOf(child));
            else if (_wcsicmp(cls.c_str(), L"Static") == 0 && !TextOf(child).empty()) Print(L"text\t" + Escape(TextOf(child)));
        }
        return 0;
    }
    if (cmd == L"answer" && argc >= 4) {
        HWND box = nullptr;
        // A loaded machine can take seconds to show the box: wait for it, not a guess of how long.
        if (!WaitFor(TimeoutArg(argc, argv, 4, 20000), [&] { return (box = FindMessageBox(argv[2])) != nullptr; }))
            return Fail(L"no message box");
        int id = _wtoi(argv[3]);
        HWND button = GetDlgItem(box, id);
        return PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) ? 0
                                                                                                           : Fail(L"post failed");
    }

    // runvalue NAME [DATA|-]: prints, sets (REG_SZ) or deletes (-) a value of HKLM's Run key.
    if (cmd == L"runvalue" && argc >= 3) {
        const wchar_t* run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, run, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr)) return Fail(L"no Run key");
        int rc = 0;
        if (argc == 3) {
            wchar_t data[2048] = {};
            DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
            if (RegQueryValueExW(key, argv[2], nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
                Print(std::wstring(type == REG_SZ ? L"REG_SZ\t" : L"TYPE" + std::to_wstring(type) + L"\t") + Escape(std::wstring(data, size / sizeof(wchar_t)).c_str()));
            else
                Print(L"absent");
        } else if (std::wstring(argv[3]) == L"-") {
            rc = RegDeleteValueW(key, argv[2]) == ERROR_SUCCESS ? 0 : 1;
        } else {
            rc = RegSetValueExW(key, argv[2], 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[3]),
                                static_cast<DWORD>((wcslen(argv[3]) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS ? 0 : 1;
        }
        RegCloseKey(key);
        return rc;
    }

    // spawn COMMANDLINE: starts a program with exactly that command line, as Windows does at logon.
    if (cmd == L"spawn" && argc >= 3) {
        std::wstring line = argv[2];
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return Fail(L"could not start");
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 0;
    }

    if (argc < 3) return Fail(L"missing window");
    const std::wstring pattern = argv[2];

    if (cmd == L"wait") {
        HWND found = nullptr;
        if (!WaitFor(TimeoutArg(argc, argv, 3, 10000), [&] { return (found = FindWindowByPattern(pattern)) != nullptr; }))
            return Fail(L"no window " + pattern);
        Print(Hex(found));
        return 0;
    }
    if (cmd == L"gone") {
        return WaitFor(TimeoutArg(argc, argv, 3, 10000), [&] { return FindWindowByPattern(pattern) == nullptr; })
                   ? 0
                   : Fail(L"still there: " + pattern);
    }
    if (cmd == L"visible" || cmd == L"hidden") {
        bool wantVisible = cmd == L"visible";
        return WaitFor(TimeoutArg(argc, argv, 3, 10000),
                       [&] {
                           HWND w = FindWindowByPattern(pattern);
                           return w && (IsWindowVisible(w) != FALSE) == wantVisible;
                       })
                   ? 0
                   : Fail(L"not " + cmd + L": " + pattern);
    }

    HWND window = FindWindowByPattern(pattern);
    if (!window) return Fail(L"no window " + pattern);

    if (cmd == L"state") {
        RECT r{};
        GetWindowRect(window, &r);
        Print(Flags(window) + L" iconic=" + std::to_wstring(IsIconic(window) ? 1 : 0) + L" zoomed=" +
              std::to_wstring(IsZoomed(window) ? 1 : 0) + L" foreground=" +
              std::to_wstring(GetForegroundWindow() == window ? 1 : 0));
        PrintRect(r);
        return 0;
    }
    if (cmd == L"controls") {
        for (HWND child : Children(window)) {
            Print(std::to_wstring(GetDlgCtrlID(child)) + L"\t" + ClassOf(child) + L"\t" + Flags(child) + L"\t" +
                  Escape(TextOf(child)));
        }
        return 0;
    }
    if (cmd == L"guiresources") {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (!process) return Fail(L"cannot open the process");
        Print(L"gdi=" + std::to_wstring(GetGuiResources(process, GR_GDIOBJECTS)) + L" user=" +
              std::to_wstring(GetGuiResources(process, GR_USEROBJECTS)));
        CloseHandle(process);
        return 0;
    }
    if (cmd == L"traydelete") {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = window;
        data.uID = 0;
        return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : Fail(L"no icon to delete");
    }
    if (cmd == L"post" && argc >= 6) {
        auto number = [](const wchar_t* text) { return wcstoull(text, nullptr, 0); };
        return PostMessageW(window, static_cast<UINT>(number(argv[3])), static_cast<WPARAM>(number(argv[4])),
                            static_cast<LPARAM>(number(argv[5])))
                   ? 0
                   : Fail(L"post failed");
    }
    if (cmd == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : Fail(L"post failed");
    if (cmd == L"minimize") return PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : Fail(L"post failed");
    if (cmd == L"restore") return PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : Fail(L"post failed");
    if (cmd == L"foreground") return SetForegroundWindow(window) ? 0 : Fail(L"not foreground");
    if (cmd == L"input") {
        // Keyboard input goes to the foreground window's thread, as the user's keys do.
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        if (!WaitFor(5000, [&] { return GetForegroundWindow() == window; })) return Fail(L"not foreground");
        for (int i = 3; i < argc; ++i) {
            if (!SendKeyInput(argv[i])) return Fail(std::wstring(L"cannot send ") + argv[i]);
            // Keys a moment apart, as typed; a scenario waits for their effect, not for this.
            Sleep(100);
        }
        return 0;
    }
    if (cmd == L"client") {
        RECT r{};
        GetClientRect(window, &r);
        Print(std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
        return 0;
    }
    if (cmd == L"focused") {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
            return Fail(L"no focus");
        HWND focus = info.hwndFocus;
        // The edit field inside a combo box stands for the box.
        HWND parent = GetParent(focus);
        if (parent && parent != window && _wcsicmp(ClassOf(parent).c_str(), L"ComboBox") == 0) focus = parent;
        Print(std::to_wstring(GetDlgCtrlID(focus)) + L"\t" + ClassOf(focus));
        return 0;
    }
    if (cmd == L"fill") {
        for (int i = 3; i < argc; ++i) {
            std::wstring pair = argv[i];
            std::size_t eq = pair.find(L'=');
            if (eq == std::wstring::npos) return Fail(L"fill wants ID=TEXT: " + pair);
            HWND field = Control(window, pair.substr(0, eq));
            if (!field) return Fail(L"no control " + pair.substr(0, eq));
            std::wstring text = pair.substr(eq + 1);
            HWND edit = EditOf(field);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return 0;
    }
    if (cmd == L"rect" && argc == 3) {
        RECT r{};
        GetWindowRect(window, &r);
        PrintRect(r);
        return 0;
    }

    if (argc < 4) return Fail(L"missing control");
    HWND control = Control(window, argv[3]);
    if (!control) return Fail(L"no control " + std::wstring(argv[3]));

    if (cmd == L"rect") {
        RECT r{};
        GetWindowRect(control, &r);
        PrintRect(r);
        return 0;
    }
    if (cmd == L"text") {
        Print(Escape(TextOf(control)));
        return 0;
    }
    if (cmd == L"lines" || cmd == L"items") {
        bool list = cmd == L"lines";
        LRESULT count = SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT length = SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0);
            std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 2);
            SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
            Print(Escape(buffer.data()));
        }
        return 0;
    }
    if (cmd == L"checked") {
        Print(std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (cmd == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : Fail(L"post failed");
    if (cmd == L"press") {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result) ? 0 : Fail(L"click not handled");
    }
    if (cmd == L"check" && argc >= 5) {
        LRESULT wanted = _wtoi(argv[4]);
        if (SendMessageW(control, BM_GETCHECK, 0, 0) != wanted) SendMessageW(control, BM_CLICK, 0, 0);
        return SendMessageW(control, BM_GETCHECK, 0, 0) == wanted ? 0 : Fail(L"check box did not change");
    }
    if (cmd == L"pixel") {
        RECT r{};
        GetWindowRect(control, &r);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, r.right - 5, (r.top + r.bottom) / 2);
        ReleaseDC(nullptr, screen);
        Print(ColorText(c));
        return 0;
    }
    if (cmd == L"focus") return GiveFocus(control) ? 0 : Fail(L"focus refused");
    if (cmd == L"settext" && argc >= 5) {
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (cmd == L"type" && argc >= 5) {
        HWND edit = EditOf(control);
        for (const wchar_t* c = argv[4]; *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
        // Posted characters are handled in order; a sent message after them returns once they are.
        SendMessageW(edit, WM_NULL, 0, 0);
        Sleep(100);
        return 0;
    }
    if (cmd == L"select" && argc >= 6) {
        SendMessageW(EditOf(control), EM_SETSEL, static_cast<WPARAM>(_wtoi(argv[4])), static_cast<LPARAM>(_wtoi(argv[5])));
        return 0;
    }
    if (cmd == L"caret") {
        DWORD start = 0, end = 0;
        SendMessageW(EditOf(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        Print(std::to_wstring(start) + L" " + std::to_wstring(end));
        return 0;
    }
    if (cmd == L"paste" && argc >= 5) {
        if (!PutOnClipboard(argv[4])) return Fail(L"clipboard refused");
        SendMessageW(EditOf(control), WM_PASTE, 0, 0);
        return 0;
    }
    if (cmd == L"key" && argc >= 5) {
        UINT vk = KeyCode(argv[4]);
        UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        PostMessageW(control, WM_KEYDOWN, vk, 1 | (scan << 16));
        if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB) PostMessageW(control, WM_CHAR, vk == VK_TAB ? L'\t' : vk == VK_RETURN ? L'\r' : 0x1B, 1 | (scan << 16));
        PostMessageW(control, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
        return 0;
    }
    return Fail(L"unknown command " + cmd);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    return Run(argc, argv);
}
