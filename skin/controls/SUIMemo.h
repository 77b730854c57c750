#pragma once

// TsuiMemo: the toolkit's memo with a skinned two-ring border and, optionally, skinned scroll
// bars. The bars are TsuiScrollBar components placed on the memo's parent and linked through
// VScrollBar and HScrollBar: the memo keeps the native bars so the edit keeps its own scrolling,
// lays each linked bar over the native one, copies the native range, position and thumb length
// into it whenever the edit has written its bars, and turns moves of a linked bar into scroll
// requests to the edit with the whole position, so that a bar dragged to row 700,000 of a
// million shows row 700,000.

#include "skin/controls/SUIControlLook.h"
#include "toolkit/controls/Memo.h"

class TsuiScrollBar;

class TsuiMemo : public TCustomMemo {
    VARNEL_CLASS(TsuiMemo, TCustomMemo)

public:
    explicit TsuiMemo(TComponent* owner);
    ~TsuiMemo() override;

    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    // Sets BorderColor from the look and passes the look on to the linked bars.
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    // The outer ring of the border; the inner one is the memo's Color.
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value);
    TsuiScrollBar* VScrollBar() const { return m_vScrollBar; }
    void SetVScrollBar(TsuiScrollBar* bar);
    TsuiScrollBar* HScrollBar() const { return m_hScrollBar; }
    void SetHScrollBar(TsuiScrollBar* bar);
    // The linked bars follow the memo into its new parent.
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

    // Copies the native bars' state into the linked bars (nothing without a window).
    void SyncScrollBars();

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ScrollBarsChanged() override;

    void WMPaint(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMNCPaint(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void WMMove(TMessage& message) override;
    void WMSetText(TMessage& message) override;
    void WMCut(TMessage& message) override;
    void WMPaste(TMessage& message) override;
    void WMClear(TMessage& message) override;
    void WMUndo(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void WMLButtonDown(TMessage& message) override;
    void WMLButtonUp(TMessage& message) override;
    void WMMouseMove(TMessage& message) override;
    void WMMouseWheel(TMessage& message) override;
    void WMVScroll(TMessage& message) override;
    void WMHScroll(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;

private:
    enum class TSide { Vertical, Horizontal };

    void Link(TSide side, TsuiScrollBar* bar);
    // Gives a bar back as it was before it was linked (its position and range minimum stay).
    void Unlink(TsuiScrollBar* bar);
    // The linked bar's settings that linking makes: direction, change handler, place on top.
    void Attach(TSide side, TsuiScrollBar* bar);
    // Native bars where bars are linked, and none where none are.
    void UpdateNativeScrollBars();
    // Lays the linked bars over the native ones, then synchronises.
    void PlaceScrollBars();
    void SyncBar(TSide side, TsuiScrollBar* bar);
    // A linked bar was moved by the user: scrolls the text to its position.
    void ScrollFromBar(TSide side);
    void DrawBorder();
    // Paints, in the memo's colour, what the linked bars leave showing of the native ones.
    void CoverNativeBarEdges();

    TsuiControlLook m_look;
    TColor m_borderColor = clBlack;
    TsuiScrollBar* m_vScrollBar = nullptr;
    TsuiScrollBar* m_hScrollBar = nullptr;
    bool m_syncing = false;          // copying the native state into the bars
    bool m_scrollingFromBar = false; // sending a scroll request for a bar
    bool m_leftButtonHeld = false;   // a left-button press in the memo, until its release
    bool m_inLoaded = false;         // Loaded runs: the bars may be placed although still loading
};
