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

#include <array>
#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using Check = CodeFinding::Check;
using test::computed;
using test::onePoint;

constexpr std::array<Edition, 2> kEditions{Edition::GB201X, Edition::GB2001};

// muz at the cut-off heights 5, 10, 15 and 30 m of terrains A to D.
constexpr std::array<std::array<double, 4>, 2> kMuZAtCutoff{{
    {1.0875872639929034, 1.0, 0.6505595570062833, 0.5073124873014356},
    {1.1677381641467866, 1.0, 0.7356572714008197, 0.6143940748557083},
}};
// muz at 14.99 m over terrain C.
constexpr std::array<double, 2> kMuZTerrainCJustBelow{0.6503686905687907, 0.7354414383059161};

TEST(CodeChecks, CutoffHeightsAndTheFormulaThere) {
    for (std::size_t e = 0; e < 2; ++e) {
        for (int terrain = 1; terrain <= 4; ++terrain) {
            SCOPED_TRACE(testing::Message() << "edition " << e << " terrain " << terrain);
            const std::optional<Cutoff> cutoff = cutoffFor(kEditions[e], terrain);
            ASSERT_TRUE(cutoff.has_value());
            EXPECT_EQ(cutoff->height, (std::array{5.0, 10.0, 15.0, 30.0}[terrain - 1]));
            EXPECT_REL(cutoff->heightCoef, kMuZAtCutoff[e][static_cast<std::size_t>(terrain - 1)]);
        }
    }
    EXPECT_FALSE(cutoffFor(Edition::GB201X, 5).has_value());
}

// The results of the one-point example with its wind vibration coefficient
// replaced.
Results withWindVibCoef(const Results& r, double windVibCoef) {
    RawResults raw = r.raw();
    raw.windVibCoef = {windVibCoef};
    return Results(r.input(), r.numbers(), r.edition(), raw);
}

TEST(CodeChecks, WindVibCoefOnBothSidesOfItsLimit) {
    for (Edition edition : kEditions) {
        SCOPED_TRACE(testing::Message() << "edition " << static_cast<int>(edition));
        // The worked example: 1.956 (201X) or 1.683 (2001) at 10 m over B.
        const ResultsPtr r = computed(onePoint(), edition);
        EXPECT_TRUE(checkAgainstCodes(*r).empty());

        EXPECT_TRUE(checkAgainstCodes(withWindVibCoef(*r, 1.2)).empty());
        const std::vector<CodeFinding> findings =
            checkAgainstCodes(withWindVibCoef(*r, std::nextafter(1.2, 0.0)));
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0], (CodeFinding{Check::WindVibCoefBelowMin, 1, 10.0,
                                            std::nextafter(1.2, 0.0), 1.2, 0.0}));
        EXPECT_EQ(findings[0].key(), "windVibCoefBelowMin");
        EXPECT_THAT(findings[0].text(),
                    testing::StartsWith("第1质点(z=10 m)的风振系数1.1999999999999997小于1.2："));
    }
}

TEST(CodeChecks, PointsBelowTheCutoffHeight) {
    for (std::size_t e = 0; e < 2; ++e) {
        SCOPED_TRACE(testing::Message() << "edition " << e);
        ParsedInput in = onePoint();
        in.terrainType = 3;
        in.zCoord = {15.0};
        EXPECT_TRUE(checkAgainstCodes(*computed(in, kEditions[e])).empty());

        in.zCoord = {14.99};
        const std::vector<CodeFinding> findings = checkAgainstCodes(*computed(in, kEditions[e]));
        ASSERT_EQ(findings.size(), 1u);
        const CodeFinding& f = findings[0];
        EXPECT_EQ(f.check, Check::BelowCutoffHeight);
        EXPECT_EQ(f.key(), "belowCutoffHeight");
        EXPECT_EQ(f.point, 1);
        EXPECT_EQ(f.height, 14.99);
        EXPECT_EQ(f.cutoffHeight, 15.0);
        EXPECT_REL(f.value, kMuZTerrainCJustBelow[e]);
        EXPECT_REL(f.required, kMuZAtCutoff[e][2]);

        in.zCoord = {std::nextafter(15.0, 0.0)};
        const std::vector<CodeFinding> justBelow = checkAgainstCodes(*computed(in, kEditions[e]));
        ASSERT_EQ(justBelow.size(), 1u);
        EXPECT_THAT(justBelow[0].text(),
                    testing::StartsWith("第1质点(z=14.999999999999998 m)低于截断高度15 m："));
    }
}

} // namespace
} // namespace tamsor
