// The number rule of the settings fields on any text, and as a field applies it while the user types:
// the shown text is a fixed point of the rule, it reads back as the value it shows, the caret stays
// inside it, and no sequence of edits makes it grow.
#include "dialogs/numberrule.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// "-1.23456789012345E+308": sign, 15 digits, point, exponent.
constexpr std::size_t kLongestShown = 22;

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckShown(const std::string& shown, double value) {
    Check(!shown.empty() && shown.size() <= kLongestShown);
    Check(ts::ApplyNumberRule(shown) == shown);
    const double again = ts::ReadNumericValue(shown);
    if (!std::isfinite(value)) {
        Check(shown == "0");
    } else if (shown != "0") {
        // Fifteen significant digits: what is shown is the value, rounded.
        Check(std::fabs(again - value) <= std::fabs(value) * 1e-14);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(200);
    const double value = ts::ReadNumericValue(text);
    const std::string shown = ts::ApplyNumberRule(text);
    CheckShown(shown, value);
    Check(ts::FormatNumber(value) == shown);
    const std::size_t cut = in.ConsumeIntegralInRange<std::size_t>(0, text.size());
    Check(ts::CaretAfterRule(text.substr(0, cut), shown) <= shown.size());

    // A field: each edit puts a piece of text at the caret (typed or pasted over a selection), the
    // rule replaces the whole text, and the caret goes where the rule says.
    std::string field = "0";
    std::size_t caret = 1;
    for (int edits = 0; edits < 16 && in.remaining_bytes() > 0; ++edits) {
        const std::size_t selected = in.ConsumeIntegralInRange<std::size_t>(0, field.size() - caret);
        const std::string piece = in.ConsumeRandomLengthString(24);
        const std::string typed = field.substr(0, caret) + piece + field.substr(caret + selected);
        const std::string ruled = ts::ApplyNumberRule(typed);
        CheckShown(ruled, ts::ReadNumericValue(typed));
        caret = ts::CaretAfterRule(typed.substr(0, caret + piece.size()), ruled);
        Check(caret <= ruled.size());
        field = ruled;
        if (!field.empty()) caret = in.ConsumeIntegralInRange<std::size_t>(0, field.size());
    }
    return 0;
}
