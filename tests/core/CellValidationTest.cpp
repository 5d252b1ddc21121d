#include "model/CellValidation.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every cell of the edited row holds "old" before the edit, except the conversion rule,
// which the case sets. On refusal the row has to survive as it was; on acceptance the
// stored form replaces the edited cell and nothing else.
struct ValidateCase {
    const char* name;
    int column;
    const char* rule;
    const char* text;
    bool accepted;
    const char* stored; // the edited cell after an accepted edit
};

ValidateCase Accepts(const char* name, int column, const char* text, const char* stored,
                     const char* rule = "Add") {
    return {name, column, rule, text, true, stored};
}

ValidateCase Refuses(const char* name, int column, const char* text, const char* rule = "Add") {
    return {name, column, rule, text, false, ""};
}

class CellValidateTable : public testing::TestWithParam<ValidateCase> {};

TEST_P(CellValidateTable, StoresTheNormalFormOrChangesNothing) {
    const ValidateCase& c = GetParam();
    Workbench bench;
    std::vector<std::string> row(8, "old");
    row[ColConversionRule - 1] = c.rule;
    bench.SetRows({row, {}});
    const std::vector<std::string> row1 = bench.Row(1);
    const std::vector<std::string> row2 = bench.Row(2);

    bool valid = true;
    MainGridCellValidate(bench.edit, c.column, 1, c.text, valid);

    EXPECT_EQ(valid, c.accepted);
    EXPECT_EQ(bench.document.Modified(), c.accepted);
    std::vector<std::string> want = row1;
    if (c.accepted && c.column >= ColAddress && c.column <= ColConversionScale) {
        want[c.column - 1] = c.stored;
    }
    EXPECT_EQ(bench.Row(1), want);
    EXPECT_EQ(bench.Row(2), row2);
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 1), "1");
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);
    if (!c.accepted) {
        EXPECT_TRUE(bench.window.menu.empty()); // the Save item was not touched either
    }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, CellValidateTable,
    testing::Values(
        // Column 0 and columns past 8 accept anything and store nothing.
        Accepts("RowNumber", ColRowNumber, "anything", ""),
        Accepts("PastTheLastColumn", ColumnCount, "anything", ""),

        Accepts("AddressPlain", ColAddress, "1/2/3", "1/2/3"),
        Accepts("AddressNormalised", ColAddress, " 01/ 2/3abc", "1/2/3"),
        Refuses("AddressEmpty", ColAddress, ""), Refuses("AddressTwoNumbers", ColAddress, "1/2"),
        Refuses("AddressLine16", ColAddress, "16/0/1"),
        Refuses("AddressAllZero", ColAddress, "0/0/0"),

        Accepts("TypeLabel", ColType, "Float 16 bit", "Float 16 bit"),
        // A label in other letter case is stored as the list spells it, which is what the
        // project file writer knows.
        Accepts("TypeInCapitals", ColType, "BOOLEAN", "Boolean"),
        Accepts("TypeInLowerCase", ColType, "float 16 BIT", "Float 16 bit"),
        Refuses("TypeLeadingBlank", ColType, " Boolean"), Refuses("TypeEmpty", ColType, ""),
        Accepts("DirectionOut", ColDirection, "OUT", "OUT"),
        Accepts("DirectionLowerCase", ColDirection, "out", "OUT"),
        Refuses("DirectionOutput", ColDirection, "OUTPUT"),
        Accepts("KroCoil", ColKroType, "coil", "Coil"), Refuses("KroFileText", ColKroType, "REG"),
        Accepts("RuleDivide", ColConversionRule, "Divide", "Divide"),
        Accepts("RuleLowerCaseNone", ColConversionRule, "none", "None"),
        Refuses("RuleFileText", ColConversionRule, "+"),

        Accepts("IndexLowest", ColIndex, "1", "1"),
        Accepts("IndexHighest", ColIndex, "10001", "10001"),
        Accepts("IndexLeadingZeros", ColIndex, "007", "7"),
        Accepts("IndexPlusSign", ColIndex, "+5", "5"), Refuses("IndexZero", ColIndex, "0"),
        Refuses("IndexPastHighest", ColIndex, "10002"), Refuses("IndexNegative", ColIndex, "-1"),
        Refuses("IndexLetters", ColIndex, "abc"), Refuses("IndexEmpty", ColIndex, ""),
        Refuses("IndexBeyond32Bits", ColIndex, "4294967297"),

        Accepts("ValueZeroWithAdd", ColConversionScale, "0", "0"),
        Accepts("ValueHighestWithAdd", ColConversionScale, "32767", "32767"),
        Accepts("ValueLeadingZerosWithAdd", ColConversionScale, "00012", "12"),
        Refuses("ValuePastHighestWithAdd", ColConversionScale, "32768"),
        Refuses("ValueNegativeWithAdd", ColConversionScale, "-1"),
        Refuses("ValueEmptyWithAdd", ColConversionScale, ""),
        Refuses("ValueLettersWithAdd", ColConversionScale, "x"),
        Accepts("ValueEmptyWithNone", ColConversionScale, "", "", "None"),
        Refuses("ValueWithNone", ColConversionScale, "0", "None"),
        Accepts("ValueEmptyWithoutRule", ColConversionScale, "", "", ""),
        Refuses("ValueWithoutRule", ColConversionScale, "5", ""),
        // Only the exact label "None" means no conversion.
        Accepts("ValueWithLowerCaseNone", ColConversionScale, "5", "5", "none"),
        Refuses("ValueEmptyWithLowerCaseNone", ColConversionScale, "", "none")),
    [](const testing::TestParamInfo<ValidateCase>& info) { return std::string(info.param.name); });

