#include "registry/regdata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace ts {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

TEST(RegData, ToHex8) {
    const struct {
        double number;
        const char* hex;
    } cases[] = {
        {0, "00000000"},
        {255, "000000FF"},
        {258, "00000102"},
        {2147483648.0, "80000000"},
        {4294967295.0, "FFFFFFFF"},
        {4294967296.0, "00000000"},  // only the lowest eight digits
        {4294967297.0, "00000001"},
        {-1, "FFFFFFFF"},
        {255.9, "000000FF"},
        {std::nan(""), "00000000"},
        {std::numeric_limits<double>::infinity(), "00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ToHex8(c.number), c.hex);
    }
}

TEST(RegData, DwordBytesLeastSignificantFirst) {
    const struct {
        double number;
        Bytes bytes;
    } cases[] = {
        {0, {0x00, 0x00, 0x00, 0x00}},
        {258, {0x02, 0x01, 0x00, 0x00}},
        {2147483648.0, {0x00, 0x00, 0x00, 0x80}},
        {4294967295.0, {0xFF, 0xFF, 0xFF, 0xFF}},
        {305419896, {0x78, 0x56, 0x34, 0x12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        auto bytes = DwordBytes(c.number);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(Bytes(bytes->begin(), bytes->end()), c.bytes);
    }
}

TEST(RegData, DwordBytesRefusesWhatIsNoDword) {
    const double refused[] = {-1, 4294967296.0, 1.5, -0.5, 4294967295.5, std::nan(""),
                              std::numeric_limits<double>::infinity()};
    for (double n : refused) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(DwordBytes(n).has_value());
    }
}

TEST(RegData, DwordText) {
    const struct {
        Bytes data;
        const char* text;
    } cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},  // unsigned, never -1
        {{0x00, 0x00, 0x00, 0x80}, "2147483648"},
        {{0x00, 0x00, 0x00, 0x00}, "0"},
        {{0x02, 0x01, 0x00, 0x00}, "258"},
        {{}, ""},
        {{0x02, 0x01, 0x00}, ""},
        {{0x02, 0x01, 0x00, 0x00, 0x00}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DwordText(c.data.data(), c.data.size()), c.text);
    }
}

TEST(RegData, BinaryText) {
    const struct {
        Bytes data;
        const char* text;
    } cases[] = {
        {{0x01, 0xAB, 0x00}, "01 AB 00"},
        {{}, ""},
        {{0x0F}, "0F"},
        {{0xFF, 0x10}, "FF 10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BinaryText(c.data.data(), c.data.size()), c.text);
    }
}

TEST(RegData, StoredTextValueDropsOneNulAndTrimsSpaces) {
    const struct {
        std::string stored;
        std::string text;
    } cases[] = {
        {"abc\0"s, "abc"},
        {"  abc def  \0"s, "abc def"},
        {"abc"s, "abc"},  // stored without a NUL: nothing of the text is lost
        {"\0"s, ""},
        {""s, ""},
        {"   \0"s, ""},
        {"a\0b\0\0"s, "a\0b\0"s},  // multi-string: the NUL after each string stays
        {"\tabc \r\0"s, "\tabc \r"},  // spaces only
        {"松汐定时关机 \0"s, "松汐定时关机"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StoredTextValue(c.stored), c.text);
    }
}

TEST(RegData, CutAtNul) {
    EXPECT_EQ(CutAtNul("abc\0def"s), "abc");
    EXPECT_EQ(CutAtNul("abc"), "abc");
    EXPECT_EQ(CutAtNul("\0abc"s), "");
}

}  // namespace
}  // namespace ts
