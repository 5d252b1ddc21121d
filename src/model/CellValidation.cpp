#include "CellValidation.h"

#include "GroupAddress.h"
#include "Integers.h"
#include "RowCommands.h"
#include "RowFill.h"
#include "services/TabrixError.h"
#include "StorableText.h"
#include "Vocabulary.h"

#include <optional>
#include <utility>

namespace {

CellVerdict Refused(std::string reason) {
    return {false, std::move(reason)};
}

std::string ListOf(int column) {
    std::string list;
    for (const char* label : ColumnVocabulary(column)) {
        list += list.empty() ? "" : ", ";
        list += label;
    }
    return list;
}

CellVerdict RangeRefusal(const char* what, int low, int high) {
    return Refused(FormatMessage("The %s must be a whole number from %d to %d", what, low, high));
}

// Stores the accepted value, in its normal form; a refusal changes nothing.
CellVerdict StoreValidated(MappingTable& table, int column, int row, const std::string& text) {
    switch (column) {
    case ColAddress: {
        const AddressCheck check = CheckGroupAddress(text);
        if (check.fault != AddressFault::None) {
            return Refused(DescribeAddressFault(text, check.fault));
        }
        table.SetCellEx(column, row, FormatGroupAddress(check.address));
        return {};
    }
    case ColType:
    case ColDirection:
    case ColKroType:
    case ColConversionRule:
        if (const char* label = VocabularyLabel(column, text)) {
            table.SetCellEx(column, row, label);
            return {};
        }
        return Refused(
            FormatMessage("'%s' is not one of: %s", text.c_str(), ListOf(column).c_str()));
    case ColIndex:
        if (auto value = ParseIntegerInRange(text, MinVariableIndex, MaxVariableIndex)) {
            table.SetInts(column, row, *value);
            return {};
        }
        return RangeRefusal("variable index", MinVariableIndex, MaxVariableIndex);
    case ColConversionScale: {
        if (!RuleCarriesValue(table.GetCellEx(ColConversionRule, row))) {
            if (!text.empty()) {
                return Refused("Only a conversion rule other than None takes a value");
            }
            table.SetCellEx(column, row, "");
            return {};
        }
        if (auto value = ParseIntegerInRange(text, MinConversionScale, MaxConversionScale)) {
            table.SetInts(column, row, *value);
            return {};
        }
        return RangeRefusal("conversion value", MinConversionScale, MaxConversionScale);
    }
    default:
        return {};
    }
}

const char* const RowGoneReason = "The row no longer exists";

bool IsDataRow(const MappingTable& table, int row) {
    return row >= 1 && row < table.GetRowCountEx();
}

} // namespace

CellVerdict ValidateCell(EditContext& context, int column, int row, const std::string& text) {
    // A value for a row that no longer exists (a paste into an empty table) is refused.
    if (!IsDataRow(context.table, row)) {
        return Refused(RowGoneReason);
    }
    if (column == ColName) {
        // A name that no file or row document could carry is refused where it enters.
        if (!IsStorableText(text)) {
            return Refused("The name holds a character that a project file cannot store");
        }
        context.table.SetWideCells(ColName, row, text);
        AfterCellEdit(context, row);
        return {};
    }
    CellVerdict verdict = StoreValidated(context.table, column, row, text);
    if (verdict.accepted) {
        context.document.SetModified(true);
        AfterCellEdit(context, row);
        FillFromPreviousRow(context.table, context.options, row + 1);
    }
    return verdict;
}

void MainGridCellValidate(EditContext& context, int column, int row, const std::string& text,
                          bool& valid) {
    if (column != ColName && !ValidateCell(context, column, row, text).accepted) {
        valid = false;
    }
}

void MainGridCellValidateWide(EditContext& context, int column, int row, const std::string& text,
                              bool& valid) {
    if (column == ColName && !ValidateCell(context, column, row, text).accepted) {
        valid = false;
    }
}

bool ValidateCellText(EditContext& context, int column, int row, const std::string& text) {
    return ValidateCell(context, column, row, text).accepted;
}

void AfterCellEdit(EditContext& context, int row) {
    context.document.SetModified(true);
    if (context.options.CreateRowOnEdit() && row >= context.table.GetRowCountEx() - 1) {
        InsertNewRow(context.table, context.options, context.table.GetRowCountEx());
    }
}
