// Variants: storage, conversions, arrays and the late-bound call helpers.
#include "platform/rtl/Variants.h"

#include <cmath>
#include <limits>

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

IDispatch::~IDispatch() = default;

namespace {

String TypeName(TVarType type) {
    switch (type) {
    case varEmpty:
        return u"Empty";
    case varNull:
        return u"Null";
    case varInteger:
        return u"Integer";
    case varDouble:
        return u"Double";
    case varCurrency:
        return u"Currency";
    case varDate:
        return u"Date";
    case varUString:
        return u"UnicodeString";
    case varDispatch:
        return u"Dispatch";
    case varError:
        return u"Error";
    case varBoolean:
        return u"Boolean";
    case varInt64:
        return u"Int64";
    case varArray | varVariant:
        return u"Array Variant";
    default:
        return u"Unknown";
    }
}

[[noreturn]] void CastError(TVarType from, TVarType to) {
    throw EVariantTypeCastError(u"Could not convert variant of type (" + TypeName(from) + u") into type (" +
                                TypeName(to) + u")");
}

[[noreturn]] void InvalidOperation() {
    throw EVariantError(u"Invalid variant operation");
}

} // namespace

Variant::Variant(std::shared_ptr<IDispatch> value) : FType(varDispatch), FValue(std::move(value)) {}

Variant::Variant(const Variant& other) : FType(other.FType) {
    if (other.IsArray())
        FValue = std::make_unique<ArrayData>(*std::get<std::unique_ptr<ArrayData>>(other.FValue));
    else
        std::visit(
            [this](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (!std::is_same_v<T, std::unique_ptr<ArrayData>>)
                    FValue = value;
            },
            other.FValue);
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant::~Variant() = default;

Variant Variant::Null() {
    Variant v;
    v.FType = varNull;
    return v;
}

Variant Variant::FromDate(TDateTime value) {
    Variant v(value);
    v.FType = varDate;
    return v;
}

Variant Variant::FromCurrency(Int64 scaled) {
    return Variant(varCurrency, scaled);
}

Variant Variant::FromError(Integer code) {
    return Variant(varError, Int64(code));
}

TVarType Variant::VarType() const {
    return FType;
}

String Variant::AsString() const {
    return VarToStr(*this);
}

double Variant::AsDouble() const {
    switch (FType) {
    case varEmpty:
        return 0;
    case varInteger:
    case varInt64:
        return double(std::get<Int64>(FValue));
    case varCurrency:
        return double(std::get<Int64>(FValue)) / 10000.0;
    case varDouble:
    case varDate:
        return std::get<double>(FValue);
    case varBoolean:
        return std::get<bool>(FValue) ? -1 : 0;
    case varUString: {
        Extended value = 0;
        if (!TryStrToFloat(std::get<String>(FValue), value))
            CastError(FType, varDouble);
        return value;
    }
    default:
        CastError(FType, varDouble);
    }
}

Integer Variant::AsInteger() const {
    if (FType == varUString) {
        Integer value = 0;
        if (!TryStrToInt(std::get<String>(FValue), value))
            CastError(FType, varInteger);
        return value;
    }
    const double value =
        FType == varInteger || FType == varInt64 ? double(std::get<Int64>(FValue)) : AsDouble();
    const double rounded = std::nearbyint(value);
    if (!(rounded >= double(std::numeric_limits<Integer>::min()) &&
          rounded <= double(std::numeric_limits<Integer>::max())))
        CastError(FType, varInteger);
    return Integer(rounded);
}

Int64 Variant::AsInt64() const {
    if (FType == varInteger || FType == varInt64)
        return std::get<Int64>(FValue);
    if (FType == varUString) {
        Int64 value = 0;
        if (!TryStrToInt64(std::get<String>(FValue), value))
            CastError(FType, varInt64);
        return value;
    }
    const double rounded = std::nearbyint(AsDouble());
    if (!(rounded >= -9.2e18 && rounded <= 9.2e18))
        CastError(FType, varInt64);
    return Int64(rounded);
}

const String& Variant::AsStringRef() const {
    if (FType != varUString)
        CastError(FType, varUString);
    return std::get<String>(FValue);
}

bool Variant::AsBoolean() const {
    if (FType == varBoolean)
        return std::get<bool>(FValue);
    if (FType == varUString) {
        bool value = false;
        if (!TryStrToBool(std::get<String>(FValue), value))
            CastError(FType, varBoolean);
        return value;
    }
    return AsDouble() != 0;
}

Integer Variant::ErrorCode() const {
    if (FType != varError)
        CastError(FType, varError);
    return Integer(std::get<Int64>(FValue));
}

Int64 Variant::CurrencyValue() const {
    if (FType != varCurrency)
        CastError(FType, varCurrency);
    return std::get<Int64>(FValue);
}

std::shared_ptr<IDispatch> Variant::Dispatch() const {
    return FType == varDispatch ? std::get<std::shared_ptr<IDispatch>>(FValue) : nullptr;
}

const Variant::ArrayData& Variant::Array() const {
    if (!IsArray())
        throw EVariantError(u"Variant is not an array");
    return *std::get<std::unique_ptr<ArrayData>>(FValue);
}

const std::vector<TVarArrayBound>& Variant::ArrayBounds() const {
    return Array().bounds;
}

size_t Variant::Offset(std::initializer_list<Integer> indexes) const {
    const ArrayData& data = Array();
    if (indexes.size() != data.bounds.size())
        throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
    size_t offset = 0;
    size_t dim = 0;
    for (Integer index : indexes) {
        const TVarArrayBound& bound = data.bounds[dim++];
        const Int64 relative = Int64(index) - bound.lowBound;
        if (relative < 0 || relative >= bound.elementCount)
            throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
        offset = offset * size_t(bound.elementCount) + size_t(relative);
    }
    return offset;
}

Variant& Variant::Element(Integer i) {
    const size_t offset = Offset({i});
    return std::get<std::unique_ptr<ArrayData>>(FValue)->elements[offset];
}

Variant& Variant::Element(Integer i, Integer j) {
    const size_t offset = Offset({i, j});
    return std::get<std::unique_ptr<ArrayData>>(FValue)->elements[offset];
}

const Variant& Variant::Element(Integer i, Integer j) const {
    const size_t offset = Offset({i, j});
    return std::get<std::unique_ptr<ArrayData>>(FValue)->elements[offset];
}

Variant Variant::InvokeMember(const String& name, TDispatchKind kind, TDispatchArgs& args) const {
    const std::shared_ptr<IDispatch> object = Dispatch();
    if (!object)
        InvalidOperation();
    return object->Invoke(name, kind, args);
}

Variant Variant::Get(const String& name, std::vector<Variant> args) const {
    TDispatchArgs dispatchArgs{std::move(args), {}};
    return InvokeMember(name, TDispatchKind::PropertyGet, dispatchArgs);
}

void Variant::Put(const String& name, Variant value) const {
    Put(name, {}, std::move(value));
}

void Variant::Put(const String& name, std::vector<Variant> indexes, Variant value) const {
    TDispatchArgs dispatchArgs{std::move(indexes), {}};
    dispatchArgs.positional.push_back(std::move(value));
    InvokeMember(name, TDispatchKind::PropertyPut, dispatchArgs);
}

Variant Variant::Call(const String& name, std::vector<Variant> args) const {
    return Call(name, std::move(args), {});
}

Variant Variant::Call(const String& name, std::vector<Variant> args, std::vector<TNamedArg> named) const {
    TDispatchArgs dispatchArgs{std::move(args), std::move(named)};
    return InvokeMember(name, TDispatchKind::Method, dispatchArgs);
}

TNamedArg NamedArg(const String& name, Variant value) {
    return TNamedArg{name, std::move(value)};
}

Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType) {
    if (elementType != varVariant || bounds.size() == 0 || bounds.size() % 2 != 0)
        throw EVariantError(u"Invalid argument");
    auto data = std::make_unique<Variant::ArrayData>();
    size_t total = 1;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2) {
        const Int64 count = Int64(it[1]) - Int64(it[0]) + 1;
        if (count < 0)
            throw EVariantError(u"Invalid argument");
        data->bounds.push_back({it[0], Integer(count)});
        total *= size_t(count);
    }
    data->elements.resize(total);
    Variant result;
    result.FType = varArray | varVariant;
    result.FValue = std::move(data);
    return result;
}

