#include "clipboard/ClipboardRows.h"
#include "FakeServices.h"
#include "HostileXml.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

using Cells = std::vector<std::string>;

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string Root = "marvanezerezoderadazavodoclip";

std::string RowDocument(const std::string& rows) {
    return "<" + Root + ">" + rows + "</" + Root + ">";
}

// ---- Writing ---------------------------------------------------------------------------

TEST(ClipboardRows, WritesOneRowAsDeclarationAndOneLine) {
    Workbench bench;
    bench.SetRows(
        {{"1/0/1", "A&B <C> \xC3\xA4\xCE\xA9", "Boolean", "IN", "1", "Coil", "None", ""}});
    EXPECT_EQ(WriteClipboardRows(bench.table, 1, 1),
              Declaration +
                  "<marvanezerezoderadazavodoclip><row><Address>1/0/1</Address>"
                  "<Name>A&amp;B &lt;C&gt; \xC3\xA4\xCE\xA9</Name><Type>Boolean</Type>"
                  "<Direction>IN</Direction><Index>1</Index><KROType>Coil</KROType>"
                  "<ConversionRule>None</ConversionRule><ConversionScale></ConversionScale>"
                  "</row></marvanezerezoderadazavodoclip>");
}

TEST(ClipboardRows, WritesTheChosenRowsInOrderAndEmptyCellsAsEmptyElements) {
    Workbench bench;
    bench.SetRows(
        {{"1/0/1"}, {"1/0/2", "b"}, {"1/0/3", "", "", "", "", "", "Add", "5"}, {"1/0/4"}});
    const std::string empty6 = "<Type></Type><Direction></Direction><Index></Index>"
                               "<KROType></KROType>";
    EXPECT_EQ(WriteClipboardRows(bench.table, 2, 3),
              Declaration + RowDocument("<row><Address>1/0/2</Address><Name>b</Name>" + empty6 +
                                        "<ConversionRule></ConversionRule>"
                                        "<ConversionScale></ConversionScale></row>"
                                        "<row><Address>1/0/3</Address><Name></Name>" +
                                        empty6 +
                                        "<ConversionRule>Add</ConversionRule>"
                                        "<ConversionScale>5</ConversionScale></row>"));
}

// What one running copy writes, another recognises and applies to the same cells.
TEST(ClipboardRows, RowsComeBackUnchangedInAnotherDocument) {
    const std::vector<Cells> rows = {
        {"15/7/255", "\xC3\x9C & <\xCE\xB1> \xD0\xAF \xF0\x9F\x98\x80", "Float 16 bit", "OUT",
         "10001", "Register", "Multiply", "32767"},
        {"0/0/1", "plain", "Signed 8 bit", "IN", "1", "Coil", "None", ""},
    };
    Workbench source;
    source.SetRows(rows);
    const std::string text = WriteClipboardRows(source.table, 1, 2);

    Workbench target;
    target.SetRows({{}, {}});
    const auto parsed = ParseClipboardRows(text);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->RowCount(), 2u);
    ApplyClipboardRow(target.edit, parsed->Row(0), 1);
    ApplyClipboardRow(target.edit, parsed->Row(1), 2);
    EXPECT_EQ(target.Row(1), rows[0]);
    EXPECT_EQ(target.Row(2), rows[1]);
    EXPECT_TRUE(target.document.Modified());
}

// ---- Recognising -----------------------------------------------------------------------

struct RecognitionCase {
    const char* name;
    std::function<std::string()> text; // made when the case runs: some are large
    bool recognised;
};

std::function<std::string()> Fixed(const std::string& text) {
    return [text] { return text; };
}

void PrintTo(const RecognitionCase& c, std::ostream* os) {
    *os << c.name;
}

class Recognition : public ::testing::TestWithParam<RecognitionCase> {};

