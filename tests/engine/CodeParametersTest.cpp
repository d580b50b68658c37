// Load-code parameter selection, the height laws and the numeric helpers.
//
// Reference values (python3, pi not involved):
//   zG  = {0: [300, 350, 450, 550], 1: [300, 350, 400, 450]}
//   al  = {0: [.12, .15, .22, .30], 1: [.12, .16, .22, .30]}
//   mu_z(10) = (350/10)**(2*al[e][1]) * (10/zG[e][t])**(2*al[e][t])
//   V0 = sqrt(1.63*500) = 28.548204847240395
//   V10/V0 = (350/10)**al[e][1] * (10/zG[e][t])**al[e][t]
//   x = 1200/30*0.5; S = (2*x*x/(3*0.5)) / (1+x*x)**(4/3) = 0.180359724995745

#include "CodeParameters.h"
#include "NumericHelpers.h"

#include "EngineTestModels.h"

#include <array>
#include <cmath>
#include <variant>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::onePointModel;

CodeParameters select(ProjectModel& m) {
    auto outcome = selectCodeParameters(m);
    EXPECT_TRUE(std::holds_alternative<CodeParameters>(outcome));
    return std::holds_alternative<CodeParameters>(outcome) ? std::get<CodeParameters>(outcome)
                                                           : CodeParameters{};
}

struct TerrainCase {
    std::int16_t edition;
    std::int16_t terrain;
    double muZ10;    // height coefficient at 10 m
    double v10Ratio; // V10 / V0
};

TEST(CodeParameters, HeightCoefficientAndV10PerEditionAndTerrain) {
    const std::array<TerrainCase, 8> cases{{
        {0, 1, 1.284432577, 1.133328098},
        {0, 2, 1.0, 1.0},
        {0, 3, 0.544260614, 0.7377402076},
        {0, 4, 0.262423546, 0.5122729214},
        {1, 1, 1.379090202, 1.174346713},
        {1, 2, 1.0, 1.0},
        {1, 3, 0.6154536874, 0.7845085642},
        {1, 4, 0.3178149086, 0.5637507504},
    }};
    for (const TerrainCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "edition " << c.edition << " terrain " << c.terrain);
        ProjectModel m = onePointModel(c.edition);
        m.terrainType = c.terrain;
        const CodeParameters p = select(m);
        EXPECT_REL(heightCoefficient(p, 10.0), c.muZ10);
        EXPECT_REL(p.v0, 28.548204847240395);
        EXPECT_REL(p.v10 / p.v0, c.v10Ratio);
        EXPECT_EQ(p.zGB, 350.0);
    }
}

TEST(CodeParameters, SelectionStoresAlphaAndI10AndPicksPeakFactorByEdition) {
    ProjectModel newCode = onePointModel(0);
    newCode.terrainType = 3;
    const CodeParameters pn = select(newCode);
    EXPECT_EQ(newCode.alpha, 0.22);
    EXPECT_EQ(newCode.i10, 0.23);
    EXPECT_EQ(pn.alphaB, 0.15);
    EXPECT_EQ(pn.zG, 450.0);
    EXPECT_EQ(pn.g, 2.5);

    ProjectModel oldCode = onePointModel(1);
    oldCode.terrainType = 4;
    const CodeParameters po = select(oldCode);
    EXPECT_EQ(oldCode.alpha, 0.30);
    EXPECT_EQ(oldCode.i10, 0.2784);
    EXPECT_EQ(po.alphaB, 0.16);
    EXPECT_EQ(po.zG, 450.0);
    EXPECT_EQ(po.g, 2.2);
}

TEST(CodeParameters, HeightLawsHaveNoCutOffAndGiveI10AtTenMetres) {
    for (std::int16_t edition : {0, 1}) {
        ProjectModel m = onePointModel(edition);
        const CodeParameters p = select(m);
        EXPECT_EQ(turbulenceIntensity(p, 10.0), p.i10);
        EXPECT_NEAR(heightCoefficient(p, 10.0), 1.0, 1e-12);
    }
    // New code, terrain B: mu_z = (z/10)^0.30; old code: (z/10)^0.32.
    ProjectModel newB = onePointModel(0);
    const CodeParameters pn = select(newB);
    EXPECT_REL(heightCoefficient(pn, 100.0), 1.9952623149688795);
    ProjectModel oldB = onePointModel(1);
    const CodeParameters po = select(oldB);
    EXPECT_REL(heightCoefficient(po, 100.0), std::pow(10.0, 0.32));

    // Above the gradient height (550 m, new code D) the power law goes on.
    ProjectModel d = onePointModel(0);
    d.terrainType = 4;
    const CodeParameters pd = select(d);
    EXPECT_REL(heightCoefficient(pd, 800.0) / heightCoefficient(pd, 550.0),
               std::pow(800.0 / 550.0, 0.60));
    EXPECT_REL(turbulenceIntensity(pd, 800.0), 0.39 * std::pow(80.0, -0.30));
    // Below 10 m no lower limit either.
    EXPECT_REL(heightCoefficient(pd, 2.0) / heightCoefficient(pd, 10.0), std::pow(0.2, 0.60));
}

