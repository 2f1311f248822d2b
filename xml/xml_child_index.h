#pragma once

// The first child element of each name under one element, found in one pass
// over its children. Reading many values of one element through the index
// costs a step per child instead of a search of the children per value; that
// counts for elements with many children, such as a station with a year of
// daily values, where every absent value would search them all.
//
// The index holds handles into the document: take it where it is read, while
// the element's children stay as they are.

#include <array>
#include <cstddef>

#include "xml/xml_node.h"

class TXMLChildIndex {
public:
    explicit TXMLChildIndex(const TXMLNode& Parent);

    // What Parent.ChildNode(Name) gives. Look-ups in the order of the
    // children take one step each.
    TXMLNode Find(const char* Name) const;

private:
    struct TEntry {
        const char* Name;
        TXMLNode Node;
    };
    // More names than the elements of the program's files have; beyond them
    // a look-up searches the children.
    static constexpr std::size_t Capacity = 40;

    // The entry of the name among entries [First, End), or count_ when none is.
    std::size_t Position(const char* Name, std::size_t First, std::size_t End) const;

    TXMLNode parent_;
    std::array<TEntry, Capacity> entries_;
    std::size_t count_ = 0;
    bool complete_ = true;
    mutable std::size_t next_ = 0;  // where the next look-up starts
};
