#include "dialogs/saving.h"

#include <gtest/gtest.h>

#include <map>

namespace ts {
namespace {

DialogFields AllOn() {
    DialogFields f = DesignFields();
    for (int i = 1; i <= 5; ++i) f.checked[i] = true;
    return f;
}

struct DateCase {
    const char* year;
    const char* month;
    const char* day;
    const char* saved;
};

TEST(Saving, OneOffDateIsBroughtIntoRange) {
    const DateCase cases[] = {
        {"2009", "5", "1", "2024-05-01"}, {"2150", "5", "1", "2100-05-01"}, {"2024", "4", "31", "2024-04-30"},
        {"2024", "2", "31", "2024-02-29"}, {"2025", "2", "30", "2025-02-28"}, {"2025", "2", "29", "2025-02-28"},
        {"2024", "0", "0", "2024-01-01"},  {"2024", "13", "40", "2024-12-31"}, {"2100", "2", "29", "2100-02-28"},
        {"2024", "1", "5", "2024-01-05"},  {"2024", "-3", "15", "2024-01-15"},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "-" + c.month + "-" + c.day);
        DialogFields f = AllOn();
        f.text[12] = c.year;
        f.text[13] = c.month;
        f.text[14] = c.day;
        ApplyRanges(f, 2024);
        EXPECT_EQ(SaveValues(PowerAction::Shutdown, f)[0].second, c.saved);
    }
}

TEST(Saving, TimesDaysAndMinutesAreBroughtIntoRange) {
    DialogFields f = AllOn();
    f.text[10] = "24";
    f.text[11] = "75";
    f.text[2] = "9";
    f.text[3] = "5";
    f.text[4] = "-1";
    f.text[5] = "59";
    f.text[6] = "0";
    f.text[7] = "0";
    f.text[8] = "0";
    f.text[9] = "30000";
    f.weekday = "星期五";
    ApplyRanges(f, 2024);
    EXPECT_EQ(f.text[10], "23");
    EXPECT_EQ(f.text[11], "59");
    EXPECT_EQ(f.text[4], "0");
    EXPECT_EQ(f.text[6], "1");
    EXPECT_EQ(f.text[9], "20000");
    const SectionValues v = SaveValues(PowerAction::Restart, f);
    const SectionValues expected = {
        {"定时重启日期", "2024-01-01"}, {"定时重启时间", "23:59"}, {"每天定时重启", "09:05"},
        {"每周定时重启周几", "星期五"}, {"每周定时重启时间", "00:59"}, {"每月定时重启日期", "1"},
        {"每月定时重启时间", "00:00"}, {"每次开机X分钟重启", "20000"},
    };
    EXPECT_EQ(v, expected);

    DialogFields g = AllOn();
    g.text[6] = "45";
    g.text[9] = "-5";
    ApplyRanges(g, 2024);
    EXPECT_EQ(g.text[6], "31");
    EXPECT_EQ(g.text[9], "0");
}

TEST(Saving, SchedulesThatAreOffWriteEmptyValuesAndNoLines) {
    DialogFields f = DesignFields();
    f.checked[2] = true;
    const SectionValues v = SaveValues(PowerAction::Shutdown, f);
    ASSERT_EQ(v.size(), 8u);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].second, i == 2 ? "23:00" : "") << v[i].first;
    EXPECT_EQ(SaveListLines(PowerAction::Shutdown, f),
              std::vector<std::string>{"23:00" + std::string(15, ' ') + "  (每天定时关机)"});
    f.checked[2] = false;
    EXPECT_TRUE(SaveListLines(PowerAction::Shutdown, f).empty());
}

TEST(Saving, ListLinesOfEverySchedule) {
    DialogFields f = AllOn();
    f.text[12] = "2024";
    f.text[13] = "5";
    f.text[14] = "1";
    f.text[10] = "23";
    f.text[11] = "0";
    f.text[2] = "12";
    f.text[4] = "18";
    f.text[5] = "30";
    f.weekday = "周五";
    f.text[6] = "15";
    f.text[7] = "8";
    f.text[9] = "0";
    const std::string blanks(20, ' ');
    const std::vector<std::string> expected = {
        "2024-05-01 23:00" + blanks.substr(16) + "  (定时关机)",
        "12:00" + blanks.substr(5) + "  (每天定时关机)",
        "周五 18:30" + blanks.substr(8) + "(每周定时关机)",
        "15号 08:00" + blanks.substr(9) + " (每月定时关机)",
        "0" + blanks.substr(1) + "  (每次开机0分钟关机)",
    };
    EXPECT_EQ(SaveListLines(PowerAction::Shutdown, f), expected);
}

TEST(Saving, PastedFractionsAreWrittenAsWholeNumbers) {
    DialogFields f = AllOn();
    f.text[2] = "0.5";
    f.text[3] = "7.9";
    f.text[9] = "30.5";
    ApplyRanges(f, 2024);
    const SectionValues v = SaveValues(PowerAction::Shutdown, f);
    EXPECT_EQ(v[2].second, "00:07");
    EXPECT_EQ(v[7].second, "30");
}

TEST(Saving, FieldsFromSettingsFile) {
    const CalendarDate today{2026, 5, 7};
    std::map<std::string, std::string> file;
    auto read = [&file](const std::string& section, const std::string& key) {
        auto it = file.find(section + "/" + key);
        return it == file.end() ? std::string() : it->second;
    };

    DialogFields f = FieldsFromSettings(PowerAction::Shutdown, read, today);
    for (int i = 1; i <= 5; ++i) EXPECT_FALSE(f.checked[i]);
    EXPECT_EQ(f.text[12], "2026");
    EXPECT_EQ(f.text[13], "05");
    EXPECT_EQ(f.text[14], "07");
    EXPECT_EQ(f.text[10], "23");
    EXPECT_EQ(f.text[9], "480");
    EXPECT_EQ(f.weekday, "周日");

    file = {{"关机/定时关机日期", "2024-05-01"}, {"关机/定时关机时间", "23:05"}, {"关机/每周定时关机周几", "星期五"},
            {"关机/每月定时关机日期", "15"},    {"关机/每月定时关机时间", "abc"}, {"关机/每次开机X分钟关机", "90"},
            {"重启/每天定时重启", "12:00"}};
    f = FieldsFromSettings(PowerAction::Shutdown, read, today);
    EXPECT_TRUE(f.checked[1]);
    EXPECT_FALSE(f.checked[2]);
    EXPECT_TRUE(f.checked[3]);
    EXPECT_TRUE(f.checked[4]);
    EXPECT_TRUE(f.checked[5]);
    EXPECT_EQ(f.text[12], "2024");
    EXPECT_EQ(f.text[13], "5");
    EXPECT_EQ(f.text[14], "1");
    EXPECT_EQ(f.text[10], "23");
    EXPECT_EQ(f.text[11], "5");
    EXPECT_EQ(f.weekday, "星期五");
    EXPECT_EQ(f.text[4], "0") << "weekly time key missing: hour 0";
    EXPECT_EQ(f.text[6], "15");
    EXPECT_EQ(f.text[7], "0") << "unreadable time: 0";
    EXPECT_EQ(f.text[9], "90");

    f = FieldsFromSettings(PowerAction::Restart, read, today);
    EXPECT_TRUE(f.checked[2]);
    EXPECT_FALSE(f.checked[1]);
    EXPECT_EQ(f.text[2], "12");
    EXPECT_EQ(f.text[3], "0");
}

}  // namespace
}  // namespace ts
