// Tests of the image list: adding strips with masks, drawing in its styles, and taking images out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/ImgList.h"
#include "platform/win32/windraw.h"

namespace {

// A strip of 4-pixel images: image i has a red frame around an inside of colour i, on a lime key.
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& insides) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(4 * static_cast<int>(insides.size()), 4);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clLime);
    canvas->FillRect(Rect(0, 0, bitmap->Width(), 4));
    for (size_t i = 0; i < insides.size(); ++i) {
        int left = 4 * static_cast<int>(i);
        canvas->SetPixels(left, 0, clRed);
        canvas->Brush()->SetColor(insides[i]);
        canvas->FillRect(Rect(left + 1, 1, left + 3, 3));
    }
    return bitmap;
}

// A white canvas to draw on, with each pixel read back as a letter.
struct Target {
    TBitmap bitmap;
    Target() { bitmap.SetSize(6, 4); }
    std::string Row(int y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            TColor p = bitmap.Canvas()->Pixels(x, y);
            row += p == clWhite   ? '.'
                   : p == clRed   ? 'r'
                   : p == clBlue  ? 'b'
                   : p == clLime  ? 'g'
                   : p == clBlack ? 'k'
                                  : '?';
        }
        return row;
    }
};

TEST(GraphicsImageListTest, AddMaskedSplitsAStripAndDrawsTransparently) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    auto strip = Strip({clBlue, clBlack, clRed});
    EXPECT_EQ(list.AddMasked(strip.get(), clLime), 0);
    EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 3); // the key taken from the bottom-left pixel
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(changes, 2);

    Target target;
    list.Draw(target.bitmap.Canvas(), 1, 0, 0);
    EXPECT_EQ(target.Row(0), ".r....");
    EXPECT_EQ(target.Row(1), "..bb..");
    list.Draw(target.bitmap.Canvas(), 1, 0, 4); // index 4 is the second image again
    EXPECT_EQ(target.Row(1), "..kk..");
    list.Draw(target.bitmap.Canvas(), 1, 0, 99); // out of range: nothing
    EXPECT_EQ(target.Row(1), "..kk..");

    // A background colour fills what the mask leaves.
    list.SetBkColor(clBlue);
    list.Draw(target.bitmap.Canvas(), 2, 0, 2);
    EXPECT_EQ(target.Row(0), ".rrbbb");
    EXPECT_EQ(target.Row(1), "..brrb");
    // The mask itself: black where the image is.
    list.Draw(target.bitmap.Canvas(), 2, 0, 2, dsNormal, itMask);
    EXPECT_EQ(target.Row(0), ".rk...");
    EXPECT_EQ(target.Row(1), "...kk.");
}

TEST(GraphicsImageListTest, AddWithMaskBitmapAndStyles) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = Strip({clBlue});
    auto mask = std::make_unique<TBitmap>();
    mask->SetSize(4, 4); // white: all transparent ...
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(Rect(1, 1, 3, 3)); // ... but the inside
    list.Add(strip.get(), mask.get());

    Target target;
    list.Draw(target.bitmap.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.Row(0), "......");
    EXPECT_EQ(target.Row(1), ".bb...");

    // Selected blends half with the blend colour.
    list.SetBlendColor(clRed);
    list.Draw(target.bitmap.Canvas(), 0, 0, 0, dsSelected, itImage);
    EXPECT_EQ(target.bitmap.Canvas()->Pixels(1, 1), static_cast<TColor>(RGB(128, 0, 128)));
    // Disabled draws the shape in the 3D colours.
    list.Draw(target.bitmap.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(static_cast<COLORREF>(target.bitmap.Canvas()->Pixels(1, 1)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(static_cast<COLORREF>(target.bitmap.Canvas()->Pixels(3, 3)), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(GraphicsImageListTest, TakingImagesOutAndEditingTheList) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = Strip({clBlue, clBlack});
    list.AddMasked(strip.get(), clLime);

    TBitmap bitmap;
    ASSERT_TRUE(list.GetBitmap(1, &bitmap));
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 3), clWhite); // masked: the bitmap's own brush
    EXPECT_FALSE(list.GetBitmap(2, &bitmap));

    TIcon icon;
    list.GetIcon(0, &icon);
    EXPECT_EQ(icon.Width(), 4);
    ASSERT_NE(icon.CurrentImage(), nullptr);
    EXPECT_EQ(icon.CurrentImage()->Pixel(3, 3) >> 24, 0u); // the mask became alpha

    list.Move(1, 0);
    ASSERT_TRUE(list.GetBitmap(0, &bitmap));
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clBlack);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Delete(1), EInvalidOperation);
    EXPECT_THROW(list.Add(nullptr, nullptr), EInvalidOperation);
    list.SetWidth(8); // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
