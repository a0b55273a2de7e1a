#include "dialogs/saving.h"

#include <cmath>
#include <cstdio>

#include "dialogs/numberrule.h"
#include "schedule/listlines.h"

namespace ts {

namespace {

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

void PutTime(DialogFields& f, const std::string& stored, int hourField, int minuteField) {
    TimeOfDay time;
    if (!ReadTime(stored, time)) time = TimeOfDay{};  // empty or unreadable: 0 and 0
    f.text[hourField] = std::to_string(time.hour);
    f.text[minuteField] = std::to_string(time.minute);
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
    const ActionInfo& info = Info(action);
    DialogFields f = DesignFields();
    f.text[12] = std::to_string(today.year);
    f.text[13] = TwoDigits(today.month);
    f.text[14] = TwoDigits(today.day);

    std::string value = read(info.section, info.keyOnceDate);
    if (!value.empty()) {
        f.checked[1] = true;
        CalendarDate date;
        // A hand-edited date that does not read as one leaves today's date in the fields.
        if (ReadDate(value, date)) {
            f.text[12] = std::to_string(date.year);
            f.text[13] = std::to_string(date.month);
            f.text[14] = std::to_string(date.day);
        }
        PutTime(f, read(info.section, info.keyOnceTime), 10, 11);
    }
    value = read(info.section, info.keyDaily);
    if (!value.empty()) {
        f.checked[2] = true;
        PutTime(f, value, 2, 3);
    }
    value = read(info.section, info.keyWeeklyDayName);
    if (!value.empty()) {
        f.checked[3] = true;
        f.weekday = value;
        PutTime(f, read(info.section, info.keyWeeklyTime), 4, 5);
    }
    value = read(info.section, info.keyMonthlyDay);
    if (!value.empty()) {
        f.checked[4] = true;
        f.text[6] = value;
        PutTime(f, read(info.section, info.keyMonthlyTime), 7, 8);
    }
    value = read(info.section, info.keyBootMinutes);
    if (!value.empty()) {
        f.checked[5] = true;
        f.text[9] = value;
    }
    return f;
}

void ApplyRanges(DialogFields& f, int currentYear) {
    auto clamp = [&f](const Range& r) {
        const double v = ReadNumericValue(f.text[r.field]);
        if (v < r.low) f.text[r.field] = FormatNumber(r.low);
        else if (v > r.high) f.text[r.field] = FormatNumber(r.high);
    };
    clamp({12, static_cast<double>(currentYear), 2100});
    clamp({13, 1, 12});
    clamp({14, 1, 31});
    // Month length, on the whole numbers of the date fields as they now stand.
    const long long year = WholeValue(f.text[12]);
    const long long month = WholeValue(f.text[13]);
    const long long day = WholeValue(f.text[14]);
    const int last = DaysInMonth(static_cast<int>(year), static_cast<int>(month));
    if (last > 0 && day > last) f.text[14] = std::to_string(last);
    const Range rest[] = {{10, 0, 23}, {11, 0, 59}, {2, 0, 23}, {3, 0, 59}, {4, 0, 23}, {5, 0, 59},
                          {6, 1, 31},  {7, 0, 23},  {8, 0, 59}, {9, 0, 20000}};
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
