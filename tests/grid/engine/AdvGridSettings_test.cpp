// Tests of the grid's settings groups: their defaults against the declared stream defaults, what
// Assign copies and leaves alone, the events their setters fire, streaming through the component
// stream, the cell checker base, the row carrier and the change notifier list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "grid/engine/AdvGridSettings.h"
#include "grid/view/AsgDD.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/winuser.h"

// A component that owns and publishes the settings groups as the grid does.
class TSettingsHost : public TComponent {
    DECLARE_CLASS(TSettingsHost, TComponent)

public:
    explicit TSettingsHost(TComponent* owner)
        : TComponent(owner), FColumnSize(std::make_unique<TColumnSize>(this)),
          FHTMLSettings(std::make_unique<THTMLSettings>()),
          FPrintSettings(std::make_unique<TPrintSettings>(this)),
          FBackGround(std::make_unique<TBackGround>(nullptr)), FGrouping(std::make_unique<TGrouping>()),
          FDragDropSettings(std::make_unique<TDragDropSettings>(this)),
          FBalloon(std::make_unique<TBalloonSettings>()), FShowModified(std::make_unique<TShowModified>()),
          FProgressAppearance(std::make_unique<TGridProgressAppearance>()),
          FAutoColor(std::make_unique<TAutoColor>()), FHoverButtons(std::make_unique<THoverButtons>(this)) {}

    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(TColumnSize* value) { FColumnSize->Assign(value); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings* value) { FHTMLSettings->Assign(value); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings* value) { FPrintSettings->Assign(value); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackGround(TBackGround* value) { FBackGround->Assign(value); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    void SetGrouping(TGrouping* value) { FGrouping->Assign(value); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(TDragDropSettings* value) { FDragDropSettings->Assign(value); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    void SetBalloon(TBalloonSettings* value) { FBalloon->Assign(value); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    void SetShowModified(TShowModified* value) { FShowModified->Assign(value); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(TGridProgressAppearance* value) { FProgressAppearance->Assign(value); }
    TAutoColor* AutoColor() const { return FAutoColor.get(); }
    void SetAutoColor(TAutoColor* value) { FAutoColor->Assign(value); }
    THoverButtons* HoverButtons() const { return FHoverButtons.get(); }
    void SetHoverButtons(THoverButtons* value) { FHoverButtons->Assign(value); }

private:
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TAutoColor> FAutoColor;
    std::unique_ptr<THoverButtons> FHoverButtons;
};

DEFINE_CLASS(TSettingsHost, PROPERTY(ColumnSize), PROPERTY(HTMLSettings), PROPERTY(PrintSettings),
             PROPERTY(BackGround), PROPERTY(Grouping), PROPERTY(DragDropSettings), PROPERTY(Balloon),
             PROPERTY(ShowModified), PROPERTY(ProgressAppearance), PROPERTY(AutoColor),
             PROPERTY(HoverButtons))

namespace {

// ---- Defaults

struct OrdinalDefault {
    const char* property; // Group.Property
    Int64 value;          // after construction, and the declared stream default
};

TPersistent* GroupOf(TSettingsHost& host, const std::string& name) {
    return static_cast<TPersistent*>(GetObjectProp(&host, String(name.begin(), name.end())));
}

TEST(AdvGridSettingsTest, ConstructionMatchesTheDeclaredStreamDefaults) {
    TSettingsHost host(nullptr);
    const OrdinalDefault table[] = {
        {"ColumnSize.Save", false},
        {"ColumnSize.Stretch", false},
        {"ColumnSize.StretchColumn", -1},
        {"ColumnSize.StretchAll", false},
        {"ColumnSize.SynchWithGrid", false},
        {"ColumnSize.SynchNormalCellsOnly", false},
        {"ColumnSize.Location", clRegistry},
        {"ColumnSize.Rows", arAll},
        {"HTMLSettings.AutoPreview", false},
        {"HTMLSettings.ConvertSpecialChars", false},
        {"HTMLSettings.NonBreakingText", false},
        {"HTMLSettings.SaveColor", true},
        {"HTMLSettings.SaveFonts", true},
        {"HTMLSettings.BorderSize", 1},
        {"HTMLSettings.CellSpacing", 0},
        {"HTMLSettings.CellPadding", 0},
        {"HTMLSettings.Width", 100},
        {"HTMLSettings.XHTML", false},
        {"HTMLSettings.ExportImages", true},
        {"PrintSettings.Time", ppNone},
        {"PrintSettings.Date", ppNone},
        {"PrintSettings.PageNr", ppNone},
        {"PrintSettings.Title", ppNone},
        {"PrintSettings.Borders", pbSingle},
        {"PrintSettings.BorderStyle", psSolid},
        {"PrintSettings.BorderColor", clBlack},
        {"PrintSettings.Centered", true},
        {"PrintSettings.RepeatFixedRows", false},
        {"PrintSettings.RepeatFixedCols", false},
        {"PrintSettings.FooterSize", 0},
        {"PrintSettings.HeaderSize", 0},
        {"PrintSettings.LeftSize", 0},
        {"PrintSettings.RightSize", 0},
        {"PrintSettings.ColumnSpacing", 0},
        {"PrintSettings.RowSpacing", 0},
        {"PrintSettings.TitleSpacing", 0},
        {"PrintSettings.Orientation", poPortrait},
        {"PrintSettings.FixedHeight", 0},
        {"PrintSettings.UseFixedHeight", false},
        {"PrintSettings.FixedWidth", 0},
        {"PrintSettings.UseFixedWidth", false},
        {"PrintSettings.FitToPage", fpNever},
        {"PrintSettings.NoAutoSize", false},
        {"PrintSettings.PrintGraphics", false},
        {"PrintSettings.NoAutoSizeRow", false},
        {"PrintSettings.PageNumberOffset", 0},
        {"PrintSettings.MaxPagesOffset", 0},
        {"PrintSettings.UseDisplayFont", true},
        {"PrintSettings.UseDefaultOrientation", false},
        {"BackGround.Top", 0},
        {"BackGround.Left", 0},
        {"BackGround.Display", bdTile},
        {"BackGround.Cells", bcNormal},
        {"BackGround.Color", clWindow},
        {"BackGround.ColorTo", clBtnFace},
        {"Grouping.MergeHeader", false},
        {"Grouping.MergeSummary", false},
        {"Grouping.HeaderColor", clNone},
        {"Grouping.HeaderColorTo", clNone},
        {"Grouping.HeaderTextColor", clNone},
        {"Grouping.HeaderUnderline", false},
        {"Grouping.HeaderLineColor", 0xFF0000},
        {"Grouping.HeaderLineWidth", 2},
        {"Grouping.Summary", false},
        {"Grouping.SummaryColor", clNone},
        {"Grouping.SummaryColorTo", clNone},
        {"Grouping.SummaryTextColor", clNone},
        {"Grouping.SummaryLine", false},
        {"Grouping.SummaryLineColor", 0xFF0000},
        {"Grouping.SummaryLineWidth", 2},
        {"Grouping.ShowGroupCount", false},
        {"Grouping.AutoSelectGroup", false},
        {"Grouping.AutoCheckGroup", false},
        {"DragDropSettings.OleDropTarget", false},
        {"DragDropSettings.OleDropSource", false},
        {"DragDropSettings.OleAcceptFiles", true},
        {"DragDropSettings.OleAcceptText", true},
        {"DragDropSettings.OleAcceptURLs", true},
        {"DragDropSettings.OleDropRTF", false},
        {"DragDropSettings.OleEntireRows", false},
        {"DragDropSettings.OleInsertRows", false},
        {"DragDropSettings.OleRemoveRows", false},
        {"DragDropSettings.OleAppendRows", false},
        {"DragDropSettings.OleCopyAlways", false},
        {"DragDropSettings.OleColumnDragDrop", false},
        {"DragDropSettings.OleColumnsOnly", false},
        {"DragDropSettings.OleColumnReorder", false},
        {"DragDropSettings.ShowCells", true},
        {"Balloon.Enable", false},
        {"Balloon.TextColor", clNone},
        {"Balloon.BackgroundColor", clNone},
        {"Balloon.InitialDelay", -1},
        {"Balloon.AutoHideDelay", -1},
        {"Balloon.ReshowDelay", -1},
        {"Balloon.Transparency", 0},
        {"ShowModified.Enabled", false},
        {"ShowModified.Color", 0x00FFFF},
        {"ProgressAppearance.CompleteColor", 0x0000FF},
        {"ProgressAppearance.UnCompleteColor", clNone},
        {"ProgressAppearance.CompleteFontColor", 0xFF0000},
        {"ProgressAppearance.UnCompleteFontColor", clWindowText},
        {"ProgressAppearance.Level0Color", 0x00FF00},
        {"ProgressAppearance.Level0ColorTo", 0xE1FFE1},
        {"ProgressAppearance.Level1Color", 0x00FFFF},
        {"ProgressAppearance.Level1ColorTo", 0xCAFFFF},
        {"ProgressAppearance.Level2Color", 0x53A9FF},
        {"ProgressAppearance.Level2ColorTo", 0xA8D3FF},
        {"ProgressAppearance.Level3Color", 0x0000FF},
        {"ProgressAppearance.Level3ColorTo", 0xCACAFF},
        {"ProgressAppearance.Level1Perc", 70},
        {"ProgressAppearance.Level2Perc", 90},
        {"ProgressAppearance.Steps", 11},
        {"ProgressAppearance.BorderColor", 0},
        {"ProgressAppearance.ShowBorder", false},
        {"ProgressAppearance.Stacked", false},
        {"ProgressAppearance.ShowPercentage", true},
        {"ProgressAppearance.CompletionSmooth", true},
        {"ProgressAppearance.ShowGradient", true},
        {"ProgressAppearance.Style", psXP},
        {"AutoColor.NegativeNumber.TextColor", clNone},
        {"AutoColor.NegativeNumber.BkgColor", clNone},
        {"AutoColor.PositiveNumber.TextColor", clNone},
        {"AutoColor.PositiveNumber.BkgColor", clNone},
        {"HoverButtons.Enabled", false},
        {"HoverButtons.Column", 0},
        {"HoverButtons.Position", hbLeftFromColumnLeft},
        {"HoverButtons.Rows", hrNormal},
    };
    for (const OrdinalDefault& row : table) {
        std::string path = row.property;
        TObject* instance = &host;
        std::size_t dot;
        while ((dot = path.find('.')) != std::string::npos) {
            instance = GetObjectProp(instance, String(path.begin(), path.begin() + static_cast<long>(dot)));
            path.erase(0, dot + 1);
        }
        const String name(path.begin(), path.end());
        EXPECT_EQ(GetOrdProp(instance, name), row.value) << row.property;
        const TPropInfo* info = GetPropInfo(instance, name);
        EXPECT_TRUE(info->hasDefault) << row.property;
        EXPECT_EQ(info->defaultValue, row.value) << row.property;
    }

    // What has no ordinal stream default.
    TPrintSettings* print = host.PrintSettings();
    EXPECT_EQ(print->PageNumSep(), u"/");
    EXPECT_EQ(print->DateFormat(), u"dd/mm/yyyy");
    EXPECT_TRUE(print->TitleText().empty());
    EXPECT_EQ(print->TitleLines()->Count(), 0);
    EXPECT_FALSE(print->FixedCellsAlways());
    for (TFont* font : {print->Font(), print->HeaderFont(), print->FooterFont(), print->FixedFont()}) {
        TFont platformDefault;
        EXPECT_EQ(font->Name(), platformDefault.Name());
        EXPECT_EQ(font->Size(), platformDefault.Size());
    }
    EXPECT_EQ(host.HTMLSettings()->ColWidths()->Count(), 0);
    EXPECT_TRUE(host.BackGround()->Bitmap()->Empty());
    EXPECT_EQ(host.HoverButtons()->Buttons()->Count(), 0);
    EXPECT_FALSE(host.AutoColor()->HasColors());

    TAdvStringGridCheck check(nullptr);
    for (const char* name : {"GotoCell", "AutoCorrect", "AutoMarkError", "UseCorrect", "UseMarkError"}) {
        const String property(name, name + std::char_traits<char>::length(name));
        EXPECT_EQ(GetOrdProp(&check, property), 0) << name;
        EXPECT_FALSE(GetPropInfo(&check, property)->hasDefault) << name;
    }

    THoverButtonsCollectionItem* button = host.HoverButtons()->Buttons()->Add();
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(button->Flat());
    EXPECT_EQ(button->ImageIndex(), 0);
    EXPECT_EQ(button->Width(), 0);
    EXPECT_EQ(button->Tag(), 0);
    EXPECT_TRUE(button->Caption().empty());
    EXPECT_TRUE(button->Picture()->Graphic() == nullptr);
}

// ---- Assign

// Gives every published ordinal and string property of a group a value other than its current one,
// through the setters, so that Assign can be checked property by property.
void SetEveryProperty(TPersistent* group) {
    for (const TPropInfo* info : group->ClassType()->Properties()) {
        if (info->setOrd != nullptr) {
            const Int64 current = info->getOrd(group);
            Int64 value = current + 3;
            if (info->type->kind == tkEnumeration)
                value = current == info->type->maxValue ? info->type->minValue : current + 1;
            else if (info->type->maxValue != 0 && value > info->type->maxValue)
                value = info->type->minValue;
            info->setOrd(group, value);
        } else if (info->setStr != nullptr) {
            info->setStr(group, info->getStr(group) + u"x");
        }
    }
}

// The names of the ordinal and string properties whose values differ between a and b.
std::set<std::string> DifferingProperties(TPersistent* a, TPersistent* b) {
    std::set<std::string> result;
    for (const TPropInfo* info : a->ClassType()->Properties()) {
        bool differs = false;
        if (info->getOrd != nullptr)
            differs = info->getOrd(a) != info->getOrd(b);
        else if (info->getStr != nullptr)
            differs = info->getStr(a) != info->getStr(b);
        if (differs) {
            std::string name;
            for (const Char* c = info->name; *c != 0; ++c)
                name += static_cast<char>(*c);
            result.insert(name);
        }
    }
    return result;
}

struct AssignCase {
    const char* group;
    std::set<std::string> notCopied;
};

TEST(AdvGridSettingsTest, AssignCopiesWhatEachGroupListsWithoutEvents) {
    const AssignCase cases[] = {
        {"ColumnSize", {"StretchAll"}},
        {"HTMLSettings", {"ExportImages"}},
        {"PrintSettings", {}},
        {"BackGround", {}},
        {"Grouping",
         {"HeaderLineColor", "HeaderLineWidth", "Summary", "SummaryLineColor", "SummaryLineWidth"}},
        {"DragDropSettings", {}},
        {"Balloon", {"Transparency"}},
        {"ShowModified", {}},
        {"ProgressAppearance", {}},
        {"HoverButtons", {}},
    };
    TSettingsHost source(nullptr), target(nullptr);
    int events = 0;
    const TNotifyEvent count = [&](TObject*) { ++events; };
    target.ColumnSize()->OnStretch = [&](TObject*, TColumnStretchRequest) { ++events; };
    target.BackGround()->OnChange = count;
    target.DragDropSettings()->OnOleDropTargetChange = count;
    target.Balloon()->OnEnableChange = count;
    target.ShowModified()->OnChange = count;
    target.AutoColor()->OnChange = count;
    int progressEvents = 0;
    target.ProgressAppearance()->OnChange = [&](TObject*) { ++progressEvents; };

    for (const AssignCase& c : cases) {
        TPersistent* from = GroupOf(source, c.group);
        TPersistent* to = GroupOf(target, c.group);
        SetEveryProperty(from);
        to->Assign(from);
        EXPECT_EQ(DifferingProperties(from, to), c.notCopied) << c.group;
    }
    EXPECT_EQ(events, 0);
    // Progress appearance tells its readers once for the whole copy.
    EXPECT_EQ(progressEvents, 1);

    // Owned objects travel by their own Assign; the print settings' unpublished flag stays put.
    source.PrintSettings()->TitleLines()->Add(u"Monthly log");
    source.PrintSettings()->Font()->SetName(u"Courier New");
    source.PrintSettings()->SetFixedCellsAlways(true);
    source.AutoColor()->NegativeNumber()->SetTextColor(clRed);
    source.HTMLSettings()->ColWidths()->Add(40);
    target.PrintSettings()->Assign(source.PrintSettings());
    target.AutoColor()->Assign(source.AutoColor());
    target.HTMLSettings()->Assign(source.HTMLSettings());
    EXPECT_EQ(target.PrintSettings()->TitleLines()->Text(), source.PrintSettings()->TitleLines()->Text());
    EXPECT_EQ(target.PrintSettings()->Font()->Name(), u"Courier New");
    EXPECT_FALSE(target.PrintSettings()->FixedCellsAlways());
    EXPECT_EQ(target.AutoColor()->NegativeNumber()->TextColor(), clRed);
    EXPECT_EQ(target.HTMLSettings()->ColWidths()->Count(), 0);
    EXPECT_EQ(events, 0);
}

TEST(AdvGridSettingsTest, AssignFromAnotherClassIsIgnoredButPrintSettingsRefuseIt) {
    TSettingsHost host(nullptr);
    host.ColumnSize()->SetKey(u"Grid");
    host.BackGround()->SetTop(5);
    TGrouping grouping;
    grouping.SetMergeHeader(true);
    for (const char* name : {"ColumnSize", "HTMLSettings", "BackGround", "Grouping", "DragDropSettings",
                             "Balloon", "ShowModified", "ProgressAppearance", "AutoColor", "HoverButtons"}) {
        TPersistent* group = GroupOf(host, name);
        TPersistent* other = group == host.Grouping() ? static_cast<TPersistent*>(host.Balloon())
                                                      : static_cast<TPersistent*>(&grouping);
        EXPECT_NO_THROW(group->Assign(other)) << name;
        EXPECT_NO_THROW(group->Assign(nullptr)) << name;
    }
    EXPECT_EQ(host.ColumnSize()->Key(), u"Grid");
    EXPECT_EQ(host.BackGround()->Top(), 5);
    EXPECT_FALSE(host.Grouping()->MergeHeader());

    host.PrintSettings()->SetJobName(u"Log");
    EXPECT_THROW(host.PrintSettings()->Assign(&grouping), EInvalidCast);
    EXPECT_THROW(host.PrintSettings()->Assign(nullptr), EInvalidCast);
    EXPECT_EQ(host.PrintSettings()->JobName(), u"Log");
}

TEST(AdvGridSettingsTest, HoverButtonsCopyEachButtonButNotItsImageIndex) {
    THoverButtons source(nullptr), target(nullptr);
    THoverButtonsCollectionItem* button = source.Buttons()->Add();
    button->SetCaption(u"Delete");
    button->SetHint(u"Delete the row");
    button->SetWidth(24);
    button->SetTag(7);
    button->SetImageIndex(3);
    TBitmap glyph;
    glyph.SetSize(4, 3);
    button->Picture()->SetGraphic(&glyph);
    target.Buttons()->Add()->SetImageIndex(5);
    target.Buttons()->Add();

    target.Assign(&source);
    ASSERT_EQ(target.Buttons()->Count(), 1);
    THoverButtonsCollectionItem* copy = target.Buttons()->Items(0);
    EXPECT_EQ(copy->Caption(), u"Delete");
    EXPECT_EQ(copy->Hint(), u"Delete the row");
    EXPECT_EQ(copy->Width(), 24);
    EXPECT_EQ(copy->Tag(), 7);
    ASSERT_NE(copy->Picture()->Graphic(), nullptr);
    EXPECT_NE(copy->Picture()->Graphic(), button->Picture()->Graphic());
    EXPECT_EQ(copy->Picture()->Width(), 4);
    EXPECT_EQ(copy->Picture()->Height(), 3);
    // The collection's copy replaces the buttons, so the copy has a new button's image index.
    EXPECT_EQ(copy->ImageIndex(), 0);

    // Copying one button into another leaves the target's image index as it was.
    copy->SetImageIndex(5);
    copy->Assign(button);
    EXPECT_EQ(copy->ImageIndex(), 5);
    EXPECT_EQ(copy->Caption(), u"Delete");
}

// ---- Change events

TEST(AdvGridSettingsTest, SettersFireTheirEventsAsEachGroupSays) {
    int events = 0;
    const TNotifyEvent count = [&](TObject*) { ++events; };
    struct Step {
        const char* what;
        std::function<void()> action;
        int expectedEvents;
    };

    TBackGround background(nullptr);
    background.OnChange = count;
    TShowModified modified;
    modified.OnChange = count;
    TBalloonSettings balloon;
    balloon.OnEnableChange = count;
    TGridProgressAppearance progress;
    progress.OnChange = count;
    TColorSetting colors;
    colors.OnChange = count;
    TAutoColor autoColor;
    autoColor.OnChange = count;
    TBitmap picture;
    picture.SetSize(2, 2);

    const Step steps[] = {
        // The background repaints on every write, changed or not.
        {"BackGround.Left unchanged", [&] { background.SetLeft(background.Left()); }, 1},
        {"BackGround.Display", [&] { background.SetDisplay(bdGradientVert); }, 1},
        {"BackGround.Bitmap", [&] { background.SetBitmap(&picture); }, 1},
        {"ShowModified.Color unchanged", [&] { modified.SetColor(modified.Color()); }, 1},
        {"ShowModified.Enabled", [&] { modified.SetEnabled(true); }, 0},
        {"Balloon.Enable", [&] { balloon.SetEnable(true); }, 1},
        {"Balloon.Enable unchanged", [&] { balloon.SetEnable(true); }, 0},
        {"Balloon.TextColor", [&] { balloon.SetTextColor(clRed); }, 0},
        {"Progress.Steps unchanged", [&] { progress.SetSteps(11); }, 0},
        {"Progress.Steps", [&] { progress.SetSteps(12); }, 1},
        {"Progress.Style", [&] { progress.SetStyle(psClassic); }, 1},
        {"ColorSetting.BkgColor", [&] { colors.SetBkgColor(clRed); }, 1},
        {"ColorSetting.BkgColor unchanged", [&] { colors.SetBkgColor(clRed); }, 0},
        {"AutoColor.NegativeNumber.TextColor", [&] { autoColor.NegativeNumber()->SetTextColor(clRed); }, 1},
        {"AutoColor.PositiveNumber.BkgColor", [&] { autoColor.PositiveNumber()->SetBkgColor(clLime); }, 1},
    };
    for (const Step& step : steps) {
        events = 0;
        step.action();
        EXPECT_EQ(events, step.expectedEvents) << step.what;
    }
    EXPECT_EQ(background.Bitmap()->Width(), 2);
    EXPECT_NE(background.Bitmap(), &picture);
    EXPECT_TRUE(autoColor.HasColors());
    autoColor.NegativeNumber()->SetTextColor(clNone);
    EXPECT_TRUE(autoColor.HasColors());
    autoColor.PositiveNumber()->SetBkgColor(clNone);
    EXPECT_FALSE(autoColor.HasColors());
}

TEST(AdvGridSettingsTest, ColumnSizeAsksTheGridToRestretch) {
    TWinControl parent(nullptr);
    TWinControl grid(nullptr);
    TColumnSize size(&grid);
    std::vector<TColumnStretchRequest> requests;
    size.OnStretch = [&](TObject* sender, TColumnStretchRequest request) {
        EXPECT_EQ(sender, &size);
        requests.push_back(request);
    };

    // Without a parent the grid has no width to stretch to.
    size.SetStretch(true);
    EXPECT_TRUE(size.Stretch());
    EXPECT_TRUE(requests.empty());
    grid.SetParent(&parent);
    size.SetStretch(true);
    EXPECT_EQ(requests, std::vector<TColumnStretchRequest>{TColumnStretchRequest::StretchColumn});

    requests.clear();
    size.SetStretchColumn(2);
    size.SetStretchAll(true);
    EXPECT_EQ(size.StretchColumn(), -1);
    EXPECT_EQ(requests, std::vector<TColumnStretchRequest>{TColumnStretchRequest::AllColumns});
    size.SetStretchAll(true);
    EXPECT_EQ(requests.size(), 1u);
    size.SetStretchColumn(3);
    size.SetStretchAll(false);
    EXPECT_EQ(size.StretchColumn(), 3);
    EXPECT_EQ(requests.size(), 2u);
    grid.SetParent(nullptr);
}

TEST(AdvGridSettingsTest, DropTargetSwitchReachesTheGridOnlyAtRunTime) {
    TComponent grid(nullptr);
    TDragDropSettings settings(&grid);
    std::vector<bool> seen;
    settings.OnOleDropTargetChange = [&](TObject* sender) {
        seen.push_back(static_cast<TDragDropSettings*>(sender)->OleDropTarget());
    };
    settings.SetOleDropTarget(true);
    settings.SetOleDropTarget(false);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));

    grid.SetDesigning(true);
    settings.SetOleDropTarget(true);
    EXPECT_TRUE(settings.OleDropTarget());
    EXPECT_EQ(seen.size(), 2u);

    // The rich-text switch is one for the whole program.
    settings.SetOleDropRTF(true);
    EXPECT_TRUE(RTFDropEnabled);
    TDragDropSettings other(nullptr);
    other.SetOleDropRTF(false);
    EXPECT_FALSE(RTFDropEnabled);
    EXPECT_TRUE(settings.OleDropRTF());
    // Assign copies the value only.
    other.Assign(&settings);
    EXPECT_TRUE(other.OleDropRTF());
    EXPECT_FALSE(RTFDropEnabled);
}

// ---- Streaming

std::string TextOf(TComponent* component) {
    TMemoryStream binary, text;
    WriteComponent(binary, component);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string result;
    for (char c : std::string(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size())))
        if (c != '\r')
            result += c;
    return result;
}

TEST(AdvGridSettingsStreamingTest, OnlyWhatDiffersFromTheDefaultsIsWritten) {
    TSettingsHost host(nullptr);
    host.SetName(u"Grid1");
    const std::string text = TextOf(&host);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (line.rfind("  ", 0) != 0)
            continue;
        line.erase(0, 2);
        // The fonts' own properties and the two print strings have no stream default; a collection
        // is always written, empty or not.
        const bool allowed = line.rfind("PrintSettings.Font.", 0) == 0 ||
                             line.rfind("PrintSettings.FixedFont.", 0) == 0 ||
                             line.rfind("PrintSettings.HeaderFont.", 0) == 0 ||
                             line.rfind("PrintSettings.FooterFont.", 0) == 0 ||
                             line == "PrintSettings.DateFormat = 'dd/mm/yyyy'" ||
                             line == "PrintSettings.PageNumSep = '/'" || line == "HoverButtons.Buttons = <>";
        EXPECT_TRUE(allowed) << line;
    }
}

TEST(AdvGridSettingsStreamingTest, SettingsRoundTripThroughTheComponentStream) {
    TSettingsHost host(nullptr);
    host.SetName(u"Grid1");
    host.ColumnSize()->SetStretchColumn(2);
    host.ColumnSize()->SetLocation(clIniFile);
    host.HTMLSettings()->SetSummary(u"Log of module 1");
    host.PrintSettings()->SetOrientation(poLandscape);
    host.PrintSettings()->TitleLines()->Add(u"Solar log");
    host.PrintSettings()->SetBorderColor(clRed);
    host.BackGround()->SetDisplay(bdGradientHorz);
    host.Grouping()->SetHeaderLineColor(clNone);
    host.DragDropSettings()->SetOleAcceptURLs(false);
    host.Balloon()->SetTransparency(200);
    host.ProgressAppearance()->SetStyle(psClassic);
    host.AutoColor()->NegativeNumber()->SetTextColor(clRed);
    THoverButtonsCollectionItem* button = host.HoverButtons()->Buttons()->Add();
    button->SetCaption(u"Edit");
    button->SetFlat(true);
    host.HoverButtons()->SetRows(hrAll);
    const std::string text = TextOf(&host);
    for (const char* expected :
         {"ColumnSize.StretchColumn = 2", "ColumnSize.Location = clIniFile",
          "HTMLSettings.Summary = 'Log of module 1'", "PrintSettings.Orientation = poLandscape",
          "PrintSettings.BorderColor = clRed", "BackGround.Display = bdGradientHorz",
          "Grouping.HeaderLineColor = clNone", "DragDropSettings.OleAcceptURLs = False",
          "Balloon.Transparency = 200", "ProgressAppearance.Style = psClassic",
          "AutoColor.NegativeNumber.TextColor = clRed", "HoverButtons.Rows = hrAll", "Caption = 'Edit'"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    TMemoryStream binary;
    WriteComponent(binary, &host);
    binary.SetPosition(0);
    TSettingsHost copy(nullptr);
    ReadComponent(binary, &copy);
    EXPECT_EQ(TextOf(&copy), text);
    EXPECT_EQ(copy.PrintSettings()->TitleLines()->Strings(0), u"Solar log");
    ASSERT_EQ(copy.HoverButtons()->Buttons()->Count(), 1);
    EXPECT_TRUE(copy.HoverButtons()->Buttons()->Items(0)->Flat());
    EXPECT_TRUE(copy.AutoColor()->HasColors());
}

// ---- Cell checker, row carrier and change notifiers

TEST(AdvGridSettingsTest, CheckerBaseChangesNothing) {
    TAdvStringGridCheck check(nullptr);
    const String marked = u"<hi>teh</hi> cat";
    EXPECT_EQ(check.Correct(1, 2, u"teh cat"), u"teh cat");
    EXPECT_EQ(check.MarkError(1, 2, marked), marked);
    EXPECT_EQ(check.Correct(0, 0, String()), String());
    EXPECT_NO_THROW(check.StartCheck());
    EXPECT_NO_THROW(check.StopCheck());
}

TEST(AdvGridSettingsTest, GridItemCopiesTheRowItIsGiven) {
    TCollection rows(TGridItem::StaticClass());
    auto* item = static_cast<TGridItem*>(rows.Add());
    TStringList row;
    TObject record;
    row.AddObject(u"12.5", &record);
    row.Add(u"13.0");
    item->SetItems(&row);
    item->SetIdx(4);
    item->SetHeight(22);
    item->SetLevel(1);
    row.Clear();
    ASSERT_EQ(item->Items()->Count(), 2);
    EXPECT_NE(item->Items(), &row);
    EXPECT_EQ(item->Items()->Strings(0), u"12.5");
    EXPECT_EQ(item->Items()->Objects(0), &record);
    EXPECT_EQ(item->Idx(), 4);
    EXPECT_EQ(item->Height(), 22);
    EXPECT_EQ(item->Level(), 1);
}

// A notifier that records the rectangles it is told of.
class TRecordingNotifier : public TGridChangeNotifier {
public:
    TRecordingNotifier(std::vector<std::pair<int, TRect>>& log, int id)
        : TGridChangeNotifier(nullptr), FLog(log), FId(id) {}
    void CellsChanged(const TRect& R) override {
        FLog.emplace_back(FId, R);
        if (OnChanged)
            OnChanged();
    }
    std::function<void()> OnChanged;

private:
    std::vector<std::pair<int, TRect>>& FLog;
    int FId;
};

TEST(AdvGridSettingsTest, NotifierListCallsInOrderAndDropsFreedNotifiers) {
    std::vector<std::pair<int, TRect>> log;
    TGridChangeNotifierList list;
    auto first = std::make_unique<TRecordingNotifier>(log, 1);
    auto second = std::make_unique<TRecordingNotifier>(log, 2);
    auto third = std::make_unique<TRecordingNotifier>(log, 3);
    list.Register(first.get());
    list.Register(second.get());
    list.Register(first.get());
    list.Register(nullptr);
    list.Register(third.get());
    EXPECT_EQ(list.Count(), 3);

    TRect cells;
    cells.Left = 1;
    cells.Top = 2;
    cells.Right = 3;
    cells.Bottom = 4;
    list.NotifyAll(cells);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].first, 1);
    EXPECT_EQ(log[1].first, 2);
    EXPECT_EQ(log[2].first, 3);
    EXPECT_EQ(log[0].second.Right, 3);

    // A freed notifier leaves the list and is never called.
    log.clear();
    second.reset();
    EXPECT_EQ(list.Count(), 2);
    list.NotifyAll(cells);
    EXPECT_EQ(log.size(), 2u);

    // One that frees another while it is told: the freed one is skipped.
    log.clear();
    first->OnChanged = [&] { third.reset(); };
    list.NotifyAll(cells);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, 1);

    list.UnRegister(first.get());
    list.UnRegister(first.get());
    EXPECT_EQ(list.Count(), 0);
    log.clear();
    list.NotifyAll(cells);
    EXPECT_TRUE(log.empty());
}

TEST(AdvGridSettingsTest, NotifierOutlivingItsListFreesCleanly) {
    std::vector<std::pair<int, TRect>> log;
    auto notifier = std::make_unique<TRecordingNotifier>(log, 1);
    {
        TGridChangeNotifierList list;
        list.Register(notifier.get());
    }
    notifier.reset();
    EXPECT_TRUE(log.empty());
}

TEST(AdvGridSettingsTest, HeaderDragButtonIsABorderedPopupThatSavesTheScreenUnderIt) {
    THeaderDragButton button(nullptr);
    button.SetCaption(u"Voltage");
    button.SetBounds(0, 0, 60, 20);
    const HWND handle = button.Handle();
    ASSERT_NE(handle, nullptr);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CHILD), WS_POPUP | WS_BORDER);
    EXPECT_NE(GetClassLongPtrW(handle, GCL_STYLE) & CS_SAVEBITS, 0u);
    EXPECT_EQ(button.Color(), clBtnFace);
}

} // namespace
