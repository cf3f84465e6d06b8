// TReader: components, properties and values from the binary component stream.
#include "platform/framework/Filer.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/Collection.h"
#include "platform/framework/FilerInternal.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

void CallLoaded(TComponent* component) {
    component->Loaded();
}

namespace {

// Restores a value when the scope ends, whichever way it ends.
template <class T> class TRestore {
public:
    explicit TRestore(T& place) : FPlace(place), FSaved(place) {}
    ~TRestore() { FPlace = FSaved; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& FPlace;
    T FSaved;
};

// Counts the nesting of components and values; input nested deeper is malformed.
class TNestingGuard {
public:
    explicit TNestingGuard(Integer& nesting) : FNesting(nesting) {
        if (FNesting >= MaxFilerNesting)
            throw EReadError(Consts::SInvalidStreamFormat);
        ++FNesting;
    }
    ~TNestingGuard() { --FNesting; }
    TNestingGuard(const TNestingGuard&) = delete;
    TNestingGuard& operator=(const TNestingGuard&) = delete;

private:
    Integer& FNesting;
};

bool IsIntegerValue(TValueType value) {
    return value == vaInt8 || value == vaInt16 || value == vaInt32;
}

String DisplayName(TPersistent* instance) {
    if (auto* component = dynamic_cast<TComponent*>(instance))
        if (!component->Name().empty())
            return component->Name();
    return instance->ClassName();
}

// What TPersistent's destructor does for the streaming: the freed object leaves the lists of the
// readers at work on this thread and the references that wait for later reads.
void ForgetFreedInstance(TPersistent* instance) {
    ForgetReadInstance(instance);
    RemoveFixupInstance(instance);
}

} // namespace

TReader::TReader(TStream& stream, Integer bufSize) : TFiler(stream, bufSize) {
    SetPersistentFreedProc(&ForgetFreedInstance);
    FStreamPos = stream.Position();
    FStreamSize = stream.Size();
}

TReader::~TReader() {
    // Give back what was buffered but not read, so that the stream stands after this component.
    if (FBufEnd > FBufPos) {
        try {
            FStream.Seek(static_cast<Int64>(FBufPos) - FBufEnd, soCurrent);
        } catch (...) {
            // A stream that cannot seek back leaves its position after the buffer; nothing else is lost.
        }
    }
}

// Bytes.

void TReader::Fill() {
    Integer count = FStream.Read(FBuffer.data(), static_cast<Integer>(FBuffer.size()));
    FBufPos = 0;
    FBufEnd = std::max(count, 0);
    FStreamPos += FBufEnd;
}

void TReader::Read(void* buffer, Integer count) {
    Byte* out = static_cast<Byte*>(buffer);
    while (count > 0) {
        if (FBufPos == FBufEnd) {
            Fill();
            if (FBufEnd == 0)
                throw EReadError(Consts::SReadError);
        }
        Integer chunk = std::min(count, FBufEnd - FBufPos);
        std::memcpy(out, FBuffer.data() + FBufPos, static_cast<std::size_t>(chunk));
        FBufPos += chunk;
        out += chunk;
        count -= chunk;
    }
}

Byte TReader::ReadByte() {
    Byte b;
    Read(&b, 1);
    return b;
}

Int64 TReader::Position() const {
    return FStreamPos - (FBufEnd - FBufPos);
}

Int64 TReader::Remaining() const {
    return std::max<Int64>(0, FStreamSize - Position());
}

void TReader::Skip(Int64 count) {
    if (count < 0 || count > Remaining())
        throw EReadError(Consts::SReadError);
    Int64 inBuffer = std::min<Int64>(count, FBufEnd - FBufPos);
    FBufPos += static_cast<Integer>(inBuffer);
    count -= inBuffer;
    if (count > 0) {
        FStream.Seek(count, soCurrent);
        FStreamPos += count;
    }
}

Integer TReader::ReadLength(Integer unitSize) {
    Byte bytes[4];
    Read(bytes, 4);
    Integer length =
        static_cast<Integer>(static_cast<Cardinal>(bytes[0]) | static_cast<Cardinal>(bytes[1]) << 8 |
                             static_cast<Cardinal>(bytes[2]) << 16 | static_cast<Cardinal>(bytes[3]) << 24);
    // A length beyond what the stream holds would read past its end; refuse before allocating.
    if (length < 0 || static_cast<Int64>(length) * unitSize > Remaining())
        throw EReadError(Consts::SReadError);
    return length;
}

void TReader::PropValueError() {
    throw EReadError(Consts::SInvalidPropertyValue);
}

void TReader::ReadError(const String& message) {
    throw EReadError(message);
}

// Values.

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
    if (FBufPos == FBufEnd) {
        Fill();
        if (FBufEnd == 0)
            throw EReadError(Consts::SReadError);
    }
    return static_cast<TValueType>(FBuffer[static_cast<std::size_t>(FBufPos)]);
}

