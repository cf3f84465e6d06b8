// Window classes: RegisterClass(Ex), UnregisterClass, GetClassInfo(Ex), GetClassName and class longs.
#include <algorithm>
#include <cstring>

#include "platform/rtl/UString.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

struct ClassTable {
    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
};

ClassTable& Classes() {
    static ClassTable table;
    return table;
}

String ClassKey(LPCWSTR name) {
    return LowerASCII(name ? StringView(name) : StringView());
}

ATOM Register(const WNDCLASSEXW& wc) {
    if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TreeGuard guard(TreeLock());
    if (IS_INTRESOURCE(wc.lpszClassName) || *wc.lpszClassName == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(wc.lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->atom = Classes().nextAtom++;
    cls->name = wc.lpszClassName;
    cls->style = wc.style;
    cls->wndProc = wc.lpfnWndProc;
    cls->clsExtra = wc.cbClsExtra;
    cls->wndExtra = wc.cbWndExtra;
    cls->instance = wc.hInstance;
    cls->icon = wc.hIcon;
    cls->iconSmall = wc.hIconSm;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName))
        cls->menuName = wc.lpszMenuName;
    cls->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
    Classes().classes.push_back(cls);
    ZTRACE(TraceWindow, "class %s registered as %04x", StringToUtf8(cls->name).c_str(), cls->atom);
    return cls->atom;
}

void FillClassInfo(const WindowClass& cls, WNDCLASSEXW& wc) {
    wc.style = cls.style;
    wc.lpfnWndProc = cls.wndProc;
    wc.cbClsExtra = cls.clsExtra;
    wc.cbWndExtra = cls.wndExtra;
    wc.hInstance = cls.instance;
    wc.hIcon = cls.icon;
    wc.hIconSm = cls.iconSmall;
    wc.hCursor = cls.cursor;
    wc.hbrBackground = cls.background;
    wc.lpszMenuName = cls.menuName.empty() ? nullptr : cls.menuName.c_str();
    wc.lpszClassName = cls.name.c_str();
}

} // namespace

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
    TreeGuard guard(TreeLock());
    if (!name)
        return nullptr;
    if (IS_INTRESOURCE(name)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
        for (const auto& cls : Classes().classes)
            if (cls->atom == atom)
                return cls;
        return nullptr;
    }
    String key = ClassKey(name);
    for (const auto& cls : Classes().classes)
        if (LowerASCII(cls->name) == key)
            return cls;
    return nullptr;
}

} // namespace win32

using namespace win32;

ATOM RegisterClassW(const WNDCLASSW* wndClass) {
    if (!wndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = wndClass->style;
    wc.lpfnWndProc = wndClass->lpfnWndProc;
    wc.cbClsExtra = wndClass->cbClsExtra;
    wc.cbWndExtra = wndClass->cbWndExtra;
    wc.hInstance = wndClass->hInstance;
    wc.hIcon = wndClass->hIcon;
    wc.hCursor = wndClass->hCursor;
    wc.hbrBackground = wndClass->hbrBackground;
    wc.lpszMenuName = wndClass->lpszMenuName;
    wc.lpszClassName = wndClass->lpszClassName;
    return Register(wc);
}

ATOM RegisterClassExW(const WNDCLASSEXW* wndClass) {
    if (!wndClass || wndClass->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*wndClass);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    TreeGuard guard(TreeLock());
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(Classes().classes, cls);
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wndClass) {
    TreeGuard guard(TreeLock());
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls || !wndClass) {
        SetLastError(cls ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    FillClassInfo(*cls, *wndClass);
    wndClass->cbSize = sizeof(WNDCLASSEXW);
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass) {
    WNDCLASSEXW wc{};
    if (!wndClass || !GetClassInfoExW(instance, className, &wc))
        return FALSE;
    wndClass->style = wc.style;
    wndClass->lpfnWndProc = wc.lpfnWndProc;
    wndClass->cbClsExtra = wc.cbClsExtra;
    wndClass->cbWndExtra = wc.cbWndExtra;
    wndClass->hInstance = wc.hInstance;
    wndClass->hIcon = wc.hIcon;
    wndClass->hCursor = wc.hCursor;
    wndClass->hbrBackground = wc.hbrBackground;
    wndClass->lpszMenuName = wc.lpszMenuName;
    wndClass->lpszClassName = wc.lpszClassName;
    return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR name, int maxCount) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !name || maxCount <= 0)
        return 0;
    const String& className = window->cls ? window->cls->name : String(u"#32769");
    int count = std::min<int>(static_cast<int>(className.size()), maxCount - 1);
    std::memcpy(name, className.data(), static_cast<size_t>(count) * sizeof(WCHAR));
    name[count] = 0;
    return count;
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !window->cls)
        return 0;
    WindowClass& cls = *window->cls;
    if (index >= 0) {
        if (static_cast<size_t>(index) + sizeof(LONG_PTR) > cls.extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        ULONG_PTR value = 0;
        std::memcpy(&value, cls.extra.data() + index, sizeof value);
        return value;
    }
    switch (index) {
    case GCL_STYLE:
        return cls.style;
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(cls.cursor);
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(cls.background);
    case GCLP_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(cls.wndProc);
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !window->cls)
        return 0;
    WindowClass& cls = *window->cls;
    ULONG_PTR old = GetClassLongPtrW(hwnd, index);
    if (index >= 0) {
        if (static_cast<size_t>(index) + sizeof(LONG_PTR) > cls.extra.size())
            return 0;
        std::memcpy(cls.extra.data() + index, &value, sizeof value);
        return old;
    }
    switch (index) {
    case GCL_STYLE:
        cls.style = static_cast<UINT>(value);
        break;
    case GCLP_HCURSOR:
        cls.cursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCLP_HBRBACKGROUND:
        cls.background = reinterpret_cast<HBRUSH>(value);
        break;
    case GCLP_WNDPROC:
        cls.wndProc = reinterpret_cast<WNDPROC>(value);
        break;
    default:
        return 0;
    }
    return old;
}
