// The framework's standard classes, registered so that form descriptions naming them load without each
// program registering them.
#include "platform/framework/Forms.h"

#include <mutex>

#include "platform/framework/Buttons.h"
#include "platform/framework/ComCtrls.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Grids.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Mask.h"
#include "platform/framework/Menus.h"
#include "platform/framework/RichEdit.h"
#include "platform/framework/StdCtrls.h"

// Each unit of the framework adds its classes to this one list (a unit that is not linked into the
// program must not be named here, so the list names only units of the platform library). Registering
// takes nothing but the classes' own lazily made descriptions, so it may run during static
// initialisation as well as from the first form made.
void RegisterFrameworkClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClasses({
            // Forms
            TForm::StaticClass(),
            TFrame::StaticClass(),
            TScrollBox::StaticClass(),
            // Standard controls
            TButton::StaticClass(),
            TCheckBox::StaticClass(),
            TCheckListBox::StaticClass(),
            TComboBox::StaticClass(),
            TEdit::StaticClass(),
            TGroupBox::StaticClass(),
            TLabel::StaticClass(),
            TListBox::StaticClass(),
            TMemo::StaticClass(),
            TRadioButton::StaticClass(),
            TScrollBar::StaticClass(),
            TStaticText::StaticClass(),
            // Extra controls
            TBevel::StaticClass(),
            TImage::StaticClass(),
            TPaintBox::StaticClass(),
            TPanel::StaticClass(),
            TRadioGroup::StaticClass(),
            TShape::StaticClass(),
            TTimer::StaticClass(),
            // Buttons with pictures
            TBitBtn::StaticClass(),
            TSpeedButton::StaticClass(),
            // Common controls
            TDateTimePicker::StaticClass(),
            TMonthCalendar::StaticClass(),
            TPageControl::StaticClass(),
            TProgressBar::StaticClass(),
            TStatusBar::StaticClass(),
            TTabControl::StaticClass(),
            TTabSheet::StaticClass(),
            TTrackBar::StaticClass(),
            TUpDown::StaticClass(),
            // Grids, masked and rich edits
            TDrawGrid::StaticClass(),
            TStringGrid::StaticClass(),
            TMaskEdit::StaticClass(),
            TRichEdit::StaticClass(),
            // Menus and image lists
            TMenuItem::StaticClass(),
            TPopupMenu::StaticClass(),
            TImageList::StaticClass(),
        });
    });
}

namespace {

// The unit's initialisation.
[[maybe_unused]] const bool FrameworkClassesRegistered = (RegisterFrameworkClasses(), true);

} // namespace
