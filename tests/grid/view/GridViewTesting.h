// What the grid view's tests share: a shown form with a small string grid, a recording DC the paint
// message can carry, and the grid's surface for pixels.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace gridview_fixtures {

// The protected steps of painting, reachable for the tests.
class TViewGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::DrawCellText;
    using TAdvStringGrid::GetVisualProperties;
    using TAdvStringGrid::TAdvStringGrid;
    Integer PaintCounter() const { return FPaintID; }
};

// A 6 x 6 grid of 40 x 20 cells with one fixed row and column, 300 x 200 pixels, on a shown form.
class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetBounds(100, 100, 400, 300);
        grid = new TViewGrid(form);
        grid->SetScrollBars(ssNone);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(6);
        grid->SetRowCount(6);
        grid->SetDefaultColWidth(40);
        grid->SetDefaultRowHeight(20);
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
        recorder = backend::CreateRecorder(300, 200);
        dc = CreateDeviceDC(recorder);
        canvas.SetHandle(dc);
    }
    void TearDown() override {
        canvas.SetHandle(nullptr);
        DeleteDC(dc);
        form->Free();
    }

    // The whole grid through its paint message, carrying the recording DC.
    std::vector<std::string> PaintAll() {
        recorder->Clear();
        grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        return recorder->Calls();
    }
    // One cell through the base cell painter, at its own rectangle, on the recording DC.
    std::vector<std::string> PaintOne(Integer c, Integer r, TGridDrawState state = TGridDrawState()) {
        recorder->Clear();
        grid->PaintCell(&canvas, c, r, grid->CellRect(c, r), state);
        return recorder->Calls();
    }
    // The recorded texts, in drawing order.
    static std::vector<std::string> Texts(const std::vector<std::string>& calls) {
        std::vector<std::string> texts;
        for (const std::string& call : calls)
            if (call.rfind("Text ", 0) == 0) {
                const size_t open = call.find('\'');
                const size_t close = call.rfind('\'');
                texts.push_back(call.substr(open + 1, close - open - 1));
            }
        return texts;
    }
    // The recorder's form of a colour: "#RRGGBB".
    static std::string Hex(TColor color) {
        const COLORREF rgb = ColorToRGB(color);
        char text[16];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(rgb & 0xFF),
                      static_cast<unsigned>((rgb >> 8) & 0xFF), static_cast<unsigned>((rgb >> 16) & 0xFF));
        return text;
    }
    static std::string Joined(const std::vector<std::string>& calls) {
        std::string text;
        for (const std::string& call : calls)
            text += call + "\n";
        return text;
    }
    // A pixel of the grid's window as its surface shows it.
    COLORREF Pixel(Integer x, Integer y) {
        HDC windowDC = GetDC(grid->Handle());
        const COLORREF color = GetPixel(windowDC, x, y);
        ReleaseDC(grid->Handle(), windowDC);
        return color;
    }

    TForm* form = nullptr;
    TViewGrid* grid = nullptr;
    std::shared_ptr<backend::Recorder> recorder;
    HDC dc = nullptr;
    TCanvas canvas;
};

} // namespace gridview_fixtures
