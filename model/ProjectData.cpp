#include "ProjectData.h"

#include "InputParse.h"
#include "NumberParse.h"

#include <cstddef>
#include <optional>
#include <utility>

namespace tamsor {

namespace {

constexpr std::size_t kDiameter = 0;
constexpr std::size_t kStructure = 1;
constexpr std::size_t kW10 = 2;
static_assert(kTailFields[kDiameter].key == "diameter" &&
              kTailFields[kStructure].key == "structure" && kTailFields[kW10].key == "w10");

// The next character of UTF-8 text at `at`, which it moves on; a byte that
// starts no valid sequence gives U+FFFD.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    int more = 0;
    char32_t c = 0;
    if (lead < 0x80)
        return lead;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        c = lead & 0x07;
    } else {
        return U'\uFFFD';
    }
    for (; more > 0; --more) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return U'\uFFFD';
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return c;
}

// A number as typed in the dialog, as the value boxes take it: blanks around
// it dropped, look-alikes as the plain character and a comma as the decimal
// point. Nothing when a character remains that no number holds.
std::optional<std::string> plainNumberText(std::string_view typed) {
    std::string plain;
    for (std::size_t at = 0; at < typed.size();) {
        char32_t c = plainLookAlike(nextCharacter(typed, at));
        if (c == U',' || c == U'\uFF0C')
            c = U'.';
        else if (c == U'\u3000' || c == U'\t')
            c = U' ';
        if (c >= 0x80)
            return std::nullopt;
        plain += static_cast<char>(c);
    }
    const std::size_t first = plain.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return plain.substr(first, plain.find_last_not_of(' ') - first + 1);
}

ProjectDataRefusal refusal(ProjectDataField field, std::string text) {
    return ProjectDataRefusal{field, inputError(std::move(text))};
}

constexpr std::string_view kDiameterHint =
    "直径以m为单位，截面沿高度变化时取2/3高度处的直径；不作横风向验算时留空。";
constexpr std::string_view kW10Hint =
    "w10按荷载规范表E.5取重现期为10年的基本风压，以kPa为单位；不作舒适度验算时留空。";

} // namespace

ProjectDataEntry projectDataEntry(const ProjectInput& input) {
    ProjectDataEntry entry;
    entry.diameter = input.diameter;
    entry.w10 = input.w10;
    const std::optional<double> type = parseDecimal(input.structureType);
    if (type == 1.0 || type == 2.0)
        entry.structureEntry = static_cast<int>(*type);
    return entry;
}

std::variant<TailTexts, ProjectDataRefusal> acceptProjectData(const ProjectDataEntry& entry,
                                                              const ProjectInput& current) {
    TailTexts texts;

    const std::optional<std::string> diameter = plainNumberText(entry.diameter);
    if (!diameter || (!diameter->empty() && !parseDecimal(*diameter)))
        return refusal(ProjectDataField::Diameter,
                       "圆形截面的直径D应为一个数。" + std::string(kDiameterHint));
    if (!diameter->empty()) {
        const double d = *parseDecimal(*diameter);
        if (d < 0.0)
            return refusal(ProjectDataField::Diameter, "圆形截面的直径D为" + messageNumber(d) +
                                                           " m，不能为负数。" +
                                                           std::string(kDiameterHint));
    }
    texts[kDiameter] = *diameter;

    // The type the input has keeps its text ("1.0" stays "1.0").
    if (entry.structureEntry == projectDataEntry(current).structureEntry)
        texts[kStructure] = current.structureType;
    else if (entry.structureEntry == 1 || entry.structureEntry == 2)
        texts[kStructure] = std::to_string(entry.structureEntry);

    const std::optional<std::string> w10 = plainNumberText(entry.w10);
    if (!w10 || (!w10->empty() && !parseDecimal(*w10)))
        return refusal(ProjectDataField::W10,
                       "10年一遇基本风压w10应为一个数。" + std::string(kW10Hint));
    if (!w10->empty())
        if (const std::optional<std::string> refused = w10Refusal(*parseDecimal(*w10)))
            return refusal(ProjectDataField::W10, *refused + std::string(kW10Hint));
    texts[kW10] = *w10;
    return texts;
}

bool applyProjectData(InputForm& form, const TailTexts& texts) {
    bool changed = false;
    for (std::size_t i = 0; i < kTailFields.size(); ++i) {
        const TailField& field = kTailFields[i];
        if (form.input().*field.text == texts[i])
            continue;
        form.setTailText(field, texts[i]);
        changed = true;
    }
    return changed;
}

} // namespace tamsor
