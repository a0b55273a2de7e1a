#include "registry/reg_win.h"

#include <cstring>

#include "common/wide_win.h"
#include "registry/regdata.h"

namespace ts {

namespace {

// Query value, set value, create and enumerate subkeys, notify, create link, read control.
constexpr REGSAM kWriteAccess = 0x2003F;

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

LSTATUS SetValue(HKEY key, const std::wstring& name, DWORD type, const void* data, std::size_t size) {
    static const BYTE kNothing = 0;
    const BYTE* bytes = size == 0 ? &kNothing : static_cast<const BYTE*>(data);
    return RegSetValueExW(key, name.c_str(), 0, type, bytes, static_cast<DWORD>(size));
}

LSTATUS StoreValue(HKEY key, const std::wstring& name, const RegValue& value, DWORD type) {
    if (IsTextType(type)) {
        const std::string* text = std::get_if<std::string>(&value);
        if (!text) return ERROR_INVALID_PARAMETER;
        // The terminating NUL is stored too; a multi-string already holds the NUL after each string.
        std::wstring wide = Widen(*text);
        return SetValue(key, name, type, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    if (type == REG_DWORD) {
        const double* number = std::get_if<double>(&value);
        if (!number) return ERROR_INVALID_PARAMETER;
        auto bytes = DwordBytes(*number);
        if (!bytes) return ERROR_INVALID_PARAMETER;
        return SetValue(key, name, type, bytes->data(), bytes->size());
    }
    if (type == REG_BINARY) {
        const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value);
        if (!bytes) return ERROR_INVALID_PARAMETER;
        return SetValue(key, name, type, bytes->data(), bytes->size());
    }
    return ERROR_SUCCESS;
}

// The whole value, however long: the size is asked first, and asked again if the value grew meanwhile.
LSTATUS QueryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size);
        DWORD got = static_cast<DWORD>(data.size());
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
        if (status == ERROR_SUCCESS) {
            data.resize(got);
            return status;
        }
        size = got;
    }
    return status;
}

std::string ValueText(DWORD type, const std::vector<BYTE>& data) {
    if (IsTextType(type)) {
        std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
        if (!wide.empty()) std::memcpy(&wide[0], data.data(), wide.size() * sizeof(wchar_t));
        return StoredTextValue(Narrow(wide));
    }
    if (type == REG_DWORD) return DwordText(data.data(), data.size());
    if (type == REG_BINARY) return BinaryText(data.data(), data.size());
    return std::string();
}

bool WriteValueIn(HKEY root, const std::string& subkey, DWORD options, const std::string& valueName,
                  const RegValue& value, DWORD type) {
    UniqueRegKey key;
    // No class and no inheritable handle: nothing reads a key's class, and no child process needs the key.
    if (RegCreateKeyExW(root, Widen(subkey).c_str(), 0, nullptr, options, kWriteAccess, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    return StoreValue(key.get(), Widen(valueName), value, type) == ERROR_SUCCESS;
}

}  // namespace

bool WriteRegValue(HKEY root, const std::string& subkey, const std::string& valueName, const RegValue& value,
                   DWORD type) {
    return WriteValueIn(root, subkey, REG_OPTION_NON_VOLATILE, valueName, value, type);
}

bool WriteVolatileRegValue(HKEY root, const std::string& subkey, const std::string& valueName, const RegValue& value,
                           DWORD type) {
    return WriteValueIn(root, subkey, REG_OPTION_VOLATILE, valueName, value, type);
}

std::string ReadRegValue(HKEY root, const std::string& subkey, const std::string& valueName, DWORD& type) {
    UniqueRegKey key;
    // Reading asks for nothing more than reading, so a key the user may not change still reads.
    if (RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return std::string();
    }
    DWORD storedType = REG_NONE;
    std::vector<BYTE> data;
    if (QueryValue(key.get(), Widen(valueName), storedType, data) != ERROR_SUCCESS) return std::string();
    type = storedType;
    return ValueText(storedType, data);
}

bool DeleteRegValue(HKEY root, const std::string& subkey, const std::string& valueName) {
    std::wstring wideSubkey = Widen(subkey);
    UniqueRegKey key;
    if (RegOpenKeyExW(root, wideSubkey.c_str(), 0, kWriteAccess, key.put()) != ERROR_SUCCESS) return false;
    if (!valueName.empty()) return RegDeleteValueW(key.get(), Widen(valueName).c_str()) == ERROR_SUCCESS;

    key.reset();
    std::size_t sep = wideSubkey.rfind(L'\\');
    if (sep == std::wstring::npos || sep == 0) return RegDeleteKeyW(root, wideSubkey.c_str()) == ERROR_SUCCESS;
    UniqueRegKey parent;
    if (RegOpenKeyExW(root, wideSubkey.substr(0, sep).c_str(), 0, kWriteAccess, parent.put()) != ERROR_SUCCESS) {
        return false;
    }
    return RegDeleteKeyW(parent.get(), wideSubkey.substr(sep + 1).c_str()) == ERROR_SUCCESS;
}

bool RegValueIsAbsent(HKEY root, const std::string& subkey, const std::string& valueName) {
    UniqueRegKey key;
    LSTATUS status = RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put());
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExW(key.get(), Widen(valueName).c_str(), nullptr, nullptr, nullptr, nullptr);
    }
    return status == ERROR_FILE_NOT_FOUND;
}

}  // namespace ts
