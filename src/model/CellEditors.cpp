#include "CellEditors.h"

#include "Vocabulary.h"

#include <algorithm>

EditorKind MainGridGetEditorType(int column, int /*row*/) {
    switch (column) {
    case ColAddress:
        return EditorKind::Text;
    case ColName:
        return EditorKind::UnicodeText;
    case ColType:
    case ColDirection:
    case ColKroType:
    case ColConversionRule:
        return EditorKind::DropDownList;
    case ColIndex:
    case ColConversionScale:
        return EditorKind::Digits;
    default:
        return EditorKind::None;
    }
}

bool MainGridCanEditCell(const MappingTable& table, int row, int column) {
    if (row == 0 || column == ColRowNumber) {
        return false;
    }
    if (column == ColConversionScale) {
        return RuleCarriesValue(table.GetCellEx(ColConversionRule, row));
    }
    return true;
}

void MainGridComboChange(MappingTable& table, int column, int row, const std::string& text) {
    table.SetCellEx(column, row, text);
    if (column == ColConversionRule && text == "None") {
        table.SetCellEx(ColConversionScale, row, "");
    }
}

namespace {

void SelectRowsByNumber(EditContext& context, int first, int last) {
    context.table.SelectRows(first, last - first + 1);
    context.services.window.EnableMenuEntry(MenuEntry::Cut1, true);
}

} // namespace

void MainGridClickCell(EditContext& context, int row, int column) {
    if (row != 0 && column == ColRowNumber) {
        SelectRowsByNumber(context, row, row);
    }
}

void MainGridSelectRowsBetween(EditContext& context, int anchorRow, int row) {
    const int last = context.table.GetRowCountEx() - 1;
    const int first = std::clamp(std::min(anchorRow, row), 1, std::max(last, 1));
    if (last >= 1) {
        SelectRowsByNumber(context, first, std::clamp(std::max(anchorRow, row), first, last));
    }
}

void MainGridSelectCells(EditContext& context, Selection cells) {
    if (cells.right == ColRowNumber && cells.top > 0) {
        SelectRowsByNumber(context, cells.top, cells.bottom);
        return;
    }
    cells.left = std::max(cells.left, static_cast<int>(ColAddress));
    cells.right = std::max(cells.right, cells.left);
    context.table.SetSelection(cells);
}
