#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/menus/ShortCuts.h"
#include "toolkit/windowing/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

class TImageList;

enum TFindItemKind : std::uint8_t { fkCommand, fkShortCut };

enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };
inline constexpr std::string_view kPopupAlignmentNames[] = {"paLeft", "paRight", "paCenter"};
inline constexpr TEnumInfo PopupAlignmentInfo{"TPopupAlignment", kPopupAlignmentNames};

enum TTrackButton : std::uint8_t { tbRightButton, tbLeftButton };
inline constexpr std::string_view kTrackButtonNames[] = {"tbRightButton", "tbLeftButton"};
inline constexpr TEnumInfo TrackButtonInfo{"TTrackButton", kTrackButtonNames};

using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

// A tree of menu items under one root item (Items), with what all its items share: the image
// list, owner drawing and automatic access keys. In a layout the items nest inside the menu
// (`object Exit1: TMenuItem` within `object MainMenu1: TMainMenu`).
class TMenu : public TComponent {
    VARNEL_CLASS(TMenu, TComponent)

public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its items are the menu's top-level items.
    TMenuItem* Items() const { return m_items.get(); }

    TImageList* Images() const { return m_images; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return m_ownerDraw; }
    void SetOwnerDraw(bool value);
    // The items are measured and drawn by themselves (OnMeasureItem, OnDrawItem, or the
    // toolkit's default owner drawing) when OwnerDraw is set or an image list is given.
    bool IsOwnerDraw() const { return m_ownerDraw || m_images != nullptr; }
    TMenuAutoFlag AutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag value);

    // The window the menu's windows belong to (a form's window); 0 for the active window.
    HWND WindowHandle() const { return m_windowHandle; }
    void SetWindowHandle(HWND hwnd) { m_windowHandle = hwnd; }

    // The first item, depth first, with that command number or short-cut; none when there is
    // none.
    TMenuItem* FindItem(int value, TFindItemKind kind) const;
    // A key message as one of the menu's short-cuts: the first item with that short-cut that can
    // be reached (it and every item above it enabled, visible or not) is clicked, and the answer
    // is true. False, and the key left for others, when no reachable item has it.
    bool IsShortCut(TWMKey& message);

    // Called on every change of an item (source; none for a change of the whole menu) and of
    // the menu's own settings; rebuild says the list of items changed. Fires OnChange.
    virtual void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild);

    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    std::weak_ptr<void> Token() const { return m_alive; }

    TMenuChangeEvent OnChange;

private:
    std::unique_ptr<TMenuItem> m_items;
    TImageList* m_images = nullptr;
    bool m_ownerDraw = false;
    TMenuAutoFlag m_autoHotkeys = maAutomatic;
    HWND m_windowHandle = 0;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

// A window's main menu: its top-level items are the menu bar's entries, and the form's key
// handling asks it for short-cuts (IsShortCut). The menu bar itself is drawn by whoever shows
// it, which drops the top-level items' submenus down with TrackMenu (MenuTracker.h).
class TMainMenu : public TMenu {
    VARNEL_CLASS(TMainMenu, TMenu)

public:
    explicit TMainMenu(TComponent* owner);
};

// A menu shown at a screen point: a control's context menu, a title bar's system menu.
class TPopupMenu : public TMenu {
    VARNEL_CLASS(TPopupMenu, TMenu)

public:
    explicit TPopupMenu(TComponent* owner);

    // Which corner of the menu lies at the point given to Popup.
    TPopupAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TPopupAlignment value) { m_alignment = value; }
    // Controls show the menu themselves on a right click when set.
    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool value) { m_autoPopup = value; }
    // Right button: both buttons choose items; left button: only the left one does.
    TTrackButton TrackButton() const { return m_trackButton; }
    void SetTrackButton(TTrackButton value) { m_trackButton = value; }
    // The component the menu was last shown for; dropped when it is freed.
    TComponent* PopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(TComponent* component);

    // OnPopup first (a handler may enable and disable items), then the menu at the screen point;
    // returns when the menu has closed, OnClose has fired and the chosen item's OnClick has run.
    virtual void Popup(int x, int y);
    // Popup (overrides included) for a menu opened from something on the screen, such as a
    // title bar's control box: the menu keeps clear of exclude (screen coordinates), and a press
    // inside exclude closes the menu and then reaches the window under it as if no menu had been
    // open, so a second click there within the double-click time arrives as a double click.
    void PopupExcluding(int x, int y, const TRect& exclude);

    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

protected:
    virtual void DoPopup(TObject* sender);
    virtual void DoClose();

private:
    TPopupAlignment m_alignment = paLeft;
    bool m_autoPopup = true;
    TTrackButton m_trackButton = tbRightButton;
    TComponent* m_popupComponent = nullptr;
    TRect m_exclude; // for the Popup that PopupExcluding runs; empty otherwise
};

// Makes the menu classes known to layouts.
void RegisterMenuClasses();
