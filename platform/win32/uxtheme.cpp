// The visual-styles library's calls: theme handles, drawing through the part painter, sizes, margins,
// colours and other properties, the theme's system values, the switches that turn theming off, and the
// table of exports that GetProcAddress hands out under "UXTHEME.DLL".
#include "platform/win32/uxtheme.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

#include "platform/rtl/UString.h"
#include "platform/win32/imagelist.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme_private.h"
#include "platform/win32/winerror.h"

using win32::theme::ThemeClass;

namespace {

inline constexpr LPARAM PRF_CLIENT = 0x4;

struct ThemeData {
    ThemeClass themeClass;
    HWND hwnd;
};

// What SetWindowTheme stored for one window; a missing string is not the same as an empty one.
struct WindowTheme {
    bool hasSubApp = false;
    String subApp;
    bool hasIdList = false;
    String idList;
};

struct ThemeState {
    std::mutex lock;
    std::set<ThemeData*> open;
    std::map<HWND, HTHEME> lastOpened;        // GetWindowTheme
    std::map<HWND, WindowTheme> windowThemes; // SetWindowTheme
    std::map<HWND, DWORD> dialogTextures;     // EnableThemeDialogTexture
    bool themingEnabled = true;               // EnableTheming
    DWORD appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT;
};

ThemeState& State() {
    static ThemeState state;
    return state;
}

// The class of an open handle; false for NULL or a handle that is not open.
bool Resolve(HTHEME theme, ThemeClass& themeClass) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.open.find(reinterpret_cast<ThemeData*>(theme));
    if (found == state.open.end())
        return false;
    themeClass = (*found)->themeClass;
    return true;
}

bool Defined(ThemeClass themeClass, int part) {
    return win32::theme::DescribePart(themeClass, part).kind != win32::theme::PartKind::None;
}

// Copies text into a caller's buffer, cut to fit; nothing when there is no room at all.
void CopyText(LPWSTR target, int size, StringView text) {
    if (!target || size <= 0)
        return;
    size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(target, text.data(), count * sizeof(WCHAR));
    target[count] = 0;
}

// The argument checks every property getter shares.
HRESULT CheckProperty(HTHEME theme, int part, const void* out, ThemeClass& themeClass) {
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!out)
        return E_POINTER;
    if (part != 0 && !Defined(themeClass, part))
        return E_PROP_ID_UNSUPPORTED;
    return S_OK;
}

bool HasBorder(win32::theme::PartKind kind) {
    using win32::theme::PartKind;
    switch (kind) {
    case PartKind::PushButton:
    case PartKind::CheckBox:
    case PartKind::RadioButton:
    case PartKind::GroupBox:
    case PartKind::Field:
    case PartKind::ArrowButton:
    case PartKind::FlatButton:
    case PartKind::ProgressBar:
    case PartKind::Caption:
    case PartKind::CaptionButton:
    case PartKind::Track:
    case PartKind::Thumb:
    case PartKind::SliderThumb:
    case PartKind::TabItem:
    case PartKind::TabPane:
    case PartKind::ListItem:
    case PartKind::TreeGlyph:
    case PartKind::Tooltip:
        return true;
    default:
        return false;
    }
}

const char16_t* const ThemeFileName = u"C:\\Windows\\resources\\Themes\\Aero\\Aero.msstyles";

} // namespace

// ---- Theme handles ----

BOOL IsThemeActive() {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return win32::GetSystemSettings().themesActive && state.themingEnabled ? TRUE : FALSE;
}

BOOL IsAppThemed() {
    return IsThemeActive();
}

HRESULT EnableTheming(BOOL enable) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.themingEnabled = enable != FALSE;
    return S_OK;
}

DWORD GetThemeAppProperties() {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.appProperties;
}

void SetThemeAppProperties(DWORD flags) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.appProperties = flags & (STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
}

HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList) {
    if (!classList) {
        SetLastError(static_cast<DWORD>(E_POINTER));
        return nullptr;
    }
    if (!IsThemeActive() || !(GetThemeAppProperties() & STAP_ALLOW_CONTROLS)) {
        SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
        return nullptr;
    }
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    String list(classList);
    if (hwnd) {
        auto found = state.windowThemes.find(hwnd);
        if (found != state.windowThemes.end()) {
            const WindowTheme& setting = found->second;
            if (setting.hasSubApp && setting.subApp.empty() && setting.hasIdList && setting.idList.empty()) {
                SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
                return nullptr;
            }
            if (setting.hasIdList && !setting.idList.empty())
                list = setting.idList;
        }
    }
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(u';', start);
        if (end == String::npos)
            end = list.size();
        ThemeClass themeClass;
        if (win32::theme::FindThemeClass(StringView(list).substr(start, end - start), themeClass)) {
            auto* data = new ThemeData{themeClass, hwnd};
            state.open.insert(data);
            HTHEME theme = reinterpret_cast<HTHEME>(data);
            if (hwnd)
                state.lastOpened[hwnd] = theme;
            return theme;
        }
        start = end + 1;
    }
    SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
    return nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    auto* data = reinterpret_cast<ThemeData*>(theme);
    if (!state.open.erase(data))
        return E_HANDLE;
    auto last = state.lastOpened.find(data->hwnd);
    if (last != state.lastOpened.end() && last->second == theme)
        state.lastOpened.erase(last);
    delete data;
    return S_OK;
}

HTHEME GetWindowTheme(HWND hwnd) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.lastOpened.find(hwnd);
    return found == state.lastOpened.end() ? nullptr : found->second;
}

HRESULT SetWindowTheme(HWND hwnd, LPCWSTR subAppName, LPCWSTR subIdList) {
    if (!IsWindow(hwnd))
        return E_HANDLE;
    {
        ThemeState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        // Settings of windows that are gone would otherwise apply to a new window at the same address.
        std::erase_if(state.windowThemes, [](const auto& entry) { return !IsWindow(entry.first); });
        if (!subAppName && !subIdList) {
            state.windowThemes.erase(hwnd);
        } else {
            WindowTheme& setting = state.windowThemes[hwnd];
            setting.hasSubApp = subAppName != nullptr;
            setting.subApp = subAppName ? String(subAppName) : String();
            setting.hasIdList = subIdList != nullptr;
            setting.idList = subIdList ? String(subIdList) : String();
        }
    }
    SendMessageW(hwnd, WM_THEMECHANGED, 0, 0);
    return S_OK;
}

// ---- Drawing ----

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!dc || !rect || !Defined(themeClass, part))
        return E_INVALIDARG;
    if (clip) {
        RECT visible;
        if (!IntersectRect(&visible, rect, clip))
            return S_OK;
    }
    int saved = SaveDC(dc);
    if (!saved)
        return E_INVALIDARG;
    if (clip)
        IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    win32::theme::PaintPart(dc, themeClass, part, state, *rect);
    RestoreDC(dc, saved);
    return S_OK;
}

HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!text || !rect)
        return E_POINTER;
    if (!dc || (textFlags & DT_CALCRECT))
        return E_INVALIDARG;
    COLORREF color = (textFlags2 & DTT_GRAYED) ? GetSysColor(COLOR_GRAYTEXT)
                                               : win32::theme::LookOf(themeClass, part, state).text;
    int saved = SaveDC(dc);
    if (!saved)
        return E_INVALIDARG;
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    RECT target = *rect;
    DrawTextW(dc, text, count, &target, textFlags);
    RestoreDC(dc, saved);
    return S_OK;
}

HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int, int, const RECT* rect, UINT edge, UINT flags,
                      RECT* content) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!dc || !rect)
        return E_INVALIDARG;
    RECT inner = *rect;
    if (!DrawEdge(dc, &inner, edge, flags | BF_ADJUST))
        return E_FAIL;
    if (content)
        *content = inner;
    return S_OK;
}

