// Bytes to a table, the table to a project file, the file to a second table: both tables
// must hold the same cells, and the second must write the same file. The first byte holds
// the options, the rest is the file read first.

#include "FuzzSupport.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "services/TabrixError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const fuzz::Options options = fuzz::OptionsFromByte(data[0]);
    MappingTable first;
    if (!FillTableFromProjectText(first, options, fuzz::AsText(data + 1, size - 1))) {
        return 0;
    }
    std::string file;
    try {
        file = BuildProjectDocument(first, options);
    } catch (const TabrixError&) {
        return 0; // a row the file cannot hold, such as one without an address
    }
    MappingTable second;
    fuzz::Expect(FillTableFromProjectText(second, options, file), "a written file does not read");
    fuzz::Expect(second.GetRowCountEx() == first.GetRowCountEx(), "row count changed");
    for (int row = 0; row < first.GetRowCountEx(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            const std::string& was = first.GetCellEx(column, row);
            const std::string& is = second.GetCellEx(column, row);
            // The file carries no conversion value under the rule "None".
            if (column == ColConversionScale && first.GetCellEx(ColConversionRule, row) == "None") {
                fuzz::Expect(is.empty(), fuzz::CellName(column, row) + " invented");
                continue;
            }
            fuzz::Expect(was == is,
                         fuzz::CellName(column, row) + ": '" + was + "' came back as '" + is + "'");
        }
    }
    fuzz::Expect(BuildProjectDocument(second, options) == file, "the file changed on rewriting");
    return 0;
}
