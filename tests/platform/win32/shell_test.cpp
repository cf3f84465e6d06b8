// Image lists and the shell's file information: icon indices by kind of path, the system lists and their
// sizes, drawing with and without transparency, icons in and out, and the failures; ShellExecute.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/rtl/UString.h"
#include "platform/win32/shell.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/gdi_test.h"
#include "tests/support/TestSupport.h"

namespace {

using gdi_test::Canvas;

int IconIndex(const char16_t* path, DWORD attributes, UINT flags = SHGFI_SMALLICON) {
    SHFILEINFOW info{};
    info.iIcon = -1;
    if (!SHGetFileInfoW(path, attributes, &info, sizeof info, flags | SHGFI_SYSICONINDEX))
        return -1;
    return info.iIcon;
}

constexpr DWORD NormalFile = 0x80;

HIMAGELIST SystemList(UINT sizeFlag) {
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        u"x", NormalFile, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | sizeFlag));
}

// A strip of two 4x4 pictures: the first red with a green centre, the second blue. The mask (white =
// transparent) and the key colour green both make that centre transparent.
struct Strip {
    Canvas image{8, 4};
    Canvas mask{8, 4};
    Strip() {
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        RECT left{0, 0, 4, 4}, right{4, 0, 8, 4}, centre{1, 1, 3, 3}, all{0, 0, 8, 4};
        FillRect(image.dc(), &left, red);
        FillRect(image.dc(), &right, blue);
        FillRect(image.dc(), &centre, green);
        FillRect(mask.dc(), &all, black);
        FillRect(mask.dc(), &centre, white);
        for (HBRUSH brush : {red, blue, green, black, white})
            DeleteObject(brush);
    }
};

} // namespace