HRESULT DrawThemeIcon(HTHEME theme, HDC dc, int, int, const RECT* rect, HIMAGELIST images, int imageIndex) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    int cx = 0;
    int cy = 0;
    if (!dc || !rect || !ImageList_GetIconSize(images, &cx, &cy) || imageIndex < 0 ||
        imageIndex >= ImageList_GetImageCount(images))
        return E_INVALIDARG;
    // The picture is not stretched: a rectangle smaller than it shows its top-left part.
    int width = std::min<int>(cx, rect->right - rect->left);
    int height = std::min<int>(cy, rect->bottom - rect->top);
    if (width <= 0 || height <= 0)
        return S_OK;
    if (!ImageList_DrawEx(images, imageIndex, dc, rect->left, rect->top, width, height, CLR_NONE, CLR_NONE,
                          ILD_TRANSPARENT))
        return E_FAIL;
    return S_OK;
}

HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect) {
    if (!IsWindow(hwnd))
        return E_HANDLE;
    if (!dc)
        return E_INVALIDARG;
    HWND parent = GetParent(hwnd);
    if (!parent)
        return S_OK; // a top-level window has no background to borrow
    RECT area;
    if (rect)
        area = *rect;
    else
        GetClientRect(hwnd, &area);
    // The parent paints in its own client coordinates; move the origin so that they line up with ours.
    POINT offset{0, 0};
    MapWindowPoints(hwnd, parent, &offset, 1);
    int saved = SaveDC(dc);
    if (!saved)
        return E_INVALIDARG;
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    OffsetViewportOrgEx(dc, -offset.x, -offset.y, nullptr);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
    return S_OK;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) {
    using win32::theme::PartKind;
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return FALSE;
    win32::theme::PartInfo info = win32::theme::DescribePart(themeClass, part);
    if (info.fixedSize)
        return TRUE;
    switch (info.kind) {
    case PartKind::GroupBox:
    case PartKind::SortArrow:
    case PartKind::FlatButton:
    case PartKind::ListItem:
    case PartKind::Separator:
    case PartKind::Tics:
    case PartKind::Gripper:
    case PartKind::TabItem: // leaves its bottom open when selected
        return TRUE;
    case PartKind::Fill:
        return win32::theme::LookOf(themeClass, part, state).drawFace ? FALSE : TRUE;
    default:
        return FALSE;
    }
}

BOOL IsThemePartDefined(HTHEME theme, int part, int) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass)) {
        SetLastError(static_cast<DWORD>(E_HANDLE));
        return FALSE;
    }
    return Defined(themeClass, part) ? TRUE : FALSE;
}

// ---- Geometry ----

HRESULT GetThemePartSize(HTHEME theme, HDC, int part, int, const RECT* rect, THEMESIZE kind, SIZE* size) {
    using win32::theme::PartKind;
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, size, themeClass);
    if (FAILED(checked))
        return checked;
    if (!Defined(themeClass, part))
        return E_PROP_ID_UNSUPPORTED;
    win32::theme::PartInfo info = win32::theme::DescribePart(themeClass, part);
    switch (kind) {
    case TS_MIN:
        if (info.fixedSize) {
            *size = info.natural;
        } else {
            MARGINS m = win32::theme::ContentMargins(themeClass, part);
            LONG border = HasBorder(info.kind) ? 2 : 0;
            size->cx =
                std::min<LONG>(info.natural.cx, std::max<LONG>(border, m.cxLeftWidth + m.cxRightWidth) + 1);
            size->cy =
                std::min<LONG>(info.natural.cy, std::max<LONG>(border, m.cyTopHeight + m.cyBottomHeight) + 1);
        }
        return S_OK;
    case TS_TRUE:
        *size = info.natural;
        return S_OK;
    case TS_DRAW:
        if (!rect) {
            *size = info.natural;
        } else {
            LONG width = std::max<LONG>(0, rect->right - rect->left);
            LONG height = std::max<LONG>(0, rect->bottom - rect->top);
            if (info.kind == PartKind::CheckBox || info.kind == PartKind::RadioButton) {
                // Check and radio boxes are drawn as the largest square the rectangle holds.
                LONG side = std::min(width, height);
                *size = SIZE{side, side};
            } else if (info.fixedSize) {
                *size = SIZE{std::min(width, info.natural.cx), std::min(height, info.natural.cy)};
            } else {
                *size = SIZE{width, height};
            }
        }
        return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC, int part, int, const RECT* bounding, RECT* content) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, content, themeClass);
    if (FAILED(checked))
        return checked;
    if (!bounding)
        return E_POINTER;
    MARGINS m = win32::theme::ContentMargins(themeClass, part);
    RECT r{bounding->left + m.cxLeftWidth, bounding->top + m.cyTopHeight, bounding->right - m.cxRightWidth,
           bounding->bottom - m.cyBottomHeight};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    *content = r;
    return S_OK;
}

HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC, int part, int, const RECT* content, RECT* extent) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, extent, themeClass);
    if (FAILED(checked))
        return checked;
    if (!content)
        return E_POINTER;
    MARGINS m = win32::theme::ContentMargins(themeClass, part);
    *extent = RECT{content->left - m.cxLeftWidth, content->top - m.cyTopHeight,
                   content->right + m.cxRightWidth, content->bottom + m.cyBottomHeight};
    return S_OK;
}

HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC, int part, int, const RECT* rect, HRGN* region) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, region, themeClass);
    if (FAILED(checked))
        return checked;
    if (!rect)
        return E_POINTER;
    if (win32::theme::DescribePart(themeClass, part).kind == win32::theme::PartKind::RadioButton) {
        LONG side = std::min(rect->right - rect->left, rect->bottom - rect->top);
        LONG left = rect->left + (rect->right - rect->left - side) / 2;
        LONG top = rect->top + (rect->bottom - rect->top - side) / 2;
        *region = CreateEllipticRgn(left, top, left + side, top + side);
    } else {
        *region = CreateRectRgnIndirect(rect);
    }
    return *region ? S_OK : E_OUTOFMEMORY;
}

HRESULT HitTestThemeBackground(HTHEME theme, HDC, int part, int, DWORD options, const RECT* rect, HRGN region,
                               POINT point, WORD* hitTestCode) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, hitTestCode, themeClass);
    if (FAILED(checked))
        return checked;
    if (!rect)
        return E_POINTER;
    bool inside = region ? PtInRegion(region, point.x, point.y) != FALSE : PtInRect(rect, point) != FALSE;
    if (!inside) {
        *hitTestCode = static_cast<WORD>(HTNOWHERE);
        return S_OK;
    }
    // The sizing border is as wide as the part's content margin, and never less than one pixel.
    MARGINS m = win32::theme::ContentMargins(themeClass, part);
    bool left = (options & HTTB_RESIZINGBORDER_LEFT) && point.x < rect->left + std::max(1, m.cxLeftWidth);
    bool right =
        (options & HTTB_RESIZINGBORDER_RIGHT) && point.x >= rect->right - std::max(1, m.cxRightWidth);
    bool top = (options & HTTB_RESIZINGBORDER_TOP) && point.y < rect->top + std::max(1, m.cyTopHeight);
    bool bottom =
        (options & HTTB_RESIZINGBORDER_BOTTOM) && point.y >= rect->bottom - std::max(1, m.cyBottomHeight);
    LRESULT code = HTCLIENT;
    if (top)
        code = left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    else if (bottom)
        code = left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    else if (left)
        code = HTLEFT;
    else if (right)
        code = HTRIGHT;
    *hitTestCode = static_cast<WORD>(code);
    return S_OK;
}

