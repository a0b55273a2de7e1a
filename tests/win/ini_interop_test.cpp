// Our settings file reader and writer against the Windows profile functions, on the same files.
#include "store/codepage.h"
#include "store/file_io.h"
#include "store/file_io_win.h"
#include "store/ini_text.h"
#include "store/settings_file.h"
#include "store/text_encoding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/common/example_settings.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/wide_win.h"

namespace ts {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string G(const std::string& utf8) { return Utf8ToGbk(utf8); }

using Key = testing_data::ExampleKey;
using testing_data::kExampleKeys;

// The profile functions take the ANSI code page; these tests need it to be 936, as the names are Chinese.
#define REQUIRE_CODE_PAGE_936()                                                                             \
    if (GetACP() != 936) GTEST_SKIP() << "needs the ANSI code page 936 (zh_CN locale), this system has " \
                                      << GetACP()

class IniInterop : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        dir_ = fs::path(temp) / (L"ts-ini-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount64()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // A fresh file for every use: the profile functions cache what they read.
    std::string NewPath(const std::string& hint = "timer") {
        return Narrow((dir_ / (Widen(hint) + L"-" + std::to_wstring(++count_) + L".ini")).wstring());
    }
    std::string PathWith(const std::string& bytes) {
        std::string path = NewPath();
        std::ofstream(fs::path(Widen(path)), std::ios::binary) << bytes;
        return path;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(fs::path(Widen(path)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // GBK names and values in and out, as the settings file holds them.
    static std::string ProfileGet(const std::string& path, const std::string& section, const std::string& key) {
        // Zeroed, and measured by its terminator: when Wine cuts before a two-byte character it counts
        // a byte it never wrote.
        char buffer[255] = {};
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, G(path).c_str());
        return std::string(buffer, strnlen(buffer, sizeof buffer));
    }
    static bool ProfileWrite(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) {
        bool ok = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), G(path).c_str()) != 0;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, G(path).c_str());  // flush the cache to disk
        return ok;
    }
    static std::string OurGet(const std::string& path, const std::string& section, const std::string& key) {
        return G(GetIniString(path, GbkToUtf8(section), GbkToUtf8(key)));
    }
    static bool OurWrite(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value) {
        return WriteIniString(path, GbkToUtf8(section), GbkToUtf8(key), GbkToUtf8(value)) != 0;
    }

    fs::path dir_;
    int count_ = 0;
};

// As the dialogs save: the section's eight keys empty, then the ticked ones.
template <typename Write>
void SaveExample(const std::string& path, Write write) {
    for (int half = 0; half < 2; ++half) {
        for (int i = half * 8; i < half * 8 + 8; ++i) {
            ASSERT_TRUE(write(path, G(kExampleKeys[i].section), G(kExampleKeys[i].key), ""));
        }
        for (int i = half * 8; i < half * 8 + 8; ++i) {
            if (*kExampleKeys[i].value) {
                ASSERT_TRUE(write(path, G(kExampleKeys[i].section), G(kExampleKeys[i].key), G(kExampleKeys[i].value)));
            }
        }
    }
}

TEST_F(IniInterop, ExampleWrittenByTheProfileFunctionsReadsBack) {
    REQUIRE_CODE_PAGE_936();
    std::string theirs = NewPath();
    SaveExample(theirs, ProfileWrite);
    std::string ours = NewPath();
    SaveExample(ours, OurWrite);
    EXPECT_EQ(Contents(ours), Contents(theirs));
    for (const Key& k : kExampleKeys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(GetIniString(theirs, k.section, k.key), k.value);
    }
}

TEST_F(IniInterop, ExampleWrittenByUsReadsBackThroughTheProfileFunctions) {
    REQUIRE_CODE_PAGE_936();
    std::string ours = NewPath();
    SaveExample(ours, OurWrite);
    for (const Key& k : kExampleKeys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(ProfileGet(ours, G(k.section), G(k.key)), G(k.value));
    }
    std::string section = NewPath();
    ASSERT_TRUE(WriteIniSection(section, "重启", {{"每天定时重启", "12:00"}, {"每周定时重启周几", "周五"}}, nullptr));
    EXPECT_EQ(ProfileGet(section, G("重启"), G("每周定时重启周几")), G("周五"));
    EXPECT_EQ(ProfileGet(section, G("关机"), G("每天定时关机")), "");
}

