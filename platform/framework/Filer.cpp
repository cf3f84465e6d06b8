// What readers and writers share: TFiler, the stream's component methods, references that wait for
// another description, the lookup of global components and loading across several descriptions.
#include "platform/framework/Filer.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <mutex>

#include "platform/framework/FilerInternal.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"

TFiler::TFiler(TStream& stream, Integer bufSize)
    : FStream(stream), FBuffer(static_cast<std::size_t>(std::max(bufSize, 16))) {}

TFiler::~TFiler() = default;

void WriteComponent(TStream& stream, TComponent* instance) {
    WriteDescendent(stream, instance, nullptr);
}

void WriteDescendent(TStream& stream, TComponent* instance, TComponent* ancestor) {
    TWriter writer(stream, 4096);
    writer.WriteDescendent(instance, ancestor);
    writer.FlushBuffer();
}

TComponent* ReadComponent(TStream& stream, TComponent* instance) {
    TReader reader(stream, 4096);
    return reader.ReadRootComponent(instance);
}

// Global components.

namespace {

std::mutex gGlobalLock;
std::vector<TFindGlobalComponent>& FindGlobalProcs() {
    static std::vector<TFindGlobalComponent> procs;
    return procs;
}

} // namespace

void RegisterFindGlobalComponentProc(const TFindGlobalComponent& proc) {
    std::lock_guard<std::mutex> guard(gGlobalLock);
    FindGlobalProcs().push_back(proc);
}

void UnregisterFindGlobalComponentProcs() {
    std::lock_guard<std::mutex> guard(gGlobalLock);
    FindGlobalProcs().clear();
}

TComponent* FindGlobalComponent(const String& name) {
    std::vector<TFindGlobalComponent> procs;
    {
        std::lock_guard<std::mutex> guard(gGlobalLock);
        procs = FindGlobalProcs();
    }
    for (const TFindGlobalComponent& proc : procs)
        if (TComponent* found = proc(name))
            return found;
    return nullptr;
}

TComponent* FindNestedComponent(TComponent* root, StringView namePath) {
    if (namePath.empty())
        return nullptr;
    TComponent* result = nullptr;
    bool first = true;
    while (!namePath.empty()) {
        std::size_t dot = namePath.find(u'.');
        String name(namePath.substr(0, dot));
        namePath = dot == StringView::npos ? StringView() : namePath.substr(dot + 1);
        if (first) {
            first = false;
            if (SameText(name, u"Owner"))
                result = root;
            else {
                result = root != nullptr ? root->FindComponent(name) : nullptr;
                if (result == nullptr)
                    result = FindGlobalComponent(name);
            }
        } else if (SameText(name, u"Owner")) {
            // "Form2.Owner" names the global component Form2 itself.
            continue;
        } else {
            result = result->FindComponent(name);
        }
        if (result == nullptr)
            return nullptr;
    }
    return result;
}

// References waiting for a component that a later read brings.

namespace {

struct TPendingFixup {
    TComponent* root;
    TComponent* component;
    TPersistent* instance;
    const TPropInfo* prop;
    String name;
};

std::mutex gFixupLock;
std::atomic<bool> gAnyPending{false};
std::vector<TPendingFixup>& PendingFixups() {
    static std::vector<TPendingFixup> fixups;
    return fixups;
}

} // namespace

void AddPendingFixup(TComponent* root, TComponent* component, TPersistent* instance, const TPropInfo* prop,
                     const String& name) {
    std::lock_guard<std::mutex> guard(gFixupLock);
    PendingFixups().push_back({root, component, instance, prop, name});
    gAnyPending = true;
}

void GlobalFixupReferences() {
    if (!gAnyPending)
        return;
    std::vector<TPendingFixup> resolved;
    {
        std::lock_guard<std::mutex> guard(gFixupLock);
        auto& fixups = PendingFixups();
        for (auto it = fixups.begin(); it != fixups.end();) {
            TComponent* target = FindNestedComponent(it->root, it->name);
            if (target != nullptr && target->InheritsFrom(it->prop->type->classOf())) {
                resolved.push_back(*it);
                resolved.back().component = target;
                it = fixups.erase(it);
            } else {
                ++it;
            }
        }
        gAnyPending = !fixups.empty();
    }
    for (const TPendingFixup& fixup : resolved)
        fixup.prop->setObj(fixup.instance, fixup.component);
}

