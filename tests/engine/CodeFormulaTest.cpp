// The load code's closed form of beta_z and the comfort check.
//
// Reference values: the independent script of docs/verification.md
// (code_formula(), full-precision pi), run on the project files named with
// each case; the table values of J.1.2 by hand.

#include "CodeFormula.h"
#include "CodeChecks.h"

#include "EngineTestModels.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

CodeFormulaOutcome evaluate(const ParsedInput& in, Edition edition = Edition::GB201X) {
    return evaluateCodeFormula(in, edition, *lookUpCodeParameters(edition, in.terrainType),
                               kCodeTables.terrain(edition, in.terrainType)->cutoffHeight);
}

// tests/data/files/code_formula_building.wvd: a 100 m building, B = 25 m,
// T1 = 1.8 s, zeta1 = 0.05, terrain B, w0 = 0.55 kPa, the mode shape of
// table G.0.3 (0.74 at 80 m), structure=2, w10=0.40.
ParsedInput building() {
    ParsedInput in;
    in.nFreedom = 10;
    in.terrainType = 2;
    in.zCoord = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    in.windArea = {250, 250, 250, 250, 250, 250, 250, 250, 250, 125};
    in.mass = {2250, 2250, 2250, 2250, 2250, 2250, 2250, 2250, 2250, 1125};
    in.modeShapes[0] = {0.02, 0.08, 0.17, 0.27, 0.38, 0.45, 0.67, 0.74, 0.86, 1};
    in.shapeCoef = List(10, 1.3);
    in.freq = {1.0 / 1.8};
    in.dampRatio = {0.05};
    in.structWidth = 25.0;
    in.w0 = 550.0;
    in.structureType = 2;
    in.w10KPa = 0.40;
    return in;
}

TEST(CodeFormula, WorkedBuildingExample) {
    const CodeFormulaOutcome out = evaluate(building());
    ASSERT_TRUE(out.codeFormula) << out.whyNot;
    const CodeFormulaResult& r = *out.codeFormula;
    EXPECT_EQ(r.structureType, StructureType::Building);
    EXPECT_FALSE(r.structureTypeUnspecified);
    EXPECT_REL(r.x1, 22.473328748774737);
    EXPECT_REL(r.resonanceFactor, 1.1452117767753078);
    EXPECT_REL(r.rhoZ, 0.7164672788777845);
    EXPECT_REL(r.rhoX, 0.9231713154669982);
    EXPECT_EQ(r.k, 0.670);
    EXPECT_EQ(r.a1, 0.187);
    EXPECT_EQ(r.heightUsed, 100.0);
    // At 80 m, and at 10 m (the cut-off height of terrain B).
    EXPECT_REL(r.heightCoef[7], 1.8660659830736148);
    EXPECT_REL(r.bgFactor[7], 0.4157748245781997);
    EXPECT_REL(r.windVibCoef[7], 1.4424906706610834);
    EXPECT_REL(r.heightCoef[0], 1.0);
    EXPECT_REL(r.windVibCoef[0], 1.0223166699553534);

    ASSERT_TRUE(out.comfort) << out.comfortWhyNot;
    const ComfortResult& c = *out.comfort;
    EXPECT_REL(c.etaA, 1.1729000687683788);
    EXPECT_FALSE(c.etaAClamped);
    EXPECT_REL(c.massPerHeight, 213.75);
    EXPECT_REL(c.acceleration[7], 0.038741949060300124);
    EXPECT_REL(c.topAcceleration, 0.0523539852166218);
    ASSERT_TRUE(c.limits);
    EXPECT_TRUE(c.limits->residentialMet);
    EXPECT_TRUE(c.limits->officeMet);
    EXPECT_FALSE(comfortLimitExceeded(c));
}

// The same project with f1 = 0.1 Hz: 30 f1 / sqrt(w0) = 4.05 is raised to 5.
TEST(CodeFormula, X1BelowFiveIsRaisedToFive) {
    ParsedInput in = building();
    in.freq = {0.1};
    const CodeFormulaOutcome out = evaluate(in);
    ASSERT_TRUE(out.codeFormula && out.comfort);
    EXPECT_EQ(out.codeFormula->x1, 5.0);
    EXPECT_REL(out.codeFormula->resonanceFactor, 1.8436086962385039);
    EXPECT_REL(out.codeFormula->windVibCoef[7], 1.6104188401258897);
    EXPECT_EQ(out.comfort->etaA, 1.88); // the table's first row, zeta1 = 0.05
    EXPECT_REL(out.comfort->topAcceleration, 0.08391634959200073);
}

