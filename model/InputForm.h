#pragma once

#include "InputFields.h"
#include "InputParse.h"
#include "Message.h"
#include "ProjectModel.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

// Key filters for characters arriving from the keyboard (control characters
// included). They return true when the character is kept.
// List boxes Text1: digits, ".", "e", "E", "+", "-", ";" and Backspace (8).
[[nodiscard]] bool Text1_KeyPress(int index, char32_t key);
// Value boxes Text2: digits, "." and Backspace (8).
[[nodiscard]] bool Text2_KeyPress(int index, char32_t key);

// The two kinds of input box: list boxes Text1 and value boxes Text2.
enum class BoxKind { List, Value };

// What a box makes of one typed character. A character that only looks like
// one the box accepts, as a Chinese input method types it (full-width digits,
// "。", "．", "；", "－", "＋", "ｅ", "Ｅ"), is taken as that plain character;
// where the plain character is refused too ("－" in a value box) the typed one
// is refused. In a value box, which holds one number, "," and "，" are a
// decimal comma and give ".". A refused character is never dropped without a
// word: unless it is a control character, the verdict carries a hint that
// names the box and the character and says what the box takes.
struct KeyVerdict {
    bool accepted = false;
    char32_t character = 0; // when accepted: what the box receives
    std::string hint;       // when a visible character is refused: UTF-8 hint text
};
[[nodiscard]] KeyVerdict judgeKey(BoxKind kind, int index, char32_t key);

// The plain character a look-alike stands for; any other character unchanged.
[[nodiscard]] char32_t plainLookAlike(char32_t key);

// A refused character left out of a box's text: `at` is the byte offset of
// the place where it was left out (before the character now at that offset).
struct RefusedCharacter {
    std::size_t at = 0;
    std::string hint; // UTF-8, as KeyVerdict's
    friend bool operator==(const RefusedCharacter&, const RefusedCharacter&) = default;
};

// What a box makes of characters typed at once (the text of one key, or what
// an input method hands over): the text it receives in their place, or none
// when every character passes as typed, the hint for the first refused
// visible character (empty when there is none) and every refused visible
// character at its place in the replacement. Control characters that pass
// the filter (Backspace) only edit as a key of their own, so they are left
// out of a replacement.
struct TypedVerdict {
    std::optional<std::u32string> replacement;
    std::string hint;
    std::vector<RefusedCharacter> refused;
};
[[nodiscard]] TypedVerdict judgeTyped(BoxKind kind, int index, std::u32string_view typed);

// What a box makes of pasted text: the same as of typed characters, except
// that blanks, tabs and line ends around the text are dropped without a word
// (a copied cell or line ends in a line end) and tabs and line ends inside
// it are refused with a hint like visible characters. The replacement is
// always given, the whole text when every character passes.
[[nodiscard]] TypedVerdict judgePasted(BoxKind kind, int index, std::u32string_view pasted);

// The refused characters whose places are still open after a box's text
// changed from `before` to `after`, at their places in `after`. Characters
// added at or after a place leave it open, so typing on after a refused ","
// keeps "10,20" marked as "1020". A place closes when the text is edited
// there: a character next to it deleted or replaced, or a ";" or "." put in
// at it (what the refused character stood for).
[[nodiscard]] std::vector<RefusedCharacter> refusalsAfterEdit(std::vector<RefusedCharacter> refused,
                                                              std::string_view before,
                                                              std::string_view after);

// The GUI-free state of the main window's input part: the texts of the eleven
// boxes Text1(0..8) and Text2(0..1), the selected positions of the three
// drop-down lists, each box's validity colour, the enabled state of the
// mode-shape boxes and of the result buttons command1(1..4). It writes the
// ProjectModel it was given and reports every message, in order, to the sink.
// The main window is a thin view over it; the project file reader and the
// batch command use it as the holder of the boxes.
class InputForm {
public:
    // Entries of cmbFreedom ("1".."10"), CmbModes ("1") and cmbDimao ("A".."D").
    static constexpr int kFreedomEntries = choiceField(Choice::Freedom).entries;
    static constexpr int kModeEntries = choiceField(Choice::Modes).entries;
    static constexpr int kTerrainEntries = choiceField(Choice::Terrain).entries;

    // Message texts (title "错误提示", no icon; see inputError in Message.h).
    static constexpr std::string_view kListSyntaxMessage = tamsor::kListSyntaxMessage;
    static constexpr std::string_view kFreedomCountMessage = tamsor::kFreedomCountMessage;
    static constexpr std::string_view kModeCountMessage = tamsor::kModeCountMessage;
    static constexpr std::string_view kValueSyntaxMessage = tamsor::kValueSyntaxMessage;
    // The command gate: a first element, or w0, is 0.
    static constexpr std::string_view kIncompleteMessage = "输入的数据有错误";

