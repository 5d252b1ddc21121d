#include "BenchSupport.h"
#include "Paired.h"

#include "clipboard/ClipboardRows.h"
#include "clipboard/EditCommands.h"
#include "history/ChangeHistory.h"
#include "model/CellValidation.h"
#include "model/GroupAddress.h"
#include "model/RowCommands.h"
#include "model/Vocabulary.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "settings/CellColouring.h"
#include "xml/SafeXmlParser.h"

#include <libxml/xmlwriter.h>
#include <libxml/xpath.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <unistd.h>

namespace {

const std::string& CachedProjectText(int rows) {
    static std::map<int, std::string> texts;
    auto found = texts.find(rows);
    if (found == texts.end()) {
        found = texts.emplace(rows, ProjectText(rows)).first;
    }
    return found->second;
}

std::string BenchFolder() {
    const char* folder = std::getenv("TABRIX_BENCH_DIR");
    return folder ? folder : std::filesystem::temp_directory_path().string();
}

// Bare libxml2: the same bytes parsed from memory, the same XPath, every child's text.
void BareOpen(const std::string& text) {
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                  XML_PARSE_NONET);
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(ToXml(PropertyPath), context);
    size_t visited = 0;
    for (int k = 0; result->nodesetval && k < result->nodesetval->nodeNr; ++k) {
        for (xmlNodePtr child = result->nodesetval->nodeTab[k]->children; child;
             child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                xmlChar* content = xmlNodeGetContent(child);
                visited += content ? 1 : 0;
                xmlFree(content);
            }
        }
    }
    benchmark::DoNotOptimize(visited);
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
}

void BM_Open(benchmark::State& state) {
    const std::string& text = CachedProjectText(static_cast<int>(state.range(0)));
    BenchDocument bench;
    RunPaired(
        state,
        [&] {
            bench.table.SetRowCountEx(1);
            if (!FillTableFromProjectText(bench.table, bench.options, text)) {
                state.SkipWithError("not read");
            }
        },
        [&] { BareOpen(text); });
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}

// The file a bare text writer gives for a table: the same calls, no checks, no safety.
void BareSave(const MappingTable& table, const std::string& path) {
    xmlTextWriterPtr writer = xmlNewTextWriterFilename(path.c_str(), 0);
    auto element = [writer](const char* name, const char* text) {
        xmlTextWriterWriteElement(writer, ToXml(name), ToXml(text));
    };
    auto empty = [writer](const char* name) {
        xmlTextWriterStartElement(writer, ToXml(name));
        xmlTextWriterEndElement(writer);
    };
    xmlTextWriterSetIndent(writer, 1);
    xmlTextWriterStartDocument(writer, nullptr, "utf-8", "yes");
    xmlTextWriterWriteComment(writer, ToXml("Knx Project Main Schema"));
    xmlTextWriterStartElement(writer, ToXml("GatewayParameters"));
    element("GwNetworkEnable", "False");
    empty("GwSNA");
    empty("GwNA");
    xmlTextWriterStartElement(writer, ToXml("KonnexDevices"));
    xmlTextWriterWriteComment(writer, ToXml("New Konnex Device"));
    xmlTextWriterStartElement(writer, ToXml("Device"));
    xmlTextWriterWriteAttribute(writer, ToXml("id"), ToXml("1"));
    element("ObjectName", "000 NSD Not Standard Device");
    empty("DeviceIdentifier");
    element("NetEnable", "False");
    empty("KnxSNA");
    empty("KnxNA");
    xmlTextWriterStartElement(writer, ToXml("Property_Identifiers"));
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        const GroupAddress address = ParseGroupAddress(table.GetCellEx(ColAddress, row));
        const DatapointType& type = DatapointTypes[row % 6];
        xmlTextWriterStartElement(writer, ToXml("Property"));
        xmlTextWriterWriteAttribute(writer, ToXml("id"), ToXml(" general"));
        element("Enabled", "False");
        element("DatapointName", table.GetWideCells(ColName, row).c_str());
        element("DatapointTypeName", type.dptName);
        element("DatapointTypeCode", type.dptCode);
        element("DatapointDirection", table.GetCellEx(ColDirection, row).c_str());
        xmlTextWriterWriteFormatElement(writer, ToXml("KRO_VariableIndex"), "%d",
                                        table.GetInts(ColIndex, row));
        empty("KRO_Register");
        empty("KRO_FunctionCode");
        xmlTextWriterStartElement(writer, ToXml("KRO_VariableType"));
        xmlTextWriterWriteString(writer, ToXml(KroTypeLabels[row % 2].fileText));
        xmlTextWriterEndElement(writer);
        empty("KRO_DataType");
        xmlTextWriterStartElement(writer, ToXml("KRO_Conversion_Rule"));
        xmlTextWriterWriteString(writer, ToXml(ConversionRules[row % 5].fileText));
        xmlTextWriterEndElement(writer);
        xmlTextWriterStartElement(writer, ToXml("KRO_Conversion_Scale"));
        if (row % 5 != 0) {
            xmlTextWriterWriteFormatString(writer, "%d", table.GetInts(ColConversionScale, row));
        }
        xmlTextWriterEndElement(writer);
        xmlTextWriterWriteFormatElement(writer, ToXml("Knx_DataPoint_Line_Address"), "%d",
                                        static_cast<int>(address.line));
        xmlTextWriterWriteFormatElement(writer, ToXml("Knx_Datapoint_GroupAddress"), "%d",
                                        static_cast<int>(address.group));
        xmlTextWriterWriteFormatElement(writer, ToXml("Knx_Datapoint_Z_FieldAddress"), "%d",
                                        static_cast<int>(address.field));
        xmlTextWriterEndElement(writer);
    }
    xmlTextWriterEndDocument(writer);
    xmlFreeTextWriter(writer);
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return bytes;
}

