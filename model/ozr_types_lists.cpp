#include "model/ozr_types.h"

namespace {

// Bumped whenever a key of an object already in some list changes; an index
// built under an older generation is rebuilt on its next use.
std::uint64_t keyGeneration = 1;

bool RegionCodeOf(const TObject* item, std::string_view& key)
{
    const auto* region = dynamic_cast<const TRegion*>(item);
    if (!region)
        return false;
    key = region->GetCode();
    return true;
}

// A station's class information tells what it is at a fraction of the cost
// of a dynamic cast, which would be much of the work of indexing it.
bool EntityIDOf(const TObject* item, std::string_view& key)
{
    const TClassInfo* info = item->ClassInfo();
    if (!info || !info->InheritsFrom(TEntity::StaticClassInfo()))
        return false;
    key = static_cast<const TEntity*>(item)->GetID();
    return true;
}

// The readers for objects whose class is known.
bool NoKey(const TObject*, std::string_view&)
{
    return false;
}

bool CodeOfRegion(const TObject* item, std::string_view& key)
{
    key = static_cast<const TRegion*>(item)->GetCode();
    return true;
}

bool IDOfEntity(const TObject* item, std::string_view& key)
{
    key = static_cast<const TEntity*>(item)->GetID();
    return true;
}

constexpr TKeyKind kRegionCodes{RegionCodeOf, false};
constexpr TKeyKind kEntityIDs{EntityIDOf, true};

}  // namespace

TListOZR::TListOZR() : codes_(kRegionCodes), ids_(kEntityIDs) {}

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
    return AddKeyed(Item, RegionCodeOf, EntityIDOf);
}

int TListOZR::Add(TRegion* Item)
{
    return AddKeyed(Item, CodeOfRegion, NoKey);
}

int TListOZR::Add(TEntity* Item)
{
    return AddKeyed(Item, NoKey, IDOfEntity);
}

// Lists are mostly filled before their first look-up, with no index to keep.
int TListOZR::AddKeyed(TObject* Item, TKeyOf CodeOf, TKeyOf IDOf)
{
    const int index = TList::Add(Item);
    IndexAdded(codes_, Item, CodeOf);
    IndexAdded(ids_, Item, IDOf);
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
    IndexRemoved(codes_, item, Index);
    IndexRemoved(ids_, item, Index);
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

void TListOZR::Reserve(int Capacity)
{
    TList::Reserve(Capacity);
    for (TIndex* index : {&codes_, &ids_})
        if (IsCurrent(*index))
            index->Keys.Reserve(static_cast<std::size_t>(Capacity));
}

TRegion* TListOZR::FirstRegionWithCode(std::string_view Code) const
{
    return static_cast<TRegion*>(FirstWithKey(codes_, Code));
}

TEntity* TListOZR::FirstEntityWithID(std::string_view ID) const
{
    return static_cast<TEntity*>(FirstWithKey(ids_, ID));
}

void TListOZR::KeysChanged()
{
    ++keyGeneration;
}

bool TListOZR::IsCurrent(const TIndex& Index)
{
    return Index.Built && Index.Generation == keyGeneration;
}

TObject* TListOZR::FirstWithKey(TIndex& Index, std::string_view Key) const
{
    if (!IsCurrent(Index)) {
        Index.Keys.Clear();
        Index.Keys.Reserve(static_cast<std::size_t>(Count()));
        std::string_view key;
        for (TObject* item : *this)
            if (Index.Keys.Kind().KeyOf(item, key))
                Index.Keys.AddIfAbsent(key, item);
        Index.Built = true;
        Index.Generation = keyGeneration;
    }
    return Index.Keys.Find(Key);
}

void TListOZR::IndexAdded(TIndex& Index, TObject* Item, TKeyOf KeyOf)
{
    std::string_view key;
    if (IsCurrent(Index) && KeyOf(Item, key))
        Index.Keys.AddIfAbsent(key, Item);
}

// When the first object of a key goes, the next one with that key, which can
// only stand after it, takes its place.
void TListOZR::IndexRemoved(TIndex& Index, TObject* Item, int Position)
{
    TKeyIndex& keys = Index.Keys;
    std::string_view key;
    if (!IsCurrent(Index) || !keys.Kind().KeyOf(Item, key) || keys.Find(key) != Item)
        return;
    TObject* next = nullptr;
    std::string_view other;
    for (int i = Position; i < Count() && !next; ++i)
        if (keys.Kind().KeyOf(Items(i), other) && keys.SameKey(other, key))
            next = Items(i);
    keys.Set(key, next);
}

void TListOZR::DropIndexes()
{
    for (TIndex* index : {&codes_, &ids_}) {
        index->Keys.Clear();
        index->Built = false;
    }
}
