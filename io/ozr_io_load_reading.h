#pragma once

// The reading steps that the parts of the data-file reader share. An element
// with several values is read through an index of its children
// (xml/xml_child_index.h), so that a value costs a step whether it is there
// or not. A value is taken only when its element holds something: an absent
// or empty element leaves the field as it was.

#include <bitset>
#include <span>
#include <unordered_map>
#include <vector>

#include "io/ozr_io_load.h"
#include "io/ozr_io_load_staging.h"
#include "model/ozr_types.h"
#include "xml/ozr_xml_wq.h"
#include "xml/xml_child_index.h"

// The value of the element as the binding converts it: a text, an integer, a
// real or a boolean, by the type of Target.
template <class Value>
void ReadValue(const TXMLNode& Element, const char* Name, Value& Target)
{
    if (Element.HasChildNodes())
        Target = ElementValue<Value>(Element, Name);
}

template <class Value>
void ReadValue(const TXMLChildIndex& Children, const char* Name, Value& Target)
{
    ReadValue(Children.Find(Name), Name, Target);
}

// A word of a list of words: Unknown when the element is absent or empty,
// else what Convert makes of its text (which raises for a word it does not know).
template <class Word, class Convert>
void ReadWord(const TXMLChildIndex& Children, const char* Name, Convert ConvertText, Word Unknown,
              Word& Target)
{
    const TXMLNode element = Children.Find(Name);
    Target = element.HasChildNodes() ? ConvertText(element.Text()) : Unknown;
}

inline void ReadQuantity(const TXMLChildIndex& Children, const char* Name, TEntityData& Target)
{
    const TXMLNode element = Children.Find(Name);
    if (element.HasChildNodes())
        ReadEntityData(TXMLEntityDataWQ(element), Target);
}

// The quantities named in Names into Targets, in that order.
template <std::size_t N>
void ReadQuantities(const TXMLChildIndex& Children, const std::array<const char*, N>& Names,
                    std::span<TEntityData, N> Targets)
{
    for (std::size_t i = 0; i < N; ++i)
        ReadQuantity(Children, Names[i], Targets[i]);
}

// The position of the child's name among Names, looked for first where the
// names follow each other; Names.size() when it is none of them.
template <std::size_t N>
std::size_t PositionOf(const TXMLNode& Child, const std::array<const char*, N>& Names,
                       std::size_t Expected)
{
    if (Expected < N && Child.HasName(Names[Expected]))
        return Expected;
    for (std::size_t i = 0; i < N; ++i)
        if (Child.HasName(Names[i]))
            return i;
    return N;
}

// An element that holds quantities alone (a sector table, some groups): its
// quantities read in one pass over the children in document order, each
// where it stands, so that a large file is read through and not leapt over;
// the first element of a name counts.
template <std::size_t N>
void ReadQuantitiesInOrder(const TXMLNode& Element, const std::array<const char*, N>& Names,
                           std::span<TEntityData, N> Targets)
{
    std::bitset<N> read;
    std::size_t expected = 0;
    for (TXMLNode child = Element.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
        const std::size_t position = PositionOf(child, Names, expected);
        if (position == N || read[position])
            continue;
        read[position] = true;
        expected = position + 1;
        if (child.HasChildNodes())
            ReadEntityData(TXMLEntityDataWQ(child), Targets[position]);
    }
}

// Stores the item's value at its indx (1-based) in Series; an indx outside
// the series raises EConvertError naming the element and the index.
void ReadIndexedItem(const TXMLArrayOfDoublePosZero& Item, const char* Tag,
                     std::span<double> Series);
// The same for First and every later sibling named Tag.
void ReadIndexedItems(const TXMLNode& First, const char* Tag, std::span<double> Series);

// The national tables of the file's regions, noted on the walk over the file
// and read afterwards on several threads: they hold most of a large file's
// values, and each region's are a staged copy of its own. The tables of one
// region are read in the order of the file, and a failure is reported as a
// reading in that order would meet it first.
class TTableReads {
public:
    // Notes the tables of the region element at position Order of the walk.
    void Add(std::size_t Order, const TXMLChildIndex& Children, TRegionTables& Tables);
    // Reads the tables noted at positions below End and raises the failure
    // of the lowest position among them.
    void ReadBefore(std::size_t End);

private:
    struct TTables {
        std::size_t Order;
        TXMLNode Balance;
        TXMLNode Abstraction;
        TXMLNode Use;
    };
    struct TRegionReads {
        TRegionTables* Target;
        std::vector<TTables> Parts;  // in the order of the file
    };
    std::vector<TRegionReads> regions_;
    std::unordered_map<TRegionTables*, std::size_t> positions_;
};

void ReadWaterBalance(const TXMLOzr_water_balance& Element, TRegionTables& Tables);
void ReadWaterAbstraction(const TXMLOzr_water_abstraction& Element, TRegionTables& Tables);
void ReadWaterUse(const TXMLOzr_water_use& Element, TRegionTables& Tables);
void ReadStations(const TXMLOzr_wq_region& Element, TRegion& Region, TDataFileStaging& Staging);
