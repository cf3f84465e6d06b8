// TPersistent: objects that can be copied with Assign and stored in component streams.
#pragma once

#include "platform/rtl/Object.h"

class TPersistent : public TObject {
    DECLARE_CLASS(TPersistent, TObject)

public:
    TPersistent() = default;
    ~TPersistent() override;

    // Copies source into this object. A class that can copy from source's class overrides Assign (or
    // source's class overrides AssignTo); otherwise EConvertError "Cannot assign a %s to a %s" names
    // source's class ("nil" when source is null) and this object's class.
    virtual void Assign(TPersistent* source);
    // The name designers and error texts show: the owner's name path, a dot and the class name.
    virtual String GetNamePath() const;
    // Declares properties that are stored without being published (TFiler::DefineProperty).
    virtual void DefineProperties(TFiler* filer) {}
    // The object this one belongs to, for GetNamePath; null by default.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);
    [[noreturn]] void AssignError(TPersistent* source);
};

// Called by TPersistent's destructor with the object going away, once installed. The framework's
// component streaming installs it when it first reads, so that an object freed while references to it
// wait to be resolved leaves the readers' lists; before any read those lists are empty.
using TPersistentFreedProc = void (*)(TPersistent* instance);
void SetPersistentFreedProc(TPersistentFreedProc proc);
