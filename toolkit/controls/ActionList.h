#pragma once

#include "toolkit/components/Component.h"

#include <string>
#include <vector>

class TBasicActionLink;
class TControl;
class TCustomActionList;
class TImageList;

// A command that several controls can stand for: running it runs OnExecute; OnUpdate lets the
// program bring its state up to date when the user interface is idle.
class TBasicAction : public TComponent {
    VARNEL_CLASS(TBasicAction, TComponent)

public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();
    // The control that is running the action, while it runs.
    TComponent* ActionComponent() const { return m_actionComponent; }
    void SetActionComponent(TComponent* value) { m_actionComponent = value; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    friend class TBasicActionLink;
    const std::vector<TBasicActionLink*>& Links() const { return m_links; }

private:
    std::vector<TBasicActionLink*> m_links;
    TComponent* m_actionComponent = nullptr;
};

// An action with the state its controls show: caption, enabled, checked, hint, image and
// visibility. A change reaches every linked control whose value still matched the old one.
class TCustomAction : public TBasicAction {
    VARNEL_CLASS(TCustomAction, TBasicAction)

public:
    explicit TCustomAction(TComponent* owner);
    ~TCustomAction() override;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    bool Checked() const { return m_checked; }
    void SetChecked(bool value);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    // A key with modifier bits, as the menus layer writes short-cuts; 0 for none.
    int ShortCut() const { return m_shortCut; }
    void SetShortCut(int value) { m_shortCut = value; }

    // The list the action belongs to, or none.
    TCustomActionList* ActionList() const { return m_actionList; }
    void SetActionList(TCustomActionList* value);

    // Brings the state up to date, then runs OnExecute when the action is enabled.
    bool Execute() override;

    bool HasParent() const override { return m_actionList != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

private:
    std::string m_caption;
    bool m_enabled = true;
    bool m_checked = false;
    std::string m_hint;
    int m_imageIndex = -1;
    bool m_visible = true;
    int m_shortCut = 0;
    TCustomActionList* m_actionList = nullptr;
};

class TAction : public TCustomAction {
    VARNEL_CLASS(TAction, TCustomAction)

public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

// Actions kept together, sharing one image list for their pictures.
class TCustomActionList : public TComponent {
    VARNEL_CLASS(TCustomActionList, TComponent)

public:
    explicit TCustomActionList(TComponent* owner);
    ~TCustomActionList() override;

    int ActionCount() const { return static_cast<int>(m_actions.size()); }
    TCustomAction* Actions(int index) const;
    TImageList* Images() const { return m_images; }
    void SetImages(TImageList* value);

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> m_actions;
    TImageList* m_images = nullptr;
};

class TActionList : public TCustomActionList {
    VARNEL_CLASS(TActionList, TCustomActionList)

public:
    explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

// Ties a client to an action: the action tells the link of each change before it stores it.
class TBasicActionLink {
public:
    TBasicActionLink() = default;
    virtual ~TBasicActionLink();
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TBasicAction* Action() const { return m_action; }
    void SetAction(TBasicAction* value);
    // Runs the action on behalf of actionComponent.
    virtual bool Execute(TComponent* actionComponent);
    virtual bool Update();

    // Called by a TCustomAction with the new value, while it still holds the old one.
    virtual void CaptionChanging(const std::string& /*value*/) {}
    virtual void EnabledChanging(bool /*value*/) {}
    virtual void CheckedChanging(bool /*value*/) {}
    virtual void HintChanging(const std::string& /*value*/) {}
    virtual void ImageIndexChanging(int /*value*/) {}
    virtual void VisibleChanging(bool /*value*/) {}

private:
    friend class TBasicAction;
    TBasicAction* m_action = nullptr;
};

// The link of a control: a change of the action reaches the control where the control still
// showed the action's old value.
class TControlActionLink : public TBasicActionLink {
public:
    explicit TControlActionLink(TControl* client) : m_client(client) {}

    void CaptionChanging(const std::string& value) override;
    void EnabledChanging(bool value) override;
    void HintChanging(const std::string& value) override;
    void VisibleChanging(bool value) override;

protected:
    TControl* Client() const { return m_client; }

private:
    TCustomAction* Custom() const;
    TControl* m_client;
};
