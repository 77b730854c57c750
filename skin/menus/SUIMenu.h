#pragma once

// Owner-drawn menus: the toolkit's main and popup menus whose items paint themselves in the
// heights, colours and side bar of a look. The toolkit still owns the menu windows, their
// opening, keys and selection; these components answer its measure and draw requests for the
// items they hooked (HookMenuItems). A main menu shows in the menu bar of the window's skinned
// form, which it reaches only through TsuiMenuBarHost.

#include "skin/core/SUIThemes.h"
#include "skin/menus/SUIMenuBarHost.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WinTypes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TCanvas;
class TImageList;
class TsuiFileTheme;

// Gives font the system's menu font (SPI_GETNONCLIENTMETRICS) and the colour clMenuText; when
// the system cannot tell, the font stays as it was.
void SetSystemMenuFont(TFont* font);

// Repaints a menu window's frame flat, on the screen in the window's screen rectangle W: a frame
// in outer around W less its top row and its right and bottom pixels, a white frame inside that,
// and lines in edge along the bottom, the right and the top.
void DrawFlatMenuBorder(HWND window, TColor outer, TColor edge);

// What the main and the popup menu share: the look properties and the drawing of items. Base is
// TMainMenu or TPopupMenu.
template <typename Base>
class TsuiSkinnedMenu : public Base {
public:
    ~TsuiSkinnedMenu() override;

    // Always true; writes are ignored (the items are always drawn by the menu).
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool /*value*/) {}

    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    // Stores the theme and applies UIStyle again.
    void SetFileTheme(TsuiFileTheme* theme);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Resets the metrics and the six menu colours from the look (or the theme file); nothing is
    // repainted, as menus are drawn when they open.
    void SetUIStyle(TsuiUIStyle style);

    // The MacOS pictures have fixed heights: writes are ignored while UIStyle is MacOS.
    int MenuItemHeight() const { return m_menuItemHeight; }
    void SetMenuItemHeight(int height);
    int SeparatorHeight() const { return m_separatorHeight; }
    void SetSeparatorHeight(int height);

    // Plain stored values, read at the next measure or draw.
    int BarWidth() const { return m_barWidth; }
    void SetBarWidth(int width) { m_barWidth = width; }
    TColor BarColor() const { return m_barColor; }
    void SetBarColor(TColor color) { m_barColor = color; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    TColor SeparatorColor() const { return m_separatorColor; }
    void SetSeparatorColor(TColor color) { m_separatorColor = color; }
    TColor SelectedBorderColor() const { return m_selectedBorderColor; }
    void SetSelectedBorderColor(TColor color) { m_selectedBorderColor = color; }
    TColor SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor color) { m_selectedColor = color; }
    TColor SelectedFontColor() const { return m_selectedFontColor; }
    void SetSelectedFontColor(TColor color) { m_selectedFontColor = color; }
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor color) { m_fontColor = color; }
    // Stored and streamed; no drawing uses it.
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor color) { m_borderColor = color; }
    bool FlatMenu() const { return m_flatMenu; }
    void SetFlatMenu(bool value) { m_flatMenu = value; }
    const std::string& FontName() const { return m_fontName; }
    void SetFontName(const std::string& name) { m_fontName = name; }
    int FontSize() const { return m_fontSize; }
    void SetFontSize(int size) { m_fontSize = size; }
    TFontCharset FontCharset() const { return m_fontCharset; }
    void SetFontCharset(TFontCharset charset) { m_fontCharset = charset; }
    bool UseSystemFont() const { return m_useSystemFont; }
    void SetUseSystemFont(bool value) { m_useSystemFont = value; }

    // The one-image list (MENU_CHECKED, white transparent) whose image 0 marks checked items
    // that have no image of their own.
    TImageList* CheckMarkImages() const { return m_checkMarkImages; }

    // Makes item and every item below it, to any depth, measure and draw itself through this
    // menu. Items added later keep the toolkit's default owner drawing.
    void HookMenuItems(TMenuItem* item);
    // The size of an item: MenuItemHeight (SeparatorHeight for "-") high, and as wide as its
    // caption and short-cut text on the canvas as given, plus BarWidth and 40.
    void MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height);
    // Paints an item into rect of the canvas in the look, highlighted when selected.
    void DrawMenuItem(TObject* sender, TCanvas* canvas, TRect rect, bool selected);

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    TsuiSkinnedMenu(TComponent* owner, TImageList* checkMarkImages);

    // The list whose images items show: the menu's own, never the check-mark list.
    TImageList* ItemImages() const;
    void SetCheckMarkImages(TImageList* images) { m_checkMarkImages = images; }

