#pragma once

// The skinned title bar: its picture sections and buttons (two collections streamed with the
// window's layout), the bar itself, which paints them with the caption and lets the user move,
// maximise, restore, minimise and close the window, and its small system menu.
//
// Where the buttons lie is worked out by one pure function (LayoutTitleBar) that painting and
// the mouse handling share, so what is drawn hot is what a press or release acts on.

#include "skin/core/SUIThemes.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/components/Collection.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;
class TCustomForm;
class TPopupMenu;
class TsuiFileTheme;
class TsuiTitleBar;

enum TsuiTitleBarAlign : std::uint8_t { suiLeft, suiRight, suiClient };
inline constexpr std::string_view kTitleBarAlignNames[] = {"suiLeft", "suiRight", "suiClient"};
inline constexpr TEnumInfo TitleBarAlignInfo{"TsuiTitleBarAlign", kTitleBarAlignNames};

enum TsuiTitleBarBtnType : std::uint8_t { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
inline constexpr std::string_view kTitleBarBtnTypeNames[] = {"suiMax",  "suiMin",        "suiClose",
                                                             "suiHelp", "suiControlBox", "suiCustom"};
inline constexpr TEnumInfo TitleBarBtnTypeInfo{"TsuiTitleBarBtnType", kTitleBarBtnTypeNames};

// Sender is the title bar, buttonIndex the button's index in its Buttons.
using TsuiTitleBarButtonClickEvent = std::function<void(TObject* sender, int buttonIndex)>;

// ---- Sections ----------------------------------------------------------------------------------

// One picture of the bar's background: placed from the left end, from the right end, or (one per
// bar) stretched over what the others leave.
class TsuiTitleBarSection : public TCollectionItem {
    VARNEL_CLASS(TsuiTitleBarSection, TCollectionItem)

public:
    explicit TsuiTitleBarSection(TCollection* collection);
    ~TsuiTitleBarSection() override;

    bool AutoSize() const { return m_autoSize; }
    // Whatever the value, a section with a picture takes the picture's width.
    void SetAutoSize(bool value);
    int Width() const { return m_width; }
    void SetWidth(int value);
    TsuiTitleBarAlign Align() const { return m_align; }
    // A second suiClient section is refused with an error box; suiClient always stretches.
    void SetAlign(TsuiTitleBarAlign value);
    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);

    void Assign(const TPersistent* source) override;

private:
    void PictureChanged();