HRESULT GetThemeMargins(HTHEME theme, HDC, int part, int, int propId, const RECT*, MARGINS* margins) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, margins, themeClass);
    if (FAILED(checked))
        return checked;
    switch (propId) {
    case TMT_SIZINGMARGINS: {
        int border = HasBorder(win32::theme::DescribePart(themeClass, part).kind) ? 1 : 0;
        *margins = MARGINS{border, border, border, border};
        return S_OK;
    }
    case TMT_CONTENTMARGINS:
    case TMT_CAPTIONMARGINS:
        *margins = win32::theme::ContentMargins(themeClass, part);
        return S_OK;
    }
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int, int, LPCWSTR text, int count, DWORD textFlags,
                           const RECT* bounding, RECT* extent) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!text || !extent)
        return E_POINTER;
    if (!dc)
        return E_INVALIDARG;
    RECT r = bounding ? *bounding : RECT{0, 0, 0, 0};
    if (!bounding)
        textFlags &= ~DT_WORDBREAK; // without a width there is nothing to break at
    DrawTextW(dc, text, count, &r, textFlags | DT_CALCRECT);
    *extent = r;
    return S_OK;
}

HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int, int, TEXTMETRICW* metrics) {
    ThemeClass themeClass;
    if (!Resolve(theme, themeClass))
        return E_HANDLE;
    if (!metrics)
        return E_POINTER;
    return dc && GetTextMetricsW(dc, metrics) ? S_OK : E_INVALIDARG;
}

// ---- Properties ----

HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF* color) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, color, themeClass);
    if (FAILED(checked))
        return checked;
    win32::theme::Look look = win32::theme::LookOf(themeClass, part, state);
    switch (propId) {
    case TMT_BORDERCOLOR:
    case TMT_BORDERCOLORHINT:
        *color = look.border;
        return S_OK;
    case TMT_FILLCOLOR:
    case TMT_FILLCOLORHINT:
    case TMT_GRADIENTCOLOR1:
    case TMT_EDGEFILLCOLOR:
        *color = look.faceTop;
        return S_OK;
    case TMT_GRADIENTCOLOR2:
        *color = look.faceBottom;
        return S_OK;
    case TMT_TEXTCOLOR:
        *color = look.text;
        return S_OK;
    case TMT_GLYPHTEXTCOLOR:
        *color = look.glyph;
        return S_OK;
    case TMT_EDGELIGHTCOLOR:
    case TMT_EDGEHIGHLIGHTCOLOR:
        *color = RGB(255, 255, 255);
        return S_OK;
    case TMT_EDGESHADOWCOLOR:
        *color = RGB(160, 160, 160);
        return S_OK;
    case TMT_EDGEDKSHADOWCOLOR:
        *color = RGB(105, 105, 105);
        return S_OK;
    case TMT_ACCENTCOLORHINT:
        *color = RGB(0, 120, 215);
        return S_OK;
    }
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeInt(HTHEME theme, int part, int, int propId, int* value) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, value, themeClass);
    if (FAILED(checked))
        return checked;
    win32::theme::PartInfo info = win32::theme::DescribePart(themeClass, part);
    switch (propId) {
    case TMT_BORDERSIZE:
        *value = HasBorder(info.kind) ? 1 : 0;
        return S_OK;
    case TMT_WIDTH:
        *value = info.natural.cx;
        return S_OK;
    case TMT_HEIGHT:
        *value = info.natural.cy;
        return S_OK;
    case TMT_PROGRESSCHUNKSIZE:
    case TMT_PROGRESSSPACESIZE:
        if (themeClass != ThemeClass::Progress)
            break;
        // One smooth bar: chunks with no space between them.
        *value = propId == TMT_PROGRESSCHUNKSIZE ? 8 : 0;
        return S_OK;
    }
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeMetric(HTHEME theme, HDC, int part, int state, int propId, int* value) {
    return GetThemeInt(theme, part, state, propId, value);
}

