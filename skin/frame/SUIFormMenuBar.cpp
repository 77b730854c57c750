#include "skin/frame/SUIForm.h"
#include "skin/frame/SUILookSource.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/menus/Menu.h"

// The skinned form's menu bar: a flat toolbar below the title bar with one button per top-level
// item of the attached main menu, painted in the menu's look.

namespace {

// The MacOS menu-bar strips, loaded once: they are the same for every look that shows them.
const TBitmap& LoadedStrip(const char* name) {
    static auto* strips = new std::vector<std::pair<std::string, std::unique_ptr<TBitmap>>>();
    for (const auto& [stripName, bitmap] : *strips) {
        if (stripName == name) {
            return *bitmap;
        }
    }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(name);
    strips->emplace_back(name, std::move(bitmap));
    return *strips->back().second;
}

} // namespace

void TsuiForm::SetMenu(TMainMenu* value) {
    if (auto* old = dynamic_cast<TsuiMainMenu*>(m_menu); old && old->MenuBarHost() == this) {
        old->SetMenuBarHost(nullptr);
    }
    if (m_menu && m_menu != value) {
        m_menu->RemoveFreeNotification(this);
    }
    m_menu = value;
    if (!value) {
        DestroyMenuBar();
        return;
    }
    value->FreeNotification(this);
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(value)) {
        skinned->SetMenuBarHost(this);
    }
    if (!m_menuBar) {
        CreateMenuBar();
    }
    RebuildMenuBar();
    // The bar's captions are in the menu's font from the start, not only once it changes.
    UpdateMenuBarFont();
}

void TsuiForm::SetMenuBarColor(TColor value) {
    m_menuBarColor = value;
    if (m_menuBar) {
        m_menuBar->SetColor(value);
    }
}

void TsuiForm::SetMenuBarHeight(int value) {
    m_menuBarHeight = value;
    if (m_menuBar) {
        m_menuBar->SetHeight(value);
        m_menuBar->SetButtonHeight(value);
    }
}

void TsuiForm::CreateMenuBar() {
    if (m_menuBar || IsMDIChildHost()) {
        return;
    }
    m_menuBar = new TToolBar(this);
    m_menuBar->SetParent(this);
    m_menuBar->SetFlat(true);
    m_menuBar->SetEdgeBorders({});
    m_menuBar->SetShowCaptions(true);
    m_menuBar->SetHeight(m_menuBarHeight);
    m_menuBar->SetButtonHeight(m_menuBarHeight);
    m_menuBar->SetColor(m_menuBarColor);
    m_menuBar->OnCustomDraw = [this](TToolBar* sender, const TRect& rect, bool& defaultDraw) {
        MenuBarDraw(sender, rect, defaultDraw);
    };
    if (!IsDesigning()) {
        m_menuBar->OnCustomDrawButton = [this](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                               bool& defaultDraw) {
            MenuBarDrawButton(sender, button, state, defaultDraw);
        };
    }
    if (m_titleBar) {
        m_titleBar->SetTop(0);
    }
}

void TsuiForm::DestroyMenuBar() {
    if (!IsMDIChildHost()) {
        delete m_menuBar;
        m_menuBar = nullptr;
    }
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(m_menu); skinned && skinned->MenuBarHost() == this) {
        skinned->SetMenuBarHost(nullptr);
    }
    if (m_menu) {
        m_menu->RemoveFreeNotification(this);
    }
    m_menu = nullptr;
}

void TsuiForm::RebuildMenuBar() {
    if (!m_menuBar) {
        return;
    }
    if (!m_menu) {
        DestroyMenuBar();
        return;
    }
    while (m_menuBar->ButtonCount() > 0) {
        delete m_menuBar->Buttons(0);
    }
    // Each new button, made at x = 0, goes in front of the others: from the last item to the
    // first, the bar lists the items in the menu's order.
    TMenuItem* root = m_menu->Items();
    for (int i = root->Count() - 1; i >= 0; --i) {
        auto* button = new TToolButton(this);
        button->SetParent(m_menuBar);
        button->SetGrouped(true);
        button->SetMenuItem(root->Items(i));
        button->SetAutoSize(true);
    }
    // Hidden items keep their buttons, hidden, once the order is made.
    for (int i = 0; i < m_menuBar->ButtonCount(); ++i) {
        TToolButton* button = m_menuBar->Buttons(i);
        button->SetVisible(button->MenuItem() && button->MenuItem()->Visible());
    }
}