TEST_F(IniInterop, ChineseDirectory) {
    REQUIRE_CODE_PAGE_936();
    fs::create_directories(dir_ / L"定时关机");
    std::string path = SettingsFilePath(Narrow((dir_ / L"定时关机").wstring()));
    ASSERT_NE(WriteIniString(path, "关机", "每周定时关机周几", "周五"), 0);
    EXPECT_EQ(GetIniString(path, "关机", "每周定时关机周几"), "周五");
    EXPECT_EQ(ProfileGet(path, G("关机"), G("每周定时关机周几")), G("周五"));
}

// Hand-edited files, each changed the same way by both writers; afterwards every reader must read every
// probe alike from both results.
TEST_F(IniInterop, HandEditedFilesChangedByEitherWriterReadAlike) {
    REQUIRE_CODE_PAGE_936();
    const std::string starts[] = {
        "",
        G("[关机]\r\n定时关机日期=2024-05-01\r\n定时关机时间=23:00\r\n"),
        G("[关机]\n定时关机日期 = 2024-05-01\n  每天定时关机=\t07:00 \n"),
        G("; 手工改过\r\n\r\n[重启]\r\n每天定时重启=12:00\r\n\r\n\r\n[其他]\r\nx=1\r\n\r\n"),
        G("[关机]\r\n每天定时关机=\"08:00\"\r\n;每天定时关机=09:00\r\n杂项\r\n[关机]\r\n每周定时关机周几=周一\r\n"),
        G("  [ 关机 ]  备注\r\n每次开机x分钟关机=30\r\n[重启]"),
        G("[关机]\r每天定时关机=06:00\r[重启]\r每天定时重启=06:30\r"),
        G("[其他]\r\n每天定时关机=10:00\r\n[关机]\r\n每周定时关机时间=18:30"),
    };
    const Key writes[] = {
        {"关机", "每天定时关机", "22:15"},
        {"关机", "每周定时关机周几", "周五"},
        {"关机", "每次开机X分钟关机", ""},
        {"重启", "每天定时重启", ""},
        {"重启", "每月定时重启日期", "15"},
    };
    const Key probes[] = {
        {"关机", "定时关机日期", ""},     {"关机", "定时关机时间", ""},     {"关机", "每天定时关机", ""},
        {"关机", "每周定时关机周几", ""}, {"关机", "每周定时关机时间", ""}, {"关机", "每次开机X分钟关机", ""},
        {"重启", "每天定时重启", ""},     {"重启", "每月定时重启日期", ""}, {"其他", "x", ""},
        {"其他", "每天定时关机", ""},     {"关机", ";每天定时关机", ""},    {"关机", "杂项", ""},
    };
    for (const std::string& start : starts) {
        SCOPED_TRACE(GbkToUtf8(start));
        std::string theirs = PathWith(start);
        std::string ours = PathWith(start);
        for (const Key& w : writes) {
            ASSERT_TRUE(ProfileWrite(theirs, G(w.section), G(w.key), G(w.value)));
            ASSERT_TRUE(OurWrite(ours, G(w.section), G(w.key), G(w.value)));
        }
        for (const Key& p : probes) {
            SCOPED_TRACE(p.key);
            std::string expected = ProfileGet(theirs, G(p.section), G(p.key));
            EXPECT_EQ(OurGet(theirs, G(p.section), G(p.key)), expected);
            EXPECT_EQ(ProfileGet(ours, G(p.section), G(p.key)), expected);
            EXPECT_EQ(OurGet(ours, G(p.section), G(p.key)), expected);
        }
    }
}

