#include "schedule/datetime_text.h"

namespace ts {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A small reader over the text; every Take* leaves the position alone when it fails.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }

    bool SkipBlanks() {
        std::size_t start = pos_;
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        return pos_ != start;
    }

    // A run of digits whose length lies in [minDigits, maxDigits]; a longer run is refused
    // rather than split, so 123:00 is not read as 12 and a stray 3.
    bool TakeNumber(std::size_t minDigits, std::size_t maxDigits, int& value) {
        std::size_t end = pos_;
        while (end < text_.size() && IsDigit(text_[end])) ++end;
        std::size_t count = end - pos_;
        if (count < minDigits || count > maxDigits) return false;
        int v = 0;
        for (std::size_t i = pos_; i < end; ++i) v = v * 10 + (text_[i] - '0');
        value = v;
        pos_ = end;
        return true;
    }

    bool TakeChar(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // One of the date separators; returns it, or 0.
    char TakeAnyOf(std::string_view set) {
        if (pos_ < text_.size() && set.find(text_[pos_]) != std::string_view::npos) return text_[pos_++];
        return 0;
    }

    bool TakeText(std::string_view s) {
        if (text_.substr(pos_, s.size()) == s) {
            pos_ += s.size();
            return true;
        }
        return false;
    }

    // Latin letters compared without case (AM, pm).
    bool TakeWordNoCase(std::string_view upper) {
        if (text_.size() - pos_ < upper.size()) return false;
        for (std::size_t i = 0; i < upper.size(); ++i) {
            char c = text_[pos_ + i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (c != upper[i]) return false;
        }
        pos_ += upper.size();
        return true;
    }

    std::size_t Position() const { return pos_; }
    void Reset(std::size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool TakeDate(Cursor& c, CalendarDate& out) {
    std::size_t start = c.Position();
    CalendarDate d;
    bool ok = c.TakeNumber(4, 4, d.year);
    if (ok) {
        if (char sep = c.TakeAnyOf("-/.")) {
            ok = c.TakeNumber(1, 2, d.month) && c.TakeChar(sep) && c.TakeNumber(1, 2, d.day);
        } else {
            ok = c.TakeText("年") && c.TakeNumber(1, 2, d.month) && c.TakeText("月") &&
                 c.TakeNumber(1, 2, d.day);
            if (ok) c.TakeText("日");
        }
    }
    ok = ok && d.year >= 1 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month);
    if (!ok) {
        c.Reset(start);
        return false;
    }
    out = d;
    return true;
}

bool TakeTime(Cursor& c, TimeOfDay& out) {
    std::size_t start = c.Position();
    TimeOfDay t;
    bool ok = c.TakeNumber(1, 2, t.hour) && c.TakeChar(':') && c.TakeNumber(1, 2, t.minute);
    if (ok && c.TakeChar(':')) ok = c.TakeNumber(1, 2, t.second);
    if (ok) {
        std::size_t beforeMarker = c.Position();
        c.SkipBlanks();
        bool am = c.TakeWordNoCase("AM");
        bool pm = !am && c.TakeWordNoCase("PM");
        if (am || pm) {
            // 12-hour clock: 12 AM is midnight, 12 PM is noon.
            ok = t.hour >= 1 && t.hour <= 12;
            t.hour = t.hour % 12 + (pm ? 12 : 0);
        } else {
            c.Reset(beforeMarker);
        }
    }
    ok = ok && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
    if (!ok) {
        c.Reset(start);
        return false;
    }
    out = t;
    return true;
}

// The whole text: a date, a time, or a date and a time after a blank, with blanks around.
bool ParseDateTime(std::string_view text, bool& hasDate, CalendarDate& date, bool& hasTime,
                   TimeOfDay& time) {
    Cursor c(text);
    c.SkipBlanks();
    hasDate = TakeDate(c, date);
    hasTime = false;
    if (hasDate) {
        std::size_t afterDate = c.Position();
        if (c.SkipBlanks() && TakeTime(c, time)) {
            hasTime = true;
        } else {
            c.Reset(afterDate);
        }
    } else {
        hasTime = TakeTime(c, time);
    }
    c.SkipBlanks();
    return (hasDate || hasTime) && c.AtEnd();
}

}  // namespace

bool ReadDate(std::string_view text, CalendarDate& out) {
    bool hasDate = false;
    bool hasTime = false;
    CalendarDate d;
    TimeOfDay t;
    if (!ParseDateTime(text, hasDate, d, hasTime, t) || !hasDate) return false;
    out = d;
    return true;
}

bool ReadTime(std::string_view text, TimeOfDay& out) {
    bool hasDate = false;
    bool hasTime = false;
    CalendarDate d;
    TimeOfDay t;
    if (!ParseDateTime(text, hasDate, d, hasTime, t) || !hasTime) return false;
    out = t;
    return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

void KeyText::Append(std::string_view s) {
    for (char c : s) Append(c);
}

void KeyText::Append(char c) {
    if (size_ < kCapacity) text_[size_++] = c;
}

void KeyText::AppendNumber(std::int64_t value) {
    char digits[24];
    int n = 0;
    // Work on the negative side so the smallest value needs no special case.
    std::int64_t v = value < 0 ? value : -value;
    do {
        digits[n++] = static_cast<char>('0' - v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) Append('-');
    while (n > 0) Append(digits[--n]);
}

void KeyText::AppendDigits(int value, int width) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && n < 16);
    while (n < width && n < 16) digits[n++] = '0';
    while (n > 0) Append(digits[--n]);
}

bool AppendDateKey(std::string_view stored, KeyText& out) {
    CalendarDate d;
    if (!ReadDate(stored, d)) return false;
    out.AppendDigits(d.year, 4);
    out.AppendDigits(d.month, 2);
    out.AppendDigits(d.day, 2);
    return true;
}

bool AppendTimeKey(std::string_view stored, KeyText& out) {
    TimeOfDay t;
    if (!ReadTime(stored, t)) return false;
    out.AppendDigits(t.hour, 2);
    out.AppendDigits(t.minute, 2);
    return true;
}

bool AppendDayKey(std::string_view stored, KeyText& out) {
    CalendarDate d;
    if (!ReadDate(stored, d)) return false;
    out.AppendDigits(d.day, 1);
    return true;
}

std::string FormatDateText(const std::string& stored) {
    CalendarDate d;
    if (!ReadDate(stored, d)) return stored;
    KeyText k;
    k.AppendDigits(d.year, 4);
    k.Append('-');
    k.AppendDigits(d.month, 2);
    k.Append('-');
    k.AppendDigits(d.day, 2);
    return std::string(k.View());
}

std::string FormatTimeText(const std::string& stored) {
    TimeOfDay t;
    if (!ReadTime(stored, t)) return stored;
    KeyText k;
    k.AppendDigits(t.hour, 2);
    k.Append(':');
    k.AppendDigits(t.minute, 2);
    return std::string(k.View());
}

}  // namespace ts
