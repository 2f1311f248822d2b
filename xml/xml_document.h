#pragma once

// An XML document: loaded from a file for reading, or built node by node and
// saved as the program's files are written.

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "xml/xml_node.h"

class TXMLDocument {
public:
    // An empty document that accepts one root element.
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(TXMLDocument&&) noexcept;
    TXMLDocument& operator=(TXMLDocument&&) noexcept;

    // Parses the file. A file that cannot be read raises EXMLDocError naming it
    // and the system's reason; text that is not well-formed XML raises
    // EXMLDocError with the file, the line and the column of the fault.
    static TXMLDocument LoadFromFile(const std::string& fileName);

    // The root element, or a null node when there is none.
    TXMLNode DocumentElement() const;
    // Adds the root element; a document holds only one.
    TXMLNode AddRoot(const char* tag);

    // The bytes of the file the program writes: the UTF-8 byte-order mark, the
    // declaration line, then one element per line, indented by two spaces per
    // level of depth, every line ending in CR LF.
    std::string SaveToString() const;

private:
    struct Storage;
    std::unique_ptr<Storage> storage_;
};
