// Tests of the grid's support controls: the check box through the input entry points (mouse, space,
// accelerator, Return as Tab) and its themed and classic pictures, the arrow and focus windows, the
// alpha mask, the rounded blurred mask and the file picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "grid/engine/AdvObj.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"

namespace {

class AdvCheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 200);
        FFirst = AddBox(u"&Match case", 10);
        FSecond = AddBox(u"Second", 40);
        FForm->Show();
        Pump();
        FFirst->SetFocus();
        Pump();
    }
    void TearDown() override {
        FForm->Free();
        Pump();
        win32::input::Reset();
        win32::ResetSystemSettings();
    }
    TAdvCheckBox* AddBox(const String& caption, int top) {
        auto* box = new TAdvCheckBox(FForm);
        box->SetCaption(caption);
        box->SetBounds(10, top, 120, 20);
        box->SetTabStop(true);
        box->SetParent(FForm);
        box->OnClick = [this](TObject*) { ++FClicks; };
        return box;
    }
    static void Pump() { Application->ProcessMessages(); }
    static TPoint Centre(TControl* control) {
        return control->ClientToScreen(TPoint(control->Width() / 2, control->Height() / 2));
    }

    TForm* FForm = nullptr;
    TAdvCheckBox* FFirst = nullptr;
    TAdvCheckBox* FSecond = nullptr;
    int FClicks = 0;
};

TEST_F(AdvCheckBoxTest, StartsAsDesigned) {
    TAdvCheckBox box(nullptr);
    EXPECT_EQ(box.Width(), 98);
    EXPECT_EQ(box.Height(), 20);
    EXPECT_EQ(box.Caption(), u"TAdvCheckBox");
    EXPECT_EQ(box.ButtonVertAlign(), tlTop);
    EXPECT_FALSE(box.ReadOnly());
    EXPECT_FALSE(box.ControlStyle().Contains(csClickEvents));
}

TEST_F(AdvCheckBoxTest, ToggleChecksGrayedAndLeavesReadOnlyAlone) {
    FFirst->SetState(cbGrayed);
    FFirst->Toggle();
    EXPECT_EQ(FFirst->State(), cbChecked);
    FFirst->Toggle();
    EXPECT_EQ(FFirst->State(), cbUnchecked);
    FFirst->SetReadOnly(true);
    FFirst->Toggle();
    EXPECT_EQ(FFirst->State(), cbUnchecked);
}

TEST_F(AdvCheckBoxTest, MouseTogglesOnlyOnAReleaseOverTheBox) {
    const TPoint centre = Centre(FFirst);
    win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
    Pump();
    EXPECT_TRUE(FFirst->Checked());
    EXPECT_EQ(FClicks, 1);
    EXPECT_FALSE(FFirst->Down());

    // Pressed on the box, let go outside it: neither toggle nor click.
    win32::input::MouseButton(win32::input::Button::Left, true, centre.X, centre.Y);
    Pump();
    EXPECT_TRUE(FFirst->Down());
    win32::input::MouseMove(centre.X, centre.Y + 100);
    Pump();
    EXPECT_FALSE(FFirst->Down());
    win32::input::MouseButton(win32::input::Button::Left, false, centre.X, centre.Y + 100);
    Pump();
    EXPECT_TRUE(FFirst->Checked());
    EXPECT_EQ(FClicks, 1);

    // A click on another box takes the focus there and toggles it.
    const TPoint second = Centre(FSecond);
    win32::input::Click(win32::input::Button::Left, second.X, second.Y);
    Pump();
    EXPECT_TRUE(FSecond->Focused());
    EXPECT_TRUE(FSecond->Checked());
    EXPECT_EQ(FClicks, 2);
}

TEST_F(AdvCheckBoxTest, SpaceAndAcceleratorToggle) {
    win32::input::Key(VK_SPACE, true);
    Pump();
    EXPECT_TRUE(FFirst->Down());
    EXPECT_FALSE(FFirst->Checked());
    win32::input::Key(VK_SPACE, false);
    Pump();
    EXPECT_TRUE(FFirst->Checked());
    EXPECT_EQ(FClicks, 1);

    // Alt and the caption's accelerator, from another control: toggles and takes the focus.
    FSecond->SetFocus();
    Pump();
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey('M');
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_FALSE(FFirst->Checked());
    EXPECT_TRUE(FFirst->Focused());
    // Without TabStop the box toggles and the focus stays where it was.
    FFirst->SetTabStop(false);
    FSecond->SetFocus();
    Pump();
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey('M');
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_TRUE(FFirst->Checked());
    EXPECT_TRUE(FSecond->Focused());
}

