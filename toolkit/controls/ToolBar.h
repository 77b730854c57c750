#pragma once

#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/GraphicControl.h"
#include "toolkit/menus/MenuTracker.h"

#include <cstdint>
#include <functional>
#include <vector>

class TMenuItem;
class TToolBar;
class TToolButton;

enum TEdgeBorder : std::uint8_t { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;
inline constexpr std::string_view kEdgeBorderNames[] = {"ebLeft", "ebTop", "ebRight", "ebBottom"};
inline constexpr TEnumInfo EdgeBorderInfo{"TEdgeBorder", kEdgeBorderNames};

enum TEdgeStyle : std::uint8_t { esNone, esRaised, esLowered };
inline constexpr std::string_view kEdgeStyleNames[] = {"esNone", "esRaised", "esLowered"};
inline constexpr TEnumInfo EdgeStyleInfo{"TEdgeStyle", kEdgeStyleNames};

enum TToolButtonStyle : std::uint8_t { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
inline constexpr std::string_view kToolButtonStyleNames[] = {"tbsButton", "tbsCheck", "tbsDropDown",
                                                             "tbsSeparator", "tbsDivider"};
inline constexpr TEnumInfo ToolButtonStyleInfo{"TToolButtonStyle", kToolButtonStyleNames};

// The state a button is drawn in, as OnCustomDrawButton receives it.
enum TCustomDrawStateItem : std::uint8_t {
    cdsSelected, // pressed, or its menu is dropped down
    cdsGrayed,
    cdsDisabled,
    cdsChecked, // Down
    cdsFocused,
    cdsDefault,
    cdsHot, // the pointer is over it
    cdsMarked,
    cdsIndeterminate,
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;

// rect is the toolbar's client area; clearing defaultDraw leaves the buttons undrawn.
using TToolBarCustomDrawEvent = std::function<void(TToolBar* sender, const TRect& rect, bool& defaultDraw)>;
// Called for each visible button before it is drawn, with the toolbar's canvas set to the
// toolbar's font and colour; clearing defaultDraw leaves that button to the handler.
using TToolBarCustomDrawButtonEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

// One button of a toolbar. The toolbar places it and paints it on its own canvas; the button
// holds its caption, state and menu item. A button bound to a menu item with items drops that
// submenu down below itself when pressed; one bound to an item without items clicks the item.
class TToolButton : public TGraphicControl {
    VARNEL_CLASS(TToolButton, TGraphicControl)

public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolBar* ToolBar() const;
    // Place among the toolbar's buttons; -1 outside a toolbar.
    int Index() const;

    TToolButtonStyle Style() const { return m_style; }
    void SetStyle(TToolButtonStyle value);
    // Checked (tbsCheck) or held down.
    bool Down() const { return m_down; }
    void SetDown(bool value);
    // Neighbouring grouped check buttons act as one choice: checking one unchecks the others.
    bool Grouped() const { return m_grouped; }
    void SetGrouped(bool value) { m_grouped = value; }
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value) { m_allowAllUp = value; }
    // Takes the item's caption and enabled state now; later changes of the item are copied by
    // whoever changes it (the skinned menu bar refreshes its buttons).
    TMenuItem* MenuItem() const { return m_menuItem; }
    void SetMenuItem(TMenuItem* value);
    // Whether pressing it drops a menu down.
    bool HasDropDownMenu() const;
    void SetAutoSize(bool value) override;
    void SetBounds(int left, int top, int width, int height) override;
    void Click() override;

protected:
    friend class TToolBar;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TToolButtonStyle m_style = tbsButton;
    bool m_down = false;
    bool m_grouped = false;
    bool m_allowAllUp = false;
    bool m_pressed = false; // the left button went down on it and is still held over it
    TMenuItem* m_menuItem = nullptr;
};

// A row of buttons, left to right in their order, on a bar along its parent's top. A button
// joins at the place its Left gives (one created at x = 0 goes in front of the others); the
// toolbar then lays the row out itself. While a dropped menu is open the bar tracks the pointer
// and the arrow keys between its buttons, as a menu bar does.
class TToolBar : public TCustomControl {
    VARNEL_CLASS(TToolBar, TCustomControl)

public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    TToolButton* Buttons(int index) const;

    int ButtonHeight() const { return m_buttonHeight; }
    void SetButtonHeight(int value);
    int ButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int value);
    TEdgeBorders EdgeBorders() const { return m_edgeBorders; }
    void SetEdgeBorders(TEdgeBorders value);
    TEdgeStyle EdgeInner() const { return m_edgeInner; }
    void SetEdgeInner(TEdgeStyle value);
    TEdgeStyle EdgeOuter() const { return m_edgeOuter; }
    void SetEdgeOuter(TEdgeStyle value);
    // Flat buttons show a border only while hot or pressed.
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    int Indent() const { return m_indent; }
    void SetIndent(int value);
    bool ShowCaptions() const { return m_showCaptions; }
    void SetShowCaptions(bool value);

    // The button under the pointer, and the one whose menu is dropped down (none when none).
    TToolButton* HotButton() const { return m_hotButton; }
    TToolButton* DroppedButton() const { return m_droppedButton; }
    // The state a button is drawn in now.
    TCustomDrawState ButtonState(const TToolButton* button) const;
    // Drops the button's menu down and runs the menu until it closes, moving between the
    // buttons' menus as the user asks. From the keyboard the first item starts highlighted.
    void TrackMenu(TToolButton* button, bool fromKeyboard);

    TToolBarCustomDrawEvent OnCustomDraw;
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
    friend class TToolButton;
    void Paint() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    // Draws a button the toolbar's own way.
    virtual void DrawButton(TToolButton* button, TCustomDrawState state);

    // ---- For the buttons ----
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void ButtonMoved(TToolButton* button, int left);
    void SetHotButton(TToolButton* button);
    void InvalidateButton(const TToolButton* button);
    // Places every button; nothing while loading (Loaded does it) or while already placing.
    void AdjustButtons();

private:
    int EdgeWidth(TEdgeBorder edge) const;
    int ButtonSize(const TToolButton* button) const;
    TToolButton* NeighbourWithMenu(const TToolButton* from, TMenuBarDirection direction) const;
    TToolButton* ButtonAtScreen(TPoint screen) const;
    void UpdateHotFromCursor();

    std::vector<TToolButton*> m_buttons; // in their order along the bar
    int m_buttonHeight = 22;
    int m_buttonWidth = 23;
    TEdgeBorders m_edgeBorders{ebTop};
    TEdgeStyle m_edgeInner = esRaised;
    TEdgeStyle m_edgeOuter = esLowered;
    bool m_flat = false;
    int m_indent = 0;
    bool m_showCaptions = false;
    bool m_placing = false;  // the toolbar is moving its buttons itself
    bool m_inLoaded = false; // Loaded runs: the buttons may be placed although loading
    TToolButton* m_hotButton = nullptr;
    TToolButton* m_droppedButton = nullptr;
    bool m_inMenuLoop = false;
};
