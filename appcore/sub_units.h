#pragma once

// Growing the region tree by sub-units listed in a text file, one per line:
// a name, the code of the river basin district and the code of the sub-unit,
// separated by ";".

#include <string>

// Adds every listed sub-unit that its district does not hold yet, named by its
// code, and names the ones it holds the same way. An unknown district code or
// a sub-unit that exists is shown as an error and the line is passed over; a
// file that cannot be read raises Exception. Nothing marks the session
// modified: the tree is data of the regions file, not of the submission.
void AddSubUnits(const std::string& FileName);
