// TPersistent: Assign and the name path.
#include "platform/rtl/Persistent.h"

#include <atomic>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TPersistent)

namespace {

std::atomic<TPersistentFreedProc> gFreedProc{nullptr};

} // namespace

void SetPersistentFreedProc(TPersistentFreedProc proc) {
    gFreedProc.store(proc, std::memory_order_release);
}

TPersistent::~TPersistent() {
    if (TPersistentFreedProc proc = gFreedProc.load(std::memory_order_acquire))
        proc(this);
}

void TPersistent::Assign(TPersistent* source) {
    if (source != nullptr)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) {
    dest->AssignError(this);
}

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
