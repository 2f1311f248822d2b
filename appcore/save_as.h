#pragma once

// The names that Save As works with, and the zip copy it leaves beside the
// data file.

#include <string>

#include "appcore/check_messages.h"
#include "platform/datetime.h"

class TRegion;

// The header of a submission must name the person responsible and an e-mail
// address (blanks alone do not count), and a country must be chosen.
TCheckMessages CheckSessionInfo(const std::string& Responsible, const std::string& Email,
                                const TRegion* Country);

// Country code, year, month and day of Today joined by "_", each number
// without leading zeros, and ".wqd": GR_2009_3_7.wqd.
std::string ProposedDataFileName(const std::string& CountryCode, const TDateTime& Today);

// Name with its extension replaced by ".zip", or ".zip" added when the name
// part has no extension.
std::string ZipNameOf(const std::string& Name);

// Writes the archive ZipName holding the file Name as its one entry, stored
// under its path relative to Folder. The archive is built under a temporary
// name beside ZipName and takes its place only once it is complete, so that a
// failure leaves the old ZipName, or none, but never a broken one. A failure
// is shown as "Exception: " and its message; the result is then false.
bool WriteZipCopy(const std::string& Name, const std::string& Folder, const std::string& ZipName);
