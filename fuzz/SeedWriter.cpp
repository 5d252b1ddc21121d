// Writes the generated seeds of fuzz/corpus: files and row documents as the program writes
// them, edge cases of both formats, and hostile documents. Each project seed starts with
// the options byte of the project targets, each clipboard seed with the two bytes of the
// paste target. Usage: fuzz_seed_writer CORPUS_FOLDER GOLDEN_FOLDER

#include "clipboard/ClipboardRows.h"
#include "FuzzSupport.h"
#include "project/ProjectWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Cells = std::vector<std::string>;

fs::path corpus;

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(corpus / folder);
    std::ofstream out(corpus / folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        fuzz::Fail("cannot write " + (corpus / folder / name).string());
    }
}

std::string Byte(int value) {
    return std::string(1, static_cast<char>(value));
}

void Project(const std::string& name, int options, const std::string& file) {
    Write("project", "seed-" + name, Byte(options) + file);
}

// paste: options, whole rows (8) and table kind (16 * kind); place: row and column.
void Clipboard(const std::string& name, int paste, int place, const std::string& text) {
    Write("clipboard", "seed-" + name, Byte(paste) + Byte(place) + text);
}

void Address(const std::string& name, const std::string& text) {
    Write("group-address", "seed-" + name, text);
}

void SetRows(MappingTable& table, const std::vector<Cells>& rows) {
    table.SetRowCountEx(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            table.SetCellEx(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
        }
    }
    RenumberRows(table);
}

std::string ProjectFileOf(const std::vector<Cells>& rows) {
    MappingTable table;
    SetRows(table, rows);
    return BuildProjectDocument(table, fuzz::Options());
}

std::string RowDocumentOf(const std::vector<Cells>& rows) {
    MappingTable table;
    SetRows(table, rows);
    return WriteClipboardRows(table, 1, static_cast<int>(rows.size()));
}

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string Root = "marvanezerezoderadazavodoclip";

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + text + "</" + name + ">";
}

std::string Property(const std::string& children) {
    return "<Property id=\" general\">" + children + "</Property>";
}

std::string Address3(const std::string& line, const std::string& group, const std::string& field) {
    return Element("Knx_DataPoint_Line_Address", line) +
           Element("Knx_Datapoint_GroupAddress", group) +
           Element("Knx_Datapoint_Z_FieldAddress", field);
}

std::string Devices(const std::string& devices) {
    return Declaration + "<GatewayParameters><KonnexDevices>" + devices +
           "</KonnexDevices></GatewayParameters>\n";
}

std::string OneDevice(const std::string& properties) {
    return Devices("<Device id=\"1\"><Property_Identifiers>" + properties +
                   "</Property_Identifiers></Device>");
}

std::string RowDocument(const std::string& rows) {
    return "<" + Root + ">" + rows + "</" + Root + ">";
}

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

// Ten levels of ten references each: a thousand million "lol" once expanded.
std::string LaughsSubset() {
    std::string subset = "<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 10; ++i) {
        subset += "<!ENTITY l" + std::to_string(i) + " \"" +
                  Repeat("&l" + std::to_string(i - 1) + ";", 10) + "\">";
    }
    return subset;
}

std::string QuadraticSubset() {
    return "<!ENTITY a \"" + std::string(2000, 'a') + "\">";
}

std::string ProjectWithSubset(const std::string& subset, const std::string& name) {
    return Declaration + "<!DOCTYPE GatewayParameters [" + subset + "]>\n" +
           "<GatewayParameters><KonnexDevices><Device id=\"1\"><Property_Identifiers>" +
           Property(Element("DatapointName", name) + Address3("1", "0", "1")) +
           "</Property_Identifiers></Device></KonnexDevices></GatewayParameters>\n";
}

std::string RowsWithSubset(const std::string& subset, const std::string& name) {
    return Declaration + "<!DOCTYPE " + Root + " [" + subset + "]>" +
           RowDocument("<row><Address>1/0/1</Address><Name>" + name + "</Name></row>");
}