void RemoveFixupReferences(TComponent* root) {
    if (!gAnyPending)
        return;
    std::lock_guard<std::mutex> guard(gFixupLock);
    auto& fixups = PendingFixups();
    std::erase_if(fixups, [root](const TPendingFixup& f) { return root == nullptr || f.root == root; });
    gAnyPending = !fixups.empty();
}

void RemoveFixupInstance(TPersistent* instance) {
    if (!gAnyPending)
        return;
    std::lock_guard<std::mutex> guard(gFixupLock);
    auto& fixups = PendingFixups();
    std::erase_if(fixups, [instance](const TPendingFixup& f) {
        return f.instance == instance || f.component == instance || f.root == instance;
    });
    gAnyPending = !fixups.empty();
}

// Loading across descriptions.

namespace {

thread_local std::vector<TComponent*>* gGlobalLoaded = nullptr;
thread_local Integer gGlobalLoadingCount = 0;

} // namespace

std::vector<TComponent*>* GlobalLoadedList() {
    return gGlobalLoaded;
}

void BeginGlobalLoading() {
    if (gGlobalLoadingCount++ == 0)
        gGlobalLoaded = new std::vector<TComponent*>();
}

void NotifyGlobalLoading() {
    if (gGlobalLoaded == nullptr)
        return;
    // Loaded may read further descriptions; work on a copy.
    std::vector<TComponent*> loaded = *gGlobalLoaded;
    gGlobalLoaded->clear();
    for (TComponent* component : loaded)
        CallLoaded(component);
    GlobalFixupReferences();
}

void EndGlobalLoading() {
    if (gGlobalLoadingCount > 0 && --gGlobalLoadingCount == 0) {
        delete gGlobalLoaded;
        gGlobalLoaded = nullptr;
    }
}

// Extended reals.

void DoubleToExtended80(double value, Byte out[10]) {
    UInt64 bits = std::bit_cast<UInt64>(value);
    unsigned sign = static_cast<unsigned>(bits >> 63);
    unsigned exponent = static_cast<unsigned>((bits >> 52) & 0x7FF);
    UInt64 fraction = bits & ((UInt64(1) << 52) - 1);
    UInt64 mantissa = 0;
    unsigned extExponent = 0;
    if (exponent == 0x7FF) {
        extExponent = 0x7FFF;
        mantissa = (UInt64(1) << 63) | (fraction << 11);
        if (fraction != 0)
            mantissa |= UInt64(1) << 62; // a quiet NaN
    } else if (exponent != 0) {
        extExponent = exponent - 1023 + 16383;
        mantissa = (UInt64(1) << 63) | (fraction << 11);
    } else if (fraction != 0) {
        // Subnormal doubles are normal extended values.
        int shift = std::countl_zero(fraction);
        mantissa = fraction << shift;
        extExponent = static_cast<unsigned>(16383 + 63 - 1074 - shift);
    }
    UInt64 le = mantissa;
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<Byte>(le & 0xFF);
        le >>= 8;
    }
    Word top = static_cast<Word>((sign << 15) | extExponent);
    out[8] = static_cast<Byte>(top & 0xFF);
    out[9] = static_cast<Byte>(top >> 8);
}

double Extended80ToDouble(const Byte in[10]) {
    UInt64 mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | in[i];
    Word top = static_cast<Word>(in[8] | (in[9] << 8));
    bool negative = (top & 0x8000) != 0;
    int exponent = top & 0x7FFF;
    double result;
    if (exponent == 0x7FFF)
        result = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    else if (mantissa == 0)
        result = 0.0;
    else
        // One rounding, from the 64-bit mantissa straight to the double: rounding to 53 bits first and
        // again into the subnormal range could land one step off.
        result = static_cast<double>(std::ldexp(static_cast<long double>(mantissa), exponent - 16383 - 63));
    return negative ? -result : result;
}
