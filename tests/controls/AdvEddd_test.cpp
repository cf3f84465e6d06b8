// The typed edit's OLE drag and drop: whole gestures queued through the window manager's input before
// the drag loop reads them, the drop target's handling of dropped text, and the source's data object
// and format enumerator as a consumer sees them.
#include "controls/AdvEddd.h"

#include <vector>

#include "controls/AdvEdit.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/controls/ControlsTesting.h"

using namespace AdvEddd;

namespace {

class AdvEdddTest : public StyledControlsTest {
protected:
    TAdvEdit* AddEdit(int top, const String& text) {
        auto* edit = Add<TAdvEdit>(10, top, 200, 24);
        edit->SetText(text);
        edit->SetOleDropSource(true);
        edit->SetOleDropTarget(true);
        return edit;
    }
    // A client point on the left half of the character at index.
    static TPoint CharPoint(TAdvEdit* edit, int index) {
        LRESULT pos = edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return TPoint(static_cast<SHORT>(LOWORD(pos)) + 1, static_cast<SHORT>(HIWORD(pos)) + 3);
    }
    static TPoint EndPoint(TAdvEdit* edit) { return TPoint(edit->ClientWidth() - 4, CharPoint(edit, 0).Y); }
    static void Select(TAdvEdit* edit, int start, int length) {
        edit->SetFocus();
        Pump();
        edit->SetSelStart(start);
        edit->SetSelLength(length);
    }
    enum class Keys { Plain, Control, Escape };
    // Presses inside the selection, then queues the whole drag (a move that starts it, the move to
    // the drop point, the release) before the drag loop runs.
    static void Drag(TAdvEdit* source, TPoint from, TControl* target, TPoint to, Keys keys = Keys::Plain) {
        // Far enough from any earlier press not to make a double click of it.
        Clock::Advance(1000);
        MouseDown(source, from.X, from.Y);
        const TPoint start = source->ClientToScreen(TPoint(from.X + 4, from.Y));
        const TPoint drop = target->ClientToScreen(to);
        win32::input::MouseMove(start.X, start.Y);
        if (keys == Keys::Control)
            win32::input::Key(VK_CONTROL, true);
        win32::input::MouseMove(drop.X, drop.Y);
        if (keys == Keys::Escape)
            win32::input::PressKey(VK_ESCAPE);
        win32::input::MouseButton(win32::input::Button::Left, false, drop.X, drop.Y);
        if (keys == Keys::Control)
            win32::input::Key(VK_CONTROL, false);
        Pump();
    }
};

TEST_F(AdvEdddTest, DraggingAWordToAnotherEditMovesItOrCopiesItWithControl) {
    struct Case {
        const char* name;
        Keys keys;
        const char16_t* source;
        const char16_t* target;
    };
    const Case cases[] = {
        {"move", Keys::Plain, u"hello ", u"abworld"},
        {"copy with Ctrl", Keys::Control, u"hello world", u"abworld"},
        {"Escape cancels", Keys::Escape, u"hello world", u"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvEdit* first = AddEdit(10, u"hello world");
        TAdvEdit* second = AddEdit(60, u"ab");
        ShowForm();
        Select(first, 6, 5);
        Drag(first, CharPoint(first, 8), second, EndPoint(second), c.keys);
        EXPECT_EQ(first->Text(), c.source);
        EXPECT_EQ(second->Text(), c.target);
        first->Free();
        second->Free();
        Pump();
    }
}

TEST_F(AdvEdddTest, DropOnTheSameEditMovesTheWordButOnItsOwnSelectionChangesNothing) {
    TAdvEdit* edit = AddEdit(10, u"hello world");
    ShowForm();
    Select(edit, 0, 5);
    Drag(edit, CharPoint(edit, 1), edit, CharPoint(edit, 3));
    EXPECT_EQ(edit->Text(), u"hello world");

    Select(edit, 0, 5);
    Drag(edit, CharPoint(edit, 1), edit, EndPoint(edit));
    EXPECT_EQ(edit->Text(), u" worldhello");
}

TEST_F(AdvEdddTest, DropTargetAnswersTheEffectOfTheKeysAndInsertsOnlyTheFirstLine) {
    TAdvEdit* edit = AddEdit(10, u"xy");
    ShowForm();
    auto* target = new TEditDropTarget(edit);
    target->AddRef();
    auto* data = new TSourceDataObject(u"ab\r\ncd", String());
    data->AddRef();
    const TPoint at = edit->ClientToScreen(CharPoint(edit, 1));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, 0, POINTL{at.X, at.Y}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    target->DragOver(MK_CONTROL, POINTL{at.X, at.Y}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);

    target->Drop(data, 0, POINTL{at.X, at.Y}, &effect);
    EXPECT_EQ(edit->Text(), u"xaby");
    data->Release();
    target->Release();
}

// Whether the edit's window shows its drop caret at a client point, once its pending painting is done.
// The drop caret is drawn straight onto the window, so the window's own pixels tell.
bool DropCaretPainted(TAdvEdit* edit, TPoint at) {
    UpdateWindow(edit->Handle());
    HDC dc = GetDC(edit->Handle());
    const COLORREF pixel = GetPixel(dc, at.X, at.Y);
    ReleaseDC(edit->Handle(), dc);
    return pixel == RGB(0, 0, 0);
}

// A drop source that tells at every feedback whether the edit shows its drop caret. The drag loop holds
// the queued input, so nothing may pump meanwhile.
class WatchingDropSource : public TAEDropSource {
public:
    WatchingDropSource(TAdvEdit* edit, TPoint caret) : FEdit(edit), FCaret(caret) {}
    HRESULT GiveFeedback(DWORD effect) override {
        caretShown.push_back(DropCaretPainted(FEdit, FCaret));
        effects.push_back(effect);
        return TAEDropSource::GiveFeedback(effect);
    }
    std::vector<bool> caretShown;
    std::vector<DWORD> effects;

private:
    TAdvEdit* FEdit;
    TPoint FCaret; // a client point on the drop caret's line, above the text's lower-case letters
};

TEST_F(AdvEdddTest, ADragThatLeavesTheEditTakesItsDropCaretAlongAndDropsNothing) {
    TAdvEdit* edit = AddEdit(10, u"ace");
    ShowForm();
    const LRESULT pos = edit->Perform(EM_POSFROMCHAR, 1, 0);
    const TPoint caret(static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos)) + 1);
    const TPoint over = edit->ClientToScreen(CharPoint(edit, 1));
    const TPoint outside = FForm->ClientToScreen(TPoint(300, 200));
    // The button goes down away from any target; the moves over the edit and out again and the release
    // wait in the queue for the drag loop.
    Clock::Advance(1000);
    win32::input::MouseMove(outside.X, outside.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, outside.X, outside.Y);
    Pump();
    win32::input::MouseMove(over.X, over.Y);
    // A key between the moves keeps the queue from merging them into one.
    win32::input::PressKey(VK_F5);
    win32::input::MouseMove(outside.X, outside.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, outside.X, outside.Y);

