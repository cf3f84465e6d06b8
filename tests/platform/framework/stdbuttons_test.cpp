// Buttons, check boxes, radio buttons, group boxes and labels: clicks by mouse and keys, Enter and Escape
// on a modal form, check states and radio groups, accelerators and the labels' sizes.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Application.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/wininput.h"

// A form whose handler a description binds.
class TClickForm : public TForm {
    DECLARE_CLASS(TClickForm, TForm)

public:
    TClickForm(TComponent* owner, Integer dummy) : TForm(owner, dummy) {}
    void BoxClick(TObject*) { ++clicks; }
    int clicks = 0;
};

DEFINE_CLASS(TClickForm, METHOD(BoxClick))

namespace {

class StdButtons : public ControlsTest {
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

    template <class T> T* Add(const char16_t* name, int left, int top, TWinControl* parent = nullptr) {
        auto* control = new T(FForm);
        control->SetName(name);
        control->SetLeft(left);
        control->SetTop(top);
        control->SetParent(parent != nullptr ? parent : FForm);
        return control;
    }
    void ShowForm() {
        FForm->Show();
        Pump();
    }
    // Clicks the middle of a windowed control.
    static void ClickOn(TWinControl* control) {
        TPoint centre = control->ClientToScreen(TPoint(control->Width() / 2, control->Height() / 2));
        win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
        Pump();
    }
    static void LogClicks(TControl* control) {
        control->OnClick = [](TObject* sender) {
            ControlsLog().push_back(StringToUtf8(static_cast<TComponent*>(sender)->Name()) + " Click");
        };
    }
    static void PressAlt(int key) {
        win32::input::Key(VK_MENU, true);
        win32::input::PressKey(key);
        win32::input::Key(VK_MENU, false);
        Pump();
    }

    TForm* FForm = nullptr;
};

TEST_F(StdButtons, ButtonIsAPushButtonWindowAndClicksOnMouseAndSpace) {
    auto* button = Add<TButton>(u"Go", 10, 10);
    button->SetCaption(u"&Go");
    LogClicks(button);
    ShowForm();
    char16_t className[16]{};
    GetClassNameW(button->Handle(), className, 16);
    EXPECT_EQ(String(className), u"TButton");
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(button->Height(), 25);
    EXPECT_TRUE(button->TabStop());
    // The focused button is the one Enter clicks, and it looks like the default one.
    EXPECT_EQ(GetWindowLongW(button->Handle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_DEFPUSHBUTTON));
    ClickOn(button);
    EXPECT_EQ(ControlsLog().size(), 1u) << "mouse";
    button->SetFocus();
    Pump();
    win32::input::PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(ControlsLog().size(), 2u) << "space";
    PressAlt('G');
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Go Click", "Go Click", "Go Click"})) << "accelerator";
}

TEST_F(StdButtons, MouseEventsSurroundTheClickAsTheWindowClassSeesTheButtonsFirst) {
    auto* button = Add<TButton>(u"Go", 10, 10);
    auto* box = Add<TCheckBox>(u"Box", 10, 50);
    for (TButtonControl* control : std::initializer_list<TButtonControl*>{button, box}) {
        LogClicks(control);
        control->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {
            ControlsLog().push_back("MouseDown");
        };
        control->OnMouseUp = [](TObject*, TMouseButton, TShiftState, int, int) {
            ControlsLog().push_back("MouseUp");
        };
    }
    ShowForm();
    ClickOn(button);
    ClickOn(box);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"MouseDown", "Go Click", "MouseUp", "MouseDown",
                                                       "Box Click", "MouseUp"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StdButtons, EnterAndEscapeEndAModalFormThroughTheButtons) {
    struct Case {
        const char* name;
        int key;
        bool focusPlain; // the focus is on a third, plain button
        TModalResult expected;
        const char* clicked;
    };
    for (const Case& c : {Case{"Enter clicks the default", VK_RETURN, false, mrOk, "Ok Click"},
                          Case{"Escape clicks the cancel", VK_ESCAPE, false, mrCancel, "Cancel Click"},
                          Case{"Enter clicks a focused button", VK_RETURN, true, mrRetry, "Retry Click"},
                          Case{"Escape still cancels", VK_ESCAPE, true, mrCancel, "Cancel Click"}}) {
        SCOPED_TRACE(c.name);
        auto* dialog = new TForm(nullptr, 0);
        auto make = [dialog](const char16_t* name, int left, TModalResult result) {
            auto* button = new TButton(dialog);
            button->SetName(name);
            button->SetLeft(left);
            button->SetModalResult(result);
            button->SetParent(dialog);
            LogClicks(button);
            return button;
        };
        TButton* ok = make(u"Ok", 10, mrOk);
        ok->SetDefault(true);
        TButton* cancel = make(u"Cancel", 100, mrCancel);
        cancel->SetCancel(true);
        TButton* retry = make(u"Retry", 200, mrRetry);
        ControlsLog().clear();
        int idle = 0;
        bool defaultLook = false;
        Application->OnIdle = [&](TObject*, bool& done) {
            if (idle++ == 0) {
                if (c.focusPlain)
                    retry->SetFocus();
                TButton* active = c.focusPlain ? retry : ok;
                defaultLook = (GetWindowLongW(active->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
                win32::input::PressKey(c.key);
            }
            done = true;
        };
        EXPECT_EQ(dialog->ShowModal(), c.expected);
        Application->OnIdle = nullptr;
        EXPECT_TRUE(defaultLook) << "the button Enter clicks looks like the default one";
        EXPECT_EQ(ControlsLog(), (std::vector<std::string>{c.clicked}));
        dialog->Free();
    }
}

TEST_F(StdButtons, CheckBoxClicksWalkTheStates) {
    struct Case {
        const char* name;
        bool allowGrayed;
        std::vector<TCheckBoxState> states;
    };
    for (const Case& c : {Case{"two states", false, {cbChecked, cbUnchecked, cbChecked}},
                          Case{"three states", true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}}}) {
        SCOPED_TRACE(c.name);
        auto* box = Add<TCheckBox>(u"Box", 10, c.allowGrayed ? 40 : 10);
        box->SetAllowGrayed(c.allowGrayed);
        LogClicks(box);
        ShowForm();
        ControlsLog().clear();
        for (TCheckBoxState expected : c.states) {
            ClickOn(box);
            EXPECT_EQ(box->State(), expected);
            EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected));
        }
        EXPECT_EQ(ControlsLog().size(), c.states.size()) << "one OnClick a click";
        box->Free();
    }
}

