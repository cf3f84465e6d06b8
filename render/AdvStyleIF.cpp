// Office scheme detection from the registry, the theme notifier with its registry-watch thread, and the
// platform queries the styled controls share.
#include "render/AdvStyleIF.h"

#include <vector>

#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/registry.h"
#include "platform/win32/sync.h"
#include "platform/win32/uxtheme.h"

namespace {

constexpr const Char* Office2003Key = u"Software\\Microsoft\\Office\\11.0\\Common\\General";
constexpr const Char* Office2007Key = u"Software\\Microsoft\\Office\\12.0\\Common\\General";
constexpr const Char* Office2010Key = u"Software\\Microsoft\\Office\\14.0\\Common\\General";
constexpr const Char* Office2007Common = u"Software\\Microsoft\\Office\\12.0\\Common";
constexpr const Char* Office2010Common = u"Software\\Microsoft\\Office\\14.0\\Common";

TThemeNotifier* SharedNotifier = nullptr;

} // namespace

TQELStyle OfficeThemeToStyle(TOfficeTheme theme) {
    switch (theme) {
    case ot2003Blue:
        return tsOffice2003Blue;
    case ot2003Silver:
        return tsOffice2003Silver;
    case ot2003Olive:
        return tsOffice2003Olive;
    case ot2003Classic:
        return tsOffice2003Classic;
    case ot2007Blue:
        return tsOffice2007Luna;
    case ot2007Silver:
        return tsOffice2007Silver;
    case ot2007Black:
        return tsOffice2007Obsidian;
    case ot2010Blue:
        return tsOffice2010Blue;
    case ot2010Silver:
        return tsOffice2010Silver;
    case ot2010Black:
        return tsOffice2010Black;
    case otUnknown:
        break;
    }
    return tsCustom;
}

// ---- Platform queries ----

bool IsComCtl6OrLater() {
    // A version that cannot be read counts as all bits set.
    DWORD versionMS = 0xFFFFFFFF;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(u"COMCTL32.DLL", &handle);
    if (size > 0) {
        std::vector<BYTE> block(size);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (GetFileVersionInfoW(u"COMCTL32.DLL", handle, size, block.data()) &&
            VerQueryValueW(block.data(), u"\\", reinterpret_cast<LPVOID*>(&info), &length) && info &&
            length >= sizeof(VS_FIXEDFILEINFO))
            versionMS = info->dwFileVersionMS;
    }
    return ((versionMS >> 16) & 0xFF) > 5;
}

bool IsWinXPOrLater() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

bool IsVistaOrLater() {
    HMODULE kernel = GetModuleHandleW(u"kernel32");
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx");
}

String DefaultFontName() {
    return IsVistaOrLater() ? u"Segoe UI" : u"Tahoma";
}

// ---- Office scheme detection ----

Integer DetectOfficeVersion() {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    Integer result = 0;
    // Office 2003 leaves the result at 0; a later version wins over an earlier one.
    if (registry.KeyExists(Office2003Key))
        result = 0;
    if (registry.KeyExists(Office2007Key))
        result = 1;
    if (registry.KeyExists(Office2010Key))
        result = 2;
    return result;
}

Integer ReadOfficeThemeValue(TRegistry& registry, const String& key) {
    if (!registry.KeyExists(key))
        return -1;
    Integer result = -1;
    if (registry.OpenKey(key, false)) {
        try {
            if (registry.ValueExists(u"Theme"))
                result = registry.ReadInteger(u"Theme");
        } catch (...) {
            registry.CloseKey();
            throw;
        }
        registry.CloseKey();
    }
    return result;
}

Integer XPColorSchemeOf(const String& colorName) {
    // The scheme name matches when it occurs within the literal, so each exact name matches.
    auto within = [&](StringView literal) {
        return !colorName.empty() && literal.find(colorName) != StringView::npos;
    };
    if (within(u"NormalColor"))
        return 1;
    if (within(u"HomeStead"))
        return 2;
    if (within(u"Metallic"))
        return 3;
    return 0;
}