// The reader byte for byte against GetPrivateProfileStringA. Left out on purpose: bytes that are not
// GBK (Wine pairs a lead byte with whatever follows, even a line break), zero bytes, and byte order
// marks, which Wine honours and Windows does not.
TEST_F(IniInterop, OddFilesReadAlike) {
    REQUIRE_CODE_PAGE_936();
    const std::string zhong = G("中");
    const std::string files[] = {
        "[Sec]\r\nKEY=v\r\n",
        "  [  s  ]  \n \t k \t=  v w \x0b\x0c\n",
        "[s]\nk=\x1av\x1a\nk2= \x0b\x0c v\n",
        G("[s]\nk=\u3000v\u3000\n"),
        "[a]\rk=1\r[s]\rk=2\r",
        "[s]\r\nk=v",
        "[s]\nk=1\nK=2\n[S]\nk2=2\n[a]\nk=3\n",
        "[s]\n;k=1\nk=2\n#x=3\n;c\nk3=1 ;c\nnoeq\n=empty\nk4=a=b\nk5=\n",
        "[s] junk\nk=v\n[a]b]c\nk=w\n[t\nk=x\n[u]=y\nk=z\n",
        "[\x81]]\nk=v\n[\x81]x]\nk=w\n[s]\n\x81" "A=1\n",
        "k=g\n[s]\nk=v\n",
        "[]\nk=e\n",
        "[s]\nk=\"v\"\nk2='v w'\nk3= \" v \" \nk4=\"v'\nk5=\"\nk6=\"a\"b\"\nk7=\"\"\nk8='\nk9=\"'\"\n",
        "[s]\nk=" + std::string(300, 'a') + "\nk2=" + std::string(253, 'a') + zhong + "\nk3=" + std::string(252, 'a') + zhong +
            "b\nk4=\"" + std::string(300, 'b') + "\"\nk5=\"" + std::string(253, 'b') + "\"\n",
        G("[关机]\r\n每次开机X分钟关机=5\r\n每周定时关机周几=  周五  \r\n"),
    };
    const Key probes[] = {
        {"sec", "key", ""}, {"s", "k", ""},  {"s", "k2", ""}, {"s", "k3", ""},  {"s", "k4", ""},  {"s", "k5", ""},
        {"s", "k6", ""},    {"s", "k7", ""}, {"s", "k8", ""}, {"s", "k9", ""},  {"s", ";k", ""},  {"s", "#x", ""},
        {"s", ";c", ""},    {"s", "noeq", ""}, {"s", "", ""}, {" s ", " k ", ""}, {"S", "K", ""},   {"a", "k", ""},
        {"a]b", "k", ""},   {"a", "k", ""},  {"t", "k", ""},  {"u", "k", ""},   {"", "k", ""},    {"\x81]", "k", ""},
        {"\x81]x", "k", ""}, {"s", "\x81" "a", ""}, {"s", "\x81" "A", ""}, {"k 2", "k", ""},
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::string path = PathWith(file);
        for (const Key& p : probes) {
            SCOPED_TRACE(std::string(p.section) + "|" + p.key);
            EXPECT_EQ(IniGetValue(file, p.section, p.key), ProfileGet(path, p.section, p.key));
        }
        for (const char* name : {"关机"}) {
            for (const char* key : {"每次开机X分钟关机", "每次开机x分钟关机", "每周定时关机周几"}) {
                EXPECT_EQ(OurGet(path, G(name), G(key)), ProfileGet(path, G(name), G(key)));
            }
        }
    }
}

// Our own functions need no particular ANSI code page: these run in every locale.
TEST_F(IniInterop, ExampleFileBytesInAnyLocale) {
    std::string path = NewPath();
    SaveExample(path, OurWrite);
    const std::string expected =
        "[\xB9\xD8\xBB\xFA]\r\n"                                             // [关机]
        "\xB6\xA8\xCA\xB1\xB9\xD8\xBB\xFA\xC8\xD5\xC6\xDA=2024-05-01\r\n";  // 定时关机日期=
    EXPECT_EQ(Contents(path).substr(0, expected.size()), expected);
    for (const Key& k : kExampleKeys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(GetIniString(path, k.section, k.key), k.value);
    }
}

