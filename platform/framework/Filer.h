// The binary component stream: TFiler with its reader and writer. A stream starts with the signature
// "TPF0"; a component is its flags, class name and name, its properties (each a name and a typed
// value) ending in a null byte, then its children ending in a null byte.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

enum TValueType : Byte {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble
};

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TReaderProc = std::function<void(TReader* reader)>;
using TWriterProc = std::function<void(TWriter* writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

// Nesting of components and values that readers accept; deeper input is reported as malformed
// instead of exhausting the stack.
inline constexpr Integer MaxFilerNesting = 64;

class TFiler {
public:
    TFiler(TStream& stream, Integer bufSize);
    virtual ~TFiler();
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // A property stored by the class itself: readData reads its value, writeData writes it, and
    // hasData says whether it is written at all.
    virtual void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                                bool hasData) = 0;
    // The same for a property whose value is a block of bytes.
    virtual void DefineBinaryProperty(const String& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

    TComponent* Root() const { return FRoot; }
    virtual void SetRoot(TComponent* root) { FRoot = root; }
    // The component whose owned components references are resolved against (the root, or an inline
    // frame).
    TComponent* LookupRoot() const { return FLookupRoot; }
    // Writing an inherited description compares with this; reading ignores it.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* ancestor) { FAncestor = ancestor; }
    bool IgnoreChildren() const { return FIgnoreChildren; }
    void SetIgnoreChildren(bool value) { FIgnoreChildren = value; }

protected:
    TStream& FStream;
    std::vector<Byte> FBuffer;
    Integer FBufPos = 0;
    Integer FBufEnd = 0;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TPersistent* FAncestor = nullptr;
    bool FIgnoreChildren = false;
};

// Told of a reading error; setting handled lets the reader skip the value or component and go on.
using TReaderError = std::function<void(TReader* reader, const String& message, bool& handled)>;
// May replace the method an event is bound to; setting error to false accepts a missing one (null).
using TFindMethodEvent =
    std::function<void(TReader* reader, const String& methodName, const TMethodInfo*& method, bool& error)>;
using TFindComponentClassEvent =
    std::function<void(TReader* reader, const String& className, TComponentClass& componentClass)>;
using TSetNameEvent = std::function<void(TReader* reader, TComponent* component, String& name)>;

// Reads components from a stream. Nothing is read past the end of the stream, no length taken from
// the stream allocates more than the stream still holds, and components created before an error are
// freed again. Errors are EReadError with the framework's texts.
class TReader : public TFiler {
public:
    explicit TReader(TStream& stream, Integer bufSize = 4096);
    // Leaves the stream just after the last byte read.
    ~TReader() override;

    void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    // Components.
    // Reads a whole stream into root (or, when root is null, into a new component of the stream's
    // registered class), then resolves references and calls Loaded.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one component (a child, or into component when it is given).
    TComponent* ReadComponent(TComponent* component);
    // Reads the properties and children of instance.
    void ReadData(TComponent* instance);
    void ReadProperty(TPersistent* instance);
    void ReadCollection(TCollection* collection);
    void ReadSignature();
    void ReadPrefix(TFilerFlags& flags, Integer& childPos);

    // Values. Each raises EReadError "Invalid property value" when the next value is of another type.
    TValueType ReadValue();
    TValueType NextValue();
    void CheckValue(TValueType value);
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    bool ReadBoolean();
    Char ReadChar();
    Integer ReadInteger();
    Int64 ReadInt64();
    Extended ReadFloat();
    float ReadSingle();
    double ReadCurrency();
    TDateTime ReadDate();
    String ReadString();
    // A short string: a length byte and that many UTF-8 bytes (names and identifiers).
    String ReadStr();
    // An identifier; False, True, nil and Null come back by name.
    String ReadIdent();
    UInt64 ReadSet(const TTypeInfo* setType);
    // The bytes of a binary value.
    std::vector<Byte> ReadBinary();
    void SkipValue();
    // Exactly count bytes, or EReadError "Stream read error".
    void Read(void* buffer, Integer count);
    // Position of the next byte in the stream.
    Int64 Position() const;
    // Bytes left in the stream.
    Int64 Remaining() const;

    TComponent* Owner() const { return FOwner; }
    void SetOwner(TComponent* owner) { FOwner = owner; }
    TComponent* Parent() const { return FParent; }
    void SetParent(TComponent* parent) { FParent = parent; }

    TReaderError OnError;
    TFindMethodEvent OnFindMethod;
    TFindComponentClassEvent OnFindComponentClass;
    TSetNameEvent OnSetName;

protected:
    // Asks OnError; true when the error may be skipped.
    virtual bool Error(const String& message);
    virtual TComponentClass FindComponentClass(const String& className);
    virtual const TMethodInfo* FindMethod(TComponent* root, const String& methodName);

private:
    struct TFixup {
        TComponent* component; // the component being read when the reference was met
        TPersistent* instance; // the object whose property holds the reference
        const TPropInfo* prop;
        String name; // as written: "Button1", "Owner", "Form2.Button1"
    };

    Byte ReadByte();
    void Skip(Int64 count);
    void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
    // Offers the property FPropName to the class's DefineProperties; one it does not claim does not exist.
    void ReadDefinedProperty(TPersistent* instance);
    void ReadStringsProperty(TStrings* strings);
    void ReadDataInner(TComponent* instance);
    void SkipComponent(bool skipHeader);
    void SkipSetBody();
    Integer ReadLength(Integer unitSize);
    [[noreturn]] void PropValueError();
    [[noreturn]] void ReadError(const String& message);
    void AddLoaded(TComponent* component);
    friend void ForgetReadInstance(TPersistent* instance);
    friend void ForgetReadComponent(TComponent* component);
    void DoFixupReferences();
    void Fill();

    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    String FPropName; // the defined property DefineProperty may claim, emptied when claimed
    bool FCanHandleExcepts = false;
    Int64 FStreamPos = 0; // stream position of FBuffer[FBufEnd]
    Int64 FStreamSize = 0;
    Integer FNesting = 0;
    std::vector<TFixup> FFixups;
    std::vector<TComponent*>* FLoaded = nullptr;
    TComponent* FCurrentComponent = nullptr;
};

// Writes components to a stream, storing only the properties whose values differ from their
// declared defaults.
class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream, Integer bufSize = 4096);
    // Flushes what is buffered (errors are lost here; FlushBuffer reports them).
    ~TWriter() override;

    void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    // The signature and root with its children.
    void WriteDescendent(TComponent* root, TComponent* ancestor);
    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    void WriteData(TComponent* instance);
    void WriteProperties(TPersistent* instance);
    void WriteProperty(TPersistent* instance, const TPropInfo* prop);
    void WriteCollection(TCollection* collection);
    void WriteSignature();
    void WritePrefix(TFilerFlags flags, Integer childPos);

    void WriteValue(TValueType value);
    void WriteListBegin();
    void WriteListEnd();
    void WriteBoolean(bool value);
    void WriteChar(Char value);
    // The smallest of vaInt8, vaInt16, vaInt32 and vaInt64 that holds value.
    void WriteInteger(Int64 value);
    void WriteFloat(Extended value);
    void WriteSingle(float value);
    void WriteCurrency(double value);
    void WriteDate(TDateTime value);
    // ASCII text as vaString or vaLString, other text as vaUTF8String or vaWString, whichever is smaller.
    void WriteString(const String& value);
    // A short string (names); longer than 255 bytes raises EWriteError "Stream write error".
    void WriteStr(const String& value);
    // False, True, nil and Null become their own value types.
    void WriteIdent(const String& ident);
    void WriteBinary(const TStreamProc& writeData);
    void WriteBinary(const Byte* data, Integer count);
    void Write(const void* buffer, Integer count);
    void FlushBuffer();
    Int64 Position() const;

