#include "RowCommands.h"

#include "RowFill.h"
#include "RowLimit.h"

#include <algorithm>

void InsertNewRow(MappingTable& table, const EditOptions& options, int index) {
    table.InsertRowsAt(index, 1);
    FillFromPreviousRow(table, options, index);
    RenumberRows(table);
}

void RemoveDataRows(MappingTable& table, const EditOptions& options, int first, int count) {
    const int rowCount = table.GetRowCountEx();
    if (first < 1 || first >= rowCount) {
        return;
    }
    if (options.CreateRowOnEdit() && first + count >= rowCount) {
        table.ClearRows(rowCount - 1, 1);
        count = rowCount - first - 1;
    }
    table.RemoveRowsAt(first, count);
    RenumberRows(table);
}

void InsertRowExecute(EditContext& context) {
    if (!CheckRowLimit(context.table, context.services.messageBox)) {
        return;
    }
    // Never above the header, also while the table has no data row.
    const int index =
        std::clamp(context.table.GetSelectionEx().top, 1, context.table.GetRowCountEx());
    InsertNewRow(context.table, context.options, index);
}

void EditAppendRow1Execute(EditContext& context) {
    if (!CheckRowLimit(context.table, context.services.messageBox)) {
        return;
    }
    const int index =
        std::min(context.table.GetSelectionEx().bottom + 1, context.table.GetRowCountEx());
    InsertNewRow(context.table, context.options, std::max(index, 1));
}

void EditDeleteRow1Execute(EditContext& context) {
    const int top = context.table.GetSelectionEx().top;
    if (top == 0) {
        return;
    }
    RemoveDataRows(context.table, context.options, top, 1);
}
