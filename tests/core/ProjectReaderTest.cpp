#include "project/ProjectReader.h"
#include "FakeServices.h"
#include "HostileXml.h"
#include "model/RowCommands.h"
#include "model/RowLimit.h"
#include "project/ProjectWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Cells = std::vector<std::string>;

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + text + "</" + name + ">";
}
std::string Line(const std::string& text) {
    return Element("Knx_DataPoint_Line_Address", text);
}
std::string Group(const std::string& text) {
    return Element("Knx_Datapoint_GroupAddress", text);
}
std::string Field(const std::string& text) {
    return Element("Knx_Datapoint_Z_FieldAddress", text);
}

std::string Property(const std::string& children) {
    return "<Property id=\" general\">" + children + "</Property>";
}

std::string Device(const std::string& id, const std::string& properties) {
    return "<Device" + id + "><Property_Identifiers>" + properties +
           "</Property_Identifiers></Device>";
}

std::string ProjectText(const std::string& devices) {
    return Declaration + "<GatewayParameters><KonnexDevices>" + devices +
           "</KonnexDevices></GatewayParameters>\n";
}

// A row with one cell set.
Cells Only(int column, const std::string& text) {
    Cells cells(ColumnCount - 1);
    cells[static_cast<size_t>(column - 1)] = text;
    return cells;
}

// ---- What each child element of a Property does ----------------------------------------

struct ElementCase {
    const char* name;
    std::string children;
    Cells row;
};

void PrintTo(const ElementCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderElements : public ::testing::TestWithParam<ElementCase> {};

TEST_P(ReaderElements, FillTheRowAsTheElementTableSays) {
    Workbench bench;
    bench.SetRows({}); // as a new document leaves the table
    ASSERT_TRUE(
        FillTableFromProjectText(bench.table, bench.options,
                                 ProjectText(Device(" id=\"1\"", Property(GetParam().children)))));
    ASSERT_EQ(bench.table.GetRowCountEx(), 2);
    EXPECT_EQ(bench.Row(1), GetParam().row);
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 1), "1");
}

