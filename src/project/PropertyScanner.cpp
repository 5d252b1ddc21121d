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
    ReadPropertyField(rows_.back(), fieldName_, fieldText_);
}
