#include "skin/controls/SUISpinEdit.h"

#include "skin/core/SUIMgr.h"
#include "toolkit/components/SysUtils.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <limits>

// TSuiSpinButtons first, then TSuiSpinEdit: its value, stepping, keys and the editing messages,
// focus, and the layout of text and buttons.

VARNEL_CLASS_INFO(TSuiSpinButtons, [](auto& c) {
    c.Event("OnUpClick", &TSuiSpinButtons::OnUpClick);
    c.Event("OnDownClick", &TSuiSpinButtons::OnDownClick);
    c.Component("FileTheme", &TSuiSpinButtons::FileTheme, &TSuiSpinButtons::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TSuiSpinButtons::UIStyle, &TSuiSpinButtons::SetUIStyle);
})

VARNEL_CLASS_INFO(TSuiSpinEdit, [](auto& c) {
    c.Bool("EditorEnabled", &TSuiSpinEdit::EditorEnabled, &TSuiSpinEdit::SetEditorEnabled).Default(true);
    c.Int("Increment", &TSuiSpinEdit::Increment, &TSuiSpinEdit::SetIncrement);
    c.Int("MaxValue", &TSuiSpinEdit::MaxValue, &TSuiSpinEdit::SetMaxValue);
    c.Int("MinValue", &TSuiSpinEdit::MinValue, &TSuiSpinEdit::SetMinValue);
    // After Text and the bounds: a layout that stores both ends with Value's text.
    c.Int("Value", &TSuiSpinEdit::Value, &TSuiSpinEdit::SetValue);
})

namespace {

constexpr int kArrowRepeatMs = 400;
constexpr int kMinButtonsWidth = 15;

} // namespace

// ---- TSuiSpinButtons
// ---------------------------------------------------------------------------------------

TSuiSpinButtons::TSuiSpinButtons(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption} +
                    TControlStyle{csFramed, csOpaque});
    m_upButton = CreateArrowButton(suiUp);
    m_downButton = CreateArrowButton(suiDown);
    SetBounds(Left(), Top(), 20, 25);
}

TSuiSpinButtons::~TSuiSpinButtons() {
    Destroying();
    // The buttons go as children; nothing may reach them through these pointers meanwhile.
    m_upButton = nullptr;
    m_downButton = nullptr;
}

TSuiArrowButton* TSuiSpinButtons::CreateArrowButton(TsuiArrowButtonType arrow) {
    auto* button = new TSuiArrowButton(this);
    // Clicking an arrow never moves the focus.
    button->SetTabStop(false);
    button->SetArrow(arrow);
    button->OnClick = [this](TObject* sender) { ArrowClick(sender); };
    button->OnMouseContinuouslyDown = [this](TObject* sender) { ArrowClick(sender); };
    button->SetMouseContinuouslyDownInterval(kArrowRepeatMs);
    button->SetVisible(true);
    button->SetEnabled(true);
    button->SetParent(this);
    return button;
}

void TSuiSpinButtons::ArrowClick(TObject* sender) {
    const TNotifyEvent& event = sender == m_upButton ? OnUpClick : OnDownClick;
    if (event && !IsLoading()) {
        event(this);
    }
}

TsuiUIStyle TSuiSpinButtons::UIStyle() const {
    return m_upButton ? m_upButton->UIStyle() : DeepBlue;
}

void TSuiSpinButtons::SetUIStyle(TsuiUIStyle value) {
    for (TSuiArrowButton* button : {m_upButton, m_downButton}) {
        if (button) {
            button->SetUIStyle(value);
        }
    }
}

TsuiFileTheme* TSuiSpinButtons::FileTheme() const {
    return m_upButton ? m_upButton->FileTheme() : nullptr;
}

void TSuiSpinButtons::SetFileTheme(TsuiFileTheme* value) {
    for (TSuiArrowButton* button : {m_upButton, m_downButton}) {
        if (button) {
            button->SetFileTheme(value);
        }
    }
    SetUIStyle(UIStyle());
}

