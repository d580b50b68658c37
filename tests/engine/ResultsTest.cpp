// Results as a value: what a computation is made from and carries, what is
// read off the computed results, and which values a report must refuse.
//
// The derived values of the three-point project come from the python3
// script at the head of WindResponseTest.cpp (run(0, 3, ...)):
//   z = [20, 40, 60]; sum(meanLoad), sum(meanLoad*z), sum(F), sum(F*z),
//   sum(lrc), sum(lrc*z), (eq - meanLoad)/C + meanLoad, meanDisp + dispStd,
//   sqrt(d*d - 1)/d * F.

#include "Results.h"

#include "EngineTestModels.h"
#include "InputParse.h"
#include "ResultNotices.h"
#include "ResultsCheck.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::computed;
using test::threePoints;

// The three-point project of EngineTestModels.h as typed.
ProjectInput threePointInput() {
    ProjectInput in;
    in.pointCount = 3;
    in.terrain = 3;
    in.heights = "20;40;60";
    in.areas = "30;30;25";
    in.shapeCoefficients = "1.3;1.3;1.4";
    in.masses = "50;40;30";
    in.modeShapes[0] = "0.15;0.55;1";
    in.frequencies = "0.8";
    in.dampingRatios = "0.04";
    in.width = "30";
    in.windPressure = "0.55";
    return in;
}

TEST(Results, ComputedFromTheInputAsTypedAndCarryIt) {
    const ProjectInput input = threePointInput();
    const auto outcome = compute(input, Edition::GB2001);
    ASSERT_TRUE(outcome.has_value());
    const ResultsPtr r = std::get<ResultsPtr>(*outcome);
    EXPECT_EQ(r->input(), input);
    EXPECT_EQ(r->edition(), Edition::GB2001);
    EXPECT_EQ(r->numbers().w0, 550.0); // typed in kPa
    EXPECT_EQ(r->pointCount(), 3u);
    // The same numbers as the gate's, to the bit.
    EXPECT_EQ(r->raw(), computed(threePoints(), Edition::GB2001)->raw());
}

// The 100 m chimney of docs/verification.md: lambda_2 = 0.8256 and H1 =
// 4.39 m come from the page's independent script.
TEST(Results, CarryTheChecksBesideTheAlongWindResults) {
    ProjectInput chimney = test::chimneyInput();

    const ResultsPtr now = std::get<ResultsPtr>(*compute(chimney, Edition::GB201X));
    const auto* crossWind = std::get_if<CrossWindResult>(&now->crossWind());
    ASSERT_NE(crossWind, nullptr);
    ASSERT_EQ(crossWind->modes.size(), 3u);
    EXPECT_NEAR(*crossWind->modes[1].lambda, 0.8256, 5e-4);
    EXPECT_NEAR(*crossWind->modes[1].lockInHeight, 4.39, 5e-3);
    EXPECT_TRUE(now->codeFormula().codeFormula.has_value());

    // The old code has no closed form; without a diameter there is no check.
    chimney.diameter.clear();
    const ResultsPtr old = std::get<ResultsPtr>(*compute(chimney, Edition::GB2001));
    EXPECT_TRUE(std::holds_alternative<NoCrossWindData>(old->crossWind()));
    EXPECT_FALSE(old->codeFormula().codeFormula.has_value());
    EXPECT_EQ(old->codeFormula().whyNot, kNoCodeFormulaText);
}

TEST(Results, InputThatDoesNotParseIsNotComputed) {
    ProjectInput input = threePointInput();
    input.heights = "20;;60";
    EXPECT_FALSE(compute(input, Edition::GB201X).has_value());
    input.heights = "20;40";
    EXPECT_FALSE(compute(input, Edition::GB201X).has_value());
}

TEST(Results, StartUpInputFaultsAtTheFirstHeight) {
    // Every box "0": the window's gate refuses it; reached anyway, it faults.
    const auto outcome = compute(ProjectInput{}, Edition::GB201X);
    ASSERT_TRUE(outcome.has_value());
    ASSERT_TRUE(std::holds_alternative<ComputeFault>(*outcome));
    EXPECT_EQ(std::get<ComputeFault>(*outcome).quantity, "第1质点的湍流强度");
}

TEST(Results, DerivedValuesAreReadOffTheComputedOnes) {
    const DerivedResults d = computed(threePoints())->derived();
    EXPECT_REL(d.meanBaseShear, 60.37030705821484);
    EXPECT_REL(d.meanBaseMoment, 2559.012108013197);
    EXPECT_REL(d.fluctBaseShear, 49.450146485259204);
    EXPECT_REL(d.fluctBaseMoment, 2351.9985639207316);
    EXPECT_REL(d.totalBaseShear, 60.37030705821484 + 49.450146485259204);
    EXPECT_REL(d.totalBaseMoment, 2559.012108013197 + 2351.9985639207316);
    EXPECT_REL(d.lrcBaseShear, 115.96880725746655);
    EXPECT_REL(d.lrcBaseMoment, 4982.863825550427);
    const double gbj[] = {22.692968867323437, 41.59455187792324, 50.46928208042313};
    const double total[] = {10.048811623824571, 36.8456426206901, 66.99207749216382};
    const double resonant[] = {4.469434813179145, 13.11034211865883, 17.877739252716577};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_REL(d.gbjLoad[i], gbj[i]);
        EXPECT_REL(d.totalDisp[i], total[i]);
        EXPECT_REL(d.lrcResonant[i], resonant[i]);
    }
}