void TsuiForm::RefreshMenuBar() {
    if (!m_menuBar || !m_menu) {
        return;
    }
    // Items added, removed or moved since the last rebuild: the buttons are made again, so no
    // button stays behind for an item that is gone.
    const TMenuItem* root = m_menu->Items();
    bool same = m_menuBar->ButtonCount() == root->Count();
    for (int i = 0; same && i < root->Count(); ++i) {
        same = m_menuBar->Buttons(i)->MenuItem() == root->Items(i);
    }
    if (!same) {
        RebuildMenuBar();
        return;
    }
    for (int i = 0; i < m_menuBar->ButtonCount(); ++i) {
        TToolButton* button = m_menuBar->Buttons(i);
        if (const TMenuItem* item = button->MenuItem()) {
            button->SetCaption(item->Caption());
            button->SetEnabled(item->Enabled());
            button->SetVisible(item->Visible());
        }
    }
}

void TsuiForm::UpdateMenuBarFont() {
    if (!m_menuBar || !m_menu) {
        return;
    }
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(m_menu)) {
        TFont* font = m_menuBar->Font();
        if (skinned->UseSystemFont()) {
            SetSystemMenuFont(font);
        } else {
            font->SetName(skinned->FontName());
            font->SetSize(skinned->FontSize());
            font->SetCharset(skinned->FontCharset());
        }
    }
    m_menuBar->Invalidate();
}

bool TsuiForm::EnterMenuBar() {
    if (!m_menuBar || !m_menuBar->IsVisibleInTree() || !m_menuBar->Enabled()) {
        return false;
    }
    for (int i = 0; i < m_menuBar->ButtonCount(); ++i) {
        TToolButton* button = m_menuBar->Buttons(i);
        if (button->Visible() && button->Enabled() && button->HasDropDownMenu()) {
            m_menuBar->TrackMenu(button, true);
            return true;
        }
    }
    return false;
}

TsuiUIStyle TsuiForm::MenuLook() const {
    const auto* skinned = dynamic_cast<const TsuiMainMenu*>(m_menu);
    return skinned ? skinned->UIStyle() : m_uiStyle;
}

TsuiFileTheme* TsuiForm::MenuTheme() const {
    const auto* skinned = dynamic_cast<const TsuiMainMenu*>(m_menu);
    return skinned ? skinned->FileTheme() : m_fileTheme;
}

void TsuiForm::MenuBarDraw(TToolBar* sender, const TRect& rect, bool& /*defaultDraw*/) {
    if (MenuLook() != MacOS) {
        return;
    }
    const TBitmap& strip = LoadedStrip("MACOS_MENU_BAR");
    if (!strip.Empty()) {
        sender->Canvas()->StretchDraw(rect, &strip);
    }
}

void TsuiForm::MenuBarDrawButton(TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                 bool& defaultDraw) {
    TCanvas* canvas = sender->Canvas();
    const auto* skinned = dynamic_cast<const TsuiMainMenu*>(m_menu);
    if (skinned) {
        if (skinned->UseSystemFont()) {
            SetSystemMenuFont(canvas->Font());
        } else {
            canvas->Font()->SetName(skinned->FontName());
            canvas->Font()->SetSize(skinned->FontSize());
            canvas->Font()->SetCharset(skinned->FontCharset());
            canvas->Font()->SetColor(skinned->FontColor());
        }
    }
    const bool selected = state.Contains(cdsSelected);
    if (!selected && !state.Contains(cdsHot)) {
        return;
    }
    defaultDraw = false;
    const TsuiLookSource look(MenuTheme(), MenuLook());
    const TColor fontColor = look.Color(TsuiThemeElement::MenuSelectedFontColor);
    const unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (MenuLook() == MacOS) {
        const int width = button->Width();
        const int height = button->Height();
        TBitmap face(width, height);
        TCanvas* faceCanvas = face.Canvas();
        const TBitmap& strip = LoadedStrip("MACOS_MENU_SELECT");
        if (!strip.Empty()) {
            faceCanvas->StretchDraw({0, 0, width, height}, &strip);
        }
        faceCanvas->Brush()->SetStyle(bsClear);
        faceCanvas->SetFont(canvas->Font());
        faceCanvas->Font()->SetColor(fontColor);
        TRect textRect{0, 0, width, height + 2};
        ::DrawText(faceCanvas->Handle(), button->Caption(), &textRect, format);
        canvas->Draw(button->Left(), button->Top(), &face);
        return;
    }
    TRect r = button->BoundsRect();
    if (selected) {
        r.Right -= 2;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(look.Color(TsuiThemeElement::MenuSelectedBackgroundColor));
    canvas->FillRect(r);
    canvas->Brush()->SetColor(look.Color(TsuiThemeElement::MenuSelectedBorderColor));
    canvas->FrameRect(r);
    if (selected) {
        r.Left += 2;
    }
    r.Top += 2;
    canvas->Font()->SetColor(fontColor);
    canvas->Brush()->SetStyle(bsClear);
    ::DrawText(canvas->Handle(), button->Caption(), &r, format);
}
