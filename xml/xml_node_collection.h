#pragma once

// The repeated child elements of one tag under an owner element, each seen as
// an `Item` (a bound node class constructible from a TXMLNode). The items are
// gathered once, when the collection is made: keep the collection rather than
// asking the owner for it again in a loop.

#include <string>
#include <vector>

#include "xml/xml_error.h"
#include "xml/xml_node.h"

template <class Item>
class TXMLNodeCollection : public TXMLNode {
public:
    TXMLNodeCollection(const TXMLNode& owner, const char* itemTag)
        : TXMLNode(owner), items_(owner.ChildElements(itemTag))
    {
    }

    int Count() const { return static_cast<int>(items_.size()); }

    // The item at a 0-based position in document order.
    Item Items(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        return Item(items_[static_cast<std::size_t>(index)]);
    }

private:
    std::vector<TXMLNode> items_;
};