Integer DetectXPColorScheme() {
    if (!IsWinXPOrLater())
        return 0;
    HMODULE library = LoadLibraryW(u"uxtheme.dll");
    if (!library)
        return 0;
    Integer result = 0;
    using IsThemeActiveProc = BOOL (*)();
    using GetCurrentThemeNameProc = HRESULT (*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto isThemeActive = reinterpret_cast<IsThemeActiveProc>(GetProcAddress(library, "IsThemeActive"));
    if (isThemeActive && isThemeActive() && IsComCtl6OrLater()) {
        auto getCurrentThemeName =
            reinterpret_cast<GetCurrentThemeNameProc>(GetProcAddress(library, "GetCurrentThemeName"));
        if (getCurrentThemeName) {
            WCHAR fileName[255] = {};
            WCHAR colorName[255] = {};
            WCHAR sizeName[255] = {};
            getCurrentThemeName(fileName, 255, colorName, 255, sizeName, 255);
            colorName[254] = 0;
            result = XPColorSchemeOf(String(colorName));
        }
    }
    FreeLibrary(library);
    return result;
}

TOfficeTheme DetectOfficeTheme() {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    switch (ReadOfficeThemeValue(registry, Office2010Common)) {
    case -1:
        break;
    case 1:
        return ot2010Blue;
    case 2:
        return ot2010Silver;
    case 3:
        return ot2010Black;
    default:
        return ot2003Blue;
    }
    switch (ReadOfficeThemeValue(registry, Office2007Common)) {
    case -1:
        break;
    case 1:
        return ot2007Blue;
    case 2:
        return ot2007Silver;
    case 3:
        return ot2007Black;
    default:
        return ot2003Blue;
    }
    switch (DetectXPColorScheme()) {
    case 1:
        return ot2003Blue;
    case 2:
        return ot2003Olive;
    case 3:
        return ot2003Silver;
    default:
        return ot2003Classic;
    }
}

// ---- THandleList ----

void THandleList::DeleteValue(HWND value) {
    Integer index = IndexOf(value);
    if (index >= 0)
        Delete(index);
}

// ---- TRegMonitorThread ----

TRegMonitorThread::TRegMonitorThread()
    : TThread(true), FReg(std::make_unique<TRegistry>(KEY_READ)), FWinList(std::make_unique<THandleList>()) {
    // The event exists before the thread runs, so a Stop that comes before the watch has started still
    // ends the wait. Each watch has an event of its own: a shared named event would let one notifier's
    // Stop or change wake every other watch as well.
    FEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TRegMonitorThread::~TRegMonitorThread() {
    if (FEvent)
        CloseHandle(FEvent);
}

void TRegMonitorThread::Stop() {
    Terminate();
    if (FEvent)
        SetEvent(FEvent);
}

void TRegMonitorThread::AddReceiver(HWND value) {
    std::lock_guard guard(FWinListLock);
    if (!FWinList->HasValue(value))
        FWinList->Add(value);
}

void TRegMonitorThread::RemoveReceiver(HWND value) {
    std::lock_guard guard(FWinListLock);
    FWinList->DeleteValue(value);
}

Integer TRegMonitorThread::ReceiverCount() const {
    std::lock_guard guard(FWinListLock);
    return FWinList->Count();
}

void TRegMonitorThread::ArmNotification() {
    // The subtree is always watched, whatever WatchSub holds.
    RegNotifyChangeKeyValue(FReg->CurrentKey(), TRUE, Filter(), FEvent, TRUE);
}

void TRegMonitorThread::StartWatch() {
    FReg->SetRootKey(FRootKey);
    if (!FReg->OpenKeyReadOnly(FKey))
        throw Exception(Consts::SRegMonitorOpenKey + FKey);
    ArmNotification();
    FWatching = true;
}

void TRegMonitorThread::SendToReceivers() {
    String key = FKey;
    WPARAM root = reinterpret_cast<WPARAM>(FRootKey);
    LPARAM path = reinterpret_cast<LPARAM>(key.c_str());
    if (FWnd)
        SendMessageW(FWnd, WM_OFFICETHEMECHANGED, root, path);
    // The list is copied under the lock, so the GUI thread may change it while the sends wait for it.
    std::vector<HWND> receivers;
    {
        std::lock_guard guard(FWinListLock);
        for (Integer i = 0; i < FWinList->Count(); ++i)
            receivers.push_back(FWinList->GetInteger(i));
    }
    for (HWND hwnd : receivers)
        SendMessageW(hwnd, WM_OFFICETHEMECHANGED, root, path);
}

void TRegMonitorThread::Execute() {
    StartWatch();
    while (!Terminated()) {
        if (WaitForSingleObject(FEvent, INFINITE) != WAIT_OBJECT_0)
            continue;
        if (Terminated())
            break;
        // Armed again before the receivers are told, so that a change made while they handle the
        // message signals the next pass instead of falling between the sends and the re-arming.
        ResetEvent(FEvent);
        ArmNotification();
        SendToReceivers();
    }
}

// ---- TThemeNotifierWindow ----

DEFINE_CLASS(TThemeNotifierWindow, EVENT(OnOfficeThemeChange))

namespace {
constexpr const Char* NotifierWindowClass = u"TThemeNotifierWindow";
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* owner) : TComponent(owner) {}

TThemeNotifierWindow::~TThemeNotifierWindow() {
    if (FHandle) {
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
    }
}

HWND TThemeNotifierWindow::Handle() {
    if (!FHandle) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &WindowProcedure;
        windowClass.lpszClassName = NotifierWindowClass;
        RegisterClassW(&windowClass); // fails harmlessly when the class is known already
        FHandle = CreateWindowExW(0, NotifierWindowClass, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
        if (FHandle)
            SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return FHandle;
}

LRESULT TThemeNotifierWindow::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TThemeNotifierWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self)
        return self->WndProc(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TThemeNotifierWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_OFFICETHEMECHANGED && OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    return DefWindowProcW(FHandle, message, wParam, lParam);
}

// ---- TThemeNotifier ----

DEFINE_CLASS(TThemeNotifier, EVENT(OnOfficeThemeChange))

TThemeNotifier::TThemeNotifier(TComponent* owner) : TComponent(owner) {
    if (ComponentState().Contains(csDesigning))
        return;
    Integer version = DetectOfficeVersion();
    if (version != 1 && version != 2)
        return;
    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->OnOfficeThemeChange = [this](TObject* sender) { OfficeThemeChanged(sender); };

    FRegMonitorThread = new TRegMonitorThread();
    FRegMonitorThread->SetWnd(FNotifier->Handle());
    FRegMonitorThread->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    FRegMonitorThread->SetKey(version == 2 ? Office2010Common : Office2007Common);
    FRegMonitorThread->SetRootKey(HKEY_CURRENT_USER);
    FRegMonitorThread->SetWatchSub(true);
    FRegMonitorThread->Start();
}

TThemeNotifier::~TThemeNotifier() {
    // The thread is stopped and waited for here rather than left to free itself, so it never sends to
    // the hidden window once that is gone and nothing of it outlives the program. The wait serves the
    // sends the thread may be doing at this moment, so it cannot dead-lock.
    if (FRegMonitorThread) {
        FRegMonitorThread->Stop();
        FRegMonitorThread->Free();
        FRegMonitorThread = nullptr;
    }
    if (SharedNotifier == this)
        SharedNotifier = nullptr;
}

void TThemeNotifier::OfficeThemeChanged(TObject*) {
    if (OnOfficeThemeChange)
        OnOfficeThemeChange(this);
}

void TThemeNotifier::RegisterWindow(HWND hwnd) {
    if (FRegMonitorThread)
        FRegMonitorThread->AddReceiver(hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND hwnd) {
    if (FRegMonitorThread)
        FRegMonitorThread->RemoveReceiver(hwnd);
}

TThemeNotifier* SharedThemeNotifier(TComponent* owner) {
    if (SharedNotifier)
        return SharedNotifier;
    // The main form outlives the controls that ask for the notifier, so it owns it once its window
    // exists; before that (a control made while the main form is still loading) the caller owns it.
    TForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (mainForm && mainForm->HandleAllocated())
        owner = mainForm;
    SharedNotifier = new TThemeNotifier(owner);
    return SharedNotifier;
}
