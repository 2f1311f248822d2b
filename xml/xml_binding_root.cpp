#include "xml/xml_binding_root.h"

#include "xml/xml_error.h"

std::shared_ptr<TXMLDocument> LoadBoundDocument(const std::string& fileName, const char* rootTag)
{
    auto document = std::make_shared<TXMLDocument>(TXMLDocument::LoadFromFile(fileName));
    if (document->DocumentElement().NodeName() != rootTag)
        throw EIntfCastError("Interface not supported");
    return document;
}
