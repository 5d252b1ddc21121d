#include "CellValidation.h"

#include "GroupAddress.h"
#include "Integers.h"
#include "RowCommands.h"
#include "RowFill.h"
#include "services/TabrixError.h"
#include "StorableText.h"
#include "Vocabulary.h"

#include <optional>

namespace {

// Stores the accepted value; false when the column refuses it.
bool StoreValidated(MappingTable& table, int column, int row, const std::string& text) {
    switch (column) {
    case ColAddress:
        try {
            table.SetCellEx(column, row, FormatGroupAddress(ParseGroupAddress(text)));
            return true;
        } catch (const TabrixError&) {
            return false;
        }
    case ColType:
    case ColDirection:
    case ColKroType:
    case ColConversionRule:
        if (!IsInVocabulary(column, text)) {
            return false;
        }
        table.SetCellEx(column, row, text);
        return true;
    case ColIndex:
        if (auto value = ParseIntegerInRange(text, MinVariableIndex, MaxVariableIndex)) {
            table.SetInts(column, row, *value);
            return true;
        }
        return false;
    case ColConversionScale: {
        if (!RuleCarriesValue(table.GetCellEx(ColConversionRule, row))) {
            if (!text.empty()) {
                return false;
            }
            table.SetCellEx(column, row, "");
            return true;
        }
        if (auto value = ParseIntegerInRange(text, MinConversionScale, MaxConversionScale)) {
            table.SetInts(column, row, *value);
            return true;
        }
        return false;
    }
    default:
        return true;
    }
}

bool IsDataRow(const MappingTable& table, int row) {
    return row >= 1 && row < table.GetRowCountEx();
}

} // namespace

void MainGridCellValidate(EditContext& context, int column, int row, const std::string& text,
                          bool& valid) {
    if (column == ColName) {
        return;
    }
    // A value for a row that no longer exists (a paste into an empty table) is refused.
    if (!IsDataRow(context.table, row) || !StoreValidated(context.table, column, row, text)) {
        valid = false;
        return;
    }
    context.document.SetModified(true);
    AfterCellEdit(context, row);
    FillFromPreviousRow(context.table, context.options, row + 1);
}

void MainGridCellValidateWide(EditContext& context, int column, int row, const std::string& text,
                              bool& valid) {
    if (column != ColName) {
        return;
    }
    // A name that no file or row document could carry is refused where it enters.
    if (!IsDataRow(context.table, row) || !IsStorableText(text)) {
        valid = false;
        return;
    }
    context.table.SetWideCells(ColName, row, text);
    AfterCellEdit(context, row);
}

bool ValidateCellText(EditContext& context, int column, int row, const std::string& text) {
    bool valid = true;
    if (column == ColName) {
        MainGridCellValidateWide(context, column, row, text, valid);
    } else {
        MainGridCellValidate(context, column, row, text, valid);
    }
    return valid;
}

void AfterCellEdit(EditContext& context, int row) {
    context.document.SetModified(true);
    if (context.options.CreateRowOnEdit() && row >= context.table.GetRowCountEx() - 1) {
        InsertNewRow(context.table, context.options, context.table.GetRowCountEx());
    }
}
