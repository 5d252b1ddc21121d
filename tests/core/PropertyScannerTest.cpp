#include "project/PropertyScanner.h"
#include "project/ProjectReader.h"
#include "xml/SafeXmlParser.h"

#include <gtest/gtest.h>

namespace {

// The rows XPath itself selects: the streaming reader must select the same elements.
int XPathRowCount(const std::string& text) {
    XmlDoc doc = ParseXmlSafely(text);
    if (!doc) {
        return -1;
    }
    XmlXPathContext context(xmlXPathNewContext(doc.get()));
    XmlXPathObject result(xmlXPathEvalExpression(ToXml(PropertyPath), context.get()));
    return (result && result->nodesetval) ? result->nodesetval->nodeNr : 0;
}

// Each selected row carries its number as its name, so the order is checked too.
std::vector<std::string> ScannedNames(const std::string& text, bool& accepted) {
    PropertyScanner scanner;
    accepted = scanner.Feed(text.data(), text.size()) && scanner.Finish();
    std::vector<std::string> names;
    for (const PropertyValues& row : scanner.Rows()) {
        names.push_back(row.name.value_or("?"));
    }
    return names;
}

struct SelectionCase {
    const char* label;
    const char* text;
    std::vector<std::string> names;
};

std::string P(const char* name) {
    return std::string("<Property><DatapointName>") + name + "</DatapointName></Property>";
}

class RowSelection : public testing::TestWithParam<SelectionCase> {};

TEST_P(RowSelection, MatchesXPath) {
    const SelectionCase& c = GetParam();
    bool accepted = false;
    const auto names = ScannedNames(c.text, accepted);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(static_cast<int>(names.size()), XPathRowCount(c.text));
}

const std::string Wrap(const char* device) {
    return std::string("<GatewayParameters><KonnexDevices>") + device +
           "</KonnexDevices></GatewayParameters>";
}

const std::string TwoDevices = Wrap(("<Device id='1'><Property_Identifiers>" + P("a") + P("b") +
                                     "</Property_Identifiers></Device><Device id='1.0'>"
                                     "<Property_Identifiers>" +
                                     P("c") + "</Property_Identifiers></Device>")
                                        .c_str());
const std::string IdForms = Wrap(("<Device id=' 1 '><Property_Identifiers>" + P("spaces") +
                                  "</Property_Identifiers></Device><Device id='01'>"
                                  "<Property_Identifiers>" +
                                  P("zero") +
                                  "</Property_Identifiers></Device><Device id='+1'>"
                                  "<Property_Identifiers>" +
                                  P("plus") +
                                  "</Property_Identifiers></Device><Device id='&#49;'>"
                                  "<Property_Identifiers>" +
                                  P("charref") + "</Property_Identifiers></Device>")
                                     .c_str());
const std::string WrongPlaces = Wrap(("<Device id='2'><Property_Identifiers>" + P("id2") +
                                      "</Property_Identifiers></Device><Device>"
                                      "<Property_Identifiers>" +
                                      P("noid") +
                                      "</Property_Identifiers></Device><Device id='1'>"
                                      "<Property_Identifiers><x>" +
                                      P("deeper") + "</x>" + P("ok") +
                                      "<Property><Property><DatapointName>inner</DatapointName>"
                                      "</Property></Property></Property_Identifiers>" +
                                      "<Device id='1'><Property_Identifiers>" + P("nested") +
                                      "</Property_Identifiers></Device></Device>")
                                         .c_str());
const std::string Namespaces =
    "<GatewayParameters xmlns:n='urn:x'><KonnexDevices><n:Device id='1'><Property_Identifiers>" +
    P("prefixed") + "</Property_Identifiers></n:Device><Device n:id='1'><Property_Identifiers>" +
    P("nsattr") + "</Property_Identifiers></Device><Device id='1'><Property_Identifiers>" +
    P("plain") +
    "<Property xmlns='urn:y'><DatapointName>default</DatapointName></Property>"
    "</Property_Identifiers></Device></KonnexDevices></GatewayParameters>";
const std::string OtherRoot = "<Gateway><KonnexDevices><Device id='1'><Property_Identifiers>" +
                              P("x") + "</Property_Identifiers></Device></KonnexDevices></Gateway>";
const std::string TwoLists = Wrap(("<Device id='1'><Property_Identifiers>" + P("1") +
                                   "</Property_Identifiers><Property_Identifiers>" + P("2") +
                                   "</Property_Identifiers></Device>")
                                      .c_str()) +
                             "<!-- after -->";

INSTANTIATE_TEST_SUITE_P(
    Documents, RowSelection,
    testing::Values(
        SelectionCase{"TwoDevicesWithIdOne", TwoDevices.c_str(), {"a", "b", "c"}},
        SelectionCase{"NumericIdForms", IdForms.c_str(), {"spaces", "zero", "charref"}},
        // The outer of two nested Property elements is a row; its only child is no field.
        SelectionCase{"OnlyThePathItself", WrongPlaces.c_str(), {"ok", "?"}},
        SelectionCase{"NamespacedElementsAreOthers", Namespaces.c_str(), {"plain"}},
        SelectionCase{"AnotherRoot", OtherRoot.c_str(), {}},
        SelectionCase{"SeveralLists", TwoLists.c_str(), {"1", "2"}}),
    [](const testing::TestParamInfo<SelectionCase>& info) { return info.param.label; });

TEST(PropertyScanner, FieldTextIsTheWholeContentOfTheElement) {
    const std::string text =
        Wrap("<Device id='1'><Property_Identifiers><Property><DatapointName>a<b>b<c>c</c></b>"
             "<![CDATA[<d>]]>&amp;&#x3A9;<!-- not text --></DatapointName></Property>"
             "</Property_Identifiers></Device>");
    bool accepted = false;
    EXPECT_EQ(ScannedNames(text, accepted), (std::vector<std::string>{"abc<d>&\u03A9"}));
    EXPECT_TRUE(accepted);
}

TEST(PropertyScanner, TextFedInPiecesGivesTheSameRows) {
    const std::string text = TwoDevices;
    for (size_t pieceSize : {size_t(1), size_t(3), size_t(64)}) {
        PropertyScanner scanner;
        bool fed = true;
        for (size_t at = 0; at < text.size(); at += pieceSize) {
            fed = fed && scanner.Feed(text.data() + at, std::min(pieceSize, text.size() - at));
        }
        ASSERT_TRUE(fed && scanner.Finish()) << pieceSize;
        ASSERT_EQ(scanner.Rows().size(), 3u) << pieceSize;
        EXPECT_EQ(scanner.Rows()[2].name, "c");
    }
}

} // namespace
