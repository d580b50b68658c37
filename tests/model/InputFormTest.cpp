#include "InputForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tamsor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kSyntax = "输入的数据有错误, 请检查(数据之间用分号隔开，结尾不要加分号)!";
const std::string kDofCount = "输入的数据数目与自由度数不一致";
const std::string kModeCount = "输入的数据数目与振型数不一致";
const std::string kValueSyntax = "输入的数据有错误, 请检查!";
const std::string kIncomplete = "输入的数据有错误";

class InputFormTest : public ::testing::Test {
protected:
    // Types a text into list box i and leaves the box.
    void enterList(int i, const std::string& text) {
        form.setBoxText(i, text);
        form.leaveBox(i);
    }
    void enterValue(int i, const std::string& text) {
        form.setValueText(i, text);
        form.leaveValueBox(i);
    }

    // The texts of every message shown so far, checking that each one is an
    // input error (title "错误提示", no icon); the record is cleared.
    std::vector<std::string> takeMessages() {
        std::vector<std::string> texts;
        for (const Message& m : sink.messages) {
            EXPECT_EQ(m.title, "错误提示");
            EXPECT_EQ(m.icon, Message::Icon::None);
            texts.push_back(m.text);
        }
        sink.messages.clear();
        return texts;
    }

    // A complete, accepted project with three mass points.
    void fillThreePoints() {
        form.selectPointCount(3);
        enterList(0, "10;20;30");
        enterList(1, "5;5;5");
        enterList(2, "100;100;80");
        enterList(3, "0.2;0.6;1");
        enterList(6, "1.3;1.3;1.3");
        enterList(7, "0.5");
        enterList(8, "0.05");
        enterValue(0, "12");
        enterValue(1, "0.45");
        ASSERT_THAT(takeMessages(), IsEmpty());
    }

    const ParsedInput& numbers() const { return form.numbers(); }

    MessageRecorder sink;
    InputForm form{sink};
};

// --- initial state and start-up ---------------------------------------------

TEST_F(InputFormTest, FreshFormShowsTheStartUpState) {
    for (int i = 0; i < kListBoxCount; ++i) {
        EXPECT_EQ(form.boxText(i), "0");
        EXPECT_FALSE(form.boxRefused(i));
        EXPECT_FALSE(form.boxMarked(i));
        EXPECT_EQ(form.boxEnabled(i), i != 4 && i != 5) << i;
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        EXPECT_EQ(form.valueText(i), "0");
        EXPECT_FALSE(form.valueRefused(i));
        EXPECT_FALSE(form.valueMarked(i));
    }
    EXPECT_EQ(form.input(), ProjectInput{});
    EXPECT_EQ(numbers().nFreedom, 1);
    EXPECT_EQ(numbers().nModes, 1);
    EXPECT_EQ(numbers().terrainType, 1);
    for (const List* list :
         {&numbers().zCoord, &numbers().windArea, &numbers().mass, &numbers().modeShapes[0],
          &numbers().shapeCoef, &numbers().freq, &numbers().dampRatio})
        EXPECT_THAT(*list, ElementsAre(0.0));
    // The shape boxes of modes 2 and 3 are out of use: no numbers.
    EXPECT_THAT(numbers().modeShapes[1], IsEmpty());
    EXPECT_THAT(numbers().modeShapes[2], IsEmpty());
    EXPECT_EQ(form.boxCaption(Box::ModeShape1), "第1阶振型");
    EXPECT_EQ(form.boxCaption(Box::ModeShape2), "未定义");
    EXPECT_FALSE(form.resultButtonsEnabled());
}

TEST_F(InputFormTest, ComputingRightAfterStartUpIsRefusedWithOneMessage) {
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete));
    // The zeros themselves parse: every box stays black and unflagged.
    for (int i = 0; i < kListBoxCount; ++i) {
        EXPECT_FALSE(form.boxRefused(i));
    }
    EXPECT_TRUE(form.listsAccepted());
}

