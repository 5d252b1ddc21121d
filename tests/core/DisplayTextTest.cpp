#include "services/DisplayText.h"

#include <gtest/gtest.h>

namespace {

struct ShortenCase {
    const char* name;
    std::string text;
    std::size_t maxBytes;
    std::string shown;
};

void PrintTo(const ShortenCase& c, std::ostream* os) {
    *os << c.name;
}

class ShortenedText : public ::testing::TestWithParam<ShortenCase> {};

TEST_P(ShortenedText, KeepsWholeCharactersUpToTheLimit) {
    EXPECT_EQ(ShortenForDisplay(GetParam().text, GetParam().maxBytes), GetParam().shown);
}

// "\xC3\xBC" is one two-byte letter, "\xE2\x82\xAC" one of three bytes.
INSTANTIATE_TEST_SUITE_P(
    Cases, ShortenedText,
    ::testing::Values(ShortenCase{"ShortText", "Invalid string a for Konnex Address", 64,
                                  "Invalid string a for Konnex Address"},
                      ShortenCase{"ExactlyTheLimit", "abcd", 4, "abcd"},
                      ShortenCase{"OneByteOver", "abcde", 4, "abcd\u2026"},
                      ShortenCase{"LimitInsideATwoByteLetter", "abc\xC3\xBC", 4, "abc\u2026"},
                      ShortenCase{"LimitInsideAThreeByteLetter",
                                  "a\xE2\x82\xAC"
                                  "b",
                                  3, "a\u2026"},
                      ShortenCase{"LimitAfterALetter",
                                  "ab\xC3\xBC"
                                  "cd",
                                  4, "ab\xC3\xBC\u2026"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShortenedText, AHugePastedTextQuotedInAnErrorIsCutToTheLimit) {
    const std::string message =
        "Invalid string " + std::string(16 << 20, '1') + " for Konnex Address";
    const std::string shown = ShortenForDisplay(message);
    EXPECT_EQ(shown.size(), MaxShownMessageBytes + std::string("\u2026").size());
    EXPECT_EQ(shown.substr(0, 15), "Invalid string ");
}

} // namespace
