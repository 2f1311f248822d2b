#include <algorithm>

#include "model/ozr_types.h"
#include "platform/sysutils.h"

namespace {

// Bumped whenever a key of an object already in some list changes; an index
// built under an older generation is rebuilt on its next use.
std::uint64_t keyGeneration = 1;

bool RegionCodeOf(const TObject* item, std::string& key)
{
    const auto* region = dynamic_cast<const TRegion*>(item);
    if (!region)
        return false;
    key = region->GetCode();
    return true;
}

bool EntityIDOf(const TObject* item, std::string& key)
{
    const auto* entity = dynamic_cast<const TEntity*>(item);
    if (!entity)
        return false;
    key = AsciiLowerCase(entity->GetID());
    return true;
}

}  // namespace

TListOZR::~TListOZR()
{
    while (Count() > 0) {
        TObject* last = Items(Count() - 1);
        Delete(Count() - 1);
        delete last;
    }
}

int TListOZR::Add(TObject* Item)
{
    const int index = TList::Add(Item);
    // Lists are mostly filled before their first look-up, with no index to keep.
    if (codes_.Built || ids_.Built)
        IndexAdded(Item);
    return index;
}

void TListOZR::Insert(int Index, TObject* Item)
{
    if (Index == Count()) {
        Add(Item);
        return;
    }
    TList::Insert(Index, Item);
    DropIndexes();
}

void TListOZR::Delete(int Index)
{
    TObject* item = Items(Index);
    TList::Delete(Index);
    IndexRemoved(item, Index);
}

int TListOZR::Remove(TObject* Item)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i) == Item) {
            Delete(i);
            return i;
        }
    return -1;
}

void TListOZR::Move(int CurrentIndex, int NewIndex)
{
    TList::Move(CurrentIndex, NewIndex);
    DropIndexes();
}

void TListOZR::Clear()
{
    TList::Clear();
    DropIndexes();
}

TRegion* TListOZR::FirstRegionWithCode(std::string_view Code) const
{
    return static_cast<TRegion*>(FirstWithKey(codes_, RegionCodeOf, Code));
}

TEntity* TListOZR::FirstEntityWithID(const std::string& ID) const
{
    return dynamic_cast<TEntity*>(FirstWithKey(ids_, EntityIDOf, AsciiLowerCase(ID)));
}

void TListOZR::KeysChanged()
{
    ++keyGeneration;
}

bool TListOZR::IsCurrent(const TIndex& Index)
{
    return Index.Built && Index.Generation == keyGeneration;
}

TObject* TListOZR::FirstWithKey(TIndex& Index, TKeyOf KeyOf, std::string_view Key) const
{
    if (!IsCurrent(Index)) {
        Index.Keys.Clear();
        Index.Keys.Reserve(static_cast<std::size_t>(Count()));
        std::string key;
        for (TObject* item : *this)
            if (KeyOf(item, key))
                Index.Keys.AddIfAbsent(key, item, KeyOf);
        Index.Built = true;
        Index.Generation = keyGeneration;
    }
    return Index.Keys.Find(Key, KeyOf);
}

void TListOZR::IndexAdded(TObject* Item)
{
    std::string key;
    if (IsCurrent(codes_) && RegionCodeOf(Item, key))
        codes_.Keys.AddIfAbsent(key, Item, RegionCodeOf);
    if (IsCurrent(ids_) && EntityIDOf(Item, key))
        ids_.Keys.AddIfAbsent(key, Item, EntityIDOf);
}

// When the first object of a key goes, the next one with that key, which can
// only stand after it, takes its place.
void TListOZR::IndexRemoved(TObject* Item, int Position)
{
    const auto update = [this, Item, Position](TIndex& index, TKeyOf keyOf) {
        std::string key;
        if (!IsCurrent(index) || !keyOf(Item, key) || index.Keys.Find(key, keyOf) != Item)
            return;
        TObject* next = nullptr;
        std::string other;
        for (int i = Position; i < Count() && !next; ++i)
            if (keyOf(Items(i), other) && other == key)
                next = Items(i);
        index.Keys.Set(key, next, keyOf);
    };
    update(codes_, RegionCodeOf);
    update(ids_, EntityIDOf);
}

void TListOZR::DropIndexes()
{
    codes_.Keys.Clear();
    codes_.Built = false;
    ids_.Keys.Clear();
    ids_.Built = false;
}
