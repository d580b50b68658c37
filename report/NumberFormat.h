#pragma once

#include <string>

namespace tamsor {

// Number forms of the report and the plot labels. None of them looks at the
// process locale or Qt's default locale: the decimal point is always ".",
// there is never a thousands separator, and the digits come from
// std::to_chars.
//
// Rounding. A double is first read as the decimal number of 15 significant
// digits nearest to it (the precision that every double carries faithfully,
// so a value typed with up to 15 digits comes back exactly as typed, and the
// last-bit noise of arithmetic such as 0.1 + 0.2 disappears). That decimal
// number is then rounded half away from zero to the digits the form keeps:
//   formatFixed(2.675, 2) == "2.68"   (the double is 2.67499999999999982...)
//   formatFixed(0.125, 2) == "0.13",  formatFixed(-0.005, 2) == "-0.01"
//   formatFixed(1.005, 2) == "1.01"
// Digits beyond the 15th significant one are written as zeros.
//
// Sign. "-" is written only before a result that is not zero once rounded:
// -0.0, -0.001 in "0.00" and -0.0 in "0.00E+00" are all written without a
// sign ("0.00", "0.00E+00"), as the number written is zero.
//
// Values that are not finite are written as "NaN", "Inf" and "-Inf"; the
// report never writes them (it refuses such a project), the plots may.

// "0.00" (decimals = 2), "0.000" (decimals = 3), ...: fixed point, exactly
// `decimals` digits after the point (none and no point for 0), at least one
// digit before it.
[[nodiscard]] std::string formatFixed(double value, int decimals);
// "0.00E+00": one digit, ".", two decimals, "E", the exponent's sign (always
// written) and at least two exponent digits (three when needed: 1.23E+100).
// Zero is 0.00E+00; rounding may carry into the exponent (9.995 -> 1.00E+01).
[[nodiscard]] std::string formatScientific(double value);
// Decimal integer: digits with "-" when negative, no padding.
[[nodiscard]] std::string formatInteger(long long value);
// Full precision for files and the clipboard: the shortest text that reads
// back as the same double (1.5, 0.1, 1e-05, 12345.678901234567), empty for a
// value that is not a finite number.
[[nodiscard]] std::string formatExact(double value);

} // namespace tamsor
