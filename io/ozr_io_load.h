#pragma once

// Reading the data file into an empty session, and the region tree from the
// regions file.

#include "model/ozr_types.h"
#include "xml/ozr_xml_wq.h"

// LoadDataFile, then the main window shows the session's texts and the
// session counts as unmodified.
void OpenDataFile();

// Reads the session's FDataFile into the session: root attributes and country,
// then the tables and stations of every region named in the file. A file whose
// decimal separator differs from the computer's is refused with a message and
// nothing read. Any other failure (an unreadable or malformed file, an unknown
// country code or word, a value that does not convert, an indexed item outside
// its range) raises an Exception and leaves the session as it was.
void LoadDataFile();

void ReadEntityAttributes(const TXMLEntityAttributesWQ& Element, TEntity& Station);
void ReadEntityData(const TXMLEntityDataWQ& Element, TEntityData& Values);
void ReadWaterUseData1(const TXMLOzr_water_use_data1& Element, TWaterUseData1& Table);
void ReadWaterUseData2(const TXMLOzr_water_use_data2& Element, TWaterUseData2& Table);
void ReadLargeItem(const TXMLOzr_wu_large_items& Element, ozr_wu_large_item& Item);

// Creates the regions of the session's FRegionsFile. Duplicate codes are shown
// as warnings and the first region of a code is kept; a file that cannot be
// read raises the XML layer's exception, and a file that fails partway leaves
// the session as it was.
void LoadRegions();
