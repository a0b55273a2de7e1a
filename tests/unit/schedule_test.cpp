#include "schedule/schedule.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace ts {
namespace {

// A settings file in memory that records every read, so the order and the skipped keys show.
class FakeSettings {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        values_[{section, key}] = value;
    }

    KeyReader Reader() {
        return [this](const std::string& section, const std::string& key) {
            reads_.push_back(section + "/" + key);
            auto it = values_.find({section, key});
            return it == values_.end() ? std::string() : it->second;
        };
    }

    const std::vector<std::string>& Reads() const { return reads_; }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::vector<std::string> reads_;
};

TEST(ScheduleLoad, FullSectionReadsEveryKeyOnceInOrder) {
    FakeSettings ini;
    ini.Set("关机", "定时关机日期", "2024-05-01");
    ini.Set("关机", "定时关机时间", "23:00");
    ini.Set("关机", "每天定时关机", "07:30");
    ini.Set("关机", "每周定时关机周几", "周五");
    ini.Set("关机", "每周定时关机时间", "18:30");
    ini.Set("关机", "每月定时关机日期", "15");
    ini.Set("关机", "每月定时关机时间", "09:05");
    ini.Set("关机", "每次开机X分钟关机", "480");

    ScheduleSet s = LoadScheduleSet(PowerAction::Shutdown, ini.Reader());
    EXPECT_EQ(s.OnceDate, "2024-05-01");
    EXPECT_EQ(s.OnceTime, "23:00");
    EXPECT_EQ(s.DailyTime, "07:30");
    EXPECT_EQ(s.WeeklyDayName, "周五");
    EXPECT_EQ(s.WeeklyDay, 6);
    EXPECT_EQ(s.WeeklyTime, "18:30");
    EXPECT_EQ(s.MonthlyDay, 15);
    EXPECT_EQ(s.MonthlyTime, "09:05");
    EXPECT_EQ(s.BootMinutes, 480);

    const std::vector<std::string> expected = {
        "关机/定时关机日期",     "关机/定时关机时间",     "关机/每天定时关机",
        "关机/每周定时关机周几", "关机/每周定时关机时间", "关机/每月定时关机日期",
        "关机/每月定时关机时间", "关机/每次开机X分钟关机"};
    EXPECT_EQ(ini.Reads(), expected);
}

TEST(ScheduleLoad, EmptyFirstKeysSkipTheirTimeKeys) {
    FakeSettings ini;
    // Time keys without their first key: neither is stored, and the time keys are never read.
    ini.Set("重启", "定时重启时间", "23:00");
    ini.Set("重启", "每周定时重启时间", "18:30");
    ini.Set("重启", "每月定时重启时间", "09:05");

    ScheduleSet s = LoadScheduleSet(PowerAction::Restart, ini.Reader());
    EXPECT_EQ(s, ScheduleSet());
    const std::vector<std::string> expected = {"重启/定时重启日期", "重启/每天定时重启",
                                               "重启/每周定时重启周几", "重启/每月定时重启日期",
                                               "重启/每次开机X分钟重启"};
    EXPECT_EQ(ini.Reads(), expected);
}

TEST(ScheduleLoad, FirstKeyAloneDecidesAndTimeIsStoredEvenWhenEmptyOrTheFirstIsBad) {
    FakeSettings ini;
    ini.Set("关机", "定时关机日期", "2024-05-01");  // time key missing
    ini.Set("关机", "每周定时关机周几", "星期三");
    ini.Set("关机", "每周定时关机时间", "08:00");
    ini.Set("关机", "每月定时关机日期", "abc");
    ini.Set("关机", "每月定时关机时间", "09:05");
    ini.Set("关机", "每次开机X分钟关机", "lots");

    ScheduleSet s = LoadScheduleSet(PowerAction::Shutdown, ini.Reader());
    EXPECT_EQ(s.OnceDate, "2024-05-01");
    EXPECT_EQ(s.OnceTime, "");
    EXPECT_EQ(s.WeeklyDayName, "星期三");
    EXPECT_EQ(s.WeeklyDay, 0);
    EXPECT_EQ(s.WeeklyTime, "08:00");
    EXPECT_EQ(s.MonthlyDay, 0);
    EXPECT_EQ(s.MonthlyTime, "09:05");
    EXPECT_EQ(s.BootMinutes, 0);
    EXPECT_EQ(ini.Reads().size(), 8u);
}

