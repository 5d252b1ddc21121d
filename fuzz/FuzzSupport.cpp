#include "FuzzSupport.h"

#include "model/GroupAddress.h"
#include "model/Integers.h"
#include "model/Vocabulary.h"
#include "services/TabrixError.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void Fail(const std::string& message) {
    std::fprintf(stderr, "fuzz expectation failed: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

Options OptionsFromByte(std::uint8_t byte) {
    Options options;
    options.incrementAddress = (byte & 1) != 0;
    options.incrementIndex = (byte & 2) != 0;
    options.createRow = (byte & 4) != 0;
    return options;
}

QuietServices::QuietServices()
    : services_{messageBox_, clipboard_, fileDialogs_, colourDialog_, window_, cellEditors_} {}

std::string& QuietServices::ClipboardText() {
    return clipboard_.text;
}

int QuietServices::MessagesShown() const {
    return messageBox_.shown;
}

std::string CellName(int column, int row) {
    return "cell " + std::to_string(column) + "/" + std::to_string(row);
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string_view()
                     : std::string_view(reinterpret_cast<const char*>(data), size);
}

void ExpectHeaderAndNumbers(const MappingTable& table) {
    Expect(table.GetRowCountEx() >= 1, "the header row is gone");
    for (int column = 0; column < ColumnCount; ++column) {
        Expect(table.GetCellEx(column, 0) == ColumnHeaders[column], "header changed");
    }
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        Expect(table.GetCellEx(ColRowNumber, row) == std::to_string(row),
               "row number wrong in row " + std::to_string(row));
    }
}

namespace {

bool IsAddressForm(const std::string& text) {
    try {
        return FormatGroupAddress(ParseGroupAddress(text)) == text;
    } catch (const TabrixError&) {
        return false;
    }
}

bool IsNumberForm(const std::string& text, int low, int high) {
    const auto value = ParseInteger(text);
    return value && *value >= low && *value <= high && std::to_string(*value) == text;
}

bool IsExactLabel(int column, const std::string& text) {
    for (const char* label : ColumnVocabulary(column)) {
        if (text == label) {
            return true;
        }
    }
    return false;
}

} // namespace

void ExpectStoredForms(const MappingTable& table) {
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        for (int column = ColAddress; column < ColumnCount; ++column) {
            const std::string& text = table.GetCellEx(column, row);
            if (text.empty() || column == ColName) {
                continue;
            }
            bool stored = false;
            switch (column) {
            case ColAddress:
                stored = IsAddressForm(text);
                break;
            case ColIndex:
                stored = IsNumberForm(text, MinVariableIndex, MaxVariableIndex);
                break;
            case ColConversionScale:
                stored = IsNumberForm(text, MinConversionScale, MaxConversionScale);
                break;
            default:
                stored = IsExactLabel(column, text);
                break;
            }
            Expect(stored, CellName(column, row) + " holds '" + text + "'");
        }
    }
}

} // namespace fuzz
