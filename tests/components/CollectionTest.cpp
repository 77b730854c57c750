#include "StandIns.h"

#include <gtest/gtest.h>

using TUpdates = std::vector<std::string>;

TEST(Collection, EveryChangeEndsWithAnUpdate) {
    TWidget owner(nullptr);
    TTestItems& items = *owner.Items();
    TTestItem* first = items.Add();
    TTestItem* second = items.Add();
    EXPECT_EQ(items.updates, (TUpdates{"Update(all)", "Update(all)"}));
    items.updates.clear();

    second->SetWidth(3); // one item changed
    second->SetIndex(0); // items moved
    items.Insert(1);
    items.Delete(2);
    EXPECT_EQ(items.updates, (TUpdates{"Update(1)", "Update(all)", "Update(all)", "Update(all)"}));
    ASSERT_EQ(items.Count(), 2); // second, the inserted one; first was deleted
    EXPECT_EQ(items.Items(0), second);
    EXPECT_NE(items.Items(1), first);
}

TEST(Collection, UpdatesAreHeldBackUntilTheOutermostEndUpdate) {
    TWidget owner(nullptr);
    TTestItems& items = *owner.Items();
    items.BeginUpdate();
    items.BeginUpdate();
    items.Add()->SetCaption("a");
    items.Add();
    items.EndUpdate();
    EXPECT_TRUE(items.updates.empty());
    items.EndUpdate();
    EXPECT_EQ(items.updates, TUpdates{"Update(all)"});
    items.EndUpdate(); // an unmatched EndUpdate does nothing
    EXPECT_EQ(items.UpdateCount(), 0);
    EXPECT_EQ(items.updates.size(), 1u);

    items.updates.clear();
    items.Clear();
    EXPECT_EQ(items.updates, TUpdates{"Update(all)"}); // one update for the whole clearing
    EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, ItemsKnowTheirIndexIdAndOwners) {
    TWidget owner(nullptr);
    TTestItems& items = *owner.Items();
    TTestItem* a = items.Add();
    TTestItem* b = items.Add();
    TTestItem* c = items.Add();
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(a->GetOwner(), &items);
    EXPECT_EQ(items.GetOwner(), &owner);
    b->SetIndex(99); // clamped to the end
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(c->Index(), 1);
    int idOfB = b->ID();
    delete a;
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.FindItemID(idOfB), b);
    EXPECT_EQ(items.Add()->ID(), c->ID() + 1); // ids are never reused
    EXPECT_EQ(items.Items(5), nullptr);
    items.Delete(-1); // out of range: nothing
    EXPECT_EQ(items.Count(), 3);
}

TEST(Collection, AssignCopiesItemByItemWithOneUpdate) {
    TWidget a(nullptr), b(nullptr);
    a.Items()->Add()->SetWidth(1);
    a.Items()->Add()->SetCaption("two");
    b.Items()->Add();
    b.Items()->Add();
    b.Items()->Add();
    b.Items()->updates.clear();
    b.Items()->Assign(a.Items());
    ASSERT_EQ(b.Items()->Count(), 2);
    EXPECT_EQ(b.Items()->Items(0)->Width(), 1);
    EXPECT_EQ(b.Items()->Items(1)->Caption(), "two");
    EXPECT_NE(b.Items()->Items(0), a.Items()->Items(0));
    EXPECT_EQ(b.Items()->updates, TUpdates{"Update(all)"});
}

TEST(Collection, MovingAnItemToAnotherCollectionUpdatesBoth) {
    TWidget a(nullptr), b(nullptr);
    TTestItem* item = a.Items()->Add();
    a.Items()->updates.clear();
    b.Items()->updates.clear();
    item->SetCollection(b.Items());
    EXPECT_EQ(a.Items()->Count(), 0);
    EXPECT_EQ(b.Items()->Items(0), item);
    EXPECT_EQ(a.Items()->updates, TUpdates{"Update(all)"});
    EXPECT_EQ(b.Items()->updates, TUpdates{"Update(all)"});
}

TEST(StringList, TextJoinsLinesWithCrLfAndSplitsAnyLineEnd) {
    TStringList list;
    list.Add("one");
    list.Add("two");
    EXPECT_EQ(list.Text(), "one\r\ntwo");
    list.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Strings(3), "d");
    list.SetText("x\r\n");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(1), "");
    EXPECT_EQ(list.Text(), "x\r\n"); // what was set comes back
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("\n\n");
    EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, EditingByIndexStaysInRange) {
    TStringList list;
    list.Insert(5, "clamped to the end");
    list.Insert(-3, "clamped to the start");
    EXPECT_EQ(list.Strings(0), "clamped to the start");
    EXPECT_EQ(list.Strings(9), "");
    list.SetStrings(1, "changed");
    list.SetStrings(7, "ignored");
    list.Delete(7);
    EXPECT_EQ(list.Text(), "clamped to the start\r\nchanged");
    EXPECT_EQ(list.IndexOf("CHANGED"), 1);
    EXPECT_EQ(list.IndexOf("missing"), -1);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Strings(0), "changed");
}

TEST(StringList, ChangeEventsComeOncePerChangeOrOncePerUpdate) {
    TStringList list;
    std::vector<std::string> events;
    list.OnChanging = [&](TObject*) { events.push_back("changing " + std::to_string(list.Count())); };
    list.OnChange = [&](TObject*) { events.push_back("change " + std::to_string(list.Count())); };
    list.Add("a");
    EXPECT_EQ(events, (std::vector<std::string>{"changing 0", "change 1"}));
    events.clear();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    EXPECT_EQ(events, (std::vector<std::string>{"changing 1", "change 3"}));
    events.clear();
    list.BeginUpdate();
    list.Delete(10); // nothing changes
    list.EndUpdate();
    list.SetStrings(0, "a"); // the same text
    EXPECT_TRUE(events.empty());
    list.SetText("x\ny");
    EXPECT_EQ(events, (std::vector<std::string>{"changing 3", "change 2"}));
}

TEST(StringList, AssignCopiesLinesFromAnyStrings) {
    TStringList a, b;
    a.SetText("1\n2\n3");
    b.Add("old");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(a));
    b.Assign(&b); // from itself: unchanged
    EXPECT_EQ(b.Count(), 3);
    b.AddStrings(b);
    EXPECT_EQ(b.Count(), 6);
}
