#pragma once

// Writing the session as a data file, and the region tree as the regions file.
//
// The Write... routines each add one kind of value inside the element that Out
// has open and decide by themselves whether it is written at all: missing
// values, blank texts and quantities without data add nothing. The file is
// written as it is produced, one element after the other, so that saving a
// large session never holds the whole document in memory.

#include <span>
#include <string>

#include "model/ozr_types.h"
#include "xml/xml_element_writer.h"

void WriteReal(TXMLElementWriter& Out, const char* Tag, double Value);
void WriteInteger(TXMLElementWriter& Out, const char* Tag, int Value);
void WriteYesNo(TXMLElementWriter& Out, const char* Tag, int Value);
void WriteBoolean(TXMLElementWriter& Out, const char* Tag, bool Value);
void WriteText(TXMLElementWriter& Out, const char* Tag, const std::string& Text);
void WriteEntityAttributes(TXMLElementWriter& Out, const char* Tag, const TEntity& Station);
void WriteEntityData(TXMLElementWriter& Out, const char* Tag, const TEntityData& Values);
void WriteWaterUseData1(TXMLElementWriter& Out, const char* Tag, const TWaterUseData1& Table);
void WriteWaterUseData2(TXMLElementWriter& Out, const char* Tag, const TWaterUseData2& Table);
void WriteLargeItem(TXMLElementWriter& Out, const char* Tag, const ozr_wu_large_item& Item);
// One item Tag with `indx` (from 1 within Series) and `value` for each present
// value; nothing at all unless some value of Series passes the writer's threshold.
void WriteIndexedItems(TXMLElementWriter& Out, const char* Tag, std::span<const double> Series);

// Writes the whole session to FileName, replacing the file only once the new
// one is complete. Raises an Exception and writes nothing when the session has
// no country; EFileWriteError (io/atomic_file.h) when the file cannot be written.
void SaveDataFile(const std::string& FileName);

// Writes the session's region tree to its FRegionsFile, replacing the file the
// same safe way.
void SaveRegions();
