#pragma once

// What the checks beside the along-wind results found that the engineer must
// act on: a cross-wind resonance that needs a load or detailing (or the
// check's refusal), the code's closed form of beta_z far from the program's,
// a comfort limit exceeded. None of it is an input warning and none changes a
// result; the notice after a computation and the outputs list it under the
// caption of its result group.

#include "Results.h"

#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

struct ResultNotice {
    std::string_view group; // the result group's key: "crossWind", "codeFormula", "comfort"
    std::string text;       // one line of Chinese text

    friend bool operator==(const ResultNotice&, const ResultNotice&) = default;
};

// The notices of results, in the order of the result groups; empty when there
// is nothing to act on.
[[nodiscard]] std::vector<ResultNotice> resultNotices(const Results& results);

} // namespace tamsor
