// Tests of the INI files: typed round trips, names without case, quoted values, kept comments, the
// moment each kind of file writes, encodings and write failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/file.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/UString.h"
#include "tests/platform/rtl/IniFuzzInput.h"
#include "tests/support/FuzzFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    backend::ReadWholeFile(path, bytes, nullptr);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(backend::WriteFileAtomically(path, bytes, nullptr));
}

class IniFiles : public testing::Test {
protected:
    void SetUp() override {
        FFolder =
            testing_support::MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string Path(const char* name) const { return FFolder + "/" + name; }
    String Name(const char* name) const { return Utf8ToString(Path(name)); }

    std::string FFolder;
};

TEST_F(IniFiles, TypedValuesRoundTripThroughTheFile) {
    {
        TIniFile ini(Name("settings.ini"));
        ini.WriteString(u"Port", u"Name", u"ttyUSB0 \u00E9");
        ini.WriteInteger(u"Port", u"Baud", -9600);
        ini.WriteBool(u"Port", u"Echo", true);
        ini.WriteFloat(u"Window", u"Scale", 1.25);
    }
    EXPECT_EQ(ReadBytes(Path("settings.ini")),
              "[Port]\r\nName=ttyUSB0 \xC3\xA9\r\nBaud=-9600\r\nEcho=1\r\n\r\n[Window]\r\nScale=1.25\r\n");
    TIniFile ini(Name("settings.ini"));
    EXPECT_EQ(ini.ReadString(u"port", u"NAME", u""), u"ttyUSB0 \u00E9");
    EXPECT_EQ(ini.ReadInteger(u"PORT", u"baud", 0), -9600);
    EXPECT_TRUE(ini.ReadBool(u"Port", u"Echo", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"Window", u"Scale", 0), 1.25);
    EXPECT_EQ(ini.ReadString(u"Port", u"Missing", u"dflt"), u"dflt");
    EXPECT_EQ(ini.ReadString(u"Nowhere", u"Name", u"dflt"), u"dflt");

    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list.CommaText(), u"Port,Window");
    ini.ReadSection(u"port", list);
    EXPECT_EQ(list.CommaText(), u"Name,Baud,Echo");
    EXPECT_TRUE(ini.SectionExists(u"WINDOW"));
    EXPECT_FALSE(ini.SectionExists(u"Other"));
    EXPECT_TRUE(ini.ValueExists(u"port", u"ECHO"));
    EXPECT_FALSE(ini.ValueExists(u"port", u"Parity"));
}

TEST_F(IniFiles, NumbersAndBooleansAsTheFrameworkReadsThem) {
    WriteBytes(Path("n.ini"), "[N]\r\nhex=$FF\r\ncx=0x1f\r\nbad=12a\r\nzero=0\r\nword=yes\r\nfloat=x\r\n");
    TIniFile ini(Name("n.ini"));
    EXPECT_EQ(ini.ReadInteger(u"N", u"hex", 0), 255);
    EXPECT_EQ(ini.ReadInteger(u"N", u"cx", 0), 31);
    EXPECT_EQ(ini.ReadInteger(u"N", u"bad", 7), 7);
    EXPECT_FALSE(ini.ReadBool(u"N", u"zero", true));
    EXPECT_TRUE(ini.ReadBool(u"N", u"word", true));
    EXPECT_FALSE(ini.ReadBool(u"N", u"word", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"N", u"float", 2.5), 2.5);
}

struct QuotedCase {
    const char* name;
    const char* line;
    String value;
};

class IniQuotedValues : public testing::TestWithParam<QuotedCase> {};

