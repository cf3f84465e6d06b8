// The registry store: its file round-trips every value and name, reads the format's variants, survives
// damaged files without losing their bytes, and lets several writers share the file.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/backend/file.h"
#include "platform/rtl/UString.h"
#include "platform/win32/registry.h"
#include "platform/win32/regstore.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/RegistryFuzzInput.h"
#include "tests/support/FuzzFixtures.h"
#include "tests/support/TestSupport.h"

using win32::RegistryStore;
using win32::RegKeyId;

namespace {

constexpr RegKeyId kRoot = RegistryStore::kRootKey;

std::vector<BYTE> Utf16(StringView text, bool terminated = true) {
    std::vector<BYTE> bytes;
    for (Char c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminated) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

std::string Hex(const std::vector<BYTE>& data) {
    std::string out;
    char digits[3];
    for (BYTE b : data) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        out += digits;
    }
    return out;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every value and key below key, one line each, in the store's enumeration order.
void Dump(RegistryStore& store, RegKeyId key, const std::string& path, std::string& out) {
    String name;
    DWORD type = 0;
    std::vector<BYTE> data;
    for (DWORD i = 0; store.EnumValue(key, i, name, type, data) == ERROR_SUCCESS; ++i)
        out += path + " \"" + StringToUtf8(name) + "\" " + std::to_string(type) + " " + Hex(data) + "\n";
    ULONGLONG lastWrite = 0;
    for (DWORD i = 0; store.EnumKey(key, i, name, lastWrite) == ERROR_SUCCESS; ++i) {
        RegKeyId child = 0;
        EXPECT_EQ(store.OpenKey(key, name, false, child), ERROR_SUCCESS) << StringToUtf8(name);
        std::string childPath = path + "\\" + StringToUtf8(name);
        out += childPath + "\n";
        Dump(store, child, childPath, out);
    }
}

std::string Dump(RegistryStore& store) {
    std::string out;
    Dump(store, kRoot, "", out);
    return out;
}

RegKeyId Create(RegistryStore& store, RegKeyId parent, StringView path) {
    RegKeyId key = 0;
    bool created = false;
    EXPECT_EQ(store.CreateKey(parent, path, true, true, key, created), ERROR_SUCCESS) << StringToUtf8(path);
    return key;
}

void Set(RegistryStore& store, RegKeyId key, StringView name, DWORD type, const std::vector<BYTE>& data) {
    EXPECT_EQ(store.SetValue(key, name, type, data.data(), data.size()), ERROR_SUCCESS) << StringToUtf8(name);
}

class RegStore : public testing::Test {
protected:
    void SetUp() override {
        FFolder =
            testing_support::MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        FPath = FFolder + "/user.reg";
    }
    std::unique_ptr<RegistryStore> Open() {
        return std::make_unique<RegistryStore>(FPath, u"HKEY_CURRENT_USER");
    }
    std::vector<std::string> CorruptCopies() const {
        std::vector<std::string> copies;
        for (const auto& entry : std::filesystem::directory_iterator(FFolder))
            if (entry.path().filename().string().rfind("user.reg.corrupt-", 0) == 0)
                copies.push_back(entry.path().string());
        return copies;
    }

    std::string FFolder;
    std::string FPath;
};

TEST_F(RegStore, WritesTheExportFormat) {
    auto store = Open();
    RegKeyId key = Create(*store, kRoot, u"Software\\Zelmor");
    Set(*store, key, u"", REG_SZ, Utf16(u"default"));
    Set(*store, key, u"Path", REG_SZ, Utf16(u"C:\\Data \"q\""));
    Set(*store, key, u"Count", REG_DWORD, {0x2a, 0, 0, 0});
    Set(*store, key, u"Bytes", REG_BINARY, {0x01, 0xff});
    Set(*store, key, u"Multi", REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0});
    Set(*store, key, u"Line\nbreak", REG_SZ, Utf16(u"a\n"));
    Create(*store, key, u"100%\r");
    EXPECT_EQ(ReadBytes(FPath), "Windows Registry Editor Version 5.00\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software]\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Zelmor]\n"
                                "@=\"default\"\n"
                                "\"Path\"=\"C:\\\\Data \\\"q\\\"\"\n"
                                "\"Count\"=dword:0000002a\n"
                                "\"Bytes\"=hex:01,ff\n"
                                "\"Multi\"=hex(7):61,00,00,00,00,00\n"
                                "\"Line\\x000abreak\"=hex(1):61,00,0a,00,00,00\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Zelmor\\100%0025%000d]\n"
                                "\n");
}

TEST_F(RegStore, EveryTypeAndNameRoundTripsThroughTheFile) {
    auto store = Open();
    const String awkward[] = {u"plain",
                              u"Ünïcödé ключ 鍵 😀",
                              u"quote\"d",
                              u"new\nline",
                              u"carriage\rreturn",
                              u"tab\tand\x7f del",
                              u"100%",
                              u"%0041 looks escaped",
                              u" spaced ",
                              u"[brackets]",
                              u"]",
                              u"\\x0041 looks escaped",
                              u"lone \xD800 surrogate"};
    std::vector<BYTE> large;
    for (int i = 0; i < 300; ++i)
        large.push_back(static_cast<BYTE>(i * 7));
    RegKeyId key = Create(*store, kRoot, u"Types");
    Set(*store, key, u"", REG_SZ, Utf16(u"the default"));
    Set(*store, key, u"none", REG_NONE, {});
    Set(*store, key, u"sz", REG_SZ, Utf16(u"C:\\path\\\"quoted\" ключ 😀"));
    Set(*store, key, u"sz empty", REG_SZ, Utf16(u""));
    Set(*store, key, u"sz no data", REG_SZ, {});
    Set(*store, key, u"sz lines", REG_SZ, Utf16(u"one\r\ntwo\n"));
    Set(*store, key, u"sz unterminated", REG_SZ, Utf16(u"abc", false));
    Set(*store, key, u"sz embedded null", REG_SZ, Utf16(String(u"a\0b", 3)));
    Set(*store, key, u"sz odd size", REG_SZ, {'a', 0, 0});
    Set(*store, key, u"expand", REG_EXPAND_SZ, Utf16(u"%HOME%\\x"));
    Set(*store, key, u"binary", REG_BINARY, large);
    Set(*store, key, u"dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
    Set(*store, key, u"dword short", REG_DWORD, {0x01, 0x02});
    Set(*store, key, u"big endian", REG_DWORD_BIG_ENDIAN, {0x12, 0x34, 0x56, 0x78});
    Set(*store, key, u"multi", REG_MULTI_SZ, Utf16(String(u"a\0b\0", 4)));
    Set(*store, key, u"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    Set(*store, key, u"odd type", 0x12345678, {9});
    RegKeyId names = Create(*store, kRoot, u"Names");
    for (const String& name : awkward) {
        Set(*store, names, name, REG_SZ, Utf16(name));
        if (name.find(u'\\') == String::npos) // key names cannot hold one
            Create(*store, names, name);
    }
    const std::string before = Dump(*store);

    auto fresh = Open();
    EXPECT_EQ(Dump(*fresh), before);
    // Writing again from the fresh store gives the same file: nothing drifts on a second pass.
    const std::string file = ReadBytes(FPath);
    Set(*fresh, kRoot, u"touch", REG_NONE, {});
    EXPECT_EQ(fresh->DeleteValue(kRoot, u"touch"), ERROR_SUCCESS);
    EXPECT_EQ(ReadBytes(FPath), file);
    EXPECT_EQ(Utf8ToString(file).find(u'\r'), String::npos) << "no raw control characters in the file";
    EXPECT_EQ(StringToUtf8(Utf8ToString(file)), file) << "the file is valid UTF-8";
}

TEST_F(RegStore, KeysCompareWithoutCaseAndKeepTheirCase) {
    auto store = Open();
    for (const Char* name : {u"beta", u"Alpha", u"gamma", u"ÉCOLE", u"Delta"})
        Create(*store, kRoot, name);
    RegKeyId key = 0;
    EXPECT_EQ(store->OpenKey(kRoot, u"école\\", false, key), ERROR_SUCCESS);
    bool created = true;
    EXPECT_EQ(store->CreateKey(kRoot, u"ALPHA", true, true, key, created), ERROR_SUCCESS);
    EXPECT_FALSE(created);
    Set(*store, kRoot, u"Zed", REG_DWORD, {1, 0, 0, 0});
    Set(*store, kRoot, u"apple", REG_DWORD, {2, 0, 0, 0});
    Set(*store, kRoot, u"ZED", REG_DWORD, {3, 0, 0, 0}); // the same value: it keeps its name and place
    EXPECT_EQ(Dump(*store), " \"Zed\" 4 03000000\n"
                            " \"apple\" 4 02000000\n"
                            "\\Alpha\n\\beta\n\\Delta\n\\gamma\n\\ÉCOLE\n");
}

struct ReadCase {
    const char* name;
    std::string file;
    std::string dump;
};

class RegStoreReads : public RegStore, public testing::WithParamInterface<ReadCase> {};

std::string Utf16File(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    for (Char c : Utf8ToString(utf8)) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

TEST_P(RegStoreReads, ReadsTheFormatsVariants) {
    WriteBytes(FPath, GetParam().file);
    auto store = Open();
    EXPECT_EQ(Dump(*store), GetParam().dump);
}

const char kHeader[] = "Windows Registry Editor Version 5.00\n\n";

INSTANTIATE_TEST_SUITE_P(
    RegStore, RegStoreReads,
    testing::Values(
        ReadCase{"Empty", "", ""}, ReadCase{"OnlyHeader", kHeader, ""},
        ReadCase{"CrLfCommentsAndBlanks",
                 "Windows Registry Editor Version 5.00\r\n\r\n; a comment\r\n  [HKEY_CURRENT_USER\\A]  \r\n"
                 "\"v\" = \"x\"  \r\n",
                 "\\A\n\\A \"v\" 1 78000000\n"},
        ReadCase{"Utf8Bom", std::string("\xEF\xBB\xBF") + kHeader + "[HKEY_CURRENT_USER\\É]\n", "\\É\n"},
        ReadCase{"Utf16Bom", Utf16File(std::string(kHeader) + "[HKEY_CURRENT_USER\\ключ]\n@=\"é\"\n"),
                 "\\ключ\n\\ключ \"\" 1 e9000000\n"},
        ReadCase{"Continuation",
                 std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"b\"=hex:01,02,\\\n  03,\\\n\t04\n",
                 "\\A\n\\A \"b\" 3 01020304\n"},
        ReadCase{"HandWrittenBackslash",
                 std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"p\"=\"C:\\temp\\x41\"\n",
                 "\\A\n\\A \"p\" 1 " + Hex(Utf16(u"C:\\temp\\x41")) + "\n"},
        ReadCase{"SectionsMergeAndValuesReplace",
                 std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n\"y\"=hex(0):\n[hkey_current_"
                                        "user\\a]\n\"X\"=dword:2\n",
                 "\\A\n\\A \"x\" 4 02000000\n\\A \"y\" 0 \n"},
        ReadCase{"ParentsAppearWithoutSections", std::string(kHeader) + "[HKEY_CURRENT_USER\\A\\B\\C]\n",
                 "\\A\n\\A\\B\n\\A\\B\\C\n"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct DamagedCase {
    const char* name;
    std::string file;
    int line;
};

class RegStoreDamaged : public RegStore, public testing::WithParamInterface<DamagedCase> {};

TEST_P(RegStoreDamaged, IsReportedAndKeptAsideAndThenReplaced) {
    const DamagedCase& c = GetParam();
    WriteBytes(FPath, c.file);
    auto store = Open();

    testing::internal::CaptureStderr();
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(store->QueryValue(kRoot, u"v", type, data), ERROR_REGISTRY_CORRUPT);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(FPath), std::string::npos) << report;
    EXPECT_NE(report.find("line " + std::to_string(c.line) + ":"), std::string::npos) << report;

    std::vector<std::string> copies = CorruptCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(std::filesystem::path(copies[0]).filename().string(),
              "user.reg.corrupt-20260115-103000-" + std::to_string(backend::CurrentProcessId()));
    EXPECT_NE(report.find(copies[0]), std::string::npos) << report;
    EXPECT_EQ(ReadBytes(copies[0]), c.file);
    EXPECT_EQ(ReadBytes(FPath), c.file) << "reading never changes the file";

    // Later calls work on an empty store, and the first change replaces the file.
    EXPECT_EQ(store->QueryValue(kRoot, u"v", type, data), ERROR_FILE_NOT_FOUND);
    Set(*store, kRoot, u"v", REG_DWORD, {7, 0, 0, 0});
    EXPECT_EQ(Dump(*Open()), " \"v\" 4 07000000\n");
    EXPECT_EQ(ReadBytes(copies[0]), c.file);
}

std::string Nested(size_t depth) {
    std::string path = "[HKEY_CURRENT_USER";
    for (size_t i = 0; i < depth; ++i)
        path += "\\k";
    return path + "]\n";
}

INSTANTIATE_TEST_SUITE_P(
    RegStore, RegStoreDamaged,
    testing::Values(
        DamagedCase{"NoHeader", "[HKEY_CURRENT_USER\\A]\n", 1},
        DamagedCase{"Binary", std::string("PK\x03\x04\x00\xff\xfe", 7), 1},
        DamagedCase{"ValueBeforeKey", std::string(kHeader) + "\"v\"=\"x\"\n", 3},
        DamagedCase{"UnclosedQuote", std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\n", 4},
        DamagedCase{"UnclosedKey", std::string(kHeader) + "[HKEY_CURRENT_USER\\A\n", 3},
        DamagedCase{"BadHex", std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:0g\n", 4},
        DamagedCase{"LongDword", std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n", 4},
        DamagedCase{"UnknownType", std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"v\"=text\n", 4},
        DamagedCase{"OtherHive", std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\A]\n", 3},
        DamagedCase{"EmptyKeyName", std::string(kHeader) + "[HKEY_CURRENT_USER\\A\\\\B]\n", 3},
        DamagedCase{"EscapedBackslashInKey", std::string(kHeader) + "[HKEY_CURRENT_USER\\A%005cB]\n", 3},
        DamagedCase{"LongKeyName",
                    std::string(kHeader) + "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\n", 3},
        DamagedCase{"TooDeep", std::string(kHeader) + Nested(513), 3},
        DamagedCase{"DanglingContinuation",
                    std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n", 4},
        DamagedCase{"DeletionEntry", std::string(kHeader) + "[-HKEY_CURRENT_USER\\A]\n", 3},
        DamagedCase{"OddUtf16", "\xFF\xFE\x41", 1},
        DamagedCase{"BigEndianUtf16", std::string("\xFE\xFF\x00\x41", 4), 1}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST_F(RegStore, DeepButLegalNestingLoads) {
    WriteBytes(FPath, std::string(kHeader) + Nested(512));
    auto store = Open();
    RegKeyId key = 0;
    String path;
    for (int i = 0; i < 512; ++i)
        path += u"k\\";
    EXPECT_EQ(store->OpenKey(kRoot, path, false, key), ERROR_SUCCESS);
    bool created = false;
    EXPECT_EQ(store->CreateKey(key, u"one more", true, true, key, created), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(store->CreateKey(kRoot, String(256, u'k'), true, true, key, created), ERROR_INVALID_PARAMETER);
}

TEST_F(RegStore, UnreadableFileFailsEveryCallAndIsNeverWritten) {
    std::filesystem::create_directory(FPath); // a folder where the file should be cannot be read as one
    auto store = Open();
    testing::internal::CaptureStderr();
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(store->QueryValue(kRoot, u"v", type, data), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(store->QueryValue(kRoot, u"v", type, data), ERROR_REGISTRY_IO_FAILED);
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(store->SetValue(kRoot, u"v", REG_DWORD, one, 4), ERROR_REGISTRY_IO_FAILED);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(FPath), std::string::npos);
    EXPECT_EQ(report.find(FPath), report.rfind(FPath)) << "reported once: " << report;
    EXPECT_TRUE(std::filesystem::is_directory(FPath));
    EXPECT_TRUE(CorruptCopies().empty());
}

TEST_F(RegStore, FileSizeLimitIsKeptOnReadingAndOnWriting) {
    // A change that would make the file larger than the store reads would lock every setting away: it
    // is refused, and the store goes on with what the file holds.
    constexpr std::int64_t kLimit = 4096;
    auto store = std::make_unique<RegistryStore>(FPath, u"HKEY_CURRENT_USER", kLimit);
    Set(*store, kRoot, u"kept", REG_DWORD, {7, 0, 0, 0});
    const std::vector<BYTE> large(kLimit / 2, 0xAB); // its hex text alone is past the limit
    EXPECT_EQ(store->SetValue(kRoot, u"large", REG_BINARY, large.data(), large.size()),
              ERROR_NOT_ENOUGH_QUOTA);
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(store->QueryValue(kRoot, u"large", type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Dump(*std::make_unique<RegistryStore>(FPath, u"HKEY_CURRENT_USER", kLimit)),
              " \"kept\" 4 07000000\n");

    // A file already past the limit is reported, never read and never replaced.
    const std::string big = "Windows Registry Editor Version 5.00\n\n; " + std::string(kLimit, 'x') + "\n";
    WriteBytes(FPath, big);
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->QueryValue(kRoot, u"kept", type, data), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(store->SetValue(kRoot, u"v", REG_DWORD, data.data(), 0), ERROR_REGISTRY_CORRUPT);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is larger than 4096 bytes"), std::string::npos);
    EXPECT_EQ(ReadBytes(FPath), big);
}

TEST_F(RegStore, ChangesAreAppliedToTheFilesLatestContents) {
    // Two stores with caches of their own stand for two processes.
    auto first = Open();
    auto second = Open();
    Set(*first, Create(*first, kRoot, u"Shared"), u"a", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(Dump(*second), "\\Shared\n\\Shared \"a\" 4 01000000\n");
    // Both now hold the file in memory; each change must land on what the other wrote.
    RegKeyId inFirst = Create(*first, kRoot, u"Shared");
    RegKeyId inSecond = Create(*second, kRoot, u"Shared");
    Set(*first, inFirst, u"b", REG_DWORD, {2, 0, 0, 0});
    Set(*second, inSecond, u"c", REG_DWORD, {3, 0, 0, 0});
    EXPECT_EQ(second->DeleteValue(inSecond, u"a"), ERROR_SUCCESS);
    Set(*first, inFirst, u"d", REG_DWORD, {4, 0, 0, 0});
    const std::string expected = "\\Shared\n\\Shared \"b\" 4 02000000\n\\Shared \"c\" 4 03000000\n"
                                 "\\Shared \"d\" 4 04000000\n";
    EXPECT_EQ(Dump(*first), expected);
    EXPECT_EQ(Dump(*second), expected);
    EXPECT_EQ(Dump(*Open()), expected);
}

TEST_F(RegStore, TwoProcessesWritingAtOnceLoseNothing) {
    const std::string writer = ZELMOR_REGISTRY_WRITER;
    const int count = 40;
    const std::string command = "'" + writer + "' '" + FFolder + "' a " + std::to_string(count) + " & '" +
                                writer + "' '" + FFolder + "' b " + std::to_string(count) + " & wait";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto store = Open();
    RegKeyId key = 0;
    ASSERT_EQ(store->OpenKey(kRoot, u"Software\\Race", false, key), ERROR_SUCCESS);
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < count; ++i) {
            String name = Utf8ToString(prefix + std::to_string(i));
            DWORD type = 0;
            std::vector<BYTE> data;
            ASSERT_EQ(store->QueryValue(key, name, type, data), ERROR_SUCCESS) << StringToUtf8(name);
            EXPECT_EQ(data, (std::vector<BYTE>{static_cast<BYTE>(i), 0, 0, 0}));
        }
    }
}

TEST_F(RegStore, DeletedKeyStaysDeletedForItsHolders) {
    auto store = Open();
    RegKeyId key = Create(*store, kRoot, u"Gone");
    Create(*store, key, u"Child");
    EXPECT_EQ(store->DeleteKey(kRoot, u"Gone"), ERROR_ACCESS_DENIED) << "a key with subkeys stays";
    EXPECT_EQ(store->DeleteKey(key, u"Child"), ERROR_SUCCESS);
    EXPECT_EQ(store->DeleteKey(kRoot, u"GONE"), ERROR_SUCCESS);
    EXPECT_EQ(store->DeleteKey(kRoot, u"Gone"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store->DeleteKey(kRoot, u""), ERROR_ACCESS_DENIED) << "the root stays";
    RegKeyId again = Create(*store, kRoot, u"Gone");
    EXPECT_NE(again, key);
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(store->SetValue(key, u"v", REG_DWORD, one, 4), ERROR_KEY_DELETED);
    RegKeyId child = 0;
    EXPECT_EQ(store->OpenKey(key, u"", false, child), ERROR_KEY_DELETED);

    // A key's identity survives a reload caused by another writer.
    auto other = Open();
    Set(*other, Create(*other, kRoot, u"Gone"), u"w", REG_DWORD, {2, 0, 0, 0});
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(store->QueryValue(again, u"w", type, data), ERROR_SUCCESS);
}

TEST_F(RegStore, SynthesisedKeyIsFreshReadOnlyAndNeverSaved) {
    const std::string path = FFolder + "/machine.reg";
    WriteBytes(path, std::string(kHeader) +
                         "[HKEY_LOCAL_MACHINE\\HARDWARE\\Junk]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n");
    RegistryStore store(path, u"HKEY_LOCAL_MACHINE");
    std::vector<std::pair<String, String>> ports = {{u"\\Device\\ttyUSB0", u"ttyUSB0"}};
    store.AddSynthesisedKey(u"HARDWARE\\DEVICEMAP\\SERIALCOMM", [&] { return ports; });

    RegKeyId key = 0;
    ASSERT_EQ(store.OpenKey(kRoot, u"hardware\\devicemap\\serialcomm", false, key), ERROR_SUCCESS);
    EXPECT_EQ(Dump(store), "\\HARDWARE\n\\HARDWARE\\DEVICEMAP\n\\HARDWARE\\DEVICEMAP\\SERIALCOMM\n"
                           "\\HARDWARE\\DEVICEMAP\\SERIALCOMM \"\\Device\\ttyUSB0\" 1 " +
                               Hex(Utf16(u"ttyUSB0")) + "\n\\SOFTWARE\n\\SOFTWARE\\Kept\n");
    ports = {{u"\\Device\\ttyACM0", u"ttyACM0"}, {u"\\Device\\ttyS0", u"ttyS0"}};
    std::string values;
    Dump(store, key, "", values);
    EXPECT_EQ(values, " \"\\Device\\ttyACM0\" 1 " + Hex(Utf16(u"ttyACM0")) + "\n \"\\Device\\ttyS0\" 1 " +
                          Hex(Utf16(u"ttyS0")) + "\n");

    const BYTE one[4] = {1, 0, 0, 0};
    RegKeyId other = 0;
    bool created = false;
    EXPECT_EQ(store.SetValue(key, u"x", REG_DWORD, one, 4), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.DeleteValue(key, u"\\Device\\ttyS0"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.OpenKey(kRoot, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", true, other), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.CreateKey(key, u"Sub", true, true, other, created), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.DeleteKey(kRoot, u"HARDWARE\\DEVICEMAP\\SERIALCOMM"), ERROR_ACCESS_DENIED);

    Set(store, Create(store, kRoot, u"SOFTWARE\\Kept"), u"v", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(ReadBytes(path), std::string(kHeader) +
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n\"v\"=dword:00000001\n\n");
}

// The fuzz target's seed files and every crash input it found, read as the target reads them.
TEST(RegistryFuzzInputs, ReadAndRoundTrip) {
    const std::string folder = testing_support::MakeTestFolder("RegistryFuzzInputs");
    auto files = testing_support::FuzzFixtures(
        {ZELMOR_TESTS_SOURCE "/fuzz/corpus/registry", ZELMOR_TESTS_SOURCE "/platform/win32/fuzz"});
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(registry_fuzz::ReadRegistryFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                         bytes.size(), folder))
            << name;
}

} // namespace
