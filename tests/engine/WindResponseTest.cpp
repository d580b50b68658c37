// The whole computation: worked examples, invariances and a three-point case.
//
// The reference values were computed with this python3 script, which uses the
// closed forms (mu_z as (v(z)/V0)^2, rho_x as 10 sqrt(B + 50 e^(-B/50) - 50)/B,
// R^2 = pi/(6 zeta) x^2/(1+x^2)^(4/3), beta = 1 + g d m phi sigmaQ/(M1 P)),
// not the engine's step order:
//
//   from math import exp, sqrt
//   PI = 3.1415926
//   ZG = {0: [300, 350, 450, 550], 1: [300, 350, 400, 450]}
//   AL = {0: [.12, .15, .22, .30], 1: [.12, .16, .22, .30]}
//   I10 = {0: [.12, .14, .23, .39], 1: [.088, .1136, .1668, .2784]}
//   G = {0: 2.5, 1: 2.2}
//   def run(ed, ter, z, A, mus, m, phi, f1, zeta, B, w0):
//       a, ab, zg, i10, g = AL[ed][ter-1], AL[ed][1], ZG[ed][ter-1], I10[ed][ter-1], G[ed]
//       v0 = sqrt(1.63*w0); v10 = v0*(350/10)**ab*(10/zg)**a; n = len(z)
//       muz = [(v10*(zi/10)**a/v0)**2 for zi in z]
//       P = [mus[i]*muz[i]*A[i]*w0 for i in range(n)]                      # N
//       sp = [2*i10*(z[i]/10)**(-a)*P[i] for i in range(n)]
//       rho = 1.0 if B == 0 else 10*sqrt(B + 50*exp(-B/50) - 50)/B
//       C = [[rho**2*sp[i]*sp[j]*exp(-abs(z[i]-z[j])/60) for j in range(n)] for i in range(n)]
//       sQ = sqrt(sum(C[i][j]*phi[i]*phi[j] for i in range(n) for j in range(n)))
//       M1 = sum(m[i]*phi[i]**2 for i in range(n)); w2 = (2*PI*f1)**2
//       x1 = 1200*f1/v10; R2 = PI/(6*zeta)*x1**2/(1+x1**2)**(4/3); d = sqrt(1+R2)
//       beta = [1 + g*d*m[i]*phi[i]*sQ/(M1*P[i]) for i in range(n)]
//       F = [(beta[i]-1)*P[i]/1000 for i in range(n)]
//       sv = sqrt(sum(map(sum, C))); VB = g*sv/1000
//       bg = [g*sum(C[i])/sv/1000 for i in range(n)]
//       res = [sqrt(R2)/d*F[i] for i in range(n)]; ex = sqrt(sum(res)**2 + VB**2)
//       return dict(dyn=d, meanLoad=[p/1000 for p in P],
//           meanDisp=[phi[i]*sum(P[j]*phi[j] for j in range(n))/(M1*w2) for i in range(n)],
//           dispStd=[F[i]*1000/(w2*m[i]) for i in range(n)], F=F, beta=beta,
//           eq=[beta[i]*P[i]/1000 for i in range(n)], muR=[(b-1)/d for b in beta],
//           Bz=[(b-1)/(2*g*i10*d) for b in beta], bg=bg, VB=VB,
//           lrc=[sqrt(res[i]**2+bg[i]**2)+P[i]/1000 for i in range(n)], exact=ex, C=sum(F)/ex,
//           acc=[res[i]/m[i] for i in range(n)])   # resonant force (kN) over mass (t): m/s^2
//   run(0, 2, [10], [10], [1.3], [10], [1], 1, .05, 0, 500)          # one point, new code
//   run(1, 2, [10], [10], [1.3], [10], [1], 1, .05, 0, 500)          # one point, old code
//   run(0, 3, [20, 40, 60], [30, 30, 25], [1.3, 1.3, 1.4], [50, 40, 30],
//       [0.15, 0.55, 1.0], 0.8, 0.04, 30, 550)                       # three points, new code C
//   run(1, 4, ...same...)                                            # three points, old code D

#include "WindResponse.h"

#include "EngineTestModels.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::onePointModel;
using test::threePointModel;

void computeOk(ProjectModel& m) {
    const auto fault = computeWindResponse(m);
    ASSERT_FALSE(fault.has_value()) << fault->message();
    ASSERT_TRUE(m.resultsComplete);
}

struct OnePointExpected {
    double meanDisp, dispStd, windVibForce, windVibCoef, eqStaticLoad, muR, bgFactor;
    double lrcBackground, lrcLoad, exactBaseShear;
};

