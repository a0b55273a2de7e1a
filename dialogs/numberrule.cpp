#include "dialogs/numberrule.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ts {

namespace {

bool Ignored(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

double ReadNumericValue(const std::string& text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!Ignored(c)) s.push_back(c);
    }
    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double value = 0;
        for (i = 2; i < s.size(); ++i) {
            int d = DigitValue(s[i], base);
            if (d < 0) break;
            value = value * base + d;
        }
        return value;
    }
    // Collect the longest prefix that is a number.
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
    bool digits = false;
    while (i < s.size() && IsDigit(s[i])) {
        number.push_back(s[i++]);
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back(s[i++]);
        while (i < s.size() && IsDigit(s[i])) {
            number.push_back(s[i++]);
            digits = true;
        }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
        bool expDigits = false;
        while (j < s.size() && IsDigit(s[j])) {
            exponent.push_back(s[j++]);
            expDigits = true;
        }
        if (expDigits) number += exponent;
    }
    // The program never changes the C library's locale, so strtod reads '.' as the point.
    return std::strtod(number.c_str(), nullptr);
}

std::string FormatNumber(double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    // Fifteen digits round the largest doubles up beyond the double range, and the text would read
    // back as nothing: show the largest fifteen-digit value that reads back instead.
    const double largest = 1.79769313486231e308;
    if (std::fabs(value) > largest) value = std::copysign(largest, value);
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.14e", value);  // 15 significant digits, rounded
    // buffer: [-]d.dddddddddddddde[+-]xx
    std::string text = buffer;
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    const std::size_t ePos = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, ePos - 2);
    const int exponent = std::atoi(text.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        char e[16];
        std::snprintf(e, sizeof(e), "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + e;
    }
    if (exponent < 0) return out + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) return out + digits + std::string(integerDigits - digits.size(), '0');
    return out + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

std::string ApplyNumberRule(const std::string& text) { return FormatNumber(ReadNumericValue(text)); }

std::size_t CaretAfterRule(const std::string& textBeforeCaret, const std::string& ruled) {
    const std::size_t kept = ApplyNumberRule(textBeforeCaret).size();
    return kept < ruled.size() ? kept : ruled.size();
}

}  // namespace ts
