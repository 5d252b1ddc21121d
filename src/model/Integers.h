#pragma once

#include <optional>
#include <string_view>

// A whole number as the cells and files hold it: an optional sign and decimal digits,
// nothing else, within 32 bits.
std::optional<int> ParseInteger(std::string_view text);

// The same, when it lies within low and high (both included).
std::optional<int> ParseIntegerInRange(std::string_view text, int low, int high);