void TReader::CheckValue(TValueType value) {
    if (NextValue() != value) {
        SkipValue();
        PropValueError();
    }
    ReadValue();
}

bool TReader::EndOfList() {
    return NextValue() == vaNull;
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

bool TReader::ReadBoolean() {
    TValueType value = NextValue();
    if (value != vaTrue && value != vaFalse) {
        SkipValue();
        PropValueError();
    }
    return ReadValue() == vaTrue;
}

Char TReader::ReadChar() {
    String s = ReadString();
    if (s.size() != 1)
        PropValueError();
    return s[0];
}

Integer TReader::ReadInteger() {
    Int64 value = 0;
    switch (NextValue()) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
        value = ReadInt64();
        break;
    default:
        SkipValue();
        PropValueError();
    }
    return static_cast<Integer>(value);
}

Int64 TReader::ReadInt64() {
    TValueType type = NextValue();
    int size;
    switch (type) {
    case vaInt8:
        size = 1;
        break;
    case vaInt16:
        size = 2;
        break;
    case vaInt32:
        size = 4;
        break;
    case vaInt64:
        size = 8;
        break;
    default:
        SkipValue();
        PropValueError();
    }
    ReadValue();
    Byte bytes[8];
    Read(bytes, size);
    UInt64 bits = 0;
    for (int i = size - 1; i >= 0; --i)
        bits = (bits << 8) | bytes[i];
    // Sign-extend from the value's width.
    int unused = 64 - size * 8;
    return unused == 0 ? static_cast<Int64>(bits) : static_cast<Int64>(bits << unused) >> unused;
}

Extended TReader::ReadFloat() {
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        Byte bytes[10];
        Read(bytes, 10);
        return Extended80ToDouble(bytes);
    }
    case vaDouble:
    case vaDate: {
        ReadValue();
        double value;
        Read(&value, 8);
        return value;
    }
    case vaSingle: {
        ReadValue();
        float value;
        Read(&value, 4);
        return value;
    }
    case vaCurrency: {
        ReadValue();
        Int64 value;
        Read(&value, 8);
        return static_cast<double>(value) / 10000.0;
    }
    default:
        return static_cast<Extended>(ReadInt64());
    }
}

float TReader::ReadSingle() {
    return static_cast<float>(ReadFloat());
}

double TReader::ReadCurrency() {
    return ReadFloat();
}

TDateTime TReader::ReadDate() {
    return ReadFloat();
}

String TReader::ReadString() {
    switch (NextValue()) {
    case vaWString: {
        ReadValue();
        Integer length = ReadLength(2);
        std::vector<Byte> bytes(static_cast<std::size_t>(length) * 2);
        Read(bytes.data(), length * 2);
        String result(static_cast<std::size_t>(length), u'\0');
        for (Integer i = 0; i < length; ++i)
            result[static_cast<std::size_t>(i)] = static_cast<Char>(
                bytes[static_cast<std::size_t>(i) * 2] | bytes[static_cast<std::size_t>(i) * 2 + 1] << 8);
        return result;
    }
    case vaUTF8String:
    case vaLString:
    case vaString: {
        TValueType type = ReadValue();
        Integer length = type == vaString ? ReadByte() : ReadLength(1);
        std::string bytes(static_cast<std::size_t>(length), '\0');
        Read(bytes.data(), length);
        return type == vaUTF8String ? Utf8ToString(bytes) : AnsiToString(bytes);
    }
    default:
        SkipValue();
        PropValueError();
    }
}

String TReader::ReadStr() {
    Byte length = ReadByte();
    std::string bytes(length, '\0');
    Read(bytes.data(), length);
    return Utf8ToString(bytes);
}

