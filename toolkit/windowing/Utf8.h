#pragma once

#include <string>
#include <string_view>

// Code points of UTF-8 text. A malformed or overlong sequence, a surrogate or a value beyond
// U+10FFFF becomes U+FFFD, and decoding resumes at the next byte, so no input is ever read past
// its end and every byte is accounted for.
std::u32string DecodeUtf8(std::string_view text);
// UTF-8 of one code point; U+FFFD for a value that is not a character.
std::string EncodeUtf8(char32_t codePoint);
