#pragma once

// A quick reader of the regions file in the plain form that the program
// writes: one pass over the file's bytes hands every region element to a
// builder, in the order in which the region tree is made, without building a
// document first.
//
// It knows UTF-8 text, elements, attributes on the document element, the five
// predefined entities, character references, comments and the declaration.
// At anything else (CDATA, a document type, processing instructions, another
// encoding, a byte that is not UTF-8, a text that is not a single run of
// characters, an element that is not well-formed, a region whose Code or Name
// follows its child regions, ...) it gives up and leaves the file to the XML
// document layer, which reads every form and reports every fault; so the
// scanner reports none itself.

#include <string>
#include <string_view>

#include "model/ozr_types.h"

class TRegionTreeBuilder {
public:
    virtual ~TRegionTreeBuilder() = default;

    // Makes the region of one element and returns it as the parent of the
    // element's child regions. The views live only during the call.
    virtual TRegion* Take(TRegionType Type, TRegion* Parent, std::string_view Code,
                          std::string_view Name) = 0;
};

// False when the scanner gave up, possibly after handing over some regions.
// Exceptions of the builder pass through.
bool ScanRegionsFile(const std::string& FileName, TRegionTreeBuilder& Builder);
