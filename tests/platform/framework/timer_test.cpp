// TTimer on the manual clock: ticks through the message loop, the phase rules of Enabled and Interval,
// and an exception in OnTimer that is shown once while the timer goes on.
#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/dialogs.h"

// The owner of a timer read from a description, with the handler the description names.
class TTimerOwner : public TComponent {
    DECLARE_CLASS(TTimerOwner, TComponent)

public:
    using TComponent::TComponent;
    void Tick(TObject*) { ++ticks; }
    TTimer* Timer1 = nullptr;
    int ticks = 0;
};

DEFINE_CLASS(TTimerOwner, METHOD(Tick), FIELD(Timer1))

namespace {

// A timer with a tick counter, served by the application's loop.
class TimerFixture : public testing::Test {
protected:
    TimerFixture() : FTimer(CreateInstance<TTimer>(nullptr)) {
        FTimer->OnTimer = [this](TObject* sender) {
            EXPECT_EQ(sender, FTimer);
            ++FTicks;
        };
    }
    ~TimerFixture() override { FTimer->Free(); }

    // Moves the clock and serves what became due; answers the ticks seen meanwhile.
    int Advance(UInt64 milliseconds) {
        int before = FTicks;
        Clock::Advance(milliseconds);
        Application->ProcessMessages();
        return FTicks - before;
    }

    TTimer* FTimer;
    int FTicks = 0;
};

TEST_F(TimerFixture, TicksEveryIntervalThroughTheLoop) {
    EXPECT_TRUE(FTimer->Enabled());
    EXPECT_EQ(FTimer->Interval(), 1000u);
    EXPECT_EQ(Advance(999), 0);
    EXPECT_EQ(Advance(1), 1);
    EXPECT_EQ(Advance(1000), 1);
    FTimer->OnTimer = nullptr; // a timer without a handler ticks silently
    EXPECT_EQ(Advance(1000), 0);
}

// One row per rule: after 600 ms the change is made; then the ticks in the next 400 and 600 ms count.
struct PhaseCase {
    const char* name;
    std::function<void(TTimer&)> change;
    int ticksIn400;
    int ticksIn600More;
};

void PrintTo(const PhaseCase& c, std::ostream* os) {
    *os << c.name;
}

class TimerPhase : public TimerFixture, public testing::WithParamInterface<PhaseCase> {};

TEST_P(TimerPhase, Rules) {
    const PhaseCase& c = GetParam();
    EXPECT_EQ(Advance(600), 0);
    c.change(*FTimer);
    EXPECT_EQ(Advance(400), c.ticksIn400) << "at 1000 ms since the start";
    EXPECT_EQ(Advance(600), c.ticksIn600More) << "at 1600 ms since the start";
}

INSTANTIATE_TEST_SUITE_P(
    Timer, TimerPhase,
    testing::Values(
        PhaseCase{"EnablingAnEnabledTimerKeepsItsPhase", [](TTimer& t) { t.SetEnabled(true); }, 1, 0},
        PhaseCase{"SettingTheSameIntervalKeepsItsPhase", [](TTimer& t) { t.SetInterval(1000); }, 1, 0},
        PhaseCase{"OffAndOnRestartsTheCount",
                  [](TTimer& t) {
                      t.SetEnabled(false);
                      t.SetEnabled(true);
                  },
                  0, 1},
        PhaseCase{"ANewIntervalRestartsTheCount", [](TTimer& t) { t.SetInterval(500); }, 0, 1},
        PhaseCase{"IntervalZeroStops", [](TTimer& t) { t.SetInterval(0); }, 0, 0},
        PhaseCase{"DisabledStops", [](TTimer& t) { t.SetEnabled(false); }, 0, 0}),
    [](const testing::TestParamInfo<PhaseCase>& info) { return std::string(info.param.name); });

TEST_F(TimerFixture, IntervalZeroThenBackRunsAgain) {
    FTimer->SetInterval(0);
    EXPECT_EQ(Advance(2000), 0);
    FTimer->SetInterval(300);
    EXPECT_EQ(Advance(300), 1);
}

TEST_F(TimerFixture, AnExceptionInOnTimerIsShownOnceAndTheTimerGoesOn) {
    win32::RecordingDialogService dialogs;
    String oldTitle = Application->Title();
    Application->SetTitle(u"Console");
    FTimer->OnTimer = [this](TObject*) {
        if (++FTicks == 1)
            throw EConvertError(u"'x' is not a valid integer value");
    };
    EXPECT_EQ(Advance(1000), 1);
    ASSERT_EQ(dialogs.Records().size(), 1u);
    const win32::MessageRequest& shown = dialogs.Records()[0].message;
    EXPECT_EQ(shown.caption, u"Console");
    EXPECT_EQ(shown.text, u"'x' is not a valid integer value.");
    EXPECT_EQ(shown.icon, win32::DialogIcon::Error);
    EXPECT_EQ(shown.buttons, std::vector<win32::DialogButton>{win32::DialogButton::Ok});
    EXPECT_EQ(Advance(1000), 1) << "the timer goes on";
    EXPECT_EQ(dialogs.Records().size(), 1u);
    Application->SetTitle(oldTitle);
}

TEST(Timer, ATimerReadFromADescriptionStartsOnceLoaded) {
    const std::string text = "object Owner: TTimerOwner\n"
                             "  object Timer1: TTimer\n"
                             "    Interval = 250\n"
                             "    OnTimer = Tick\n"
                             "  end\n"
                             "end\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    TTimerOwner owner(nullptr);
    ReadComponent(binary, &owner);
    ASSERT_NE(owner.Timer1, nullptr);
    EXPECT_EQ(owner.Timer1->Interval(), 250u);
    Clock::Advance(250);
    Application->ProcessMessages();
    EXPECT_EQ(owner.ticks, 1);
}

TEST(Timer, FreeingTheTimerInItsOwnHandlerIsSafe) {
    TTimer* timer = CreateInstance<TTimer>(nullptr);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        timer->Free();
    };
    Clock::Advance(100);
    Application->ProcessMessages();
    Clock::Advance(100);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1);
}

} // namespace
