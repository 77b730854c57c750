#include "toolkit/controls/ActionList.h"

#include "toolkit/components/Properties.h"
#include "toolkit/controls/Control.h"
#include "toolkit/graphics/ImageList.h"

#include <algorithm>

VARNEL_CLASS_INFO(TBasicAction, [](auto& c) {
    c.Event("OnExecute", &TBasicAction::OnExecute);
    c.Event("OnUpdate", &TBasicAction::OnUpdate);
})

VARNEL_CLASS_INFO(TCustomAction, [](auto& c) {
    c.String("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption).Default("");
    c.Bool("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false);
    c.Bool("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
    c.String("Hint", &TCustomAction::Hint, &TCustomAction::SetHint).Default("");
    c.Int("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
    c.ShortCut("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0);
    c.Bool("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
})

VARNEL_CLASS_INFO(TAction)

VARNEL_CLASS_INFO(TCustomActionList, [](auto& c) {
    c.Component("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
})

VARNEL_CLASS_INFO(TActionList)

// ---- TBasicAction ------------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    for (TBasicActionLink* link : m_links) {
        link->m_action = nullptr;
    }
    m_links.clear();
}

bool TBasicAction::Execute() {
    if (!OnExecute) {
        return false;
    }
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) {
        return false;
    }
    OnUpdate(this);
    return true;
}

// ---- TCustomAction -----------------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

TCustomAction::~TCustomAction() {
    SetActionList(nullptr);
}

void TCustomAction::SetCaption(const std::string& value) {
    if (value == m_caption) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->CaptionChanging(value);
    }
    m_caption = value;
}

void TCustomAction::SetEnabled(bool value) {
    if (value == m_enabled) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->EnabledChanging(value);
    }
    m_enabled = value;
}

void TCustomAction::SetChecked(bool value) {
    if (value == m_checked) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->CheckedChanging(value);
    }
    m_checked = value;
}

void TCustomAction::SetHint(const std::string& value) {
    if (value == m_hint) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->HintChanging(value);
    }
    m_hint = value;
}

void TCustomAction::SetImageIndex(int value) {
    if (value == m_imageIndex) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->ImageIndexChanging(value);
    }
    m_imageIndex = value;
}

void TCustomAction::SetVisible(bool value) {
    if (value == m_visible) {
        return;
    }
    for (TBasicActionLink* link : std::vector(Links())) {
        link->VisibleChanging(value);
    }
    m_visible = value;
}

void TCustomAction::SetActionList(TCustomActionList* value) {
    if (value == m_actionList) {
        return;
    }
    if (m_actionList) {
        auto& list = m_actionList->m_actions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_actionList = value;
    if (value) {
        value->m_actions.push_back(this);
    }
}

bool TCustomAction::Execute() {
    Update();
    return m_enabled && TBasicAction::Execute();
}

TComponent* TCustomAction::GetParentComponent() const {
    return m_actionList;
}

void TCustomAction::SetParentComponent(TComponent* parent) {
    SetActionList(dynamic_cast<TCustomActionList*>(parent));
}

// ---- TCustomActionList -------------------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

TCustomActionList::~TCustomActionList() {
    while (!m_actions.empty()) {
        m_actions.back()->SetActionList(nullptr);
    }
}

TCustomAction* TCustomActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) {
        return nullptr;
    }
    return m_actions[static_cast<std::size_t>(index)];
}

void TCustomActionList::SetImages(TImageList* value) {
    if (value == m_images) {
        return;
    }
    if (m_images) {
        RemoveFreeNotification(m_images);
    }
    m_images = value;
    if (value) {
        value->FreeNotification(this);
    }
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (TCustomAction* action : std::vector(m_actions)) {
        if (action->Owner() == root) {
            proc(action);
        }
    }
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_images) {
        m_images = nullptr;
    }
}

// ---- Links -------------------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == m_action) {
        return;
    }
    if (m_action) {
        auto& links = m_action->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    m_action = value;
    if (value) {
        value->m_links.push_back(this);
    }
}

bool TBasicActionLink::Execute(TComponent* actionComponent) {
    if (!m_action) {
        return false;
    }
    TBasicAction* action = m_action;
    action->SetActionComponent(actionComponent);
    const bool result = action->Execute();
    // The handler may have unlinked or freed the action.
    if (m_action == action) {
        action->SetActionComponent(nullptr);
    }
    return result;
}

bool TBasicActionLink::Update() {
    return m_action && m_action->Update();
}

TCustomAction* TControlActionLink::Custom() const {
    return dynamic_cast<TCustomAction*>(Action());
}

void TControlActionLink::CaptionChanging(const std::string& value) {
    if (TCustomAction* action = Custom(); action && m_client->Caption() == action->Caption()) {
        m_client->SetCaption(value);
    }
}

void TControlActionLink::EnabledChanging(bool value) {
    if (TCustomAction* action = Custom(); action && m_client->Enabled() == action->Enabled()) {
        m_client->SetEnabled(value);
    }
}

void TControlActionLink::HintChanging(const std::string& value) {
    if (TCustomAction* action = Custom(); action && m_client->Hint() == action->Hint()) {
        m_client->SetHint(value);
    }
}

void TControlActionLink::VisibleChanging(bool value) {
    if (TCustomAction* action = Custom(); action && m_client->Visible() == action->Visible()) {
        m_client->SetVisible(value);
    }
}
