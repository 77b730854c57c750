#pragma once

// TsuiURLLabel: a label that behaves like a link. Underlined and coloured, with the hand cursor;
// it takes another colour while the mouse is over it, and a click asks the desktop to open its
// address (started directly, the address as one argument, never through a command interpreter).

#include "toolkit/controls/Label.h"

#include <string>

// What a new label says and opens until it is given its own text and address.
inline constexpr const char* kDefaultURLLabelCaption = "Varnel password generator";
inline constexpr const char* kDefaultURLLabelURL = "https://varnel.invalid/";

class TsuiURLLabel : public TCustomLabel {
    VARNEL_CLASS(TsuiURLLabel, TCustomLabel)

public:
    explicit TsuiURLLabel(TComponent* owner);

    const std::string& URL() const { return m_url; }
    void SetURL(const std::string& value);
    // The colour while the mouse is over the label; it takes effect at the next entry.
    TColor FontHoverColor() const { return m_fontHoverColor; }
    void SetFontHoverColor(TColor value) { m_fontHoverColor = value; }
    // The colour otherwise; setting it recolours the label at once.
    TColor FontLinkColor() const { return m_fontLinkColor; }
    void SetFontLinkColor(TColor value);

protected:
    void Click() override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;

private:
    std::string m_url = kDefaultURLLabelURL;
    TColor m_fontHoverColor = 0x0000FF; // red
    TColor m_fontLinkColor = 0xFF0000;  // blue
};
