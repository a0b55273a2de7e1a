// Registry helpers and the logon entry against the real registry (Wine's, or Windows').
#include "registry/logon_win.h"
#include "registry/reg_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/wide_win.h"

namespace ts {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

// Scratch key for every test here; set TS_KEEP_REGISTRY_TEST_KEY=1 to leave it for a look from outside.
const char kScratch[] = "Software\\TimedShutdownTest";
const wchar_t kScratchW[] = L"Software\\TimedShutdownTest";

struct Raw {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    Bytes bytes;
};

Raw ReadRaw(HKEY root, const std::string& subkey, const std::string& name) {
    Raw raw;
    UniqueRegKey key;
    raw.status = RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put());
    if (raw.status != ERROR_SUCCESS) return raw;
    std::wstring wideName = Widen(name);
    DWORD size = 0;
    raw.status = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &raw.type, nullptr, &size);
    if (raw.status != ERROR_SUCCESS) return raw;
    raw.bytes.resize(size);
    raw.status = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &raw.type, raw.bytes.data(), &size);
    raw.bytes.resize(size);
    return raw;
}

void WriteRaw(HKEY root, const std::string& subkey, const std::string& name, DWORD type, const Bytes& bytes) {
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(root, Widen(subkey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    static const BYTE kNothing = 0;
    ASSERT_EQ(RegSetValueExW(key.get(), Widen(name).c_str(), 0, type, bytes.empty() ? &kNothing : bytes.data(),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// The UTF-16 bytes of a text, as a text value holds them.
Bytes Utf16Bytes(const std::wstring& text) {
    Bytes bytes(text.size() * sizeof(wchar_t));
    if (!bytes.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}
Bytes Utf16WithNul(const std::string& utf8) { return Utf16Bytes(Widen(utf8) + L'\0'); }

bool KeyExists(HKEY root, const std::string& subkey) {
    UniqueRegKey key;
    return RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

class RegValues : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratchW); }
    void TearDown() override {
        const char* keep = std::getenv("TS_KEEP_REGISTRY_TEST_KEY");
        if (!keep || !*keep) RegDeleteTreeW(HKEY_CURRENT_USER, kScratchW);
    }
    static std::string Sub(const std::string& leaf) { return kScratch + ("\\"s + leaf); }
};

TEST_F(RegValues, WriteStoresTheBytesAndReadsThemBack) {
    const struct {
        const char* name;
        DWORD type;
        RegValue value;
        Bytes stored;
        std::string text;
    } cases[] = {
        {"sz", REG_SZ, "abc"s, Utf16WithNul("abc"), "abc"},  // three letters and a NUL
        {"sz-empty", REG_SZ, ""s, Utf16WithNul(""), ""},
        {"sz-spaces", REG_SZ, "  a b  "s, Utf16WithNul("  a b  "), "a b"},
        {"sz-chinese", REG_SZ, "松汐定时关机"s, Utf16WithNul("松汐定时关机"), "松汐定时关机"},
        {"expand", REG_EXPAND_SZ, "%SystemRoot%\\x"s, Utf16WithNul("%SystemRoot%\\x"), "%SystemRoot%\\x"},
        {"multi", REG_MULTI_SZ, "ab\0cd\0"s, Utf16WithNul("ab\0cd\0"s), "ab\0cd\0"s},
        {"dword-258", REG_DWORD, 258.0, {0x02, 0x01, 0x00, 0x00}, "258"},
        {"dword-0", REG_DWORD, 0.0, {0x00, 0x00, 0x00, 0x00}, "0"},
        {"dword-max", REG_DWORD, 4294967295.0, {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
        {"dword-high", REG_DWORD, 2147483648.0, {0x00, 0x00, 0x00, 0x80}, "2147483648"},
        {"binary", REG_BINARY, Bytes{0x01, 0xAB, 0x00}, {0x01, 0xAB, 0x00}, "01 AB 00"},
        {"binary-empty", REG_BINARY, Bytes{}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("types"), c.name, c.value, c.type));
        Raw raw = ReadRaw(HKEY_CURRENT_USER, Sub("types"), c.name);
        ASSERT_EQ(raw.status, ERROR_SUCCESS);
        EXPECT_EQ(raw.type, c.type);
        EXPECT_EQ(raw.bytes, c.stored);
        DWORD type = REG_SZ;
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("types"), c.name, type), c.text);
        EXPECT_EQ(type, c.type);
    }
}

TEST_F(RegValues, WriteOverwritesAValueOfAnotherType) {
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("k"), "v", 7.0, REG_DWORD));
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("k"), "v", "seven"s, REG_SZ));
    Raw raw = ReadRaw(HKEY_CURRENT_USER, Sub("k"), "v");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, Utf16WithNul("seven"));
}

