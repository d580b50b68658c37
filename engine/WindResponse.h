#pragma once

#include "Fault.h"
#include "ProjectModel.h"

#include <optional>

namespace tamsor {

// pi as the engine uses it throughout: seven decimals, not full precision.
inline constexpr double kEnginePi = 3.1415926;

// Runs the whole computation on the model and writes every result into it.
// Returns std::nullopt on success (resultsComplete set), or the first fault met
// (resultsComplete stays false; the result lists hold whatever was formed).
[[nodiscard]] std::optional<ComputeFault> computeWindResponse(ProjectModel& model);

} // namespace tamsor
