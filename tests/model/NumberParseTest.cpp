#include "NumberParse.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace tamsor {
namespace {

TEST(ParseDecimal, AcceptsPlainDecimalForms) {
    const std::vector<std::pair<const char*, double>> cases = {
        {"12", 12.0},
        {"-0.35", -0.35},
        {"1.5e3", 1500.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"+2", 2.0},
        {"-.25", -0.25},
        {"1E-2", 0.01},
        {"1e+2", 100.0},
        {"2.5E+01", 25.0},
        {"007", 7.0},
        {"0", 0.0},
        {"  7", 7.0},
        {"7  ", 7.0},
        {"\t7\t", 7.0},
        {" \t-3.5e0 \t", -3.5},
        {"1e308", 1e308},
        {"0.001e310", 1e307},
        {"123456789012345678901234567890", 1.2345678901234568e29},
    };
    for (const auto& [text, expected] : cases) {
        const auto value = parseDecimal(text);
        ASSERT_TRUE(value.has_value()) << '"' << text << '"';
        EXPECT_DOUBLE_EQ(*value, expected) << '"' << text << '"';
    }
}

TEST(ParseDecimal, RefusesEverythingElse) {
    const std::vector<const char*> cases = {
        // empty or no digits
        "",
        " ",
        "\t",
        ".",
        "+",
        "-",
        "+.",
        "e5",
        ".e1",
        // incomplete or doubled parts
        "1e",
        "1e+",
        "1E-",
        "1.2.3",
        "0.4.5",
        "--1",
        "+-1",
        "1e5e5",
        "1e1.5",
        // words and other notations
        "inf",
        "-inf",
        "INF",
        "infinity",
        "nan",
        "NaN",
        "0x10",
        "0X1p3",
        "1d5",
        "1f",
        // separators, currency, inner blanks, list syntax
        "1,5",
        "1,000",
        "1 000",
        "1'000",
        "$5",
        "5$",
        "\xC2\xA5"
        "5",
        "1 e5",
        "1e 5",
        "- 1",
        "1;2",
        "1;",
        "\xEF\xBC\x91", // fullwidth digit one
        // other whitespace is not a blank
        "1\n",
        "\r1",
        "1\r",
        // beyond the range of a double
        "1e999",
        "-1e999",
        "1.8e308",
        "1000e306",
        "1e99999999999999999999",
    };
    for (const char* text : cases)
        EXPECT_FALSE(parseDecimal(text).has_value()) << '"' << text << '"';
}

TEST(ParseDecimal, EmbeddedNulIsNotANumber) {
    EXPECT_FALSE(parseDecimal(std::string_view("1\0"
                                               "2",
                                               3))
                     .has_value());
}

// Values below the smallest double are numbers too small to represent: they
// become the nearest double, a zero that keeps the sign.
TEST(ParseDecimal, UnderflowGivesNearestDouble) {
    const auto tiny = parseDecimal("1e-400");
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(*tiny, 0.0);
    EXPECT_FALSE(std::signbit(*tiny));

    const auto negativeTiny = parseDecimal("-1e-400");
    ASSERT_TRUE(negativeTiny.has_value());
    EXPECT_EQ(*negativeTiny, 0.0);
    EXPECT_TRUE(std::signbit(*negativeTiny));

    for (const char* text : {"1e-99999999999999999999", "100000e-330", "0.0000001e-318"}) {
        const auto value = parseDecimal(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, 0.0) << text;
    }

    const auto subnormal = parseDecimal("4e-320");
    ASSERT_TRUE(subnormal.has_value());
    EXPECT_GT(*subnormal, 0.0);
    EXPECT_LT(*subnormal, 1e-300);

    const auto zeroMantissa = parseDecimal("0e99999999999999999999");
    ASSERT_TRUE(zeroMantissa.has_value());
    EXPECT_EQ(*zeroMantissa, 0.0);
}

// Restores the process locale however the test ends.
class LocaleGuard {
public:
    LocaleGuard() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
    }
    ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

private:
    std::string saved_;
};

TEST(ParseDecimal, IgnoresACommaDecimalLocale) {
    LocaleGuard guard;
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 missing";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    const auto value = parseDecimal("1.5");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, 1.5);
    const auto exponent = parseDecimal("-2.25e1");
    ASSERT_TRUE(exponent.has_value());
    EXPECT_EQ(*exponent, -22.5);
    EXPECT_FALSE(parseDecimal("1,5").has_value());
}

} // namespace
} // namespace tamsor
