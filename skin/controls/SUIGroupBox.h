#pragma once

// TsuiCustomGroupBox and TsuiGroupBox: a skinned group box, a one-pixel frame in the look's
// control border colour with its caption set into the top line. It passes its look on to the
// skinned controls it holds, and enabling or disabling it does the same to them.

#include "skin/controls/SUIControlLook.h"
#include "skin/controls/SUIImagePanel.h"
#include "skin/core/SUIThemes.h"

#include <string>

class TsuiFileTheme;

class TsuiCustomGroupBox : public TsuiCustomPanel {
    VARNEL_CLASS(TsuiCustomGroupBox, TsuiCustomPanel)

public:
    explicit TsuiCustomGroupBox(TComponent* owner);

    // The group's title, kept apart from the panel's own text (a single space, so the panel
    // draws no caption of its own).
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value);
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    // Also enables or disables every direct child control.
    void SetEnabled(bool value) override;
    void AdjustClientRect(TRect& rect) override;

protected:
    // Pushes the look down to the children and takes the frame and caption colours from it.
    virtual void UIStyleChanged(TsuiUIStyle style, TsuiFileTheme* fileTheme);
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMFontChanged(TMessage& message) override;

private:
    std::string m_caption;
    TColor m_borderColor = clBlack;
    TsuiControlLook m_look;
};

class TsuiGroupBox : public TsuiCustomGroupBox {
    VARNEL_CLASS(TsuiGroupBox, TsuiCustomGroupBox)

public:
    explicit TsuiGroupBox(TComponent* owner) : TsuiCustomGroupBox(owner) {}
};
