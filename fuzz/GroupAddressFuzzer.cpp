// ParseGroupAddress against the C library's sscanf("%u/%u/%u"), whose reading it follows,
// and the address order against FormatGroupAddress and NextGroupAddress.

#include "FuzzSupport.h"
#include "model/GroupAddress.h"
#include "services/TabrixError.h"

#include <cctype>
#include <cstdio>

namespace {

// sscanf's result is only defined while every number fits its conversion; nine digits
// always do.
bool NumbersFitInScanf(std::string_view text) {
    int digits = 0;
    for (const char c : text) {
        digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
        if (digits > 9) {
            return false;
        }
    }
    return true;
}

std::string ExpectedError(const std::string& text) {
    unsigned parts[3] = {};
    // sscanf stops at the first NUL, like the message's %s.
    if (std::sscanf(text.c_str(), "%u/%u/%u", &parts[0], &parts[1], &parts[2]) != 3) {
        return FormatMessage("Invalid string %s for Konnex Address", text.c_str());
    }
    if (parts[0] > MaxLine) {
        return FormatMessage("Invalid value %d for line address", static_cast<int>(parts[0]));
    }
    if (parts[1] > MaxGroup) {
        return FormatMessage("Invalid value %d for group address", static_cast<int>(parts[1]));
    }
    if (parts[2] < 1 || parts[2] > MaxField) {
        return FormatMessage("Invalid value %d for field address", static_cast<int>(parts[2]));
    }
    return FormatMessage("%u/%u/%u", parts[0], parts[1], parts[2]);
}

bool Before(const GroupAddress& a, const GroupAddress& b) {
    if (a.line != b.line) {
        return a.line < b.line;
    }
    if (a.group != b.group) {
        return a.group < b.group;
    }
    return a.field < b.field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    std::string outcome;
    try {
        const GroupAddress address = ParseGroupAddress(text);
        fuzz::Expect(address.line <= MaxLine && address.group <= MaxGroup && address.field >= 1 &&
                         address.field <= MaxField,
                     "address out of range accepted");
        outcome = FormatGroupAddress(address);
        fuzz::Expect(ParseGroupAddress(outcome) == address, "normal form reads differently");
        try {
            const GroupAddress next = NextGroupAddress(address);
            fuzz::Expect(Before(address, next), "successor not after the address");
            ParseGroupAddress(FormatGroupAddress(next));
        } catch (const TabrixError& error) {
            fuzz::Expect(address == GroupAddress{MaxLine, MaxGroup, MaxField},
                         std::string("no successor: ") + error.what());
        }
    } catch (const TabrixError& error) {
        outcome = error.what();
    }
    if (NumbersFitInScanf(text)) {
        const std::string expected = ExpectedError(std::string(text));
        fuzz::Expect(outcome == expected,
                     "'" + outcome + "' where sscanf gives '" + expected + "'");
    }
    return 0;
}