TEST_F(StdButtons, CheckBoxKeysAndCodeChangeTheState) {
    auto* box = Add<TCheckBox>(u"Box", 10, 10);
    box->SetCaption(u"&Show");
    box->SetChecked(true); // before the window exists: the window starts checked
    LogClicks(box);
    ShowForm();
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetFocus();
    Pump();
    win32::input::PressKey(VK_SPACE);
    Pump();
    EXPECT_FALSE(box->Checked());
    PressAlt('S');
    EXPECT_TRUE(box->Checked());
    // Setting the state in code clicks too; setting it to what it is does not.
    box->SetState(cbGrayed);
    box->SetState(cbGrayed);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Box Click", "Box Click", "Box Click"}));
    // The box is on the left of the caption unless the alignment says otherwise.
    EXPECT_EQ(GetWindowLongW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
    box->SetAlignment(taLeftJustify);
    EXPECT_NE(GetWindowLongW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
    EXPECT_EQ(box->State(), cbGrayed) << "recreating the window keeps the state";
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(StdButtons, RadioButtonsAreAGroupPerParent) {
    auto* group = Add<TGroupBox>(u"Group", 10, 10);
    auto* a = Add<TRadioButton>(u"A", 10, 20, group);
    auto* b = Add<TRadioButton>(u"B", 10, 40, group);
    auto* c = Add<TRadioButton>(u"C", 10, 60, group);
    auto* other = Add<TRadioButton>(u"Other", 10, 200);
    other->SetChecked(true);
    for (TRadioButton* radio : {a, b, c})
        LogClicks(radio);
    ShowForm();
    ControlsLog().clear();

    ClickOn(b);
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another parent is another group";
    a->SetChecked(true);
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Only the checked one is a tab stop.
    EXPECT_TRUE(a->TabStop());
    EXPECT_FALSE(b->TabStop());
    EXPECT_FALSE(c->TabStop());

    // The arrows move the focus through the group, and the check goes with it.
    a->SetFocus();
    Pump();
    win32::input::PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(FocusName(), "B");
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"B Click", "A Click", "B Click"}));
    // Unchecking in code does not click.
    b->SetChecked(false);
    EXPECT_EQ(ControlsLog().size(), 3u);
}

TEST_F(StdButtons, GroupBoxHoldsItsChildrenBelowTheCaptionAndPassesItsAccelerator) {
    auto* group = Add<TGroupBox>(u"Group", 10, 10);
    group->SetCaption(u"&Port");
    auto* first = Add<TCheckBox>(u"First", 0, 0, group);
    first->SetAlign(alTop);
    ShowForm();
    // The caption's line and the frame are not client space for aligned children.
    EXPECT_GT(first->Top(), 2);
    EXPECT_GT(first->Left(), 0);
    EXPECT_LT(first->Width(), group->Width());
    PressAlt('P');
    EXPECT_EQ(FocusName(), "First");
}