TEST_F(RegValues, WriteRefusesWhatDoesNotSuitTheType) {
    const struct {
        const char* what;
        DWORD type;
        RegValue value;
    } cases[] = {
        {"dword 2^32", REG_DWORD, 4294967296.0}, {"dword -1", REG_DWORD, -1.0},
        {"dword fraction", REG_DWORD, 1.5},      {"dword as text", REG_DWORD, "258"s},
        {"text as number", REG_SZ, 258.0},       {"binary as text", REG_BINARY, "01 AB"s},
        {"binary as number", REG_BINARY, 1.0},   {"multi as bytes", REG_MULTI_SZ, Bytes{1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(WriteRegValue(HKEY_CURRENT_USER, Sub("refused"), "v", c.value, c.type));
        EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, Sub("refused"), "v").status, ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(RegValues, OtherTypesStoreNothingAndReportSuccess) {
    const DWORD types[] = {REG_NONE, REG_DWORD_BIG_ENDIAN, REG_LINK, REG_QWORD};
    for (DWORD type : types) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("other"), "v", 5.0, type));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sub("other")));
        EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, Sub("other"), "v").status, ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(RegValues, WriteCreatesTheKeysAlongThePath) {
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("a\\b\\c"), "v", "x"s, REG_SZ));
    DWORD type = REG_SZ;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("a\\b\\c"), "v", type), "x");
}

TEST_F(RegValues, VolatileWriteMakesAKeyTheSystemDropsAtItsNextStart) {
    ASSERT_TRUE(WriteVolatileRegValue(HKEY_CURRENT_USER, Sub("gone at start"), "v", "90@1"s, REG_SZ));
    DWORD type = REG_NONE;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("gone at start"), "v", type), "90@1");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Only a volatile key refuses a lasting child: the registry's own proof of what kind it is.
    UniqueRegKey child;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(Sub("gone at start\\lasting")).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, child.put(), nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
}

// Data written by other programs, read back.
TEST_F(RegValues, ReadTurnsStoredDataIntoText) {
    const struct {
        const char* name;
        DWORD type;
        Bytes stored;
        std::string text;
    } cases[] = {
        {"sz-spaces", REG_SZ, Utf16WithNul("  abc  "), "abc"},
        {"sz-no-bytes", REG_SZ, {}, ""},
        {"sz-only-nul", REG_SZ, {0, 0}, ""},
        {"sz-without-nul", REG_SZ, Utf16Bytes(L"abc"), "abc"},
        {"sz-inner-nul", REG_SZ, Utf16WithNul("abc\0def"s), "abc\0def"s},
        {"expand", REG_EXPAND_SZ, Utf16WithNul("%PATH%"), "%PATH%"},
        {"multi", REG_MULTI_SZ, Utf16Bytes(L"a\0b\0\0"s), "a\0b\0"s},
        {"dword-ff", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
        {"dword-80", REG_DWORD, {0x00, 0x00, 0x00, 0x80}, "2147483648"},
        {"dword-00", REG_DWORD, {0x00, 0x00, 0x00, 0x00}, "0"},
        {"dword-short", REG_DWORD, {0x02, 0x01}, ""},
        {"binary", REG_BINARY, {0x01, 0xAB, 0x00}, "01 AB 00"},
        {"binary-empty", REG_BINARY, {}, ""},
        {"big-endian", REG_DWORD_BIG_ENDIAN, {0x00, 0x00, 0x01, 0x02}, ""},
        {"link", REG_LINK, Utf16Bytes(L"\\Registry\\Machine"), ""},
        {"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRaw(HKEY_CURRENT_USER, Sub("read"), c.name, c.type, c.stored);
        DWORD type = REG_SZ;
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("read"), c.name, type), c.text);
        EXPECT_EQ(type, c.type);
    }
}

TEST_F(RegValues, ReadReturnsTheWholeOfALongText) {
    std::string text;
    for (int i = 0; i < 600; ++i) text += "定时关机 ";  // 3000 characters, 6000 bytes in the registry
    text += "end";
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("long"), "v", text, REG_SZ));
    DWORD type = REG_SZ;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("long"), "v", type), text);
    Bytes big(5000, 0x5A);
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("long"), "b", big, REG_BINARY));
    std::string binary = ReadRegValue(HKEY_CURRENT_USER, Sub("long"), "b", type);
    EXPECT_EQ(binary.size(), 5000u * 3 - 1);
    EXPECT_EQ(binary.substr(0, 6), "5A 5A ");
}

