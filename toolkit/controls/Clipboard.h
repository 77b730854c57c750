#pragma once

#include <optional>
#include <string>

constexpr unsigned CF_TEXT = 1;

// The desktop's clipboard, as plain text. Open and Close bracket several steps; the text is
// handed over at once either way, and Close always ends the bracket, also after a failure.
class TClipboard {
public:
    void Open();
    void Close();
    bool IsOpen() const { return m_openCount > 0; }
    void Clear();
    bool HasFormat(unsigned format) const;

    // The clipboard's text; empty when it holds none.
    std::string AsText() const;
    // False when the desktop refused the text (nothing else changes then).
    bool SetAsText(const std::string& text);

private:
    int m_openCount = 0;
};

// The program's one clipboard object.
TClipboard* Clipboard();