TEST_F(StdButtons, LabelSizesToItsTextAndKeepsTheRightEdgeWhenRightJustified) {
    auto* label = new TLabel(FForm);
    label->SetParent(FForm);
    label->SetBounds(100, 10, 200, 50);
    label->SetCaption(u"Port");
    int oneWord = label->Width();
    EXPECT_GT(oneWord, 0);
    EXPECT_LT(oneWord, 200);
    EXPECT_GT(label->Height(), 0);
    label->SetCaption(u"Port and speed");
    EXPECT_GT(label->Width(), oneWord);
    int right = label->Left() + label->Width();
    label->SetAlignment(taRightJustify);
    label->SetCaption(u"Port");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_EQ(label->Width(), oneWord);
    // An empty caption keeps the height of a line.
    label->SetCaption(u"");
    EXPECT_GT(label->Height(), 0);
    // Without AutoSize the bounds stay as set.
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 30, 40);
    label->SetCaption(u"A longer caption");
    EXPECT_EQ(label->BoundsRect(), Bounds(0, 0, 30, 40));
}

TEST_F(StdButtons, WordWrappedLabelKeepsItsWidthAndGrowsDown) {
    auto* label = new TLabel(FForm);
    label->SetParent(FForm);
    label->SetCaption(u"one");
    int lineHeight = label->Height();
    label->SetWordWrap(true);
    label->SetWidth(40);
    label->SetCaption(u"one two three four five six");
    EXPECT_LE(label->Width(), 40);
    EXPECT_GE(label->Height(), 3 * lineHeight);
}

TEST_F(StdButtons, LabelAcceleratorFocusesItsControlUntilThatIsFreed) {
    auto* label = new TLabel(FForm);
    label->SetParent(FForm);
    label->SetCaption(u"&Name");
    auto* box = Add<TCheckBox>(u"Box", 10, 50);
    auto* other = Add<TCheckBox>(u"Other", 10, 80);
    label->SetFocusControl(box);
    ShowForm();
    other->SetFocus();
    Pump();
    PressAlt('N');
    EXPECT_EQ(FocusName(), "Box");
    EXPECT_FALSE(box->Checked()) << "the label only focuses";
    // With ShowAccelChar off the '&' is text, not an accelerator.
    other->SetFocus();
    Pump();
    label->SetShowAccelChar(false);
    PressAlt('N');
    EXPECT_EQ(FocusName(), "Other");
    box->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    label->SetShowAccelChar(true);
    PressAlt('N');
    EXPECT_EQ(FocusName(), "Other");
}

