// Cells copied from a spreadsheet, as an input box's semicolon list.
#include "SpreadsheetPaste.h"

#include <gtest/gtest.h>

namespace tamsor {
namespace {

TEST(SpreadsheetPaste, AColumnOrARowBecomesTheList) {
    EXPECT_EQ(listFromSpreadsheet("10\n20\n30\n"), "10;20;30");
    EXPECT_EQ(listFromSpreadsheet("10\t20\t30"), "10;20;30");
    // Windows line ends, blanks around cells, one cell.
    EXPECT_EQ(listFromSpreadsheet("1.5\r\n 2.5 \r\n-3e2\r\n"), "1.5;2.5;-3e2");
    EXPECT_EQ(listFromSpreadsheet("0.45\n"), "0.45");
}

TEST(SpreadsheetPaste, CellsAreLeftForTheParseToJudge) {
    // An empty cell between two others and a comma decimal stay as they are,
    // so the box's parse refuses them with its own message.
    EXPECT_EQ(listFromSpreadsheet("10\t\t30\n"), "10;;30");
    EXPECT_EQ(listFromSpreadsheet("1,5\n2,5\n"), "1,5;2,5");
}

TEST(SpreadsheetPaste, ABlockOrNothingIsRefused) {
    EXPECT_EQ(listFromSpreadsheet("10\t20\n30\t40\n"), std::nullopt);
    EXPECT_EQ(listFromSpreadsheet(""), std::nullopt);
    EXPECT_EQ(listFromSpreadsheet(" \r\n\t\n"), std::nullopt);
}

} // namespace
} // namespace tamsor