TEST_F(InputFormTest, RefusedGateMarksEveryBoxItRefused) {
    // Right after start-up: every box whose first value the gate looks at.
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete));
    for (int box :
         {Box::Heights, Box::Areas, Box::Masses, Box::ShapeCoef, Box::Frequency, Box::DampingRatio})
        EXPECT_TRUE(form.boxMarked(box)) << box;
    for (int box : {Box::ModeShape1, Box::ModeShape2, Box::ModeShape3})
        EXPECT_FALSE(form.boxMarked(box)) << box;
    EXPECT_TRUE(form.valueMarked(ValueBox::WindPressure));
    EXPECT_FALSE(form.valueMarked(ValueBox::Width));

    // An edit clears a box's mark; leaving a zero box unchanged does not.
    form.setBoxText(Box::Heights, "10");
    EXPECT_FALSE(form.boxMarked(Box::Heights));
    form.leaveBox(Box::Areas);
    EXPECT_TRUE(form.boxMarked(Box::Areas));

    // Complete input with an empty box and a damping ratio of 0: the empty box
    // is refused in the sweep, the zero one by the completeness check.
    fillThreePoints();
    form.setBoxText(Box::ModeShape1, "");
    form.setBoxText(Box::DampingRatio, "0");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount, kIncomplete));
    for (int box = 0; box < kListBoxCount; ++box)
        EXPECT_EQ(form.boxMarked(box), box == Box::ModeShape1 || box == Box::DampingRatio) << box;
    EXPECT_FALSE(form.valueMarked(ValueBox::WindPressure));

    // A box refused only for its count (nothing incomplete): marked alone.
    form.setBoxText(Box::DampingRatio, "0.05");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount));
    for (int box = 0; box < kListBoxCount; ++box)
        EXPECT_EQ(form.boxMarked(box), box == Box::ModeShape1) << box;
}

TEST_F(InputFormTest, PassingGateYieldsTheNumbersOfTheWholeInput) {
    fillThreePoints();
    form.setTailText(kTailFields[0], "6"); // diameter=
    const std::optional<ParsedInput> passed = form.commandGate();
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed, parseProjectInput(form.input()));
    EXPECT_EQ(passed->zCoord, (List{10, 20, 30}));
    EXPECT_EQ(passed->diameterM, 6.0);
    EXPECT_EQ(*passed, numbers());

    // A tail value the reader would refuse stops the gate with its reason.
    form.setTailText(kTailFields[1], "3"); // structure=
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre("structure的值只能取 1 或 2"));
}

// --- list boxes ---------------------------------------------------------------

TEST_F(InputFormTest, HeightsWithTheRightCountAreAccepted) {
    form.selectPointCount(3);
    enterList(0, "10;20;30");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().zCoord, ElementsAre(10.0, 20.0, 30.0));
    EXPECT_FALSE(form.boxRefused(Box::Heights));

    // Blanks around items are ignored; negative values have no check.
    enterList(1, " 1.5 ;\t-2e1 ; .5");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().windArea, ElementsAre(1.5, -20.0, 0.5));
}

TEST_F(InputFormTest, WrongCountIsRefusedAndKeepsThePreviousList) {
    form.selectPointCount(3);
    enterList(0, "10;20;30");
    enterList(0, "10;20");
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount));
    EXPECT_THAT(numbers().zCoord, ElementsAre(10.0, 20.0, 30.0));
    EXPECT_TRUE(form.boxRefused(Box::Heights));
    EXPECT_EQ(form.boxText(Box::Heights), "10;20"); // the text stays as typed
}

TEST_F(InputFormTest, EmptyItemsAreRefusedBeforeAnyCountCheck) {
    form.selectPointCount(3);
    // "10;20;30;" has four items, ";;" an empty middle item with the right
    // count: both give only the semicolon message.
    for (const char* text : {"10;20;30;", "10;;30", ";10;20", "10;20;x", ";"}) {
        enterList(0, text);
        EXPECT_THAT(takeMessages(), ElementsAre(kSyntax)) << text;
        EXPECT_TRUE(form.boxRefused(Box::Heights)) << text;
        EXPECT_THAT(numbers().zCoord, ElementsAre(0.0, 0.0, 0.0)) << text;
    }
}

TEST_F(InputFormTest, ShapeCoefficientsSpreadASingleValue) {
    form.selectPointCount(4);
    enterList(6, "1.3");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(1.3, 1.3, 1.3, 1.3));

    enterList(6, "0.8;1.3");
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount));
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(1.3, 1.3, 1.3, 1.3));
    EXPECT_TRUE(form.boxRefused(Box::ShapeCoef));

    enterList(6, "0.8;1;1.2;1.3");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(0.8, 1.0, 1.2, 1.3));
    EXPECT_FALSE(form.boxRefused(Box::ShapeCoef));
}

