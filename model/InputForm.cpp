#include "InputForm.h"

#include "InputParse.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tamsor {

namespace {

constexpr char32_t kBackspace = 8;

bool isDigitKey(char32_t key) {
    return key >= U'0' && key <= U'9';
}

// C0 and C1 control characters and DEL: keys such as Enter or Ctrl+V that
// type nothing visible.
bool isControlKey(char32_t key) {
    return key < 0x20 || (key >= 0x7F && key <= 0x9F);
}

// What a list box and a value box take, for the hint at a refused character.
constexpr std::string_view kListKeyHint =
    "此处只能输入数字、小数点(.)、正负号(+ -)和指数符号(e E)，数据之间用分号(;)隔开。";
constexpr std::string_view kValueKeyHint = "此处只能输入数字和小数点(.)，逗号当作小数点。";

std::string toUtf8(char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD; // not a character: the replacement character stands for it
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool firstNonZero(const List& list) {
    return !list.empty() && list.front() != 0.0;
}

std::size_t checkedIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw std::out_of_range("input box index out of range");
    return static_cast<std::size_t>(index);
}

} // namespace

bool listBoxKeyAccepted(int /*index*/, char32_t key) {
    return isDigitKey(key) || key == U'.' || key == U'e' || key == U'E' || key == U'+' ||
           key == U'-' || key == U';' || key == kBackspace;
}

bool valueBoxKeyAccepted(int /*index*/, char32_t key) {
    return isDigitKey(key) || key == U'.' || key == kBackspace;
}

char32_t plainLookAlike(char32_t key) {
    if (key >= U'\uFF10' && key <= U'\uFF19') // full-width digits
        return U'0' + (key - U'\uFF10');
    switch (key) {
    case U'\u3002': // ideographic full stop
    case U'\uFF0E': // full-width full stop
        return U'.';
    case U'\uFF1B':
        return U';';
    case U'\uFF0D':
        return U'-';
    case U'\uFF0B':
        return U'+';
    case U'\uFF45':
        return U'e';
    case U'\uFF25':
        return U'E';
    default:
        return key;
    }
}

namespace {

// The box as its caption names it, for a hint: "各质点z坐标(m)", "基本风压(KPa)".
std::string boxName(BoxKind kind, int index) {
    if (kind == BoxKind::Value)
        return std::string(valueBoxField(index).caption);
    const ListBoxField& field = listBoxField(index);
    std::string name(field.name);
    if (!field.unit.empty())
        name.append("(").append(field.unit).append(")");
    return name;
}

// The hint at a refused character; control characters are named only for a
// paste, where they stand between the characters kept.
std::string refusedHint(BoxKind kind, int index, char32_t key) {
    std::string hint = boxName(kind, index) + "：已忽略输入的";
    if (key == U' ')
        hint += "空格";
    else if (key == U'\u3000')
        hint += "全角空格";
    else if (key == U'\t')
        hint += "制表符";
    else if (key == U'\r' || key == U'\n')
        hint += "换行符";
    else if (isControlKey(key))
        hint += "控制字符";
    else
        hint += "字符“" + toUtf8(key) + "”";
    hint += "。";
    hint += kind == BoxKind::List ? kListKeyHint : kValueKeyHint;
    hint += "请改正此栏。";
    return hint;
}

bool isBlankAround(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\u3000';
}

TypedVerdict judgeCharacters(BoxKind kind, int index, std::u32string_view text, bool pasted) {
    TypedVerdict result;
    bool asTyped = true;
    std::u32string kept;
    for (char32_t key : text) {
        KeyVerdict verdict = judgeKey(kind, index, key);
        asTyped = asTyped && verdict.accepted && verdict.character == key;
        if (verdict.accepted) {
            if (!isControlKey(verdict.character))
                kept.push_back(verdict.character);
            continue;
        }
        if (verdict.hint.empty() && pasted)
            verdict.hint = refusedHint(kind, index, key);
        if (verdict.hint.empty())
            continue;
        if (result.hint.empty())
            result.hint = verdict.hint;
        result.refused.push_back(RefusedCharacter{kept.size(), std::move(verdict.hint)});
    }
    if (!asTyped || pasted)
        result.replacement = std::move(kept);
    return result;
}

} // namespace