// A refusal says why, in words a user can act on; what was typed is named where it helps.
TEST(CellVerdictTest, RefusalsSayWhy) {
    struct Case {
        int column;
        const char* rule;
        const char* text;
        const char* reason;
    };
    for (const Case& c : {
             Case{ColAddress, "Add", "1/0/0", "1/0/0: the field address must be 1 to 255"},
             Case{ColAddress, "Add", "16/0/1", "16/0/1: the line address must be 0 to 15"},
             Case{ColAddress, "Add", "1/8/1", "1/8/1: the group address must be 0 to 7"},
             Case{ColAddress, "Add", "1/2",
                  "1/2: a group address is written line/group/field, such as 1/0/1"},
             Case{ColDirection, "Add", "OUTPUT", "'OUTPUT' is not one of: IN, OUT"},
             Case{ColIndex, "Add", "0",
                  "The variable index must be a whole number from 1 to 10001"},
             Case{ColConversionScale, "Add", "32768",
                  "The conversion value must be a whole number from 0 to 32767"},
             Case{ColConversionScale, "None", "5",
                  "Only a conversion rule other than None takes a value"},
             Case{ColName, "Add", "bell\x07",
                  "The name holds a character that a project file cannot store"},
         }) {
        Workbench bench;
        bench.SetRows({{"", "", "", "", "", "", c.rule}});
        const CellVerdict verdict = ValidateCell(bench.edit, c.column, 1, c.text);
        EXPECT_FALSE(verdict.accepted) << c.text;
        EXPECT_EQ(verdict.reason, c.reason);
    }
    Workbench bench;
    bench.SetRows({{}});
    EXPECT_EQ(ValidateCell(bench.edit, ColIndex, 1, "5").reason, "");
    EXPECT_EQ(ValidateCell(bench.edit, ColIndex, 2, "5").reason, "The row no longer exists");
}

class CellValidateTest : public testing::Test {
  protected:
    bool Validate(int column, int row, const std::string& text) {
        bool valid = true;
        MainGridCellValidate(bench.edit, column, row, text, valid);
        return valid;
    }
    bool ValidateWide(int column, int row, const std::string& text) {
        bool valid = true;
        MainGridCellValidateWide(bench.edit, column, row, text, valid);
        return valid;
    }
    void AllOptionsOn() {
        bench.options.incrementAddress = true;
        bench.options.incrementIndex = true;
        bench.options.createRow = true;
    }

