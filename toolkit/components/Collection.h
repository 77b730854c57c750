#pragma once

#include "toolkit/components/Persistent.h"

#include <string>
#include <vector>

class TCollection;

// One element of a TCollection. Its class decides what the collection holds; it publishes its
// own properties, which layouts store between `item` and `end`.
class TCollectionItem : public TPersistent {
    VARNEL_CLASS(TCollectionItem, TPersistent)

public:
    // Joins collection (when given) at the end. Create items with TCollection::Add so that the
    // collection hears of a new item only once the item is complete.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return m_collection; }
    // Moves the item into another collection (or out of any, with null).
    void SetCollection(TCollection* collection);
    // Position in the collection, -1 outside one. Setting it moves the item.
    int Index() const;
    void SetIndex(int index);
    // A number unique within the collection, kept when the item moves.
    int ID() const { return m_id; }
    virtual std::string DisplayName() const { return ClassName(); }

    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (or, with allItems, the whole collection) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* m_collection = nullptr;
    int m_id = 0;
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An ordered list of items of one class. Every change ends with Update: Update(item) when one
// item changed, Update(nullptr) when items came, went or moved; between BeginUpdate and the
// matching EndUpdate the updates are held back and EndUpdate sends one Update(nullptr).
class TCollection : public TPersistent {
    VARNEL_CLASS(TCollection, TPersistent)

public:
    // itemClass must derive from TCollectionItem and be constructible from a TCollection*.
    // owner is what GetOwner reports (the component whose property the collection is).
    explicit TCollection(const TClassInfo& itemClass, TPersistent* owner = nullptr);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    const TClassInfo& ItemClass() const { return m_itemClass; }
    int Count() const { return static_cast<int>(m_items.size()); }
    // Null outside 0 .. Count() - 1.
    TCollectionItem* Items(int index) const;
    // Copies source into the item at index.
    void SetItem(int index, const TCollectionItem* source);

    TCollectionItem* Add();
    // A new item at index (clamped to 0 .. Count()).
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    // From another collection: the same number of items, each assigned from its counterpart, with
    // one update at the end.
    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override { return m_owner; }

protected:
    // Called after every change; item is null when the change concerns the whole collection.
    virtual void Update(TCollectionItem* /*item*/) {}
    virtual void Notify(TCollectionItem* /*item*/, TCollectionNotification /*action*/) {}
    // Update(nullptr) unless an update is held back.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void ItemChanged(TCollectionItem* item);

    const TClassInfo& m_itemClass;
    TPersistent* m_owner;
    std::vector<TCollectionItem*> m_items; // owned
    int m_updateCount = 0;
    int m_nextID = 0;
};

// Typed access for a collection of a known item class: TTypedCollection<TsuiTitleBarButton>.
// A subclass that layouts or tests name by class declares VARNEL_CLASS of its own.
template <typename Item>
class TTypedCollection : public TCollection {
public:
    explicit TTypedCollection(TPersistent* owner = nullptr) : TCollection(Item::StaticClassInfo(), owner) {}
    Item* Add() { return static_cast<Item*>(TCollection::Add()); }
    Item* Insert(int index) { return static_cast<Item*>(TCollection::Insert(index)); }
    Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }
};
