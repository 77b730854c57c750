// Feeds arbitrary text to the layout parser and reader. Invariants checked on every input that
// parses: printing and parsing again gives the same text; and a layout that loads, once written
// back, loads again and writes the same text.

#include "toolkit/components/Collection.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/LayoutText.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"
#include "toolkit/components/StringList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

enum class TFuzzLook { FromFile, MacOS, WinXP };
constexpr std::string_view kLookNames[] = {"FromFile", "MacOS", "WinXP"};
constexpr TEnumInfo LookInfo{"TFuzzLook", kLookNames};
enum TFuzzMark { fmBold, fmItalic };
constexpr std::string_view kMarkNames[] = {"fmBold", "fmItalic"};
constexpr TEnumInfo MarkInfo{"TFuzzMark", kMarkNames};

class TFuzzPicture : public TPersistent {
    VARNEL_CLASS(TFuzzPicture, TPersistent)

public:
    std::vector<std::byte> bytes;
    std::string resource;
    int Width() const { return m_width; }
    void SetWidth(int v) { m_width = v; }

private:
    TStatus ReadData(TStream& s) {
        bytes = s.ReadAll();
        return TStatus::Ok();
    }
    void WriteData(TStream& s) const { s.WriteBuffer(bytes); }
    bool HasData() const { return !bytes.empty(); }
    TStatus ReadResource(const TLayoutValue& v) {
        if (v.type != TLayoutValue::TType::String) {
            return TStatus::Fail("name expected");
        }
        resource = v.text;
        return TStatus::Ok();
    }
    std::optional<TLayoutValue> WriteResource() const {
        return resource.empty() ? std::nullopt : std::optional(TLayoutValue::Str(resource));
    }
    int m_width = 0;
};

class TFuzzWidget;

class TFuzzItem : public TCollectionItem {
    VARNEL_CLASS(TFuzzItem, TCollectionItem)

public:
    explicit TFuzzItem(TCollection* c) : TCollectionItem(c) {}
    std::string caption;
    int width = 10;
    TFuzzWidget* target = nullptr;
    TFuzzPicture* Picture() const { return m_picture.get(); }
    std::unique_ptr<TFuzzPicture> m_picture = std::make_unique<TFuzzPicture>();
};

class TFuzzWidget : public TComponent {
    VARNEL_CLASS(TFuzzWidget, TComponent)

public:
    explicit TFuzzWidget(TComponent* owner) : TComponent(owner) {}
    ~TFuzzWidget() override {
        SetParentComponent(nullptr);
        for (TFuzzWidget* c : children) {
            c->parent = nullptr;
        }
    }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent; }
    void SetParentComponent(TComponent* p) override {
        if (parent) {
            std::erase(parent->children, this);
        }
        parent = p && p->InheritsFrom<TFuzzWidget>() ? static_cast<TFuzzWidget*>(p) : nullptr;
        if (parent) {
            parent->children.push_back(this);
        }
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
        TComponent::GetChildren(proc, root);
        for (TFuzzWidget* c : children) {
            if (c->Owner() == root) {
                proc(c);
            }
        }
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove && c == buddy) {
            buddy = nullptr;
        }
    }

    TFuzzLook look = TFuzzLook::MacOS;
    std::int32_t color = 0;
    std::string caption;
    int width = 0;
    bool enabled = true;
    TSet<TFuzzMark> marks;
    std::uint16_t shortCut = 0;
    double ratio = 1;
    TFuzzWidget* buddy = nullptr;
    TNotifyEvent OnClick;
    TFuzzPicture* Picture() const { return m_picture.get(); }
    TStringList* Lines() const { return m_lines.get(); }
    TTypedCollection<TFuzzItem>* Items() const { return m_items.get(); }
    TFuzzWidget* parent = nullptr;
    std::vector<TFuzzWidget*> children;

private:
    std::unique_ptr<TFuzzPicture> m_picture = std::make_unique<TFuzzPicture>();
    std::unique_ptr<TStringList> m_lines = std::make_unique<TStringList>();
    std::unique_ptr<TTypedCollection<TFuzzItem>> m_items =
        std::make_unique<TTypedCollection<TFuzzItem>>(this);
};