TEST_F(InputFormTest, SingleItemRulesPerBox) {
    form.selectPointCount(3);
    // Heights, areas, masses and the first mode shape need one item per point.
    for (int i = 0; i <= 3; ++i) {
        enterList(i, "7");
        EXPECT_THAT(takeMessages(), ElementsAre(kDofCount)) << i;
        EXPECT_TRUE(form.boxRefused(i)) << i;
    }
    EXPECT_THAT(numbers().zCoord, ElementsAre(0.0, 0.0, 0.0));
    EXPECT_THAT(numbers().windArea, ElementsAre(0.0, 0.0, 0.0));
    EXPECT_THAT(numbers().mass, ElementsAre(0.0, 0.0, 0.0));
    EXPECT_THAT(numbers().modeShapes[0], ElementsAre(0.0, 0.0, 0.0));

    // With one point a single height is the whole list.
    form.selectPointCount(1);
    enterList(0, "15");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().zCoord, ElementsAre(15.0));
    EXPECT_FALSE(form.boxRefused(Box::Heights));
}

TEST_F(InputFormTest, ModeListsFollowTheModeCount) {
    enterList(7, "0.5;1.2");
    EXPECT_THAT(takeMessages(), ElementsAre(kModeCount));
    EXPECT_TRUE(form.boxRefused(Box::Frequency));
    EXPECT_THAT(numbers().freq, ElementsAre(0.0));

    enterList(8, "0.05;0.02");
    EXPECT_THAT(takeMessages(), ElementsAre(kModeCount));

    // The mode count rule does not depend on the DOF count.
    form.selectPointCount(5);
    enterList(7, "0.5");
    enterList(8, "0.05");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().freq, ElementsAre(0.5));
    EXPECT_THAT(numbers().dampRatio, ElementsAre(0.05));
}

TEST_F(InputFormTest, EmptyListBoxIsRefusedWithItsCountMessage) {
    form.selectPointCount(2);
    form.selectModeCount(3); // every box in use
    enterList(2, "4;5");
    for (int i = 0; i < kListBoxCount; ++i) {
        enterList(i, "");
        EXPECT_THAT(takeMessages(), ElementsAre(i >= 7 ? kModeCount : kDofCount)) << i;
        EXPECT_TRUE(form.boxRefused(i)) << i;
    }
    EXPECT_THAT(numbers().mass, ElementsAre(4.0, 5.0));
    EXPECT_THAT(numbers().freq, ElementsAre(0.0, 0.0, 0.0));
}

TEST_F(InputFormTest, MoreModesTakeTheirShapesAndFrequenciesWithTheFirstModesMessages) {
    fillThreePoints();
    form.selectModeCount(3);
    for (int box : {Box::ModeShape2, Box::ModeShape3}) {
        EXPECT_TRUE(form.boxEnabled(box));
        enterList(box, "1");
        enterList(box, "1;;1");
    }
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount, kSyntax, kDofCount, kSyntax));
    // A single frequency no longer serves every mode; a single damping ratio does.
    enterList(Box::Frequency, "0.5");
    enterList(Box::DampingRatio, "0.05;0.02");
    EXPECT_THAT(takeMessages(), ElementsAre(kModeCount, kModeCount));

    enterList(Box::ModeShape2, "-0.5;0.3;1");
    enterList(Box::ModeShape3, "0.8;-0.6;1");
    enterList(Box::Frequency, "0.5;1.6;3.2");
    enterList(Box::DampingRatio, "0.05");
    const std::optional<ParsedInput> passed = form.commandGate();
    EXPECT_THAT(takeMessages(), IsEmpty());
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed, parseProjectInput(form.input()));
    EXPECT_THAT(passed->modeShapes[2], ElementsAre(0.8, -0.6, 1.0));
    EXPECT_THAT(passed->freq, ElementsAre(0.5, 1.6, 3.2));
    EXPECT_THAT(passed->dampRatio, ElementsAre(0.05));
}

// A box whose mode is dropped cannot be edited: a refusal it had must not hold
// the gate, and it must not be read.
TEST_F(InputFormTest, ShapeBoxesBeyondTheModeCountAreNeitherReadNorRefused) {
    fillThreePoints();
    form.selectModeCount(3);
    enterList(Box::ModeShape3, "x");
    EXPECT_THAT(takeMessages(), ElementsAre(kSyntax));
    ASSERT_TRUE(form.boxRefused(Box::ModeShape3));

    form.selectModeCount(2);
    EXPECT_FALSE(form.boxEnabled(Box::ModeShape3));
    EXPECT_EQ(form.boxCaption(Box::ModeShape3), "未定义");
    EXPECT_FALSE(form.boxRefused(Box::ModeShape3));
    EXPECT_FALSE(form.boxMarked(Box::ModeShape3));
    form.setBoxText(Box::Frequency, "0.5;1.6");
    form.setBoxText(Box::ModeShape2, "-0.5;0.3;1");
    const std::optional<ParsedInput> passed = form.commandGate();
    EXPECT_THAT(takeMessages(), IsEmpty());
    ASSERT_TRUE(passed);
    EXPECT_THAT(passed->modeShapes[2], IsEmpty());
    EXPECT_EQ(form.boxText(Box::ModeShape3), "x"); // kept for when the mode comes back

    form.selectModeCount(3);
    form.setBoxText(Box::Frequency, "0.5;1.6;3.2");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kSyntax));
}

