#pragma once

// Grid columns of the mapping table. Row 0 is the header row, column 0 the row numbers.
constexpr int ColRowNumber = 0;
constexpr int ColAddress = 1;
constexpr int ColName = 2;
constexpr int ColType = 3;
constexpr int ColDirection = 4;
constexpr int ColIndex = 5;
constexpr int ColKroType = 6;
constexpr int ColConversionRule = 7;
constexpr int ColConversionScale = 8;
constexpr int ColumnCount = 9;

// Row commands add rows only while the table has fewer data rows than this.
constexpr int MaxDataRows = 110;

constexpr int MinVariableIndex = 1;
constexpr int MaxVariableIndex = 10001;
constexpr int MinConversionScale = 0;
constexpr int MaxConversionScale = 32767;

// Header texts of row 0, by column.
extern const char* const ColumnHeaders[ColumnCount];