TEST_F(RegValues, MissingKeyOrValue) {
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("k"), "there", "x"s, REG_SZ));
    const struct {
        const char* subkey;
        const char* name;
    } missing[] = {{"nokey", "there"}, {"k", "novalue"}, {"k\\deeper", "there"}};
    for (const auto& m : missing) {
        SCOPED_TRACE(m.subkey + "/"s + m.name);
        for (DWORD callerType : {DWORD{REG_SZ}, DWORD{REG_DWORD}, DWORD{REG_BINARY}}) {
            DWORD type = callerType;
            EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub(m.subkey), m.name, type), "");
            EXPECT_EQ(type, callerType);
        }
        EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, Sub(m.subkey), m.name));
        EXPECT_TRUE(RegValueIsAbsent(HKEY_CURRENT_USER, Sub(m.subkey), m.name));
    }
    EXPECT_FALSE(RegValueIsAbsent(HKEY_CURRENT_USER, Sub("k"), "there"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sub("nokey")));  // reading creates nothing
}

TEST_F(RegValues, DeleteValueLeavesTheKey) {
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("k"), "a", "1"s, REG_SZ));
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("k"), "b", "2"s, REG_SZ));
    EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, Sub("k"), "a"));
    EXPECT_TRUE(RegValueIsAbsent(HKEY_CURRENT_USER, Sub("k"), "a"));
    EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, Sub("k"), "b").status, ERROR_SUCCESS);
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, Sub("k"), "a"));
}

TEST_F(RegValues, DeleteKeyWithEmptyValueName) {
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("A\\B\\C"), "v", "x"s, REG_SZ));
    EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, Sub("A\\B\\C"), ""));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sub("A\\B\\C")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Sub("A\\B")));

    // A key directly under the root: the root here is the scratch key opened by the test.
    UniqueRegKey scratch;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kScratchW, 0, KEY_ALL_ACCESS, scratch.put()), ERROR_SUCCESS);
    EXPECT_FALSE(DeleteRegValue(scratch.get(), "A", ""));  // it still has B below it
    EXPECT_TRUE(DeleteRegValue(scratch.get(), "A\\B", ""));
    EXPECT_TRUE(DeleteRegValue(scratch.get(), "A", ""));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sub("A")));
    EXPECT_FALSE(DeleteRegValue(scratch.get(), "A", ""));
}

TEST_F(RegValues, NamesAndTextsOutsideTheAnsiCodePage) {
    // Chinese (in code page 936), Greek and German (not in it), and a character beyond the BMP.
    const char* texts[] = {"松汐定时关机", "Ελληνικά", "Größe ÄÖÜ", "😀 emoji", "한국어 텍스트"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        std::string subkey = Sub("uni\\"s + text);
        ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, subkey, text, "值 "s + text, REG_SZ));
        Raw raw = ReadRaw(HKEY_CURRENT_USER, subkey, text);
        ASSERT_EQ(raw.status, ERROR_SUCCESS);
        EXPECT_EQ(raw.bytes, Utf16WithNul("值 "s + text));
        DWORD type = REG_SZ;
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, subkey, text, type), "值 "s + text);
        EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, subkey, text));
        EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, subkey, ""));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, subkey));
    }
}

// A key that everyone may read but nobody may change (as the machine's Run key is for a normal user).
class ReadOnlyKey : public RegValues {
protected:
    void SetUp() override {
        RegValues::SetUp();
        ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, Sub("ro"), "v", "  abc  "s, REG_SZ));
        UniqueRegKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(Sub("ro")).c_str(), 0, WRITE_DAC, key.put()),
                  ERROR_SUCCESS);
        SECURITY_DESCRIPTOR sd;
        ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_));
        DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone_);
        acl_.resize(aclSize);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        ASSERT_TRUE(InitializeAcl(acl, aclSize, ACL_REVISION));
        // DELETE and WRITE_DAC only so the test can clean up after itself.
        ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone_));
        ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
        ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    }
    void TearDown() override {
        UniqueRegKey scratch;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchW, 0, KEY_ALL_ACCESS, scratch.put()) == ERROR_SUCCESS) {
            RegDeleteKeyW(scratch.get(), L"ro");
        }
        if (everyone_) FreeSid(everyone_);
        RegValues::TearDown();
    }
    PSID everyone_ = nullptr;
    std::vector<BYTE> acl_;
};

