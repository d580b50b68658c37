#pragma once

#include "Edition.h"
#include "Fault.h"
#include "ParsedInput.h"
#include "Results.h"

namespace tamsor {

// pi as the engine uses it throughout: seven decimals, not full precision.
inline constexpr double kEnginePi = 3.1415926;

// Runs the whole computation on the numbers of an input under an edition:
// every raw result (one value per mass point in each list), or the first
// fault met. The counts, the list lengths, the edition and the terrain are
// checked before anything is read.
[[nodiscard]] Outcome<RawResults> computeWindResponse(const ParsedInput& numbers, Edition edition);

} // namespace tamsor
