#include "StandIns.h"

#include <gtest/gtest.h>

namespace {

// A component that logs its own destruction.
class TMortal : public TComponent {
public:
    explicit TMortal(TComponent* owner, std::string tag) : TComponent(owner), m_tag(std::move(tag)) {}
    ~TMortal() override { Log().push_back("free " + m_tag + (Owner() ? " owned" : " unowned")); }

private:
    std::string m_tag;
};

std::vector<std::string> Names(const TComponent& owner) {
    std::vector<std::string> names;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        names.push_back(owner.Components(i)->Name());
    }
    return names;
}

} // namespace

TEST(Ownership, OwnerListsComponentsInCreationOrderAndFreesThemLastFirst) {
    Log().clear();
    auto* owner = new TComponent(nullptr);
    new TMortal(owner, "a");
    auto* b = new TMortal(owner, "b");
    new TMortal(b, "b.child");
    new TMortal(owner, "c");
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner->Components(3), nullptr);
    EXPECT_EQ(owner->Components(-1), nullptr);
    delete owner;
    // Each leaves its owner before it is freed, and frees what it owns on the way.
    EXPECT_EQ(Log(), (std::vector<std::string>{"free c unowned", "free b unowned", "free b.child unowned",
                                               "free a unowned"}));
}

TEST(Ownership, FreeingAnOwnedComponentRemovesItFromItsOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
}

TEST(Ownership, InsertComponentMovesBetweenOwnersAndDropsATakenName) {
    TComponent first(nullptr), second(nullptr);
    auto* moving = new TComponent(&first);
    ASSERT_TRUE(moving->SetName("Shared"));
    auto* resident = new TComponent(&second);
    ASSERT_TRUE(resident->SetName("shared"));
    second.InsertComponent(moving);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(moving->Owner(), &second);
    EXPECT_EQ(moving->Name(), ""); // the name is taken in the new owner
    first.InsertComponent(moving);
    EXPECT_EQ(second.ComponentCount(), 1);
    first.RemoveComponent(moving);
    EXPECT_EQ(moving->Owner(), nullptr);
    delete moving;
}

TEST(Ownership, DestroyingMarksOwnedComponentsBeforeAnyIsFreed) {
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        TComponent* other = nullptr;
    };
    auto* owner = new TComponent(nullptr);
    auto* first = new TComponent(owner);
    auto* watcher = new TWatcher(owner);
    watcher->other = first;
    bool seen = false;
    struct TReport : TComponent {
        TReport(TComponent* o, TWatcher* w, bool* out) : TComponent(o), watcher(w), out(out) {}
        ~TReport() override { *out = watcher->other->IsDestroying() && IsDestroying(); }
        TWatcher* watcher;
        bool* out;
    };
    new TReport(owner, watcher, &seen); // freed first, while the others still exist
    delete owner;
    EXPECT_TRUE(seen);
}

TEST(Names, AreCheckedForFormAndUniquenessIgnoringCase) {
    TComponent owner(nullptr);
    TComponent a(&owner), b(&owner);
    EXPECT_TRUE(a.SetName("Button1"));
    EXPECT_TRUE(a.SetName("Button1")); // the same name again
    TStatus taken = b.SetName("BUTTON1");
    EXPECT_FALSE(taken);
    EXPECT_EQ(taken.Message(), "A component named BUTTON1 already exists");
    EXPECT_EQ(b.Name(), "");
    for (const char* bad : {"1st", "has space", "dot.ted", "ümlaut", "-"}) {
        TStatus s = b.SetName(bad);
        EXPECT_FALSE(s) << bad;
        EXPECT_NE(s.Message().find("not a valid component name"), std::string::npos);
    }
    EXPECT_TRUE(b.SetName("_b2"));
    EXPECT_TRUE(b.SetName("")); // a component may have no name
    EXPECT_EQ(owner.FindComponent("button1"), &a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("Nothing"), nullptr);
    // Components without owner need not have unique names.
    TComponent loose1(nullptr), loose2(nullptr);
    EXPECT_TRUE(loose1.SetName("Same"));
    EXPECT_TRUE(loose2.SetName("Same"));
}

TEST(Notifications, OwnerAndEveryOwnedComponentHearOfInsertAndRemove) {
    using THeard = std::vector<std::pair<TOperation, TComponent*>>;
    TWidget owner(nullptr);
    auto* first = new TWidget(&owner);
    auto* second = new TGadget(&owner);
    auto* third = new TGadget(&owner);
    delete second;
    // The inserted component is not told about itself; the others are, in order.
    EXPECT_EQ(owner.heard,
              (THeard{{opInsert, first}, {opInsert, second}, {opInsert, third}, {opRemove, second}}));
    EXPECT_EQ(first->heard, (THeard{{opInsert, second}, {opInsert, third}, {opRemove, second}}));
    EXPECT_EQ(third->heard, (THeard{{opRemove, second}}));
}