std::string Nested(const std::string& name, int depth, const std::string& inner) {
    return Repeat("<" + name + ">", depth) + inner + Repeat("</" + name + ">", depth);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fuzz::Fail("cannot read " + path.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ProjectSeeds(const fs::path& golden) {
    for (const auto& entry : fs::directory_iterator(golden)) {
        const std::string stem = entry.path().stem().string();
        const std::string file = ReadFile(entry.path());
        Project("golden-" + stem, 0, file);
        Project("golden-" + stem + "-all-options", 7, file);
    }
    Project("every-label", 3, ProjectFileOf(EveryLabelRows()));
    Project("every-label-spare-row", 7, ProjectFileOf(EveryLabelRows()));

    Project(
        "codes-in-other-forms", 0,
        OneDevice(
            Property(Element("DatapointTypeName", "DPT_Switch") +
                     Element("DatapointTypeCode", "1.001") + Element("DatapointDirection", " IN") +
                     Element("KRO_VariableType", "Register") +
                     Element("KRO_Conversion_Rule", "None") + Address3("1", "0", "1")) +
            Property(Element("DatapointDirection", "in") + Element("KRO_VariableType", "reg") +
                     Element("KRO_Conversion_Rule", "no conv"))));
    Project("number-forms", 3,
            OneDevice(
                Property(Element("KRO_VariableIndex", "+5") +
                         Element("KRO_Conversion_Scale", "32767") + Address3("+15", "007", "-0")) +
                Property(Element("KRO_VariableIndex", "0x10") +
                         Element("KRO_Conversion_Scale", "32768") + Address3("16", "7", "255")) +
                Property(Element("KRO_VariableIndex", " 7") +
                         Element("KRO_Conversion_Scale", "-1") + Address3("1", "x", "1")) +
                Property(Element("KRO_VariableIndex", "10002") +
                         Element("KRO_Conversion_Scale", "") + Address3("2147483648", "0", "256")) +
                Property(Element("KRO_VariableIndex", "10001") +
                         Element("KRO_Conversion_Scale", "0") + Address3("0", "0", "1"))));
    Project("devices", 0,
            Devices("<Device id=\"2\"><Property_Identifiers>" +
                    Property(Element("DatapointName", "two")) +
                    "</Property_Identifiers></Device><Device id=\"1.0\"><Property_Identifiers>" +
                    Property(Element("DatapointName", "one")) +
                    "</Property_Identifiers></Device><Device><Property_Identifiers>" +
                    Property(Element("DatapointName", "none")) +
                    "</Property_Identifiers></Device><Device id=\" 01 \">" +
                    Property(Element("DatapointName", "outside")) + "<Property_Identifiers>" +
                    Property(Element("DatapointName", "again")) +
                    "</Property_Identifiers></Device>"));
    Project(
        "repeated-elements", 1,
        OneDevice(Property(Address3("1", "2", "3") + Element("DatapointName", "first") +
                           Element("DatapointName", "second") + Element("KRO_VariableIndex", "4") +
                           Element("KRO_VariableIndex", "zero") +
                           Element("Knx_DataPoint_Line_Address", "99")) +
                  Property(Element("KRO_Conversion_Rule", "+") +
                           Element("KRO_Conversion_Rule", "/") + Address3("1", "2", "4"))));
    Project(
        "markup", 0,
        OneDevice(Property("<!-- note --><?pi data?>" +
                           Element("DatapointName", "<![CDATA[a <b> & c]]>&amp;&#x1F600;&#13;") +
                           "<DatapointDirection>O<!-- x -->UT</DatapointDirection>" +
                           Element("KRO_VariableIndex", "<i>1</i>2") + Address3("1", "0", "1")) +
                  "<x:Property xmlns:x=\"urn:x\">" + Element("x:DatapointName", "ns") +
                  "</x:Property>" +
                  "<Property>\n  <DatapointName>\n spaced \n</DatapointName>\n</Property>"));
    Project("byte-order-mark", 0, "\xEF\xBB\xBF" + ProjectFileOf(WorkedExampleRows()));
    Project("latin-1", 0,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><GatewayParameters><KonnexDevices>"
            "<Device id=\"1\"><Property_Identifiers><Property><DatapointName>M\xFCller"
            "</DatapointName></Property></Property_Identifiers></Device></KonnexDevices>"
            "</GatewayParameters>");
    {
        const std::string ascii = OneDevice(Property(Element("DatapointName", "wide")));
        std::string utf16 = "\xFF\xFE";
        for (const char c : ascii) {
            utf16 += c;
            utf16 += '\0';
        }
        Project("utf-16", 0, utf16);
    }
    Project("empty-properties", 3,
            OneDevice("<Property/><Property></Property><Property> </Property>"));
    Project(
        "last-address-no-successor", 7,
        OneDevice(Property(Address3("15", "7", "255") + Element("KRO_VariableIndex", "10001"))));
    {
        std::string properties;
        for (int i = 1; i <= 120; ++i) {
            properties += Property(Element("KRO_VariableIndex", std::to_string(i)));
        }
        Project("120-properties", 2, OneDevice(properties));
    }
    Project("not-xml", 0, "Group address;Name\n1/0/1;Hall light\n");
    Project("empty", 0, "");
    {
        const std::string whole = ProjectFileOf(WorkedExampleRows());
        Project("truncated", 0, whole.substr(0, whole.size() / 2));
    }

    Project("billion-laughs", 0, ProjectWithSubset(LaughsSubset(), "&l10;"));
    Project("quadratic-blow-up", 0, ProjectWithSubset(QuadraticSubset(), Repeat("&a;", 1000)));
    Project("external-entity", 0,
            ProjectWithSubset("<!ENTITY x SYSTEM \"file:///etc/passwd\">", "&x;"));
    Project("external-dtd", 0,
            Declaration + "<!DOCTYPE GatewayParameters SYSTEM \"file:///etc/passwd\">"
                          "<GatewayParameters/>");
    Project("parameter-entity", 0,
            ProjectWithSubset("<!ENTITY % p SYSTEM \"file:///etc/passwd\">%p;", "a"));
    Project("plain-doctype", 0, ProjectWithSubset("", "a"));
    Project("undeclared-entity", 0, OneDevice(Property(Element("DatapointName", "&x;"))));
    Project("xinclude", 0,
            OneDevice(Property("<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" "
                               "href=\"file:///etc/passwd\" parse=\"text\"/>")));
    Project("deep-nesting-in-name", 0,
            OneDevice(Property("<DatapointName>" + Nested("a", 200, "deep") + "</DatapointName>")));
    Project("deep-nesting-past-limit", 0, OneDevice(Property(Nested("a", 300, ""))));
    Project("invalid-utf-8", 0,
            OneDevice(Property(Element("DatapointName", "M\xC3") +
                               Element("DatapointName", "\xC0\x80") +
                               Element("DatapointName", "\xED\xA0\x80"))));
    Project("nul-in-name", 0,
            OneDevice(Property(Element("DatapointName", std::string("a\0b", 3)))));
    Project("nul-after-root", 0, ProjectFileOf(WorkedExampleRows()) + std::string("\0\0", 2));
    Project("control-character-reference", 0,
            OneDevice(Property(Element("DatapointName", "&#1;") + Address3("1", "0", "1"))));
}

void ClipboardSeeds() {
    Clipboard("rows-worked-example", 0x00, 0x01, RowDocumentOf(WorkedExampleRows()));
    Clipboard("rows-worked-example-over-rows", 0x08, 0x01, RowDocumentOf(WorkedExampleRows()));
    Clipboard("rows-every-label-into-spare-row", 0x27, 0x0F, RowDocumentOf(EveryLabelRows()));
    Clipboard("rows-every-label-over-spare-row", 0x2F, 0x0F, RowDocumentOf(EveryLabelRows()));
    Clipboard("rows-at-the-limit", 0x30, 0x05, RowDocumentOf(EveryLabelRows()));
    Clipboard("rows-over-the-last-row-at-the-limit", 0x3C, 0x0F,
              RowDocumentOf(WorkedExampleRows()));
    Clipboard("rows-into-an-empty-table", 0x07, 0x00, RowDocumentOf(EveryLabelRows()));
    Clipboard("rows-empty-cells", 0x13, 0x02,
              RowDocumentOf({{"1/0/9"}, {}, {"", "", "", "", "", "", "Add", "5"}}));
    Clipboard("rows-fields-in-other-order", 0x10, 0x01,
              Declaration +
                  RowDocument("<row><ConversionScale>7</ConversionScale>"
                              "<ConversionRule>Add</ConversionRule><address>1/0/1</address>"
                              "<Address> 01/ 2/3abc</Address><Unknown>x</Unknown>"
                              "<Index>3</Index><Index>4</Index></row>"));
    Clipboard("rows-labels-in-other-case", 0x10, 0x01,
              RowDocument("<row><Type>BOOLEAN</Type><Direction>in</Direction>"
                          "<KROType>cOIL</KROType><ConversionRule>none</ConversionRule>"
                          "<ConversionScale>9</ConversionScale></row>"));
    Clipboard("rows-refused-values", 0x18, 0x02,
              RowDocument("<row><Address>16/0/1</Address><Type>Bool</Type><Direction>up"
                          "</Direction><Index>0</Index><KROType>Reg</KROType>"
                          "<ConversionRule>Add</ConversionRule><ConversionScale>x"
                          "</ConversionScale></row><row><Index>10002</Index>"
                          "<ConversionScale>32768</ConversionScale></row>"));
    Clipboard("rows-pretty-with-other-children", 0x11, 0x01,
              Declaration + "<" + Root + ">\n  <row><Name>a</Name></row>\n  <!-- note -->\n" +
                  "  <item><Name>b<b>bold</b>&amp;&#xE4;<![CDATA[<c>]]></Name></item>\n  <row/>\n"
                  "  <?pi x?>text\n</" +
                  Root + ">\n");
    Clipboard("rows-many", 0x03, 0x03,
              RowDocument(Repeat("<row><Address>1/0/1</Address><Index>1</Index></row>", 20)));

    Clipboard("text-address", 0x01, 0x01, "1/2/3");
    Clipboard("text-address-loose", 0x01, 0x01, " 01/ 2/3abc");
    Clipboard("text-name", 0x00, 0x11, "Hall \xC3\xA4 light");
    Clipboard("text-type", 0x10, 0x21, "Boolean");
    Clipboard("text-index", 0x12, 0x41, "10001");
    Clipboard("text-scale", 0x10, 0x71, "32767");
    Clipboard("text-root-name", 0x00, 0x11, Root);
    Clipboard("text-other-root", 0x00, 0x01, Declaration + "<GatewayParameters/>");
    Clipboard("text-comment-before-root", 0x00, 0x11,
              Declaration + "<!-- rows -->" + RowDocument("<row><Name>x</Name></row>"));
    Clipboard("text-root-in-other-case", 0x00, 0x11, "<Marvanezerezoderadazavodoclip/>");
    Clipboard("text-tail-after-root", 0x00, 0x11,
              RowDocument("<row><Name>x</Name></row>") + "tail");
    Clipboard("text-empty", 0x00, 0x11, "");

    Clipboard("hostile-billion-laughs", 0x00, 0x11, RowsWithSubset(LaughsSubset(), "&l10;"));
    Clipboard("hostile-quadratic-blow-up", 0x00, 0x11,
              RowsWithSubset(QuadraticSubset(), Repeat("&a;", 1000)));
    Clipboard("hostile-external-entity", 0x00, 0x11,
              RowsWithSubset("<!ENTITY x SYSTEM \"file:///etc/passwd\">", "&x;"));
    Clipboard("hostile-plain-doctype", 0x00, 0x11, RowsWithSubset("", "x"));
    Clipboard("hostile-deep-nesting", 0x08, 0x01,
              RowDocument("<row><Name>" + Nested("a", 300, "deep") + "</Name></row>"));
    Clipboard("hostile-nul-in-document", 0x00, 0x11,
              RowDocument(std::string("<row><Name>a\0b</Name></row>", 28)));
    Clipboard("hostile-nul-after-root", 0x00, 0x11,
              RowDocument("<row><Name>x</Name></row>") + std::string("\0<tail/>", 8));
    Clipboard("hostile-nul-in-text", 0x00, 0x11, std::string("name\0tail", 9));
    Clipboard("hostile-invalid-utf-8-document", 0x00, 0x11,
              RowDocument("<row><Name>M\xC3</Name></row>"));
    Clipboard("hostile-invalid-utf-8-text", 0x00, 0x11, "M\xC3\xFF");
}

void AddressSeeds() {
    const std::pair<const char*, std::string> texts[] = {
        {"plain", "1/2/3"},
        {"blanks-zeros-tail", " 01/ 2/3abc"},
        {"signs", "+1/+2/+3"},
        {"minus-line", "-1/0/1"},
        {"last", "15/7/255"},
        {"first", "0/0/1"},
        {"field-zero", "1/0/0"},
        {"all-bad", "16/8/0"},
        {"two-numbers", "1/2"},
        {"blank", " "},
        {"blank-before-slash", "1 /2/3"},
        {"largest-32-bit", "4294967295/0/1"},
        {"past-32-bit", "99999999999/1/1"},
        {"wraps-to-one", "-4294967295/0/1"},
        {"nul-inside", std::string("1/2\0/3", 6)},
        {"tabs-and-lines", "\t1/\n2/\v3"},
    };
    for (const auto& [name, text] : texts) {
        Address(name, text);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER GOLDEN_FOLDER\n", argv[0]);
        return 2;
    }
    corpus = argv[1];
    ProjectSeeds(argv[2]);
    ClipboardSeeds();
    AddressSeeds();
    return 0;
}
