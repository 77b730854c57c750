#include "StandIns.h"

#include <algorithm>

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

void RegisterTestIdents() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    static constexpr TIdentMapEntry colors[] = {
        {0x000000, "clBlack"}, {0x0000FF, "clRed"}, {static_cast<std::int32_t>(0x8000000F), "clBtnFace"}};
    RegisterIdents("TColor", colors);
    static constexpr TIdentMapEntry cursors[] = {{0, "crDefault"}, {-21, "crHandPoint"}};
    RegisterIdents("TCursor", cursors);
    static constexpr TIdentMapEntry charsets[] = {{0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}};
    RegisterIdents("TTestCharset", charsets);
}

static std::string NameOf(const TComponent* c) {
    return c->Name().empty() ? c->ClassName() : c->Name();
}

// --- TTestFont, TTestPicture ---

VARNEL_CLASS_INFO(TTestFont, [](auto& c) {
    c.String("Name", &TTestFont::Name, &TTestFont::SetName).Default("Sans");
    c.Int("Height", &TTestFont::Height, &TTestFont::SetHeight).Default(-11);
    c.SetOf("Style", MarkInfo, &TTestFont::Style, &TTestFont::SetStyle).Default(TMarks{});
    c.Color("Color", &TTestFont::Color, &TTestFont::SetColor).Default(0);
    c.Int("Charset", &TTestFont::Charset, &TTestFont::SetCharset).Default(1).Idents("TTestCharset");
})

void TTestFont::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom<TTestFont>()) {
        const auto* f = static_cast<const TTestFont*>(source);
        m_name = f->m_name;
        m_height = f->m_height;
        m_style = f->m_style;
        m_color = f->m_color;
        m_charset = f->m_charset;
        return;
    }
    TPersistent::Assign(source);
}

VARNEL_CLASS_INFO(TTestPicture, [](auto& c) {
    c.BinaryData("Data", &TTestPicture::ReadData, &TTestPicture::WriteData, &TTestPicture::HasData);
    c.ValueData("Resource", &TTestPicture::ReadResource, &TTestPicture::WriteResource);
})

TStatus TTestPicture::ReadData(TStream& stream) {
    std::vector<std::byte> data = stream.ReadAll();
    if (data.size() < 2 || data[0] != std::byte{'P'}) {
        return TStatus::Fail("Picture data is not a picture");
    }
    bytes = std::move(data);
    return TStatus::Ok();
}

void TTestPicture::WriteData(TStream& stream) const {
    stream.WriteBuffer(bytes);
}

TStatus TTestPicture::ReadResource(const TLayoutValue& value) {
    if (value.type != TLayoutValue::TType::String) {
        return TStatus::Fail("A resource name expected");
    }
    resource = value.text;
    return TStatus::Ok();
}

std::optional<TLayoutValue> TTestPicture::WriteResource() const {
    if (resource.empty()) {
        return std::nullopt;
    }
    return TLayoutValue::Str(resource);
}

// --- TTestItem, TTestItems ---

VARNEL_CLASS_INFO(TTestItem, [](auto& c) {
    c.String("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
    c.Int("Width", &TTestItem::Width, &TTestItem::SetWidth).Default(10);
    c.Component("Target", &TTestItem::Target, &TTestItem::SetTarget);
    c.Object("Picture", &TTestItem::Picture);
})

void TTestItem::SetWidth(int v) {
    m_width = v;
    Changed(false);
}

void TTestItem::SetCaption(const std::string& v) {
    m_caption = v;
    Changed(false);
}

void TTestItem::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom<TTestItem>()) {
        const auto* other = static_cast<const TTestItem*>(source);
        SetWidth(other->m_width);
        SetCaption(other->m_caption);
        m_target = other->m_target;
        return;
    }
    TCollectionItem::Assign(source);
}

VARNEL_CLASS_INFO(TTestItems)

void TTestItems::Update(TCollectionItem* item) {
    updates.push_back(item ? "Update(" + std::to_string(item->Index()) + ")" : "Update(all)");
}

// --- TWidget ---

