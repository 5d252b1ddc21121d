#pragma once

#include "DocumentState.h"

// The handlers of New, Open, Save, Save As, Exit and closing the window.
struct DocumentContext {
    EditContext& edit;
    DocumentState& state;
};

extern const char* const ModifiedPromptText;
extern const char* const ModifiedPromptCaption;

// Settles the current document (asking to save unsaved changes) and starts an empty
// untitled one. False when the user cancelled or the save asked for failed.
[[nodiscard]] bool StartNewDocument(DocumentContext& context);
[[nodiscard]] bool SaveDocument(DocumentContext& context);
[[nodiscard]] bool WriteDocument(DocumentContext& context);

void FileSaveAs1BeforeExecute(DocumentContext& context);
[[nodiscard]] bool FileSaveAs1Accept(DocumentContext& context, const std::string& fileName);
void FileSaveAs1Cancel(DocumentContext& context);
// Before-handler, dialog, then the accept or cancel handler; true when written.
[[nodiscard]] bool FileSaveAs1Execute(DocumentContext& context);

void FileNewExecute(DocumentContext& context);
void SaveExecute(DocumentContext& context);
void FileExitExecute(DocumentContext& context);
[[nodiscard]] bool FormCloseQuery(DocumentContext& context);
void FormClose(DocumentContext& context);

// The open dialog first, the modified-document prompt second.
void FileOpen1Execute(DocumentContext& context);
void FileOpen1Accept(DocumentContext& context, const std::string& fileName);
