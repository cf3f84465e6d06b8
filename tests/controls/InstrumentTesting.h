// What the instrument and picture controls' tests share: a form to put controls on, input at client
// points through the window manager, and painting a control or the form into a bitmap.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "platform/framework/Forms.h"

// Paints control alone into a new bitmap of its size filled with background first.
std::unique_ptr<TBitmap> PaintControl(TControl* control, TColor background = clWhite);
// The smallest rectangle holding every pixel of colour in bitmap; empty when there is none.
TRect BoundsOfColor(TBitmap& bitmap, TColor color);
// How many pixels of bitmap have colour.
int CountColor(TBitmap& bitmap, TColor color);
// Whether a and b have one size and the same pixels.
bool SamePicture(TBitmap& a, TBitmap& b);

class InstrumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T> T* Add(int left, int top, int width, int height) {
        auto* control = new T(FForm);
        control->SetBounds(left, top, width, height);
        control->SetParent(FForm);
        return control;
    }
    void ShowForm();
    static void Pump();
    // Input at a client point of control.
    static void MouseDown(TControl* control, int x, int y);
    static void MouseUp(TControl* control, int x, int y);
    static void MouseMove(TControl* control, int x, int y);
    // The form's client area as it paints now; Pixel reads a client point of control from it.
    TBitmap& Shot();
    TColor Pixel(TControl* control, int x, int y);

    TForm* FForm = nullptr;

private:
    std::unique_ptr<TBitmap> FShot;
};
