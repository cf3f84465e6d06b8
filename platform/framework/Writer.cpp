// TWriter: components, properties and values into the binary component stream.
#include "platform/framework/Filer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/framework/Collection.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

TWriter::TWriter(TStream& stream, Integer bufSize) : TFiler(stream, bufSize) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // Only reached when writing already failed and the error is on its way; FlushBuffer reported it.
    }
}

void TWriter::Write(const void* buffer, Integer count) {
    const Byte* in = static_cast<const Byte*>(buffer);
    Integer capacity = static_cast<Integer>(FBuffer.size());
    while (count > 0) {
        if (FBufPos == capacity)
            FlushBuffer();
        Integer chunk = std::min(count, capacity - FBufPos);
        std::memcpy(FBuffer.data() + FBufPos, in, static_cast<std::size_t>(chunk));
        FBufPos += chunk;
        in += chunk;
        count -= chunk;
    }
}

void TWriter::FlushBuffer() {
    if (FBufPos == 0)
        return;
    Integer count = FBufPos;
    FBufPos = 0;
    FStream.WriteBuffer(FBuffer.data(), count);
}

Int64 TWriter::Position() const {
    return FStream.Position() + FBufPos;
}

// Values.

namespace {

void LittleEndian(UInt64 value, Byte* out, int size) {
    for (int i = 0; i < size; ++i) {
        out[i] = static_cast<Byte>(value & 0xFF);
        value >>= 8;
    }
}

} // namespace

void TWriter::WriteValue(TValueType value) {
    Byte b = value;
    Write(&b, 1);
}

