// The cross-wind check of round sections against vortex shedding.
//
// Reference values of the chimney (test::chimneyInput(), the project
// tests/data/files/chimney_crosswind.wvd): the independent script of
// docs/verification.md run on that file, printed to ten digits; the building
// row on the same file with structure=2 and a third frequency of 1.5 Hz. The
// along-wind loads that enter the combination come from the engine's own
// along-wind computation, which the same page checks against the same script.

#include "CrossWind.h"
#include "CodeChecks.h"
#include "CodeParameters.h"
#include "InputParse.h"

#include "EngineTestModels.h"

#include <string>
#include <variant>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::chimneyInput;

// A thin steel mast below terrain D's cut-off height of 30 m: D = 0.2 m,
// points at 5, 15 and 25 m.
ProjectInput mastInput(const std::string& frequency) {
    ProjectInput in;
    in.pointCount = 3;
    in.terrain = 4;
    in.heights = "5;15;25";
    in.areas = "2;2;1";
    in.masses = "0.4;0.4;0.2";
    in.modeShapes = {"0.05;0.4;1", "0", "0"};
    in.shapeCoefficients = "1.2";
    in.frequencies = frequency;
    in.dampingRatios = "0.01";
    in.windPressure = "0.5";
    in.diameter = "0.2";
    return in;
}

// The check as a computation runs it: the input parsed, the along-wind loads
// of the first mode computed, the edition's and terrain's parameters and
// cut-off height.
CrossWindOutcome check(const ProjectInput& text, Edition edition = Edition::GB201X) {
    const std::optional<ParsedInput> in = parseProjectInput(text);
    EXPECT_TRUE(in.has_value());
    if (!in)
        return NoCrossWindData{};
    const ResultsPtr results = test::computed(*in, edition);
    const std::optional<CodeParameters> p = lookUpCodeParameters(edition, in->terrainType);
    const std::optional<Cutoff> cutoff = cutoffFor(edition, in->terrainType);
    EXPECT_TRUE(p && cutoff);
    if (!p || !cutoff)
        return NoCrossWindData{};
    return checkCrossWind(*in, edition, *p, cutoff->height, results->raw().eqStaticLoad);
}

CrossWindResult resultOf(const CrossWindOutcome& outcome) {
    if (const auto* refusal = std::get_if<CrossWindRefusal>(&outcome))
        ADD_FAILURE() << refusal->message;
    EXPECT_TRUE(std::holds_alternative<CrossWindResult>(outcome));
    const auto* r = std::get_if<CrossWindResult>(&outcome);
    return r ? *r : CrossWindResult{};
}

std::string refusalOf(const CrossWindOutcome& outcome) {
    EXPECT_TRUE(std::holds_alternative<CrossWindRefusal>(outcome));
    const auto* refusal = std::get_if<CrossWindRefusal>(&outcome);
    return refusal ? refusal->message : std::string();
}

void expectNoLoad(const CrossWindMode& m) {
    EXPECT_FALSE(m.carriesLoad());
    EXPECT_FALSE(m.lambda || m.lockInHeight || m.combinedShear || m.combinedMoment);
    EXPECT_EQ(m.load, List(m.load.size(), 0.0));
    EXPECT_EQ(m.force, List(m.force.size(), 0.0));
    EXPECT_EQ(m.baseShear, 0.0);
    EXPECT_EQ(m.baseMoment, 0.0);
    EXPECT_TRUE(m.combinationClause.empty());
}

