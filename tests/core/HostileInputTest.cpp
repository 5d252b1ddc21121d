#include "clipboard/ClipboardRows.h"
#include "clipboard/EditCommands.h"
#include "FakeServices.h"
#include "HostileXml.h"
#include "model/RowLimit.h"
#include "project/ProjectReader.h"
#include "Sanitized.h"
#include "UnprivilegedFileUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Cells = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

const std::string GoldenDir = TABRIX_GOLDEN_DIR;

// Long enough for a huge but harmless input, far too short for an expanding bomb; the
// sanitizers slow everything down a few times.
constexpr std::chrono::seconds Quickly(Sanitized ? 5 : 1);

std::string Golden(const std::string& name) {
    return ReadFileBytes(GoldenDir + "/" + name);
}

long PeakRssKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- Opening what is no project file -------------------------------------------------

struct HostilePathCase {
    const char* name;
    // Makes the thing to open in the folder and gives its path.
    std::function<std::string(const TempFolder&)> make;
    bool regularFile = true;
    bool unprivileged = false;
};

void PrintTo(const HostilePathCase& c, std::ostream* os) {
    *os << c.name;
}

// A saved document is open when the hostile path is opened: the refusal must leave the
// saved file as it was and the program able to open it again.
class HostileOpen : public ::testing::TestWithParam<HostilePathCase> {
  protected:
    void SetUp() override {
        FileNewExecute(bench.context);
        bench.SetRows(WorkedExampleRows());
        ASSERT_TRUE(FileSaveAs1Accept(bench.context, saved));
        savedBytes = ReadFileBytes(saved);
    }

    TempFolder temp;
    Workbench bench;
    const std::string saved = temp.File("saved.xml");
    std::string savedBytes;
};

TEST_P(HostileOpen, IsRefusedAndTheSavedDocumentOpensAgain) {
    const HostilePathCase& c = GetParam();
    const std::string path = c.make(temp);
    const std::string before = c.regularFile ? ReadFileBytes(path) : "";
    ::chmod(temp.Path().c_str(), 0755); // the unprivileged user may look inside

    ::alarm(10); // nothing here may block; end the run rather than hang
    const auto start = Clock::now();
    {
        std::optional<UnprivilegedFileUser> user;
        if (c.unprivileged) {
            user.emplace();
        }
        FileOpen1Accept(bench.context, path);
    }
    const auto elapsed = Clock::now() - start;
    ::alarm(0);

    EXPECT_LT(elapsed, Quickly);
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].text, "Unable to open file " + path);
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Error opening file");
    EXPECT_EQ(bench.table.GetRowCountEx(), 1);
    EXPECT_EQ(bench.document.FileName, "");
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled2");
    EXPECT_FALSE(bench.document.Modified());
    if (c.regularFile) {
        EXPECT_EQ(ReadFileBytes(path), before);
    }

    EXPECT_EQ(ReadFileBytes(saved), savedBytes);
    FileOpen1Accept(bench.context, saved);
    EXPECT_EQ(bench.messageBox.shown.size(), 1u);
    ASSERT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.Row(1), WorkedExampleRows()[0]);
    EXPECT_EQ(bench.Row(2), WorkedExampleRows()[1]);
}

std::string FileWith(const TempFolder& temp, const std::string& bytes) {
    WriteFileBytes(temp.File("file.xml"), bytes);
    return temp.File("file.xml");
}