String TReader::ReadIdent() {
    switch (NextValue()) {
    case vaIdent:
        ReadValue();
        return ReadStr();
    case vaFalse:
        ReadValue();
        return u"False";
    case vaTrue:
        ReadValue();
        return u"True";
    case vaNil:
        ReadValue();
        return u"nil";
    case vaNull:
        ReadValue();
        return u"Null";
    default:
        SkipValue();
        PropValueError();
    }
}

UInt64 TReader::ReadSet(const TTypeInfo* setType) {
    CheckValue(vaSet);
    UInt64 bits = 0;
    for (;;) {
        String name = ReadStr();
        if (name.empty())
            break;
        Integer value = GetEnumValue(setType->compType, name);
        if (value < 0 || value >= 64) {
            SkipSetBody();
            PropValueError();
        }
        bits |= UInt64(1) << value;
    }
    return bits;
}

void TReader::SkipSetBody() {
    while (!ReadStr().empty()) {
    }
}

std::vector<Byte> TReader::ReadBinary() {
    CheckValue(vaBinary);
    Integer length = ReadLength(1);
    std::vector<Byte> bytes(static_cast<std::size_t>(length));
    Read(bytes.data(), length);
    return bytes;
}

void TReader::SkipValue() {
    TNestingGuard nesting(FNesting);
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        break;
    case vaInt8:
        Skip(1);
        break;
    case vaInt16:
        Skip(2);
        break;
    case vaInt32:
    case vaSingle:
        Skip(4);
        break;
    case vaExtended:
        Skip(10);
        break;
    case vaCurrency:
    case vaDate:
    case vaInt64:
    case vaDouble:
        Skip(8);
        break;
    case vaString:
    case vaIdent:
        Skip(ReadByte());
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        Skip(ReadLength(1));
        break;
    case vaWString:
        Skip(static_cast<Int64>(ReadLength(2)) * 2);
        break;
    case vaSet:
        SkipSetBody();
        break;
    case vaCollection:
        while (!EndOfList()) {
            if (IsIntegerValue(NextValue()))
                SkipValue();
            CheckValue(vaList);
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    default:
        ReadError(Consts::SInvalidStreamFormat);
    }
}

// Components.

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0)
        ReadError(Consts::SInvalidStreamFormat);
}

void TReader::ReadPrefix(TFilerFlags& flags, Integer& childPos) {
    flags = TFilerFlags();
    childPos = 0;
    Byte next = static_cast<Byte>(NextValue());
    if ((next & 0xF0) == 0xF0) {
        ReadByte();
        flags = TFilerFlags::FromBits(next & 0x07);
        if (flags.Contains(ffChildPos))
            childPos = ReadInteger();
    }
}

bool TReader::Error(const String& message) {
    bool handled = false;
    if (OnError)
        OnError(this, message, handled);
    return handled;
}

TComponentClass TReader::FindComponentClass(const String& className) {
    TComponentClass result = FRoot != nullptr ? FRoot->ClassType()->FindFieldClass(className) : nullptr;
    if (result == nullptr)
        result = GetClass(className);
    if (OnFindComponentClass)
        OnFindComponentClass(this, className, result);
    if (result == nullptr || !result->InheritsFrom(TComponent::StaticClass()))
        throw EClassNotFound(Consts::SClassNotFound, {className});
    return result;
}

const TMethodInfo* TReader::FindMethod(TComponent* root, const String& methodName) {
    const TMethodInfo* method = root != nullptr ? root->ClassType()->MethodAddress(methodName) : nullptr;
    bool error = method == nullptr;
    if (OnFindMethod)
        OnFindMethod(this, methodName, method, error);
    if (error)
        PropValueError();
    return method;
}

void TReader::AddLoaded(TComponent* component) {
    if (FLoaded != nullptr && std::find(FLoaded->begin(), FLoaded->end(), component) == FLoaded->end())
        FLoaded->push_back(component);
}

namespace {

// The readers reading a root on this thread, linked from the innermost outwards through their stack
// frames. A plain pointer rather than a container: objects with static storage may be freed after this
// thread's thread-local objects are gone.
struct TActiveReader {
    explicit TActiveReader(TReader* reader) : reader(reader), outer(tInnermost) { tInnermost = this; }
    ~TActiveReader() { tInnermost = outer; }
    TActiveReader(const TActiveReader&) = delete;
    TActiveReader& operator=(const TActiveReader&) = delete;

    static thread_local TActiveReader* tInnermost;
    TReader* reader;
    TActiveReader* outer;
};

thread_local TActiveReader* TActiveReader::tInnermost = nullptr;

} // namespace

