// The spooler's printer list and default printer: the two-call sizing protocol and the failures. The
// machine's printers are whatever the system has, none included, so the checks hold for any list.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Types.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winspool.h"

namespace {

constexpr DWORD kAllPrinters = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

TEST(SpoolTest, EnumPrintersFillsABufferOfTheSizeItAskedFor) {
    DWORD needed = 12345;
    DWORD count = 12345;
    BOOL sized = EnumPrintersW(kAllPrinters, nullptr, 4, nullptr, 0, &needed, &count);
    EXPECT_EQ(count, 0u);
    if (sized) {
        EXPECT_EQ(needed, 0u); // no printers: nothing to hold
        return;
    }
    ASSERT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(needed, sizeof(PRINTER_INFO_4W));

    // One byte short still fails, and leaves the buffer alone.
    std::vector<BYTE> buffer(needed, 0xAB);
    DWORD again = 0;
    EXPECT_FALSE(EnumPrintersW(kAllPrinters, nullptr, 4, buffer.data(), needed - 1, &again, &count));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(again, needed);
    EXPECT_EQ(buffer[0], 0xAB);

    ASSERT_TRUE(EnumPrintersW(kAllPrinters, nullptr, 4, buffer.data(), needed, &again, &count));
    ASSERT_GT(count, 0u);
    const auto* records = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    const BYTE* end = buffer.data() + buffer.size();
    for (DWORD i = 0; i < count; ++i) {
        const auto* name = reinterpret_cast<const BYTE*>(records[i].pPrinterName);
        ASSERT_GE(name, reinterpret_cast<const BYTE*>(records + count))
            << "name " << i << " overlaps the records";
        ASSERT_LT(name, end);
        StringView text(records[i].pPrinterName);
        EXPECT_FALSE(text.empty());
        EXPECT_LE(name + (text.size() + 1) * sizeof(WCHAR), end) << "name " << i << " runs past the buffer";
        EXPECT_EQ(records[i].pServerName, nullptr);
        EXPECT_EQ(records[i].Attributes, PRINTER_ATTRIBUTE_LOCAL);
    }
}

TEST(SpoolTest, EnumPrintersFailures) {
    DWORD needed = 0;
    DWORD count = 0;
    EXPECT_FALSE(EnumPrintersW(kAllPrinters, nullptr, 2, nullptr, 0, &needed, &count));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_LEVEL);
    EXPECT_FALSE(EnumPrintersW(kAllPrinters, nullptr, 4, nullptr, 0, nullptr, &count));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(EnumPrintersW(kAllPrinters, nullptr, 4, nullptr, 0, &needed, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Only this machine's printers exist: connections alone, or another machine, list none.
    WCHAR server[] = u"\\\\elsewhere";
    for (auto [flags, name] :
         {std::pair<DWORD, LPWSTR>{PRINTER_ENUM_CONNECTIONS, nullptr}, {kAllPrinters, server}}) {
        needed = count = 99;
        EXPECT_TRUE(EnumPrintersW(flags, name, 4, nullptr, 0, &needed, &count));
        EXPECT_EQ(needed, 0u);
        EXPECT_EQ(count, 0u);
    }
}

TEST(SpoolTest, DefaultPrinterIsOneOfTheListAndSizesLikeTheList) {
    EXPECT_FALSE(GetDefaultPrinterW(nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    DWORD length = 0;
    ASSERT_FALSE(GetDefaultPrinterW(nullptr, &length));
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersW(kAllPrinters, nullptr, 4, nullptr, 0, &needed, &count);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
        // No printers, so no default either.
        GetDefaultPrinterW(nullptr, &length);
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
        return;
    }
    GetDefaultPrinterW(nullptr, &length);
    if (GetLastError() == ERROR_FILE_NOT_FOUND)
        return; // printers, but the system names none the default
    ASSERT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(length, 1u);

    String name(length, u'?');
    DWORD shortLength = length - 1;
    EXPECT_FALSE(GetDefaultPrinterW(name.data(), &shortLength));
    EXPECT_EQ(shortLength, length);
    ASSERT_TRUE(GetDefaultPrinterW(name.data(), &length));
    EXPECT_EQ(name.back(), u'\0');
    name.pop_back();

    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumPrintersW(kAllPrinters, nullptr, 4, buffer.data(), needed, &needed, &count));
    const auto* records = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    bool listed = false;
    for (DWORD i = 0; i < count; ++i)
        listed = listed || name == records[i].pPrinterName;
    EXPECT_TRUE(listed) << "the default printer is not in the list";
}

} // namespace
