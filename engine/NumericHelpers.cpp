#include "NumericHelpers.h"

#include <cmath>
#include <cstddef>

namespace tamsor {

Matrix verticalCorrelation(const List& heights, std::size_t n) {
    if (heights.size() < n)
        return {};
    Matrix r(n, List(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            r[i][j] = std::exp(-std::fabs(heights[i] - heights[j]) / 60.0);
    return r;
}

double davenportSpectrum(double v, double f) {
    const double x = (1200.0 / v) * f;
    return (2.0 * x * x / (3.0 * f)) / std::pow(1.0 + x * x, 4.0 / 3.0);
}

double arrayMax(const List& values) {
    if (values.empty())
        return 0.0;
    double current = values[0];
    for (std::size_t i = 1; i < values.size(); ++i)
        if (current < values[i])
            current = values[i];
    return current;
}

double arrayMin(const List& values) {
    if (values.empty())
        return 0.0;
    double current = values[0];
    for (std::size_t i = 1; i < values.size(); ++i)
        if (current > values[i])
            current = values[i];
    return current;
}

} // namespace tamsor
