// The checks against the codes in force: the least wind vibration
// coefficient and the cut-off heights of the load code's height-coefficient
// table, each on both sides of its limit and under both editions.
//
// Reference height coefficients from the closed form (python3):
//
//   ZG = {0: [300, 350, 450, 550], 1: [300, 350, 400, 450]}
//   AL = {0: [.12, .15, .22, .30], 1: [.12, .16, .22, .30]}
//   def muz(ed, ter, z):
//       a, ab, zg = AL[ed][ter-1], AL[ed][1], ZG[ed][ter-1]
//       return (350/10)**(2*ab) * (10/zg)**(2*a) * (z/10)**(2*a)
//   [muz(ed, t, h) for t, h in zip((1, 2, 3, 4), (5, 10, 15, 30))]
//   muz(ed, 3, 14.99)
//
// A value one ulp past its limit, as the texts quote it: repr(math.nextafter(
// 1.2, 0)) and repr(math.nextafter(15, 0)).

#include "CodeChecks.h"

#include "EngineTestModels.h"
#include "WindResponse.h"

#include <array>
#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using Check = CodeFinding::Check;
using test::onePointModel;

// muz at the cut-off heights 5, 10, 15 and 30 m of terrains A to D.
constexpr std::array<std::array<double, 4>, 2> kMuZAtCutoff{{
    {1.0875872639929034, 1.0, 0.6505595570062833, 0.5073124873014356},
    {1.1677381641467866, 1.0, 0.7356572714008197, 0.6143940748557083},
}};
// muz at 14.99 m over terrain C.
constexpr std::array<double, 2> kMuZTerrainCJustBelow{0.6503686905687907, 0.7354414383059161};

ProjectModel computed(ProjectModel m) {
    EXPECT_FALSE(computeWindResponse(m).has_value());
    return m;
}

TEST(CodeChecks, CutoffHeightsAndTheFormulaThere) {
    for (std::int16_t edition : {0, 1}) {
        for (std::int16_t terrain = 1; terrain <= 4; ++terrain) {
            SCOPED_TRACE(testing::Message() << "edition " << edition << " terrain " << terrain);
            ProjectModel m = onePointModel(edition);
            m.terrainType = terrain;
            const std::optional<Cutoff> cutoff = cutoffFor(m);
            ASSERT_TRUE(cutoff.has_value());
            EXPECT_EQ(cutoff->height, (std::array{5.0, 10.0, 15.0, 30.0}[terrain - 1]));
            EXPECT_REL(cutoff->heightCoef, kMuZAtCutoff[edition][terrain - 1]);
        }
    }
    ProjectModel outside = onePointModel();
    outside.terrainType = 5;
    EXPECT_FALSE(cutoffFor(outside).has_value());
}

TEST(CodeChecks, WindVibCoefOnBothSidesOfItsLimit) {
    for (std::int16_t edition : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "edition " << edition);
        // The worked example: 1.956 (201X) or 1.683 (2001) at 10 m over B.
        ProjectModel m = computed(onePointModel(edition));
        EXPECT_TRUE(checkAgainstCodes(m).empty());

        m.windVibCoef[0] = 1.2;
        EXPECT_TRUE(checkAgainstCodes(m).empty());
        m.windVibCoef[0] = std::nextafter(1.2, 0.0);
        const std::vector<CodeFinding> findings = checkAgainstCodes(m);
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0], (CodeFinding{Check::WindVibCoefBelowMin, 1, 10.0,
                                            std::nextafter(1.2, 0.0), 1.2, 0.0}));
        EXPECT_EQ(findings[0].key(), "windVibCoefBelowMin");
        EXPECT_THAT(findings[0].text(),
                    testing::StartsWith("第1质点(z=10 m)的风振系数1.1999999999999997小于1.2："));
    }
}

TEST(CodeChecks, PointsBelowTheCutoffHeight) {
    for (std::int16_t edition : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "edition " << edition);
        ProjectModel m = onePointModel(edition);
        m.terrainType = 3;
        m.zCoord = {15.0};
        EXPECT_TRUE(checkAgainstCodes(computed(m)).empty());

        m.zCoord = {14.99};
        const std::vector<CodeFinding> findings = checkAgainstCodes(computed(m));
        ASSERT_EQ(findings.size(), 1u);
        const CodeFinding& f = findings[0];
        EXPECT_EQ(f.check, Check::BelowCutoffHeight);
        EXPECT_EQ(f.key(), "belowCutoffHeight");
        EXPECT_EQ(f.point, 1);
        EXPECT_EQ(f.height, 14.99);
        EXPECT_EQ(f.cutoffHeight, 15.0);
        EXPECT_REL(f.value, kMuZTerrainCJustBelow[edition]);
        EXPECT_REL(f.required, kMuZAtCutoff[edition][2]);

        m.zCoord = {std::nextafter(15.0, 0.0)};
        const std::vector<CodeFinding> justBelow = checkAgainstCodes(computed(m));
        ASSERT_EQ(justBelow.size(), 1u);
        EXPECT_THAT(justBelow[0].text(),
                    testing::StartsWith("第1质点(z=14.999999999999998 m)低于截断高度15 m："));
    }
}

TEST(CodeChecks, NothingWithoutUsableResults) {
    ProjectModel m = onePointModel();
    m.zCoord = {1.0};
    m.windVibCoef = {1.0};
    EXPECT_TRUE(checkAgainstCodes(m).empty()); // never computed
}

} // namespace
} // namespace tamsor