// The two-row project file with the first name replaced by bytes.
std::string TwoRowsNamed(const std::string& bytes) {
    std::string file = Golden("two-rows.xml");
    const std::string name = "Hall light";
    file.replace(file.find(name), name.size(), bytes);
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileOpen,
    ::testing::Values(
        // A whole valid project: only the missing permission can refuse it.
        HostilePathCase{"UnreadableFile",
                        [](const TempFolder& t) {
                            const std::string path = FileWith(t, Golden("two-rows.xml"));
                            ::chmod(path.c_str(), 0);
                            return path;
                        },
                        true, true},
        // Opens as a regular file, then every read fails.
        HostilePathCase{"ReadFails",
                        [](const TempFolder&) { return std::string("/proc/self/mem"); }, false},
        HostilePathCase{"DeviceZero", [](const TempFolder&) { return std::string("/dev/zero"); },
                        false},
        HostilePathCase{"DeviceNull", [](const TempFolder&) { return std::string("/dev/null"); },
                        false},
        HostilePathCase{
            "Socket",
            [](const TempFolder& t) {
                const std::string path = t.File("socket.xml");
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
                ::close(fd);
                return path;
            },
            false},
        HostilePathCase{"SymbolicLinkLoop",
                        [](const TempFolder& t) {
                            ::symlink(t.File("b.xml").c_str(), t.File("a.xml").c_str());
                            ::symlink(t.File("a.xml").c_str(), t.File("b.xml").c_str());
                            return t.File("a.xml");
                        },
                        false},
        // 64 GiB that take no disk: the reader must stop at the first bytes.
        HostilePathCase{"SparseFileOf64GiB",
                        [](const TempFolder& t) {
                            const std::string path = FileWith(t, "");
                            EXPECT_EQ(::truncate(path.c_str(), off_t{64} << 30), 0);
                            return path;
                        },
                        false},
        HostilePathCase{"NulInAName",
                        [](const TempFolder& t) {
                            return FileWith(t, TwoRowsNamed(std::string("Hall\0light", 10)));
                        }},
        HostilePathCase{"NulAfterTheDocument",
                        [](const TempFolder& t) {
                            return FileWith(t, Golden("two-rows.xml") + std::string("\0\0", 2));
                        }},
        HostilePathCase{"OverlongUtf8",
                        [](const TempFolder& t) { return FileWith(t, TwoRowsNamed("\xC0\xA6")); }},
        HostilePathCase{
            "EncodedSurrogate",
            [](const TempFolder& t) { return FileWith(t, TwoRowsNamed("\xED\xA0\x80")); }},
        HostilePathCase{
            "CodePointAboveUnicode",
            [](const TempFolder& t) { return FileWith(t, TwoRowsNamed("\xF4\x90\x80\x80")); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Files without rows, opened and saved again ----------------------------------------

class ReopenedFile : public ::testing::TestWithParam<const char*> {};

// Opening and saving loses nothing: the file comes out byte for byte as it went in.
TEST_P(ReopenedFile, IsWrittenBackByteForByte) {
    TempFolder temp;
    const std::string path = temp.File("project.xml");
    const std::string bytes = Golden(GetParam());
    WriteFileBytes(path, bytes);
    for (const bool spareRow : {false, true}) {
        Workbench bench;
        bench.options.createRow = spareRow;
        FileNewExecute(bench.context);
        FileOpen1Accept(bench.context, path);
        EXPECT_TRUE(bench.messageBox.shown.empty());
        EXPECT_EQ(bench.document.FileName, path);
        SaveExecute(bench.context);
        EXPECT_EQ(ReadFileBytes(path), bytes) << (spareRow ? "with" : "without") << " spare row";
    }
}

INSTANTIATE_TEST_SUITE_P(Golden, ReopenedFile, ::testing::Values("no-rows.xml", "two-rows.xml"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('-')) + "Rows";
                         });

// ---- A million properties --------------------------------------------------------------

struct MillionCase {
    const char* name;
    // The text of property i (counted from 0).
    std::function<std::string(int)> property;
    // The cells that property i gives.
    std::function<Cells(int)> row;
};

void PrintTo(const MillionCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr int Million = 1000000;

// As the program writes it: every element, indented.
std::string WrittenProperty(int i) {
    const auto n = [](int value) { return std::to_string(value); };
    return "    <Property id=\" general\">\n"
           "     <Enabled>False</Enabled>\n"
           "     <DatapointName>row " +
           n(i) +
           "</DatapointName>\n"
           "     <DatapointTypeName>DPT_Value_Temp</DatapointTypeName>\n"
           "     <DatapointTypeCode>09.001</DatapointTypeCode>\n"
           "     <DatapointDirection>OUT</DatapointDirection>\n"
           "     <KRO_VariableIndex>" +
           n(1 + i % 10001) +
           "</KRO_VariableIndex>\n"
           "     <KRO_Register/>\n"
           "     <KRO_FunctionCode/>\n"
           "     <KRO_VariableType>REG</KRO_VariableType>\n"
           "     <KRO_DataType/>\n"
           "     <KRO_Conversion_Rule>*</KRO_Conversion_Rule>\n"
           "     <KRO_Conversion_Scale>" +
           n(i % 32768) +
           "</KRO_Conversion_Scale>\n"
           "     <Knx_DataPoint_Line_Address>" +
           n(i % 16) +
           "</Knx_DataPoint_Line_Address>\n"
           "     <Knx_Datapoint_GroupAddress>" +
           n(i / 16 % 8) +
           "</Knx_Datapoint_GroupAddress>\n"
           "     <Knx_Datapoint_Z_FieldAddress>" +
           n(1 + i / 128 % 255) +
           "</Knx_Datapoint_Z_FieldAddress>\n"
           "    </Property>\n";
}

Cells WrittenRow(int i) {
    const auto n = [](int value) { return std::to_string(value); };
    return {n(i % 16) + "/" + n(i / 16 % 8) + "/" + n(1 + i / 128 % 255),
            "row " + n(i),
            "Float 16 bit",
            "OUT",
            n(1 + i % 10001),
            "Register",
            "Multiply",
            n(i % 32768)};
}

class MillionProperties : public ::testing::TestWithParam<MillionCase> {};

// Either loads or is refused with the message; never more than a few GiB, and written
// straight to the file so that only the reader counts toward the peak.
TEST_P(MillionProperties, LoadOrAreRefusedWithinBoundedMemory) {
    TempFolder temp;
    const std::string path = temp.File("million.xml");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string empty = Golden("no-rows.xml");
        const std::string list = "<Property_Identifiers/>\n";
        const size_t at = empty.find(list);
        std::string chunk = empty.substr(0, at) + "<Property_Identifiers>\n";
        for (int i = 0; i < Million; ++i) {
            chunk += GetParam().property(i);
            if (chunk.size() > (1u << 22)) {
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                chunk.clear();
            }
        }
        chunk += "   </Property_Identifiers>\n" + empty.substr(at + list.size());
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        ASSERT_TRUE(out.flush());
    }

    Workbench bench;
    FileNewExecute(bench.context);
    const auto start = Clock::now();
    FileOpen1Accept(bench.context, path);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long peakMiB = PeakRssKilobytes() / 1024;
    std::printf("%s: %.1f s to open %ju MiB, peak RSS %ld MiB\n", GetParam().name, seconds,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path) >> 20), peakMiB);

    EXPECT_LT(peakMiB, 8 * 1024);
    if (bench.messageBox.shown.empty()) {
        ASSERT_EQ(bench.table.GetRowCountEx(), Million + 1);
        for (const int i : {0, 1, Million / 2, Million - 1}) {
            EXPECT_EQ(bench.Row(i + 1), GetParam().row(i)) << "property " << i;
        }
        EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, Million), std::to_string(Million));
        EXPECT_EQ(bench.document.FileName, path);
    } else {
        // A million rows in 12 MB would take far more memory than the file's size allows.
        ASSERT_EQ(bench.messageBox.shown.size(), 1u);
        EXPECT_EQ(bench.messageBox.shown[0].text,
                  "Unable to open file " + path + ": it holds too many rows for its size.");
        EXPECT_EQ(bench.table.GetRowCountEx(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MillionProperties,
    ::testing::Values(MillionCase{"AsWritten", WrittenProperty, WrittenRow},
                      // The most rows per byte: nothing but the element.
                      MillionCase{"Empty", [](int) { return std::string("<Property/>\n"); },
                                  [](int) { return Cells(ColumnCount - 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Clipboard texts ---------------------------------------------------------------------

enum class Target { WholeRow, AddressCell, NameCell };

struct HostileClipboardCase {
    const char* name;
    // Made when the case runs: the large texts would otherwise be built by every run of
    // the test program, whichever test it runs.
    std::function<std::string()> text;
    Target target;
    // The name the first row has afterwards; empty when nothing may change.
    std::string pastedName = "";
};

void PrintTo(const HostileClipboardCase& c, std::ostream* os) {
    *os << c.name;
}

class HostilePaste : public ::testing::TestWithParam<HostileClipboardCase> {};

// What is no row document is pasted as the text of one cell, and there refused unless
// the cell takes it; a refused paste changes no cell and adds no row.
TEST_P(HostilePaste, ChangesNothingButWhatTheCellTakes) {
    const HostileClipboardCase& c = GetParam();
    Workbench bench;
    bench.SetRows(WorkedExampleRows());
    const std::map<Target, Selection> selections = {
        {Target::WholeRow, {ColAddress, 1, ColConversionScale, 1}},
        {Target::AddressCell, {ColAddress, 1, ColAddress, 1}},
        {Target::NameCell, {ColName, 1, ColName, 1}},
    };
    bench.table.SetSelection(selections.at(c.target));
    bench.clipboard.text = c.text();

    const auto start = Clock::now();
    PasteExecute(bench.edit);
    EXPECT_LT(Clock::now() - start, Quickly);

    Cells first = WorkedExampleRows()[0];
    if (!c.pastedName.empty()) {
        first[ColName - 1] = c.pastedName;
    }
    ASSERT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.Row(1), first);
    EXPECT_EQ(bench.Row(2), WorkedExampleRows()[1]);
    EXPECT_TRUE(bench.messageBox.shown.empty());
}

const std::string Root = "marvanezerezoderadazavodoclip";

std::string RowDocument(const std::string& rows) {
    return "<" + Root + ">" + rows + "</" + Root + ">";
}

std::string NamedRow(const std::string& name) {
    return RowDocument("<row><Name>" + name + "</Name></row>");
}

std::string WithSubset(const std::string& subset, const std::string& name) {
    return "<!DOCTYPE " + Root + " [" + subset + "]>" + NamedRow(name);
}

std::string WithSubset(const EntityAttack& attack) {
    return WithSubset(attack.subset, attack.reference);
}

// gzip -9n of NamedRow("x").
const std::string GzippedRowDocument(
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3\xc9\x4d\x2c\x2a\x4b\xcc\x4b\xad\x4a\x2d\x4a"
    "\xad\xca\x4f\x49\x2d\x4a\x4c\x49\xac\x4a\x2c\xcb\x4f\xc9\x4f\xce\xc9\x2c\xb0\xb3\x29\xca"
    "\x2f\xb7\xb3\xf1\x4b\xcc\x4d\xb5\xab\xb0\xd1\x07\xd3\x36\xfa\x60\x31\x7d\xfc\x1a\x01\x8d"
    "\x06\xa8\xe8\x58\x00\x00\x00",
    73);

INSTANTIATE_TEST_SUITE_P(
    Cases, HostilePaste,
    ::testing::Values(
        HostileClipboardCase{"NulInPlainText", [] { return std::string("Hall\0light", 10); },
                             Target::NameCell},
        // The parser must not stop at the NUL and take the rest for the end of the text.
        HostileClipboardCase{"NulAfterARowDocument",
                             [] { return NamedRow("pasted") + std::string("\0<tail/>", 8); },
                             Target::NameCell},
        HostileClipboardCase{"NulInARowDocument", [] { return NamedRow(std::string("a\0b", 3)); },
                             Target::WholeRow},
        HostileClipboardCase{"InvalidUtf8PlainText",
                             [] { return std::string("M\xC3\xBC\xFCller"); }, Target::NameCell},
        HostileClipboardCase{"InvalidUtf8RowDocument",
                             [] {
                                 return NamedRow("M\xFC"
                                                 "ller");
                             },
                             Target::WholeRow},
        HostileClipboardCase{"DoctypeRowDocument", [] { return WithSubset("", "x"); },
                             Target::WholeRow},
        HostileClipboardCase{"BillionLaughs", [] { return WithSubset(BillionLaughs()); },
                             Target::WholeRow},
        HostileClipboardCase{"QuadraticBlowUp", [] { return WithSubset(QuadraticBlowUp()); },
                             Target::WholeRow},
        // Taken as plain text: the entity is neither resolved nor read.
        HostileClipboardCase{"ExternalEntityAsAName", [] { return WithSubset(ExternalEntity()); },
                             Target::NameCell, WithSubset(ExternalEntity())},
        HostileClipboardCase{
            "DeepNesting",
            [] { return NamedRow(Repeated("<a>", 100000) + Repeated("</a>", 100000)); },
            Target::WholeRow},
        HostileClipboardCase{"GzippedRowDocument", [] { return GzippedRowDocument; },
                             Target::NameCell},
        HostileClipboardCase{"HugePlainTextAsAnAddress",
                             [] { return std::string(MaxClipboardDocumentBytes + 1, '7'); },
                             Target::AddressCell},
        HostileClipboardCase{
            "RowDocumentAboveTheSizeLimit",
            [] { return NamedRow("big") + std::string(MaxClipboardDocumentBytes, ' '); },
            Target::WholeRow}),
    [](const auto& info) { return std::string(info.param.name); });

// A row document of far more rows than a table may have stops at the row limit.
TEST(HostilePaste, ManyRowsStopAtTheRowLimit) {
    Workbench bench;
    bench.SetRows(WorkedExampleRows());
    bench.table.SetSelection({ColName, 1, ColName, 1});
    bench.clipboard.text = RowDocument(Repeated("<row><Name>many</Name></row>", 100000));

    const auto start = Clock::now();
    PasteExecute(bench.edit);
    EXPECT_LT(Clock::now() - start, 2 * Quickly);

    ASSERT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 1);
    EXPECT_EQ(bench.table.GetCellEx(ColName, MaxDataRows - 2), "many");
    EXPECT_EQ(bench.Row(MaxDataRows - 1), WorkedExampleRows()[0]);
    EXPECT_EQ(bench.Row(MaxDataRows), WorkedExampleRows()[1]);
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].text, RowLimitText);
}

} // namespace