TEST_F(InputFormTest, CorrectedListBoxTurnsBlackAndClearsItsFlag) {
    form.selectPointCount(3);
    enterList(2, "1;2");
    ASSERT_TRUE(form.boxRefused(Box::Masses));
    ASSERT_FALSE(form.listsAccepted());
    enterList(2, "1;2;3");
    EXPECT_FALSE(form.boxRefused(Box::Masses));
    EXPECT_TRUE(form.listsAccepted());
    EXPECT_THAT(numbers().mass, ElementsAre(1.0, 2.0, 3.0));
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount));
}

// --- value boxes --------------------------------------------------------------

TEST_F(InputFormTest, ValueBoxesStoreTheirFields) {
    enterValue(1, "0.45");
    EXPECT_DOUBLE_EQ(numbers().w0, 450.0);
    enterValue(1, "2");
    EXPECT_DOUBLE_EQ(numbers().w0, 2000.0);
    enterValue(0, "12.5");
    EXPECT_DOUBLE_EQ(numbers().structWidth, 12.5);
    enterValue(0, "0");
    EXPECT_EQ(numbers().structWidth, 0.0);
    EXPECT_THAT(takeMessages(), IsEmpty());
}

TEST_F(InputFormTest, RefusedValueKeepsTheFieldAndSetsTheFlagUntilCorrected) {
    enterValue(1, "0.45");
    for (const char* text : {"0.4.5", "", "0.45;", "1e999", "1e306"}) {
        enterValue(1, text);
        EXPECT_THAT(takeMessages(), ElementsAre(kValueSyntax)) << text;
        EXPECT_DOUBLE_EQ(numbers().w0, 450.0) << text;
        EXPECT_TRUE(form.valueRefused(ValueBox::WindPressure)) << text;
        EXPECT_FALSE(form.valueRefused(ValueBox::Width));
    }
    enterValue(1, "0.5");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_DOUBLE_EQ(numbers().w0, 500.0);
    EXPECT_FALSE(form.valueRefused(ValueBox::WindPressure));

    // 1e306 m is a (silly) number; only the kPa box overflows when converted.
    enterValue(0, "1e306");
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_EQ(numbers().structWidth, 1e306);
}

// --- the command gate -----------------------------------------------------------

TEST_F(InputFormTest, CompleteInputPassesTheGateSilently) {
    fillThreePoints();
    EXPECT_TRUE(form.commandGate());
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(1.3, 1.3, 1.3));
    EXPECT_DOUBLE_EQ(numbers().w0, 450.0);
    EXPECT_EQ(numbers().structWidth, 12.0);
}

TEST_F(InputFormTest, GateSweepsTheTextsNotThePreviousParses) {
    fillThreePoints();
    // Typed but never left: the gate's sweep still parses it.
    form.setBoxText(Box::Heights, "11;21;31");
    EXPECT_TRUE(form.commandGate());
    EXPECT_THAT(numbers().zCoord, ElementsAre(11.0, 21.0, 31.0));
}

TEST_F(InputFormTest, OnlyFirstElementsAndW0DecideCompleteness) {
    fillThreePoints();
    enterList(0, "10;0;30");
    enterValue(0, "0");
    EXPECT_TRUE(form.commandGate());

    for (int box : {0, 1, 2, 6}) {
        fillThreePoints();
        form.setBoxText(box, "0;1;1");
        EXPECT_FALSE(form.commandGate()) << box;
        EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete)) << box;
    }
    for (int box : {7, 8}) {
        fillThreePoints();
        form.setBoxText(box, "0");
        EXPECT_FALSE(form.commandGate()) << box;
        EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete)) << box;
    }
    fillThreePoints();
    form.setValueText(ValueBox::WindPressure, "0");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete));
}

