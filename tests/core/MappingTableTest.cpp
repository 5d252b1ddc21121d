#include "FakeServices.h"
#include "model/RowLimit.h"
#include "model/Vocabulary.h"

#include <gtest/gtest.h>

namespace {

// Column 1 of each data row, to follow rows as they move.
std::vector<std::string> Addresses(const MappingTable& table) {
    std::vector<std::string> cells;
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        cells.push_back(table.GetCellEx(ColAddress, row));
    }
    return cells;
}

struct RecordingObserver : TableObserver {
    void RowsAboutToBeInserted(int first, int count) override {
        events.push_back("insert " + std::to_string(first) + "+" + std::to_string(count));
    }
    void RowsAboutToBeRemoved(int first, int count) override {
        events.push_back("remove " + std::to_string(first) + "+" + std::to_string(count));
    }
    void CellsChanged(int left, int top, int right, int bottom) override {
        events.push_back("cells " + std::to_string(left) + "," + std::to_string(top) + "-" +
                         std::to_string(right) + "," + std::to_string(bottom));
    }
    std::vector<std::string> events;
};

TEST(MappingTable, StartsWithHeaderAndOneEmptyDataRow) {
    MappingTable table;
    ASSERT_EQ(table.GetRowCountEx(), 2);
    const std::vector<std::string> headers = {"",
                                              "Group address",
                                              "Name",
                                              "Datapoint type",
                                              "IN/OUT",
                                              "Index",
                                              "COIL/REG",
                                              "Conversion Rule",
                                              "Conversion Value"};
    for (int c = 0; c < ColumnCount; ++c) {
        EXPECT_EQ(table.GetCellEx(c, 0), headers[c]);
        EXPECT_EQ(table.GetCellEx(c, 1), "");
    }
}

TEST(MappingTable, InsertAndRemoveAtTheEdgesMoveLaterRows) {
    Workbench bench;
    bench.SetRows({{"a"}, {"b"}, {"c"}});
    MappingTable& table = bench.table;

    table.InsertRowsAt(1, 1);                     // at the top
    table.InsertRowsAt(table.GetRowCountEx(), 2); // appended
    EXPECT_EQ(Addresses(table), (std::vector<std::string>{"", "a", "b", "c", "", ""}));

    table.RemoveRowsAt(2, 2);
    EXPECT_EQ(Addresses(table), (std::vector<std::string>{"", "c", "", ""}));
    table.RemoveRowsAt(3, 10); // never past the last row
    EXPECT_EQ(Addresses(table), (std::vector<std::string>{"", "c"}));
    table.RemoveRowsAt(0, 1); // never the header
    table.RemoveRowsAt(table.GetRowCountEx(), 1);
    EXPECT_EQ(table.GetRowCountEx(), 3);
    EXPECT_EQ(table.GetCellEx(ColAddress, 0), "Group address");

    table.InsertRowsAt(0, 1); // never above the header
    EXPECT_EQ(table.GetCellEx(ColAddress, 0), "Group address");
    EXPECT_EQ(table.GetRowCountEx(), 4);
}

TEST(MappingTable, ClearOperationsEmptyOnlyTheirCells) {
    Workbench bench;
    bench.SetRows({{"a", "n1", "t1"}, {"b", "n2", "t2"}, {"c", "n3", "t3"}});
    MappingTable& table = bench.table;

    table.ClearCellRect(2, 1, 3, 2);
    EXPECT_EQ(bench.Row(1)[0], "a");
    EXPECT_EQ(bench.Row(1)[1], "");
    EXPECT_EQ(bench.Row(2)[2], "");
    EXPECT_EQ(bench.Row(3)[1], "n3");

    table.ClearRows(3, 1);
    EXPECT_EQ(bench.Row(3), std::vector<std::string>(8, ""));
    EXPECT_EQ(table.GetCellEx(ColRowNumber, 3), "");

    table.SetSelection({1, 1, 1, 1});
    table.ClearSelection();
    EXPECT_EQ(table.GetCellEx(ColAddress, 1), "");
    EXPECT_EQ(table.GetCellEx(ColAddress, 2), "b");

    table.ClearCellRect(0, 0, 8, 0); // the header row is not a data row
    EXPECT_EQ(table.GetCellEx(ColName, 0), "Name");
}

