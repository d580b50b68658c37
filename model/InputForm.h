#pragma once

#include "InputFields.h"
#include "InputParse.h"
#include "Message.h"
#include "ParsedInput.h"
#include "ProjectInput.h"

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
// List boxes (Box::): digits, ".", "e", "E", "+", "-", ";" and Backspace (8).
[[nodiscard]] bool listBoxKeyAccepted(int box, char32_t key);
// Value boxes (ValueBox::): digits, "." and Backspace (8).
[[nodiscard]] bool valueBoxKeyAccepted(int box, char32_t key);

// The two kinds of input box: list boxes (Box::) and value boxes (ValueBox::).
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

// The GUI-free state of the main window's input part. It holds the project's
// input as typed (the eleven boxes' texts, the three list selections and the
// file's tail) and the form's own state: the numbers each box gave when it
// was last accepted, which boxes are refused (red text) and marked (a box to
// correct, as the view shows it), the enabled state of the mode-shape boxes
// and of the result commands. Every message goes, in order, to the sink. The
// main window is a thin view over it.
//
// List boxes are named by their Box:: field, value boxes by their ValueBox::
// field; other indices throw std::out_of_range.
class InputForm {
public:
    // Entries of the DOF list ("1".."10"), the mode-count list ("1".."3") and
    // the terrain list ("A".."D").
    static constexpr int kPointCounts = choiceField(Choice::Freedom).entries;
    static constexpr int kModeCounts = choiceField(Choice::Modes).entries;
    static constexpr int kTerrains = choiceField(Choice::Terrain).entries;

    // Message texts (title "错误提示", no icon; see inputError in Message.h).
    static constexpr std::string_view kListSyntaxMessage = tamsor::kListSyntaxMessage;
    static constexpr std::string_view kFreedomCountMessage = tamsor::kFreedomCountMessage;
    static constexpr std::string_view kModeCountMessage = tamsor::kModeCountMessage;
    static constexpr std::string_view kValueSyntaxMessage = tamsor::kValueSyntaxMessage;
    // The command gate: a first value, or w0, is 0.
    static constexpr std::string_view kIncompleteMessage = "输入的数据有错误";

    explicit InputForm(MessageSink& sink);

    MessageSink& sink() { return sink_; }

    // What the form holds of the project.
    const ProjectInput& input() const { return input_; }
    // The numbers each box gave when it was last accepted; a DOF or mode count
    // selection resets the lists it sizes to zeros.
    const ParsedInput& numbers() const { return numbers_; }

    // --- list boxes ----------------------------------------------------------
    const std::string& boxText(int box) const;
    // A changed text makes the results stale and clears the box's mark; it is
    // parsed when the box is left.
    void setBoxText(int box, std::string text);
    // The box is left: its text is parsed by the box's count rule. Refused: the
    // message, the box refused and marked, its numbers kept. Accepted: its
    // numbers replaced, the refusal cleared.
    void leaveBox(int box);
    // Red text: the box's last parse was refused, or it lost characters it
    // refuses whose places are still open.
    [[nodiscard]] bool boxRefused(int box) const;
    // The box is one to correct: the last command gate or its last parse
    // refused it. Cleared by an edit of the box, by New and by a read.
    [[nodiscard]] bool boxMarked(int box) const;
    // Only the mode-shape boxes of the modes beyond the mode count are
    // disabled, together with their captions. Such a box is out of use: it is
    // not parsed, neither when left nor by the sweep, shows no refusal and
    // gives no numbers; its text is kept.
    [[nodiscard]] bool boxEnabled(int box) const;
    // The caption beside the box: its own ("第2阶振型"), or "未定义" for a
    // mode-shape box beyond the mode count.
    [[nodiscard]] std::string_view boxCaption(int box) const;

    // --- value boxes, the same for one number each ---------------------------
    const std::string& valueText(int box) const;
    void setValueText(int box, std::string text);
    void leaveValueBox(int box);
    [[nodiscard]] bool valueRefused(int box) const;
    [[nodiscard]] bool valueMarked(int box) const;