TEST_F(InputFormTest, DofChangeAfterAcceptanceRefusesEachPerPointBoxThenTheInput) {
    fillThreePoints();
    form.setResultButtonsEnabled(true);
    form.selectPointCount(4);
    // The selection re-creates the lists but touches no box, flag or button.
    EXPECT_THAT(numbers().zCoord, ElementsAre(0.0, 0.0, 0.0, 0.0));
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(0.0, 0.0, 0.0, 0.0));
    EXPECT_THAT(numbers().freq, ElementsAre(0.5));
    EXPECT_EQ(form.boxText(Box::Heights), "10;20;30");
    EXPECT_FALSE(form.boxRefused(Box::Heights));
    EXPECT_TRUE(form.listsAccepted());
    EXPECT_TRUE(form.resultButtonsEnabled());

    EXPECT_FALSE(form.commandGate());
    // Boxes 0, 1, 2, 3 and 6 hold three items; 4 and 5 hold the single "0".
    EXPECT_THAT(takeMessages(),
                ElementsAre(kDofCount, kDofCount, kDofCount, kDofCount, kDofCount, kIncomplete));
    for (int i : {0, 1, 2, 3, 6}) {
        EXPECT_TRUE(form.boxRefused(i)) << i;
    }
}

TEST_F(InputFormTest, BoxRefusedOnlyForItsCountStopsTheGateSilently) {
    fillThreePoints();
    form.setBoxText(Box::ModeShape1, "0.2;1");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kDofCount));

    form.setBoxText(Box::ModeShape1, "0.2;0.6;1");
    EXPECT_TRUE(form.commandGate());
    EXPECT_THAT(takeMessages(), IsEmpty());
}

TEST_F(InputFormTest, RefusedValueBoxBlocksTheGateUntilCorrected) {
    fillThreePoints();
    // w0 still holds 450 from the accepted parse; the gate must not use it.
    form.setValueText(ValueBox::WindPressure, "0.4.5");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kValueSyntax));
    EXPECT_DOUBLE_EQ(numbers().w0, 450.0);

    form.setValueText(ValueBox::WindPressure, "0.45");
    form.setValueText(ValueBox::Width, "1..2");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kValueSyntax));

    form.setValueText(ValueBox::Width, "1.2");
    EXPECT_TRUE(form.commandGate());
    EXPECT_THAT(takeMessages(), IsEmpty());
    EXPECT_FALSE(form.valueRefused(ValueBox::Width));
    EXPECT_FALSE(form.valueRefused(ValueBox::WindPressure));
}

// "0,05" typed as the damping ratio: the comma is refused at offset 1 of
// "005", which parses as a damping ratio of 5.
TEST_F(InputFormTest, RefusedCharactersHoldTheGateUntilTheirPlacesAreEdited) {
    fillThreePoints();
    form.setBoxText(Box::DampingRatio, "005");
    const std::string hint = judgeKey(BoxKind::List, Box::DampingRatio, U',').hint;
    form.markRefused(BoxKind::List, Box::DampingRatio, {{1, hint}});
    EXPECT_EQ(form.refusalHint(BoxKind::List, Box::DampingRatio), hint);
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete));
    EXPECT_TRUE(form.boxRefused(Box::DampingRatio)); // the parse alone accepts it
    EXPECT_TRUE(form.boxMarked(Box::DampingRatio));

    form.setBoxText(Box::DampingRatio, "0.05");
    EXPECT_TRUE(form.refusalHint(BoxKind::List, Box::DampingRatio).empty());
    EXPECT_FALSE(form.boxRefused(Box::DampingRatio));
    EXPECT_TRUE(form.commandGate());
    EXPECT_THAT(takeMessages(), IsEmpty());

    // A value box the same way; New gives every box a new text.
    form.markRefused(BoxKind::Value, ValueBox::Width, {{0, "-"}});
    EXPECT_TRUE(form.valueRefused(ValueBox::Width));
    EXPECT_FALSE(form.commandGate());
    form.newProject();
    EXPECT_TRUE(form.refusalHint(BoxKind::Value, ValueBox::Width).empty());
}

TEST_F(InputFormTest, SweepReportsEveryBadBoxInBoxOrder) {
    fillThreePoints();
    form.setValueText(ValueBox::WindPressure, "x");
    form.setBoxText(Box::Frequency, "1;2");
    form.setBoxText(Box::Heights, "1;;3");
    form.setValueText(ValueBox::Width, "");
    form.setBoxText(Box::Masses, "1");
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(),
                ElementsAre(kSyntax, kDofCount, kModeCount, kValueSyntax, kValueSyntax));
}

// --- change and click handlers ------------------------------------------------

TEST_F(InputFormTest, EditsAndTerrainSelectionMakeResultsStale) {
    form.setResultButtonsEnabled(true);
    form.setBoxText(Box::ModeShape3, "1");
    EXPECT_FALSE(form.resultButtonsEnabled());

    form.setResultButtonsEnabled(true);
    form.setValueText(ValueBox::Width, "3");
    EXPECT_FALSE(form.resultButtonsEnabled());

    form.setResultButtonsEnabled(true);
    form.selectTerrain(3);
    EXPECT_EQ(numbers().terrainType, 3);
    EXPECT_EQ(form.input().terrain, 3);
    EXPECT_FALSE(form.resultButtonsEnabled());

    // Counts leave the buttons alone.
    form.setResultButtonsEnabled(true);
    form.selectPointCount(2);
    form.selectModeCount(1);
    EXPECT_TRUE(form.resultButtonsEnabled());
    EXPECT_THAT(takeMessages(), IsEmpty());
}

