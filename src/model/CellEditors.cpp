#include "CellEditors.h"

#include "Vocabulary.h"

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

void MainGridClickCell(EditContext& context, int row, int column) {
    if (row != 0 && column == ColRowNumber) {
        context.table.SelectRows(row, 1);
        context.services.window.EnableMenuEntry(MenuEntry::Cut1, true);
    }
}
