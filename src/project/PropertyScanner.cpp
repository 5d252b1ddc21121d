#include "PropertyScanner.h"

#include "model/Columns.h"
#include "model/Integers.h"
#include "model/Vocabulary.h"
#include "xml/SafeXmlParser.h"

#include <libxml/parserInternals.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <span>

namespace {

// The row path, one element name per depth; depth 3 also needs an id equal to 1.
const char* const RowPath[] = {nullptr,  "GatewayParameters",    "KonnexDevices",
                               "Device", "Property_Identifiers", "Property"};
constexpr int DeviceDepth = 3;
constexpr int PropertyDepth = 5;
constexpr int FieldDepth = 6;
// libxml2's own limit for documents it builds; the push parser does not apply it.
constexpr int MaxDepth = 256;

const char* LabelForCode(std::span<const CodedLabel> codes, const std::string& text) {
    for (const CodedLabel& entry : codes) {
        if (text == entry.fileText) {
            return entry.label;
        }
    }
    return nullptr;
}

// An integer in range sets the part, one out of range unsets it, other text leaves it.
void ReadAddressPart(const std::string& text, int low, int high, int& part) {
    if (const auto value = ParseInteger(text)) {
        part = (*value >= low && *value <= high) ? *value : -1;
    }
}

// The id test of the row path is XPath's comparison of the attribute with the number 1.
bool IdEqualsOne(const xmlChar* value) {
    return value && xmlXPathStringEvalNumber(value) == 1.0;
}

} // namespace

struct PropertyScanner::Parser {
    xmlSAXHandler sax{};
    xmlParserCtxtPtr context = nullptr;
    bool sawDoctype = false;

    static PropertyScanner& Of(void* user) {
        return *static_cast<PropertyScanner*>(static_cast<xmlParserCtxtPtr>(user)->_private);
    }

    static void OnStart(void* user, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri, int, const xmlChar**, int attributeCount, int,
                        const xmlChar** attributes) {
        std::string id;
        bool hasId = false;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** attribute = attributes + 5 * i;
            // A prefix, even an undeclared one, makes it another attribute than id.
            if (attribute[1] == nullptr && std::strcmp(FromXml(attribute[0]), "id") == 0) {
                id.assign(FromXml(attribute[3]), static_cast<size_t>(attribute[4] - attribute[3]));
                hasId = true;
            }
        }
        // An undeclared prefix stays part of the name, as in the document tree.
        std::string qualified;
        if (prefix && !uri) {
            qualified = std::string(FromXml(prefix)) + ":" + FromXml(localName);
        }
        Of(user).StartElement(qualified.empty() ? FromXml(localName) : qualified.c_str(),
                              uri != nullptr, hasId ? id.c_str() : nullptr);
    }

    static void OnEnd(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        Of(user).EndElement();
    }

    static void OnText(void* user, const xmlChar* text, int length) {
        Of(user).Text(FromXml(text), static_cast<size_t>(length));
    }

    // A DOCTYPE is refused before its internal subset is read: no entity can be declared.
    static void OnDoctype(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        auto* context = static_cast<xmlParserCtxtPtr>(user);
        static_cast<PropertyScanner*>(context->_private)->parser_->sawDoctype = true;
        xmlStopParser(context);
    }
};

PropertyScanner::PropertyScanner(ScanLimits limits)
    : limits_(limits), parser_(std::make_unique<Parser>()) {
    // Only these callbacks: nothing builds a tree.
    xmlSAXHandler& sax = parser_->sax;
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = Parser::OnStart;
    sax.endElementNs = Parser::OnEnd;
    sax.characters = Parser::OnText;
    sax.cdataBlock = Parser::OnText;
    sax.internalSubset = Parser::OnDoctype;
}

PropertyScanner::~PropertyScanner() {
    if (parser_->context) {
        xmlFreeParserCtxt(parser_->context);
    }
}

void PropertyScanner::Refuse(ScanRefusal why) {
    if (refusal_ == ScanRefusal::None) {
        refusal_ = why;
    }
    if (parser_->context) {
        xmlStopParser(parser_->context);
    }
}

