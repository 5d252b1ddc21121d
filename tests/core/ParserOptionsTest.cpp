#include "xml/SafeXmlParser.h"

#include <gtest/gtest.h>

#include <libxml/parser.h>

namespace {

// Each of these would let a document reach beyond its own text or its own size: entity
// substitution (also of external entities, whatever NONET says), loading the DTD or its
// default attributes, validation (which loads the DTD), XInclude, and huge mode, which
// lifts libxml2's bounds on depth, text size and entity expansion.
struct DangerousFlag {
    const char* name;
    int flag;
};

class ParserOptions : public ::testing::TestWithParam<DangerousFlag> {};

TEST_P(ParserOptions, LeaveTheDangerousFlagOff) {
    EXPECT_EQ(SafeXmlParseOptions() & GetParam().flag, 0)
        << GetParam().name << " must never be among the parser options";
}

INSTANTIATE_TEST_SUITE_P(Flags, ParserOptions,
                         ::testing::Values(DangerousFlag{"NOENT", XML_PARSE_NOENT},
                                           DangerousFlag{"DTDLOAD", XML_PARSE_DTDLOAD},
                                           DangerousFlag{"DTDATTR", XML_PARSE_DTDATTR},
                                           DangerousFlag{"DTDVALID", XML_PARSE_DTDVALID},
                                           DangerousFlag{"XINCLUDE", XML_PARSE_XINCLUDE},
                                           DangerousFlag{"HUGE", XML_PARSE_HUGE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParserOptions, KeepTheNetworkOff) {
    EXPECT_NE(SafeXmlParseOptions() & XML_PARSE_NONET, 0);
}

} // namespace
