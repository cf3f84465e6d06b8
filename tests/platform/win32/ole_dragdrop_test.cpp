// The in-process drag loop: which registered target hears of a gesture queued through the input entry
// points, the effects it may answer, and registration tied to the window's life.
#include "platform/win32/ole_dragdrop.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

namespace {

struct RecordingTarget : ComObject<IDropTarget> {
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT DragEnter(IDataObject*, DWORD keys, POINTL, DWORD* effect) override {
        log.push_back("enter" + Keys(keys));
        *effect = answer;
        return S_OK;
    }
    HRESULT DragOver(DWORD keys, POINTL, DWORD* effect) override {
        if (log.empty() || log.back() != "over" + Keys(keys))
            log.push_back("over" + Keys(keys));
        *effect = answer;
        return S_OK;
    }
    HRESULT DragLeave() override {
        log.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject*, DWORD keys, POINTL pt, DWORD* effect) override {
        log.push_back("drop" + Keys(keys));
        dropAt = pt;
        *effect = answer;
        return S_OK;
    }
    static std::string Keys(DWORD keys) { return (keys & MK_CONTROL) != 0 ? "+ctrl" : ""; }
    std::vector<std::string> log;
    DWORD answer = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    POINTL dropAt{};
};

struct ButtonSource : ComObject<IDropSource> {
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) != 0 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Data is never read by the recording target: any object does.
struct EmptyData : ComObject<IDataObject> {
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

class OleDragDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        OleInitialize(nullptr);
        wintest::Options options = wintest::WithStyle(WS_POPUP | WS_VISIBLE);
        options.rect = RECT{100, 100, 300, 200};
        FParent = wintest::Create(options);
        wintest::Options child = wintest::WithStyle(WS_CHILD | WS_VISIBLE);
        child.parent = FParent;
        child.rect = RECT{10, 10, 60, 60};
        FChild = wintest::Create(child);
        wintest::Pump();
    }
    void TearDown() override {
        if (IsWindow(FParent))
            DestroyWindow(FParent);
        wintest::Pump();
        OleUninitialize();
        win32::input::Reset();
    }
    HWND FParent = nullptr;
    HWND FChild = nullptr;
};

TEST_F(OleDragDropTest, TheChildsAncestorHearsTheGestureAndAnswersOnlyAllowedEffects) {
    auto* target = new RecordingTarget();
    ASSERT_EQ(RegisterDragDrop(FParent, target), S_OK);
    EXPECT_EQ(RegisterDragDrop(FParent, target), DRAGDROP_E_ALREADYREGISTERED);
    auto* source = new ButtonSource();
    auto* data = new EmptyData();

    // Pressed over the child, Ctrl pressed, moved and released.
    // The drag starts with the button held, as a window's mouse handler starts it.
    win32::input::MouseMove(130, 130);
    win32::input::MouseButton(win32::input::Button::Left, true, 130, 130);
    wintest::Pump();
    win32::input::Key(VK_CONTROL, true);
    win32::input::MouseMove(140, 135);
    win32::input::MouseButton(win32::input::Button::Left, false, 140, 135);
    win32::input::Key(VK_CONTROL, false);
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data, source, DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(target->log, (std::vector<std::string>{"enter", "over+ctrl", "drop+ctrl"}));
    EXPECT_EQ(target->dropAt.x, 140);
    EXPECT_EQ(target->dropAt.y, 135);

    // Escape ends the drag without a drop.
    target->log.clear();
    win32::input::MouseMove(130, 130);
    win32::input::MouseButton(win32::input::Button::Left, true, 130, 130);
    wintest::Pump();
    win32::input::PressKey(VK_ESCAPE);
    EXPECT_EQ(DoDragDrop(data, source, DROPEFFECT_COPY, &effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(target->log, (std::vector<std::string>{"enter", "leave"}));
    win32::input::MouseButton(win32::input::Button::Left, false, 130, 130);
    wintest::Pump();

    // Destroying the window revokes its target and lets go of it.
    DestroyWindow(FParent);
    EXPECT_EQ(target->Release(), 0u); // the window's reference went with it
    source->Release();
    data->Release();
}

TEST_F(OleDragDropTest, RegistrationChecksItsArguments) {
    auto* target = new RecordingTarget();
    EXPECT_EQ(RevokeDragDrop(FChild), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RegisterDragDrop(FChild, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(reinterpret_cast<HWND>(0x7FFF0), target), DRAGDROP_E_INVALIDHWND);
    ASSERT_EQ(RegisterDragDrop(FChild, target), S_OK);
    EXPECT_EQ(RevokeDragDrop(FChild), S_OK);
    EXPECT_EQ(RevokeDragDrop(FChild), DRAGDROP_E_NOTREGISTERED);
    target->Release();
}

} // namespace
