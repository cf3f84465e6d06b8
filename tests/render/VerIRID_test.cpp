// Tests of the visual-styles binding: every entry resolves by name, a missing library leaves the table
// empty, a missing entry is a failed assertion, and the themed and classic paths both work.
#include "render/VerIRID.h"

#include <gtest/gtest.h>

#include "platform/rtl/UString.h"

#include "platform/framework/Graphics.h"
#include "platform/win32/resources.h"
#include "platform/win32/sysconfig.h"

namespace {

// Nothing but the start-up binds the table; the fixture below binds it again after its tests.
TEST(ThemeBindingStartUp, TheProgramStartsWithTheTableBound) {
    EXPECT_TRUE(VerIRID::ThemeLibraryLoaded());
    EXPECT_EQ(VerIRID::ResolvedEntryCount(), 46);
}

class ThemeBinding : public ::testing::Test {
protected:
    // Each test starts from an unbound table, whatever the program's start-up did.
    void SetUp() override { VerIRID::ReleaseThemeLibrary(); }
    // And leaves it bound again, as the rest of the program expects it.
    void TearDown() override {
        VerIRID::ReleaseThemeLibrary();
        VerIRID::BindThemeLibrary();
        win32::ResetSystemSettings();
    }
};

TEST_F(ThemeBinding, ResolvesEveryEntryPointByNameOnceAndReleasesThem) {
    VerIRID::BindThemeLibrary();
    ASSERT_TRUE(VerIRID::ThemeLibraryLoaded());
    HMODULE library = VerIRID::ThemeLibraryHandle();
    EXPECT_EQ(library, GetModuleHandleW(u"uxtheme"));
    EXPECT_EQ(VerIRID::ResolvedEntryCount(), 46);
    // Each entry is the library's export of that name.
#define EXPECT_ENTRY(Name)                                                                                   \
    EXPECT_EQ(reinterpret_cast<FARPROC>(VerIRID::Name), GetProcAddress(library, #Name)) << #Name;
    ZELMOR_THEME_ENTRY_POINTS(EXPECT_ENTRY)
#undef EXPECT_ENTRY
    EXPECT_EQ(VerIRID::DrawThemeBackground, &::DrawThemeBackground);

    VerIRID::BindThemeLibrary(); // bound already: nothing changes
    EXPECT_EQ(VerIRID::ThemeLibraryHandle(), library);

    VerIRID::ReleaseThemeLibrary();
    EXPECT_FALSE(VerIRID::ThemeLibraryLoaded());
    EXPECT_EQ(VerIRID::ResolvedEntryCount(), 0);
    VerIRID::ReleaseThemeLibrary(); // not bound: nothing happens
    EXPECT_FALSE(VerIRID::ThemeLibraryLoaded());
}

TEST_F(ThemeBinding, AMissingLibraryLeavesTheTableEmpty) {
    VerIRID::BindThemeLibraryFrom(u"NOTHEMES.DLL");
    EXPECT_FALSE(VerIRID::ThemeLibraryLoaded());
    EXPECT_EQ(VerIRID::ThemeLibraryHandle(), nullptr);
    EXPECT_EQ(VerIRID::ResolvedEntryCount(), 0);
}

TEST_F(ThemeBinding, AMissingEntryPointIsAFailedAssertion) {
    win32::RegisterLibraryEntry(u"HALFTHEME.DLL", "OpenThemeData", &::OpenThemeData);
    win32::RegisterLibraryEntry(u"HALFTHEME.DLL", "CloseThemeData", &::CloseThemeData);
    try {
        VerIRID::BindThemeLibraryFrom(u"HALFTHEME.DLL");
        FAIL() << "no assertion failure";
    } catch (const EAssertionFailed& e) {
        String message = e.Message();
        EXPECT_EQ(message.rfind(u"Assertion failure (VerIRID.cpp, line ", 0), 0u) << StringToUtf8(message);
        EXPECT_EQ(message.back(), u')');
    }
    // The entries before the missing one are resolved, the later ones are not.
    EXPECT_EQ(VerIRID::OpenThemeData, &::OpenThemeData);
    EXPECT_EQ(VerIRID::CloseThemeData, &::CloseThemeData);
    EXPECT_EQ(VerIRID::DrawThemeBackground, nullptr);
    EXPECT_EQ(VerIRID::ResolvedEntryCount(), 2);
}

TEST_F(ThemeBinding, ThemedPartsDrawThroughTheTableAndThemesOffTakesTheClassicPath) {
    VerIRID::BindThemeLibrary();
    TBitmap bitmap;
    bitmap.SetSize(24, 24);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(Rect(0, 0, 24, 24));

    ASSERT_TRUE(VerIRID::IsThemeActive());
    HTHEME theme = VerIRID::OpenThemeData(nullptr, u"button");
    ASSERT_NE(theme, nullptr);
    RECT rect{2, 2, 22, 22};
    EXPECT_EQ(VerIRID::DrawThemeBackground(theme, bitmap.Canvas()->Handle(), BP_PUSHBUTTON, PBS_NORMAL, &rect,
                                           nullptr),
              S_OK);
    EXPECT_EQ(VerIRID::CloseThemeData(theme), S_OK);
    EXPECT_NE(bitmap.Canvas()->Pixels(12, 12), clFuchsia);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clFuchsia);

    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = false;
    win32::SetSystemSettings(settings);
    EXPECT_FALSE(VerIRID::IsThemeActive());
    EXPECT_FALSE(VerIRID::IsAppThemed());
    EXPECT_EQ(VerIRID::OpenThemeData(nullptr, u"button"), nullptr);
    WCHAR file[255], color[255], size[255];
    EXPECT_NE(VerIRID::GetCurrentThemeName(file, 255, color, 255, size, 255), S_OK);
}

} // namespace
