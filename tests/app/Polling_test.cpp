// Polling the master and showing module frames: the decoding's cases, the road through a fake port
// (polls, frames, the watchdog, disconnecting, an open failure, a device lost while polling) and the
// module simulator on a pseudo-terminal.
#include "tests/app/ConsoleTesting.h"

#include "app/Setup.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/process.h"
#include "platform/backend/serialdevice.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"
#include "tools/module-sim/ModuleSim.h"

namespace console_testing {
namespace {

using Frame = std::array<Byte, kFrameSize>;

// A frame from module (1-5) with the first values, the strength bytes and a right checksum.
Frame MakeFrame(int module, std::vector<std::uint16_t> values, Byte strengthHigh = 0xFF,
                Byte strengthLow = 0xC0) {
    Frame frame{};
    for (std::size_t k = 0; k < values.size(); ++k) {
        frame[2 * k] = static_cast<Byte>(values[k] >> 8);
        frame[2 * k + 1] = static_cast<Byte>(values[k] & 0xFF);
    }
    frame[30] = 26;
    frame[31] = static_cast<Byte>(41 + module);
    frame[32] = 7;
    Byte sum = 0;
    for (int i = 0; i <= 35; ++i)
        sum = static_cast<Byte>(sum ^ frame[i]);
    frame[36] = sum;
    frame[37] = strengthHigh;
    frame[39] = strengthLow;
    return frame;
}

void Show(const Frame& frame) {
    Byte bytes[kFrameSize];
    std::copy(frame.begin(), frame.end(), bytes);
    Main->ShowFrame(bytes);
}

bool Ticked(int m) {
    return Main->Modules->Checked(m - 1);
}

using Decoding = ConsoleTest;

TEST_F(Decoding, FramesFillTheirModulesGrid) {
    StartConsole();
    Show(MakeFrame(1, {0x04D2, 0xFFFF, 0}));
    EXPECT_EQ(Main->addr1->Text(), u"26 42");
    EXPECT_TRUE(Ticked(1));
    EXPECT_EQ(Main->Module1Data->Cells(1, 1), u"123.4");
    EXPECT_EQ(Main->Module1Data->Cells(1, 2), u"6553.5");
    EXPECT_EQ(Main->Module1Data->Cells(1, 3), u"0");
    EXPECT_EQ(Main->Module1Data->Cells(1, 30), u"0") << "rows 16-30 carry no value";
    EXPECT_EQ(Main->HeardCount(1), 1);

    FormatSettings.DecimalSeparator = u',';
    Show(MakeFrame(3, {0x04D2}));
    EXPECT_TRUE(Ticked(3));
    EXPECT_EQ(Main->Module3Data->Cells(1, 1), u"123,4");
    EXPECT_EQ(Main->Module2Data->Cells(1, 1), u"") << "only the sender's grid changes";

    // A click in the "Nodes" group clears every tick.
    Main->ModulesClick(Main->Modules);
    EXPECT_FALSE(Ticked(1));
    EXPECT_FALSE(Ticked(3));
}

// Every value a frame can carry reads as the framework's float conversion writes it, in either locale.
TEST(ValueText, IsTheFloatConversionOfTheTenths) {
    for (const Char separator : {u'.', u','}) {
        FormatSettings.DecimalSeparator = separator;
        for (Integer tenths = 0; tenths <= 0xFFFF; ++tenths)
            ASSERT_EQ(TenthsToText(tenths), FloatToStr(tenths / 10.0)) << tenths;
    }
}

TEST_F(Decoding, AddressesOfNoModuleChangeOnlyTheAddressFields) {
    StartConsole();
    for (const auto& [network, module, text] : {std::tuple{26, 47, u"26 47"}, std::tuple{25, 42, u"25 42"}}) {
        Frame frame = MakeFrame(1, {100});
        frame[30] = static_cast<Byte>(network);
        frame[31] = static_cast<Byte>(module);
        Show(frame);
        EXPECT_EQ(Main->addr1->Text(), text);
        EXPECT_EQ(Main->addr5->Text(), u"7");
        for (int m = 1; m <= 5; ++m) {
            EXPECT_FALSE(Ticked(m));
            EXPECT_EQ(Main->HeardCount(m), 0);
        }
        EXPECT_EQ(Main->Module1Data->Cells(1, 1), u"");
    }
}

TEST_F(Decoding, StrengthAndChecksum) {
    StartConsole();
    Show(MakeFrame(2, {1}, 0xFF, 0xA6));
    EXPECT_EQ(Main->adr2->Text(), u"-90");
    Show(MakeFrame(2, {1}, 0x00, 0x05));
    EXPECT_EQ(Main->adr2->Text(), u"5");
    Show(MakeFrame(2, {1}, 0xFF, 0xC0));
    EXPECT_EQ(Main->adr2->Text(), u"5") << "-64 is no reading";

    Frame bad = MakeFrame(2, {999}, 0xFF, 0xB0);
    bad[36] ^= 0x01;
    Show(bad);
    EXPECT_TRUE(Ticked(2));
    EXPECT_EQ(Main->HeardCount(2), 4) << "a bad frame is heard all the same";
    EXPECT_EQ(Main->Module2Data->Cells(1, 1), u"0.1") << "its values are not shown";
    EXPECT_EQ(Main->adr2->Text(), u"5");

    Frame five = MakeFrame(5, {10});
    five[36] ^= 0x10;
    Show(five);
    EXPECT_EQ(Main->addr3->Text(), u"") << "module 5's checksum fields follow a good frame only";
    Show(MakeFrame(5, {10}));
    EXPECT_EQ(Main->addr3->Text(), Main->addr4->Text());
    EXPECT_FALSE(Main->addr3->Text().empty());
}

// The console on a fake port that the test feeds.
class FakePortRoad : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        fake = backend::RegisterFakeSerialPort("FAKE_console");
        StartConsole();
        Form2->ComPort1->SetPort(u"FAKE_console");
    }
    void TearDown() override {
        ConsoleTest::TearDown();
        backend::UnregisterFakeSerialPort("FAKE_console");
    }
    // Sends a frame as the master does and lets the frame reader take it.
    void Answer(const Frame& frame) {
        fake->PushReceived(std::vector<std::uint8_t>(frame.begin(), frame.end()));
        ASSERT_TRUE(PumpUntil([] { return Main->UsbTimer->Enabled(); }));
        Advance(100);
        EXPECT_FALSE(Main->UsbTimer->Enabled());
    }
    std::shared_ptr<backend::FakeSerialPort> fake;
};

