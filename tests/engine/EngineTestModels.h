#pragma once

// Models shared by the engine tests, built on a new record (its load-code
// tables are filled).

#include "ProjectModel.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tamsor::test {

// Relative tolerance for values worked out independently (python3, double
// precision, printed to ten digits): the engine follows a different but
// equivalent operation order, so only rounding separates the two. Tight
// enough to tell the seven-decimal pi from the full one.
inline constexpr double kRelTol = 1e-9;

#define EXPECT_REL(actual, expected)                                                               \
    EXPECT_NEAR((actual), (expected), ::tamsor::test::kRelTol* std::fabs(expected))

// One mass point: new code, terrain B, z = 10 m, A = 10 m^2, mu_s = 1.3,
// w0 = 500 N/m^2, m = 10 t, f1 = 1 Hz, zeta1 = 0.05, phi = 1, B = 0.
inline ProjectModel onePointModel(std::int16_t codeVersion = 0) {
    ProjectModel m;
    m.codeVersion = codeVersion;
    m.terrainType = 2;
    m.nFreedom = 1;
    m.zCoord = {10.0};
    m.windArea = {10.0};
    m.shapeCoef = {1.3};
    m.mass = {10.0};
    m.modeShape = {1.0};
    m.freq = {1.0};
    m.dampRatio = {0.05};
    m.structWidth = 0.0;
    m.w0 = 500.0;
    return m;
}

// Three mass points: z = 20, 40, 60 m, A = 30, 30, 25 m^2, mu_s = 1.3, 1.3,
// 1.4, m = 50, 40, 30 t, phi = 0.15, 0.55, 1.0, f1 = 0.8 Hz, zeta1 = 0.04,
// B = 30 m, w0 = 550 N/m^2. Terrain C (new code) unless changed.
inline ProjectModel threePointModel(std::int16_t codeVersion = 0, std::int16_t terrainType = 3) {
    ProjectModel m;
    m.codeVersion = codeVersion;
    m.terrainType = terrainType;
    m.nFreedom = 3;
    m.zCoord = {20.0, 40.0, 60.0};
    m.windArea = {30.0, 30.0, 25.0};
    m.shapeCoef = {1.3, 1.3, 1.4};
    m.mass = {50.0, 40.0, 30.0};
    m.modeShape = {0.15, 0.55, 1.0};
    m.modeShape2 = {0.0, 0.0, 0.0};
    m.modeShape3 = {0.0, 0.0, 0.0};
    m.freq = {0.8};
    m.dampRatio = {0.04};
    m.structWidth = 30.0;
    m.w0 = 550.0;
    return m;
}

} // namespace tamsor::test
