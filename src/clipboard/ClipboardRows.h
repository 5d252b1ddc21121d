#pragma once

#include "model/EditContext.h"
#include "xml/XmlHandles.h"

#include <string>
#include <string_view>
#include <vector>

extern const char* const ClipboardRootName;

// Texts above this size are taken as plain text without being parsed.
constexpr std::size_t MaxClipboardDocumentBytes = 16 * 1024 * 1024;

// The row document for grid rows top to bottom (inclusive): the declaration, a line
// break, then the whole document on one line without a final line break.
std::string WriteClipboardRows(const MappingTable& table, int top, int bottom);

// The parsed document when text is a row document, else nothing.
XmlDoc ParseClipboardRows(std::string_view text);

// The row elements of a parsed row document, in order.
std::vector<xmlNodePtr> ClipboardRowElements(xmlDocPtr document);

// Applies the fields of one row element to targetRow through the cell validators, in
// document order; empty and unknown fields are skipped.
void ApplyClipboardRow(EditContext& context, xmlNodePtr rowElement, int targetRow);
