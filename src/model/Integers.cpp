#include "Integers.h"

#include <charconv>

std::optional<int> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseIntegerInRange(std::string_view text, int low, int high) {
    const auto value = ParseInteger(text);
    if (value && *value >= low && *value <= high) {
        return value;
    }
    return std::nullopt;
}
