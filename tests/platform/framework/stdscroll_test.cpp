// TScrollBar: range and position rules, and the steps of the keyboard reported as scroll codes.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/StdScroll.h"
#include "platform/rtl/Consts.h"
#include "platform/win32/winbutton.h"

namespace {

class ScrollBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 300, 200);
        FBar = new TScrollBar(FForm);
        FBar->SetParent(FForm);
        FBar->OnChange = [this](TObject*) {
            ControlsLog().push_back("Change " + std::to_string(FBar->Position()));
        };
    }
    void TearDown() override {
        FForm->Free();
        ControlsTest::TearDown();
    }

    TForm* FForm = nullptr;
    TScrollBar* FBar = nullptr;
};

TEST_F(ScrollBarTest, ParamsKeepThePositionInRangeAndRefuseABadRange) {
    FBar->SetParams(150, 0, 200);
    FBar->SetPosition(500);
    EXPECT_EQ(FBar->Position(), 200);
    FBar->SetMax(120); // the position follows the range
    EXPECT_EQ(FBar->Position(), 120);
    FBar->SetPosition(120); // no change, no event
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Change 150", "Change 200", "Change 120"}));

    FBar->SetParams(0, 0, 100);
    FBar->SetPageSize(10);
    for (auto bad : std::initializer_list<std::function<void()>>{[this] { FBar->SetParams(0, 10, 5); },
                                                                 [this] { FBar->SetMax(5); },
                                                                 [this] { FBar->SetPageSize(102); }}) {
        try {
            bad();
            ADD_FAILURE() << "no error";
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), Consts::SScrollBarRange);
        }
    }
    EXPECT_EQ(FBar->Max(), 100);

    // The window shows the same range, page and position.
    FBar->SetPosition(40);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(FBar->Handle(), SB_CTL, &info));
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 40);
}

TEST_F(ScrollBarTest, KeysScrollByTheChangesAndOnScrollMayAdjust) {
    FBar->SetLargeChange(25);
    FBar->SetSmallChange(5);
    std::vector<std::string> codes;
    FBar->OnScroll = [&codes](TObject*, TScrollCode code, int& pos) {
        codes.push_back(std::to_string(code) + ":" + std::to_string(pos));
        if (code == scPageDown)
            pos += 1; // the handler moves the page step one further
    };
    FForm->Show();
    FBar->SetFocus();
    Pump();
    ControlsLog().clear();
    Press(VK_RIGHT);
    Press(VK_NEXT);
    Press(VK_END);
    Press(VK_LEFT);
    EXPECT_EQ(FBar->Position(), 95);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Change 5", "Change 31", "Change 100", "Change 95"}));
    // Releasing each key ends the scroll where the position now is.
    std::vector<std::string> expected = {"1:5", "8:5", "3:30", "8:31", "7:100", "8:100", "0:95", "8:95"};
    EXPECT_EQ(codes, expected);
}

TEST_F(ScrollBarTest, KindTurnsTheBarAndItsWindow) {
    int width = FBar->Width();
    int height = FBar->Height();
    FBar->SetKind(sbVertical);
    EXPECT_EQ(FBar->Width(), height);
    EXPECT_EQ(FBar->Height(), width);
    EXPECT_NE(GetWindowLongW(FBar->Handle(), GWL_STYLE) & SBS_VERT, 0);
}

} // namespace