void ForgetReadInstance(TPersistent* instance) {
    for (TActiveReader* active = TActiveReader::tInnermost; active != nullptr; active = active->outer)
        std::erase_if(active->reader->FFixups,
                      [instance](const TReader::TFixup& f) { return f.instance == instance; });
}

void ForgetReadComponent(TComponent* component) {
    for (TActiveReader* active = TActiveReader::tInnermost; active != nullptr; active = active->outer) {
        TReader* reader = active->reader;
        std::erase_if(reader->FFixups,
                      [component](const TReader::TFixup& f) { return f.component == component; });
        if (reader->FLoaded != nullptr)
            std::erase(*reader->FLoaded, component);
    }
    if (std::vector<TComponent*>* global = GlobalLoadedList())
        std::erase(*global, component);
}

void TReader::SkipComponent(bool skipHeader) {
    TNestingGuard nesting(FNesting);
    if (skipHeader) {
        TFilerFlags flags;
        Integer childPos;
        ReadPrefix(flags, childPos);
        ReadStr();
        ReadStr();
    }
    while (!EndOfList()) {
        ReadStr();
        SkipValue();
    }
    ReadListEnd();
    while (!EndOfList())
        SkipComponent(true);
    ReadListEnd();
}

TComponent* TReader::ReadComponent(TComponent* component) {
    TNestingGuard nesting(FNesting);
    TFilerFlags flags;
    Integer childPos;
    ReadPrefix(flags, childPos);
    String className = ReadStr();
    String componentName = ReadStr();
    TRestore<TComponent*> restoreParent(FParent);
    TRestore<TComponent*> restoreLookupRoot(FLookupRoot);

    TComponent* result = component;
    bool created = false;
    // A failure to create or name the component may be skipped through OnError, leaving the rest of
    // the description to load.
    try {
        if (result == nullptr) {
            if (flags.Contains(ffInherited)) {
                // The component exists already: an ancestor's description created it.
                result = FOwner != nullptr ? FOwner->FindComponent(componentName) : nullptr;
                if (result == nullptr)
                    ReadError(Format(Consts::SAncestorNotFound, {componentName}));
                TComponent* parent = result->GetParentComponent();
                FParent = parent != nullptr ? parent : FRoot;
            } else {
                TComponentClass componentClass = FindComponentClass(className);
                result = componentClass->CreateComponent(FOwner);
                created = true;
            }
        }
        result->FComponentState.Include(csLoading);
        if (flags.Contains(ffInline))
            result->FComponentState.Include(csInline);
        if (!flags.Contains(ffInherited)) {
            result->SetParentComponent(FParent);
            String name = componentName;
            if (OnSetName)
                OnSetName(this, result, name);
            result->SetName(name);
        }
    } catch (const Exception& e) {
        if (created)
            result->Free();
        if (!Error(e.Message()))
            throw;
        SkipComponent(false);
        return nullptr;
    }

    try {
        AddLoaded(result);
        if (result->FComponentState.Contains(csInline))
            FLookupRoot = result;
        result->FComponentState.Include(csReading);
        result->ReadState(this);
        result->FComponentState.Exclude(csReading);
        if (flags.Contains(ffChildPos) && FParent != nullptr)
            FParent->SetChildOrder(result, childPos);
    } catch (...) {
        result->FComponentState.Exclude(csReading);
        if (created)
            result->Free();
        throw;
    }
    return result;
}

void TReader::ReadData(TComponent* instance) {
    ReadDataInner(instance);
}

