// How a control is told which look and colour tones to use, and the services that find out which Office
// colour scheme the desktop suggests and tell registered windows when it may have changed.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/framework/Component.h"
#include "platform/framework/Idents.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Registry.h"
#include "platform/win32/winuser.h"

// The looks a control can take. Form descriptions store the names; code compares the ordinals, so the
// order (not grouped by product) is fixed.
#define ZELMOR_QEL_STYLES                                                                                    \
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,          \
        tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista,          \
        tsWindows7, tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black, tsWindows8,         \
        tsOffice2013White, tsOffice2013LightGray, tsOffice2013Gray

enum TQELStyle : Byte { ZELMOR_QEL_STYLES };

// Two steps, so that the list is expanded before it is turned into text.
#define ZELMOR_QEL_STYLE_TEXT(...) u"" #__VA_ARGS__
#define ZELMOR_QEL_STYLE_NAMES(...) ZELMOR_QEL_STYLE_TEXT(__VA_ARGS__)
// The names by which published looks are streamed.
inline const TTypeInfo* ZelmorTypeInfo(const TQELStyle*) {
    static const TTypeInfo info =
        TTypeInfo::Enumeration(u"TQELStyle", ZELMOR_QEL_STYLE_NAMES(ZELMOR_QEL_STYLES));
    return &info;
}
#undef ZELMOR_QEL_STYLE_NAMES
#undef ZELMOR_QEL_STYLE_TEXT
#undef ZELMOR_QEL_STYLES

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
    bool operator==(const TColorTone&) const = default;
};

// Passed and stored by value: a control that accepts tones keeps its own copy.
struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
    bool operator==(const TColorTones&) const = default;
};

// The Office colour scheme found on the desktop.
enum TOfficeTheme : Byte {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown, // never produced by DetectOfficeTheme
};

// The look a control following the Office scheme switches to; tsCustom for otUnknown, which has none.
TQELStyle OfficeThemeToStyle(TOfficeTheme theme);

// A control that accepts a look.
class IQELStyle {
public:
    static constexpr const Char* IID = u"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";
    virtual void SetComponentStyle(TQELStyle AStyle) = 0;

protected:
    ~IQELStyle() = default;
};

// A control that accepts a set of colour tones.
class IQELTones {
public:
    static constexpr const Char* IID = u"{1F492643-6699-4F25-8B34-3233FA735036}";
    virtual void SetColorTones(TColorTones ATones) = 0;

protected:
    ~IQELTones() = default;
};

// Sent to the notifier's window and every registered window when the Office scheme may have changed.
// wParam: the watched root key; lParam: the watched key path, a null-terminated UTF-16 string valid
// while the message is handled.
inline constexpr UINT WM_OFFICETHEMECHANGED = WM_USER + 1969;

// ---- Platform queries shared by the styled controls ----
// True when the major file version of COMCTL32.DLL (low byte) is above 5; an unreadable version counts
// as all bits set, so as version 6 or later.
bool IsComCtl6OrLater();
bool IsWinXPOrLater();
// True when kernel32 exports GetLocaleInfoEx.
bool IsVistaOrLater();
String DefaultFontName();

// ---- Office scheme detection ----
// 2 when Office 2010 is present, 1 for Office 2007, else 0.
Integer DetectOfficeVersion();
// The integer value "Theme" of key, or -1 when the key or the value is missing. A value that is not an
// integer raises the registry's error.
Integer ReadOfficeThemeValue(TRegistry& registry, const String& key);
// 0 none or not recognised, 1 blue, 2 olive, 3 silver.
Integer DetectXPColorScheme();
// The XP scheme a visual-styles colour-scheme name stands for ("NormalColor" 1, "HomeStead" 2,
// "Metallic" 3, anything else 0).
Integer XPColorSchemeOf(const String& colorName);
TOfficeTheme DetectOfficeTheme();

// A list of window handles.
class THandleList : public TList {
public:
    void Add(HWND value) { TList::Add(value); }
    void Insert(Integer index, HWND value) { TList::Insert(index, value); }
    void Delete(Integer index) { TList::Delete(index); }
    // Removes the first entry equal to value; nothing when it is absent.
    void DeleteValue(HWND value);
    bool HasValue(HWND value) const { return IndexOf(value) >= 0; }
    HWND GetInteger(Integer index) const { return static_cast<HWND>(Items(index)); }
    void SetInteger(Integer index, HWND value) { SetItems(index, value); }
};

// Watches a registry key and sends WM_OFFICETHEMECHANGED to its receivers at each change. Created
// suspended; Stop ends the wait so that the thread can end.
class TRegMonitorThread : public TThread {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    void Stop();

    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY value) { FRootKey = value; }
    // Stored only: the watch always covers the subtree.
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool value) { FWatchSub = value; }
    // Reads as 15 (every kind of change) while it is 0.
    DWORD Filter() const { return FFilter == 0 ? 15 : FFilter; }
    void SetFilter(DWORD value) { FFilter = value; }
    HWND Wnd() const { return FWnd; }
    void SetWnd(HWND value) { FWnd = value; }

    // The receivers after Wnd. The list is changed on the GUI thread while the watch thread reads it:
    // change it only through these.
    void AddReceiver(HWND value);
    void RemoveReceiver(HWND value);
    Integer ReceiverCount() const;
    // True once the thread has opened the key and asked for its first change notification.
    bool Watching() const { return FWatching.load(); }

protected:
    void Execute() override;

private:
    void StartWatch();
    void ArmNotification();
    void SendToReceivers();

    std::unique_ptr<TRegistry> FReg;
    HANDLE FEvent = nullptr;
    String FKey;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    DWORD FFilter = 0;
    HWND FWnd = nullptr;
    std::unique_ptr<THandleList> FWinList;
    mutable std::mutex FWinListLock;
    std::atomic<bool> FWatching{false};
};

// The notifier's hidden window: fires OnOfficeThemeChange when WM_OFFICETHEMECHANGED arrives.
class TThemeNotifierWindow : public TComponent {
    DECLARE_CLASS(TThemeNotifierWindow, TComponent)

public:
    explicit TThemeNotifierWindow(TComponent* owner);
    ~TThemeNotifierWindow() override;

    // The window, created at first use.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TNotifyEvent OnOfficeThemeChange;

protected:
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FHandle = nullptr;
};

// Tells registered windows that the Office colour scheme may have changed. It watches only when Office
// 2007 or 2010 was found at creation; otherwise it has no window and no thread and does nothing.
class TThemeNotifier : public TComponent {
    DECLARE_CLASS(TThemeNotifier, TComponent)

public:
    explicit TThemeNotifier(TComponent* owner);
    ~TThemeNotifier() override;

    void RegisterWindow(HWND hwnd);
    void UnRegisterWindow(HWND hwnd);

    // Null when the notifier does not watch.
    TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread; }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

    TNotifyEvent OnOfficeThemeChange;

private:
    void OfficeThemeChanged(TObject* sender);

    TRegMonitorThread* FRegMonitorThread = nullptr;
    TThemeNotifierWindow* FNotifier = nullptr; // owned as a component
};

// The one program-wide notifier, created on first call. Its owner is the application's main form when
// that has its window already, else owner.
TThemeNotifier* SharedThemeNotifier(TComponent* owner);
