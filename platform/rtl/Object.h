// TObject, the root of the framework's classes, with its metaclass (TClass) and the class registry that
// finds classes by name.
#pragma once

#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Forward.h"
#include "platform/rtl/Types.h"

// Declares the class identity of a framework class; put it first in the class body. It leaves the
// access at public. The matching DEFINE_CLASS (PropertyInfo.h) goes in the class's .cpp file.
#define DECLARE_CLASS(Class, Parent)                                                                         \
public:                                                                                                      \
    using Inherited = Parent;                                                                                \
    static TClass StaticClass();                                                                             \
    TClass ClassType() const override {                                                                      \
        return StaticClass();                                                                                \
    }

class TObject {
public:
    TObject() = default;
    virtual ~TObject();
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    String ClassName() const;
    TClass ClassParent() const;
    bool InheritsFrom(TClass aClass) const;
    // Whether this object's class is aClass or derives from it, compared by name as the framework's
    // ClassNameIs does (case-insensitive).
    bool ClassNameIs(StringView name) const;

    // Called after the constructor of the most derived class has finished, when the object was made
    // through its metaclass or CreateInstance. Forms and data modules load their descriptions here,
    // because a C++ base constructor cannot yet reach the derived class.
    virtual void AfterConstruction() {}
    // Called by Free before the destructors run, while the object is still whole.
    virtual void BeforeDestruction() {}
    // BeforeDestruction, then delete. Owners free their components this way.
    void Free();
};

// Frees obj (when it is not null) through Free and sets the pointer to null.
template <class T> void FreeAndNil(T*& obj) {
    T* temp = obj;
    obj = nullptr;
    if (temp != nullptr)
        temp->Free();
}

// Runs the AfterConstruction of a newly constructed object and answers it; the object is freed again
// when AfterConstruction raises.
TObject* FinishConstruction(TObject* obj);

// Constructs a T and runs its AfterConstruction, as creating through the metaclass does.
template <class T, class... Args> T* CreateInstance(Args&&... args) {
    T* obj = new T(static_cast<Args&&>(args)...);
    FinishConstruction(obj);
    return obj;
}

// The metaclass record. One exists per framework class, made by DEFINE_CLASS.
class TClassInfo {
public:
    // Creates an instance; arg is the owner for components, the collection for collection items and
    // ignored for other classes.
    using Factory = TObject* (*)(TObject* arg);

    TClassInfo(const Char* name, TClass parent, Factory factory, std::vector<TPropInfo>&& props,
               std::vector<TMethodInfo>&& methods, std::vector<TFieldInfo>&& fields);
    ~TClassInfo();
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const String& ClassName() const { return FName; }
    TClass ClassParent() const { return FParent; }
    bool InheritsFrom(TClass aClass) const;
    bool CanCreate() const { return FFactory != nullptr; }

    // A new instance (through AfterConstruction). Components and collection items need the matching
    // creator; each raises EInvalidCast when this class is not of that family and EAbstractError when
    // the class cannot be instantiated. The framework defines the three beside TComponent and
    // TCollection, whose families they tell apart.
    TObject* Create() const;
    TComponent* CreateComponent(TComponent* owner) const;
    TCollectionItem* CreateItem(TCollection* collection) const;

    // Published properties of the class and its ancestors, the ancestors' first; a property that a
    // class declares again replaces the inherited one in its place.
    const std::vector<const TPropInfo*>& Properties() const;
    // The property of that name (case-insensitive), or null.
    const TPropInfo* FindProperty(StringView name) const;
    // The published method of that name in this class or an ancestor, or null.
    const TMethodInfo* MethodAddress(StringView name) const;
    // The published field of that name in this class or an ancestor, or null.
    const TFieldInfo* FieldAddress(StringView name) const;
    // The class of a published field of this class or an ancestor with that class name, or null. The
    // reader uses it to create the components of a form without registering their classes.
    TClass FindFieldClass(StringView className) const;

private:
    // Makes an instance through the factory and runs its AfterConstruction; EAbstractError without one.
    TObject* Construct(TObject* arg) const;

    String FName;
    TClass FParent;
    Factory FFactory;
    std::vector<TPropInfo> FProps;
    std::vector<TMethodInfo> FMethods;
    std::vector<TFieldInfo> FFields;
    mutable std::once_flag FPropsOnce;
    mutable std::vector<const TPropInfo*> FAllProps;
};

ZELMOR_DECLARE_EXCEPTION(EAbstractError, Exception)
// Errors of the component streaming. EReadError and EWriteError are the run-time library's stream errors.
ZELMOR_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
ZELMOR_DECLARE_EXCEPTION(EMethodNotFound, EFilerError)
ZELMOR_DECLARE_EXCEPTION(EInvalidImage, EFilerError)
ZELMOR_DECLARE_EXCEPTION(EResNotFound, Exception)

// The class registry. Registering a class also registers its ancestors down to TPersistent; a second
// class of a name already registered raises EFilerError "A class named %s already exists".
void RegisterClass(TClass aClass);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass aClass);
// The registered class of that name (case-insensitive), or null.
TClass GetClass(StringView className);
// Like GetClass; raises EClassNotFound "Class %s not found" when there is none.
TClass FindClass(StringView className);