KeyVerdict judgeKey(BoxKind kind, int index, char32_t key) {
    const auto accepts = [&](char32_t c) {
        return kind == BoxKind::List ? listBoxKeyAccepted(index, c) : valueBoxKeyAccepted(index, c);
    };
    if (accepts(key))
        return KeyVerdict{true, key, {}};
    const char32_t plain = plainLookAlike(key);
    if (plain != key && accepts(plain))
        return KeyVerdict{true, plain, {}};
    // One number takes no separator: a comma is its decimal comma.
    if (kind == BoxKind::Value && (key == U',' || key == U'\uFF0C'))
        return KeyVerdict{true, U'.', {}};
    if (isControlKey(key))
        return KeyVerdict{};
    return KeyVerdict{false, 0, refusedHint(kind, index, key)};
}

TypedVerdict judgeTyped(BoxKind kind, int index, std::u32string_view typed) {
    return judgeCharacters(kind, index, typed, false);
}

TypedVerdict judgePasted(BoxKind kind, int index, std::u32string_view pasted) {
    while (!pasted.empty() && isBlankAround(pasted.front()))
        pasted.remove_prefix(1);
    while (!pasted.empty() && isBlankAround(pasted.back()))
        pasted.remove_suffix(1);
    return judgeCharacters(kind, index, pasted, true);
}

std::vector<RefusedCharacter> refusalsAfterEdit(std::vector<RefusedCharacter> refused,
                                                std::string_view before, std::string_view after) {
    if (before == after)
        return refused;
    // The edit as one replacement: before[head, removedEnd) became `inserted`.
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::size_t removedEnd = before.size() - tail;
    const std::string_view inserted = after.substr(head, after.size() - tail - head);
    std::vector<RefusedCharacter> open;
    for (RefusedCharacter& r : refused) {
        if (removedEnd > head
                ? r.at >= head && r.at <= removedEnd
                : r.at == head && (inserted.front() == ';' || inserted.front() == '.'))
            continue;
        if (r.at > removedEnd)
            r.at = r.at - (removedEnd - head) + inserted.size();
        open.push_back(std::move(r));
    }
    return open;
}

InputForm::InputForm(MessageSink& sink) : sink_(sink) {
    resetPointLists();
    resetModeLists();
}

// --- list boxes ------------------------------------------------------------------

const std::string& InputForm::boxText(int box) const {
    return listBoxText(input_, box);
}

void InputForm::setBoxText(int box, std::string text) {
    std::string& stored = listBoxText(input_, box);
    changeBox(BoxKind::List, box, stored, std::move(text),
              listMarked_[checkedIndex(box, kListBoxCount)]);
}

void InputForm::leaveBox(int box) {
    const std::size_t i = checkedIndex(box, kListBoxCount);
    if (!boxEnabled(box))
        return;
    auto parsed = parseListBox(box, boxText(box), numbers_.nFreedom, numbers_.nModes);
    if (const auto* message = std::get_if<std::string_view>(&parsed)) {
        sink_.show(inputError(std::string(*message)));
        listRefused_[i] = true;
        listMarked_[i] = true;
        notify();
        return;
    }
    parsedList(numbers_, box) = std::move(std::get<List>(parsed));
    listRefused_[i] = false;
    // A box marked for its zero first value, or for characters it refused,
    // stays marked until it is edited there.
    listMarked_[i] = listMarked_[i] &&
                     (firstValueMissing(box) || !refusedCharacters(BoxKind::List, box).empty());
    notify();
}

bool InputForm::boxRefused(int box) const {
    return listRefused_[checkedIndex(box, kListBoxCount)] ||
           !refusedCharacters(BoxKind::List, box).empty();
}

bool InputForm::boxMarked(int box) const {
    return listMarked_[checkedIndex(box, kListBoxCount)];
}

bool InputForm::boxEnabled(int box) const {
    checkedIndex(box, kListBoxCount);
    return boxInUse(box, input_.modeCount);
}

std::string_view InputForm::boxCaption(int box) const {
    return boxEnabled(box) ? listBoxField(box).caption : kUndefinedModeCaption;
}

// --- value boxes -----------------------------------------------------------------

const std::string& InputForm::valueText(int box) const {
    return valueBoxText(input_, box);
}

void InputForm::setValueText(int box, std::string text) {
    std::string& stored = valueBoxText(input_, box);
    changeBox(BoxKind::Value, box, stored, std::move(text),
              valueMarked_[checkedIndex(box, kValueBoxCount)]);
}

