// The server registry, the running-object table and the automation base.
#include "platform/framework/ComObj.h"

#include <map>

#include "platform/rtl/SysStrings.h"

EOleSysError::EOleSysError(const String& message, Integer errorCode)
    : EOleError(message), FErrorCode(errorCode) {}

EOleException::EOleException(const String& message, Integer errorCode, const String& source)
    : EOleSysError(message, errorCode), FSource(source) {}

namespace {

std::map<String, TOleServerFactory>& Servers() {
    static std::map<String, TOleServerFactory> servers;
    return servers;
}

std::map<String, std::shared_ptr<IDispatch>>& RunningObjects() {
    static std::map<String, std::shared_ptr<IDispatch>> objects;
    return objects;
}

} // namespace

void RegisterOleServer(const String& progId, TOleServerFactory factory) {
    Servers()[UpperCase(progId)] = std::move(factory);
}

void UnregisterOleServer(const String& progId) {
    Servers().erase(UpperCase(progId));
}

Variant CreateOleObject(const String& progId) {
    const auto it = Servers().find(UpperCase(progId));
    if (it == Servers().end())
        throw EOleSysError(u"Invalid class string", kCoEClassString);
    return Variant(it->second());
}

Variant GetActiveObject(const String& progId) {
    const auto it = RunningObjects().find(UpperCase(progId));
    if (it == RunningObjects().end())
        throw EOleSysError(u"Operation unavailable", kMkEUnavailable);
    return Variant(it->second);
}

void RegisterActiveObject(const String& progId, std::shared_ptr<IDispatch> object) {
    RunningObjects()[UpperCase(progId)] = std::move(object);
}

void RevokeActiveObject(const String& progId) {
    RunningObjects().erase(UpperCase(progId));
}

void TAutoDispatch::Member(const String& name, THandler handler) {
    FMembers.push_back({UpperCase(name), std::move(handler)});
}

Variant TAutoDispatch::Invoke(const String& name, TDispatchKind kind, TDispatchArgs& args) {
    const String upper = UpperCase(name);
    for (const Entry& entry : FMembers)
        if (entry.upperName == upper)
            return entry.handler(kind, args);
    throw EOleError(u"Method '" + name + u"' not supported by automation object");
}

Variant* TAutoDispatch::Argument(TDispatchArgs& args, size_t index, const String& name) {
    if (index < args.positional.size())
        return &args.positional[index];
    if (!name.empty())
        for (TNamedArg& named : args.named)
            if (SameText(named.name, name))
                return &named.value;
    return nullptr;
}

Variant& TAutoDispatch::RequiredArgument(TDispatchArgs& args, size_t index, const String& name) {
    Variant* argument = Argument(args, index, name);
    if (!argument)
        throw EOleSysError(u"Invalid number of parameters", kDispEBadParamCount);
    return *argument;
}
