// TComponent: named, owned objects that form descriptions create. An owner frees the components it owns,
// the last created first, and tells its components (and those that asked) when one comes or goes.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/Forward.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/TypeInfo.h"

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;

using TGetChildProc = std::function<void(TComponent* child)>;

ZELMOR_DECLARE_EXCEPTION(EComponentError, Exception)

class TComponent : public TPersistent {
    DECLARE_CLASS(TComponent, TPersistent)

public:
    explicit TComponent(TComponent* owner);
    // Frees the owned components, the last created first, after telling every component that asked
    // for a free notification.
    ~TComponent() override;
    void BeforeDestruction() override;

    // Empty, or an identifier unique among the owner's components (compared without case). Raises
    // EComponentError "'%s' is not a valid component name" or "A component named %s already exists".
    const String& Name() const { return FName; }
    void SetName(const String& name);
    NativeInt Tag() const { return FTag; }
    void SetTag(NativeInt tag) { FTag = tag; }
    TComponent* Owner() const { return FOwner; }
    Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
    // Raises EListError "List index out of bounds (%d)" outside 0..ComponentCount-1.
    TComponent* Components(Integer index) const;
    // The position in the owner's list, or -1 without an owner.
    Integer ComponentIndex() const;
    void SetComponentIndex(Integer index);
    TComponentState ComponentState() const { return FComponentState; }
    TComponentStyle ComponentStyle() const { return FComponentStyle; }
    // Design-time position (left in the low word, top in the high word) of a component without a window.
    LongInt DesignInfo() const { return FDesignInfo; }
    void SetDesignInfo(LongInt info) { FDesignInfo = info; }

    // The owned component of that name (case-insensitive); null for an empty name or none.
    TComponent* FindComponent(StringView name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();
    // Asks to be told (through Notification with opRemove) when component is freed; mutual. Components of
    // the same owner are told through the owner anyway.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);
    // Marks a component owned by another as a part of it that streams with it (csSubComponent).
    void SetSubComponent(bool isSubComponent);
    void SetDesigning(bool value, bool setChildren = true);

    // Parent and children, for components that have a parent other than their owner (controls).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }

    String GetNamePath() const override { return FName; }
    TPersistent* GetOwner() const override { return FOwner; }
    void DefineProperties(TFiler* filer) override;

protected:
    friend class TReader;
    friend class TWriter;
    friend void CallLoaded(TComponent* component);

    // Told when a component is inserted into or removed from this component's owner family, or when a
    // component this one asked about is freed. Passes the news on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once the whole description this component came from has been read and fixed up.
    virtual void Loaded();
    virtual void ReadState(TReader* reader);
    virtual void WriteState(TWriter* writer);
    // The components to stream as children of this one, in order; none by default.
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root) {}
    // Owner and parent of the children the reader creates inside this component; null means the root.
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual void SetChildOrder(TComponent* child, Integer order) {}
    virtual void SetParentComponent(TComponent* parent) {}
    virtual void ValidateRename(TComponent* component, const String& curName, const String& newName);
    virtual void ValidateInsert(TComponent* component) {}
    virtual void Updating();
    virtual void Updated();
    void ChangeName(const String& newName);

    TComponentState FComponentState;
    TComponentStyle FComponentStyle{csInheritable};

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);
    void RemoveFreeNotifications();
    // Points the owner's published field of this component's name at it (or clears it).
    void SetReference(bool enable);

    TComponent* FOwner = nullptr;
    String FName;
    NativeInt FTag = 0;
    LongInt FDesignInfo = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

// Whether name is an identifier: a letter or underscore, then letters, digits and underscores.
bool IsValidIdent(StringView name);