    // --- the file's tail -------------------------------------------------------
    // A known key's value as typed (empty: not set); like a box's text it
    // makes the results stale. It is checked by the command gate.
    void setTailText(const TailField& field, std::string text);

    // --- characters a box refused -----------------------------------------------
    // Marks a box (Box:: or ValueBox:: by its kind) whose typed or pasted text
    // lost characters it refuses, at their places in its current text. Such a
    // box shows red and holds the gate, with "输入的数据有错误", until every
    // place is closed by an edit (refusalsAfterEdit), New or a read.
    void markRefused(BoxKind kind, int box, std::vector<RefusedCharacter> refused);
    // The hint of the box's first open refused character; empty when there is
    // none.
    [[nodiscard]] const std::string& refusalHint(BoxKind kind, int box) const;

    // --- the lists; a number outside a list's entries is ignored --------------
    // Resets the per-point lists to that many zeros; no box is parsed, no
    // colour or result command changes.
    void selectPointCount(int points);
    // Resets the frequencies and damping ratios to zeros and enables the
    // mode-shape boxes up to the count. A box that goes out of use loses its
    // refusal and mark; one that comes into use gives zeros until it is
    // parsed.
    void selectModeCount(int modes);
    // Makes the results stale.
    void selectTerrain(int terrain);

    // --- the command gate ------------------------------------------------------
    // Every box in use left in turn: the list boxes in Box:: order, then the
    // value boxes.
    void sweep();
    // The first values of the heights, areas, masses, frequencies, damping
    // ratios and shape coefficients, and w0, are all non-zero.
    [[nodiscard]] bool inputsComplete() const;
    // No list box is refused.
    [[nodiscard]] bool listsAccepted() const;
    // The gate of every command: the sweep (each refused box with its own
    // message), then "输入的数据有错误" when the input is not complete or a box
    // holds open refused characters, then a silent stop while a box is
    // refused. Every box it refused is marked: those refused in the sweep,
    // those with open refused characters and, when the input is not complete,
    // those whose first value is 0. When it passes, the numbers of the whole
    // input, which equal parseProjectInput(input()).
    [[nodiscard]] std::optional<ParsedInput> commandGate();

    // New: every box "0", the first entry of each list, no tail. Like a read,
    // it clears every refusal and mark and makes the results stale.
    void newProject();
    // Puts a whole input into the form as the project file's reader does:
    // New, then the lists and texts. Numbers outside a list's entries are
    // taken as its first entry.
    void show(const ProjectInput& input);

    // Enabled state of the result commands: only the compute command sets it.
    bool resultButtonsEnabled() const { return resultButtonsEnabled_; }
    void setResultButtonsEnabled(bool enabled);

    // Called after every change of the state above, so a view can mirror it.
    std::function<void()> changed;

private:
    void notify();
    void changeBox(BoxKind kind, int box, std::string& text, std::string newText, bool& marked);
    std::vector<RefusedCharacter>& refusedCharacters(BoxKind kind, int box);
    const std::vector<RefusedCharacter>& refusedCharacters(BoxKind kind, int box) const;
    void resetPointLists();
    void resetModeLists();
    // Whether the gate's completeness looks at the box and finds its first
    // value 0.
    bool firstValueMissing(int box) const;
    bool windPressureMissing() const;

    MessageSink& sink_;
    ProjectInput input_;
    ParsedInput numbers_;
    std::array<bool, kListBoxCount> listRefused_{};
    std::array<bool, kListBoxCount> listMarked_{};
    std::array<bool, kValueBoxCount> valueRefused_{};
    std::array<bool, kValueBoxCount> valueMarked_{};
    // Open refused characters of the list boxes, then of the value boxes.
    std::array<std::vector<RefusedCharacter>, kListBoxCount + kValueBoxCount> refusedCharacters_{};
    bool resultButtonsEnabled_ = false;
};

} // namespace tamsor
