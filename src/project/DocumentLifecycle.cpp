#include "DocumentLifecycle.h"

#include "ProjectReader.h"
#include "ProjectWriter.h"

const char* const ModifiedPromptText =
    "The current document has been modified.\nDo you want to save it first?";
const char* const ModifiedPromptCaption = "Modified document";

bool StartNewDocument(DocumentContext& context) {
    Services& services = context.edit.services;
    if (context.state.Modified()) {
        const int answer = services.messageBox.MessageBox(ModifiedPromptText, ModifiedPromptCaption,
                                                          MbYesNoCancel);
        if (answer == IdYes) {
            if (!SaveDocument(context)) {
                return false;
            }
        } else if (answer != IdNo) {
            return false;
        }
    }
    MappingTable& table = context.edit.table;
    const int keep = context.edit.options.CreateRowOnEdit() ? 1 : 0;
    table.RemoveRowsAt(1, table.GetRowCountEx() - 1 - keep);
    RenumberRows(table);
    context.state.FileName.clear();
    ++context.state.UntitledCounter;
    services.window.SetTitles(UntitledTitle(context.state.UntitledCounter));
    context.state.SetModified(false);
    return true;
}

bool SaveDocument(DocumentContext& context) {
    if (!context.state.FileName.empty()) {
        return WriteDocument(context);
    }
    return FileSaveAs1Execute(context);
}

bool WriteDocument(DocumentContext& context) {
    context.edit.services.window.SetTitles(NamedTitle(context.state.FileName));
    const bool written = WriteProjectFile(context.edit.table, context.edit.options,
                                          context.edit.services.messageBox, context.state.FileName);
    if (written) {
        ++context.state.WriteCount;
        context.state.SetModified(false);
    }
    return written;
}

void FileSaveAs1BeforeExecute(DocumentContext& context) {
    context.state.PreviousFileName = context.state.FileName;
    context.state.FileName.clear();
}

bool FileSaveAs1Accept(DocumentContext& context, const std::string& fileName) {
    if (context.state.FileName.empty()) {
        context.state.FileName = fileName;
    }
    return WriteDocument(context);
}

void FileSaveAs1Cancel(DocumentContext& context) {
    context.state.FileName = context.state.PreviousFileName;
}

bool FileSaveAs1Execute(DocumentContext& context) {
    FileSaveAs1BeforeExecute(context);
    const auto chosen = context.edit.services.fileDialogs.GetSaveFileName();
    if (!chosen) {
        FileSaveAs1Cancel(context);
        return false;
    }
    return FileSaveAs1Accept(context, *chosen);
}

// The commands end here either way: a cancelled or failed one has told the user already.
void FileNewExecute(DocumentContext& context) {
    static_cast<void>(StartNewDocument(context));
}

void SaveExecute(DocumentContext& context) {
    static_cast<void>(SaveDocument(context));
}

void FileExitExecute(DocumentContext& context) {
    if (StartNewDocument(context)) {
        context.edit.services.window.Quit();
    }
}

bool FormCloseQuery(DocumentContext& context) {
    return StartNewDocument(context);
}

void FormClose(DocumentContext& context) {
    context.edit.services.window.Quit();
}

void FileOpen1Execute(DocumentContext& context) {
    if (const auto chosen = context.edit.services.fileDialogs.GetOpenFileName()) {
        FileOpen1Accept(context, *chosen);
    }
}

void FileOpen1Accept(DocumentContext& context, const std::string& fileName) {
    if (!StartNewDocument(context)) {
        return;
    }
    static_cast<void>(ReadProjectFile(context, fileName)); // a refusal shows its message
}
