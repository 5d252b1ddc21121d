#include "GroupAddress.h"

#include "services/TabrixError.h"

#include <limits>
#include <optional>

namespace {

bool IsScanfSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%u" conversion: blanks, an optional sign, at least one digit. A minus negates
// modulo 2^32. Numbers beyond 32 bits saturate before the sign is applied, so they end
// in a value the range checks reject rather than in undefined behaviour.
std::optional<std::uint32_t> ScanUnsigned(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsScanfSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    constexpr std::uint64_t Limit = std::numeric_limits<std::uint32_t>::max();
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(text[pos] - '0'), Limit);
        ++pos;
    }
    auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

int AsSigned(std::uint32_t value) {
    return static_cast<int>(value);
}

} // namespace

AddressCheck CheckGroupAddress(std::string_view text) {
    std::uint32_t parts[3] = {};
    size_t pos = 0;
    int read = 0;
    while (read < 3) {
        if (read > 0) {
            if (pos >= text.size() || text[pos] != '/') {
                break;
            }
            ++pos;
        }
        auto number = ScanUnsigned(text, pos);
        if (!number) {
            break;
        }
        parts[read++] = *number;
    }
    AddressCheck check{{parts[0], parts[1], parts[2]}, AddressFault::None};
    if (read < 3) {
        check.fault = AddressFault::Form;
    } else if (check.address.line > MaxLine) {
        check.fault = AddressFault::Line;
    } else if (check.address.group > MaxGroup) {
        check.fault = AddressFault::Group;
    } else if (check.address.field < 1 || check.address.field > MaxField) {
        check.fault = AddressFault::Field;
    }
    return check;
}

GroupAddress ParseGroupAddress(std::string_view text) {
    const AddressCheck check = CheckGroupAddress(text);
    switch (check.fault) {
    case AddressFault::None:
        return check.address;
    case AddressFault::Form:
        throw TabrixError(
            FormatMessage("Invalid string %s for Konnex Address", std::string(text).c_str()));
    case AddressFault::Line:
        throw TabrixError(
            FormatMessage("Invalid value %d for line address", AsSigned(check.address.line)));
    case AddressFault::Group:
        throw TabrixError(
            FormatMessage("Invalid value %d for group address", AsSigned(check.address.group)));
    case AddressFault::Field:
        break;
    }
    throw TabrixError(
        FormatMessage("Invalid value %d for field address", AsSigned(check.address.field)));
}

std::string DescribeAddressFault(std::string_view text, AddressFault fault) {
    const std::string shown(text);
    switch (fault) {
    case AddressFault::None:
        return {};
    case AddressFault::Form:
        return FormatMessage("%s: a group address is written line/group/field, such as 1/0/1",
                             shown.c_str());
    case AddressFault::Line:
        return FormatMessage("%s: the line address must be 0 to %u", shown.c_str(), MaxLine);
    case AddressFault::Group:
        return FormatMessage("%s: the group address must be 0 to %u", shown.c_str(), MaxGroup);
    case AddressFault::Field:
        break;
    }
    return FormatMessage("%s: the field address must be 1 to %u", shown.c_str(), MaxField);
}

std::string FormatGroupAddress(const GroupAddress& address) {
    return FormatMessage("%u/%u/%u", address.line, address.group, address.field);
}

GroupAddress NextGroupAddress(const GroupAddress& address) {
    GroupAddress next = address;
    if (next.field < MaxField) {
        ++next.field;
        return next;
    }
    next.field = 1;
    if (next.group < MaxGroup) {
        ++next.group;
        return next;
    }
    next.group = 0;
    if (next.line < MaxLine) {
        ++next.line;
        return next;
    }
    throw TabrixError("Konnex Address space exhausted!");
}
