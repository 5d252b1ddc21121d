#pragma once

#include <span>
#include <string_view>

// One datapoint type: the cell label and the KNX datapoint type it stands for.
struct DatapointType {
    const char* label;
    const char* dptName;
    const char* dptCode;
};

// A label of a list column together with its project-file text.
struct CodedLabel {
    const char* label;
    const char* fileText;
};
using ConversionRule = CodedLabel;

extern const DatapointType DatapointTypes[6];
extern const CodedLabel DirectionLabels[2];
extern const CodedLabel KroTypeLabels[2];
extern const ConversionRule ConversionRules[5];

// The labels that a list column (3, 4, 6, 7) offers, in order; empty for other columns.
std::span<const char* const> ColumnVocabulary(int column);

// True when a row with this conversion rule (column 7) takes a conversion value
// (column 8): any rule but "None" and the empty text.
bool RuleCarriesValue(std::string_view rule);

// True when the column has a list and the text is one of its labels, ASCII letter
// case ignored and nothing trimmed.
bool IsInVocabulary(int column, std::string_view text);

// The label as the list spells it for a text that IsInVocabulary takes, else nullptr.
// Cells store this spelling: the project file knows the labels in their own letter case.
const char* VocabularyLabel(int column, std::string_view text);
