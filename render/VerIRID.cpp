// Loading and releasing the visual-styles library and resolving its entry points by name.
#include "render/VerIRID.h"

#include "platform/rtl/Consts.h"

namespace VerIRID {

namespace {

bool Loaded = false;
HMODULE Library = nullptr;

// The file name of this unit, as the assertion message names it.
String UnitFileName() {
    StringView path = u"" __FILE__;
    size_t slash = path.find_last_of(u"\\/");
    return String(slash == StringView::npos ? path : path.substr(slash + 1));
}

template <class Function> void Resolve(Function& entry, const char* name, int line) {
    entry = reinterpret_cast<Function>(GetProcAddress(Library, name));
    if (!entry)
        throw EAssertionFailed(Consts::SAssertError, {Consts::SAssertionFailed, UnitFileName(), line});
}

void ClearTable() {
#define ZELMOR_THEME_ENTRY_CLEAR(Name) Name = nullptr;
    ZELMOR_THEME_ENTRY_POINTS(ZELMOR_THEME_ENTRY_CLEAR)
#undef ZELMOR_THEME_ENTRY_CLEAR
}

// The unit's start-up binds the library and its shut-down releases it, so the controls find the table
// filled before their first paint. A library that lacks an entry point stops the program here.
struct UnitLifetime {
    UnitLifetime() { BindThemeLibrary(); }
    ~UnitLifetime() { ReleaseThemeLibrary(); }
} unitLifetime;

} // namespace

void BindThemeLibraryFrom(LPCWSTR libraryName) {
    if (Loaded)
        return;
    HMODULE module = LoadLibraryW(libraryName);
    // A handle below 32 is a failure code of the loader.
    if (reinterpret_cast<UINT_PTR>(module) < 32) {
        Loaded = false;
        Library = nullptr;
        return;
    }
    Library = module;
    Loaded = true;
#define ZELMOR_THEME_ENTRY_RESOLVE(Name) Resolve(Name, #Name, __LINE__);
    ZELMOR_THEME_ENTRY_POINTS(ZELMOR_THEME_ENTRY_RESOLVE)
#undef ZELMOR_THEME_ENTRY_RESOLVE
}

void BindThemeLibrary() {
    BindThemeLibraryFrom(u"UXTHEME.DLL");
}

void ReleaseThemeLibrary() {
    if (!Loaded)
        return;
    FreeLibrary(Library);
    Loaded = false;
    Library = nullptr;
    // Stale entries would point into a library that is gone; callers find them null instead.
    ClearTable();
}

bool ThemeLibraryLoaded() {
    return Loaded;
}

HMODULE ThemeLibraryHandle() {
    return Library;
}

int ResolvedEntryCount() {
    int count = 0;
#define ZELMOR_THEME_ENTRY_COUNT(Name) count += Name ? 1 : 0;
    ZELMOR_THEME_ENTRY_POINTS(ZELMOR_THEME_ENTRY_COUNT)
#undef ZELMOR_THEME_ENTRY_COUNT
    return count;
}

} // namespace VerIRID
