#include "toolkit/components/Collection.h"

#include <algorithm>
#include <cassert>

VARNEL_CLASS_INFO(TCollectionItem)
VARNEL_CLASS_INFO(TCollection)

// --- TCollectionItem ---

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) {
        collection->m_items.push_back(this);
        m_collection = collection;
        m_id = collection->m_nextID++;
    }
}

TCollectionItem::~TCollectionItem() {
    if (m_collection) {
        m_collection->RemoveItem(this);
    }
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == m_collection) {
        return;
    }
    if (m_collection) {
        m_collection->RemoveItem(this);
    }
    if (collection) {
        collection->InsertItem(this);
    }
}

int TCollectionItem::Index() const {
    if (!m_collection) {
        return -1;
    }
    auto& items = m_collection->m_items;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current < 0) {
        return;
    }
    auto& items = m_collection->m_items;
    index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
    if (index == current) {
        return;
    }
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const {
    return m_collection;
}

void TCollectionItem::Changed(bool allItems) {
    if (m_collection) {
        m_collection->ItemChanged(allItems ? nullptr : this);
    }
}

// --- TCollection ---

TCollection::TCollection(const TClassInfo& itemClass, TPersistent* owner)
    : m_itemClass(itemClass), m_owner(owner) {
    assert(itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()) && itemClass.CanCreateItem() &&
           "a collection holds items of a class made from a collection");
}

TCollection::~TCollection() {
    // No updates while the derived collection is already gone.
    m_updateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return m_items[static_cast<std::size_t>(index)];
}

void TCollection::SetItem(int index, const TCollectionItem* source) {
    if (TCollectionItem* item = Items(index)) {
        item->Assign(source);
    }
}

TCollectionItem* TCollection::Add() {
    auto* item = static_cast<TCollectionItem*>(m_itemClass.CreateItem(this));
    if (!item) {
        return nullptr;
    }
    // The item joined the list in its constructor, before it was complete; now it is.
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    BeginUpdate();
    TCollectionItem* item = Add();
    if (item) {
        item->SetIndex(index);
    }
    EndUpdate();
    return item;
}

void TCollection::Delete(int index) {
    if (TCollectionItem* item = Items(index)) {
        Notify(item, TCollectionNotification::cnDeleting);
        delete item;
    }
}

void TCollection::Clear() {
    if (m_items.empty()) {
        return;
    }
    BeginUpdate();
    while (!m_items.empty()) {
        TCollectionItem* last = m_items.back();
        Notify(last, TCollectionNotification::cnDeleting);
        delete last;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : m_items) {
        if (item->m_id == id) {
            return item;
        }
    }
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++m_updateCount;
}

void TCollection::EndUpdate() {
    if (m_updateCount > 0 && --m_updateCount == 0) {
        Changed();
    }
}

void TCollection::Changed() {
    if (m_updateCount == 0) {
        Update(nullptr);
    }
}

void TCollection::ItemChanged(TCollectionItem* item) {
    if (m_updateCount == 0) {
        Update(item);
    }
}

void TCollection::InsertItem(TCollectionItem* item) {
    m_items.push_back(item);
    item->m_collection = this;
    item->m_id = m_nextID++;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it == m_items.end()) {
        return;
    }
    Notify(item, TCollectionNotification::cnExtracting);
    m_items.erase(it);
    item->m_collection = nullptr;
    Changed();
}

void TCollection::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom<TCollection>()) {
        const auto* other = static_cast<const TCollection*>(source);
        if (other == this) {
            return;
        }
        BeginUpdate();
        Clear();
        for (TCollectionItem* item : other->m_items) {
            Add()->Assign(item);
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}
