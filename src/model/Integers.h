#pragma once

#include <optional>
#include <string_view>

// A whole number as the cells and files hold it: an optional sign and decimal digits,
// nothing else, within 32 bits.
std::optional<int> ParseInteger(std::string_view text);
