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
//           acc=[abs(res[i])/m[i] for i in range(n)])  # peak resonant force (kN) over mass (t):
//           m/s^2
//   run(0, 2, [10], [10], [1.3], [10], [1], 1, .05, 0, 500)          # one point, new code
//   run(1, 2, [10], [10], [1.3], [10], [1], 1, .05, 0, 500)          # one point, old code
//   run(0, 3, [20, 40, 60], [30, 30, 25], [1.3, 1.3, 1.4], [50, 40, 30],
//       [0.15, 0.55, 1.0], 0.8, 0.04, 30, 550)                       # three points, new code C
//   run(1, 4, ...same...)                                            # three points, old code D

#include "WindResponse.h"

#include "EngineTestModels.h"
#include "ResultFields.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

using test::computed;
using test::onePoint;
using test::threePoints;

struct OnePointExpected {
    double meanDisp, dispStd, windVibForce, windVibCoef, eqStaticLoad, muR, bgFactor;
    double lrcBackground, lrcLoad, exactBaseShear;
};

void expectOnePoint(const Results& results, const OnePointExpected& e) {
    const RawResults& r = results.raw();
    for (const List* list : {&r.meanLoad, &r.meanDisp, &r.dispStd, &r.windVibForce, &r.windVibCoef,
                             &r.eqStaticLoad, &r.muR, &r.bgFactor, &r.lrcBackground, &r.lrcLoad})
        ASSERT_EQ(list->size(), 1u);
    EXPECT_REL(r.meanLoad[0], 6.5);
    EXPECT_REL(r.meanDisp[0], e.meanDisp);
    EXPECT_REL(r.dynFactor, 1.3658566236766874);
    EXPECT_REL(r.dispStd[0], e.dispStd);
    EXPECT_REL(r.windVibForce[0], e.windVibForce);
    EXPECT_REL(r.windVibCoef[0], e.windVibCoef);
    EXPECT_REL(r.eqStaticLoad[0], e.eqStaticLoad);
    EXPECT_REL(r.muR[0], e.muR);
    EXPECT_REL(r.bgFactor[0], e.bgFactor);
    EXPECT_REL(r.lrcBackground[0], e.lrcBackground);
    EXPECT_REL(r.lrcLoad[0], e.lrcLoad);
    EXPECT_REL(r.exactBaseShear, e.exactBaseShear);
    EXPECT_REL(r.corrC, 1.0);
}

TEST(WindResponse, OnePointWorkedExampleNewCode) {
    const ResultsPtr r = computed(onePoint(), Edition::GB201X);
    EXPECT_EQ(r->raw().alpha, 0.15);
    EXPECT_EQ(r->raw().i10, 0.14);
    // res = 4.233124763236936; lrcLoad equals eqStaticLoad, exactBaseShear
    // equals windVibForce, V_B = lrcBackground for one point.
    expectOnePoint(*r,
                   {16.464692903594656, 15.741886901424119, 6.214647637728932, 1.9560996365736814,
                    12.714647637728936, 0.7, 1.0, 4.55, 12.714647637728936, 6.214647637728932});
}

TEST(WindResponse, OnePointWorkedExampleOldCode) {
    const ResultsPtr r = computed(onePoint(), Edition::GB2001);
    EXPECT_EQ(r->raw().alpha, 0.16);
    EXPECT_EQ(r->raw().i10, 0.1136);
    expectOnePoint(*r,
                   {16.464692903594642, 11.240606784011181, 4.437613536060611, 1.6827097747785555,
                    10.93761353606061, 0.49984, 1.0, 3.24896, 10.93761353606061, 4.43761353606061});
}

struct ThreePointExpected {
    double dynFactor;
    std::array<double, 3> meanLoad, meanDisp, dispStd, windVibForce, windVibCoef, eqStaticLoad, muR,
        bgFactor, lrcBackground, lrcLoad;
    double vB, exactBaseShear, corrC;
};

