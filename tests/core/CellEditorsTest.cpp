#include "model/CellEditors.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MainGridGetEditorType, EachColumnGetsItsEditorInEveryRow) {
    const EditorKind want[ColumnCount] = {
        EditorKind::None,         EditorKind::Text,         EditorKind::UnicodeText,
        EditorKind::DropDownList, EditorKind::DropDownList, EditorKind::Digits,
        EditorKind::DropDownList, EditorKind::DropDownList, EditorKind::Digits,
    };
    for (int row : {1, 7}) {
        for (int column = 0; column < ColumnCount; ++column) {
            EXPECT_EQ(MainGridGetEditorType(column, row), want[column]) << column;
        }
    }
}

TEST(MainGridCanEditCell, HeaderAndRowNumbersAreNeverEditable) {
    Workbench bench;
    bench.SetRows({{"1/0/1", "n", "Boolean", "IN", "1", "Coil", "Add", "5"}});
    for (int column = 0; column < ColumnCount; ++column) {
        EXPECT_FALSE(MainGridCanEditCell(bench.table, 0, column)) << column;
        EXPECT_EQ(MainGridCanEditCell(bench.table, 1, column), column != ColRowNumber) << column;
    }
}

// The value is editable only while a rule other than the exact "None" is set; every
// other cell of the row stays editable whatever the rule.
TEST(MainGridCanEditCell, ConversionValueFollowsTheRule) {
    struct Case {
        const char* rule;
        bool editable;
    };
    for (const Case c : {Case{"None", false}, Case{"", false}, Case{"none", true},
                         Case{"Add", true}, Case{"Divide", true}}) {
        SCOPED_TRACE(c.rule);
        Workbench bench;
        bench.SetRows({{"", "", "", "", "", "", c.rule}});
        EXPECT_EQ(MainGridCanEditCell(bench.table, 1, ColConversionScale), c.editable);
        for (int column = ColAddress; column < ColConversionScale; ++column) {
            EXPECT_TRUE(MainGridCanEditCell(bench.table, 1, column)) << column;
        }
    }
}

TEST(MainGridComboChange, StoresThePickAtOnceAndNoneEmptiesTheValue) {
    Workbench bench;
    bench.SetRows({{"", "", "", "", "", "", "Add", "12"}, {"", "", "", "", "", "", "Add", "34"}});

    MainGridComboChange(bench.table, ColType, 1, "Boolean");
    EXPECT_EQ(bench.table.GetCellEx(ColType, 1), "Boolean");

    MainGridComboChange(bench.table, ColConversionRule, 1, "Multiply");
    EXPECT_EQ(bench.table.GetCellEx(ColConversionScale, 1), "12");
    MainGridComboChange(bench.table, ColConversionRule, 1, "none"); // not the exact label
    EXPECT_EQ(bench.table.GetCellEx(ColConversionScale, 1), "12");

    MainGridComboChange(bench.table, ColConversionRule, 1, "None");
    EXPECT_EQ(bench.table.GetCellEx(ColConversionRule, 1), "None");
    EXPECT_EQ(bench.table.GetCellEx(ColConversionScale, 1), "");
    EXPECT_FALSE(MainGridCanEditCell(bench.table, 1, ColConversionScale));

    // Back to a rule: the value stays empty and becomes editable again.
    MainGridComboChange(bench.table, ColConversionRule, 1, "Add");
    EXPECT_EQ(bench.table.GetCellEx(ColConversionScale, 1), "");
    EXPECT_TRUE(MainGridCanEditCell(bench.table, 1, ColConversionScale));

    // "None" in another list column means nothing special.
    MainGridComboChange(bench.table, ColKroType, 2, "None");
    EXPECT_EQ(bench.table.GetCellEx(ColConversionScale, 2), "34");

    EXPECT_FALSE(bench.document.Modified());
    EXPECT_TRUE(bench.window.menu.empty());
}

class MainGridClickCellTest : public testing::Test {
  protected:
    void SetUp() override {
        bench.SetRows({{}, {}, {}});
        bench.table.SetSelection(before);
    }
    const Selection before{2, 1, 3, 1};
    Workbench bench;
};

TEST_F(MainGridClickCellTest, RowNumberSelectsTheWholeRowAndEnablesCut) {
    MainGridClickCell(bench.edit, 3, ColRowNumber);
    EXPECT_EQ(bench.table.GetSelectionEx(), (Selection{ColAddress, 3, ColConversionScale, 3}));
    EXPECT_EQ(bench.window.menu, (std::map<MenuEntry, bool>{{MenuEntry::Cut1, true}}));
}

TEST_F(MainGridClickCellTest, HeaderOrDataCellClickDoesNothing) {
    for (auto [row, column] :
         {std::pair{0, 0}, std::pair{0, 3}, std::pair{2, 1}, std::pair{2, 8}}) {
        SCOPED_TRACE(testing::Message() << row << "," << column);
        MainGridClickCell(bench.edit, row, column);
        EXPECT_EQ(bench.table.GetSelectionEx(), before);
        EXPECT_TRUE(bench.window.menu.empty());
    }
}

TEST(MainGridSelectRowsBetween, SelectsTheWholeRowsEitherWayWithinTheTable) {
    Workbench bench;
    bench.SetRows({{}, {}, {}, {}});
    MainGridSelectRowsBetween(bench.edit, 3, 1);
    EXPECT_EQ(bench.table.GetSelectionEx(), (Selection{1, 1, 8, 3}));
    EXPECT_EQ(bench.window.menu, (std::map<MenuEntry, bool>{{MenuEntry::Cut1, true}}));
    MainGridSelectRowsBetween(bench.edit, 2, 40); // a row clicked before rows were removed
    EXPECT_EQ(bench.table.GetSelectionEx(), (Selection{1, 2, 8, 4}));
}

struct ShownSelectionCase {
    const char* name;
    Selection shown;
    Selection taken;
    bool enablesCut;
};

class MainGridSelectCellsTest : public testing::TestWithParam<ShownSelectionCase> {};

TEST_P(MainGridSelectCellsTest, TakesRowNumbersAsWholeRowsAndOtherBlocksWithoutThem) {
    Workbench bench;
    bench.SetRows({{}, {}, {}});
    MainGridSelectCells(bench.edit, GetParam().shown);
    EXPECT_EQ(bench.table.GetSelectionEx(), GetParam().taken);
    EXPECT_EQ(bench.window.menu.count(MenuEntry::Cut1) == 1, GetParam().enablesCut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainGridSelectCellsTest,
    testing::Values(ShownSelectionCase{"OneRowNumber", {0, 2, 0, 2}, {1, 2, 8, 2}, true},
                    ShownSelectionCase{"SeveralRowNumbers", {0, 1, 0, 3}, {1, 1, 8, 3}, true},
                    ShownSelectionCase{"Cell", {3, 2, 3, 2}, {3, 2, 3, 2}, false},
                    ShownSelectionCase{"Block", {2, 1, 4, 3}, {2, 1, 4, 3}, false},
                    // Dragged from the row numbers into the cells: a block, less the numbers.
                    ShownSelectionCase{"BlockFromTheRowNumbers", {0, 1, 2, 2}, {1, 1, 2, 2}, false},
                    ShownSelectionCase{"Nothing", {0, 0, 0, 0}, {1, 0, 1, 0}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
