#include "schedule/schedule.h"

#include "common/text.h"

namespace ts {

bool ScheduleSet::operator==(const ScheduleSet& o) const {
    return OnceDate == o.OnceDate && OnceTime == o.OnceTime && DailyTime == o.DailyTime &&
           WeeklyDayName == o.WeeklyDayName && WeeklyDay == o.WeeklyDay &&
           WeeklyTime == o.WeeklyTime && MonthlyDay == o.MonthlyDay &&
           MonthlyTime == o.MonthlyTime && BootMinutes == o.BootMinutes;
}

std::int32_t WeekdayFromName(const std::string& name) {
    static const char* const kNames[7] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
    const std::string head = Utf8Left(name, 2);
    for (std::int32_t i = 0; i < 7; ++i) {
        if (head == kNames[i]) return i + 1;
    }
    return 0;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Exact decimal arithmetic on the digits rather than strtod: no locale decides the point, and
// a value just above a half (2.5000000000000000001) is not rounded as if it were the half.
bool ParseWholeNumber(const std::string& text, std::int32_t& out) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;

    std::size_t i = b;
    bool negative = false;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // All mantissa digits without leading zeros, and where the point falls among them.
    std::string digits;
    long long point = 0;
    bool anyDigit = false;
    for (; i < e && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (digits.empty() && text[i] == '0') continue;
        digits.push_back(text[i]);
        ++point;
    }
    if (i < e && text[i] == '.') {
        for (++i; i < e && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (digits.empty() && text[i] == '0') {
                --point;
                continue;
            }
            digits.push_back(text[i]);
        }
    }
    if (!anyDigit) return false;

    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < e && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i >= e || !IsDigit(text[i])) return false;
        long long exponent = 0;
        for (; i < e && IsDigit(text[i]); ++i) {
            // Far beyond any 32-bit value either way; stop growing so nothing overflows.
            if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
        }
        point += expNegative ? -exponent : exponent;
    }
    if (i != e) return false;

    std::int64_t whole = 0;
    int firstDropped = 0;  // the first digit after the point
    bool restNonZero = false;
    if (!digits.empty()) {
        // The first digit is not 0, so more than ten places before the point is at least 10^10.
        if (point > 10) return false;
        if (point < 0) {
            // Zeros stand between the point and the digits: below a tenth, rounds to 0.
            restNonZero = true;
        } else {
            const std::size_t intDigits = static_cast<std::size_t>(point);
            for (std::size_t k = 0; k < intDigits; ++k) {
                whole = whole * 10 + (k < digits.size() ? digits[k] - '0' : 0);
            }
            for (std::size_t k = intDigits; k < digits.size(); ++k) {
                const int d = digits[k] - '0';
                if (k == intDigits) {
                    firstDropped = d;
                } else if (d != 0) {
                    restNonZero = true;
                }
            }
        }
    }
    if (firstDropped > 5 || (firstDropped == 5 && (restNonZero || whole % 2 != 0))) ++whole;
    if (negative) whole = -whole;
    if (whole < INT32_MIN || whole > INT32_MAX) return false;
    out = static_cast<std::int32_t>(whole);
    return true;
}

ScheduleSet LoadScheduleSet(PowerAction action, const KeyReader& read) {
    const ActionInfo& info = Info(action);
    const std::string section = info.section;
    ScheduleSet set;

    std::string text = read(section, info.keyOnceDate);
    if (!text.empty()) {
        set.OnceDate = text;
        set.OnceTime = read(section, info.keyOnceTime);
    }

    text = read(section, info.keyDaily);
    if (!text.empty()) set.DailyTime = text;

    text = read(section, info.keyWeeklyDayName);
    if (!text.empty()) {
        set.WeeklyDayName = text;
        set.WeeklyDay = WeekdayFromName(text);
        set.WeeklyTime = read(section, info.keyWeeklyTime);
    }

    text = read(section, info.keyMonthlyDay);
    if (!text.empty()) {
        ParseWholeNumber(text, set.MonthlyDay);
        set.MonthlyTime = read(section, info.keyMonthlyTime);
    }

    text = read(section, info.keyBootMinutes);
    if (!text.empty()) ParseWholeNumber(text, set.BootMinutes);

    return set;
}

void LoadBothSets(const KeyReader& read, ScheduleSet& shutdown, ScheduleSet& restart) {
    shutdown = ScheduleSet();
    restart = ScheduleSet();
    shutdown = LoadScheduleSet(PowerAction::Shutdown, read);
    restart = LoadScheduleSet(PowerAction::Restart, read);
}

}  // namespace ts
