// Late-bound automation: the objects CreateOleObject starts by programmatic identifier, the running-object
// table GetActiveObject looks in, the OLE exceptions, and a base for automation servers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"

// A failure of automation. EOleSysError carries the failing HRESULT; EOleException is an error a server
// raised, with the server's description in the message and its name in Source.
ZELMOR_DECLARE_EXCEPTION(EOleError, Exception)

class EOleSysError : public EOleError {
public:
    EOleSysError(const String& message, Integer errorCode);
    String ClassName() const override { return u"EOleSysError"; }
    Integer ErrorCode() const { return FErrorCode; }

private:
    Integer FErrorCode;
};

class EOleException : public EOleSysError {
public:
    EOleException(const String& message, Integer errorCode, const String& source);
    String ClassName() const override { return u"EOleException"; }
    const String& Source() const { return FSource; }

private:
    String FSource;
};

// HRESULTs the platform raises with.
constexpr Integer kCoEClassString = Integer(0x800401F3u);   // "Invalid class string"
constexpr Integer kMkEUnavailable = Integer(0x800401E3u);   // "Operation unavailable"
constexpr Integer kDispEUnknownName = Integer(0x80020006u); // no member of that name
constexpr Integer kDispEBadParamCount = Integer(0x8002000Eu);
constexpr Integer kDispEException = Integer(0x80020009u); // the server raised an exception

// Makes a new instance of a server.
using TOleServerFactory = std::function<std::shared_ptr<IDispatch>()>;

// The programmatic identifiers CreateOleObject knows. Identifiers compare without regard to case;
// registering one again replaces its factory. Servers register themselves at start-up.
void RegisterOleServer(const String& progId, TOleServerFactory factory);
void UnregisterOleServer(const String& progId);

// A new instance of the server registered under progId. Raises EOleSysError "Invalid class string" when
// none is, and passes on what the factory raises.
Variant CreateOleObject(const String& progId);

// The running-object table: instances that others may attach to. GetActiveObject answers the one
// registered under progId, or raises EOleSysError "Operation unavailable". Registering again replaces
// the entry; revoking an identifier that has none does nothing.
Variant GetActiveObject(const String& progId);
void RegisterActiveObject(const String& progId, std::shared_ptr<IDispatch> object);
void RevokeActiveObject(const String& progId);

// A base for server objects: members are handlers registered by name (compared without regard to case),
// each told how it is called. Invoking a member that is not registered raises EOleError "Method '<name>'
// not supported by automation object".
class TAutoDispatch : public IDispatch {
public:
    using THandler = std::function<Variant(TDispatchKind kind, TDispatchArgs& args)>;
    Variant Invoke(const String& name, TDispatchKind kind, TDispatchArgs& args) override;

protected:
    void Member(const String& name, THandler handler);
    // Positional argument index, or the named one, or null when the caller passed neither.
    static Variant* Argument(TDispatchArgs& args, size_t index, const String& name = {});
    // The same, raising EOleSysError "Invalid number of parameters" when it is missing.
    static Variant& RequiredArgument(TDispatchArgs& args, size_t index, const String& name = {});

private:
    struct Entry {
        String upperName;
        THandler handler;
    };
    std::vector<Entry> FMembers;
};
