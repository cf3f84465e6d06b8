// The grid's mini-HTML hint window.
#include "grid/view/AdvGridHint.h"

#include "platform/rtl/PropertyInfo.h"
#include "render/AsgHTMLE.h"

DEFINE_CLASS(THTMLHintWindow)

void THTMLHintWindow::ActivateHint(TRect rect, const String& hint) {
    THintWindow::ActivateHint(rect, MiniHTMLToPlainText(hint));
}

TRect THTMLHintWindow::CalcHintRect(Integer maxWidth, const String& hint, void* data) {
    return THintWindow::CalcHintRect(maxWidth, MiniHTMLToPlainText(hint), data);
}
