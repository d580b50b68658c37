#pragma once

#include <functional>

class QLineEdit;

namespace tamsor {

class Prompts;

// Gives an input box the context menu entry "从表格粘贴" after the standard
// ones: cells copied from a spreadsheet become the box's semicolon list. The
// standard entry 粘贴 runs `paste` instead of putting the clipboard's text in
// as it stands.
void addSpreadsheetPaste(QLineEdit* box, Prompts& prompts, std::function<void()> paste);

// "从表格粘贴" itself: the clipboard's row or column of cells becomes the
// box's text, as if typed (the box's change handler runs; its parse follows
// when the box is left, as for typing). The key filter is not asked: the
// parse judges the text. Says so, and leaves the box alone, when the
// clipboard holds no row or column of cells. True when the text was set.
bool pasteFromSpreadsheet(QLineEdit* box, Prompts& prompts);

} // namespace tamsor