    int m_width = 10;
    TsuiTitleBarAlign m_align = suiLeft;
    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

class TsuiTitleBarSections : public TTypedCollection<TsuiTitleBarSection> {
    VARNEL_CLASS(TsuiTitleBarSections, TCollection)

public:
    explicit TsuiTitleBarSections(TsuiTitleBar* titleBar);
    TsuiTitleBar* TitleBar() const { return m_titleBar; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TsuiTitleBar* m_titleBar;
};

// ---- Buttons -----------------------------------------------------------------------------------

// A small picture button of the bar, with a normal, a hover and a pressed picture. Its type
// decides which three frames of the look's 18-frame button strip it shows and what a click does;
// suiCustom and suiHelp do nothing themselves (the bar fires its events).
class TsuiTitleBarButton : public TCollectionItem {
    VARNEL_CLASS(TsuiTitleBarButton, TCollectionItem)

public:
    explicit TsuiTitleBarButton(TCollection* collection);
    ~TsuiTitleBarButton() override;

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle value);
    TsuiTitleBarBtnType ButtonType() const { return m_buttonType; }
    // A second control box is refused with an error box.
    void SetButtonType(TsuiTitleBarBtnType value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    int Top() const { return m_top; }
    void SetTop(int value);
    // Popped up by a click on the control box instead of the bar's system menu; a reference only,
    // dropped when the menu is freed.
    TPopupMenu* ControlBoxMenu() const { return m_controlBoxMenu; }
    void SetControlBoxMenu(TPopupMenu* value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    TPicture* PicNormal() const { return m_picNormal.get(); }
    void SetPicNormal(const TPicture* value);
    TPicture* PicMouseOn() const { return m_picMouseOn.get(); }
    void SetPicMouseOn(const TPicture* value);
    TPicture* PicMouseDown() const { return m_picMouseDown.get(); }
    void SetPicMouseDown(const TPicture* value);

    TsuiTitleBar* TitleBar() const;
    // The button's action: maximise or restore, minimise, close, or the control-box menu.
    void DoClick();
    // A maximise button shows its restore pictures while the window is maximised.
    void UpdateMaxGlyph();

    void Assign(const TPersistent* source) override;

private:
    // Reloads the pictures, Top and Transparent from the look (the title bar's theme file).
    void ApplyStyle();
    // Loads frames first .. first + 2 of the look's button strip into the three pictures.
    void LoadFrames(int first);
    void Repaint();

    bool m_visible = true;
    TsuiTitleBarBtnType m_buttonType = suiCustom;
    bool m_transparent = false;
    int m_top = 2;
    TsuiUIStyle m_uiStyle = DeepBlue;
    std::unique_ptr<TPicture> m_picNormal;
    std::unique_ptr<TPicture> m_picMouseOn;
    std::unique_ptr<TPicture> m_picMouseDown;
    TPopupMenu* m_controlBoxMenu = nullptr;
};

class TsuiTitleBarButtons : public TTypedCollection<TsuiTitleBarButton> {
    VARNEL_CLASS(TsuiTitleBarButtons, TCollection)

public:
    explicit TsuiTitleBarButtons(TsuiTitleBar* titleBar);
    TsuiTitleBar* TitleBar() const { return m_titleBar; }
    // Whether any button, visible or not, has the type.
    bool HasType(TsuiTitleBarBtnType type) const;

protected:
    void Update(TCollectionItem* item) override;

private:
    TsuiTitleBar* m_titleBar;
};

// ---- Layout ------------------------------------------------------------------------------------

// Where the visible buttons and the caption lie in a bar of a given width.
struct TsuiTitleBarLayout {
    struct TButtonPlace {
        int Index = -1; // in Buttons
        TRect Rect;     // PointInRect bounds: the right and bottom edges count as inside
    };
    // In drawing order: the right-hand row from the right end leftwards, then the control box.
    std::vector<TButtonPlace> Buttons;
    int ControlBox = -1; // index in Buttons of the visible control box, or -1
    int CaptionLeft = 0;
    int CaptionRight = 0; // the caption fits into CaptionRight - CaptionLeft
};

// The places of the buttons and the caption. With drawAppIcon the control box's place keeps its
// picture's size but the caption starts 21 pixels after its left edge.
TsuiTitleBarLayout LayoutTitleBar(const TsuiTitleBarButtons& buttons, int barWidth, int leftOffset,
                                  int rightOffset, int buttonInterval, bool drawAppIcon);
// The button under p (bar coordinates): the last one drawn whose place holds p, or -1.
int TitleBarButtonAt(const TsuiTitleBarLayout& layout, TPoint p);
// caption, or as much of its start as fits with "..." after it, into width pixels as measure
// gives them; empty when not even "..." fits.
std::string FitCaption(const std::string& caption, int width,
                       const std::function<int(std::string_view)>& measure);

// ---- The system menu ---------------------------------------------------------------------------

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    VARNEL_CLASS(TsuiTitleBarPopupMenu, TsuiPopupMenu)

public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar* titleBar);

    TsuiTitleBar* TitleBar() const { return m_titleBar; }
    // Enables Minimize, Maximize/Restore and Close as the bar has such buttons (shown or not),
    // then shows the menu; PopupExcluding comes here too.
    void Popup(int x, int y) override;

private:
    void UpdateItems();
    void MinimizeClick();
    void MaximizeClick();
    void CloseClick();

    TsuiTitleBar* m_titleBar;
};

// ---- The bar -----------------------------------------------------------------------------------

class TsuiTitleBar : public TCustomPanel {
    VARNEL_CLASS(TsuiTitleBar, TCustomPanel)

public:
    explicit TsuiTitleBar(TComponent* owner);
    ~TsuiTitleBar() override;