void InputForm::leaveValueBox(int box) {
    const std::size_t i = checkedIndex(box, kValueBoxCount);
    const std::optional<double> stored = parseValueBox(box, valueText(box));
    if (!stored) {
        sink_.show(inputError(std::string(kValueSyntaxMessage)));
        valueRefused_[i] = true;
        valueMarked_[i] = true;
        notify();
        return;
    }
    parsedValue(numbers_, box) = *stored;
    valueRefused_[i] = false;
    valueMarked_[i] =
        valueMarked_[i] && ((box == ValueBox::WindPressure && windPressureMissing()) ||
                            !refusedCharacters(BoxKind::Value, box).empty());
    notify();
}

bool InputForm::valueRefused(int box) const {
    return valueRefused_[checkedIndex(box, kValueBoxCount)] ||
           !refusedCharacters(BoxKind::Value, box).empty();
}

bool InputForm::valueMarked(int box) const {
    return valueMarked_[checkedIndex(box, kValueBoxCount)];
}

void InputForm::changeBox(BoxKind kind, int box, std::string& text, std::string newText,
                          bool& marked) {
    std::vector<RefusedCharacter>& refused = refusedCharacters(kind, box);
    if (!refused.empty())
        refused = refusalsAfterEdit(std::move(refused), text, newText);
    if (newText != text)
        marked = false;
    text = std::move(newText);
    resultButtonsEnabled_ = false;
    notify();
}

// --- the file's tail ---------------------------------------------------------------------

void InputForm::setTailText(const TailField& field, std::string text) {
    input_.*field.text = std::move(text);
    resultButtonsEnabled_ = false;
    notify();
}

// --- characters a box refused ---------------------------------------------------------

void InputForm::markRefused(BoxKind kind, int box, std::vector<RefusedCharacter> refused) {
    std::vector<RefusedCharacter>& open = refusedCharacters(kind, box);
    open.insert(open.end(), std::make_move_iterator(refused.begin()),
                std::make_move_iterator(refused.end()));
    notify();
}

const std::string& InputForm::refusalHint(BoxKind kind, int box) const {
    static const std::string none;
    const std::vector<RefusedCharacter>& open = refusedCharacters(kind, box);
    return open.empty() ? none : open.front().hint;
}

std::vector<RefusedCharacter>& InputForm::refusedCharacters(BoxKind kind, int box) {
    return refusedCharacters_[kind == BoxKind::List
                                  ? checkedIndex(box, kListBoxCount)
                                  : kListBoxCount + checkedIndex(box, kValueBoxCount)];
}

const std::vector<RefusedCharacter>& InputForm::refusedCharacters(BoxKind kind, int box) const {
    return refusedCharacters_[kind == BoxKind::List
                                  ? checkedIndex(box, kListBoxCount)
                                  : kListBoxCount + checkedIndex(box, kValueBoxCount)];
}

// --- lists -------------------------------------------------------------------------

void InputForm::selectPointCount(int points) {
    if (points < 1 || points > kPointCounts)
        return;
    input_.pointCount = points;
    numbers_.nFreedom = points;
    resetPointLists();
    notify();
}

void InputForm::selectModeCount(int modes) {
    if (modes < 1 || modes > kModeCounts)
        return;
    input_.modeCount = modes;
    numbers_.nModes = modes;
    resetModeLists();
    for (int box = Box::ModeShape1; box < Box::ModeShape1 + kModeShapeBoxes; ++box) {
        const auto i = static_cast<std::size_t>(box);
        List& shape = numbers_.modeShapes[i - Box::ModeShape1];
        if (boxEnabled(box) == !shape.empty())
            continue;
        // A box out of use cannot be edited: nothing of it is left to correct.
        listRefused_[i] = false;
        listMarked_[i] = false;
        refusedCharacters(BoxKind::List, box).clear();
        shape.assign(boxEnabled(box) ? static_cast<std::size_t>(numbers_.nFreedom) : 0, 0.0);
    }
    notify();
}

void InputForm::selectTerrain(int terrain) {
    if (terrain < 1 || terrain > kTerrains)
        return;
    input_.terrain = terrain;
    numbers_.terrainType = terrain;
    resultButtonsEnabled_ = false;
    notify();
}

