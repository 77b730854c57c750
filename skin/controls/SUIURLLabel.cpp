#include "skin/controls/SUIURLLabel.h"

#include "toolkit/shell/Shell.h"
#include "toolkit/windowing/WinUser.h"

VARNEL_CLASS_INFO(TsuiURLLabel, [](auto& c) {
    for (const char* name : {"Anchors", "BiDiMode", "Caption"}) {
        c.Publish(name);
    }
    c.Publish("AutoSize").Default(true);
    for (const char* name : {"Color", "Enabled", "ShowHint", "Transparent", "Visible"}) {
        c.Publish(name);
    }
    c.Publish("WordWrap").Default(false);
    c.Publish("PopupMenu");
    c.Publish("Cursor").Default(crHandPoint);
    c.String("URL", &TsuiURLLabel::URL, &TsuiURLLabel::SetURL).Default(kDefaultURLLabelURL);
    c.Color("FontHoverColor", &TsuiURLLabel::FontHoverColor, &TsuiURLLabel::SetFontHoverColor)
        .Default(0x0000FF);
    c.Color("FontLinkColor", &TsuiURLLabel::FontLinkColor, &TsuiURLLabel::SetFontLinkColor).Default(0xFF0000);
    for (const char* name : {"Font", "OnClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"}) {
        c.Publish(name);
    }
})

namespace {

constexpr TColor kDesignHoverColor = 0xFF0000;

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

TsuiURLLabel::TsuiURLLabel(TComponent* owner) : TCustomLabel(owner) {
    Font()->SetStyle(TFontStyles{fsUnderline});
    Font()->SetColor(m_fontLinkColor);
    SetCursor(crHandPoint);
    SetAutoSize(true);
    SetCaption(kDefaultURLLabelCaption);
}

void TsuiURLLabel::SetURL(const std::string& value) {
    if (value != m_url) {
        m_url = value;
    }
}

void TsuiURLLabel::SetFontLinkColor(TColor value) {
    m_fontLinkColor = value;
    Font()->SetColor(value);
}

void TsuiURLLabel::Click() {
    if (!IsBlank(m_url)) {
        // The answer is not reported: an address nothing can open leaves no trace but the event.
        ShellExecute(0, "open", m_url.c_str(), nullptr, nullptr, SW_SHOW);
    }
    TCustomLabel::Click();
}

void TsuiURLLabel::CMMouseEnter(TMessage& message) {
    TCustomLabel::CMMouseEnter(message);
    Font()->SetColor(IsDesigning() ? kDesignHoverColor : m_fontHoverColor);
}

void TsuiURLLabel::CMMouseLeave(TMessage& message) {
    TCustomLabel::CMMouseLeave(message);
    Font()->SetColor(m_fontLinkColor);
}
