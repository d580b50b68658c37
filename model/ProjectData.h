#pragma once

// The project data that the main window's boxes do not hold and the data
// dialog asks for: the round section's diameter, the structure type and the
// 10-year basic wind pressure, kept in the project file's tail (kTailFields).
// The dialog shows an entry and hands back what was entered; what it may take
// and what it says is decided here.

#include "InputFields.h"
#include "InputForm.h"
#include "Message.h"
#include "ProjectInput.h"

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace tamsor {

// The structure type list: "not set" first, then the types 1 and 2, each at
// the position of its number.
inline constexpr std::array<std::string_view, 3> kStructureTypeEntries{
    "未指定（按高耸结构）", "1 高耸结构（塔架、烟囱）", "2 高层建筑"};

// What the dialog shows and takes: the texts as typed (UTF-8; empty = not
// set) and the position in kStructureTypeEntries.
struct ProjectDataEntry {
    std::string diameter; // m
    int structureEntry = 0;
    std::string w10; // kPa

    friend bool operator==(const ProjectDataEntry&, const ProjectDataEntry&) = default;
};

// The entry for an input's tail. A structure type that is neither 1 nor 2 is
// shown as not set.
[[nodiscard]] ProjectDataEntry projectDataEntry(const ProjectInput& input);

// The entry's fields, for the one the dialog puts the focus back into.
enum class ProjectDataField { Diameter, StructureType, W10 };

struct ProjectDataRefusal {
    ProjectDataField field;
    Message message; // "错误提示", no icon
};

// The tail's texts in kTailFields order, empty = not set.
using TailTexts = std::array<std::string, kTailFields.size()>;

// What an entry gives for `current`: the tail texts to keep, or the refusal of
// the first field that cannot be taken. A number is typed as in the value
// boxes (blanks around it dropped, full-width digits and signs and a decimal
// comma taken as the plain ones); a negative diameter and a w10 of 0 or below
// are refused. A structure type left as `current` shows it keeps its text.
[[nodiscard]] std::variant<TailTexts, ProjectDataRefusal>
acceptProjectData(const ProjectDataEntry& entry, const ProjectInput& current);

// Puts accepted texts into the form, each one that differs through
// setTailText; true when any did.
bool applyProjectData(InputForm& form, const TailTexts& texts);

} // namespace tamsor