TEST_P(IniQuotedValues, ReadAsTheProfileFunctionsDo) {
    const std::string path = testing_support::MakeTestFolder("ini-quoted") + "/q.ini";
    WriteBytes(path, std::string("[S]\r\n") + GetParam().line + "\r\n");
    TIniFile ini(Utf8ToString(path));
    EXPECT_EQ(ini.ReadString(u"s", u"k", u"(missing)"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniQuotedValues,
    testing::Values(QuotedCase{"Double", "k=\"a b\"", u"a b"}, QuotedCase{"Single", "k='a b'", u"a b"},
                    QuotedCase{"Unmatched", "k=\"a b'", u"\"a b'"}, QuotedCase{"LoneQuote", "k=\"", u"\""},
                    QuotedCase{"EmptyQuotes", "k=\"\"", u""},
                    QuotedCase{"BlanksAround", "  k  =   ' x '  ", u" x "},
                    QuotedCase{"InnerQuotes", "k=a \"b\" c", u"a \"b\" c"}, QuotedCase{"Empty", "k=", u""},
                    QuotedCase{"EqualsInValue", "k=a=b", u"a=b"}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniFiles, RewritingKeepsCommentsBlankLinesAndSpelling) {
    WriteBytes(Path("c.ini"), "; top comment\r\n\r\n[Alpha]\r\n; about x\r\nX = 1\r\nstray line\r\n\r\n"
                              "[Beta]\r\ny=2\r\n[Gamma]\r\n; only a comment\r\n\r\n");
    TIniFile ini(Name("c.ini"));
    ini.WriteString(u"alpha", u"x", u"10");
    ini.WriteString(u"ALPHA", u"z", u"3");
    ini.DeleteKey(u"beta", u"Y");
    ini.WriteString(u"gamma", u"g", u"7");
    ini.EraseSection(u"missing");
    EXPECT_EQ(ReadBytes(Path("c.ini")),
              "; top comment\r\n\r\n[Alpha]\r\n; about x\r\nX=10\r\nz=3\r\nstray line\r\n\r\n"
              "[Beta]\r\n[Gamma]\r\n; only a comment\r\ng=7\r\n\r\n");
    ini.EraseSection(u"ALPHA");
    EXPECT_EQ(ReadBytes(Path("c.ini")),
              "; top comment\r\n\r\n[Beta]\r\n[Gamma]\r\n; only a comment\r\ng=7\r\n\r\n");
}

TEST_F(IniFiles, ReadSectionValuesGivesValuesAsRead) {
    WriteBytes(Path("v.ini"), "[S]\r\na='1'\r\nA=dup\r\nb = two words \r\n");
    TIniFile ini(Name("v.ini"));
    TStringList list;
    list.Add(u"old");
    ini.ReadSectionValues(u"s", list);
    EXPECT_EQ(list.Text(), u"a=1\r\nb=two words\r\n");
}

TEST_F(IniFiles, IniFileReadsTheFileAsItIsNow) {
    TIniFile ini(Name("live.ini"));
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"none"), u"none");
    WriteBytes(Path("live.ini"), "[S]\r\nk=first\r\n");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"none"), u"first");

    // Another writer's change survives our next write.
    TIniFile other(Name("live.ini"));
    other.WriteString(u"S", u"j", u"theirs");
    ini.WriteString(u"S", u"k", u"ours");
    EXPECT_EQ(ReadBytes(Path("live.ini")), "[S]\r\nk=ours\r\nj=theirs\r\n");
}

TEST_F(IniFiles, MemIniFileWritesOnlyAtUpdateFile) {
    WriteBytes(Path("m.ini"), "[S]\r\nk=disk\r\n");
    TMemIniFile ini(Name("m.ini"));
    WriteBytes(Path("m.ini"), "[S]\r\nk=changed on disk\r\n");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"disk");

    ini.WriteString(u"S", u"k", u"memory");
    ini.WriteInteger(u"T", u"n", 5);
    EXPECT_EQ(ini.ReadString(u"s", u"K", u""), u"memory");
    EXPECT_EQ(ReadBytes(Path("m.ini")), "[S]\r\nk=changed on disk\r\n");

    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(Path("m.ini")), "[S]\r\nk=memory\r\n\r\n[T]\r\nn=5\r\n");
}

