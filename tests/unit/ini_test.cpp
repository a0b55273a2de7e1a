#include "store/codepage.h"
#include "store/file_io.h"
#include "store/ini_text.h"
#include "store/settings_file.h"
#include "store/text_encoding.h"

#include <gtest/gtest.h>

#include "tests/common/example_settings.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace ts {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Test texts are written in UTF-8 and stored as the file holds them.
std::string G(const std::string& utf8) { return Utf8ToGbk(utf8); }

const char* const kExampleLines[] = {
    "[关机]",
    "定时关机日期=2024-05-01",
    "定时关机时间=23:00",
    "每天定时关机=",
    "每周定时关机周几=周五",
    "每周定时关机时间=18:30",
    "每月定时关机日期=",
    "每月定时关机时间=",
    "每次开机X分钟关机=",
    "[重启]",
    "定时重启日期=",
    "定时重启时间=",
    "每天定时重启=12:00",
    "每周定时重启周几=",
    "每周定时重启时间=",
    "每月定时重启日期=",
    "每月定时重启时间=",
    "每次开机X分钟重启=",
};

using Key = testing_data::ExampleKey;
using testing_data::kExampleKeys;

std::string ExampleFile(const char* lineEnd) {
    std::string text;
    for (const char* line : kExampleLines) text += G(line) + lineEnd;
    return text;
}

TEST(IniCodePage, KnownBytesBothWays) {
    EXPECT_EQ(Utf8ToGbk("[关机]"), "[\xB9\xD8\xBB\xFA]");
    EXPECT_EQ(Utf8ToGbk("周五"), "\xD6\xDC\xCE\xE5");
    EXPECT_EQ(GbkToUtf8("\xD6\xDC\xCE\xE5"), "周五");
    EXPECT_EQ(GbkToUtf8("X=12:00"), "X=12:00");
    EXPECT_EQ(Utf8ToGbk(""), "");
    EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(IniCodePage, WhatDoesNotConvertBecomesAMark) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a" + replacement + "b");
    EXPECT_EQ(GbkToUtf8("\x81 x"), replacement + " x");  // a lead byte does not swallow the blank
    EXPECT_EQ(GbkToUtf8("ab\xD6"), "ab" + replacement);   // cut character at the end
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");   // no GBK form
    EXPECT_EQ(Utf8ToGbk("a\xC3" "b\xE4\xB8"), "a?b?");      // broken UTF-8
}

TEST(IniText, ReadsEveryKeyOfTheExampleFile) {
    for (const char* lineEnd : {"\r\n", "\n"}) {
        std::string file = ExampleFile(lineEnd);
        for (const Key& k : kExampleKeys) {
            SCOPED_TRACE(k.key);
            EXPECT_EQ(IniGetValue(file, G(k.section), G(k.key)), G(k.value));
        }
        EXPECT_EQ(IniGetValue(file, G("关机"), G("每天定时重启")), "");
        EXPECT_EQ(IniGetValue(file, G("其他"), G("定时关机日期")), "");
        EXPECT_EQ(IniGetValue("", G("关机"), G("定时关机日期")), "");
    }
}

struct ReadCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
};

