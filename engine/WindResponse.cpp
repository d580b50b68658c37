#include "WindResponse.h"

#include "CodeParameters.h"
#include "FaultCheck.h"
#include "NumericHelpers.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace tamsor {

namespace {

// One run of the computation over numbers whose counts and list lengths have
// been checked. Every step's result goes through ok() and flagsOk(); the flags
// are clear at the start of each step because the run stops at the first one
// raised.
class Run {
public:
    Run(const ParsedInput& numbers, Edition edition)
        : in_(numbers), phi_(numbers.modeShapes[0]), edition_(edition),
          n_(static_cast<std::size_t>(numbers.nFreedom)) {}

    std::optional<ComputeFault> execute();
    RawResults& results() { return r_; }

private:
    // A quantity that is not a finite number stops the run at once. The
    // exception flags, which also catch faults whose trace a later operation
    // hides, are tested once per point and step (testing them drains the
    // floating-point pipeline, so not after every single operation); a fault
    // found there is put on the last quantity of that point and step.
    bool ok(double value, const char* name, std::size_t point) {
        return ok(value, name, static_cast<int>(point) + 1);
    }
    bool ok(double value, const char* name, int point = 0) {
        if (std::isfinite(value))
            return true;
        fail(value, name, point);
        return false;
    }
    bool flagsOk(const char* name, std::size_t point) {
        return flagsOk(name, static_cast<int>(point) + 1);
    }
    bool flagsOk(const char* name, int point = 0) {
        if (std::fetestexcept(detail::kFaultFlags) == 0)
            return true;
        fail(0.0, name, point);
        return false;
    }
    bool checked(double value, const char* name) { return ok(value, name) && flagsOk(name); }
    bool ok(const Matrix& matrix, const char* name) {
        for (const List& row : matrix)
            for (double v : row)
                if (!ok(v, name))
                    return false;
        return flagsOk(name);
    }
    void fail(double value, const char* name, int point) {
        fault_ = ComputeFault{detail::quantityName(name, point), detail::reasonFor(value)};
    }

    void meanAndFluctuatingForces();
    void horizontalCorrelation();
    void covariance();
    void resonance();
    void generalisedMeanForce();
    void pointResults();
    void lrcAndCorrection();

    const ParsedInput& in_;
    const List& phi_; // the first mode's shape
    Edition edition_;
    std::size_t n_;
    RawResults r_;
    std::optional<ComputeFault> fault_;

