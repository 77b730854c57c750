#pragma once

// Access keys in captions, shared by menu items and by every control with a caption: "&" marks
// the character after it as the access key, "&&" is a plain "&".

#include <string>
#include <string_view>

// The character an "&" marks in caption (the first single "&" followed by a character), or 0.
char32_t GetHotkey(std::string_view caption);
// Whether two access-key characters are the same key, letter case ignored.
bool SameHotkey(char32_t a, char32_t b);
// True when caption marks ch as its access key.
bool IsAccel(char32_t ch, std::string_view caption);
// The caption without its access-key marks: "&&" becomes "&", a single "&" goes.
std::string StripHotkey(std::string_view caption);
