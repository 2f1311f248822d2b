#pragma once

// The texts and choices of the national-table forms that the data file holds
// only inside a table or a group of one that values bring about: while that
// table or group holds no values, the file leaves them out, and a file read
// back has lost them. The forms warn of each such entry on OK.

#include "appcore/check_messages.h"
#include "model/ozr_types.h"

enum class TNationalTable { WaterUse, WaterAbstraction, WaterBalance };

// A warning for each text or choice of the table's form that `tables` holds
// and the data file would leave out, naming it by its caption on the form.
void CheckEntriesKept(TNationalTable table, const TRegionTables& tables, TCheckMessages& messages);
