#pragma once

#include "EditContext.h"

#include <string>

enum class EditorKind { None, Text, UnicodeText, DropDownList, Digits };

EditorKind MainGridGetEditorType(int column, int row);
bool MainGridCanEditCell(const MappingTable& table, int row, int column);
// A pick in a drop-down list is stored at once; "None" as the rule empties the value.
void MainGridComboChange(MappingTable& table, int column, int row, const std::string& text);
// A click on the row number of a data row selects that row and enables Cut.
void MainGridClickCell(EditContext& context, int row, int column);
// Shift+click on a row number: the whole rows from one row to the other, and Cut.
void MainGridSelectRowsBetween(EditContext& context, int anchorRow, int row);
// The cells a view shows selected, as the table takes them: the row numbers of data rows
// alone (clicked, Shift+clicked or dragged over) select those whole rows and enable Cut,
// like a click on one; any other block is taken without the row-number column.
void MainGridSelectCells(EditContext& context, Selection cells);
