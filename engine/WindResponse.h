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
// A run that succeeds also forms the derived results (deriveResults).
[[nodiscard]] std::optional<ComputeFault> computeWindResponse(ProjectModel& model);

// Forms what is read off the stored results: the mean, fluctuating, total and
// LRC base shears and overturning moments, each point's total displacement,
// the resonant component of the LRC load, the load corrected by C and the
// peak along-wind acceleration of the first mode's resonant response. These
// never stop a computation: a value that overflows stays infinite (or NaN)
// and the outputs that show it refuse. Does nothing when a list is shorter
// than nFreedom.
void deriveResults(ProjectModel& model);

} // namespace tamsor
