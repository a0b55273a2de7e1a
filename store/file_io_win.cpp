#include "store/file_io.h"
#include "store/file_io_win.h"

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

struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using UniqueFind = UniqueHandle<HANDLE, FindHandleTraits>;

// What a new file can be given when it is made, so a rename keeps them too. Read-only files are
// refused before, and compression and encryption are the folder's or ReplaceFileW's business.
const DWORD kCarriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

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

bool SetSize(HANDLE file, std::size_t size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The folder part of a path, with its separator ("" for a bare file name).
std::wstring FolderOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring NameOf(const std::wstring& path) { return path.substr(FolderOf(path).size()); }

// A new file beside the target, so the rename never crosses volumes.
UniqueFile CreateTempBeside(const std::wstring& target, DWORD attributes, std::wstring* tempPath) {
    // Process ids come back soon (under Wine at once): a counter that starts at the clock keeps a new
    // run from meeting the names of the last one's left-overs.
    static unsigned long counter = GetTickCount();
    const std::string name = Narrow(NameOf(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath = FolderOf(target) + Widen(TempFileName(name, GetCurrentProcessId(), ++counter));
        UniqueFile file(CreateFileW(tempPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueFile();
}

bool HasOtherLinks(const std::wstring& target) {
    UniqueFile file(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    return file && GetFileInformationByHandle(file.get(), &info) && info.nNumberOfLinks > 1;
}

// The profile functions' way: the same file, its contents overwritten. Not all or nothing, so it is
// used only where a replacement cannot be made or would lose what the file is. A longer file is
// lengthened first: a full disk then fails before a byte of the old contents changes.
bool WriteInPlace(const std::wstring& target, const std::string& bytes) {
    UniqueFile file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return false;
    if (static_cast<ULONGLONG>(size.QuadPart) < bytes.size() && !SetSize(file.get(), bytes.size())) return false;
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) && WriteAll(file.get(), bytes) &&
           SetSize(file.get(), bytes.size()) && FlushFileBuffers(file.get());
}

bool Rename(const std::wstring& temp, const std::wstring& target) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

enum class Outcome { Done, Failed, WriteInPlace };

Outcome ReplaceExisting(Replacement how, const std::wstring& temp, const std::wstring& target) {
    if (how == Replacement::WithRename) return Rename(temp, target) ? Outcome::Done : Outcome::Failed;
    if (ReplaceFileW(target.c_str(), temp.c_str(), nullptr, 0, nullptr, nullptr)) return Outcome::Done;
    const DWORD error = GetLastError();
    // It removed the old file but could not move the new one in: finish the move, or nothing is left.
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) {
        return Rename(temp, target) ? Outcome::Done : Outcome::Failed;
    }
    SetLastError(error);
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        // The file is in use: a rename would fail the same way.
        return Outcome::Failed;
    case ERROR_ACCESS_DENIED:
        // ReplaceFileW also needs the right to delete the file and to copy its security, which a
        // user who may only write it lacks; a rename would fail too or give the file the folder's
        // permissions. The profile functions would write it in place, and so do we.
        return Outcome::WriteInPlace;
    default:
        // Mostly file systems that do not offer it (some network shares): a rename is still all or
        // nothing, and the temporary file already carries the attributes.
        return Rename(temp, target) ? Outcome::Done : Outcome::Failed;
    }
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
    // Straight into the string, sized once: a large file is read at the speed of a copy.
    LARGE_INTEGER fileSize;
    std::size_t capacity = 0;
    if (GetFileSizeEx(file.get(), &fileSize) && fileSize.QuadPart > 0 &&
        static_cast<ULONGLONG>(fileSize.QuadPart) < bytes->max_size() / 2) {
        capacity = static_cast<std::size_t>(fileSize.QuadPart);
    }
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) capacity = capacity * 2 + 8192;  // the file grew, or its size was unknown
        bytes->resize(capacity);
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - size, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), &(*bytes)[size], chunk, &got, nullptr)) {
            bytes->clear();
            return FileRead::Failed;
        }
        if (got == 0) break;
        size += got;
    }
    bytes->resize(size);
    return FileRead::Read;
}

// One that another process is still writing is open without sharing: its delete fails and it stays.
void RemoveLeftoverTemporaries(const std::string& path) {
    const std::wstring target = Widen(path);
    const std::wstring folder = FolderOf(target);
    const std::string name = Narrow(NameOf(target));
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW((target + L".~*.tmp").c_str(), &found));
    if (!find) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTempFileOf(Narrow(found.cFileName), name)) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(find.get(), &found));
}

Replacement ReplacementOfThisSystem() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine ? Replacement::WithRename : Replacement::WithReplaceFile;
}

bool SaveWholeFile(const std::string& path, const std::string& bytes, std::string* errorReason) {
    return SaveWholeFileWith(ReplacementOfThisSystem(), path, bytes, errorReason);
}

bool SaveWholeFileWith(Replacement how, const std::string& path, const std::string& bytes, std::string* errorReason) {
    const std::wstring target = Widen(path);
    auto fail = [errorReason]() {
        if (errorReason) *errorReason = LastSystemErrorText();
        return false;
    };
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Refused as the profile functions refuse it; a rename would replace it anyway.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return fail();
    }
    if (exists && HasOtherLinks(target)) return WriteInPlace(target, bytes) || fail();

    std::wstring temp;
    UniqueFile file = CreateTempBeside(target, exists ? attributes & kCarriedAttributes : FILE_ATTRIBUTE_NORMAL, &temp);
    if (!file) {
        // No new file may be made in this folder, yet the file itself may be writable.
        if (exists && WriteInPlace(target, bytes)) return true;
        return fail();
    }
    auto failAndRemove = [&]() {
        std::string reason = LastSystemErrorText();  // before the clean-up changes the last error
        file.reset();
        DeleteFileW(temp.c_str());
        if (errorReason) *errorReason = reason;
        return false;
    };
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return failAndRemove();
    file.reset();
    if (!exists) return Rename(temp, target) || failAndRemove();
    switch (ReplaceExisting(how, temp, target)) {
    case Outcome::Done:
        return true;
    case Outcome::WriteInPlace:
        DeleteFileW(temp.c_str());
        return WriteInPlace(target, bytes) || fail();
    case Outcome::Failed:
        break;
    }
    return failAndRemove();
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
