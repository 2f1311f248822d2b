#include "xml/xml_child_index.h"

TXMLChildIndex::TXMLChildIndex(const TXMLNode& Parent) : parent_(Parent)
{
    for (TXMLNode child = Parent.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
        const char* name = child.Native().name();
        // Texts have no name; items of a list follow each other.
        if (*name == '\0' || (count_ > 0 && TXMLNode::SameName(name, entries_[count_ - 1].Name)))
            continue;
        if (Position(name, 0, count_) < count_)
            continue;
        if (count_ == Capacity) {
            complete_ = false;
            return;
        }
        entries_[count_++] = {name, child};
    }
}

TXMLNode TXMLChildIndex::Find(const char* Name) const
{
    std::size_t found = Position(Name, next_, count_);
    if (found == count_)
        found = Position(Name, 0, next_);
    if (found == count_)
        return complete_ ? TXMLNode() : parent_.ChildNode(Name);
    next_ = found + 1;
    return entries_[found].Node;
}

std::size_t TXMLChildIndex::Position(const char* Name, std::size_t First, std::size_t End) const
{
    for (std::size_t i = First; i < End; ++i)
        if (TXMLNode::SameName(entries_[i].Name, Name))
            return i;
    return count_;
}