TEST(ShellIcons, SameKindSameIndexAndKindsDiffer) {
    constexpr DWORD Folder = FILE_ATTRIBUTE_DIRECTORY;
    struct Row {
        const char16_t* a;
        DWORD aAttributes;
        const char16_t* b;
        DWORD bAttributes;
        bool same;
    };
    const Row rows[] = {
        {u"C:\\notes\\a.txt", NormalFile, u"/tmp/B.TXT", NormalFile, true},
        {u"report.doc", NormalFile, u"other.xyz", NormalFile, true},
        {u"data", Folder, u"C:\\Program Files\\", Folder, true},
        {u"photo.png", NormalFile, u"scan.JPEG", NormalFile, true},
        {u"setup.exe", NormalFile, u"run.sh", NormalFile, true},
        {u"data", Folder, u"data", NormalFile, false},
        {u"a.txt", NormalFile, u"a.png", NormalFile, false},
        {u"a.exe", NormalFile, u"a.doc", NormalFile, false},
        {u"C:\\", Folder, u"D:\\work", Folder, false},
        {u"/", Folder, u"C:", NormalFile, true},
    };
    for (const Row& row : rows) {
        int a = IconIndex(row.a, row.aAttributes, SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        int b = IconIndex(row.b, row.bAttributes, SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        ASSERT_GE(a, 0) << StringToUtf8(row.a);
        ASSERT_GE(b, 0) << StringToUtf8(row.b);
        EXPECT_EQ(a == b, row.same) << StringToUtf8(row.a) << " / " << StringToUtf8(row.b);
        // The large list numbers its icons the same way.
        EXPECT_EQ(IconIndex(row.a, row.aAttributes, SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES), a);
    }

    // Paths on disk are read: an existing folder and file give the indices of their kinds.
    std::filesystem::path folder = testing_support::MakeTestFolder("zelmor-shell-test");
    std::ofstream(folder / "notes.txt") << "x";
    String folderName = Utf8ToString(folder.string());
    String fileName = Utf8ToString((folder / "notes.txt").string());
    EXPECT_EQ(IconIndex(folderName.c_str(), 0),
              IconIndex(u"any", Folder, SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ(IconIndex(fileName.c_str(), Folder),
              IconIndex(u"any.txt", NormalFile, SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    std::filesystem::remove_all(folder);
}

TEST(ShellIcons, SystemListsHaveTheSystemIconSizes) {
    HIMAGELIST small = SystemList(SHGFI_SMALLICON);
    HIMAGELIST large = SystemList(SHGFI_LARGEICON);
    ASSERT_TRUE(small);
    ASSERT_TRUE(large);
    EXPECT_NE(small, large);
    EXPECT_EQ(SystemList(SHGFI_SMALLICON), small);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(small, &cx, &cy));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYSMICON));
    ASSERT_TRUE(ImageList_GetIconSize(large, &cx, &cy));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYICON));
    EXPECT_GE(ImageList_GetImageCount(small), 6);
    EXPECT_EQ(ImageList_GetImageCount(large), ImageList_GetImageCount(small));

    // The system lists are shared by the whole process: destroying one is refused.
    EXPECT_FALSE(ImageList_Destroy(small));
    EXPECT_EQ(ImageList_GetImageCount(small), ImageList_GetImageCount(large));
}

TEST(ShellIcons, IconsDrawWithinTheirSizeAndTransparently) {
    for (UINT sizeFlag : {SHGFI_SMALLICON, SHGFI_LARGEICON}) {
        HIMAGELIST list = SystemList(sizeFlag);
        int size = sizeFlag == SHGFI_SMALLICON ? GetSystemMetrics(SM_CXSMICON) : GetSystemMetrics(SM_CXICON);
        int kinds[] = {IconIndex(u"a.doc", NormalFile, sizeFlag | SHGFI_USEFILEATTRIBUTES),
                       IconIndex(u"a", FILE_ATTRIBUTE_DIRECTORY, sizeFlag | SHGFI_USEFILEATTRIBUTES),
                       IconIndex(u"/", FILE_ATTRIBUTE_DIRECTORY, sizeFlag | SHGFI_USEFILEATTRIBUTES),
                       IconIndex(u"a.exe", NormalFile, sizeFlag | SHGFI_USEFILEATTRIBUTES),
                       IconIndex(u"a.txt", NormalFile, sizeFlag | SHGFI_USEFILEATTRIBUTES),
                       IconIndex(u"a.png", NormalFile, sizeFlag | SHGFI_USEFILEATTRIBUTES)};
        std::string previous;
        const COLORREF teal = RGB(0, 128, 128); // a colour no icon uses
        for (int index : kinds) {
            Canvas canvas(size + 4, size + 4);
            HBRUSH background = CreateSolidBrush(teal);
            RECT all{0, 0, canvas.width(), canvas.height()};
            FillRect(canvas.dc(), &all, background);
            DeleteObject(background);
            ASSERT_TRUE(ImageList_Draw(list, index, canvas.dc(), 2, 2, ILD_TRANSPARENT));
            // Ink only inside the icon's square, and the icon does not cover it all.
            int inside = 0;
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = 0; x < canvas.width(); ++x) {
                    bool ink = canvas.At(x, y) != teal;
                    bool within = x >= 2 && y >= 2 && x < size + 2 && y < size + 2;
                    EXPECT_TRUE(within || !ink) << x << "," << y;
                    inside += ink;
                }
            EXPECT_GT(inside, size * size / 4) << index;
            EXPECT_LT(inside, size * size) << index;
            std::string picture = canvas.Picture({{teal, ' '}});
            EXPECT_NE(picture, previous) << "icons " << index << " and the one before look alike";
            previous = picture;
        }
    }
}