void TSuiSpinButtons::AdjustButtons(int& width, int& height) {
    if (!m_upButton || IsLoading()) {
        return;
    }
    width = std::max(width, kMinButtonsWidth);
    // The two buttons share their middle row.
    m_upButton->SetBounds(0, 0, width, height / 2 + 1);
    m_downButton->SetBounds(0, m_upButton->Height() - 1, width, height - m_upButton->Height() + 1);
}

void TSuiSpinButtons::SetBounds(int left, int top, int width, int height) {
    int w = width;
    int h = height;
    AdjustButtons(w, h);
    TWinControl::SetBounds(left, top, width, height);
}

void TSuiSpinButtons::FitButtons() {
    int w = Width();
    int h = Height();
    AdjustButtons(w, h);
    if (w != Width() || h != Height()) {
        SetBounds(Left(), Top(), w, h);
    }
}

void TSuiSpinButtons::WMSize(TMessage& message) {
    TWinControl::WMSize(message);
    FitButtons();
}

void TSuiSpinButtons::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The two buttons cover the box whole. Without this the box, painted after a button that was
    // painted early (a new look repaints the buttons at once), would wipe that button out.
    params.Style |= WS_CLIPCHILDREN;
}

void TSuiSpinButtons::Loaded() {
    TWinControl::Loaded();
    FitButtons();
}

void TSuiSpinButtons::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_UP) {
        m_upButton->Click();
    } else if (key == VK_DOWN) {
        m_downButton->Click();
    }
    TWinControl::KeyDown(key, shift);
}

// ---- TSuiSpinEdit: value and stepping -----------------------------------------------------------------

TSuiSpinEdit::TSuiSpinEdit(TComponent* owner) : TsuiEdit(owner) {
    m_spinButtons = new TSuiSpinButtons(this);
    m_spinButtons->SetBounds(0, 0, 15, 20);
    m_spinButtons->SetVisible(true);
    m_spinButtons->SetParent(this);
    m_spinButtons->OnUpClick = [this](TObject* sender) { UpClick(sender); };
    m_spinButtons->OnDownClick = [this](TObject* sender) { DownClick(sender); };
    SetText("0");
    // The buttons show the edit's look from the start, not only after the next assignment.
    UIStyleChanged();
}

TSuiSpinEdit::~TSuiSpinEdit() {
    Destroying();
    delete std::exchange(m_spinButtons, nullptr);
}

std::int32_t TSuiSpinEdit::Value() const {
    return TryStrToInt(Text()).value_or(m_minValue);
}

void TSuiSpinEdit::SetValue(std::int32_t value) {
    SetText(IntToStr(CheckValue(value)));
}

std::int32_t TSuiSpinEdit::CheckValue(std::int32_t value) const {
    if (m_minValue == m_maxValue) {
        return value;
    }
    if (value < m_minValue) {
        return m_minValue;
    }
    if (value > m_maxValue) {
        return m_maxValue;
    }
    return value;
}

void TSuiSpinEdit::Step(std::int64_t delta) {
    if (ReadOnly()) {
        ::MessageBeep(MB_OK);
        return;
    }
    // Past the 32-bit range the value stops at its end rather than wrapping to the other one.
    const std::int64_t next =
        std::clamp<std::int64_t>(std::int64_t{Value()} + delta, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max());
    SetValue(static_cast<std::int32_t>(next));
}

void TSuiSpinEdit::UpClick(TObject* /*sender*/) {
    Step(m_increment);
}

void TSuiSpinEdit::DownClick(TObject* /*sender*/) {
    Step(-std::int64_t{m_increment});
}

void TSuiSpinEdit::UIStyleChanged() {
    if (m_spinButtons) {
        m_spinButtons->SetUIStyle(UIStyle());
        m_spinButtons->SetFileTheme(FileTheme());
    }
}

void TSuiSpinEdit::GetChildren(const std::function<void(TComponent*)>& /*proc*/, TComponent* /*root*/) {
    // The spin buttons are part of the edit: layouts never store them.
}

// ---- Keys and editing -------------------------------------------------------------------------------------

