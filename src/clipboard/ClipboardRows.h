#pragma once

#include "model/EditContext.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

extern const char* const ClipboardRootName;

// Texts above this size are taken as plain text without being parsed.
constexpr std::size_t MaxClipboardDocumentBytes = 16 * 1024 * 1024;

// The row document for grid rows top to bottom (inclusive): the declaration, a line
// break, then the whole document on one line without a final line break.
std::string WriteClipboardRows(const MappingTable& table, int top, int bottom);

// One field of a row of a row document: its column and its whole text (the text of
// everything inside the field element).
struct ClipboardField {
    int column;
    std::string text;
};

// The rows of a row document, in order. Empty and unknown fields are left out, so that a
// row costs nothing but its fields.
class ClipboardRowSet {
  public:
    std::size_t RowCount() const { return rowStarts_.size(); }
    std::span<const ClipboardField> Row(std::size_t index) const;

    void StartRow() { rowStarts_.push_back(fields_.size()); }
    // A field of the row started last.
    void AddField(int column, std::string text);

  private:
    std::vector<ClipboardField> fields_;
    std::vector<std::size_t> rowStarts_; // where each row's fields begin in fields_
};

// The rows when text is a row document, else nothing. The text is streamed: no document
// tree is built, and anything but a row document is refused at its first element.
std::optional<ClipboardRowSet> ParseClipboardRows(std::string_view text);

// Applies the fields of one row to targetRow through the cell validators, in document
// order.
void ApplyClipboardRow(EditContext& context, std::span<const ClipboardField> fields, int targetRow);
