#include "skin/menus/SUIMenu.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/controls/Control.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/MenuPainter.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/menus/ShortCuts.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <string_view>

namespace {

// The grey of a disabled item's text, in every look.
constexpr TColor kDisabledTextColor = 0x808080;
constexpr TColor kWhite = 0xFFFFFF;

// MacOS draws item backgrounds from two one-pixel-wide strips, cut to the item heights that
// look keeps fixed. They are cut once: every item of every menu stretches the same pixels.
struct TMacStrips {
    TMacStrips();
    TBitmap Separator; // MACOS_MENU_BAR, top 12 rows
    TBitmap Item;      // MACOS_MENU_BAR, top 20 rows
    TBitmap Selected;  // MACOS_MENU_SELECT, top 20 rows
};

void CutTopRows(std::string_view resource, int rows, TBitmap& out) {
    TBitmap whole;
    if (!whole.LoadFromResourceName(resource) || whole.Empty()) {
        return;
    }
    const int height = std::min(rows, whole.Height());
    out.SetSize(whole.Width(), height);
    out.Canvas()->CopyRect({0, 0, whole.Width(), height}, whole.Canvas(), {0, 0, whole.Width(), height});
}

TMacStrips::TMacStrips() {
    CutTopRows("MACOS_MENU_BAR", 12, Separator);
    CutTopRows("MACOS_MENU_BAR", 20, Item);
    CutTopRows("MACOS_MENU_SELECT", 20, Selected);
}

const TMacStrips& MacStrips() {
    static const TMacStrips strips;
    return strips;
}

void StretchStrip(TCanvas* canvas, const TRect& rect, const TBitmap& strip) {
    // A strip that did not load leaves the item unpainted there.
    if (!strip.Empty()) {
        canvas->StretchDraw(rect, &strip);
    }
}

void FillSolid(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

void FillCheckMarkList(TImageList& list) {
    TBitmap check;
    if (check.LoadFromResourceName("MENU_CHECKED") && !check.Empty()) {
        list.AddMasked(&check, kWhite);
    }
}

// The popup menus' shared list lives from the first popup menu to the end of the program.
TImageList* SharedCheckMarkImages() {
    static TImageList list(16, 16);
    static const bool filled = [] {
        FillCheckMarkList(list);
        return true;
    }();
    static_cast<void>(filled);
    return &list;
}

TColor MenuLookColor(const TsuiFileTheme* fileTheme, TsuiUIStyle style, TsuiThemeElement element) {
    TsuiUIStyle effective = style;
    if (ResolveUIStyle(fileTheme, style, effective)) {
        return fileTheme->GetColor(element);
    }
    return GetBuiltInThemeColor(effective, element);
}

template <typename T>
void DescribeMenuLook(TClassBuilder<T>& c) {
    RegisterFontCharsetIdents();
    c.Bool("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw);
    c.Component("FileTheme", &T::FileTheme, &T::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &T::UIStyle, &T::SetUIStyle);
    c.Int("MenuItemHeight", &T::MenuItemHeight, &T::SetMenuItemHeight);
    c.Int("SeparatorHeight", &T::SeparatorHeight, &T::SetSeparatorHeight);
    c.Int("BarWidth", &T::BarWidth, &T::SetBarWidth);
    c.Color("BarColor", &T::BarColor, &T::SetBarColor);
    c.Color("Color", &T::Color, &T::SetColor);
    c.Color("SeparatorColor", &T::SeparatorColor, &T::SetSeparatorColor);
    c.Color("SelectedBorderColor", &T::SelectedBorderColor, &T::SetSelectedBorderColor);
    c.Color("SelectedColor", &T::SelectedColor, &T::SetSelectedColor);
    c.Color("SelectedFontColor", &T::SelectedFontColor, &T::SetSelectedFontColor);
    c.Color("FontColor", &T::FontColor, &T::SetFontColor);
    c.Color("BorderColor", &T::BorderColor, &T::SetBorderColor);
    c.Bool("FlatMenu", &T::FlatMenu, &T::SetFlatMenu);
    c.String("FontName", &T::FontName, &T::SetFontName);
    c.Int("FontSize", &T::FontSize, &T::SetFontSize);
    c.Int("FontCharset", &T::FontCharset, &T::SetFontCharset).Idents("TFontCharset");
    c.Bool("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont);
}

} // namespace

VARNEL_CLASS_INFO(TsuiMainMenu, [](auto& c) {
    DescribeMenuLook(c);
    c.Component("Images", &TsuiMainMenu::Images, &TsuiMainMenu::SetImages);
})

VARNEL_CLASS_INFO(TsuiPopupMenu, [](auto& c) { DescribeMenuLook(c); })

void RegisterSkinnedMenuClasses() {
    // Their items are the toolkit's.
    RegisterMenuClasses();
    RegisterClasses<TsuiMainMenu, TsuiPopupMenu>();
}

// ---- Free functions ----------------------------------------------------------------------------------

void SetSystemMenuFont(TFont* font) {
    if (font) {
        GetSystemMenuFont(*font);
    }
}

void DrawFlatMenuBorder(HWND window, TColor outer, TColor edge) {
    RECT bounds;
    if (!GetWindowRect(window, &bounds)) {
        return;
    }
    // Drawn through the window's own window DC, in its own coordinates: the pixels are those the
    // screen would get in the window's rectangle, but the top line's last pixel, which lies one
    // past the window's right edge, stays off the window beside it, and no picture of the whole
    // screen is composed for every item drawn.
    HDC dc = GetWindowDC(window);
    if (!dc) {
        return;
    }
    {
        const TRect w{0, 0, bounds.Width(), bounds.Height()};
        TCanvas canvas(dc);
        const TRect frame{w.Left, w.Top + 1, w.Right - 1, w.Bottom - 1};
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(outer);
        canvas.FrameRect(frame);
        canvas.Brush()->SetColor(kWhite);
        canvas.FrameRect(frame.Inflate(-1, -1));
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetColor(edge);
        canvas.MoveTo(w.Left, w.Bottom - 1);
        canvas.LineTo(w.Right - 1, w.Bottom - 1);
        canvas.LineTo(w.Right - 1, w.Top);
        canvas.LineTo(w.Right, w.Top);
        canvas.LineTo(w.Left, w.Top);
    }
    ReleaseDC(window, dc);
}

// ---- TsuiSkinnedMenu -----------------------------------------------------------------------------------

template <typename Base>
TsuiSkinnedMenu<Base>::TsuiSkinnedMenu(TComponent* owner, TImageList* checkMarkImages)
    : Base(owner), m_checkMarkImages(checkMarkImages) {
    SetUIStyle(GetOwnerUIStyle(owner));
}

template <typename Base>
TsuiSkinnedMenu<Base>::~TsuiSkinnedMenu() {
    if (m_fileTheme) {
        m_fileTheme->RemoveFreeNotification(this);
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::SetFileTheme(TsuiFileTheme* theme) {
    if (theme != m_fileTheme) {
        if (m_fileTheme) {
            m_fileTheme->RemoveFreeNotification(this);
        }
        m_fileTheme = theme;
        if (m_fileTheme) {
            m_fileTheme->FreeNotification(this);
        }
    }
    SetUIStyle(m_uiStyle);
}

template <typename Base>
void TsuiSkinnedMenu<Base>::SetUIStyle(TsuiUIStyle style) {
    m_uiStyle = style;
    m_barWidth = 26;
    if (style == MacOS) {
        m_menuItemHeight = 20;
        m_separatorHeight = 12;
        m_separatorColor = 0;
    } else {
        m_menuItemHeight = 21;
        m_separatorHeight = 5;
        m_separatorColor = 8684164;
    }
    using E = TsuiThemeElement;
    m_barColor = MenuLookColor(m_fileTheme, style, E::MenuBarColor);
    m_color = MenuLookColor(m_fileTheme, style, E::MenuBackgroundColor);
    m_fontColor = MenuLookColor(m_fileTheme, style, E::MenuFontColor);
    m_selectedBorderColor = MenuLookColor(m_fileTheme, style, E::MenuSelectedBorderColor);
    m_selectedColor = MenuLookColor(m_fileTheme, style, E::MenuSelectedBackgroundColor);
    m_selectedFontColor = MenuLookColor(m_fileTheme, style, E::MenuSelectedFontColor);
}

template <typename Base>
void TsuiSkinnedMenu<Base>::SetMenuItemHeight(int height) {
    if (m_uiStyle != MacOS) {
        m_menuItemHeight = height;
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::SetSeparatorHeight(int height) {
    if (m_uiStyle != MacOS) {
        m_separatorHeight = height;
    }
}

template <typename Base>
TImageList* TsuiSkinnedMenu<Base>::ItemImages() const {
    TImageList* images = TMenu::Images();
    return images == m_checkMarkImages ? nullptr : images;
}

template <typename Base>
void TsuiSkinnedMenu<Base>::HookMenuItems(TMenuItem* item) {
    if (!item) {
        return;
    }
    // An item may outlive its hook's menu (taken out of it, then shown elsewhere): it then
    // measures and draws itself the toolkit's way.
    std::weak_ptr<void> alive = this->Token();
    item->OnMeasureItem = [this, alive](TObject* sender, TCanvas* canvas, int& width, int& height) {
        if (!alive.expired()) {
            MeasureMenuItem(sender, canvas, width, height);
        }
    };
    item->OnDrawItem = [this, alive](TObject* sender, TCanvas* canvas, TRect rect, bool selected) {
        auto* drawn = dynamic_cast<TMenuItem*>(sender);
        if (!alive.expired()) {
            DrawMenuItem(sender, canvas, rect, selected);
        } else if (drawn) {
            DrawDefaultMenuItem(drawn, canvas, rect, MenuItemDrawState(drawn, selected));
        }
    };
    for (int i = 0; i < item->Count(); ++i) {
        HookMenuItems(item->Items(i));
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !canvas) {
        return;
    }
    height = item->IsLine() ? m_separatorHeight : m_menuItemHeight;
    width = canvas->TextWidth(item->Caption()) + canvas->TextWidth(ShortCutToText(item->ShortCut())) +
            m_barWidth + 40;
}

template <typename Base>
void TsuiSkinnedMenu<Base>::DrawMenuItem(TObject* sender, TCanvas* canvas, TRect rect, bool selected) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !canvas) {
        return;
    }
    if (m_flatMenu) {
        if (const HWND window = MenuWindowFromDC(canvas->Handle())) {
            DrawFlatMenuBorder(window, 0,
                               MenuLookColor(m_fileTheme, m_uiStyle, TsuiThemeElement::FormBackgroundColor));
        }
    }

    const bool mac = m_uiStyle == MacOS;
    // The side bar and the background of an item that is not highlighted.
    auto fillPlain = [&] {
        if (m_barWidth > 0) {
            FillSolid(canvas, {rect.Left, rect.Top, rect.Left + m_barWidth, rect.Bottom}, m_barColor);
        }
        FillSolid(canvas, {rect.Left + m_barWidth, rect.Top, rect.Right, rect.Bottom}, m_color);
    };

    if (item->IsLine()) {
        if (mac) {
            StretchStrip(canvas, rect, MacStrips().Separator);
        } else {
            fillPlain();
            canvas->Pen()->SetStyle(psSolid);
            canvas->Pen()->SetWidth(1);
            canvas->Pen()->SetColor(m_separatorColor);
            canvas->MoveTo(rect.Left + m_barWidth + 4, rect.Top + 2);
            canvas->LineTo(rect.Right - 2, rect.Top + 2);
        }
        return;
    }

    // A disabled item under the pointer is not highlighted: it cannot be chosen.
    const bool highlighted = selected && item->Enabled();
    if (highlighted) {
        if (mac) {
            StretchStrip(canvas, rect, MacStrips().Selected);
        } else {
            FillSolid(canvas, rect, m_selectedColor);
            canvas->Brush()->SetColor(m_selectedBorderColor);
            canvas->FrameRect(rect);
        }
    } else if (mac) {
        StretchStrip(canvas, rect, MacStrips().Item);
    } else {
        fillPlain();
    }

    DrawItemText(item, canvas, rect, selected);
    DrawCheckAndImage(item, canvas, rect);
}

template <typename Base>
void TsuiSkinnedMenu<Base>::DrawItemText(TMenuItem* item, TCanvas* canvas, const TRect& rect, bool selected) {
    TFont* font = canvas->Font();
    if (m_useSystemFont) {
        SetSystemMenuFont(font);
    } else {
        font->SetName(m_fontName);
        font->SetSize(m_fontSize);
        font->SetCharset(m_fontCharset);
    }
    canvas->Brush()->SetStyle(bsClear);
    if (!item->Enabled()) {
        font->SetColor(kDisabledTextColor);
    } else {
        font->SetColor(selected ? m_selectedFontColor : m_fontColor);
    }
    if (item->Default()) {
        font->SetStyle(font->Style() + TFontStyles{fsBold});
    }

    // The caption as the keyboard reaches it: an automatic access key is underlined too.
    TRect captionRect{rect.Left + m_barWidth + 4, rect.Top + 4, rect.Right, rect.Bottom};
    DrawText(canvas->Handle(), MenuItemDisplayCaption(item), &captionRect, DT_SINGLELINE);

    const std::string shortCut = ShortCutToText(item->ShortCut());
    if (!shortCut.empty()) {
        canvas->TextOut(rect.Right - canvas->TextWidth(shortCut) - 16, rect.Top + 4, shortCut);
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::DrawCheckAndImage(TMenuItem* item, TCanvas* canvas, const TRect& rect) {
    // Only an index inside the list is an image: anything else, -2 included, is none.
    TImageList* images = ItemImages();
    const int index = item->ImageIndex();
    const bool hasImage = images && index >= 0 && index < images->Count();
    const bool enabled = item->Enabled();
    if (item->Checked()) {
        if (hasImage) {
            // The image sits pressed into a box.
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(0);
            canvas->FrameRect({rect.Left + 2, rect.Top + 1, rect.Left + 21, rect.Top + 20});
            FillSolid(canvas, {rect.Left + 3, rect.Top + 2, rect.Left + 20, rect.Top + 19}, m_selectedColor);
        } else if (m_checkMarkImages && m_checkMarkImages->Count() > 0) {
            m_checkMarkImages->Draw(canvas, rect.Left + 4, rect.Top + 3, 0, enabled);
        }
    }
    if (hasImage) {
        images->Draw(canvas, rect.Left + 4, rect.Top + 3, index, enabled);
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::Loaded() {
    Base::Loaded();
    TMenuItem* root = this->Items();
    for (int i = 0; i < root->Count(); ++i) {
        HookMenuItems(root->Items(i));
    }
}

template <typename Base>
void TsuiSkinnedMenu<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    if (operation == opRemove && component && component == m_fileTheme) {
        m_fileTheme = nullptr;
        SetUIStyle(DeepBlue);
    }
}

template class TsuiSkinnedMenu<TMainMenu>;
template class TsuiSkinnedMenu<TPopupMenu>;

// ---- TsuiMainMenu --------------------------------------------------------------------------------------

TsuiMainMenu::TsuiMainMenu(TComponent* owner)
    : TsuiSkinnedMenu<TMainMenu>(owner, nullptr), m_checkMarks(std::make_unique<TImageList>(16, 16)) {
    FillCheckMarkList(*m_checkMarks);
    SetCheckMarkImages(m_checkMarks.get());
    // The private list is the toolkit's list of the menu, which makes the menu owner-drawn.
    TMenu::SetImages(m_checkMarks.get());
    AttachToOwnerForm();
}

TsuiMainMenu::~TsuiMainMenu() {
    // Nothing reaches the menu bar from here on, and the private list goes while the toolkit's
    // menu no longer refers to it.
    Destroying();
    m_menuBarHost = nullptr;
    TMenu::SetImages(nullptr);
}

TImageList* TsuiMainMenu::Images() const {
    return ItemImages();
}

void TsuiMainMenu::SetImages(TImageList* images) {
    TMenu::SetImages(images ? images : m_checkMarks.get());
}

void TsuiMainMenu::SetUseSystemFont(bool value) {
    TsuiSkinnedMenu<TMainMenu>::SetUseSystemFont(value);
    if (m_menuBarHost) {
        m_menuBarHost->UpdateMenuBarFont();
    }
}

void TsuiMainMenu::SetMenuBarHost(TsuiMenuBarHost* host) {
    m_menuBarHost = host;
    // The host builds its bar from the items as they are now.
    m_barItems = BarItems();
}

std::vector<std::pair<const TMenuItem*, bool>> TsuiMainMenu::BarItems() const {
    std::vector<std::pair<const TMenuItem*, bool>> items;
    const TMenuItem* root = Items();
    for (int i = 0; i < root->Count(); ++i) {
        items.emplace_back(root->Items(i), root->Items(i)->Visible());
    }
    return items;
}

void TsuiMainMenu::AttachToOwnerForm() {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form) {
        return;
    }
    form->SetMenu(nullptr);
    // The skinned form panel lives in a layer above this one: it is known by its class name and
    // given the menu through its published Menu.
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* control = form->Controls(i);
        if (!control || !control->InheritsFrom("TsuiForm")) {
            continue;
        }
        const TPropInfo* menu = control->ClassInfo().FindProperty("Menu");
        if (menu && menu->Kind() == TPropKind::Component && menu->CanWrite()) {
            menu->SetObject(control, this);
        }
        return;
    }
}

void TsuiMainMenu::Loaded() {
    TsuiSkinnedMenu<TMainMenu>::Loaded();
    m_barItems = BarItems();
    if (m_menuBarHost) {
        m_menuBarHost->RebuildMenuBar();
    }
}

void TsuiMainMenu::Notification(TComponent* component, TOperation operation) {
    TsuiSkinnedMenu<TMainMenu>::Notification(component, operation);
    // The user's list went: the private one takes its place, so the items stay owner-drawn.
    if (operation == opRemove && !IsDestroying() && m_checkMarks && !TMenu::Images()) {
        TMenu::SetImages(m_checkMarks.get());
    }
}

void TsuiMainMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    TsuiSkinnedMenu<TMainMenu>::MenuChanged(sender, source, rebuild);
    if (!m_menuBarHost || IsLoading() || IsDestroying() || !IsFormComponent(Owner())) {
        return;
    }
    // A bar whose items came or went (added, freed, moved, shown or hidden) is built again, so it
    // never shows a button for an item that is gone; other changes only reach the captions and
    // enabled states.
    std::vector<std::pair<const TMenuItem*, bool>> items = BarItems();
    if (IsDesigning() || items != m_barItems) {
        m_barItems = std::move(items);
        m_menuBarHost->RebuildMenuBar();
        return;
    }
    m_menuBarHost->RefreshMenuBar();
}

// ---- TsuiPopupMenu -------------------------------------------------------------------------------------

TsuiPopupMenu::TsuiPopupMenu(TComponent* owner)
    : TsuiSkinnedMenu<TPopupMenu>(owner, SharedCheckMarkImages()) {
    TMenu::SetOwnerDraw(true);
}
