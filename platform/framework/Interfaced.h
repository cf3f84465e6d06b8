// Persistent objects that also answer COM-style interface queries, and the query helper that finds an
// interface of an object by its GUID.
#pragma once

#include "platform/rtl/Persistent.h"
#include "platform/win32/com.h"

// A persistent object that implements interfaces without living by their reference count: AddRef and
// Release only answer, and whoever created the object frees it as any other TPersistent. A descendant
// answers its own interfaces in QueryInterface and passes other GUIDs on to this one, which knows
// IUnknown only.
class TInterfacedPersistent : public TPersistent, public IUnknown {
    DECLARE_CLASS(TInterfacedPersistent, TPersistent)

public:
    // S_OK with object set for IUnknown; E_NOINTERFACE with object set to null otherwise.
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_NOINTERFACE;
        if (IsEqualGUID(riid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The object is not reference counted: these answer -1 and never free it.
    ULONG AddRef() override { return static_cast<ULONG>(-1); }
    ULONG Release() override { return static_cast<ULONG>(-1); }
};

// True when Instance implements the interface iid, with Intf set to it; false with Intf null for a null
// instance or an object that answers no interfaces or not this one.
inline bool Supports(TObject* Instance, REFIID iid, void** Intf) {
    if (Intf != nullptr)
        *Intf = nullptr;
    // Through TInterfacedPersistent first: a class that also implements an interface derived from
    // IUnknown holds IUnknown twice, which a cast to IUnknown cannot choose between.
    IUnknown* unknown = nullptr;
    if (auto* interfaced = dynamic_cast<TInterfacedPersistent*>(Instance))
        unknown = static_cast<IUnknown*>(interfaced);
    else
        unknown = dynamic_cast<IUnknown*>(Instance);
    if (unknown == nullptr)
        return false;
    void* found = nullptr;
    if (FAILED(unknown->QueryInterface(iid, &found)) || found == nullptr)
        return false;
    if (Intf != nullptr)
        *Intf = found;
    return true;
}

// The typed form: Supports(object, IID_IThing, thing) with IThing* thing.
template <class Interface> bool Supports(TObject* Instance, REFIID iid, Interface*& Intf) {
    void* found = nullptr;
    const bool result = Supports(Instance, iid, &found);
    Intf = static_cast<Interface*>(found);
    return result;
}

// An object that lives by its reference count, as the framework's interfaced objects do: the count
// starts at 0, whoever keeps an interface of it adds a reference, and the last Release frees it.
// A descendant implements its interfaces and answers AddRef and Release through InterfaceAddRef and
// InterfaceRelease.
class TInterfacedObject : public TObject {
public:
    ULONG RefCount() const { return FRefCount; }

protected:
    ULONG InterfaceAddRef() { return ++FRefCount; }
    ULONG InterfaceRelease() {
        const ULONG left = --FRefCount;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> FRefCount{0};
};
