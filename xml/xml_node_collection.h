#pragma once

// The repeated child elements of one tag under an owner element, each seen as
// an `Item` (a bound node class constructible from a TXMLNode), in document
// order. Walking the items from first to last, by index or with a range for,
// costs one step per item; the collection remembers where the last look-up
// stood instead of holding a copy of the list, and counts its items only when
// asked. It sees the changes made through itself; after changing the owner's
// children another way, take the collection anew from the owner.
//
// Other children of the owner (simple values, other lists) are never items.

#include <iterator>
#include <string>

#include "xml/xml_error.h"
#include "xml/xml_node.h"

template <class Item>
class TXMLNodeCollection : public TXMLNode {
public:
    class TIterator {
    public:
        TIterator(const TXMLNode& first, const char* itemTag) : node_(first), itemTag_(itemTag) {}

        Item operator*() const { return Item(node_); }
        TIterator& operator++()
        {
            node_ = node_.NextSibling(itemTag_);
            return *this;
        }
        bool operator==(std::default_sentinel_t) const { return node_.IsNull(); }

    private:
        TXMLNode node_;
        const char* itemTag_;
    };

    // itemTag must outlive the collection (the bindings pass literals).
    TXMLNodeCollection(const TXMLNode& owner, const char* itemTag)
        : TXMLNode(owner), itemTag_(itemTag)
    {
    }

    int Count() const
    {
        if (count_ < 0)
            count_ = CountChildElements(itemTag_);
        return count_;
    }

    // The item at a 0-based position in document order; EListError outside
    // 0 to Count() - 1.
    Item Items(int index) const { return Item(Nodes(index)); }
    TXMLNode Nodes(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        if (cursorIndex_ < 0 || index < cursorIndex_) {
            cursorIndex_ = 0;
            cursor_ = ChildNode(itemTag_);
        }
        for (; cursorIndex_ < index; ++cursorIndex_)
            cursor_ = cursor_.NextSibling(itemTag_);
        return cursor_;
    }

    TIterator begin() const { return TIterator(ChildNode(itemTag_), itemTag_); }
    std::default_sentinel_t end() const { return {}; }

    // A new, empty item after all the owner's children.
    Item Add()
    {
        ForgetPlaces();
        return Item(AddChild(itemTag_));
    }
    // A new, empty item before the owner's child node at `position`, counted
    // among all its children (texts and other elements too); it takes its
    // place among the items by document order.
    Item Insert(int position)
    {
        ForgetPlaces();
        return Item(InsertChild(position, itemTag_));
    }
    // Removes the item at `index` with all it holds.
    void Delete(int index)
    {
        const TXMLNode item = Nodes(index);
        ForgetPlaces();
        RemoveChild(item);
    }
    // Removes the item and gives the index it had; -1, removing nothing, when
    // it is not an item of this collection.
    int Remove(const TXMLNode& item)
    {
        int index = 0;
        for (TXMLNode node = ChildNode(itemTag_); !node.IsNull();
             node = node.NextSibling(itemTag_)) {
            if (node == item) {
                ForgetPlaces();
                RemoveChild(node);
                return index;
            }
            ++index;
        }
        return -1;
    }
    void Clear()
    {
        ForgetPlaces();
        for (TXMLNode item = ChildNode(itemTag_); !item.IsNull(); item = ChildNode(itemTag_))
            RemoveChild(item);
    }

private:
    void ForgetPlaces()
    {
        count_ = -1;
        cursorIndex_ = -1;
    }

    const char* itemTag_;
    mutable int count_ = -1;
    mutable int cursorIndex_ = -1;
    mutable TXMLNode cursor_;
};
