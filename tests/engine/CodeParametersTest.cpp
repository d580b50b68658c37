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

// The parameters at w0 = 500 N/m^2.
CodeParameters select(Edition edition, int terrain = 2) {
    auto outcome = selectCodeParameters(edition, terrain, 500.0);
    EXPECT_TRUE(std::holds_alternative<CodeParameters>(outcome));
    return std::holds_alternative<CodeParameters>(outcome) ? std::get<CodeParameters>(outcome)
                                                           : CodeParameters{};
}

TEST(CodeTables, HoldTheConstantsOfBothEditions) {
    struct Row {
        Edition edition;
        std::array<double, 4> gradientHeight, alpha, i10;
        double peakFactor;
    };
    const Row rows[] = {
        {Edition::GB201X,
         {300, 350, 450, 550},
         {0.12, 0.15, 0.22, 0.30},
         {0.12, 0.14, 0.23, 0.39},
         2.5},
        {Edition::GB2001,
         {300, 350, 400, 450},
         {0.12, 0.16, 0.22, 0.30},
         {0.088, 0.1136, 0.1668, 0.2784},
         2.2},
    };
    for (const Row& row : rows) {
        for (int terrain = 1; terrain <= 4; ++terrain) {
            const auto t = static_cast<std::size_t>(terrain - 1);
            const std::optional<CodeParameters> p = lookUpCodeParameters(row.edition, terrain);
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(p->zG, row.gradientHeight[t]);
            EXPECT_EQ(p->alpha, row.alpha[t]);
            EXPECT_EQ(p->i10, row.i10[t]);
            EXPECT_EQ(p->g, row.peakFactor);
            EXPECT_EQ(p->zGB, row.gradientHeight[1]);
            EXPECT_EQ(p->alphaB, row.alpha[1]);
            EXPECT_EQ(kCodeTables.terrain(row.edition, terrain)->cutoffHeight,
                      (std::array{5.0, 10.0, 15.0, 30.0}[t]));
        }
    }
    EXPECT_FALSE(lookUpCodeParameters(Edition::GB201X, 0).has_value());
    EXPECT_FALSE(lookUpCodeParameters(Edition{2}, 2).has_value());
}

struct TerrainCase {
    Edition edition;
    int terrain;
    double muZ10;    // height coefficient at 10 m
    double v10Ratio; // V10 / V0
};

TEST(CodeParameters, HeightCoefficientAndV10PerEditionAndTerrain) {
    const std::array<TerrainCase, 8> cases{{
        {Edition::GB201X, 1, 1.284432577, 1.133328098},
        {Edition::GB201X, 2, 1.0, 1.0},
        {Edition::GB201X, 3, 0.544260614, 0.7377402076},
        {Edition::GB201X, 4, 0.262423546, 0.5122729214},
        {Edition::GB2001, 1, 1.379090202, 1.174346713},
        {Edition::GB2001, 2, 1.0, 1.0},
        {Edition::GB2001, 3, 0.6154536874, 0.7845085642},
        {Edition::GB2001, 4, 0.3178149086, 0.5637507504},
    }};
    for (const TerrainCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "edition " << static_cast<int>(c.edition) << " terrain " << c.terrain);
        const CodeParameters p = select(c.edition, c.terrain);
        EXPECT_REL(heightCoefficient(p, 10.0), c.muZ10);
        EXPECT_REL(p.v0, 28.548204847240395);
        EXPECT_REL(p.v10 / p.v0, c.v10Ratio);
        EXPECT_EQ(p.zGB, 350.0);
    }
}

TEST(CodeParameters, HeightLawsHaveNoCutOffAndGiveI10AtTenMetres) {
    for (Edition edition : {Edition::GB201X, Edition::GB2001}) {
        const CodeParameters p = select(edition);
        EXPECT_EQ(turbulenceIntensity(p, 10.0), p.i10);
        EXPECT_NEAR(heightCoefficient(p, 10.0), 1.0, 1e-12);
    }
    // New code, terrain B: mu_z = (z/10)^0.30; old code: (z/10)^0.32.
    EXPECT_REL(heightCoefficient(select(Edition::GB201X), 100.0), 1.9952623149688795);
    EXPECT_REL(heightCoefficient(select(Edition::GB2001), 100.0), std::pow(10.0, 0.32));

    // Above the gradient height (550 m, new code D) the power law goes on.
    const CodeParameters pd = select(Edition::GB201X, 4);
    EXPECT_REL(heightCoefficient(pd, 800.0) / heightCoefficient(pd, 550.0),
               std::pow(800.0 / 550.0, 0.60));
    EXPECT_REL(turbulenceIntensity(pd, 800.0), 0.39 * std::pow(80.0, -0.30));
    // Below 10 m no lower limit either.
    EXPECT_REL(heightCoefficient(pd, 2.0) / heightCoefficient(pd, 10.0), std::pow(0.2, 0.60));
}

TEST(CodeParameters, OutOfRangeEditionOrTerrainIsAFaultWithoutTableRead) {
    struct Case {
        int edition, terrain;
        const char* quantity;
    };
    for (const Case& c : {Case{2, 2, "规范版本"}, Case{-1, 2, "规范版本"}, Case{0, 0, "地貌类别"},
                          Case{1, 5, "地貌类别"}, Case{0, -3, "地貌类别"}}) {
        auto outcome = selectCodeParameters(Edition{c.edition}, c.terrain, 500.0);
        ASSERT_TRUE(std::holds_alternative<ComputeFault>(outcome));
        EXPECT_EQ(std::get<ComputeFault>(outcome).quantity, c.quantity);
        EXPECT_EQ(std::get<ComputeFault>(outcome).reason, FaultReason::OutOfRange);
    }
}

TEST(CodeParameters, NegativeBasicPressureFaultsAtV0) {
    auto outcome = selectCodeParameters(Edition::GB201X, 2, -500.0);
    ASSERT_TRUE(std::holds_alternative<ComputeFault>(outcome));
    EXPECT_EQ(std::get<ComputeFault>(outcome).quantity, "基本风速V0");
    EXPECT_EQ(std::get<ComputeFault>(outcome).reason, FaultReason::InvalidOperation);
}

TEST(NumericHelpers, VerticalCorrelationFollowsHeightsAndPointCount) {
    EXPECT_EQ(verticalCorrelation({25.0}, 1), (Matrix{{1.0}}));

    const Matrix r = verticalCorrelation({10.0, 70.0, 10.0, 500.0}, 3); // fourth height unused
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
    EXPECT_TRUE(verticalCorrelation({10.0, 20.0}, 3).empty());
    EXPECT_TRUE(verticalCorrelation({10.0}, 0).empty());
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
