// The record a computation starts from: the numbers the gate accepted, the
// edition and the load-code tables.

#include "InputParse.h"
#include "ProjectModel.h"
#include "WindResponse.h"

#include <gtest/gtest.h>

namespace tamsor {
namespace {

TEST(ComputationRecord, HoldsTheLoadCodeTables) {
    const ProjectModel m;
    // [edition][terrain A..D]; edition 0 = GB50009-201X, 1 = GB50009-2001.
    EXPECT_EQ(m.gradientHeight,
              (EditionTerrainTable{{{300, 350, 450, 550}, {300, 350, 400, 450}}}));
    EXPECT_EQ(m.terrainAlpha,
              (EditionTerrainTable{{{0.12, 0.15, 0.22, 0.30}, {0.12, 0.16, 0.22, 0.30}}}));
    EXPECT_EQ(m.terrainI10,
              (EditionTerrainTable{{{0.12, 0.14, 0.23, 0.39}, {0.088, 0.1136, 0.1668, 0.2784}}}));
    EXPECT_EQ(m.peakFactor, (std::array<double, 2>{2.5, 2.2}));
    EXPECT_FALSE(m.resultsComplete);
}

TEST(ComputationRecord, CarriesTheNumbersAndTheEdition) {
    ParsedInput numbers;
    numbers.nFreedom = 2;
    numbers.terrainType = 3;
    numbers.zCoord = {10, 20};
    numbers.modeShapes = {List{0.5, 1}, List{1, -1}, List{0}};
    numbers.w0 = 450;
    const ProjectModel m = computationRecord(numbers, Edition::GB2001);
    EXPECT_EQ(m.codeVersion, 1);
    EXPECT_EQ(m.nFreedom, 2);
    EXPECT_EQ(m.terrainType, 3);
    EXPECT_EQ(m.zCoord, numbers.zCoord);
    EXPECT_EQ(m.modeShape, (List{0.5, 1}));
    EXPECT_EQ(m.modeShape2, (List{1, -1}));
    EXPECT_EQ(m.w0, 450.0);
    EXPECT_TRUE(m.meanLoad.empty());
}

TEST(ComputationRecord, ComputingANewProjectFaultsWithoutCrashing) {
    // Every input is 0; the window's gate refuses this, the engine must not
    // crash if it is reached anyway.
    const std::optional<ParsedInput> numbers = parseProjectInput(ProjectInput{});
    ASSERT_TRUE(numbers);
    ProjectModel m = computationRecord(*numbers, Edition::GB201X);
    const auto fault = computeWindResponse(m);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->quantity, "第1质点的湍流强度");
    EXPECT_FALSE(m.resultsComplete);
}

} // namespace
} // namespace tamsor
