#pragma once

#include "MappingTable.h"
#include "services/Services.h"

extern const char* const RowLimitText;
extern const char* const RowLimitCaption;

// True when a row may be added; otherwise shows the row-limit message and says false.
[[nodiscard]] bool CheckRowLimit(const MappingTable& table, MessageBoxService& messageBox);
