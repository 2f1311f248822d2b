#include "xml/ozr_xml_regions.h"

#include <utility>

#include "xml/xml_binding_root.h"

TXMLOZR_WQ_Regions::TXMLOZR_WQ_Regions(std::shared_ptr<TXMLDocument> document)
    : TXMLNodeCollection(document->DocumentElement(), "Country"), document_(std::move(document))
{
}

TXMLOZR_WQ_Regions LoadOZR_WQ_Regions(const std::string& fileName)
{
    return TXMLOZR_WQ_Regions(LoadBoundDocument(fileName, "OZR_WQ_Regions"));
}
