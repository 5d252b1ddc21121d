#pragma once

#include "PropertyFields.h"
#include "xml/XmlStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Bounds that keep a hostile file from exhausting memory. A loaded row costs a few
// hundred bytes however few the file spends on it (an empty "<Property/>" is eleven), so
// the rows are also bounded by the size of the text: their memory stays within
// memoryPerByte times the text's size plus memoryAllowance.
struct ScanLimits {
    std::size_t maxRows = 10'000'000;
    std::uint64_t maxBytes = std::uint64_t{4} << 30;
    std::uint64_t memoryPerByte = 4;
    std::uint64_t memoryAllowance = std::uint64_t{50} << 20;
};

// What one row costs while it is read and once it is in the table, at most: the values
// read (PropertyValues, in a vector that may have doubled) and the table's row of nine
// texts with its allocation.
constexpr std::uint64_t MemoryPerLoadedRow = 512;

// Why a text was refused.
enum class ScanRefusal { None, NotADocument, TooManyRows, TooDense, TooLarge, OutOfMemory };

// Streams a project file's text and keeps only the values of the selected Property
// elements (those under /GatewayParameters/KonnexDevices/Device[@id=1]/
// Property_Identifiers), so that no document tree of the whole file is ever held.
// The text is refused when it is not well-formed, has no root, or carries a DOCTYPE.
class PropertyScanner : private XmlStreamHandler {
  public:
    explicit PropertyScanner(ScanLimits limits = {});
    ~PropertyScanner() override;
    PropertyScanner(const PropertyScanner&) = delete;
    PropertyScanner& operator=(const PropertyScanner&) = delete;

    // Feeds the next piece of the text; false once the text is known to be refused.
    [[nodiscard]] bool Feed(const char* data, std::size_t size);
    // Ends the text; true when it was a document.
    [[nodiscard]] bool Finish();

    std::vector<PropertyValues>& Rows() { return rows_; }
    ScanRefusal Refusal() const { return refusal_; }
    const ScanLimits& Limits() const { return limits_; }

  private:
    void StartElement(const char* name, bool inNamespace, const char* id) override;
    void EndElement() override;
    void Text(const char* text, std::size_t length) override;
    void ApplyField();
    void Refuse(ScanRefusal why);

    ScanLimits limits_;
    XmlStream stream_;
    std::vector<PropertyValues> rows_;
    int depth_ = 0;
    int matchedDepth_ = 0; // how deep the current element chain follows the row path
    bool capturing_ = false;
    std::string fieldName_;
    std::string fieldText_;
    ScanRefusal refusal_ = ScanRefusal::None;
    std::uint64_t bytesFed_ = 0;
};