const std::string Address101 = Line("1") + Group("0") + Field("1");

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderElements,
    ::testing::Values(
        ElementCase{"NoChildren", "", Cells(8)},
        ElementCase{"NameWithEntities",
                    Element("DatapointName", "A &amp; &lt;b&gt; &#x3A9; \xC3\x84"),
                    Only(ColName, "A & <b> \xCE\xA9 \xC3\x84")},
        ElementCase{"NameOfNestedText", "<DatapointName>a<i>b</i><![CDATA[<c>]]></DatapointName>",
                    Only(ColName, "ab<c>")},
        ElementCase{"NameOfBlanksOnly", Element("DatapointName", " \t "), Only(ColName, " \t ")},
        ElementCase{"NameAroundACommentAndInstruction",
                    Element("DatapointName", "a<!-- x -->b<?pi y?>c"), Only(ColName, "abc")},
        ElementCase{"NameKeepsBlanks", Element("DatapointName", "  two  blanks "),
                    Only(ColName, "  two  blanks ")},
        ElementCase{"TypeBoolean", Element("DatapointTypeCode", "01.001"),
                    Only(ColType, "Boolean")},
        ElementCase{"TypeUnsigned8", Element("DatapointTypeCode", "05.010"),
                    Only(ColType, "Unsigned 8 bit")},
        ElementCase{"TypeSigned8", Element("DatapointTypeCode", "06.010"),
                    Only(ColType, "Signed 8 bit")},
        ElementCase{"TypeUnsigned16", Element("DatapointTypeCode", "07.001"),
                    Only(ColType, "Unsigned 16 bit")},
        ElementCase{"TypeSigned16", Element("DatapointTypeCode", "08.001"),
                    Only(ColType, "Signed 16 bit")},
        ElementCase{"TypeFloat16", Element("DatapointTypeCode", "09.001"),
                    Only(ColType, "Float 16 bit")},
        ElementCase{"TypeNameIsNotRead", Element("DatapointTypeName", "DPT_Switch"), Cells(8)},
        ElementCase{"TypeCodeWithoutLeadingZero", Element("DatapointTypeCode", "1.001"), Cells(8)},
        ElementCase{"TypeCodeWithBlank", Element("DatapointTypeCode", "01.001 "), Cells(8)},
        ElementCase{"DirectionIn", Element("DatapointDirection", "IN"), Only(ColDirection, "IN")},
        ElementCase{"DirectionOut", Element("DatapointDirection", "OUT"),
                    Only(ColDirection, "OUT")},
        ElementCase{"DirectionLowerCase", Element("DatapointDirection", "in"), Cells(8)},
        ElementCase{"DirectionLeadingBlank", Element("DatapointDirection", " IN"), Cells(8)},
        ElementCase{"IndexLowest", Element("KRO_VariableIndex", "1"), Only(ColIndex, "1")},
        ElementCase{"IndexHighest", Element("KRO_VariableIndex", "10001"), Only(ColIndex, "10001")},
        ElementCase{"IndexZero", Element("KRO_VariableIndex", "0"), Cells(8)},
        ElementCase{"IndexAboveRange", Element("KRO_VariableIndex", "10002"), Cells(8)},
        ElementCase{"IndexNotANumber", Element("KRO_VariableIndex", "abc"), Cells(8)},
        ElementCase{"IndexEmpty", "<KRO_VariableIndex/>", Cells(8)},
        ElementCase{"IndexBeyond32Bits", Element("KRO_VariableIndex", "4294967297"), Cells(8)},
        ElementCase{"IndexWithSignAndZeros", Element("KRO_VariableIndex", "+007"),
                    Only(ColIndex, "7")},
        ElementCase{"KroTypeRegister", Element("KRO_VariableType", "REG"),
                    Only(ColKroType, "Register")},
        ElementCase{"KroTypeCoil", Element("KRO_VariableType", "COIL"), Only(ColKroType, "Coil")},
        ElementCase{"KroTypeLabelIsNoCode", Element("KRO_VariableType", "Register"), Cells(8)},
        ElementCase{"KroTypeLowerCase", Element("KRO_VariableType", "reg"), Cells(8)},
        ElementCase{"RuleNone", Element("KRO_Conversion_Rule", "No Conv"),
                    Only(ColConversionRule, "None")},
        ElementCase{"RuleAdd", Element("KRO_Conversion_Rule", "+"), Only(ColConversionRule, "Add")},
        ElementCase{"RuleSubtract", Element("KRO_Conversion_Rule", "-"),
                    Only(ColConversionRule, "Subtract")},
        ElementCase{"RuleMultiply", Element("KRO_Conversion_Rule", "*"),
                    Only(ColConversionRule, "Multiply")},
        ElementCase{"RuleDivide", Element("KRO_Conversion_Rule", "/"),
                    Only(ColConversionRule, "Divide")},
        ElementCase{"RuleLabelIsNoCode", Element("KRO_Conversion_Rule", "None"), Cells(8)},
        ElementCase{"RuleLowerCase", Element("KRO_Conversion_Rule", "no conv"), Cells(8)},
        ElementCase{"ValueLowest", Element("KRO_Conversion_Scale", "0"),
                    Only(ColConversionScale, "0")},
        ElementCase{"ValueHighest", Element("KRO_Conversion_Scale", "32767"),
                    Only(ColConversionScale, "32767")},
        ElementCase{"ValueAboveRange", Element("KRO_Conversion_Scale", "32768"), Cells(8)},
        ElementCase{"ValueNegative", Element("KRO_Conversion_Scale", "-1"), Cells(8)},
        ElementCase{"ValueEmpty", "<KRO_Conversion_Scale></KRO_Conversion_Scale>", Cells(8)},
        // The reader takes a value whatever the rule.
        ElementCase{"ValueUnderRuleNone",
                    Element("KRO_Conversion_Rule", "No Conv") +
                        Element("KRO_Conversion_Scale", "5"),
                    {"", "", "", "", "", "", "None", "5"}},
        ElementCase{"Address", Address101, Only(ColAddress, "1/0/1")},
        ElementCase{"AddressLowest", Line("0") + Group("0") + Field("1"),
                    Only(ColAddress, "0/0/1")},
        ElementCase{"AddressHighest", Line("15") + Group("7") + Field("255"),
                    Only(ColAddress, "15/7/255")},
        ElementCase{"AddressPartsInAnyOrder", Field("9") + Line("2") + Group("3"),
                    Only(ColAddress, "2/3/9")},
        ElementCase{"AddressWithZeros", Line("01") + Group("+0") + Field("010"),
                    Only(ColAddress, "1/0/10")},
        ElementCase{"LineOutOfRangeLeavesOtherCells",
                    Line("16") + Group("0") + Field("1") + Element("DatapointName", "n"),
                    Only(ColName, "n")},
        ElementCase{"GroupOutOfRange", Line("1") + Group("8") + Field("1"), Cells(8)},
        ElementCase{"FieldZero", Line("1") + Group("0") + Field("0"), Cells(8)},
        ElementCase{"FieldAboveRange", Line("1") + Group("0") + Field("256"), Cells(8)},
        ElementCase{"LineNotANumber", Line("x") + Group("0") + Field("1"), Cells(8)},
        ElementCase{"FieldMissing", Line("1") + Group("0"), Cells(8)},
        ElementCase{"LineOutOfRangeThenValid", Line("16") + Address101, Only(ColAddress, "1/0/1")},
        ElementCase{"LineValidThenOutOfRange", Address101 + Line("16"), Cells(8)},
        ElementCase{"LineValidThenNotANumber", Address101 + Line("x"), Only(ColAddress, "1/0/1")},
        ElementCase{"LastAcceptedDirectionWins",
                    Element("DatapointDirection", "IN") + Element("DatapointDirection", "OUT") +
                        Element("DatapointDirection", "out"),
                    Only(ColDirection, "OUT")},
        ElementCase{"LastAcceptedIndexWins",
                    Element("KRO_VariableIndex", "5") + Element("KRO_VariableIndex", "6") +
                        Element("KRO_VariableIndex", "0"),
                    Only(ColIndex, "6")},
        ElementCase{"LastTypeCodeWins",
                    Element("DatapointTypeCode", "01.001") + Element("DatapointTypeCode", "09.001"),
                    Only(ColType, "Float 16 bit")},
        ElementCase{"LastNameWinsEvenEmpty", Element("DatapointName", "first") + "<DatapointName/>",
                    Cells(8)},
        ElementCase{"OtherNodesAndElementsIgnored",
                    "\n  <!-- IN -->\n  <?pi IN?>" + Element("Enabled", "True") +
                        Element("Direction", "IN") + Element("datapointdirection", "IN") +
                        "<KRO_Register>1</KRO_Register>" + Element("KRO_DataType", "x"),
                    Cells(8)},
        ElementCase{"WholeRowFromTheWriter",
                    Element("Enabled", "False") + Element("DatapointName", "Hall") +
                        Element("DatapointTypeName", "DPT_Value_Temp") +
                        Element("DatapointTypeCode", "09.001") +
                        Element("DatapointDirection", "OUT") + Element("KRO_VariableIndex", "2") +
                        "<KRO_Register/><KRO_FunctionCode/>" + Element("KRO_VariableType", "REG") +
                        "<KRO_DataType/>" + Element("KRO_Conversion_Rule", "*") +
                        Element("KRO_Conversion_Scale", "10") + Line("1") + Group("0") + Field("2"),
                    {"1/0/2", "Hall", "Float 16 bit", "OUT", "2", "Register", "Multiply", "10"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Which Property elements are rows --------------------------------------------------

struct SelectionCase {
    const char* name;
    std::string devices;
    std::vector<std::string> names; // of the rows read, in order
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderSelection : public ::testing::TestWithParam<SelectionCase> {};

std::string Named(const std::string& name) {
    return Property(Element("DatapointName", name));
}

TEST_P(ReaderSelection, ReadsThePropertiesOfDevicesWithIdOne) {
    Workbench bench;
    bench.SetRows({});
    ASSERT_TRUE(
        FillTableFromProjectText(bench.table, bench.options, ProjectText(GetParam().devices)));
    std::vector<std::string> names;
    for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
        names.push_back(bench.table.GetWideCells(ColName, row));
    }
    EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderSelection,
    ::testing::Values(
        SelectionCase{"NoDevice", "", {}},
        SelectionCase{"DeviceIdTwoIsNotRead",
                      Device(" id=\"2\"", Named("two")) + Device(" id=\"1\"", Named("one")),
                      {"one"}},
        SelectionCase{"TwoDevicesWithIdOne",
                      Device(" id=\"1\"", Named("a") + Named("b")) +
                          Device(" id=\"2\"", Named("x")) + Device(" id=\"1\"", Named("c")),
                      {"a", "b", "c"}},
        // The id is compared as a number.
        SelectionCase{"IdOnePointZero", Device(" id=\"1.0\"", Named("a")), {"a"}},
        SelectionCase{"IdWithZeroAndBlanks", Device(" id=\" 01 \"", Named("a")), {"a"}},
        SelectionCase{"IdNotANumber", Device(" id=\"one\"", Named("a")), {}},
        SelectionCase{"DeviceWithoutId", Device("", Named("a")), {}},
        // The row path names elements in no namespace.
        SelectionCase{"DeviceInANamespace",
                      "<Device xmlns=\"urn:x\" id=\"1\"><Property_Identifiers>" + Named("a") +
                          "</Property_Identifiers></Device>",
                      {}},
        SelectionCase{"DeviceIdInANamespace",
                      "<Device xmlns:x=\"urn:x\" x:id=\"1\"><Property_Identifiers>" + Named("a") +
                          "</Property_Identifiers></Device>",
                      {}},
        SelectionCase{
            "DeviceDeeperDown", "<Other>" + Device(" id=\"1\"", Named("a")) + "</Other>", {}},
        SelectionCase{"PropertyOutsideTheList",
                      "<Device id=\"1\">" + Named("direct") + "<Property_Identifiers>" +
                          Property(Named("nested")) + Named("listed") +
                          "</Property_Identifiers></Device>",
                      {"", "listed"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectReader, WellFormedFileWithoutTheElementsGivesNoRows) {
    Workbench bench;
    bench.SetRows({});
    EXPECT_TRUE(FillTableFromProjectText(bench.table, bench.options, "<Other><Property/></Other>"));
    EXPECT_EQ(bench.table.GetRowCountEx(), 1);
    bench.options.createRow = true;
    EXPECT_TRUE(FillTableFromProjectText(bench.table, bench.options, ProjectText("")));
    EXPECT_EQ(bench.table.GetRowCountEx(), 2);
}

// No row limit applies to a file; the row commands refuse to add rows afterwards.
TEST(ProjectReader, ReadsMoreRowsThanTheCommandsMayAdd) {
    Workbench bench;
    bench.SetRows({});
    std::string properties;
    for (int i = 1; i <= 120; ++i) {
        properties += Property(Element("KRO_VariableIndex", std::to_string(i)));
    }
    ASSERT_TRUE(FillTableFromProjectText(bench.table, bench.options,
                                         ProjectText(Device(" id=\"1\"", properties))));
    ASSERT_EQ(bench.table.GetRowCountEx(), 121);
    EXPECT_EQ(bench.table.GetCellEx(ColIndex, 120), "120");
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 120), "120");

    InsertRowExecute(bench.edit);
    EXPECT_EQ(bench.table.GetRowCountEx(), 121);
    EXPECT_TRUE(bench.messageBox.ShowedOnlyTheRowLimit());
}

// ---- Files written by the writer, read back ---------------------------------------------

class RoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(RoundTrip, GivesBackEveryCellAndTheSpareRow) {
    const bool createRow = GetParam();
    TempFolder temp;
    const std::string path = temp.File("every label.xml");
    {
        Workbench writer;
        writer.SetRows(EveryLabelRows());
        writer.options.createRow = createRow;
        if (createRow) {
            writer.table.InsertRowsAt(writer.table.GetRowCountEx(), 1);
            writer.table.SetCellEx(ColName, writer.table.GetRowCountEx() - 1, "spare, not written");
        }
        ASSERT_TRUE(WriteProjectFile(writer.table, writer.options, writer.messageBox, path));
    }

    Workbench reader;
    reader.options.createRow = createRow;
    reader.options.incrementAddress = true;
    reader.options.incrementIndex = true;
    FileNewExecute(reader.context);
    FileOpen1Accept(reader.context, path);

    EXPECT_TRUE(reader.messageBox.shown.empty());
    const auto everyLabel = EveryLabelRows();
    const int rows = static_cast<int>(everyLabel.size());
    ASSERT_EQ(reader.table.GetRowCountEx(), rows + 1 + (createRow ? 1 : 0));
    for (int row = 1; row <= rows; ++row) {
        EXPECT_EQ(reader.Row(row), everyLabel[static_cast<size_t>(row - 1)]) << "row " << row;
        EXPECT_EQ(reader.table.GetCellEx(ColRowNumber, row), std::to_string(row));
    }
    if (createRow) {
        // The spare row gets the address after the last one and the next index.
        EXPECT_EQ(reader.Row(rows + 1), (Cells{"4/2/7", "", "", "", "9", "", "", ""}));
    }
    EXPECT_EQ(reader.document.FileName, path);
    EXPECT_EQ(reader.window.title, "Marvane Tabrix - " + path);
    EXPECT_FALSE(reader.document.Modified());
    EXPECT_EQ(reader.document.UntitledCounter, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundTrip, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "CreateRowOnEditOn" : "CreateRowOnEditOff");
});

// A large file is read in pieces; a name, an entity reference or a tag may be cut by the
// end of a piece wherever it falls, and must come back whole. 256 KiB is a multiple of
// every power-of-two piece size up to it.
TEST(ProjectReader, ReadsTextCutAnywhereAcrossAPieceBoundary) {
    TempFolder temp;
    const std::string name = "\xF0\x9F\x98\x80\xC3\xA4&amp;<![CDATA[\xCE\xA9]]>";
    const std::string head = Declaration + "<!--";
    const std::string tail =
        "-->\n" + ProjectText(Device(" id=\"1\"", Named(name))).substr(Declaration.size());
    const size_t nameAt = tail.find(name);
    const size_t boundary = size_t(256) << 10;
    for (size_t cut = 0; cut <= name.size() + 24; ++cut) {
        // Pad the comment so that the boundary falls cut bytes before the name's end.
        const size_t padding = boundary + cut - head.size() - nameAt - name.size();
        const std::string text = head + std::string(padding, 'x') + tail;
        WriteFileBytes(temp.File("cut.xml"), text);
        Workbench bench;
        FileNewExecute(bench.context);
        ASSERT_TRUE(ReadProjectFile(bench.context, temp.File("cut.xml"))) << cut;
        ASSERT_EQ(bench.table.GetRowCountEx(), 2) << cut;
        EXPECT_EQ(bench.table.GetWideCells(ColName, 1), "\xF0\x9F\x98\x80\xC3\xA4&\xCE\xA9")
            << "cut " << cut << " before the end of the name";
    }
}

TEST(ProjectReader, ReadsTheWorkedExampleFile) {
    Workbench bench;
    FileNewExecute(bench.context);
    const std::string path = std::string(TABRIX_GOLDEN_DIR) + "/two-rows.xml";
    ASSERT_TRUE(ReadProjectFile(bench.context, path));
    ASSERT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.Row(1), WorkedExampleRows()[0]);
    EXPECT_EQ(bench.Row(2), WorkedExampleRows()[1]);
}

// While Create new row on edit is off, the last property's own row is filled from above.
TEST(ProjectReader, FillsTheLastRowFromTheRowAbove) {
    const std::string text =
        ProjectText(Device(" id=\"1\"", Property(Address101 + Element("KRO_VariableIndex", "4")) +
                                            Property(Element("DatapointName", "second"))));
    for (const bool increment : {false, true}) {
        Workbench bench;
        bench.SetRows({});
        bench.options.incrementAddress = increment;
        bench.options.incrementIndex = increment;
        ASSERT_TRUE(FillTableFromProjectText(bench.table, bench.options, text));
        ASSERT_EQ(bench.table.GetRowCountEx(), 3);
        const Cells filled = {"1/0/2", "second", "", "", "5", "", "", ""};
        EXPECT_EQ(bench.Row(2), increment ? filled : Only(ColName, "second"));
    }
}

// The row that a new document keeps while Create new row on edit is on becomes row 1 and
// keeps what the file does not set.
TEST(ProjectReader, FirstRowKeepsTheCellsOfTheKeptSpareRow) {
    Workbench bench;
    bench.options.createRow = true;
    bench.SetRows({{"9/0/9", "old name", "Boolean", "IN", "3", "Coil", "Add", "4"}});
    ASSERT_TRUE(StartNewDocument(bench.context));
    ASSERT_TRUE(FillTableFromProjectText(
        bench.table, bench.options,
        ProjectText(Device(" id=\"1\"", Property(Element("DatapointName", "new"))))));
    ASSERT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.Row(1), (Cells{"9/0/9", "new", "Boolean", "IN", "3", "Coil", "Add", "4"}));
    EXPECT_EQ(bench.Row(2), Cells(8));
}

// ---- Files that are refused ------------------------------------------------------------

struct RefusedFileCase {
    const char* name;
    std::function<std::string(const TempFolder&)> make; // gives the path to open
};

void PrintTo(const RefusedFileCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedFile : public ::testing::TestWithParam<RefusedFileCase> {};

TEST_P(RefusedFile, ShowsTheMessageQuicklyAndLeavesAnEmptyUntitledDocument) {
    TempFolder temp;
    const std::string path = GetParam().make(temp);
    Workbench bench;
    FileNewExecute(bench.context);
    bench.SetRows(WorkedExampleRows());

    ::alarm(10); // nothing here may block; end the run rather than hang
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(StartNewDocument(bench.context));
    const bool read = ReadProjectFile(bench.context, path);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ::alarm(0);

    EXPECT_FALSE(read);
    EXPECT_LT(elapsed, std::chrono::milliseconds(100));
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].text, "Unable to open file " + path);
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Error opening file");
    EXPECT_EQ(bench.messageBox.shown[0].flags, MbOk);
    EXPECT_EQ(bench.table.GetRowCountEx(), 1);
    EXPECT_EQ(bench.document.FileName, "");
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled2");
    EXPECT_FALSE(bench.document.Modified());
}

