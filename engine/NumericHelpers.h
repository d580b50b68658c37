#pragma once

#include "model/ProjectModel.h"

#include <vector>

namespace tamsor {

using Matrix = std::vector<std::vector<double>>;

// exp(-|z_i - z_j| / 60) for i, j in 0..n-1; n is nFreedom, not the list length.
[[nodiscard]] Matrix verticalCorrelation(const ProjectModel& model, const List& heights);
// Normalised Davenport spectral density S (s) at mean speed v (m/s), frequency f (Hz).
[[nodiscard]] double davenportSpectrum(double v, double f);
// Greatest and smallest element; the list must not be empty.
[[nodiscard]] double arrayMax(const List& values);
[[nodiscard]] double arrayMin(const List& values);

} // namespace tamsor