bool PropertyScanner::Feed(const char* data, std::size_t size) {
    bytesFed_ += size;
    if (bytesFed_ > limits_.maxBytes) {
        Refuse(ScanRefusal::TooLarge);
    }
    while (refusal_ == ScanRefusal::None && size > 0) {
        const int piece = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
        if (!parser_->context) {
            // The first bytes go with the creation, so the encoding is detected from them.
            parser_->context =
                xmlCreatePushParserCtxt(&parser_->sax, nullptr, data, piece, nullptr);
            if (!parser_->context) {
                Refuse(ScanRefusal::NotADocument);
                break;
            }
            parser_->context->_private = this;
            xmlCtxtUseOptions(parser_->context, SafeXmlParseOptions());
        } else if (xmlParseChunk(parser_->context, data, piece, 0) != 0) {
            Refuse(ScanRefusal::NotADocument);
        }
        if (parser_->sawDoctype || (parser_->context && !parser_->context->wellFormed)) {
            Refuse(ScanRefusal::NotADocument);
        }
        data += piece;
        size -= static_cast<std::size_t>(piece);
    }
    return refusal_ == ScanRefusal::None;
}

bool PropertyScanner::Finish() {
    if (refusal_ == ScanRefusal::None && !parser_->context) {
        Refuse(ScanRefusal::NotADocument);
    }
    if (refusal_ != ScanRefusal::None) {
        return false;
    }
    xmlParseChunk(parser_->context, nullptr, 0, 1);
    // No document node is ever built, so the root is judged by what was seen.
    if (refusal_ == ScanRefusal::None &&
        (parser_->sawDoctype || !parser_->context->wellFormed || depth_ != 0 || !rootSeen_)) {
        Refuse(ScanRefusal::NotADocument);
    }
    return refusal_ == ScanRefusal::None;
}

void PropertyScanner::StartElement(const char* name, bool inNamespace, const char* id) {
    ++depth_;
    rootSeen_ = true;
    if (depth_ > MaxDepth) {
        Refuse(ScanRefusal::NotADocument);
        return;
    }
    if (capturing_) {
        return; // text of descendants belongs to the field
    }
    if (depth_ == FieldDepth && matchedDepth_ == PropertyDepth) {
        capturing_ = true;
        fieldName_ = name;
        fieldText_.clear();
        return;
    }
    if (depth_ <= PropertyDepth && matchedDepth_ == depth_ - 1 && !inNamespace &&
        std::strcmp(name, RowPath[depth_]) == 0 &&
        (depth_ != DeviceDepth || IdEqualsOne(ToXml(id)))) {
        matchedDepth_ = depth_;
        if (depth_ == PropertyDepth) {
            if (rows_.size() == limits_.maxRows) {
                Refuse(ScanRefusal::TooManyRows);
                return;
            }
            rows_.emplace_back();
        }
    }
}

void PropertyScanner::EndElement() {
    if (capturing_ && depth_ == FieldDepth) {
        capturing_ = false;
        ApplyField();
    }
    if (matchedDepth_ >= depth_) {
        matchedDepth_ = depth_ - 1;
    }
    --depth_;
}

void PropertyScanner::Text(const char* text, std::size_t length) {
    if (capturing_) {
        fieldText_.append(text, length);
    }
}

void PropertyScanner::ApplyField() {
    PropertyValues& row = rows_.back();
    const std::string& name = fieldName_;
    const std::string& text = fieldText_;
    if (name == "DatapointName") {
        row.name = text;
    } else if (name == "DatapointTypeCode") {
        for (const DatapointType& entry : DatapointTypes) {
            if (text == entry.dptCode) {
                row.type = entry.label;
            }
        }
    } else if (name == "DatapointDirection") {
        if (const char* label = LabelForCode(DirectionLabels, text)) {
            row.direction = label;
        }
    } else if (name == "KRO_VariableIndex") {
        if (auto value = ParseIntegerInRange(text, MinVariableIndex, MaxVariableIndex)) {
            row.index = value;
        }
    } else if (name == "KRO_VariableType") {
        if (const char* label = LabelForCode(KroTypeLabels, text)) {
            row.kroType = label;
        }
    } else if (name == "KRO_Conversion_Rule") {
        if (const char* label = LabelForCode(ConversionRules, text)) {
            row.rule = label;
        }
    } else if (name == "KRO_Conversion_Scale") {
        if (auto value = ParseIntegerInRange(text, MinConversionScale, MaxConversionScale)) {
            row.scale = value;
        }
    } else if (name == "Knx_DataPoint_Line_Address") {
        ReadAddressPart(text, 0, 15, row.line);
    } else if (name == "Knx_Datapoint_GroupAddress") {
        ReadAddressPart(text, 0, 7, row.group);
    } else if (name == "Knx_Datapoint_Z_FieldAddress") {
        ReadAddressPart(text, 1, 255, row.field);
    }
}
