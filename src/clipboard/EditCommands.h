#pragma once

#include "ClipboardRows.h"
#include "model/EditContext.h"

enum class SelectionShape { SingleCell, WholeRows, OtherBlock };
SelectionShape ShapeOf(const Selection& selection);

// While a cell editor has the focus, Cut, Copy and Paste work on its text; otherwise on
// the selection. Cut, Paste and Delete always mark the document modified.
void CutExecute(EditContext& context);
void CopyExecute(EditContext& context);
void PasteExecute(EditContext& context);
void DeleteExecute(EditContext& context);

void CopySelection(EditContext& context, bool cut, const Selection& selection);
void PasteCell(EditContext& context, int column, int row);
// Pastes every row element: as new rows from targetRow on, each checked against the
// row limit, or over the rows from targetRow on, inserting none.
void PasteRows(EditContext& context, const ClipboardRowSet& rows, int targetRow, bool overRows);