void expectOnePoint(const ProjectModel& m, const OnePointExpected& e) {
    for (const List* list : {&m.meanLoad, &m.meanDisp, &m.dispStd, &m.windVibForce, &m.windVibCoef,
                             &m.eqStaticLoad, &m.muR, &m.bgFactor, &m.lrcBackground, &m.lrcLoad})
        ASSERT_EQ(list->size(), 1u);
    EXPECT_REL(m.meanLoad[0], 6.5);
    EXPECT_REL(m.meanDisp[0], e.meanDisp);
    EXPECT_REL(m.dynFactor, 1.3658566236766874);
    EXPECT_REL(m.dispStd[0], e.dispStd);
    EXPECT_REL(m.windVibForce[0], e.windVibForce);
    EXPECT_REL(m.windVibCoef[0], e.windVibCoef);
    EXPECT_REL(m.eqStaticLoad[0], e.eqStaticLoad);
    EXPECT_REL(m.muR[0], e.muR);
    EXPECT_REL(m.bgFactor[0], e.bgFactor);
    EXPECT_REL(m.lrcBackground[0], e.lrcBackground);
    EXPECT_REL(m.lrcLoad[0], e.lrcLoad);
    EXPECT_REL(m.exactBaseShear, e.exactBaseShear);
    EXPECT_REL(m.corrC, 1.0);
}

TEST(WindResponse, OnePointWorkedExampleNewCode) {
    ProjectModel m = onePointModel(0);
    computeOk(m);
    EXPECT_EQ(m.alpha, 0.15);
    EXPECT_EQ(m.i10, 0.14);
    // res = 4.233124763236936; lrcLoad equals eqStaticLoad, exactBaseShear
    // equals windVibForce, V_B = lrcBackground for one point.
    expectOnePoint(m,
                   {16.464692903594656, 15.741886901424119, 6.214647637728932, 1.9560996365736814,
                    12.714647637728936, 0.7, 1.0, 4.55, 12.714647637728936, 6.214647637728932});
}

TEST(WindResponse, OnePointWorkedExampleOldCode) {
    ProjectModel m = onePointModel(1);
    computeOk(m);
    EXPECT_EQ(m.alpha, 0.16);
    EXPECT_EQ(m.i10, 0.1136);
    expectOnePoint(m,
                   {16.464692903594642, 11.240606784011181, 4.437613536060611, 1.6827097747785555,
                    10.93761353606061, 0.49984, 1.0, 3.24896, 10.93761353606061, 4.43761353606061});
}

struct ThreePointExpected {
    double dynFactor;
    std::array<double, 3> meanLoad, meanDisp, dispStd, windVibForce, windVibCoef, eqStaticLoad, muR,
        bgFactor, lrcBackground, lrcLoad;
    double vB, exactBaseShear, corrC;
};

void expectThreePoints(const ProjectModel& m, const ThreePointExpected& e) {
    EXPECT_REL(m.dynFactor, e.dynFactor);
    const std::array<std::pair<const List*, const std::array<double, 3>*>, 10> lists{{
        {&m.meanLoad, &e.meanLoad},
        {&m.meanDisp, &e.meanDisp},
        {&m.dispStd, &e.dispStd},
        {&m.windVibForce, &e.windVibForce},
        {&m.windVibCoef, &e.windVibCoef},
        {&m.eqStaticLoad, &e.eqStaticLoad},
        {&m.muR, &e.muR},
        {&m.bgFactor, &e.bgFactor},
        {&m.lrcBackground, &e.lrcBackground},
        {&m.lrcLoad, &e.lrcLoad},
    }};
    for (std::size_t k = 0; k < lists.size(); ++k) {
        const auto& [actual, expected] = lists[k];
        ASSERT_EQ(actual->size(), 3u) << "list " << k;
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "list " << k << " point " << i + 1);
            EXPECT_REL((*actual)[i], (*expected)[i]);
        }
    }
    // The background components add up to the peak background base shear.
    EXPECT_REL(std::accumulate(m.lrcBackground.begin(), m.lrcBackground.end(), 0.0), e.vB);
    EXPECT_REL(m.exactBaseShear, e.exactBaseShear);
    EXPECT_REL(m.corrC, e.corrC);
}

TEST(WindResponse, ThreePointsNewCodeTerrainCMatchIndependentReference) {
    ProjectModel m = threePointModel(0, 3);
    computeOk(m);
    expectThreePoints(m, {1.434645035,
                          {15.83752822, 21.48525933, 23.04751951},
                          {5.114777146, 18.75418287, 34.09851431},
                          {4.934034478, 18.09145975, 32.89356318},
                          {6.233211742, 18.28408778, 24.93284697},
                          {1.393572258, 1.851006148, 2.081801751},
                          {22.07073997, 39.7693471, 47.98036648},
                          {0.2743342418, 0.5931823742, 0.7540553412},
                          {0.2385515146, 0.5158107602, 0.6557002967},
                          {11.86922289, 15.41638791, 13.9533934},
                          {28.52036306, 41.72250436, 45.72593983},
                          41.23900421,
                          54.38649577,
                          0.909235754});
}

