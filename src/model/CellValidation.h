#pragma once

#include "EditContext.h"

#include <string>

// Checks a value offered to an 8-bit cell and stores its normal form. A refusal sets
// valid to false and changes nothing; the validator never sets it to true.
void MainGridCellValidate(EditContext& context, int column, int row, const std::string& text,
                          bool& valid);
// The Unicode name column: every text is accepted that a project file can store.
void MainGridCellValidateWide(EditContext& context, int column, int row, const std::string& text,
                              bool& valid);
// A validator's verdict: the value was taken, or it was refused for the reason given
// (a sentence for the user, without a final full stop).
struct CellVerdict {
    bool accepted = true;
    std::string reason;
};

// The validator of the cell's column: the wide one for names, the other for the rest.
[[nodiscard]] CellVerdict ValidateCell(EditContext& context, int column, int row,
                                       const std::string& text);
// The same, true when the value was taken.
[[nodiscard]] bool ValidateCellText(EditContext& context, int column, int row,
                                    const std::string& text);
// Marks the document and keeps the spare row at the end.
void AfterCellEdit(EditContext& context, int row);