std::string FileWith(const TempFolder& temp, const std::string& bytes) {
    WriteFileBytes(temp.File("file.xml"), bytes);
    return temp.File("file.xml");
}

// A project text with a document type whose internal subset comes first.
std::string WithDoctype(const std::string& subset, const std::string& name) {
    return Declaration + "<!DOCTYPE GatewayParameters [" + subset +
           "]>\n<GatewayParameters><KonnexDevices>" +
           Device(" id=\"1\"", Property(Element("DatapointName", name))) +
           "</KonnexDevices></GatewayParameters>\n";
}

std::string WithDoctype(const EntityAttack& attack) {
    return WithDoctype(attack.subset, attack.reference);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedFile,
    ::testing::Values(
        RefusedFileCase{"MissingFile", [](const TempFolder& t) { return t.File("missing.xml"); }},
        RefusedFileCase{"Folder",
                        [](const TempFolder& t) {
                            ::mkdir(t.File("folder.xml").c_str(), 0755);
                            return t.File("folder.xml");
                        }},
        RefusedFileCase{"Fifo",
                        [](const TempFolder& t) {
                            ::mkfifo(t.File("fifo.xml").c_str(), 0600);
                            return t.File("fifo.xml");
                        }},
        RefusedFileCase{"EmptyFile", [](const TempFolder& t) { return FileWith(t, ""); }},
        RefusedFileCase{"NotXml",
                        [](const TempFolder& t) { return FileWith(t, "Group address;Name\n"); }},
        RefusedFileCase{"TruncatedDocument",
                        [](const TempFolder& t) {
                            const std::string whole =
                                ReadFileBytes(std::string(TABRIX_GOLDEN_DIR) + "/two-rows.xml");
                            return FileWith(t, whole.substr(0, whole.size() / 2));
                        }},
        RefusedFileCase{"InvalidUtf8",
                        [](const TempFolder& t) {
                            return FileWith(t, ProjectText(Device(" id=\"1\"", Named("M\xFC"
                                                                                     "ller"))));
                        }},
        // The writer never writes a document type; any is refused before it is processed.
        RefusedFileCase{"HarmlessDoctype",
                        [](const TempFolder& t) { return FileWith(t, WithDoctype("", "a")); }},
        RefusedFileCase{
            "BillionLaughs",
            [](const TempFolder& t) { return FileWith(t, WithDoctype(BillionLaughs())); }},
        RefusedFileCase{
            "QuadraticBlowUp",
            [](const TempFolder& t) { return FileWith(t, WithDoctype(QuadraticBlowUp())); }},
        RefusedFileCase{"ExternalEntity",
                        [](const TempFolder& t) {
                            WriteFileBytes(t.File("secret"), "secret");
                            return FileWith(t, WithDoctype("<!ENTITY x SYSTEM \"file://" +
                                                               t.File("secret") + "\">",
                                                           "&x;"));
                        }},
        RefusedFileCase{"ExternalDtd",
                        [](const TempFolder& t) {
                            WriteFileBytes(t.File("evil.dtd"), "<!ENTITY x \"evil\">");
                            return FileWith(t, Declaration +
                                                   "<!DOCTYPE GatewayParameters SYSTEM \"" +
                                                   t.File("evil.dtd") + "\"><GatewayParameters/>");
                        }},
        // Would be a valid project of many rows once inflated; the reader must not inflate it.
        RefusedFileCase{"GzipOfALargeDocument",
                        [](const TempFolder& t) {
                            std::string properties;
                            const std::string one = Named("row");
                            properties.reserve(one.size() * 100000);
                            for (int i = 0; i < 100000; ++i) {
                                properties += one;
                            }
                            WriteFileBytes(t.File("large.xml"),
                                           ProjectText(Device(" id=\"1\"", properties)));
                            const std::string command = "gzip -1 -c '" + t.File("large.xml") +
                                                        "' > '" + t.File("large.xml.gz") + "'";
                            EXPECT_EQ(std::system(command.c_str()), 0);
                            ::unlink(t.File("large.xml").c_str());
                            return t.File("large.xml.gz");
                        }},
        RefusedFileCase{"TextAfterTheRoot",
                        [](const TempFolder& t) { return FileWith(t, ProjectText("") + "tail"); }},
        RefusedFileCase{"SecondRoot",
                        [](const TempFolder& t) {
                            return FileWith(t, ProjectText("") + "<GatewayParameters/>");
                        }},
        RefusedFileCase{"DeepNesting",
                        [](const TempFolder& t) {
                            std::string open;
                            std::string close;
                            for (int i = 0; i < 100000; ++i) {
                                open += "<a>";
                                close += "</a>";
                            }
                            return FileWith(
                                t, ProjectText(Device(" id=\"1\"", Property(open + close))));
                        }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The bounds on what a file may make the reader hold ---------------------------------

struct LimitCase {
    const char* name;
    ScanLimits limits;
    std::string text;
    std::string failure; // after the path; nothing when the file loads
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ReaderLimits, LoadUpToTheLimitAndRefuseBeyondItWithTheReason) {
    TempFolder temp;
    const std::string path = FileWith(temp, GetParam().text);
    Workbench bench;
    FileNewExecute(bench.context);
    ASSERT_TRUE(StartNewDocument(bench.context));

    const bool read = ReadProjectFile(bench.context, path, GetParam().limits);

    if (GetParam().failure.empty()) {
        EXPECT_TRUE(read);
        EXPECT_TRUE(bench.messageBox.shown.empty());
        EXPECT_EQ(bench.table.GetRowCountEx(), 4);
    } else {
        EXPECT_FALSE(read);
        ASSERT_EQ(bench.messageBox.shown.size(), 1u);
        EXPECT_EQ(bench.messageBox.shown[0].text,
                  "Unable to open file " + path + GetParam().failure);
        EXPECT_EQ(bench.messageBox.shown[0].caption, "Error opening file");
        EXPECT_EQ(bench.table.GetRowCountEx(), 1); // nothing of the refused file is kept
        EXPECT_EQ(bench.document.FileName, "");
    }
}

const std::string ThreeRows =
    ProjectText(Device(" id=\"1\"", Named("a") + Named("b") + Named("c")));
// Empty elements cost the file the least bytes per row.
const std::string FourEmptyRows =
    ProjectText(Device(" id=\"1\"", "<Property/><Property/><Property/><Property/>"));

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderLimits,
    ::testing::Values(LimitCase{"RowsAtTheLimit", {3, 1 << 20}, ThreeRows, ""},
                      LimitCase{"RowsBeyondTheLimit",
                                {3, 1 << 20},
                                FourEmptyRows,
                                ": it holds more than 3 rows."},
                      LimitCase{"BytesAtTheLimit",
                                {3, 1 << 20},
                                ThreeRows + std::string((1 << 20) - ThreeRows.size(), ' '),
                                ""},
                      LimitCase{"BytesBeyondTheLimit",
                                {3, 1 << 20},
                                ThreeRows + std::string((1 << 20) + 1 - ThreeRows.size(), ' '),
                                ": it is larger than 1 MiB."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
