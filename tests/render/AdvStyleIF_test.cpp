// Tests of component looks and tones, Office scheme detection from the registry, and the theme notifier
// with its registry-watch thread.
#include "render/AdvStyleIF.h"

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"

#include "platform/win32/registry.h"
#include "platform/win32/sysconfig.h"

namespace {

const String OfficeRoot = u"Software\\Microsoft\\Office";

// Writes and removes the Office keys a test needs; the registry holds none of them otherwise.
class OfficeRegistry : public ::testing::Test {
protected:
    void TearDown() override {
        TRegistry registry;
        registry.DeleteKey(OfficeRoot);
        win32::ResetSystemSettings();
    }
    static void CreateKey(const String& key) {
        TRegistry registry;
        registry.CreateKey(OfficeRoot + u"\\" + key);
    }
    static void WriteTheme(const String& version, Integer theme) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(OfficeRoot + u"\\" + version + u"\\Common", true));
        registry.WriteInteger(u"Theme", theme);
    }
    static void SetThemes(bool active) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = active;
        win32::SetSystemSettings(settings);
    }
};

// Serves the messages other threads send to this thread's windows until done() holds (or ten seconds of
// real time have passed, so that a fault fails the test instead of hanging it).
bool ServeSendsUntil(const std::function<bool()>& done) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG msg;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::yield();
    }
    return true;
}

// ---- Looks and tones ----

// A control that takes looks and tones, as the grid and the panels do, and publishes its look.
class TTonedControl : public TComponent, public IQELStyle, public IQELTones {
    DECLARE_CLASS(TTonedControl, TComponent)

public:
    using TComponent::TComponent;
    void SetComponentStyle(TQELStyle AStyle) override { FStyle = AStyle; }
    void SetColorTones(TColorTones ATones) override { FTones = ATones; }
    TQELStyle Style() const { return FStyle; }
    void SetStyle(TQELStyle value) { FStyle = value; }
    TQELStyle FStyle = tsCustom;
    TColorTones FTones;
};

} // namespace

DEFINE_CLASS(TTonedControl, PROPERTY(Style).Default(tsCustom))

