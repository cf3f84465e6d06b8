// The layering check: a small tree with one include per case, each allowed or not by the layer table,
// and the report naming the offending lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>

#include "tools/layer-check/LayerCheck.h"

namespace {

namespace fs = std::filesystem;

struct IncludeCase {
    const char* name;
    const char* file;    // relative to the tree's root
    const char* include; // the include line
    bool offends;
};

const IncludeCase kCases[] = {
    {"RtlUsesRtl", "platform/rtl/a.cpp", "#include \"platform/rtl/Types.h\"", false},
    {"RtlUsesBackend", "platform/rtl/b.cpp", "#include \"platform/backend/file.h\"", false},
    {"RtlUsesTheRegistry", "platform/rtl/c.h", "#include \"platform/win32/registry.h\"", false},
    {"RtlUsesOtherWin32", "platform/rtl/d.cpp", "#include \"platform/win32/winuser.h\"", true},
    {"RtlUsesFramework", "platform/rtl/e.h", "  #  include \"platform/framework/Component.h\"", true},
    {"CodecsUseRtl", "platform/codecs/a.cpp", "#include \"platform/rtl/Consts.h\"", false},
    {"CodecsUsePng", "platform/codecs/b.cpp", "#include <png.h>", false},
    {"CodecsUseWin32", "platform/codecs/c.cpp", "#include \"platform/win32/wingdi.h\"", true},
    {"Win32UsesCodecs", "platform/win32/a.cpp", "#include \"platform/codecs/Bmp.h\"", false},
    {"Win32UsesPng", "platform/win32/b.cpp", "#include <png.h>", true},
    {"Win32UsesFramework", "platform/win32/c.cpp", "#include \"platform/framework/Forms.h\"", true},
    {"Win32ControlUsesItsPrivateHeader", "platform/win32/controls/edit.cpp", "#include \"controls.h\"",
     false},
    {"FrameworkUsesWin32", "platform/framework/a.cpp", "#include \"platform/win32/winuser.h\"", false},
    {"FrameworkUsesBackend", "platform/framework/b.cpp", "#include \"platform/backend/printers.h\"", true},
    {"FrameworkUsesGrid", "platform/framework/c.cpp", "#include \"grid/engine/AdvGrid.h\"", true},
    {"BackendUsesQt", "platform/backend/a.cpp", "#include <QImage>", false},
    {"SerialUsesPosix", "serial/a.cpp", "#include <unistd.h>", true},
    {"SerialUsesStandardLibrary", "serial/b.cpp", "#include <cstdio>", false},
    {"RenderUsesQt", "render/a.cpp", "#include <QPainter>", true},
    {"RenderUsesRender", "render/b.cpp", "#include \"render/AdvGDIP.h\"", false},
    {"GridUsesRender", "grid/engine/a.cpp", "#include \"render/AdvGDIP.h\"", false},
    {"GridUsesBackend", "grid/engine/b.cpp", "#include \"platform/backend/unicode.h\"", true},
    {"ControlsUseApp", "controls/a.cpp", "#include \"app/Main.h\"", true},
    {"SerialUsesTests", "serial/c.cpp", "#include \"tests/serial/SerialTestSupport.h\"", true},
    {"AppStartsThePlatform", "app/a.cpp", "#include \"platform/backend/platform.h\"", false},
    {"AppUsesOtherBackend", "app/b.cpp", "#include \"platform/backend/file.h\"", true},
    {"TestsAreNotLayered", "tests/a.cpp", "#include <unistd.h>", false},
};

class LayerCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        FRoot =
            fs::temp_directory_path() /
            ("layer-check-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(FRoot);
    }
    void TearDown() override { fs::remove_all(FRoot); }

    void Write(const std::string& file, const std::string& text) {
        fs::create_directories((FRoot / file).parent_path());
        std::ofstream(FRoot / file) << text;
    }

    fs::path FRoot;
};

TEST_F(LayerCheckTest, ReportsExactlyTheIncludesTheTableForbids) {
    std::set<std::string> expected;
    for (const IncludeCase& c : kCases) {
        // The include on line 3, after a comment and a blank line.
        Write(c.file, std::string("// ") + c.name + "\n\n" + c.include + "\n");
        if (c.offends)
            expected.insert(std::string(c.file) + ":3");
    }
    std::set<std::string> reported;
    for (const layercheck::Offence& offence : layercheck::CheckLayers(FRoot)) {
        reported.insert(offence.file + ":" + std::to_string(offence.line));
        EXPECT_NE(layercheck::Describe(offence).find(offence.text), std::string::npos);
    }
    for (const IncludeCase& c : kCases) {
        const std::string key = std::string(c.file) + ":3";
        EXPECT_EQ(reported.count(key) != 0, c.offends)
            << c.name << " (" << c.file << ": " << c.include << ")";
    }
    EXPECT_EQ(reported, expected);
}

TEST_F(LayerCheckTest, DescribesTheRuleAndSkipsNonIncludes) {
    Write("platform/rtl/Strings.h", "#pragma once\n// #include \"platform/framework/Persistent.h\"\n"
                                    "#include \"platform/framework/Persistent.h\"\n#include <sys/stat.h>\n");
    Write("platform/rtl/notes.txt", "#include \"platform/framework/Forms.h\"\n");
    const auto offences = layercheck::CheckLayers(FRoot);
    ASSERT_EQ(offences.size(), 2u);
    EXPECT_EQ(layercheck::Describe(offences[0]),
              "platform/rtl/Strings.h:3: #include \"platform/framework/Persistent.h\""
              " -- platform/rtl may not include platform/framework");
    EXPECT_EQ(layercheck::Describe(offences[1]),
              "platform/rtl/Strings.h:4: #include <sys/stat.h>"
              " -- only platform/backend includes Qt, POSIX and other system headers");
}

TEST_F(LayerCheckTest, AFolderWithoutALayerIsReported) {
    Write("platform/printing/spool.cpp", "#include <vector>\n");
    const auto offences = layercheck::CheckLayers(FRoot);
    ASSERT_EQ(offences.size(), 1u);
    EXPECT_EQ(offences[0].file, "platform/printing/spool.cpp");
    EXPECT_NE(offences[0].why.find("no layer"), std::string::npos);
}

} // namespace
