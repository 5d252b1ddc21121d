#include "project/ProjectWriter.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The written bytes are the golden file's. With TABRIX_UPDATE_GOLDEN=1 in the environment
// the golden file takes them instead, so that a deliberate change of the format is one
// command: TABRIX_UPDATE_GOLDEN=1 ctest -R Golden
void ExpectGolden(const std::string& written, const std::string& name) {
    const std::string path = std::string(TABRIX_GOLDEN_DIR) + "/" + name;
    const char* update = std::getenv("TABRIX_UPDATE_GOLDEN");
    if (update && std::string_view(update) == "1") {
        std::ofstream(path, std::ios::binary) << written;
        std::printf("golden file %s written\n", path.c_str());
        return;
    }
    EXPECT_EQ(written, ReadFileBytes(path)) << "TABRIX_UPDATE_GOLDEN=1 rewrites " << path;
}

// The child lines of the first Property, without their indent.
std::vector<std::string> FirstPropertyLines(const std::string& document) {
    std::istringstream in(document);
    std::vector<std::string> lines;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line == "    <Property id=\" general\">") {
            inside = true;
        } else if (line == "    </Property>") {
            break;
        } else if (inside) {
            EXPECT_EQ(line.rfind("     <", 0), 0u) << "child not at depth 5: " << line;
            lines.push_back(line.substr(5));
        }
    }
    return lines;
}

// ---- Whole files, byte for byte -------------------------------------------------------

struct GoldenCase {
    const char* name;
    Rows rows;
    bool createRow;
    const char* golden;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class ProjectWriterGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ProjectWriterGolden, WritesTheFileByteForByte) {
    const GoldenCase& c = GetParam();
    Workbench bench;
    bench.SetRows(c.rows);
    bench.options.createRow = c.createRow;
    TempFolder folder;
    const std::string path = folder.File("out.xml");

    ASSERT_TRUE(WriteProjectFile(bench.table, bench.options, bench.messageBox, path));
    EXPECT_TRUE(bench.messageBox.shown.empty());
    ExpectGolden(ReadFileBytes(path), c.golden);
}