VARNEL_CLASS_INFO(TWidget, [](auto& c) {
    c.Enum("Look", LookInfo, &TWidget::Look, &TWidget::SetLook);
    c.Color("Color", &TWidget::Color, &TWidget::SetColor);
    c.String("Caption", &TWidget::Caption, &TWidget::SetCaption).Default("");
    c.Int("Width", &TWidget::Width, &TWidget::SetWidth);
    c.Bool("Checked", &TWidget::Checked, &TWidget::SetChecked).Default(false);
    c.Bool("Enabled", &TWidget::Enabled, &TWidget::SetEnabled).Default(true);
    c.SetOf("Marks", MarkInfo, &TWidget::Marks, &TWidget::SetMarks).Default(TMarks{});
    c.Cursor("Cursor", &TWidget::Cursor, &TWidget::SetCursor).Default(0);
    c.ShortCut("ShortCut", &TWidget::ShortCut, &TWidget::SetShortCut).Default(0);
    c.Float("Ratio", &TWidget::Ratio, &TWidget::SetRatio).Default(1.0);
    c.Int("Secret", &TWidget::Secret, &TWidget::SetSecret).Stored(false);
    c.Object("Font", &TWidget::Font, &TWidget::SetFont);
    c.Object("Lines", &TWidget::Lines);
    c.Object("Items", &TWidget::Items);
    c.Component("Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
    c.Int("Spin", &TWidget::Spin);
    c.Event("OnClick", &TWidget::OnClick);
    c.Event("OnKey", &TWidget::OnKey);
})

TWidget::TWidget(TComponent* owner) : TComponent(owner), m_items(std::make_unique<TTestItems>(this)) {}

TWidget::~TWidget() {
    SetParent(nullptr);
    for (TWidget* child : m_children) {
        child->m_parent = nullptr;
    }
}

void TWidget::SetLook(TLook v) {
    m_look = v;
    m_color = v == TLook::MacOS ? 0x7F7F7F : 0x000000;
    Log().push_back(NameOf(this) + ".Look");
    loadingSeen.push_back(IsLoading());
}

void TWidget::SetColor(std::int32_t v) {
    m_color = v;
    Log().push_back(NameOf(this) + ".Color");
}

void TWidget::SetCaption(const std::string& v) {
    m_caption = v;
    Log().push_back(NameOf(this) + ".Caption");
}

void TWidget::SetWidth(int v) {
    m_width = v;
    Log().push_back(NameOf(this) + ".Width");
}

void TWidget::SetChecked(bool v) {
    if (v == m_checked) {
        return;
    }
    m_checked = v;
    Log().push_back(NameOf(this) + ".Checked");
    if (OnClick && !IsLoading()) {
        OnClick(this);
    }
}

void TWidget::SetBuddy(TWidget* v) {
    if (m_buddy) {
        m_buddy->RemoveFreeNotification(this);
    }
    m_buddy = v;
    if (v) {
        v->FreeNotification(this);
    }
    Log().push_back(NameOf(this) + ".Buddy");
}

void TWidget::SetParent(TWidget* parent) {
    if (m_parent == parent) {
        return;
    }
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    m_parent = parent;
    if (parent) {
        parent->m_children.push_back(this);
    }
}

void TWidget::SetParentComponent(TComponent* parent) {
    SetParent(parent && parent->InheritsFrom<TWidget>() ? static_cast<TWidget*>(parent) : nullptr);
}

void TWidget::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    TComponent::GetChildren(proc, root);
    for (TWidget* child : m_children) {
        if (child->Owner() == root) {
            proc(child);
        }
    }
}

void TWidget::Loaded() {
    TComponent::Loaded();
    Log().push_back(NameOf(this) + ".Loaded");
    loadingSeen.push_back(IsLoading());
}

void TWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    heard.emplace_back(operation, component);
    if (operation == opRemove && component == m_buddy) {
        m_buddy = nullptr;
    }
}

// --- TFancyWidget, TGadget, TTestWindow ---

VARNEL_CLASS_INFO(TFancyWidget, [](auto& c) {
    c.Int("Glow", &TFancyWidget::Glow, &TFancyWidget::SetGlow);
    c.Publish("Width").Default(5);
})

VARNEL_CLASS_INFO(TGadget, [](auto& c) { c.Component("Partner", &TGadget::Partner, &TGadget::SetPartner); })

void TGadget::SetPartner(TGadget* v) {
    if (m_partner) {
        m_partner->RemoveFreeNotification(this);
    }
    m_partner = v;
    if (v) {
        v->FreeNotification(this);
    }
}

void TGadget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    heard.emplace_back(operation, component);
    if (operation == opRemove && component == m_partner) {
        m_partner = nullptr;
    }
}

VARNEL_CLASS_INFO(TTestWindow, [](auto& c) {
    c.Field("Panel1", &TTestWindow::panel1);
    c.Field("Button1", &TTestWindow::button1);
    c.Field("Gadget1", &TTestWindow::gadget1);
    c.Handler("Button1Click", &TTestWindow::Button1Click);
    c.Handler("PanelKey", &TTestWindow::PanelKey);
})

void TTestWindow::Button1Click(TObject* sender) {
    clicks.push_back(NameOf(static_cast<TComponent*>(sender)));
}

void TTestWindow::PanelKey(TObject* /*sender*/, int& key) {
    key = 0;
}
