#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of an INI settings file as Qt writes it on Linux: "[Group]" headers and
// "key=value" lines; keys before any header belong to "General". Values are taken as the
// plain text they are: no typed value ("@Variant(...)") is ever decoded, so no content
// can make reading cost more than one pass over the text.

// The value of key in group, blanks around it and one pair of double quotes removed; the
// last line of the key counts.
std::optional<std::string> IniValue(std::string_view text, std::string_view group,
                                    std::string_view key);

// The text with key in group set to value: the key's lines in the group are replaced,
// or a line is added at the end of the group, or the group is added at the start. Every
// other line stays as it was.
std::string WithIniValue(std::string_view text, std::string_view group, std::string_view key,
                         std::string_view value);

// A whole decimal number within 64 bits, an optional sign before it, nothing else.
std::optional<long long> IniInteger(std::string_view value);