TEST_F(InputFormTest, SelectionsSetTheirFieldsAndIgnoreUnknownPositions) {
    form.selectPointCount(10);
    EXPECT_EQ(numbers().nFreedom, 10);
    EXPECT_EQ(numbers().mass.size(), 10u);
    form.selectPointCount(11);
    form.selectPointCount(0);
    EXPECT_EQ(form.input().pointCount, 10);
    EXPECT_EQ(numbers().nFreedom, 10);

    enterList(7, "0.7");
    form.selectModeCount(1);
    EXPECT_EQ(numbers().nModes, 1);
    EXPECT_THAT(numbers().freq, ElementsAre(0.0));
    EXPECT_TRUE(form.boxEnabled(Box::ModeShape1));
    EXPECT_FALSE(form.boxEnabled(Box::ModeShape2));
    EXPECT_FALSE(form.boxEnabled(Box::ModeShape3));
    form.selectModeCount(4);
    form.selectModeCount(0);
    EXPECT_EQ(form.input().modeCount, 1);

    form.selectTerrain(4);
    form.selectTerrain(5);
    EXPECT_EQ(numbers().terrainType, 4);
}

TEST_F(InputFormTest, ChangedIsCalledAfterStateChanges) {
    int calls = 0;
    form.changed = [&] { ++calls; };
    form.setBoxText(Box::Heights, "5");
    EXPECT_GT(calls, 0);
    for (auto action : std::vector<std::function<void()>>{
             [&] { form.leaveBox(Box::Heights); },
             [&] { form.leaveValueBox(ValueBox::WindPressure); },
             [&] { form.setValueText(ValueBox::WindPressure, "x"); },
             [&] { form.leaveValueBox(ValueBox::WindPressure); }, [&] { form.selectPointCount(3); },
             [&] { form.selectModeCount(1); }, [&] { form.selectTerrain(2); },
             [&] { form.setResultButtonsEnabled(true); }, [&] { form.newProject(); }}) {
        const int before = calls;
        action();
        EXPECT_GT(calls, before);
    }
}

TEST_F(InputFormTest, NewResetsTheInputsRefusalsAndMarksButNotValues) {
    fillThreePoints();
    form.selectTerrain(3);
    enterList(0, "1;2"); // refused: red and marked
    enterValue(1, "bad");
    takeMessages();
    form.setResultButtonsEnabled(true);

    form.newProject();

    EXPECT_EQ(form.input(), ProjectInput{});
    EXPECT_EQ(numbers().nFreedom, 1);
    EXPECT_EQ(numbers().terrainType, 1);
    EXPECT_EQ(numbers().nModes, 1);
    EXPECT_THAT(numbers().zCoord, ElementsAre(0.0));
    EXPECT_THAT(numbers().shapeCoef, ElementsAre(0.0));
    EXPECT_THAT(numbers().freq, ElementsAre(0.0));
    EXPECT_TRUE(form.boxEnabled(Box::ModeShape1));
    EXPECT_FALSE(form.boxEnabled(Box::ModeShape2));
    EXPECT_FALSE(form.boxEnabled(Box::ModeShape3));
    EXPECT_FALSE(form.resultButtonsEnabled());
    // Every box's colour and mark start afresh.
    EXPECT_FALSE(form.boxRefused(Box::Heights));
    EXPECT_FALSE(form.boxMarked(Box::Heights));
    EXPECT_FALSE(form.valueRefused(ValueBox::WindPressure));
    EXPECT_FALSE(form.valueMarked(ValueBox::WindPressure));
    // Left for the next parse: the width and the pressure.
    EXPECT_EQ(numbers().structWidth, 12.0);
    EXPECT_DOUBLE_EQ(numbers().w0, 450.0);
    EXPECT_THAT(takeMessages(), IsEmpty());

    // The next gate re-parses the zeros: the input is empty.
    EXPECT_FALSE(form.commandGate());
    EXPECT_THAT(takeMessages(), ElementsAre(kIncomplete));
    EXPECT_TRUE(form.listsAccepted());
    EXPECT_EQ(numbers().w0, 0.0);
}

