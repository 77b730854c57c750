#pragma once

// TsuiEdit: the toolkit's one-line edit without its own border; the skin frames the window in the
// look's border colour, two pixels wide (the outer line in BorderColor, the inner one in the
// edit's Color). The spin edit (SUISpinEdit.h) builds on it.

#include "skin/controls/SUIControlLook.h"
#include "toolkit/controls/Edit.h"

class TsuiEdit : public TCustomEdit {
    VARNEL_CLASS(TsuiEdit, TCustomEdit)

public:
    explicit TsuiEdit(TComponent* owner);
    ~TsuiEdit() override;

    // The outer line of the frame; every new look sets it to the look's ControlBorderColor.
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value);
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    // Kept for layouts that store them: no character-set conversion takes place here, and the
    // containers have no 3D setting to pass on.
    bool OEMConvert() const { return m_oemConvert; }
    void SetOEMConvert(bool value) { m_oemConvert = value; }
    bool ParentCtl3D() const { return m_parentCtl3D; }
    void SetParentCtl3D(bool value) { m_parentCtl3D = value; }

protected:
    virtual void UIStyleChanged() {}
    void Notification(TComponent* component, TOperation operation) override;
    void WMPaint(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMNCPaint(TMessage& message) override;

private:
    void DrawFrame();

    TsuiControlLook m_look;
    TColor m_borderColor = clBlack;
    bool m_oemConvert = false;
    bool m_parentCtl3D = true;
};
