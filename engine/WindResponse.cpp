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

// The computation tests and clears the exception flags; the caller gets its
// own flags back afterwards.
class ExceptionFlagsKeeper {
public:
    ExceptionFlagsKeeper() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~ExceptionFlagsKeeper() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ExceptionFlagsKeeper(const ExceptionFlagsKeeper&) = delete;
    ExceptionFlagsKeeper& operator=(const ExceptionFlagsKeeper&) = delete;

private:
    std::fexcept_t saved_{};
};

// One run of the computation over a model whose counts and list lengths have
// been checked. Every step's result goes through ok() and flagsOk(); the flags
// are clear at the start of each step because the run stops at the first one
// raised.
class Run {
public:
    explicit Run(ProjectModel& model) : m_(model), n_(static_cast<std::size_t>(model.nFreedom)) {}

    std::optional<ComputeFault> execute();

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

    ProjectModel& m_;
    std::size_t n_;
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
    // 1. (The result lists were re-created by the caller.) Working lists.
    for (List* list : {&muZ_, &iZ_, &sigmaP_})
        list->assign(n_, 0.0);
    c_.assign(n_, List(n_, 0.0));

    // 2. Code and terrain parameters.
    auto selected = selectCodeParameters(m_);
    if (auto* fault = std::get_if<ComputeFault>(&selected))
        return std::move(*fault);
    p_ = std::get<CodeParameters>(selected);

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
        const double z = m_.zCoord[i];
        muZ_[i] = heightCoefficient(p_, z);
        if (!ok(muZ_[i], "风压高度变化系数", i))
            return;
        iZ_[i] = turbulenceIntensity(p_, z);
        if (!ok(iZ_[i], "湍流强度", i))
            return;
        m_.meanLoad[i] = m_.shapeCoef[i] * muZ_[i] * m_.windArea[i] * m_.w0;
        if (!ok(m_.meanLoad[i], "平均风荷载", i))
            return;
        sigmaP_[i] = m_.shapeCoef[i] * muZ_[i] * m_.windArea[i] * (2.0 * iZ_[i]) * m_.w0;
        if (!ok(sigmaP_[i], "脉动风力标准差", i))
            return;
        if (!flagsOk("脉动风力标准差", i))
            return;
        m1_ = m1_ + m_.mass[i] * m_.modeShape[i] * m_.modeShape[i];
        if (!ok(m1_, "广义质量M1"))
            return;
    }
}

void Run::horizontalCorrelation() {
    rhoX_ = 1.0;
    if (m_.structWidth != 0.0) {
        const double x = m_.structWidth / 50.0;
        rhoX_ = std::sqrt(2.0 * (x - (1.0 - std::exp(-x)))) / x;
    }
    (void)checked(rhoX_, "水平相关系数ρx");
}

void Run::covariance() {
    rz_ = verticalCorrelation(m_, m_.zCoord);
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
            sigmaQ2_ = sigmaQ2_ + c_[i][j] * m_.modeShape[i] * m_.modeShape[j];
    (void)checked(sigmaQ2_, "广义脉动力方差σQ²");
}

void Run::resonance() {
    const double f1 = m_.freq[0];
    const double zeta1 = m_.dampRatio[0];
    const double s1 = davenportSpectrum(p_.v10, f1);
    if (!checked(s1, "风谱密度S1"))
        return;
    const double r2 = s1 * (kEnginePi * f1 / (4.0 * zeta1));
    if (!checked(r2, "共振因子R²"))
        return;
    m_.dynFactor = std::sqrt(1.0 + r2);
    (void)checked(m_.dynFactor, "动力放大系数");
}

void Run::generalisedMeanForce() {
    p1_ = 0.0;
    for (std::size_t i = 0; i < n_; ++i) {
        p1_ = p1_ + m_.meanLoad[i] * m_.modeShape[i];
        if (!ok(p1_, "广义平均风力P1"))
            return;
    }
    (void)flagsOk("广义平均风力P1");
}