Rows WithSpareRow(Rows rows, std::vector<std::string> spare) {
    rows.push_back(std::move(spare));
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectWriterGolden,
    ::testing::Values(
        GoldenCase{"TwoRows", WorkedExampleRows(), false, "two-rows.xml"},
        // The spare row is left out whatever it holds, even cells the writer would refuse.
        GoldenCase{"TwoRowsAndSpareRow",
                   WithSpareRow(WorkedExampleRows(), {"", "bad\x01", "", "", "x", "", "Add", "y"}),
                   true, "two-rows.xml"},
        GoldenCase{"NoRows", {}, false, "no-rows.xml"},
        GoldenCase{
            "OnlySpareRow", {{"1/0/1", "kept out", "Boolean", "IN", "1"}}, true, "no-rows.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- One Property ----------------------------------------------------------------------

struct PropertyCase {
    const char* name;
    std::vector<std::string> cells;
    std::vector<std::string> lines;
};

void PrintTo(const PropertyCase& c, std::ostream* os) {
    *os << c.name;
}

class ProjectWriterProperty : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(ProjectWriterProperty, WritesTheRowElements) {
    Workbench bench;
    bench.SetRows({GetParam().cells});
    EXPECT_EQ(FirstPropertyLines(BuildProjectDocument(bench.table, bench.options)),
              GetParam().lines);
}

// A row whose type cell is not exactly a label: the two type elements are absent.
PropertyCase WithoutType(const char* name, const char* type) {
    return {name,
            {"3/4/5", "n", type, "OUT", "7", "Register", "Add", "0"},
            {"<Enabled>False</Enabled>", "<DatapointName>n</DatapointName>",
             "<DatapointDirection>OUT</DatapointDirection>",
             "<KRO_VariableIndex>7</KRO_VariableIndex>", "<KRO_Register/>", "<KRO_FunctionCode/>",
             "<KRO_VariableType>REG</KRO_VariableType>", "<KRO_DataType/>",
             "<KRO_Conversion_Rule>+</KRO_Conversion_Rule>",
             "<KRO_Conversion_Scale>0</KRO_Conversion_Scale>",
             "<Knx_DataPoint_Line_Address>3</Knx_DataPoint_Line_Address>",
             "<Knx_Datapoint_GroupAddress>4</Knx_Datapoint_GroupAddress>",
             "<Knx_Datapoint_Z_FieldAddress>5</Knx_Datapoint_Z_FieldAddress>"}};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectWriterProperty,
    ::testing::Values(
        WithoutType("EmptyType", ""), WithoutType("LowerCaseType", "boolean"),
        WithoutType("TypeWithTrailingBlank", "Boolean "),
        WithoutType("TypeWithLeadingBlank", " Float 16 bit"),
        // "None" gives "No Conv" and no value, whatever the value cell holds.
        PropertyCase{"RuleNoneDropsTheValue",
                     {"0/0/1", "", "Signed 16 bit", "", "10001", "", "None", "not a number"},
                     {"<Enabled>False</Enabled>", "<DatapointName></DatapointName>",
                      "<DatapointTypeName>DPT_Value_2_Count</DatapointTypeName>",
                      "<DatapointTypeCode>08.001</DatapointTypeCode>",
                      "<DatapointDirection></DatapointDirection>",
                      "<KRO_VariableIndex>10001</KRO_VariableIndex>", "<KRO_Register/>",
                      "<KRO_FunctionCode/>", "<KRO_VariableType/>", "<KRO_DataType/>",
                      "<KRO_Conversion_Rule>No Conv</KRO_Conversion_Rule>",
                      "<KRO_Conversion_Scale/>",
                      "<Knx_DataPoint_Line_Address>0</Knx_DataPoint_Line_Address>",
                      "<Knx_Datapoint_GroupAddress>0</Knx_Datapoint_GroupAddress>",
                      "<Knx_Datapoint_Z_FieldAddress>1</Knx_Datapoint_Z_FieldAddress>"}},
        // Labels are compared exactly; the direction is written as the cell holds it.
        PropertyCase{"NearLabelsGiveNoCodes",
                     {"15/7/255", "x", "Unsigned 16 bit", "in", "1", "coil", "none", "32767"},
                     {"<Enabled>False</Enabled>", "<DatapointName>x</DatapointName>",
                      "<DatapointTypeName>DPT_Value_2_Ucount</DatapointTypeName>",
                      "<DatapointTypeCode>07.001</DatapointTypeCode>",
                      "<DatapointDirection>in</DatapointDirection>",
                      "<KRO_VariableIndex>1</KRO_VariableIndex>", "<KRO_Register/>",
                      "<KRO_FunctionCode/>", "<KRO_VariableType/>", "<KRO_DataType/>",
                      "<KRO_Conversion_Rule/>",
                      "<KRO_Conversion_Scale>32767</KRO_Conversion_Scale>",
                      "<Knx_DataPoint_Line_Address>15</Knx_DataPoint_Line_Address>",
                      "<Knx_Datapoint_GroupAddress>7</Knx_Datapoint_GroupAddress>",
                      "<Knx_Datapoint_Z_FieldAddress>255</Knx_Datapoint_Z_FieldAddress>"}},
        PropertyCase{"NameEscapedAndInUtf8",
                     {"1/1/1", "A&B <C> \xC3\xA4\xCE\xA9\xD0\x96 \xF0\x9F\x98\x80",
                      "Unsigned 8 bit", "IN", "2", "Coil", "Divide", "3"},
                     {"<Enabled>False</Enabled>",
                      "<DatapointName>A&amp;B &lt;C&gt; \xC3\xA4\xCE\xA9\xD0\x96 "
                      "\xF0\x9F\x98\x80</DatapointName>",
                      "<DatapointTypeName>DPT_Value_1_Ucount</DatapointTypeName>",
                      "<DatapointTypeCode>05.010</DatapointTypeCode>",
                      "<DatapointDirection>IN</DatapointDirection>",
                      "<KRO_VariableIndex>2</KRO_VariableIndex>", "<KRO_Register/>",
                      "<KRO_FunctionCode/>", "<KRO_VariableType>COIL</KRO_VariableType>",
                      "<KRO_DataType/>", "<KRO_Conversion_Rule>/</KRO_Conversion_Rule>",
                      "<KRO_Conversion_Scale>3</KRO_Conversion_Scale>",
                      "<Knx_DataPoint_Line_Address>1</Knx_DataPoint_Line_Address>",
                      "<Knx_Datapoint_GroupAddress>1</Knx_Datapoint_GroupAddress>",
                      "<Knx_Datapoint_Z_FieldAddress>1</Knx_Datapoint_Z_FieldAddress>"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectWriter, WritesEveryRowWhileCreateRowOnEditIsOff) {
    Workbench bench;
    Rows rows;
    for (int i = 1; i <= 120; ++i) {
        rows.push_back({"1/0/" + std::to_string(i), "", "", "", std::to_string(i), "", "None"});
    }
    bench.SetRows(rows);
    const std::string document = BuildProjectDocument(bench.table, bench.options);
    size_t properties = 0;
    for (size_t at = document.find("<Property "); at != std::string::npos;
         at = document.find("<Property ", at + 1)) {
        ++properties;
    }
    EXPECT_EQ(properties, 120u);
    EXPECT_NE(document.find("<Knx_Datapoint_Z_FieldAddress>120<"), std::string::npos);
}

// ---- Rows the writer refuses -----------------------------------------------------------

struct RefusedCase {
    const char* name;
    Rows rows;
    std::string error; // the text after "Error saving to file %s: "
    int column;        // the cell of row 2 that the user is taken to afterwards
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class ProjectWriterRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ProjectWriterRefuses, ShowsTheErrorWritesNothingAndSelectsTheCell) {
    const RefusedCase& c = GetParam();
    Workbench bench;
    bench.SetRows(c.rows);
    TempFolder folder;
    const std::string path = folder.File("out.xml");

    EXPECT_FALSE(WriteProjectFile(bench.table, bench.options, bench.messageBox, path));
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].text,
              "Error saving to file " + path + ": " + c.error + ".");
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Error saving file.");
    EXPECT_EQ(bench.messageBox.shown[0].flags, MbOk);
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
    EXPECT_EQ(bench.table.GetSelectionEx(), (Selection{c.column, 2, c.column, 2}));
}

const std::vector<std::string> GoodRow = {"1/0/1", "ok", "Boolean", "IN", "1", "Coil", "None", ""};

// The good row first: a failure at a later row still fails the whole save.
Rows AfterGoodRow(std::vector<std::string> row) {
    return {GoodRow, std::move(row)};
}

const std::string BadCharacter = "Row 2 holds a character that a project file cannot store";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectWriterRefuses,
    ::testing::Values(
        RefusedCase{"EmptyAddress", AfterGoodRow({"", "n", "", "", "1", "", "None"}),
                    "Invalid string  for Konnex Address", ColAddress},
        RefusedCase{"LineOutOfRange", AfterGoodRow({"16/0/1", "", "", "", "1", "", "None"}),
                    "Invalid value 16 for line address", ColAddress},
        RefusedCase{"EmptyIndex", AfterGoodRow({"1/0/2", "", "", "", "", "", "None"}),
                    "'' is not a valid integer value", ColIndex},
        RefusedCase{"ValueNotANumberUnderARule",
                    AfterGoodRow({"1/0/2", "", "", "", "1", "", "Add", "abc"}),
                    "'abc' is not a valid integer value", ColConversionScale},
        // Without any rule the value is written, so an empty value cannot be.
        RefusedCase{"EmptyValueWithoutRule", AfterGoodRow({"1/0/2", "", "", "", "1", "", "", ""}),
                    "'' is not a valid integer value", ColConversionScale},
        RefusedCase{"ControlCharacterInName",
                    AfterGoodRow({"1/0/2", "a\x01z", "", "", "1", "", "None"}), BadCharacter,
                    ColName},
        RefusedCase{"EscapeInName", AfterGoodRow({"1/0/2", "\x1B[0m", "", "", "1", "", "None"}),
                    BadCharacter, ColName},
        RefusedCase{"ControlCharacterInDirection",
                    AfterGoodRow({"1/0/2", "", "", "IN\x1F", "1", "", "None"}), BadCharacter,
                    ColDirection},
        RefusedCase{"TruncatedUtf8", AfterGoodRow({"1/0/2", "\xC3", "", "", "1", "", "None"}),
                    BadCharacter, ColName},
        RefusedCase{"OverlongUtf8", AfterGoodRow({"1/0/2", "\xC0\xAF", "", "", "1", "", "None"}),
                    BadCharacter, ColName},
        RefusedCase{"Utf8Surrogate",
                    AfterGoodRow({"1/0/2", "\xED\xA0\x80", "", "", "1", "", "None"}), BadCharacter,
                    ColName},
        RefusedCase{"Latin1ByteInName", AfterGoodRow({"1/0/2", "M\xFC", "", "", "1", "", "None"}),
                    BadCharacter, ColName}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