void expectThreePoints(const Results& results, const ThreePointExpected& e) {
    const RawResults& r = results.raw();
    EXPECT_REL(r.dynFactor, e.dynFactor);
    const std::array<std::pair<const List*, const std::array<double, 3>*>, 10> lists{{
        {&r.meanLoad, &e.meanLoad},
        {&r.meanDisp, &e.meanDisp},
        {&r.dispStd, &e.dispStd},
        {&r.windVibForce, &e.windVibForce},
        {&r.windVibCoef, &e.windVibCoef},
        {&r.eqStaticLoad, &e.eqStaticLoad},
        {&r.muR, &e.muR},
        {&r.bgFactor, &e.bgFactor},
        {&r.lrcBackground, &e.lrcBackground},
        {&r.lrcLoad, &e.lrcLoad},
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
    EXPECT_REL(std::accumulate(r.lrcBackground.begin(), r.lrcBackground.end(), 0.0), e.vB);
    EXPECT_REL(r.exactBaseShear, e.exactBaseShear);
    EXPECT_REL(r.corrC, e.corrC);
}

TEST(WindResponse, ThreePointsNewCodeTerrainCMatchIndependentReference) {
    expectThreePoints(*computed(threePoints(3), Edition::GB201X),
                      {1.434645035,
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
    expectThreePoints(*computed(threePoints(4), Edition::GB2001),
                      {1.372861793,
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

TEST(WindResponse, AccelerationIsThePeakOfTheResonantForceOverTheMass) {
    // The engine forms it from the displacement, (2 pi f1)^2 dispStd R/sqrt(1+R^2);
    // the reference divides the resonant part of the wind vibration force by
    // the mass.
    EXPECT_REL(computed(onePoint())->derived().acceleration[0], 0.4233124763236936);
    EXPECT_REL(computed(onePoint(), Edition::GB2001)->derived().acceleration[0],
               0.3022692973794784);
    // A mode shape of the other sign swings every point the other way: the
    // peak is the same magnitude.
    for (double sign : {1.0, -1.0}) {
        ParsedInput in = threePoints();
        for (double& phi : in.modeShapes[0])
            phi *= sign;
        const ResultsPtr r = computed(in);
        const List& acceleration = r->derived().acceleration;
        ASSERT_EQ(acceleration.size(), 3u);
        EXPECT_REL(acceleration[0], 0.0893886962635829);
        EXPECT_REL(acceleration[1], 0.3277585529664707);
        EXPECT_REL(acceleration[2], 0.5959246417572193);
    }
}

// Every computed result, for comparisons between runs.
std::vector<double> allResults(const Results& results) {
    const RawResults& r = results.raw();
    std::vector<double> out{r.alpha, r.i10, r.dynFactor, r.corrC, r.exactBaseShear};
    for (const List* list :
         {&r.meanLoad, &r.windVibForce, &r.windVibCoef, &r.eqStaticLoad, &r.lrcLoad,
          &r.lrcBackground, &r.meanDisp, &r.dispStd, &r.bgFactor, &r.muR})
        out.insert(out.end(), list->begin(), list->end());
    return out;
}

void expectSameResults(const Results& a, const Results& b, double relTol) {
    const auto ra = allResults(a);
    const auto rb = allResults(b);
    ASSERT_EQ(ra.size(), rb.size());
    for (std::size_t k = 0; k < ra.size(); ++k)
        EXPECT_NEAR(ra[k], rb[k], relTol * std::fabs(rb[k])) << "result value " << k;
}

TEST(WindResponse, PositiveModeShapeScaleChangesNothing) {
    ParsedInput scaled = threePoints();
    for (double& phi : scaled.modeShapes[0])
        phi *= 37.5;
    expectSameResults(*computed(scaled), *computed(threePoints()), 1e-12);
}

TEST(WindResponse, NegativeModeShapeScaleFlipsFluctuatingResponseOnly) {
    const ResultsPtr base = computed(threePoints());
    ParsedInput in = threePoints();
    for (double& phi : in.modeShapes[0])
        phi *= -0.4;
    const ResultsPtr flipped = computed(in);
    const RawResults& f = flipped->raw();
    const RawResults& b = base->raw();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(f.meanDisp[i], b.meanDisp[i], 1e-12 * b.meanDisp[i]);
        EXPECT_NEAR(f.dispStd[i], -b.dispStd[i], 1e-12 * b.dispStd[i]);
        EXPECT_NEAR(f.windVibForce[i], -b.windVibForce[i], 1e-12 * b.windVibForce[i]);
        EXPECT_EQ(f.meanLoad[i], b.meanLoad[i]);
    }
    EXPECT_EQ(f.dynFactor, b.dynFactor);
}

TEST(WindResponse, HigherModesAndModeCountHaveNoEffect) {
    ParsedInput more = threePoints();
    more.nModes = 3;
    more.freq = {0.8, 2.7, 6.1};
    more.dampRatio = {0.04, 0.5, 0.001};
    more.modeShapes[1] = {1.0, -0.3, -1.0};
    more.modeShapes[2] = {0.7, -1.0, 1.0};
    expectSameResults(*computed(more), *computed(threePoints()), 0.0);
}

TEST(WindResponse, WidthScalesBackgroundAndFirstModeButNotCorrection) {
    // rho_x(50) = 10 sqrt(50 + 50 e^-1 - 50) / 50 = 0.8577638849607068
    const double rho50 = 0.8577638849607068;
    ParsedInput narrowInput = threePoints();
    narrowInput.structWidth = 0.0;
    ParsedInput wideInput = threePoints();
    wideInput.structWidth = 50.0;
    const ResultsPtr narrowResults = computed(narrowInput);
    const ResultsPtr wideResults = computed(wideInput);
    const RawResults& narrow = narrowResults->raw();
    const RawResults& wide = wideResults->raw();
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
    ParsedInput one = onePoint();
    one.structWidth = 100.0;
    const ResultsPtr r = computed(one);
    EXPECT_REL(r->raw().bgFactor[0], 0.7534372181000262);
    EXPECT_REL(r->raw().corrC, 1.0);
    EXPECT_REL(r->raw().lrcLoad[0], r->raw().eqStaticLoad[0]);
}

TEST(WindResponse, SinglePointBackgroundFactorFollowsTurbulenceLaw) {
    ParsedInput in = onePoint();
    in.terrainType = 3; // alpha 0.22
    in.zCoord = {45.0};
    in.structWidth = 50.0;
    const ResultsPtr r = computed(in);
    EXPECT_REL(r->raw().bgFactor[0], 0.8577638849607068 * std::pow(4.5, -0.22));
    EXPECT_REL(r->raw().corrC, 1.0);
    EXPECT_REL(r->raw().lrcLoad[0], r->raw().eqStaticLoad[0]);
}

TEST(WindResponse, EveryPerPointResultHasOneValuePerPoint) {
    ParsedInput in = threePoints();
    in.nFreedom = 5;
    in.zCoord = {10.0, 20.0, 30.0, 40.0, 50.0};
    in.windArea = {5.0, 5.0, 5.0, 5.0, 5.0};
    in.shapeCoef = {1.3, 1.3, 1.3, 1.3, 1.3};
    in.mass = {9.0, 9.0, 9.0, 9.0, 9.0};
    in.modeShapes[0] = {0.1, 0.3, 0.5, 0.8, 1.0};
    // With the data of every check beside the along-wind results, so that
    // every group is there.
    in.diameterM = 2.0;
    in.w10KPa = 0.3;
    const ResultsPtr r = computed(in);
    EXPECT_EQ(r->pointCount(), 5u);
    for (const ResultGroup& group : kResultGroups)
        EXPECT_TRUE(group.present(*r)) << group.key;
    for (const ResultField& field : kResultFields) {
        if (field.shape != FieldShape::PerPoint)
            continue;
        std::size_t values = 0;
        forEachValue(field, kResultGroups, *r, [&](FieldIndex, const FieldValue&) { ++values; });
        EXPECT_EQ(values, 5u) << field.key;
    }
}

TEST(WindResponse, PointWithZeroOrNegativeModeShape) {
    ParsedInput in = threePoints();
    in.modeShapes[0] = {0.0, -0.2, 1.0};
    const ResultsPtr results = computed(in);
    const RawResults& r = results->raw();
    EXPECT_EQ(r.dispStd[0], 0.0);
    EXPECT_EQ(r.windVibForce[0], 0.0);
    EXPECT_EQ(r.muR[0], 0.0);
    EXPECT_EQ(r.bgFactor[0], 0.0);
    EXPECT_EQ(r.windVibCoef[0], 1.0);
    EXPECT_EQ(r.eqStaticLoad[0], r.meanLoad[0]);
    EXPECT_EQ(r.meanDisp[0], 0.0);
    // The negative ordinate gives displacements against the others.
    EXPECT_LT(r.meanDisp[1], 0.0);
    EXPECT_GT(r.meanDisp[2], 0.0);
    EXPECT_REL(r.meanDisp[1], -0.2 * r.meanDisp[2]);
    EXPECT_LT(r.dispStd[1] * r.dispStd[2], 0.0);
}

TEST(WindResponse, CallersExceptionFlagsAreKept) {
    std::feclearexcept(FE_ALL_EXCEPT);
    (void)computed(threePoints());
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);

    std::feraiseexcept(FE_OVERFLOW);
    (void)computed(threePoints());
    EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

} // namespace
} // namespace tamsor