TEST(MappingTable, GetIntsNamesTheOffendingText) {
    MappingTable table;
    table.SetInts(ColIndex, 1, 42);
    EXPECT_EQ(table.GetCellEx(ColIndex, 1), "42");
    EXPECT_EQ(table.GetInts(ColIndex, 1), 42);
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {Case{"", "'' is not a valid integer value"},
                          Case{"12a", "'12a' is not a valid integer value"},
                          Case{" 5", "' 5' is not a valid integer value"},
                          Case{"99999999999", "'99999999999' is not a valid integer value"}}) {
        table.SetCellEx(ColIndex, 1, c.text);
        try {
            table.GetInts(ColIndex, 1);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const TabrixError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(MappingTable, CellsOutsideTheTableReadEmptyAndIgnoreWrites) {
    MappingTable table;
    table.SetCellEx(ColAddress, 5, "x");
    table.SetCellEx(9, 1, "x");
    table.SetCellEx(-1, 1, "x");
    EXPECT_EQ(table.GetCellEx(ColAddress, 5), "");
    EXPECT_EQ(table.GetCellEx(9, 1), "");
    EXPECT_EQ(table.GetRowCountEx(), 2);
}

TEST(MappingTable, ObserverHearsStructureAndCellChanges) {
    MappingTable table;
    RecordingObserver observer;
    table.SetObserver(&observer);
    table.InsertRowsAt(1, 2);
    table.SetCellEx(ColName, 2, "x");
    table.SetCellEx(ColName, 2, "x"); // unchanged: no notification
    table.RemoveRowsAt(1, 1);
    {
        MappingTable::Batch batch(table);
        table.SetCellEx(ColAddress, 1, "1/0/1");
        table.SetCellEx(ColIndex, 2, "3");
    }
    EXPECT_EQ(observer.events, (std::vector<std::string>{"insert 1+2", "cells 2,2-2,2",
                                                         "remove 1+1", "cells 1,1-5,2"}));
}

TEST(MappingTable, RemovingRowsKeepsTheSelectionInTheTable) {
    Workbench bench;
    bench.SetRows({{"a"}, {"b"}, {"c"}, {"d"}});
    bench.table.SelectRows(3, 2);
    bench.table.RemoveRowsAt(2, 3);
    const Selection selection = bench.table.GetSelectionEx();
    EXPECT_EQ(selection.top, 1);
    EXPECT_EQ(selection.bottom, 1);
}

TEST(RenumberRows, WritesEveryDataRowsIndex) {
    Workbench bench;
    bench.SetRows({{"a"}, {"b"}, {"c"}});
    bench.table.SetCellEx(ColRowNumber, 2, "7");
    bench.table.InsertRowsAt(1, 1);
    RenumberRows(bench.table);
    for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
        EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, row), std::to_string(row));
    }
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 0), "");
}

TEST(RenumberRows, TableWithoutDataRowsStaysAsItIs) {
    MappingTable table;
    table.SetRowCountEx(1);
    RenumberRows(table);
    EXPECT_EQ(table.GetRowCountEx(), 1);
    EXPECT_EQ(table.GetCellEx(ColRowNumber, 0), "");
}

struct VocabularyCase {
    int column;
    const char* text;
    bool member;
};

class IsInVocabularyTest : public testing::TestWithParam<VocabularyCase> {};

TEST_P(IsInVocabularyTest, MatchesWholeLabelsIgnoringAsciiCase) {
    EXPECT_EQ(IsInVocabulary(GetParam().column, GetParam().text), GetParam().member);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, IsInVocabularyTest,
    testing::Values(
        VocabularyCase{ColType, "Boolean", true}, VocabularyCase{ColType, "BOOLEAN", true},
        VocabularyCase{ColType, "float 16 BIT", true}, VocabularyCase{ColType, "Boolean ", false},
        VocabularyCase{ColType, " Boolean", false}, VocabularyCase{ColType, "", false},
        VocabularyCase{ColDirection, "out", true}, VocabularyCase{ColDirection, "OUTPUT", false},
        VocabularyCase{ColKroType, "coil", true}, VocabularyCase{ColKroType, "IN", false},
        VocabularyCase{ColConversionRule, "divide", true}, VocabularyCase{ColIndex, "1", false},
        VocabularyCase{ColIndex, "", false}, VocabularyCase{ColAddress, "Boolean", false},
        VocabularyCase{ColName, "Boolean", false}),
    [](const testing::TestParamInfo<VocabularyCase>& info) {
        return "case" + std::to_string(info.index);
    });

TEST(ColumnVocabulary, ListsTheLabelsInOrderAndNothingForOtherColumns) {
    auto labels = [](int column) {
        auto list = ColumnVocabulary(column);
        return std::vector<std::string>(list.begin(), list.end());
    };
    EXPECT_EQ(labels(ColType),
              (std::vector<std::string>{"Boolean", "Unsigned 8 bit", "Signed 8 bit",
                                        "Unsigned 16 bit", "Signed 16 bit", "Float 16 bit"}));
    EXPECT_EQ(labels(ColDirection), (std::vector<std::string>{"IN", "OUT"}));
    EXPECT_EQ(labels(ColKroType), (std::vector<std::string>{"Register", "Coil"}));
    EXPECT_EQ(labels(ColConversionRule),
              (std::vector<std::string>{"None", "Add", "Subtract", "Multiply", "Divide"}));
    for (int column : {ColRowNumber, ColAddress, ColName, ColIndex, ColConversionScale}) {
        EXPECT_TRUE(ColumnVocabulary(column).empty()) << column;
    }
    for (size_t i = 0; i < std::size(DatapointTypes); ++i) {
        EXPECT_EQ(labels(ColType)[i], DatapointTypes[i].label);
    }
}

TEST(CheckRowLimit, AllowsUpTo109DataRowsAndRefusesAt110) {
    MappingTable table;
    FakeMessageBox messageBox;
    table.SetRowCountEx(110); // 109 data rows
    EXPECT_TRUE(CheckRowLimit(table, messageBox));
    EXPECT_TRUE(messageBox.shown.empty());

    table.SetRowCountEx(111); // 110 data rows
    EXPECT_FALSE(CheckRowLimit(table, messageBox));
    EXPECT_TRUE(messageBox.ShowedOnlyTheRowLimit());
    EXPECT_EQ(table.GetRowCountEx(), 111);
}

} // namespace