TEST(IniText, ReadsHandEditedFilesAsTheProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"ASCII case of names", "[Sec]\r\nKEY=v\r\n", "sEC", "key", "v"},
        {"Latin X in a Chinese key", G("[关机]\n每次开机X分钟关机=5\n"), G("关机"), G("每次开机x分钟关机"), "5"},
        {"trail byte that looks like a letter", "[s]\n\x81" "A=1\n", "s", "\x81" "a", ""},
        {"blanks around names and value", "  [  s  ]  \n \t k \t=  v w \x0b\x0c\n", "s", "k", "v w"},
        {"blanks in the query", "[s]\nk=v\n", " s\t", "  k ", "v"},
        {"blanks inside a name count", "[s]\nk 2=v\n", "s", "k  2", ""},
        {"Ctrl-Z is a blank", "[s]\nk=\x1av\x1a\n", "s", "k", "v"},
        {"full-width blank is not", G("[s]\nk=\u3000v\n"), "s", "k", G("\u3000v")},
        {"LF lines", "[a]\nk=1\n[s]\nk=2\n", "s", "k", "2"},
        {"CR lines", "[a]\rk=1\r[s]\rk=2\r", "s", "k", "2"},
        {"no line end at the end", "[s]\r\nk=v", "s", "k", "v"},
        {"first of two keys", "[s]\nk=1\nK=2\n", "s", "k", "1"},
        {"first of two sections", "[s]\nk=1\n[S]\nk2=2\n", "s", "k2", ""},
        {"other sections do not leak", "[a]\nk=1\n[s]\nj=2\n", "s", "k", ""},
        {"comment lines are kept apart", "[s]\n;k=1\nk=2\n", "s", "k", "2"},
        {"a comment is just a key", "[s]\n;k=1\n", "s", ";k", "1"},
        {"no inline comments", "[s]\nk=1 ;c\n", "s", "k", "1 ;c"},
        {"line without equals sign", "[s]\nk\n", "s", "k", ""},
        {"value with equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"empty value", "[s]\nk=\nj=1\n", "s", "k", ""},
        {"junk after a header", "[s] junk\nk=v\n", "s", "k", "v"},
        {"name runs to the last bracket", "[a]b]c\nk=v\n", "a]b", "k", "v"},
        {"unclosed header is no header", "[s\nk=v\n", "s", "k", ""},
        {"']' as a trail byte", "[\x81]]\nk=v\n", "\x81]", "k", "v"},
        {"keys before any header", "k=g\n[s]\nk=v\n", "", "k", "g"},
        {"quotes", "[s]\nk=\"v\"\n", "s", "k", "v"},
        {"single quotes", "[s]\nk='v w'\n", "s", "k", "v w"},
        {"blanks inside quotes stay", "[s]\nk= \" v \" \n", "s", "k", " v "},
        {"unmatched quotes stay", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
        {"one quote alone", "[s]\nk=\"\n", "s", "k", "\""},
        {"only the outer pair goes", "[s]\nk=\"a\"b\"\n", "s", "k", "a\"b"},
        {"empty quotes", "[s]\nk=\"\"\n", "s", "k", ""},
        {"zero byte ends the value", "[s]\nk=v\0x\nj=w\n"s, "s", "k", "v"},
        {"zero byte ends the query", "[s]\nk=v\n", "s", "k\0z"s, "v"},
        {"undecodable bytes come back as they are", "[s]\nk=\x80\xFF\x81 \x81\n", "s", "k", "\x80\xFF\x81 \x81"},
        {"stray lead byte keeps the line break", "[s]\nk=\xA0\nj=w\n", "s", "j", "w"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IniGetValue(c.file, c.section, c.key), c.expected);
    }
}

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

TEST(IniText, LongValuesAreCutAtWholeCharacters) {
    const std::string zhong = G("中");
    struct CutCase {
        const char* what;
        std::string value;
        std::string expected;
    };
    const CutCase cases[] = {
        {"254 bytes fit", std::string(254, 'a'), std::string(254, 'a')},
        {"255 bytes are cut to 254", std::string(255, 'a'), std::string(254, 'a')},
        {"character ending at byte 254", std::string(252, 'a') + zhong + "b", std::string(252, 'a') + zhong},
        {"character across byte 254", std::string(253, 'a') + zhong, std::string(253, 'a')},
        {"all two-byte characters", Repeat(zhong, 200), Repeat(zhong, 127)},
        {"quotes go before the cut", "\"" + std::string(300, 'a') + "\"", std::string(254, 'a')},
        {"quoted value that fits", "\"" + std::string(253, 'a') + "\"", std::string(253, 'a')},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string got = IniGetValue("[s]\r\nk=" + c.value + "\r\n", "s", "k");
        EXPECT_EQ(got, c.expected);
        EXPECT_LE(got.size(), kIniValueMaxBytes);
    }
}