    CodeParameters p_;
    List muZ_, iZ_, sigmaP_;
    Matrix rz_, c_;
    double m1_ = 0.0;
    double rhoX_ = 1.0;
    double sigmaQ2_ = 0.0;
    double p1_ = 0.0;
};

std::optional<ComputeFault> Run::execute() {
    // 1. Every result list starts at n zeros, and so do the working lists.
    for (List* list :
         {&r_.meanDisp, &r_.dispStd, &r_.windVibForce, &r_.windVibCoef, &r_.bgFactor, &r_.muR,
          &r_.eqStaticLoad, &r_.lrcLoad, &r_.lrcBackground, &r_.meanLoad, &muZ_, &iZ_, &sigmaP_})
        list->assign(n_, 0.0);
    c_.assign(n_, List(n_, 0.0));

    // 2. Code and terrain parameters.
    auto selected = selectCodeParameters(edition_, in_.terrainType, in_.w0);
    if (auto* fault = std::get_if<ComputeFault>(&selected))
        return std::move(*fault);
    p_ = std::get<CodeParameters>(selected);
    r_.alpha = p_.alpha;
    r_.i10 = p_.i10;

    // 3. to 10. Each step leaves fault_ set when it stops early.
    using Step = void (Run::*)();
    for (Step step : {&Run::meanAndFluctuatingForces, &Run::horizontalCorrelation, &Run::covariance,
                      &Run::resonance, &Run::generalisedMeanForce, &Run::pointResults,
                      &Run::lrcAndCorrection}) {
        (this->*step)();
        if (fault_)
            break;
    }
    return fault_;
}

void Run::meanAndFluctuatingForces() {
    m1_ = 0.0;
    for (std::size_t i = 0; i < n_; ++i) {
        const double z = in_.zCoord[i];
        muZ_[i] = heightCoefficient(p_, z);
        if (!ok(muZ_[i], "风压高度变化系数", i))
            return;
        iZ_[i] = turbulenceIntensity(p_, z);
        if (!ok(iZ_[i], "湍流强度", i))
            return;
        r_.meanLoad[i] = in_.shapeCoef[i] * muZ_[i] * in_.windArea[i] * in_.w0;
        if (!ok(r_.meanLoad[i], "平均风荷载", i))
            return;
        sigmaP_[i] = in_.shapeCoef[i] * muZ_[i] * in_.windArea[i] * (2.0 * iZ_[i]) * in_.w0;
        if (!ok(sigmaP_[i], "脉动风力标准差", i))
            return;
        if (!flagsOk("脉动风力标准差", i))
            return;
        m1_ = m1_ + in_.mass[i] * phi_[i] * phi_[i];
        if (!ok(m1_, "广义质量M1"))
            return;
    }
}

void Run::horizontalCorrelation() {
    rhoX_ = 1.0;
    if (in_.structWidth != 0.0) {
        const double x = in_.structWidth / 50.0;
        rhoX_ = std::sqrt(2.0 * (x - (1.0 - std::exp(-x)))) / x;
    }
    (void)checked(rhoX_, "水平相关系数ρx");
}

void Run::covariance() {
    rz_ = verticalCorrelation(in_.zCoord, n_);
    if (!ok(rz_, "竖向相关系数矩阵"))
        return;
    for (std::size_t i = 0; i < n_; ++i)
        for (std::size_t j = 0; j < n_; ++j)
            c_[i][j] = rhoX_ * rhoX_ * sigmaP_[i] * sigmaP_[j] * rz_[i][j];
    if (!ok(c_, "脉动风力协方差矩阵"))
        return;
    sigmaQ2_ = 0.0;
    for (std::size_t i = 0; i < n_; ++i)
        for (std::size_t j = 0; j < n_; ++j)
            sigmaQ2_ = sigmaQ2_ + c_[i][j] * phi_[i] * phi_[j];
    (void)checked(sigmaQ2_, "广义脉动力方差σQ²");
}

void Run::resonance() {
    const double f1 = in_.freq[0];
    const double zeta1 = in_.dampRatio[0];
    const double s1 = davenportSpectrum(p_.v10, f1);
    if (!checked(s1, "风谱密度S1"))
        return;
    const double r2 = s1 * (kEnginePi * f1 / (4.0 * zeta1));
    if (!checked(r2, "共振因子R²"))
        return;
    r_.dynFactor = std::sqrt(1.0 + r2);
    (void)checked(r_.dynFactor, "动力放大系数");
}

void Run::generalisedMeanForce() {
    p1_ = 0.0;
    for (std::size_t i = 0; i < n_; ++i) {
        p1_ = p1_ + r_.meanLoad[i] * phi_[i];
        if (!ok(p1_, "广义平均风力P1"))
            return;
    }
    (void)flagsOk("广义平均风力P1");
}

void Run::pointResults() {
    const double f1 = in_.freq[0];
    const double g = p_.g;
    for (std::size_t i = 0; i < n_; ++i) {
        const double phi = phi_[i];
        const double w = kEnginePi * 2.0 * f1;
        const double omega2 = w * w;
        if (!ok(omega2, "圆频率平方ω1²"))
            return;
        r_.meanDisp[i] = phi * (p1_ / m1_ / omega2);
        if (!ok(r_.meanDisp[i], "平均位移", i))
            return;
        r_.dispStd[i] = r_.dynFactor * phi * ((std::sqrt(sigmaQ2_) * g) / m1_ / omega2);
        if (!ok(r_.dispStd[i], "脉动位移", i))
            return;
        r_.windVibForce[i] = omega2 * in_.mass[i] * r_.dispStd[i] / 1000.0;
        if (!ok(r_.windVibForce[i], "风振力", i))
            return;
        r_.meanLoad[i] = r_.meanLoad[i] / 1000.0;
        if (!ok(r_.meanLoad[i], "平均风荷载", i))
            return;
        r_.windVibCoef[i] = r_.windVibForce[i] / r_.meanLoad[i] + 1.0;
        if (!ok(r_.windVibCoef[i], "风振系数", i))
            return;
        r_.eqStaticLoad[i] = r_.meanLoad[i] * r_.windVibCoef[i];
        if (!ok(r_.eqStaticLoad[i], "等效静力风荷载", i))
            return;
        r_.muR[i] = r_.windVibForce[i] / r_.meanLoad[i] / r_.dynFactor;
        if (!ok(r_.muR[i], "μ1·r1", i))
            return;
        r_.bgFactor[i] = r_.muR[i] / (p_.i10 * (g * 2.0));
        if (!ok(r_.bgFactor[i], "背景分量因子", i))
            return;
        if (!flagsOk("背景分量因子", i))
            return;
    }
}

void Run::lrcAndCorrection() {
    const double g = p_.g;

    // 1. The influence coefficients of the base shear, c (z/H)^k with c = 1
    //    and k = 0, are 1 at every point, so each force enters the base shear
    //    with its own weight.
    // 2. Covariance of each force with the base shear, variance of the base shear.
    List cov(n_, 0.0);
    double sigmaV2 = 0.0;
    for (std::size_t i = 0; i < n_; ++i) {
        cov[i] = 0.0;
        for (std::size_t j = 0; j < n_; ++j) {
            sigmaV2 = sigmaV2 + c_[i][j];
            cov[i] = c_[i][j] + cov[i];
        }
        if (!ok(cov[i], "脉动风力与基底剪力的协方差", i))
            return;
        if (!ok(sigmaV2, "背景基底剪力方差σV²"))
            return;
        if (!flagsOk("背景基底剪力方差σV²"))
            return;
    }

    // 3. Background, resonant and total LRC load per point.
    List res(n_, 0.0);
    for (std::size_t i = 0; i < n_; ++i) {
        r_.lrcBackground[i] = ((cov[i] * g) / std::sqrt(sigmaV2)) / 1000.0;
        if (!ok(r_.lrcBackground[i], "LRC背景分量", i))
            return;
        const double d = r_.dynFactor;
        res[i] = std::sqrt(d * d - 1.0) / d * r_.windVibForce[i];
        if (!ok(res[i], "共振分量", i))
            return;
        r_.lrcLoad[i] =
            std::sqrt(res[i] * res[i] + r_.lrcBackground[i] * r_.lrcBackground[i]) + r_.meanLoad[i];
        if (!ok(r_.lrcLoad[i], "LRC等效风荷载", i))
            return;
        if (!flagsOk("LRC等效风荷载", i))
            return;
    }

    // 4.-7. Base shears and the correction coefficient.
    double sumR = 0.0;
    double sumF = 0.0;
    for (std::size_t i = 0; i < n_; ++i) {
        sumR = sumR + res[i];
        if (!ok(sumR, "共振分量之和"))
            return;
        sumF = sumF + r_.windVibForce[i];
        if (!ok(sumF, "风振力之和"))
            return;
    }
    if (!flagsOk("风振力之和"))
        return;
    const double vB = (std::sqrt(sigmaV2) * g) / 1000.0;
    if (!checked(vB, "背景基底剪力VB"))
        return;
    r_.exactBaseShear = std::sqrt(sumR * sumR + vB * vB);
    if (!checked(r_.exactBaseShear, "精确脉动基底剪力"))
        return;
    r_.corrC = sumF / r_.exactBaseShear;
    (void)checked(r_.corrC, "修正系数C");
}

// The counts and list lengths the computation relies on; checked before any
// list is read.
std::optional<ComputeFault> checkInputShape(const ParsedInput& in) {
    const auto n = static_cast<std::size_t>(in.nFreedom);
    const std::pair<const List*, const char*> pointLists[] = {
        {&in.zCoord, "质点高度"}, {&in.windArea, "迎风面积"},       {&in.shapeCoef, "体型系数"},
        {&in.mass, "质点质量"},   {&in.modeShapes[0], "第1阶振型"},
    };
    for (const auto& [list, name] : pointLists)
        if (list->size() < n)
            return ComputeFault{name, FaultReason::MissingData};
    if (in.freq.empty())
        return ComputeFault{"自振频率", FaultReason::MissingData};
    if (in.dampRatio.empty())
        return ComputeFault{"阻尼比", FaultReason::MissingData};
    return std::nullopt;
}

} // namespace

Outcome<RawResults> computeWindResponse(const ParsedInput& numbers, Edition edition) {
    if (numbers.nFreedom < 1 || numbers.nFreedom > kMaxFreedom)
        return ComputeFault{"自由度数", FaultReason::OutOfRange};
    if (auto fault = checkInputShape(numbers))
        return std::move(*fault);

    detail::ExceptionFlagsKeeper keeper;
    detail::clearFaultFlags();
    Run run(numbers, edition);
    if (auto fault = run.execute())
        return std::move(*fault);
    return std::move(run.results());
}

} // namespace tamsor
