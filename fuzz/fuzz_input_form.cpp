// The input boxes of the main window on arbitrary text: a fuzzed DOF count,
// mode count and terrain, then fuzzed texts for the eleven boxes, each parsed
// on losing the focus, then the command gate and, when it lets the command
// through, the computation.
//
// Input: byte 0 = DOF count, byte 1 = terrain category, byte 2 = code
// edition (lowest bit) and mode count (the bits above); the rest is split at
// '\n' into the texts of the list boxes and the value boxes in Box:: and
// ValueBox:: order.
//
// Invariants: a refused box leaves its list unchanged and is refused and
// marked; an accepted list box holds a list whose length obeys the count rule;
// a box out of use is never parsed and gives no numbers; a gate that passes
// yields the numbers of the whole input; a computation that reports no fault
// gives only finite computed results, one per point.

#include "FuzzCheck.h"
#include "InputFields.h"
#include "InputForm.h"
#include "InputParse.h"
#include "Message.h"
#include "ResultFields.h"
#include "Results.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tamsor::List;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    tamsor::MessageRecorder sink;
    tamsor::InputForm form(sink);

    // Counts beyond the lists' entries are ignored by the form.
    form.selectPointCount(static_cast<int>(data[0] % 12));
    form.selectTerrain(static_cast<int>(data[1] % 6));
    form.selectModeCount(static_cast<int>((data[2] >> 1) % 5));
    const tamsor::Edition edition =
        data[2] % 2 == 0 ? tamsor::Edition::GB201X : tamsor::Edition::GB2001;

    std::vector<std::string> texts;
    std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    while (texts.size() < tamsor::kListBoxCount + tamsor::kValueBoxCount) {
        const std::size_t nl = rest.find('\n');
        texts.emplace_back(rest.substr(0, nl));
        if (nl == std::string_view::npos)
            break;
        rest.remove_prefix(nl + 1);
    }

    const tamsor::ParsedInput& numbers = form.numbers();
    const auto n = static_cast<std::size_t>(numbers.nFreedom);
    const auto m = static_cast<std::size_t>(numbers.nModes);
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (k < tamsor::kListBoxCount) {
            const int i = static_cast<int>(k);
            const tamsor::ListBoxField& field = tamsor::listBoxField(i);
            const List before = tamsor::parsedList(numbers, i);
            const std::size_t messages = sink.messages.size();
            form.setBoxText(i, texts[k]);
            form.leaveBox(i);
            const List& after = tamsor::parsedList(numbers, i);
            if (!form.boxEnabled(i)) {
                TAMSOR_FUZZ_CHECK(!form.boxRefused(i) && after.empty());
                TAMSOR_FUZZ_CHECK(sink.messages.size() == messages);
            } else if (form.boxRefused(i)) {
                TAMSOR_FUZZ_CHECK(after == before);
                TAMSOR_FUZZ_CHECK(sink.messages.size() == messages + 1);
                TAMSOR_FUZZ_CHECK(form.boxMarked(i));
            } else {
                TAMSOR_FUZZ_CHECK(sink.messages.size() == messages);
                switch (field.count) {
                case tamsor::CountRule::Points:
                case tamsor::CountRule::PointsOrSpread:
                    TAMSOR_FUZZ_CHECK(after.size() == n);
                    break;
                case tamsor::CountRule::Modes:
                    TAMSOR_FUZZ_CHECK(after.size() == m);
                    break;
                case tamsor::CountRule::ModesOrOne:
                    TAMSOR_FUZZ_CHECK(after.size() == m || after.size() == 1);
                    break;
                }
            }
        } else {
            const int i = static_cast<int>(k) - tamsor::kListBoxCount;
            const double before = numbers.*tamsor::valueBoxField(i).value;
            form.setValueText(i, texts[k]);
            form.leaveValueBox(i);
            const double after = numbers.*tamsor::valueBoxField(i).value;
            if (form.valueRefused(i))
                TAMSOR_FUZZ_CHECK(after == before || (std::isnan(after) && std::isnan(before)));
            else
                TAMSOR_FUZZ_CHECK(std::isfinite(after));
        }
    }

    const std::optional<tamsor::ParsedInput> passed = form.commandGate();
    if (!passed)
        return 0;
    TAMSOR_FUZZ_CHECK(form.inputsComplete() && form.listsAccepted());
    TAMSOR_FUZZ_CHECK(passed == tamsor::parseProjectInput(form.input()));
    const auto outcome = tamsor::compute(form.input(), *passed, edition);
    if (const auto* fault = std::get_if<tamsor::ComputeFault>(&outcome)) {
        TAMSOR_FUZZ_CHECK(!fault->message().empty());
        return 0;
    }
    // Every computed result is finite; the values read off them (sums, the
    // corrected load) may overflow. Each per-point field has one value a point.
    const tamsor::Results& results = *std::get<tamsor::ResultsPtr>(outcome);
    TAMSOR_FUZZ_CHECK(results.pointCount() == n);
    for (const tamsor::ResultField& field : tamsor::kResultFields) {
        std::size_t values = 0;
        tamsor::forEachValue(field, tamsor::kResultGroups, results,
                             [&](tamsor::FieldIndex, const tamsor::FieldValue& value) {
                                 ++values;
                                 const double* number = std::get_if<double>(&value);
                                 TAMSOR_FUZZ_CHECK(field.derived || number == nullptr ||
                                                   std::isfinite(*number));
                             });
        if (field.shape == tamsor::FieldShape::PerPoint &&
            tamsor::groupPresent(field, tamsor::kResultGroups, results))
            TAMSOR_FUZZ_CHECK(values == n);
    }
    return 0;
}
