#include "Vocabulary.h"

#include "Columns.h"

#include <array>
#include <cstddef>

const char* const ColumnHeaders[ColumnCount] = {
    "",
    "Group address",
    "Name",
    "Datapoint type",
    "IN/OUT",
    "Index",
    "COIL/REG",
    "Conversion Rule",
    "Conversion Value",
};

const DatapointType DatapointTypes[6] = {
    {"Boolean", "DPT_Switch", "01.001"},
    {"Unsigned 8 bit", "DPT_Value_1_Ucount", "05.010"},
    {"Signed 8 bit", "DPT_Value_1_Count", "06.010"},
    {"Unsigned 16 bit", "DPT_Value_2_Ucount", "07.001"},
    {"Signed 16 bit", "DPT_Value_2_Count", "08.001"},
    {"Float 16 bit", "DPT_Value_Temp", "09.001"},
};

const CodedLabel DirectionLabels[2] = {{"IN", "IN"}, {"OUT", "OUT"}};

const CodedLabel KroTypeLabels[2] = {{"Register", "REG"}, {"Coil", "COIL"}};

const ConversionRule ConversionRules[5] = {
    {"None", "No Conv"}, {"Add", "+"}, {"Subtract", "-"}, {"Multiply", "*"}, {"Divide", "/"},
};

namespace {

// The lists offer the labels of the coded tables above, in their order.
template <typename Entry, std::size_t Count>
std::array<const char*, Count> LabelsOf(const Entry (&entries)[Count]) {
    std::array<const char*, Count> labels{};
    for (std::size_t i = 0; i < Count; ++i) {
        labels[i] = entries[i].label;
    }
    return labels;
}

const auto TypeList = LabelsOf(DatapointTypes);
const auto DirectionList = LabelsOf(DirectionLabels);
const auto KroTypeList = LabelsOf(KroTypeLabels);
const auto RuleList = LabelsOf(ConversionRules);

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::span<const char* const> ColumnVocabulary(int column) {
    switch (column) {
    case ColType:
        return TypeList;
    case ColDirection:
        return DirectionList;
    case ColKroType:
        return KroTypeList;
    case ColConversionRule:
        return RuleList;
    default:
        return {};
    }
}

bool RuleCarriesValue(std::string_view rule) {
    return !rule.empty() && rule != "None";
}

const char* VocabularyLabel(int column, std::string_view text) {
    for (const char* label : ColumnVocabulary(column)) {
        if (EqualsIgnoringAsciiCase(label, text)) {
            return label;
        }
    }
    return nullptr;
}

bool IsInVocabulary(int column, std::string_view text) {
    return VocabularyLabel(column, text) != nullptr;
}