TEST(WindResponse, ThreePointsOldCodeTerrainDMatchIndependentReference) {
    ProjectModel m = threePointModel(1, 4);
    computeOk(m);
    expectThreePoints(m, {1.372861793,
                          {10.33283656, 15.66165155, 17.92651009},
                          {3.858101223, 14.14637115, 25.72067482},
                          {3.338068521, 12.23958458, 22.25379014},
                          {4.217013074, 12.36990502, 16.8680523},
                          {1.40811766, 1.789821238, 1.940955725},
                          {14.54984963, 28.03155656, 34.79456239},
                          {0.2972751239, 0.5753100872, 0.6853972695},
                          {0.2426814948, 0.4696562233, 0.5595262454},
                          {7.724912593, 10.71292734, 10.09969577},
                          {18.58039147, 29.32165689, 33.27480165},
                          28.5375357,
                          36.60312048,
                          0.9139923029});
}

TEST(WindResponse, AccelerationIsTheResonantForceOverTheMass) {
    // The engine forms it from the displacement, (2 pi f1)^2 dispStd R/sqrt(1+R^2);
    // the reference divides the resonant part of the wind vibration force by
    // the mass.
    ProjectModel one = onePointModel(0);
    computeOk(one);
    ASSERT_EQ(one.acceleration.size(), 1u);
    EXPECT_REL(one.acceleration[0], 0.4233124763236936);
    ProjectModel oneOld = onePointModel(1);
    computeOk(oneOld);
    EXPECT_REL(oneOld.acceleration[0], 0.3022692973794784);
    ProjectModel three = threePointModel(0, 3);
    computeOk(three);
    ASSERT_EQ(three.acceleration.size(), 3u);
    EXPECT_REL(three.acceleration[0], 0.0893886962635829);
    EXPECT_REL(three.acceleration[1], 0.3277585529664707);
    EXPECT_REL(three.acceleration[2], 0.5959246417572193);
}

// Every result of the run, for comparisons between runs.
std::vector<double> allResults(const ProjectModel& m) {
    std::vector<double> out{m.alpha, m.i10, m.dynFactor, m.corrC, m.exactBaseShear};
    for (const List* list :
         {&m.meanLoad, &m.windVibForce, &m.windVibCoef, &m.eqStaticLoad, &m.lrcLoad,
          &m.lrcBackground, &m.meanDisp, &m.dispStd, &m.bgFactor, &m.muR})
        out.insert(out.end(), list->begin(), list->end());
    return out;
}

void expectSameResults(const ProjectModel& a, const ProjectModel& b, double relTol) {
    const auto ra = allResults(a);
    const auto rb = allResults(b);
    ASSERT_EQ(ra.size(), rb.size());
    for (std::size_t k = 0; k < ra.size(); ++k)
        EXPECT_NEAR(ra[k], rb[k], relTol * std::fabs(rb[k])) << "result value " << k;
}

TEST(WindResponse, PositiveModeShapeScaleChangesNothing) {
    ProjectModel base = threePointModel();
    computeOk(base);
    ProjectModel scaled = threePointModel();
    for (double& phi : scaled.modeShape)
        phi *= 37.5;
    computeOk(scaled);
    expectSameResults(scaled, base, 1e-12);
}

TEST(WindResponse, NegativeModeShapeScaleFlipsFluctuatingResponseOnly) {
    ProjectModel base = threePointModel();
    computeOk(base);
    ProjectModel flipped = threePointModel();
    for (double& phi : flipped.modeShape)
        phi *= -0.4;
    computeOk(flipped);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(flipped.meanDisp[i], base.meanDisp[i], 1e-12 * base.meanDisp[i]);
        EXPECT_NEAR(flipped.dispStd[i], -base.dispStd[i], 1e-12 * base.dispStd[i]);
        EXPECT_NEAR(flipped.windVibForce[i], -base.windVibForce[i], 1e-12 * base.windVibForce[i]);
        EXPECT_EQ(flipped.meanLoad[i], base.meanLoad[i]);
    }
    EXPECT_EQ(flipped.dynFactor, base.dynFactor);
}

TEST(WindResponse, HigherModesAndModeCountHaveNoEffect) {
    ProjectModel base = threePointModel();
    computeOk(base);
    ProjectModel more = threePointModel();
    more.nModes = 3;
    more.freq = {0.8, 2.7, 6.1};
    more.dampRatio = {0.04, 0.5, 0.001};
    more.modeShape2 = {1.0, -0.3, -1.0};
    more.modeShape3 = {0.7, -1.0, 1.0};
    computeOk(more);
    expectSameResults(more, base, 0.0);
}

