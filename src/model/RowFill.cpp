#include "RowFill.h"

#include "GroupAddress.h"
#include "Integers.h"
#include "services/TabrixError.h"

void FillFromPreviousRow(MappingTable& table, const EditOptions& options, int row) {
    if (row <= 1 || row >= table.GetRowCountEx()) {
        return;
    }
    if (options.IncrementGroupAddress() && table.GetCellEx(ColAddress, row).empty()) {
        try {
            const GroupAddress above = ParseGroupAddress(table.GetCellEx(ColAddress, row - 1));
            table.SetCellEx(ColAddress, row, FormatGroupAddress(NextGroupAddress(above)));
        } catch (const TabrixError&) {
            // the new row simply has no address; the colouring shows it as missing
        }
    }
    if (options.IncrementVariableIndex() && table.GetCellEx(ColIndex, row).empty()) {
        // Every writer of the index stores whole numbers; anything else above is skipped.
        const auto above = ParseInteger(table.GetCellEx(ColIndex, row - 1));
        if (above && *above < MaxVariableIndex) {
            table.SetInts(ColIndex, row, *above + 1);
        }
    }
}
