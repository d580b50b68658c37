#pragma once

#include <string>

namespace tamsor {

// Number forms of the report and the plot labels, independent of the process
// locale: "0.00" (decimals = 2), "0.000" (decimals = 3) ...
[[nodiscard]] std::string formatFixed(double value, int decimals);
// ... and "0.00E+00": one digit, ".", two decimals, "E", exponent sign, at
// least two exponent digits.
[[nodiscard]] std::string formatScientific(double value);
// Decimal integer: digits with "-" when negative, no padding.
[[nodiscard]] std::string formatInteger(long long value);

} // namespace tamsor
