// Run-time type information of published values: the kinds, enumerations with their value names, sets
// over them, and the framework's routines that turn them into names and back.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <typeinfo>
#include <vector>

#include "platform/rtl/Forward.h"
#include "platform/rtl/Types.h"

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray,
    tkUString
};
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// Describes one type that a published property can have. Instances live as long as the program.
struct TTypeInfo {
    TTypeKind kind = tkUnknown;
    String name;
    Int64 minValue = 0; // ordinal types
    Int64 maxValue = 0;
    std::vector<String> names;                 // enumerations: the name of value minValue + i
    const TTypeInfo* compType = nullptr;       // sets: the element enumeration
    TFloatType floatType = ftDouble;           // floats
    bool isDateTime = false;                   // floats kept as TDateTime
    TClass (*classOf)() = nullptr;             // classes derived from TObject; a function, so that classes
                                               // may name each other in their tables in any order
    bool isStrings = false;                    // a TStrings of the run-time library (not a TObject)
    const std::type_info* signature = nullptr; // events: the handler's call signature
    // Integer types that descriptions write by name (colours, cursors). Both null for plain integers.
    bool (*intToIdent)(Int64 value, String& ident) = nullptr;
    bool (*identToInt)(StringView ident, Int64& value) = nullptr;

    // An enumeration whose value names are given as one comma-separated list ("alNone, alTop").
    static TTypeInfo Enumeration(const Char* typeName, const Char* commaSeparatedNames);
};

// The name of an enumeration value; empty text when value is out of range.
String GetEnumName(const TTypeInfo* type, Int64 value);
// The value of a name (case-insensitive), or -1 when the enumeration has no such name.
Integer GetEnumValue(const TTypeInfo* type, StringView name);

// A set over an enumeration of at most 64 values, as the framework's "set of".
template <class E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(E item) : FBits(Bit(item)) {}
    constexpr TSet(std::initializer_list<E> items) {
        for (E item : items)
            FBits |= Bit(item);
    }
    static constexpr TSet FromBits(UInt64 bits) {
        TSet result;
        result.FBits = bits;
        return result;
    }

    constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }
    constexpr TSet& Include(E item) {
        FBits |= Bit(item);
        return *this;
    }
    constexpr TSet& Exclude(E item) {
        FBits &= ~Bit(item);
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr UInt64 Bits() const { return FBits; }

    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr TSet& operator+=(TSet other) {
        FBits |= other.FBits;
        return *this;
    }
    constexpr TSet& operator-=(TSet other) {
        FBits &= ~other.FBits;
        return *this;
    }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr UInt64 Bit(E item) { return UInt64(1) << static_cast<unsigned>(item); }
    UInt64 FBits = 0;
};

// "[fsBold,fsItalic]"-style text of a set value (bits over the element enumeration), with or without
// the brackets; StringToSet reads it back and raises EConvertError "Invalid property element: %s" for
// an unknown name.
String SetToString(const TTypeInfo* setType, UInt64 bits, bool brackets = false);
UInt64 StringToSet(const TTypeInfo* setType, StringView text);

// Declares an enumeration together with the names that streaming and GetEnumName use, so that the
// names are written once. The values run from 0 in the order given, without gaps:
//     ZELMOR_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
#define ZELMOR_ENUM(Name, ...)                                                                               \
    enum Name { __VA_ARGS__ };                                                                               \
    inline const TTypeInfo* ZelmorTypeInfo(const Name*) {                                                    \
        static const TTypeInfo info = TTypeInfo::Enumeration(u"" #Name, u"" #__VA_ARGS__);                   \
        return &info;                                                                                        \
    }

// The type information of an enumeration declared with ZELMOR_ENUM.
template <class E> const TTypeInfo* TypeInfoOf() {
    return ZelmorTypeInfo(static_cast<const E*>(nullptr));
}

// Boolean is the enumeration (False, True).
const TTypeInfo* TypeInfoBoolean();
