// System answers: GetSystemMetrics, SystemParametersInfo, MessageBeep and the version of the system.
#include <cstring>
#include <mutex>

#include "platform/backend/windowing.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

struct SystemState {
    std::mutex lock;
    SystemSettings settings;
    SIZE screen{1360, 768};
    RECT work{0, 0, 1360, 728}; // a task bar of 40 pixels at the bottom
    bool screenFromDesktop = false;
    int beeps = 0;
};

SystemState& State() {
    static SystemState state;
    return state;
}

void ReadDesktopScreen(SystemState& state) {
    if (state.screenFromDesktop || !backend::HostWindowsAvailable())
        return;
    state.screenFromDesktop = true;
    int width;
    int height;
    RECT work;
    if (backend::ScreenGeometry(width, height, work.left, work.top, work.right, work.bottom)) {
        state.screen = SIZE{width, height};
        state.work = work;
    }
}

// The message font of Windows 7: Segoe UI at 9 points.
LOGFONTW SystemFont(LONG weight = FW_NORMAL) {
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    const char16_t face[] = u"Segoe UI";
    std::memcpy(font.lfFaceName, face, sizeof face);
    return font;
}

} // namespace

SystemSettings GetSystemSettings() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().settings;
}

void SetSystemSettings(const SystemSettings& settings) {
    std::lock_guard<std::mutex> guard(State().lock);
    State().settings = settings;
}

void ResetSystemSettings() {
    SetSystemSettings(SystemSettings());
}

int BeepCount() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().beeps;
}

SIZE ScreenSize() {
    std::lock_guard<std::mutex> guard(State().lock);
    ReadDesktopScreen(State());
    return State().screen;
}

RECT WorkArea() {
    std::lock_guard<std::mutex> guard(State().lock);
    ReadDesktopScreen(State());
    return State().work;
}

void SetScreenSize(int width, int height) {
    {
        std::lock_guard<std::mutex> guard(State().lock);
        State().screen = SIZE{width, height};
        State().work = RECT{0, 0, width, height};
        State().screenFromDesktop = true;
    }
    TreeGuard guard(TreeLock());
    Desktop()->rect = RECT{0, 0, width, height};
    Desktop()->client = Desktop()->rect;
}

} // namespace win32

