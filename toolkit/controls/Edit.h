#pragma once

#include "toolkit/controls/ControlCanvas.h"
#include "toolkit/controls/EditLayout.h"
#include "toolkit/controls/TextBuffer.h"
#include "toolkit/controls/WinControl.h"

#include <cstdint>
#include <memory>
#include <string>

enum TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };
inline constexpr std::string_view kEditCharCaseNames[] = {"ecNormal", "ecUpperCase", "ecLowerCase"};
inline constexpr TEnumInfo EditCharCaseInfo{"TEditCharCase", kEditCharCaseNames};

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
inline constexpr std::string_view kScrollStyleNames[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
inline constexpr TEnumInfo ScrollStyleInfo{"TScrollStyle", kScrollStyleNames};

// The toolkit's own text editor, drawn by itself: one line here, many in TCustomMemo. Its window
// procedure is the editor: every edit message (EM_SETSEL, EM_SETRECTNP, WM_CUT, WM_PASTE, ...)
// and the keys, characters and mouse messages are handled in DefaultHandler, after the control's
// own handlers and events have had them, just as a classic native edit does behind its wrapper.
// So code above (a skin) may subclass the window or override a handler, call the inherited one
// and find the text, selection and scroll bars already updated.
//
// Positions in the public interface and in the edit messages are characters (code points); a
// line break counts two. MaxLength is in characters too, 0 for no limit.
//
// OnChange fires after every change of the text, by the user or by the program, once the new
// text is shown, but never while the control is loaded from a layout; setting the text it
// already has changes nothing.
class TCustomEdit : public TWinControl {
    VARNEL_CLASS(TCustomEdit, TWinControl)

public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    const std::string& Text() const override { return m_buffer.Text(); }
    void SetText(const std::string& value) override;
    // Characters in the text.
    int GetTextLen() const { return ClampToInt(m_buffer.Length()); }

    // ---- Selection ----
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    // Replaces the selection as typing would (MaxLength and CharCase apply), without undo.
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Clear();
    bool CanUndo() const { return m_undo.Valid; }
    void Undo();
    void ClearUndo() { m_undo = {}; }

    // ---- Settings ----
    bool Modified() const { return m_modified; }
    void SetModified(bool value) { m_modified = value; }
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value);
    // 0 shows the text itself; any other character hides every character behind it, and the
    // text cannot be copied or cut then.
    char32_t PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char32_t value);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool value) { m_autoSelect = value; }
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase value);
    // bsSingle draws a sunken edge (or a flat line without Ctl3D) around the text.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);

    // ---- Where the text lies ----
    // The formatting rectangle in client coordinates (EM_GETRECT).
    TRect FormatRect() const;
    // The first row shown and the horizontal scroll offset in pixels.
    int TopRow() const { return m_topRow; }
    int ScrollX() const { return m_scrollX; }
    // Whether the caret is in its visible phase (it blinks only while the control has the focus).
    bool CaretShown() const { return m_caretOn && Focused(); }
    // The caret's rectangle in client coordinates.
    TRect CaretRect();
    // Applies changes the program made to the text that are still waiting for the next message
    // (scroll bars, scrolling to the caret); painting does it too.
    void UpdateView();

    TNotifyEvent OnChange;

