#include "dialogs/saving.h"

#include <cmath>
#include <cstdio>

#include "dialogs/numberrule.h"
#include "schedule/in_force.h"
#include "schedule/listlines.h"

namespace ts {

namespace {

// Upper bounds of the year and of the minutes after start; the dialog can hold nothing beyond them.
constexpr int kLastYear = 2100;
constexpr int kMostBootMinutes = 20000;

struct Range {
    int field;
    double low;
    double high;
};

// The whole number a field holds; the ranges leave values in bounds, fractions are cut off.
long long WholeValue(const std::string& text) {
    double v = std::floor(ReadNumericValue(text));
    if (v > 1e15) v = 1e15;
    if (v < -1e15) v = -1e15;
    return static_cast<long long>(v);
}

std::string TwoDigits(long long v) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%02lld", v);
    return buffer;
}

std::string DateValue(const DialogFields& f) {
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%04lld-%02lld-%02lld", WholeValue(f.text[12]), WholeValue(f.text[13]),
                  WholeValue(f.text[14]));
    return buffer;
}

std::string TimeValue(const DialogFields& f, int hourField, int minuteField) {
    return TwoDigits(WholeValue(f.text[hourField])) + ":" + TwoDigits(WholeValue(f.text[minuteField]));
}

std::string WholeText(const std::string& text) { return FormatNumber(static_cast<double>(WholeValue(text))); }

void PutTime(DialogFields& f, const TimeOfDay& time, int hourField, int minuteField) {
    f.text[hourField] = std::to_string(time.hour);
    f.text[minuteField] = std::to_string(time.minute);
}

bool Before(const CalendarDate& a, const CalendarDate& b) {
    if (a.year != b.year) return a.year < b.year;
    if (a.month != b.month) return a.month < b.month;
    return a.day < b.day;
}

}  // namespace

DialogFields DesignFields() {
    DialogFields f;
    f.text[12] = "2010";
    f.text[13] = "1";
    f.text[14] = "1";
    f.text[10] = "23";
    f.text[11] = "0";
    f.text[2] = "23";
    f.text[3] = "0";
    f.text[4] = "23";
    f.text[5] = "0";
    f.text[6] = "1";
    f.text[7] = "23";
    f.text[8] = "0";
    f.text[9] = "480";
    f.weekday = "周日";
    return f;
}

DialogFields FieldsFromSettings(PowerAction action, const KeyReader& read, const CalendarDate& today) {
    DialogFields f = DesignFields();
    f.text[12] = std::to_string(today.year);
    f.text[13] = TwoDigits(today.month);
    f.text[14] = TwoDigits(today.day);

    // The reading start-up makes, not a second one of the raw text: what the dialog shows is what fires.
    const ScheduleSet set = LoadScheduleSet(action, read);
    const SchedulesInForce s = ReadInForce(set);
    // A one-off before today is spent; one beyond the last year would be moved to it by the range.
    if (s.once && !Before(s.onceDate, today) && s.onceDate.year <= kLastYear) {
        f.checked[1] = true;
        f.text[12] = std::to_string(s.onceDate.year);
        f.text[13] = std::to_string(s.onceDate.month);
        f.text[14] = std::to_string(s.onceDate.day);
        PutTime(f, s.onceTime, 10, 11);
    }
    if (s.daily) {
        f.checked[2] = true;
        PutTime(f, s.dailyTime, 2, 3);
    }
    if (s.weekly) {
        f.checked[3] = true;
        f.weekday = set.WeeklyDayName;
        PutTime(f, s.weeklyTime, 4, 5);
    }
    if (s.monthly) {
        f.checked[4] = true;
        f.text[6] = std::to_string(s.monthDay);
        PutTime(f, s.monthlyTime, 7, 8);
    }
    // More minutes than the range allows would be saved as its bound and fire sooner: such a row opens off.
    if (s.boot && s.bootMinutes <= kMostBootMinutes) {
        f.checked[5] = true;
        f.text[9] = std::to_string(s.bootMinutes);
    }
    return f;
}

bool HasUnknownWeekday(const DialogFields& f) { return f.checked[3] && WeekdayFromName(f.weekday) == 0; }

void ApplyRanges(DialogFields& f, int currentYear) {
    // Both bounds, always: a lower bound above the upper one (a current year past 2100) ends at the upper.
    auto clamp = [&f](const Range& r) {
        if (ReadNumericValue(f.text[r.field]) < r.low) f.text[r.field] = FormatNumber(r.low);
        if (ReadNumericValue(f.text[r.field]) > r.high) f.text[r.field] = FormatNumber(r.high);
    };
    clamp({12, static_cast<double>(currentYear), kLastYear});
    clamp({13, 1, 12});
    clamp({14, 1, 31});
    // Month length, on the whole numbers of the date fields as they now stand.
    const long long year = WholeValue(f.text[12]);
    const long long month = WholeValue(f.text[13]);
    const long long day = WholeValue(f.text[14]);
    const int last = DaysInMonth(static_cast<int>(year), static_cast<int>(month));
    if (last > 0 && day > last) f.text[14] = std::to_string(last);
    const Range rest[] = {{10, 0, 23}, {11, 0, 59}, {2, 0, 23}, {3, 0, 59}, {4, 0, 23}, {5, 0, 59},
                          {6, 1, 31},  {7, 0, 23},  {8, 0, 59}, {9, 0, kMostBootMinutes}};
    for (const Range& r : rest) clamp(r);
}

SectionValues SaveValues(PowerAction action, const DialogFields& f) {
    const ActionInfo& info = Info(action);
    SectionValues v = {{info.keyOnceDate, ""},       {info.keyOnceTime, ""},    {info.keyDaily, ""},
                       {info.keyWeeklyDayName, ""},  {info.keyWeeklyTime, ""},  {info.keyMonthlyDay, ""},
                       {info.keyMonthlyTime, ""},    {info.keyBootMinutes, ""}};
    if (f.checked[1]) {
        v[0].second = DateValue(f);
        v[1].second = TimeValue(f, 10, 11);
    }
    if (f.checked[2]) v[2].second = TimeValue(f, 2, 3);
    if (f.checked[3]) {
        v[3].second = f.weekday;
        v[4].second = TimeValue(f, 4, 5);
    }
    if (f.checked[4]) {
        v[5].second = WholeText(f.text[6]);
        v[6].second = TimeValue(f, 7, 8);
    }
    if (f.checked[5]) v[7].second = WholeText(f.text[9]);
    return v;
}

std::vector<std::string> SaveListLines(PowerAction action, const DialogFields& f) {
    std::vector<std::string> lines;
    if (f.checked[1]) lines.push_back(ListLine(ScheduleKind::Once, action, DateValue(f) + " " + TimeValue(f, 10, 11)));
    if (f.checked[2]) lines.push_back(ListLine(ScheduleKind::Daily, action, TimeValue(f, 2, 3)));
    if (f.checked[3]) lines.push_back(ListLine(ScheduleKind::Weekly, action, f.weekday + " " + TimeValue(f, 4, 5)));
    if (f.checked[4]) {
        lines.push_back(ListLine(ScheduleKind::Monthly, action, WholeText(f.text[6]) + "号 " + TimeValue(f, 7, 8)));
    }
    if (f.checked[5]) lines.push_back(ListLine(ScheduleKind::Boot, action, WholeText(f.text[9])));
    return lines;
}

}  // namespace ts