TEST(CodeParameters, OutOfRangeEditionOrTerrainIsAFaultWithoutTableRead) {
    struct Case {
        std::int16_t edition, terrain;
        const char* quantity;
    };
    for (const Case& c : {Case{2, 2, "规范版本"}, Case{-1, 2, "规范版本"}, Case{0, 0, "地貌类别"},
                          Case{1, 5, "地貌类别"}, Case{0, -3, "地貌类别"}}) {
        ProjectModel m = onePointModel();
        m.codeVersion = c.edition;
        m.terrainType = c.terrain;
        auto outcome = selectCodeParameters(m);
        ASSERT_TRUE(std::holds_alternative<ComputeFault>(outcome));
        EXPECT_EQ(std::get<ComputeFault>(outcome).quantity, c.quantity);
        EXPECT_EQ(std::get<ComputeFault>(outcome).reason, FaultReason::OutOfRange);
        EXPECT_EQ(m.alpha, 0.0);
    }
}

TEST(CodeParameters, NegativeBasicPressureFaultsAtV0) {
    ProjectModel m = onePointModel();
    m.w0 = -500.0;
    auto outcome = selectCodeParameters(m);
    ASSERT_TRUE(std::holds_alternative<ComputeFault>(outcome));
    EXPECT_EQ(std::get<ComputeFault>(outcome).quantity, "基本风速V0");
    EXPECT_EQ(std::get<ComputeFault>(outcome).reason, FaultReason::InvalidOperation);
}

TEST(NumericHelpers, VerticalCorrelationFollowsHeightsAndPointCount) {
    ProjectModel m = onePointModel();
    EXPECT_EQ(verticalCorrelation(m, {25.0}), (Matrix{{1.0}}));

    m.nFreedom = 3;
    const Matrix r = verticalCorrelation(m, {10.0, 70.0, 10.0, 500.0}); // fourth height unused
    ASSERT_EQ(r.size(), 3u);
    for (const List& row : r)
        ASSERT_EQ(row.size(), 3u);
    EXPECT_REL(r[0][1], 0.36787944117144233); // exp(-1), 60 m apart
    EXPECT_REL(r[1][2], 0.36787944117144233);
    EXPECT_EQ(r[0][2], 1.0); // equal heights
    EXPECT_EQ(r[2][0], 1.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r[i][i], 1.0);

    // Fewer heights than points: nothing is read beyond the list.
    EXPECT_TRUE(verticalCorrelation(m, {10.0, 20.0}).empty());
    m.nFreedom = 0;
    EXPECT_TRUE(verticalCorrelation(m, {10.0}).empty());
}

TEST(NumericHelpers, DavenportSpectrumAtThirtyMetresPerSecondAndHalfHertz) {
    const double s = davenportSpectrum(30.0, 0.5);
    EXPECT_REL(s, 0.180359724995745);
    EXPECT_REL(0.5 * s, 0.0901798624978725);
    // The one-point worked example: V10 = V0 = sqrt(815), f1 = 1 Hz, x1 = 42.0340...
    EXPECT_REL(davenportSpectrum(28.548204847240395, 1.0), 0.05510353675021261);
    EXPECT_FALSE(std::isfinite(davenportSpectrum(30.0, 0.0))); // 0/0
    EXPECT_FALSE(std::isfinite(davenportSpectrum(0.0, 0.5)));  // 1200/0
}

TEST(NumericHelpers, ArrayMaxAndMin) {
    EXPECT_EQ(arrayMax({3.0, 7.0, 7.0, 2.0}), 7.0);
    EXPECT_EQ(arrayMin({3.0, 7.0, 7.0, 2.0}), 2.0);
    EXPECT_EQ(arrayMax({-4.5}), -4.5);
    EXPECT_EQ(arrayMin({-4.5}), -4.5);
    EXPECT_EQ(arrayMax({-3.0, -1.0, -2.0}), -1.0);
    EXPECT_EQ(arrayMin({5.0, 1.0, -8.0, 0.0}), -8.0);
    EXPECT_EQ(arrayMax({}), 0.0);
    EXPECT_EQ(arrayMin({}), 0.0);
}

} // namespace
} // namespace tamsor
