// Where forms go (the default positions and sizes), scroll boxes (ranges from their children, scrolling
// by position, by the bars, into view and to the focused control), frames placed on a form, and form
// descriptions naming the framework's own classes.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Application.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/framework/StdCtrls.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"

namespace {

using FormsLayout = ControlsTest;

TEST_F(FormsLayout, DefaultPositionsCascadeAndDefaultSizesTakeMostOfTheWorkArea) {
    TRect area = Screen()->WorkAreaRect();
    TPoint defaultSize(area.Width() * 3 / 4, area.Height() * 3 / 4);
    struct Case {
        const char* name;
        TPosition position;
        TFormBorderStyle border;
        bool defaultPos;
        bool defaultSize;
    };
    for (const Case& c : {Case{"default", poDefault, bsSizeable, true, true},
                          Case{"position only", poDefaultPosOnly, bsSizeable, true, false},
                          Case{"size only", poDefaultSizeOnly, bsSizeable, false, true},
                          Case{"default, fixed frame", poDefault, bsSingle, true, false},
                          Case{"designed", poDesigned, bsSizeable, false, false}}) {
        SCOPED_TRACE(c.name);
        TForm* forms[2];
        for (TForm*& form : forms) {
            form = new TForm(nullptr, 0);
            form->SetBorderStyle(c.border);
            form->SetBounds(7, 9, 210, 110);
            form->SetPosition(c.position);
            form->Show();
        }
        for (TForm* form : forms) {
            if (c.defaultPos) {
                EXPECT_GE(form->Left(), area.Left);
                EXPECT_GE(form->Top(), area.Top);
            } else {
                EXPECT_EQ(TPoint(form->Left(), form->Top()), TPoint(7, 9));
            }
            EXPECT_EQ(TPoint(form->Width(), form->Height()), c.defaultSize ? defaultSize : TPoint(210, 110));
        }
        // Each form made with a default position comes down and right of the one before.
        if (c.defaultPos) {
            EXPECT_EQ(forms[1]->Left() - forms[0]->Left(), 26);
            EXPECT_EQ(forms[1]->Top() - forms[0]->Top(), 26);
        }
        forms[0]->Free();
        forms[1]->Free();
    }
}

TEST_F(FormsLayout, MainFormCenterWithoutAMainFormCentresOnTheWorkArea) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poMainFormCenter);
    form->Show();
    TRect area = Screen()->WorkAreaRect();
    EXPECT_EQ(form->Left(), area.Left + (area.Width() - 200) / 2);
    EXPECT_EQ(form->Top(), area.Top + (area.Height() - 100) / 2);
}

class ScrollBoxTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 300);
        box = new TScrollBox(form);
        box->SetBorderStyle(bsNone);
        box->SetBounds(0, 0, 200, 100);
        box->SetParent(form);
        far = new TCtlPanel(form);
        far->SetBounds(150, 250, 100, 50);
        far->SetParent(box);
        mark = new TCtlShape(form);
        mark->SetBounds(10, 10, 10, 10);
        mark->SetParent(box);
        form->Show();
        Pump();
    }
    bool BarShown(DWORD bar) { return (GetWindowLongW(box->Handle(), GWL_STYLE) & bar) != 0; }

    TForm* form = nullptr;
    TScrollBox* box = nullptr;
    TCtlPanel* far = nullptr;
    TCtlShape* mark = nullptr;
};

TEST_F(ScrollBoxTest, TheRangesReachTheFurthestChildAndTheBarsShowWhenNeeded) {
    EXPECT_EQ(box->HorzScrollBar()->Range(), 250);
    EXPECT_EQ(box->VertScrollBar()->Range(), 300);
    EXPECT_TRUE(BarShown(WS_HSCROLL));
    EXPECT_TRUE(BarShown(WS_VSCROLL));
    EXPECT_EQ(box->ClientWidth(), 200 - GetSystemMetrics(SM_CXVSCROLL));

    // Moving the far child in makes the bars go; a margin counts beyond it.
    far->SetBounds(50, 20, 100, 50);
    EXPECT_EQ(box->VertScrollBar()->Range(), 70);
    EXPECT_FALSE(BarShown(WS_HSCROLL));
    EXPECT_FALSE(BarShown(WS_VSCROLL));
    box->VertScrollBar()->SetMargin(40);
    EXPECT_EQ(box->VertScrollBar()->Range(), 110);
    EXPECT_TRUE(BarShown(WS_VSCROLL));

    // A range set by hand turns AutoScroll off and stays.
    box->HorzScrollBar()->SetRange(1000);
    EXPECT_FALSE(box->AutoScroll());
    far->SetLeft(0);
    EXPECT_EQ(box->HorzScrollBar()->Range(), 1000);
    EXPECT_TRUE(BarShown(WS_HSCROLL));
}

