#include "model/RowCommands.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows are told apart by their name, r1 to rN as first set; a new row has no name.
class RowCommandsTest : public testing::Test {
  protected:
    void NamedRows(int count) {
        std::vector<std::vector<std::string>> rows;
        for (int i = 1; i <= count; ++i) {
            rows.push_back({"", "r" + std::to_string(i)});
        }
        bench.SetRows(rows);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            names.push_back(bench.table.GetWideCells(ColName, row));
        }
        return names;
    }
    // Every command ends with the row numbers in order.
    void ExpectNumbered() const {
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, row), std::to_string(row));
        }
    }
    void Select(int top, int bottom) { bench.table.SetSelection({1, top, 8, bottom}); }

    Workbench bench;
};

using Texts = std::vector<std::string>;

TEST_F(RowCommandsTest, InsertRowTakesThePlaceOfTheTopSelectedRow) {
    bench.SetRows({{"1/0/1", "r1", "", "", "4"}, {"1/0/2", "r2", "", "", "5"}, {"1/0/3", "r3"}});
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    Select(3, 3);
    InsertRowExecute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r2", "", "r3"}));
    // Filled from the row above; the moved row may now hold the same address.
    EXPECT_EQ(bench.Row(3), (Texts{"1/0/3", "", "", "", "6", "", "", ""}));
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 4), "1/0/3");
    ExpectNumbered();
}

TEST_F(RowCommandsTest, InsertRowAtTheTopGetsOnlyItsRowNumber) {
    NamedRows(2);
    bench.table.SetCellEx(ColAddress, 1, "1/0/1");
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    Select(1, 2);
    InsertRowExecute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"", "r1", "r2"}));
    EXPECT_EQ(bench.Row(1), Texts(8, ""));
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 1), "1");
    ExpectNumbered();
}

// Whatever the selection holds in a table without data rows, the new row is row 1.
TEST_F(RowCommandsTest, InsertAndAppendIntoAnEmptyTableAddRowOne) {
    for (int top : {0, 1}) {
        SCOPED_TRACE(top);
        bench.table.SetRowCountEx(1);
        Select(top, top);
        InsertRowExecute(bench.edit);
        ASSERT_EQ(bench.table.GetRowCountEx(), 2);
        EXPECT_EQ(bench.table.GetCellEx(ColAddress, 0), "Group address");
        ExpectNumbered();

        bench.table.SetRowCountEx(1);
        Select(top, top);
        EditAppendRow1Execute(bench.edit);
        ASSERT_EQ(bench.table.GetRowCountEx(), 2);
        EXPECT_EQ(bench.table.GetCellEx(ColAddress, 0), "Group address");
        ExpectNumbered();
    }
}

TEST_F(RowCommandsTest, AppendRowGoesBelowTheSelectionFilledFromItsBottomRow) {
    bench.SetRows({{"", "r1"}, {"", "r2"}, {"", "r3"}, {"1/2/7", "r4", "", "", "20"}, {"", "r5"}});
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    Select(2, 4);
    EditAppendRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r2", "r3", "r4", "", "r5"}));
    EXPECT_EQ(bench.Row(5), (Texts{"1/2/8", "", "", "", "21", "", "", ""}));
    ExpectNumbered();

    Select(6, 6); // the last row
    EditAppendRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r2", "r3", "r4", "", "r5", ""}));

    Select(1, 50); // a bottom past the table appends
    EditAppendRow1Execute(bench.edit);
    EXPECT_EQ(Names().size(), 8u);
    EXPECT_EQ(Names()[5], "r5");
    ExpectNumbered();
}

TEST_F(RowCommandsTest, DeleteRowRemovesOnlyTheTopSelectedRow) {
    NamedRows(5);
    Select(2, 4);
    EditDeleteRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r3", "r4", "r5"}));
    ExpectNumbered();

    Select(1, 1);
    EditDeleteRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r3", "r4", "r5"}));

    Select(0, 2); // from the header: nothing
    EditDeleteRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r3", "r4", "r5"}));
    ExpectNumbered();
}

TEST_F(RowCommandsTest, DeleteRowOnTheLastRowKeepsItOnlyAsTheSpareRow) {
    NamedRows(3);
    bench.options.createRow = true;
    Select(3, 3);
    EditDeleteRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r2", ""}));
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 3), "3");

    bench.options.createRow = false;
    bench.table.SetWideCells(ColName, 3, "r3");
    EditDeleteRow1Execute(bench.edit);
    EXPECT_EQ(Names(), (Texts{"r1", "r2"}));
}

