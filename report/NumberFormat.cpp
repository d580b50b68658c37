#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace tamsor {

namespace {

// Significant digits a double is read with before it is rounded to a form.
constexpr int kSignificantDigits = 15;

// A positive finite number as kSignificantDigits decimal digits d1 d2 ... and
// the power of ten of d1: value = d1.d2d3... x 10^exponent.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits toDecimalDigits(double magnitude) {
    // "d.dddddddddddddde+XX", correctly rounded from the binary value.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer,
                                ec == std::errc{} ? static_cast<std::size_t>(end - buffer) : 0);
    DecimalDigits result;
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos || e < 1) {
        result.digits.push_back('0'); // not = "0", which GCC 12 takes for an overlapping copy
        return result;
    }
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') {
            result.digits.push_back(text[i]);
        }
    }
    std::size_t pos = e + 1;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negativeExponent = text[pos] == '-';
        ++pos;
    }
    int exponent = 0;
    std::from_chars(text.data() + pos, text.data() + text.size(), exponent);
    result.exponent = negativeExponent ? -exponent : exponent;
    return result;
}

// The first `keep` digits of `digits`, rounded half away from zero on the
// digit that follows; missing digits are zeros. A carry out of the first digit
// makes the result one digit longer ("999" kept to 2 gives "100"). With keep 0
// the result is "1" or empty (zero), with keep < 0 always empty.
std::string roundDigits(const std::string& digits, int keep) {
    if (keep < 0) {
        return {};
    }
    const auto count = static_cast<std::size_t>(keep);
    if (count >= digits.size()) {
        return digits + std::string(count - digits.size(), '0');
    }
    std::string kept = digits.substr(0, count);
    if (digits[count] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') {
            kept[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i - 1];
        }
    }
    return kept;
}

bool allZeros(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

std::string notFinite(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Inf" : "Inf";
}

} // namespace

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return notFinite(value);
    }
    if (decimals < 0) {
        decimals = 0;
    }
    // The result as a whole number of units of 10^-decimals.
    std::string units;
    if (value != 0.0) {
        const DecimalDigits decimal = toDecimalDigits(std::fabs(value));
        units = roundDigits(decimal.digits, decimal.exponent + 1 + decimals);
    }
    const bool negative = value < 0 && !allZeros(units);
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (units.size() < width) {
        units.insert(0, width - units.size(), '0');
    }
    std::string text;
    if (negative) {
        text.push_back('-');
    }
    const std::size_t integerDigits = units.size() - static_cast<std::size_t>(decimals);
    text.append(units, 0, integerDigits);
    if (decimals > 0) {
        text.push_back('.');
        text.append(units, integerDigits, std::string::npos);
    }
    return text;
}

std::string formatScientific(double value) {
    if (!std::isfinite(value)) {
        return notFinite(value);
    }
    std::string mantissa = "000";
    int exponent = 0;
    if (value != 0.0) {
        const DecimalDigits decimal = toDecimalDigits(std::fabs(value));
        mantissa = roundDigits(decimal.digits, 3);
        exponent = decimal.exponent;
        if (mantissa.size() > 3) { // 9.995 became 10.0
            mantissa.resize(3);
            ++exponent;
        }
    }
    std::string text;
    if (value < 0) {
        text.push_back('-');
    }
    text.push_back(mantissa[0]);
    text.push_back('.');
    text.append(mantissa, 1, 2);
    text.push_back('E');
    text.push_back(exponent < 0 ? '-' : '+');
    std::string digits = formatInteger(exponent < 0 ? -static_cast<long long>(exponent) : exponent);
    if (digits.size() < 2) {
        text.push_back('0');
    }
    text += digits;
    return text;
}

std::string formatInteger(long long value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc{} ? std::string(buffer, end) : std::string();
}

std::string formatExact(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc{}) {
        return {};
    }
    return std::string(buffer, end);
}

} // namespace tamsor
