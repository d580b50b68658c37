#pragma once

#include "ParsedInput.h"

#include <cstddef>
#include <vector>

namespace tamsor {

using Matrix = std::vector<std::vector<double>>;

// exp(-|z_i - z_j| / 60) for i, j in 0..n-1. If the list holds fewer than n
// heights, the result is an empty matrix (nothing is read beyond the list).
[[nodiscard]] Matrix verticalCorrelation(const List& heights, std::size_t n);
// Normalised Davenport spectral density S (s) at mean speed v (m/s), frequency
// f (Hz); f * S is the normalised spectrum. v = 0 or f = 0 gives a non-finite
// result and raises the floating-point exception flags.
[[nodiscard]] double davenportSpectrum(double v, double f);
// Greatest and smallest element. The list must not be empty; an empty list
// gives 0 rather than reading outside it.
[[nodiscard]] double arrayMax(const List& values);
[[nodiscard]] double arrayMin(const List& values);

} // namespace tamsor
