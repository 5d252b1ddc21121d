#pragma once

#include "model/MappingTable.h"
#include "SettingsStore.h"

#include <optional>

// The background of a painted cell: a side colour, the error colour for a missing
// value or a row beyond the limit, or nothing (the grid's own colour). Constant work:
// reads the selection and at most two cells of the row.
std::optional<TColor> MainGridGetCellColor(const MappingTable& table, const SettingsStore& settings,
                                           int row, int column);
