#pragma once

#include "XmlHandles.h"

#include <string_view>

// The options every document of the program is parsed with: no network, no entity
// substitution, no DTD loading, no huge mode.
int SafeXmlParseOptions();

// Parses text from memory. Gives nothing for text that is not well-formed, has no root
// element, carries a DOCTYPE (the program writes none, and refusing it before the DTD is
// processed means no entity beyond the predefined ones can ever expand), or has a start
// tag that StartTagGuard refuses.
XmlDoc ParseXmlSafely(std::string_view bytes);
