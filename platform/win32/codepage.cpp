// Code page conversions of the Win32 API, on the platform's own UTF-8 and Windows-1252 routines and a
// table for code page 437.
#include "platform/win32/codepage.h"

#include <cstring>
#include <string>

#include "platform/rtl/UString.h"

namespace {

// Characters of code page 437 bytes 0x80-0xFF; bytes below are ASCII (control codes stay controls).
const Char kOem437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

enum class Page { Ansi, Utf8, Oem437, Windows1252, Unknown };

Page PageOf(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
        return Page::Ansi;
    case CP_UTF8:
        return Page::Utf8;
    case CP_OEMCP:
    case 437:
        return Page::Oem437;
    case 1252:
        return Page::Windows1252;
    default:
        return Page::Unknown;
    }
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Strict UTF-8: each byte that does not belong to a valid sequence is one U+FFFD. False when strict
// is asked and such a byte was found.
bool DecodeUtf8Strict(const unsigned char* p, std::size_t size, String& out, bool failOnInvalid) {
    const std::string_view bytes(reinterpret_cast<const char*>(p), size);
    std::size_t i = 0;
    while (i < size) {
        char32_t cp = 0;
        const int length = DecodeUtf8Sequence(bytes.substr(i), cp);
        // Surrogates are not valid here, unlike in the ANSI code page's lossless form.
        if (length == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
            if (failOnInvalid)
                return false;
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<Char>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<Char>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<Char>(cp));
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// UTF-8 with each unpaired surrogate as U+FFFD; false when strict is asked and one was found.
bool EncodeUtf8Strict(StringView text, std::string& out, bool failOnInvalid) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (failOnInvalid)
                return false;
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return true;
}

int OemByteOf(Char c) {
    if (c < 0x80)
        return c;
    for (int i = 0; i < 128; ++i)
        if (kOem437High[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
    const Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr))
        return Fail(ERROR_INVALID_PARAMETER);
    const std::size_t size =
        cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
    const auto* bytes = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    String text;
    switch (page) {
    case Page::Ansi:
        text = AnsiToString(std::string_view(lpMultiByteStr, size));
        break;
    case Page::Utf8:
        if (!DecodeUtf8Strict(bytes, size, text, (dwFlags & MB_ERR_INVALID_CHARS) != 0))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
        break;
    case Page::Oem437:
        for (std::size_t i = 0; i < size; ++i)
            text.push_back(bytes[i] < 0x80 ? bytes[i] : kOem437High[bytes[i] - 0x80]);
        break;
    case Page::Windows1252:
        for (std::size_t i = 0; i < size; ++i)
            text.push_back(Windows1252ToChar(bytes[i]));
        break;
    case Page::Unknown:
        break;
    }
    if (cchWideChar == 0)
        return static_cast<int>(text.size());
    if (text.size() > static_cast<std::size_t>(cchWideChar))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(text.begin(), text.end(), lpWideCharStr);
    return static_cast<int>(text.size());
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
    const Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr) || (page == Page::Utf8 && (lpDefaultChar || lpUsedDefaultChar)))
        return Fail(ERROR_INVALID_PARAMETER);
    std::size_t length = static_cast<std::size_t>(cchWideChar);
    if (cchWideChar == -1)
        length = std::char_traits<Char>::length(lpWideCharStr) + 1;
    const StringView text(lpWideCharStr, length);
    std::string bytes;
    bool usedDefault = false;
    switch (page) {
    case Page::Ansi:
        bytes = StringToAnsi(text);
        break;
    case Page::Utf8:
        if (!EncodeUtf8Strict(text, bytes, (dwFlags & WC_ERR_INVALID_CHARS) != 0))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
        break;
    case Page::Oem437:
    case Page::Windows1252:
        for (std::size_t i = 0; i < text.size(); ++i) {
            // A surrogate pair is one character, and one default byte.
            if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                ++i;
            const int byte = page == Page::Oem437 ? OemByteOf(text[i]) : CharToWindows1252(text[i]);
            if (byte < 0) {
                usedDefault = true;
                bytes.push_back(lpDefaultChar ? *lpDefaultChar : '?');
            } else {
                bytes.push_back(static_cast<char>(byte));
            }
        }
        break;
    case Page::Unknown:
        break;
    }
    if (cbMultiByte > 0 && bytes.size() > static_cast<std::size_t>(cbMultiByte))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    if (cbMultiByte > 0)
        std::memcpy(lpMultiByteStr, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}