struct WriteCase {
    const char* what;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(IniText, WritesLikeTheProfileFunctionsAndKeepsEverythingElse) {
    const WriteCase cases[] = {
        {"new file", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"new key after the last key", "[s]\r\nk=v\r\n", "s", "j", "w", "[s]\r\nk=v\r\nj=w\r\n"},
        {"new key before blank lines that part sections", "[s]\r\nk=v\r\n\r\n[t]\r\nx=1\r\n", "s", "j", "w",
         "[s]\r\nk=v\r\nj=w\r\n\r\n[t]\r\nx=1\r\n"},
        {"new key in an empty section", "[s]\r\n\r\n[t]\r\n", "s", "j", "w", "[s]\r\nj=w\r\n\r\n[t]\r\n"},
        {"new key after comments and unknown lines", "[s]\r\nk=1\r\n;c\r\n[junk\r\n\r\n", "s", "j", "w",
         "[s]\r\nk=1\r\n;c\r\n[junk\r\nj=w\r\n\r\n"},
        {"LF file gets LF", "[s]\nk=1\n\n[t]\n", "s", "j", "w", "[s]\nk=1\nj=w\n\n[t]\n"},
        {"LF file gets an LF section", "[s]\nk=1", "t", "j", "w", "[s]\nk=1\n[t]\nj=w\n"},
        {"CR file gets CR", "[s]\rk=1\r", "s", "j", "w", "[s]\rk=1\rj=w\r"},
        {"the first line end decides", "[s]\nk=1\r\n", "s", "j", "w", "[s]\nk=1\r\nj=w\n"},
        {"a lone CR never joins a following LF", "[s]\rk=1\r\n\n[t]\r", "s", "j", "w", "[s]\rk=1\r\nj=w\r\n\n[t]\r"},
        {"new key after a last line without end", "[s]\r\nk=v", "s", "j", "w", "[s]\r\nk=v\r\nj=w\r\n"},
        {"new key under a header without end", "[s]", "s", "j", "w", "[s]\r\nj=w\r\n"},
        {"new section at the end", "[s]\r\nk=v\r\n\r\n", "t", "j", "w", "[s]\r\nk=v\r\n\r\n[t]\r\nj=w\r\n"},
        {"new section after a last line without end", "x", "t", "j", "w", "x\r\n[t]\r\nj=w\r\n"},
        {"replace keeps the line end and the rest", "[a]\n k = 1 \n[s]\nk=v\n;c\n", "s", "k", "w",
         "[a]\n k = 1 \n[s]\nk=w\n;c\n"},
        {"replace keeps the spelling of names", "[S]\r\n  K  =  v  \r\n", "s", "k", "w", "[S]\r\nK=w\r\n"},
        {"same value leaves the line as it is", "[s]\r\n  k  =  v  \r\n", "s", "k", "v", "[s]\r\n  k  =  v  \r\n"},
        {"quoted value is rewritten", "[s]\r\nk=\"v\"\r\n", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"empty value keeps the key", "[s]\r\nk=v\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        {"line without equals sign gets one", "[s]\r\nk\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        {"first of two sections", "[s]\r\nk=1\r\n[s]\r\nj=2\r\n", "s", "j", "3", "[s]\r\nk=1\r\nj=3\r\n[s]\r\nj=2\r\n"},
        {"first of two keys", "[s]\r\nk=1\r\nk=2\r\n", "s", "K", "3", "[s]\r\nk=3\r\nk=2\r\n"},
        {"names are written without blanks", "", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
        {"Chinese names", G("[重启]\r\n每天定时重启=\r\n"), G("关机"), G("每天定时关机"), "12:00",
         G("[重启]\r\n每天定时重启=\r\n[关机]\r\n每天定时关机=12:00\r\n")},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<std::string> after = IniSetValue(c.before, c.section, c.key, c.value);
        ASSERT_TRUE(after.has_value());
        EXPECT_EQ(*after, c.after);
        EXPECT_EQ(IniGetValue(*after, c.section, c.key), c.value);
    }
}

TEST(IniText, RefusesEntriesThatWouldNotReadBack) {
    const Key cases[] = {
        {"s", "k", "a\r\nb=c"}, {"s", "k", "a\nb"}, {"s", "k", "a\rb"}, {"s\n[t]", "k", "v"}, {"s", "k\nj", "v"},
        {"s", "a=b", "v"},      {"s", "[t]", "v"},  {"s", " [t", "v"},  {"", "k", "v"},      {" ", "k", "v"},
        {"s", "", "v"},         {"s", " \t", "v"},  {"s\x81", "k", "v"}, {"s\x81 ", "k", "v"},
    };
    const std::string before = "[s]\r\nk=old\r\n";
    for (const Key& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "|" + c.key + "|" + c.value);
        EXPECT_FALSE(IniCanWrite(c.section, c.key, c.value));
        EXPECT_FALSE(IniSetValue(before, c.section, c.key, c.value).has_value());
        EXPECT_FALSE(IniSetValues(before, c.section, {{"k", "fine"}, {c.key, c.value}}).has_value());
    }
    EXPECT_FALSE(IniSetValue(before, "s", "k", "a\0b"s).has_value());
}

TEST(IniText, SectionInOnePassEqualsKeyByKeyWrites) {
    const std::string starts[] = {
        "",
        "x",
        ExampleFile("\r\n"),
        ExampleFile("\n"),
        G("[重启]\r\n每天定时重启=12:00\r\n\r\n\r\n[其他]\r\n;c\r\n"),
        G("[关机]\n  每天定时关机 = 08:00 \n[关机]\n每周定时关机周几=周一"),
    };
    // A save as the dialog makes it: all eight keys empty, then the ticked ones again.
    IniEntries save;
    for (int i = 0; i < 8; ++i) save.emplace_back(G(kExampleKeys[i].key), "");
    save.emplace_back(G("每周定时关机周几"), G("周五"));
    save.emplace_back(G("每周定时关机时间"), "18:30");
    const IniEntries lists[] = {
        save,
        {{"k", "1"}, {"K", "2"}, {"j", ""}, {"k", "3"}},
        {},
    };
    for (const std::string& start : starts) {
        for (const IniEntries& entries : lists) {
            std::string stepwise = start;
            for (const auto& entry : entries) stepwise = *IniSetValue(stepwise, G("关机"), entry.first, entry.second);
            std::optional<std::string> oneGo = IniSetValues(start, G("关机"), entries);
            ASSERT_TRUE(oneGo.has_value());
            EXPECT_EQ(*oneGo, stepwise) << GbkToUtf8(start);
        }
    }
}

TEST(IniText, DialogSavesBuildTheExampleFile) {
    std::string file;
    for (const Key& k : kExampleKeys) file = *IniSetValue(file, G(k.section), G(k.key), "");
    for (const Key& k : kExampleKeys) file = *IniSetValue(file, G(k.section), G(k.key), G(k.value));
    EXPECT_EQ(file, ExampleFile("\r\n"));
}


// In UTF-8 text a byte pair that GBK would join can belong to two characters: the last byte of 中 and
// the ']' after it.
TEST(IniText, Utf8TextIsSplitAsUtf8) {
    const std::string file = "[中]\nKey=v\n[节]\nk=" + Repeat("中", 200) + "\nk2=" + std::string(300, 'a') + "\n";
    EXPECT_EQ(IniGetValue(file, "中", "key", IniChars::Utf8), "v");
    EXPECT_EQ(IniGetValue(file, "中", "key", IniChars::Gbk), "") << "GBK pairs the last byte with ']'";
    EXPECT_EQ(IniGetValue(file, "节", "k", IniChars::Utf8), Repeat("中", 127)) << "two bytes each in code page 936";
    EXPECT_EQ(IniGetValue(file, "节", "k2", IniChars::Utf8), std::string(254, 'a'));
    EXPECT_TRUE(IniHasSection(file, {"中文", "节"}, IniChars::Utf8));
    EXPECT_FALSE(IniHasSection(file, {"中文", ""}, IniChars::Utf8));
    EXPECT_EQ(*IniSetValue(file, "中", "j", "w", IniChars::Utf8), "[中]\nKey=v\nj=w\n" + file.substr(12));
}

std::string Utf16Bytes(const std::u16string& text, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        char low = static_cast<char>(u & 0xFF);
        char high = static_cast<char>(u >> 8);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    }
    return out;
}

TEST(TextEncoding, Utf16RoundTripsEvenWhenNotWellFormed) {
    const std::u16string texts[] = {
        u"[关机]\r\n每天定时关机=07:00\r\n",
        u"; \U0001F600 pair\n",
        std::u16string(u"; lone \xD800 high\n") + u"; lone \xDC00 low, then high at the end \xD83D",
    };
    for (const std::u16string& text : texts) {
        for (bool littleEndian : {true, false}) {
            const std::string bytes = Utf16Bytes(text, littleEndian);
            SettingsText decoded = DecodeSettingsFile(bytes);
            EXPECT_EQ(decoded.encoding, littleEndian ? FileEncoding::Utf16LeMark : FileEncoding::Utf16BeMark);
            EXPECT_EQ(decoded.refusal, SaveRefusal::None);
            EXPECT_EQ(EncodeSettingsFile(decoded.text, decoded.encoding), bytes);
        }
    }
    EXPECT_EQ(Utf16ToUtf8(u"[关机]\U0001F600"), "[关机]\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b\xC3"), u"a\xFFFD" "b\xFFFD");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a surrogate is not UTF-8";
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "overlong";
    EXPECT_TRUE(IsValidUtf8("[关机]\xF0\x9F\x98\x80"));
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ts-ini-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "timer.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Put(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir_;
    std::string path_;
};

