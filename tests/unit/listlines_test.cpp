#include "schedule/listlines.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace ts {
namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

ScheduleSet AllFive() {
    ScheduleSet s;
    s.OnceDate = "2018-05-22";
    s.OnceTime = "23:00";
    s.DailyTime = "07:30";
    s.WeeklyDayName = "周五";
    s.WeeklyDay = 6;
    s.WeeklyTime = "18:00";
    s.MonthlyDay = 15;
    s.MonthlyTime = "09:05";
    s.BootMinutes = 480;
    return s;
}

TEST(ListLines, AllFiveKindsInOrderWithExactBlanks) {
    const std::vector<std::string> shutdown = {
        "2018-05-22 23:00" + Blanks(4) + "  (定时关机)",
        "07:30" + Blanks(15) + "  (每天定时关机)",
        "周五 18:00" + Blanks(12) + "(每周定时关机)",
        "15号 09:05" + Blanks(11) + " (每月定时关机)",
        "480" + Blanks(17) + "  (每次开机480分钟关机)",
    };
    const std::vector<std::string> restart = {
        "2018-05-22 23:00" + Blanks(4) + "  (定时重启)",
        "07:30" + Blanks(15) + "  (每天定时重启)",
        "周五 18:00" + Blanks(12) + "(每周定时重启)",
        "15号 09:05" + Blanks(11) + " (每月定时重启)",
        "480" + Blanks(17) + "  (每次开机480分钟重启)",
    };
    EXPECT_EQ(ScheduleListLines(AllFive(), PowerAction::Shutdown), shutdown);
    EXPECT_EQ(ScheduleListLines(AllFive(), PowerAction::Restart), restart);
}

// In the list font a Chinese character is two columns wide; the suffixes' blanks make every
// opening parenthesis fall in column 23.
TEST(ListLines, ParenthesisInOneColumn) {
    for (const std::string& line : ScheduleListLines(AllFive(), PowerAction::Shutdown)) {
        SCOPED_TRACE(line);
        std::size_t columns = 0;
        for (std::size_t i = 0; i < line.size() && line[i] != '(';) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            columns += len == 1 ? 1 : 2;
            i += len;
        }
        EXPECT_EQ(columns, 22u);
    }
}

TEST(ListLines, StartUpStateGivesNoLines) {
    EXPECT_TRUE(ScheduleListLines(ScheduleSet(), PowerAction::Shutdown).empty());
    EXPECT_TRUE(ScheduleListLines(ScheduleSet(), PowerAction::Restart).empty());
}

struct LineCase {
    const char* name;
    ScheduleSet set;
    PowerAction action;
    std::vector<std::string> lines;
};

ScheduleSet With(void (*edit)(ScheduleSet&)) {
    ScheduleSet s;
    edit(s);
    return s;
}

TEST(ListLines, EdgeCases) {
    const LineCase cases[] = {
        {"one-off without time", With([](ScheduleSet& s) { s.OnceDate = "2018-05-22"; }),
         PowerAction::Shutdown, {"2018-05-22" + Blanks(10) + "  (定时关机)"}},
        {"weekday name cut to two characters",
         With([](ScheduleSet& s) { s.WeeklyDayName = "周三上午"; s.WeeklyTime = "08:00"; }),
         PowerAction::Shutdown, {"周三 08:00" + Blanks(12) + "(每周定时关机)"}},
        {"unrecognised weekday still listed",
         With([](ScheduleSet& s) { s.WeeklyDayName = "星期三"; s.WeeklyTime = "08:00"; }),
         PowerAction::Restart, {"星期 08:00" + Blanks(12) + "(每周定时重启)"}},
        {"weekly name without time has no line",
         With([](ScheduleSet& s) { s.WeeklyDayName = "周一"; s.WeeklyDay = 2; }),
         PowerAction::Shutdown, {}},
        {"monthly day 0", With([](ScheduleSet& s) { s.MonthlyTime = "09:05"; }),
         PowerAction::Shutdown, {"0号 09:05" + Blanks(12) + " (每月定时关机)"}},
        {"monthly day without time has no line", With([](ScheduleSet& s) { s.MonthlyDay = 5; }),
         PowerAction::Shutdown, {}},
        {"negative boot minutes", With([](ScheduleSet& s) { s.BootMinutes = -5; }),
         PowerAction::Shutdown, {"-5" + Blanks(18) + "  (每次开机-5分钟关机)"}},
        {"widest boot minutes", With([](ScheduleSet& s) { s.BootMinutes = INT32_MIN; }),
         PowerAction::Restart, {"-2147483648" + Blanks(9) + "  (每次开机-2147483648分钟重启)"}},
        {"hand-edited forms are normalised",
         With([](ScheduleSet& s) {
             s.OnceDate = "2024/5/1";
             s.OnceTime = "9:5";
             s.DailyTime = " 07:30:45 ";
             s.WeeklyDayName = "周五";
             s.WeeklyTime = "6:00 PM";
         }),
         PowerAction::Shutdown,
         {"2024-05-01 09:05" + Blanks(4) + "  (定时关机)", "07:30" + Blanks(15) + "  (每天定时关机)",
          "周五 18:00" + Blanks(12) + "(每周定时关机)"}},
        // Unreadable texts are shown as stored; a long one is cut where the line rules cut.
        {"unreadable texts shown as stored",
         With([](ScheduleSet& s) {
             s.OnceDate = "明天";
             s.OnceTime = "25:00";
             s.DailyTime = "noon";
             s.MonthlyDay = 1;
             s.MonthlyTime = "a very long unreadable time";
         }),
         PowerAction::Shutdown,
         {"明天 25:00" + Blanks(12) + "  (定时关机)", "noon" + Blanks(16) + "  (每天定时关机)",
          "1号 a very long unrea (每月定时关机)"}},
        {"short unreadable date is padded to ten in the restart list",
         With([](ScheduleSet& s) { s.OnceDate = "明天"; s.OnceTime = "23:00"; }),
         PowerAction::Restart, {"明天" + Blanks(8) + " 23:00" + Blanks(4) + "  (定时重启)"}},
        {"long unreadable date cut to ten",
         With([](ScheduleSet& s) { s.OnceDate = "2024-05-01x"; s.OnceTime = "23:00"; }),
         PowerAction::Shutdown, {"2024-05-01 23:00" + Blanks(4) + "  (定时关机)"}},
        {"impossible date shown as stored",
         With([](ScheduleSet& s) { s.OnceDate = "2023-02-29"; s.OnceTime = "23:00"; }),
         PowerAction::Shutdown, {"2023-02-29 23:00" + Blanks(4) + "  (定时关机)"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = ScheduleListLines(c.set, c.action);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(ListLines, SameLinesEachTime) {
    ScheduleSet s = AllFive();
    EXPECT_EQ(ScheduleListLines(s, PowerAction::Restart), ScheduleListLines(s, PowerAction::Restart));
}

TEST(ListLines, LeadPartIsTwentyCharactersWhateverTheScript) {
    for (const char* lead : {"", "周五", "一二三四五六七八九十一二三四五六七八九十一二", "12345678901234567890123"}) {
        std::string line = ListLine(ScheduleKind::Daily, PowerAction::Shutdown, lead);
        std::string suffix = "  (每天定时关机)";
        ASSERT_GE(line.size(), suffix.size());
        EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix);
        EXPECT_EQ(Utf8Length(line.substr(0, line.size() - suffix.size())), 20u) << lead;
    }
}

}  // namespace
}  // namespace ts
