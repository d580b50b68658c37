#pragma once

#include <string>
#include <variant>

namespace tamsor {

// An arithmetic fault of the computation: an invalid operation, a division by
// zero or an overflow, met while forming the named quantity.
struct ComputeFault {
    std::string quantity; // UTF-8, Chinese, e.g. "第2质点的风振系数"
    // Text for the user: "计算出错：" followed by the quantity and the reason.
    [[nodiscard]] std::string message() const;
};

template <typename T> using Outcome = std::variant<T, ComputeFault>;

} // namespace tamsor
