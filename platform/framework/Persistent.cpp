// TPersistent: Assign and the name path.
#include "platform/framework/Persistent.h"

#include "platform/framework/Filer.h"
#include "platform/framework/FilerInternal.h"
#include "platform/framework/PropertyInfo.h"
#include "platform/rtl/Consts.h"

DEFINE_CLASS(TPersistent)

TPersistent::~TPersistent() {
    ForgetReadInstance(this);
    RemoveFixupInstance(this);
}

void TPersistent::Assign(TPersistent* source) {
    if (source != nullptr)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
    String sourceName = source != nullptr ? source->ClassName() : String(u"nil");
    throw EConvertError(Consts::SAssignError, {sourceName, ClassName()});
}

String TPersistent::GetNamePath() const {
    String result = ClassName();
    TPersistent* owner = GetOwner();
    if (owner != nullptr) {
        String ownerPath = owner->GetNamePath();
        if (!ownerPath.empty())
            result = ownerPath + u"." + result;
    }
    return result;
}