TEST_F(ScrollBoxTest, ScrollingMovesTheChildrenAndStaysInRange) {
    int clientHeight = box->ClientHeight();
    box->VertScrollBar()->SetPosition(30);
    EXPECT_EQ(far->Top(), 220);
    EXPECT_EQ(mark->Top(), -20);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 30);
    // The position stops where the end of the range meets the end of the client area.
    box->VertScrollBar()->SetPosition(10000);
    EXPECT_EQ(box->VertScrollBar()->Position(), 300 - clientHeight);
    EXPECT_EQ(far->Top() + far->Height(), clientHeight);
    box->VertScrollBar()->SetPosition(-5);
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(far->Top(), 250);

    // The bars: arrows step by Increment, pages by the client size, the thumb only when let go unless
    // Tracking.
    struct Step {
        const char* name;
        WORD code;
        WORD thumb;
        bool tracking;
        int position;
    };
    box->HorzScrollBar()->SetRange(1000);
    box->HorzScrollBar()->SetIncrement(7);
    for (const Step& s :
         {Step{"line down", SB_LINEDOWN, 0, false, 7}, Step{"line up", SB_LINEUP, 0, false, 0},
          Step{"page down", SB_PAGEDOWN, 0, false, box->ClientWidth()},
          Step{"track without tracking", SB_THUMBTRACK, 5, false, box->ClientWidth()},
          Step{"track with tracking", SB_THUMBTRACK, 5, true, 5},
          Step{"thumb let go", SB_THUMBPOSITION, 12, false, 12}, Step{"top", SB_TOP, 0, false, 0},
          Step{"bottom", SB_BOTTOM, 0, false, 1000 - box->ClientWidth()}}) {
        SCOPED_TRACE(s.name);
        box->HorzScrollBar()->SetTracking(s.tracking);
        SendMessageW(box->Handle(), WM_HSCROLL, MAKEWPARAM(s.code, s.thumb), 0);
        EXPECT_EQ(box->HorzScrollBar()->Position(), s.position);
        EXPECT_EQ(far->Left(), 150 - s.position);
    }
}

TEST_F(ScrollBoxTest, ScrollInViewScrollsAsLittleAsNeeded) {
    int clientHeight = box->ClientHeight();
    box->ScrollInView(far);
    // The far child's bottom edge comes to the bottom of the client area.
    EXPECT_EQ(box->VertScrollBar()->Position(), 300 - clientHeight);
    EXPECT_EQ(far->Top() + far->Height(), clientHeight);
    EXPECT_EQ(far->Left() + far->Width(), box->ClientWidth());
    // Back to the mark: its top edge comes to the top.
    box->ScrollInView(mark);
    EXPECT_EQ(TPoint(mark->Left(), mark->Top()), TPoint(0, 0));
    // A control already in view does not scroll.
    int position = box->VertScrollBar()->Position();
    box->ScrollInView(mark);
    EXPECT_EQ(box->VertScrollBar()->Position(), position);
    // Only controls inside the box count.
    box->ScrollInView(form);
    EXPECT_EQ(box->VertScrollBar()->Position(), position);
}

// With AutoScroll, a control taking the focus anywhere inside the box is scrolled into view; a box whose
// ranges were set by hand leaves its position alone.
TEST_F(ScrollBoxTest, TheFocusedControlIsScrolledIntoView) {
    auto* deep = new TEdit(form);
    deep->SetBounds(10, 10, 60, 20); // at (160, 260) in the box's extent, inside the far panel
    deep->SetParent(far);
    auto* near = new TEdit(form);
    near->SetBounds(30, 20, 60, 20);
    near->SetParent(box);
    Pump();
    auto shown = [&](TControl* control) {
        TPoint p = box->ScreenToClient(control->ClientToScreen(TPoint(0, 0)));
        // The control's client area is what is brought into view, as ScrollInView does.
        return p.X >= 0 && p.Y >= 0 && p.X + control->ClientWidth() <= box->ClientWidth() &&
               p.Y + control->ClientHeight() <= box->ClientHeight();
    };
    ASSERT_FALSE(shown(deep));
    deep->SetFocus();
    Pump();
    EXPECT_TRUE(shown(deep));
    EXPECT_GT(box->VertScrollBar()->Position(), 0);
    near->SetFocus();
    Pump();
    EXPECT_TRUE(shown(near));

    box->VertScrollBar()->SetRange(300);
    box->HorzScrollBar()->SetRange(250);
    ASSERT_FALSE(box->AutoScroll());
    int horz = box->HorzScrollBar()->Position();
    int vert = box->VertScrollBar()->Position();
    deep->SetFocus();
    Pump();
    EXPECT_EQ(box->HorzScrollBar()->Position(), horz);
    EXPECT_EQ(box->VertScrollBar()->Position(), vert);
}

