#include "InputParse.h"

#include "InputFields.h"
#include "Message.h"
#include "NumberParse.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace tamsor {

namespace {

[[noreturn]] void badBox() {
    throw std::out_of_range("input box index out of range");
}

template <typename Input> auto& listText(Input& in, int box) {
    switch (box) {
    case Box::Heights:
        return in.heights;
    case Box::Areas:
        return in.areas;
    case Box::Masses:
        return in.masses;
    case Box::ModeShape1:
    case Box::ModeShape2:
    case Box::ModeShape3:
        return in.modeShapes[static_cast<std::size_t>(box - Box::ModeShape1)];
    case Box::ShapeCoef:
        return in.shapeCoefficients;
    case Box::Frequency:
        return in.frequencies;
    case Box::DampingRatio:
        return in.dampingRatios;
    default:
        badBox();
    }
}

template <typename Numbers> auto& listOf(Numbers& numbers, int box) {
    switch (box) {
    case Box::Heights:
        return numbers.zCoord;
    case Box::Areas:
        return numbers.windArea;
    case Box::Masses:
        return numbers.mass;
    case Box::ModeShape1:
    case Box::ModeShape2:
    case Box::ModeShape3:
        return numbers.modeShapes[static_cast<std::size_t>(box - Box::ModeShape1)];
    case Box::ShapeCoef:
        return numbers.shapeCoef;
    case Box::Frequency:
        return numbers.freq;
    case Box::DampingRatio:
        return numbers.dampRatio;
    default:
        badBox();
    }
}

} // namespace

const std::string& listBoxText(const ProjectInput& input, int box) {
    return listText(input, box);
}
std::string& listBoxText(ProjectInput& input, int box) {
    return listText(input, box);
}
const std::string& valueBoxText(const ProjectInput& input, int box) {
    return input.*valueBoxField(box).text;
}
std::string& valueBoxText(ProjectInput& input, int box) {
    return input.*valueBoxField(box).text;
}
const List& parsedList(const ParsedInput& numbers, int box) {
    return listOf(numbers, box);
}
List& parsedList(ParsedInput& numbers, int box) {
    return listOf(numbers, box);
}
double& parsedValue(ParsedInput& numbers, int box) {
    return numbers.*valueBoxField(box).value;
}

std::variant<List, std::string_view> parseListBox(int box, std::string_view text, int nFreedom,
                                                  int nModes) {
    const ListBoxField& field = listBoxField(box);
    // Items are split at every ';'. Empty items count ("1;;2" has three
    // items, "1;" two); an empty text has none.
    List parsed;
    if (!text.empty()) {
        parsed.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), ';')) + 1);
        for (std::size_t start = 0;;) {
            const std::size_t sep = text.find(';', start);
            const std::optional<double> value =
                parseDecimal(text.substr(start, sep == std::string_view::npos ? sep : sep - start));
            if (!value)
                return kListSyntaxMessage;
            parsed.push_back(*value);
            if (sep == std::string_view::npos)
                break;
            start = sep + 1;
        }
    }

    const std::size_t n = parsed.size();
    const auto points = static_cast<std::size_t>(nFreedom > 0 ? nFreedom : 0);
    const auto modes = static_cast<std::size_t>(nModes > 0 ? nModes : 0);
    bool countOk = false;
    switch (field.count) {
    case CountRule::Points:
        countOk = n == points && n > 0;
        break;
    case CountRule::PointsOrSpread:
        countOk = n == points || n == 1;
        break;
    case CountRule::Modes:
        countOk = n == modes && n > 0;
        break;
    case CountRule::ModesOrOne:
        countOk = n == modes || n == 1;
        break;
    }
    if (!countOk)
        return field.count == CountRule::Modes || field.count == CountRule::ModesOrOne
                   ? kModeCountMessage
                   : kFreedomCountMessage;
    if (field.count == CountRule::PointsOrSpread && n == 1)
        return List(points, parsed.front()); // one value for every point
    return parsed;
}

std::optional<double> parseValueBox(int box, std::string_view text) {
    const ValueBoxField& field = valueBoxField(box);
    std::optional<double> stored = parseDecimal(text);
    if (stored)
        *stored *= field.toRecord;
    // A value that only overflows once converted (kPa to N/m^2) is refused too.
    if (!stored || !std::isfinite(*stored))
        return std::nullopt;
    return stored;
}

std::optional<std::string> tailValueRefusal(const TailField& field, std::string_view value) {
    const std::optional<double> number = parseDecimal(value);
    if (!number)
        return std::string(field.key) + "的值必须为数字";
    if (field.number == nullptr && *number != 1.0 && *number != 2.0)
        return std::string(field.key) + "的值只能取 1 或 2";
    return std::nullopt;
}

std::optional<std::string> w10Refusal(double w10KPa) {
    if (w10KPa > 0.0)
        return std::nullopt;
    return "10年一遇基本风压w10为" + messageNumber(w10KPa) + " kPa，应大于0。";
}

std::optional<std::string> parseTail(const ProjectInput& input, ParsedInput& numbers) {
    numbers.diameterM.reset();
    numbers.structureType.reset();
    numbers.w10KPa.reset();
    for (const TailField& field : kTailFields) {
        const std::string& text = input.*field.text;
        if (text.empty())
            continue;
        if (std::optional<std::string> refusal = tailValueRefusal(field, text))
            return refusal;
        const double value = *parseDecimal(text);
        if (field.number == &ParsedInput::w10KPa)
            if (std::optional<std::string> refusal = w10Refusal(value))
                return *refusal + "请在“文件”菜单的“" + std::string(kProjectDataTitle) +
                       "”中改正；不作舒适度验算时清空。";
        if (field.number != nullptr)
            numbers.*field.number = value;
        else
            numbers.structureType = static_cast<int>(value);
    }
    return std::nullopt;
}

std::optional<ParsedInput> parseProjectInput(const ProjectInput& input) {
    if (input.pointCount < 1 || input.pointCount > kMaxFreedom || input.modeCount < 1 ||
        input.modeCount > kModeShapeBoxes || input.terrain < 1 || input.terrain > 4)
        return std::nullopt;
    ParsedInput numbers;
    numbers.nFreedom = input.pointCount;
    numbers.nModes = input.modeCount;
    numbers.terrainType = input.terrain;
    for (const ListBoxField& field : kListBoxFields) {
        if (!boxInUse(field.box, input.modeCount))
            continue;
        auto parsed = parseListBox(field.box, listBoxText(input, field.box), input.pointCount,
                                   input.modeCount);
        if (List* list = std::get_if<List>(&parsed))
            parsedList(numbers, field.box) = std::move(*list);
        else
            return std::nullopt;
    }
    for (const ValueBoxField& field : kValueBoxFields) {
        const std::optional<double> value =
            parseValueBox(field.box, valueBoxText(input, field.box));
        if (!value)
            return std::nullopt;
        parsedValue(numbers, field.box) = *value;
    }
    if (parseTail(input, numbers))
        return std::nullopt;
    return numbers;
}

} // namespace tamsor
