#pragma once

// The typed view of the regions file: countries with their NUTS levels 1 to 3,
// river basin districts with their sub-units, and river basins. Codes and
// names are child elements read and written as text; an absent one reads as
// the empty text and an absent list has no items. The nodes stay valid while
// the TXMLOZR_WQ_Regions that they come from, or a copy of it, lives.

#include <memory>
#include <string>
#include <string_view>

#include "xml/xml_binding.h"
#include "xml/xml_document.h"

// What every region element holds: its <Code> and <Name>. The views point
// into the document and stay valid as long as the nodes do.
class TXMLOZR_WQ_Regions_Region : public TXMLBoundNode {
public:
    using TXMLBoundNode::TXMLBoundNode;

    WQ_XML_VALUE(std::string, Code)
    WQ_XML_VALUE(std::string, Name)
    std::string_view CodeView() const { return ChildNode("Code").TextView(); }
    std::string_view NameView() const { return ChildNode("Name").TextView(); }
};

// <NUTS3>
class TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2_NUTS3 : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;
};
using TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2_NUTS3List =
    TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2_NUTS3>;

// <NUTS2>
class TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2 : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;

    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2_NUTS3List, NUTS3)
};
using TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2List =
    TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2>;

// <NUTS1>
class TXMLOZR_WQ_Regions_Country_NUTS1 : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;

    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_NUTS1_NUTS2List, NUTS2)
};
using TXMLOZR_WQ_Regions_Country_NUTS1List = TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_NUTS1>;

// <SU>
class TXMLOZR_WQ_Regions_Country_RBD_SU : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;
};
using TXMLOZR_WQ_Regions_Country_RBD_SUList = TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_RBD_SU>;

// <RBD>
class TXMLOZR_WQ_Regions_Country_RBD : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;

    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_RBD_SUList, SU)
};
using TXMLOZR_WQ_Regions_Country_RBDList = TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_RBD>;

// <RB>
class TXMLOZR_WQ_Regions_Country_RB : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;
};
using TXMLOZR_WQ_Regions_Country_RBList = TXMLNodeCollection<TXMLOZR_WQ_Regions_Country_RB>;

// <Country>
class TXMLOZR_WQ_Regions_Country : public TXMLOZR_WQ_Regions_Region {
public:
    using TXMLOZR_WQ_Regions_Region::TXMLOZR_WQ_Regions_Region;

    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_NUTS1List, NUTS1)
    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_RBDList, RBD)
    WQ_XML_LIST(TXMLOZR_WQ_Regions_Country_RBList, RB)
};
using TXMLOZR_WQ_Regions_CountryList = TXMLNodeCollection<TXMLOZR_WQ_Regions_Country>;

// <OZR_WQ_Regions>, the document element: itself the list of its countries
// (Count, Country, Add, Insert, Delete, Remove, Clear). It keeps the document
// alive.
class TXMLOZR_WQ_Regions : public TXMLOZR_WQ_Regions_CountryList {
public:
    explicit TXMLOZR_WQ_Regions(std::shared_ptr<TXMLDocument> document);

    WQ_XML_ATTRIBUTE(Creator)
    WQ_XML_ATTRIBUTE(Email)
    WQ_XML_ATTRIBUTE(Date)
    WQ_XML_ATTRIBUTE(Remarks)
    TXMLOZR_WQ_Regions_Country Country(int index) const { return Items(index); }

    // The document that the element stands in, to be saved after changes.
    TXMLDocument& OwnerDocument() const { return *document_; }

private:
    std::shared_ptr<TXMLDocument> document_;
};

// Parses the file and binds its document element. Raises EXMLDocError when the
// file cannot be read or is not well-formed, and EIntfCastError "Interface not
// supported" when its document element is not OZR_WQ_Regions.
TXMLOZR_WQ_Regions LoadOZR_WQ_Regions(const std::string& fileName);
