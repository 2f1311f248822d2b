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

// Writes the archive ZipName holding the file Name, found by its exact name,
// as its one entry, stored under its path relative to Folder. The archive is
// built in a temporary file beside ZipName and takes its place only once it is
// complete, so that a failure leaves the old ZipName, or none, but never a
// broken one. A failure is shown as "Exception: " and its message, with the
// system's reason where there is one, and a line saying that ZipName was not
// updated (not written, where there was none); the result is then false.
bool WriteZipCopy(const std::string& Name, const std::string& Folder, const std::string& ZipName);

// The files of Save As once the name is chosen: the session as the data file
// Name, then its zip copy beside it. A name whose zip copy would be the data
// file itself is refused with a message before anything is written. True when
// both were written; a failure of the data file raises, one of the zip copy
// is shown.
bool SaveDataFileAndZipCopy(const std::string& Name);
