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

GroupAddress ParseGroupAddress(std::string_view text) {
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
    if (read < 3) {
        throw TabrixError(
            FormatMessage("Invalid string %s for Konnex Address", std::string(text).c_str()));
    }
    const GroupAddress address{parts[0], parts[1], parts[2]};
    if (address.line > MaxLine) {
        throw TabrixError(
            FormatMessage("Invalid value %d for line address", AsSigned(address.line)));
    }
    if (address.group > MaxGroup) {
        throw TabrixError(
            FormatMessage("Invalid value %d for group address", AsSigned(address.group)));
    }
    if (address.field < 1 || address.field > MaxField) {
        throw TabrixError(
            FormatMessage("Invalid value %d for field address", AsSigned(address.field)));
    }
    return address;
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
