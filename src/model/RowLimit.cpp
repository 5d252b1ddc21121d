#include "RowLimit.h"

const char* const RowLimitText = "Sorry, you reached the row limit, you cannot add any more rows.";
const char* const RowLimitCaption = "Row limit reached";

bool CheckRowLimit(const MappingTable& table, MessageBoxService& messageBox) {
    if (table.GetRowCountEx() < MaxDataRows + 1) {
        return true;
    }
    messageBox.MessageBox(RowLimitText, RowLimitCaption, MbOk);
    return false;
}
