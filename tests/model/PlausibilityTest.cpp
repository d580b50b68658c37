// Input that most likely holds a slip in its units or its sign: each warning
// just inside and just beyond its limit. The texts one ulp past a limit were
// written out with python3's repr(math.nextafter(limit, math.inf)).
#include "Plausibility.h"

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using Kind = InputWarning::Kind;
using ::testing::HasSubstr;

// Three points of ordinary input: nothing to warn about.
ParsedInput plausibleInput() {
    ParsedInput m;
    m.nFreedom = 3;
    m.zCoord = {10.0, 20.0, 30.0};
    m.windArea = {10.0, 12.0, 14.0};
    m.mass = {20.0, 20.0, 20.0};
    m.modeShapes[0] = {0.3, 0.6, 1.0};
    m.freq = {0.8};
    m.dampRatio = {0.05};
    m.w0 = 500.0;
    return m;
}

double above(double limit) {
    return std::nextafter(limit, INFINITY);
}

TEST(Plausibility, OrdinaryInputGivesNothing) {
    EXPECT_TRUE(checkPlausibility(plausibleInput()).empty());
}

TEST(Plausibility, DampingRatioTypedAsPercentage) {
    ParsedInput m = plausibleInput();
    m.dampRatio = {0.2};
    EXPECT_TRUE(checkPlausibility(m).empty());
    m.dampRatio = {above(0.2)};
    ASSERT_EQ(checkPlausibility(m).size(), 1u);
    EXPECT_EQ(checkPlausibility(m)[0].kind, Kind::DampingRatio);
    // Never "0.2，大于0.2".
    EXPECT_THAT(checkPlausibility(m)[0].text, HasSubstr("阻尼比为0.20000000000000004，大于0.2。"));

    m.dampRatio = {2.0};
    const std::vector<InputWarning> warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].quantity, "dampRatio");
    EXPECT_EQ(warnings[0].point, 0);
    EXPECT_EQ(warnings[0].value, 2.0);
    EXPECT_THAT(warnings[0].text, HasSubstr("阻尼比为2，大于0.2"));
    EXPECT_THAT(warnings[0].text, HasSubstr("若指2%，应输入0.02"));
}

TEST(Plausibility, WindPressureTypedInNewtonsPerSquareMetre) {
    ParsedInput m = plausibleInput();
    m.w0 = 5000.0; // 5 kPa
    EXPECT_TRUE(checkPlausibility(m).empty());
    m.w0 = above(5000.0);
    ASSERT_EQ(checkPlausibility(m).size(), 1u);
    EXPECT_THAT(checkPlausibility(m)[0].text,
                HasSubstr("基本风压为5.000000000000001 kPa，大于5 kPa"));

    m.w0 = 550.0 * 1000.0; // "550" typed into the kPa box
    const std::vector<InputWarning> warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].kind, Kind::WindPressure);
    EXPECT_EQ(warnings[0].quantity, "w0");
    EXPECT_EQ(warnings[0].value, 550.0); // kPa, as typed
    EXPECT_THAT(warnings[0].text, HasSubstr("基本风压为550 kPa，大于5 kPa"));
    EXPECT_THAT(warnings[0].text, HasSubstr("应输入0.55"));
}

TEST(Plausibility, TenYearPressureAboveTheDesignPressure) {
    ParsedInput m = plausibleInput(); // w0 = 0.5 kPa
    m.w10KPa = 0.5;
    EXPECT_TRUE(checkPlausibility(m).empty());
    m.w10KPa = 0.7; // the two pressures swapped
    m.dampRatio = {2.0};
    const std::vector<InputWarning> warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[1].kind, Kind::W10AboveW0); // after the damping ratio
    EXPECT_EQ(warnings[1].quantity, "w10");
    EXPECT_EQ(warnings[1].point, 0);
    EXPECT_EQ(warnings[1].value, 0.7);
    EXPECT_THAT(warnings[1].text,
                HasSubstr("10年一遇基本风压w10为0.7 kPa，大于基本风压w0的0.5 kPa"));
}

