// The module simulator: its options and frames, and the program itself answering polls over a
// pseudo-terminal through the platform's comm calls and through the console's port component.
#include <gtest/gtest.h>

#include "platform/backend/process.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/comm.h"
#include "tests/serial/SerialTestSupport.h"
#include "tools/module-sim/ModuleSim.h"

namespace {

using modulesim::Frame;

std::uint16_t Value(const Frame& frame, int k) {
    return static_cast<std::uint16_t>(frame[2 * k] * 256 + frame[2 * k + 1]);
}
int Strength(const Frame& frame) {
    return static_cast<std::int16_t>(frame[37] * 256 + frame[39]);
}

modulesim::Options Parse(const std::vector<std::string>& args) {
    modulesim::Options options = modulesim::DefaultOptions();
    std::string message;
    EXPECT_TRUE(modulesim::ParseOptions(args, options, message)) << message;
    return options;
}

TEST(ModuleSim, FramesFollowTheLayoutAndTheOptions) {
    modulesim::Master master(Parse({"--modules", "1,3", "--values", "1=1234,65535", "--step", "1=1",
                                    "--strength", "1=-90", "--strength", "3=-64"}));
    const Frame first = master.NextFrame();
    EXPECT_EQ(first[0], 0x04);
    EXPECT_EQ(first[1], 0xD2);
    EXPECT_EQ(Value(first, 1), 65535);
    EXPECT_EQ(Value(first, 2), 0) << "values not given are 0";
    EXPECT_EQ(first[30], 26);
    EXPECT_EQ(first[31], 42);
    EXPECT_EQ(first[36], modulesim::Checksum(first));
    EXPECT_EQ(first[37], 0xFF);
    EXPECT_EQ(first[39], 0xA6);

    const Frame second = master.NextFrame();
    EXPECT_EQ(second[31], 44) << "module 3 answers next";
    EXPECT_EQ(Strength(second), -64);
    EXPECT_EQ(Value(second, 0), 3000) << "default values";

    const Frame third = master.NextFrame();
    EXPECT_EQ(third[31], 42);
    EXPECT_EQ(Value(third, 0), 1235);
    EXPECT_EQ(Value(third, 1), 0) << "values wrap";
}

TEST(ModuleSim, EachCompletePollGetsOneFrame) {
    modulesim::Master master(Parse({}));
    const std::string input = "1";
    EXPECT_TRUE(master.Receive(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()).empty());
    const std::string rest = "23|xx123|123";
    const auto frames = master.Receive(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][31], 42);
    EXPECT_EQ(frames[1][31], 43);
    const std::string end = "|";
    EXPECT_EQ(master.Receive(reinterpret_cast<const std::uint8_t*>(end.data()), 1).size(), 1u);
}

TEST(ModuleSim, BadChecksumsAndSilenceComeInTheirShare) {
    modulesim::Master bad(Parse({"--bad-checksum", "100"}));
    for (int i = 0; i < 5; ++i) {
        const Frame frame = bad.NextFrame();
        EXPECT_NE(frame[36], modulesim::Checksum(frame));
    }
    modulesim::Master half(Parse({"--silence", "50", "--seed", "7"}));
    std::string polls;
    for (int i = 0; i < 100; ++i)
        polls += "123|";
    const std::size_t answered =
        half.Receive(reinterpret_cast<const std::uint8_t*>(polls.data()), polls.size()).size();
    EXPECT_GT(answered, 25u);
    EXPECT_LT(answered, 75u);
}

TEST(ModuleSim, RejectsBadOptions) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--modules", "0"},
                                               {"--modules", "1,6"},
                                               {"--values", "1=70000"},
                                               {"--values", "9=1"},
                                               {"--bad-checksum", "101"},
                                               {"--split"},
                                               {"--nonsense", "1"},
                                               {"--strength", "2"}}) {
        modulesim::Options options = modulesim::DefaultOptions();
        std::string message;
        EXPECT_FALSE(modulesim::ParseOptions(args, options, message)) << args[0];
        EXPECT_FALSE(message.empty());
    }
}

