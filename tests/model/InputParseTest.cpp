#include "InputParse.h"
#include "InputFields.h"
#include "ThreePoints.h"

#include <gtest/gtest.h>

namespace tamsor {
namespace {

// Texts of one character are std::strings: GCC 12 takes the copy of a
// one-character literal for an overlapping one at -O3 (-Wrestrict).
using namespace std::string_literals;

TEST(InputParse, WholeInputGivesTheNumbersTheBoxesShow) {
    ProjectInput in = threePoints();
    in.diameter = "6"s;
    in.structureType = "2"s;
    const std::optional<ParsedInput> numbers = parseProjectInput(in);
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->nFreedom, 3);
    EXPECT_EQ(numbers->terrainType, 2);
    EXPECT_EQ(numbers->zCoord, (List{10, 20, 30}));
    EXPECT_EQ(numbers->modeShapes[0], (List{0.2, 0.6, 1}));
    EXPECT_EQ(numbers->modeShapes[1], List{}); // a box beyond the mode count gives nothing
    EXPECT_EQ(numbers->shapeCoef, (List{1.3, 1.3, 1.3}));
    EXPECT_EQ(numbers->freq, (List{0.8}));
    EXPECT_DOUBLE_EQ(numbers->w0, 450.0); // kPa to N/m^2
    EXPECT_EQ(numbers->structWidth, 12.5);
    EXPECT_EQ(numbers->diameterM, 6.0);
    EXPECT_EQ(numbers->structureType, 2);
    EXPECT_FALSE(numbers->w10KPa);
}

TEST(InputParse, EachModeTakesAShapeAndAFrequencyAndOneDampingRatioMayServeAll) {
    ProjectInput in = threePoints();
    in.modeCount = 3;
    in.modeShapes = {"0.2;0.6;1", "-0.5;0.3;1", "0.8;-0.6;1"};
    in.frequencies = "0.8;2.5;5";
    for (const char* damping : {"0.05", "0.05;0.02;0.01"}) {
        in.dampingRatios = damping;
        const std::optional<ParsedInput> numbers = parseProjectInput(in);
        ASSERT_TRUE(numbers) << damping;
        EXPECT_EQ(numbers->nModes, 3);
        EXPECT_EQ(numbers->modeShapes[2], (List{0.8, -0.6, 1}));
        EXPECT_EQ(numbers->freq, (List{0.8, 2.5, 5}));
    }
    const auto refusal = [](int box, std::string_view text) {
        return std::get<std::string_view>(parseListBox(box, text, 3, 3));
    };
    EXPECT_EQ(refusal(Box::Frequency, "0.8"), kModeCountMessage);
    EXPECT_EQ(refusal(Box::DampingRatio, "0.05;0.02"), kModeCountMessage);
    EXPECT_EQ(refusal(Box::ModeShape3, "1"), kFreedomCountMessage);
    EXPECT_EQ(refusal(Box::ModeShape2, "1;;1"), kListSyntaxMessage);

    // With fewer modes the boxes beyond are neither read nor refused.
    in.modeCount = 2;
    in.frequencies = "0.8;2.5";
    in.dampingRatios = "0.05;0.02";
    in.modeShapes[2] = "x";
    const std::optional<ParsedInput> two = parseProjectInput(in);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->modeShapes[1], (List{-0.5, 0.3, 1}));
    EXPECT_EQ(two->modeShapes[2], List{});
}

TEST(InputParse, TenYearPressureMustBePositive) {
    ProjectInput in = threePoints();
    ParsedInput numbers;
    in.w10 = "0.3"s;
    EXPECT_EQ(parseTail(in, numbers), std::nullopt);
    EXPECT_EQ(numbers.w10KPa, 0.3);
    for (const char* w10 : {"0", "-0.3"}) {
        in.w10 = w10;
        EXPECT_FALSE(parseProjectInput(in)) << w10;
    }
    EXPECT_EQ(parseTail(in, numbers),
              "10年一遇基本风压w10为-0.3 kPa，应大于0。"
              "请在“文件”菜单的“横风向及舒适度数据”中改正；不作舒适度验算时清空。");
    // A negative diameter is left to the cross-wind check, which says so.
    in.w10.clear();
    in.diameter = "-6";
    EXPECT_TRUE(parseProjectInput(in));
}

TEST(InputParse, AnyRefusedBoxOrTailValueRefusesTheInput) {
    const auto refused = [](void (*change)(ProjectInput&)) {
        ProjectInput in = threePoints();
        change(in);
        return !parseProjectInput(in);
    };
    EXPECT_TRUE(refused([](ProjectInput& in) { in.heights = "10;20"; }));
    EXPECT_TRUE(refused([](ProjectInput& in) { in.masses = "100;;120"; }));
    EXPECT_TRUE(refused([](ProjectInput& in) { in.windPressure = "0.4.5"; }));
    EXPECT_TRUE(refused([](ProjectInput& in) { in.diameter = "six"; }));
    EXPECT_TRUE(refused([](ProjectInput& in) { in.structureType = "3"s; }));
    EXPECT_FALSE(refused([](ProjectInput& in) { in.heights = "10;20;-30"; })); // no sign test
}

TEST(InputParse, EachBoxGivesItsOwnRefusal) {
    EXPECT_EQ(std::get<std::string_view>(parseListBox(Box::Heights, "10;20;30;", 3, 1)),
              kListSyntaxMessage);
    EXPECT_EQ(std::get<std::string_view>(parseListBox(Box::Frequency, "0.5;1.2", 3, 1)),
              kModeCountMessage);
    EXPECT_EQ(std::get<std::string_view>(parseListBox(Box::Heights, "", 1, 1)),
              kFreedomCountMessage);
    EXPECT_FALSE(parseValueBox(ValueBox::WindPressure, "1e306")); // overflows once in N/m^2
}

} // namespace
} // namespace tamsor
