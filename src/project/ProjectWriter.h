#pragma once

#include "model/EditContext.h"

#include <string>

// The project file's text for the table: the rows to write are all data rows, less the
// spare row while Create new row on edit is on. Throws TabrixError with the text that
// follows "Error saving to file %s: " in the save-error message.
std::string BuildProjectDocument(const MappingTable& table, const EditOptions& options);

// Writes the table to fileName, replacing the file only once the whole new file is on
// disk. On failure shows the save-error message and says false; the old file stays.
bool WriteProjectFile(const MappingTable& table, const EditOptions& options,
                      MessageBoxService& messageBox, const std::string& fileName);
