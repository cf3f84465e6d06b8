// Type information of published values and access to published properties by name.
#include "platform/rtl/PropertyInfo.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

TTypeInfo TTypeInfo::Enumeration(const Char* typeName, const Char* commaSeparatedNames) {
    TTypeInfo info;
    info.kind = tkEnumeration;
    info.name = typeName;
    StringView rest(commaSeparatedNames);
    while (!rest.empty()) {
        std::size_t comma = rest.find(u',');
        String item = Trim(rest.substr(0, comma));
        if (!item.empty())
            info.names.push_back(item);
        rest = comma == StringView::npos ? StringView() : rest.substr(comma + 1);
    }
    info.minValue = 0;
    info.maxValue = static_cast<Int64>(info.names.size()) - 1;
    return info;
}

const TTypeInfo* TypeInfoBoolean() {
    static const TTypeInfo info = TTypeInfo::Enumeration(u"Boolean", u"False, True");
    return &info;
}

String GetEnumName(const TTypeInfo* type, Int64 value) {
    if (type == nullptr || value < type->minValue || value > type->maxValue)
        return String();
    Int64 index = value - type->minValue;
    if (index < 0 || index >= static_cast<Int64>(type->names.size()))
        return String();
    return type->names[static_cast<std::size_t>(index)];
}

Integer GetEnumValue(const TTypeInfo* type, StringView name) {
    if (type == nullptr)
        return -1;
    for (std::size_t i = 0; i < type->names.size(); ++i)
        if (SameText(type->names[i], name))
            return static_cast<Integer>(type->minValue + static_cast<Int64>(i));
    return -1;
}

String SetToString(const TTypeInfo* setType, UInt64 bits, bool brackets) {
    String result;
    const TTypeInfo* element = setType->compType;
    for (std::size_t i = 0; i < 64 && i < element->names.size(); ++i)
        if (bits & (UInt64(1) << i)) {
            if (!result.empty())
                result += u',';
            result += element->names[i];
        }
    return brackets ? u"[" + result + u"]" : result;
}

UInt64 StringToSet(const TTypeInfo* setType, StringView text) {
    String body = Trim(text);
    if (!body.empty() && body.front() == u'[')
        body.erase(0, 1);
    if (!body.empty() && body.back() == u']')
        body.pop_back();
    UInt64 bits = 0;
    StringView rest(body);
    while (!rest.empty()) {
        std::size_t comma = rest.find(u',');
        String item = Trim(rest.substr(0, comma));
        rest = comma == StringView::npos ? StringView() : rest.substr(comma + 1);
        if (item.empty())
            continue;
        Integer value = GetEnumValue(setType->compType, item);
        if (value < 0 || value >= 64)
            throw EPropertyConvertError(Consts::SInvalidPropertyElement, {item});
        bits |= UInt64(1) << value;
    }
    return bits;
}

namespace {

TTypeInfo Simple(TTypeKind kind, const Char* name) {
    TTypeInfo info;
    info.kind = kind;
    info.name = name;
    return info;
}

} // namespace

const TTypeInfo* TypeInfoString() {
    static const TTypeInfo info = Simple(tkUString, u"string");
    return &info;
}

const TTypeInfo* TypeInfoChar() {
    static const TTypeInfo info = [] {
        TTypeInfo t = Simple(tkWChar, u"Char");
        t.maxValue = 0xFFFF;
        return t;
    }();
    return &info;
}

const TTypeInfo* TypeInfoDouble() {
    static const TTypeInfo info = Simple(tkFloat, u"Double");
    return &info;
}

const TTypeInfo* TypeInfoSingle() {
    static const TTypeInfo info = [] {
        TTypeInfo t = Simple(tkFloat, u"Single");
        t.floatType = ftSingle;
        return t;
    }();
    return &info;
}

const TTypeInfo* TypeInfoDateTime() {
    static const TTypeInfo info = [] {
        TTypeInfo t = Simple(tkFloat, u"TDateTime");
        t.isDateTime = true;
        return t;
    }();
    return &info;
}

const TTypeInfo* TypeInfoStrings() {
    static const TTypeInfo info = [] {
        TTypeInfo t = Simple(tkClass, u"TStrings");
        t.isStrings = true;
        return t;
    }();
    return &info;
}

TPropInfo& TPropInfo::Type(const TTypeInfo* typeInfo) {
    bool fits = (typeInfo->kind == tkFloat) ? getFloat != nullptr : getOrd != nullptr;
    if (!fits)
        throw std::logic_error("published property " + StringToUtf8(name) + " cannot take the type " +
                               StringToUtf8(typeInfo->name));
    type = typeInfo;
    return *this;
}

