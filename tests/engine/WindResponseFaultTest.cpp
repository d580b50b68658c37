// Inputs that the compute command's checks let through but that make the
// computation meet an arithmetic fault, and malformed records. Each must stop
// with the named quantity, leave resultsComplete false, and leave the record
// usable for the next, valid computation.

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

using test::onePointModel;
using test::threePointModel;

struct FaultCase {
    const char* name;
    std::function<void(ProjectModel&)> spoil;
    std::string quantity;
    FaultReason reason;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ComputeFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(ComputeFaults, StopsWithTheNamedQuantityAndLeavesTheRecordUsable) {
    const FaultCase& c = GetParam();
    ProjectModel reference = threePointModel();
    ASSERT_FALSE(computeWindResponse(reference).has_value());

    ProjectModel m = threePointModel();
    ASSERT_FALSE(computeWindResponse(m).has_value()); // results of an earlier run exist
    ASSERT_TRUE(m.resultsComplete);
    const ProjectModel good = m;
    c.spoil(m);

    const auto fault = computeWindResponse(m);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->quantity, c.quantity);
    EXPECT_EQ(fault->reason, c.reason);
    EXPECT_EQ(fault->message(), "计算出错：" + c.quantity + "，" + reasonText(c.reason) + "。");
    EXPECT_FALSE(m.resultsComplete);

    // Put the inputs back: the next run succeeds and gives the usual results.
    m.nFreedom = good.nFreedom;
    m.codeVersion = good.codeVersion;
    m.terrainType = good.terrainType;
    m.zCoord = good.zCoord;
    m.windArea = good.windArea;
    m.shapeCoef = good.shapeCoef;
    m.mass = good.mass;
    m.modeShape = good.modeShape;
    m.freq = good.freq;
    m.dampRatio = good.dampRatio;
    m.structWidth = good.structWidth;
    m.w0 = good.w0;
    const auto again = computeWindResponse(m);
    ASSERT_FALSE(again.has_value()) << again->message();
    EXPECT_TRUE(m.resultsComplete);
    EXPECT_EQ(m.lrcLoad, reference.lrcLoad);
    EXPECT_EQ(m.corrC, reference.corrC);
}

using R = FaultReason;