void InputForm::resetPointLists() {
    const auto n = static_cast<std::size_t>(numbers_.nFreedom);
    for (List* list : {&numbers_.zCoord, &numbers_.windArea, &numbers_.mass, &numbers_.shapeCoef})
        list->assign(n, 0.0);
    for (int k = 0; k < kModeShapeBoxes; ++k)
        numbers_.modeShapes[static_cast<std::size_t>(k)].assign(k < numbers_.nModes ? n : 0, 0.0);
}

void InputForm::resetModeLists() {
    const auto m = static_cast<std::size_t>(numbers_.nModes);
    numbers_.freq.assign(m, 0.0);
    numbers_.dampRatio.assign(m, 0.0);
}

// --- the command gate ----------------------------------------------------------------

void InputForm::sweep() {
    for (const ListBoxField& field : kListBoxFields)
        leaveBox(field.box);
    for (const ValueBoxField& field : kValueBoxFields)
        leaveValueBox(field.box);
}

bool InputForm::firstValueMissing(int box) const {
    switch (box) {
    case Box::Heights:
    case Box::Areas:
    case Box::Masses:
    case Box::Frequency:
    case Box::DampingRatio:
    case Box::ShapeCoef:
        return !firstNonZero(parsedList(numbers_, box));
    default:
        return false;
    }
}

bool InputForm::windPressureMissing() const {
    return numbers_.w0 == 0.0;
}

bool InputForm::inputsComplete() const {
    for (const ListBoxField& field : kListBoxFields)
        if (firstValueMissing(field.box))
            return false;
    return !windPressureMissing();
}

bool InputForm::listsAccepted() const {
    return std::find(listRefused_.begin(), listRefused_.end(), true) == listRefused_.end();
}

std::optional<ParsedInput> InputForm::commandGate() {
    sweep();
    const bool complete = inputsComplete();
    bool charactersRefused = false;
    for (const ListBoxField& field : kListBoxFields) {
        const bool refused =
            boxEnabled(field.box) && !refusedCharacters(BoxKind::List, field.box).empty();
        charactersRefused = charactersRefused || refused;
        listMarked_[static_cast<std::size_t>(field.box)] =
            boxRefused(field.box) || (!complete && firstValueMissing(field.box));
    }
    for (const ValueBoxField& field : kValueBoxFields) {
        const bool refused = !refusedCharacters(BoxKind::Value, field.box).empty();
        charactersRefused = charactersRefused || refused;
        valueMarked_[static_cast<std::size_t>(field.box)] =
            valueRefused(field.box) ||
            (!complete && field.box == ValueBox::WindPressure && windPressureMissing());
    }
    notify();
    if (!complete || charactersRefused) {
        sink_.show(inputError(std::string(kIncompleteMessage)));
        return std::nullopt;
    }
    // A refused value box would otherwise let the command run on the box's
    // previous value right after the box was reported as wrong.
    if (!listsAccepted() ||
        std::find(valueRefused_.begin(), valueRefused_.end(), true) != valueRefused_.end())
        return std::nullopt;
    // The tail's values come from a read, which checked them; they are no
    // box's, so a refusal marks none.
    if (const std::optional<std::string> refusal = parseTail(input_, numbers_)) {
        sink_.show(inputError(*refusal));
        return std::nullopt;
    }
    return numbers_;
}

// --- New and reads ---------------------------------------------------------------------

void InputForm::newProject() {
    show(ProjectInput{});
}

void InputForm::show(const ProjectInput& input) {
    const auto entry = [](int number, int entries) {
        return number >= 1 && number <= entries ? number : 1;
    };
    input_ = input;
    input_.pointCount = entry(input.pointCount, kPointCounts);
    input_.modeCount = entry(input.modeCount, kModeCounts);
    input_.terrain = entry(input.terrain, kTerrains);
    numbers_.nFreedom = input_.pointCount;
    numbers_.nModes = input_.modeCount;
    numbers_.terrainType = input_.terrain;
    resetPointLists();
    resetModeLists();
    listRefused_.fill(false);
    listMarked_.fill(false);
    valueRefused_.fill(false);
    valueMarked_.fill(false);
    // Every box gets a new text: no refused character is left to correct.
    for (std::vector<RefusedCharacter>& refused : refusedCharacters_)
        refused.clear();
    resultButtonsEnabled_ = false;
    notify();
}

void InputForm::setResultButtonsEnabled(bool enabled) {
    resultButtonsEnabled_ = enabled;
    notify();
}

void InputForm::notify() {
    if (changed)
        changed();
}

} // namespace tamsor
