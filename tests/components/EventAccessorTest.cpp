#include "toolkit/components/Component.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/components/Properties.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// An event a component publishes as its own while a part of it keeps the handler: layouts bind,
// read back and clear it through the component's accessors.

namespace {

// The part that owns the event and fires it.
class TSlideTrack : public TComponent {
    VARNEL_CLASS(TSlideTrack, TComponent)

public:
    explicit TSlideTrack(TComponent* owner) : TComponent(owner) {}
    void Move() {
        if (OnChange) {
            OnChange(this);
        }
    }
    TNotifyEvent OnChange;
};

class TSlideBar : public TComponent {
    VARNEL_CLASS(TSlideBar, TComponent)

public:
    explicit TSlideBar(TComponent* owner)
        : TComponent(owner), m_track(std::make_unique<TSlideTrack>(nullptr)) {}
    TNotifyEvent OnChange() const { return m_track->OnChange; }
    void SetOnChange(TNotifyEvent handler) { m_track->OnChange = std::move(handler); }
    TSlideTrack* Track() const { return m_track.get(); }

private:
    std::unique_ptr<TSlideTrack> m_track;
};

class TSlideWindow : public TComponent {
    VARNEL_CLASS(TSlideWindow, TComponent)

public:
    explicit TSlideWindow(TComponent* owner) : TComponent(owner) {}
    TSlideBar* Bar1 = nullptr;
    std::vector<const TObject*> senders;
    void Bar1Change(TObject* sender) { senders.push_back(sender); }
    void Bar1Key(TObject*, int&) {}
};

} // namespace

VARNEL_CLASS_INFO(TSlideTrack)
VARNEL_CLASS_INFO(TSlideBar,
                  [](auto& c) { c.Event("OnChange", &TSlideBar::OnChange, &TSlideBar::SetOnChange); })
VARNEL_CLASS_INFO(TSlideWindow, [](auto& c) {
    c.Field("Bar1", &TSlideWindow::Bar1);
    c.Handler("Bar1Change", &TSlideWindow::Bar1Change);
    c.Handler("Bar1Key", &TSlideWindow::Bar1Key);
})

namespace {

constexpr const char* kLayout = "object Slide1: TSlideWindow\n"
                                "  object Bar1: TSlideBar\n"
                                "    OnChange = Bar1Change\n"
                                "  end\n"
                                "end\n";

TEST(EventAccessors, ALayoutBindsAPartsEventAndWritesItBackByName) {
    TSlideWindow window(nullptr);
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(&window, kLayout, "Slide.lfm", &error)) << error.Text();
    ASSERT_NE(window.Bar1, nullptr);
    // The part fires the handler with itself as sender.
    window.Bar1->Track()->Move();
    ASSERT_EQ(window.senders.size(), 1u);
    EXPECT_EQ(window.senders[0], window.Bar1->Track());
    EXPECT_EQ(GetPropText(window.Bar1, "OnChange"), "Bar1Change");
    EXPECT_NE(WriteLayoutText(&window).find("OnChange = Bar1Change"), std::string::npos);
}

TEST(EventAccessors, ByNameTheEventIsCheckedReplacedAndCleared) {
    TSlideWindow window(nullptr);
    auto* bar = new TSlideBar(&window);
    ASSERT_TRUE(bar->SetName("Bar1"));
    const TPropInfo* prop = TSlideBar::StaticClassInfo().FindProperty("OnChange");
    ASSERT_NE(prop, nullptr);
    EXPECT_FALSE(prop->IsEventAssigned(bar));
    EXPECT_FALSE(SetPropText(bar, "OnChange", "Bar1Key")); // another signature
    EXPECT_FALSE(prop->IsEventAssigned(bar));
    ASSERT_TRUE(SetPropText(bar, "OnChange", "Bar1Change"));
    EXPECT_TRUE(prop->IsEventAssigned(bar));
    // A handler assigned in code has no name.
    bar->SetOnChange([](TObject*) {});
    EXPECT_EQ(GetPropText(bar, "OnChange"), "");
    ASSERT_TRUE(SetPropText(bar, "OnChange", ""));
    EXPECT_FALSE(bar->Track()->OnChange);
    EXPECT_FALSE(prop->IsEventAssigned(bar));
}

} // namespace
