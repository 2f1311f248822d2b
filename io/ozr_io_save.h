#pragma once

// Writing the session as a data file, and the region tree as the regions file.
//
// The Write... routines each add one kind of value under a parent element and
// decide by themselves whether it is written at all: missing values, blank
// texts and quantities without data add nothing.

#include <span>
#include <string>

#include "model/ozr_types.h"
#include "xml/xml_node.h"

void WriteReal(TXMLNode Parent, const char* Tag, double Value);
void WriteInteger(TXMLNode Parent, const char* Tag, int Value);
void WriteYesNo(TXMLNode Parent, const char* Tag, int Value);
void WriteBoolean(TXMLNode Parent, const char* Tag, bool Value);
void WriteText(TXMLNode Parent, const char* Tag, const std::string& Text);
void WriteEntityAttributes(TXMLNode Parent, const char* Tag, const TEntity& Station);
void WriteEntityData(TXMLNode Parent, const char* Tag, const TEntityData& Values);
void WriteWaterUseData1(TXMLNode Parent, const char* Tag, const TWaterUseData1& Table);
void WriteWaterUseData2(TXMLNode Parent, const char* Tag, const TWaterUseData2& Table);
void WriteLargeItem(TXMLNode Parent, const char* Tag, const ozr_wu_large_item& Item);
// One item Tag with `indx` (from 1 within Series) and `value` for each present
// value; nothing at all unless some value of Series passes the writer's threshold.
void WriteIndexedItems(TXMLNode Parent, const char* Tag, std::span<const double> Series);

// Writes the whole session to FileName, replacing the file only once the new
// one is complete. Raises an Exception and writes nothing when the session has
// no country; EFileWriteError (io/atomic_file.h) when the file cannot be written.
void SaveDataFile(const std::string& FileName);

// Writes the session's region tree to its FRegionsFile, replacing the file the
// same safe way.
void SaveRegions();