    Workbench bench;
};

TEST_F(CellValidateTest, NeverSetsTheFlagToTrue) {
    bench.SetRows({{}});
    bool valid = false;
    MainGridCellValidate(bench.edit, ColIndex, 1, "5", valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 1), "5");
}

TEST_F(CellValidateTest, AcceptedValueEqualToTheCellStillMarksModified) {
    bench.SetRows({{"1/2/3"}});
    EXPECT_TRUE(Validate(ColAddress, 1, "1/2/3"));
    EXPECT_TRUE(bench.document.Modified());
    EXPECT_TRUE(bench.window.menu.at(MenuEntry::Save1));
}

// The name column belongs to the wide validator; the 8-bit one leaves it alone.
TEST_F(CellValidateTest, NameColumnGoesOnlyThroughTheWideValidator) {
    bench.SetRows({{"", "old"}});
    AllOptionsOn();
    EXPECT_TRUE(Validate(ColName, 1, "new"));
    EXPECT_EQ(bench.table.GetWideCells(ColName, 1), "old");
    EXPECT_FALSE(bench.document.Modified());
    EXPECT_EQ(bench.table.GetRowCountEx(), 2);

    for (int column : {ColAddress, ColIndex, ColConversionScale}) {
        bool valid = false;
        MainGridCellValidateWide(bench.edit, column, 1, "1", valid);
        EXPECT_FALSE(valid) << "the flag stays as the caller set it";
        EXPECT_TRUE(ValidateWide(column, 1, "1"));
    }
    EXPECT_EQ(bench.Row(1), (std::vector<std::string>{"", "old", "", "", "", "", "", ""}));
    EXPECT_FALSE(bench.document.Modified());
}

TEST_F(CellValidateTest, WideValidatorAcceptsEveryNameButFillsNoNextRow) {
    bench.SetRows({{"1/0/1", "", "", "", "7"}, {}});
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    for (const char* name : {"Küche Licht ☀", ""}) {
        EXPECT_TRUE(ValidateWide(ColName, 1, name));
        EXPECT_EQ(bench.table.GetWideCells(ColName, 1), name);
    }
    EXPECT_TRUE(bench.document.Modified());
    EXPECT_EQ(bench.Row(2), std::vector<std::string>(8, ""));

    // An 8-bit edit of the same row does fill it.
    EXPECT_TRUE(Validate(ColType, 1, "Boolean"));
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 2), "1/0/2");
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 2), "8");
}

TEST_F(CellValidateTest, WideValidatorRefusesNamesNoFileCouldStore) {
    bench.SetRows({{"1/0/1", "old"}});
    struct Case {
        std::string name;
        bool accepted;
    };
    for (const Case& c : {Case{"tab\there, lines\r\n", true}, Case{"bell\x07", false},
                          Case{std::string("nul\0", 4), false}, Case{"escape\x1b[0m", false},
                          Case{"latin-1 K\xfc"
                               "che",
                               false},
                          Case{"cut \xe2\x82", false}, Case{"surrogate \xed\xa0\x80", false}}) {
        bench.table.SetWideCells(ColName, 1, "old");
        bench.document.SetModified(false);
        EXPECT_EQ(ValidateWide(ColName, 1, c.name), c.accepted) << c.name;
        EXPECT_EQ(bench.table.GetWideCells(ColName, 1), c.accepted ? c.name : "old") << c.name;
        EXPECT_EQ(bench.document.Modified(), c.accepted) << c.name;
    }
}

