#include "document/system_code_pages.h"

#include <windows.h>

#include <climits>

namespace {

// UTF-16 from `bytes` of `codePage`; false, with GetLastError, when the
// system would not. Each byte gives at most one UTF-16 unit.
bool toWide(unsigned codePage, DWORD flags, std::string_view bytes, std::wstring &wide)
{
    const int size = static_cast<int>(bytes.size());
    wide.resize(bytes.size());
    const int units = MultiByteToWideChar(codePage, flags, bytes.data(), size, &wide[0], size);
    wide.resize(units);
    return units > 0;
}

void appendUtf8(const std::wstring &wide, std::string &utf8)
{
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, NULL, 0, NULL, NULL);
    const size_t start = utf8.size();
    utf8.resize(start + size);
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[start], size, NULL, NULL);
}

Conversion toUtf8(unsigned codePage, std::string_view bytes, std::string &utf8)
{
    if (bytes.empty()) return Conversion::Exact;
    if (bytes.size() > INT_MAX / 3) return Conversion::Unavailable;
    std::wstring wide;
    if (toWide(codePage, MB_ERR_INVALID_CHARS, bytes, wide)) {
        appendUtf8(wide, utf8);
        return Conversion::Exact;
    }
    // Bytes that are no character: converted again, the system putting its
    // stand-in for them.
    if (GetLastError() != ERROR_NO_UNICODE_TRANSLATION || !toWide(codePage, 0, bytes, wide))
        return Conversion::Unavailable;
    appendUtf8(wide, utf8);
    return Conversion::Replaced;
}

Conversion fromUtf8(unsigned codePage, std::string_view text, std::string &bytes)
{
    if (text.empty()) return Conversion::Exact;
    if (text.size() > INT_MAX / 2) return Conversion::Unavailable;
    std::wstring wide;
    if (!toWide(CP_UTF8, 0, text, wide)) return Conversion::Unavailable;
    // No look-alikes: a character the code page lacks becomes '?', and says so.
    const int units = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, NULL, 0, "?", &defaulted);
    if (size == 0) return Conversion::Unavailable;
    const size_t start = bytes.size();
    bytes.resize(start + size);
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, &bytes[start], size, "?", &defaulted);
    return defaulted ? Conversion::Replaced : Conversion::Exact;
}

// The legacy ANSI code page of the system's locale, which stays what it was
// when the program's own code page is UTF-8. (GetLocaleInfoA with the system
// default answers as GetLocaleInfoEx with LOCALE_NAME_SYSTEM_DEFAULT does,
// and is there on every Windows.)
unsigned systemLegacyCodePage()
{
    DWORD codePage = 0;
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<char *>(&codePage), sizeof codePage);
    return isLegacyAnsiCodePage(codePage) ? codePage : 1252;
}

} // namespace

const TextCodePages &systemTextCodePages()
{
    static const CodePageSystem system = {toUtf8, fromUtf8};
    static const bool memoryIsUtf8 = GetACP() == CP_UTF8;
    // Where memory is not UTF-8 its code page is the one the files hold.
    static const LegacyCodePage legacy(memoryIsUtf8 ? systemLegacyCodePage() : GetACP(), system);
    static const TextCodePages pages = {legacy, memoryIsUtf8};
    return pages;
}
