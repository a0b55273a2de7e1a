// Crash consistency of a save. `save_kill test FOLDER SECONDS KILLS` starts `save_kill saver ...`,
// which saves two clearly different shutdown sections in turn through the program's own save path in a
// tight loop, kills it at a random moment once it has saved, and looks at FOLDER\timer.ini after every
// kill: it must hold exactly the old or exactly the new contents, keep its hidden attribute, and have at
// most one temporary file beside it, which the next run's first save removes. It goes on for SECONDS
// and at least KILLS kills, and prints what it saw; the exit code is 0 when nothing was wrong.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/wide_win.h"
#include "store/file_io.h"
#include "store/settings_file.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

const char* const kKeys[] = {"定时关机日期", "定时关机时间", "每天定时关机", "每周定时关机周几",
                             "每周定时关机时间", "每月定时关机日期", "每月定时关机时间", "每次开机X分钟关机"};

// All off, and all on with a long weekday text, so a cut or a mix of the two never looks like either.
Entries Contents(bool on) {
    const std::string values[] = {"2030-12-31", "23:59", "06:30", std::string(200, 'W') + "周五",
                                  "18:30", "28", "08:00", "20000"};
    Entries entries;
    for (int i = 0; i < 8; ++i) entries.emplace_back(kKeys[i], on ? values[i] : "");
    return entries;
}

using KernelHandle = ts::UniqueHandle<HANDLE, ts::KernelHandleTraits>;

int Saver(const std::string& path, const std::wstring& eventName) {
    KernelHandle saved(OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str()));
    for (unsigned long n = 0;; ++n) {
        if (ts::WriteIniSection(path, "关机", Contents(n % 2 == 1), nullptr) && saved) {
            SetEvent(saved.get());
            saved.reset();
        }
    }
}

std::string Read(const std::string& path, bool* present) {
    std::string bytes;
    *present = ts::ReadWholeFile(path, &bytes) == ts::FileRead::Read;
    return bytes;
}

std::vector<std::wstring> Temporaries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\timer.ini.~*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (ts::IsTempFileOf(ts::Narrow(found.cFileName), "timer.ini")) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

int Test(const std::wstring& folder, double seconds, int minimumKills) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string path = ts::Narrow(folder) + "\\timer.ini";
    {
        HANDLE f = CreateFileW(ts::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const char start[] = "; \xB6\xA8\xCA\xB1\r\n[\xD6\xD8\xC6\xF4]\r\nx=12:00\r\n";  // "; 定时", [重启]
        DWORD written = 0;
        WriteFile(f, start, sizeof start - 1, &written, nullptr);
        CloseHandle(f);
    }
    SetFileAttributesW(ts::Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
    bool present = false;
    if (!ts::WriteIniSection(path, "关机", Contents(false), nullptr)) return std::printf("first save failed\n"), 1;
    const std::string off = Read(path, &present);
    if (!ts::WriteIniSection(path, "关机", Contents(true), nullptr)) return std::printf("second save failed\n"), 1;
    const std::string on = Read(path, &present);

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const unsigned seed = static_cast<unsigned>(GetTickCount());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(0, 12000);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    int kills = 0, sawOff = 0, sawOn = 0, leftovers = 0, failures = 0;
    std::wstring previousLeftover;
    auto report = [&](const char* what) {
        ++failures;
        std::printf("kill %d: %s\n", kills, what);
    };
    const auto begin = std::chrono::steady_clock::now();
    auto elapsed = [&]() { return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(); };
    while ((elapsed() < seconds || kills < minimumKills) && elapsed() < seconds * 2.5 && failures < 10) {
        const std::wstring eventName = L"save_kill_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(kills);
        KernelHandle saved(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        std::wstring command = L"\"" + std::wstring(self) + L"\" saver \"" + folder + L"\" " + eventName;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            return std::printf("cannot start the saver: %lu\n", GetLastError()), 1;
        }
        KernelHandle processHandle(process.hProcess);
        KernelHandle threadHandle(process.hThread);
        HANDLE waits[] = {saved.get(), process.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, 20000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
            report("the saver did not save");
            continue;
        }
        // A random moment of the save loop: sleep most of the delay, spin the rest.
        const int delay = delayMicroseconds(random);
        Sleep(static_cast<DWORD>(delay / 1000));
        LARGE_INTEGER from, now;
        QueryPerformanceCounter(&from);
        do QueryPerformanceCounter(&now);
        while ((now.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart < delay % 1000);
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        ++kills;

        const std::string bytes = Read(path, &present);
        if (!present) report("timer.ini is missing");
        else if (bytes.empty()) report("timer.ini is empty");
        else if (bytes == off) ++sawOff;
        else if (bytes == on) ++sawOn;
        else report("timer.ini is neither the old nor the new contents");
        if (present && !(GetFileAttributesW(ts::Widen(path).c_str()) & FILE_ATTRIBUTE_HIDDEN)) report("timer.ini lost its hidden attribute");
        const std::vector<std::wstring> temps = Temporaries(folder);
        if (temps.size() > 1) report("more than one temporary file");
        for (const std::wstring& t : temps) {
            if (t == previousLeftover) report("the last kill's temporary file outlived the next save");
        }
        if (!temps.empty()) ++leftovers;
        previousLeftover = temps.empty() ? std::wstring() : temps.front();
    }
    // The next save removes what the last kill left.
    if (!ts::WriteIniSection(path, "关机", Contents(false), nullptr)) report("the save after the last kill failed");
    if (!Temporaries(folder).empty()) report("a temporary file outlived the save after the last kill");
    std::printf("kills=%d old=%d new=%d with-temporary-file=%d failures=%d seconds=%.1f seed=%u\n", kills, sawOff, sawOn,
                leftovers, failures, elapsed(), seed);
    return failures == 0 && kills >= minimumKills ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"saver" && argc == 4) return Saver(ts::Narrow(argv[2]) + "\\timer.ini", argv[3]);
    if (mode == L"test" && argc == 5) return Test(argv[2], _wtof(argv[3]), _wtoi(argv[4]));
    std::printf("usage: save_kill test FOLDER SECONDS KILLS\n");
    return 2;
}