    // With Custom set a change of look only stores the look: sections, buttons, region, font and
    // height stay as the user made them.
    bool Custom() const { return m_custom; }
    void SetCustom(bool value) { m_custom = value; }
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Always runs the style application, also for the look the bar has.
    void SetUIStyle(TsuiUIStyle value);
    // Either value makes the bar as high as its first section's picture; without sections the
    // height stays and AutoSize becomes false.
    void SetAutoSize(bool value) override;
    TsuiTitleBarSections* Sections() const { return m_sections.get(); }
    void SetSections(const TsuiTitleBarSections* value);
    TsuiTitleBarButtons* Buttons() const { return m_buttons.get(); }
    void SetButtons(const TsuiTitleBarButtons* value);
    int ButtonInterval() const { return m_buttonInterval; }
    void SetButtonInterval(int value);
    bool FormActive() const { return m_formActive; }
    void SetFormActive(bool value);
    int LeftBtnXOffset() const { return m_leftBtnXOffset; }
    void SetLeftBtnXOffset(int value);
    int RightBtnXOffset() const { return m_rightBtnXOffset; }
    void SetRightBtnXOffset(int value);
    bool DrawAppIcon() const { return m_drawAppIcon; }
    void SetDrawAppIcon(bool value);
    int RoundCorner() const { return m_roundCorner; }
    // Re-applies the window region (no repaint).
    void SetRoundCorner(int value);

    TsuiTitleBarPopupMenu* SystemMenu() const { return m_systemMenu; }
    // Refreshes the maximise/restore pictures of every maximise button.
    void UpdateMaxButtons();
    // Gives the parent form its shape again: rounded top corners of RoundCorner.
    void UpdateFormRegion();
    // The bar lies on a skinned form panel: only then does it shape the window, draw the outline
    // and offer the top resize edge.
    bool IsOnSkinnedForm() const;
    // The button under the pointer as the last paint or mouse message found it, or -1.
    int HotButton() const { return m_hotButton; }
    // Where the buttons and the caption lie now.
    TsuiTitleBarLayout Layout() const;
    // The colour of the rounded-corner outline (the look's form border colour).
    TColor OutlineColor() const { return m_outlineColor; }

    TsuiTitleBarButtonClickEvent OnCustomBtnsClick;
    TsuiTitleBarButtonClickEvent OnHelpBtnClick;

protected:
    friend class TsuiTitleBarButton;
    friend class TsuiTitleBarSections;
    friend class TsuiTitleBarButtons;

    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void Paint() override;
    virtual void DrawSections(TBitmap* bitmap);
    virtual void DrawButtons(TBitmap* bitmap);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void Dispatch(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;

private:
    void LoadStyleSections(TsuiUIStyle effective, bool fromFile);
    void ApplyFormRegion(int roundCorner);
    void WMNCHitTest(TMessage& message);
    void ForwardToForm(TMessage& message);
    // The button under the pointer now, from its position on the screen.
    int ButtonUnderCursor() const;
    void SetHotButton(int index);
    void PopupSystemMenu(bool excludeControlBox);

    bool m_custom = false;
    TsuiFileTheme* m_fileTheme = nullptr;
    TsuiUIStyle m_uiStyle = DeepBlue;
    std::unique_ptr<TsuiTitleBarSections> m_sections;
    std::unique_ptr<TsuiTitleBarButtons> m_buttons;
    int m_buttonInterval = 0;
    bool m_formActive = true;
    int m_leftBtnXOffset = 0;
    int m_rightBtnXOffset = 0;
    bool m_drawAppIcon = false;
    int m_roundCorner = 0;
    TsuiTitleBarPopupMenu* m_systemMenu = nullptr; // owned as a component
    bool m_applyingFileTheme = false;              // the font colour stays while set
    TColor m_outlineColor = clBlack;
    bool m_mousePressed = false; // between a left press on the bar and its release
    int m_pressedButton = -1;    // the button the left press went down on, or -1
    int m_hotButton = -1;        // index in Buttons, -1 when none
    int m_buttonHeight = 0;      // of the look's button strip: centres the caption
    int m_buttonTop = 0;         // the look's button top, added to the caption's y
};

// Makes the title bar and its collections known to layouts.
void RegisterTitleBarClasses();
