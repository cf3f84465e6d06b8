// TComponent: names, ownership, notifications and component state.
#include "platform/framework/Component.h"

#include <algorithm>

#include "platform/framework/Collection.h"
#include "platform/framework/Filer.h"
#include "platform/framework/FilerInternal.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"

DEFINE_CLASS(TComponent, PROPERTY(Name).Stored(false), PROPERTY(Tag).Default(0))

namespace {

bool IsIdentStart(Char c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c >= 0x80;
}

bool IsIdentChar(Char c) {
    return IsIdentStart(c) || (c >= u'0' && c <= u'9');
}

} // namespace

bool IsValidIdent(StringView name) {
    if (name.empty() || !IsIdentStart(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), IsIdentChar);
}

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    ForgetReadComponent(this);
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    if (!FComponentState.Contains(csDestroying))
        Destroying();
}

void TComponent::SetName(const String& name) {
    if (FName == name)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Consts::SInvalidName, {name});
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, name);
    else
        ValidateRename(nullptr, FName, name);
    SetReference(false);
    ChangeName(name);
    SetReference(true);
}

void TComponent::ChangeName(const String& newName) {
    FName = newName;
}

TComponent* TComponent::Components(Integer index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(Consts::SListIndexError, {index});
    return FComponents[static_cast<std::size_t>(index)];
}

Integer TComponent::ComponentIndex() const {
    if (FOwner == nullptr)
        return -1;
    auto it = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
    return it == FOwner->FComponents.end() ? -1 : static_cast<Integer>(it - FOwner->FComponents.begin());
}

void TComponent::SetComponentIndex(Integer index) {
    Integer current = ComponentIndex();
    if (current < 0)
        return;
    Integer count = FOwner->ComponentCount();
    index = std::clamp(index, 0, count - 1);
    if (index == current)
        return;
    auto& list = FOwner->FComponents;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(StringView name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, name))
            return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    // A component refused here is refused before it leaves its old owner, which keeps (and frees) it.
    ValidateInsert(component);
    // A duplicate name slipping in would make FindComponent and reference fix-ups pick the wrong component.
    if (component->FOwner != this && !component->FName.empty() && FindComponent(component->FName) != nullptr)
        throw EComponentError(Consts::SDuplicateName, {component->FName});
    if (component->FOwner != nullptr)
        component->FOwner->RemoveComponent(component);
    ValidateRename(component, String(), component->FName);
    Insert(component);
    component->SetReference(true);
    if (FComponentState.Contains(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    ValidateRename(component, component->FName, String());
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end())
        FComponents.erase(it);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        // Components that asked for notifications leave through RemoveComponent, so that the owner's
        // family hears of it; the others simply drop out of the list.
        if (instance->FComponentState.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        instance->Free();
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents)
        component->Destroying();
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component != nullptr)
        RemoveFreeNotification(component);
    // A component may leave the list while it is told; walk from the end and stay within the list.
    Integer i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<std::size_t>(i)]->Notification(component, operation);
        --i;
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this)
        return;
    if (FOwner == nullptr || component->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(component);
            component->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
}

void TComponent::RemoveFreeNotifications() {
    // Each link is dropped before the other side hears of it, so the loop ends even when an override
    // of Notification does not call the inherited one.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
}

void TComponent::SetReference(bool enable) {
    if (FOwner == nullptr || FName.empty())
        return;
    const TFieldInfo* field = FOwner->ClassType()->FieldAddress(FName);
    if (field == nullptr)
        return;
    if (enable) {
        if (InheritsFrom(field->fieldClass()))
            field->set(FOwner, this);
    } else if (field->get(FOwner) == this) {
        field->set(FOwner, nullptr);
    }
}

void TComponent::SetSubComponent(bool isSubComponent) {
    if (isSubComponent)
        FComponentStyle.Include(csSubComponent);
    else
        FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    if (value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (setChildren)
        for (TComponent* component : FComponents)
            component->SetDesigning(value, true);
}

void TComponent::ValidateRename(TComponent* component, const String& curName, const String& newName) {
    if (component != nullptr && !SameText(curName, newName) && !newName.empty() &&
        (component->FOwner == this || component->FOwner == nullptr) && FindComponent(newName) != nullptr)
        throw EComponentError(Consts::SDuplicateName, {newName});
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::ReadState(TReader* reader) {
    reader->ReadData(this);
}

void TComponent::WriteState(TWriter* writer) {
    writer->WriteData(this);
}

void TComponent::Updating() {
    FComponentState.Include(csUpdating);
}

void TComponent::Updated() {
    FComponentState.Exclude(csUpdating);
}

void TComponent::DefineProperties(TFiler* filer) {
    // Components without a window keep their place on the designer in DesignInfo, each half written as
    // the unsigned word it is.
    LongInt ancestorInfo = 0;
    if (auto* ancestor = dynamic_cast<TComponent*>(filer->Ancestor()))
        ancestorInfo = ancestor->FDesignInfo;
    filer->DefineProperty(
        u"Left",
        [this](TReader* reader) {
            FDesignInfo = static_cast<LongInt>((static_cast<UInt64>(FDesignInfo) & 0xFFFF0000u) |
                                               (static_cast<UInt64>(reader->ReadInteger()) & 0xFFFFu));
        },
        [this](TWriter* writer) { writer->WriteInteger(static_cast<Word>(FDesignInfo & 0xFFFF)); },
        (FDesignInfo & 0xFFFF) != (ancestorInfo & 0xFFFF));
    filer->DefineProperty(
        u"Top",
        [this](TReader* reader) {
            FDesignInfo =
                static_cast<LongInt>((static_cast<UInt64>(FDesignInfo) & 0xFFFFu) |
                                     ((static_cast<UInt64>(reader->ReadInteger()) & 0xFFFFu) << 16));
        },
        [this](TWriter* writer) { writer->WriteInteger(static_cast<Word>((FDesignInfo >> 16) & 0xFFFF)); },
        ((FDesignInfo >> 16) & 0xFFFF) != ((ancestorInfo >> 16) & 0xFFFF));
}

// The metaclass's creators. They live here rather than in the object core because they tell the
// component and collection item families apart, and those families belong to the framework.

TObject* TClassInfo::Create() const {
    if (InheritsFrom(TComponent::StaticClass()) || InheritsFrom(TCollectionItem::StaticClass()))
        throw EInvalidCast(Consts::SInvalidCast);
    return Construct(nullptr);
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const {
    if (!InheritsFrom(TComponent::StaticClass()))
        throw EInvalidCast(Consts::SInvalidCast);
    return static_cast<TComponent*>(Construct(owner));
}

TCollectionItem* TClassInfo::CreateItem(TCollection* collection) const {
    if (!InheritsFrom(TCollectionItem::StaticClass()))
        throw EInvalidCast(Consts::SInvalidCast);
    return static_cast<TCollectionItem*>(Construct(collection));
}
