#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace tamsor {
namespace {

// Every expected text below was worked out by hand from the decimal value and
// the rule in NumberFormat.h (15 significant digits, then half away from zero).

TEST(FormatFixed, RoundsExactHalvesOfTheDecimalValueAwayFromZero) {
    // The doubles nearest to these decimals lie just below the half
    // (2.67499999999999982236431605997495353221893310546875 and so on); the
    // value as typed decides.
    EXPECT_EQ(formatFixed(2.675, 2), "2.68");
    EXPECT_EQ(formatFixed(1.005, 2), "1.01");
    EXPECT_EQ(formatFixed(0.285, 2), "0.29");
    EXPECT_EQ(formatFixed(0.125, 2), "0.13"); // an exact binary half
    EXPECT_EQ(formatFixed(-0.005, 2), "-0.01");
    EXPECT_EQ(formatFixed(-2.675, 2), "-2.68");
    EXPECT_EQ(formatFixed(0.0005, 3), "0.001");
    EXPECT_EQ(formatFixed(2.5, 0), "3");
    // Last-bit noise of arithmetic does not move the break ...
    EXPECT_EQ(formatFixed(std::nextafter(1.005, 0.0), 2), "1.01");
    EXPECT_EQ(formatFixed(0.1 + 0.2, 2), "0.30");
    // ... but a value below the half in its first 15 digits rounds down.
    EXPECT_EQ(formatFixed(2.67499999999999, 2), "2.67");
    EXPECT_EQ(formatFixed(-0.00499999999999, 2), "0.00");
}

TEST(FormatFixed, CarriesIntoNewIntegerDigits) {
    EXPECT_EQ(formatFixed(9.995, 2), "10.00");
    EXPECT_EQ(formatFixed(0.995, 2), "1.00");
    EXPECT_EQ(formatFixed(-99.995, 2), "-100.00");
    EXPECT_EQ(formatFixed(0.9995, 3), "1.000");
}

TEST(FormatFixed, ZeroAndValuesThatRoundToZeroHaveNoSign) {
    EXPECT_EQ(formatFixed(0.0, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.0, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.0004, 3), "0.000");
    EXPECT_EQ(formatFixed(1e-300, 2), "0.00");
    EXPECT_EQ(formatFixed(-4.9406564584124654e-324, 2), "0.00");
    EXPECT_EQ(formatFixed(0.0, 3), "0.000");
}

TEST(FormatFixed, PlainDigitsForOrdinaryAndLargeValues) {
    EXPECT_EQ(formatFixed(350.0 / 1000.0, 2), "0.35");
    EXPECT_EQ(formatFixed(0.05, 3), "0.050");
    EXPECT_EQ(formatFixed(-12.3, 2), "-12.30");
    EXPECT_EQ(formatFixed(1234567.891, 2), "1234567.89"); // no thousands separator
    EXPECT_EQ(formatFixed(123456789.125, 2), "123456789.13");
    EXPECT_EQ(formatFixed(1e20, 2), "100000000000000000000.00");
    // Beyond 15 significant digits the digits are zeros.
    EXPECT_EQ(formatFixed(1234567890123456.7, 2), "1234567890123460.00");
}

TEST(FormatScientific, MantissaExponentSignAndDigits) {
    EXPECT_EQ(formatScientific(0.0), "0.00E+00");
    EXPECT_EQ(formatScientific(-0.0), "0.00E+00");
    EXPECT_EQ(formatScientific(1.0), "1.00E+00");
    EXPECT_EQ(formatScientific(0.01234), "1.23E-02");
    EXPECT_EQ(formatScientific(-0.345), "-3.45E-01");
    EXPECT_EQ(formatScientific(1e-5), "1.00E-05");
    EXPECT_EQ(formatScientific(12345.0), "1.23E+04");
    EXPECT_EQ(formatScientific(-98765.0), "-9.88E+04");
    EXPECT_EQ(formatScientific(0.125), "1.25E-01");
}

TEST(FormatScientific, RoundsHalvesAwayFromZeroAndCarriesIntoTheExponent) {
    EXPECT_EQ(formatScientific(1.235), "1.24E+00"); // the double lies just below
    EXPECT_EQ(formatScientific(-1.235), "-1.24E+00");
    EXPECT_EQ(formatScientific(9.995), "1.00E+01");
    EXPECT_EQ(formatScientific(0.09995), "1.00E-01");
    EXPECT_EQ(formatScientific(9.99499999999), "9.99E+00");
}

TEST(FormatScientific, ThreeDigitExponents) {
    EXPECT_EQ(formatScientific(1.23456e+100), "1.23E+100");
    EXPECT_EQ(formatScientific(-1.23456e+100), "-1.23E+100");
    EXPECT_EQ(formatScientific(1e-300), "1.00E-300");
    EXPECT_EQ(formatScientific(1.5e308), "1.50E+308");
    EXPECT_EQ(formatScientific(4.9406564584124654e-324), "4.94E-324");
    EXPECT_EQ(formatScientific(1e99), "1.00E+99");
    EXPECT_EQ(formatScientific(9.999e99), "1.00E+100");
}

TEST(FormatInteger, DigitsWithSignOnly) {
    EXPECT_EQ(formatInteger(0), "0");
    EXPECT_EQ(formatInteger(7), "7");
    EXPECT_EQ(formatInteger(10), "10");
    EXPECT_EQ(formatInteger(-12), "-12");
    EXPECT_EQ(formatInteger(LLONG_MIN), "-9223372036854775808");
}

TEST(NumberForms, NonFiniteValuesAreNamed) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatFixed(std::nan(""), 2), "NaN");
    EXPECT_EQ(formatFixed(inf, 2), "Inf");
    EXPECT_EQ(formatScientific(-inf), "-Inf");
}

} // namespace
} // namespace tamsor
