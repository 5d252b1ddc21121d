#pragma once

#include "model/EditContext.h"

#include "services/TabrixError.h"

#include <string>

// A save error that one cell causes: the writer's text and the cell it could not store.
class CellSaveError : public TabrixError {
  public:
    CellSaveError(const std::string& message, int column, int row)
        : TabrixError(message), column(column), row(row) {}
    int column;
    int row;
};

// The project file's text for the table: the rows to write are all data rows, less the
// spare row while Create new row on edit is on. Throws TabrixError with the text that
// follows "Error saving to file %s: " in the save-error message.
std::string BuildProjectDocument(const MappingTable& table, const EditOptions& options);

// Writes the table to fileName, replacing the file only once the whole new file is on
// disk. On failure shows the save-error message and says false; the old file stays. When
// a cell caused the failure, that cell is selected after the message.
[[nodiscard]] bool WriteProjectFile(MappingTable& table, const EditOptions& options,
                                    MessageBoxService& messageBox, const std::string& fileName);
