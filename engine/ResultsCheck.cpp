#include "ResultsCheck.h"

#include "InputFields.h"
#include "InputParse.h"
#include "ResultFields.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tamsor {

namespace {

bool finite(const FieldValue& value) {
    const double* number = std::get_if<double>(&value);
    return number == nullptr || std::isfinite(*number);
}

} // namespace

std::optional<NotFiniteValue> firstNotFiniteInput(const Results& r) {
    const ParsedInput& numbers = r.numbers();
    for (const ListBoxField& field : kListBoxFields) {
        if (field.reportCaption.empty())
            continue;
        const List& list = parsedList(numbers, field.box);
        // A per-mode list shows its first mode's value.
        const bool perMode =
            field.count == CountRule::Modes || field.count == CountRule::ModesOrOne;
        const std::size_t count = perMode ? 1 : std::min(r.pointCount(), list.size());
        for (std::size_t i = 0; i < count && i < list.size(); ++i)
            if (!std::isfinite(list[i]))
                return NotFiniteValue{field.key, field.reportCaption};
    }
    for (const ValueBoxField& field : kValueBoxFields) {
        if (!field.reportCaption.empty() && !std::isfinite(numbers.*field.value))
            return NotFiniteValue{field.key, field.reportCaption};
    }
    return std::nullopt;
}

std::optional<NotFiniteValue> firstNotFiniteResult(const Results& r, bool derived) {
    for (FieldShape shape : {FieldShape::Structure, FieldShape::PerPoint, FieldShape::PerMode,
                             FieldShape::PerModePerPoint}) {
        for (const ResultField& field : kResultFields) {
            if (field.shape != shape || field.derived != derived || !field.mustBeFinite)
                continue;
            bool allFinite = true;
            forEachValue(field, kResultGroups, r, [&](FieldIndex, const FieldValue& value) {
                allFinite = allFinite && finite(value);
            });
            if (!allFinite)
                return NotFiniteValue{field.key, field.reportCaption};
        }
    }
    return std::nullopt;
}

} // namespace tamsor