    auto* data = new TSourceDataObject(u"xy", String());
    data->AddRef();
    auto* source = new WatchingDropSource(edit, caret);
    source->AddRef();
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    // Feedback at the start (outside), over the edit for the move and the key's press and release, and
    // back outside. Entering shows no caret yet: the first move over the edit places it.
    EXPECT_EQ(source->caretShown, (std::vector<bool>{false, false, true, true, false}));
    EXPECT_EQ(source->effects, (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_MOVE, DROPEFFECT_MOVE,
                                                   DROPEFFECT_MOVE, DROPEFFECT_NONE}));
    source->Release();
    data->Release();

    EXPECT_EQ(edit->Text(), u"ace");
    Pump();
    EXPECT_FALSE(DropCaretPainted(edit, caret)) << "no caret is painted once the drag has gone";
}

TEST(AdvEdddDataObject, TextFormatsAreSizedFromTheirEncodingAndOthersAreRefused) {
    auto* data = new TSourceDataObject(u"h\u00e9llo", String());
    data->AddRef();
    struct Case {
        const char* name;
        CLIPFORMAT format;
        DWORD tymed;
        HRESULT result;
        SIZE_T bytes;
    };
    const Case cases[] = {
        {"CF_TEXT takes the UTF-8 bytes and a zero", CF_TEXT, TYMED_HGLOBAL, S_OK, 7},
        {"CF_UNICODETEXT takes UTF-16 and a zero", CF_UNICODETEXT, TYMED_HGLOBAL, S_OK, 12},
        {"rich text is off", static_cast<CLIPFORMAT>(RegisterClipboardFormatW(u"Rich Text Format")),
         TYMED_HGLOBAL, DV_E_FORMATETC, 0},
        {"only global memory", CF_UNICODETEXT, TYMED_ISTREAM, DV_E_FORMATETC, 0},
        {"not with another medium", CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM, DV_E_FORMATETC, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FORMATETC format{c.format, nullptr, DVASPECT_CONTENT, -1, c.tymed};
        STGMEDIUM medium{};
        EXPECT_EQ(data->QueryGetData(&format), c.result == S_OK ? S_OK : DV_E_FORMATETC);
        ASSERT_EQ(data->GetData(&format, &medium), c.result);
        if (c.result != S_OK) {
            EXPECT_EQ(medium.hGlobal, nullptr);
            continue;
        }
        EXPECT_EQ(medium.tymed, TYMED_HGLOBAL);
        EXPECT_EQ(GlobalSize(medium.hGlobal), c.bytes);
        const auto* bytes = static_cast<const BYTE*>(GlobalLock(medium.hGlobal));
        EXPECT_EQ(bytes[c.bytes - 1], 0);
        if (c.format == CF_TEXT) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes)), "h\xc3\xa9llo");
        }
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
    }
    IEnumFORMATETC* none = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(data->DAdvise(nullptr, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
    data->Release();
}

TEST(AdvEdddDataObject, EnumeratorWalksTextUnicodeAndRichTextThenStops) {
    auto* data = new TSourceDataObject(u"x", String());
    data->AddRef();
    {
        // A reader registers the rich-text format, which the enumerator's third entry then names.
        TEnumFormats reader(data);
        EXPECT_TRUE(reader.HasText());
        EXPECT_FALSE(reader.HasFile());
        EXPECT_EQ(reader.Text(), u"x");
    }
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC got[4]{};
    ULONG fetched = 99;
    EXPECT_EQ(formats->Next(3, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    EXPECT_EQ(got[0].cfFormat, CF_TEXT);
    EXPECT_EQ(got[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(got[2].cfFormat, RegisterClipboardFormatW(u"Rich Text Format"));
    for (const FORMATETC& f : {got[0], got[1], got[2]}) {
        EXPECT_EQ(f.dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(f.lindex, -1);
        EXPECT_EQ(f.tymed, TYMED_HGLOBAL);
        EXPECT_EQ(f.ptd, nullptr);
    }
    EXPECT_EQ(formats->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    EXPECT_EQ(formats->Reset(), S_OK);
    EXPECT_EQ(formats->Skip(1), S_OK);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(formats->Clone(&clone), S_OK);
    EXPECT_EQ(clone->Next(4, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(got[0].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(formats->Skip(5), S_FALSE);
    EXPECT_EQ(formats->Next(1, got, nullptr), S_FALSE);
    clone->Release();
    formats->Release();
    data->Release();
}

} // namespace
