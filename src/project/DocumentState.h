#pragma once

#include "model/EditContext.h"

#include <string>

// The open document's name, its unsaved-changes flag and the untitled numbering.
class DocumentState : public ModifiedFlag {
  public:
    explicit DocumentState(WindowService& window) : window_(window) {}

    // The one way to change Modified; the Save menu item mirrors it.
    void SetModified(bool modified) override;
    bool Modified() const { return modified_; }

    std::string FileName;
    std::string PreviousFileName;
    int UntitledCounter = 0;
    // Files written whole so far: a save that went ahead, as the undo history needs to know.
    int WriteCount = 0;

  private:
    WindowService& window_;
    bool modified_ = false;
};

std::string UntitledTitle(int number);
std::string NamedTitle(const std::string& fileName);
