// The common controls' entry points and what their window classes share: InitCommonControls(Ex) and the
// WM_NOTIFY helper.
#include "platform/win32/commctrl.h"

#include "platform/win32/controls/controls.h"
#include "platform/win32/winerror.h"

void InitCommonControls() {
    win32::RegisterSystemControls();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    win32::RegisterSystemControls();
    return TRUE;
}

namespace win32::controls {

LRESULT SendNotify(HWND control, HWND to, NMHDR& header, UINT code) {
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(control, GWLP_ID));
    header.code = code;
    if (!to)
        return 0;
    return SendMessageW(to, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

} // namespace win32::controls