TEST(WindResponse, WidthScalesBackgroundAndFirstModeButNotCorrection) {
    // rho_x(50) = 10 sqrt(50 + 50 e^-1 - 50) / 50 = 0.8577638849607068
    const double rho50 = 0.8577638849607068;
    ProjectModel narrow = threePointModel();
    narrow.structWidth = 0.0;
    computeOk(narrow);
    ProjectModel wide = threePointModel();
    wide.structWidth = 50.0;
    computeOk(wide);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_REL(wide.lrcBackground[i], rho50 * narrow.lrcBackground[i]);
        EXPECT_REL(wide.windVibForce[i], rho50 * narrow.windVibForce[i]);
        EXPECT_REL(wide.bgFactor[i], rho50 * narrow.bgFactor[i]);
        EXPECT_EQ(wide.meanLoad[i], narrow.meanLoad[i]);
    }
    EXPECT_REL(wide.exactBaseShear, rho50 * narrow.exactBaseShear);
    EXPECT_REL(wide.corrC, narrow.corrC);

    // One point: B_z = rho_x (z/10)^-alpha, so rho_x itself at z = 10 m.
    // rho_x(100) = 10 sqrt(100 + 50 e^-2 - 50) / 100 = 0.7534372181000262
    ProjectModel one = onePointModel();
    one.structWidth = 100.0;
    computeOk(one);
    EXPECT_REL(one.bgFactor[0], 0.7534372181000262);
    EXPECT_REL(one.corrC, 1.0);
    EXPECT_REL(one.lrcLoad[0], one.eqStaticLoad[0]);
}

TEST(WindResponse, SinglePointBackgroundFactorFollowsTurbulenceLaw) {
    ProjectModel m = onePointModel();
    m.terrainType = 3; // alpha 0.22
    m.zCoord = {45.0};
    m.structWidth = 50.0;
    computeOk(m);
    EXPECT_REL(m.bgFactor[0], 0.8577638849607068 * std::pow(4.5, -0.22));
    EXPECT_REL(m.corrC, 1.0);
    EXPECT_REL(m.lrcLoad[0], m.eqStaticLoad[0]);
}

TEST(WindResponse, ResultListsFollowThePointCountOfTheLastRun) {
    ProjectModel m = threePointModel();
    m.nFreedom = 5;
    m.zCoord = {10.0, 20.0, 30.0, 40.0, 50.0};
    m.windArea = {5.0, 5.0, 5.0, 5.0, 5.0};
    m.shapeCoef = {1.3, 1.3, 1.3, 1.3, 1.3};
    m.mass = {9.0, 9.0, 9.0, 9.0, 9.0};
    m.modeShape = {0.1, 0.3, 0.5, 0.8, 1.0};
    computeOk(m);
    EXPECT_EQ(m.lrcLoad.size(), 5u);

    ProjectModel three = threePointModel();
    computeOk(three);
    // The same record with three points again.
    m.nFreedom = 3;
    m.zCoord = three.zCoord;
    m.windArea = three.windArea;
    m.shapeCoef = three.shapeCoef;
    m.mass = three.mass;
    m.modeShape = three.modeShape;
    computeOk(m);
    for (const List* list :
         {&m.meanLoad, &m.windVibForce, &m.windVibCoef, &m.eqStaticLoad, &m.lrcLoad,
          &m.lrcBackground, &m.meanDisp, &m.dispStd, &m.bgFactor, &m.muR})
        EXPECT_EQ(list->size(), 3u);
    expectSameResults(m, three, 0.0);
}

TEST(WindResponse, PointWithZeroOrNegativeModeShape) {
    ProjectModel m = threePointModel();
    m.modeShape = {0.0, -0.2, 1.0};
    computeOk(m);
    EXPECT_EQ(m.dispStd[0], 0.0);
    EXPECT_EQ(m.windVibForce[0], 0.0);
    EXPECT_EQ(m.muR[0], 0.0);
    EXPECT_EQ(m.bgFactor[0], 0.0);
    EXPECT_EQ(m.windVibCoef[0], 1.0);
    EXPECT_EQ(m.eqStaticLoad[0], m.meanLoad[0]);
    EXPECT_EQ(m.meanDisp[0], 0.0);
    // The negative ordinate gives displacements against the others.
    EXPECT_LT(m.meanDisp[1], 0.0);
    EXPECT_GT(m.meanDisp[2], 0.0);
    EXPECT_REL(m.meanDisp[1], -0.2 * m.meanDisp[2]);
    EXPECT_LT(m.dispStd[1] * m.dispStd[2], 0.0);
}

TEST(WindResponse, CallersExceptionFlagsAreKept) {
    ProjectModel m = threePointModel();
    std::feclearexcept(FE_ALL_EXCEPT);
    computeOk(m);
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);

    std::feraiseexcept(FE_OVERFLOW);
    computeOk(m);
    EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

} // namespace
} // namespace tamsor