TEST_F(FakePortRoad, ConnectPollReadWatchdogAndDisconnect) {
    Main->ConectClick(Main->Conect);
    ASSERT_TRUE(Form2->ComPort1->Connected());
    EXPECT_EQ(Main->Conect->Caption(), u"Connected");
    EXPECT_TRUE(Main->CmdMaster->Enabled());
    EXPECT_TRUE(Main->MeasureTimer->Enabled());

    Advance(749);
    EXPECT_TRUE(fake->TakeSent().empty());
    Advance(1);
    const std::vector<std::uint8_t> poll = fake->TakeSent();
    EXPECT_EQ(std::string(poll.begin(), poll.end()), "123|");
    Advance(750);
    EXPECT_EQ(fake->TakeSent().size(), 4u) << "a poll every 750 ms";

    Answer(MakeFrame(4, {250}, 0xFF, 0xA6));
    EXPECT_EQ(Main->Module4Data->Cells(1, 1), u"25");
    EXPECT_TRUE(Ticked(4));
    EXPECT_EQ(Main->adr4->Text(), u"-90");

    // The watchdog runs at 5.5 s and 11 s after start-up: the first finds module 4 heard, the second
    // finds it silent.
    Advance(5500 - 1600);
    EXPECT_TRUE(Ticked(4));
    Advance(5500);
    EXPECT_FALSE(Ticked(4));
    EXPECT_EQ(Main->adr4->Text(), u"");

    Answer(MakeFrame(4, {250}));
    Main->ConectClick(Main->Conect);
    EXPECT_FALSE(Form2->ComPort1->Connected());
    EXPECT_EQ(Main->Conect->Caption(), u"DisConnected");
    EXPECT_FALSE(Main->CmdMaster->Enabled());
    EXPECT_FALSE(Main->MeasureTimer->Enabled());
    for (int m = 1; m <= 5; ++m) {
        EXPECT_FALSE(Ticked(m));
        EXPECT_EQ(Main->Module(m).data->Cells(1, 1), u"0");
        EXPECT_EQ(Main->Module(m).data->Cells(1, 30), u"0");
    }
    EXPECT_TRUE(Messages().empty());
}

