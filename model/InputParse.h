#pragma once

// How the text of each input box becomes numbers: the one parse that the
// form runs when a box is left, that the command gate's sweep runs over every
// box, and that turns a whole ProjectInput into the numbers a computation
// takes.

#include "ParsedInput.h"
#include "ProjectInput.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tamsor {

// Messages of a refused box (title "错误提示", no icon).
// A list box item that is not a number (an empty item included).
inline constexpr std::string_view kListSyntaxMessage =
    "输入的数据有错误, 请检查(数据之间用分号隔开，结尾不要加分号)!";
// Wrong item count in a per-point box / in the frequency or damping box.
inline constexpr std::string_view kFreedomCountMessage = "输入的数据数目与自由度数不一致";
inline constexpr std::string_view kModeCountMessage = "输入的数据数目与振型数不一致";
// A value box that is not a number.
inline constexpr std::string_view kValueSyntaxMessage = "输入的数据有错误, 请检查!";

// The text of list box `box` (Box:: in InputFields.h) and of value box `box`
// (ValueBox::) in an input. Out-of-range boxes throw std::out_of_range.
[[nodiscard]] const std::string& listBoxText(const ProjectInput& input, int box);
[[nodiscard]] std::string& listBoxText(ProjectInput& input, int box);
[[nodiscard]] const std::string& valueBoxText(const ProjectInput& input, int box);
[[nodiscard]] std::string& valueBoxText(ProjectInput& input, int box);

// The list a list box gives, and the value a value box gives, in the numbers.
[[nodiscard]] const List& parsedList(const ParsedInput& numbers, int box);
[[nodiscard]] List& parsedList(ParsedInput& numbers, int box);
[[nodiscard]] double& parsedValue(ParsedInput& numbers, int box);

// A list box's text by its count rule: the list it gives (a single shape
// coefficient spread over nFreedom points), or the message that refuses it.
// The text is split at every ";" (empty items count as items and are not
// numbers); an empty text has no items and fails every count rule.
[[nodiscard]] std::variant<List, std::string_view> parseListBox(int box, std::string_view text,
                                                                int nFreedom, int nModes);

// A value box's text: the value as stored (the wind pressure times 1000, kPa
// to N/m^2), or nothing when the text is not a number or the stored value
// overflows.
[[nodiscard]] std::optional<double> parseValueBox(int box, std::string_view text);

struct TailField;

// Why a value set for a known key of the file's tail is refused, as the
// reader and the command gate say it ("diameter的值必须为数字"); nothing when
// it is accepted. An empty value is no number.
[[nodiscard]] std::optional<std::string> tailValueRefusal(const TailField& field,
                                                          std::string_view value);

// A 10-year basic wind pressure w10 (kPa) of 0 or below, which no comfort
// check can take: the text that says so; nothing for a positive value.
[[nodiscard]] std::optional<std::string> w10Refusal(double w10KPa);

// The tail's known keys of an input into its numbers (a key not set gives
// none): nothing, or the refusal of the first set value that is refused. The
// reader's refusals come first; a w10 the reader takes but that is not
// positive is refused too, with where to correct it.
[[nodiscard]] std::optional<std::string> parseTail(const ProjectInput& input, ParsedInput& numbers);

// The numbers of a whole input, as the command gate's sweep accepts them when
// no box is refused: nothing when a box, or a set key of the tail, does not
// parse. It does not check the first values (the gate's "输入的数据有错误").
[[nodiscard]] std::optional<ParsedInput> parseProjectInput(const ProjectInput& input);

} // namespace tamsor