void Run::pointResults() {
    const double f1 = m_.freq[0];
    const double g = p_.g;
    for (std::size_t i = 0; i < n_; ++i) {
        const double phi = m_.modeShape[i];
        const double w = kEnginePi * 2.0 * f1;
        const double omega2 = w * w;
        if (!ok(omega2, "圆频率平方ω1²"))
            return;
        m_.meanDisp[i] = phi * (p1_ / m1_ / omega2);
        if (!ok(m_.meanDisp[i], "平均位移", i))
            return;
        m_.dispStd[i] = m_.dynFactor * phi * ((std::sqrt(sigmaQ2_) * g) / m1_ / omega2);
        if (!ok(m_.dispStd[i], "脉动位移", i))
            return;
        m_.windVibForce[i] = omega2 * m_.mass[i] * m_.dispStd[i] / 1000.0;
        if (!ok(m_.windVibForce[i], "风振力", i))
            return;
        m_.meanLoad[i] = m_.meanLoad[i] / 1000.0;
        if (!ok(m_.meanLoad[i], "平均风荷载", i))
            return;
        m_.windVibCoef[i] = m_.windVibForce[i] / m_.meanLoad[i] + 1.0;
        if (!ok(m_.windVibCoef[i], "风振系数", i))
            return;
        m_.eqStaticLoad[i] = m_.meanLoad[i] * m_.windVibCoef[i];
        if (!ok(m_.eqStaticLoad[i], "等效静力风荷载", i))
            return;
        m_.muR[i] = m_.windVibForce[i] / m_.meanLoad[i] / m_.dynFactor;
        if (!ok(m_.muR[i], "μ1·r1", i))
            return;
        m_.bgFactor[i] = m_.muR[i] / (p_.i10 * (g * 2.0));
        if (!ok(m_.bgFactor[i], "背景分量因子", i))
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
        m_.lrcBackground[i] = ((cov[i] * g) / std::sqrt(sigmaV2)) / 1000.0;
        if (!ok(m_.lrcBackground[i], "LRC背景分量", i))
            return;
        const double d = m_.dynFactor;
        res[i] = std::sqrt(d * d - 1.0) / d * m_.windVibForce[i];
        if (!ok(res[i], "共振分量", i))
            return;
        m_.lrcLoad[i] =
            std::sqrt(res[i] * res[i] + m_.lrcBackground[i] * m_.lrcBackground[i]) + m_.meanLoad[i];
        if (!ok(m_.lrcLoad[i], "LRC等效风荷载", i))
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
        sumF = sumF + m_.windVibForce[i];
        if (!ok(sumF, "风振力之和"))
            return;
    }
    if (!flagsOk("风振力之和"))
        return;
    const double vB = (std::sqrt(sigmaV2) * g) / 1000.0;
    if (!checked(vB, "背景基底剪力VB"))
        return;
    m_.exactBaseShear = std::sqrt(sumR * sumR + vB * vB);
    if (!checked(m_.exactBaseShear, "精确脉动基底剪力"))
        return;
    m_.corrC = sumF / m_.exactBaseShear;
    (void)checked(m_.corrC, "修正系数C");
}

// The counts and list lengths the computation relies on; checked before any
// list is read.
std::optional<ComputeFault> checkInputShape(const ProjectModel& m) {
    const auto n = static_cast<std::size_t>(m.nFreedom);
    const std::pair<const List*, const char*> pointLists[] = {
        {&m.zCoord, "质点高度"}, {&m.windArea, "迎风面积"},   {&m.shapeCoef, "体型系数"},
        {&m.mass, "质点质量"},   {&m.modeShape, "第1阶振型"},
    };
    for (const auto& [list, name] : pointLists)
        if (list->size() < n)
            return ComputeFault{name, FaultReason::MissingData};
    if (m.freq.empty())
        return ComputeFault{"自振频率", FaultReason::MissingData};
    if (m.dampRatio.empty())
        return ComputeFault{"阻尼比", FaultReason::MissingData};
    return std::nullopt;
}

} // namespace

