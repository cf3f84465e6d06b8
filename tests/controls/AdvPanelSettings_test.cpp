// The caption panel's settings objects, looks applied to panels and stored positions.
#include <filesystem>

#include "platform/framework/Filer.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/winuser.h"
#include "tests/controls/PanelTesting.h"
#include "tests/support/TestSupport.h"

namespace {

struct CaptionNotifyCase {
    const char* name;
    std::function<void(TPanelCaption&)> change;
    std::vector<std::string> expected;
};

// Each row starts from a fresh caption.
std::vector<CaptionNotifyCase> CaptionNotifyCases() {
    using V = std::vector<std::string>;
    return {
        {"SameTextAgain", [](TPanelCaption& c) { c.SetText(u""); }, V{"change"}},
        {"SameHeight", [](TPanelCaption& c) { c.SetHeight(20); }, V{}},
        {"NewHeight", [](TPanelCaption& c) { c.SetHeight(24); }, V{"change"}},
        {"SameColor", [](TPanelCaption& c) { c.SetColor(clHighlight); }, V{}},
        {"NewColor", [](TPanelCaption& c) { c.SetColor(clRed); }, V{"shade", "change"}},
        {"ShadeLight", [](TPanelCaption& c) { c.SetShadeLight(150); }, V{"shade", "change"}},
        {"ColorToSame", [](TPanelCaption& c) { c.SetColorTo(clNone); }, V{"change"}},
        {"FontColorInside", [](TPanelCaption& c) { c.Font()->SetColor(clRed); }, V{"font"}},
        {"FontObject",
         [](TPanelCaption& c) {
             TFont font;
             font.SetColor(clRed);
             c.SetFont(&font);
         },
         V{"font", "change"}},
        {"Visible", [](TPanelCaption& c) { c.SetVisible(false); }, V{"change", "state"}},
        {"SamePosition", [](TPanelCaption& c) { c.SetPosition(AdvPanel::cpTop); }, V{}},
        {"NewPosition", [](TPanelCaption& c) { c.SetPosition(AdvPanel::cpLeft); }, V{"position"}},
        {"MinGlyph",
         [](TPanelCaption& c) {
             TBitmap glyph;
             glyph.SetSize(4, 4);
             c.SetMinGlyph(&glyph);
         },
         V{}},
        {"ButtonPosition", [](TPanelCaption& c) { c.SetButtonPosition(AdvPanel::cbpLeft); }, V{}},
    };
}

class CaptionNotifications : public ::testing::TestWithParam<CaptionNotifyCase> {};

} // namespace

