// What the styled controls' tests share: a shown form to put controls on, message pumping, clicks and
// keys through the window manager's input, pictures of the form and a switch for visual styles.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/framework/Forms.h"

// Rectangles in failure messages as (left,top,right,bottom).
inline void PrintTo(const TRect& r, std::ostream* out) {
    *out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

class StyledControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T> T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
        auto* control = new T(FForm);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent != nullptr ? parent : FForm);
        return control;
    }
    void ShowForm();
    static void Pump();
    // Input at a client point of control, in screen coordinates.
    static void MouseDown(TControl* control, int x, int y);
    static void MouseUp(TControl* control, int x, int y);
    static void MouseMove(TControl* control, int x, int y);
    static void ClickAt(TControl* control, int x, int y);
    static void Press(int virtualKey);
    static void PressAlt(int key);
    // The form's client area as painted now; Pixel reads a point of control's client area from it.
    TBitmap& Shot();
    TColor Pixel(TControl* control, int x, int y);
    // Visual styles on or off for the rest of the test.
    static void UseThemes(bool on);

    TForm* FForm = nullptr;
    std::vector<std::string> FLog;

private:
    std::unique_ptr<TBitmap> FShot;
};