HRESULT GetThemeEnumValue(HTHEME theme, int part, int, int propId, int* value) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, value, themeClass);
    if (FAILED(checked))
        return checked;
    switch (propId) {
    case TMT_BGTYPE:
        *value = BT_BORDERFILL;
        return S_OK;
    case TMT_SIZINGTYPE:
        *value = win32::theme::DescribePart(themeClass, part).fixedSize ? ST_TRUESIZE : ST_STRETCH;
        return S_OK;
    }
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeString(HTHEME theme, int part, int, int, LPWSTR buffer, int maxChars) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, buffer, themeClass);
    CopyText(buffer, maxChars, u"");
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeFilename(HTHEME theme, int part, int state, int propId, LPWSTR buffer, int maxChars) {
    return GetThemeString(theme, part, state, propId, buffer, maxChars);
}

HRESULT GetThemeBool(HTHEME theme, int part, int, int, BOOL* value) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, value, themeClass);
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemePosition(HTHEME theme, int part, int, int, POINT* point) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, point, themeClass);
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeFont(HTHEME theme, HDC, int part, int, int, LOGFONTW* font) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, font, themeClass);
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeRect(HTHEME theme, int part, int, int, RECT* rect) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, rect, themeClass);
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeIntList(HTHEME theme, int part, int, int, INTLIST* list) {
    ThemeClass themeClass;
    HRESULT checked = CheckProperty(theme, part, list, themeClass);
    return FAILED(checked) ? checked : E_PROP_ID_UNSUPPORTED;
}

// ---- System values ----

COLORREF GetThemeSysColor(HTHEME, int colorId) {
    return GetSysColor(colorId);
}

HBRUSH GetThemeSysColorBrush(HTHEME, int colorId) {
    return GetSysColorBrush(colorId);
}

BOOL GetThemeSysBool(HTHEME, int boolId) {
    if (boolId != TMT_FLATMENUS)
        SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
    return FALSE;
}

int GetThemeSysSize(HTHEME, int sizeId) {
    constexpr int SM_CXSMSIZE = 52;
    constexpr int SM_CYSMSIZE = 53;
    constexpr int SM_CXMENUSIZE = 54;
    constexpr int SM_CYMENUSIZE = 55;
    switch (sizeId) {
    case TMT_SIZINGBORDERWIDTH:
        return GetSystemMetrics(SM_CXFRAME);
    case TMT_SCROLLBARWIDTH:
        return GetSystemMetrics(SM_CXVSCROLL);
    case TMT_SCROLLBARHEIGHT:
        return GetSystemMetrics(SM_CYHSCROLL);
    case TMT_CAPTIONBARWIDTH:
        return GetSystemMetrics(SM_CXSIZE);
    case TMT_CAPTIONBARHEIGHT:
        return GetSystemMetrics(SM_CYSIZE);
    case TMT_SMCAPTIONBARWIDTH:
        return GetSystemMetrics(SM_CXSMSIZE);
    case TMT_SMCAPTIONBARHEIGHT:
        return GetSystemMetrics(SM_CYSMSIZE);
    case TMT_MENUBARWIDTH:
        return GetSystemMetrics(SM_CXMENUSIZE);
    case TMT_MENUBARHEIGHT:
        return GetSystemMetrics(SM_CYMENUSIZE);
    case TMT_PADDEDBORDERWIDTH:
        return GetSystemMetrics(SM_CXPADDEDBORDER);
    }
    return GetSystemMetrics(sizeId);
}

HRESULT GetThemeSysFont(HTHEME, int fontId, LOGFONTW* font) {
    if (!font)
        return E_POINTER;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (fontId == TMT_ICONTITLEFONT)
        return SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(LOGFONTW), font, 0) ? S_OK : E_FAIL;
    if (fontId < TMT_CAPTIONFONT || fontId > TMT_MSGBOXFONT)
        return E_PROP_ID_UNSUPPORTED;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return E_FAIL;
    switch (fontId) {
    case TMT_CAPTIONFONT:
        *font = metrics.lfCaptionFont;
        break;
    case TMT_SMALLCAPTIONFONT:
        *font = metrics.lfSmCaptionFont;
        break;
    case TMT_MENUFONT:
        *font = metrics.lfMenuFont;
        break;
    case TMT_STATUSFONT:
        *font = metrics.lfStatusFont;
        break;
    default:
        *font = metrics.lfMessageFont;
        break;
    }
    return S_OK;
}

