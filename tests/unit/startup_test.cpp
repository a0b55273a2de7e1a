#include "mainwindow/startup.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

struct ArgCase {
    const char* commandLine;
    const char* argument;
    bool hidden;
};

TEST(Startup, ArgumentTextAndHiddenStart) {
    const ArgCase cases[] = {
        {"TimedShutdown.exe", "", false},
        {"TimedShutdown.exe /s", "/s", true},
        {"TimedShutdown.exe    /s", "/s", true},
        {"TimedShutdown.exe\t/s", "/s", true},
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\" /s", "/s", true},
        {"\"C:\\Program Files\\Tools\\TimedShutdown.exe\"/s", "/s", true},
        {"C:\\Tools\\TimedShutdown.exe /S", "/S", false},
        {"C:\\Tools\\TimedShutdown.exe /s ", "/s ", false},
        {"C:\\Tools\\TimedShutdown.exe /s x", "/s x", false},
        {"C:\\Tools\\TimedShutdown.exe -s", "-s", false},
        {"\"C:\\unterminated /s", "", false},
    };
    for (const ArgCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        std::string arg = ArgumentText(c.commandLine);
        EXPECT_EQ(arg, c.argument);
        EXPECT_EQ(StartsHidden(arg), c.hidden);
    }
}

}  // namespace
}  // namespace ts
