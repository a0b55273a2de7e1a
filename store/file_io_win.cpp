#include "store/file_io.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "common/handles_win.h"
#include "common/wide_win.h"

namespace ts {
namespace {

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

// A new file beside the target, so the rename never crosses volumes.
UniqueFile CreateTempBeside(const std::wstring& path, std::wstring* tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
        UniqueFile file(CreateFileW(tempPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueFile();
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    // Share everything: another program may hold the file open, as with the profile functions.
    UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing : FileRead::Failed;
    }
    char buffer[8192];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            bytes->clear();
            return FileRead::Failed;
        }
        if (got == 0) return FileRead::Read;
        bytes->append(buffer, got);
    }
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string* errorReason) {
    std::wstring target = Widen(path);
    // A rename would replace a read-only file, which an in-place write could never change.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        if (errorReason) *errorReason = LastSystemErrorText();
        return false;
    }
    std::wstring temp;
    UniqueFile file = CreateTempBeside(target, &temp);
    auto fail = [&](bool made) {
        std::string reason = LastSystemErrorText();  // before the clean-up changes the last error
        file.reset();
        if (made) DeleteFileW(temp.c_str());
        if (errorReason) *errorReason = reason;
        return false;
    };
    if (!file) return fail(false);
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return fail(true);
    file.reset();
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(true);
    }
    return true;
}

std::string LastSystemErrorText() {
    DWORD error = GetLastError();
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length != 0 && message ? std::wstring(message, length) : std::wstring();
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = L"error " + std::to_wstring(error);
    return Narrow(text);
}

}  // namespace ts