bool TPropInfo::IsStored(const TObject* instance) const {
    if (storedMember != nullptr)
        return (instance->*storedMember)();
    return storedValue;
}

TClassInfo Published::MakeClassInfo(const Char* name, TClass parent, TClassInfo::Factory factory,
                                    std::initializer_list<TMember> members) {
    std::vector<TPropInfo> props;
    std::vector<TMethodInfo> methods;
    std::vector<TFieldInfo> fields;
    for (const TMember& member : members) {
        if (member.kind == 0)
            props.push_back(member.prop);
        else if (member.kind == 1)
            methods.push_back(member.method);
        else
            fields.push_back(member.field);
    }
    return TClassInfo(name, parent, factory, std::move(props), std::move(methods), std::move(fields));
}

// Access by name.

namespace {

const TPropInfo* RequireProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = instance->ClassType()->FindProperty(name);
    if (prop == nullptr)
        throw EPropertyError(Consts::SUnknownProperty, {name});
    return prop;
}

[[noreturn]] void ValueError() {
    throw EPropertyConvertError(Consts::SInvalidPropertyValue);
}

} // namespace

const TPropInfo* GetPropInfo(const TObject* instance, StringView name) {
    return instance->ClassType()->FindProperty(name);
}

Int64 GetOrdProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->getOrd == nullptr)
        ValueError();
    return prop->getOrd(instance);
}

void SetOrdProp(TObject* instance, StringView name, Int64 value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->setOrd == nullptr)
        ValueError();
    if (prop->type->kind != tkSet && (value < prop->type->minValue || value > prop->type->maxValue))
        ValueError();
    prop->setOrd(instance, value);
}

String GetStrProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->getStr == nullptr)
        ValueError();
    return prop->getStr(instance);
}

void SetStrProp(TObject* instance, StringView name, const String& value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->setStr == nullptr)
        ValueError();
    prop->setStr(instance, value);
}

double GetFloatProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->getFloat == nullptr)
        ValueError();
    return prop->getFloat(instance);
}

void SetFloatProp(TObject* instance, StringView name, double value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->setFloat == nullptr)
        ValueError();
    prop->setFloat(instance, value);
}

TObject* GetObjectProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->getObj == nullptr)
        ValueError();
    return prop->getObj(instance);
}

void SetObjectProp(TObject* instance, StringView name, TObject* value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->setObj == nullptr || (value != nullptr && !value->InheritsFrom(prop->type->classOf())))
        ValueError();
    prop->setObj(instance, value);
}

String GetEnumProp(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->type->kind != tkEnumeration)
        ValueError();
    return GetEnumName(prop->type, prop->getOrd(instance));
}

void SetEnumProp(TObject* instance, StringView name, StringView value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->type->kind != tkEnumeration || prop->setOrd == nullptr)
        ValueError();
    Integer ordinal = GetEnumValue(prop->type, value);
    if (ordinal < 0)
        throw EPropertyConvertError(Consts::SInvalidPropertyElement, {value});
    prop->setOrd(instance, ordinal);
}

String GetSetProp(const TObject* instance, StringView name, bool brackets) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->type->kind != tkSet)
        ValueError();
    return SetToString(prop->type, static_cast<UInt64>(prop->getOrd(instance)), brackets);
}

void SetSetProp(TObject* instance, StringView name, StringView value) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->type->kind != tkSet || prop->setOrd == nullptr)
        ValueError();
    prop->setOrd(instance, static_cast<Int64>(StringToSet(prop->type, value)));
}

void SetMethodProp(TObject* instance, StringView name, TObject* target, StringView methodName) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->setMethod == nullptr)
        ValueError();
    if (methodName.empty()) {
        prop->setMethod(instance, nullptr, nullptr);
        return;
    }
    const TMethodInfo* method = target != nullptr ? target->ClassType()->MethodAddress(methodName) : nullptr;
    if (method == nullptr)
        throw EMethodNotFound(Consts::SMethodNotFound, {methodName});
    if (!prop->setMethod(instance, target, method))
        ValueError();
}

String GetMethodName(const TObject* instance, StringView name) {
    const TPropInfo* prop = RequireProp(instance, name);
    if (prop->getMethod == nullptr)
        ValueError();
    TObject* target = nullptr;
    const TMethodInfo* method = prop->getMethod(instance, target);
    return method != nullptr ? String(method->name) : String();
}
