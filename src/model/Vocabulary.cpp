#include "Vocabulary.h"

#include "Columns.h"

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

const char* const TypeList[] = {"Boolean",         "Unsigned 8 bit", "Signed 8 bit",
                                "Unsigned 16 bit", "Signed 16 bit",  "Float 16 bit"};
const char* const DirectionList[] = {"IN", "OUT"};
const char* const KroTypeList[] = {"Register", "Coil"};
const char* const RuleList[] = {"None", "Add", "Subtract", "Multiply", "Divide"};

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

bool IsInVocabulary(int column, std::string_view text) {
    for (const char* label : ColumnVocabulary(column)) {
        if (EqualsIgnoringAsciiCase(label, text)) {
            return true;
        }
    }
    return false;
}
