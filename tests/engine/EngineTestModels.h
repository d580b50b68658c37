#pragma once

// Inputs shared by the engine tests, as the numbers the command gate gives,
// and their computation.

#include "ParsedInput.h"
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