// A form naming the framework's classes loads without the program registering any of them.
TEST_F(FormsLayout, FormDescriptionsFindTheFrameworkClasses) {
    std::string text = "object F: TForm\n"
                       "  object Box: TScrollBox\n"
                       "    Width = 150\n"
                       "    HorzScrollBar.Increment = 3\n"
                       "    object Panel: TPanel\n"
                       "      object Edit: TEdit\n"
                       "        Text = 'x'\n"
                       "      end\n"
                       "    end\n"
                       "  end\n"
                       "  object Memo: TMemo\n  end\n"
                       "  object Button: TButton\n  end\n"
                       "  object Label: TLabel\n  end\n"
                       "  object Lines: TListBox\n  end\n"
                       "  object Timer: TTimer\n  end\n"
                       "end\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    auto* form = new TForm(nullptr, 0);
    ReadComponent(binary, form);
    auto* box = dynamic_cast<TScrollBox*>(form->FindComponent(u"Box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->HorzScrollBar()->Increment(), 3);
    auto* edit = dynamic_cast<TEdit*>(form->FindComponent(u"Edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Parent(), form->FindComponent(u"Panel"));
    for (const char16_t* name : {u"Memo", u"Button", u"Label", u"Lines", u"Timer"})
        EXPECT_NE(form->FindComponent(name), nullptr);
}

// A frame read from its own description (forms/FrameForms.form) and placed twice on a form
// (forms/FrameHost.form), once with changes of its own.
class TLayoutFrame : public TFrame {
    DECLARE_CLASS(TLayoutFrame, TFrame)

public:
    using TFrame::TFrame;
    TLabel* FrameTitle = nullptr;
    TEdit* FrameEdit = nullptr;
};

class TFrameHostForm : public TForm {
    DECLARE_CLASS(TFrameHostForm, TForm)

public:
    using TForm::TForm;
    TLayoutFrame* Frame1 = nullptr;
    TLayoutFrame* Frame2 = nullptr;
};

DEFINE_CLASS(TLayoutFrame, FIELD(FrameTitle), FIELD(FrameEdit))
DEFINE_CLASS(TFrameHostForm, FIELD(Frame1), FIELD(Frame2))

TEST_F(FormsLayout, AFrameBringsItsOwnControlsAndTheFormItsChanges) {
    RegisterClasses({TLayoutFrame::StaticClass(), TFrameHostForm::StaticClass()});
    auto* form = CreateInstance<TFrameHostForm>(nullptr);
    ASSERT_NE(form->Frame1, nullptr);
    ASSERT_NE(form->Frame2, nullptr);
    for (TLayoutFrame* frame : {form->Frame1, form->Frame2}) {
        SCOPED_TRACE(StringToUtf8(frame->Name()));
        EXPECT_EQ(frame->Parent(), form);
        // Each frame has its own controls, owned by the frame and found through its fields.
        ASSERT_NE(frame->FrameEdit, nullptr);
        EXPECT_EQ(frame->FrameEdit->Owner(), frame);
        EXPECT_EQ(frame->FrameEdit->Parent(), frame);
        EXPECT_EQ(StringToUtf8(frame->FrameTitle->Caption()), "Title");
        EXPECT_EQ(frame->Height(), 60);
    }
    EXPECT_NE(form->Frame1->FrameEdit, form->Frame2->FrameEdit);
    EXPECT_EQ(form->Frame1->BoundsRect(), Rect(10, 20, 160, 80));
    EXPECT_EQ(form->Frame2->BoundsRect(), Rect(10, 100, 130, 160));
    EXPECT_EQ(StringToUtf8(form->Frame1->FrameEdit->Text()), "placed");
    EXPECT_EQ(StringToUtf8(form->Frame2->FrameEdit->Text()), "framed");
}

} // namespace
