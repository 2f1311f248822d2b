#pragma once

// The reading steps that the parts of the data-file reader share. A value is
// taken only when its element holds something: an absent or empty element
// leaves the field as it was.

#include <span>

#include "io/ozr_io_load.h"
#include "io/ozr_io_load_staging.h"
#include "model/ozr_types.h"
#include "xml/ozr_xml_wq.h"

inline bool IsPresent(const TXMLNode& Parent, const char* Name)
{
    return Parent.ChildNode(Name).HasChildNodes();
}

template <class Node, class Value, class Field>
void ReadValue(const Node& Parent, const char* Name, Value (Node::*Read)() const, Field& Target)
{
    if (IsPresent(Parent, Name))
        Target = (Parent.*Read)();
}

template <class Node>
void ReadQuantity(const Node& Parent, const char* Name, TXMLEntityDataWQ (Node::*Read)() const,
                  TEntityData& Target)
{
    if (IsPresent(Parent, Name))
        ReadEntityData((Parent.*Read)(), Target);
}

// A quantity element and the accessor of the binding that reads it.
template <class Node>
struct TQuantityField {
    const char* Name;
    TXMLEntityDataWQ (Node::*Read)() const;
};

template <class Node, std::size_t N>
void ReadQuantities(const Node& Parent, const std::array<TQuantityField<Node>, N>& Fields,
                    std::span<TEntityData, N> Targets)
{
    for (std::size_t i = 0; i < N; ++i)
        ReadQuantity(Parent, Fields[i].Name, Fields[i].Read, Targets[i]);
}

// Stores each item's value at its indx (1-based) in Series; an indx outside
// the series raises EConvertError naming the element and the index.
void ReadIndexedItems(const TXMLArrayOfDoublePosZeroList& Items, const char* Tag,
                      std::span<double> Series);

void ReadWaterBalance(const TXMLOzr_water_balance& Element, TRegionTables& Tables);
void ReadWaterAbstraction(const TXMLOzr_water_abstraction& Element, TRegionTables& Tables);
void ReadWaterUse(const TXMLOzr_water_use& Element, TRegionTables& Tables);
void ReadStations(const TXMLOzr_wq_region& Element, TRegion& Region, TDataFileStaging& Staging);
