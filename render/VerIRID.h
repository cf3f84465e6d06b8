// The run-time binding of the visual-styles library: "UXTHEME.DLL" is loaded by name at start-up and its
// entry points are resolved into a table that the controls' themed painting calls through; it is released
// at exit. Every control family shares this one binding, which offers all 46 entry points.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/win32/uxtheme.h"

// The framework's failed assertion ("Assertion failure (file, line n)").

// The entry points, in the order they are resolved.
#define ZELMOR_THEME_ENTRY_POINTS(X)                                                                         \
    X(OpenThemeData)                                                                                         \
    X(CloseThemeData)                                                                                        \
    X(DrawThemeBackground)                                                                                   \
    X(DrawThemeText)                                                                                         \
    X(GetThemeBackgroundContentRect)                                                                         \
    X(GetThemeBackgroundExtent)                                                                              \
    X(GetThemeTextExtent)                                                                                    \
    X(GetThemeTextMetrics)                                                                                   \
    X(GetThemeBackgroundRegion)                                                                              \
    X(HitTestThemeBackground)                                                                                \
    X(DrawThemeEdge)                                                                                         \
    X(DrawThemeIcon)                                                                                         \
    X(IsThemePartDefined)                                                                                    \
    X(IsThemeBackgroundPartiallyTransparent)                                                                 \
    X(GetThemeColor)                                                                                         \
    X(GetThemeMetric)                                                                                        \
    X(GetThemeString)                                                                                        \
    X(GetThemeBool)                                                                                          \
    X(GetThemeInt)                                                                                           \
    X(GetThemeEnumValue)                                                                                     \
    X(GetThemePosition)                                                                                      \
    X(GetThemeFont)                                                                                          \
    X(GetThemeRect)                                                                                          \
    X(GetThemeMargins)                                                                                       \
    X(GetThemeIntList)                                                                                       \
    X(SetWindowTheme)                                                                                        \
    X(GetThemeFilename)                                                                                      \
    X(GetThemeSysColor)                                                                                      \
    X(GetThemeSysColorBrush)                                                                                 \
    X(GetThemeSysBool)                                                                                       \
    X(GetThemeSysSize)                                                                                       \
    X(GetThemeSysFont)                                                                                       \
    X(GetThemeSysString)                                                                                     \
    X(GetThemeSysInt)                                                                                        \
    X(IsThemeActive)                                                                                         \
    X(IsAppThemed)                                                                                           \
    X(GetWindowTheme)                                                                                        \
    X(EnableThemeDialogTexture)                                                                              \
    X(IsThemeDialogTextureEnabled)                                                                           \
    X(GetThemeAppProperties)                                                                                 \
    X(SetThemeAppProperties)                                                                                 \
    X(GetCurrentThemeName)                                                                                   \
    X(GetThemeDocumentationProperty)                                                                         \
    X(GetThemePartSize)                                                                                      \
    X(DrawThemeParentBackground)                                                                             \
    X(EnableTheming)

namespace VerIRID {

// The entry table: null until bound, and again after the release. Callers call an entry only when
// their own checks say visual styles are in use (IsThemeActive through this table answering TRUE).
#define ZELMOR_THEME_ENTRY_VARIABLE(Name) inline decltype(&::Name) Name = nullptr;
ZELMOR_THEME_ENTRY_POINTS(ZELMOR_THEME_ENTRY_VARIABLE)
#undef ZELMOR_THEME_ENTRY_VARIABLE

// Loads "UXTHEME.DLL" and resolves the table; nothing when it is bound already. Without the library the
// table stays empty and nothing is reported. An entry point the library lacks raises EAssertionFailed;
// the entries after it stay unresolved.
void BindThemeLibrary();
// Frees the library when it is bound and clears the table.
void ReleaseThemeLibrary();

bool ThemeLibraryLoaded();
// The library's module handle while bound; null otherwise.
HMODULE ThemeLibraryHandle();
// How many entries of the table are resolved.
int ResolvedEntryCount();

// BindThemeLibrary for a library of another name; for tests of a library that lacks entries.
void BindThemeLibraryFrom(LPCWSTR libraryName);

} // namespace VerIRID
