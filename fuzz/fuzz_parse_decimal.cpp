// parseDecimal on arbitrary text. An accepted text must give a finite value
// equal to what the C library makes of the same text, and adding blanks around
// a text must not change the verdict.

#include "FuzzCheck.h"
#include "NumberParse.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = tamsor::parseDecimal(text);

    const std::optional<double> padded = tamsor::parseDecimal(" \t" + text + "\t ");
    TAMSOR_FUZZ_CHECK(padded.has_value() == value.has_value());
    if (!value)
        return 0;

    TAMSOR_FUZZ_CHECK(std::isfinite(*value));
    TAMSOR_FUZZ_CHECK(std::signbit(*padded) == std::signbit(*value) && *padded == *value);

    // Only plain decimal characters can make a number.
    for (char c : text) {
        const bool plain = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' ||
                           c == '-' || c == ' ' || c == '\t';
        TAMSOR_FUZZ_CHECK(plain);
    }

    // The C library, in the "C" locale of this process, agrees on the value
    // (both round to the nearest double, tiny values to a signed zero or a
    // subnormal).
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    const std::string trimmed = text.substr(begin, end - begin + 1);
    char* stop = nullptr;
    errno = 0;
    const double reference = std::strtod(trimmed.c_str(), &stop);
    TAMSOR_FUZZ_CHECK(stop == trimmed.c_str() + trimmed.size());
    TAMSOR_FUZZ_CHECK(reference == *value);
    TAMSOR_FUZZ_CHECK(std::signbit(reference) == std::signbit(*value));
    return 0;
}
