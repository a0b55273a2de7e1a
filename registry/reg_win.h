// Read, write and delete one registry value. Names and texts are UTF-8 here and UTF-16 in the registry.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/handles_win.h"

namespace ts {

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;

// Text for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ (a multi-string holds the NUL after each string),
// a number for REG_DWORD, the bytes for REG_BINARY.
using RegValue = std::variant<std::string, double, std::vector<std::uint8_t>>;

// Stores `value` as `type`, creating the key and the keys above it when missing. False when the key
// cannot be created, the value does not suit the type (a REG_DWORD outside 0 to 4294967295 or with a
// fraction, a value of the wrong kind) or the registry refuses it. A type other than the five above
// stores nothing and reports true.
bool WriteRegValue(HKEY root, const std::string& subkey, const std::string& valueName, const RegValue& value,
                   DWORD type);

// As WriteRegValue, in a volatile key: the system drops it when it starts again. A key that already
// exists keeps its own kind.
bool WriteVolatileRegValue(HKEY root, const std::string& subkey, const std::string& valueName, const RegValue& value,
                           DWORD type);

// The value as text: texts without spaces at their ends and whatever their length, a DWORD in unsigned
// decimal, binary data as "01 AB 00"; empty text for other types and for a missing key or value.
// Opens the key for reading only, so a key the user may not change still reads. After a successful
// read `type` holds the stored type; otherwise it is left as it was.
std::string ReadRegValue(HKEY root, const std::string& subkey, const std::string& valueName, DWORD& type);

// Deletes the value, or with an empty value name the key itself (which must have no subkeys).
// False when the key or value is missing or the registry refuses.
bool DeleteRegValue(HKEY root, const std::string& subkey, const std::string& valueName);

// True only when the key or the value is known not to exist; false when it exists or when it cannot
// be told (no right to read the key).
bool RegValueIsAbsent(HKEY root, const std::string& subkey, const std::string& valueName);

}  // namespace ts
