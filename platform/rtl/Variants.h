// Variants: the framework's self-describing values (numbers, currency, dates, strings, Booleans, error
// codes, late-bound objects and arrays), their conversion to text by the locale, and late-bound calls.
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

// The type codes, as the framework numbers them.
using TVarType = Word;
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varUString = 0x0102;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

ZELMOR_DECLARE_EXCEPTION(EVariantError, Exception)
ZELMOR_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)
ZELMOR_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError)

class Variant;
class IDispatch;

// How a late-bound member is reached.
enum class TDispatchKind { Method, PropertyGet, PropertyPut };

struct TNamedArg;
struct TDispatchArgs;

// The elements of a variant array, row-major over its dimensions.
struct TVarArrayBound {
    Integer lowBound;
    Integer elementCount;
};

class Variant {
public:
    Variant() = default;
    Variant(Integer value) : FType(varInteger), FValue(Int64(value)) {}
    Variant(Int64 value) : FType(varInt64), FValue(value) {}
    Variant(double value) : FType(varDouble), FValue(value) {}
    Variant(bool value) : FType(varBoolean), FValue(value) {}
    Variant(const String& value) : FType(varUString), FValue(value) {}
    Variant(String&& value) : FType(varUString), FValue(std::move(value)) {}
    Variant(const Char* value) : FType(varUString), FValue(String(value)) {}
    Variant(std::shared_ptr<IDispatch> value);
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept = default;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept = default;
    ~Variant();

    static Variant Null();
    static Variant FromDate(TDateTime value);
    // value in units of 1/10000, as the currency type holds it
    static Variant FromCurrency(Int64 scaled);
    // An error code (a spreadsheet's #DIV/0! is 2007, #N/A 2042).
    static Variant FromError(Integer code);

    TVarType VarType() const;
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsArray() const { return FType == (varArray | varVariant); }
    bool IsDispatch() const { return FType == varDispatch; }

    // Conversions; each raises EVariantTypeCastError when the value has no such form. Text converts by
    // the locale (FormatSettings); see VarToStr.
    String AsString() const;
    double AsDouble() const;
    Integer AsInteger() const;
    Int64 AsInt64() const;
    // The string a varUString holds, without a copy; other types raise EVariantTypeCastError.
    const String& AsStringRef() const;
    bool AsBoolean() const;
    Integer ErrorCode() const;                   // varError only
    Int64 CurrencyValue() const;                 // varCurrency only, in units of 1/10000
    std::shared_ptr<IDispatch> Dispatch() const; // null unless varDispatch

    // Arrays: the dimensions and elements of an array made by VarArrayCreate. Indexes are checked
    // against the bounds; a wrong index raises EVariantBadIndexError.
    const std::vector<TVarArrayBound>& ArrayBounds() const;
    Variant& Element(Integer i);
    Variant& Element(Integer i, Integer j);
    const Variant& Element(Integer i, Integer j) const;

    // Late-bound calls on a dispatch value; anything else raises EVariantError "Invalid variant
    // operation". Get reads a property (with indexes in args), Put writes one, Call runs a method.
    Variant Get(const String& name, std::vector<Variant> args = {}) const;
    void Put(const String& name, Variant value) const;
    void Put(const String& name, std::vector<Variant> indexes, Variant value) const;
    Variant Call(const String& name, std::vector<Variant> args = {}) const;
    Variant Call(const String& name, std::vector<Variant> args, std::vector<TNamedArg> named) const;

private:
    struct ArrayData {
        std::vector<TVarArrayBound> bounds;
        std::vector<Variant> elements;
    };
    Variant(TVarType type, Int64 value) : FType(type), FValue(value) {}
    Variant InvokeMember(const String& name, TDispatchKind kind, TDispatchArgs& args) const;
    const ArrayData& Array() const;
    size_t Offset(std::initializer_list<Integer> indexes) const;

    friend Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType);

    TVarType FType = varEmpty;
    // Int64 for integers, currency and error codes; double for doubles and dates.
    std::variant<std::monostate, Int64, double, bool, String, std::shared_ptr<IDispatch>,
                 std::unique_ptr<ArrayData>>
        FValue;
};

struct TNamedArg {
    String name;
    Variant value;
};

// The arguments of one late-bound call: positional ones in the order the caller wrote them (for a
// property put the value comes last, after the indexes), then named ones. The object called may move
// values out of them.
struct TDispatchArgs {
    std::vector<Variant> positional;
    std::vector<TNamedArg> named;
};

// A late-bound object: every member is reached by name. Names compare without regard to case.
// Invoke raises the platform's OLE exceptions for unknown members, wrong arguments and failures.
class IDispatch {
public:
    virtual ~IDispatch();
    virtual Variant Invoke(const String& name, TDispatchKind kind, TDispatchArgs& args) = 0;
};

TNamedArg NamedArg(const String& name, Variant value);

// An array of empty elements. bounds holds a low and a high bound per dimension (as pairs); only
// varVariant elements are supported. Raises EVariantError for no or odd bounds or a high bound below
// its low one minus one.
Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType);
Integer VarArrayDimCount(const Variant& value);
Integer VarArrayLowBound(const Variant& value, Integer dim);
Integer VarArrayHighBound(const Variant& value, Integer dim);

TVarType VarType(const Variant& value);
bool VarIsEmpty(const Variant& value);
bool VarIsNull(const Variant& value);
bool VarIsArray(const Variant& value);

// Text of a value: empty for empty and null; numbers with the locale's decimal separator and up to 15
// significant digits; dates in the short date form, with the long time form when there is a time of
// day (a time alone without the date); Booleans "True" or "False". Errors, objects and arrays raise
// EVariantTypeCastError.
String VarToStr(const Variant& value);
