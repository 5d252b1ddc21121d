// The project reader on raw bytes. The first byte holds the options, the rest is the file.
// A text that is no document leaves the table as it was; any other leaves only cells in
// the forms the reader stores, and the same cells as the reference reader.

#include "FuzzSupport.h"
#include "project/ProjectReader.h"
#include "ReferenceReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const fuzz::Options options = fuzz::OptionsFromByte(data[0]);
    const std::string_view bytes = fuzz::AsText(data + 1, size - 1);

    MappingTable table;
    const int rowsBefore = table.GetRowCountEx();
    const bool read = FillTableFromProjectText(table, options, bytes);
    MappingTable reference;
    const bool referenceRead = fuzz::ReadProjectTextByXPath(reference, options, bytes);
    fuzz::Expect(read == referenceRead, read ? "a document the tree parser refuses was read"
                                             : "a document the tree parser reads was refused");
    if (!read) {
        fuzz::Expect(table.GetRowCountEx() == rowsBefore, "a refused text changed the rows");
        for (int column = 0; column < ColumnCount; ++column) {
            fuzz::Expect(table.GetCellEx(column, 1).empty(), "a refused text set a cell");
        }
        return 0;
    }
    fuzz::Expect(table.GetRowCountEx() >= (options.createRow ? 2 : 1), "spare row missing");
    fuzz::ExpectHeaderAndNumbers(table);
    // The reader takes only the exact codes and gives the exact labels.
    fuzz::ExpectStoredForms(table);
    fuzz::Expect(table.GetRowCountEx() == reference.GetRowCountEx(),
                 "rows " + std::to_string(table.GetRowCountEx()) + " where XPath selects " +
                     std::to_string(reference.GetRowCountEx()));
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            fuzz::Expect(table.GetCellEx(column, row) == reference.GetCellEx(column, row),
                         fuzz::CellName(column, row) + ": '" + table.GetCellEx(column, row) +
                             "' where the reference reads '" + reference.GetCellEx(column, row) +
                             "'");
        }
    }
    return 0;
}
