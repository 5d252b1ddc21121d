#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest message text a box shows whole; laying out more (a pasted megabyte quoted in
// an error, say) would stall the program for no reader's benefit.
constexpr std::size_t MaxShownMessageBytes = 4096;

// The UTF-8 text as a message box shows it: whole when short enough, else its start, cut
// between characters, followed by an ellipsis.
std::string ShortenForDisplay(std::string_view text, std::size_t maxBytes = MaxShownMessageBytes);
