// Published members of framework classes: the property, event, method and field records that
// streaming, form loading and "write only what differs from the default" all read, and the macros a
// class's .cpp file uses to declare them. Include this only in .cpp files.
//
//     DEFINE_CLASS(TTestButton,
//         PROPERTY(Caption),
//         PROPERTY(Width).Default(75),
//         PROPERTY(Color).Type(TypeInfoColor()).Default(clBtnFace),
//         PROPERTY(Kind).Default(bkCustom),
//         PROPERTY(Options).Default(TButtonOptions{boFlat}),
//         PROPERTY(Glyph).Stored(&Self::IsGlyphStored),
//         EVENT(OnClick),
//         METHOD(ButtonClick),
//         FIELD(Button1))
//
// PROPERTY(Name) reads through Name() and writes through SetName(v); the value's C++ type gives the
// kind (bool, integers, Char, double/float, String, ZELMOR_ENUM enumerations, TSet, pointers to framework
// objects or to TStrings). An ordinal or set property without Default is always written, except a
// 64-bit integer, whose default is 0; strings and floats are written when they are not empty or zero.
// Getters must not be overloaded.
#pragma once

#include <functional>
#include <limits>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

struct TPropInfo {
    const Char* name = nullptr;
    const TTypeInfo* type = nullptr;
    // One pair is set, by the kind: ordinals (integers, chars, enumerations, set bits, Int64), floats,
    // strings, framework objects, string lists, events.
    Int64 (*getOrd)(const TObject*) = nullptr;
    void (*setOrd)(TObject*, Int64) = nullptr;
    double (*getFloat)(const TObject*) = nullptr;
    void (*setFloat)(TObject*, double) = nullptr;
    String (*getStr)(const TObject*) = nullptr;
    void (*setStr)(TObject*, const String&) = nullptr;
    TObject* (*getObj)(const TObject*) = nullptr;
    void (*setObj)(TObject*, TObject*) = nullptr;
    TStrings* (*getStrings)(const TObject*) = nullptr;
    void (*setStrings)(TObject*, TStrings*) = nullptr;
    bool (*isAssigned)(const TObject*) = nullptr;                                // events: a handler is set
    const TMethodInfo* (*getMethod)(const TObject*, TObject*& target) = nullptr; // the bound published method
    bool (*setMethod)(TObject*, TObject* target, const TMethodInfo*) = nullptr;  // false: wrong signature
    Int64 defaultValue = 0;
    bool hasDefault = false;
    bool storedValue = true;
    bool (TObject::*storedMember)() const = nullptr;

    TPropInfo& Default(Int64 value) {
        defaultValue = value;
        hasDefault = true;
        return *this;
    }
    template <class E> TPropInfo& Default(TSet<E> value) { return Default(static_cast<Int64>(value.Bits())); }
    TPropInfo& NoDefault() {
        hasDefault = false;
        return *this;
    }
    TPropInfo& Stored(bool stored) {
        storedValue = stored;
        return *this;
    }
    template <class C> TPropInfo& Stored(bool (C::*predicate)() const) {
        storedMember = static_cast<bool (TObject::*)() const>(predicate);
        return *this;
    }
    // Gives an integer property one of the named integer types (TypeInfoColor(), TypeInfoCursor(),
    // TypeInfoShortCut()), or a double the type TDateTime (TypeInfoDateTime()).
    TPropInfo& Type(const TTypeInfo* typeInfo);

    bool HasSetter() const { return setOrd || setFloat || setStr || setObj || setStrings || setMethod; }
    // The stored specifier: a constant or the predicate's answer for instance.
    bool IsStored(const TObject* instance) const;
};

// A published method: a member function of a form or data module that events bind to by name.
struct TMethodInfo {
    const Char* name;
    const std::type_info* signature; // of the call, e.g. void(TObject*)
    void (*thunk)();                 // R (*)(TObject* instance, Args...) in disguise
};

// A published field: a pointer member that the owner's component of the same name is stored in.
struct TFieldInfo {
    const Char* name;
    TClass (*fieldClass)();
    TObject* (*get)(const TObject*);
    void (*set)(TObject*, TObject*);
};

// The handler an event holds when it was bound to a published method by name; the writer reads the
// method's name back from it.
template <class Sig> struct TBoundMethod;
template <class R, class... A> struct TBoundMethod<R(A...)> {
    TObject* instance;
    const TMethodInfo* method;
    R operator()(A... args) const {
        return reinterpret_cast<R (*)(TObject*, A...)>(method->thunk)(instance, static_cast<A&&>(args)...);
    }
};