class TFuzzWindow : public TFuzzWidget {
    VARNEL_CLASS(TFuzzWindow, TFuzzWidget)

public:
    explicit TFuzzWindow(TComponent* owner) : TFuzzWidget(owner) {}
    TFuzzWidget* button1 = nullptr;
    void Button1Click(TObject*) {}
    void OtherClick(TObject*) {}
};

} // namespace

VARNEL_CLASS_INFO(TFuzzPicture, [](auto& c) {
    c.Int("Width", &TFuzzPicture::Width, &TFuzzPicture::SetWidth).Default(0);
    c.BinaryData("Data", &TFuzzPicture::ReadData, &TFuzzPicture::WriteData, &TFuzzPicture::HasData);
    c.ValueData("Resource", &TFuzzPicture::ReadResource, &TFuzzPicture::WriteResource);
})
VARNEL_CLASS_INFO(TFuzzItem, [](auto& c) {
    c.String("Caption", &TFuzzItem::caption, &TFuzzItem::caption);
    c.Int("Width", &TFuzzItem::width, &TFuzzItem::width).Default(10);
    c.Component("Target", &TFuzzItem::target, &TFuzzItem::target);
    c.Object("Picture", &TFuzzItem::Picture);
})
VARNEL_CLASS_INFO(TFuzzWidget, [](auto& c) {
    c.Enum("Look", LookInfo, &TFuzzWidget::look, &TFuzzWidget::look);
    c.Color("Color", &TFuzzWidget::color, &TFuzzWidget::color).Default(0);
    c.String("Caption", &TFuzzWidget::caption, &TFuzzWidget::caption).Default("");
    c.Int("Width", &TFuzzWidget::width, &TFuzzWidget::width);
    c.Bool("Enabled", &TFuzzWidget::enabled, &TFuzzWidget::enabled).Default(true);
    c.SetOf("Marks", MarkInfo, &TFuzzWidget::marks, &TFuzzWidget::marks);
    c.ShortCut("ShortCut", &TFuzzWidget::shortCut, &TFuzzWidget::shortCut).Default(0);
    c.Float("Ratio", &TFuzzWidget::ratio, &TFuzzWidget::ratio).Default(1.0);
    c.Component("Buddy", &TFuzzWidget::buddy, &TFuzzWidget::buddy);
    c.Object("Picture", &TFuzzWidget::Picture);
    c.Object("Lines", &TFuzzWidget::Lines);
    c.Object("Items", &TFuzzWidget::Items);
    c.Event("OnClick", &TFuzzWidget::OnClick);
})
VARNEL_CLASS_INFO(TFuzzWindow, [](auto& c) {
    c.Field("Button1", &TFuzzWindow::button1);
    c.Handler("Button1Click", &TFuzzWindow::Button1Click);
    c.Handler("OtherClick", &TFuzzWindow::OtherClick);
})

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        RegisterClasses<TFuzzWindow, TFuzzWidget>();
        static constexpr TIdentMapEntry colors[] = {{0, "clBlack"}, {255, "clRed"}};
        RegisterIdents("TColor", colors);
        return true;
    }();
    (void)registered;

    std::string_view text(reinterpret_cast<const char*>(data), size);
    TLayoutObject tree;
    TLayoutError error;
    if (!ParseLayout(text, "fuzz.lfm", tree, error)) {
        return 0;
    }
    std::string printed = PrintLayout(tree);
    TLayoutObject again;
    if (!ParseLayout(printed, "printed.lfm", again, error) || PrintLayout(again) != printed) {
        __builtin_trap();
    }

    TFuzzWindow window(nullptr);
    if (!ReadLayout(&window, tree, "fuzz.lfm", &error)) {
        return 0;
    }
    std::string written = WriteLayoutText(&window);
    TFuzzWindow copy(nullptr);
    if (!ReadLayoutText(&copy, written, "written.lfm", &error) || WriteLayoutText(&copy) != written) {
        __builtin_trap();
    }
    return 0;
}