std::optional<ComputeFault> computeWindResponse(ProjectModel& model) {
    model.resultsComplete = false;
    if (model.nFreedom < 1 || model.nFreedom > kMaxFreedom)
        return ComputeFault{"自由度数", FaultReason::OutOfRange};

    // 1. Every result list starts at nFreedom zeros; the scalars of a previous
    //    run are dropped so that a faulted run leaves nothing stale behind.
    for (List* list :
         {&model.meanDisp, &model.dispStd, &model.windVibForce, &model.windVibCoef, &model.bgFactor,
          &model.muR, &model.eqStaticLoad, &model.lrcLoad, &model.lrcBackground, &model.meanLoad,
          &model.lrcResonant, &model.totalDisp, &model.gbjLoad, &model.acceleration})
        list->assign(static_cast<std::size_t>(model.nFreedom), 0.0);
    for (double* value :
         {&model.dynFactor, &model.corrC, &model.exactBaseShear, &model.meanBaseShear,
          &model.meanBaseMoment, &model.fluctBaseShear, &model.fluctBaseMoment,
          &model.totalBaseShear, &model.totalBaseMoment, &model.lrcBaseShear, &model.lrcBaseMoment})
        *value = 0.0;
    if (auto fault = checkInputShape(model))
        return fault;

    ExceptionFlagsKeeper keeper;
    detail::clearFaultFlags();
    auto fault = Run(model).execute();
    if (!fault) {
        deriveResults(model);
        model.resultsComplete = true;
    }
    return fault;
}

void deriveResults(ProjectModel& m) {
    const auto n = static_cast<std::size_t>(std::max<int>(m.nFreedom, 0));
    for (const List* list : {&m.zCoord, &m.meanLoad, &m.windVibForce, &m.dispStd, &m.meanDisp,
                             &m.lrcLoad, &m.eqStaticLoad})
        if (list->size() < n)
            return;
    if (m.freq.empty())
        return;
    // Sums over the points in order, each starting from 0.
    m.meanBaseShear = 0.0;
    m.meanBaseMoment = 0.0;
    m.fluctBaseShear = 0.0;
    m.fluctBaseMoment = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        m.meanBaseShear += m.meanLoad[i];
        m.meanBaseMoment += m.meanLoad[i] * m.zCoord[i];
        m.fluctBaseShear += m.windVibForce[i];
        m.fluctBaseMoment += m.zCoord[i] * m.windVibForce[i];
    }
    m.totalBaseShear = m.fluctBaseShear + m.meanBaseShear;
    m.totalBaseMoment = m.fluctBaseMoment + m.meanBaseMoment;
    // R / sqrt(1 + R^2) of the wind vibration force is its resonant part.
    const double resonantShare = std::sqrt(m.dynFactor * m.dynFactor - 1.0) / m.dynFactor;
    m.totalDisp.assign(n, 0.0);
    m.lrcResonant.assign(n, 0.0);
    m.gbjLoad.assign(n, 0.0);
    m.acceleration.assign(n, 0.0);
    const double w = kEnginePi * 2.0 * m.freq[0];
    const double omega2 = w * w;
    m.lrcBaseShear = 0.0;
    m.lrcBaseMoment = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        m.totalDisp[i] = m.dispStd[i] + m.meanDisp[i];
        m.lrcResonant[i] = resonantShare * m.windVibForce[i];
        m.lrcBaseShear += m.lrcLoad[i];
        m.lrcBaseMoment += m.zCoord[i] * m.lrcLoad[i];
        // The fluctuating part rescaled so that it adds up to the exact base shear.
        m.gbjLoad[i] = (m.eqStaticLoad[i] - m.meanLoad[i]) / m.corrC + m.meanLoad[i];
        // The resonant part of the first-mode response: omega^2 times its
        // displacement (mm to m), the same as the resonant part of the wind
        // vibration force over the point's mass.
        m.acceleration[i] = omega2 * (m.dispStd[i] / 1000.0) * resonantShare;
    }
}

} // namespace tamsor