// Type information of the integer types, TDateTime, String and Char.
template <class T> const TTypeInfo* IntegerTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = (sizeof(T) == 8) ? tkInt64 : tkInteger;
        t.name = sizeof(T) == 8 ? u"Int64" : u"Integer";
        t.minValue = static_cast<Int64>(std::numeric_limits<T>::min());
        t.maxValue =
            std::is_same_v<T, UInt64> ? INT64_MAX : static_cast<Int64>(std::numeric_limits<T>::max());
        return t;
    }();
    return &info;
}
const TTypeInfo* TypeInfoString();
const TTypeInfo* TypeInfoChar();
const TTypeInfo* TypeInfoDouble();
const TTypeInfo* TypeInfoSingle();
const TTypeInfo* TypeInfoDateTime();
const TTypeInfo* TypeInfoStrings();

namespace Published {

template <class M> struct MemberTraits;
template <class C, class R> struct MemberTraits<R (C::*)() const> {
    using Class = C;
    using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct MemberTraits<R (C::*)() const noexcept> : MemberTraits<R (C::*)() const> {};
template <class C, class R> struct MemberTraits<R (C::*)()> : MemberTraits<R (C::*)() const> {};
template <class C, class R, class V> struct MemberTraits<R (C::*)(V)> {
    using Class = C;
    using Value = std::remove_cvref_t<V>;
};

template <class T> struct SetTraits : std::false_type {};
template <class E> struct SetTraits<TSet<E>> : std::true_type { using Element = E; };

template <class Sig> const TTypeInfo* EventTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = tkMethod;
        t.signature = &typeid(Sig);
        return t;
    }();
    return &info;
}

template <class U> const TTypeInfo* ClassTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = tkClass;
        t.classOf = []() -> TClass { return U::StaticClass(); };
        return t;
    }();
    return &info;
}

template <class T> const TTypeInfo* ValueTypeInfo() {
    if constexpr (std::is_same_v<T, bool>)
        return TypeInfoBoolean();
    else if constexpr (std::is_enum_v<T>)
        return TypeInfoOf<T>();
    else if constexpr (std::is_same_v<T, Char>)
        return TypeInfoChar();
    else if constexpr (std::is_integral_v<T>)
        return IntegerTypeInfo<T>();
    else if constexpr (std::is_same_v<T, float>)
        return TypeInfoSingle();
    else if constexpr (std::is_floating_point_v<T>)
        return TypeInfoDouble();
    else if constexpr (std::is_same_v<T, String>)
        return TypeInfoString();
    else if constexpr (SetTraits<T>::value) {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.kind = tkSet;
            t.compType = TypeInfoOf<typename SetTraits<T>::Element>();
            t.name = u"set of " + t.compType->name;
            return t;
        }();
        return &info;
    } else if constexpr (std::is_pointer_v<T> && std::is_base_of_v<TStrings, std::remove_pointer_t<T>>)
        return TypeInfoStrings();
    else if constexpr (std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>)
        return ClassTypeInfo<std::remove_pointer_t<T>>();
    else
        static_assert(sizeof(T) == 0, "this type cannot be published");
}

// Getters may be non-const; the property table only reads through them.
template <class C> C* Mutable(const TObject* o) {
    return const_cast<C*>(static_cast<const C*>(o));
}

// The accessors a property record points at. They are function templates rather than lambdas: a
// lambda costs the compiler three functions (call operator, conversion and invoker) per property, and
// every framework class declares dozens of properties.
template <auto Getter> using GetterClass = typename MemberTraits<decltype(Getter)>::Class;
template <auto Setter> using SetterClass = typename MemberTraits<decltype(Setter)>::Class;
template <auto Setter> using SetterValue = typename MemberTraits<decltype(Setter)>::Value;

