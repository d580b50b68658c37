#pragma once

// Inputs shared by the engine tests, as the numbers the command gate gives,
// and their computation.

#include "ParsedInput.h"
#include "ProjectInput.h"
#include "Results.h"

#include <cmath>
#include <stdexcept>
#include <variant>

#include <gtest/gtest.h>

namespace tamsor::test {

// Relative tolerance for values worked out independently (python3, double
// precision, printed to ten digits): the engine follows a different but
// equivalent operation order, so only rounding separates the two. Tight
// enough to tell the seven-decimal pi from the full one.
inline constexpr double kRelTol = 1e-9;

#define EXPECT_REL(actual, expected)                                                               \
    EXPECT_NEAR((actual), (expected), ::tamsor::test::kRelTol* std::fabs(expected))

// One mass point: terrain B, z = 10 m, A = 10 m^2, mu_s = 1.3, w0 = 500 N/m^2,
// m = 10 t, f1 = 1 Hz, zeta1 = 0.05, phi = 1, B = 0.
inline ParsedInput onePoint() {
    ParsedInput in;
    in.nFreedom = 1;
    in.terrainType = 2;
    in.zCoord = {10.0};
    in.windArea = {10.0};
    in.shapeCoef = {1.3};
    in.mass = {10.0};
    in.modeShapes[0] = {1.0};
    in.freq = {1.0};
    in.dampRatio = {0.05};
    in.structWidth = 0.0;
    in.w0 = 500.0;
    return in;
}

// Three mass points: z = 20, 40, 60 m, A = 30, 30, 25 m^2, mu_s = 1.3, 1.3,
// 1.4, m = 50, 40, 30 t, phi = 0.15, 0.55, 1.0, f1 = 0.8 Hz, zeta1 = 0.04,
// B = 30 m, w0 = 550 N/m^2. Terrain C unless changed.
inline ParsedInput threePoints(int terrainType = 3) {
    ParsedInput in;
    in.nFreedom = 3;
    in.terrainType = terrainType;
    in.zCoord = {20.0, 40.0, 60.0};
    in.windArea = {30.0, 30.0, 25.0};
    in.shapeCoef = {1.3, 1.3, 1.4};
    in.mass = {50.0, 40.0, 30.0};
    in.modeShapes = {List{0.15, 0.55, 1.0}, List{0.0}, List{0.0}};
    in.freq = {0.8};
    in.dampRatio = {0.04};
    in.structWidth = 30.0;
    in.w0 = 550.0;
    return in;
}

// The 100 m reinforced-concrete chimney of docs/verification.md
// (tests/data/files/chimney_crosswind.wvd) as typed: D = 6 m, terrain B,
// w0 = 0.5 kPa, T = 4 s / 1 s / 0.5 s, zeta = 0.05; the mode shapes of
// GB 50009-2012 table G.0.2.
inline ProjectInput chimneyInput() {
    ProjectInput in;
    in.pointCount = 10;
    in.modeCount = 3;
    in.terrain = 2;
    in.heights = "10;20;30;40;50;60;70;80;90;100";
    in.areas = "60;60;60;60;60;60;60;60;60;60";
    in.masses = "160;150;140;130;120;110;100;90;80;70";
    in.modeShapes = {"0.02;0.06;0.14;0.23;0.34;0.46;0.59;0.79;0.86;1",
                     "-0.09;-0.30;-0.53;-0.68;-0.71;-0.59;-0.32;0.07;0.52;1",
                     "0.23;0.61;0.76;0.53;0.02;-0.48;-0.66;-0.40;0.23;1"};
    in.shapeCoefficients = "0.6";
    in.frequencies = "0.25;1;2";
    in.dampingRatios = "0.05";
    in.width = "6";
    in.windPressure = "0.5";
    in.diameter = "6";
    in.structureType = "1";
    return in;
}

// The results of numbers under an edition (their input as typed is not
// looked at by the computation); a fault throws, which fails the test.
inline ResultsPtr computed(const ParsedInput& numbers, Edition edition = Edition::GB201X) {
    Outcome<ResultsPtr> outcome = compute(ProjectInput{}, numbers, edition);
    if (const auto* fault = std::get_if<ComputeFault>(&outcome))
        throw std::runtime_error(fault->message());
    return std::get<ResultsPtr>(outcome);
}

// The fault met computing numbers under an edition; results throw.
inline ComputeFault faultOf(const ParsedInput& numbers, Edition edition = Edition::GB201X) {
    Outcome<ResultsPtr> outcome = compute(ProjectInput{}, numbers, edition);
    if (const auto* fault = std::get_if<ComputeFault>(&outcome))
        return *fault;
    throw std::runtime_error("computed without a fault");
}

} // namespace tamsor::test