// The mode shape is divided by its value at the highest point, so scaling it,
// even by a negative factor, changes nothing.
TEST(CodeFormula, ModeShapeIsNormalisedAtTheHighestPoint) {
    ParsedInput in = building();
    for (double& phi : in.modeShapes[0])
        phi *= -2.0;
    const CodeFormulaOutcome out = evaluate(in);
    ASSERT_TRUE(out.codeFormula);
    EXPECT_REL(out.codeFormula->windVibCoef[7], 1.4424906706610834);
}

// Input the program's own computation may accept but the closed form cannot
// take: the section says why instead of showing numbers that are not.
TEST(CodeFormula, UndefinedInputGivesTheReasonInstead) {
    ParsedInput in = building();
    in.modeShapes[0][9] = 0.0;
    const CodeFormulaOutcome zeroAtTop = evaluate(in);
    EXPECT_FALSE(zeroAtTop.codeFormula);
    EXPECT_FALSE(zeroAtTop.comfort);
    EXPECT_EQ(zeroAtTop.whyNot, "第1阶振型在最高质点处为0，无法归一化，未作规范公式对照");

    in = building();
    in.dampRatio = {-0.05};
    const CodeFormulaOutcome negativeDamping = evaluate(in);
    EXPECT_FALSE(negativeDamping.codeFormula);
    EXPECT_EQ(negativeDamping.whyNot, "第1阶阻尼比不大于0，未作规范公式对照");
}

// A 400 m tower entered out of height order (20, 100, 400, 200, 300 m), f1 =
// 0.25 Hz, zeta1 = 0.02, B = 10 m, w0 = 0.5 kPa, as a file: 5 / 10 /
// 20;100;400;200;300 / 30;30;15;30;30 / 1 / 0.25 / 0.02 / 100;100;50;100;100
// / 0.03;0.2;1;0.45;0.72 / terrain / 0.5 / 1.3, then "structure=1" or "=2".
// H is capped over terrains A and B, the point at 400 m takes mu_z at the
// gradient height there, and the point at 20 m takes it at the cut-off
// height over D.
TEST(CodeFormula, EachTerrainAndStructureRow) {
    struct Case {
        int terrain;
        std::optional<int> structure;
        double x1, heightUsed, beta20m, beta400m;
    };
    const std::array<Case, 9> cases{{
        {1, 1, 9.375, 300, 1.0570531720961356, 1.9928797170612245},
        {1, 2, 9.375, 300, 1.0353679881800344, 1.6154987848536444},
        {2, 1, 10.606601717798211, 350, 1.0661144077289397, 1.9338205833060451},
        {2, 2, 10.606601717798211, 350, 1.0405941463182267, 1.5733644253324286},
        {3, 1, 14.433756729740642, 400, 1.1124476592866017, 2.0031733048756943},
        {3, 2, 14.433756729740642, 400, 1.0681910237770054, 1.6083489431370177},
        {4, 1, 20.80125735844609, 400, 1.1600629891298633, 2.12773335632256},
        {4, 2, 20.80125735844609, 400, 1.0966307716684627, 1.6808178770752629},
        {4, std::nullopt, 20.80125735844609, 400, 1.1600629891298633, 2.12773335632256},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "terrain " << c.terrain << " structure " << c.structure.value_or(0));
        ParsedInput in;
        in.nFreedom = 5;
        in.terrainType = c.terrain;
        in.zCoord = {20, 100, 400, 200, 300};
        in.windArea = {30, 30, 15, 30, 30};
        in.mass = {100, 100, 50, 100, 100};
        in.modeShapes[0] = {0.03, 0.2, 1, 0.45, 0.72};
        in.shapeCoef = List(5, 1.3);
        in.freq = {0.25};
        in.dampRatio = {0.02};
        in.structWidth = 10.0;
        in.w0 = 500.0;
        in.structureType = c.structure;
        const CodeFormulaOutcome out = evaluate(in);
        ASSERT_TRUE(out.codeFormula) << out.whyNot;
        EXPECT_EQ(out.codeFormula->structureTypeUnspecified, !c.structure);
        EXPECT_EQ(out.codeFormula->topPoint, 2);
        EXPECT_REL(out.codeFormula->x1, c.x1);
        EXPECT_EQ(out.codeFormula->heightUsed, c.heightUsed);
        EXPECT_REL(out.codeFormula->windVibCoef[0], c.beta20m);
        EXPECT_REL(out.codeFormula->windVibCoef[2], c.beta400m);
        EXPECT_FALSE(out.comfort); // no w10
        EXPECT_EQ(out.comfortWhyNot, "");
    }
}

