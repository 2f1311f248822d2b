#pragma once

// What the classes of the document bindings are made of. A bound node class
// is a TXMLBoundNode standing on one element; each of its properties is one
// line below, which declares the read accessor of the property's name and,
// for values and attributes, the write accessor Set_<name>. Nothing is stored
// in the classes: every read and write goes to the document at once.
//
//   WQ_XML_VALUE(Type, name)    a simple child element as std::string, int, double
//                               or bool (see xml/xml_value.h)
//   WQ_XML_ATTRIBUTE(name)      an attribute, as text
//   WQ_XML_NODE(Class, name)    the single child element, bound to Class; an absent
//                               one is added, empty, so that it can be written to
//   WQ_XML_LIST(List, name)     the repeated child elements `name`, as a List
//                               (a TXMLNodeCollection), with no write accessor

#include <string>
#include <string_view>

#include "xml/xml_node.h"
#include "xml/xml_node_collection.h"
#include "xml/xml_value.h"

class TXMLBoundNode : public TXMLNode {
public:
    explicit TXMLBoundNode(const TXMLNode& Node) : TXMLNode(Node) {}
};

#define WQ_XML_VALUE(Type, Name)                       \
    Type Name() const                                  \
    {                                                  \
        return ReadChildValue<Type>(*this, #Name);     \
    }                                                  \
    void Set_##Name(const Type& NewValue)              \
    {                                                  \
        WriteChildValue<Type>(*this, #Name, NewValue); \
    }

#define WQ_XML_ATTRIBUTE(Name)                  \
    std::string Name() const                    \
    {                                           \
        return ReadAttributeText(*this, #Name); \
    }                                           \
    void Set_##Name(std::string_view Text)      \
    {                                           \
        WriteAttributeText(*this, #Name, Text); \
    }

#define WQ_XML_NODE(Class, Name)          \
    Class Name() const                    \
    {                                     \
        return Class(NeededChild(#Name)); \
    }

#define WQ_XML_LIST(List, Name)    \
    List Name() const              \
    {                              \
        return List(*this, #Name); \
    }