TEST_F(InputFormTest, ShowPutsAWholeInputAsAReadDoes) {
    enterList(Box::Heights, "1;2"); // refused with one point
    takeMessages();
    ProjectInput read;
    read.pointCount = 3;
    read.terrain = 4;
    read.heights = "10;20;30";
    read.w10 = "0.3";
    read.otherTail = {{"note", "x"}};
    form.show(read);
    EXPECT_EQ(form.input(), read);
    EXPECT_EQ(numbers().nFreedom, 3);
    EXPECT_EQ(numbers().terrainType, 4);
    EXPECT_THAT(numbers().zCoord, ElementsAre(0.0, 0.0, 0.0)); // parsed when left
    EXPECT_FALSE(form.boxRefused(Box::Heights));
    EXPECT_FALSE(form.boxMarked(Box::Heights));

    // Counts no list offers are its first entry.
    read.pointCount = 0;
    read.modeCount = 4;
    form.show(read);
    EXPECT_EQ(form.input().pointCount, 1);
    EXPECT_EQ(form.input().modeCount, 1);
    EXPECT_THAT(takeMessages(), IsEmpty());
}

TEST_F(InputFormTest, BoxIndicesOutsideTheArraysThrow) {
    EXPECT_THROW((void)form.boxText(9), std::out_of_range);
    EXPECT_THROW((void)form.valueText(-1), std::out_of_range);
    EXPECT_THROW(form.setBoxText(-1, "1"), std::out_of_range);
    EXPECT_THROW(form.leaveValueBox(2), std::out_of_range);
    EXPECT_THROW((void)form.boxEnabled(9), std::out_of_range);
    EXPECT_THROW((void)form.boxMarked(-1), std::out_of_range);
    EXPECT_THROW((void)form.valueRefused(2), std::out_of_range);
}

// --- key filters ----------------------------------------------------------------

TEST(KeyFilters, ListBoxesTakeNumberCharactersSemicolonAndBackspace) {
    for (char32_t key : std::u32string(U"0123456789.eE+-;\b"))
        EXPECT_TRUE(listBoxKeyAccepted(Box::Heights, key)) << static_cast<int>(key);
    // Letters, blank, comma, Enter, Ctrl+C/V/X/A, fullwidth semicolon and digit.
    for (char32_t key : std::u32string(U"aAxd ,\r\n\t/:\u0003\u0016\u0018\u0001\uFF1B\uFF11\u2212"))
        EXPECT_FALSE(listBoxKeyAccepted(Box::DampingRatio, key)) << static_cast<int>(key);
}

TEST(KeyFilters, ValueBoxesTakeDigitsPointAndBackspace) {
    for (char32_t key : std::u32string(U"0123456789.\b"))
        EXPECT_TRUE(valueBoxKeyAccepted(ValueBox::WindPressure, key)) << static_cast<int>(key);
    for (char32_t key : std::u32string(U"-+eE; ,a\r\u0003\u0016"))
        EXPECT_FALSE(valueBoxKeyAccepted(ValueBox::Width, key)) << static_cast<int>(key);
}

TEST(KeyFilters, LookAlikesBecomeThePlainCharacterOnlyWhereItIsAccepted) {
    const std::u32string typed = U"０１２３４５６７８９。．；－＋ｅＥ";
    const std::u32string plain = U"0123456789..;-+eE";
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const KeyVerdict verdict = judgeKey(BoxKind::List, Box::Heights, typed[i]);
        EXPECT_TRUE(verdict.accepted) << static_cast<int>(typed[i]);
        EXPECT_EQ(verdict.character, plain[i]);
    }
    EXPECT_EQ(judgeKey(BoxKind::Value, ValueBox::WindPressure, U'。').character, U'.');
    EXPECT_EQ(judgeKey(BoxKind::Value, ValueBox::Width, U'７').character, U'7');
    // A value box takes no sign, exponent or separator, whatever it looks like.
    for (char32_t key : std::u32string(U"－＋ｅＥ；"))
        EXPECT_FALSE(judgeKey(BoxKind::Value, ValueBox::Width, key).accepted)
            << static_cast<int>(key);

    // Several characters at once, as an input method hands them over.
    const TypedVerdict mixed = judgeTyped(BoxKind::List, Box::Heights, U"１，２\b");
    EXPECT_EQ(mixed.replacement, std::u32string(U"12"));
    EXPECT_NE(mixed.hint.find("“，”"), std::string::npos);
    EXPECT_EQ(mixed.refused, (std::vector<RefusedCharacter>{{1, mixed.hint}}));
    EXPECT_EQ(judgeTyped(BoxKind::List, Box::Heights, U"1;2").replacement, std::nullopt);
}

