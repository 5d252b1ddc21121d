#pragma once

#include "model/MappingTable.h"

#include <optional>
#include <string>
#include <string_view>

// What one Property of a project file sets; unset fields leave their cells alone.
struct PropertyValues {
    std::optional<std::string> name;
    const char* type = nullptr; // cell labels, from the vocabularies
    const char* direction = nullptr;
    const char* kroType = nullptr;
    const char* rule = nullptr;
    std::optional<int> index;
    std::optional<int> scale;
    // The group address parts; -1 is unset.
    int line = -1;
    int group = -1;
    int field = -1;
};

// Takes one field of a Property (its element name and its whole text) into the row's
// values: the one mapping from file texts to cells, for the reader and its tests alike.
// Fields it does not know, and values it does not accept, change nothing.
void ReadPropertyField(PropertyValues& row, std::string_view name, const std::string& text);

// Stores the values of a Property in a table row; unset ones leave their cells alone, and
// the address is stored only when all three of its parts are set.
void StorePropertyValues(MappingTable& table, int row, PropertyValues& values);