bool TSuiSpinEdit::IsValidChar(char32_t key) {
    const bool accepted = key == U'-' || (key >= U'0' && key <= U'9') || (key < 32 && key != U'\r');
    if (!accepted) {
        return false;
    }
    // With the editor off only the control characters that change no text pass (Backspace does).
    return m_editorEnabled || (key < 32 && key != U'\b');
}

void TSuiSpinEdit::KeyDown(WORD& key, TShiftState shift) {
    auto alive = AliveToken();
    if (key == VK_UP) {
        UpClick(this);
    } else if (key == VK_DOWN) {
        DownClick(this);
    } else if (key == VK_DELETE && !shift.Contains(ssShift) && !m_editorEnabled) {
        // Delete erases text as typing would; Shift+Delete is a cut, dropped below.
        ::MessageBeep(MB_OK);
        key = 0;
    }
    if (!alive.expired()) {
        TsuiEdit::KeyDown(key, shift);
    }
}

void TSuiSpinEdit::KeyPress(char32_t& key) {
    if (!IsValidChar(key)) {
        key = 0;
        ::MessageBeep(MB_OK);
        return;
    }
    TsuiEdit::KeyPress(key);
}

void TSuiSpinEdit::Dispatch(TMessage& message) {
    // The edit's own undo message changes the text as WM_UNDO does.
    if (message.Msg == EM_UNDO && !m_editorEnabled) {
        return;
    }
    TsuiEdit::Dispatch(message);
}

void TSuiSpinEdit::WMCut(TMessage& message) {
    if (m_editorEnabled && !ReadOnly()) {
        TsuiEdit::WMCut(message);
    }
}

void TSuiSpinEdit::WMPaste(TMessage& message) {
    // Pasted text is not filtered; leaving the box leaves text that is no number as it is.
    if (m_editorEnabled && !ReadOnly()) {
        TsuiEdit::WMPaste(message);
    }
}

void TSuiSpinEdit::WMClear(TMessage& message) {
    if (m_editorEnabled) {
        TsuiEdit::WMClear(message);
    }
}

void TSuiSpinEdit::WMUndo(TMessage& message) {
    if (m_editorEnabled) {
        TsuiEdit::WMUndo(message);
    }
}

// ---- Focus
// --------------------------------------------------------------------------------------------------

void TSuiSpinEdit::CMEnter(TMessage& message) {
    // A click places the caret itself; entering otherwise selects the whole number.
    if (AutoSelect() && !ControlState().Contains(csLButtonDown)) {
        SelectAll();
    }
    TsuiEdit::CMEnter(message);
}

void TSuiSpinEdit::CMExit(TMessage& message) {
    auto alive = AliveToken();
    TsuiEdit::CMExit(message);
    if (alive.expired()) {
        return;
    }
    // A number outside the bounds is brought within them; text that is no number reads as
    // MinValue, which CheckValue keeps, so it stays as typed.
    const std::int32_t value = Value();
    if (CheckValue(value) != value) {
        SetValue(value);
    }
}

// ---- Layout of text and buttons ------------------------------------------------------------------------

void TSuiSpinEdit::CreateParams(TCreateParams& params) {
    TsuiEdit::CreateParams(params);
    // ES_MULTILINE lets the text have a formatting rectangle of its own; WS_CLIPCHILDREN keeps the
    // text from painting over the buttons.
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TSuiSpinEdit::CreateWnd() {
    TsuiEdit::CreateWnd();
    SetEditRect();
}

void TSuiSpinEdit::WMSize(TMessage& message) {
    auto alive = AliveToken();
    TsuiEdit::WMSize(message);
    if (alive.expired() || !m_spinButtons) {
        return;
    }
    // Flush with the right and bottom of the text area, inside the two-pixel band.
    const int width = m_spinButtons->Width();
    m_spinButtons->SetBounds(Width() - width - 4, 0, width, Height() - 4);
    SetEditRect();
}

void TSuiSpinEdit::SetEditRect() {
    if (!HandleAllocated() || !m_spinButtons) {
        return;
    }
    const RECT rect{0, 0, ClientWidth() - m_spinButtons->Width() - 2, ClientHeight() + 1};
    ::SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}
