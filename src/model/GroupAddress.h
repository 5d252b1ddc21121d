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

// The first check that a text fails as a group address.
enum class AddressFault { None, Form, Line, Group, Field };

struct AddressCheck {
    GroupAddress address; // the numbers read, also those out of range
    AddressFault fault = AddressFault::None;
};

// Reads "line/group/field" as sscanf's "%u/%u/%u" does and checks the ranges.
AddressCheck CheckGroupAddress(std::string_view text);
// The same; throws TabrixError with the message of the first failing check.
GroupAddress ParseGroupAddress(std::string_view text);
// What a user is told of a refused address: "1/0/0: the field address must be 1 to 255".
std::string DescribeAddressFault(std::string_view text, AddressFault fault);
std::string FormatGroupAddress(const GroupAddress& address);
// The next valid address by line, group, field; throws when there is none.
GroupAddress NextGroupAddress(const GroupAddress& address);
