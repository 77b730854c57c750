#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Set.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/menus/ShortCuts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCanvas;
class TMenu;

// Whether the items of a menu get access keys of their own when their captions have none.
enum TMenuAutoFlag : std::uint8_t { maAutomatic, maManual, maParent };
inline constexpr std::string_view kMenuAutoFlagNames[] = {"maAutomatic", "maManual", "maParent"};
inline constexpr TEnumInfo MenuAutoFlagInfo{"TMenuAutoFlag", kMenuAutoFlagNames};

// The state an owner-drawn item is drawn in.
enum TOwnerDrawStateItem : std::uint8_t {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit,
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// Owner drawing: an item is asked for its size (width and height arrive holding the size the
// toolkit would give it) and then to draw itself into its rectangle of the menu window.
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state)>;

// One entry of a menu: a command, a separator (caption "-") or, when it has items of its own, a
// submenu. Items form a tree under a menu's root item (TMenu::Items). A parent frees its items
// when it goes; Delete and Remove only take an item out of the tree. Every change is reported up
// the tree to the menu (TMenu::MenuChanged) and to an open menu showing the item.
class TMenuItem : public TComponent {
    VARNEL_CLASS(TMenuItem, TComponent)

public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // ---- Properties ----
    // "&" marks the access key ("&&" is a plain "&"); "-" makes the item a separator.
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return m_caption == "-"; }
    bool Checked() const { return m_checked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // The default item of its menu, drawn in bold.
    bool Default() const { return m_default; }
    void SetDefault(bool value);
    TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    // Index in the menu's image list; -1 for none.
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }
    std::uint8_t GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(std::uint8_t index);
    bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool value);
    // A click toggles Checked (a radio item only checks).
    bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool value) { m_autoCheck = value; }
    TMenuAutoFlag AutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag value);
    // Whether this item's submenu gets access keys automatically, maParent resolved.
    bool IsAutoHotkeys() const;
    // A number unique among the items that exist, as classic menus identify commands.
    WORD Command() const { return m_command; }

    // ---- The tree ----
    int Count() const { return static_cast<int>(m_items.size()); }
    // Null outside 0 .. Count() - 1.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return m_parent; }
    // The menu this item belongs to, through its root; none for an item outside any menu.
    TMenu* GetParentMenu() const;
    // The menu whose root item this is; none for every other item.
    TMenu* RootOf() const { return m_menu; }
    int IndexOf(const TMenuItem* item) const;
    // The child whose caption, access-key marks left out, equals caption (letter case ignored).
    TMenuItem* Find(std::string_view caption) const;
    // Refused (and nothing changes) for no item, an item that already has a parent, this item
    // itself or one of its ancestors, and an index outside 0 .. Count().
    TStatus Add(TMenuItem* item) { return Insert(Count(), item); }
    TStatus Insert(int index, TMenuItem* item);
    // Takes the item at index out of this one without freeing it.
    TStatus Delete(int index);
    TStatus Remove(TMenuItem* item);
    // Frees every child item.
    void Clear();
    int MenuIndex() const;
    // Moves the item among its siblings (clamped to their range).
    void SetMenuIndex(int index);

    // Runs OnClick when the item is enabled (after AutoCheck has done its part). A handler may
    // free the item.
    virtual void Click();

    // ---- Owner drawing ----
    // width and height arrive holding the toolkit's own size for the item.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    // OnAdvancedDrawItem, else OnDrawItem, else the toolkit's default owner drawing.
    virtual void AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
    virtual void DrawItem(TCanvas* canvas, const TRect& rect, bool selected);

    // ---- Layouts: items nest inside their menu and parent items ----
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // A token that expires when the item is freed, for code that must survive a handler
    // freeing the item it runs for.
    std::weak_ptr<void> Token() const { return m_alive; }

protected:
    // Reports a change of this item (or, rebuild true, of its list of items) up to the menu.
    void MenuChanged(bool rebuild);

private:
    friend class TMenu;

    void ItemChanged(TMenuItem* source, bool rebuild);
    void UncheckGroupSiblings();

    std::string m_caption;
    TShortCut m_shortCut = 0;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_default = false;
    bool m_radioItem = false;
    bool m_autoCheck = false;
    std::uint8_t m_groupIndex = 0;
    int m_imageIndex = -1;
    std::string m_hint;
    TMenuAutoFlag m_autoHotkeys = maParent;
    WORD m_command = 0;

    TMenuItem* m_parent = nullptr;
    std::vector<TMenuItem*> m_items;
    TMenu* m_menu = nullptr; // set on a menu's root item only
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

// The character an "&" marks in caption (the first single "&" followed by a character), or 0.
char32_t GetHotkey(std::string_view caption);
// Whether two access-key characters are the same key: letter case is ignored for ASCII.
bool SameHotkey(char32_t a, char32_t b);