void TReader::ReadDataInner(TComponent* instance) {
    {
        TRestore<TComponent*> restoreCurrent(FCurrentComponent);
        FCurrentComponent = instance;
        while (!EndOfList())
            ReadProperty(instance);
        ReadListEnd();
    }
    TRestore<TComponent*> restoreParent(FParent);
    TRestore<TComponent*> restoreOwner(FOwner);
    FParent = instance->GetChildParent();
    FOwner = instance->GetChildOwner();
    if (FOwner == nullptr)
        FOwner = FRoot;
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadListEnd();
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    TActiveReader active(this);
    ReadSignature();
    TComponent* result = root;
    bool created = false;
    std::vector<TComponent*> localLoaded;
    try {
        TFilerFlags flags;
        Integer childPos;
        ReadPrefix(flags, childPos);
        String className = ReadStr();
        String name = ReadStr();
        if (root == nullptr) {
            result = FindClass(className)->CreateComponent(nullptr);
            created = true;
            result->SetName(name);
        } else if (!result->FComponentState.Contains(csDesigning)) {
            result->FComponentState.Include(csLoading);
            result->FComponentState.Include(csReading);
            // A second instance of a global form gets a name of its own ("Form1_1").
            String unique = name;
            TComponent* other = name.empty() ? nullptr : FindGlobalComponent(name);
            for (Integer i = 1; other != nullptr && other != result; ++i) {
                unique = Format(u"%s_%d", {name, i});
                other = FindGlobalComponent(unique);
            }
            result->SetName(unique);
        }
        FRoot = result;
        FLookupRoot = result;
        std::vector<TComponent*>* global = GlobalLoadedList();
        FLoaded = global != nullptr ? global : &localLoaded;
        AddLoaded(FRoot);
        FOwner = FRoot;
        FRoot->FComponentState.Include(csLoading);
        FRoot->FComponentState.Include(csReading);
        FRoot->ReadState(this);
        FRoot->FComponentState.Exclude(csReading);
        DoFixupReferences();
        FLoaded = nullptr;
        if (global == nullptr)
            for (TComponent* component : localLoaded)
                component->Loaded();
    } catch (...) {
        FLoaded = nullptr;
        FFixups.clear();
        if (created)
            result->Free();
        else if (result != nullptr)
            result->FComponentState.Exclude(csReading);
        throw;
    }
    GlobalFixupReferences();
    return result;
}

void TReader::DoFixupReferences() {
    std::vector<TFixup> fixups;
    fixups.swap(FFixups);
    for (const TFixup& fixup : fixups) {
        TComponent* target = FindNestedComponent(FRoot, fixup.name);
        if (target == nullptr) {
            // Another form or data module may bring it later.
            AddPendingFixup(FRoot, fixup.component, fixup.instance, fixup.prop, fixup.name);
            continue;
        }
        if (!target->InheritsFrom(fixup.prop->type->classOf()))
            throw EReadError(Consts::SPropertyException,
                             {DisplayName(fixup.instance), String(fixup.prop->name),
                              String(Consts::SInvalidPropertyValue)});
        fixup.prop->setObj(fixup.instance, target);
    }
}

// Properties.

void TReader::ReadProperty(TPersistent* instance) {
    String propPath;
    try {
        propPath = ReadStr();
        try {
            TPersistent* target = instance;
            FCanHandleExcepts = true;
            std::size_t start = 0;
            for (;;) {
                std::size_t dot = propPath.find(u'.', start);
                FPropName = propPath.substr(start, dot == String::npos ? String::npos : dot - start);
                if (dot == String::npos)
                    break;
                const TPropInfo* prop = target->ClassType()->FindProperty(FPropName);
                if (prop == nullptr) {
                    // A class may define a dotted property of its own.
                    FPropName = propPath;
                    ReadDefinedProperty(target);
                    return;
                }
                if (prop->getStrings != nullptr) {
                    // String lists store their lines as the defined property "Strings".
                    if (!SameText(propPath.substr(dot + 1), u"Strings")) {
                        SkipValue();
                        ReadError(Consts::SInvalidPropertyPath);
                    }
                    ReadStringsProperty(prop->getStrings(target));
                    FPropName.clear();
                    return;
                }
                auto* nested =
                    prop->getObj != nullptr ? dynamic_cast<TPersistent*>(prop->getObj(target)) : nullptr;
                if (nested == nullptr) {
                    SkipValue();
                    ReadError(Consts::SInvalidPropertyPath);
                }
                target = nested;
                start = dot + 1;
            }
            const TPropInfo* prop = target->ClassType()->FindProperty(FPropName);
            if (prop != nullptr)
                ReadPropValue(target, prop);
            else
                ReadDefinedProperty(target);
        } catch (const Exception& e) {
            throw EReadError(Consts::SPropertyException, {DisplayName(instance), propPath, e.Message()});
        }
    } catch (const Exception& e) {
        if (!FCanHandleExcepts || !Error(e.Message()))
            throw;
    }
}

void TReader::ReadDefinedProperty(TPersistent* instance) {
    // A failure inside a class's own reader leaves the stream at an unknown place; it cannot be skipped.
    FCanHandleExcepts = false;
    instance->DefineProperties(this);
    FCanHandleExcepts = true;
    if (!FPropName.empty()) {
        SkipValue();
        throw EReadError(Consts::SUnknownProperty, {FPropName});
    }
}

