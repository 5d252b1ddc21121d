#include "DocumentState.h"

#include "services/TabrixError.h"

void DocumentState::SetModified(bool modified) {
    modified_ = modified;
    window_.EnableMenuEntry(MenuEntry::Save1, modified);
}

std::string UntitledTitle(int number) {
    return FormatMessage("Marvane Tabrix - Untitled%d", number);
}

std::string NamedTitle(const std::string& fileName) {
    return FormatMessage("Marvane Tabrix - %s", fileName.c_str());
}