HRESULT GetThemeSysString(HTHEME, int, LPWSTR buffer, int maxChars) {
    if (!buffer)
        return E_POINTER;
    CopyText(buffer, maxChars, u"");
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeSysInt(HTHEME, int intId, int* value) {
    if (!value)
        return E_POINTER;
    if (intId != TMT_MINCOLORDEPTH)
        return E_PROP_ID_UNSUPPORTED;
    *value = 16;
    return S_OK;
}

// ---- The theme as a whole ----

HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD flags) {
    if (!IsWindow(hwnd))
        return E_HANDLE;
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    std::erase_if(state.dialogTextures, [](const auto& entry) { return !IsWindow(entry.first); });
    state.dialogTextures[hwnd] = flags;
    return S_OK;
}

BOOL IsThemeDialogTextureEnabled(HWND hwnd) {
    ThemeState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.dialogTextures.find(hwnd);
    if (found == state.dialogTextures.end())
        return FALSE;
    return (found->second & ETDT_ENABLE) && !(found->second & ETDT_DISABLE) ? TRUE : FALSE;
}

HRESULT GetCurrentThemeName(LPWSTR fileName, int maxFileChars, LPWSTR colorName, int maxColorChars,
                            LPWSTR sizeName, int maxSizeChars) {
    bool active = IsThemeActive() != FALSE;
    // The colour-scheme name is what callers read to pick their own colour schemes.
    CopyText(fileName, maxFileChars, active ? ThemeFileName : u"");
    CopyText(colorName, maxColorChars, active ? u"NormalColor" : u"");
    CopyText(sizeName, maxSizeChars, active ? u"NormalSize" : u"");
    return active ? S_OK : E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR value, int maxChars) {
    if (!themeName || !propertyName || !value)
        return E_POINTER;
    if (LowerASCII(themeName) != LowerASCII(ThemeFileName))
        return static_cast<HRESULT>(0x80070002); // the file is not found
    String name = LowerASCII(propertyName);
    const char16_t* answer = nullptr;
    if (name == LowerASCII(SZ_THDOCPROP_DISPLAYNAME))
        answer = u"Light";
    else if (name == LowerASCII(SZ_THDOCPROP_CANONICALNAME))
        answer = u"Aero.msstyles";
    else if (name == LowerASCII(SZ_THDOCPROP_TOOLTIP))
        answer = u"A flat light look for every control";
    else if (name == LowerASCII(SZ_THDOCPROP_AUTHOR))
        answer = u"zelmor";
    if (!answer) {
        CopyText(value, maxChars, u"");
        return E_PROP_ID_UNSUPPORTED;
    }
    CopyText(value, maxChars, answer);
    return S_OK;
}

// ---- The library's exports ----

