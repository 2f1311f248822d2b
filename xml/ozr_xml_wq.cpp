#include "xml/ozr_xml_wq.h"

#include <utility>

#include "xml/xml_binding_root.h"

TXMLOzr_wq::TXMLOzr_wq(std::shared_ptr<TXMLDocument> document)
    : TXMLBoundNode(document->DocumentElement()), document_(std::move(document))
{
}

TXMLOzr_wq Loadozr_wq(const std::string& fileName)
{
    return TXMLOzr_wq(LoadBoundDocument(fileName, "ozr_wq"));
}