template <auto Getter> Int64 GetOrdinal(const TObject* o) {
    return static_cast<Int64>((Mutable<GetterClass<Getter>>(o)->*Getter)());
}
template <auto Setter> void SetOrdinal(TObject* o, Int64 v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(static_cast<SetterValue<Setter>>(v));
}
template <auto Getter> Int64 GetSetBits(const TObject* o) {
    return static_cast<Int64>((Mutable<GetterClass<Getter>>(o)->*Getter)().Bits());
}
template <auto Setter> void SetSetBits(TObject* o, Int64 v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(SetterValue<Setter>::FromBits(static_cast<UInt64>(v)));
}
template <auto Getter> double GetFloatValue(const TObject* o) {
    return static_cast<double>((Mutable<GetterClass<Getter>>(o)->*Getter)());
}
template <auto Setter> void SetFloatValue(TObject* o, double v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(static_cast<SetterValue<Setter>>(v));
}
template <auto Getter> String GetStringValue(const TObject* o) {
    return (Mutable<GetterClass<Getter>>(o)->*Getter)();
}
template <auto Setter> void SetStringValue(TObject* o, const String& v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(v);
}
template <auto Getter> TStrings* GetStringsValue(const TObject* o) {
    return (Mutable<GetterClass<Getter>>(o)->*Getter)();
}
template <auto Setter> void SetStringsValue(TObject* o, TStrings* v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(static_cast<SetterValue<Setter>>(v));
}
template <auto Getter> TObject* GetObjectValue(const TObject* o) {
    return (Mutable<GetterClass<Getter>>(o)->*Getter)();
}
// The reader checks the class before it calls the setter.
template <auto Setter> void SetObjectValue(TObject* o, TObject* v) {
    (static_cast<SetterClass<Setter>*>(o)->*Setter)(static_cast<SetterValue<Setter>>(v));
}

template <auto Getter, auto Setter> TPropInfo Property(const Char* name) {
    using T = typename MemberTraits<decltype(Getter)>::Value;
    constexpr bool writable = !std::is_same_v<decltype(Setter), std::nullptr_t>;
    TPropInfo p;
    p.name = name;
    p.type = ValueTypeInfo<T>();
    if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
        p.getOrd = &GetOrdinal<Getter>;
        if constexpr (writable)
            p.setOrd = &SetOrdinal<Setter>;
    } else if constexpr (SetTraits<T>::value) {
        p.getOrd = &GetSetBits<Getter>;
        if constexpr (writable)
            p.setOrd = &SetSetBits<Setter>;
    } else if constexpr (std::is_floating_point_v<T>) {
        p.getFloat = &GetFloatValue<Getter>;
        if constexpr (writable)
            p.setFloat = &SetFloatValue<Setter>;
    } else if constexpr (std::is_same_v<T, String>) {
        p.getStr = &GetStringValue<Getter>;
        if constexpr (writable)
            p.setStr = &SetStringValue<Setter>;
    } else if constexpr (std::is_base_of_v<TStrings, std::remove_pointer_t<T>>) {
        p.getStrings = &GetStringsValue<Getter>;
        if constexpr (writable)
            p.setStrings = &SetStringsValue<Setter>;
    } else {
        p.getObj = &GetObjectValue<Getter>;
        if constexpr (writable)
            p.setObj = &SetObjectValue<Setter>;
    }
    return p;
}

template <auto Member, class C, class R, class... A>
TPropInfo MakeEvent(const Char* name, std::function<R(A...)> C::*) {
    using Sig = R(A...);
    TPropInfo p;
    p.name = name;
    p.type = EventTypeInfo<Sig>();
    p.isAssigned = [](const TObject* o) { return static_cast<bool>(static_cast<const C*>(o)->*Member); };
    p.getMethod = [](const TObject* o, TObject*& target) -> const TMethodInfo* {
        const auto* bound = (static_cast<const C*>(o)->*Member).template target<TBoundMethod<Sig>>();
        if (bound == nullptr)
            return nullptr;
        target = bound->instance;
        return bound->method;
    };
    p.setMethod = [](TObject* o, TObject* target, const TMethodInfo* method) -> bool {
        std::function<Sig>& handler = static_cast<C*>(o)->*Member;
        if (method == nullptr) {
            handler = nullptr;
            return true;
        }
        if (*method->signature != typeid(Sig))
            return false;
        handler = TBoundMethod<Sig>{target, method};
        return true;
    };
    return p;
}

template <auto Member> TPropInfo Event(const Char* name) {
    return MakeEvent<Member>(name, Member);
}

template <auto M, class C, class R, class... A> TMethodInfo MakeMethod(const Char* name, R (C::*)(A...)) {
    using Thunk = R (*)(TObject*, A...);
    Thunk thunk = [](TObject* o, A... args) -> R {
        return (static_cast<C*>(o)->*M)(static_cast<A&&>(args)...);
    };
    return {name, &typeid(R(A...)), reinterpret_cast<void (*)()>(thunk)};
}

template <auto M> TMethodInfo Method(const Char* name) {
    return MakeMethod<M>(name, M);
}

template <auto F, class C, class U> TFieldInfo MakeField(const Char* name, U* C::*) {
    return {name, []() -> TClass { return U::StaticClass(); },
            [](const TObject* o) -> TObject* { return static_cast<const C*>(o)->*F; },
            [](TObject* o, TObject* v) { static_cast<C*>(o)->*F = static_cast<U*>(v); }};
}

template <auto F> TFieldInfo Field(const Char* name) {
    return MakeField<F>(name, F);
}

