#include "dialogs/saving.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "schedule/listlines.h"
#include "schedule/tick.h"

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
    // With the current year past 2100 the lower bound lifts a year above the upper one, which then holds.
    for (const char* year : {"2009", "2120", "2200"}) {
        SCOPED_TRACE(std::string(year) + " in 2150");
        DialogFields f = AllOn();
        f.text[12] = year;
        ApplyRanges(f, 2150);
        EXPECT_EQ(f.text[12], "2100");
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
    f.weekday = "周五";
    ApplyRanges(f, 2024);
    EXPECT_EQ(f.text[10], "23");
    EXPECT_EQ(f.text[11], "59");
    EXPECT_EQ(f.text[4], "0");
    EXPECT_EQ(f.text[6], "1");
    EXPECT_EQ(f.text[9], "20000");
    const SectionValues v = SaveValues(PowerAction::Restart, f);
    const SectionValues expected = {
        {"定时重启日期", "2024-01-01"}, {"定时重启时间", "23:59"}, {"每天定时重启", "09:05"},
        {"每周定时重启周几", "周五"}, {"每周定时重启时间", "00:59"}, {"每月定时重启日期", "1"},
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

// A settings file in memory; a key's section follows from its name (关机 or 重启 in it).
class MemoryFile {
public:
    struct Entry {
        const char* key;
        const char* value;
    };
    MemoryFile() = default;
    MemoryFile(std::initializer_list<Entry> entries) : MemoryFile(std::vector<Entry>(entries)) {}
    explicit MemoryFile(const std::vector<Entry>& entries) {
        for (const Entry& e : entries) values_[SectionOf(e.key) + "/" + e.key] = e.value;
    }
    KeyReader Reader() const {
        return [this](const std::string& section, const std::string& key) {
            auto it = values_.find(section + "/" + key);
            return it == values_.end() ? std::string() : it->second;
        };
    }
    void Save(PowerAction action, const SectionValues& values) {
        for (const auto& kv : values) values_[std::string(Info(action).section) + "/" + kv.first] = kv.second;
    }

private:
    static std::string SectionOf(const std::string& key) {
        return key.find("关机") != std::string::npos ? "关机" : "重启";
    }
    std::map<std::string, std::string> values_;
};

std::string Checks(const DialogFields& f) {
    std::string bits;
    for (int n = 1; n <= 5; ++n) bits += f.checked[n] ? '1' : '0';
    return bits;
}

TEST(Saving, FieldsShowWhatStartUpTookFromTheFile) {
    const CalendarDate today{2026, 5, 7};
    DialogFields f = FieldsFromSettings(PowerAction::Shutdown, MemoryFile().Reader(), today);
    EXPECT_EQ(Checks(f), "00000");
    EXPECT_EQ(f.text[12], "2026");
    EXPECT_EQ(f.text[13], "05");
    EXPECT_EQ(f.text[14], "07");
    EXPECT_EQ(f.text[10], "23");
    EXPECT_EQ(f.text[9], "480");
    EXPECT_EQ(f.weekday, "周日");

    const MemoryFile file = {{"定时关机日期", "2027年5月1日"}, {"定时关机时间", "9:05 PM"}, {"每天定时关机", "07:30:45"},
                             {"每周定时关机周几", "周三上午"}, {"每周定时关机时间", "08:00"}, {"每月定时关机日期", "1.5"},
                             {"每月定时关机时间", "9:5"},        {"每次开机X分钟关机", " 2.5 "}, {"每天定时重启", "12:00"}};
    f = FieldsFromSettings(PowerAction::Shutdown, file.Reader(), today);
    EXPECT_EQ(Checks(f), "11111");
    const std::pair<int, const char*> shown[] = {{12, "2027"}, {13, "5"}, {14, "1"}, {10, "21"}, {11, "5"}, {2, "7"},
                                                 {3, "30"},    {4, "8"},   {5, "0"},  {6, "2"},   {7, "9"},  {8, "5"},
                                                 {9, "2"}};
    for (const auto& [field, text] : shown) EXPECT_EQ(f.text[field], text) << "Text" << field;
    EXPECT_EQ(f.weekday, "周三上午") << "recognised by its first two characters, shown as stored";

    f = FieldsFromSettings(PowerAction::Restart, file.Reader(), today);
    EXPECT_EQ(Checks(f), "01000");
    EXPECT_EQ(f.text[2], "12");
    EXPECT_EQ(f.text[3], "0");

    // Rows that cannot fire open off, at their design values and today's date.
    const MemoryFile dead = {{"定时关机日期", "2027-02-30"}, {"定时关机时间", "23:30"}, {"每周定时关机周几", "星期五"},
                             {"每周定时关机时间", "18:30"},  {"每月定时关机日期", "15"}, {"每月定时关机时间", "abc"}};
    f = FieldsFromSettings(PowerAction::Shutdown, dead.Reader(), today);
    EXPECT_EQ(Checks(f), "00000");
    const DialogFields design = DesignFields();
    for (int n = 2; n <= 11; ++n) EXPECT_EQ(f.text[n], design.text[n]) << "Text" << n;
    EXPECT_EQ(f.text[12] + "-" + f.text[13] + "-" + f.text[14], "2026-05-07");
    EXPECT_EQ(f.weekday, "周日");
}

TEST(Saving, OnlyAWeekdayStartUpRecognisesIsSaved) {
    DialogFields f = AllOn();
    const std::pair<const char*, bool> cases[] = {
        {"周日", false}, {"周六", false}, {"周三上午", false}, {"星期五", true}, {"", true},
        {"周", true},    {" 周一", true}, {"Mon", true},
    };
    for (const auto& [weekday, refused] : cases) {
        SCOPED_TRACE(weekday);
        f.weekday = weekday;
        f.checked[3] = true;
        EXPECT_EQ(HasUnknownWeekday(f), refused);
        f.checked[3] = false;
        EXPECT_FALSE(HasUnknownWeekday(f)) << "an unticked weekly row is not looked at";
    }
}

// Every moment from `today` on at which the tick would fire either set, with the test that holds:
// each minute that a time of either pair names, on 63 days from today (every weekday and every day
// of the month) and on each one-off date; and the boot test around each pair's minutes.
class Firing {
public:
    Firing(const CalendarDate& today, const std::vector<std::pair<ScheduleSet, ScheduleSet>>& pairs) : today_(today) {
        for (const auto& pair : pairs) {
            for (const ScheduleSet* s : {&pair.first, &pair.second}) {
                for (const std::string* t : {&s->OnceTime, &s->DailyTime, &s->WeeklyTime, &s->MonthlyTime}) {
                    TimeOfDay time;
                    if (ReadTime(*t, time)) minutesOfDay_.insert(time.hour * 60 + time.minute);
                }
                CalendarDate once;
                if (ReadDate(s->OnceDate, once)) AddDate(once);
                minutesUp_.insert(s->BootMinutes - 1);
                minutesUp_.insert(s->BootMinutes);
            }
        }
        CalendarDate d = today;
        for (int i = 0; i < 63; ++i) {
            AddDate(d);
            d = d.day < DaysInMonth(d.year, d.month) ? CalendarDate{d.year, d.month, d.day + 1}
                : d.month < 12                     ? CalendarDate{d.year, d.month + 1, 1}
                                                   : CalendarDate{d.year + 1, 1, 1};
        }
    }

    std::string Of(const ScheduleSet& shutdown, const ScheduleSet& restart) const {
        std::string out;
        for (const auto& [year, month, day] : dates_) {
            for (int minute : minutesOfDay_) {
                const ClockLabels labels = FormatClockLabels({year, month, day, minute / 60, minute % 60, 0});
                const ScheduleMatch m = CheckTick(labels, 0, shutdown, restart);
                if (m.test) {
                    out += std::string(labels.date.View()) + " " + std::string(labels.time.View()) + ": test " +
                           std::to_string(m.test) + "\n";
                }
            }
        }
        for (int minutes : minutesUp_) {
            const ScheduleMatch m = CheckSchedules("", "", 0, minutes, shutdown, restart);
            if (m.test) out += std::to_string(minutes) + " minutes up: test " + std::to_string(m.test) + "\n";
        }
        return out;
    }

private:
    void AddDate(const CalendarDate& d) {
        const std::tuple<int, int, int> date{d.year, d.month, d.day};
        if (date >= std::tuple<int, int, int>{today_.year, today_.month, today_.day}) dates_.insert(date);
    }

    CalendarDate today_;
    std::set<std::tuple<int, int, int>> dates_;
    std::set<int> minutesOfDay_;
    std::set<int> minutesUp_;
};

struct NoChangeCase {
    const char* why;
    PowerAction dialog;
    std::vector<MemoryFile::Entry> file;
    const char* checks;  // what the dialog opens with
};

// Open the dialog on a hand-edited file, press OK without an edit: what fires must not change.
TEST(Saving, OkWithoutAnEditChangesNothingThatFires) {
    const CalendarDate today{2026, 5, 7};  // a Thursday
    const PowerAction off = PowerAction::Shutdown;
    const PowerAction restart = PowerAction::Restart;
    const NoChangeCase cases[] = {
        {"a date that does not exist", off, {{"定时关机日期", "2027-02-30"}, {"定时关机时间", "23:30"}}, "00000"},
        {"a two-digit year", restart, {{"定时重启日期", "27-1-2"}, {"定时重启时间", "22:00"}}, "00000"},
        {"hour 24", off, {{"每天定时关机", "24:00"}}, "00000"},
        {"a full-width colon", off, {{"每天定时关机", "7：30"}}, "00000"},
        {"a point for the colon", off, {{"每天定时关机", "9.05"}}, "00000"},
        {"a one-off without its time", off, {{"定时关机日期", "2027-05-01"}}, "00000"},
        {"a one-off time without its date", off, {{"定时关机时间", "23:00"}}, "00000"},
        {"a hexadecimal day", off, {{"每月定时关机日期", "&H10"}, {"每月定时关机时间", "08:00"}}, "00000"},
        {"a day with a thousands separator", off, {{"每月定时关机日期", "1,000"}, {"每月定时关机时间", "08:00"}}, "00000"},
        {"full-width digits", off, {{"每月定时关机日期", "１２"}, {"每月定时关机时间", "08:00"}}, "00000"},
        {"day 1.5, which start-up rounds to 2", off, {{"每月定时关机日期", "1.5"}, {"每月定时关机时间", "08:00"}}, "00010"},
        {"day 0", off, {{"每月定时关机日期", "0"}, {"每月定时关机时间", "08:00"}}, "00000"},
        {"day 32", off, {{"每月定时关机日期", "32"}, {"每月定时关机时间", "08:00"}}, "00000"},
        {"a day without its time", off, {{"每月定时关机日期", "15"}}, "00000"},
        {"a weekday that is not one of the seven", off, {{"每周定时关机周几", "星期五"}, {"每周定时关机时间", "18:30"}}, "00000"},
        {"a weekday with more after its name", restart, {{"每周定时重启周几", "周三上午"}, {"每周定时重启时间", "08:00"}}, "00100"},
        {"a weekday without its time", off, {{"每周定时关机周几", "周五"}}, "00000"},
        {"0 minutes", off, {{"每次开机X分钟关机", "0"}}, "00000"},
        {"negative minutes", off, {{"每次开机X分钟关机", "-5"}}, "00000"},
        {"minutes that are not a number", off, {{"每次开机X分钟关机", "abc"}}, "00000"},
        {"minutes 2.5, which start-up rounds to 2", off, {{"每次开机X分钟关机", "2.5"}}, "00001"},
        {"a one-off in a past year, which the year's range would bring to this one", off,
         {{"定时关机日期", "2024-05-20"}, {"定时关机时间", "23:05"}}, "00000"},
        {"a one-off earlier this year", off, {{"定时关机日期", "2026-01-02"}, {"定时关机时间", "08:00"}}, "00000"},
        {"a one-off today", off, {{"定时关机日期", "2026-05-07"}, {"定时关机时间", "23:00"}}, "10000"},
        {"hand-written forms that read", off,
         {{"定时关机日期", "2027年5月1日"}, {"定时关机时间", "9:05 PM"}, {"每天定时关机", "07:30:45"},
          {"每月定时关机日期", " 31 "}, {"每月定时关机时间", "0:00"}},
         "11010"},
        {"every schedule as the dialog saves it", off,
         {{"定时关机日期", "2099-05-01"}, {"定时关机时间", "09:05"}, {"每天定时关机", "07:30"}, {"每周定时关机周几", "周五"},
          {"每周定时关机时间", "18:30"}, {"每月定时关机日期", "15"}, {"每月定时关机时间", "08:00"}, {"每次开机X分钟关机", "480"},
          {"每天定时重启", "12:00"}},
         "11111"},
        {"the other section is left as it is", restart,
         {{"每天定时关机", "24:00"}, {"每天定时重启", "12:00"}, {"每次开机X分钟重启", "0480"}}, "01001"},
    };
    for (const NoChangeCase& c : cases) {
        SCOPED_TRACE(c.why);
        MemoryFile file(c.file);
        ScheduleSet shutdownBefore, restartBefore;
        LoadBothSets(file.Reader(), shutdownBefore, restartBefore);

        DialogFields f = FieldsFromSettings(c.dialog, file.Reader(), today);
        EXPECT_EQ(Checks(f), c.checks);
        ASSERT_FALSE(HasUnknownWeekday(f)) << "the dialog refuses its own opening values";
        ApplyRanges(f, today.year);
        file.Save(c.dialog, SaveValues(c.dialog, f));

        ScheduleSet shutdownAfter, restartAfter;
        LoadBothSets(file.Reader(), shutdownAfter, restartAfter);
        const Firing firing(today, {{shutdownBefore, restartBefore}, {shutdownAfter, restartAfter}});
        EXPECT_EQ(firing.Of(shutdownAfter, restartAfter), firing.Of(shutdownBefore, restartBefore));
    }
}

// The dialog cannot hold these: the ranges would move them to fire sooner. They open off, so an OK
// without an edit drops them rather than arming them earlier.
TEST(Saving, RowsBeyondTheRangesOpenOffAndNeverFireSooner) {
    const CalendarDate today{2026, 5, 7};
    const std::vector<MemoryFile::Entry> files[] = {
        {{"定时关机日期", "2150-05-01"}, {"定时关机时间", "09:00"}},
        {{"每次开机X分钟关机", "30000"}},
    };
    for (const auto& entries : files) {
        SCOPED_TRACE(entries.front().value);
        MemoryFile file(entries);
        DialogFields f = FieldsFromSettings(PowerAction::Shutdown, file.Reader(), today);
        EXPECT_EQ(Checks(f), "00000");
        ApplyRanges(f, today.year);
        file.Save(PowerAction::Shutdown, SaveValues(PowerAction::Shutdown, f));
        ScheduleSet shutdown, restart;
        LoadBothSets(file.Reader(), shutdown, restart);
        EXPECT_TRUE(ScheduleListLines(shutdown, PowerAction::Shutdown).empty());
    }
}

}  // namespace
}  // namespace ts