TEST(ShellIcons, TypeNameDisplayNameAndIcon) {
    struct Row {
        const char16_t* path;
        DWORD attributes;
        const char16_t* display;
        const char16_t* type;
    };
    const Row rows[] = {
        {u"C:\\docs\\Report.TXT", NormalFile, u"Report.TXT", u"Text Document"},
        {u"/home/user/data.csv", NormalFile, u"data.csv", u"CSV File"},
        {u"/home/user/README", NormalFile, u"README", u"File"},
        {u"/home/user/photos/", FILE_ATTRIBUTE_DIRECTORY, u"photos", u"File folder"},
        {u"tool.exe", NormalFile, u"tool.exe", u"Application"},
        {u"C:\\", FILE_ATTRIBUTE_DIRECTORY, u"C:\\", u"Local Disk"},
    };
    for (const Row& row : rows) {
        SHFILEINFOW info{};
        ASSERT_TRUE(SHGetFileInfoW(row.path, row.attributes, &info, sizeof info,
                                   SHGFI_USEFILEATTRIBUTES | SHGFI_DISPLAYNAME | SHGFI_TYPENAME));
        EXPECT_EQ(String(info.szDisplayName), row.display);
        EXPECT_EQ(String(info.szTypeName), row.type);
    }

    // SHGFI_ICON hands out a new icon of the chosen size that draws as the list's picture does.
    SHFILEINFOW info{};
    ASSERT_TRUE(SHGetFileInfoW(u"a.txt", NormalFile, &info, sizeof info,
                               SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON));
    ASSERT_TRUE(info.hIcon);
    Canvas fromIcon(16, 16), fromList(16, 16);
    EXPECT_TRUE(DrawIconEx(fromIcon.dc(), 0, 0, info.hIcon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(
        ImageList_Draw(SystemList(SHGFI_SMALLICON), info.iIcon, fromList.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(fromIcon.Picture(), fromList.Picture());
    EXPECT_TRUE(DestroyIcon(info.hIcon));
}

TEST(ShellIcons, BadArgumentsFail) {
    SHFILEINFOW info{};
    struct Row {
        const char* name;
        LPCWSTR path;
        SHFILEINFOW* info;
        UINT size;
        UINT flags;
        DWORD error;
    };
    const UINT index = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES;
    const Row rows[] = {
        {"no path", nullptr, &info, sizeof info, index, ERROR_INVALID_PARAMETER},
        {"empty path", u"", &info, sizeof info, index, ERROR_INVALID_PARAMETER},
        {"record too small", u"a.txt", &info, sizeof info - 1, index, ERROR_INVALID_PARAMETER},
        {"names without a record", u"a.txt", nullptr, 0, index | SHGFI_TYPENAME, ERROR_INVALID_PARAMETER},
        {"nothing asked without a record", u"a.txt", nullptr, 0, SHGFI_USEFILEATTRIBUTES,
         ERROR_INVALID_PARAMETER},
        {"item list", u"a.txt", &info, sizeof info, index | SHGFI_PIDL, ERROR_NOT_SUPPORTED},
        {"missing file", u"/nonexistent/zelmor/a.txt", &info, sizeof info, SHGFI_SYSICONINDEX,
         ERROR_FILE_NOT_FOUND},
    };
    for (const Row& row : rows) {
        SetLastError(0);
        EXPECT_EQ(SHGetFileInfoW(row.path, NormalFile, row.info, row.size, row.flags), 0u) << row.name;
        EXPECT_EQ(GetLastError(), row.error) << row.name;
    }

    HIMAGELIST list = SystemList(SHGFI_SMALLICON);
    Canvas canvas(16, 16);
    SetLastError(0);
    EXPECT_FALSE(ImageList_Draw(list, ImageList_GetImageCount(list), canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_FALSE(ImageList_Draw(list, -1, canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.Ink(), 0);
}

TEST(ShellIcons, EntryPointIsExported) {
    HMODULE shell = LoadLibraryW(u"SHELL32.DLL");
    ASSERT_TRUE(shell);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFileInfoW")),
              reinterpret_cast<void*>(&SHGetFileInfoW));
}

TEST(ImageList, AddCutsAStripWithMaskOrKeyColour) {
    Strip strip;
    for (bool keyed : {false, true}) {
        HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 2);
        ASSERT_TRUE(list);
        int first = keyed ? ImageList_AddMasked(list, strip.image.bitmap(), RGB(0, 255, 0))
                          : ImageList_Add(list, strip.image.bitmap(), strip.mask.bitmap());
        EXPECT_EQ(first, 0);
        EXPECT_EQ(ImageList_GetImageCount(list), 2);
        EXPECT_EQ(ImageList_AddMasked(list, strip.image.bitmap(), CLR_NONE), 2);

        Canvas canvas(12, 4);
        ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT));
        ASSERT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 4, 0, ILD_NORMAL));
        ASSERT_TRUE(ImageList_Draw(list, 2, canvas.dc(), 8, 0, ILD_NORMAL));
        EXPECT_EQ(canvas.Picture({{RGB(255, 0, 0), 'r'}, {RGB(0, 0, 255), 'b'}, {RGB(0, 255, 0), 'g'}}),
                  "rrrrbbbbrrrr\n"
                  "r..rbbbbrggr\n"
                  "r..rbbbbrggr\n"
                  "rrrrbbbbrrrr\n")
            << (keyed ? "key colour" : "mask");
        EXPECT_TRUE(ImageList_Destroy(list));
    }
}

TEST(ImageList, BackgroundColourCropAndIconRoundTrip) {
    Strip strip;
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 1);
    ASSERT_EQ(ImageList_Add(list, strip.image.bitmap(), strip.mask.bitmap()), 0);
    const std::map<COLORREF, char> legend{
        {RGB(255, 0, 0), 'r'}, {RGB(0, 0, 0), '#'}, {RGB(255, 255, 0), 'y'}};

    // ILD_NORMAL fills the transparent part with the list's background colour; ILD_TRANSPARENT does not.
    EXPECT_EQ(ImageList_SetBkColor(list, RGB(255, 255, 0)), CLR_NONE);
    Canvas normal(8, 4);
    ImageList_Draw(list, 0, normal.dc(), 0, 0, ILD_NORMAL);
    ImageList_Draw(list, 0, normal.dc(), 4, 0, ILD_TRANSPARENT);
    EXPECT_EQ(normal.Picture(legend), "rrrrrrrr\nryyrr..r\nryyrr..r\nrrrrrrrr\n");

    // DrawEx draws the top-left part of the given size, on the background it is given.
    Canvas cropped(4, 4);
    ImageList_DrawEx(list, 0, cropped.dc(), 0, 0, 2, 3, RGB(0, 0, 0), CLR_DEFAULT, ILD_NORMAL);
    EXPECT_EQ(cropped.Picture(legend), "rr..\nr#..\nr#..\n....\n");

    // An icon taken out and put into a list of another size keeps its transparency, scaled.
    HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ASSERT_TRUE(icon);
    HIMAGELIST larger = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
    EXPECT_EQ(ImageList_AddIcon(larger, icon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(larger, 0, icon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(larger, 1, icon), -1);
    Canvas big(8, 8);
    ImageList_Draw(larger, 0, big.dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(big.Picture(legend),
              "rrrrrrrr\nrrrrrrrr\nrr....rr\nrr....rr\nrr....rr\nrr....rr\nrrrrrrrr\nrrrrrrrr\n");
    DestroyIcon(icon);
    ImageList_Destroy(larger);
    ImageList_Destroy(list);
}

TEST(ImageList, BadHandlesAndSizesFail) {
    for (auto [cx, cy] : {std::pair{0, 16}, {16, -1}, {ImageListMaxSide + 1, 16}}) {
        SetLastError(0);
        EXPECT_FALSE(ImageList_Create(cx, cy, ILC_COLOR32, 1, 1)) << cx << "x" << cy;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    Strip strip;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    // A strip narrower or lower than one picture adds nothing.
    EXPECT_EQ(ImageList_Add(list, strip.image.bitmap(), nullptr), -1);
    EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_TRUE(ImageList_Destroy(list));

    SetLastError(0);
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    int cx = 0, cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, strip.image.bitmap(), nullptr), -1);
    Canvas canvas(4, 4);
    EXPECT_FALSE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_GetIcon(nullptr, 0, ILD_NORMAL));
}

TEST(ShellExecute, HandsTheFileAloneToTheOpener) {
    std::vector<String> opened;
    bool starts = true;
    win32::SetShellOpener([&](const String& file) {
        opened.push_back(file);
        return starts;
    });
    struct Case {
        const char* what;
        LPCWSTR verb;
        LPCWSTR file;
        LONG_PTR answer; // 0: success (above 32)
    };
    for (const Case& c :
         {Case{"link", u"open", u"https://example.com/a b?x=1&y=2", 0},
          Case{"null verb", nullptr, u"mailto:someone@example.com", 0},
          Case{"file with a quote", u"open", u"/tmp/it's \"here\"; rm x", 0},
          Case{"other verb", u"print", u"/tmp/x.txt", SE_ERR_NOASSOC},
          Case{"null file", u"open", nullptr, SE_ERR_FNF}, Case{"empty file", u"open", u"", SE_ERR_FNF},
          Case{"looks like an option", u"open", u"--help", SE_ERR_FNF}}) {
        SCOPED_TRACE(c.what);
        opened.clear();
        const auto answer =
            reinterpret_cast<LONG_PTR>(ShellExecuteW(nullptr, c.verb, c.file, u"-x", nullptr, 1));
        if (c.answer == 0) {
            EXPECT_GT(answer, 32);
            EXPECT_EQ(opened, std::vector<String>{c.file}) << "the text, untouched, without the parameters";
        } else {
            EXPECT_EQ(answer, c.answer);
            EXPECT_TRUE(opened.empty());
        }
    }
    starts = false;
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(
                  ShellExecuteW(nullptr, u"open", u"https://example.com", nullptr, nullptr, 1)),
              SE_ERR_NOASSOC)
        << "an opener that cannot start is no success";
    win32::SetShellOpener(nullptr);
}