// The program on its pseudo-terminal; the port is opened as the console opens it.
class ModuleSimProgram : public testing::Test {
protected:
    void SetUp() override { Clock::UseSystemClock(); }
    void TearDown() override {
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        sim.Stop();
    }
    void Start(std::vector<std::string> args) {
        args.insert(args.begin(), ZELMOR_MODULE_SIM);
        int error = 0;
        ASSERT_TRUE(sim.Start(args, &error)) << error;
        ASSERT_TRUE(sim.ReadLine(portPath, 5000));
        const std::string& path = portPath;
        port = CreateFileW(Utf8ToString(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << path << " " << GetLastError();
    }
    // Sends a poll and reads one frame's worth of what comes within waitMilliseconds.
    std::vector<std::uint8_t> Poll(DWORD waitMilliseconds = 2000) {
        COMMTIMEOUTS timeouts{0, 0, waitMilliseconds, 0, 1000};
        EXPECT_TRUE(SetCommTimeouts(port, &timeouts));
        OVERLAPPED overlapped{};
        DWORD count = 0;
        EXPECT_TRUE(WriteFile(port, "123|", 4, &count, &overlapped));
        std::vector<std::uint8_t> bytes(modulesim::kFrameSize);
        DWORD read = 0;
        if (!ReadFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &read, &overlapped)) {
            EXPECT_TRUE(GetOverlappedResult(port, &overlapped, &read, TRUE));
        }
        bytes.resize(read);
        return bytes;
    }

    backend::ChildProcess sim;
    std::string portPath;
    HANDLE port = INVALID_HANDLE_VALUE;
};

TEST_F(ModuleSimProgram, AnswersEachPollWithTheNextModulesFrame) {
    Start({"--modules", "2,5", "--values", "2=1234", "--strength", "5=-90", "--split", "7", "--split-delay",
           "1"});
    for (int round = 0; round < 2; ++round) {
        for (int module : {2, 5}) {
            const std::vector<std::uint8_t> bytes = Poll();
            ASSERT_EQ(bytes.size(), modulesim::kFrameSize) << "a frame split across writes arrives whole";
            Frame frame;
            std::copy(bytes.begin(), bytes.end(), frame.begin());
            EXPECT_EQ(frame[30], 26);
            EXPECT_EQ(frame[31], 41 + module);
            EXPECT_EQ(frame[36], modulesim::Checksum(frame));
            if (module == 2) {
                EXPECT_EQ(Value(frame, 0), 1234);
            } else {
                EXPECT_EQ(Strength(frame), -90);
            }
        }
    }
}

// The console's road: the port polls, hears bytes on the GUI thread, reads a frame that came in
// pieces, and is disconnected in the middle of a frame and connected again; the rest of that frame,
// sent while the port was closed, is not seen, and every frame still starts where a frame starts.
TEST_F(ModuleSimProgram, TheConsolesPortReadsWholeFramesAcrossReconnects) {
    Start({"--modules", "1,3", "--split", "7", "--split-delay", "2", "--report-frames"});
    const String path = Utf8ToString(portPath);
    CloseHandle(port);
    port = INVALID_HANDLE_VALUE;
    TComPort comPort(nullptr);
    comPort.SetPort(path);
    std::atomic<int> heard{0};
    comPort.OnRxChar = [&](TObject*, Integer) { ++heard; };
    // The simulator's line for the frame it has just written whole.
    auto frameSent = [&] {
        std::string line;
        return sim.ReadLine(line, 5000) && line.starts_with("sent ");
    };
    int frames = 0; // frames asked for; modules 1 and 3 answer in turn, and byte 32 counts them
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        comPort.Open();
        EXPECT_EQ(comPort.InputCount(), 0);
        for (int poll = 0; poll < 2; ++poll) {
            heard = 0;
            EXPECT_EQ(comPort.WriteStr(u"123|"), 4);
            ASSERT_TRUE(serial_testing::PumpUntil([&] { return heard > 0 && comPort.InputCount() >= 40; }));
            Frame frame;
            EXPECT_EQ(comPort.Read(frame.data(), 40), 40);
            EXPECT_EQ(frame[30], 26);
            EXPECT_EQ(frame[31], frames % 2 == 0 ? 42 : 44);
            EXPECT_EQ(frame[32], frames);
            EXPECT_EQ(frame[36], modulesim::Checksum(frame));
            ASSERT_TRUE(frameSent());
            ++frames;
        }
        if (round == 2)
            break;
        // Disconnect once the first piece of the next frame is in; the rest comes while closed, and
        // the next round's port must not see it.
        heard = 0;
        comPort.WriteStr(u"123|");
        ASSERT_TRUE(serial_testing::PumpUntil([&] { return heard > 0; }));
        comPort.Close();
        ASSERT_TRUE(frameSent());
        ++frames;
    }
}

TEST_F(ModuleSimProgram, SilenceLeavesAPollUnanswered) {
    Start({"--silence", "100"});
    EXPECT_TRUE(Poll(50).empty());
}

} // namespace
