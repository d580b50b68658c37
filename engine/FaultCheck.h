#pragma once

// Internal to the engine: how a step's result is tested for an arithmetic
// fault. The floating-point exception flags catch faults whose trace a later
// operation hides (pow(x/0, 0) is 1, 1/inf is 0); the finiteness test catches
// non-finite inputs and anything the flags miss.

#include "Fault.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace tamsor::detail {

inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

inline void clearFaultFlags() {
    std::feclearexcept(kFaultFlags);
}

// The computation tests and clears the exception flags; the caller gets its
// own flags back when this goes out of scope.
class ExceptionFlagsKeeper {
public:
    ExceptionFlagsKeeper() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~ExceptionFlagsKeeper() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ExceptionFlagsKeeper(const ExceptionFlagsKeeper&) = delete;
    ExceptionFlagsKeeper& operator=(const ExceptionFlagsKeeper&) = delete;

private:
    std::fexcept_t saved_{};
};

[[nodiscard]] inline bool stepFailed(double value) {
    return std::fetestexcept(kFaultFlags) != 0 || !std::isfinite(value);
}

[[nodiscard]] inline FaultReason reasonFor(double value) {
    const int raised = std::fetestexcept(kFaultFlags);
    if (raised & FE_DIVBYZERO)
        return FaultReason::DivisionByZero;
    if (raised & FE_INVALID)
        return FaultReason::InvalidOperation;
    if (raised & FE_OVERFLOW)
        return FaultReason::Overflow;
    return std::isnan(value) ? FaultReason::InvalidOperation : FaultReason::Overflow;
}

// "第3质点的" + name for a point (1-based), the bare name otherwise.
[[nodiscard]] inline std::string quantityName(const char* name, int point) {
    if (point <= 0)
        return name;
    return "第" + std::to_string(point) + "质点的" + name;
}

} // namespace tamsor::detail