using namespace win32;

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
        return ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return ScreenSize().cy;
    case SM_CYFULLSCREEN:
        return WorkArea().bottom - WorkArea().top - 22;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 17;
    case SM_CYCAPTION:
        return 22;
    case SM_CYSMCAPTION:
        return 20;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
        return 3;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXPADDEDBORDER:
        return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
        return 75;
    case SM_CYMENU:
        return 20;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 22;
    case SM_CXMIN:
        return 132;
    case SM_CYMIN:
        return 38;
    case SM_CXMINTRACK:
        return 132;
    case SM_CYMINTRACK:
        return 38;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
        return 1;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    case SM_SWAPBUTTON:
        return 0;
    case SM_CMONITORS:
        return 1;
    case SM_REMOTESESSION:
        return 0;
    default:
        return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT uiParam, PVOID pvParam, UINT winIni) {
    SystemState& state = State();
    bool changed = false;
    BOOL result = TRUE;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        ReadDesktopScreen(state);
        auto setBool = [&](BOOL value) {
            if (!pvParam)
                return FALSE;
            *static_cast<BOOL*>(pvParam) = value;
            return TRUE;
        };
        switch (action) {
        case SPI_GETWHEELSCROLLLINES:
        case SPI_GETWHEELSCROLLCHARS:
            if (!pvParam)
                return FALSE;
            *static_cast<UINT*>(pvParam) = state.settings.wheelScrollLines;
            break;
        case SPI_SETWHEELSCROLLLINES:
            state.settings.wheelScrollLines = uiParam;
            changed = true;
            break;
        case SPI_GETWORKAREA:
            if (!pvParam)
                return FALSE;
            *static_cast<RECT*>(pvParam) = state.work;
            break;
        case SPI_GETHIGHCONTRAST: {
            auto* info = static_cast<HIGHCONTRASTW*>(pvParam);
            if (!info || info->cbSize != sizeof(HIGHCONTRASTW)) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            info->dwFlags = state.settings.highContrast ? HCF_HIGHCONTRASTON : 0;
            info->lpszDefaultScheme = nullptr;
            break;
        }
        case SPI_SETHIGHCONTRAST: {
            auto* info = static_cast<HIGHCONTRASTW*>(pvParam);
            if (!info)
                return FALSE;
            state.settings.highContrast = (info->dwFlags & HCF_HIGHCONTRASTON) != 0;
            changed = true;
            break;
        }
        case SPI_GETNONCLIENTMETRICS: {
            auto* metrics = static_cast<NONCLIENTMETRICSW*>(pvParam);
            if (!metrics || (metrics->cbSize != sizeof(NONCLIENTMETRICSW) &&
                             metrics->cbSize != sizeof(NONCLIENTMETRICSW) - sizeof(int))) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            UINT size = metrics->cbSize;
            std::memset(metrics, 0, size);
            metrics->cbSize = size;
            metrics->iBorderWidth = 1;
            metrics->iScrollWidth = 17;
            metrics->iScrollHeight = 17;
            metrics->iCaptionWidth = 22;
            metrics->iCaptionHeight = 22;
            metrics->lfCaptionFont = SystemFont();
            metrics->iSmCaptionWidth = 20;
            metrics->iSmCaptionHeight = 20;
            metrics->lfSmCaptionFont = SystemFont();
            metrics->iMenuWidth = 19;
            metrics->iMenuHeight = 19;
            metrics->lfMenuFont = SystemFont();
            metrics->lfStatusFont = SystemFont();
            metrics->lfMessageFont = SystemFont();
            if (size == sizeof(NONCLIENTMETRICSW))
                metrics->iPaddedBorderWidth = 4;
            break;
        }
        case SPI_GETICONTITLELOGFONT:
            if (!pvParam)
                return FALSE;
            *static_cast<LOGFONTW*>(pvParam) = SystemFont();
            break;
        case SPI_GETKEYBOARDCUES:
            result = setBool(FALSE);
            break;
        case SPI_GETDROPSHADOW:
        case SPI_GETFLATMENU:
        case SPI_GETGRADIENTCAPTIONS:
        case SPI_GETFONTSMOOTHING:
        case SPI_GETBEEP:
            result = setBool(TRUE);
            break;
        case SPI_GETMENUSHOWDELAY:
            if (!pvParam)
                return FALSE;
            *static_cast<UINT*>(pvParam) = 400;
            break;
        case SPI_GETKEYBOARDDELAY:
            if (!pvParam)
                return FALSE;
            *static_cast<int*>(pvParam) = 1;
            break;
        case SPI_GETKEYBOARDSPEED:
            if (!pvParam)
                return FALSE;
            *static_cast<DWORD*>(pvParam) = 31;
            break;
        case SPI_GETCARETWIDTH:
            if (!pvParam)
                return FALSE;
            *static_cast<DWORD*>(pvParam) = 1;
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    if (changed && (winIni & SPIF_SENDCHANGE))
        SendToAllTopLevels(WM_SETTINGCHANGE, action, 0);
    return result;
}

BOOL MessageBeep(UINT) {
    {
        std::lock_guard<std::mutex> guard(State().lock);
        ++State().beeps;
    }
    if (backend::HostWindowsAvailable())
        backend::Beep();
    return TRUE;
}

BOOL GetVersionExW(OSVERSIONINFOW* info) {
    if (!info || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) &&
                  info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    SystemSettings settings = GetSystemSettings();
    info->dwMajorVersion = settings.majorVersion;
    info->dwMinorVersion = settings.minorVersion;
    info->dwBuildNumber = settings.buildNumber;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    if (settings.servicePack) {
        String pack = u"Service Pack " + String(1, static_cast<Char>(u'0' + settings.servicePack % 10));
        std::memcpy(info->szCSDVersion, pack.data(), pack.size() * sizeof(WCHAR));
    }
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXW)) {
        auto* ex = reinterpret_cast<OSVERSIONINFOEXW*>(info);
        ex->wServicePackMajor = settings.servicePack;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = 0x0100; // VER_SUITE_SINGLEUSERTS
        ex->wProductType = 1;    // VER_NT_WORKSTATION
        ex->wReserved = 0;
    }
    return TRUE;
}

DWORD GetVersion() {
    SystemSettings settings = GetSystemSettings();
    return (settings.buildNumber << 16) | (settings.minorVersion << 8) | settings.majorVersion;
}