// Table J.1.2 by hand: at x1 = 25, zeta1 = 0.035 the four neighbours 1.55,
// 1.35 (x1 = 20) and 1.36, 1.18 (x1 = 30) average to 1.36.
TEST(CodeFormula, TableJ12AtGridPointsBetweenAndOutside) {
    const AccelerationFactor grid = accelerationFactor(20.0, 0.05);
    EXPECT_EQ(grid.value, 1.21);
    EXPECT_FALSE(grid.clamped);
    const AccelerationFactor between = accelerationFactor(25.0, 0.035);
    EXPECT_NEAR(between.value, 1.36, 1e-12);
    EXPECT_FALSE(between.clamped);
    const AccelerationFactor outside = accelerationFactor(400.0, 0.005);
    EXPECT_EQ(outside.value, 1.09); // x1 = 300, zeta1 = 0.01
    EXPECT_TRUE(outside.clamped);
    EXPECT_TRUE(accelerationFactor(150.0, 0.06).clamped);
}

TEST(CodeFormula, Edition2001HasNoClosedFormAndNoComfort) {
    const CodeFormulaOutcome out = evaluate(building(), Edition::GB2001);
    EXPECT_FALSE(out.codeFormula);
    EXPECT_FALSE(out.comfort);
    EXPECT_EQ(out.whyNot, "GB50009-2001无此公式，未作对照");
}

TEST(CodeFormula, ComfortNeedsW10AndWidthAndLimitsOnlyBuildings) {
    ParsedInput in = building();
    in.w10KPa.reset();
    EXPECT_FALSE(evaluate(in).comfort);

    in = building();
    in.structWidth = 0.0;
    const CodeFormulaOutcome noWidth = evaluate(in);
    ASSERT_TRUE(noWidth.codeFormula);
    EXPECT_EQ(noWidth.codeFormula->rhoX, 1.0);
    EXPECT_FALSE(noWidth.comfort);
    EXPECT_EQ(noWidth.comfortWhyNot, "结构宽度B为0，未作舒适度验算");

    // Four times the pressure: 0.2094 m/s^2 at the top, between the limits.
    in = building();
    in.w10KPa = 1.6;
    const CodeFormulaOutcome windy = evaluate(in);
    ASSERT_TRUE(windy.comfort && windy.comfort->limits);
    EXPECT_REL(windy.comfort->topAcceleration, 4 * 0.0523539852166218);
    EXPECT_FALSE(windy.comfort->limits->residentialMet);
    EXPECT_TRUE(windy.comfort->limits->officeMet);
    EXPECT_TRUE(comfortLimitExceeded(*windy.comfort));

    in.structureType = 1;
    const CodeFormulaOutcome tower = evaluate(in);
    ASSERT_TRUE(tower.comfort);
    EXPECT_FALSE(tower.comfort->limits);
    EXPECT_FALSE(comfortLimitExceeded(*tower.comfort));
}

TEST(CodeFormula, PointsWhereTheTwoCoefficientsDifferByMoreThanAFifth) {
    CodeFormulaResult code;
    code.windVibCoef = {1.1, 1.3, 1.5, 1.2};
    const List program{1.0, 1.0, 1.5, 1.8};
    EXPECT_EQ(divergentPoints(code, program), (std::vector<int>{2, 4}));
}

} // namespace
} // namespace tamsor
