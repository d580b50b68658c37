// Inputs that the compute command's checks let through but that make the
// computation meet an arithmetic fault, and malformed numbers. Each must stop
// with the named quantity and give no results.

#include "FaultCheck.h"
#include "WindResponse.h"

#include "EngineTestModels.h"

#include <cfenv>
#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::faultOf;
using test::threePoints;

struct FaultCase {
    const char* name;
    std::function<void(ParsedInput&, Edition&)> spoil;
    std::string quantity;
    FaultReason reason;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ComputeFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(ComputeFaults, StopsWithTheNamedQuantity) {
    const FaultCase& c = GetParam();
    ParsedInput in = threePoints();
    Edition edition = Edition::GB201X;
    c.spoil(in, edition);

    const ComputeFault fault = faultOf(in, edition);
    EXPECT_EQ(fault.quantity, c.quantity);
    EXPECT_EQ(fault.reason, c.reason);
    EXPECT_EQ(fault.message(), "计算出错：" + c.quantity + "，" + reasonText(c.reason) + "。");
}

using R = FaultReason;

INSTANTIATE_TEST_SUITE_P(
    Engine, ComputeFaults,
    testing::Values(
        // Height 0 above the first point: zero to a negative power.
        FaultCase{"LaterPointAtHeightZero", [](ParsedInput& m, Edition&) { m.zCoord[1] = 0.0; },
                  "第2质点的湍流强度", R::DivisionByZero},
        FaultCase{"LaterPointBelowGround", [](ParsedInput& m, Edition&) { m.zCoord[2] = -5.0; },
                  "第3质点的风压高度变化系数", R::InvalidOperation},
        // Zero mean load divides the wind vibration force.
        FaultCase{"LaterPointWithoutArea", [](ParsedInput& m, Edition&) { m.windArea[1] = 0.0; },
                  "第2质点的风振系数", R::DivisionByZero},
        FaultCase{"LaterPointWithoutShapeCoefficient",
                  [](ParsedInput& m, Edition&) { m.shapeCoef[2] = 0.0; }, "第3质点的风振系数",
                  R::DivisionByZero},
        FaultCase{"ZeroAreaAndZeroModeShape",
                  [](ParsedInput& m, Edition&) {
                      m.windArea[1] = 0.0;
                      m.modeShapes[0][1] = 0.0;
                  },
                  "第2质点的风振系数", R::InvalidOperation},
        FaultCase{"NegativeBasicPressure", [](ParsedInput& m, Edition&) { m.w0 = -550.0; },
                  "基本风速V0", R::InvalidOperation},
        FaultCase{"ZeroBasicPressure", [](ParsedInput& m, Edition&) { m.w0 = 0.0; }, "风谱密度S1",
                  R::DivisionByZero},
        FaultCase{"HugeBasicPressureOverflows", [](ParsedInput& m, Edition&) { m.w0 = 1e300; },
                  "脉动风力协方差矩阵", R::Overflow},
        // M1 = 0: the mean displacement divides by it.
        FaultCase{"NoModalMassFromMasses",
                  [](ParsedInput& m, Edition&) {
                      m.mass = {0.0, 0.0, 0.0};
                  },
                  "第1质点的平均位移", R::DivisionByZero},
        FaultCase{"NoModalMassFromModeShape",
                  [](ParsedInput& m, Edition&) {
                      m.modeShapes[0] = {0.0, 0.0, 0.0};
                  },
                  "第1质点的平均位移", R::InvalidOperation},
        FaultCase{"ZeroFrequency", [](ParsedInput& m, Edition&) { m.freq[0] = 0.0; }, "风谱密度S1",
                  R::InvalidOperation},
        FaultCase{"ZeroDamping", [](ParsedInput& m, Edition&) { m.dampRatio[0] = 0.0; },
                  "共振因子R²", R::DivisionByZero},
        // A strongly negative damping makes 1 + R^2 negative ...
        FaultCase{"NegativeDampingBelowMinusResonance",
                  [](ParsedInput& m, Edition&) { m.dampRatio[0] = -0.01; }, "动力放大系数",
                  R::InvalidOperation},
        // ... a slightly negative one gives a factor below 1, whose resonant part is undefined.
        FaultCase{"NegativeDamping", [](ParsedInput& m, Edition&) { m.dampRatio[0] = -0.2; },
                  "第1质点的共振分量", R::InvalidOperation},
        FaultCase{"EditionOutOfRange", [](ParsedInput&, Edition& e) { e = Edition{2}; }, "规范版本",
                  R::OutOfRange},
        FaultCase{"NegativeEdition", [](ParsedInput&, Edition& e) { e = Edition{-1}; }, "规范版本",
                  R::OutOfRange},
        FaultCase{"TerrainZero", [](ParsedInput& m, Edition&) { m.terrainType = 0; }, "地貌类别",
                  R::OutOfRange},
        FaultCase{"TerrainFive", [](ParsedInput& m, Edition&) { m.terrainType = 5; }, "地貌类别",
                  R::OutOfRange},
        FaultCase{"NoPoints", [](ParsedInput& m, Edition&) { m.nFreedom = 0; }, "自由度数",
                  R::OutOfRange},
        FaultCase{"ElevenPoints", [](ParsedInput& m, Edition&) { m.nFreedom = 11; }, "自由度数",
                  R::OutOfRange},
        FaultCase{"SingleHeightForThreePoints", [](ParsedInput& m, Edition&) { m.zCoord = {20.0}; },
                  "质点高度", R::MissingData},
        FaultCase{"TwoMassesForThreePoints",
                  [](ParsedInput& m, Edition&) {
                      m.mass = {1.0, 2.0};
                  },
                  "质点质量", R::MissingData},
        FaultCase{"ModeShapeMissing", [](ParsedInput& m, Edition&) { m.modeShapes[0].clear(); },
                  "第1阶振型", R::MissingData},
        FaultCase{"PointCountRaisedWithoutLists", [](ParsedInput& m, Edition&) { m.nFreedom = 10; },
                  "质点高度", R::MissingData},
        FaultCase{"NoFrequency", [](ParsedInput& m, Edition&) { m.freq.clear(); }, "自振频率",
                  R::MissingData},
        FaultCase{"NoDampingRatio", [](ParsedInput& m, Edition&) { m.dampRatio.clear(); }, "阻尼比",
                  R::MissingData}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(ComputeFault, MessageNamesQuantityAndReason) {
    EXPECT_EQ((ComputeFault{"第2质点的风振系数", FaultReason::DivisionByZero}).message(),
              "计算出错：第2质点的风振系数，除数为零。");
    EXPECT_EQ((ComputeFault{"广义质量M1", FaultReason::Overflow}).message(),
              "计算出错：广义质量M1，数值溢出。");
}

TEST(ComputeFault, ExceptionFlagsCatchAFaultThatLeavesAFiniteResult) {
    volatile double zero = 0.0; // keeps the operations at run time
    detail::clearFaultFlags();
    volatile double infinite = 7.0 / zero;
    const double hidden = 1.0 / infinite; // 1/(7/0) is 0
    EXPECT_EQ(hidden, 0.0);
    EXPECT_TRUE(detail::stepFailed(hidden));
    EXPECT_EQ(detail::reasonFor(hidden), FaultReason::DivisionByZero);
    detail::clearFaultFlags();
    EXPECT_FALSE(detail::stepFailed(hidden));
    EXPECT_TRUE(detail::stepFailed(std::sqrt(-zero - 1.0)));
    EXPECT_EQ(detail::reasonFor(0.0), FaultReason::InvalidOperation);
    detail::clearFaultFlags();
}

TEST(ComputeFault, OnePointAtHeightZeroFaultsAtTheFirstHeight) {
    ParsedInput in = test::onePoint();
    in.zCoord = {0.0};
    EXPECT_EQ(faultOf(in).quantity, "第1质点的湍流强度");
}

} // namespace
} // namespace tamsor