namespace win32 {

std::span<const ThemeLibraryEntry> ThemeLibraryEntries() {
    static const ThemeLibraryEntry entries[] = {
        {"OpenThemeData", reinterpret_cast<FARPROC>(&OpenThemeData)},
        {"CloseThemeData", reinterpret_cast<FARPROC>(&CloseThemeData)},
        {"DrawThemeBackground", reinterpret_cast<FARPROC>(&DrawThemeBackground)},
        {"DrawThemeText", reinterpret_cast<FARPROC>(&DrawThemeText)},
        {"GetThemeBackgroundContentRect", reinterpret_cast<FARPROC>(&GetThemeBackgroundContentRect)},
        {"GetThemeBackgroundExtent", reinterpret_cast<FARPROC>(&GetThemeBackgroundExtent)},
        {"GetThemeTextExtent", reinterpret_cast<FARPROC>(&GetThemeTextExtent)},
        {"GetThemeTextMetrics", reinterpret_cast<FARPROC>(&GetThemeTextMetrics)},
        {"GetThemeBackgroundRegion", reinterpret_cast<FARPROC>(&GetThemeBackgroundRegion)},
        {"HitTestThemeBackground", reinterpret_cast<FARPROC>(&HitTestThemeBackground)},
        {"DrawThemeEdge", reinterpret_cast<FARPROC>(&DrawThemeEdge)},
        {"DrawThemeIcon", reinterpret_cast<FARPROC>(&DrawThemeIcon)},
        {"IsThemePartDefined", reinterpret_cast<FARPROC>(&IsThemePartDefined)},
        {"IsThemeBackgroundPartiallyTransparent",
         reinterpret_cast<FARPROC>(&IsThemeBackgroundPartiallyTransparent)},
        {"GetThemeColor", reinterpret_cast<FARPROC>(&GetThemeColor)},
        {"GetThemeMetric", reinterpret_cast<FARPROC>(&GetThemeMetric)},
        {"GetThemeString", reinterpret_cast<FARPROC>(&GetThemeString)},
        {"GetThemeBool", reinterpret_cast<FARPROC>(&GetThemeBool)},
        {"GetThemeInt", reinterpret_cast<FARPROC>(&GetThemeInt)},
        {"GetThemeEnumValue", reinterpret_cast<FARPROC>(&GetThemeEnumValue)},
        {"GetThemePosition", reinterpret_cast<FARPROC>(&GetThemePosition)},
        {"GetThemeFont", reinterpret_cast<FARPROC>(&GetThemeFont)},
        {"GetThemeRect", reinterpret_cast<FARPROC>(&GetThemeRect)},
        {"GetThemeMargins", reinterpret_cast<FARPROC>(&GetThemeMargins)},
        {"GetThemeIntList", reinterpret_cast<FARPROC>(&GetThemeIntList)},
        {"SetWindowTheme", reinterpret_cast<FARPROC>(&SetWindowTheme)},
        {"GetThemeFilename", reinterpret_cast<FARPROC>(&GetThemeFilename)},
        {"GetThemeSysColor", reinterpret_cast<FARPROC>(&GetThemeSysColor)},
        {"GetThemeSysColorBrush", reinterpret_cast<FARPROC>(&GetThemeSysColorBrush)},
        {"GetThemeSysBool", reinterpret_cast<FARPROC>(&GetThemeSysBool)},
        {"GetThemeSysSize", reinterpret_cast<FARPROC>(&GetThemeSysSize)},
        {"GetThemeSysFont", reinterpret_cast<FARPROC>(&GetThemeSysFont)},
        {"GetThemeSysString", reinterpret_cast<FARPROC>(&GetThemeSysString)},
        {"GetThemeSysInt", reinterpret_cast<FARPROC>(&GetThemeSysInt)},
        {"IsThemeActive", reinterpret_cast<FARPROC>(&IsThemeActive)},
        {"IsAppThemed", reinterpret_cast<FARPROC>(&IsAppThemed)},
        {"GetWindowTheme", reinterpret_cast<FARPROC>(&GetWindowTheme)},
        {"EnableThemeDialogTexture", reinterpret_cast<FARPROC>(&EnableThemeDialogTexture)},
        {"IsThemeDialogTextureEnabled", reinterpret_cast<FARPROC>(&IsThemeDialogTextureEnabled)},
        {"GetThemeAppProperties", reinterpret_cast<FARPROC>(&GetThemeAppProperties)},
        {"SetThemeAppProperties", reinterpret_cast<FARPROC>(&SetThemeAppProperties)},
        {"GetCurrentThemeName", reinterpret_cast<FARPROC>(&GetCurrentThemeName)},
        {"GetThemeDocumentationProperty", reinterpret_cast<FARPROC>(&GetThemeDocumentationProperty)},
        {"GetThemePartSize", reinterpret_cast<FARPROC>(&GetThemePartSize)},
        {"DrawThemeParentBackground", reinterpret_cast<FARPROC>(&DrawThemeParentBackground)},
        {"EnableTheming", reinterpret_cast<FARPROC>(&EnableTheming)},
    };
    return entries;
}

} // namespace win32
