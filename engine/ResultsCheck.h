#pragma once

// Which value of the results an output that must show finite numbers cannot
// show. Results exist only from a computation that succeeded, and that tests
// every number it forms; what is read off its numbers afterwards (the sums,
// the GBJ load divided by C) may still overflow.

#include "Results.h"

#include <optional>
#include <string_view>

namespace tamsor {

struct NotFiniteValue {
    std::string_view key;     // the input's or the result's key ("w0", "meanBaseShear")
    std::string_view caption; // the report page's label of it
};

// The first input that the report page shows and that is not a finite
// number: the list boxes' values of every mass point (of the first mode for
// the frequency and the damping ratio), then the value boxes, in the order of
// the input field table. Nothing when every one is finite.
[[nodiscard]] std::optional<NotFiniteValue> firstNotFiniteInput(const Results& results);

// The first value of a result field that must be finite (ResultField::
// mustBeFinite) and is not, among the computed results or among the derived
// ones: the fields of the whole structure first, then those per mass point,
// each in the order of the table.
[[nodiscard]] std::optional<NotFiniteValue> firstNotFiniteResult(const Results& results,
                                                                 bool derived);

} // namespace tamsor