TEST_F(ReadOnlyKey, ReadsWithoutAskingToWrite) {
    UniqueRegKey probe;
    LSTATUS writeOpen = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(Sub("ro")).c_str(), 0, 0x2003F, probe.put());
    if (writeOpen == ERROR_SUCCESS) GTEST_SKIP() << "this system does not enforce the key's access list";
    EXPECT_EQ(writeOpen, ERROR_ACCESS_DENIED);

    DWORD type = REG_DWORD;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("ro"), "v", type), "abc");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(RegValueIsAbsent(HKEY_CURRENT_USER, Sub("ro"), "v"));
    EXPECT_FALSE(WriteRegValue(HKEY_CURRENT_USER, Sub("ro"), "v", "new"s, REG_SZ));
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, Sub("ro"), "v"));
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Sub("ro"), "v", type), "abc");
}

// The real logon entry in the machine's Run key; whatever was there before is put back afterwards.
class LogonEntry : public testing::Test {
protected:
    void SetUp() override {
        saved_ = ReadRaw(kLogonRootKey, kLogonSubkey, kLogonValueName);
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        ASSERT_GT(n, 0u);
        exePath_ = Narrow(path, n);
        RegDeleteKeyValueW(kLogonRootKey, Widen(kLogonSubkey).c_str(), Widen(kLogonValueName).c_str());
    }
    void TearDown() override {
        if (saved_.status == ERROR_SUCCESS) {
            WriteRaw(kLogonRootKey, kLogonSubkey, kLogonValueName, saved_.type, saved_.bytes);
        } else {
            RegDeleteKeyValueW(kLogonRootKey, Widen(kLogonSubkey).c_str(), Widen(kLogonValueName).c_str());
        }
    }
    void Store(const std::string& text, DWORD type = REG_SZ) {
        ASSERT_TRUE(WriteRegValue(kLogonRootKey, kLogonSubkey, kLogonValueName, text, type));
    }
    Raw Stored() const { return ReadRaw(kLogonRootKey, kLogonSubkey, kLogonValueName); }

    Raw saved_;
    std::string exePath_;
};

TEST_F(LogonEntry, CommandLineNamesThisExecutableInQuotes) {
    EXPECT_EQ(CurrentLogonCommandLine(), "\"" + exePath_ + "\" /s");
}

TEST_F(LogonEntry, WriteMatchDelete) {
    EXPECT_FALSE(LogonEntryMatchesThisProgram());
    ASSERT_TRUE(WriteLogonEntry());
    Raw raw = Stored();
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, Utf16WithNul("\"" + exePath_ + "\" /s"));
    EXPECT_TRUE(LogonEntryMatchesThisProgram());

    EXPECT_TRUE(DeleteLogonEntry());
    EXPECT_EQ(Stored().status, ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(KeyExists(kLogonRootKey, kLogonSubkey));
    EXPECT_FALSE(LogonEntryMatchesThisProgram());
    EXPECT_TRUE(DeleteLogonEntry());  // nothing left to delete is no failure
}

TEST_F(LogonEntry, WhichEntriesNameThisCopy) {
    std::string upper = exePath_;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    const struct {
        std::string entry;
        DWORD type;
        bool matches;
    } cases[] = {
        {"\"" + exePath_ + "\" /s", REG_SZ, true},
        {exePath_ + " /s", REG_SZ, true},  // the older unquoted form
        {"   \"" + exePath_ + "\" /s  ", REG_SZ, true},
        {"\"" + exePath_ + "\" /s\0tail"s, REG_SZ, true},
        {"\"" + exePath_ + "\" /s", REG_EXPAND_SZ, true},
        {"\"" + upper + "\" /s", REG_SZ, false},
        {"\"C:\\Elsewhere\\win_tests.exe\" /s", REG_SZ, false},
        {"\"" + exePath_ + "\"", REG_SZ, false},
        {"", REG_SZ, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        Store(c.entry, c.type);
        EXPECT_EQ(LogonEntryMatchesThisProgram(), c.matches);
        // Looking leaves the entry as it was.
        EXPECT_EQ(Stored().bytes, Utf16WithNul(c.entry));
    }
}

TEST_F(LogonEntry, RewriteTurnsTheOldFormIntoTheQuotedOne) {
    Store("  " + exePath_ + " /s ");
    ASSERT_TRUE(LogonEntryMatchesThisProgram());
    ASSERT_TRUE(WriteLogonEntry());
    EXPECT_EQ(Stored().bytes, Utf16WithNul("\"" + exePath_ + "\" /s"));
}

TEST_F(LogonEntry, CheckingOverwritesAnotherPathAndUncheckingDeletesIt) {
    Store("\"C:\\Moved\\TimedShutdown.exe\" /s");
    EXPECT_FALSE(LogonEntryMatchesThisProgram());
    ASSERT_TRUE(WriteLogonEntry());
    EXPECT_TRUE(LogonEntryMatchesThisProgram());
    EXPECT_TRUE(DeleteLogonEntry());
    EXPECT_EQ(Stored().status, ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace ts