void TWriter::WriteListBegin() {
    WriteValue(vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(vaNull);
}

void TWriter::WriteSignature() {
    Write("TPF0", 4);
}

void TWriter::WritePrefix(TFilerFlags flags, Integer childPos) {
    if (flags.Empty())
        return;
    Byte prefix = static_cast<Byte>(0xF0 | flags.Bits());
    Write(&prefix, 1);
    if (flags.Contains(ffChildPos))
        WriteInteger(childPos);
}

void TWriter::WriteBoolean(bool value) {
    WriteValue(value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(Char value) {
    WriteString(String(1, value));
}

void TWriter::WriteInteger(Int64 value) {
    Byte bytes[8];
    int size;
    if (value >= -128 && value <= 127) {
        WriteValue(vaInt8);
        size = 1;
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(vaInt16);
        size = 2;
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(vaInt32);
        size = 4;
    } else {
        WriteValue(vaInt64);
        size = 8;
    }
    LittleEndian(static_cast<UInt64>(value), bytes, size);
    Write(bytes, size);
}

void TWriter::WriteFloat(Extended value) {
    Byte bytes[10];
    DoubleToExtended80(value, bytes);
    WriteValue(vaExtended);
    Write(bytes, 10);
}

void TWriter::WriteSingle(float value) {
    WriteValue(vaSingle);
    Write(&value, 4);
}

void TWriter::WriteCurrency(double value) {
    // Currency is a count of ten-thousandths; a value beyond its range has no encoding.
    double scaled = std::nearbyint(value * 10000.0);
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        throw EWriteError(Consts::SInvalidPropertyValue);
    Int64 units = static_cast<Int64>(scaled);
    WriteValue(vaCurrency);
    Write(&units, 8);
}

void TWriter::WriteDate(TDateTime value) {
    WriteValue(vaDate);
    Write(&value, 8);
}

void TWriter::WriteString(const String& value) {
    bool ascii = std::all_of(value.begin(), value.end(), [](Char c) { return c < 0x80; });
    Byte length[4];
    if (ascii) {
        std::string bytes(value.begin(), value.end());
        if (bytes.size() <= 255) {
            WriteValue(vaString);
            Byte size = static_cast<Byte>(bytes.size());
            Write(&size, 1);
        } else {
            WriteValue(vaLString);
            LittleEndian(bytes.size(), length, 4);
            Write(length, 4);
        }
        Write(bytes.data(), static_cast<Integer>(bytes.size()));
        return;
    }
    std::string utf8 = StringToUtf8(value);
    if (utf8.size() < value.size() * 2) {
        WriteValue(vaUTF8String);
        LittleEndian(utf8.size(), length, 4);
        Write(length, 4);
        Write(utf8.data(), static_cast<Integer>(utf8.size()));
        return;
    }
    WriteValue(vaWString);
    LittleEndian(value.size(), length, 4);
    Write(length, 4);
    std::vector<Byte> units(value.size() * 2);
    for (std::size_t i = 0; i < value.size(); ++i)
        LittleEndian(value[i], &units[i * 2], 2);
    Write(units.data(), static_cast<Integer>(units.size()));
}

void TWriter::WriteStr(const String& value) {
    std::string utf8 = StringToUtf8(value);
    if (utf8.size() > 255)
        throw EWriteError(Consts::SWriteError);
    Byte size = static_cast<Byte>(utf8.size());
    Write(&size, 1);
    Write(utf8.data(), size);
}

void TWriter::WriteIdent(const String& ident) {
    if (SameText(ident, u"False"))
        WriteValue(vaFalse);
    else if (SameText(ident, u"True"))
        WriteValue(vaTrue);
    else if (SameText(ident, u"Null"))
        WriteValue(vaNull);
    else if (SameText(ident, u"nil"))
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteBinary(const Byte* data, Integer count) {
    Byte length[4];
    WriteValue(vaBinary);
    LittleEndian(static_cast<UInt64>(count), length, 4);
    Write(length, 4);
    Write(data, count);
}

void TWriter::WriteBinary(const TStreamProc& writeData) {
    TMemoryStream stream;
    writeData(stream);
    WriteBinary(static_cast<const Byte*>(stream.Memory()), static_cast<Integer>(stream.Size()));
}

// Components.

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
    FAncestor = ancestor;
    FRoot = root;
    FLookupRoot = root;
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteRootComponent(TComponent* root) {
    WriteDescendent(root, nullptr);
}

void TWriter::WriteComponent(TComponent* component) {
    component->FComponentState.Include(csWriting);
    try {
        component->WriteState(this);
    } catch (...) {
        component->FComponentState.Exclude(csWriting);
        throw;
    }
    component->FComponentState.Exclude(csWriting);
}

void TWriter::WriteData(TComponent* instance) {
    TFilerFlags flags;
    if (instance->ComponentState().Contains(csInline))
        flags.Include(ffInline);
    WritePrefix(flags, 0);
    WriteStr(instance->ClassName());
    WriteStr(instance->Name());
    WriteProperties(instance);
    WriteListEnd();
    if (!FIgnoreChildren)
        instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
    for (const TPropInfo* prop : instance->ClassType()->Properties())
        if (prop->IsStored(instance))
            WriteProperty(instance, prop);
    instance->DefineProperties(this);
}

void TWriter::WritePropName(const String& name) {
    WriteStr(FPropPath + name);
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo* prop) {
    const TTypeInfo* type = prop->type;
    switch (type->kind) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet: {
        if (prop->setOrd == nullptr)
            return;
        Int64 value = prop->getOrd(instance);
        if (prop->hasDefault && value == prop->defaultValue)
            return;
        // A 64-bit integer without a declared default is stored only when it is not 0.
        if (!prop->hasDefault && type->kind == tkInt64 && value == 0)
            return;
        WritePropName(prop->name);
        if (type->kind == tkInteger || type->kind == tkInt64) {
            String ident;
            if (type->intToIdent != nullptr && type->intToIdent(value, ident))
                WriteIdent(ident);
            else if (type->maxValue == 0xFFFFFFFFLL)
                WriteInteger(static_cast<Integer>(static_cast<Cardinal>(value))); // as the reader expects
            else
                WriteInteger(value);
        } else if (type->kind == tkChar || type->kind == tkWChar) {
            WriteChar(static_cast<Char>(value));
        } else if (type->kind == tkEnumeration) {
            if (type == TypeInfoBoolean()) {
                WriteBoolean(value != 0);
            } else {
                String name = GetEnumName(type, value);
                if (name.empty())
                    throw EWriteError(Consts::SInvalidPropertyValue);
                WriteIdent(name);
            }
        } else {
            WriteValue(vaSet);
            const TTypeInfo* element = type->compType;
            for (std::size_t i = 0; i < 64; ++i)
                if (static_cast<UInt64>(value) & (UInt64(1) << i)) {
                    if (i >= element->names.size())
                        throw EWriteError(Consts::SInvalidPropertyValue);
                    WriteStr(element->names[i]);
                }
            WriteStr(String());
        }
        break;
    }
    case tkFloat: {
        if (prop->setFloat == nullptr)
            return;
        double value = prop->getFloat(instance);
        if (value == 0.0)
            return;
        WritePropName(prop->name);
        if (type->floatType == ftSingle)
            WriteSingle(static_cast<float>(value));
        else if (type->isDateTime)
            WriteDate(value);
        else
            WriteFloat(value);
        break;
    }
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: {
        if (prop->setStr == nullptr)
            return;
        String value = prop->getStr(instance);
        if (value.empty())
            return;
        WritePropName(prop->name);
        WriteString(value);
        break;
    }
    case tkClass: {
        if (type->isStrings) {
            TStrings* strings = prop->getStrings(instance);
            if (strings != nullptr && strings->Count() > 0) {
                WritePropName(String(prop->name) + u".Strings");
                WriteStringsProperty(strings);
            }
            return;
        }
        TObject* value = prop->getObj(instance);
        if (value == nullptr)
            return;
        auto* component = dynamic_cast<TComponent*>(value);
        if (component != nullptr && !component->ComponentStyle().Contains(csSubComponent)) {
            if (prop->setObj == nullptr)
                return;
            String reference = ComponentReference(component);
            if (reference.empty())
                return;
            WritePropName(prop->name);
            WriteIdent(reference);
        } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
            WritePropName(prop->name);
            WriteCollection(collection);
        } else if (auto* persistent = dynamic_cast<TPersistent*>(value)) {
            String saved = FPropPath;
            FPropPath += String(prop->name) + u".";
            try {
                WriteProperties(persistent);
            } catch (...) {
                FPropPath = saved;
                throw;
            }
            FPropPath = saved;
        }
        break;
    }
    case tkMethod:
        WriteMethodName(prop, instance);
        break;
    default:
        break;
    }
}

void TWriter::WriteMethodName(const TPropInfo* prop, TPersistent* instance) {
    if (!prop->isAssigned(instance))
        return;
    // Only handlers bound to a published method of the root can be named; one set in code cannot.
    TObject* target = nullptr;
    const TMethodInfo* method = prop->getMethod(instance, target);
    if (method == nullptr || target != FLookupRoot)
        return;
    WritePropName(prop->name);
    WriteIdent(method->name);
}

void TWriter::WriteStringsProperty(TStrings* strings) {
    WriteListBegin();
    for (Integer i = 0; i < strings->Count(); ++i)
        WriteString(strings->Strings(i));
    WriteListEnd();
}

void TWriter::WriteCollection(TCollection* collection) {
    // Item properties are named relative to the item.
    String saved = FPropPath;
    FPropPath.clear();
    try {
        WriteValue(vaCollection);
        for (Integer i = 0; i < collection->Count(); ++i) {
            WriteListBegin();
            WriteProperties(collection->Items(i));
            WriteListEnd();
        }
        WriteListEnd();
    } catch (...) {
        FPropPath = saved;
        throw;
    }
    FPropPath = saved;
}

String TWriter::ComponentReference(TComponent* component) const {
    if (component->Owner() == FLookupRoot)
        return component->Name();
    if (component == FLookupRoot)
        return u"Owner";
    if (component->Owner() != nullptr && !component->Owner()->Name().empty() && !component->Name().empty())
        return component->Owner()->Name() + u"." + component->Name();
    if (!component->Name().empty())
        return component->Name() + u".Owner";
    return String();
}

// Defined properties.

void TWriter::DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                             bool hasData) {
    if (hasData && writeData) {
        WritePropName(name);
        writeData(this);
    }
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc& readData,
                                   const TStreamProc& writeData, bool hasData) {
    if (hasData && writeData) {
        WritePropName(name);
        WriteBinary(writeData);
    }
}
