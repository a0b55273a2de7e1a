// The number rule of the settings fields: every field always holds a plain decimal number.
// Pure: no <windows.h>.
#pragma once

#include <cstddef>
#include <string>

namespace ts {

// The numeric value at the start of a text: blanks, tabs and line feeds are ignored wherever
// they stand; sign, digits, point, digits, exponent; "&H" hexadecimal and "&O" octal (read as
// unsigned values). Reading stops at the first character that cannot continue; no number gives 0.
double ReadNumericValue(const std::string& text);

// Decimal text of a value: no leading zeros, a fraction only if there is one, at most 15
// significant digits, exponent form (1E+20, 1E-05) from 1E+15 up and below 0.0001.
// Values beyond the double range, and NaN, show as 0.
std::string FormatNumber(double value);

// The text a field shows after the rule.
std::string ApplyNumberRule(const std::string& text);

// Where the caret stands after the rule replaced the text: after what the rule kept of the
// text before the caret. Counted in characters of `ruled` (which is ASCII).
std::size_t CaretAfterRule(const std::string& textBeforeCaret, const std::string& ruled);

}  // namespace ts
