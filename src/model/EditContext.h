#pragma once

#include "MappingTable.h"
#include "services/Services.h"

// The options that steer editing, read at the moment they matter.
class EditOptions {
  public:
    virtual ~EditOptions() = default;
    virtual bool IncrementGroupAddress() const = 0;
    virtual bool IncrementVariableIndex() const = 0;
    virtual bool CreateRowOnEdit() const = 0;
};

// The document's unsaved-changes flag, owned by the document lifecycle.
class ModifiedFlag {
  public:
    virtual ~ModifiedFlag() = default;
    virtual void SetModified(bool modified) = 0;
};

// What the editing handlers work on.
struct EditContext {
    MappingTable& table;
    const EditOptions& options;
    ModifiedFlag& document;
    Services& services;
};