TEST_P(Recognition, TellsARowDocumentFromOtherText) {
    const std::string text = GetParam().text();
    const auto start = std::chrono::steady_clock::now();
    const bool recognised = ParseClipboardRows(text).has_value();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(recognised, GetParam().recognised);
    if (!GetParam().recognised) { // a refusal, hostile texts above all, comes at once
        EXPECT_LT(elapsed, std::chrono::milliseconds(100));
    }
}

std::string WithSubset(const std::string& subset, const std::string& name) {
    return Declaration + "<!DOCTYPE " + Root + " [" + subset + "]>" +
           RowDocument("<row><Name>" + name + "</Name></row>");
}

std::string WithSubset(const EntityAttack& attack) {
    return WithSubset(attack.subset, attack.reference);
}

// A row document padded with blanks to exactly size bytes.
std::string RowDocumentOfSize(size_t size) {
    const std::string open = "<" + Root + "><row><Name>x</Name></row>";
    const std::string close = "</" + Root + ">";
    return open + std::string(size - open.size() - close.size(), ' ') + close;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Recognition,
    ::testing::Values(
        RecognitionCase{"WithDeclaration", Fixed(Declaration + RowDocument("<row/>")), true},
        RecognitionCase{"WithoutDeclaration", Fixed(RowDocument("")), true},
        RecognitionCase{"LowerCaseEncoding",
                        Fixed("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + RowDocument("<row/>")),
                        true},
        RecognitionCase{"EmptyText", Fixed(""), false},
        RecognitionCase{"PlainText", Fixed("Hall light"), false},
        RecognitionCase{"BareRootNameAsText", Fixed(Root), false},
        RecognitionCase{"AnotherRoot", Fixed(Declaration + "<GatewayParameters/>"), false},
        RecognitionCase{"RootInOtherCase",
                        Fixed("<Marvanezerezoderadazavodoclip></Marvanezerezoderadazavodoclip>"),
                        false},
        RecognitionCase{"CommentBeforeRoot", Fixed(Declaration + "<!-- rows -->" + RowDocument("")),
                        false},
        RecognitionCase{"InstructionBeforeRoot", Fixed("<?pi x?>" + RowDocument("")), false},
        RecognitionCase{"NotWellFormed", Fixed("<" + Root + "><row></" + Root + ">"), false},
        RecognitionCase{"TextAfterRoot", Fixed(RowDocument("") + "tail"), false},
        RecognitionCase{"InvalidUtf8", Fixed(RowDocument("<row><Name>\xC3</Name></row>")), false},
        RecognitionCase{"HarmlessDoctype", Fixed(WithSubset("", "x")), false},
        RecognitionCase{"BillionLaughs", [] { return WithSubset(BillionLaughs()); }, false},
        RecognitionCase{"QuadraticBlowUp", [] { return WithSubset(QuadraticBlowUp()); }, false},
        RecognitionCase{"ExternalEntity", [] { return WithSubset(ExternalEntity()); }, false},
        RecognitionCase{"AtTheSizeLimit",
                        [] { return RowDocumentOfSize(MaxClipboardDocumentBytes); }, true},
        RecognitionCase{"AboveTheSizeLimit",
                        [] { return RowDocumentOfSize(MaxClipboardDocumentBytes + 1); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The rows are the element children of the root, whatever their names.
TEST(ClipboardRows, RowElementsAreTheElementChildrenOfTheRoot) {
    const auto rows = ParseClipboardRows(Declaration + "<" + Root +
                                         ">\n  <row><Name>a</Name></row>\n  <!-- note -->\n"
                                         "  <item><Name>b</Name></item>\n  <row/>\n</" +
                                         Root + ">\n");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->RowCount(), 3u);
    ASSERT_EQ(rows->Row(0).size(), 1u);
    EXPECT_EQ(rows->Row(0)[0].text, "a");
    ASSERT_EQ(rows->Row(1).size(), 1u);
    EXPECT_EQ(rows->Row(1)[0].text, "b");
    EXPECT_TRUE(rows->Row(2).empty());
}

// ---- Applying one row element ----------------------------------------------------------

struct ApplyCase {
    const char* name;
    Cells before;
    std::string fields; // the children of the row element
    Cells after;
};

void PrintTo(const ApplyCase& c, std::ostream* os) {
    *os << c.name;
}

class ApplyRow : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyRow, AppliesTheFieldsInDocumentOrderThroughTheValidators) {
    const ApplyCase& c = GetParam();
    Workbench bench;
    bench.SetRows({c.before});
    const auto rows = ParseClipboardRows(RowDocument("<row>" + c.fields + "</row>"));
    ASSERT_TRUE(rows);
    ApplyClipboardRow(bench.edit, rows->Row(0), 1);
    EXPECT_EQ(bench.Row(1), c.after);
    EXPECT_EQ(bench.table.GetRowCountEx(), 2);
}

const Cells Full = {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "Add", "3"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyRow,
    ::testing::Values(
        ApplyCase{"EveryFieldIntoAnEmptyRow",
                  Cells(8),
                  "<Address> 02/0/9 trailing</Address><Name>n</Name><Type>Boolean</Type>"
                  "<Direction>OUT</Direction><Index>007</Index><KROType>Register</KROType>"
                  "<ConversionRule>Divide</ConversionRule><ConversionScale>2</ConversionScale>",
                  {"2/0/9", "n", "Boolean", "OUT", "7", "Register", "Divide", "2"}},
        // The value is checked against the rule the row holds when the value comes.
        ApplyCase{"ValueBeforeRuleCheckedAgainstTheOldRule",
                  Full,
                  "<ConversionScale>5</ConversionScale><ConversionRule>None</ConversionRule>",
                  {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "None", "5"}},
        ApplyCase{"ValueBeforeRuleRefusedUnderOldNone",
                  {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "None", ""},
                  "<ConversionScale>5</ConversionScale><ConversionRule>Add</ConversionRule>",
                  {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "Add", ""}},
        ApplyCase{"RuleThenValue",
                  {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "None", ""},
                  "<ConversionRule>Add</ConversionRule><ConversionScale>5</ConversionScale>",
                  {"1/0/1", "name", "Boolean", "IN", "4", "Coil", "Add", "5"}},
        ApplyCase{"EmptyFieldsKeepTheCells", Full,
                  "<Address></Address><Name/><Type></Type><Direction/><Index></Index>"
                  "<KROType/><ConversionRule></ConversionRule><ConversionScale/>",
                  Full},
        ApplyCase{"NamesAreCaseSensitive", Full,
                  "<address>2/0/1</address><NAME>x</NAME><type>Float 16 bit</type>", Full},
        ApplyCase{
            "RefusedValuesDroppedOneByOne",
            Full,
            "<Address>16/0/1</Address><Type>Bool</Type><Direction>OUT</Direction>"
            "<Index>0</Index><KROType>Register</KROType><ConversionScale>32768</ConversionScale>",
            {"1/0/1", "name", "Boolean", "OUT", "4", "Register", "Add", "3"}},
        ApplyCase{"FieldTwiceAppliedInOrder",
                  Full,
                  "<Direction>OUT</Direction><Direction>IN</Direction><Index>5</Index>"
                  "<Index>x</Index>",
                  {"1/0/1", "name", "Boolean", "IN", "5", "Coil", "Add", "3"}},
        ApplyCase{"OtherNodesIgnored", Full,
                  " text <!-- <Index>9</Index> --><?pi x?><Row><Index>8</Index></Row>"
                  "<Foo>OUT</Foo>",
                  Full},
        ApplyCase{"NameFromAllItsText",
                  Full,
                  "<Name>a &amp; &lt;b&gt; <i>c</i><![CDATA[&d]]> \xCE\xA9</Name>",
                  {"1/0/1", "a & <b> c&d \xCE\xA9", "Boolean", "IN", "4", "Coil", "Add", "3"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
