#pragma once

// Loading a file for a document binding: the document element must carry the
// binding's tag, or the file is not a document of that kind.

#include <memory>
#include <string>

#include "xml/xml_document.h"

std::shared_ptr<TXMLDocument> LoadBoundDocument(const std::string& fileName, const char* rootTag);
