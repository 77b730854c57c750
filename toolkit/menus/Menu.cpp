#include "toolkit/menus/Menu.h"

#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/windowing/WinUser.h"

#include <functional>
#include <utility>

VARNEL_CLASS_INFO(TMenu, [](auto& c) {
    c.Enum("AutoHotkeys", MenuAutoFlagInfo, &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys)
        .Default(maAutomatic)
        .Unpublished();
    c.Component("Images", &TMenu::Images, &TMenu::SetImages).Unpublished();
    c.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false).Unpublished();
})

VARNEL_CLASS_INFO(TMainMenu, [](auto& c) {
    c.Publish("AutoHotkeys");
    c.Publish("Images");
    c.Publish("OwnerDraw");
})

VARNEL_CLASS_INFO(TPopupMenu, [](auto& c) {
    c.Enum("Alignment", PopupAlignmentInfo, &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
        .Default(paLeft);
    c.Publish("AutoHotkeys");
    c.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    c.Publish("Images");
    c.Publish("OwnerDraw");
    c.Enum("TrackButton", TrackButtonInfo, &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton)
        .Default(tbRightButton);
    c.Event("OnClose", &TPopupMenu::OnClose);
    c.Event("OnPopup", &TPopupMenu::OnPopup);
})

void RegisterMenuClasses() {
    RegisterClasses<TMenuItem, TMainMenu, TPopupMenu>();
}

// ---- TMenu -----------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), m_items(std::make_unique<TMenuItem>(nullptr)) {
    m_items->m_menu = this;
}

TMenu::~TMenu() {
    Destroying();
    m_alive.reset();
    if (m_images) {
        m_images->RemoveFreeNotification(this);
    }
    // The items go while this is still a TMenu; their changes are not reported any more.
    m_items.reset();
}

void TMenu::SetImages(TImageList* images) {
    if (images == m_images) {
        return;
    }
    if (m_images) {
        m_images->RemoveFreeNotification(this);
    }
    m_images = images;
    if (m_images) {
        m_images->FreeNotification(this);
    }
    MenuChanged(m_items.get(), nullptr, false);
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == m_ownerDraw) {
        return;
    }
    m_ownerDraw = value;
    MenuChanged(m_items.get(), nullptr, false);
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag value) {
    // Automatic or manual: a menu has no parent to defer to.
    if (value == maParent) {
        value = maAutomatic;
    }
    if (value == m_autoHotkeys) {
        return;
    }
    m_autoHotkeys = value;
    MenuChanged(m_items.get(), nullptr, true);
}

TMenuItem* TMenu::FindItem(int value, TFindItemKind kind) const {
    std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            const bool match =
                kind == fkCommand ? item->Command() == value : (value != 0 && item->ShortCut() == value);
            if (match) {
                return item;
            }
            if (TMenuItem* found = search(item)) {
                return found;
            }
        }
        return nullptr;
    };
    return search(m_items.get());
}

bool TMenu::IsShortCut(TWMKey& message) {
    const TShortCut shortCut = ShortCutFromKeyMessage(message);
    if (ShortCutKey(shortCut) == 0) {
        return false;
    }
    // Depth first, the first reachable item wins: an item under a disabled submenu is as out
    // of reach from the keyboard as it is from the menu.
    std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Enabled()) {
                continue;
            }
            if (item->ShortCut() == shortCut) {
                return item;
            }
            if (TMenuItem* found = search(item)) {
                return found;
            }
        }
        return nullptr;
    };
    TMenuItem* item = search(m_items.get());
    if (!item) {
        return false;
    }
    item->Click();
    message.Result = 1;
    return true;
}

void TMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    // A menu that is going away reports nothing: its handlers may belong to what goes with it.
    if (OnChange && !IsLoading() && !IsDestroying()) {
        TMenuChangeEvent handler = OnChange;
        handler(sender, source, rebuild);
    }
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_images) {
        m_images = nullptr;
        MenuChanged(m_items.get(), nullptr, false);
    }
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    m_items->GetChildren(proc, root);
}

// ---- TMainMenu -------------------------------------------------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

// ---- TPopupMenu ------------------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (component == m_popupComponent) {
        return;
    }
    if (m_popupComponent) {
        m_popupComponent->RemoveFreeNotification(this);
    }
    m_popupComponent = component;
    if (m_popupComponent) {
        m_popupComponent->FreeNotification(this);
    }
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == m_popupComponent) {
        m_popupComponent = nullptr;
    }
}

void TPopupMenu::DoPopup(TObject* sender) {
    if (OnPopup) {
        TNotifyEvent handler = OnPopup;
        handler(sender);
    }
}

void TPopupMenu::DoClose() {
    if (OnClose) {
        TNotifyEvent handler = OnClose;
        handler(this);
    }
}

void TPopupMenu::Popup(int x, int y) {
    std::weak_ptr<void> alive = Token();
    DoPopup(this);
    if (alive.expired()) {
        return;
    }
    TTrackMenuParams params;
    params.Position = {x, y};
    params.Exclude = std::exchange(m_exclude, TRect{});
    params.PassExcludedPress = !params.Exclude.IsEmpty();
    params.Alignment = m_alignment;
    params.Owner = WindowHandle() ? WindowHandle() : GetActiveWindow();
    params.ReturnCommand = true;
    params.LeftButtonOnly = m_trackButton == tbLeftButton;
    TTrackMenuResult result = TrackMenu(Items(), params);
    if (alive.expired()) {
        return;
    }
    std::weak_ptr<void> chosenAlive = result.Chosen ? result.Chosen->Token() : std::weak_ptr<void>();
    DoClose();
    if (result.Chosen && !chosenAlive.expired()) {
        result.Chosen->Click();
    }
}

void TPopupMenu::PopupExcluding(int x, int y, const TRect& exclude) {
    std::weak_ptr<void> alive = Token();
    m_exclude = exclude;
    Popup(x, y);
    // An override that did not reach the base leaves nothing behind for the next Popup.
    if (!alive.expired()) {
        m_exclude = TRect{};
    }
}
