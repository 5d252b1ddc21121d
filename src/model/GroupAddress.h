#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr std::uint32_t MaxLine = 15;
constexpr std::uint32_t MaxGroup = 7;
constexpr std::uint32_t MaxField = 255;

struct GroupAddress {
    std::uint32_t line = 0;
    std::uint32_t group = 0;
    std::uint32_t field = 1;
    bool operator==(const GroupAddress&) const = default;
};

// Reads "line/group/field" as sscanf's "%u/%u/%u" does and checks the ranges; throws
// TabrixError with the message of the first failing check.
GroupAddress ParseGroupAddress(std::string_view text);
std::string FormatGroupAddress(const GroupAddress& address);
// The next valid address by line, group, field; throws when there is none.
GroupAddress NextGroupAddress(const GroupAddress& address);