protected:
    // multiLine is set by TCustomMemo.
    TCustomEdit(TComponent* owner, bool multiLine);

    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintWindow(HDC dc) override;
    void DefaultHandler(TMessage& message) override;
    void DoEnter() override;
    void WMSetText(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;

    // ---- For TCustomMemo ----
    TTextBuffer& Buffer() { return m_buffer; }
    const TTextBuffer& Buffer() const { return m_buffer; }
    TEditLayout& Layout() { return m_layout; }
    // Rows break at the formatting rectangle's width.
    bool WrapsRows() const { return m_wrapRows; }
    void SetWrapsRows(bool value);
    // The scroll bars the window shows (WS_VSCROLL, WS_HSCROLL).
    DWORD ScrollBarStyle() const { return m_scrollBarStyle; }
    void SetScrollBarStyle(DWORD bits);
    // Replaces bytes [start, end) by text from the program: the caret goes after the new text, and
    // scrolling and the scroll bars follow at the next message or paint, so that many calls in a
    // row cost no more than the text they add. Fires OnChange.
    void ProgramReplace(std::size_t start, std::size_t end, std::string_view text);
    // Called after the text changed in any way, before OnChange.
    virtual void TextChanged() {}
    // Called once the edit has written new values into its native scroll bars, whatever moved
    // them (the program's changes, typing, selecting with the mouse, the wheel, scroll messages):
    // once per update, after both bars are written. A control that mirrors the bars elsewhere
    // follows them here.
    virtual void ScrollBarsChanged() {}
    // Text as it goes into the buffer: well-formed, line breaks as the buffer keeps them (only the
    // first line for a single-line edit), in the letter case CharCase asks for.
    std::string PrepareInsert(std::string_view text) const;

private:
    struct TUndoStep {
        bool Valid = false;
        std::size_t Offset = 0; // where the change began (bytes)
        std::string Removed;    // what was there before
        std::string Inserted;   // what is there now
        enum class TKind { Other, Typing, Erasing } Kind = TKind::Other;
    };
    enum class TEditAction { Other, Typing, Erasing };

    static int ClampToInt(std::size_t value);
    // Whether the window was made with ES_MULTILINE (a memo, or a one-line edit that sets its own
    // formatting rectangle).
    bool HasMultiLineStyle() const;
    // Messages of the editor proper.
    bool HandleEditMessage(TMessage& message);
    void OnKeyDownMessage(TMessage& message);
    void OnCharMessage(TMessage& message);
    void OnMouseMessage(TMessage& message);
    void OnScrollMessage(TMessage& message, bool vertical);
    void OnWheel(TMessage& message);
    void OnTimer(TMessage& message);
    void OnSetFocus();
    void OnKillFocus();
    LRESULT SendToSelf(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Editing.
    bool ReplaceSelection(std::string_view text, TEditAction action, bool honourLimit, bool canUndo);
    void DeleteRange(std::size_t start, std::size_t end, TEditAction action);
    void ApplyChange(std::size_t start, std::size_t end, const std::string& text);
    void ApplyUndo();
    void LoadText(std::string_view text);
    void FireChange();

    // Selection and caret (byte offsets).
    std::size_t SelMin() const { return std::min(m_anchor, m_caret); }
    std::size_t SelMax() const { return std::max(m_anchor, m_caret); }
    void SetSelection(std::size_t anchor, std::size_t caret, bool scroll);
    void MoveCaret(std::size_t caret, bool extend, bool keepDesiredX = false);
    std::size_t CharIndexToOffset(LPARAM index) const;
    void SetSelFromChars(LPARAM start, LPARAM end);

    // View.
    TRect DefaultFormatRect() const;
    int VisibleRows();
    int TextLeft(int row);
    int AlignShift(int row);
    std::size_t OffsetFromPoint(TPoint client);
    void ScrollCaretIntoView();
    void ScrollTo(int topRow, int scrollX);
    void ClampScroll();
    void SyncView(bool scrollCaret);
    void RequestView(bool scrollCaret);
    void UpdateScrollBars();
    void UpdateWrapWidth();
    void RestartCaretBlink();
    void InvalidateCaret();
    void PaintRow(HDC dc, int row, int y, const TRect& clip);
    void UpdateStyleBits(DWORD bits, bool set);
    void ExtendMouseSelection(TPoint client);

    TTextBuffer m_buffer;
    TEditLayout m_layout;
    std::unique_ptr<TControlCanvas> m_canvas;

    std::size_t m_anchor = 0; // the fixed end of the selection (bytes)
    std::size_t m_caret = 0;  // the moving end, where the caret is (bytes)
    int m_desiredX = -1;      // the x that Up and Down keep, -1 for the caret's own
    int m_topRow = 0;
    int m_scrollX = 0; // pixels
    TRect m_formatRect;
    bool m_formatRectSet = false; // EM_SETRECT gave it; otherwise it follows the client area
    bool m_wrapRows = false;
    DWORD m_scrollBarStyle = 0;
    int m_wheelRemainder = 0; // wheel delta not yet turned into rows

    bool m_caretOn = false;
    bool m_mouseSelecting = false;
    bool m_selectingWords = false;
    std::size_t m_wordAnchorStart = 0; // the word a double click selected
    std::size_t m_wordAnchorEnd = 0;
    bool m_autoScrolling = false;

    bool m_viewPending = false; // the program changed the text; the view follows later
    bool m_caretScrollPending = false;
    struct TShownScrollInfo {
        int Max = -1;
        int Page = -1;
        int Pos = -1;
    } m_shownVScroll, m_shownHScroll;
    int m_scrollBarsUpdating = 0;     // depth of UpdateScrollBars calls
    bool m_scrollBarsWritten = false; // a bar was written since the outermost call began

    TUndoStep m_undo;
    bool m_modified = false;
    int m_maxLength = 0;
    bool m_readOnly = false;
    bool m_hideSelection = true;
    char32_t m_passwordChar = 0;
    bool m_autoSelect = true;
    TEditCharCase m_charCase = ecNormal;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_ctl3D = true;
    TAlignment m_alignment = taLeftJustify;
};

class TEdit : public TCustomEdit {
    VARNEL_CLASS(TEdit, TCustomEdit)

public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};
