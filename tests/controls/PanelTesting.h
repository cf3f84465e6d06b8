// What the caption panel's tests share: the styled controls' fixture on a larger form, with panels on it
// and pixels read from a fresh picture of the form each time.
#pragma once

#include "controls/AdvPanel.h"
#include "tests/controls/ControlsTesting.h"

class PanelTest : public StyledControlsTest {
protected:
    void SetUp() override {
        StyledControlsTest::SetUp();
        FForm->SetBounds(100, 100, 480, 360);
    }

    // A panel of the given size on the form.
    TAdvPanel* AddPanel(int left, int top, int width, int height) {
        return Add<TAdvPanel>(left, top, width, height);
    }
    // A pixel of control's client area as the form shows it now.
    TColor Pixel(TControl* control, int x, int y) {
        Shot();
        return StyledControlsTest::Pixel(control, x, y);
    }
};