TEST_P(CaptionNotifications, EachSetterTellsWhatItShould) {
    TPanelCaption caption;
    std::vector<std::string> log;
    caption.OnChange = [&](TObject*) { log.push_back("change"); };
    caption.OnShadeChange = [&](TObject*) { log.push_back("shade"); };
    caption.OnStateChange = [&](TObject*) { log.push_back("state"); };
    caption.OnPositionChange = [&](TObject*) { log.push_back("position"); };
    caption.OnFontChange = [&](TObject*) { log.push_back("font"); };
    GetParam().change(caption);
    EXPECT_EQ(log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Setters, CaptionNotifications, ::testing::ValuesIn(CaptionNotifyCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PanelSettingsObjects, CaptionStoresShadeLightOf200AtLeast) {
    TPanelCaption caption;
    caption.SetShadeLight(150);
    EXPECT_EQ(caption.ShadeLight(), 200);
    caption.SetShadeLight(230);
    EXPECT_EQ(caption.ShadeLight(), 230);
}

TEST(PanelSettingsObjects, AssignCopiesTheLookOnly) {
    TPanelCaption from, to;
    from.SetColor(clRed);
    from.SetColorTo(clBlue);
    from.SetCloseButton(true);
    from.SetHeight(30);
    from.SetShadeType(AdvPanel::stVShade);
    from.Font()->SetColor(clLime);
    from.SetText(u"not copied");
    from.SetVisible(true);
    from.SetPosition(AdvPanel::cpLeft);
    from.SetTopIndent(4);
    from.SetMinMaxCaption(true);
    from.OfficeHint()->SetTitle(u"not copied");
    to.Assign(&from);
    EXPECT_EQ(to.Color(), clRed);
    EXPECT_EQ(to.ColorTo(), clBlue);
    EXPECT_TRUE(to.CloseButton());
    EXPECT_EQ(to.Height(), 30);
    EXPECT_EQ(to.ShadeType(), AdvPanel::stVShade);
    EXPECT_EQ(to.Font()->Color(), clLime);
    EXPECT_EQ(to.Text(), u"");
    EXPECT_FALSE(to.Visible());
    EXPECT_EQ(to.Position(), AdvPanel::cpTop);
    EXPECT_EQ(to.TopIndent(), 0);
    EXPECT_FALSE(to.MinMaxCaption());
    EXPECT_TRUE(to.OfficeHint()->IsEmpty());

    TPanelStatusBar barFrom, barTo;
    barFrom.SetColor(clRed);
    barFrom.SetBorderStyle(AdvPanel::bsSingle);
    barFrom.SetTopIndent(3);
    barFrom.SetVisible(true);
    barFrom.SetHeight(30);
    barFrom.SetText(u"not copied");
    int changes = 0;
    barTo.OnChange = [&](TObject*) { ++changes; };
    barTo.Assign(&barFrom);
    EXPECT_EQ(barTo.Color(), clRed);
    EXPECT_EQ(barTo.BorderStyle(), AdvPanel::bsSingle);
    EXPECT_EQ(barTo.TopIndent(), 3);
    EXPECT_FALSE(barTo.Visible());
    EXPECT_EQ(barTo.Height(), 18);
    EXPECT_EQ(barTo.Text(), u"");

    // Foreign sources: the caption, position and auto-size objects refuse them; the others ignore them.
    EXPECT_THROW(to.Assign(&barFrom), EInvalidCast);
    TPanelPosition position;
    EXPECT_THROW(position.Assign(&barFrom), EInvalidCast);
    TAutoSize autoSize;
    EXPECT_THROW(autoSize.Assign(&barFrom), EInvalidCast);
    barTo.Assign(&from);
    EXPECT_EQ(barTo.Color(), clRed);
    TAdvPanelSettings settings;
    settings.Assign(&from);
    EXPECT_EQ(settings.Color(), clBtnFace);
}

TEST(PanelSettingsObjects, SettingsNotifyOncePerUpdateAndOnCaptionChanges) {
    TAdvPanelSettings settings;
    int changes = 0;
    settings.OnChange = [&](TObject*) { ++changes; };
    settings.SetCanSize(true);
    settings.SetColorTo(clNone); // unchanged
    settings.SetColor(clRed);    // a plain field
    settings.Caption()->SetText(u"x");
    EXPECT_EQ(changes, 2);
    changes = 0;
    settings.BeginUpdate();
    settings.SetHover(true);
    settings.SetIndent(3);
    settings.EndUpdate();
    settings.EndUpdate(); // unpaired: nothing
    EXPECT_EQ(changes, 1);

    TAdvPanelSettings copy;
    copy.Assign(&settings);
    EXPECT_TRUE(copy.CanSize());
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Indent(), 3);
}

TEST(PanelSettingsObjects, ApplyingSettingsKeepsTheCaptionButtonsAndTheSize) {
    TAdvPanel panel(nullptr);
    panel.Caption()->SetCloseButton(true);
    panel.SetText(u"kept");
    TAdvPanelSettings settings;
    settings.Caption()->SetMinMaxButton(true);
    settings.Caption()->SetColor(clGreen);
    settings.SetColor(clYellow);
    settings.SetCanSize(true);
    settings.SetHeight(77);
    settings.SetWidth(88);
    settings.SetHint(u"applied hint");
    panel.ApplyPanelSettings(&settings);
    EXPECT_TRUE(panel.Caption()->CloseButton());
    EXPECT_FALSE(panel.Caption()->MinMaxButton());
    EXPECT_EQ(panel.Caption()->Color(), clGreen);
    EXPECT_EQ(panel.Color(), clYellow);
    EXPECT_TRUE(panel.CanSize());
    EXPECT_EQ(panel.Height(), 200);
    EXPECT_EQ(panel.Text(), u"kept");
    panel.AssignSettings(&settings);
    EXPECT_EQ(panel.Height(), 77);
    EXPECT_EQ(panel.Width(), 88);
    EXPECT_EQ(panel.Hint(), u"applied hint");
}

TEST_F(PanelTest, RepaintsWhenTheSameCaptionTextIsSetAgain) {
    TAdvPanel* panel = AddPanel(0, 0, 200, 100);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText(u"Log");
    ShowForm();
    RECT update;
    ASSERT_FALSE(GetUpdateRect(panel->Handle(), &update, FALSE));
    panel->Caption()->SetText(u"Log");
    EXPECT_TRUE(GetUpdateRect(panel->Handle(), &update, FALSE));
    // A font colour changed inside the caption's font shows at the next paint.
    panel->Caption()->Font()->SetColor(clRed);
    panel->Repaint();
    TBitmap shot;
    shot.SetSize(FForm->ClientWidth(), FForm->ClientHeight());
    FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
    bool red = false;
    for (int x = 0; x < 60 && !red; ++x)
        for (int y = 0; y < 18 && !red; ++y) {
            COLORREF c = ColorToRGB(shot.Canvas()->Pixels(x, y));
            red = GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100;
        }
    EXPECT_TRUE(red);
}

namespace {
struct PositionCase {
    const char* name;
    AdvPanel::TPanelPositionLocation location;
};
class PanelPositions : public PanelTest, public ::testing::WithParamInterface<PositionCase> {};
} // namespace

TEST_P(PanelPositions, SavedWhenTheWindowGoesAndRestoredAtLoad) {
    String key = GetParam().location == AdvPanel::clInifile ? String(u"panels.ini")
                                                            : String(u"Software\\Zelmor\\Panels");
    TAdvPanel* panel = AddPanel(12, 34, 210, 150);
    panel->Position()->SetSave(true);
    panel->Position()->SetLocation(GetParam().location);
    panel->Position()->SetKey(key);
    panel->Position()->SetSection(u"Module1");
    TAdvPanel* unsaved = AddPanel(0, 0, 100, 100);
    unsaved->Position()->SetSave(true);
    unsaved->Position()->SetKey(key);
    unsaved->Position()->SetLocation(GetParam().location);
    ShowForm();
    panel->SetCollaps(true);
    FForm->Free(); // destroys the windows
    FForm = new TForm(nullptr, 0);

    std::unique_ptr<TCustomIniFile> store;
    if (GetParam().location == AdvPanel::clInifile)
        store = std::make_unique<TIniFile>(key);
    else
        store = std::make_unique<TRegistryIniFile>(key);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"Top", -1), 34);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"Left", -1), 12);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"Height", -1), 18);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"FullHeight", -1), 150);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"Width", -1), 210);
    EXPECT_EQ(store->ReadInteger(u"Module1", u"Collaps", -1), 1);
    TStringList sections;
    store->ReadSections(sections);
    EXPECT_EQ(sections.Count(), 1); // the panel without a section stored nothing

    // A panel read from its description restores what was stored.
    TAdvPanel described(nullptr);
    described.Position()->SetSave(true);
    described.Position()->SetLocation(GetParam().location);
    described.Position()->SetKey(key);
    described.Position()->SetSection(u"Module1");
    TMemoryStream stream;
    WriteComponent(stream, &described);
    stream.SetPosition(0);
    TAdvPanel restored(nullptr);
    ReadComponent(stream, &restored);
    EXPECT_EQ(restored.Left(), 12);
    EXPECT_EQ(restored.Top(), 34);
    EXPECT_EQ(restored.Width(), 210);
    EXPECT_TRUE(restored.Collaps());
    EXPECT_EQ(restored.FullHeight(), 150);
    restored.SetCollaps(false);
    EXPECT_EQ(restored.Height(), 150);

    // Without a section nothing is read either.
    TAdvPanel untouched(nullptr);
    untouched.Position()->SetKey(key);
    untouched.Position()->SetLocation(GetParam().location);
    untouched.LoadPosition();
    EXPECT_EQ(untouched.Left(), 0);
    EXPECT_FALSE(untouched.Collaps());
}

INSTANTIATE_TEST_SUITE_P(Stores, PanelPositions,
                         ::testing::Values(PositionCase{"Registry", AdvPanel::clRegistry},
                                           PositionCase{"IniFile", AdvPanel::clInifile}),
                         [](const auto& info) { return std::string(info.param.name); });