TEST(SettingsFilePath, JoinsWithOneSeparator) {
    EXPECT_EQ(SettingsFilePath("C:\\Program Files\\定时关机"), "C:\\Program Files\\定时关机\\timer.ini");
    EXPECT_EQ(SettingsFilePath("C:\\"), "C:\\timer.ini");
    EXPECT_EQ(SettingsFilePath("\\\\server\\share\\tools"), "\\\\server\\share\\tools\\timer.ini");
}

TEST_F(SettingsFileTest, MissingFileReadsEmptyAndFirstSaveCreatesIt) {
    for (const Key& k : kExampleKeys) EXPECT_EQ(GetIniString(path_, k.section, k.key), "");
    EXPECT_EQ(Entries().size(), 0u);
    for (const Key& k : kExampleKeys) ASSERT_NE(WriteIniString(path_, k.section, k.key, ""), 0);
    for (const Key& k : kExampleKeys) ASSERT_NE(WriteIniString(path_, k.section, k.key, k.value), 0);
    EXPECT_EQ(Contents(), ExampleFile("\r\n"));
    for (const Key& k : kExampleKeys) EXPECT_EQ(GetIniString(path_, k.section, k.key), k.value);
    EXPECT_EQ(Entries(), std::vector<std::string>{"timer.ini"});
}

