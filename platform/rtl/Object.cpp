// TObject, the metaclass records and the class registry.
#include "platform/rtl/Object.h"

#include <algorithm>
#include <stdexcept>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

TObject::~TObject() = default;

TClass TObject::StaticClass() {
    static const TClassInfo info(u"TObject", nullptr, [](TObject*) -> TObject* { return new TObject(); }, {},
                                 {}, {});
    return &info;
}

String TObject::ClassName() const {
    return ClassType()->ClassName();
}

TClass TObject::ClassParent() const {
    return ClassType()->ClassParent();
}

bool TObject::InheritsFrom(TClass aClass) const {
    return ClassType()->InheritsFrom(aClass);
}

bool TObject::ClassNameIs(StringView name) const {
    return SameText(ClassName(), name);
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

TClassInfo::TClassInfo(const Char* name, TClass parent, Factory factory, std::vector<TPropInfo>&& props,
                       std::vector<TMethodInfo>&& methods, std::vector<TFieldInfo>&& fields)
    : FName(name), FParent(parent), FFactory(factory), FProps(std::move(props)), FMethods(std::move(methods)),
      FFields(std::move(fields)) {
    // A mistake in a class's table shows at its first use rather than as a silently wrong stream.
    for (const TPropInfo& prop : FProps) {
        bool ordinal = prop.type != nullptr && (prop.type->kind == tkInteger || prop.type->kind == tkInt64 ||
                                                prop.type->kind == tkChar || prop.type->kind == tkWChar ||
                                                prop.type->kind == tkEnumeration || prop.type->kind == tkSet);
        if (prop.type == nullptr || (prop.hasDefault && !ordinal))
            throw std::logic_error("published property " + StringToUtf8(prop.name) + " of " +
                                   StringToUtf8(FName) + " has a default it cannot have");
    }
}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(TClass aClass) const {
    for (TClass c = this; c != nullptr; c = c->FParent)
        if (c == aClass)
            return true;
    return false;
}

TObject* FinishConstruction(TObject* obj) {
    try {
        obj->AfterConstruction();
    } catch (...) {
        delete obj;
        throw;
    }
    return obj;
}

TObject* TClassInfo::Construct(TObject* arg) const {
    if (FFactory == nullptr)
        throw EAbstractError(Consts::SAbstractError);
    return FinishConstruction(FFactory(arg));
}

const std::vector<const TPropInfo*>& TClassInfo::Properties() const {
    std::call_once(FPropsOnce, [this] {
        if (FParent != nullptr)
            FAllProps = FParent->Properties();
        for (const TPropInfo& prop : FProps) {
            auto same = std::find_if(FAllProps.begin(), FAllProps.end(),
                                     [&](const TPropInfo* p) { return SameText(p->name, prop.name); });
            if (same != FAllProps.end())
                *same = &prop;
            else
                FAllProps.push_back(&prop);
        }
    });
    return FAllProps;
}

const TPropInfo* TClassInfo::FindProperty(StringView name) const {
    for (const TPropInfo* prop : Properties())
        if (SameText(prop->name, name))
            return prop;
    return nullptr;
}

const TMethodInfo* TClassInfo::MethodAddress(StringView name) const {
    for (TClass c = this; c != nullptr; c = c->FParent)
        for (const TMethodInfo& method : c->FMethods)
            if (SameText(method.name, name))
                return &method;
    return nullptr;
}

const TFieldInfo* TClassInfo::FieldAddress(StringView name) const {
    for (TClass c = this; c != nullptr; c = c->FParent)
        for (const TFieldInfo& field : c->FFields)
            if (SameText(field.name, name))
                return &field;
    return nullptr;
}

TClass TClassInfo::FindFieldClass(StringView className) const {
    for (TClass c = this; c != nullptr; c = c->FParent)
        for (const TFieldInfo& field : c->FFields) {
            // Any ancestor of a field's class may be created for it as well.
            for (TClass fieldClass = field.fieldClass(); fieldClass != nullptr;
                 fieldClass = fieldClass->ClassParent())
                if (SameText(fieldClass->ClassName(), className))
                    return fieldClass;
        }
    return nullptr;
}

namespace {

struct TClassRegistry {
    std::mutex lock;
    std::vector<TClass> classes;
};

TClassRegistry& Registry() {
    static TClassRegistry registry;
    return registry;
}

TClass FindRegistered(const std::vector<TClass>& classes, StringView name) {
    for (TClass c : classes)
        if (SameText(c->ClassName(), name))
            return c;
    return nullptr;
}

} // namespace

void RegisterClass(TClass aClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (TClass c = aClass; c != nullptr; c = c->ClassParent()) {
        TClass existing = FindRegistered(registry.classes, c->ClassName());
        if (existing == c)
            break;
        if (existing != nullptr)
            throw EFilerError(Consts::SDuplicateClass, {c->ClassName()});
        registry.classes.push_back(c);
        if (c == TPersistent::StaticClass())
            break;
    }
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass aClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    std::erase(registry.classes, aClass);
}

TClass GetClass(StringView className) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return FindRegistered(registry.classes, className);
}

TClass FindClass(StringView className) {
    TClass result = GetClass(className);
    if (result == nullptr)
        throw EClassNotFound(Consts::SClassNotFound, {className});
    return result;
}
