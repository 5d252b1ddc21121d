#include "EditCommands.h"

#include "ClipboardRows.h"
#include "model/CellValidation.h"
#include "model/RowCommands.h"
#include "model/RowFill.h"
#include "model/RowLimit.h"

#include <algorithm>
#include <string_view>

namespace {

std::string_view WithoutFinalLineBreak(std::string_view text) {
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n') || text.ends_with('\r')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

SelectionShape ShapeOf(const Selection& selection) {
    if (selection.left == selection.right && selection.top == selection.bottom) {
        return SelectionShape::SingleCell;
    }
    if (selection.left <= ColAddress && selection.right == ColConversionScale) {
        return SelectionShape::WholeRows;
    }
    return SelectionShape::OtherBlock;
}

void CopyExecute(EditContext& context) {
    if (TextEditorService* editor = context.services.cellEditors.ActiveEditor()) {
        editor->CopyToClipboard();
        return;
    }
    CopySelection(context, false, context.table.GetSelectionEx());
}

void CutExecute(EditContext& context) {
    if (TextEditorService* editor = context.services.cellEditors.ActiveEditor()) {
        editor->CutToClipboard();
    } else {
        CopySelection(context, true, context.table.GetSelectionEx());
    }
    context.document.SetModified(true);
}

void PasteExecute(EditContext& context) {
    if (TextEditorService* editor = context.services.cellEditors.ActiveEditor()) {
        editor->PasteFromClipboard();
    } else {
        const Selection selection = context.table.GetSelectionEx();
        const std::string text = context.services.clipboard.GetText();
        if (const auto rows = ParseClipboardRows(text)) {
            PasteRows(context, *rows, selection.top,
                      ShapeOf(selection) == SelectionShape::WholeRows);
        } else {
            PasteCell(context, selection.left, selection.top);
        }
    }
    context.document.SetModified(true);
}

void DeleteExecute(EditContext& context) {
    const Selection selection = context.table.GetSelectionEx();
    if (ShapeOf(selection) == SelectionShape::WholeRows) {
        RemoveDataRows(context.table, context.options, selection.top,
                       selection.bottom - selection.top + 1);
    } else {
        context.table.ClearSelection();
    }
    context.document.SetModified(true);
}

void CopySelection(EditContext& context, bool cut, const Selection& selection) {
    switch (ShapeOf(selection)) {
    case SelectionShape::SingleCell:
        context.services.clipboard.SetText(context.table.GetCellEx(selection.left, selection.top));
        if (cut) {
            context.table.ClearCellRect(selection.left, selection.top, selection.right,
                                        selection.bottom);
        }
        break;
    case SelectionShape::WholeRows:
        context.services.clipboard.SetText(
            WriteClipboardRows(context.table, selection.top, selection.bottom));
        if (cut) {
            RemoveDataRows(context.table, context.options, selection.top,
                           selection.bottom - selection.top + 1);
        }
        break;
    case SelectionShape::OtherBlock:
        break;
    }
}

void PasteCell(EditContext& context, int column, int row) {
    // A spreadsheet ends even a single copied cell with a line break, which belongs to no
    // value. A refused value is dropped without a message.
    const std::string text = context.services.clipboard.GetText();
    static_cast<void>(
        ValidateCellText(context, column, row, std::string(WithoutFinalLineBreak(text))));
}

void PasteRows(EditContext& context, const ClipboardRowSet& rows, int targetRow, bool overRows) {
    MappingTable& table = context.table;
    int row = std::max(targetRow, 1);
    int lastPasted = 0;
    // Over rows, the rows there were (less the spare row) take the values as they stand, and
    // so does the spare row where the paste starts on it, at the row limit too. Every further
    // row is added against the row limit: as a new row, or into the spare row, which appends
    // the next spare row once a value lands in it.
    const bool hasSpareRow = context.options.CreateRowOnEdit();
    const int overwritable = table.GetRowCountEx() - (hasSpareRow ? 1 : 0);
    for (std::size_t index = 0; index < rows.RowCount(); ++index) {
        const bool startsOnRow = lastPasted == 0 && row < table.GetRowCountEx();
        if (!overRows || (row >= overwritable && !startsOnRow)) {
            if (!CheckRowLimit(table, context.services.messageBox)) {
                break;
            }
            if (overRows && hasSpareRow) {
                row = table.GetRowCountEx() - 1;
            } else {
                table.InsertRowsAt(row, 1);
            }
        }
        ApplyClipboardRow(context, rows.Row(index), row);
        lastPasted = row++;
    }
    if (lastPasted > 0) {
        FillFromPreviousRow(table, context.options, lastPasted + 1);
    }
    RenumberRows(table);
}