namespace {

TEST(ComponentStyle, LooksAndTonesReachAControlThroughItsInterfaces) {
    TTonedControl control(nullptr);
    TComponent* component = &control;
    IQELStyle* style = dynamic_cast<IQELStyle*>(component);
    IQELTones* tones = dynamic_cast<IQELTones*>(component);
    ASSERT_NE(style, nullptr);
    ASSERT_NE(tones, nullptr);

    style->SetComponentStyle(OfficeThemeToStyle(ot2007Black));
    EXPECT_EQ(control.FStyle, tsOffice2007Obsidian);

    TColorTones given;
    given.Background = {clWhite, clSilver, clBlack};
    given.Hover = {clYellow, clOlive, clNavy};
    given.Disabled = {clBtnFace, clGray, clGrayText};
    tones->SetColorTones(given);
    given.Background.BrushColor = clRed; // the control keeps its own copy
    EXPECT_EQ(control.FTones.Background, (TColorTone{clWhite, clSilver, clBlack}));
    EXPECT_EQ(control.FTones.Hover, (TColorTone{clYellow, clOlive, clNavy}));
    EXPECT_EQ(control.FTones.Disabled.TextColor, clGrayText);
}

TEST(ComponentStyle, PublishedLooksAreStoredByName) {
    TTonedControl control(nullptr);
    EXPECT_EQ(GetEnumProp(&control, u"Style"), u"tsCustom");
    const std::pair<const Char*, TQELStyle> names[] = {{u"tsOffice2003Blue", tsOffice2003Blue},
                                                       {u"tsOffice2007Silver", tsOffice2007Silver},
                                                       {u"tsTerminal", tsTerminal},
                                                       {u"tsOffice2010Blue", tsOffice2010Blue},
                                                       {u"tsOffice2013Gray", tsOffice2013Gray}};
    for (const auto& [name, style] : names) {
        SetEnumProp(&control, u"Style", name);
        EXPECT_EQ(control.Style(), style) << StringToUtf8(name);
        EXPECT_EQ(GetEnumProp(&control, u"Style"), name);
    }
}

TEST(ComponentStyle, OfficeSchemesMapToTheirLooks) {
    const std::pair<TOfficeTheme, TQELStyle> cases[] = {
        {ot2003Blue, tsOffice2003Blue},      {ot2003Silver, tsOffice2003Silver},
        {ot2003Olive, tsOffice2003Olive},    {ot2003Classic, tsOffice2003Classic},
        {ot2007Blue, tsOffice2007Luna},      {ot2007Silver, tsOffice2007Silver},
        {ot2007Black, tsOffice2007Obsidian}, {ot2010Blue, tsOffice2010Blue},
        {ot2010Silver, tsOffice2010Silver},  {ot2010Black, tsOffice2010Black},
    };
    for (auto [theme, style] : cases)
        EXPECT_EQ(OfficeThemeToStyle(theme), style) << int(theme);
    // The ordinals are what code compares and maps.
    EXPECT_EQ(int(tsOffice2007Silver), 9);
    EXPECT_EQ(int(tsOffice2010Blue), 13);
    EXPECT_EQ(int(tsOffice2013Gray), 19);
}

// ---- Platform queries ----

TEST_F(OfficeRegistry, PlatformQueriesFollowTheSystemVersions) {
    EXPECT_TRUE(IsWinXPOrLater());
    EXPECT_TRUE(IsComCtl6OrLater());
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_EQ(DefaultFontName(), u"Segoe UI");

    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.majorVersion = 5;
    settings.minorVersion = 0; // Windows 2000
    settings.comctlMajor = 5;
    win32::SetSystemSettings(settings);
    EXPECT_FALSE(IsWinXPOrLater());
    EXPECT_FALSE(IsComCtl6OrLater());
    settings.minorVersion = 1;
    win32::SetSystemSettings(settings);
    EXPECT_TRUE(IsWinXPOrLater());
}

TEST(XPColorScheme, SchemeNamesMatchWithinTheirLiterals) {
    const std::pair<String, Integer> cases[] = {
        {u"NormalColor", 1}, {u"HomeStead", 2}, {u"Metallic", 3}, {u"Normal", 1},
        {u"normalcolor", 0}, {u"", 0},          {u"Royale", 0},
    };
    for (const auto& [name, scheme] : cases)
        EXPECT_EQ(XPColorSchemeOf(name), scheme) << StringToUtf8(name);
}

// ---- Office detection ----

TEST_F(OfficeRegistry, OfficeVersionIsTheLatestKeyFound) {
    EXPECT_EQ(DetectOfficeVersion(), 0);
    CreateKey(u"11.0\\Common\\General");
    EXPECT_EQ(DetectOfficeVersion(), 0);
    CreateKey(u"14.0\\Common\\General");
    EXPECT_EQ(DetectOfficeVersion(), 2);
    CreateKey(u"12.0\\Common\\General");
    EXPECT_EQ(DetectOfficeVersion(), 2);
}

struct DetectionCase {
    const char* name;
    Integer office2010Theme; // -1: no value written
    Integer office2007Theme;
    bool themes;
    TOfficeTheme expected;
};

class OfficeThemeDetection : public OfficeRegistry, public ::testing::WithParamInterface<DetectionCase> {};

TEST_P(OfficeThemeDetection, ReadsOfficeValuesThenTheXPScheme) {
    const DetectionCase& c = GetParam();
    if (c.office2010Theme >= 0)
        WriteTheme(u"14.0", c.office2010Theme);
    if (c.office2007Theme >= 0)
        WriteTheme(u"12.0", c.office2007Theme);
    SetThemes(c.themes);
    EXPECT_EQ(DetectOfficeTheme(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    OfficeRegistry, OfficeThemeDetection,
    ::testing::Values(DetectionCase{"NothingThemesOff", -1, -1, false, ot2003Classic},
                      DetectionCase{"NothingThemesOnIsTheBlueXPScheme", -1, -1, true, ot2003Blue},
                      DetectionCase{"Office2010Blue", 1, -1, false, ot2010Blue},
                      DetectionCase{"Office2010Silver", 2, 3, false, ot2010Silver},
                      DetectionCase{"Office2010Black", 3, -1, false, ot2010Black},
                      DetectionCase{"Office2010UnknownValueStopsThere", 4, 3, false, ot2003Blue},
                      DetectionCase{"Office2007Blue", -1, 1, false, ot2007Blue},
                      DetectionCase{"Office2007Silver", -1, 2, false, ot2007Silver},
                      DetectionCase{"Office2007Black", -1, 3, true, ot2007Black},
                      DetectionCase{"Office2007UnknownValue", -1, 0, false, ot2003Blue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OfficeRegistry, AKeyWithoutThemeValueMovesOnAndANonIntegerValueRaises) {
    CreateKey(u"14.0\\Common");
    WriteTheme(u"12.0", 2);
    EXPECT_EQ(DetectOfficeTheme(), ot2007Silver);

    TRegistry registry;
    EXPECT_EQ(ReadOfficeThemeValue(registry, OfficeRoot + u"\\14.0\\Common"), -1);
    EXPECT_EQ(ReadOfficeThemeValue(registry, OfficeRoot + u"\\15.0\\Common"), -1);
    ASSERT_TRUE(registry.OpenKey(OfficeRoot + u"\\14.0\\Common", true));
    registry.WriteString(u"Theme", u"dark");
    registry.CloseKey();
    EXPECT_THROW(ReadOfficeThemeValue(registry, OfficeRoot + u"\\14.0\\Common"), ERegistryException);
    EXPECT_EQ(registry.CurrentKey(), nullptr); // the key was closed on the way out
}

// ---- Handle list ----

TEST(HandleList, DeleteValueRemovesTheFirstEqualEntryOnly) {
    THandleList list;
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20);
    list.Add(a);
    list.Add(b);
    list.Insert(0, b);
    list.DeleteValue(b);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetInteger(0), a);
    EXPECT_EQ(list.GetInteger(1), b);
    list.DeleteValue(reinterpret_cast<HWND>(0x30));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.HasValue(b));
    list.SetInteger(1, a);
    EXPECT_FALSE(list.HasValue(b));
}

// ---- The notifier ----

// A window that records the theme-changed messages it receives.
struct Receiver {
    static inline std::vector<String> paths;
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_OFFICETHEMECHANGED) {
            EXPECT_EQ(reinterpret_cast<HKEY>(wParam), HKEY_CURRENT_USER);
            paths.emplace_back(reinterpret_cast<const Char*>(lParam));
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    Receiver() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Proc;
        windowClass.lpszClassName = u"ThemeReceiver";
        RegisterClassW(&windowClass);
        hwnd =
            CreateWindowExW(0, u"ThemeReceiver", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        paths.clear();
    }
    ~Receiver() { DestroyWindow(hwnd); }
    HWND hwnd;
};

TEST_F(OfficeRegistry, WithoutOffice2007Or2010TheNotifierDoesNothing) {
    CreateKey(u"11.0\\Common\\General");
    TComponent owner(nullptr);
    TThemeNotifier* notifier = SharedThemeNotifier(&owner);
    EXPECT_EQ(SharedThemeNotifier(nullptr), notifier);
    EXPECT_EQ(notifier->RegMonitorThread(), nullptr);
    EXPECT_EQ(notifier->NotifierWindow(), nullptr);
    Receiver receiver;
    notifier->RegisterWindow(receiver.hwnd);
    notifier->UnRegisterWindow(receiver.hwnd);
    delete notifier;
    // The shared instance was forgotten with the old one; a new one is made, owned by the owner.
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(SharedThemeNotifier(&owner)->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(OfficeRegistry, TheMainFormOwnsTheSharedNotifierOnceItsWindowExists) {
    struct ApplicationSwap {
        ApplicationSwap() : program(Application) { Application = &application; }
        ~ApplicationSwap() { Application = program; }
        TApplication application{nullptr};
        TApplication* program;
    } swap;
    TForm* mainForm = nullptr;
    swap.application.CreateForm(TForm::StaticClass(), mainForm);
    ASSERT_EQ(swap.application.MainForm(), mainForm);
    TComponent owner(nullptr);

    // A main form still without its window cannot own it: the caller does.
    TThemeNotifier* early = SharedThemeNotifier(&owner);
    EXPECT_EQ(early->Owner(), &owner);
    delete early;

    mainForm->HandleNeeded();
    TThemeNotifier* notifier = SharedThemeNotifier(&owner);
    EXPECT_EQ(notifier->Owner(), mainForm);
    EXPECT_EQ(owner.ComponentCount(), 0);
    // Freed with the main form, which also forgets the shared instance.
    delete mainForm;
    EXPECT_EQ(SharedThemeNotifier(&owner)->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(OfficeRegistry, ANotifierBeingDesignedDetectsNothing) {
    CreateKey(u"12.0\\Common\\General");
    TComponent owner(nullptr);
    owner.SetDesigning(true);
    TThemeNotifier notifier(&owner);
    EXPECT_EQ(notifier.RegMonitorThread(), nullptr);
}

TEST_F(OfficeRegistry, TheWatchTellsTheNotifierAndEveryRegisteredWindowAndStopsCleanly) {
    CreateKey(u"12.0\\Common\\General");
    CreateKey(u"14.0\\Common\\General");
    Receiver first, second;
    int notified = 0;
    {
        TThemeNotifier notifier(nullptr);
        notifier.OnOfficeThemeChange = [&](TObject* sender) {
            EXPECT_EQ(sender, &notifier);
            ++notified;
        };
        TRegMonitorThread* thread = notifier.RegMonitorThread();
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(thread->Key(), OfficeRoot + u"\\14.0\\Common");
        EXPECT_EQ(thread->Filter(), DWORD(REG_NOTIFY_CHANGE_LAST_SET));
        EXPECT_EQ(thread->Wnd(), notifier.NotifierWindow()->Handle());

        notifier.RegisterWindow(first.hwnd);
        notifier.RegisterWindow(first.hwnd);
        notifier.RegisterWindow(second.hwnd);
        notifier.UnRegisterWindow(second.hwnd);
        notifier.UnRegisterWindow(reinterpret_cast<HWND>(0x1234));
        EXPECT_EQ(thread->ReceiverCount(), 1);

        ASSERT_TRUE(ServeSendsUntil([&] { return thread->Watching(); }));
        WriteTheme(u"14.0", 3);
        ASSERT_TRUE(ServeSendsUntil([&] { return !Receiver::paths.empty(); }));
        EXPECT_EQ(notified, 1);
        EXPECT_EQ(Receiver::paths, std::vector<String>{OfficeRoot + u"\\14.0\\Common"});

        // The watch is armed again for the next change.
        WriteTheme(u"14.0", 1);
        ASSERT_TRUE(ServeSendsUntil([&] { return Receiver::paths.size() == 2; }));
        EXPECT_EQ(notified, 2);
    }
    // The thread has ended with the notifier: nothing more arrives.
    WriteTheme(u"14.0", 2);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(Receiver::paths.size(), 2u);
}

TEST_F(OfficeRegistry, AWatchOfAMissingKeyEndsWithItsError) {
    auto* thread = new TRegMonitorThread();
    EXPECT_EQ(thread->Filter(), 15u); // 0 reads as every kind of change
    thread->SetKey(u"Software\\Microsoft\\Office\\12.0\\Common");
    thread->Start();
    thread->WaitFor();
    ASSERT_TRUE(thread->FatalException());
    try {
        std::rethrow_exception(thread->FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Unable to open registry key Software\\Microsoft\\Office\\12.0\\Common");
    }
    EXPECT_FALSE(thread->Watching());
    thread->Free();
}

} // namespace