TEST_F(SettingsFileTest, RestartSectionAlone) {
    ASSERT_TRUE(WriteIniSection(path_, "重启", {{"每天定时重启", "12:00"}, {"每周定时重启周几", "周五"}}, nullptr));
    EXPECT_EQ(Contents(), G("[重启]\r\n每天定时重启=12:00\r\n每周定时重启周几=周五\r\n"));
    EXPECT_EQ(GetIniString(path_, "重启", "每周定时重启周几"), "周五");
    EXPECT_EQ(GetIniString(path_, "关机", "每天定时关机"), "");
}

TEST_F(SettingsFileTest, SectionSaveEqualsKeyByKeyWrites) {
    const std::string start = G("; 手改\n[重启]\n每天定时重启 = 08:00\n\n[关机]\n每天定时关机=07:00\n");
    std::vector<std::pair<std::string, std::string>> keys;
    for (int i = 0; i < 8; ++i) keys.emplace_back(kExampleKeys[i].key, "");
    keys.emplace_back("每天定时关机", "22:15");
    Put(start);
    for (const auto& k : keys) ASSERT_NE(WriteIniString(path_, "关机", k.first, k.second), 0);
    std::string stepwise = Contents();
    Put(start);
    ASSERT_TRUE(WriteIniSection(path_, "关机", keys, nullptr));
    EXPECT_EQ(Contents(), stepwise);
    EXPECT_EQ(GetIniString(path_, "重启", "每天定时重启"), "08:00");
}

