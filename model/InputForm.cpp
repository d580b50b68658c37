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

constexpr int kBlack = 0;
constexpr int kRed = 255;

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

bool Text1_KeyPress(int /*index*/, char32_t key) {
    return isDigitKey(key) || key == U'.' || key == U'e' || key == U'E' || key == U'+' ||
           key == U'-' || key == U';' || key == kBackspace;
}

bool Text2_KeyPress(int /*index*/, char32_t key) {
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
        name += "(" + std::string(field.unit) + ")";
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
        return kind == BoxKind::List ? Text1_KeyPress(index, c) : Text2_KeyPress(index, c);
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

InputForm::InputForm(ProjectModel& model, MessageSink& sink) : model_(model), sink_(sink) {
    text1Colour_.fill(kBlack);
    text2Colour_.fill(kBlack);
    text1Enabled_.fill(true);
    setModeBoxes(1);
    valueRefused_.fill(false);
}

const std::string& InputForm::text1(int index) const {
    return listBoxText(input_, index);
}

const std::string& InputForm::text2(int index) const {
    return valueBoxText(input_, index);
}

void InputForm::setText1(int index, std::string text) {
    std::string& stored = listBoxText(input_, index);
    std::vector<RefusedCharacter>& refused = refused_[refusedSlot(BoxKind::List, index)];
    if (!refused.empty())
        refused = refusalsAfterEdit(std::move(refused), stored, text);
    stored = std::move(text);
    Text1_Change(index);
}

void InputForm::setText2(int index, std::string text) {
    std::string& stored = valueBoxText(input_, index);
    std::vector<RefusedCharacter>& refused = refused_[refusedSlot(BoxKind::Value, index)];
    if (!refused.empty())
        refused = refusalsAfterEdit(std::move(refused), stored, text);
    stored = std::move(text);
    Text2_Change(index);
}

int InputForm::text1Colour(int index) const {
    const int parsed = text1Colour_[checkedIndex(index, kListBoxCount)];
    return refused_[refusedSlot(BoxKind::List, index)].empty() ? parsed : kRed;
}

int InputForm::text2Colour(int index) const {
    const int parsed = text2Colour_[checkedIndex(index, kValueBoxCount)];
    return refused_[refusedSlot(BoxKind::Value, index)].empty() ? parsed : kRed;
}

bool InputForm::text1Enabled(int index) const {
    return text1Enabled_[checkedIndex(index, kListBoxCount)];
}

bool InputForm::label8Enabled(int index) const {
    return label8Enabled_[checkedIndex(index, static_cast<int>(label8Enabled_.size()))];
}

void InputForm::selectFreedom(int position) {
    if (position < 0 || position >= kFreedomEntries)
        return;
    input_.pointCount = position + 1;
    cmbFreedom_Click();
}

void InputForm::selectModes(int position) {
    if (position < 0 || position >= kModeEntries)
        return;
    input_.modeCount = position + 1;
    CmbModes_Click();
}

void InputForm::selectTerrain(int position) {
    if (position < 0 || position >= kTerrainEntries)
        return;
    input_.terrain = position + 1;
    cmbDimao_Click();
}

void InputForm::Text1_Change(int index) {
    checkedIndex(index, kListBoxCount);
    resultButtonsEnabled_ = false;
    notify();
}

void InputForm::Text2_Change(int index) {
    checkedIndex(index, kValueBoxCount);
    resultButtonsEnabled_ = false;
    notify();
}

void InputForm::Text1_LostFocus(int index) {
    const std::size_t i = checkedIndex(index, kListBoxCount);
    auto parsed = parseListBox(index, text1(index), model_.nFreedom, model_.nModes);
    if (const auto* message = std::get_if<std::string_view>(&parsed)) {
        sink_.show(inputError(std::string(*message)));
        text1Colour_[i] = kRed;
        model_.listError[i] = 1;
        notify();
        return;
    }
    model_.listError[i] = 0;
    model_.*listBoxField(index).field = std::move(std::get<List>(parsed));
    text1Colour_[i] = kBlack;
    notify();
}

void InputForm::Text2_LostFocus(int index) {
    const std::size_t i = checkedIndex(index, kValueBoxCount);
    const std::optional<double> stored = parseValueBox(index, text2(index));
    if (!stored) {
        sink_.show(inputError(std::string(kValueSyntaxMessage)));
        text2Colour_[i] = kRed;
        valueRefused_[i] = true;
        notify();
        return;
    }
    text2Colour_[i] = kBlack;
    valueRefused_[i] = false;
    model_.*valueBoxField(index).field = *stored;
    notify();
}

void InputForm::cmbFreedom_Click() {
    model_.nFreedom = static_cast<std::int16_t>(input_.pointCount);
    model_.resizePointLists();
    notify();
}

void InputForm::CmbModes_Click() {
    model_.nModes = static_cast<std::int16_t>(input_.modeCount);
    model_.resizeModeLists();
    applyModeBoxEnabling();
    notify();
}

void InputForm::cmbDimao_Click() {
    model_.terrainType = static_cast<std::int16_t>(input_.terrain);
    resultButtonsEnabled_ = false;
    notify();
}

void InputForm::applyAllInputs() {
    for (int i = 0; i < kListBoxCount; ++i)
        Text1_LostFocus(i);
    for (int i = 0; i < kValueBoxCount; ++i)
        Text2_LostFocus(i);
}

bool InputForm::inputsComplete() const {
    return firstNonZero(model_.zCoord) && firstNonZero(model_.windArea) &&
           firstNonZero(model_.mass) && firstNonZero(model_.freq) &&
           firstNonZero(model_.dampRatio) && firstNonZero(model_.shapeCoef) && model_.w0 != 0.0;
}

bool InputForm::listsAccepted() const {
    int sum = 0;
    for (std::int16_t flag : model_.listError)
        sum += flag;
    return sum == 0;
}

bool InputForm::valueRefused(int index) const {
    return valueRefused_[checkedIndex(index, kValueBoxCount)];
}

bool InputForm::commandGate() {
    applyAllInputs();
    const bool marked = std::any_of(refused_.begin(), refused_.end(),
                                    [](const auto& refused) { return !refused.empty(); });
    if (!inputsComplete() || marked) {
        sink_.show(inputError(std::string(kIncompleteMessage)));
        return false;
    }
    // A refused value box has no listError flag; without this check the
    // command would run on the box's previous value right after the box was
    // reported as wrong.
    if (!listsAccepted() ||
        std::find(valueRefused_.begin(), valueRefused_.end(), true) != valueRefused_.end())
        return false;
    return true;
}

void InputForm::markRefused(BoxKind kind, int index, std::vector<RefusedCharacter> refused) {
    std::vector<RefusedCharacter>& open = refused_[refusedSlot(kind, index)];
    open.insert(open.end(), std::make_move_iterator(refused.begin()),
                std::make_move_iterator(refused.end()));
    notify();
}

const std::string& InputForm::refusalHint(BoxKind kind, int index) const {
    static const std::string none;
    const std::vector<RefusedCharacter>& open = refused_[refusedSlot(kind, index)];
    return open.empty() ? none : open.front().hint;
}

std::size_t InputForm::refusedSlot(BoxKind kind, int index) {
    return kind == BoxKind::List ? checkedIndex(index, kListBoxCount)
                                 : kListBoxCount + checkedIndex(index, kValueBoxCount);
}

void InputForm::newProject() {
    show(ProjectInput{});
}

void InputForm::show(const ProjectInput& input) {
    const auto position = [](int number, int entries) {
        return number >= 1 && number <= entries ? number - 1 : 0;
    };
    // Every box gets a new text: no refused character is left to correct.
    for (std::vector<RefusedCharacter>& refused : refused_)
        refused.clear();
    selectFreedom(position(input.pointCount, kFreedomEntries));
    for (const ListBoxField& field : kListBoxFields)
        setText1(field.box, listBoxText(input, field.box));
    for (const ValueBoxField& field : kValueBoxFields)
        setText2(field.box, valueBoxText(input, field.box));
    selectModes(position(input.modeCount, kModeEntries));
    selectTerrain(position(input.terrain, kTerrainEntries));
    for (const TailField& field : kTailFields)
        input_.*field.text = input.*field.text;
    input_.otherTail = input.otherTail;
    setResultButtonsEnabled(false);
}

void InputForm::setResultButtonsEnabled(bool enabled) {
    resultButtonsEnabled_ = enabled;
    notify();
}

void InputForm::notify() {
    if (changed)
        changed();
}

void InputForm::applyModeBoxEnabling() {
    setModeBoxes(model_.nModes);
}

void InputForm::setModeBoxes(int modes) {
    // Mode k (1..3) has the box Text1(Box::ModeShape1 + k - 1) and the caption Label8(k - 1).
    for (int k = 1; k <= 3; ++k) {
        const bool enabled = k <= modes;
        text1Enabled_[static_cast<std::size_t>(Box::ModeShape1 + k - 1)] = enabled;
        label8Enabled_[static_cast<std::size_t>(k - 1)] = enabled;
    }
}

} // namespace tamsor
