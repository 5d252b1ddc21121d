// Pasting clipboard text into a table. The first byte holds the options (bits 0 to 2),
// whether whole rows are selected (bit 3) and the table pasted into (bits 4 and 5); the
// second the selected row (bits 0 to 3, 15 for the last row) and column (bits 4 to 6); the
// rest is the clipboard text.

#include "clipboard/ClipboardRows.h"
#include "clipboard/EditCommands.h"
#include "FuzzSupport.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "services/TabrixError.h"

#include <algorithm>
#include <vector>

namespace {

void FillRow(MappingTable& table, int row, int number) {
    const std::string n = std::to_string(number);
    table.SetCellEx(ColAddress, row, "1/" + std::to_string(number % 8) + "/" + n);
    table.SetWideCells(ColName, row, "row " + n);
    table.SetCellEx(ColType, row, "Boolean");
    table.SetCellEx(ColDirection, row, number % 2 ? "IN" : "OUT");
    table.SetInts(ColIndex, row, number);
    table.SetCellEx(ColKroType, row, "Coil");
    table.SetCellEx(ColConversionRule, row, "Add");
    table.SetInts(ColConversionScale, row, number);
}

// No data row; three rows; three rows and an empty last row; the row limit reached.
void MakeTable(MappingTable& table, int kind) {
    const int dataRows[] = {0, 3, 4, MaxDataRows};
    table.SetRowCountEx(dataRows[kind] + 1);
    const int filled = kind == 2 ? 3 : dataRows[kind];
    for (int row = 1; row <= filled; ++row) {
        FillRow(table, row, row);
    }
    RenumberRows(table);
}

// A name that a paste stored must be one a project file can carry back.
void ExpectNameSurvivesAFile(const std::string& name) {
    fuzz::Options options;
    MappingTable probe;
    FillRow(probe, 1, 1);
    probe.SetWideCells(ColName, 1, name);
    std::string file;
    try {
        file = BuildProjectDocument(probe, options);
    } catch (const TabrixError& error) {
        fuzz::Fail(std::string("a pasted name cannot be saved: ") + error.what());
    }
    MappingTable read;
    fuzz::Expect(FillTableFromProjectText(read, options, file), "the saved file does not read");
    fuzz::Expect(read.GetWideCells(ColName, 1) == name, "a pasted name changed in the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const fuzz::Options options = fuzz::OptionsFromByte(data[0]);
    const bool overRows = (data[0] & 8) != 0;
    const int kind = (data[0] >> 4) & 3;
    fuzz::QuietServices services;
    services.ClipboardText() = std::string(fuzz::AsText(data + 2, size - 2));

    MappingTable table;
    MakeTable(table, kind);
    const int rowsBefore = table.GetRowCountEx();
    std::vector<std::string> namesBefore;
    for (int row = 0; row < rowsBefore; ++row) {
        namesBefore.push_back(table.GetWideCells(ColName, row));
    }
    const int lastRow = std::max(rowsBefore - 1, 1);
    const int top = (data[1] & 15) == 15 ? lastRow : std::min(1 + (data[1] & 15), lastRow);
    const int column = 1 + ((data[1] >> 4) & 7);
    table.SetSelection(overRows ? Selection{ColAddress, top, ColConversionScale, top}
                                : Selection{column, top, column, top});

    fuzz::ModifiedStub document;
    EditContext context{table, options, document, services.Get()};
    const auto parsed = ParseClipboardRows(services.ClipboardText());
    const bool rowDocument = parsed.has_value();
    const int documentRows = rowDocument ? static_cast<int>(parsed->RowCount()) : 0;
    PasteExecute(context);

    fuzz::Expect(document.modified, "a paste did not mark the document");
    const int rowsAfter = table.GetRowCountEx();
    // New rows stop at the row limit; only the spare row may go one beyond it.
    fuzz::Expect(rowsAfter >= rowsBefore, "a paste removed rows");
    fuzz::Expect(rowsAfter <= std::max(rowsBefore, MaxDataRows + 1) + 1, "past the row limit");
    if (overRows && rowDocument) {
        // Only the rows that run past the end of the table are added (and a spare row).
        fuzz::Expect(rowsAfter <= std::max(rowsBefore, top + documentRows) + 1,
                     "a paste over rows inserted rows");
    }
    if (!rowDocument) {
        fuzz::Expect(rowsAfter <= rowsBefore + 1, "a paste into one cell inserted rows");
    }
    fuzz::ExpectHeaderAndNumbers(table);
    // Validated labels are stored as their lists spell them.
    fuzz::ExpectStoredForms(table);
    for (int row = 1; row < rowsAfter; ++row) {
        const std::string& name = table.GetWideCells(ColName, row);
        if (row >= rowsBefore || name != namesBefore[static_cast<size_t>(row)]) {
            ExpectNameSurvivesAFile(name);
        }
    }
    return 0;
}
