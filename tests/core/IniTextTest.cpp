#include "settings/IniText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct ReadCase {
    const char* name;
    std::string text;
    std::optional<std::string> value; // of CreateRowOnEdit in General
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsThePlainTextOfTheKey) {
    EXPECT_EQ(IniValue(GetParam().text, "General", "CreateRowOnEdit"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"AsQtWritesIt", "[General]\nCreateRowOnEdit=1\nKonnexCellColour=65280\n", "1"},
        ReadCase{"BlanksAndCarriageReturns", "[ General ]\r\n  CreateRowOnEdit = 1 \r\n", "1"},
        ReadCase{"Quoted", "[General]\nCreateRowOnEdit=\"0\"\n", "0"},
        ReadCase{"BeforeAnyHeader", "CreateRowOnEdit=1\n[Other]\nCreateRowOnEdit=0\n", "1"},
        ReadCase{"OnlyInAnotherGroup", "[Reopen]\nCreateRowOnEdit=1\n", std::nullopt},
        ReadCase{"LastLineCounts", "[General]\nCreateRowOnEdit=0\nCreateRowOnEdit=1", "1"},
        ReadCase{"KeyIsWhole", "[General]\nCreateRowOnEditX=1\n", std::nullopt},
        // A typed value stays text: nothing decodes it, however deep it nests.
        ReadCase{"TypedValueStaysText", "[General]\nCreateRowOnEdit=@Variant(\\0\\0\\0\\x2)\n",
                 "@Variant(\\0\\0\\0\\x2)"},
        ReadCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    std::string before;
    std::string after; // with CreateRowOnEdit in General set to 1
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, SetsTheKeyAndKeepsEveryOtherLine) {
    const std::string after = WithIniValue(GetParam().before, "General", "CreateRowOnEdit", "1");
    EXPECT_EQ(after, GetParam().after);
    EXPECT_EQ(IniValue(after, "General", "CreateRowOnEdit"), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"NoStoreYet", "", "[General]\nCreateRowOnEdit=1\n"},
        WriteCase{"Replaced", "[General]\nCreateRowOnEdit=0\nKonnexCellColour=5\n",
                  "[General]\nCreateRowOnEdit=1\nKonnexCellColour=5\n"},
        WriteCase{"AddedAtTheEndOfTheGroup",
                  "[General]\nKonnexCellColour=5\n\n[Reopen]\n1=/a.xml\n",
                  "[General]\nKonnexCellColour=5\nCreateRowOnEdit=1\n\n[Reopen]\n1=/a.xml\n"},
        WriteCase{"GroupAddedBeforeOthers", "[Reopen]\n1=/a.xml\n",
                  "[General]\nCreateRowOnEdit=1\n\n[Reopen]\n1=/a.xml\n"},
        WriteCase{"LastLineWithoutLineBreak", "[General]\nKonnexCellColour=5",
                  "[General]\nKonnexCellColour=5\nCreateRowOnEdit=1\n"},
        WriteCase{"DuplicatesBecomeOne", "[General]\nCreateRowOnEdit=0\nCreateRowOnEdit=2\n",
                  "[General]\nCreateRowOnEdit=1\n"},
        WriteCase{"SameKeyInAnotherGroupUntouched", "[Other]\nCreateRowOnEdit=7\n",
                  "[General]\nCreateRowOnEdit=1\n\n[Other]\nCreateRowOnEdit=7\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniInteger, TakesWholeDecimalNumbersOnly) {
    EXPECT_EQ(IniInteger("65280"), 65280);
    EXPECT_EQ(IniInteger("-1"), -1);
    EXPECT_EQ(IniInteger("+7"), 7);
    EXPECT_EQ(IniInteger("9223372036854775807"), 9223372036854775807LL);
    for (const char* text : {"", "+", "+-1", "1.5", "0x10", "1 2", "9223372036854775808", "true"}) {
        EXPECT_EQ(IniInteger(text), std::nullopt) << text;
    }
}

} // namespace
