#pragma once

// Small classes that use the component model the way the controls and the skin will: a font and
// a picture as sub-objects, a collection, widgets that nest like controls, and a window class
// that names its components and handlers. Every setter and Loaded writes to Log() so tests can
// compare sequences.

#include "toolkit/components/Collection.h"
#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"
#include "toolkit/components/StringList.h"

#include <memory>
#include <string>
#include <vector>

std::vector<std::string>& Log();

enum class TLook { FromFile, MacOS, WinXP, DeepBlue };
inline constexpr std::string_view kLookNames[] = {"FromFile", "MacOS", "WinXP", "DeepBlue"};
inline constexpr TEnumInfo LookInfo{"TLook", kLookNames};

enum TMark { mkBold, mkItalic, mkUnderline };
using TMarks = TSet<TMark>;
inline constexpr std::string_view kMarkNames[] = {"mkBold", "mkItalic", "mkUnderline"};
inline constexpr TEnumInfo MarkInfo{"TMark", kMarkNames};

// Registers the colour and cursor names the tests use (the graphics and controls layers
// register the real ones).
void RegisterTestIdents();

class TTestFont : public TPersistent {
    VARNEL_CLASS(TTestFont, TPersistent)

public:
    const std::string& Name() const { return m_name; }
    void SetName(const std::string& v) { m_name = v; }
    int Height() const { return m_height; }
    void SetHeight(int v) { m_height = v; }
    TMarks Style() const { return m_style; }
    void SetStyle(TMarks v) { m_style = v; }
    std::int32_t Color() const { return m_color; }
    void SetColor(std::int32_t v) { m_color = v; }
    std::uint8_t Charset() const { return m_charset; }
    void SetCharset(std::uint8_t v) { m_charset = v; }
    void Assign(const TPersistent* source) override;

private:
    std::string m_name = "Sans";
    int m_height = -11;
    TMarks m_style;
    std::int32_t m_color = 0;
    std::uint8_t m_charset = 1;
};

// Image bytes stored in the layout, or the name of an embedded resource instead.
class TTestPicture : public TPersistent {
    VARNEL_CLASS(TTestPicture, TPersistent)

public:
    std::vector<std::byte> bytes;
    std::string resource;

private:
    TStatus ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    bool HasData() const { return !bytes.empty() && resource.empty(); }
    TStatus ReadResource(const TLayoutValue& value);
    std::optional<TLayoutValue> WriteResource() const;
};

class TWidget;

class TTestItem : public TCollectionItem {
    VARNEL_CLASS(TTestItem, TCollectionItem)

public:
    explicit TTestItem(TCollection* collection) : TCollectionItem(collection) {}
    int Width() const { return m_width; }
    void SetWidth(int v);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& v);
    TWidget* Target() const { return m_target; }
    void SetTarget(TWidget* v) { m_target = v; }
    TTestPicture* Picture() const { return m_picture.get(); }
    void Assign(const TPersistent* source) override;

private:
    int m_width = 10;
    std::string m_caption;
    TWidget* m_target = nullptr;
    std::unique_ptr<TTestPicture> m_picture = std::make_unique<TTestPicture>();
};

class TTestItems : public TTypedCollection<TTestItem> {
    VARNEL_CLASS(TTestItems, TCollection)

public:
    explicit TTestItems(TPersistent* owner) : TTypedCollection<TTestItem>(owner) {}
    // "Update(<index>)" or "Update(all)" for every update.
    std::vector<std::string> updates;

protected:
    void Update(TCollectionItem* item) override;
};

using TKeyEvent = std::function<void(TObject* sender, int& key)>;

// A control-like component: it nests in a parent widget, and its setters log what they do.
class TWidget : public TComponent {
    VARNEL_CLASS(TWidget, TComponent)

public:
    explicit TWidget(TComponent* owner);
    ~TWidget() override;