TEST(Notifications, FreeNotificationReachesAComponentOfAnotherOwner) {
    TComponent windowA(nullptr), windowB(nullptr);
    auto* theme = new TGadget(&windowA);
    theme->SetName("Theme");
    auto* user = new TGadget(&windowB);
    user->SetPartner(theme);
    ASSERT_EQ(user->Partner(), theme);
    delete theme;
    EXPECT_EQ(user->Partner(), nullptr);
    ASSERT_EQ(user->heard.size(), 1u);
    EXPECT_EQ(user->heard[0], std::make_pair(opRemove, static_cast<TComponent*>(theme)));

    // Subscriptions are mutual, so the subscriber going first leaves nothing dangling.
    auto* theme2 = new TGadget(&windowA);
    auto* user2 = new TGadget(&windowB);
    user2->SetPartner(theme2);
    delete user2;
    delete theme2; // would touch freed memory if theme2 still listed user2 (caught by ASan)
}

TEST(Notifications, RemoveFreeNotificationStopsTheNews) {
    TComponent windowA(nullptr), windowB(nullptr);
    auto* source = new TGadget(&windowA);
    auto* listener = new TGadget(&windowB);
    listener->SetPartner(source);
    listener->SetPartner(nullptr);
    delete source;
    EXPECT_TRUE(listener->heard.empty());
}

TEST(Notifications, SiblingsDropAComponentFreedWithTheirOwner) {
    struct THolder : TWidget {
        using TWidget::TWidget;
        bool* buddyGone = nullptr;
        ~THolder() override { *buddyGone = Buddy() == nullptr; }
    };
    bool buddyGone = false;
    auto* window = new TComponent(nullptr);
    auto* holder = new THolder(window);
    holder->buddyGone = &buddyGone;
    auto* buddy = new TWidget(window);
    holder->SetBuddy(buddy);
    delete window; // the buddy, created last, goes first; the holder hears of it
    EXPECT_TRUE(buddyGone);
}

TEST(Fields, FollowTheNamedComponentThroughRenameAndFree) {
    TTestWindow window(nullptr);
    auto* button = new TWidget(&window);
    EXPECT_EQ(window.button1, nullptr);
    button->SetName("Button1");
    EXPECT_EQ(window.button1, button);
    button->SetName("Renamed");
    EXPECT_EQ(window.button1, nullptr);
    button->SetName("button1"); // field names match without regard to case
    EXPECT_EQ(window.button1, button);
    auto* gadget = new TGadget(&window);
    gadget->SetName("Panel1"); // a gadget is no widget: the field stays empty
    EXPECT_EQ(window.panel1, nullptr);
    delete button;
    EXPECT_EQ(window.button1, nullptr);
}

TEST(DesignTime, DesigningReachesOwnedComponentsAndNewcomers) {
    TComponent window(nullptr);
    auto* panel = new TComponent(&window);
    auto* inner = new TComponent(panel);
    window.SetDesigning(true);
    EXPECT_TRUE(panel->IsDesigning());
    EXPECT_TRUE(inner->IsDesigning());
    auto* late = new TComponent(&window);
    EXPECT_TRUE(late->IsDesigning());
    window.SetDesigning(false, false);
    EXPECT_FALSE(window.IsDesigning());
    EXPECT_TRUE(panel->IsDesigning());
    EXPECT_EQ(window.ComponentState(), TComponentState{});
}

TEST(DesignTime, MessageBoxesGoThroughTheInstalledService) {
    std::vector<std::string> shown;
    TMessageBoxService previous = SetMessageBoxService([&](TMessageBoxKind kind, const std::string& text) {
        shown.push_back((kind == TMessageBoxKind::Error ? "error: " : "info: ") + text);
    });
    ShowErrorBox("Sorry, no.");
    ShowInfoBox("Consider this.");
    SetMessageBoxService(previous);
    EXPECT_EQ(shown, (std::vector<std::string>{"error: Sorry, no.", "info: Consider this."}));
}

TEST(ClassInformation, ComponentsAreCreatedByClassName) {
    RegisterClasses<TWidget, TGadget>();
    const TClassInfo* cls = FindClass("TGadget");
    ASSERT_NE(cls, nullptr);
    TComponent owner(nullptr);
    TPersistent* made = cls->CreateComponent(&owner);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), "TGadget");
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_TRUE(made->InheritsFrom<TComponent>());
    EXPECT_FALSE(FindClass("TComponent")->CanCreate()); // components need an owner argument
    EXPECT_EQ(Names(owner), std::vector<std::string>{""});
}