private:
    void WritePropName(const String& name);
    void WriteStringsProperty(TStrings* strings);
    void WriteMethodName(const TPropInfo* prop, TPersistent* instance);
    String ComponentReference(TComponent* component) const;

    String FPropPath; // "Font." while the properties of a nested object are written
};

// TStream's component methods: the signature and the component with its properties and children.
void WriteComponent(TStream& stream, TComponent* instance);
void WriteDescendent(TStream& stream, TComponent* instance, TComponent* ancestor);
// Reads the next component of the stream into instance (or into a new one of the stream's registered
// class when instance is null) and returns it.
TComponent* ReadComponent(TStream& stream, TComponent* instance);

// Components that stand outside any owner and may be referenced as "Name.Component" from other
// descriptions (forms and data modules). The later forms unit registers its lookup here.
using TFindGlobalComponent = std::function<TComponent*(const String& name)>;
void RegisterFindGlobalComponentProc(const TFindGlobalComponent& proc);
void UnregisterFindGlobalComponentProcs();
TComponent* FindGlobalComponent(const String& name);
// Resolves the references of earlier reads that waited for a component read since.
void GlobalFixupReferences();
// Drops waiting references held by root or by its components (all, when root is null).
void RemoveFixupReferences(TComponent* root);
// Drops waiting references held by instance; TPersistent's destructor calls it through the routine the
// reader installs (SetPersistentFreedProc).
void RemoveFixupInstance(TPersistent* instance);
// The component named by a reference path ("Button1", "Owner", "Form2.Button1") seen from root.
TComponent* FindNestedComponent(TComponent* root, StringView namePath);

// Loading of several descriptions into one root (a class and its ancestors) calls Loaded once at the
// end for all of them.
void BeginGlobalLoading();
void NotifyGlobalLoading();
void EndGlobalLoading();

// The 10-byte extended reals of vaExtended values, as the stream stores them (little endian).
void DoubleToExtended80(double value, Byte out[10]);
double Extended80ToDouble(const Byte in[10]);
