#include "toolkit/controls/Clipboard.h"

#include "toolkit/shell/Shell.h"

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

void TClipboard::Open() {
    ++m_openCount;
}

void TClipboard::Close() {
    if (m_openCount > 0) {
        --m_openCount;
    }
}

void TClipboard::Clear() {
    SetClipboardText("");
}

bool TClipboard::HasFormat(unsigned format) const {
    if (format != CF_TEXT) {
        return false;
    }
    const std::optional<std::string> text = GetClipboardText();
    return text.has_value() && !text->empty();
}

std::string TClipboard::AsText() const {
    return GetClipboardText().value_or(std::string());
}

bool TClipboard::SetAsText(const std::string& text) {
    return SetClipboardText(text);
}
