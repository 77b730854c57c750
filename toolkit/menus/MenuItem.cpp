#include "toolkit/menus/MenuItem.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuPainter.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/windowing/Utf8.h"

#include <algorithm>
#include <unordered_set>

VARNEL_CLASS_INFO(TMenuItem, [](auto& c) {
    RegisterShortCutNames();
    c.Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    c.Enum("AutoHotkeys", MenuAutoFlagInfo, &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys)
        .Default(maParent);
    c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Default("");
    c.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    c.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    c.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    c.Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    c.String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Default("");
    c.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    c.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    c.ShortCut("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0);
    c.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    c.Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
    c.Event("OnClick", &TMenuItem::OnClick);
    c.Event("OnDrawItem", &TMenuItem::OnDrawItem);
    c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
})

namespace {

// Command numbers in use; a new item takes the next free one after the last given out.
struct TCommandPool {
    std::unordered_set<WORD> used;
    WORD last = 0;

    WORD Take() {
        // 0 means "no command"; the pool of 65535 numbers outlasts any real menu, and should
        // every one be taken the item simply shares 0.
        for (int tries = 0; tries < 0xFFFF; ++tries) {
            last = static_cast<WORD>(last == 0xFFFF ? 1 : last + 1);
            if (used.insert(last).second) {
                return last;
            }
        }
        return 0;
    }
    void Give(WORD command) {
        if (command != 0) {
            used.erase(command);
        }
    }
};

TCommandPool& Commands() {
    static TCommandPool pool;
    return pool;
}

char32_t FoldAscii(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
}

std::string StripAccessMarks(std::string_view caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

bool SameCaption(std::string_view a, std::string_view b) {
    const std::u32string x = DecodeUtf8(a);
    const std::u32string y = DecodeUtf8(b);
    return x.size() == y.size() &&
           std::equal(x.begin(), x.end(), y.begin(), [](char32_t p, char32_t q) { return SameHotkey(p, q); });
}

} // namespace

char32_t GetHotkey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char32_t c = 0;
        DecodeUtf8(caption, i + 1, c);
        return c;
    }
    return 0;
}

bool SameHotkey(char32_t a, char32_t b) {
    return FoldAscii(a) == FoldAscii(b);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), m_command(Commands().Take()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    m_alive.reset();
    MenuItemGone(this);
    if (m_parent) {
        m_parent->Remove(this);
    }
    while (!m_items.empty()) {
        // Each child takes itself out of m_items as it goes.
        delete m_items.back();
    }
    Commands().Give(m_command);
}

// ---- Properties -----------------------------------------------------------------------------------

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == m_checked) {
        return;
    }
    m_checked = checked;
    if (checked && m_radioItem) {
        UncheckGroupSiblings();
    }
    MenuChanged(false);
}

void TMenuItem::UncheckGroupSiblings() {
    if (!m_parent || IsLoading()) {
        return;
    }
    // A copy: a sibling's change notification may reach code that edits the menu.
    const std::vector<TMenuItem*> siblings = m_parent->m_items;
    for (TMenuItem* sibling : siblings) {
        if (sibling != this && sibling->m_radioItem && sibling->m_groupIndex == m_groupIndex &&
            sibling->m_checked) {
            sibling->m_checked = false;
            sibling->MenuChanged(false);
        }
    }
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == m_visible) {
        return;
    }
    m_visible = visible;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool value) {
    if (value == m_default) {
        return;
    }
    m_default = value;
    MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == m_shortCut) {
        return;
    }
    m_shortCut = shortCut;
    MenuChanged(false);
}

void TMenuItem::SetImageIndex(int index) {
    if (index == m_imageIndex) {
        return;
    }
    m_imageIndex = index;
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(std::uint8_t index) {
    if (index == m_groupIndex) {
        return;
    }
    m_groupIndex = index;
    if (m_checked && m_radioItem) {
        UncheckGroupSiblings();
    }
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == m_radioItem) {
        return;
    }
    m_radioItem = value;
    if (m_checked && m_radioItem) {
        UncheckGroupSiblings();
    }
    MenuChanged(false);
}

void TMenuItem::SetAutoHotkeys(TMenuAutoFlag value) {
    if (value == m_autoHotkeys) {
        return;
    }
    m_autoHotkeys = value;
    MenuChanged(true);
}

bool TMenuItem::IsAutoHotkeys() const {
    for (const TMenuItem* item = this; item; item = item->m_parent) {
        if (item->m_autoHotkeys != maParent) {
            return item->m_autoHotkeys == maAutomatic;
        }
        if (item->m_menu) {
            return item->m_menu->AutoHotkeys() != maManual;
        }
    }
    return true;
}

