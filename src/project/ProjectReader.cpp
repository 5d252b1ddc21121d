#include "ProjectReader.h"

#include "model/RowFill.h"
#include "PropertyScanner.h"
#include "SafeFile.h"
#include "services/TabrixError.h"

#include <new>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

const char* const PropertyPath =
    "/GatewayParameters/KonnexDevices/Device[@id=1]/Property_Identifiers/Property";

namespace {

// One row per selected Property, plus the spare row; no row limit applies to a file.
void FillTable(MappingTable& table, const EditOptions& options, std::vector<PropertyValues>& rows) {
    MappingTable::Batch batch(table);
    const int count = static_cast<int>(rows.size());
    table.SetRowCountEx(count + 1 + (options.CreateRowOnEdit() ? 1 : 0));
    for (int k = 0; k < count; ++k) {
        StorePropertyValues(table, k + 1, rows[static_cast<size_t>(k)]);
    }
    rows.clear();
    RenumberRows(table);
    FillFromPreviousRow(table, options, table.GetRowCountEx() - 1);
}

const char* const NotEnoughMemory = ": not enough memory.";

// Memory that a refused file took goes back to the system, not only to the allocator.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

std::string OpenFailureMessage(const std::string& path, const PropertyScanner& scanner) {
    std::string message = "Unable to open file " + path;
    switch (scanner.Refusal()) {
    case ScanRefusal::TooManyRows:
        return message + FormatMessage(": it holds more than %zu rows.", scanner.Limits().maxRows);
    case ScanRefusal::TooDense:
        return message + ": it holds too many rows for its size.";
    case ScanRefusal::OutOfMemory:
        return message + NotEnoughMemory;
    case ScanRefusal::TooLarge:
        return message +
               FormatMessage(": it is larger than %llu MiB.",
                             static_cast<unsigned long long>(scanner.Limits().maxBytes >> 20));
    default:
        return message;
    }
}

} // namespace

bool FillTableFromProjectText(MappingTable& table, const EditOptions& options,
                              std::string_view bytes) {
    PropertyScanner scanner;
    if (!scanner.Feed(bytes.data(), bytes.size()) || !scanner.Finish()) {
        return false;
    }
    FillTable(table, options, scanner.Rows());
    return true;
}

bool ReadProjectFile(DocumentContext& context, const std::string& path, const ScanLimits& limits) {
    // The file is streamed through the parser: however large, it is never held whole.
    MessageBoxService& messageBox = context.edit.services.messageBox;
    MappingTable& table = context.edit.table;
    const int rowsBefore = table.GetRowCountEx();
    bool tableTouched = false;
    std::optional<std::string> failure;
    try {
        PropertyScanner scanner(limits);
        bool read = false;
        try {
            ReadRegularFileInPieces(path, [&scanner](const char* data, std::size_t size) {
                return scanner.Feed(data, size);
            });
            read = scanner.Finish();
        } catch (const TabrixError&) {
            // unreadable or not a regular file: reported below like bad XML
        }
        if (read) {
            tableTouched = true;
            FillTable(table, context.edit.options, scanner.Rows());
        } else {
            failure = OpenFailureMessage(path, scanner);
        }
    } catch (const std::bad_alloc&) {
        failure = "Unable to open file " + path + NotEnoughMemory;
    }
    if (failure) {
        // The document stays as New left it, also when memory ran out while it filled.
        if (tableTouched) {
            table.SetRowCountEx(1);
            table.SetRowCountEx(rowsBefore);
            RenumberRows(table);
        }
        ReturnFreedMemory();
        messageBox.MessageBox(*failure, "Error opening file", MbOk);
        return false;
    }
    context.state.FileName = path;
    context.edit.services.window.SetTitles(NamedTitle(path));
    return true;
}
