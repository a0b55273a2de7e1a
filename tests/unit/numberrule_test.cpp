#include "dialogs/numberrule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ts {
namespace {

struct RuleCase {
    const char* typed;
    const char* shown;
};

TEST(NumberRule, TextsReduceToPlainNumbers) {
    const RuleCase cases[] = {
        {"", "0"},           {"7a", "7"},          {"2024abc", "2024"},   {"&H7F", "127"},
        {"&h7f", "127"},     {"&O17", "15"},       {"&H", "0"},           {"&HG", "0"},
        {"&HFFFF", "65535"}, {"05", "5"},          {"-5", "-5"},          {"-", "0"},
        {"+", "0"},          {".", "0"},           {".5", "0.5"},         {"-.5", "-0.5"},
        {"12.", "12"},       {"1.50", "1.5"},      {" 12", "12"},         {"  1 2", "12"},
        {"1\t2\n3", "123"},  {"1,5", "1"},         {"1e", "1"},           {"1e+", "1"},
        {"1e3", "1000"},     {"1E-2", "0.01"},     {"2.5E+1x", "25"},     {"abc", "0"},
        {"-0", "0"},         {"0.0001", "0.0001"}, {"0.00001", "1E-05"},  {"999999999999999", "999999999999999"},
        {"1000000000000000", "1E+15"},             {"123456789012345678", "1.23456789012346E+17"},
        {"1e20", "1E+20"},   {"0.1234567890123456", "0.123456789012346"}, {"1e400", "0"},
        {"30000", "30000"},  {"1\r2", "1"},
        {"1.7976931348623157e308", "1.79769313486231E+308"},  {"-1.7976931348623157e308", "-1.79769313486231E+308"},
        {"4.9e-324", "4.94065645841247E-324"},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ApplyNumberRule(c.typed), c.shown);
        EXPECT_EQ(ApplyNumberRule(c.shown), c.shown) << "the rule must be stable on its own output";
    }
}

TEST(NumberRule, NonFiniteValuesShowZero) {
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(FormatNumber(std::nan("")), "0");
    EXPECT_EQ(FormatNumber(-1e300 * 1e300), "0");
}

TEST(NumberRule, CaretStandsAfterWhatWasKept) {
    struct CaretCase {
        const char* beforeCaret;
        const char* ruled;
        std::size_t caret;
    } cases[] = {
        {"7a", "7", 1}, {"", "0", 1}, {"05", "5", 1}, {"12", "123", 2}, {"2024abc", "2024", 4}, {"1x", "1", 1},
    };
    for (const CaretCase& c : cases) {
        SCOPED_TRACE(c.beforeCaret);
        EXPECT_EQ(CaretAfterRule(c.beforeCaret, c.ruled), c.caret);
    }
}

}  // namespace
}  // namespace ts