// ---- The tree -----------------------------------------------------------------------------------------

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return m_items[static_cast<std::size_t>(index)];
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->m_parent) {
        item = item->m_parent;
    }
    return item->m_menu;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
    const std::string wanted = StripAccessMarks(caption);
    for (TMenuItem* item : m_items) {
        if (SameCaption(StripAccessMarks(item->m_caption), wanted)) {
            return item;
        }
    }
    return nullptr;
}

TStatus TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) {
        return TStatus::Fail("No menu item to insert");
    }
    if (item->m_parent) {
        return TStatus::Fail("Menu item \"" + item->m_caption + "\" is already in a menu");
    }
    if (item->m_menu) {
        return TStatus::Fail("The root item of a menu cannot be inserted into another item");
    }
    for (const TMenuItem* ancestor = this; ancestor; ancestor = ancestor->m_parent) {
        if (ancestor == item) {
            return TStatus::Fail("A menu item cannot be inserted into itself");
        }
    }
    if (index < 0 || index > Count()) {
        return TStatus::Fail("Menu index " + std::to_string(index) + " out of bounds");
    }
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
    if (item->m_checked && item->m_radioItem) {
        item->UncheckGroupSiblings();
    }
    MenuChanged(true);
    return TStatus::Ok();
}

TStatus TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) {
        return TStatus::Fail("Menu index " + std::to_string(index) + " out of bounds");
    }
    TMenuItem* item = m_items[static_cast<std::size_t>(index)];
    m_items.erase(m_items.begin() + index);
    item->m_parent = nullptr;
    MenuChanged(true);
    return TStatus::Ok();
}

TStatus TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0) {
        return TStatus::Fail("The menu item is not an item of this one");
    }
    return Delete(index);
}

void TMenuItem::Clear() {
    while (!m_items.empty()) {
        delete m_items.back();
    }
}

int TMenuItem::MenuIndex() const {
    return m_parent ? m_parent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int index) {
    if (!m_parent) {
        return;
    }
    auto& siblings = m_parent->m_items;
    const int current = m_parent->IndexOf(this);
    index = std::clamp(index, 0, static_cast<int>(siblings.size()) - 1);
    if (index == current) {
        return;
    }
    siblings.erase(siblings.begin() + current);
    siblings.insert(siblings.begin() + index, this);
    m_parent->MenuChanged(true);
}

void TMenuItem::Click() {
    if (!m_enabled) {
        return;
    }
    if (m_autoCheck && !(m_radioItem && m_checked)) {
        std::weak_ptr<void> alive = Token();
        SetChecked(!m_checked);
        if (alive.expired()) {
            return;
        }
    }
    if (OnClick) {
        // A copy: the handler may free this item, and with it the handler itself.
        TNotifyEvent handler = OnClick;
        handler(this);
    }
}

// ---- Changes ------------------------------------------------------------------------------------------

void TMenuItem::MenuChanged(bool rebuild) {
    ItemChanged(this, rebuild);
}

void TMenuItem::ItemChanged(TMenuItem* source, bool rebuild) {
    MenuItemChanged(source);
    if (IsDestroying()) {
        return;
    }
    TMenuItem* root = this;
    while (root->m_parent) {
        root = root->m_parent;
    }
    if (root->m_menu && !root->m_menu->IsDestroying()) {
        root->m_menu->MenuChanged(root, source, rebuild);
    }
}

// ---- Owner drawing ------------------------------------------------------------------------------------

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    if (OnMeasureItem) {
        TMenuMeasureItemEvent handler = OnMeasureItem;
        handler(this, canvas, width, height);
    }
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
    if (OnAdvancedDrawItem) {
        TAdvancedMenuDrawItemEvent handler = OnAdvancedDrawItem;
        handler(this, canvas, rect, state);
    } else if (OnDrawItem) {
        DrawItem(canvas, rect, state.Contains(odSelected));
    } else {
        DrawDefaultMenuItem(this, canvas, rect, state);
    }
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, bool selected) {
    if (OnDrawItem) {
        TMenuDrawItemEvent handler = OnDrawItem;
        handler(this, canvas, rect, selected);
    }
}

// ---- Layouts --------------------------------------------------------------------------------------------

TComponent* TMenuItem::GetParentComponent() const {
    if (!m_parent) {
        return nullptr;
    }
    if (m_parent->m_menu) {
        return m_parent->m_menu;
    }
    return m_parent;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (!parent) {
        return;
    }
    if (m_parent) {
        m_parent->Remove(this);
    }
    if (parent->InheritsFrom<TMenu>()) {
        static_cast<TMenu*>(parent)->Items()->Add(this);
    } else if (parent->InheritsFrom<TMenuItem>()) {
        static_cast<TMenuItem*>(parent)->Add(this);
    }
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->Owner() == root) {
            proc(m_items[i]);
        }
    }
}
