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
    IndexRemoved(item);
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

TRegion* TListOZR::FirstRegionWithCode(const std::string& Code) const
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

TObject* TListOZR::FirstWithKey(TIndex& Index, TKeyOf KeyOf, const std::string& Key) const
{
    if (!Index.Built || Index.Generation != keyGeneration) {
        Index.Items.clear();
        std::string key;
        for (TObject* item : *this)
            if (KeyOf(item, key))
                Index.Items[key].push_back(item);
        Index.Built = true;
        Index.Generation = keyGeneration;
    }
    const auto found = Index.Items.find(Key);
    return found == Index.Items.end() ? nullptr : found->second.front();
}

void TListOZR::IndexAdded(TObject* Item)
{
    std::string key;
    if (codes_.Built && RegionCodeOf(Item, key))
        codes_.Items[key].push_back(Item);
    if (ids_.Built && EntityIDOf(Item, key))
        ids_.Items[key].push_back(Item);
}

void TListOZR::IndexRemoved(TObject* Item)
{
    const auto removeFrom = [Item](TIndex& index, TKeyOf keyOf) {
        std::string key;
        if (!index.Built || index.Generation != keyGeneration || !keyOf(Item, key))
            return;
        const auto found = index.Items.find(key);
        if (found == index.Items.end()) {
            index.Built = false;
            return;
        }
        std::vector<TObject*>& items = found->second;
        const auto at = std::find(items.rbegin(), items.rend(), Item);
        if (at == items.rend())
            index.Built = false;
        else
            items.erase(std::next(at).base());
        if (items.empty())
            index.Items.erase(found);
    };
    removeFrom(codes_, RegionCodeOf);
    removeFrom(ids_, EntityIDOf);
}

void TListOZR::DropIndexes()
{
    codes_ = TIndex{};
    ids_ = TIndex{};
}