void BM_Save(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, static_cast<int>(state.range(0)));
    const std::string folder = BenchFolder();
    const std::string ours = folder + "/tabrix-bench-save.xml";
    const std::string bare = folder + "/tabrix-bench-bare.xml";
    RunPaired(
        state,
        [&] {
            if (!WriteProjectFile(bench.table, bench.options, bench.silent, ours)) {
                state.SkipWithError("not written");
            }
        },
        [&] { BareSave(bench.table, bare); });
    if (FileBytes(ours) != FileBytes(bare)) {
        state.SkipWithError("the baseline wrote other bytes");
    }
    std::remove(ours.c_str());
    std::remove(bare.c_str());
}

// Only the document text in memory, without the file: the safe save's own overhead shows
// as the difference to the full save.
void BM_BuildProjectText(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, static_cast<int>(state.range(0)));
    RunTimed(
        state, [] {},
        [&] { benchmark::DoNotOptimize(BuildProjectDocument(bench.table, bench.options)); });
}

void BareClipboardWrite(const MappingTable& table, int rows) {
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlTextWriterPtr writer = xmlNewTextWriterMemory(buffer, 0);
    static const char* const names[] = {"Address", "Name",    "Type",           "Direction",
                                        "Index",   "KROType", "ConversionRule", "ConversionScale"};
    xmlTextWriterStartDocument(writer, nullptr, "utf-8", "yes");
    xmlTextWriterStartElement(writer, ToXml(ClipboardRootName));
    for (int row = 1; row <= rows; ++row) {
        xmlTextWriterStartElement(writer, ToXml("row"));
        for (int column = 1; column <= 8; ++column) {
            xmlTextWriterWriteElement(writer, ToXml(names[column - 1]),
                                      ToXml(table.GetCellEx(column, row).c_str()));
        }
        xmlTextWriterEndElement(writer);
    }
    xmlTextWriterEndElement(writer);
    xmlFreeTextWriter(writer);
    benchmark::DoNotOptimize(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
}

void BM_ClipboardWrite(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    BenchDocument bench;
    FillTable(bench.table, rows);
    RunPaired(
        state, [&] { benchmark::DoNotOptimize(WriteClipboardRows(bench.table, 1, rows)); },
        [&] { BareClipboardWrite(bench.table, rows); });
}

void BareClipboardRead(const std::string& text) {
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                  XML_PARSE_NONET);
    size_t visited = 0;
    for (xmlNodePtr row = xmlDocGetRootElement(doc)->children; row; row = row->next) {
        for (xmlNodePtr field = row->children; field; field = field->next) {
            xmlChar* content = xmlNodeGetContent(field);
            visited += content ? 1 : 0;
            xmlFree(content);
        }
    }
    benchmark::DoNotOptimize(visited);
    xmlFreeDoc(doc);
}

// Recognising a row document and applying every row, through the validators, over a
// whole-row selection of as many rows.
void BM_ClipboardPaste(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    BenchDocument source;
    FillTable(source.table, rows);
    const std::string text = WriteClipboardRows(source.table, 1, rows);
    BenchDocument bench;
    bench.table.SetRowCountEx(rows + 1);
    RunPaired(
        state,
        [&] {
            const auto parsed = ParseClipboardRows(text);
            for (std::size_t index = 0; index < parsed->RowCount(); ++index) {
                ApplyClipboardRow(bench.edit, parsed->Row(index), static_cast<int>(index) + 1);
            }
        },
        [&] { BareClipboardRead(text); });
}

