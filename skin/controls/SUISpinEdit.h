#pragma once

// The numeric variant of the skinned edit: TSuiSpinEdit treats its text as a 32-bit Value with
// optional bounds, steps it by Increment with the arrow keys and with the two arrow buttons of a
// TSuiSpinButtons at its right edge (once per click, and every 400 ms while held), and lets only
// digits and the minus sign be typed.

#include "skin/controls/SUIArrowButton.h"
#include "skin/controls/SUIEdit.h"
#include "toolkit/controls/WinControl.h"

#include <cstdint>

// Two arrow buttons, up above down, sharing one pixel row; each click or repeat of one is
// reported as OnUpClick or OnDownClick with the spin buttons as sender.
class TSuiSpinButtons : public TWinControl {
    VARNEL_CLASS(TSuiSpinButtons, TWinControl)

public:
    explicit TSuiSpinButtons(TComponent* owner);
    ~TSuiSpinButtons() override;

    TSuiArrowButton* UpButton() const { return m_upButton; }
    TSuiArrowButton* DownButton() const { return m_downButton; }
    // The up button's look (DeepBlue without one); writing sets both buttons'.
    TsuiUIStyle UIStyle() const;
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const;
    void SetFileTheme(TsuiFileTheme* value);

    // Lays the buttons out for the new size, then takes the size asked for.
    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void Loaded() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void WMSize(TMessage& message) override;

private:
    TSuiArrowButton* CreateArrowButton(TsuiArrowButtonType arrow);
    void ArrowClick(TObject* sender);
    // Places the buttons for width × height (the width made at least 15); nothing while there is
    // no up button or while loading.
    void AdjustButtons(int& width, int& height);
    // Runs AdjustButtons on the current size and takes its result when it differs.
    void FitButtons();

    TSuiArrowButton* m_upButton = nullptr;
    TSuiArrowButton* m_downButton = nullptr;
};

class TSuiSpinEdit : public TsuiEdit {
    VARNEL_CLASS(TSuiSpinEdit, TsuiEdit)

public:
    explicit TSuiSpinEdit(TComponent* owner);
    ~TSuiSpinEdit() override;

    // Bounds; when MinValue equals MaxValue there are none.
    std::int32_t MinValue() const { return m_minValue; }
    void SetMinValue(std::int32_t value) { m_minValue = value; }
    std::int32_t MaxValue() const { return m_maxValue; }
    void SetMaxValue(std::int32_t value) { m_maxValue = value; }
    std::int32_t Increment() const { return m_increment; }
    void SetIncrement(std::int32_t value) { m_increment = value; }
    // Whether typing, cutting, pasting, deleting and undoing may change the text; the arrows
    // still step when it is off.
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool value) { m_editorEnabled = value; }
    TSuiSpinButtons* SpinButtons() const { return m_spinButtons; }

    // The text as a number; text that is none (empty, letters, beyond 32 bits) reads MinValue.
    // Reading never changes the text.
    std::int32_t Value() const;
    // Writes CheckValue(value) as decimal text.
    void SetValue(std::int32_t value);
    // value held within MinValue..MaxValue when there are bounds.
    std::int32_t CheckValue(std::int32_t value) const;

    // One step up or down (a beep when ReadOnly). A step past the 32-bit range stops at its end.
    virtual void UpClick(TObject* sender);
    virtual void DownClick(TObject* sender);

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    virtual bool IsValidChar(char32_t key);
    void UIStyleChanged() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Dispatch(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;
    // Editing messages that change the text: dropped while the editor is off (cut and paste
    // also while ReadOnly).
    void WMCut(TMessage& message) override;
    void WMPaste(TMessage& message) override;
    void WMClear(TMessage& message) override;
    void WMUndo(TMessage& message) override;

private:
    void Step(std::int64_t delta);
    // The text area ends two pixels left of the buttons.
    void SetEditRect();

    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 0;
    std::int32_t m_increment = 1;
    bool m_editorEnabled = true;
    TSuiSpinButtons* m_spinButtons = nullptr; // a child, freed with the spin edit
};