TEST_F(SettingsFileTest, UndecodableBytesReadAsText) {
    Put("[s]\r\nk=a\xFF\x81\r\n");
    EXPECT_EQ(GetIniString(path_, "s", "k"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(SettingsFileTest, LongValueReadsBackCut) {
    std::string value(253, '1');
    value += "周五";
    ASSERT_NE(WriteIniString(path_, "关机", "每周定时关机周几", value), 0);
    EXPECT_EQ(GetIniString(path_, "关机", "每周定时关机周几"), std::string(253, '1'));
}

// The profile functions rewrite the file in place, so a failure half-way leaves it cut short; a failed
// write here must leave every byte of the old file and no stray temporary file.
TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFile) {
    const std::string old = ExampleFile("\r\n");
    Put(old);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100;  // the disk fills up in the middle of the new file
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::int16_t single = WriteIniString(path_, "关机", "每天定时关机", "06:00");
    std::string reason;
    bool section = WriteIniSection(path_, "关机", {{"每天定时关机", "06:00"}}, &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(single, 0);
    EXPECT_FALSE(section);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"timer.ini"});
    EXPECT_EQ(GetIniString(path_, "关机", "每天定时关机"), "");
}

TEST_F(SettingsFileTest, RefusedWritesLeaveTheOldFile) {
    const std::string old = ExampleFile("\r\n");
    Put(old);
    EXPECT_EQ(WriteIniString(path_, "关机", "每周定时关机周几", "周五\r\n[重启]"), 0);
    std::string reason;
    EXPECT_FALSE(WriteIniSection(path_, "关机", {{"每天定时关机", "06:00"}, {"a=b", "1"}}, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(Contents(), old);
}

TEST_F(SettingsFileTest, UnreadableFileIsNotReplaced) {
    fs::create_directory(path_);
    EXPECT_EQ(GetIniString(path_, "关机", "每天定时关机"), "");
    EXPECT_EQ(WriteIniString(path_, "关机", "每天定时关机", "06:00"), 0);
    std::string reason;
    EXPECT_FALSE(WriteIniSection(path_, "关机", {{"每天定时关机", "06:00"}}, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(SettingsFileTest, ReplacementKeepsPermissions) {
    Put("[s]\r\nk=1\r\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read);
    ASSERT_NE(WriteIniString(path_, "s", "k", "2"), 0);
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(Contents(), "[s]\r\nk=2\r\n");
}

// One save on files in every encoding: each keeps its encoding, its mark and its line ends, and a file
// whose encoding cannot be told apart safely is read as code page 936 and never written.
TEST_F(SettingsFileTest, FilesInOtherEncodingsAreReadAndWrittenInTheirOwn) {
    const std::string start = "; 手改\n[关机]\n每天定时关机=07:00\n[重启]\n每天定时重启=12:00\n";
    const std::string after = "; 手改\n[关机]\n每天定时关机=22:15\n每次开机X分钟关机=30\n[重启]\n每天定时重启=12:00\n";
    // Characters that code page 936 lacks stay in a Unicode file.
    const std::string wide = "; 😀 ½\r\n[关机]\r\n每天定时关机=07:00\r\n";
    const std::string wideAfter = "; 😀 ½\r\n[关机]\r\n每天定时关机=22:15\r\n每次开机X分钟关机=30\r\n";
    const std::u16string start16 = u"; 手改\r\n[关机]\r\n每天定时关机=07:00\r\n[重启]\r\n每天定时重启=12:00\r\n";
    const std::u16string after16 =
        u"; 手改\r\n[关机]\r\n每天定时关机=22:15\r\n每次开机X分钟关机=30\r\n[重启]\r\n每天定时重启=12:00\r\n";
    const std::string mixed = "[关机]\n每天定时关机=07:00\n" + G("[重启]\n每天定时重启=12:00\n");
    struct EncodingCase {
        const char* what;
        std::string before;
        const char* shutdown;  // 每天定时关机 as read
        const char* restart;   // 每天定时重启 as read
        std::string saved;     // the file after the save; "" when it must be refused
    };
    const EncodingCase cases[] = {
        {"code page 936, LF", G(start), "07:00", "12:00", G(after)},
        {"UTF-8 without a mark", start, "07:00", "12:00", after},
        {"UTF-8 without a mark, restart section only", "[重启]\r\n每天定时重启=12:00\r\n", "", "12:00",
         "[重启]\r\n每天定时重启=12:00\r\n[关机]\r\n每天定时关机=22:15\r\n每次开机X分钟关机=30\r\n"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + wide, "07:00", "", "\xEF\xBB\xBF" + wideAfter},
        {"UTF-8 with a mark and bytes that are not UTF-8", "\xEF\xBB\xBF;\xFF\xC3\n[关机]\n", "", "",
         "\xEF\xBB\xBF;\xFF\xC3\n[关机]\n每天定时关机=22:15\n每次开机X分钟关机=30\n"},
        {"UTF-16 LE", Utf16Bytes(start16, true), "07:00", "12:00", Utf16Bytes(after16, true)},
        {"UTF-16 BE", Utf16Bytes(start16, false), "07:00", "12:00", Utf16Bytes(after16, false)},
        {"UTF-16 LE with a character beyond the BMP", Utf16Bytes(u"; \U0001F600\n[关机]\n每天定时关机=07:00\n", true),
         "07:00", "", Utf16Bytes(u"; \U0001F600\n[关机]\n每天定时关机=22:15\n每次开机X分钟关机=30\n", true)},
        {"half UTF-8, half code page 936", mixed, "", "12:00", ""},
        {"UTF-8 beyond ASCII without a section name", "; 手改\n", "", "", ""},
        {"UTF-8 section name only inside a value", "x=[关机]\n" + G("; 手改\n"), "", "",
         "x=[关机]\n" + G("; 手改\n[关机]\n每天定时关机=22:15\n每次开机X分钟关机=30\n")},
        {"UTF-16 cut after an odd byte", Utf16Bytes(start16, true) + "\n", "07:00", "12:00", ""},
        {"a mark alone", "\xFF\xFE", "", "", Utf16Bytes(u"[关机]\r\n每天定时关机=22:15\r\n每次开机X分钟关机=30\r\n", true)},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.what);
        Put(c.before);
        EXPECT_EQ(GetIniString(path_, "关机", "每天定时关机"), c.shutdown);
        EXPECT_EQ(GetIniString(path_, "重启", "每天定时重启"), c.restart);
        std::string reason;
        bool saved = WriteIniSection(path_, "关机", {{"每天定时关机", "22:15"}, {"每次开机X分钟关机", "30"}}, &reason);
        EXPECT_EQ(saved, !c.saved.empty()) << reason;
        EXPECT_EQ(Contents(), c.saved.empty() ? c.before : c.saved);
        if (!saved) {
            EXPECT_FALSE(reason.empty());
        }
    }
}

TEST_F(SettingsFileTest, LeftoversOfEarlierSavesAreNeverReadAndGoAtTheNextSave) {
    Put(G("[关机]\r\n每天定时关机=07:00\r\n"));
    const std::string names[] = {"timer.ini.~123-1.tmp", "TIMER.INI.~9-77.TMP"};
    for (const std::string& name : names) std::ofstream(dir_ / name, std::ios::binary) << G("[关机]\r\n每天定时关机=23:59\r\n");
    const std::string kept[] = {"timer.ini.~x-1.tmp", "timer.ini.~1-1.tmp.bak", "other.ini.~1-1.tmp"};
    for (const std::string& name : kept) std::ofstream(dir_ / name) << "x";
    EXPECT_EQ(GetIniString(path_, "关机", "每天定时关机"), "07:00");
    // A save that finds every value in place leaves the file alone, but still clears the left-overs.
    ASSERT_TRUE(WriteIniSection(path_, "关机", {{"每天定时关机", "07:00"}}, nullptr));
    EXPECT_EQ(Contents(), G("[关机]\r\n每天定时关机=07:00\r\n"));
    std::vector<std::string> left = Entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other.ini.~1-1.tmp", "timer.ini", "timer.ini.~1-1.tmp.bak",
                                              "timer.ini.~x-1.tmp"}));
}

TEST(TempFileNames, OnlyTheSavesOwnPatternCounts) {
    EXPECT_EQ(TempFileName("timer.ini", 42, 7), "timer.ini.~42-7.tmp");
    EXPECT_TRUE(IsTempFileOf(TempFileName("timer.ini", 4294967295ul, 1), "timer.ini"));
    const char* const others[] = {"timer.ini", "timer.ini.~-1.tmp", "timer.ini.~1-.tmp", "timer.ini.~1-1",
                                  "timer.ini.~1-1.tmpx", "timer.ini.~1_1.tmp", "xtimer.ini.~1-1.tmp", ""};
    for (const char* name : others) EXPECT_FALSE(IsTempFileOf(name, "timer.ini")) << name;
}

// A replacement would part the file from its other names; such a file is written in place.
TEST_F(SettingsFileTest, HardLinksStayLinked) {
    Put("[s]\r\nk=1\r\n");
    const fs::path other = dir_ / "link.ini";
    fs::create_hard_link(path_, other);
    ASSERT_NE(WriteIniString(path_, "s", "k", "22"), 0);
    EXPECT_EQ(fs::hard_link_count(path_), 2u);
    std::ifstream in(other, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "[s]\r\nk=22\r\n");
    ASSERT_NE(WriteIniString(path_, "s", "k", ""), 0);
    EXPECT_EQ(Contents(), "[s]\r\nk=\r\n") << "a shorter text leaves nothing of the longer one";
}

}  // namespace
}  // namespace ts
