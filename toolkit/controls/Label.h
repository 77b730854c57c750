#pragma once

#include "toolkit/controls/GraphicControl.h"

// A windowless text. With AutoSize it takes the size of its text (wrapped at its width with
// WordWrap); an "&" marks the next character as access key, which gives the focus to
// FocusControl. A disabled label draws its text embossed.
class TCustomLabel : public TGraphicControl {
    VARNEL_CLASS(TCustomLabel, TGraphicControl)

public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value) override;
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* value);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool value);
    // Transparent: the parent shows through around the text; otherwise the label fills its area
    // with its colour.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    // The text the label shows.
    virtual std::string GetLabelText() const { return Caption(); }
    // Draws (or with DT_CALCRECT measures) the text in rect.
    virtual void DoDrawText(TRect& rect, unsigned flags);
    // Sizes the label to its text when AutoSize is set.
    virtual void AdjustBounds();
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    virtual void CMDialogChar(TMessage& message);

private:
    TAlignment m_alignment = taLeftJustify;
    TWinControl* m_focusControl = nullptr;
    TTextLayout m_layout = tlTop;
    bool m_showAccelChar = true;
    bool m_wordWrap = false;
    bool m_inLoaded = false;
};

class TLabel : public TCustomLabel {
    VARNEL_CLASS(TLabel, TCustomLabel)

public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
