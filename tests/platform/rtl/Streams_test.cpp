// Tests of the streams, the encodings and the file routines under them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/backend/file.h"
#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Contents(TCustomMemoryStream& stream) {
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

String TestFile(const std::string& folder, const char* name) {
    return Utf8ToString(folder + "/" + name);
}

template <class E> String MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return u"(no exception)";
}

// Memory streams

TEST(MemoryStream, GrowsInBlocksAndFewTimesForManySmallWrites) {
    TMemoryStream stream;
    const void* memory = nullptr;
    int moves = 0;
    for (int i = 0; i < 300000; ++i) {
        const Byte b = static_cast<Byte>(i);
        stream.WriteBuffer(&b, 1);
        if (stream.Memory() != memory) {
            memory = stream.Memory();
            ++moves;
        }
    }
    EXPECT_EQ(stream.Size(), 300000);
    EXPECT_EQ(stream.Capacity() % 0x2000, 0);
    EXPECT_LT(moves, 30);
    EXPECT_EQ(static_cast<const Byte*>(stream.Memory())[299999], static_cast<Byte>(299999));
}

TEST(MemoryStream, PositionSizeAndGaps) {
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Position(), 6);

    // Writing past the end fills the gap with zeros.
    stream.Seek(2, soEnd);
    stream.WriteBuffer("Z", 1);
    EXPECT_EQ(Contents(stream), std::string("abcdef\0\0Z", 9));

    // Shrinking moves a position past the new end to the end; growing again shows zeros, not old bytes.
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 3);
    stream.SetSize(5);
    EXPECT_EQ(Contents(stream), std::string("abc\0\0", 5));

    char buffer[8] = {};
    stream.Seek(-2, soFromEnd);
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    stream.SetPosition(-1);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Write("x", 1), 0);

    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Capacity(), 0);
}

TEST(Stream, ReadBufferAndCopyFromRaiseOnShortData) {
    TMemoryStream source;
    source.WriteBuffer("0123456789", 10);
    char buffer[16];
    source.SetPosition(8);
    EXPECT_EQ(MessageOf<EReadError>([&] { source.ReadBuffer(buffer, 3); }), u"Stream read error");

    // A count of 0 copies the whole source from its start, whatever its position.
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 0), 10);
    EXPECT_EQ(Contents(target), "0123456789");

    source.SetPosition(4);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(Contents(part), "456");
    EXPECT_THROW(part.CopyFrom(source, 10), EReadError);
}

TEST(StringStream, TextInItsEncoding) {
    TStringStream stream(u"h\u00E9", TEncoding::Unicode());
    EXPECT_EQ(stream.Size(), 4);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.ReadString(2), u"h");
    stream.Seek(0, soEnd);
    stream.WriteString(u"!");
    EXPECT_EQ(stream.DataString(), u"h\u00E9!");

    TStringStream ansi(u"\u20AC");
    EXPECT_EQ(Contents(ansi), "\xE2\x82\xAC");
}

TEST(Encoding, BytesOfTheEncodings) {
    EXPECT_EQ(TEncoding::ASCII()->GetBytes(u"a\u00E9\U0001F600"), (TBytes{'a', '?', '?'}));
    EXPECT_EQ(TEncoding::ASCII()->GetString(TBytes{'a', 0xE9}), u"a?");
    EXPECT_EQ(TEncoding::BigEndianUnicode()->GetBytes(u"\u20AC"), (TBytes{0x20, 0xAC}));
    // An odd last byte of UTF-16 text is not a character.
    EXPECT_EQ(TEncoding::Unicode()->GetString(TBytes{'a', 0, 'b'}), u"a");

    TEncoding* encoding = nullptr;
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xEF, 0xBB, 0xBF, 'x'}, encoding), 3);
    EXPECT_EQ(encoding, TEncoding::UTF8());
    encoding = nullptr;
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xEF, 0xBB}, encoding), 0);
    EXPECT_EQ(encoding, TEncoding::Default());
    encoding = TEncoding::Unicode();
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xEF, 0xBB, 0xBF}, encoding), 0);
    EXPECT_EQ(encoding, TEncoding::Unicode());
}

// File streams

TEST(FileStream, WritesReadsSeeksAndResizes) {
    const std::string folder = testing_support::MakeTestFolder("file-stream");
    const String name = TestFile(folder, "data.bin");
    {
        TFileStream stream(name, fmCreate);
        stream.WriteBuffer("hello world", 11);
        EXPECT_EQ(stream.Size(), 11);
        stream.SetSize(5);
        EXPECT_EQ(stream.Size(), 5);
        EXPECT_EQ(stream.FileName(), name);
    }
    TFileStream stream(name, fmOpenRead | fmShareDenyWrite);
    char buffer[16] = {};
    EXPECT_EQ(stream.Seek(1, soBeginning), 1);
    EXPECT_EQ(stream.Read(buffer, 16), 4);
    EXPECT_STREQ(buffer, "ello");
    // The file is open for reading only.
    EXPECT_EQ(MessageOf<EWriteError>([&] { stream.WriteBuffer("x", 1); }), u"Stream write error");

    TMemoryStream memory;
    memory.LoadFromFile(name);
    EXPECT_EQ(Contents(memory), "hello");
    memory.SaveToFile(TestFile(folder, "copy.bin"));
    EXPECT_TRUE(FileExists(TestFile(folder, "copy.bin")));
}