// first and count as RemoveDataRows receives them, on a table of nine named rows.
struct RemoveCase {
    const char* name;
    bool spareRow;
    int first;
    int count;
    Texts left;
};

class RemoveDataRowsTest : public RowCommandsTest,
                           public testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveDataRowsTest, RemovesTheRunAndKeepsTheSpareRow) {
    const RemoveCase& c = GetParam();
    NamedRows(9);
    for (int column = ColAddress; column <= ColConversionScale; ++column) {
        if (column != ColName) {
            bench.table.SetCellEx(column, 9, "x");
        }
    }
    bench.options.createRow = c.spareRow;
    RemoveDataRows(bench.table, bench.options, c.first, c.count);
    ASSERT_EQ(Names(), c.left);
    ExpectNumbered();
    if (c.spareRow && c.first >= 1 && c.first < 10 && c.first + c.count >= 10) {
        EXPECT_EQ(bench.Row(bench.table.GetRowCountEx() - 1), Texts(8, "")); // emptied
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RemoveDataRowsTest,
    testing::Values(
        RemoveCase{"ReachingTheEndEmptiesTheLastRow", true, 5, 5, {"r1", "r2", "r3", "r4", ""}},
        RemoveCase{"ReachingTheEndWithoutSpareRow", false, 5, 5, {"r1", "r2", "r3", "r4"}},
        RemoveCase{"PastTheEnd", true, 7, 50, {"r1", "r2", "r3", "r4", "r5", "r6", ""}},
        RemoveCase{"PastTheEndWithoutSpareRow", false, 7, 50, {"r1", "r2", "r3", "r4", "r5", "r6"}},
        RemoveCase{
            "OnlyTheLastRow", true, 9, 1, {"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", ""}},
        RemoveCase{"EveryRow", true, 1, 9, {""}},
        RemoveCase{"EveryRowWithoutSpareRow", false, 1, 9, {}},
        RemoveCase{"InTheMiddle", true, 2, 3, {"r1", "r5", "r6", "r7", "r8", "r9"}},
        RemoveCase{"NoRows", true, 3, 0, {"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}},
        RemoveCase{
            "FromTheHeader", true, 0, 3, {"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}},
        RemoveCase{"FromPastTheTable",
                   true,
                   10,
                   1,
                   {"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}}),
    [](const testing::TestParamInfo<RemoveCase>& info) { return std::string(info.param.name); });

TEST_F(RowCommandsTest, InsertAndAppendStopAtTheRowLimit) {
    for (bool spareRow : {false, true}) {
        SCOPED_TRACE(spareRow);
        bench.options.createRow = spareRow; // the spare row counts toward the limit
        for (auto command : {InsertRowExecute, EditAppendRow1Execute}) {
            bench.messageBox.shown.clear();
            bench.table.SetRowCountEx(MaxDataRows); // 109 data rows
            Select(5, 5);
            command(bench.edit);
            EXPECT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 1);
            EXPECT_TRUE(bench.messageBox.shown.empty());

            command(bench.edit);
            EXPECT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 1);
            EXPECT_TRUE(bench.messageBox.ShowedOnlyTheRowLimit());
        }
    }
}

TEST_F(RowCommandsTest, RowCommandsLeaveTheModifiedFlagAsItWas) {
    for (bool modified : {false, true}) {
        SCOPED_TRACE(modified);
        NamedRows(4);
        bench.document.SetModified(modified);
        bench.window.menu.clear();
        bench.options.createRow = true;
        Select(2, 3);
        InsertRowExecute(bench.edit);
        EditAppendRow1Execute(bench.edit);
        EditDeleteRow1Execute(bench.edit);
        Select(5, 5);
        EditDeleteRow1Execute(bench.edit);
        EXPECT_EQ(bench.document.Modified(), modified);
        EXPECT_TRUE(bench.window.menu.empty()); // the Save item untouched
    }
}

TEST_F(RowCommandsTest, InsertNewRowAppendsAtRowCountWithoutAskingTheLimit) {
    bench.table.SetRowCountEx(MaxDataRows + 1);
    bench.table.SetCellEx(ColIndex, MaxDataRows, "10000");
    bench.options.incrementIndex = true;
    InsertNewRow(bench.table, bench.options, bench.table.GetRowCountEx());
    EXPECT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 2);
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 111), "10001");
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 111), "111");
    EXPECT_TRUE(bench.messageBox.shown.empty());
    EXPECT_FALSE(bench.document.Modified());
}

} // namespace