TEST_F(AdvCheckBoxTest, ReturnMovesOnAsTabWhenAsked) {
    win32::input::PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(FFirst->Focused());
    FFirst->SetReturnIsTab(true);
    win32::input::PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(FSecond->Focused());
    EXPECT_FALSE(FFirst->Checked());
}

TEST_F(AdvCheckBoxTest, BoxIsDrawnThemedOrClassicForEachState) {
    // The pictures of the box's strip, unchecked and checked, themed and classic.
    const auto picture = [this]() {
        TBitmap shot(FForm->ClientWidth(), FForm->ClientHeight());
        FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
        std::string pixels;
        for (int y = 40; y < 60; ++y)
            for (int x = 10; x < 30; ++x)
                pixels += std::to_string(shot.Canvas()->Pixels(x, y)) + ",";
        return pixels;
    };
    std::string pictures[2][2];
    for (int themes = 0; themes < 2; ++themes) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes == 1;
        win32::SetSystemSettings(settings);
        for (int checked = 0; checked < 2; ++checked) {
            FSecond->SetChecked(checked == 1);
            Pump();
            pictures[themes][checked] = picture();
        }
    }
    EXPECT_NE(pictures[0][0], pictures[0][1]);
    EXPECT_NE(pictures[1][0], pictures[1][1]);
    EXPECT_NE(pictures[0][1], pictures[1][1]);
}

TEST_F(AdvCheckBoxTest, TransparentBoxShowsItsParent) {
    FForm->SetColor(clRed);
    FSecond->SetColor(clYellow);
    FSecond->SetCaption(u"");
    const auto pixel = [this]() {
        TBitmap shot(FForm->ClientWidth(), FForm->ClientHeight());
        FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
        return shot.Canvas()->Pixels(FSecond->Left() + 60, FSecond->Top() + 10);
    };
    Pump();
    EXPECT_EQ(pixel(), clYellow);
    FSecond->SetTransparent(true);
    Pump();
    EXPECT_EQ(pixel(), clRed);
    FSecond->SetTransparentCaching(true);
    FSecond->Invalidate();
    Pump();
    EXPECT_EQ(pixel(), clRed);
}

TEST(GridSupportWindowsTest, ArrowWindowIsShapedAsItsArrow) {
    TForm form(nullptr, 0);
    TArrowWindow arrow(&form, arrDown);
    EXPECT_EQ(arrow.Parent(), &form);
    EXPECT_FALSE(arrow.Visible());
    EXPECT_EQ(arrow.Color(), TColor(0x0000FF00));
    arrow.SetBounds(0, 0, 10, 10);
    HWND window = arrow.Handle();
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              WS_POPUP);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 5, 7)); // just above the tip at (5,8)
    EXPECT_TRUE(PtInRegion(region, 4, 1)); // the shaft
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    EXPECT_FALSE(PtInRegion(region, 1, 7));
    DeleteObject(region);
    EXPECT_EQ(arrow.Arrow()[4], TPoint(5, 8));
}

TEST(GridSupportWindowsTest, FocusWindowNeverTakesTheFocus) {
    TForm form(nullptr, 0);
    TGridFocusWindow focus(&form);
    EXPECT_EQ(focus.Width(), 0);
    EXPECT_EQ(focus.Height(), 0);
    EXPECT_EQ(focus.Color(), TColor(0x000000FF));
    HWND window = focus.Handle();
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_DISABLED | WS_CHILD), static_cast<DWORD>(WS_POPUP | WS_DISABLED));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
}

// A 24-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled24(int width, int height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(TRect(0, 0, width, height));
    return bitmap;
}

// The blue, green, red and alpha bytes of a 32-bit pixel.
std::array<int, 4> Bgra(TBitmap& bitmap, int x, int y) {
    const auto* row = static_cast<const Byte*>(bitmap.ScanLine(y));
    return {row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]};
}

