#include "EditCommands.h"

#include "ClipboardRows.h"
#include "model/CellValidation.h"
#include "model/RowCommands.h"
#include "model/RowFill.h"
#include "model/RowLimit.h"

#include <algorithm>

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
        if (XmlDoc rows = ParseClipboardRows(text)) {
            PasteRows(context, rows.get(), selection.top,
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
    // A refused value is dropped without a message.
    ValidateCellText(context, column, row, context.services.clipboard.GetText());
}

void PasteRows(EditContext& context, xmlDocPtr document, int targetRow, bool overRows) {
    MappingTable& table = context.table;
    int row = std::max(targetRow, 1);
    int lastPasted = 0;
    // Over rows, only the rows there were: pasting into the spare row appends a new one,
    // which must not take the next row and so grow the table past the row limit.
    const int rowsBefore = table.GetRowCountEx();
    for (xmlNodePtr element : ClipboardRowElements(document)) {
        if (overRows) {
            if (row >= rowsBefore) {
                break;
            }
        } else {
            if (!CheckRowLimit(table, context.services.messageBox)) {
                break;
            }
            table.InsertRowsAt(row, 1);
        }
        ApplyClipboardRow(context, element, row);
        lastPasted = row++;
    }
    if (lastPasted > 0) {
        FillFromPreviousRow(table, context.options, lastPasted + 1);
    }
    RenumberRows(table);
}
