// Images and radio groups: where a picture is drawn, the image's canvas and size, and the radio
// group's buttons chosen by code, the mouse and the arrow keys.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/ExtCtrls.h"
#include "platform/rtl/Consts.h"
#include "platform/win32/wininput.h"

namespace {

class ImageAndRadioTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override {
        FForm->Free();
        ControlsTest::TearDown();
    }
    static std::unique_ptr<TBitmap> Filled(int width, int height, TColor color) {
        auto bitmap = std::make_unique<TBitmap>(width, height);
        bitmap->Canvas()->Brush()->SetColor(color);
        bitmap->Canvas()->FillRect(TRect(0, 0, width, height));
        return bitmap;
    }

    TForm* FForm = nullptr;
};

TEST_F(ImageAndRadioTest, PictureDrawnWhereStretchProportionalAndCenterSay) {
    struct Case {
        const char* name;
        int pictureWidth;
        int pictureHeight;
        bool stretch;
        bool proportional;
        bool center;
        TRect expected;
    };
    const Case cases[] = {
        {"as it is", 200, 100, false, false, false, {0, 0, 200, 100}},
        {"stretched", 200, 100, true, false, false, {0, 0, 100, 100}},
        {"too big, shrunk in proportion", 200, 100, false, true, false, {0, 0, 100, 50}},
        {"shrunk and centred", 200, 100, false, true, true, {0, 25, 100, 75}},
        {"tall, shrunk in proportion", 100, 400, false, true, false, {0, 0, 25, 100}},
        {"small, proportional alone keeps it", 50, 20, false, true, false, {0, 0, 50, 20}},
        {"small, grown in proportion", 50, 20, true, true, false, {0, 0, 100, 40}},
        {"small, centred", 50, 20, false, false, true, {25, 40, 75, 60}},
    };
    for (const Case& c : cases) {
        TImage image(nullptr);
        image.SetBounds(0, 0, 100, 100);
        auto bitmap = Filled(c.pictureWidth, c.pictureHeight, clRed);
        image.Picture()->SetGraphic(bitmap.get());
        image.SetStretch(c.stretch);
        image.SetProportional(c.proportional);
        image.SetCenter(c.center);
        EXPECT_EQ(image.DestRect(), c.expected) << c.name;
    }
}

TEST_F(ImageAndRadioTest, ImageCanvasAutoSizeAndPainting) {
    auto* image = new TImage(FForm);
    image->SetBounds(10, 10, 40, 30);
    image->SetParent(FForm);
    // An empty image becomes a bitmap of its own size to draw on.
    image->Canvas()->Brush()->SetColor(clBlue);
    image->Canvas()->FillRect(TRect(0, 0, 40, 30));
    ASSERT_NE(dynamic_cast<TBitmap*>(image->Picture()->Graphic()), nullptr);
    EXPECT_EQ(image->Picture()->Width(), 40);

    FForm->Show();
    Pump();
    // PaintTo draws the client area with its top-left corner at the point given.
    TBitmap shot(100, 100);
    FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
    EXPECT_EQ(shot.Canvas()->Pixels(20, 20), clBlue);
    EXPECT_NE(shot.Canvas()->Pixels(60, 20), clBlue);

    auto big = Filled(64, 48, clRed);
    image->SetAutoSize(true);
    image->Picture()->SetGraphic(big.get());
    EXPECT_EQ(image->Width(), 64);
    EXPECT_EQ(image->Height(), 48);
    // Transparent rules the picture's own, also of a picture given later.
    image->SetTransparent(true);
    EXPECT_TRUE(image->Picture()->Graphic()->Transparent());
    image->Picture()->SetGraphic(big.get());
    EXPECT_TRUE(image->Picture()->Graphic()->Transparent());

    TIcon icon;
    image->Picture()->SetGraphic(&icon);
    try {
        image->Canvas();
        FAIL() << "no error for a canvas of an icon";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), Consts::SImageCanvasNeedsBitmap);
    }
}

TEST_F(ImageAndRadioTest, RadioGroupButtonsFollowItemsAndColumns) {
    auto* group = new TRadioGroup(FForm);
    group->SetBounds(10, 10, 210, 120);
    group->SetParent(FForm);
    for (const Char* item : {u"North", u"East", u"South", u"West", u"Up"})
        group->Items()->Add(item);
    group->SetColumns(2);
    ASSERT_NE(group->Buttons(4), nullptr);
    EXPECT_EQ(group->Buttons(4)->Caption(), u"Up");
    // Three rows: the first column holds items 0-2, the second 3-4.
    EXPECT_EQ(group->Buttons(0)->Left(), 8);
    EXPECT_EQ(group->Buttons(2)->Left(), 8);
    EXPECT_EQ(group->Buttons(3)->Left(), 8 + (210 - 10) / 2);
    EXPECT_EQ(group->Buttons(3)->Top(), group->Buttons(0)->Top());
    EXPECT_GT(group->Buttons(1)->Top(), group->Buttons(0)->Top());

    group->SetItemIndex(4);
    group->Items()->Delete(4);
    EXPECT_EQ(group->ItemIndex(), 3); // kept within the items
    EXPECT_EQ(group->Buttons(4), nullptr);
    EXPECT_TRUE(group->Buttons(3)->Checked());
    group->SetItemIndex(-1);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(group->Buttons(i)->Checked());
}

TEST_F(ImageAndRadioTest, RadioGroupChosenByCodeMouseAndArrows) {
    auto* group = new TRadioGroup(FForm);
    group->SetBounds(10, 10, 150, 100);
    group->SetParent(FForm);
    group->Items()->SetText(u"Low\r\nMedium\r\nHigh");
    group->OnClick = [group](TObject*) {
        ControlsLog().push_back("Click " + std::to_string(group->ItemIndex()));
    };
    FForm->Show();
    Pump();

    group->SetItemIndex(0);
    EXPECT_TRUE(group->Buttons(0)->Checked());
    TRadioButton* high = group->Buttons(2);
    TPoint centre = high->ClientToScreen(TPoint(8, high->Height() / 2));
    win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
    Pump();
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->Buttons(0)->Checked());
    // Up moves to the button above, which the focus checks.
    Press(VK_UP);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(GetFocus(), group->Buttons(1)->Handle());
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Click 0", "Click 2", "Click 1"}));
}

} // namespace