    InputForm(ProjectModel& model, MessageSink& sink);

    ProjectModel& model() { return model_; }
    const ProjectModel& model() const { return model_; }
    MessageSink& sink() { return sink_; }

    // Box indices outside Text1(0..8), Text2(0..1) and Label8(0..2) throw
    // std::out_of_range from every member that takes one.

    // --- box texts; setting a text runs the box's change handler ------------
    const std::string& text1(int index) const;
    const std::string& text2(int index) const;
    void setText1(int index, std::string text);
    void setText2(int index, std::string text);

    // Text colour as a colour value: 0 = black (accepted), 255 = red (refused).
    int text1Colour(int index) const;
    int text2Colour(int index) const;

    // Enabled state of Text1(0..8) (only 3..5 ever change) and Label8(0..2).
    bool text1Enabled(int index) const;
    bool label8Enabled(int index) const;

    // --- drop-down lists; selecting runs the list's click handler -----------
    int freedomPosition() const { return input_.pointCount - 1; }
    int modesPosition() const { return input_.modeCount - 1; }
    int terrainPosition() const { return input_.terrain - 1; }
    // Out-of-range positions are ignored (nothing selected, nothing changed).
    void selectFreedom(int position);
    void selectModes(int position);
    void selectTerrain(int position);

    // --- handlers ------------------------------------------------------------
    void Text1_Change(int index);
    void Text2_Change(int index);
    void Text1_LostFocus(int index);
    void Text2_LostFocus(int index);
    void cmbFreedom_Click();
    void CmbModes_Click();
    void cmbDimao_Click();

    // The sweep: Text1_LostFocus(0..8), then Text2_LostFocus(0..1).
    void applyAllInputs();
    // First elements of zCoord, windArea, mass, freq, dampRatio, shapeCoef and
    // w0 all non-zero.
    [[nodiscard]] bool inputsComplete() const;
    // The nine listError flags add up to 0.
    [[nodiscard]] bool listsAccepted() const;
    // True while Text2(index) holds a refused value (cleared by an accepted
    // parse). The gate refuses to proceed while either value box is refused.
    [[nodiscard]] bool valueRefused(int index) const;
    // The command gate: sweep, then "输入的数据有错误" when inputsComplete fails
    // or a box is marked for refused characters, then a silent stop when a
    // list or value box is refused. True = proceed.
    [[nodiscard]] bool commandGate();

    // Marks a box whose typed or pasted text lost characters it refuses, at
    // their places in its current text. A marked box shows red and holds the
    // gate until every place is closed by an edit (refusalsAfterEdit) or New.
    void markRefused(BoxKind kind, int index, std::vector<RefusedCharacter> refused);
    // The hint of the box's first open refused character; empty when the box
    // is not marked.
    [[nodiscard]] const std::string& refusalHint(BoxKind kind, int index) const;

    // New, the input part: mode-box enabling, every box "0", first entry of
    // cmbFreedom, cmbDimao, CmbModes, no tail, result buttons disabled.
    void newProject();

    // What the form holds of a project: the box texts as typed, the three
    // list numbers and the file's tail.
    const ProjectInput& input() const { return input_; }
    // Puts a whole input into the form as the project file's reader does: the
    // list selections with their handlers, the texts with theirs. Selections
    // outside the lists' entries are taken as the first entry.
    void show(const ProjectInput& input);

    // Enabled state of command1(1..4): only the compute command sets it.
    bool resultButtonsEnabled() const { return resultButtonsEnabled_; }
    void setResultButtonsEnabled(bool enabled);

    // Called after every change of the state above, so a view can mirror it.
    std::function<void()> changed;

private:
    void notify();
    void applyModeBoxEnabling();
    void setModeBoxes(int modes);
    static std::size_t refusedSlot(BoxKind kind, int index);

    ProjectModel& model_;
    MessageSink& sink_;
    ProjectInput input_;
    std::array<int, kListBoxCount> text1Colour_{};
    std::array<int, kValueBoxCount> text2Colour_{};
    std::array<bool, kListBoxCount> text1Enabled_{};
    std::array<bool, 3> label8Enabled_{};
    std::array<bool, kValueBoxCount> valueRefused_{};
    // Open refused characters of Text1(0..8), then of Text2(0..1).
    std::array<std::vector<RefusedCharacter>, kListBoxCount + kValueBoxCount> refused_{};
    bool resultButtonsEnabled_ = false;
};

} // namespace tamsor
