#pragma once

#include "DocumentLifecycle.h"
#include "PropertyScanner.h"

#include <string>
#include <string_view>

extern const char* const PropertyPath;

// Fills the table, as StartNewDocument left it, from the project file at path. A file
// that cannot be read or parsed shows "Unable to open file " with the path (and the limit
// when it passes one) and says false. Values the reader does not accept leave their cells
// as they were.
[[nodiscard]] bool ReadProjectFile(DocumentContext& context, const std::string& path,
                                   const ScanLimits& limits = {});

// The rows of a parsed project text; false when it is not a document at all.
[[nodiscard]] bool FillTableFromProjectText(MappingTable& table, const EditOptions& options,
                                            std::string_view bytes);