// A module heard once just after a watchdog run stays ticked through the next run and goes at the one
// after, about 11 s later.
TEST_F(FakePortRoad, ASilentModuleGoesWithinElevenSeconds) {
    Main->ConectClick(Main->Conect);
    Advance(5500);
    Answer(MakeFrame(1, {1}));
    Advance(5400);
    EXPECT_TRUE(Ticked(1));
    Advance(5400);
    EXPECT_TRUE(Ticked(1));
    Advance(300);
    EXPECT_FALSE(Ticked(1));
}

TEST_F(FakePortRoad, OpenFailureKeepsTheButtonDisconnected) {
    Form2->ComPort1->SetPort(u"NO_SUCH_PORT");
    Main->ConectClick(Main->Conect);
    EXPECT_FALSE(Form2->ComPort1->Connected());
    EXPECT_EQ(Main->Conect->Caption(), u"DisConnected");
    EXPECT_FALSE(Main->CmdMaster->Enabled());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Comport is NOT connected ! Atach cable !"}));
}

TEST_F(FakePortRoad, ALostDeviceShowsAnErrorAndTheWindowGoesOn) {
    Main->ConectClick(Main->Conect);
    Advance(750);
    fake->Unplug();
    Advance(1500);
    EXPECT_FALSE(Messages().empty()) << "the failed poll is shown";
    // Closing the lost device reports its failure after the port is closed: the guarded handler shows
    // its message and ends there.
    FDialogs->Clear();
    Main->ConectClick(Main->Conect);
    EXPECT_FALSE(Form2->ComPort1->Connected());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Comport is NOT connected ! Atach cable !"}));
}

// The simulated master on a pseudo-terminal, polled as the operator's console polls it.
class SimulatorRoad : public ConsoleTest {
protected:
    void StartSimulator(std::vector<std::string> args) {
        args.insert(args.begin(), ZELMOR_MODULE_SIM);
        int error = 0;
        ASSERT_TRUE(sim.Start(args, &error)) << error;
        std::string path;
        ASSERT_TRUE(sim.ReadLine(path, 5000));
        StartConsole();
        Form2->ComPort1->SetPort(Utf8ToString(path));
    }
    // The next poll and the frame it brings. The clock stops at the poll, so that the frame is read
    // only once it came whole.
    void PollOnce() {
        Advance(FPolled ? 650 : 750);
        FPolled = true;
        ASSERT_TRUE(PumpUntil([] {
            return Main->UsbTimer->Enabled() && Form2->ComPort1->InputCount() >= 40;
        })) << "reader on: "
            << Main->UsbTimer->Enabled() << ", bytes: " << Form2->ComPort1->InputCount();
        Advance(100);
    }
    backend::ChildProcess sim;
    bool FPolled = false; // the first poll went out; they follow every 750 ms
};

TEST_F(SimulatorRoad, FiveModulesReport) {
    StartSimulator({"--values", "2=1234,65535", "--strength", "3=-90"});
    Main->ConectClick(Main->Conect);
    ASSERT_TRUE(Form2->ComPort1->Connected());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        PollOnce();
    }
    for (int m = 1; m <= 5; ++m)
        EXPECT_TRUE(Ticked(m)) << m;
    EXPECT_EQ(Main->Module1Data->Cells(1, 1), u"100");
    EXPECT_EQ(Main->Module1Data->Cells(1, 2), u"101");
    EXPECT_EQ(Main->Module2Data->Cells(1, 1), u"123.4");
    EXPECT_EQ(Main->Module2Data->Cells(1, 2), u"6553.5");
    EXPECT_EQ(Main->Module5Data->Cells(1, 15), u"514");
    EXPECT_EQ(Main->adr3->Text(), u"-90");
    EXPECT_EQ(Main->adr1->Text(), u"-61");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimulatorRoad, TheSimulatorEndingShowsAnError) {
    StartSimulator({});
    Main->ConectClick(Main->Conect);
    PollOnce();
    EXPECT_TRUE(Ticked(1));
    sim.Stop();
    Advance(3000);
    EXPECT_FALSE(Messages().empty());
    Main->ConectClick(Main->Conect);
    EXPECT_FALSE(Form2->ComPort1->Connected());
}

} // namespace
} // namespace console_testing
