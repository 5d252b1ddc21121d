#pragma once

#include "EditContext.h"

// Fills the empty address and the empty variable index of a data row from the row
// above, as the two auto-increment options allow. Reports nothing: a row above with
// no valid address, or with the last address, leaves the address empty.
void FillFromPreviousRow(MappingTable& table, const EditOptions& options, int row);