TEST(KeyFilters, AValueBoxTakesACommaAsItsDecimalPoint) {
    for (char32_t comma : {U',', U'\uFF0C'}) {
        EXPECT_EQ(judgeKey(BoxKind::Value, ValueBox::WindPressure, comma).character, U'.');
        EXPECT_FALSE(judgeKey(BoxKind::List, Box::Heights, comma).accepted);
    }
    EXPECT_EQ(judgeTyped(BoxKind::Value, ValueBox::WindPressure, U"0,5").replacement,
              std::u32string(U"0.5"));
}

TEST(KeyFilters, PastedTextMeetsTheFiltersOfTyping) {
    // A copied cell's line end goes without a word; blanks and tabs inside
    // would join two numbers.
    const TypedVerdict cell = judgePasted(BoxKind::Value, ValueBox::WindPressure, U" ０，５\r\n");
    EXPECT_EQ(cell.replacement, std::u32string(U"0.5"));
    EXPECT_TRUE(cell.refused.empty());
    const TypedVerdict row = judgePasted(BoxKind::List, Box::Masses, U"10\t20 30");
    EXPECT_EQ(row.replacement, std::u32string(U"102030"));
    ASSERT_EQ(row.refused.size(), std::size_t{2});
    EXPECT_EQ(row.refused[0].at, 2u);
    EXPECT_EQ(row.refused[0].hint, row.hint);
    EXPECT_EQ(row.hint.rfind("各质点质量(吨)：已忽略输入的制表符。", 0), 0u);
    EXPECT_EQ(row.refused[1].at, 4u);
    EXPECT_NE(row.refused[1].hint.find("空格"), std::string::npos);
}

TEST(KeyFilters, ARefusedPlaceStaysOpenUntilTheTextIsEditedThere) {
    const std::vector<RefusedCharacter> at2{{2, "h"}};
    const auto after = [&](const char* before, const char* now) {
        std::vector<std::size_t> places;
        for (const RefusedCharacter& r : refusalsAfterEdit(at2, before, now))
            places.push_back(r.at);
        return places;
    };
    // Typing on, after the place or before it.
    EXPECT_THAT(after("10", "102"), ElementsAre(2u));
    EXPECT_THAT(after("10", "10-"), ElementsAre(2u));
    EXPECT_THAT(after("1020", "10205"), ElementsAre(2u));
    EXPECT_THAT(after("1020", "51020"), ElementsAre(3u));
    EXPECT_THAT(after("1020", "1020"), ElementsAre(2u));
    // A separator or point put in at the place, a neighbour deleted, the text
    // replaced.
    EXPECT_THAT(after("1020", "10;20"), IsEmpty());
    EXPECT_THAT(after("1020", "10.20"), IsEmpty());
    EXPECT_THAT(after("1020", "100"), IsEmpty());
    EXPECT_THAT(after("1020", "120"), IsEmpty());
    EXPECT_THAT(after("1020", "7"), IsEmpty());
    // Edits away from the place move it or leave it.
    EXPECT_THAT(after("1020", "020"), ElementsAre(1u));
    EXPECT_THAT(after("1020", "102"), ElementsAre(2u));
    EXPECT_THAT(after("1020", "1;020"), ElementsAre(3u));
}

TEST(KeyFilters, RefusedVisibleCharactersComeWithAHintControlKeysWithout) {
    EXPECT_EQ(judgeKey(BoxKind::List, Box::Heights, U',').hint,
              "各质点z坐标(m)：已忽略输入的字符“,”。此处只能输入数字、小数点(.)、正负号(+ -)"
              "和指数符号(e E)，数据之间用分号(;)隔开。请改正此栏。");
    EXPECT_EQ(judgeKey(BoxKind::Value, ValueBox::WindPressure, U'－').hint,
              "基本风压(KPa)：已忽略输入的字符“－”。此处只能输入数字和小数点(.)，逗号当作小数点。"
              "请改正此栏。");
    EXPECT_EQ(judgeKey(BoxKind::List, Box::ModeShape2, U'\u3000').hint,
              "第2阶振型：已忽略输入的全角空格。此处只能输入数字、小数点(.)、正负号(+ -)"
              "和指数符号(e E)，数据之间用分号(;)隔开。请改正此栏。");
    // Enter and the clipboard keys are refused as before, without a hint.
    for (char32_t key : std::u32string(U"\r\u0016\u0003\u007f")) {
        const KeyVerdict verdict = judgeKey(BoxKind::List, Box::Heights, key);
        EXPECT_FALSE(verdict.accepted);
        EXPECT_TRUE(verdict.hint.empty()) << static_cast<int>(key);
    }
}

} // namespace
} // namespace tamsor
