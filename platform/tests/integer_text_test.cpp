#include "platform/integer_text.h"

#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

TEST(IntegerText, AcceptsDecimalAndHexadecimalForms) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"12", 12},
        {"  12", 12},
        {"+7", 7},
        {"-3", -3},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$0C", 12},
        {"0x0c", 12},
        {"X1f", 31},
        {"$FFFFFFFF", -1},
        {"0XFFFFFFFF", -1},
        {"$80000000", INT32_MIN},
    };
    for (const auto& [text, value] : cases) {
        const auto parsed = parseIntegerText(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(*parsed, value) << text;
    }
}

TEST(IntegerText, RefusesEverythingElse) {
    const char* cases[] = {"",           " ",           "+",           "-",          "$",
                           "0x",         "12 ",         "\t12",        "abc",        "1e3",
                           "2147483648", "-2147483649", "99999999999", "$100000000", "-$1",
                           "+0x1",       "1,000",       "$ 1"};
    for (const char* text : cases)
        EXPECT_FALSE(parseIntegerText(text).has_value()) << '"' << text << '"';
}

TEST(IntegerText, DecimalTextHasNoPlusPaddingOrBlanks) {
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(100), "100");
    EXPECT_EQ(decimalText(-5), "-5");
    EXPECT_EQ(decimalText(INT32_MIN), "-2147483648");
}

} // namespace
} // namespace ordinalette::platform
