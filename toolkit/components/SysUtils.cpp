#include "toolkit/components/SysUtils.h"

#include <charconv>

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes a leading minus itself; a digit must follow it.
    const std::size_t digitsAt = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == digitsAt || text[digitsAt] < '0' || text[digitsAt] > '9') {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
    return TryStrToInt(text).value_or(fallback);
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::string_view Trim(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}
