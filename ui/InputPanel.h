#pragma once

#include "InputFields.h"
#include "InputForm.h"

#include <QClipboard>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace tamsor {

class Prompts;

// The main window's input: the frames "几何模型", "动力特性" and "风振计算参数"
// with the input boxes, the three drop-down lists, their captions and notes.
// It is a view of the InputForm: an edit goes to the form as it is typed, a
// box is parsed when it is left, a list's choice is taken when it is made, and
// showForm() mirrors the form's state. Every typed, pasted or dropped-in
// character meets the boxes' key filters first. The boxes and lists keep
// their old object names (Text1_0..Text1_8 by Box::, Text2_0 and Text2_1 by
// ValueBox::, cmbFreedom, CmbModes, cmbDimao).
class InputPanel : public QWidget {
    Q_OBJECT
public:
    InputPanel(InputForm& form, Prompts& prompts, QWidget* parent = nullptr);
    ~InputPanel() override;

    // The list boxes by their Box:: field, the value boxes by their
    // ValueBox:: field; nullptr for other indices.
    QLineEdit* listBox(int box) const;
    QLineEdit* valueBox(int box) const;
    QLineEdit* heightsBox() const { return listBox(Box::Heights); }
    QLineEdit* areasBox() const { return listBox(Box::Areas); }
    QLineEdit* massesBox() const { return listBox(Box::Masses); }
    // The shape box of mode 1 to kModeShapeBoxes and the caption beside it;
    // nullptr for other modes.
    QLineEdit* modeShapeBox(int mode) const;
    QLabel* modeShapeCaption(int mode) const;
    QLineEdit* shapeCoefficientsBox() const { return listBox(Box::ShapeCoef); }
    QLineEdit* frequenciesBox() const { return listBox(Box::Frequency); }
    QLineEdit* dampingRatiosBox() const { return listBox(Box::DampingRatio); }
    QLineEdit* widthBox() const { return valueBox(ValueBox::Width); }
    QLineEdit* windPressureBox() const { return valueBox(ValueBox::WindPressure); }
    QComboBox* pointCountList() const { return pointCountList_; }
    QComboBox* modeCountList() const { return modeCountList_; }
    QComboBox* terrainList() const { return terrainList_; }

    // The boxes and lists in the tab order: the frames from top to bottom,
    // each frame's row by row, left to right.
    const std::vector<QWidget*>& tabStops() const { return tabStops_; }

    // Shows the form: each box's text, red when refused, with a red frame
    // when marked and a warning sign when it lost refused characters; which
    // mode-shape boxes are in use; the lists' selections.
    void showForm();
    // After the command gate refused: the focus to the first marked box in
    // the tab order, without parsing anything on the way.
    void focusFirstMarkedBox();
    // While the window closes, leaving a box parses nothing.
    void setClosing(bool closing) { closing_ = closing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFrames();
    void connectInputs();
    // One box as the form says: its text, red text when refused, a red frame
    // when marked.
    void showBox(QLineEdit* edit, const std::string& text, bool refused, bool marked);
    // The box's text changed: into the form, which makes the results stale.
    void boxEdited(BoxKind kind, int index);
    // The box was left: the form parses it.
    void boxLeft(BoxKind kind, int index);
    bool filterBoxEvent(QLineEdit* edit, BoxKind kind, int index, QEvent* event);
    // Handles a key press in an input box; true when the event is consumed.
    bool filterKey(QLineEdit* edit, BoxKind kind, int index, QKeyEvent* event);
    // Pastes the clipboard (or the selection) into a box as if its text were
    // typed: the key filters and their look-alikes judge every character.
    void pasteInto(QLineEdit* edit, BoxKind kind, int index, QClipboard::Mode mode);
    // Puts what a box keeps of typed or pasted characters in place of its
    // selection, hints at the first refused visible character and marks the
    // box where refused characters were left out.
    void putJudged(QLineEdit* edit, BoxKind kind, int index, const TypedVerdict& verdict);
    // Hands refused characters, at their places in the kept characters that
    // end at the cursor, to the form's mark of the box.
    void markRefused(QLineEdit* edit, BoxKind kind, int index,
                     std::vector<RefusedCharacter> refused, qsizetype keptLength);
    // Wheel and typed characters on a drop-down list; true when consumed.
    static bool filterChoice(QComboBox* combo, QEvent* event);

    InputForm& form_;
    Prompts& prompts_;
    std::array<QLineEdit*, kListBoxCount> listBoxes_{};
    std::array<QLineEdit*, kValueBoxCount> valueBoxes_{};
    std::array<QLabel*, kModeShapeBoxes> modeShapeCaptions_{};
    QComboBox* pointCountList_ = nullptr;
    QComboBox* modeCountList_ = nullptr;
    QComboBox* terrainList_ = nullptr;
    std::vector<QWidget*> tabStops_;

    bool closing_ = false;     // no parsing once the window goes away
    bool movingFocus_ = false; // the panel moves the focus: leaving a box parses nothing
};

} // namespace tamsor
