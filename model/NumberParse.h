#pragma once

#include <optional>
#include <string_view>

namespace tamsor {

// Parses a plain decimal number: optional blanks (space or tab) around it, an
// optional sign, digits with an optional decimal point (at least one digit in
// all, ".5" and "5." are numbers), and an optional exponent "e"/"E" with an
// optional sign and at least one digit. The whole text must be consumed.
// Independent of the process locale. "inf", "nan", hexadecimal forms, thousands
// separators, currency signs, an empty text and values outside the range of a
// 64-bit float (e.g. 1e999) are not numbers. A value too small for a 64-bit
// float is a number: it becomes the nearest double (1e-400 gives 0, -1e-400
// gives -0).
[[nodiscard]] std::optional<double> parseDecimal(std::string_view text);

} // namespace tamsor
