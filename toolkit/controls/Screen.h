#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/graphics/Types.h"

#include <vector>

class TCustomForm;
class TWinControl;

// The screen as the program sees it: its size and work area, the forms that exist, which one is
// active and which control has the focus, and a cursor that overrides every control's while it is
// not crDefault (the hourglass during long work).
class TScreen : public TComponent {
    VARNEL_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* owner = nullptr) : TComponent(owner) {}

    TCursor Cursor() const { return m_cursor; }
    // Shows the cursor at once, wherever the pointer is.
    void SetCursor(TCursor value);

    // The form that has the focus (or last had it while the program was active), and the
    // control inside it that has the focus.
    TCustomForm* ActiveForm() const { return m_activeForm; }
    TWinControl* ActiveControl() const { return m_activeControl; }
    // Every form that exists, the most recently focused first.
    int FormCount() const { return static_cast<int>(m_forms.size()); }
    TCustomForm* Forms(int index) const;

    int Width() const;
    int Height() const;
    int DesktopWidth() const { return Width(); }
    int DesktopHeight() const { return Height(); }
    int DesktopLeft() const { return 0; }
    int DesktopTop() const { return 0; }
    // The desktop less its panels, in screen coordinates.
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    // Called by a form when the focus moved inside it.
    void FocusMoved(TCustomForm* form, TWinControl* control);
    // A control going away is no longer the active one.
    void ControlGone(TWinControl* control);

    TCursor m_cursor = crDefault;
    TCustomForm* m_activeForm = nullptr;
    TWinControl* m_activeControl = nullptr;
    std::vector<TCustomForm*> m_forms;
};

// The program's screen object; made on first use.
TScreen* GlobalScreen();
extern TScreen* const Screen;