TEST(GridAlphaMaskTest, MergeMaskPremultipliesByTheMasksRed) {
    auto colors = Filled24(4, 3, RGB(200, 100, 50));
    auto mask = Filled24(4, 3, RGB(128, 0, 255));
    TGridAlphaMask alpha;
    EXPECT_EQ(alpha.PixelFormat(), pf32bit);
    EXPECT_EQ(alpha.Opacity(), 255);
    alpha.MergeMask(mask.get(), colors.get(), clNone);
    EXPECT_EQ(alpha.Width(), 4);
    EXPECT_EQ(alpha.Height(), 3);
    EXPECT_EQ(Bgra(alpha, 2, 1), (std::array<int, 4>{25, 50, 100, 128}));

    // A smaller mask covers only its own pixels; the rest stays transparent.
    auto small = Filled24(2, 1, RGB(255, 255, 255));
    alpha.MergeMask(small.get(), colors.get(), clNone);
    EXPECT_EQ(Bgra(alpha, 1, 0), (std::array<int, 4>{50, 100, 200, 255}));
    EXPECT_EQ(Bgra(alpha, 3, 0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Bgra(alpha, 0, 2), (std::array<int, 4>{0, 0, 0, 0}));

    // A colour bitmap of another depth changes nothing.
    TBitmap deep(8, 8);
    deep.SetPixelFormat(pf32bit);
    alpha.MergeMask(mask.get(), &deep, clNone);
    EXPECT_EQ(alpha.Width(), 4);

    TGridAlphaMask copy;
    alpha.SetOpacity(230);
    copy.Assign(&alpha);
    EXPECT_EQ(copy.Opacity(), 230);
    EXPECT_EQ(Bgra(copy, 1, 0), (std::array<int, 4>{50, 100, 200, 255}));
    copy.Assign(colors.get());
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
}

TEST(GridAlphaMaskTest, RoundRectMaskAndBlur) {
    TBitmap mask;
    MakeRoundRectMask(&mask, 60, 50, 0, 5, 4);
    EXPECT_EQ(mask.PixelFormat(), pf24bit);
    // The outline with a 4-pixel pen runs along x = 4 (c = 2, inset c + 2).
    EXPECT_EQ(mask.Canvas()->Pixels(4, 25), clWhite);
    EXPECT_EQ(mask.Canvas()->Pixels(0, 25), clBlack);
    EXPECT_EQ(mask.Canvas()->Pixels(30, 25), clBlack); // not filled
    EXPECT_EQ(mask.Canvas()->Pixels(0, 0), clBlack);

    TBitmap filled;
    MakeRoundRectMask(&filled, 60, 50, 0, 5, 0);
    EXPECT_EQ(filled.Canvas()->Pixels(30, 25), clWhite);

    // A full channel stays full through the blur; the blurred outline fades out symmetrically.
    auto white = Filled24(50, 50, clWhite);
    GaussianBlur(white.get(), 3);
    EXPECT_EQ(white->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(white->Canvas()->Pixels(25, 25), clWhite);
    TBitmap glow;
    MakeRoundRectMask(&glow, 60, 50, 3, 5, 4);
    const auto red = [&glow](int x, int y) { return static_cast<int>(glow.Canvas()->Pixels(x, y) & 0xFF); };
    EXPECT_GT(red(4, 25), red(1, 25));
    EXPECT_GT(red(1, 25), 0);
    EXPECT_LT(red(4, 25), 255);
    EXPECT_EQ(red(4, 25), red(55, 25)); // the right outline runs along x = 55
    EXPECT_EQ(red(4, 22), red(4, 27));  // rows far from the top and bottom repeat
    EXPECT_EQ(red(30, 30), 0);

    TBitmap deep(10, 10);
    try {
        GaussianBlur(&deep, 3);
        ADD_FAILURE() << "a 32-bit bitmap was blurred";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Blur only works for 24-bit bitmaps");
    }
}

TEST(FilePictureTest, TakesItsSizeFromTheFileAndForgivesMissingOnes) {
    const std::string path = (std::filesystem::temp_directory_path() / "zelmor-filepicture.bmp").string();
    const String name(path.begin(), path.end());
    auto source = Filled24(7, 5, clRed);
    source->SaveToFile(name);

    TFilePicture picture;
    picture.SetFilename(name);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    picture.SetFilename(u"/nonexistent/zelmor/picture.bmp");
    EXPECT_EQ(picture.Filename(), u"/nonexistent/zelmor/picture.bmp");
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    TBitmap target(20, 20);
    picture.DrawPicture(target.Canvas(), TRect(0, 0, 20, 20)); // draws nothing, raises nothing

    picture.SetFilename(name);
    picture.DrawPicture(target.Canvas(), TRect(2, 2, 16, 12));
    EXPECT_EQ(target.Canvas()->Pixels(15, 11), clRed);
    EXPECT_NE(target.Canvas()->Pixels(16, 12), clRed);

    TFilePicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Filename(), name);
    EXPECT_EQ(copy.Width(), 7);
    std::remove(path.c_str());
}

} // namespace
