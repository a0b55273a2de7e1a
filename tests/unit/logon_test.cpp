#include "registry/logon.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using namespace std::string_literals;

TEST(Logon, CommandLineQuotesThePath) {
    const struct {
        const char* dir;
        const char* file;
        const char* line;
    } cases[] = {
        {"D:\\Tools", "TimedShutdown.exe", "\"D:\\Tools\\TimedShutdown.exe\" /s"},
        {"D:\\", "sched.exe", "\"D:\\sched.exe\" /s"},  // drive root: no doubled backslash
        {"C:\\Program Files\\Tools", "sched.exe", "\"C:\\Program Files\\Tools\\sched.exe\" /s"},
        {"C:\\工具", "定时关机.EXE", "\"C:\\工具\\定时关机.exe\" /s"},
        {"D:\\Tools", "my.tool.exe", "\"D:\\Tools\\my.tool.exe\" /s"},
        {"D:\\Tools", "sched", "\"D:\\Tools\\sched.exe\" /s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(LogonCommandLine(c.dir, c.file), c.line);
    }
}

TEST(Logon, EntryMatchesOnlyThisCopy) {
    const char* dir = "C:\\Program Files\\Tools";
    const char* file = "TimedShutdown.exe";
    const struct {
        std::string entry;
        bool matches;
    } cases[] = {
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s", true},
        {"C:\\Program Files\\Tools\\TimedShutdown.exe /s", true},  // the older unquoted form
        {"  \"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s  ", true},
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s\0junk"s, true},
        {"C:\\Program Files\\Tools\\TimedShutdown.exe /s\0junk"s, true},
        {"\"c:\\program files\\tools\\timedshutdown.exe\" /s", false},  // letter case counts
        {"C:\\PROGRAM FILES\\Tools\\TimedShutdown.exe /s", false},
        {"\"D:\\Other\\TimedShutdown.exe\" /s", false},
        {"\"C:\\Program Files\\Tools\\Renamed.exe\" /s", false},
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\"", false},
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\"  /s", false},
        {"\t\"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s", false},  // only spaces are trimmed
        {"\0\"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s"s, false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(LogonEntryMatches(c.entry, dir, file), c.matches);
    }
}

TEST(Logon, EntryMatchesInADriveRoot) {
    EXPECT_TRUE(LogonEntryMatches("\"D:\\sched.exe\" /s", "D:\\", "sched.exe"));
    EXPECT_TRUE(LogonEntryMatches("D:\\sched.exe /s", "D:\\", "sched.exe"));
    EXPECT_FALSE(LogonEntryMatches("D:\\\\sched.exe /s", "D:\\", "sched.exe"));
}

}  // namespace
}  // namespace ts