TEST(Results, ResultsOfAnotherPointCountAreRefused) {
    const ResultsPtr r = computed(threePoints());
    RawResults raw = r->raw();
    raw.lrcLoad.pop_back();
    EXPECT_THROW(Results(r->input(), r->numbers(), r->edition(), raw), std::invalid_argument);
}

TEST(ResultsCheck, AnOverflowingSumIsTheFirstValueNotFinite) {
    // A point 1e306 m high: every computed value is finite, the overturning
    // moments are not.
    ParsedInput in = threePoints();
    in.zCoord[2] = 1e306;
    const ResultsPtr r = computed(in);
    EXPECT_FALSE(firstNotFiniteInput(*r).has_value());
    EXPECT_FALSE(firstNotFiniteResult(*r, false).has_value());
    const auto derived = firstNotFiniteResult(*r, true);
    ASSERT_TRUE(derived.has_value());
    EXPECT_EQ(derived->key, "meanBaseMoment");
    EXPECT_EQ(derived->caption, "平均基底弯矩(KN*m)");
}

TEST(ResultsCheck, InputsThePageShowsMustBeFinite) {
    // Numbers that never came from the parse: a damping ratio of infinity
    // computes (R^2 is 0).
    ParsedInput in = threePoints();
    in.dampRatio = {std::numeric_limits<double>::infinity()};
    const auto input = firstNotFiniteInput(*computed(in));
    ASSERT_TRUE(input.has_value());
    EXPECT_EQ(input->caption, "阻尼比");
}

// The building of docs/verification.md (tests/data/files/code_formula_building.wvd)
// with a 10-year pressure five times the page's 0.40 kPa: the page's hand
// calculation gives a(100) = 0.052354 m/s^2 at 0.40 kPa, so 0.26177 m/s^2,
// above both limits of JGJ 3-2010.
TEST(ResultNotices, ComfortLimitsExceededAtTheTop) {
    ProjectInput building;
    building.pointCount = 10;
    building.terrain = 2;
    building.width = "25";
    building.heights = "10;20;30;40;50;60;70;80;90;100";
    building.areas = "250;250;250;250;250;250;250;250;250;125";
    building.frequencies = "0.5555555555555556";
    building.dampingRatios = "0.05";
    building.masses = "2250;2250;2250;2250;2250;2250;2250;2250;2250;1125";
    building.modeShapes[0] = "0.02;0.08;0.17;0.27;0.38;0.45;0.67;0.74;0.86;1";
    building.windPressure = "0.55";
    building.shapeCoefficients = "1.3";
    building.structureType = "2";
    building.w10 = "0.40";
    EXPECT_TRUE(resultNotices(*std::get<ResultsPtr>(*compute(building, Edition::GB201X))).empty());

    building.w10 = "2";
    EXPECT_EQ(resultNotices(*std::get<ResultsPtr>(*compute(building, Edition::GB201X))),
              (std::vector<ResultNotice>{
                  {"comfort", "最高质点(第10质点，z=100 m)在10年重现期风压下的顺风向加速度0.2618 "
                              "m/s^2超过住宅、公寓的限值0.15 m/s^2和办公、旅馆的限值0.25 "
                              "m/s^2(JGJ 3-2010第3.7.6条)。"}}));
}

// The three-point project with its top mode-shape value typed as 0.5 instead
// of 1: the page's script (code_formula() over values()) gives the closed
// form over the program's beta_z as 1.0402, 1.2147 and 1.2911.
TEST(ResultNotices, TheTwoWindVibrationCoefficientsFarApart) {
    ParsedInput in = threePoints();
    EXPECT_TRUE(resultNotices(*computed(in)).empty());
    in.modeShapes[0] = {0.15, 0.55, 0.5};
    EXPECT_EQ(resultNotices(*computed(in)),
              (std::vector<ResultNotice>{
                  {"codeFormula", "第2、3质点的规范公式βz与程序的风振系数相差超过20%(规范公式/"
                                  "程序：1.21、1.29)，多半是振型或单位有误，请检查。"}}));
    // The old code has no closed form to set against it.
    EXPECT_TRUE(resultNotices(*computed(in, Edition::GB2001)).empty());
}

} // namespace
} // namespace tamsor