TEST_F(StdButtons, StaticTextIsAStaticWindowSizedToItsText) {
    auto* text = Add<TStaticText>(u"Text", 10, 10);
    text->SetCaption(u"Speed");
    ShowForm();
    LONG style = GetWindowLongW(text->Handle(), GWL_STYLE);
    EXPECT_NE(style & SS_NOTIFY, 0);
    EXPECT_EQ(style & SS_TYPEMASK, static_cast<LONG>(SS_LEFT));
    char16_t buffer[16]{};
    GetWindowTextW(text->Handle(), buffer, 16);
    EXPECT_EQ(String(buffer), u"Speed");
    int width = text->Width();
    text->SetCaption(u"Speed and parity");
    EXPECT_GT(text->Width(), width);
    text->SetBorderStyle(sbsSingle);
    EXPECT_NE(GetWindowLongW(text->Handle(), GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(text->ClientWidth() + 2, text->Width());
}

TEST_F(StdButtons, StaticTextAndCheckBoxDrawOnTheirOwnColour) {
    auto* text = Add<TStaticText>(u"Text", 10, 10);
    text->SetCaption(u"Speed");
    text->SetColor(clYellow);
    auto* box = Add<TCheckBox>(u"Box", 10, 40);
    box->SetCaption(u"Echo");
    box->SetColor(clAqua);
    ShowForm();
    auto pixel = [](TWinControl* control, int x, int y) {
        HDC dc = GetDC(control->Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(control->Handle(), dc);
        return color;
    };
    EXPECT_EQ(pixel(text, text->ClientWidth() - 1, text->ClientHeight() - 1), ColorToRGB(clYellow));
    EXPECT_EQ(pixel(box, box->ClientWidth() - 1, box->ClientHeight() - 1), ColorToRGB(clAqua));
}

TEST_F(StdButtons, LabelFillsUnlessTransparentAndPlacesItsTextByLayout) {
    FForm->SetColor(clWhite);
    auto* label = new TLabel(FForm);
    label->SetParent(FForm);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 80, 60);
    label->SetCaption(u"Mg");
    label->SetColor(clYellow);
    label->Font()->SetColor(clBlack);
    ShowForm();
    auto pixel = [this](int x, int y) {
        HDC dc = GetDC(FForm->Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(FForm->Handle(), dc);
        return color;
    };
    // The rows of the label (in form coordinates) that hold ink.
    auto inkRows = [this] {
        std::vector<int> rows;
        HDC dc = GetDC(FForm->Handle());
        for (int y = 10; y < 70; ++y)
            for (int x = 10; x < 90; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                if (c != ColorToRGB(clYellow) && c != ColorToRGB(clWhite)) {
                    rows.push_back(y);
                    break;
                }
            }
        ReleaseDC(FForm->Handle(), dc);
        return rows;
    };
    EXPECT_EQ(pixel(85, 65), ColorToRGB(clYellow));
    std::vector<int> top = inkRows();
    ASSERT_FALSE(top.empty());
    EXPECT_LT(top.back(), 40);
    label->SetLayout(tlBottom);
    Pump();
    std::vector<int> bottom = inkRows();
    ASSERT_FALSE(bottom.empty());
    EXPECT_GT(bottom.front(), 40);
    EXPECT_GE(bottom.back(), 65) << "the text ends at the label's bottom";
    label->SetTransparent(true);
    Pump();
    EXPECT_EQ(pixel(85, 65), ColorToRGB(clWhite));
    EXPECT_FALSE(inkRows().empty());
}

TEST_F(StdButtons, DescriptionsCarryOnlyTheValuesThatDifferFromTheDefaults) {
    RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                     TGroupBox::StaticClass(), TLabel::StaticClass(), TStaticText::StaticClass(),
                     TPanel::StaticClass()});
    FForm->SetName(u"Dialog");
    auto* ok = Add<TButton>(u"Ok", 10, 10);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* plain = Add<TButton>(u"Plain", 10, 40);
    auto* box = Add<TCheckBox>(u"Box", 10, 70);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    auto* label = Add<TLabel>(u"Caption1", 10, 100);
    label->SetFocusControl(box);
    label->SetLayout(tlCenter);
    auto* panel = Add<TPanel>(u"Panel1", 10, 130);
    panel->SetBevelOuter(bvLowered);

    TMemoryStream binary, text;
    WriteComponent(binary, FForm);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string written(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
    for (const char* expected :
         {"Default = True", "ModalResult = 1", "AllowGrayed = True", "State = cbGrayed", "FocusControl = Box",
          "Layout = tlCenter", "BevelOuter = bvLowered"})
        EXPECT_NE(written.find(expected), std::string::npos) << expected << " in\n" << written;
    for (const char* absent : {"Cancel", "Checked", "TabStop", "BevelInner", "Alignment", "AutoSize"})
        EXPECT_EQ(written.find(absent), std::string::npos) << absent << " in\n" << written;
    (void)plain;

    auto* copy = new TForm(nullptr, 0);
    binary.SetPosition(0);
    ReadComponent(binary, copy);
    auto* okCopy = static_cast<TButton*>(copy->FindComponent(u"Ok"));
    auto* boxCopy = static_cast<TCheckBox*>(copy->FindComponent(u"Box"));
    auto* labelCopy = static_cast<TLabel*>(copy->FindComponent(u"Caption1"));
    ASSERT_NE(okCopy, nullptr);
    ASSERT_NE(boxCopy, nullptr);
    ASSERT_NE(labelCopy, nullptr);
    EXPECT_TRUE(okCopy->Default());
    EXPECT_EQ(okCopy->ModalResult(), mrOk);
    EXPECT_EQ(boxCopy->State(), cbGrayed);
    EXPECT_EQ(labelCopy->FocusControl(), boxCopy);
    EXPECT_EQ(static_cast<TPanel*>(copy->FindComponent(u"Panel1"))->BevelOuter(), bvLowered);
    copy->Free();
}

TEST_F(StdButtons, ReadingCheckedStatesFromADescriptionDoesNotClick) {
    RegisterClasses({TCheckBox::StaticClass(), TRadioButton::StaticClass()});
    const std::string text =
        "object Dialog: TClickForm\n"
        "  object Box: TCheckBox\n    OnClick = BoxClick\n    State = cbChecked\n  end\n"
        "  object Radio: TRadioButton\n    OnClick = BoxClick\n    Checked = True\n  end\n"
        "end\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    auto* form = new TClickForm(nullptr, 0);
    ReadComponent(binary, form);
    auto* box = static_cast<TCheckBox*>(form->FindComponent(u"Box"));
    auto* radio = static_cast<TRadioButton*>(form->FindComponent(u"Radio"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(radio, nullptr);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(form->clicks, 0);
    box->SetChecked(false);
    EXPECT_EQ(form->clicks, 1) << "the handler is bound and fires once loading is over";
    form->Free();
}

} // namespace