    TLook Look() const { return m_look; }
    // Like a look, it sets the colour, which a colour stored after it overrides.
    void SetLook(TLook v);
    std::int32_t Color() const { return m_color; }
    void SetColor(std::int32_t v);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& v);
    int Width() const { return m_width; }
    void SetWidth(int v);
    bool Checked() const { return m_checked; }
    // Fires OnClick after the change, except while loading.
    void SetChecked(bool v);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v) { m_enabled = v; }
    TMarks Marks() const { return m_marks; }
    void SetMarks(TMarks v) { m_marks = v; }
    int Cursor() const { return m_cursor; }
    void SetCursor(int v) { m_cursor = v; }
    std::uint16_t ShortCut() const { return m_shortCut; }
    void SetShortCut(std::uint16_t v) { m_shortCut = v; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double v) { m_ratio = v; }
    int Secret() const { return m_secret; }
    void SetSecret(int v) { m_secret = v; }
    TTestFont* Font() const { return m_font.get(); }
    void SetFont(const TTestFont* v) { m_font->Assign(v); }
    TStringList* Lines() const { return m_lines.get(); }
    TTestItems* Items() const { return m_items.get(); }
    TWidget* Buddy() const { return m_buddy; }
    void SetBuddy(TWidget* v);
    int Spin() const { return m_spin; } // a read-only property

    TNotifyEvent OnClick;
    TKeyEvent OnKey;

    // Parent and children, as controls have them.
    TWidget* Parent() const { return m_parent; }
    void SetParent(TWidget* parent);
    const std::vector<TWidget*>& Children() const { return m_children; }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return m_parent; }
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Notifications heard, in order.
    std::vector<std::pair<TOperation, TComponent*>> heard;
    // The component state seen by each setter and by Loaded, for checking csLoading.
    std::vector<bool> loadingSeen;

private:
    TLook m_look = TLook::DeepBlue;
    std::int32_t m_color = 0;
    std::string m_caption;
    int m_width = 0;
    bool m_checked = false;
    bool m_enabled = true;
    TMarks m_marks;
    int m_cursor = 0;
    std::uint16_t m_shortCut = 0;
    double m_ratio = 1.0;
    int m_secret = 0;
    int m_spin = 7;
    std::unique_ptr<TTestFont> m_font = std::make_unique<TTestFont>();
    std::unique_ptr<TStringList> m_lines = std::make_unique<TStringList>();
    std::unique_ptr<TTestItems> m_items;
    TWidget* m_buddy = nullptr;
    TWidget* m_parent = nullptr;
    std::vector<TWidget*> m_children;
};

// A derived widget that publishes one inherited property again, later and with a default.
class TFancyWidget : public TWidget {
    VARNEL_CLASS(TFancyWidget, TWidget)

public:
    explicit TFancyWidget(TComponent* owner) : TWidget(owner) {}
    int Glow() const { return m_glow; }
    void SetGlow(int v) { m_glow = v; }

private:
    int m_glow = 0;
};

// A component without parent, like a menu or a dialog.
class TGadget : public TComponent {
    VARNEL_CLASS(TGadget, TComponent)

public:
    explicit TGadget(TComponent* owner) : TComponent(owner) {}
    TGadget* Partner() const { return m_partner; }
    void SetPartner(TGadget* v);
    void Notification(TComponent* component, TOperation operation) override;
    std::vector<std::pair<TOperation, TComponent*>> heard;

private:
    TGadget* m_partner = nullptr;
};

// A window class: it names its components and handlers, as a form unit does.
class TTestWindow : public TWidget {
    VARNEL_CLASS(TTestWindow, TWidget)

public:
    explicit TTestWindow(TComponent* owner) : TWidget(owner) {}

    TWidget* panel1 = nullptr;
    TWidget* button1 = nullptr;
    TGadget* gadget1 = nullptr;

    void Button1Click(TObject* sender);
    void PanelKey(TObject* sender, int& key);
    std::vector<std::string> clicks;
};
