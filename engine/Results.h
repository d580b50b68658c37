#pragma once

// The results of one computation as a value: the input they were computed
// from (as typed and as numbers), the edition of the load code, what the
// computation formed and what is read off that. Nothing of it changes once
// it is made; a new computation makes a new one.

#include "CodeFormula.h"
#include "CrossWind.h"
#include "Edition.h"
#include "Fault.h"
#include "ParsedInput.h"
#include "ProjectInput.h"

#include <cstddef>
#include <memory>
#include <optional>

namespace tamsor {

// What the computation forms, in the order of its steps. Per-point lists hold
// one value per mass point.
struct RawResults {
    double alpha = 0.0;          // roughness exponent of the edition and terrain
    double i10 = 0.0;            // turbulence intensity at 10 m of the edition and terrain
    List meanLoad;               // mean wind load, kN
    double dynFactor = 0.0;      // sqrt(1 + R^2) of the first mode
    List meanDisp;               // mean displacement, mm
    List dispStd;                // first-mode fluctuating displacement (with the peak factor), mm
    List windVibForce;           // first-mode wind vibration force, kN
    List windVibCoef;            // wind vibration coefficient beta_z
    List eqStaticLoad;           // equivalent static wind load, kN
    List muR;                    // mu1*r1 (the old code's product)
    List bgFactor;               // background component factor B_z
    List lrcBackground;          // background component of the LRC load, kN
    List lrcLoad;                // LRC equivalent wind load, kN
    double exactBaseShear = 0.0; // exact fluctuating base shear, kN
    double corrC = 0.0;          // correction coefficient C of the GBJ method

    friend bool operator==(const RawResults&, const RawResults&) = default;
};

// What is read off the computed results. A value here may be infinite or NaN
// after a computation that succeeded (a sum that overflows, a C of 0); the
// outputs that must show it finite refuse then (ResultField::mustBeFinite).
struct DerivedResults {
    double meanBaseShear = 0.0;   // kN
    double meanBaseMoment = 0.0;  // kN*m
    double fluctBaseShear = 0.0;  // first-mode fluctuating base shear, kN
    double fluctBaseMoment = 0.0; // kN*m
    double totalBaseShear = 0.0;  // mean + fluctuating, kN
    double totalBaseMoment = 0.0; // kN*m
    List totalDisp;               // mean + fluctuating displacement, mm
    List lrcResonant;             // resonant component of the LRC load, kN
    double lrcBaseShear = 0.0;    // kN
    double lrcBaseMoment = 0.0;   // kN*m
    List gbjLoad;                 // equivalent load with the GBJ correction C, kN
    List acceleration;            // peak along-wind acceleration of the first mode, m/s^2

    friend bool operator==(const DerivedResults&, const DerivedResults&) = default;
};

class Results {
public:
    // Results of `raw`, computed from `input` (whose numbers are `numbers`)
    // under `edition`; the derived results and the checks beside the
    // along-wind results (the cross-wind check of a round section, the
    // code's closed form of beta_z and the comfort check) are formed here,
    // once. Throws
    // std::invalid_argument when a list of `raw` does not hold one value per
    // mass point of `numbers`, or an input list the derived results read
    // holds fewer.
    Results(ProjectInput input, ParsedInput numbers, Edition edition, RawResults raw);

    [[nodiscard]] const ProjectInput& input() const { return input_; }
    [[nodiscard]] const ParsedInput& numbers() const { return numbers_; }
    [[nodiscard]] Edition edition() const { return edition_; }
    [[nodiscard]] const RawResults& raw() const { return raw_; }
    [[nodiscard]] const DerivedResults& derived() const { return derived_; }
    // The cross-wind check (GB 50009-2012 8.5.3): nothing without a diameter,
    // or its results, or why it was not made. It never touches the
    // along-wind results.
    [[nodiscard]] const CrossWindOutcome& crossWind() const { return crossWind_; }
    // The code's closed form of beta_z and the comfort check at the 10-year
    // pressure (GB 50009-2012 8.4.3-8.4.6, J.1), or why each is not given.
    [[nodiscard]] const CodeFormulaOutcome& codeFormula() const { return codeFormula_; }
    // The number of mass points: every per-point list holds this many.
    [[nodiscard]] std::size_t pointCount() const { return pointCount_; }

private:
    ProjectInput input_;
    ParsedInput numbers_;
    Edition edition_;
    std::size_t pointCount_;
    RawResults raw_;
    DerivedResults derived_;
    CrossWindOutcome crossWind_;
    CodeFormulaOutcome codeFormula_;
};

// Results are shared, never copied or changed.
using ResultsPtr = std::shared_ptr<const Results>;

// The computation of an input under an edition: the results, or the first
// arithmetic fault met. Input that does not parse (parseProjectInput) is not
// computed: nothing.
[[nodiscard]] std::optional<Outcome<ResultsPtr>> compute(const ProjectInput& input,
                                                         Edition edition);
// The same with the numbers the command gate already parsed from `input`.
[[nodiscard]] Outcome<ResultsPtr> compute(const ProjectInput& input, const ParsedInput& numbers,
                                          Edition edition);

} // namespace tamsor
