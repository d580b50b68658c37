#pragma once

// Generated projects whose reports and books the tests of report/ and pdf/
// read.

#include "NumberFormat.h"
#include "ProjectInput.h"

#include <cmath>
#include <string>

namespace tamsor::test {

// Project k of a family that runs through every point count, terrain and
// kind of tail (none; a diameter; a building with a 10-year pressure; all
// three), with plausible numbers.
inline ProjectInput generatedProject(int k) {
    ProjectInput p;
    p.pointCount = 1 + (k * 3) % 10;
    p.terrain = 1 + k % 4;
    const auto list = [&p](auto value) {
        std::string text;
        for (int i = 1; i <= p.pointCount; ++i)
            text += (i > 1 ? ";" : "") + formatExact(value(i));
        return text;
    };
    const double storey = 8.0 + k % 5;
    p.heights = list([&](int i) { return storey * i; });
    p.areas = list([&](int i) { return i == p.pointCount ? 20.0 + k : 40.0 + 2 * k; });
    p.masses = list([&](int i) { return 300.0 - 10 * i + 5 * k; });
    p.modeShapes[0] =
        list([&](int i) { return std::pow(static_cast<double>(i) / p.pointCount, 1.4); });
    p.shapeCoefficients = k % 2 == 0 ? "1.3" : "0.8";
    p.frequencies = formatExact(0.3 + 0.07 * k);
    p.dampingRatios = formatExact(0.01 + 0.01 * (k % 5));
    p.width = formatExact(10.0 * (k % 3));
    p.windPressure = formatExact(0.3 + 0.05 * (k % 7));
    if (k % 4 == 1 || k % 4 == 3)
        p.diameter = formatExact(3.0 + k % 4);
    if (k % 4 == 2 || k % 4 == 3) {
        p.structureType = k % 4 == 2 ? "2" : "1";
        p.w10 = formatExact(0.2 + 0.02 * (k % 5));
    }
    return p;
}

} // namespace tamsor::test
