#pragma once

// The program's name and its fixed addresses: the web page that "Product online page" and the
// About window open, and the support e-mail address. They use a host name reserved for examples,
// so that no address of anyone else is ever opened.

#include <string>
#include <string_view>

inline constexpr std::string_view kProductCaption = "Varnel V1.0";
// Added to the caption when the window draws from the reproducible generator.
inline constexpr std::string_view kReproducibleCaptionSuffix = " (reproducible)";

inline constexpr std::string_view kProductWebPage = "https://varnel.invalid/";
inline constexpr std::string_view kSupportEmail = "support@varnel.invalid";

// The address that writes to the support e-mail address.
inline std::string SupportMailTo() {
    return "mailto:" + std::string(kSupportEmail);
}
