#pragma once

#include <string>
#include <variant>

namespace tamsor {

// Why a computation stopped.
enum class FaultReason {
    InvalidOperation, // 0/0, square root or fractional power of a negative number, ...
    DivisionByZero,   // a finite non-zero number divided by zero (also zero to a negative power)
    Overflow,         // a result too large for a double
    OutOfRange,       // a count, code edition or terrain category outside its range
    MissingData,      // an input list holds fewer values than there are mass points
};

// A fault of the computation, met while forming the named quantity. The
// computation stops at the first one.
struct ComputeFault {
    std::string quantity; // UTF-8, Chinese, e.g. "第2质点的风振系数"
    FaultReason reason = FaultReason::InvalidOperation;

    // Text for the user: "计算出错：" followed by the quantity and the reason,
    // e.g. "计算出错：第2质点的风振系数，除数为零。".
    [[nodiscard]] std::string message() const;
};

// Short Chinese wording of a reason, e.g. "除数为零".
[[nodiscard]] const char* reasonText(FaultReason reason);

template <typename T> using Outcome = std::variant<T, ComputeFault>;

} // namespace tamsor
