// The management query server's automation objects and its reading of the network interfaces.
#include "platform/servers/Management.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/framework/ComObj.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

namespace servers {

const Char* const kManagementProgId = u"WbemScripting.SWbemLocator";

namespace {

const Char* const kManagementSource = u"SWbemLocator";
constexpr Integer kInvalidNamespace = Integer(0x8004100Eu);
constexpr Integer kInvalidClass = Integer(0x80041010u);
constexpr Integer kInvalidQuery = Integer(0x80041017u);
constexpr Integer kInvalidQueryType = Integer(0x80041018u);

std::string& SystemRoot() {
    static std::string root = "/";
    return root;
}

[[noreturn]] void Fail(const String& message, Integer code) {
    throw EOleException(message, code, kManagementSource);
}

void GetOnly(TDispatchKind kind, const Char* name) {
    if (kind == TDispatchKind::PropertyPut)
        Fail(String(u"The property ") + name + u" cannot be set.", kDispEException);
}

// The first line of a system file, without its line end; empty when it cannot be read.
std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

struct Adapter {
    std::string name;
    bool up = false;
};

// The wireless interfaces: those with a "wireless" folder, and those /proc/net/wireless lists after its
// two heading lines ("  wlan0: 0000 ...").
std::vector<Adapter> WirelessAdapters() {
    const std::filesystem::path root(SystemRoot());
    std::set<std::string> names;
    std::error_code error;
    const std::filesystem::path net = root / "sys/class/net";
    for (std::filesystem::directory_iterator it(net, error), end; !error && it != end; it.increment(error))
        if (std::filesystem::is_directory(it->path() / "wireless", error))
            names.insert(it->path().filename().string());
    std::ifstream proc(root / "proc/net/wireless");
    std::string line;
    for (int number = 0; std::getline(proc, line); ++number) {
        const size_t colon = line.find(':');
        if (number < 2 || colon == std::string::npos)
            continue;
        const size_t first = line.find_first_not_of(" \t");
        if (first < colon)
            names.insert(line.substr(first, colon - first));
    }
    std::vector<Adapter> adapters;
    for (const std::string& name : names)
        adapters.push_back({name, FirstLine(net / name / "operstate") == "up"});
    return adapters;
}

class AdapterObject : public TAutoDispatch {
public:
    explicit AdapterObject(const Adapter& adapter) {
        const String name = Utf8ToString(adapter.name);
        const bool up = adapter.up;
        for (const Char* property : {u"Caption", u"Description", u"SettingID"})
            Member(property, [name, property](TDispatchKind kind, TDispatchArgs&) -> Variant {
                GetOnly(kind, property);
                return name;
            });
        Member(u"Associated", [up](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Associated");
            return up;
        });
        for (const Char* property : {u"AuthenAlgorithm", u"AuthenEnabled", u"AuthenMode", u"Channel",
                                     u"Encryption", u"OpMode", u"Profile", u"Rate", u"SSID"})
            Member(property, [property](TDispatchKind kind, TDispatchArgs&) -> Variant {
                GetOnly(kind, property);
                return Variant::Null();
            });
    }
};

class ObjectSet : public TAutoDispatch {
public:
    explicit ObjectSet(std::vector<Adapter> adapters) : FAdapters(std::move(adapters)) {
        Member(u"Count", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Count");
            return Integer(FAdapters.size());
        });
        Member(u"ItemIndex", [this](TDispatchKind, TDispatchArgs& args) -> Variant {
            const Integer index = RequiredArgument(args, 0).AsInteger();
            if (index < 0 || size_t(index) >= FAdapters.size())
                Fail(u"There is no object " + IntToStr(index) + u".", kDispEException);
            return Variant(std::make_shared<AdapterObject>(FAdapters[size_t(index)]));
        });
    }

private:
    std::vector<Adapter> FAdapters;
};

// The query's words, blanks of any run and case set aside.
String Normalised(const String& text) {
    String result;
    for (Char c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
        if (blank) {
            if (!result.empty() && result.back() != u' ')
                result.push_back(u' ');
        } else {
            result.push_back(c);
        }
    }
    if (!result.empty() && result.back() == u' ')
        result.pop_back();
    return UpperCase(result);
}

class Services : public TAutoDispatch {
public:
    Services() {
        Member(u"ExecQuery", [](TDispatchKind, TDispatchArgs& args) -> Variant {
            const String query = Normalised(RequiredArgument(args, 0, u"strQuery").AsString());
            const Variant* language = Argument(args, 1, u"strQueryLanguage");
            if (language && !language->IsEmpty() && !SameText(language->AsString(), u"WQL"))
                Fail(u"Invalid query language", kInvalidQueryType);
            const String prefix = u"SELECT * FROM ";
            if (query.compare(0, prefix.size(), prefix) != 0)
                Fail(u"Invalid query", kInvalidQuery);
            if (query.substr(prefix.size()) != u"WIFI_ADAPTERASSOCIATIONINFO")
                Fail(u"Invalid class", kInvalidClass);
            return Variant(std::make_shared<ObjectSet>(WirelessAdapters()));
        });
    }
};

bool LocalServer(const Variant* server) {
    if (server == nullptr || server->IsEmpty() || server->IsNull())
        return true;
    const String name = server->AsString();
    return name.empty() || name == u"." || SameText(name, u"localhost");
}

class Locator : public TAutoDispatch {
public:
    Locator() {
        Member(u"ConnectServer", [](TDispatchKind, TDispatchArgs& args) -> Variant {
            if (!LocalServer(Argument(args, 0, u"strServer")))
                Fail(u"Only the local machine can be queried.", kDispEException);
            const Variant* space = Argument(args, 1, u"strNamespace");
            if (space && !space->IsEmpty() && !SameText(space->AsString(), u"root\\CIMV2"))
                Fail(u"Invalid namespace", kInvalidNamespace);
            return Variant(std::make_shared<Services>());
        });
    }
};

} // namespace

std::shared_ptr<IDispatch> NewManagementLocator() {
    return std::make_shared<Locator>();
}

void RegisterManagementServer() {
    RegisterOleServer(kManagementProgId, NewManagementLocator);
}

void SetManagementSystemRoot(const std::string& root) {
    SystemRoot() = root;
}

} // namespace servers
