#include "PropertyScanner.h"

#include "model/Columns.h"
#include "model/Integers.h"
#include "model/Vocabulary.h"
#include "xml/SafeXmlParser.h"

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

PropertyScanner::PropertyScanner(ScanLimits limits) : limits_(limits), stream_(*this) {}

PropertyScanner::~PropertyScanner() = default;

void PropertyScanner::Refuse(ScanRefusal why) {
    if (refusal_ == ScanRefusal::None) {
        refusal_ = why;
    }
    stream_.Stop();
    // The rows read so far are thrown away at once, not when the scanner goes.
    std::vector<PropertyValues>().swap(rows_);
}

bool PropertyScanner::Feed(const char* data, std::size_t size) {
    bytesFed_ += size;
    if (bytesFed_ > limits_.maxBytes) {
        Refuse(ScanRefusal::TooLarge);
    }
    if (refusal_ == ScanRefusal::None && !stream_.Feed(data, size)) {
        Refuse(stream_.OutOfMemory() ? ScanRefusal::OutOfMemory : ScanRefusal::NotADocument);
    }
    return refusal_ == ScanRefusal::None;
}

bool PropertyScanner::Finish() {
    if (refusal_ == ScanRefusal::None && !stream_.Finish()) {
        Refuse(stream_.OutOfMemory() ? ScanRefusal::OutOfMemory : ScanRefusal::NotADocument);
    }
    return refusal_ == ScanRefusal::None;
}

void PropertyScanner::StartElement(const char* name, bool inNamespace, const char* id) {
    ++depth_;
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
            const std::uint64_t memory = (rows_.size() + 1) * MemoryPerLoadedRow;
            if (memory > limits_.memoryPerByte * bytesFed_ + limits_.memoryAllowance) {
                Refuse(ScanRefusal::TooDense);
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
