// Rotated-text cells on paper: the page's upward y axis must not turn the text out of its cell.
#include <algorithm>
#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/device.h"
#include "platform/backend/printers.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/UString.h"

namespace {

constexpr const char* kPrinter = "Recording printer for turned text";

class RotatedPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        backend::printers::Register(kPrinter, [this](const backend::printers::PageSetup&) {
            backend::DeviceCaps caps;
            caps.dpiX = caps.dpiY = 600;
            caps.width = 4960;
            caps.height = 7016;
            FDevice = backend::CreateRecordingPrinter(caps);
            return FDevice;
        });
        FPrevious = SetPrinter(new TPrinter({Utf8ToString(kPrinter)}, 0));
    }
    void TearDown() override {
        delete SetPrinter(FPrevious);
        backend::printers::Unregister(kPrinter);
    }

    // The recorded call that draws text, or an empty string.
    std::string TextCall(const std::string& text) const {
        for (const std::string& call : FDevice->Calls())
            if (call.rfind("Text ", 0) == 0 && call.find("'" + text + "'") != std::string::npos)
                return call;
        return {};
    }
    // The device y of the call's text origin.
    static int OriginY(const std::string& call) {
        std::smatch m;
        static const std::regex origin("^Text (-?\\d+),(-?\\d+) ");
        return std::regex_search(call, m, origin) ? std::stoi(m[2]) : -1;
    }
    // The device y of every horizontal line drawn: the row borders.
    std::vector<int> RowBorders() const {
        static const std::regex polyline("^Polyline (-?\\d+),(-?\\d+) (-?\\d+),(-?\\d+) ");
        std::set<int> ys;
        for (const std::string& call : FDevice->Calls()) {
            std::smatch m;
            if (std::regex_search(call, m, polyline) && m[2] == m[4])
                ys.insert(std::stoi(m[2]));
        }
        return {ys.begin(), ys.end()};
    }

    std::shared_ptr<backend::Recorder> FDevice;
    TPrinter* FPrevious = nullptr;
};

TEST_F(RotatedPrinting, TextTurnedUpwardsStaysInItsRow) {
    TAdvStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    grid.SetCells(0, 0, u"Head");
    grid.SetCells(1, 0, u"Next");
    grid.AddRotated(0, 1, 90, u"Turned up");
    grid.SetCells(1, 1, u"level");
    grid.Print();

    const std::string turned = TextCall("Turned up");
    ASSERT_FALSE(turned.empty());
    EXPECT_NE(turned.find(" turned 900"), std::string::npos) << "reads upwards on the page: " << turned;
    EXPECT_EQ(TextCall("level").find(" turned"), std::string::npos);

    const std::vector<int> borders = RowBorders();
    ASSERT_EQ(borders.size(), 3u) << "the top, the line between the rows and the bottom";
    const int top = borders[1];
    const int bottom = borders[2];
    EXPECT_GT(bottom - top, 2 * (borders[1] - borders[0])) << "the row is measured for the turned text";
    // Top-aligned, the text starts low enough for its length to end at the row's top.
    const int start = OriginY(turned);
    EXPECT_GT(start, top + (bottom - top) / 2);
    EXPECT_LE(start, bottom);
}

} // namespace
