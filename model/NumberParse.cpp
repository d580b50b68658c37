#include "NumberParse.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace tamsor {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

// The syntax is checked here character by character; std::from_chars only
// converts a text already known to be a plain decimal number. from_chars on its
// own would take "inf", "nan" and "1e" (as 1), and refuses "+1", so it is never
// handed the raw text.
//
// A value too small for a double (1e-400) is taken as the nearest double, a
// zero of the same sign: it is a number, only below the resolution of the
// type. A value too large (1e999) is not a number.
std::optional<double> parseDecimal(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const std::string_view s = text.substr(begin, end - begin);

    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    const std::size_t intBegin = pos;
    while (pos < s.size() && isDigit(s[pos]))
        ++pos;
    const std::string_view intDigits = s.substr(intBegin, pos - intBegin);
    std::string_view fracDigits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        const std::size_t fracBegin = pos;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos;
        fracDigits = s.substr(fracBegin, pos - fracBegin);
    }
    if (intDigits.empty() && fracDigits.empty())
        return std::nullopt;

    bool expNegative = false;
    std::string_view expDigits;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
            expNegative = s[pos] == '-';
            ++pos;
        }
        const std::size_t expBegin = pos;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos;
        expDigits = s.substr(expBegin, pos - expBegin);
        if (expDigits.empty())
            return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;

    // Canonical form for from_chars: [-]digits[.digits][e[-]digits].
    std::string canonical;
    canonical.reserve(s.size() + 2);
    if (negative)
        canonical += '-';
    canonical += intDigits.empty() ? std::string_view("0") : intDigits;
    if (!fracDigits.empty()) {
        canonical += '.';
        canonical += fracDigits;
    }
    if (!expDigits.empty()) {
        canonical += 'e';
        if (expNegative)
            canonical += '-';
        canonical += expDigits;
    }

    double value = 0.0;
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the decimal order of the first
        // significant digit: value = 0.d1d2... * 10^order.
        const std::string digits = std::string(intDigits) + std::string(fracDigits);
        const std::size_t firstNonZero = digits.find_first_not_of('0');
        if (firstNonZero == std::string::npos)
            return negative ? -0.0 : 0.0;
        constexpr long long kCap = 1'000'000'000LL;
        long long exponent = 0;
        for (char c : expDigits) {
            exponent = exponent * 10 + (c - '0');
            if (exponent > kCap) {
                exponent = kCap;
                break;
            }
        }
        if (expNegative)
            exponent = -exponent;
        const long long order = exponent + static_cast<long long>(intDigits.size()) -
                                static_cast<long long>(firstNonZero);
        if (order >= 1)
            return std::nullopt; // beyond the largest double
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace tamsor