INSTANTIATE_TEST_SUITE_P(
    Engine, ComputeFaults,
    testing::Values(
        // Height 0 above the first point: zero to a negative power.
        FaultCase{"LaterPointAtHeightZero", [](ProjectModel& m) { m.zCoord[1] = 0.0; },
                  "第2质点的湍流强度", R::DivisionByZero},
        FaultCase{"LaterPointBelowGround", [](ProjectModel& m) { m.zCoord[2] = -5.0; },
                  "第3质点的风压高度变化系数", R::InvalidOperation},
        // Zero mean load divides the wind vibration force.
        FaultCase{"LaterPointWithoutArea", [](ProjectModel& m) { m.windArea[1] = 0.0; },
                  "第2质点的风振系数", R::DivisionByZero},
        FaultCase{"LaterPointWithoutShapeCoefficient",
                  [](ProjectModel& m) { m.shapeCoef[2] = 0.0; }, "第3质点的风振系数",
                  R::DivisionByZero},
        FaultCase{"ZeroAreaAndZeroModeShape",
                  [](ProjectModel& m) {
                      m.windArea[1] = 0.0;
                      m.modeShape[1] = 0.0;
                  },
                  "第2质点的风振系数", R::InvalidOperation},
        FaultCase{"NegativeBasicPressure", [](ProjectModel& m) { m.w0 = -550.0; }, "基本风速V0",
                  R::InvalidOperation},
        FaultCase{"ZeroBasicPressure", [](ProjectModel& m) { m.w0 = 0.0; }, "风谱密度S1",
                  R::DivisionByZero},
        FaultCase{"HugeBasicPressureOverflows", [](ProjectModel& m) { m.w0 = 1e300; },
                  "脉动风力协方差矩阵", R::Overflow},
        // M1 = 0: the mean displacement divides by it.
        FaultCase{"NoModalMassFromMasses",
                  [](ProjectModel& m) {
                      m.mass = {0.0, 0.0, 0.0};
                  },
                  "第1质点的平均位移", R::DivisionByZero},
        FaultCase{"NoModalMassFromModeShape",
                  [](ProjectModel& m) {
                      m.modeShape = {0.0, 0.0, 0.0};
                  },
                  "第1质点的平均位移", R::InvalidOperation},
        FaultCase{"ZeroFrequency", [](ProjectModel& m) { m.freq[0] = 0.0; }, "风谱密度S1",
                  R::InvalidOperation},
        FaultCase{"ZeroDamping", [](ProjectModel& m) { m.dampRatio[0] = 0.0; }, "共振因子R²",
                  R::DivisionByZero},
        // A strongly negative damping makes 1 + R^2 negative ...
        FaultCase{"NegativeDampingBelowMinusResonance",
                  [](ProjectModel& m) { m.dampRatio[0] = -0.01; }, "动力放大系数",
                  R::InvalidOperation},
        // ... a slightly negative one gives a factor below 1, whose resonant part is undefined.
        FaultCase{"NegativeDamping", [](ProjectModel& m) { m.dampRatio[0] = -0.2; },
                  "第1质点的共振分量", R::InvalidOperation},
        FaultCase{"CodeVersionOutOfRange", [](ProjectModel& m) { m.codeVersion = 2; }, "规范版本",
                  R::OutOfRange},
        FaultCase{"NegativeCodeVersion", [](ProjectModel& m) { m.codeVersion = -1; }, "规范版本",
                  R::OutOfRange},
        FaultCase{"TerrainZero", [](ProjectModel& m) { m.terrainType = 0; }, "地貌类别",
                  R::OutOfRange},
        FaultCase{"TerrainFive", [](ProjectModel& m) { m.terrainType = 5; }, "地貌类别",
                  R::OutOfRange},
        FaultCase{"NoPoints", [](ProjectModel& m) { m.nFreedom = 0; }, "自由度数", R::OutOfRange},
        FaultCase{"ElevenPoints", [](ProjectModel& m) { m.nFreedom = 11; }, "自由度数",
                  R::OutOfRange},
        FaultCase{"SingleHeightForThreePoints", [](ProjectModel& m) { m.zCoord = {20.0}; },
                  "质点高度", R::MissingData},
        FaultCase{"TwoMassesForThreePoints",
                  [](ProjectModel& m) {
                      m.mass = {1.0, 2.0};
                  },
                  "质点质量", R::MissingData},
        FaultCase{"ModeShapeMissing", [](ProjectModel& m) { m.modeShape.clear(); }, "第1阶振型",
                  R::MissingData},
        FaultCase{"PointCountRaisedWithoutLists", [](ProjectModel& m) { m.nFreedom = 10; },
                  "质点高度", R::MissingData},
        FaultCase{"NoFrequency", [](ProjectModel& m) { m.freq.clear(); }, "自振频率",
                  R::MissingData},
        FaultCase{"NoDampingRatio", [](ProjectModel& m) { m.dampRatio.clear(); }, "阻尼比",
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

TEST(ComputeFault, FaultedRunKeepsResultListsAtThePointCount) {
    ProjectModel m = threePointModel();
    m.windArea[2] = 0.0;
    ASSERT_TRUE(computeWindResponse(m).has_value());
    for (const List* list :
         {&m.meanLoad, &m.windVibForce, &m.windVibCoef, &m.eqStaticLoad, &m.lrcLoad,
          &m.lrcBackground, &m.meanDisp, &m.dispStd, &m.bgFactor, &m.muR})
        EXPECT_EQ(list->size(), 3u);
    // Steps after the fault did not run.
    EXPECT_EQ(m.corrC, 0.0);
    EXPECT_EQ(m.exactBaseShear, 0.0);
}

TEST(ComputeFault, OnePointAtStartUpValuesFaultsAtTheFirstHeight) {
    ProjectModel m = onePointModel();
    m.zCoord = {0.0};
    const auto fault = computeWindResponse(m);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->quantity, "第1质点的湍流强度");
}

} // namespace
} // namespace tamsor