TEST(ScheduleLoad, BothSetsResetAndSectionsStayApart) {
    FakeSettings ini;
    ini.Set("重启", "每天定时重启", "12:00");
    ini.Set("重启", "每次开机X分钟关机", "30");  // a shutdown key name in the restart section
    ini.Set("关机", "每天定时重启", "13:00");    // and a restart key name in the shutdown section

    ScheduleSet shutdown;
    shutdown.OnceDate = "2020-01-01";
    shutdown.BootMinutes = 99;
    ScheduleSet restart;
    restart.WeeklyDay = 3;

    LoadBothSets(ini.Reader(), shutdown, restart);
    EXPECT_EQ(shutdown, ScheduleSet());
    ScheduleSet expected;
    expected.DailyTime = "12:00";
    EXPECT_EQ(restart, expected);
    // Shutdown first, then restart, five reads each.
    ASSERT_EQ(ini.Reads().size(), 10u);
    EXPECT_EQ(ini.Reads()[4], "关机/每次开机X分钟关机");
    EXPECT_EQ(ini.Reads()[5], "重启/定时重启日期");
}

TEST(ScheduleLoad, WeekdayNames) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"周日", 1}, {"周一", 2}, {"周二", 3}, {"周三", 4}, {"周四", 5}, {"周五", 6},
        {"周六", 7}, {"周三上午", 4}, {"星期三", 0}, {"周", 0}, {"", 0}, {"周天", 0},
        {" 周一", 0}, {"Mon", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(WeekdayFromName(c.first), c.second);
    }
}

TEST(ScheduleLoad, WholeNumbers) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"30", true, 30},
        {" 30 ", true, 30},
        {"\t30\t", true, 30},
        {"+7", true, 7},
        {"-5", true, -5},
        {"-0", true, 0},
        {"007", true, 7},
        {"2.5", true, 2},
        {"3.5", true, 4},
        {"0.5", true, 0},
        {"1.5", true, 2},
        {"-2.5", true, -2},
        {"-3.5", true, -4},
        {"2.49999", true, 2},
        {"2.51", true, 3},
        {"2.5000000000000000000001", true, 3},  // just above the half: not a tie
        {".5", true, 0},
        {".6", true, 1},
        {"5.", true, 5},
        {"0.05", true, 0},
        {"1e3", true, 1000},
        {"1.5E1", true, 15},
        {"25e-1", true, 2},
        {"35e-1", true, 4},
        {"1e-999999999999", true, 0},
        {"0e999999999999", true, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483647.4", true, 2147483647},
        {"2147483647.5", false, 0},  // rounds up to 2^31
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"-2147483648.5", true, INT32_MIN},  // even neighbour is in range
        {"99999999999999999999", false, 0},
        {"1e10", false, 0},
        {"1e999999999999", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"1 2", false, 0},
        {"- 5", false, 0},
        {".", false, 0},
        {"+", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"e5", false, 0},
        {"0x10", false, 0},
        {"1,000", false, 0},
        {"１２", false, 0},  // full-width digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t out = 12345;
        EXPECT_EQ(ParseWholeNumber(c.text, out), c.ok);
        EXPECT_EQ(out, c.ok ? c.value : 12345);
    }
}

TEST(ScheduleLoad, BootMinutesOutOfRangeStoresNothing) {
    FakeSettings ini;
    ini.Set("关机", "每次开机X分钟关机", "4294967296");
    ini.Set("关机", "每月定时关机日期", " 2.5 ");
    EXPECT_EQ(LoadScheduleSet(PowerAction::Shutdown, ini.Reader()).BootMinutes, 0);
    EXPECT_EQ(LoadScheduleSet(PowerAction::Shutdown, ini.Reader()).MonthlyDay, 2);
}

}  // namespace
}  // namespace ts