// One entry of a DEFINE_CLASS list.
struct TMember {
    TMember(const TPropInfo& p) : kind(0), prop(p) {}
    TMember(const TMethodInfo& m) : kind(1), method(m) {}
    TMember(const TFieldInfo& f) : kind(2), field(f) {}
    int kind;
    TPropInfo prop;
    TMethodInfo method{};
    TFieldInfo field{};
};

// The owner or collection a factory hands to the constructor. The cast depends on T, so that it is made
// only for a class of that family, whose definition has made TComponent or TCollection complete; this
// header knows them by name only.
template <class T, class Arg> Arg* FactoryArgument(TObject* arg) {
    return static_cast<Arg*>(arg);
}

template <class T> TClassInfo::Factory Factory() {
    if constexpr (std::is_abstract_v<T>)
        return nullptr;
    else if constexpr (std::is_base_of_v<TComponent, T>) {
        if constexpr (std::is_constructible_v<T, TComponent*>)
            return [](TObject* owner) -> TObject* { return new T(FactoryArgument<T, TComponent>(owner)); };
        else
            return nullptr;
    } else if constexpr (std::is_base_of_v<TCollectionItem, T>) {
        if constexpr (std::is_constructible_v<T, TCollection*>)
            return [](TObject* collection) -> TObject* {
                return new T(FactoryArgument<T, TCollection>(collection));
            };
        else
            return nullptr;
    } else if constexpr (std::is_default_constructible_v<T>)
        return [](TObject*) -> TObject* { return new T(); };
    else
        return nullptr;
}

TClassInfo MakeClassInfo(const Char* name, TClass parent, TClassInfo::Factory factory,
                         std::initializer_list<TMember> members);

} // namespace Published

#define PROPERTY(Name) ::Published::Property<&Self::Name, &Self::Set##Name>(u"" #Name)
#define READONLY_PROPERTY(Name) ::Published::Property<&Self::Name, nullptr>(u"" #Name)
#define PROPERTY_RW(Name, Getter, Setter) ::Published::Property<&Self::Getter, &Self::Setter>(u"" #Name)
#define EVENT(Name) ::Published::Event<&Self::Name>(u"" #Name)
#define EVENT_FIELD(Name, Field) ::Published::Event<&Self::Field>(u"" #Name)
#define METHOD(Name) ::Published::Method<&Self::Name>(u"" #Name)
#define FIELD(Name) ::Published::Field<&Self::Name>(u"" #Name)

#define DEFINE_CLASS(Class, ...)                                                                             \
    TClass Class::StaticClass() {                                                                            \
        using Self [[maybe_unused]] = Class;                                                                 \
        static const TClassInfo info = ::Published::MakeClassInfo(                                           \
            u"" #Class, Class::Inherited::StaticClass(), ::Published::Factory<Class>(), {__VA_ARGS__});      \
        return &info;                                                                                        \
    }

// Reading and writing a property of an instance by name, for code that does not know the class.
// Each raises EPropertyError "Property %s does not exist" for an unknown name and EPropertyConvertError
// "Invalid property value" when the value does not suit the property.
ZELMOR_DECLARE_EXCEPTION(EPropertyError, Exception)
ZELMOR_DECLARE_EXCEPTION(EPropertyConvertError, Exception)
const TPropInfo* GetPropInfo(const TObject* instance, StringView name);
Int64 GetOrdProp(const TObject* instance, StringView name);
void SetOrdProp(TObject* instance, StringView name, Int64 value);
String GetStrProp(const TObject* instance, StringView name);
void SetStrProp(TObject* instance, StringView name, const String& value);
double GetFloatProp(const TObject* instance, StringView name);
void SetFloatProp(TObject* instance, StringView name, double value);
TObject* GetObjectProp(const TObject* instance, StringView name);
void SetObjectProp(TObject* instance, StringView name, TObject* value);
// Enumerations and sets as names ("alClient", "[fsBold,fsItalic]").
String GetEnumProp(const TObject* instance, StringView name);
void SetEnumProp(TObject* instance, StringView name, StringView value);
String GetSetProp(const TObject* instance, StringView name, bool brackets = false);
void SetSetProp(TObject* instance, StringView name, StringView value);
// Binds an event to the published method methodName of target (raises EMethodNotFound "Method %s not
// found" when target has none, EPropertyConvertError when its signature differs); an empty name clears it.
void SetMethodProp(TObject* instance, StringView name, TObject* target, StringView methodName);
// The name of the published method an event is bound to; empty when unassigned or set in code.
String GetMethodName(const TObject* instance, StringView name);
