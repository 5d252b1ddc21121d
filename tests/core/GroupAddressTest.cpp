#include "model/GroupAddress.h"
#include "services/TabrixError.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>

namespace {

// One text offered to the parser: either the address it reads or the message it fails
// with. A pattern stands in for the message where numbers beyond 32 bits leave the
// value open; it must still be one of the parser's own messages.
struct ParseCase {
    const char* name;
    std::string text;
    std::optional<GroupAddress> address;
    std::string message;
    bool messageIsPattern = false;
};

ParseCase Reads(const char* name, std::string text, GroupAddress address) {
    return {name, std::move(text), address, "", false};
}

ParseCase Fails(const char* name, std::string text, std::string message) {
    return {name, std::move(text), std::nullopt, std::move(message), false};
}

ParseCase FailsLike(const char* name, std::string text, std::string pattern) {
    return {name, std::move(text), std::nullopt, std::move(pattern), true};
}

class ParseGroupAddressTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseGroupAddressTest, ReadsLikeScanfAndChecksTheRangesInOrder) {
    const ParseCase& c = GetParam();
    if (c.address) {
        EXPECT_EQ(ParseGroupAddress(c.text), *c.address);
        return;
    }
    try {
        const GroupAddress read = ParseGroupAddress(c.text);
        ADD_FAILURE() << "parsed as " << FormatGroupAddress(read);
    } catch (const TabrixError& error) {
        if (c.messageIsPattern) {
            EXPECT_TRUE(std::regex_match(error.what(), std::regex(c.message))) << error.what();
        } else {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseGroupAddressTest,
    testing::Values(Reads("Plain", "1/2/3", {1, 2, 3}),
                    Reads("BlanksLeadingZerosTrailingText", " 01/ 2/3abc", {1, 2, 3}),
                    Reads("AnyScanfBlankBeforeANumber", "\t1/\n2/\r 3", {1, 2, 3}),
                    Reads("PlusSign", "+1/2/3", {1, 2, 3}), Reads("MinusZero", "-0/0/1", {0, 0, 1}),
                    Reads("Lowest", "0/0/1", {0, 0, 1}), Reads("Highest", "15/7/255", {15, 7, 255}),
                    Reads("TextAfterTheThirdNumberIgnored", "1/2/3/4", {1, 2, 3}),
                    Fails("TwoNumbers", "1/2", "Invalid string 1/2 for Konnex Address"),
                    Fails("Empty", "", "Invalid string  for Konnex Address"),
                    Fails("Blank", "   ", "Invalid string     for Konnex Address"),
                    // The slash has to follow the number at once.
                    Fails("BlankBeforeSlash", "1 /2/3", "Invalid string 1 /2/3 for Konnex Address"),
                    Fails("Letters", "a/b/c", "Invalid string a/b/c for Konnex Address"),
                    Fails("SignWithoutDigits", "1/+/3", "Invalid string 1/+/3 for Konnex Address"),
                    Fails("HexPrefix", "0x1/2/3", "Invalid string 0x1/2/3 for Konnex Address"),
                    Fails("Line16", "16/0/1", "Invalid value 16 for line address"),
                    Fails("LineMinusOne", "-1/0/1", "Invalid value -1 for line address"),
                    Fails("Group8", "1/8/1", "Invalid value 8 for group address"),
                    Fails("GroupMinusTwo", "1/-2/1", "Invalid value -2 for group address"),
                    Fails("Field0", "1/2/0", "Invalid value 0 for field address"),
                    Fails("Field256", "1/2/256", "Invalid value 256 for field address"),
                    Fails("AllZero", "0/0/0", "Invalid value 0 for field address"),
                    Fails("LineReportedFirst", "16/8/0", "Invalid value 16 for line address"),
                    Fails("GroupBeforeField", "1/8/0", "Invalid value 8 for group address"),
                    FailsLike("LineJustPast32Bits", "4294967296/0/1",
                              "Invalid value -?[0-9]+ for line address"),
                    FailsLike("LineFarPast32Bits", "99999999999999999999/0/1",
                              "Invalid value -?[0-9]+ for line address"),
                    FailsLike("FieldFarPast32Bits", "1/2/99999999999999999999",
                              "Invalid value -?[0-9]+ for field address")),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(FormatGroupAddress, WritesLineGroupFieldWithSlashes) {
    EXPECT_EQ(FormatGroupAddress({1, 0, 12}), "1/0/12");
    EXPECT_EQ(FormatGroupAddress({15, 7, 255}), "15/7/255");
    EXPECT_EQ(ParseGroupAddress(FormatGroupAddress({0, 0, 1})), (GroupAddress{0, 0, 1}));
}

TEST(NextGroupAddress, CarriesFromFieldToGroupToLine) {
    EXPECT_EQ(NextGroupAddress({1, 0, 12}), (GroupAddress{1, 0, 13}));
    EXPECT_EQ(NextGroupAddress({1, 0, 255}), (GroupAddress{1, 1, 1}));
    EXPECT_EQ(NextGroupAddress({1, 7, 255}), (GroupAddress{2, 0, 1}));
    EXPECT_EQ(NextGroupAddress({14, 7, 255}), (GroupAddress{15, 0, 1}));
}

TEST(NextGroupAddress, LastAddressHasNoSuccessor) {
    try {
        NextGroupAddress({15, 7, 255});
        ADD_FAILURE() << "15/7/255 got a successor";
    } catch (const TabrixError& error) {
        EXPECT_STREQ(error.what(), "Konnex Address space exhausted!");
    }
}

// Walking the whole space visits every valid address once, in order, each of them
// surviving a round trip through its text form.
TEST(NextGroupAddress, WalksEveryValidAddressOnce) {
    GroupAddress address{0, 0, 1};
    int visited = 1;
    for (;;) {
        ASSERT_EQ(ParseGroupAddress(FormatGroupAddress(address)), address);
        GroupAddress next;
        try {
            next = NextGroupAddress(address);
        } catch (const TabrixError&) {
            break;
        }
        const auto key = [](const GroupAddress& a) {
            return (a.line << 16) | (a.group << 8) | a.field;
        };
        ASSERT_GT(key(next), key(address));
        address = next;
        ++visited;
    }
    EXPECT_EQ(address, (GroupAddress{15, 7, 255}));
    EXPECT_EQ(visited, 16 * 8 * 255);
}

} // namespace
