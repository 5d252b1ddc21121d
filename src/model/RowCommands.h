#pragma once

#include "EditContext.h"

// Inserts one empty row at index (RowCount appends), fills it from the row above and
// renumbers. Checks no limit and leaves the modified flag alone.
void InsertNewRow(MappingTable& table, const EditOptions& options, int index);

// Removes count rows from data row first on. While Create new row on edit is on and the
// run reaches the last row, the last row is emptied and kept as the spare row.
void RemoveDataRows(MappingTable& table, const EditOptions& options, int first, int count);

void InsertRowExecute(EditContext& context);
void EditAppendRow1Execute(EditContext& context);
void EditDeleteRow1Execute(EditContext& context);