private:
    void DrawItemText(TMenuItem* item, TCanvas* canvas, const TRect& rect, bool selected);
    void DrawCheckAndImage(TMenuItem* item, TCanvas* canvas, const TRect& rect);

    TImageList* m_checkMarkImages; // the main menu's own or the popups' shared list
    TsuiFileTheme* m_fileTheme = nullptr;
    TsuiUIStyle m_uiStyle = DeepBlue;
    int m_menuItemHeight = 21;
    int m_separatorHeight = 21;
    int m_barWidth = 0;
    TColor m_barColor = clBtnFace;
    TColor m_color = 0xFFFFFF;
    TColor m_separatorColor = 0x808080;
    TColor m_selectedBorderColor = clHighlight;
    TColor m_selectedColor = clHighlight;
    TColor m_selectedFontColor = 0xFFFFFF;
    TColor m_fontColor = 0xFFFFFF;
    TColor m_borderColor = 0;
    bool m_flatMenu = false;
    std::string m_fontName = "MS Sans Serif";
    int m_fontSize = 8;
    TFontCharset m_fontCharset = DEFAULT_CHARSET;
    bool m_useSystemFont = true;
};

// A window's main menu, drawn in the look. At construction it clears its form's own menu and
// attaches itself to the first skinned form panel (class TsuiForm) on that form, through the
// panel's published Menu; the panel links back with SetMenuBarHost and from then on shows the
// top-level items in its menu bar, which the menu keeps informed.
class TsuiMainMenu : public TsuiSkinnedMenu<TMainMenu> {
    VARNEL_CLASS(TsuiMainMenu, TMainMenu)

public:
    explicit TsuiMainMenu(TComponent* owner);
    ~TsuiMainMenu() override;

    // The image list the user gave, or none while the menu uses its private check-mark list
    // (which the toolkit then sees as the menu's list, keeping the menu owner-drawn). Writing
    // none puts the private list back.
    TImageList* Images() const;
    void SetImages(TImageList* images);

    // Also tells the menu bar to take the new font.
    void SetUseSystemFont(bool value);

    // The skinned form showing this menu, or none; set and cleared by that form, not owned.
    TsuiMenuBarHost* MenuBarHost() const { return m_menuBarHost; }
    void SetMenuBarHost(TsuiMenuBarHost* host);

    void Loaded() override;
    void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) override;

private:
    void AttachToOwnerForm();
    // The top-level items with their visibility, as the menu bar last showed them.
    std::vector<std::pair<const TMenuItem*, bool>> BarItems() const;

    std::unique_ptr<TImageList> m_checkMarks;
    TsuiMenuBarHost* m_menuBarHost = nullptr;
    std::vector<std::pair<const TMenuItem*, bool>> m_barItems;
};

// A context or system menu drawn in the look. All popup menus share one check-mark list.
class TsuiPopupMenu : public TsuiSkinnedMenu<TPopupMenu> {
    VARNEL_CLASS(TsuiPopupMenu, TPopupMenu)

public:
    explicit TsuiPopupMenu(TComponent* owner);
};

// Makes the skinned menu classes known to layouts.
void RegisterSkinnedMenuClasses();
