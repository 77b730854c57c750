#pragma once

// Conversions between numbers and their text, as the classic run-time library offers them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The 32-bit integer a text holds: decimal digits with an optional leading minus sign, nothing
// else (no blanks, no plus sign, no prefixes). Anything else, or a number outside the 32-bit
// range, is not a number.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
// The same, with a fallback for text that is not a number.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);
// The decimal form: a minus sign for negatives, no separators.
std::string IntToStr(std::int64_t value);
// The text without leading and trailing blanks and control characters (those up to ' ').
std::string_view Trim(std::string_view text);
