#include "Results.h"

#include "CodeChecks.h"
#include "CodeParameters.h"
#include "FaultCheck.h"
#include "InputParse.h"
#include "WindResponse.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace tamsor {

namespace {

std::size_t checkedPointCount(const ParsedInput& numbers, const RawResults& raw) {
    if (numbers.nFreedom < 1)
        throw std::invalid_argument("results without mass points");
    const auto n = static_cast<std::size_t>(numbers.nFreedom);
    for (const List* list :
         {&raw.meanLoad, &raw.meanDisp, &raw.dispStd, &raw.windVibForce, &raw.windVibCoef,
          &raw.eqStaticLoad, &raw.muR, &raw.bgFactor, &raw.lrcBackground, &raw.lrcLoad})
        if (list->size() != n)
            throw std::invalid_argument("a result list does not hold one value per mass point");
    if (numbers.zCoord.size() < n || numbers.freq.empty())
        throw std::invalid_argument("the heights or the frequency of the results are missing");
    return n;
}

// What is read off the computed results, in this order; every sum runs over
// the points in order and starts from 0.
DerivedResults derive(const ParsedInput& in, const RawResults& r, std::size_t n) {
    DerivedResults d;
    for (std::size_t i = 0; i < n; ++i) {
        d.meanBaseShear += r.meanLoad[i];
        d.meanBaseMoment += r.meanLoad[i] * in.zCoord[i];
        d.fluctBaseShear += r.windVibForce[i];
        d.fluctBaseMoment += in.zCoord[i] * r.windVibForce[i];
    }
    d.totalBaseShear = d.fluctBaseShear + d.meanBaseShear;
    d.totalBaseMoment = d.fluctBaseMoment + d.meanBaseMoment;
    // R / sqrt(1 + R^2) of the wind vibration force is its resonant part.
    const double resonantShare = std::sqrt(r.dynFactor * r.dynFactor - 1.0) / r.dynFactor;
    d.totalDisp.assign(n, 0.0);
    d.lrcResonant.assign(n, 0.0);
    d.gbjLoad.assign(n, 0.0);
    d.acceleration.assign(n, 0.0);
    const double w = kEnginePi * 2.0 * in.freq[0];
    const double omega2 = w * w;
    for (std::size_t i = 0; i < n; ++i) {
        d.totalDisp[i] = r.dispStd[i] + r.meanDisp[i];
        d.lrcResonant[i] = resonantShare * r.windVibForce[i];
        d.lrcBaseShear += r.lrcLoad[i];
        d.lrcBaseMoment += in.zCoord[i] * r.lrcLoad[i];
        // The fluctuating part rescaled so that it adds up to the exact base shear.
        d.gbjLoad[i] = (r.eqStaticLoad[i] - r.meanLoad[i]) / r.corrC + r.meanLoad[i];
        // The peak of the resonant part of the first-mode response: omega^2
        // times its displacement (mm to m), the same as the resonant part of
        // the wind vibration force over the point's mass. A peak is a
        // magnitude: the sign of the mode shape says only in which direction
        // the point swings.
        d.acceleration[i] = std::fabs(omega2 * (r.dispStd[i] / 1000.0) * resonantShare);
    }
    return d;
}

// The checks beside the along-wind results take the parameters of the
// edition and terrain that the computation used.
CrossWindOutcome crossWindOf(const ParsedInput& in, Edition edition, const RawResults& r) {
    const std::optional<CodeParameters> params = lookUpCodeParameters(edition, in.terrainType);
    const std::optional<Cutoff> cutoff = cutoffFor(edition, in.terrainType);
    if (!params || !cutoff)
        return NoCrossWindData{};
    return checkCrossWind(in, edition, *params, cutoff->height, r.eqStaticLoad);
}

CodeFormulaOutcome codeFormulaOf(const ParsedInput& in, Edition edition) {
    const std::optional<CodeParameters> params = lookUpCodeParameters(edition, in.terrainType);
    const std::optional<Cutoff> cutoff = cutoffFor(edition, in.terrainType);
    if (!params || !cutoff)
        return {};
    return evaluateCodeFormula(in, edition, *params, cutoff->height);
}

} // namespace

Results::Results(ProjectInput input, ParsedInput numbers, Edition edition, RawResults raw)
    : input_(std::move(input)), numbers_(std::move(numbers)), edition_(edition),
      pointCount_(checkedPointCount(numbers_, raw)), raw_(std::move(raw)),
      derived_(derive(numbers_, raw_, pointCount_)),
      crossWind_(crossWindOf(numbers_, edition_, raw_)),
      codeFormula_(codeFormulaOf(numbers_, edition_)) {}

std::optional<Outcome<ResultsPtr>> compute(const ProjectInput& input, Edition edition) {
    const std::optional<ParsedInput> numbers = parseProjectInput(input);
    if (!numbers)
        return std::nullopt;
    return compute(input, *numbers, edition);
}

Outcome<ResultsPtr> compute(const ProjectInput& input, const ParsedInput& numbers,
                            Edition edition) {
    // An overflow of a derived result stays there; the caller's flags are
    // kept as they were.
    detail::ExceptionFlagsKeeper keeper;
    Outcome<RawResults> raw = computeWindResponse(numbers, edition);
    if (auto* fault = std::get_if<ComputeFault>(&raw))
        return std::move(*fault);
    return std::make_shared<const Results>(input, numbers, edition,
                                           std::move(std::get<RawResults>(raw)));
}

} // namespace tamsor
