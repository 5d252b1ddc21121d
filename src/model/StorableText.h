#pragma once

#include <string>

// True when text can be stored in a project file or a clipboard row document and read
// back: well-formed UTF-8 without the C0 controls that XML 1.0 forbids (tab, line feed
// and carriage return are allowed). libxml2's writer would write either raw, and the
// result would no longer parse.
bool IsStorableText(const std::string& text);
