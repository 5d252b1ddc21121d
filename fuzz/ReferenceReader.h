#pragma once

#include "model/EditContext.h"

#include <string_view>

namespace fuzz {

// The project reader as the format describes it, kept simple rather than lean: the whole
// document parsed into a tree, the rows selected by the XPath expression, and each field
// read with xmlNodeGetContent. The streaming reader of the program must agree with it.
bool ReadProjectTextByXPath(MappingTable& table, const EditOptions& options,
                            std::string_view bytes);

} // namespace fuzz
