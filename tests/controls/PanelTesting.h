// What the caption panel's tests share: a shown form with panels on it, input at panel points through
// the window manager, and pictures of the form.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "controls/AdvPanel.h"
#include "platform/framework/Forms.h"

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A shown panel of the given size on the form, its caption visible with the given height.
    TAdvPanel* AddPanel(int left, int top, int width, int height);
    void ShowForm();
    static void Pump();
    static void MouseDown(TControl* control, int x, int y);
    static void MouseUp(TControl* control, int x, int y);
    static void MouseMove(TControl* control, int x, int y);
    static void ClickAt(TControl* control, int x, int y);
    // A pixel of control's client area as the form shows it now.
    TColor Pixel(TControl* control, int x, int y);

    TForm* FForm = nullptr;

private:
    std::unique_ptr<TBitmap> FShot;
};