constexpr int EditRows = 100000;

// The insertion that Insert row, Append row and the spare row share. At this size the
// commands themselves stop at the row limit, which a file's rows do not obey.
void BM_EditInsertRowAtTop(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, EditRows);
    RunTimed(
        state, [&] { bench.table.RemoveRowsAt(1, bench.table.GetRowCountEx() - 1 - EditRows); },
        [&] { InsertNewRow(bench.table, bench.options, 1); });
}

void BM_EditDeleteTopRow(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, EditRows);
    RunTimed(
        state,
        [&] {
            bench.table.InsertRowsAt(1, 1);
            bench.table.SetSelection({1, 1, 1, 1});
        },
        [&] { EditDeleteRow1Execute(bench.edit); });
}

void BM_EditValidatedCell(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, EditRows);
    int edit = 0;
    RunTimed(
        state, [] {},
        [&] {
            bool valid = true;
            const std::string text = (++edit % 2) ? " 01/ 2/3abc" : "4/5/6";
            MainGridCellValidate(bench.edit, ColAddress, EditRows / 2, text, valid);
        });
}

// The colour rule for every cell of a screenful of rows.
void BM_EditColourVisibleCells(benchmark::State& state) {
    BenchDocument bench;
    FillTable(bench.table, EditRows);
    EmptySettings backend;
    SettingsStore settings(backend);
    settings.LoadSettings();
    RunTimed(
        state, [] {},
        [&] {
            for (int row = EditRows / 2; row < EditRows / 2 + 40; ++row) {
                for (int column = 0; column < ColumnCount; ++column) {
                    benchmark::DoNotOptimize(
                        MainGridGetCellColor(bench.table, settings, row, column));
                }
            }
        });
}

// Undo and Redo of one command on a 100,000-row table: a row inserted at the top (with
// the renumbering of every row below), a paste over 10,000 rows, a Delete of 10,000 whole
// rows. Only the Undo (or the Redo) is timed; the command, or the step that brings the
// history back, runs before it.
enum class UndoneCommand { InsertAtTop, PasteOverRows, DeleteRows };

struct UndoBench {
    explicit UndoBench(UndoneCommand command) : command_(command) {
        FillTable(bench.table, EditRows);
        if (command_ == UndoneCommand::PasteOverRows) {
            BenchDocument source;
            FillTable(source.table, 10000);
            for (int row = 1; row <= 10000; ++row) {
                source.table.SetCellEx(ColName, row, "pasted " + std::to_string(row));
            }
            bench.silent.clipboard = WriteClipboardRows(source.table, 1, 10000);
        }
        history.Clear(true);
    }

    void Do() {
        const HistoryStep step(&history, "command");
        switch (command_) {
        case UndoneCommand::InsertAtTop:
            InsertNewRow(bench.table, bench.options, 1);
            break;
        case UndoneCommand::PasteOverRows:
            bench.table.SetSelection({ColAddress, 1, ColConversionScale, 1});
            PasteExecute(bench.edit);
            if (bench.table.GetCellEx(ColName, 10000) != "pasted 10000") {
                throw std::runtime_error("the paste did not reach row 10,000");
            }
            break;
        case UndoneCommand::DeleteRows:
            bench.table.SetSelection({ColAddress, 1, ColConversionScale, 10000});
            DeleteExecute(bench.edit);
            break;
        }
    }

    UndoneCommand command_;
    BenchDocument bench;
    ChangeHistory history{bench.table, bench.document};
};

void BM_Undo(benchmark::State& state) {
    UndoBench undo(static_cast<UndoneCommand>(state.range(0)));
    RunTimed(
        state,
        [&] {
            if (undo.history.CanRedo()) {
                undo.history.Redo();
            } else {
                undo.Do();
            }
        },
        [&] { undo.history.Undo(); });
}

void BM_Redo(benchmark::State& state) {
    UndoBench redo(static_cast<UndoneCommand>(state.range(0)));
    RunTimed(
        state,
        [&] {
            if (redo.history.CanUndo()) {
                redo.history.Undo();
            } else if (!redo.history.CanRedo()) {
                redo.Do();
                redo.history.Undo();
            }
        },
        [&] { redo.history.Redo(); });
}

} // namespace

BENCHMARK(BM_Undo)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redo)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Arg(110)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(110)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_BuildProjectText)
    ->Arg(110)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipboardWrite)
    ->Arg(1)
    ->Arg(110)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClipboardPaste)
    ->Arg(1)
    ->Arg(110)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditInsertRowAtTop)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditDeleteTopRow)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditValidatedCell)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditColourVisibleCells)->UseManualTime()->Unit(benchmark::kMicrosecond);