TEST(CrossWind, ChimneyResonatesInItsSecondModeOnly) {
    const CrossWindResult r = resultOf(check(chimneyInput()));
    ASSERT_EQ(r.modes.size(), 3u);
    EXPECT_EQ(r.topPoint, 10);
    EXPECT_REL(r.topHeightCoef, 1.995262315);
    EXPECT_REL(r.topSpeed, 39.95259506);
    EXPECT_REL(r.alongShear, 466.2586928);
    EXPECT_REL(r.alongMoment, 30075.86663);
    EXPECT_FALSE(r.subcriticalResonance);

    // Mode 1: Re = 3.105e6, supercritical, no action.
    const CrossWindMode& m1 = r.modes[0];
    EXPECT_REL(m1.period, 4.0);
    EXPECT_REL(m1.criticalSpeed, 7.5);
    EXPECT_REL(m1.reynolds, 3105000.0);
    EXPECT_EQ(m1.regime, FlowRegime::Supercritical);
    EXPECT_FALSE(m1.resonance);
    expectNoLoad(m1);

    const CrossWindMode& m2 = r.modes[1];
    EXPECT_REL(m2.criticalSpeed, 30.0);
    EXPECT_REL(m2.reynolds, 12420000.0);
    EXPECT_EQ(m2.regime, FlowRegime::Transcritical);
    EXPECT_TRUE(m2.resonance);
    ASSERT_TRUE(m2.carriesLoad() && m2.lockInHeight && m2.combinedShear && m2.combinedMoment);
    EXPECT_REL(*m2.lockInHeight, 4.391707776);
    EXPECT_REL(*m2.lambda, 0.8256082922);
    EXPECT_REL(m2.load[0], -0.1044910495); // the sign of phi_2 kept
    EXPECT_REL(m2.load[9], 1.161011661);
    EXPECT_REL(m2.force[9], 69.66069966);
    EXPECT_REL(m2.baseShear, -113.5469404);
    EXPECT_REL(m2.baseMoment, 633.9123669);
    EXPECT_REL(*m2.combinedShear, 301.9203345);
    EXPECT_REL(*m2.combinedMoment, 18056.65075);
    EXPECT_EQ(m2.combinationClause, "GB50009-201X 表8.5.6 工况2");

    // Mode 3: transcritical, but v_cr = 60 m/s is above 1.2 v_H.
    EXPECT_EQ(r.modes[2].regime, FlowRegime::Transcritical);
    EXPECT_FALSE(r.modes[2].resonance);
    expectNoLoad(r.modes[2]);

    const std::vector<std::string> notices = crossWindNotices(r);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].rfind("第2阶振型发生跨临界强风共振", 0), 0u) << notices[0];
}

TEST(CrossWind, BuildingRowHasItsOwnLambdaAndNoRowForTheThirdMode) {
    ProjectInput in = chimneyInput();
    in.structureType = "2";
    in.frequencies = "0.25;1;1.5";
    const CrossWindResult r = resultOf(check(in));
    ASSERT_EQ(r.modes.size(), 3u);
    const CrossWindMode& m2 = r.modes[1];
    ASSERT_TRUE(m2.carriesLoad());
    EXPECT_REL(*m2.lambda, 0.7256082922);
    EXPECT_REL(m2.load[9], 1.020386661);
    EXPECT_REL(m2.baseShear, -99.79381544);
    EXPECT_REL(*m2.combinedShear, 297.021525);

    // v_cr,3 = 45 m/s resonates, but the building row stops at mode 2.
    const CrossWindMode& m3 = r.modes[2];
    EXPECT_TRUE(m3.resonance);
    EXPECT_FALSE(m3.tableCovers);
    expectNoLoad(m3);
    EXPECT_EQ(crossWindNotices(r).size(), 2u);
}

TEST(CrossWind, OldCodeTakesItsOwnProfileAndCombination) {
    const CrossWindResult r = resultOf(check(chimneyInput(), Edition::GB2001));
    EXPECT_REL(r.topHeightCoef, 2.089296131);
    EXPECT_REL(r.topSpeed, 40.88321055);
    const CrossWindMode& m2 = r.modes.at(1);
    ASSERT_TRUE(m2.carriesLoad() && m2.lockInHeight && m2.combinedShear && m2.combinedMoment);
    EXPECT_REL(*m2.lockInHeight, 4.623478526); // alpha = 0.16 over terrain B
    EXPECT_REL(*m2.lambda, 0.8253765215);
    EXPECT_REL(m2.load[9], 1.160685733);
    EXPECT_REL(m2.baseMoment, 633.7344104);
    // The whole along-wind effect with the cross-wind one: sqrt(V_D^2 + V_L^2).
    EXPECT_REL(r.alongShear, 427.8449707);
    EXPECT_REL(*m2.combinedShear, 442.6477029);
    EXPECT_REL(*m2.combinedMoment, 27337.753);
    EXPECT_EQ(m2.combinationClause, "GB50009-2001 第7.6.3条");
}