Integer VarArrayDimCount(const Variant& value) {
    return value.IsArray() ? Integer(value.ArrayBounds().size()) : 0;
}

namespace {
const TVarArrayBound& Bound(const Variant& value, Integer dim) {
    const std::vector<TVarArrayBound>& bounds = value.ArrayBounds();
    if (dim < 1 || dim > Integer(bounds.size()))
        throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
    return bounds[size_t(dim - 1)];
}
} // namespace

Integer VarArrayLowBound(const Variant& value, Integer dim) {
    return Bound(value, dim).lowBound;
}

Integer VarArrayHighBound(const Variant& value, Integer dim) {
    const TVarArrayBound& bound = Bound(value, dim);
    return bound.lowBound + bound.elementCount - 1;
}

TVarType VarType(const Variant& value) {
    return value.VarType();
}

bool VarIsEmpty(const Variant& value) {
    return value.IsEmpty();
}

bool VarIsNull(const Variant& value) {
    return value.IsNull();
}

bool VarIsArray(const Variant& value) {
    return value.IsArray();
}

String VarToStr(const Variant& value) {
    switch (value.VarType()) {
    case varEmpty:
    case varNull:
        return {};
    case varInteger:
    case varInt64:
        return IntToStr(value.AsInt64());
    case varDouble:
        return FloatToStr(value.AsDouble());
    case varCurrency:
        return FloatToStr(double(value.CurrencyValue()) / 10000.0);
    case varDate: {
        // A time of day alone shows without the date of day 0, as the locale's time.
        const double date = value.AsDouble();
        if (std::trunc(date) == 0 && date != 0)
            return TimeToStr(date);
        return DateTimeToStr(date);
    }
    case varBoolean:
        return value.AsBoolean() ? u"True" : u"False";
    case varUString:
        return value.AsStringRef();
    default:
        CastError(value.VarType(), varUString);
    }
}
