#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/menus/MenuItem.h"

#include <string>
#include <vector>

class TCanvas;
class TFont;
class TImageList;

// How menu items look when the toolkit draws them: the classic look of a plain menu, which is
// also the default owner drawing of an item that has no drawing handlers of its own. Items are
// laid out in columns: a gutter for the check mark or image, the caption, the short-cut text
// right-aligned, and a column for the submenu arrow.

// The width of the raised frame around a menu window's items.
constexpr int kMenuFrameWidth = 3;
constexpr int kMenuSeparatorHeight = 8;
constexpr int kMenuShortCutGap = 16;
constexpr int kMenuArrowColumn = 16;

// The system's menu font (SPI_GETNONCLIENTMETRICS) in clMenuText; false, and the font as it
// was, when the system cannot tell.
bool GetSystemMenuFont(TFont& font);

// The caption as the menu shows it: with the access key that automatic access keys gave it
// when its caption marks none.
std::string MenuItemDisplayCaption(const TMenuItem* item);
// The access key of an item as the keyboard reaches it (automatic ones included), or 0.
char32_t MenuItemHotkey(const TMenuItem* item);
// The access keys automatic assignment gives the items, in order (0 where an item keeps its
// own or gets none). Separators and hidden items get none.
std::vector<char32_t> AutomaticHotkeys(const std::vector<const TMenuItem*>& items);

// The image list the item's images come from (its menu's), when the item has a valid image.
TImageList* MenuItemImages(const TMenuItem* item);

// The owner-draw state of an item as it is drawn now: selected, disabled and greyed, checked,
// default.
TOwnerDrawState MenuItemDrawState(const TMenuItem* item, bool selected);

// The size the toolkit gives an item, measured with the canvas's font.
TSize DefaultMenuItemSize(const TMenuItem* item, TCanvas* canvas);
// Draws the item the classic way into rect: background, check mark or image, caption and
// short-cut, in the colours of its state. The submenu arrow is drawn separately.
void DrawDefaultMenuItem(const TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
// The right-pointing arrow of an item with a submenu, at the right end of rect.
void DrawSubmenuArrow(TCanvas* canvas, const TRect& rect, TColor color);
// The raised frame of a menu window around rect (the window's client rectangle).
void DrawMenuFrame(TCanvas* canvas, const TRect& rect);