// mu_H held at its value at 30 m: (35)^0.3 (10/550)^0.6 (30/10)^0.6 =
// 0.5073124873, v_H = sqrt(2000 * 0.5073124873 * 0.5 / 1.25) = 20.1457189 m/s
// (python3). v_cr = 0.2 f / 0.2, Re = 69000 v_cr 0.2.
TEST(CrossWind, ThinMastInSubcriticalResonanceIsFlaggedBelowFifteenMetresPerSecond) {
    const CrossWindResult slow = resultOf(check(mastInput("2")));
    EXPECT_REL(slow.topHeightCoef, 0.5073124873);
    EXPECT_REL(slow.topSpeed, 20.1457189);
    ASSERT_EQ(slow.modes.size(), 1u);
    EXPECT_REL(slow.modes[0].reynolds, 27600.0);
    EXPECT_EQ(slow.modes[0].regime, FlowRegime::Subcritical);
    EXPECT_FALSE(slow.modes[0].resonance);
    expectNoLoad(slow.modes[0]);
    EXPECT_TRUE(slow.subcriticalResonance);
    EXPECT_TRUE(slow.criticalSpeedBelowMin);
    EXPECT_EQ(crossWindNotices(slow).size(), 1u);

    // v_cr = 16 m/s, Re = 220800: still subcritical and below v_H, but fast
    // enough.
    const CrossWindResult fast = resultOf(check(mastInput("16")));
    EXPECT_REL(fast.modes.at(0).criticalSpeed, 16.0);
    EXPECT_TRUE(fast.subcriticalResonance);
    EXPECT_FALSE(fast.criticalSpeedBelowMin);
}

TEST(CrossWind, RefusesWhatItCannotCheckAndSkipsProjectsWithoutDiameter) {
    ProjectInput in = chimneyInput();
    in.diameter = "-6";
    EXPECT_NE(refusalOf(check(in)).find("直径D=-6 m为负数"), std::string::npos);

    // The highest point entered first: its shape value is the one that counts.
    in = chimneyInput();
    in.heights = "100;90;80;70;60;50;40;30;20;10";
    in.modeShapes[1] = "0;0.52;0.07;-0.32;-0.59;-0.71;-0.68;-0.53;-0.30;-0.09";
    EXPECT_NE(refusalOf(check(in)).find("第2阶振型在最高质点(第1质点，z=100 m)处的值为0"),
              std::string::npos);

    in = chimneyInput();
    in.frequencies = "0.25;0;2"; // a single frequency the input itself refuses at m = 3
    EXPECT_NE(refusalOf(check(in)).find("第2阶振型的自振频率应大于0"), std::string::npos);

    for (const char* diameter : {"", "0"}) {
        in = chimneyInput();
        in.diameter = diameter;
        EXPECT_TRUE(std::holds_alternative<NoCrossWindData>(check(in))) << diameter;
    }
}

// GB 50009-2012 table 8.2.1, terrain B and D: 1.00 at and below 5 m (B), 0.51
// up to 30 m (D), 2.91 from 350 m (B).
TEST(TabulatedHeightCoefficient, HoldsTheTableBelowTheCutoffAndAboveTheGradientHeight) {
    const CodeParameters b = *lookUpCodeParameters(Edition::GB201X, 2);
    const CodeParameters d = *lookUpCodeParameters(Edition::GB201X, 4);
    EXPECT_NEAR(tabulatedHeightCoefficient(b, 10.0, 5.0), 1.00, 0.005);
    EXPECT_NEAR(tabulatedHeightCoefficient(b, 10.0, 100.0), 2.00, 0.005);
    EXPECT_NEAR(tabulatedHeightCoefficient(b, 10.0, 500.0), 2.91, 0.005);
    EXPECT_EQ(tabulatedHeightCoefficient(b, 10.0, 500.0), heightCoefficient(b, 350.0));
    EXPECT_NEAR(tabulatedHeightCoefficient(d, 30.0, 20.0), 0.51, 0.005);
}

} // namespace
} // namespace tamsor
