#pragma once

// The repeated child elements of one tag under an owner element, each seen as
// an `Item` (a bound node class constructible from a TXMLNode), in document
// order. Walking the items from first to last costs one step per item; the
// collection remembers where the last look-up stood instead of holding a copy
// of the list.

#include <string>

#include "xml/xml_error.h"
#include "xml/xml_node.h"

template <class Item>
class TXMLNodeCollection : public TXMLNode {
public:
    // itemTag must outlive the collection (the bindings pass literals).
    TXMLNodeCollection(const TXMLNode& owner, const char* itemTag)
        : TXMLNode(owner), itemTag_(itemTag), count_(owner.CountChildElements(itemTag))
    {
    }

    int Count() const { return count_; }

    // The item at a 0-based position in document order.
    Item Items(int index) const
    {
        if (index < 0 || index >= count_)
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        if (cursorIndex_ < 0 || index < cursorIndex_) {
            cursorIndex_ = 0;
            cursor_ = ChildNode(itemTag_);
        }
        for (; cursorIndex_ < index; ++cursorIndex_)
            cursor_ = cursor_.NextSibling(itemTag_);
        return Item(cursor_);
    }

private:
    const char* itemTag_;
    int count_;
    mutable int cursorIndex_ = -1;
    mutable TXMLNode cursor_;
};