void TReader::ReadStringsProperty(TStrings* strings) {
    if (strings == nullptr) {
        SkipValue();
        PropValueError();
    }
    ReadListBegin();
    strings->BeginUpdate();
    try {
        strings->Clear();
        while (!EndOfList())
            strings->Add(ReadString());
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
    ReadListEnd();
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop) {
    const TTypeInfo* type = prop->type;
    if (!prop->HasSetter() && type->kind != tkClass) {
        SkipValue();
        ReadError(Consts::SReadOnlyProperty);
    }
    switch (type->kind) {
    case tkInteger:
    case tkInt64: {
        Int64 value;
        if (NextValue() == vaIdent) {
            String ident = ReadIdent();
            if (type->identToInt == nullptr || !type->identToInt(ident, value))
                PropValueError();
        } else {
            value = ReadInt64();
        }
        // Unsigned 32-bit properties are stored as their signed twin.
        if (type->maxValue == 0xFFFFFFFFLL && value < 0 && value >= INT32_MIN)
            value += 0x100000000LL;
        if (value < type->minValue || value > type->maxValue)
            PropValueError();
        prop->setOrd(instance, value);
        break;
    }
    case tkChar:
    case tkWChar:
        prop->setOrd(instance, ReadChar());
        break;
    case tkEnumeration: {
        Integer value = GetEnumValue(type, ReadIdent());
        if (value < 0)
            PropValueError();
        prop->setOrd(instance, value);
        break;
    }
    case tkSet:
        prop->setOrd(instance, static_cast<Int64>(ReadSet(type)));
        break;
    case tkFloat: {
        double value = type->floatType == ftSingle ? ReadSingle()
                       : type->isDateTime          ? ReadDate()
                                                   : ReadFloat();
        prop->setFloat(instance, value);
        break;
    }
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString:
        prop->setStr(instance, ReadString());
        break;
    case tkClass:
        switch (NextValue()) {
        case vaNil:
            ReadValue();
            if (prop->setObj == nullptr)
                ReadError(Consts::SReadOnlyProperty);
            prop->setObj(instance, nullptr);
            break;
        case vaCollection: {
            auto* collection =
                prop->getObj != nullptr ? dynamic_cast<TCollection*>(prop->getObj(instance)) : nullptr;
            if (collection == nullptr) {
                SkipValue();
                PropValueError();
            }
            ReadValue();
            ReadCollection(collection);
            break;
        }
        default: {
            String name = ReadIdent();
            if (prop->setObj == nullptr || type->isStrings ||
                !type->classOf()->InheritsFrom(TComponent::StaticClass()))
                PropValueError();
            // References are resolved once the whole description is read.
            FFixups.push_back({FCurrentComponent, instance, prop, name});
            break;
        }
        }
        break;
    case tkMethod:
        if (NextValue() == vaNil) {
            ReadValue();
            prop->setMethod(instance, nullptr, nullptr);
        } else {
            String name = ReadIdent();
            const TMethodInfo* method = FindMethod(FRoot, name);
            if (!prop->setMethod(instance, FRoot, method))
                PropValueError();
        }
        break;
    default:
        SkipValue();
        PropValueError();
    }
}

void TReader::ReadCollection(TCollection* collection) {
    TNestingGuard nesting(FNesting);
    collection->BeginUpdate();
    try {
        if (!EndOfList())
            collection->Clear();
        while (!EndOfList()) {
            if (IsIntegerValue(NextValue()))
                ReadInteger(); // the item's order in an inherited description
            TCollectionItem* item = collection->Add();
            ReadListBegin();
            while (!EndOfList())
                ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

// Defined properties.

void TReader::DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                             bool hasData) {
    if (FPropName.empty() || !SameText(name, FPropName))
        return;
    if (readData)
        readData(this);
    else
        SkipValue();
    FPropName.clear();
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& readData,
                                   const TStreamProc& writeData, bool hasData) {
    if (FPropName.empty() || !SameText(name, FPropName))
        return;
    if (readData) {
        std::vector<Byte> bytes = ReadBinary();
        TMemoryStream stream;
        if (!bytes.empty())
            stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
        stream.SetPosition(0);
        readData(stream);
    } else {
        SkipValue();
    }
    FPropName.clear();
}