// A file that cannot be replaced keeps every byte, and no temporary file stays behind.
TEST_F(IniInterop, FailedReplacementLeavesTheOldFile) {
    const std::string old = G("[关机]\r\n每天定时关机=07:00\r\n");
    std::string readOnly = PathWith(old);
    ASSERT_TRUE(SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    std::string held = PathWith(old);
    HANDLE holder = CreateFileW(Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    for (const std::string& path : {readOnly, held}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(WriteIniString(path, "关机", "每天定时关机", "22:00"), 0);
        std::string reason;
        EXPECT_FALSE(WriteIniSection(path, "关机", {{"每天定时关机", "22:00"}}, &reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(Contents(path), old);
        EXPECT_EQ(GetIniString(path, "关机", "每天定时关机"), "07:00");
    }
    CloseHandle(holder);
    SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        EXPECT_EQ(entry.path().extension(), L".ini");
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// Unicode files against the W profile functions, which read and write a file in the encoding its mark
// names, in every locale. A file without a mark is left out: Wine reads it in the ANSI code page, and
// the program's own rule for UTF-8 without a mark goes beyond it on purpose.
TEST_F(IniInterop, FilesWithAMarkReadAndChangeAlike) {
    const std::u16string text =
        u"; 手改 \U0001F600\r\n[关机]\r\n定时关机日期 = 2024-05-01\r\n每天定时关机=\"07:00\"\r\n\r\n[重启]\r\n每天定时重启=12:00\r\n[其他]\r\nx=½\r\n";
    struct Marked {
        const char* what;
        FileEncoding encoding;
    };
    const Marked encodings[] = {
        {"UTF-16 LE", FileEncoding::Utf16LeMark},
        {"UTF-8 with a mark", FileEncoding::Utf8Mark},
        {"UTF-16 BE", FileEncoding::Utf16BeMark},
    };
    const Key writes[] = {
        {"关机", "每天定时关机", "22:15"},
        {"关机", "每周定时关机周几", "周五"},
        {"重启", "每天定时重启", ""},
        {"重启", "每月定时重启日期", "15"},
    };
    const Key probes[] = {
        {"关机", "定时关机日期", ""}, {"关机", "每天定时关机", ""},     {"关机", "每周定时关机周几", ""},
        {"重启", "每天定时重启", ""}, {"重启", "每月定时重启日期", ""}, {"其他", "x", ""},
    };
    auto theirGet = [](const std::string& path, const char* section, const char* key) {
        wchar_t buffer[255] = {};
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer, 255, Widen(path).c_str());
        return Narrow(buffer);
    };
    auto theirWrite = [](const std::string& path, const char* section, const char* key, const char* value) {
        bool ok = WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                             Widen(path).c_str()) != 0;
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(path).c_str());
        return ok;
    };
    for (const Marked& m : encodings) {
        SCOPED_TRACE(m.what);
        const std::string bytes = EncodeSettingsFile(Utf16ToUtf8(text), m.encoding);
        std::string theirs = PathWith(bytes);
        std::string ours = PathWith(bytes);
        for (const Key& p : probes) {
            SCOPED_TRACE(p.key);
            EXPECT_EQ(GetIniString(ours, p.section, p.key), theirGet(theirs, p.section, p.key));
        }
        for (const Key& w : writes) {
            ASSERT_TRUE(theirWrite(theirs, w.section, w.key, w.value));
            ASSERT_NE(WriteIniString(ours, w.section, w.key, w.value), 0);
        }
        EXPECT_EQ(DecodeSettingsFile(Contents(ours)).encoding, m.encoding);
        EXPECT_EQ(DecodeSettingsFile(Contents(theirs)).encoding, m.encoding);
        for (const Key& p : probes) {
            SCOPED_TRACE(p.key);
            std::string expected = theirGet(theirs, p.section, p.key);
            EXPECT_EQ(GetIniString(theirs, p.section, p.key), expected);
            EXPECT_EQ(theirGet(ours, p.section, p.key), expected);
            EXPECT_EQ(GetIniString(ours, p.section, p.key), expected);
        }
    }
}

// Both ways of replacing an existing file keep what the file is: its attributes, its contents whole,
// and no temporary file beside it.
TEST_F(IniInterop, ReplacementKeepsTheFilesAttributes) {
    for (Replacement how : {Replacement::WithReplaceFile, Replacement::WithRename}) {
        std::string path = PathWith("[s]\r\nk=1\r\n");
        const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), attributes));
        std::string reason;
        ASSERT_TRUE(SaveWholeFileWith(how, path, "[s]\r\nk=2\r\n", &reason)) << reason;
        EXPECT_EQ(Contents(path), "[s]\r\nk=2\r\n");
        EXPECT_EQ(GetFileAttributesW(Widen(path).c_str()) & attributes, attributes);
        SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        EXPECT_EQ(entry.path().extension(), L".ini");
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(IniInterop, HardLinksAndLeftoversOfEarlierSaves) {
    std::string path = PathWith(G("[关机]\r\n每天定时关机=07:00\r\n"));
    const fs::path link = dir_ / L"link.ini";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), Widen(path).c_str(), nullptr));
    const fs::path leftover = fs::path(Widen(path + ".~999-1.tmp"));
    std::ofstream(leftover, std::ios::binary) << G("[关机]\r\n每天定时关机=23:59\r\n");
    EXPECT_EQ(GetIniString(path, "关机", "每天定时关机"), "07:00");
    ASSERT_TRUE(WriteIniSection(path, "关机", {{"每天定时关机", "08:00"}}, nullptr));
    EXPECT_EQ(Contents(Narrow(link.wstring())), G("[关机]\r\n每天定时关机=08:00\r\n"));
    EXPECT_FALSE(fs::exists(leftover));
}

}  // namespace
}  // namespace ts