TEST_F(CellValidateTest, AcceptedEditFillsTheNextRowsEmptyCellsOnly) {
    bench.SetRows({{}, {}, {"9/9/9"}});
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;

    EXPECT_TRUE(Validate(ColAddress, 1, "1/0/5"));
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 2), "1/0/6");
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 2), "");

    EXPECT_TRUE(Validate(ColIndex, 2, "30"));
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 3), "9/9/9"); // held an address already
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 3), "31");

    // A refused edit fills nothing.
    bench.table.SetCellEx(ColIndex, 3, "");
    EXPECT_FALSE(Validate(ColIndex, 2, "0"));
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 3), "");
    EXPECT_EQ(bench.table.GetRowCountEx(), 4);
}

// With Create new row on edit on, the last row is the spare row: an accepted edit of it
// appends the next spare row, filled from the edited row.
TEST_F(CellValidateTest, EditOfTheLastRowAppendsASpareRow) {
    bench.SetRows({{}});
    AllOptionsOn();

    EXPECT_TRUE(Validate(ColAddress, 1, "1/0/9"));
    ASSERT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 2), "2");
    EXPECT_EQ(bench.Row(2), (std::vector<std::string>{"1/0/10", "", "", "", "", "", "", ""}));

    EXPECT_TRUE(Validate(ColIndex, 2, "7"));
    ASSERT_EQ(bench.table.GetRowCountEx(), 4);
    EXPECT_EQ(bench.Row(3), (std::vector<std::string>{"1/0/11", "", "", "", "8", "", "", ""}));

    // The name column keeps the spare row too.
    EXPECT_TRUE(ValidateWide(ColName, 3, "n"));
    ASSERT_EQ(bench.table.GetRowCountEx(), 5);
    EXPECT_EQ(bench.Row(4), (std::vector<std::string>{"1/0/12", "", "", "", "9", "", "", ""}));
}

TEST_F(CellValidateTest, NoSpareRowWhenNotWantedOrNotTheLastRow) {
    bench.SetRows({{}, {}});
    AllOptionsOn();
    EXPECT_TRUE(Validate(ColIndex, 1, "7"));  // not the last row
    EXPECT_FALSE(Validate(ColIndex, 2, "0")); // refused
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);

    bench.options.createRow = false;
    EXPECT_TRUE(Validate(ColIndex, 2, "9"));
    EXPECT_TRUE(ValidateWide(ColName, 2, "n"));
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);
}

// The spare row after an edit does not ask the row limit: a full table grows to row 111.
TEST_F(CellValidateTest, FullTableStillGetsASpareRowAfterAnEditOfItsLastRow) {
    bench.table.SetRowCountEx(MaxDataRows + 1);
    RenumberRows(bench.table);
    AllOptionsOn();
    EXPECT_TRUE(Validate(ColAddress, MaxDataRows, "2/0/1"));
    ASSERT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 2);
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 111), "111");
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 111), "2/0/2");
    EXPECT_TRUE(bench.messageBox.shown.empty());
}

TEST_F(CellValidateTest, AfterCellEditMarksModifiedAndKeepsTheSpareRow) {
    bench.SetRows({{}, {}});
    AfterCellEdit(bench.edit, 2);
    EXPECT_TRUE(bench.document.Modified());
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);

    bench.options.createRow = true;
    AfterCellEdit(bench.edit, 1);
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);
    AfterCellEdit(bench.edit, 2);
    EXPECT_EQ(bench.table.GetRowCountEx(), 4);
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 3), "3");
}

// A paste can aim at a row that is not there (an empty table); that is refused rather
// than stored nowhere and counted as an edit.
TEST_F(CellValidateTest, RowOutsideTheTableIsRefused) {
    bench.table.SetRowCountEx(1);
    bench.options.createRow = true;
    EXPECT_FALSE(Validate(ColAddress, 1, "1/2/3"));
    EXPECT_FALSE(ValidateWide(ColName, 1, "n"));
    EXPECT_EQ(bench.table.GetRowCountEx(), 1);
    EXPECT_FALSE(bench.document.Modified());
}

} // namespace
