// The hint window that shows mini-HTML hints of the grid's cells and scroll position.
#pragma once

#include "platform/framework/Forms.h"

// FIXME: shows its text in the framework's hint window with the mini-HTML tags taken out, until the
// window renders mini-HTML itself.
class THTMLHintWindow : public THintWindow {
    DECLARE_CLASS(THTMLHintWindow, THintWindow)

public:
    using THintWindow::THintWindow;
    void ActivateHint(TRect rect, const String& hint) override;
    TRect CalcHintRect(Integer maxWidth, const String& hint, void* data) override;
};