TEST(FileStream, ErrorsNameTheExpandedFileAndTheSystemsReason) {
    const std::string folder = testing_support::MakeTestFolder("file-stream-errors");
    const String missing = TestFile(folder, "./missing.txt");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream stream(missing, fmOpenRead); }),
              u"Cannot open file \"" + TestFile(folder, "missing.txt") +
                  u"\". The system cannot find the file specified.");

    const String inMissingFolder = TestFile(folder, "nowhere/new.txt");
    EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream stream(inMissingFolder, fmCreate); }),
              u"Cannot create file \"" + inMissingFolder + u"\". The system cannot find the path specified.");

    EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream stream(Utf8ToString(folder), fmCreate); }),
              u"Cannot create file \"" + Utf8ToString(folder) + u"\". Access is denied.");
}

// File routines

TEST(FileUtils, HandleRoutinesAnswerMinusOneAndSetTheLastError) {
    const std::string folder = testing_support::MakeTestFolder("file-handles");
    const String name = TestFile(folder, "h.txt");

    EXPECT_EQ(FileOpen(name, fmOpenRead), -1);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FileOpen(TestFile(folder, "no/h.txt"), fmOpenRead), -1);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FileOpen(name + String(1, u'\0') + u"x", fmOpenRead), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

    const Integer handle = FileCreate(name);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(FileWrite(handle, "abc", 3), 3);
    EXPECT_EQ(FileSeek(handle, 1, 0), 1);
    char buffer[4] = {};
    EXPECT_EQ(FileRead(handle, buffer, 4), 2);
    EXPECT_STREQ(buffer, "bc");
    EXPECT_EQ(FileSeek(handle, 0, 7), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    FileClose(handle);
}

TEST(FileUtils, FilesAndFolders) {
    const std::string folder = testing_support::MakeTestFolder("file-folders");
    const String deep = TestFile(folder, "a/b/c/");
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    EXPECT_FALSE(ForceDirectories(u""));

    const String one = TestFile(folder, "one.txt");
    const String two = TestFile(folder, "two.txt");
    FileClose(FileCreate(one));
    FileClose(FileCreate(two));
    // Renaming never replaces a file.
    EXPECT_FALSE(RenameFile(one, two));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(DeleteFile(two));
    EXPECT_TRUE(RenameFile(one, two));
    EXPECT_FALSE(FileExists(one));
    EXPECT_TRUE(FileExists(two));
    EXPECT_FALSE(DeleteFile(one));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

struct NameCase {
    const char* name;
    String fileName;
    String path, dir, file, ext;
};

class FileNameParts : public testing::TestWithParam<NameCase> {};

TEST_P(FileNameParts, Extract) {
    const NameCase& c = GetParam();
    EXPECT_EQ(ExtractFilePath(c.fileName), c.path);
    EXPECT_EQ(ExtractFileDir(c.fileName), c.dir);
    EXPECT_EQ(ExtractFileName(c.fileName), c.file);
    EXPECT_EQ(ExtractFileExt(c.fileName), c.ext);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileNameParts,
                         testing::Values(NameCase{"Full", u"/home/u/log.txt", u"/home/u/", u"/home/u",
                                                  u"log.txt", u".txt"},
                                         NameCase{"Bare", u"log.tar.gz", u"", u"", u"log.tar.gz", u".gz"},
                                         NameCase{"AtRoot", u"/log", u"/", u"/", u"log", u""},
                                         NameCase{"DotInFolder", u"/a.b/c", u"/a.b/", u"/a.b", u"c", u""},
                                         NameCase{"HiddenFile", u"/a/.rc", u"/a/", u"/a", u".rc", u".rc"},
                                         NameCase{"DoubleSlash", u"a//b", u"a//", u"a//", u"b", u""},
                                         NameCase{"Folder", u"/a/b/", u"/a/b/", u"/a/b", u"", u""}),
                         [](const auto& info) { return info.param.name; });

TEST(FileUtils, ChangingAndExpandingNames) {
    EXPECT_EQ(ChangeFileExt(u"/a.b/c", u".ini"), u"/a.b/c.ini");
    EXPECT_EQ(ChangeFileExt(u"c.txt", u""), u"c");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a"), u"/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a/"), u"/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u""), u"/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a/"), u"/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a"), u"/a");

    EXPECT_EQ(ExpandFileName(u"/a/./b/../c"), u"/a/c");
    EXPECT_EQ(ExpandFileName(u"/a//b/"), u"/a/b/");
    EXPECT_EQ(ExpandFileName(u"/.."), u"/");
    EXPECT_EQ(ExpandFileName(u"x/../y.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + u"y.txt");
    EXPECT_EQ(GetCurrentDir().front(), PathDelim);
}

} // namespace