TEST_F(IniFiles, FilesWrittenFromSeveralThreadsAtOnceStayWhole) {
    // Each thread saves a file of its own length over the same name again and again: every save must
    // succeed and the file must end as one of them whole, never a mix.
    constexpr int kThreads = 4;
    constexpr int kRounds = 25;
    std::vector<std::unique_ptr<TMemIniFile>> files;
    std::vector<std::string> contents;
    for (int t = 0; t < kThreads; ++t) {
        const size_t length = static_cast<size_t>(100 * (t + 1));
        files.push_back(std::make_unique<TMemIniFile>(Name("shared.ini")));
        files.back()->WriteString(u"S", u"k", String(length, static_cast<Char>(u'a' + t)));
        contents.push_back("[S]\r\nk=" + std::string(length, static_cast<char>('a' + t)) + "\r\n");
    }
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                try {
                    files[static_cast<size_t>(t)]->UpdateFile();
                } catch (const EIniFileException&) {
                    ++failures[static_cast<size_t>(t)];
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    const std::string bytes = ReadBytes(Path("shared.ini"));
    EXPECT_NE(std::find(contents.begin(), contents.end(), bytes), contents.end()) << bytes;
}

TEST_F(IniFiles, FileKeepsItsEncoding) {
    const std::string utf16 = std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22);
    WriteBytes(Path("u16.ini"), utf16);
    TIniFile ini(Name("u16.ini"));
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"\u00E9");
    ini.WriteString(u"S", u"n", u"1");
    EXPECT_EQ(ReadBytes(Path("u16.ini")), utf16 + std::string("n\0=\0"
                                                              "1\0\r\0\n\0",
                                                              10));

    WriteBytes(Path("bom.ini"), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
    TMemIniFile mem(Name("bom.ini"));
    EXPECT_EQ(mem.ReadString(u"S", u"k", u""), u"\u00E9");
    mem.UpdateFile();
    EXPECT_EQ(ReadBytes(Path("bom.ini")), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
}

TEST_F(IniFiles, NameWithoutFolderLivesInTheSettingsFolder) {
    TIniFile ini(u"zelmor-test.ini");
    ini.WriteString(u"S", u"k", u"v");
    EXPECT_EQ(ReadBytes(testing_support::TestHome() + "/zelmor-test.ini"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(ini.FileName(), u"zelmor-test.ini");
}

TEST_F(IniFiles, WritesThatCannotReachTheFileRaise) {
    auto message = [](const std::function<void()>& action) -> String {
        try {
            action();
        } catch (const EIniFileException& e) {
            return e.Message();
        }
        return u"(no exception)";
    };
    const String missingFolder = Name("nowhere/x.ini");
    TIniFile ini(missingFolder);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"d"), u"d");
    EXPECT_EQ(message([&] { ini.WriteString(u"S", u"k", u"v"); }), u"Unable to write to " + missingFolder);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"d"), u"d");

    TMemIniFile mem(missingFolder);
    mem.WriteString(u"S", u"k", u"v");
    EXPECT_EQ(message([&] { mem.UpdateFile(); }), u"Unable to write to " + missingFolder);

    // A file that exists but cannot be read is never replaced.
    TIniFile folder(Utf8ToString(FFolder));
    EXPECT_THROW(folder.WriteString(u"S", u"k", u"v"), EIniFileException);

    // Text that would not read back as the same entry is refused, and the file stays as it was.
    TIniFile good(Name("good.ini"));
    good.WriteString(u"S", u"k", u"v");
    EXPECT_THROW(good.WriteString(u"S", u"k", u"two\r\n[lines]"), EIniFileException);
    EXPECT_THROW(good.WriteString(u"S]", u"k", u"v"), EIniFileException);
    EXPECT_THROW(good.WriteString(u"S", u"a=b", u"v"), EIniFileException);
    EXPECT_THROW(good.WriteString(u"S", u";k", u"v"), EIniFileException);
    EXPECT_EQ(ReadBytes(Path("good.ini")), "[S]\r\nk=v\r\n");
}

// The fuzz target's seed files and every crash input it found, read as the target reads them.
TEST_F(IniFiles, FuzzInputsReadAndRoundTrip) {
    auto files = testing_support::FuzzFixtures(
        {ZELMOR_TESTS_SOURCE "/fuzz/corpus/ini", ZELMOR_TESTS_SOURCE "/platform/rtl/fuzz"});
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(ini_fuzz::ReadIniFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size(), FFolder))
            << name;
}

} // namespace
