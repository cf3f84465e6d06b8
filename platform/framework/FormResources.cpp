// Embedded form descriptions and reading them into components.
#include "platform/framework/FormResources.h"

#include <mutex>
#include <string>
#include <vector>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/framework/Parser.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/SysStrings.h"

namespace {

struct TFormResource {
    const char* fileName;
    const unsigned char* text;
    std::size_t size;
    String className; // of the described root, read from the header at the first lookup
    bool parsed;
};

std::mutex gResourceLock;

std::vector<TFormResource>& Resources() {
    static std::vector<TFormResource> resources;
    return resources;
}

// The class named in a description's header ("object MainForm: TMainForm"), or empty text.
String HeaderClassName(const TFormResource& resource) {
    try {
        TMemoryStream stream;
        // The header is on the first line; a few hundred bytes are plenty.
        std::size_t size = resource.size < 512 ? resource.size : 512;
        stream.WriteBuffer(resource.text, static_cast<Integer>(size));
        stream.SetPosition(0);
        TParser parser(stream);
        parser.NextToken();
        parser.CheckToken(toSymbol);
        String first = parser.TokenString();
        if (parser.NextToken() != u':')
            return first;
        parser.NextToken();
        parser.CheckToken(toSymbol);
        return parser.TokenString();
    } catch (const Exception&) {
        // A description whose header cannot be read is never found; reading it would fail the same way.
        return String();
    }
}

const TFormResource* FindResource(StringView className) {
    std::lock_guard<std::mutex> guard(gResourceLock);
    for (TFormResource& resource : Resources()) {
        if (!resource.parsed) {
            resource.className = HeaderClassName(resource);
            resource.parsed = true;
        }
        if (!resource.className.empty() && SameText(resource.className, className))
            return &resource;
    }
    return nullptr;
}

TComponent* ReadText(const unsigned char* text, std::size_t size, TComponent* instance) {
    TMemoryStream source;
    if (size > 0)
        source.WriteBuffer(text, static_cast<Integer>(size));
    source.SetPosition(0);
    TMemoryStream binary;
    ObjectTextToBinary(source, binary);
    binary.SetPosition(0);
    TReader reader(binary, 4096);
    return reader.ReadRootComponent(instance);
}

} // namespace

void RegisterFormResource(const char* fileName, const unsigned char* text, std::size_t size) {
    std::lock_guard<std::mutex> guard(gResourceLock);
    Resources().push_back({fileName, text, size, String(), false});
}

bool FormResourceExists(StringView className) {
    return FindResource(className) != nullptr;
}

bool InitComponentRes(StringView resName, TComponent* instance) {
    const TFormResource* resource = FindResource(resName);
    if (resource == nullptr)
        return false;
    ReadText(resource->text, resource->size, instance);
    return true;
}

TComponent* ReadComponentRes(StringView resName, TComponent* instance) {
    const TFormResource* resource = FindResource(resName);
    if (resource == nullptr)
        throw EResNotFound(Consts::SResNotFound, {resName});
    return ReadText(resource->text, resource->size, instance);
}

TComponent* ReadComponentText(const std::string& text, TComponent* instance) {
    return ReadText(reinterpret_cast<const unsigned char*>(text.data()), text.size(), instance);
}

bool InitInheritedComponent(TComponent* instance, TClass rootAncestor) {
    // The ancestors' descriptions first: a derived description only adds to them ("inherited").
    std::vector<TClass> chain;
    for (TClass c = instance->ClassType();
         c != nullptr && c != rootAncestor && c != TComponent::StaticClass(); c = c->ClassParent())
        chain.insert(chain.begin(), c);
    // Loaded runs once, after every level is read, unless an outer load already collects.
    bool localize =
        !instance->ComponentState().Contains(csLoading) && !instance->ComponentState().Contains(csInline);
    if (localize)
        BeginGlobalLoading();
    bool found = false;
    try {
        for (TClass c : chain)
            found = InitComponentRes(c->ClassName(), instance) || found;
        if (localize)
            NotifyGlobalLoading();
    } catch (...) {
        if (localize)
            EndGlobalLoading();
        throw;
    }
    if (localize)
        EndGlobalLoading();
    return found;
}