TEST(Plausibility, HeightsMustRiseStrictly) {
    ParsedInput m = plausibleInput();
    m.zCoord = {10.0, 20.0, above(20.0)};
    EXPECT_TRUE(checkPlausibility(m).empty());
    m.zCoord = {10.0, 20.0, 20.0};
    std::vector<InputWarning> warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              (InputWarning{Kind::HeightNotRising, "zCoord", 3, 20.0, warnings[0].text}));
    EXPECT_THAT(warnings[0].text, HasSubstr("第3质点的高度20 m不高于第2质点的20 m"));

    m.zCoord = {30.0, 20.0, 10.0}; // entered from the top down
    warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].point, 2);
    EXPECT_EQ(warnings[1].point, 3);
}

TEST(Plausibility, HeightsAreasAndMassesMustBePositiveAtEveryPoint) {
    struct Case {
        List ParsedInput::*list;
        Kind kind;
        const char* quantity;
    };
    for (const Case& c : {Case{&ParsedInput::zCoord, Kind::HeightNotPositive, "zCoord"},
                          Case{&ParsedInput::windArea, Kind::AreaNotPositive, "windArea"},
                          Case{&ParsedInput::mass, Kind::MassNotPositive, "mass"}}) {
        SCOPED_TRACE(c.quantity);
        ParsedInput m = plausibleInput();
        (m.*c.list)[0] = 1e-300;
        EXPECT_TRUE(checkPlausibility(m).empty());
        // A height of 0 at the last point also breaks the order; only the
        // warnings of this kind are counted.
        for (double value : {0.0, -1.0}) {
            (m.*c.list)[0] = value;
            (m.*c.list)[2] = value;
            const std::vector<InputWarning> warnings = checkPlausibility(m);
            std::vector<int> points;
            for (const InputWarning& w : warnings)
                if (w.kind == c.kind) {
                    EXPECT_EQ(w.quantity, c.quantity);
                    EXPECT_EQ(w.value, value);
                    points.push_back(w.point);
                }
            EXPECT_EQ(points, (std::vector<int>{1, 3}));
        }
    }
}

TEST(Plausibility, NegativeFrequencyAndModeShapeNegativeAtTheTop) {
    ParsedInput m = plausibleInput();
    m.freq = {-0.8};
    std::vector<InputWarning> warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              (InputWarning{Kind::FrequencyNegative, "freq", 0, -0.8, warnings[0].text}));
    EXPECT_THAT(warnings[0].text, HasSubstr("固有频率为-0.8 Hz，小于0。频率应为正值，应输入0.8。"));

    // The whole shape negated: the highest point, not the last entered, is
    // looked at, so heights typed from the top down are judged the same.
    m = plausibleInput();
    m.zCoord = {30.0, 20.0, 10.0};
    m.modeShapes[0] = {1.0, -0.6, -0.3};
    EXPECT_EQ(checkPlausibility(m).size(), 2u); // the two heights not rising only
    m.modeShapes[0] = {-1.0, -0.6, -0.3};
    warnings = checkPlausibility(m);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[2],
              (InputWarning{Kind::ModeShapeNegativeAtTop, "modeShape", 1, -1.0, warnings[2].text}));
    EXPECT_THAT(warnings[2].text, HasSubstr("最高的第1质点的振型值为-1，小于0"));
    EXPECT_THAT(warnings[2].text, HasSubstr("请把各质点的振型值都乘以-1后输入"));
}

TEST(Plausibility, OnlyThePointsOfTheProjectAreRead) {
    ParsedInput m = plausibleInput();
    m.zCoord.push_back(0.0); // beyond nFreedom
    m.mass.pop_back();       // shorter than nFreedom: nothing read beyond it
    EXPECT_TRUE(checkPlausibility(m).empty());
    // The highest point is the highest of the project's points.
    m = plausibleInput();
    m.nFreedom = 2;
    m.modeShapes[0][2] = -1.0;
    EXPECT_TRUE(checkPlausibility(m).empty());
}

} // namespace
} // namespace tamsor
