// Registers the system's control classes at start-up, once for the whole process.
#include "platform/win32/winctrl.h"

#include <mutex>

#include "platform/win32/controls/controls.h"
#include "platform/win32/menu_private.h"

namespace win32 {

void RegisterSystemControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        controls::RegisterButtonClass();
        controls::RegisterComboBoxClass();
        controls::RegisterDateTimeClass();
        controls::RegisterEditClass();
        controls::RegisterListBoxClass();
        controls::RegisterRichEditClass();
        controls::RegisterProgressClass();
        controls::RegisterMonthCalClass();
        controls::RegisterScrollBarClass();
        controls::RegisterStaticClass();
        controls::RegisterTabControlClass();
        controls::RegisterTrackBarClass();
        controls::RegisterStatusClass();
        controls::RegisterTooltipsClass();
        controls::RegisterUpDownClass();
        menus::RegisterPopupMenuClass();
    });
}

} // namespace win32
