// Reading stored date and time texts and writing them in the list and comparison forms.
// Pure: no <windows.h>. The key writers never allocate; the tick runs them every second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ts {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The program stores "yyyy-mm-dd" and "hh:mm"; a hand-edited file may hold
// 2024-5-1, 2024/05/01, 2024.5.1, 2024年5月1日, 9:5, 09:05:30 or 9:05 PM. Blanks around are
// allowed, and a date may carry a time after a blank (and the reverse: the time of such a
// text reads as its time). False for anything else, including dates that do not exist.
bool ReadDate(std::string_view text, CalendarDate& out);
bool ReadTime(std::string_view text, TimeOfDay& out);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Short text on the stack for comparison keys: the longest key is a 32-bit number and a
// four-digit time. Appending past the capacity is dropped, never written out of bounds.
class KeyText {
public:
    static constexpr std::size_t kCapacity = 32;

    void Append(std::string_view s);
    void Append(char c);
    void AppendNumber(std::int64_t value);
    void AppendDigits(int value, int width);  // zero-padded to `width`, value >= 0
    void Clear() { size_ = 0; }

    std::string_view View() const { return std::string_view(text_, size_); }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

private:
    char text_[kCapacity];
    std::size_t size_ = 0;
};

// Comparison keys of stored texts: "yyyymmdd", "hhmm" and "d". Empty or unreadable text
// appends nothing and returns false.
bool AppendDateKey(std::string_view stored, KeyText& out);
bool AppendTimeKey(std::string_view stored, KeyText& out);
bool AppendDayKey(std::string_view stored, KeyText& out);

// Display forms for the lists: "yyyy-mm-dd" and "hh:mm". Empty text gives empty text; a text
// that does not read as a date or time comes back as stored, so the user sees what the file holds.
std::string FormatDateText(const std::string& stored);
std::string FormatTimeText(const std::string& stored);

}  // namespace ts
