// UTF-8 as files hold it: checked, mended and taken apart character by
// character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// U+FFFD, what a byte that is no character shows as.
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

bool isAscii(std::string_view text);

// Every byte belongs to a well-formed character: no stray or missing
// continuation bytes, no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);

// Appends `text` to `out` with each maximal run of bytes that cannot begin a
// character (as Unicode counts them) turned into one `replacement`; true
// when there was any.
bool appendMendedUtf8(std::string_view text, std::string &out,
                      std::string_view replacement = ReplacementCharacter);

// The length of the well-formed character at the start of `text` (1 to 4),
// with its code point; 0 when the bytes there are no character.
size_t decodeUtf8(std::string_view text, char32_t &codePoint);

void appendUtf8(char32_t codePoint, std::string &out);
